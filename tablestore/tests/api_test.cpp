// Tests of the C interface: handles, sharing of one file, record buffers, limits, read-only
// refusals, the OpenTable message box, MetaTable and several threads on one base.
#include "lortest.h"
#include "msgbox.h"

#include <atomic>
#include <functional>

#include <sys/wait.h>
#include <thread>

using namespace lortest;

namespace {

std::vector<std::string> g_boxes;

int RecordBox(const char* text, const char* caption, unsigned flags) {
    g_boxes.push_back(std::string(text) + "|" + caption + "|" + std::to_string(flags));
    return 1;
}

} // namespace

TEST(LorApi, HandlesAreCheckedAndNeverReused) {
    TempDir dir;
    std::string path = dir / "h.lor";
    LORHANDLE b = OpenBase(path.c_str(), 1024, 0);
    ASSERT_GT(b, 32u);
    LORHANDLE t = OpenTable(b, "T");
    ASSERT_GT(t, 32u);
    EXPECT_NE(t, b);
    EXPECT_EQ(CloseTable(t), 1);
    // Closed, never issued and status values: all refused without harm.
    for (LORHANDLE h :
         {t, LORHANDLE(0), LORHANDLE(9), LORHANDLE(18), LORHANDLE(b + 1000), LORHANDLE(0xFFFFFFF0u)}) {
        EXPECT_EQ(CloseTable(h), 0) << h;
        EXPECT_EQ(CountRec(h), 0u) << h;
        EXPECT_EQ(NameOfTable(h), nullptr) << h;
        EXPECT_FALSE(Call(SaveRec, h, "k", nullptr, "d")) << h;
    }
    LORHANDLE t2 = OpenTable(b, "T");
    EXPECT_NE(t2, t);
    CloseBase(b);
    EXPECT_EQ(CountRec(t2), 0u); // closing the base closed its tables
    EXPECT_EQ(PageSize(b), 0u);
    EXPECT_EQ(LorOpenBaseCount(), 0);
}

TEST(LorApi, SameFileGivesOneCountedHandle) {
    TempDir dir;
    std::string path = dir / "same.lor";
    std::string link = dir / "other-name.lor";
    LORHANDLE a = OpenBase(path.c_str(), 1024, 0);
    ASSERT_GT(a, 32u);
    std::filesystem::create_symlink(path, link);
    LORHANDLE b = OpenBase(link.c_str(), 512, 1); // page size and read-only flag ignored
    EXPECT_EQ(a, b);
    EXPECT_EQ(PageSize(b), 1024u);
    CloseBase(a);
    LORHANDLE t = OpenTable(b, "still-open");
    EXPECT_GT(t, 32u);
    CloseBase(b);
    EXPECT_EQ(PageSize(a), 0u);
    CloseBase(LOR_NOT_WRITABLE); // status values come back harmlessly
    CloseBase(LOR_IN_USE);
}

TEST(LorApi, AnOpenFileIsNeitherRecreatedNorRestored) {
    // Truncating or moving a file that a base of this process is working on would pull its pages
    // from under it: both calls leave such a file alone.
    TempDir dir;
    std::string path = dir / "busy.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "T");
    ASSERT_TRUE(Call(SaveRec, t, "k", nullptr, "v"));
    FlushBase(b);
    auto before = ReadAll(path);
    EXPECT_EQ(CreateBase(path.c_str(), 1024), 0);
    EXPECT_EQ(RestoreBase(path.c_str()), int(LOR_IN_USE));
    EXPECT_FALSE(std::filesystem::exists(dir / "$usy.lor"));
    EXPECT_EQ(ReadAll(path), before);
    Answer a;
    EXPECT_TRUE(Call(SeekRec, t, "k", &a));
    CloseBase(b);
    EXPECT_EQ(CreateBase(path.c_str(), 1024), 1); // closed: an ordinary file again
}

