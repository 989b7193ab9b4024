// Test fixture of the I/O-module and telemechanics classes: the drivers' engine fixture with the
// classes registered and their default subprograms, the УКПМ unit's among them.
#pragma once

#include "enginefixture.h"
#include "ioregister.h"

namespace iotest {

class IoTest : public devtest::EngineTest {
protected:
    void SetUp() override;
};

struct ClassName {
    std::string operator()(const ::testing::TestParamInfo<TIoClass>& info) const {
        return info.param.Def->Tag();
    }
};

} // namespace iotest

void PrintTo(const TIoClass& c, std::ostream* os);
