// The one test fixture of the device drivers: a temporary folder whose plug-in folder holds every
// default subprogram of the given classes, recorded message boxes, a fresh configuration, and the
// looks into it that the drivers' tests share.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "deviceengine.h"
#include "messagerecorder.h"
#include "pluginfolder.h"
#include "tempfolder.h"

namespace devtest {

class EngineTest : public ::testing::Test {
public:
    // Message boxes shown while a test runs.
    static inline std::vector<std::string>& messages = testsupport::MessageRecorder::Texts();

protected:
    // Makes the folder (named after `prefix`) with a two-instruction file for every default
    // subprogram of `defs`, points the plug-in folder at it, records message boxes and makes `cm`.
    void Prepare(const char* prefix, const std::vector<const dev::TDeviceDef*>& defs);
    void TearDown() override;

    TDeviceEngine* Add(const dev::TDeviceDef& def);
    // Rebuilds the configuration (objects, channels, subprograms) through a save and a load.
    void SaveAndReload();
    // Channels of the configuration, oldest first.
    std::vector<TParamItem*> Channels() const;
    int CountAddress(uint16_t type, uint8_t index) const;
    // The engine objects of a tag, oldest first.
    std::vector<TDeviceEngine*> Objects(const char* tag) const;
    // The objects of class T in the configuration, oldest first (after a reload, too).
    template <class T> std::vector<T*> Objects() const {
        std::vector<T*> out;
        for (ELEM* e = cm->Objects.Oldest; e; e = e->Newer)
            if (auto* o = dynamic_cast<T*>(static_cast<TObjectItem*>(e)))
                out.push_back(o);
        return out;
    }
    template <class T> T* Find() const {
        const std::vector<T*> all = Objects<T>();
        return all.empty() ? nullptr : all.front();
    }
    static std::vector<std::string> Lines(const std::function<void(TStrings*)>& fill);
    // What an object shows for a property row, and for a parameter's value.
    static std::string RowText(TObjectItem* o, int row);
    static std::string ValueText(TObjectItem* o, TParamItem* p);
    // Writes a plug-in file (relative to the plug-in root), making its folder.
    void WritePlugin(const std::string& relative, const std::string& text) const;

private:
    std::unique_ptr<testsupport::TempFolder> fFolder;
    std::unique_ptr<testsupport::PluginFolderScope> fPlugins;
    std::unique_ptr<testsupport::MessageRecorder> fRecorder;

protected:
    std::string tmpDir; // everything the test writes
    std::string root;   // plug-in folder
    std::string dbPath; // configuration file of SaveAndReload
    std::unique_ptr<configmanager> cm;
};

} // namespace devtest
