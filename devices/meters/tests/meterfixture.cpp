// Test fixture of the meters.
#include "meterfixture.h"

void PrintTo(const TMeterClass& c, std::ostream* os) { *os << c.Def->Tag(); }

namespace metertest {

std::string ScaleProgram(int scale, int count) {
    std::string text;
    for (int k = 1; k <= count; ++k)
        text += std::to_string(k) + (k == 75 ? ";push;" + std::to_string(scale) + ";8;\n" : ";ret;\n");
    return text;
}

void MeterTest::SetUp() {
    RegisterMeterDevices();
    std::vector<const dev::TDeviceDef*> defs;
    for (const TMeterClass& c : MeterClasses())
        defs.push_back(c.Def);
    Prepare("meterdev", defs);
    WritePlugin("m230/M230_parseAnswer.act", ScaleProgram(1));
}

} // namespace metertest
