// Profile files: lookup rules, where writes land, bytes on disk, failures, buffered variant.
#include <gtest/gtest.h>

#include <filesystem>

#include "failingfs.h"
#include "inifiles.h"
#include "testhelpers.h"

namespace {

const char* kSample = "; comment=not a key\r\n"
                      "[Window]\r\n"
                      "Left=229\r\n"
                      "  Top =  115  \r\n"
                      "Name=\"  quoted  \"\r\n"
                      "Single='x'\r\n"
                      "Empty=\r\n"
                      "Half=\"open\r\n"
                      "left=999\r\n"
                      "\r\n"
                      "[ Объект ]\r\n"
                      "Имя=Счётчик\r\n"
                      "[window]\r\n"
                      "Width=1051\r\n";

} // namespace

TEST(IniRead, ProfileRules) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, kSample);
    TIniFile ini(f);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"Window", "Left", "229"},
        {"WINDOW", "left", "229"},        // case-insensitive; the first of two keys wins
        {"Window", "Top", "115"},         // key and value trimmed
        {"Window", "Name", "  quoted  "}, // one pair of enclosing quotes dropped
        {"Window", "Single", "x"},
        {"Window", "Empty", ""}, // present but empty: not the default
        {"Window", "Half", "\"open"},
        {"Window", "Width", "<default>"}, // the first of two sections wins
        {"объект", "ИМЯ", "Счётчик"},     // Cyrillic case folding, trimmed section name
        {"Window", "; comment", "<default>"},
        {"Nope", "Left", "<default>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(ini.ReadInteger("Window", "Top", 0), 115);
    EXPECT_EQ(ini.ReadInteger("Window", "Name", -3), -3);
    EXPECT_EQ(ini.ReadInteger("Window", "Empty", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Window", "Left", false));
    EXPECT_TRUE(ini.ReadBool("Nope", "x", true));

    TStringList l;
    ini.ReadSection("window", &l);
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"Left", "Top", "Name", "Single", "Empty", "Half"}));
    ini.ReadSections(&l);
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"Window", "Объект"}));
    ini.ReadSectionValues("Объект", &l);
    EXPECT_EQ(Lines(l), (std::vector<std::string>{"Имя=Счётчик"}));
    EXPECT_TRUE(ini.SectionExists("window"));
    EXPECT_FALSE(ini.SectionExists("nope"));
    EXPECT_TRUE(ini.ValueExists("Window", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("Window", "Width"));
}

TEST(IniWrite, NewKeysEndTheirSectionNewSectionsEndTheFile) {
    TempDir dir;
    const std::string f = dir.File("export.ini");
    {
        TIniFile ini(f);
        ini.WriteString("config", "version", "1");
        ini.WriteInteger("objects", "1", 5);
        ini.WriteString("config", "objects", "2");
        ini.WriteBool("Объект 1", "name", true);
        ini.WriteString("CONFIG", "Version", "3"); // replaces, keeps the file's spelling
        ini.WriteString("objects", "2", "  spaced  ");
    }
    EXPECT_EQ(ReadBytes(f), "[config]\r\nversion=3\r\nobjects=2\r\n"
                            "[objects]\r\n1=5\r\n2=  spaced  \r\n"
                            "[Объект 1]\r\nname=1\r\n");
    TIniFile again(f);
    EXPECT_EQ(again.ReadString("objects", "2", ""), "spaced");
}

TEST(IniWrite, KeepsEverythingElseByteForByte) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, "[A]\nx=1\n\n[B]\ny=2");
    TIniFile ini(f);
    ini.WriteString("A", "z", "\xFF\x98");
    EXPECT_EQ(ReadBytes(f), "[A]\r\nx=1\r\nz=\xFF\x98\r\n\r\n[B]\r\ny=2\r\n");
    WriteBytes(f, "[A]\r\nx=1\r\nX=2\r\nz=\xFF\x98\r\n\r\n[B]\r\ny=2\r\n"); // a duplicate key
    ini.WriteString("A", "x", "dup");                                       // replaces the first copy only
    EXPECT_EQ(ini.ReadString("A", "X", ""), "dup");
    ini.DeleteKey("a", "X");
    ini.DeleteKey("a", "missing");
    ini.EraseSection("b");
    EXPECT_EQ(ReadBytes(f), "[A]\r\nz=\xFF\x98\r\n\r\n");
}

TEST(IniWrite, LineBreaksCannotSplitAnEntry) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    TIniFile ini(f);
    ini.WriteString("S", "k", "one\r\n[Evil]\r\nx=1");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "one  [Evil]  x=1");
    EXPECT_FALSE(ini.SectionExists("Evil"));
}

TEST(IniWrite, EraseSectionRemovesEveryCopy) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\nc=3\r\n");
    TIniFile ini(f);
    ini.EraseSection("S");
    EXPECT_EQ(ReadBytes(f), "[T]\r\nb=2\r\n");
}

TEST(IniWrite, FailureIsReportedAndChangesNothing) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    WriteBytes(f, "[S]\r\na=1\r\n");
    TIniFile ini(f);
    {
        // The temporary file cannot be made, even for root.
        testsupport::FailingFileSystem fs(3);
        try {
            ini.WriteString("S", "a", "2");
            ADD_FAILURE();
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message, "Unable to write to " + f);
        }
    }
    EXPECT_EQ(ini.ReadString("S", "a", ""), "1");
    EXPECT_EQ(ReadBytes(f), "[S]\r\na=1\r\n");
    ini.WriteString("S", "a", "2");
    EXPECT_EQ(ReadBytes(f), "[S]\r\na=2\r\n");
}

