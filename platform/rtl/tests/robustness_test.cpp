// Untrusted text into every decoder of the runtime: random bytes must give a value or the
// documented exception, never a crash (the test runs under the sanitizers).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "cp1251.h"
#include "inifiles.h"
#include "tempfolder.h"

namespace {

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLen) {
    std::string s(rng() % (maxLen + 1), '\0');
    for (char& c : s)
        c = alphabet.empty() ? char(rng()) : alphabet[rng() % alphabet.size()];
    return s;
}

} // namespace

TEST(Robustness, RandomBytesIntoDecoders) {
    std::mt19937 rng(20261209);
    const std::string numeric = "0123456789+-$xXaAfF.,eE %*:-dsxfgnmup";
    for (int i = 0; i < 20000; ++i) {
        const std::string any = RandomText(rng, "", 40);
        const std::string num = RandomText(rng, numeric, 12);
        EXPECT_NO_THROW(Utf8ToCp1251(any));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(any)), any);
        TStringList l;
        l.SetCommaText(any);
        l.SetText(any);
        int iv;
        double dv;
        TryStrToInt(num, iv);
        TryStrToFloat(num, dv);
        TDateTime t;
        TryStrToTime(num, t);
        TryStrToDate(num, t);
        try {
            Format(num, 1, 2.5, "s");
        } catch (const EConvertError&) {
        }
        EXPECT_NO_THROW(FormatFloat(num, dv));
        EXPECT_NO_THROW(FormatDateTime(any, 45000.5));
    }
}

TEST(Robustness, RandomProfileFiles) {
    std::mt19937 rng(1251);
    const testsupport::TempFolder folder("rtl-robust-");
    const std::string path = folder.File("random.ini");
    const std::string alphabet = "[]=; \t\r\nabAB\"'\xC0\xE0";
    for (int i = 0; i < 500; ++i) {
        std::ofstream(path, std::ios::binary) << RandomText(rng, alphabet, 200);
        TIniFile ini(path);
        TStringList sections, keys;
        ini.ReadSections(&sections);
        for (int s = 0; s < sections.Count(); ++s) {
            ini.ReadSectionValues(sections[s], &keys);
            ini.ReadSection(sections[s], &keys);
            for (int k = 0; k < keys.Count(); ++k)
                ini.ReadString(sections[s], keys[k], "");
        }
        // Whatever was there, a written value reads back.
        ini.WriteString("a", "b", "value");
        ASSERT_EQ(ini.ReadString("A", "B", ""), "value");
        ASSERT_EQ(TIniFile(path).ReadString("a", "b", ""), "value");
    }
    std::filesystem::remove(path);
}
