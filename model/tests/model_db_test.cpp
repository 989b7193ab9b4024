// Saving and loading configurations: stored bytes, round trips, version checks, refusals and the
// mended save/load faults.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "Configmanager.h"
#include "failingfs.h"
#include "Dbtables.h"
#include "Userobject.h"
#include "actions.h"
#include "lorbase.h"
#include "model_fixture.h"
#include "sysutils.h"

namespace {

struct TableShape {
    const char* name;
    int keyLen, maxDat;
};
const TableShape kTables[9] = {
    {kTableDBInfo, 1, 33},      {kTableActionsEx, 3, 7},   {kTableActionsVar, 3, 33},
    {kTableActionsInfo, 2, 36}, {kTableObjects, 2, 16},    {kTableCommands, 3, 7},
    {kTableParamInfo, 3, 3},    {kTableParamInfoEx, 3, 5}, {kTableParamValue, 3, 66},
};

std::vector<std::string> Dump(const std::string& file, const char* table) {
    for (const TableShape& t : kTables)
        if (std::string(t.name) == table)
            return DumpTable(file, table, t.keyLen, t.maxDat);
    return {};
}

std::vector<std::string> DumpAll(const std::string& file) {
    std::vector<std::string> all;
    for (const TableShape& t : kTables)
        for (const std::string& r : DumpTable(file, t.name, t.keyLen, t.maxDat))
            all.push_back(std::string(t.name) + " " + r);
    return all;
}

struct Db : ::testing::Test {
    TempDir dir;
    std::string file = dir.File("conf.cdb");
    void SetUp() override {
        RegisterTestDevice();
        CaptureMessages();
        SetPluginFolder(dir.File("plugin/"));
    }
    void TearDown() override {
        UnregisterTestDevice();
        SetPluginFolder("");
        SetMessageBoxHandler(nullptr);
    }
};

TEST_F(Db, NewConfigurationRecords) {
    configmanager c;
    ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    EXPECT_EQ(Dump(file, kTableDBInfo), (std::vector<std::string>{"01|02 02 01"}));
    EXPECT_EQ(Dump(file, kTableParamValue),
              (std::vector<std::string>{
                  "FF FE 01|10 00 C0 12", "FF FE 02|10 00 C0 12", "FF FE 03|10 00 80 00",
                  "FF FE 04|10 00 0D 00", "FF FE 05|10 00 02 01", "FF FE 07|08 00 03", "FF FF 01|08 00 01",
                  "FF FF 02|10 00 02 03", "FF FF 03|08 00 0D", "FF FF 04|18 00 00 00 00"}));
    EXPECT_EQ(Dump(file, kTableParamInfo),
              (std::vector<std::string>{"FF FE 01|10 00 00", "FF FE 02|10 00 00", "FF FE 03|10 00 00",
                                        "FF FE 04|10 00 00", "FF FE 05|10 00 00", "FF FE 07|08 00 00",
                                        "FF FF 01|08 00 00", "FF FF 02|10 00 00", "FF FF 03|08 00 00",
                                        "FF FF 04|18 00 00"}));
    for (const char* empty : {kTableParamInfoEx, kTableObjects, kTableCommands, kTableActionsEx,
                              kTableActionsVar, kTableActionsInfo})
        EXPECT_TRUE(Dump(file, empty).empty()) << empty;
    LORHANDLE base = OpenBase(file.c_str(), 1024, 1);
    ASSERT_GT(base, 32u);
    for (const TableShape& t : kTables)
        EXPECT_TRUE(IsTable(base, t.name)) << t.name;
    CloseBase(base);
    EXPECT_EQ(ReadBytes(file)[1], 0) << "closed cleanly";
}

TEST_F(Db, ObjectCommandChannelAndSubprogramRecords) {
    configmanager c;
    TObjectItem* m = c.AddObject(38);
    ASSERT_TRUE(m);
    static_cast<TCommandItem*>(m->Commands.Newest)->Execute = 0; // command 2 not executed
    TParamItem* p = c.NewChannel(2, 7);
    p->SetBitWidth(9);
    p->Value[0] = 0xAB;
    p->Value[1] = 0x01;
    p->WriteHandler = 300;
    T_Action* a = c.CreateSubprogramWithId(300);
    a->SetName("sub");
    a->Version = 0x0102;
    a->Flags = 9;
    a->Variables.Add("x");
    TActionLine line;
    line.Opcode = opPush;
    line.Operands[0] = 5;
    line.Operands[4] = 8;
    a->Instructions.push_back(line);
    ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    EXPECT_EQ(Dump(file, kTableObjects),
              (std::vector<std::string>{"03 E8|00 00 00 00 4D 45 52 32 33 30 00"}));
    EXPECT_EQ(Dump(file, kTableCommands), (std::vector<std::string>{"03 E8 01|05 00 00 00 00 00 00"}));
    EXPECT_EQ(Dump(file, kTableActionsInfo), (std::vector<std::string>{"2C 01|02 01 01 73 75 62 00"}));
    EXPECT_EQ(Dump(file, kTableActionsVar), (std::vector<std::string>{"01 2C 01|78 00"}));
    EXPECT_EQ(Dump(file, kTableActionsEx), (std::vector<std::string>{"01 2C 01|05 03 05 00 00 00 08"}));
    EXPECT_EQ(Dump(file, kTableParamValue)[0], "00 02 07|09 00 AB 01");
    EXPECT_EQ(Dump(file, kTableParamInfo)[0], "00 02 07|09 00 02");
    EXPECT_EQ(Dump(file, kTableParamInfoEx), (std::vector<std::string>{"00 02 07|00 2C 01 00 00"}));
}

TEST_F(Db, SaveLoadSaveGivesTheSameFile) {
    std::string second = dir.File("again.cdb");
    {
        configmanager c;
        c.AddObject(38);
        auto* u = static_cast<TUserObjItem*>(c.AddObject(1));
        u->ApplyTag("PUMP");
        u->ApplyCommandCount("2");
        u->CommandAt(1)->Prepare = 7;
        u->Period = 0x45;
        TParamItem* p = c.NewChannel(1, 1);
        p->SetBitWidth(16);
        p->Value[0] = 0x34;
        p->Value[1] = 0x12;
        p->SetRamDepth(4);
        p->ChangeHandler = 3;
        T_Action* a = c.CreateSubprogram("one");
        a->Variables.Add("v");
        TActionLine line;
        line.Opcode = opRet;
        a->Instructions.push_back(line);
        ASSERT_TRUE(c.SaveDatabase(file));
    }
    configmanager loaded;
    ASSERT_TRUE(loaded.LoadDatabase(file)) << loaded.LastError;
    EXPECT_TRUE(loaded.LoadProblems.empty());
    ASSERT_TRUE(loaded.SaveDatabase(second));
    EXPECT_EQ(DumpAll(file), DumpAll(second));
    EXPECT_EQ(ReadBytes(file), ReadBytes(second));
    EXPECT_EQ(loaded.Objects.Count, 2u);
}

// A value record longer than its width loads only the width's bytes; values of every width up to the
// stored limit come back byte for byte, and saving them again writes the same file.
TEST_F(Db, ValueBytesFollowTheWidth) {
    ASSERT_TRUE(PutRawRecord(file, kTableDBInfo, {1}, {2, 2, 1}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 3, 1}, {12, 0, 1, 2, 3, 4, 5}));
    {
        configmanager c;
        ASSERT_TRUE(c.LoadDatabase(file)) << c.LastError;
        const auto* p = static_cast<const TParamItem*>(c.Channels.Newest);
        ASSERT_EQ(p->ChannelType, 3);
        EXPECT_EQ(p->ValueBytes(), 2);
        EXPECT_EQ(p->Value[0], 1);
        EXPECT_EQ(p->Value[1], 2);
        EXPECT_EQ(p->Value[2], 0);
    }

