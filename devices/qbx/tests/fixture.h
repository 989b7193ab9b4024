// Test fixture of the device objects: a plug-in folder of our own with small .act files and a
// version.ini, recorded message boxes, and a fresh configuration with the QBX classes registered
// (over the shared test support).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "messagerecorder.h"
#include "pluginfolder.h"
#include "tempfolder.h"
#include "devicekit.h"
#include "qbxdata.h"
#include "records.h"

namespace qbxtest {

// Signal bindings written into the fixture's QBX-510 message-parsing subprogram.
inline constexpr uint16_t kSignal1Type = 100;
inline constexpr uint8_t kSignal1Index = 1;
inline constexpr uint16_t kPowerType = 200;
inline constexpr uint8_t kPowerIndex = 1;

// Writes the plug-in folder under root: every default subprogram of the QBX devices.
void WritePlugins(const std::string& root);
// A signal of the QBX-510 (1..20, 32 the temperature) bound in its message parser.
struct SignalBinding {
    int signal;
    int type;
    int index;
};
// Rewrites the QBX-510 message parser of the plug-in folder under root with these bindings.
void WriteParser(const std::string& root, const std::vector<SignalBinding>& bindings);
// Removes one plug-in file (folder, name without ".act").
void RemovePlugin(const std::string& root, const std::string& folder, const std::string& name);
// Writes one plug-in file: `count` instructions "ret", with the given (position, text) lines instead.
void WritePlugin(const std::string& root, const std::string& folder, const std::string& name, int count,
                 const std::vector<std::pair<int, std::string>>& lines);

using devtest::Records;

class QbxTest : public ::testing::Test {
public:
    // Message boxes shown while a test runs.
    static inline std::vector<std::string>& messages = testsupport::MessageRecorder::Texts();

protected:
    void SetUp() override;
    void TearDown() override;

    // Adds an object by type code and returns it as the expected class.
    template <class T> T* Add(int code) {
        TObjectItem* o = cm->AddObject(code);
        EXPECT_NE(o, nullptr) << "type code " << code;
        auto* t = dynamic_cast<T*>(o);
        EXPECT_NE(t, nullptr) << "type code " << code;
        return t;
    }
    // Stops the configuration renumbering channels when a device changes one, so that tests of a
    // device's own bookkeeping see the addresses they gave.
    void Unhook();
    // Rebuilds the configuration (objects, channels, subprograms) through a save and a load.
    void SaveAndReload();
    // Channels of the configuration, oldest first.
    std::vector<TParamItem*> Channels() const;
    int CountAddress(uint16_t type, uint8_t index) const;
    std::vector<std::string> Lines(const std::function<void(TStrings*)>& fill) const;
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
    // What an object shows for a property row, and for a parameter's value.
    static std::string RowText(TObjectItem* o, int row);
    static std::string ValueText(TObjectItem* o, TParamItem* p);

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

} // namespace qbxtest
