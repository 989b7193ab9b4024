// Test fixture of the meters: the engine fixture over the seven classes, registered, with the Mercury 230
// parse subprogram holding the current scale.
#pragma once

#include "enginefixture.h"
#include "meterregister.h"

namespace metertest {

// A Mercury 230 parse subprogram of `count` instructions whose 75th pushes the current scale.
std::string ScaleProgram(int scale, int count = 80);

class MeterTest : public devtest::EngineTest {
protected:
    void SetUp() override;
};

// Parameter names of the parametrized tests: the class's tag.
struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TMeterClass>& info) const {
        return info.param.Def->Tag();
    }
};

} // namespace metertest

void PrintTo(const TMeterClass& c, std::ostream* os);