    const uint16_t widths[] = {0, 1, 8, 9, 64, 65, 72, 200, 511, 512};
    std::string second = dir.File("again.cdb");
    {
        configmanager c;
        for (uint8_t k = 0; k < std::size(widths); ++k) {
            TParamItem* p = c.NewChannel(4, static_cast<uint8_t>(k + 1));
            p->SetBitWidth(widths[k]);
            for (int i = 0; i < p->ValueBytes(); ++i)
                p->Value[i] = static_cast<uint8_t>(0xA0 + k + 7 * i);
        }
        ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    }
    std::vector<std::string> rows;
    for (const std::string& r : Dump(file, kTableParamValue))
        if (r.rfind("00 04 ", 0) == 0)
            rows.push_back(r);
    ASSERT_EQ(rows.size(), std::size(widths));
    configmanager loaded;
    ASSERT_TRUE(loaded.LoadDatabase(file)) << loaded.LastError;
    EXPECT_TRUE(loaded.LoadProblems.empty());
    std::set<int> seen;
    for (ELEM* e = loaded.Channels.Oldest; e; e = e->Newer) {
        const auto* p = static_cast<const TParamItem*>(e);
        if (p->ChannelType != 4)
            continue;
        const int k = p->ChannelIndex - 1;
        seen.insert(k);
        ASSERT_EQ(p->BitWidth(), widths[k]);
        ASSERT_EQ(p->ValueBytes(), (widths[k] + 7) / 8);
        // Stored: the width, then exactly the value bytes.
        std::vector<uint8_t> stored = {static_cast<uint8_t>(widths[k]), static_cast<uint8_t>(widths[k] >> 8)};
        for (int i = 0; i < p->ValueBytes(); ++i) {
            EXPECT_EQ(p->Value[i], static_cast<uint8_t>(0xA0 + k + 7 * i)) << k << " " << i;
            stored.push_back(static_cast<uint8_t>(0xA0 + k + 7 * i));
        }
        const uint8_t index = p->ChannelIndex;
        EXPECT_EQ(rows[k], "00 04 " + Hex(&index, 1) + "|" + Hex(stored.data(), stored.size()));
    }
    EXPECT_EQ(seen.size(), std::size(widths));
    ASSERT_TRUE(loaded.SaveDatabase(second));
    EXPECT_EQ(ReadBytes(file), ReadBytes(second));
}

