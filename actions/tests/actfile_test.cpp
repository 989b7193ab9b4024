// Tests of .act files and version.ini (actions layer): written bytes, reading rules, bad inputs.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <sys/stat.h>

#include "helpers.h"
#include "sysutils.h"

namespace {

const char* const kExample = "1;def;x;\n2;push;x;2;4;\n3;gotoz;1;\n4;ret;";

TEST(ActFile, WritesTheExampleByteForByte) {
    actionManager m;
    T_Action* a = Assembled(m, {"def x", "push x 2 4", "gotoz @l:1", "ret"});
    TempDir dir;
    ASSERT_EQ(a->SaveActFile(dir / "x.act"), 0);
    EXPECT_EQ(ReadBytes(dir / "x.act"), kExample);
    EXPECT_EQ(a->FilePath, ""); // saving does not change the subprogram
}

TEST(ActFile, ActLinesCarryTheCalleeNameAndLoadBack) {
    actionManager m;
    T_Action* callee = m.CreateAction("callee");
    T_Action* a = Assembled(m, {"act callee", "act 77"}, "caller");
    TempDir dir;
    ASSERT_EQ(a->SaveActFile(dir / "c.act"), 0);
    EXPECT_EQ(ReadBytes(dir / "c.act"), "1;act;callee;\n2;act;77;");
    T_Action* b = m.CreateAction("b");
    ASSERT_EQ(b->LoadActFile(dir / "c.act"), 0);
    EXPECT_EQ(b->Instructions[0].U16(0), callee->Id());
    EXPECT_EQ(b->Instructions, a->Instructions);
}

// An unrecognised line keeps its place (jump targets count it) through a file.
TEST(ActFile, UnrecognisedInstructionIsWrittenByItsCodeAndKeepsItsPlace) {
    actionManager m;
    T_Action* a = Assembled(m, {"ret", "BOGUS", "gotoa @l:3"});
    TempDir dir;
    ASSERT_EQ(a->SaveActFile(dir / "z.act"), 0);
    EXPECT_EQ(ReadBytes(dir / "z.act"), "1;ret;\n2;op;0;\n3;gotoa;3;");
    T_Action* b = m.CreateAction("b");
    ASSERT_EQ(b->LoadActFile(dir / "z.act"), 0);
    EXPECT_EQ(b->Instructions, a->Instructions);
}

// Operand bytes that no text form holds travel in the raw form, all five of them.
TEST(ActFile, RawInstructionsKeepEveryOperandByte) {
    actionManager m;
    T_Action* a = m.CreateAction("raw");
    a->Instructions = {TActionLine{0, 0, {1, 2, 3, 0, 0}}, TActionLine{0, opRet, {0, 0, 0, 0, 9}},
                       TActionLine{0, 200, {255, 254, 253, 252, 251}}};
    TempDir dir;
    ASSERT_EQ(a->SaveActFile(dir / "r.act"), 0);
    EXPECT_EQ(ReadBytes(dir / "r.act"), "1;op;0;1;2;3;\n2;op;14;0;0;0;0;9;\n3;op;200;255;254;253;252;251;");
    T_Action* b = m.CreateAction("b");
    ASSERT_EQ(b->LoadActFile(dir / "r.act"), 0);
    EXPECT_EQ(b->Instructions, a->Instructions);
}

TEST(ActFile, EmptySubprogramWritesAnEmptyFile) {
    T_Action a;
    TempDir dir;
    ASSERT_EQ(a.SaveActFile(dir / "e.act"), 0);
    EXPECT_EQ(ReadBytes(dir / "e.act"), "");
}

TEST(ActFile, SaveFailsWithoutTouchingAnExistingReadOnlyFile) {
    actionManager m;
    T_Action* a = Assembled(m, {"ret"});
    TempDir dir;
    int error = 0;
    EXPECT_EQ(a->SaveActFile(dir / "no/such/folder/x.act", &error), -1);
    EXPECT_EQ(error, ENOENT);
    WriteBytes(dir / "ro.act", "old");
    ::chmod((dir / "ro.act").c_str(), 0444);
    ::chmod(dir.Path().c_str(), 0777); // the folder itself is writable
    EXPECT_TRUE(
        AsUnprivileged([&] { return a->SaveActFile(dir / "ro.act", &error) == -1 && error == EACCES; }));
    EXPECT_EQ(ReadBytes(dir / "ro.act"), "old");
    EXPECT_TRUE(AsUnprivileged([&] { return a->SaveActFile(dir / "new.act") == 0; }));
    EXPECT_EQ(ReadBytes(dir / "new.act"), "1;ret;");
}

TEST(ActFile, SaveWritesThroughALinkAndIntoAWritableFileOfAReadOnlyFolder) {
    actionManager m;
    T_Action* a = Assembled(m, {"ret"});
    TempDir dir;
    WriteBytes(dir / "real.act", "old");
    ASSERT_EQ(::symlink((dir / "real.act").c_str(), (dir / "link.act").c_str()), 0);
    ASSERT_EQ(a->SaveActFile(dir / "link.act"), 0);
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "link.act").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(dir / "real.act"), "1;ret;");

    WriteBytes(dir / "w.act", "old");
    ::chmod((dir / "w.act").c_str(), 0666);
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_TRUE(AsUnprivileged([&] { return a->SaveActFile(dir / "w.act") == 0; }));
    EXPECT_TRUE(AsUnprivileged([&] {
        int error = 0;
        return a->SaveActFile(dir / "new.act", &error) == -1 && error == EACCES;
    }));
    EXPECT_EQ(ReadBytes(dir / "w.act"), "1;ret;");
}

