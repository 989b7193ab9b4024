// Registry classes over the store file: typed round trips, enumeration, key paths, deletion,
// a damaged or unwritable store.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "classes.h"
#include "registry.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

class Registry : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
    std::string StoreText() const {
        std::ifstream in(dir + "/qbxconf/registry.ini", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteStore(const std::string& text) const {
        fs::create_directories(dir + "/qbxconf");
        std::ofstream(dir + "/qbxconf/registry.ini", std::ios::binary) << text;
    }
    static std::string Lines(TStrings& s) {
        std::string out;
        for (int i = 0; i < s.Count(); ++i)
            out += s[i] + "|";
        return out;
    }

    const testsupport::TempFolder folder{"qbxreg-"};
    const std::string dir = folder.Path();
};

TEST_F(Registry, StoreLivesInTheUserConfigFolder) {
    EXPECT_EQ(RegistryStorePath(), dir + "/qbxconf/registry.ini");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", "/home/somebody", 1);
    EXPECT_EQ(RegistryStorePath(), "/home/somebody/.config/qbxconf/registry.ini");
    ::setenv("HOME", home.c_str(), 1);
}

TEST_F(Registry, EveryValueTypeRoundTripsThroughTheFile) {
    const unsigned char blob[] = {0, 1, 0x7F, 0x80, 0xFF};
    const std::string text = "Строка \"в кавычках\" \\ с\tтабуляцией\r\nи строкой";
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Qbx\\Тест", true));
        reg.WriteString("Text", text);
        reg.WriteString("", "по умолчанию");
        reg.WriteExpandString("Path", "%HOME%/x");
        reg.WriteInteger("Int", -42);
        reg.WriteBool("Flag", true);
        reg.WriteFloat("Float", 3.25);
        reg.WriteDateTime("When", 45000.5);
        reg.WriteBinaryData("Blob", blob, sizeof blob);
    }
    EXPECT_NE(StoreText().find("[HKEY_CURRENT_USER\\Software\\Qbx\\Тест]"), std::string::npos);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QBX\\тест")); // names compare without case
    EXPECT_EQ(reg.CurrentPath(), "Software\\QBX\\тест");
    EXPECT_EQ(reg.ReadString("Text"), text);
    EXPECT_EQ(reg.ReadString(""), "по умолчанию");
    EXPECT_EQ(reg.ReadString("Path"), "%HOME%/x");
    EXPECT_EQ(reg.GetDataType("Path"), rdExpandString);
    EXPECT_EQ(reg.ReadInteger("Int"), -42);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.ReadFloat("Float"), 3.25);
    EXPECT_EQ(reg.ReadDateTime("When"), 45000.5);
    unsigned char back[8] = {};
    EXPECT_EQ(reg.ReadBinaryData("Blob", back, sizeof back), 5);
    EXPECT_EQ(std::memcmp(back, blob, 5), 0);
    EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
    EXPECT_EQ(reg.GetDataSize("Text"), int(text.size()) + 1);
    EXPECT_EQ(reg.GetDataSize("Missing"), -1);
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadBinaryData("Missing", back, sizeof back), 0);
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadBinaryData("Blob", back, 4), ERegistryException);
    EXPECT_THROW(reg.WriteString("Text", "x"), ERegistryException); // opened read-only
    EXPECT_EQ(reg.ReadString("Text"), text);
}

TEST_F(Registry, KeysAndValuesEnumerateAndDelete) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Enum", true));
    for (const char* k : {"beta", "Alpha", "gamma\\deep"})
        ASSERT_TRUE(reg.CreateKey(k));
    reg.WriteInteger("two", 2);
    reg.WriteInteger("one", 1);
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), "Alpha|beta|gamma|");
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), "two|one|");
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.KeyExists("gamma\\deep"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Enum\\Gamma"));
    EXPECT_FALSE(reg.OpenKey("nothere", false));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Enum"); // a failed open keeps the open key

    reg.RenameValue("two", "deux");
    EXPECT_EQ(reg.ReadInteger("deux"), 2);
    EXPECT_TRUE(reg.DeleteValue("one"));
    EXPECT_FALSE(reg.DeleteValue("one"));
    EXPECT_TRUE(reg.DeleteKey("gamma")); // with its subkeys
    EXPECT_FALSE(reg.KeyExists("gamma\\deep"));
    EXPECT_FALSE(reg.DeleteKey("gamma"));
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), "Alpha|beta|");
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), "deux|");

    // Another root is another tree.
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentKey(), 0u);
    EXPECT_FALSE(reg.KeyExists("Software\\Enum"));
}