TEST(LorApi, OpenBaseRefusals) {
    TempDir dir;
    std::string ro = dir / "readonly.lor";
    ASSERT_EQ(CreateBase(ro.c_str(), 512), 1);
    std::filesystem::permissions(ro, std::filesystem::perms::owner_read);
    bool rootUser = ::geteuid() == 0;
    std::string junk = dir / "junk.lor";
    WriteAll(junk, std::vector<uint8_t>(600, 0x11));
    std::string shortFile = dir / "short.lor";
    WriteAll(shortFile, {0x56, 0, 0, 2});
    struct Case {
        std::string path;
        int readOnly;
        LORHANDLE result; // 1 stands for "a handle"
    } cases[] = {
        {dir / "missing.lor", 1, LOR_NOT_WRITABLE},
        {ro, 0, rootUser ? 1u : LORHANDLE(LOR_NOT_WRITABLE)},
        {ro, 1, 1},
        {junk, 0, 0},
        {shortFile, 0, 0},
        {dir / "", 0, 0}, // a directory
        {dir / "created.lor", 0, 1},
    };
    for (const Case& c : cases) {
        LORHANDLE h = OpenBase(c.path.c_str(), 512, c.readOnly);
        if (c.result == 1) {
            EXPECT_GT(h, 32u) << c.path;
        } else {
            EXPECT_EQ(h, c.result) << c.path;
        }
        CloseBase(h);
    }
    // Files that could not be opened were left exactly as they were.
    EXPECT_EQ(ReadAll(junk), std::vector<uint8_t>(600, 0x11));
    EXPECT_EQ(ReadAll(shortFile), (std::vector<uint8_t>{0x56, 0, 0, 2}));
}

TEST(LorApi, RecordBufferAndLimits) {
    TempDir dir;
    std::string path = dir / "rec.lor";
    LORHANDLE b = OpenBase(path.c_str(), 1024, 0);
    LORHANDLE t = OpenTable(b, "R");
    // A saved record comes back at the start of the block, without the maximums.
    auto blk = Rec("key", "data");
    ASSERT_EQ(SaveRec(t, blk.data()), 1);
    EXPECT_EQ(Ans(blk).key, "key");
    EXPECT_EQ(Ans(blk).data, "data");
    EXPECT_EQ(CountRec(t), 1u);
    ASSERT_TRUE(Call(SaveRec, t, "key", nullptr, "longer data"));
    EXPECT_EQ(CountRec(t), 1u); // replaced
    struct Case {
        std::string key, data;
        int result;
        uint32_t status;
    } cases[] = {
        {"", "x", 0, LOR_EMPTY_KEY},
        {std::string(513, 'k'), "x", 0, LOR_EMPTY_KEY},
        {"k", std::string(1025, 'd'), 0, LOR_TOO_LONG},
        {std::string(512, 'k'), std::string(1024 - 512 - 6 + 1, 'd'), 0,
         LOR_TOO_LONG}, // 6 + k + d = page - 17 + 1
        {std::string(500, 'k'), std::string(1024 - 17 - 6 - 500, 'd'), 1, LOR_OK}, // exactly page - 17
    };
    for (const Case& c : cases) {
        auto r = Rec(c.key, c.data);
        EXPECT_EQ(SaveRec(t, r.data()), c.result) << c.key.size() << "/" << c.data.size();
        EXPECT_EQ(LorTableStatus(t), c.status) << c.key.size() << "/" << c.data.size();
    }
    // A maximum smaller than the record: not returned, nothing written back.
    auto small = Rec("key", "", 512, 3);
    auto before = small;
    EXPECT_EQ(SeekRec(t, small.data()), 0);
    EXPECT_EQ(small, before);
    auto fromStart = Rec("a", "", 512, 3);
    EXPECT_EQ(NextRec(t, fromStart.data()), 0);
    // A delete hands the record back; one the block cannot take stays stored.
    auto del = Rec("key", "", 512, 3);
    EXPECT_EQ(DelRec(t, del.data()), 0);
    EXPECT_TRUE(Call(SeekRec, t, "key"));
    CloseBase(b);
}

TEST(LorApi, NavigationEdges) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "nav.lor").c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "N");
    Answer a;
    EXPECT_FALSE(Call(FirstRec, t, "x", &a)); // empty table
    EXPECT_FALSE(Call(Top, t, "x", &a));
    for (std::string k : {std::string(1, '\0'), std::string("\x01"), std::string("\xFF\x01"),
                          std::string("b"), std::string("d")})
        ASSERT_TRUE(Call(SaveRec, t, k, nullptr, "v" + k));
    ASSERT_TRUE(Call(FirstRec, t, "x", &a));
    EXPECT_EQ(a.key, "\x01");
    ASSERT_TRUE(Call(LastRec, t, "x", &a));
    EXPECT_EQ(a.key, "d");
    ASSERT_TRUE(Call(Top, t, "x", &a));
    EXPECT_EQ(a.key, std::string(1, '\0'));
    ASSERT_TRUE(Call(Bottom, t, "x", &a));
    EXPECT_EQ(a.key, "\xFF");
    struct Step {
        int (*fn)(LORHANDLE, void*);
        std::string from;
        bool found;
        std::string key;
    } steps[] = {
        {NextRec, "c", true, "d"},
        {NextRec, "b", true, "d"},
        {NextRec, "\xFF\x01", false, ""},
        {PrevRec, "c", true, "b"},
        {PrevRec, "\x01", true, std::string(1, '\0')},
        {PrevRec, std::string(1, '\0'), false, ""},
        {SeekRec, "c", false, ""},
        {SeekRec, "d", true, "d"},
    };
    for (const Step& s : steps) {
        Answer got;
        EXPECT_EQ(Call(s.fn, t, s.from, &got), s.found) << s.from;
        if (s.found) {
            EXPECT_EQ(got.key, s.key) << s.from;
        }
    }
    CloseBase(b);
}