TEST(IniWrite, MissingFolderOrAFolderInPlaceIsAFailure) {
    TempDir dir;
    std::filesystem::create_directory(dir.path / "version.ini");
    for (const char* name : {"none/a.ini", "version.ini"}) {
        TIniFile ini(dir.File(name)); // reads as empty
        EXPECT_EQ(ini.ReadString("S", "a", "d"), "d") << name;
        EXPECT_THROW(ini.WriteString("S", "a", "1"), EIniFileException) << name;
    }
}

TEST(IniRead, SeesChangesMadeByOthers) {
    TempDir dir;
    const std::string f = dir.File("version.ini");
    TIniFile ini(f);
    EXPECT_EQ(ini.ReadString("qbx510_parseMessage", "version_l", "0"), "0");
    WriteBytes(f, "[qbx510_parseMessage]\r\nversion_l=3\r\nversion_h=1\r\n");
    EXPECT_EQ(ini.ReadInteger("qbx510_parseMessage", "version_l", 0), 3);
    TIniFile other(f);
    other.WriteString("qbx510_parseMessage", "version_h", "2");
    EXPECT_EQ(ini.ReadInteger("qbx510_parseMessage", "version_h", 0), 2);
}

TEST(MemIni, WritesOnlyOnUpdateFile) {
    TempDir dir;
    const std::string f = dir.File("m.ini");
    WriteBytes(f, "[S]\r\na=1\r\n");
    TMemIniFile ini(f);
    ini.WriteString("S", "b", "2");
    EXPECT_EQ(ReadBytes(f), "[S]\r\na=1\r\n");
    EXPECT_EQ(ini.ReadString("S", "b", ""), "2");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes(f), "[S]\r\na=1\r\nb=2\r\n");
}

TEST(IniTyped, ValuesGoThroughTheRuntimeConversions) {
    TempDir dir;
    const std::string f = dir.File("t.ini");
    const char dec = DecimalSeparator, ds = DateSeparator;
    const std::string sdf = ShortDateFormat, ltf = LongTimeFormat;
    DecimalSeparator = ',';
    DateSeparator = '.';
    ShortDateFormat = "dd.MM.yyyy";
    LongTimeFormat = "hh:nn:ss";
    const TDateTime day = EncodeDate(2023, 3, 5), time = EncodeTime(18, 30, 15, 0);
    {
        TIniFile ini(f);
        ini.WriteFloat("S", "f", 2.5);
        ini.WriteDate("S", "d", day);
        ini.WriteDateTime("S", "dt", day + time);
        ini.WriteTime("S", "t", time);
    }
    EXPECT_EQ(ReadBytes(f), "[S]\r\nf=2,5\r\nd=05.03.2023\r\ndt=05.03.2023 18:30:15\r\nt=18:30:15\r\n");
    TIniFile ini(f);
    EXPECT_EQ(ini.ReadFloat("S", "f", 0), 2.5);
    EXPECT_EQ(ini.ReadDate("S", "d", 0), day);
    EXPECT_NEAR(ini.ReadDateTime("S", "dt", 0), day + time, 1e-9);
    EXPECT_NEAR(ini.ReadTime("S", "t", 0), time, 1e-9);
    // Missing, empty or unreadable values give the default, never an exception.
    WriteBytes(f, "[S]\r\nf=2.5\r\nd=31.02.2023\r\ndt=\r\nt=25:00\r\nj=\x01\xFF\r\n");
    EXPECT_EQ(ini.ReadFloat("S", "f", -1), -1); // the other separator
    for (const char* key : {"d", "dt", "t", "j", "missing"}) {
        EXPECT_EQ(ini.ReadFloat("S", key, -1), -1) << key;
        EXPECT_EQ(ini.ReadDate("S", key, -1), -1) << key;
        EXPECT_EQ(ini.ReadDateTime("S", key, -1), -1) << key;
        EXPECT_EQ(ini.ReadTime("S", key, -1), -1) << key;
    }
    DecimalSeparator = dec;
    DateSeparator = ds;
    ShortDateFormat = sdf;
    LongTimeFormat = ltf;
}

TEST(IniRead, HostileFilesStillAnswer) {
    TempDir dir;
    const std::string f = dir.File("version.ini");
    const std::string longLine(1 << 20, 'x');
    struct Case {
        std::string bytes;
        std::string value;
    } cases[] = {
        {"[a]\r\nversion_l=3", "3"},                                                  // no final line end
        {std::string("[a]\r\nversion_l=3\0junk\r\n", 23), std::string("3\0junk", 6)}, // NUL kept
        {"[a]\r\n" + longLine + "\r\nversion_l=4\r\n", "4"},                          // a 1 MB line
        {"[a]\r\nversion_l=" + longLine + "\r\n", longLine},                          // a 1 MB value
        {"[a\r\nversion_l=5\r\n", "5"},                                               // header without ']'
        {"[]\r\n=\r\n[a]\r\n=x\r\nversion_l=6\r\n", "6"},                             // empty names
        {"\xEF\xBB\xBF[b]\r\n[a]\r\nversion_l=7\r\n", "7"}, // a byte-order mark before the first header
        {"\x01\x02\xFF\r\n\r\r\n[a]\rversion_l=8", "8"},    // junk and bare CRs
        {"version_l=9\r\n", "<none>"},                      // a key outside every section
    };
    for (const auto& c : cases) {
        WriteBytes(f, c.bytes);
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadString("A", "VERSION_L", "<none>"), c.value) << c.bytes.substr(0, 40);
    }
}