TEST_F(Registry, SystemKeysAreAbsent) {
    TRegIniFile theme("\\Software\\Microsoft\\Windows\\CurrentVersion");
    EXPECT_EQ(theme.ReadString("ThemeManager", "ColorName", ""), "");
    TRegistry desktop;
    EXPECT_FALSE(desktop.OpenKeyReadOnly("\\Control Panel\\Desktop"));
    TRegistry classes;
    classes.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(classes.OpenKeyReadOnly(".txt"));
}

TEST_F(Registry, RegIniFileKeepsSectionsAsSubkeys) {
    TRegIniFile ini("\\Software\\Temp\\qbxconf");
    ini.WriteString("Window", "Caption", "Окно");
    ini.WriteInteger("Window", "Left", 229);
    ini.WriteBool("Window", "Max", true);
    ini.WriteString("Other", "X", "1");
    EXPECT_EQ(ini.ReadString("Window", "Caption", ""), "Окно");
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 229);
    EXPECT_TRUE(ini.ReadBool("Window", "Max", false));
    EXPECT_EQ(ini.ReadInteger("Window", "Caption", 7), 7);
    EXPECT_EQ(ini.ReadString("Nope", "Caption", "def"), "def");
    EXPECT_EQ(ini.GetDataType("Window"), rdUnknown);
    TStringList lines;
    ini.ReadSections(&lines);
    EXPECT_EQ(Lines(lines), "Other|Window|");
    ini.ReadSectionValues("Window", &lines);
    EXPECT_EQ(Lines(lines), "Caption=Окно|Left=229|Max=1|");
    ini.DeleteKey("Window", "Left");
    ini.ReadSection("Window", &lines);
    EXPECT_EQ(Lines(lines), "Caption|Max|");
    ini.EraseSection("Other");
    ini.ReadSections(&lines);
    EXPECT_EQ(Lines(lines), "Window|");
    TRegistry raw;
    ASSERT_TRUE(raw.OpenKey("\\Software\\Temp\\qbxconf\\Window", false));
    EXPECT_EQ(raw.GetDataType("Max"), rdString); // the ini form writes numbers as text
}

TEST_F(Registry, RegistryIniFileKeepsTypes) {
    TRegistryIniFile ini("\\Software\\Temp\\typed");
    TCustomIniFile& base = ini;
    base.WriteInteger("S", "Int", 5);
    base.WriteFloat("S", "F", 1.5);
    base.WriteDate("S", "D", 40000);
    base.WriteTime("S", "T", 0.25);
    base.WriteDateTime("S", "DT", 40000.25);
    base.WriteBool("S", "B", true);
    base.WriteString("S", "Str", "текст");
    EXPECT_EQ(base.ReadInteger("S", "Int", 0), 5);
    EXPECT_EQ(base.ReadFloat("S", "F", 0), 1.5);
    EXPECT_EQ(base.ReadDate("S", "D", 0), 40000);
    EXPECT_EQ(base.ReadTime("S", "T", 0), 0.25);
    EXPECT_EQ(base.ReadDateTime("S", "DT", 0), 40000.25);
    EXPECT_TRUE(base.ReadBool("S", "B", false));
    EXPECT_EQ(base.ReadString("S", "Str", ""), "текст");
    EXPECT_EQ(base.ReadFloat("S", "Str", 9.5), 9.5);
    EXPECT_TRUE(base.ValueExists("S", "Int"));
    EXPECT_TRUE(base.SectionExists("S"));
    TStringList lines;
    base.ReadSectionValues("S", &lines);
    EXPECT_EQ(lines.Values("Int"), "5");
    ASSERT_TRUE(ini.RegIniFile().OpenKey("S", false));
    EXPECT_EQ(ini.RegIniFile().GetDataType("Int"), rdInteger);
    EXPECT_EQ(ini.RegIniFile().GetDataType("F"), rdBinary);
}

TEST_F(Registry, IniFormsFollowTheOpenKey) {
    // As a settings component sets one up: no name, then another root and its key.
    TRegistryIniFile ini("");
    ini.RegIniFile().SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(ini.ReadString("S", "K", "none"), "none"); // no key open
    EXPECT_THROW(ini.WriteString("S", "K", "v"), ERegistryException);
    ASSERT_TRUE(ini.RegIniFile().OpenKey("\\Software\\Temp\\App", true));
    ini.WriteString("S", "K", "v");
    TRegistry check;
    check.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(check.OpenKeyReadOnly("\\Software\\Temp\\App\\S"));
    EXPECT_EQ(check.ReadString("K"), "v");
    // A read-only form of a key that is not there reads defaults and writes nothing.
    TRegIniFile reader("\\Software\\Absent", KEY_READ);
    EXPECT_EQ(reader.ReadInteger("S", "K", 7), 7);
    EXPECT_THROW(reader.WriteInteger("S", "K", 1), ERegistryException);
    EXPECT_FALSE(TRegistry().KeyExists("\\Software\\Absent"));
}