TEST_F(Db, NewConfigurationLoadsAsNew) {
    configmanager c;
    ASSERT_TRUE(c.SaveDatabase(file));
    configmanager loaded;
    ASSERT_TRUE(loaded.LoadDatabase(file));
    EXPECT_EQ(loaded.Channels.Count, 10u);
    EXPECT_EQ(loaded.VersionWord(), 0x0201);
    TStringList lines;
    loaded.CheckDbVersion(&lines);
    EXPECT_EQ(lines.Count(), 0);
    loaded.CheckFileVersions(&lines);
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(Db, LoadRules) {
    // Built by hand: a user object with commands 2 and 5, a channel of RAM depth 4, a built-in channel
    // stored wider than its own width, a second journal, a "QBX540M", a subprogram without its info
    // record and with variables "a", "b", "a".
    ASSERT_TRUE(PutRawRecord(file, kTableDBInfo, {1}, {2, 2, 1}));
    ASSERT_TRUE(PutRawRecord(file, kTableObjects, {0x27, 0x10}, {0, 0, 0, 0, 'X', 'Y', 0}));
    ASSERT_TRUE(
        PutRawRecord(file, kTableObjects, {0x00, 0x05}, {0, 0, 0, 0, 'Q', 'B', 'X', '5', '4', '0', 'M', 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableCommands, {0x27, 0x10, 2}, {9, 1, 0, 2, 0, 3, 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableCommands, {0x27, 0x10, 5}, {0, 4, 0, 5, 0, 6, 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 2, 1}, {16, 0, 1, 2}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamInfoEx, {0, 2, 1}, {4, 0, 0, 0, 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0xFF, 0xFF, 1}, {16, 0, 0x11, 0x22}));
    ASSERT_TRUE(PutRawRecord(file, kTableActionsEx, {0, 9, 1}, {0, opRet}));
    for (uint8_t k : {1, 2, 3})
        ASSERT_TRUE(PutRawRecord(file, kTableActionsVar, {0, 9, k}, {uint8_t(k == 2 ? 'b' : 'a'), 0}));
    configmanager c;
    ASSERT_TRUE(c.LoadDatabase(file)) << c.LastError;
    ASSERT_EQ(c.Objects.Count, 1u);
    auto* u = dynamic_cast<TUserObjItem*>(static_cast<TObjectItem*>(c.Objects.Oldest));
    ASSERT_TRUE(u);
    EXPECT_EQ(u->Tag, "XY");
    ASSERT_EQ(u->CommandCount(), 2);
    EXPECT_EQ(u->CommandAt(0)->Number, 1);
    EXPECT_EQ(u->CommandAt(1)->Number, 2);
    EXPECT_EQ(u->CommandAt(0)->Period, 9);
    EXPECT_EQ(u->CommandAt(1)->Parse, 4);
    EXPECT_EQ(u->CommandAt(1)->NoAnswer, 5);
    EXPECT_EQ(u->CommandAt(1)->Prepare, 6);
    auto* p = static_cast<TParamItem*>(c.Channels.Newest);
    EXPECT_EQ(p->ChannelType, 2);
    EXPECT_EQ(p->RamDepth, 4);
    EXPECT_EQ(p->Value[0], 0xFF);
    EXPECT_EQ(p->Value[255], 0xFF);
    EXPECT_EQ(c.BuiltIn[0]->Value[0], 0x11);
    EXPECT_EQ(c.BuiltIn[0]->Value[1], 0x00);
    T_Action* a = c.Actions->ById(9);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Name(), "action9");
    EXPECT_EQ(a->Version, 0);
    EXPECT_EQ(Lines(a->Variables), (std::vector<std::string>{"a", "b"}));
}

TEST_F(Db, VersionCheckTexts) {
    struct Case {
        std::vector<uint8_t> version; // empty: no version record
        std::vector<std::string> db, files;
        bool extended;
    } cases[] = {
        {{}, {"Версия файла неверная или отсутвует."}, {"Неизвестная версия файла конфигурации."}, true},
        {{2, 1, 5},
         {},
         {"Файл создан при помощи старой версии конфигуратора (1.5). Для редактирования используйте закладку "
          "\"Управление каналами\"."},
         false},
        {{2, 2, 0},
         {},
         {"Файл создан при помощи старой версии конфигуратора (2.0). Для редактирования используйте закладку "
          "\"Управление каналами\"."},
         false},
        {{2, 2, 1}, {}, {}, true},
    };
    int n = 0;
    for (const Case& k : cases) {
        std::string f = dir.File("v" + IntToStr(n++) + ".cdb");
        ASSERT_TRUE(PutRawRecord(f, kTableParamValue, {0, 1, 1}, {0, 0}));
        if (!k.version.empty()) {
            ASSERT_TRUE(PutRawRecord(f, kTableDBInfo, {1}, k.version));
        }
        configmanager c;
        ASSERT_TRUE(c.LoadDatabase(f));
        TStringList lines;
        c.CheckDbVersion(&lines);
        EXPECT_EQ(Lines(lines), k.db);
        c.CheckFileVersions(&lines);
        EXPECT_EQ(Lines(lines), k.files);
        EXPECT_EQ(c.HasExtendedFormat(), k.extended);
    }
}

TEST_F(Db, OutdatedSubprogramLine) {
    configmanager c;
    T_Action* a = c.CreateSubprogram("M230_prepareQuery");
    a->Caption = "Опрос";
    a->Version = 0x0102;
    a->FilePath = dir.File("M230_prepareQuery.act");
    T_Action* same = c.CreateSubprogram("same");
    same->FilePath = a->FilePath;
    same->Version = 0x0200;
    std::string ini =
        "[M230_prepareQuery]\r\nversion_l=3\r\nversion_h=1\r\n[same]\r\nversion_l=0\r\nversion_h=2\r\n";
    WriteBytes(dir.File("version.ini"), std::vector<uint8_t>(ini.begin(), ini.end()));
    TStringList lines;
    c.CheckFileVersions(&lines);
    EXPECT_EQ(Lines(lines),
              (std::vector<std::string>{
                  "Подпрограмма \"Опрос\" (M230_prepareQuery - вер.1.2)  устарела - новая версия 1.3"}));
}

// The old load gave a device command without a record its constructor's flag back, so a command the
// user had switched off came back on after every save and load.
TEST_F(Db, SwitchedOffCommandStaysOff) {
    {
        configmanager c;
        TObjectItem* m = c.AddObject(38);
        m->CommandAt(0)->Execute = 0;
        ASSERT_TRUE(c.SaveDatabase(file));
    }
    configmanager loaded;
    ASSERT_TRUE(loaded.LoadDatabase(file));
    auto* m = static_cast<TObjectItem*>(loaded.Objects.Oldest);
    EXPECT_EQ(m->CommandAt(0)->Execute, 0);
    EXPECT_EQ(m->CommandAt(1)->Execute, 1);
    // Files of older formats did not promise that: the constructor's flag stays.
    ASSERT_TRUE(PutRawRecord(file, kTableDBInfo, {1}, {2, 2, 0}));
    configmanager old;
    ASSERT_TRUE(old.LoadDatabase(file));
    EXPECT_EQ(static_cast<TObjectItem*>(old.Objects.Oldest)->CommandAt(0)->Execute, 1);
}

// A device whose class this build lacks keeps its tag, commands and channels through a round trip.
TEST_F(Db, UnknownDeviceLoadsAsUserObject) {
    {
        configmanager c;
        TObjectItem* m = c.AddObject(38);
        TParamItem* p = c.NewChannel(2, 1);
        p->Owner = m;
        p->SetBitWidth(8);
        ASSERT_TRUE(c.SaveDatabase(file));
    }
    UnregisterTestDevice();
    configmanager c;
    ASSERT_TRUE(c.LoadDatabase(file));
    auto* u = dynamic_cast<TUserObjItem*>(static_cast<TObjectItem*>(c.Objects.Oldest));
    ASSERT_TRUE(u);
    EXPECT_EQ(u->Tag, "MER230");
    EXPECT_EQ(u->Number, 1000);
    EXPECT_EQ(u->CommandCount(), 2);
    EXPECT_EQ(c.Channels.Count, 11u);
    std::string second = dir.File("second.cdb");
    ASSERT_TRUE(c.SaveDatabase(second));
    EXPECT_EQ(DumpAll(file), DumpAll(second));
}

// Saving deleted the old file first; any failure afterwards lost the user's configuration.
TEST_F(Db, FailedSaveKeepsTheOldFile) {
    configmanager c;
    c.AddObject(38);
    ASSERT_TRUE(c.SaveDatabase(file));
    std::vector<uint8_t> before = ReadBytes(file);
    c.AddObject(38);
    // Each step of the replacement up to the rename fails in turn.
    for (int failAt = 1;; ++failAt) {
        testsupport::FailingFileSystem fs(failAt);
        const bool saved = c.SaveDatabase(file);
        if (fs.Steps <= failAt) // the rename was the last step failed
            break;
        EXPECT_FALSE(saved) << failAt;
        EXPECT_FALSE(c.LastError.empty());
        EXPECT_EQ(ReadBytes(file), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
            << "a temporary is left";
    }
    EXPECT_TRUE(c.SaveDatabase(file));
    EXPECT_NE(ReadBytes(file), before);
}

// A read-only file is refused, not replaced; a writable one keeps its permission bits.
TEST_F(Db, ReadOnlyFileIsRefusedAndModeKept) {
    namespace fs = std::filesystem;
    configmanager c;
    ASSERT_TRUE(c.SaveDatabase(file));
    std::vector<uint8_t> before = ReadBytes(file);
    c.AddObject(38);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(c.SaveDatabase(file));
    EXPECT_NE(c.LastError.find(file), std::string::npos) << c.LastError;
    EXPECT_EQ(ReadBytes(file), before);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    EXPECT_NE(ReadBytes(file), before);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// One-byte keys: instruction 256 overwrote instruction 1's record, command 256 command 1's.
TEST_F(Db, KeysThatDoNotFitAreRefusedByName) {
    configmanager c;
    ASSERT_TRUE(c.SaveDatabase(file));
    std::vector<uint8_t> before = ReadBytes(file);
    {
        T_Action* a = c.CreateSubprogram("long");
        a->Instructions.resize(256, TActionLine{0, opRet, {}});
        EXPECT_FALSE(c.SaveDatabase(file));
        EXPECT_NE(c.LastError.find("long"), std::string::npos) << c.LastError;
        EXPECT_EQ(ReadBytes(file), before);
        c.DeleteSubprogram(a);
    }
    auto* u = static_cast<TUserObjItem*>(c.AddObject(1));
    for (int i = 0; i < 256; ++i)
        u->AddCommand();
    EXPECT_FALSE(c.SaveDatabase(file));
    EXPECT_NE(c.LastError.find("ID-10000"), std::string::npos) << c.LastError;
    EXPECT_EQ(ReadBytes(file), before);
}

// A file that is no configuration used to come up as an empty configuration that the next save wrote
// over the user's file.
TEST_F(Db, FailedLoadIsReported) {
    configmanager missing;
    EXPECT_FALSE(missing.LoadDatabase(dir.File("none.cdb")));
    WriteBytes(file, std::vector<uint8_t>(100, 'x'));
    configmanager junk;
    EXPECT_FALSE(junk.LoadDatabase(file));
    EXPECT_FALSE(junk.LastError.empty());
    EXPECT_EQ(ReadBytes(file), std::vector<uint8_t>(100, 'x'));
}

extern "C" int CountLorBox(const char*, const char*, unsigned) {
    gMessages.push_back("lorbase");
    return IDOK;
}

// A file still marked in use (a crash, another writer) is read without writing; tables it lacks
// are empty without a message box each.
TEST_F(Db, FileInUseIsReadReadOnly) {
    {
        configmanager c;
        c.AddObject(38);
        ASSERT_TRUE(c.SaveDatabase(file));
    }
    std::vector<uint8_t> bytes = ReadBytes(file);
    bytes[1] = 1;
    WriteBytes(file, bytes);
    TMessageBoxHandler old = LorSetMessageBoxHandler(CountLorBox);
    configmanager c;
    EXPECT_TRUE(c.LoadDatabase(file)) << c.LastError;
    EXPECT_TRUE(c.OpenedReadOnly);
    EXPECT_EQ(c.Objects.Count, 1u);
    EXPECT_EQ(ReadBytes(file), bytes);

    // A file with only some of the tables.
    std::string partial = dir.File("partial.cdb");
    ASSERT_TRUE(PutRawRecord(partial, kTableDBInfo, {1}, {2, 2, 1}));
    std::vector<uint8_t> p = ReadBytes(partial);
    p[1] = 1;
    WriteBytes(partial, p);
    configmanager d;
    EXPECT_TRUE(d.LoadDatabase(partial));
    EXPECT_EQ(d.Channels.Count, 10u);
    LorSetMessageBoxHandler(old);
    EXPECT_TRUE(gMessages.empty());
}

} // namespace

namespace {

// A configuration named in Russian, in a Russian-named folder: on disk under the UTF-8 forms of the
// names; a copy another program made under a UTF-8 name opens too.
TEST_F(Db, CyrillicFileNameInACyrillicFolder) {
    const std::string folder = dir.Path() + "/Конфигурации";
    ASSERT_TRUE(ForceDirectories(folder));
    const std::string path = folder + "/Подстанция-1.lor";
    configmanager c;
    ASSERT_NE(c.AddObject(1), nullptr);
    ASSERT_TRUE(c.SaveDatabase(path)) << c.LastError;

    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(dir.Path())))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{reinterpret_cast<const char*>(u8"Конфигурации")});
    names.clear();
    for (const auto& e : std::filesystem::directory_iterator(NativePath(folder)))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{reinterpret_cast<const char*>(u8"Подстанция-1.lor")});

    configmanager d;
    ASSERT_TRUE(d.LoadDatabase(path)) << d.LastError;
    EXPECT_TRUE(d.LoadProblems.empty());
    EXPECT_FALSE(d.OpenedReadOnly);
    EXPECT_EQ(d.Objects.Count, 1u);

    std::filesystem::copy_file(NativePath(path), std::filesystem::path(NativePath(folder)) /
                                                     std::filesystem::path(u8"Копия.lor"));
    configmanager e;
    ASSERT_TRUE(e.LoadDatabase(folder + "/Копия.lor")) << e.LastError;
    EXPECT_EQ(e.Objects.Count, 1u);
}

} // namespace

