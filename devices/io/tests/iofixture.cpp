// Test fixture of the I/O-module and telemechanics classes.
#include "iofixture.h"

void PrintTo(const TIoClass& c, std::ostream* os) { *os << c.Def->Tag(); }

namespace iotest {

namespace {

constexpr const char* kUkpmSubprograms[] = {"ukpm_makeCRC9",      "ukpm_prepareMessage", "ukpm_parseAnswer",
                                            "ukpm_makeControl",   "ukpm_noAnswer",       "ukpm_convertEnergy",
                                            "ukpm_parseAnswer_p2"};

} // namespace

void IoTest::SetUp() {
    RegisterIoDevices();
    std::vector<const dev::TDeviceDef*> defs;
    for (const TIoClass& c : IoClasses())
        defs.push_back(c.Def);
    Prepare("iodev", defs);
    for (const char* name : kUkpmSubprograms)
        WritePlugin(std::string("ukpm/") + name + ".act", "1;ret;\n2;ret;");
}

} // namespace iotest
