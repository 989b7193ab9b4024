// Test fixture of the meters: a plug-in folder with every default subprogram of the seven classes
// (the Mercury 230 parse subprogram holding the current scale), a captured message box, and a fresh
// configuration with the classes registered.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "deviceengine.h"
#include "meterregister.h"

namespace metertest {

// A Mercury 230 parse subprogram of `count` instructions whose 75th pushes the current scale.
std::string ScaleProgram(int scale, int count = 80);

class MeterTest : public ::testing::Test {
public:
    static std::vector<std::string> messages; // message boxes shown

protected:
    void SetUp() override;
    void TearDown() override;

    TDeviceEngine* Add(const dev::TDeviceDef& def);
    void SaveAndReload();
    std::vector<TParamItem*> Channels() const;
    int CountAddress(uint16_t type, uint8_t index) const;
    std::vector<TDeviceEngine*> Objects(const char* tag) const;
    static std::vector<std::string> Lines(const std::function<void(TStrings*)>& fill);
    static std::string RowText(TObjectItem* o, int row);
    static std::string ValueText(TObjectItem* o, TParamItem* p);
    // Rewrites a plug-in file of a class (relative to the plug-in root).
    void WritePlugin(const std::string& relative, const std::string& text) const;

    std::string tmpDir;
    std::string root;
    std::string dbPath;
    std::unique_ptr<configmanager> cm;
};

// Parameter names of the parametrized tests: the class's tag.
struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TMeterClass>& info) const { return info.param.Def->Tag; }
};

} // namespace metertest

void PrintTo(const TMeterClass& c, std::ostream* os);