TEST(ActFile, ReadsAnyWhiteSpaceAsLineEndAndSetsPathAndVersion) {
    TempDir dir;
    WriteBytes(dir / "x.act", "1;def;x;\r\n2;push;x;2;4;\t3;gotoz;1;  \v\f4;ret;\r\n\r\n");
    WriteBytes(dir / "version.ini", "[x_sub]\r\nversion_l=3\r\nversion_h=1\r\n");
    actionManager m;
    T_Action* ref = Assembled(m, {"def x", "push x 2 4", "gotoz @l:1", "ret"});
    T_Action* a = m.CreateAction("x_sub");
    ASSERT_EQ(a->LoadActFile(dir / "x.act"), 0);
    EXPECT_EQ(a->Instructions, ref->Instructions);
    EXPECT_EQ(a->FilePath, dir / "x.act");
    EXPECT_EQ(a->Version, 259);
}

TEST(ActFile, ReadOnlyFileLoads) {
    TempDir dir;
    WriteBytes(dir / "ro.act", kExample);
    ::chmod((dir / "ro.act").c_str(), 0444);
    actionManager m;
    T_Action* a = m.CreateAction("a");
    EXPECT_TRUE(
        AsUnprivileged([&] { return a->LoadActFile(dir / "ro.act") == 0 && a->Instructions.size() == 4; }));
}

struct LoadCase {
    const char* what;
    std::string bytes;
    int result;
    std::vector<std::string> same_as;  // text the loaded subprogram must equal when result is 0
    std::string reason = "Строка 1: "; // how the reason of a refusal starts
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.what; }

const LoadCase kLoads[] = {
    {"last field without its ';'", "1;def;x;\n2;push;x;2;4", 0, {"def x", "push x 2"}},
    {"line without any ';'", "ret\n1;ret;", 0, {"ret"}},
    {"operands past the fourth ignored", "1;push;mem;1;2;3;4;5;", 0, {"push mem 1 2"}},
    {"number field ignored", "x;ret;", 0, {"ret"}},
    {"long variable name", "1;def;" + std::string(300, 'n') + ";", 0, {"def " + std::string(300, 'n')}},
    {"unknown mnemonic", "1;bogus;", 0, {"bogus"}},
    {"Cyrillic text, tabs and CRLF", "1;def;счёт;\r\n\t2;push;счёт;", 0, {"def счёт", "push счёт"}},
    {"empty file, as an empty subprogram is saved", "", 0, {}},
    {"only white space", " \r\n\t\n", -1, {}, "В файле нет ни одной инструкции"},
    {"words without fields", "hello world", -1, {}, "В файле нет ни одной инструкции"},
    {"jump without target", "1;gotoz;", -1, {}},
    {"def without name", "1;def;", -1, {}},
    {"act of an unknown name", "1;act;nosuch;", -1, {}},
    {"overlong number", "1;push;" + std::string(200, '9') + ";", -1, {}},
    {"binary junk operand",
     std::string("1;push;\x01\xFF\x00\x7F;", 13),
     -1,
     {},
     "Это не текстовый файл (байт $01 по смещению 7)"},
    {"binary junk mnemonic",
     std::string("\x00;\xC0\x01;", 5),
     -1,
     {},
     "Это не текстовый файл (байт $00 по смещению 0)"},
    {"escape byte",
     "1;ret;\x1B"
     "2;ret;",
     -1,
     {},
     "Это не текстовый файл (байт $1B по смещению 6)"},
    {"delete byte", "1;push;5\x7F;", -1, {}, "Это не текстовый файл (байт $7F по смещению 8)"},
};

class ActLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(ActLoad, LoadsOrLeavesTheSubprogramUntouched) {
    const LoadCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir / "f.act", c.bytes);
    actionManager m;
    T_Action* a = Assembled(m, {"def keep", "push keep"}, "a");
    a->FilePath = "before.act";
    a->Version = 7;
    std::vector<TActionLine> before = a->Instructions;
    std::string reason;
    ASSERT_EQ(a->LoadActFile(dir / "f.act", &reason), c.result);
    if (c.result == 0) {
        TStringList want;
        for (const std::string& l : c.same_as)
            want.Add(l);
        T_Action* ref = m.CreateAction("ref");
        ref->Assemble(want);
        EXPECT_EQ(a->Instructions, ref->Instructions);
        EXPECT_EQ(a->FilePath, dir / "f.act");
        EXPECT_EQ(a->Version, 0);
    } else {
        EXPECT_TRUE(reason.starts_with(c.reason)) << reason; // the assembler names the line
        EXPECT_EQ(a->Instructions, before);
        EXPECT_EQ(a->Variables.Count(), 1);
        EXPECT_EQ(a->FilePath, "before.act");
        EXPECT_EQ(a->Version, 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ActLoad, testing::ValuesIn(kLoads));

TEST(ActFile, MissingFileFolderDeviceOrPipeIsNotOpened) {
    TempDir dir;
    actionManager m;
    T_Action* a = Assembled(m, {"ret"});
    std::string reason;
    EXPECT_EQ(a->LoadActFile(dir / "missing.act", &reason), -1);
    EXPECT_EQ(reason, SysErrorMessage(ENOENT));
    EXPECT_EQ(a->LoadActFile(dir.Path(), &reason), -1);
    EXPECT_EQ(reason, SysErrorMessage(EISDIR));
    EXPECT_EQ(a->LoadActFile("/dev/null"), -1);
    ASSERT_EQ(::mkfifo((dir / "pipe.act").c_str(), 0600), 0);
    reason.clear();
    EXPECT_EQ(a->LoadActFile(dir / "pipe.act", &reason), -1); // returns at once: nobody writes to the pipe
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(a->Instructions.size(), 1u);
    EXPECT_EQ(a->FilePath, "");
}

TEST(ActFile, RandomBytesNeverHalfLoad) {
    std::mt19937 rng(77);
    TempDir dir;
    actionManager m;
    for (int round = 0; round < 300; ++round) {
        std::string bytes(size_t(rng() % 400), '\0');
        const char alphabet[] = "0123456789;;;;  \n\tpushpopdefmemgotozact$-,\"\x00\xFF\xC0";
        for (char& b : bytes)
            b = rng() % 4 ? alphabet[rng() % (sizeof alphabet - 1)] : char(rng());
        WriteBytes(dir / "j.act", bytes);
        T_Action* a = Assembled(m, {"def keep", "ret"}, "j");
        int rc = a->LoadActFile(dir / "j.act");
        ASSERT_TRUE(rc == 0 || rc == -1);
        if (rc == -1) {
            ASSERT_EQ(a->Instructions.size(), 2u);
            ASSERT_EQ(a->Variables.Count(), 1);
            ASSERT_EQ(a->FilePath, "");
        }
        m.DeleteAction(a);
    }
}

struct VersionCase {
    const char* what;
    std::string ini;
    uint16_t version;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.what; }

const VersionCase kVersions[] = {
    {"both keys", "[sub]\nversion_l=3\nversion_h=1\n", 259},
    {"low key only", "[sub]\nversion_l=3\n", 3},
    {"other section", "[other]\nversion_l=3\nversion_h=1\n", 0},
    {"section name case", "[SUB]\nversion_l=3\n", 3},
    {"hexadecimal", "[sub]\nversion_l=$10\n", 16},
    {"not an integer", "[sub]\nversion_l=abc\nversion_h=1\n", 256},
    {"empty value", "[sub]\nversion_l=\nversion_h=2\n", 512},
    {"cut to 16 bits", "[sub]\nversion_l=255\nversion_h=257\n", 511},
    {"negative", "[sub]\nversion_l=-1\n", 65535},
    {"largest integers", "[sub]\nversion_l=2147483647\nversion_h=2147483647\n", 65279},
    {"smallest integer high", "[sub]\nversion_l=1\nversion_h=-2147483648\n", 1},
    {"overlong value", "[sub]\nversion_l=" + std::string(10000, '9') + "\n", 0},
    {"binary junk", std::string("\x00\xFF[\x01]\n=\x02\n\xC0\xC1", 11), 0},
    {"junk around the section", std::string("\x00\xFF\n[sub]\nversion_l=5\n\x01\x02", 23), 5},
    {"empty file", "", 0},
};

class Version : public testing::TestWithParam<VersionCase> {};

TEST_P(Version, ReadsFromTheIniBesideTheFile) {
    const VersionCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir / "version.ini", c.ini);
    actionManager m;
    T_Action* a = m.CreateAction("sub");
    a->FilePath = dir / "sub.act";
    EXPECT_EQ(ReadScriptVersion(a, ""), c.version);
}

