// The settings file: templates and window values read from text, written back, damaged values, and
// where the file lives when the program's folder takes no new files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "Usettings.h"
#include "cp1251.h"
#include "failingfs.h"
#include "inifiles.h"
#include "tempfolder.h"

namespace {

struct ActionsCase {
    const char* name;
    const char* text;                  // the [DefaultActions] section's lines
    std::vector<std::string> expected; // "name|file|id" per template
};

void PrintTo(const ActionsCase& c, std::ostream* os) { *os << c.name; }

// The settings file, refusing to be read more often than a walk over its lines needs: a reader
// that loops on a count instead stops at once.
class TReadCountedIni : public TMemIniFile {
public:
    explicit TReadCountedIni(const std::string& path) : TMemIniFile(path) {}
    std::string ReadString(std::string_view Section, std::string_view Ident,
                           const std::string& Default) override {
        if (++reads > kMaxReads)
            throw Exception("read once per count step");
        return TMemIniFile::ReadString(Section, Ident, Default);
    }
    static constexpr int kMaxReads = 100;
    int reads = 0;
};

class DefaultActions : public ::testing::TestWithParam<ActionsCase> {};

TEST_P(DefaultActions, GiveTheTemplatesOfTheWellFormedEntries) {
    testsupport::TempFolder dir;
    std::string path = dir.File("qbxconf.ini");
    std::ofstream(path) << "[DefaultActions]\n" << GetParam().text;
    TReadCountedIni ini(path);
    std::vector<std::string> got;
    for (const TDefaultActTemplate& t : ReadDefaultActions(&ini))
        got.push_back(t.Name + "|" + t.File + "|" + std::to_string(t.Id));
    EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DefaultActions,
    ::testing::Values(ActionsCase{"NoCount", "id1=A,a.act,1\n", {}},
                      ActionsCase{"EmptyCount", "Count=\nid1=A,a.act,1\n", {}},
                      ActionsCase{"ZeroCount", "Count=0\nid1=A,a.act,1\n", {}},
                      ActionsCase{"NegativeCount", "Count=-3\nid1=A,a.act,1\n", {}},
                      ActionsCase{"DamagedCount", "Count=2x\nid1=A,a.act,1\n", {}},
                      ActionsCase{"EntryWithoutCommaSkipped",
                                  "Count=2\nid1=Опрос,dev/poll.act,40\nid2=nocomma\n",
                                  {"Опрос|dev/poll.act|40"}},
                      ActionsCase{"SingleCommaGivesEmptyFile", "Count=1\nid1=A,7\n", {"A||7"}},
                      ActionsCase{"InnerBlanksKept", "Count=1\nid1=A , f ,5\n", {"A | f |5"}},
                      ActionsCase{"DamagedIdSkipped",
                                  "Count=3\nid1=A,a.act,zz\nid2=B,b.act,2\nid3=C,c.act,3\n",
                                  {"B|b.act|2", "C|c.act|3"}},
                      ActionsCase{"IdPastSixteenBitsSkipped",
                                  "Count=3\nid1=A,a.act,65536\nid2=B,b.act,65535\nid3=C,c.act,-1\n",
                                  {"B|b.act|65535"}},
                      ActionsCase{"MissingKeySkipped", "Count=2\nid2=B,b.act,2\n", {"B|b.act|2"}},
                      ActionsCase{"HugeCountAndNoEntries", "Count=2147483647\n", {}},
                      ActionsCase{"HugeCountReadsTheEntriesThere",
                                  "Count=2147483647\nid3=C,c.act,3\nid1=A,a.act,1\n",
                                  {"A|a.act|1", "C|c.act|3"}},
                      ActionsCase{"KeysPastCountOrNotNumberedAlikeIgnored",
                                  "Count=2\nid3=C,3\nid01=Z,1\nid0=Z,0\nidx=Z,9\nID2=B,2\n",
                                  {"B||2"}}),
    [](const ::testing::TestParamInfo<ActionsCase>& i) { return std::string(i.param.name); });

TEST(Settings, WindowKeysPresentAndWellFormedAreTheOnlyOnesRead) {
    testsupport::TempFolder dir;
    std::string path = dir.File("qbxconf.ini");
    std::ofstream(path) << "[Window]\nLeft=10\nTop=\nWidth=12a\nWindowState=2\np2Visible=0\np5Visible=1\n";
    TIniFile ini(path);
    TWindowSettings s = ReadWindowSettings(&ini);
    EXPECT_EQ(s.Left, 10);
    EXPECT_FALSE(s.Top);
    EXPECT_FALSE(s.Width); // damaged: treated as absent
    EXPECT_FALSE(s.Height);
    EXPECT_EQ(s.WindowState, 2);
    EXPECT_FALSE(s.Visible[0]);
    EXPECT_EQ(s.Visible[1], 0);
    EXPECT_EQ(s.Visible[4], 1);
}

TEST(Settings, AMaximisedWindowKeepsTheLastNormalGeometryOfTheFile) {
    testsupport::TempFolder dir;
    std::string path = dir.File("qbxconf.ini");
    std::ofstream(path) << "[Window]\nLeft=1\nTop=2\nWidth=300\nHeight=400\n";
    {
        TIniFile ini(path);
        TWindowValues v;
        v.WindowState = 2;
        v.Left = 99;
        v.PC1Width = 312;
        v.Visible[0] = true;
        WriteWindowSettings(&ini, v);
        ini.UpdateFile();
    }
    TIniFile ini(path);
    TWindowSettings s = ReadWindowSettings(&ini);
    EXPECT_EQ(s.WindowState, 2);
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Height, 400);
    EXPECT_EQ(s.PC1Width, 312);
    EXPECT_EQ(s.Visible[0], 1);
    EXPECT_EQ(s.Visible[3], 0);
}