TEST_F(Registry, ChangesOnDiskAreSeenAndDamageIsSkipped) {
    WriteStore("; hand-made\n"
               "[HKEY_CURRENT_USER\\Software\\Hand]\n"
               "\"ok\"=\"yes\"\n"
               "\"bad\"=dword:12\n"
               "garbage line\n"
               "\"bin\"=hex:01,zz\n"
               "\"n\"=dword:0000000a\n"
               "[NOT_A_ROOT\\x]\n"
               "\"lost\"=\"x\"\n"
               "[HKEY_CURRENT_USER\\Software\\Hand\\Sub\n"
               "\"also lost\"=\"x\"\n"
               "\"unterminated=\"x\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Hand", false));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), "ok|n|");
    EXPECT_EQ(reg.ReadInteger("n"), 10);
    reg.WriteString("new", "v"); // rewriting keeps what was readable
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), "ok|n|new|");
    // Keys nested deeper than the registry allows are not taken.
    std::string deep = "[HKEY_CURRENT_USER";
    for (int i = 0; i < 600; ++i)
        deep += "\\k";
    WriteStore(deep + "]\n\"v\"=\"x\"\n[HKEY_CURRENT_USER\\Software\\Hand]\n\"ok\"=\"yes\"\n");
    EXPECT_FALSE(reg.KeyExists("\\k"));
    EXPECT_EQ(reg.ReadString("ok"), "yes");
    EXPECT_FALSE(reg.OpenKey(deep.substr(18), true));
    // Bytes that are not text at all.
    WriteStore(std::string("\0\xFF[\x01\n\"", 6));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Hand"));
}

TEST_F(Registry, CutAndFlippedStoresReadWithoutHarm) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Sweep\\Sub", true));
        reg.WriteString("", "по умолчанию \"x\"\n");
        reg.WriteExpandString("e", "%X%");
        reg.WriteInteger("i", 7);
        const char blob[] = {1, 2, 3};
        reg.WriteBinaryData("b", blob, 3);
    }
    const std::string good = StoreText();
    const size_t firstValue = good.find("\n@=");
    ASSERT_NE(firstValue, std::string::npos);
    auto readAll = [&] {
        TRegistry reg;
        TStringList names;
        if (!reg.OpenKeyReadOnly("\\Software\\Sweep\\Sub"))
            return;
        reg.GetValueNames(&names);
        for (int i = 0; i < names.Count(); ++i) {
            unsigned char buf[16];
            switch (reg.GetDataType(names[i])) {
            case rdString:
            case rdExpandString: reg.ReadString(names[i]); break;
            case rdInteger: reg.ReadInteger(names[i]); break;
            default: EXPECT_LE(reg.ReadBinaryData(names[i], buf, sizeof buf), 3); break;
            }
        }
    };
    for (size_t cut = 0; cut < good.size(); ++cut) {
        WriteStore(good.substr(0, cut));
        readAll();
        // Everything before the first value line is structure only; what lies whole before the
        // cut reads back.
        if (cut > good.find('\n', firstValue + 1)) {
            TRegistry reg;
            ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Sweep\\Sub")) << cut;
            EXPECT_EQ(reg.ReadString(""), "по умолчанию \"x\"\n") << cut;
        }
    }
    for (size_t at = 0; at < good.size(); ++at)
        for (unsigned char flip : {0x01, 0x20, 0x80}) {
            std::string bad = good;
            bad[at] = char(bad[at] ^ flip);
            WriteStore(bad);
            readAll();
        }
}

TEST_F(Registry, FailedWriteLeavesTheStoreAsItWas) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Keep", true));
    reg.WriteInteger("v", 1);
    const std::string before = StoreText();
    // The store's folder becomes a file: nothing can be written.
    fs::remove_all(dir + "/qbxconf");
    std::ofstream(dir + "/qbxconf") << "x";
    EXPECT_THROW(reg.WriteInteger("v", 2), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("v"));
    fs::remove(dir + "/qbxconf");
    WriteStore(before);
    EXPECT_EQ(reg.ReadInteger("v"), 1);
}

} // namespace