TEST(LorApi, ReadOnlyBaseRefusesEveryWrite) {
    TempDir dir;
    std::string path = dir / "ro.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "T");
    ASSERT_TRUE(Call(SaveRec, t, "k", nullptr, "v"));
    LORHANDLE blob = OpenTable(b, "B");
    ASSERT_EQ(SaveBin(blob, "xyz", 3), 1);
    CloseBase(b);
    auto before = ReadAll(path);

    b = OpenBase(path.c_str(), 512, 1);
    t = OpenTable(b, "T");
    blob = OpenTable(b, "B");
    ASSERT_GT(t, 32u);
    struct Case {
        const char* what;
        std::function<int()> call;
        uint32_t status;
    } cases[] = {
        {"SaveRec", [&] { return int(Call(SaveRec, t, "k2", nullptr, "v")); }, LOR_IN_USE},
        {"DelRec", [&] { return int(Call(DelRec, t, "k")); }, LOR_IN_USE},
        {"ZapTable", [&] { return ZapTable(t); }, LOR_IN_USE},
        {"RenTable", [&] { return RenTable(b, "B", "C"); }, LOR_IN_USE},
        {"SaveBin", [&] { return SaveBin(blob, "abc", 3); }, LOR_IN_USE},
        {"DelBin", [&] { return DelBin(blob); }, LOR_IN_USE},
        {"DelTable", [&] { return DelTable(b, "T"); }, LOR_READ_ONLY},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), 0) << c.what;
        EXPECT_EQ(LorBaseStatus(b), c.status) << c.what;
    }
    Answer a;
    EXPECT_TRUE(Call(SeekRec, t, "k", &a));
    EXPECT_EQ(CountRec(t), 1u);
    CloseBase(b);
    EXPECT_EQ(ReadAll(path), before);
}

TEST(LorApi, OpenTableFailureShowsMessageBox) {
    TempDir dir;
    std::string path = dir / "box.lor";
    ASSERT_EQ(CreateBase(path.c_str(), 512), 1);
    g_boxes.clear();
    TMessageBoxHandler old = LorSetMessageBoxHandler(&RecordBox);
    LORHANDLE b = OpenBase(path.c_str(), 512, 1);
    EXPECT_EQ(OpenTable(b, "Missing"), 0u);
    EXPECT_EQ(LorBaseStatus(b), uint32_t(LOR_READ_ONLY));
    LorSetMessageBoxHandler(old);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0],
              std::string("Не могу открыть таблицу") + "|Missing|" + std::to_string(MB_ICONERROR));
    CloseBase(b);
    b = OpenBase(path.c_str(), 512, 0);
    EXPECT_GT(OpenTable(b, "Missing"), 32u); // a writable base creates it
    EXPECT_EQ(IsTable(b, "Missing"), 1);
    CloseBase(b);
}

TEST(LorApi, TablesDirectoryAndRename) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "dir.lor").c_str(), 512, 0);
    char info[256] = "unchanged";
    InfoBase(b, info);
    EXPECT_STREQ(info, "");
    LORHANDLE x = OpenTable(b, "X");
    EXPECT_NE(OpenTable(b, "Y"), 0u);
    LORHANDLE z = OpenTable(b, "Z");
    CloseTable(z);
    InfoBase(b, info);
    EXPECT_STREQ(info, "X\nY\nZ\n");
    struct Case {
        const char* from;
        const char* to;
        int result;
        uint32_t status;
    } cases[] = {
        {"W", "V", 0, LOR_NO_TABLE},
        {"X", "V", 0, LOR_RENAME_OLD_OPEN},
        {"Z", "Y", 0, LOR_RENAME_NEW_OPEN},
        {"Z", "Z", 1, LOR_OK},
        {"Z", "V", 1, LOR_OK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenTable(b, c.from, c.to), c.result) << c.from << c.to;
        EXPECT_EQ(LorBaseStatus(b), c.status) << c.from << c.to;
    }
    InfoBase(b, info);
    EXPECT_STREQ(info, "V\nX\nY\n");
    EXPECT_EQ(DelTable(b, "X"), 0);
    EXPECT_EQ(LorBaseStatus(b), uint32_t(LOR_TABLE_OPEN));
    CloseTable(x);
    EXPECT_EQ(DelTable(b, "X"), 1);
    EXPECT_EQ(DelTable(b, "X"), 0);
    EXPECT_EQ(LorBaseStatus(b), uint32_t(LOR_NO_TABLE));
    EXPECT_EQ(MetaTable(0), MetaTable(b));
    CloseBase(b);
    EXPECT_EQ(MetaTable(0), 0u); // the closed base is forgotten
}

