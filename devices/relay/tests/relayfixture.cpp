// Test fixture of the relay terminals.
#include "relayfixture.h"

void PrintTo(const TRelayClass& c, std::ostream* os) { *os << c.Def->Tag(); }

namespace relaytest {

void RelayTest::SetUp() {
    RegisterRelayDevices();
    std::vector<const dev::TDeviceDef*> defs;
    for (const TRelayClass& c : RelayClasses())
        defs.push_back(c.Def);
    Prepare("relaydev", defs);
}

} // namespace relaytest
