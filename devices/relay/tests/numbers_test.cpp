// Typed numbers of the relay terminals: every numeric property row of every terminal keeps its
// lowest and highest value and refuses one past either with a message, changing nothing.
#include "bmrzregister.h"
#include "numericrows.h"
#include "relayregister.h"

namespace {

std::vector<const dev::TDeviceDef*> TerminalDefs() {
    std::vector<const dev::TDeviceDef*> defs;
    for (const TRelayClass& c : RelayClasses())
        defs.push_back(c.Def);
    for (const TRelayClass& c : BmrzClasses())
        defs.push_back(c.Def);
    return defs;
}

class TerminalTest : public devtest::EngineTest {
protected:
    void SetUp() override {
        RegisterRelayDevices();
        RegisterBmrzDevices();
        Prepare("relaynumbers", TerminalDefs());
    }
};

using TerminalNumericRow = devtest::NumericRowTest<TerminalTest>;

TEST_P(TerminalNumericRow, KeepsItsRangeAndRefusesOnePast) { CheckRow(); }

TEST_P(TerminalNumericRow, TypedKeyByKeyKeepsItsRangeAndRefusesOnePastOnce) { CheckTypedRow(); }

INSTANTIATE_TEST_SUITE_P(Terminals, TerminalNumericRow,
                         ::testing::ValuesIn(devtest::NumericRows(TerminalDefs())), devtest::NumericRowName);

} // namespace
