// Test fixture of the relay terminals: a plug-in folder with every default subprogram of the
// twelve classes, a captured message box, and a fresh configuration with the classes registered.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Configmanager.h"
#include "deviceengine.h"
#include "relayregister.h"

namespace relaytest {

class RelayTest : public ::testing::Test {
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

    std::string tmpDir;
    std::string root;
    std::string dbPath;
    std::unique_ptr<configmanager> cm;
};

// Parameter names of the parametrized tests: the class's tag.
struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TRelayClass>& info) const { return info.param.Def->Tag; }
};

} // namespace relaytest

void PrintTo(const TRelayClass& c, std::ostream* os);
