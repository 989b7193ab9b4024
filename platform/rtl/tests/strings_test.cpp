// String helpers: case mapping and comparison over CP1251, trimming, replacing, file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "sysutils.h"
#include "tempfolder.h"

TEST(Case, AsciiFunctionsLeaveCyrillicAlone) {
    EXPECT_EQ(UpperCase("abc Жук ё"), "ABC Жук ё");
    EXPECT_EQ(LowerCase("ABC ЖУК Ё"), "abc ЖУК Ё");
}

TEST(Case, AnsiFunctionsMapEveryCyrillicPair) {
    const std::string lower = "abcxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюяђѓљњќћџўјґєїіѕ";
    const std::string upper = "ABCXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЂЃЉЊЌЋЏЎЈҐЄЇІЅ";
    EXPECT_EQ(AnsiUpperCase(lower), upper);
    EXPECT_EQ(AnsiLowerCase(upper), lower);
    const std::string neutral = "0123456789 !\"№;%:?*()_+-=«»—–…€";
    EXPECT_EQ(AnsiUpperCase(neutral), neutral);
    EXPECT_EQ(AnsiLowerCase(neutral), neutral);
    // Every byte: a case pair maps both ways, and only the 73 lower-case letters have one.
    int pairs = 0;
    for (int c = 0; c < 256; ++c) {
        const char ch = char(c);
        if (AnsiUpperChar(ch) != ch) {
            ++pairs;
            EXPECT_EQ(AnsiLowerChar(AnsiUpperChar(ch)), ch) << c;
        }
        if (AnsiLowerChar(ch) != ch) {
            EXPECT_EQ(AnsiUpperChar(AnsiLowerChar(ch)), ch) << c;
        }
    }
    EXPECT_EQ(pairs, 73);
}

TEST(Compare, CaseInsensitiveFunctions) {
    // CompareText folds a..z only (locale-free); the Ansi forms fold Cyrillic too.
    struct Case {
        const char* a;
        const char* b;
        int text;
        int ansi;
    } cases[] = {
        {"abc", "ABC", 0, 0},  {"Cnt", "cnt", 0, 0},
        {"a", "b", -1, -1},    {"b", "A", 1, 1},
        {"ab", "abc", -1, -1}, {"", "", 0, 0},
        {"", "a", -1, -1},     {"Привет", "пРИВЕТ", -1, 0},
        {"ёж", "ЁЖ", 1, 0},    {"Жук", "Жук", 0, 0},
        {"я", "Б", 1, 1},      {"Я", "б", -1, 1}, // bytes vs. alphabet
        {"_x", "X_", 1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareText(c.a, c.b), c.text) << c.a << " " << c.b;
        EXPECT_EQ(CompareText(c.b, c.a), -c.text) << c.b << " " << c.a;
        EXPECT_EQ(SameText(c.a, c.b), c.text == 0) << c.a << " " << c.b;
        EXPECT_EQ(AnsiCompareText(c.a, c.b), c.ansi) << c.a << " " << c.b;
        EXPECT_EQ(AnsiSameText(c.a, c.b), c.ansi == 0) << c.a << " " << c.b;
    }
}

TEST(Compare, AnsiOrderIsTheAlphabet) {
    std::vector<std::string> words = {"яма",   "Ёлка", "ель", "Жук", "ЕЛЬ", "zebra",
                                      "Apple", "10",   "Ёж",  "ещё", "а"};
    std::stable_sort(words.begin(), words.end(),
                     [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    const std::vector<std::string> expected = {"10",  "Apple", "zebra", "а",   "ель", "ЕЛЬ",
                                               "ещё", "Ёж",    "Ёлка",  "Жук", "яма"};
    EXPECT_EQ(words, expected);
    EXPECT_LT(AnsiCompareStr("ель", "Ель"), 0); // lower case first on a tie
    EXPECT_NE(AnsiCompareStr("ель", "Ель"), 0);
    EXPECT_LT(CompareStr("B", "a"), 0); // plain byte order
}

TEST(Trim, DropsBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t\r\n a b \x01\x1F "), "a b");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\xA0я\xA0"), "\xA0я\xA0"); // no-break space is a character in CP1251
}