// XDG_CONFIG_HOME pointed at a folder of the test's for as long as it lives.
class UserFolder {
public:
    explicit UserFolder(const std::string& path) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            fOld = old;
        ::setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    }
    ~UserFolder() {
        if (fOld)
            ::setenv("XDG_CONFIG_HOME", fOld->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;

private:
    std::optional<std::string> fOld;
};

// Without the program's path (refused for a name Windows-1251 cannot hold) nothing is read or written in the
// current folder: the settings live in the user's folder.
TEST(Settings, WithoutTheProgramsPathTheSettingsLiveInTheUserFolder) {
    testsupport::TempFolder dir;
    const UserFolder user(dir.Path());
    const TSettingsPaths paths = SettingsPaths("");
    EXPECT_EQ(paths.User, dir.Path() + "/qbxconf/qbxconf.ini");
    EXPECT_EQ(paths.Installed, "");
}

TEST(Settings, AFolderThatTakesNoFilesSendsTheSettingsToTheUserFolder) {
    testsupport::TempFolder dir;
    std::filesystem::create_directories(dir.File("bin"));
    std::string exe = dir.File("bin/qbxconf");
    EXPECT_EQ(SettingsPaths(exe).User, exe + ".ini");
    EXPECT_EQ(SettingsPaths(exe).Installed, "");

    const testsupport::ClosedFolderFileSystem closed(dir.File("bin"));
    const UserFolder user(dir.File("config"));
    const TSettingsPaths paths = SettingsPaths(exe);
    EXPECT_EQ(paths.Installed, exe + ".ini");
    EXPECT_EQ(paths.User, dir.File("config") + "/qbxconf/qbxconf.ini");
}

// An installed program: its folder takes no files, its settings file ships the templates, and the
// user's file (written at every close) holds what the user changed.
struct LayerCase {
    const char* name;
    const char* installed;             // the file beside the program
    const char* user;                  // the user's file; null: none yet
    std::vector<std::string> expected; // "name|file|id" per template
    int left, top;                     // [Window] as read
};

void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.name; }

class SettingsLayers : public ::testing::TestWithParam<LayerCase> {};

TEST_P(SettingsLayers, InstalledTemplatesStayAndTheUsersValuesWin) {
    const LayerCase& c = GetParam();
    testsupport::TempFolder dir;
    std::filesystem::create_directories(dir.File("bin"));
    const std::string exe = dir.File("bin/qbxconf");
    std::ofstream(exe + ".ini") << c.installed;
    const testsupport::ClosedFolderFileSystem closed(dir.File("bin"));
    const UserFolder user(dir.File("config"));
    const TSettingsPaths paths = SettingsPaths(exe);
    if (c.user) {
        std::filesystem::create_directories(dir.File("config/qbxconf"));
        std::ofstream(paths.User) << c.user;
    }
    const std::unique_ptr<TCustomIniFile> ini = ReadSettingsFiles(paths);
    std::vector<std::string> got;
    for (const TDefaultActTemplate& t : ReadDefaultActions(ini.get()))
        got.push_back(t.Name + "|" + t.File + "|" + std::to_string(t.Id));
    EXPECT_EQ(got, c.expected);
    const TWindowSettings w = ReadWindowSettings(ini.get());
    EXPECT_EQ(w.Left, c.left);
    EXPECT_EQ(w.Top, c.top);
    EXPECT_EQ(closed.Refused, 0); // nothing was written beside the program
}

