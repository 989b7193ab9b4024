// Test fixture of the relay terminals: the engine fixture over the twelve classes, registered.
#pragma once

#include "enginefixture.h"
#include "relayregister.h"

namespace relaytest {

class RelayTest : public devtest::EngineTest {
protected:
    void SetUp() override;
};

// Parameter names of the parametrized tests: the class's tag.
struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TRelayClass>& info) const {
        return info.param.Def->Tag();
    }
};

} // namespace relaytest

void PrintTo(const TRelayClass& c, std::ostream* os);