TEST(Replace, Flags) {
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", {}), "a+b-c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", {rfReplaceAll}), "a+b+c");
    EXPECT_EQ(StringReplace("Ёж ёж", "ЁЖ", "x", {rfReplaceAll, rfIgnoreCase}), "x x");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", {rfReplaceAll}), "aaaaaa");
    EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
}

TEST(Substrings, PosAndCopyAreOneBased) {
    EXPECT_EQ(Pos("goto", "ifgoto"), 3);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
}

TEST(FileNames, BothSeparators) {
    struct Case {
        const char* name;
        const char* path;
        const char* file;
        const char* ext;
        const char* dir;
    } cases[] = {
        {"/opt/qbx/qbxconf", "/opt/qbx/", "qbxconf", "", "/opt/qbx"},
        {"/opt/qbx/qbxconf.exe", "/opt/qbx/", "qbxconf.exe", ".exe", "/opt/qbx"},
        {"C:\\Prog\\plugin\\qbx510\\a.act", "C:\\Prog\\plugin\\qbx510\\", "a.act", ".act",
         "C:\\Prog\\plugin\\qbx510"},
        {"/opt/qbx/plugin\\qbx510\\b.act", "/opt/qbx/plugin\\qbx510\\", "b.act", ".act",
         "/opt/qbx/plugin\\qbx510"},
        {"C:a.ini", "C:", "a.ini", ".ini", "C:"},
        {"/dir.d/file", "/dir.d/", "file", "", "/dir.d"},
        {"name", "", "name", "", ""},
        {"/x", "/", "x", "", "/"},
        {"archive.tar.gz", "", "archive.tar.gz", ".gz", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    }
    EXPECT_EQ(ChangeFileExt("/opt/qbx/qbxconf", ".ini"), "/opt/qbx/qbxconf.ini");
    EXPECT_EQ(ChangeFileExt("/opt/q.b/qbxconf.exe", ".ini"), "/opt/q.b/qbxconf.ini");
    EXPECT_EQ(ChangeFileExt("a.b", ""), "a");
    EXPECT_EQ(IncludeTrailingBackslash("/opt"), "/opt/");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(ExcludeTrailingBackslash("/opt/"), "/opt");
}

TEST(FileNames, FileSystemQueriesAcceptBackslashes) {
    namespace fs = std::filesystem;
    const testsupport::TempFolder folder("rtl-names-");
    const fs::path dir = folder.Path();
    fs::create_directories(dir / "plugin" / "qbx510");
    std::ofstream(dir / "plugin" / "qbx510" / "a.act") << "1;ret;";
    const std::string base = dir.string() + "/";
    EXPECT_TRUE(FileExists(base + "plugin\\qbx510\\a.act"));
    EXPECT_FALSE(FileExists(base + "plugin\\qbx510")); // a folder is not a file
    EXPECT_TRUE(DirectoryExists(base + "plugin\\qbx510"));
    EXPECT_FALSE(DirectoryExists(base + "plugin\\qbx510\\a.act"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(ForceDirectories(base + "x\\y\\z"));
    EXPECT_TRUE(DirectoryExists(base + "x/y/z"));
    EXPECT_FALSE(DeleteFile(base + "x\\y\\z")); // a folder is not a file, even an empty one
    EXPECT_TRUE(DirectoryExists(base + "x/y/z"));
    EXPECT_TRUE(RenameFile(base + "plugin/qbx510/a.act", base + "b.act"));
    EXPECT_TRUE(FileExists(base + "b.act"));
    EXPECT_TRUE(DeleteFile(base + "b.act"));
    EXPECT_FALSE(DeleteFile(base + "b.act"));
}