const char* const kInstalled = "[DefaultActions]\nCount=2\nid1=Опрос,poll.act,40\nid2=Сброс,reset.act,41\n"
                               "[Window]\nLeft=5\nTop=6\n";

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsLayers,
    ::testing::Values(
        LayerCase{"NoUserFileReadsTheInstalledOne",
                  kInstalled,
                  nullptr,
                  {"Опрос|poll.act|40", "Сброс|reset.act|41"},
                  5,
                  6},
        LayerCase{"UserWindowValuesKeepTheInstalledTemplates",
                  kInstalled,
                  "[Window]\nLeft=70\nWindowState=0\n",
                  {"Опрос|poll.act|40", "Сброс|reset.act|41"},
                  70,
                  6},
        LayerCase{"UserTemplatesReplaceTheInstalledList",
                  kInstalled,
                  "[DefaultActions]\nCount=1\nid1=Свой,own.act,7\n[Window]\nTop=9\n",
                  {"Свой|own.act|7"},
                  5,
                  9},
        LayerCase{
            "UserListOfNoneHidesTheInstalledOnes", kInstalled, "[DefaultActions]\nCount=0\n", {}, 5, 6}),
    [](const ::testing::TestParamInfo<LayerCase>& i) { return std::string(i.param.name); });

// A settings file as an editor saved it: Windows-1251, or UTF-8 (with or without a byte-order mark)
// as a Linux editor saves it. Either way the templates are Windows-1251 in memory.
struct EncodingCase {
    const char* name;
    std::string installed; // the file beside the program's bytes; empty: none
    std::string user;      // the user's file's bytes
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

const std::string kTemplates = "[DefaultActions]\nCount=2\nid1=Общий опрос,common/poll.act,40\n"
                               "id2=Сброс «ТУ»,reset.act,41\n";
const std::string kWindow = "[Window]\nLeft=70\n";
const std::string kMark = "\xEF\xBB\xBF";

class SettingsEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(SettingsEncoding, TemplateNamesComeBackAsTheyWereWritten) {
    const EncodingCase& c = GetParam();
    testsupport::TempFolder dir;
    std::filesystem::create_directories(dir.File("config"));
    TSettingsPaths paths{"", dir.File("config/qbxconf.ini")};
    if (!c.installed.empty()) {
        paths.Installed = dir.File("qbxconf.ini");
        std::ofstream(paths.Installed, std::ios::binary) << c.installed;
    }
    std::ofstream(paths.User, std::ios::binary) << c.user;
    const std::unique_ptr<TCustomIniFile> ini = ReadSettingsFiles(paths);
    std::vector<std::string> got;
    for (const TDefaultActTemplate& t : ReadDefaultActions(ini.get()))
        got.push_back(t.Name + "|" + t.File + "|" + std::to_string(t.Id));
    EXPECT_EQ(got, (std::vector<std::string>{"Общий опрос|common/poll.act|40", "Сброс «ТУ»|reset.act|41"}));
    EXPECT_EQ(ReadWindowSettings(ini.get()).Left, 70);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsEncoding,
    ::testing::Values(
        EncodingCase{"Windows1251", "", kTemplates + kWindow},
        EncodingCase{"Utf8", "", Cp1251ToUtf8(kTemplates + kWindow)},
        EncodingCase{"Utf8WithByteOrderMark", "", kMark + Cp1251ToUtf8(kTemplates + kWindow)},
        EncodingCase{"Utf8UserFileOverAWindows1251Installed",
                     "[DefaultActions]\nCount=1\nid1=Опрос,poll.act,7\n", Cp1251ToUtf8(kTemplates + kWindow)},
        EncodingCase{"Utf8InstalledUnderAWindows1251UserFile", Cp1251ToUtf8(kTemplates), kWindow}),
    [](const ::testing::TestParamInfo<EncodingCase>& i) { return std::string(i.param.name); });

// A character Windows-1251 has no byte for stands as '?', and the rest of the name stays.
TEST(SettingsEncodingOutsideTheCodePage, BecomesAQuestionMark) {
    testsupport::TempFolder dir;
    const std::string path = dir.File("qbxconf.ini");
    std::ofstream(path, std::ios::binary)
        << "[DefaultActions]\nCount=1\nid1=" << Cp1251ToUtf8("Опрос ") << "\xE2\x89\xA5"
        << " 5,a.act,3\n";
    const std::unique_ptr<TCustomIniFile> ini = ReadSettingsFiles({"", path});
    const std::vector<TDefaultActTemplate> t = ReadDefaultActions(ini.get());
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Name, "Опрос ? 5");
}

} // namespace