INSTANTIATE_TEST_SUITE_P(Files, Version, testing::ValuesIn(kVersions));

TEST(Version, FolderOfTheSubprogramsFileWinsOverThePathArgument) {
    TempDir own, other;
    WriteBytes(own / "version.ini", "[sub]\nversion_l=1\n");
    WriteBytes(other / "version.ini", "[sub]\nversion_l=2\n");
    actionManager m;
    T_Action* a = m.CreateAction("sub");
    EXPECT_EQ(ReadScriptVersion(a, other / "any.act"), 2);
    a->FilePath = own / "sub.act";
    EXPECT_EQ(ReadScriptVersion(a, other / "any.act"), 1);
    a->FilePath = other.Path() + "nofolder/sub.act";
    EXPECT_EQ(ReadScriptVersion(a, own / "x.act"), 1); // no version.ini there: the argument's folder
    T_Action loose;
    EXPECT_EQ(ReadScriptVersion(&loose, own / "x.act"), 0); // no name
    EXPECT_EQ(ReadScriptVersion(a, ""), 0);
}

TEST(ActFile, CyrillicSectionName) {
    TempDir dir;
    WriteBytes(dir / "version.ini", "[Журнал]\nversion_h=2\n");
    actionManager m;
    T_Action* a = m.CreateAction("Журнал");
    a->FilePath = dir / "j.act";
    EXPECT_EQ(ReadScriptVersion(a, ""), 512);
}

TEST(PluginFolder, DefaultsBesideTheProgramAndCanBeMoved) {
    std::string def = PluginFolder();
    EXPECT_EQ(def.substr(def.size() - 7), "plugin/");
    SetPluginFolder("/opt/qbx/plug");
    EXPECT_EQ(PluginFile("qbx510", "qbx510_parseMessage"), "/opt/qbx/plug/qbx510/qbx510_parseMessage.act");
    EXPECT_EQ(PluginFile("", "log_handleStateChange"), "/opt/qbx/plug/log_handleStateChange.act");
    SetPluginFolder("");
    EXPECT_EQ(PluginFolder(), def);
}

} // namespace