// The bytes of a saved file, pinned: the cache and the tree must not change what reaches the disk.
// Channels are made in address order or in a scrambled order (inserts all over the trees), with
// objects, commands, subprograms, handlers and RAM depths in proportion.
namespace {

struct GoldenCase {
    const char* name;
    int channels;
    bool scrambled;
    uintmax_t size;
    uint64_t hash; // FNV-1a over the whole file
};

void PrintTo(const GoldenCase& g, std::ostream* os) { *os << g.name; }

class SavedBytes : public Db, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(SavedBytes, StayTheSame) {
    const GoldenCase& g = GetParam();
    configmanager c;
    for (int i = 0; i < g.channels / 100; ++i) {
        auto* u = static_cast<TUserObjItem*>(c.AddObject(kUserObjectCode));
        for (int k = 0; k < 1 + i % 20; ++k)
            u->AddCommand()->Period = static_cast<uint8_t>(i + k);
    }
    for (int s = 0; s < g.channels / 250 + 1; ++s) {
        T_Action* a = c.CreateSubprogram("sub" + std::to_string(s));
        for (int v = 0; v < s % 7; ++v)
            a->Variables.Add("v" + std::to_string(v));
        for (int k = 0; k < 1 + s % 90; ++k)
            a->Instructions.push_back(TActionLine{0, opPush, {uint8_t(k), uint8_t(s), 0, 0, 8}});
    }
    for (int i = 0; i < g.channels; ++i) {
        // A step prime to the count visits every number once, far from its neighbours.
        const int n = g.scrambled ? static_cast<int>((i * 7919LL) % g.channels) : i;
        TParamItem* p = c.NewChannel(static_cast<uint16_t>(100 + n / 250), static_cast<uint8_t>(1 + n % 250));
        p->SetBitWidth(static_cast<uint16_t>(1 + n % 40));
        for (int b = 0; b < p->ValueBytes(); ++b)
            p->Value[b] = static_cast<uint8_t>(n * 13 + b);
        if (n % 5 == 0)
            p->SetRamDepth(static_cast<uint8_t>(1 + n % 3));
        if (n % 3 == 0)
            p->WriteHandler = static_cast<uint16_t>(1 + n % 17);
        if (n % 4 == 0)
            p->ChangeHandler = static_cast<uint16_t>(1 + n % 11);
    }
    ASSERT_TRUE(c.SaveDatabase(file)) << c.LastError;
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t b : ReadBytes(file))
        hash = (hash ^ b) * 0x100000001B3ull;
    EXPECT_EQ(std::filesystem::file_size(file), g.size);
    EXPECT_EQ(hash, g.hash) << std::hex << "0x" << hash;
}

const GoldenCase kGolden[] = {
    {"New", 0, false, 3086, 0x5dc96e06f59846b1},
    {"InOrder3k", 3000, false, 124942, 0x09fc80c208a08322},
    {"Scrambled3k", 3000, true, 151054, 0xdd9f3ca76fb2ff79},
    {"InOrder40k", 40000, false, 1682446, 0xd2a13cbcbb59d4a1},
    {"Scrambled20k", 20000, true, 1019918, 0x26463e45f5218a95},
};

INSTANTIATE_TEST_SUITE_P(Golden, SavedBytes, ::testing::ValuesIn(kGolden),
                         [](const ::testing::TestParamInfo<GoldenCase>& i) { return i.param.name; });

} // namespace