TEST(LorApi, SeveralThreadsOnOneBase) {
    TempDir dir;
    std::string path = dir / "threads.lor";
    LORHANDLE b = OpenBase(path.c_str(), 1024, 0);
    LORHANDLE shared = OpenTable(b, "shared");
    constexpr int kThreads = 6, kRecords = 400;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int n = 0; n < kThreads; ++n) {
        threads.emplace_back([&, n] {
            std::string own = "own" + std::to_string(n);
            LORHANDLE t = OpenTable(b, own.c_str());
            for (int i = 0; i < kRecords; ++i) {
                std::string key = std::to_string(n) + ":" + std::to_string(i);
                if (!Call(SaveRec, shared, key, nullptr, key) || !Call(SaveRec, t, key, nullptr, "x"))
                    ++failures;
                Answer a;
                if (!Call(SeekRec, shared, key, &a) || a.data != key)
                    ++failures;
                if (i % 3 == 0 && !Call(DelRec, t, key))
                    ++failures;
                if (i % 50 == 0)
                    FlushBase(b);
            }
            CloseTable(t);
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(CountRec(shared), uint32_t(kThreads * kRecords));
    EXPECT_EQ(LorVerifyTable(shared, nullptr), 0u);
    CloseBase(b);
    b = OpenBase(path.c_str(), 1024, 1);
    for (int n = 0; n < kThreads; ++n) {
        LORHANDLE t = OpenTable(b, ("own" + std::to_string(n)).c_str());
        EXPECT_EQ(CountRec(t), uint32_t(kRecords - (kRecords + 2) / 3));
    }
    CloseBase(b);
}

TEST(LorApi, ProcessExitClosesOpenBases) {
    TempDir dir;
    std::string path = dir / "exit.lor";
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LORHANDLE b = OpenBase(path.c_str(), 512, 0);
        LORHANDLE t = OpenTable(b, "T");
        bool ok = IsBaseHandle(b) && Call(SaveRec, t, "left", nullptr, "open");
        std::exit(ok ? 0 : 1); // no CloseBase: the library closes it on the way out
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(path)[1], 0); // closed cleanly
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    ASSERT_GT(b, 32u);
    Answer a;
    EXPECT_TRUE(Call(SeekRec, OpenTable(b, "T"), "left", &a));
    EXPECT_EQ(a.data, "open");
    CloseBase(b);
}

// What a writer would find, without writing: a base closed cleanly, one in use, no base at all; a
// reading open reports whether a writer could open the file and leaves it byte for byte.
TEST(LorApi, FileStateAndOpeningForReading) {
    TempDir dir;
    const std::string path = dir / "state.lor";
    EXPECT_EQ(BaseFileState(path.c_str()), int(LOR_CANNOT_OPEN));
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    ASSERT_GT(b, 32u);
    EXPECT_EQ(BaseFileState(path.c_str()), int(LOR_IN_USE));
    CloseBase(b);
    EXPECT_EQ(BaseFileState(path.c_str()), int(LOR_OK));
    const std::vector<uint8_t> bytes = ReadAll(path);
    int mayWrite = -1;
    b = OpenBaseForReading(path.c_str(), 512, &mayWrite);
    ASSERT_GT(b, 32u);
    EXPECT_EQ(mayWrite, 1);
    EXPECT_FALSE(Call(SaveRec, OpenTable(b, "T"), "k", nullptr, "v"));
    EXPECT_NE(LastStatus(b), LOR_OK);
    CloseBase(b);
    EXPECT_EQ(ReadAll(path), bytes);
    std::vector<uint8_t> used = bytes;
    used[1] = 1; // left in use by a writer that did not close
    WriteAll(path, used);
    b = OpenBaseForReading(path.c_str(), 512, &mayWrite);
    EXPECT_GT(b, 32u);
    EXPECT_EQ(mayWrite, 0);
    CloseBase(b);
    WriteAll(path, {'X', 0});
    EXPECT_EQ(BaseFileState(path.c_str()), int(LOR_CANNOT_OPEN)); // shorter than a header
    EXPECT_EQ(BaseFileState(dir.operator/("").c_str()), int(LOR_NOT_REGULAR));
}
