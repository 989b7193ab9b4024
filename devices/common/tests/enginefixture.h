// Shared test fixture of the engine-described drivers: a temporary plug-in folder holding every
// default subprogram of the given classes, a captured message box, and a fresh configuration.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "deviceengine.h"

namespace devtest {

class EngineTest : public ::testing::Test {
public:
    static std::vector<std::string> messages; // message boxes shown

protected:
    // Makes the folder (named after `prefix`) with a two-instruction file for every default
    // subprogram of `defs`, points the plug-in folder at it, captures message boxes and makes `cm`.
    void Prepare(const char* prefix, const std::vector<const dev::TDeviceDef*>& defs);
    void TearDown() override;

    TDeviceEngine* Add(const dev::TDeviceDef& def);
    void SaveAndReload();
    std::vector<TParamItem*> Channels() const;
    int CountAddress(uint16_t type, uint8_t index) const;
    std::vector<TDeviceEngine*> Objects(const char* tag) const;
    static std::vector<std::string> Lines(const std::function<void(TStrings*)>& fill);
    static std::string RowText(TObjectItem* o, int row);
    static std::string ValueText(TObjectItem* o, TParamItem* p);
    // Writes a plug-in file (relative to the plug-in root), making its folder.
    void WritePlugin(const std::string& relative, const std::string& text) const;

    std::string tmpDir;
    std::string root;
    std::string dbPath;
    std::unique_ptr<configmanager> cm;
};

} // namespace devtest
