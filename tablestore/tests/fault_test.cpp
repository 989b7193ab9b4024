// Write failures: the Nth page or header write fails; the base then refuses work with status 19,
// every call returns, and the file keeps its in-use mark.
#include "lorfile.h"
#include "lortest.h"

#include <set>

using namespace lortest;

namespace {

int g_failAt = -1; // write number that fails, -1 for none
int g_writes = 0;

class FailingFile : public lor::File {
public:
    explicit FailingFile(std::unique_ptr<lor::File> f) : f_(std::move(f)) {}
    int64_t Read(uint64_t off, void* buf, uint32_t n) override { return f_->Read(off, buf, n); }
    bool Write(uint64_t off, const void* buf, uint32_t n) override {
        if (g_writes++ == g_failAt)
            return false;
        return f_->Write(off, buf, n);
    }
    int64_t Size() override { return f_->Size(); }
    bool Sync() override { return f_->Sync(); }
    bool Close() override { return f_->Close(); }

private:
    std::unique_ptr<lor::File> f_;
};

std::unique_ptr<lor::File> OpenFailing(const std::string& path, lor::OpenMode mode) {
    auto f = lor::OpenOsFile(path, mode);
    return f ? std::make_unique<FailingFile>(std::move(f)) : nullptr;
}

} // namespace

TEST(LOR_SUITE(LorFault), FailingTheNthWrite) {
    TempDir dir;
    std::string path = dir / "fault.lor";
    // Count the writes of a clean run first, then fail each of them in turn.
    auto run = [&](int failAt) {
        std::filesystem::remove(path);
        g_failAt = failAt;
        g_writes = 0;
        lor::FileOpener old = lor::SetFileOpener(&OpenFailing);
        LORHANDLE b = OpenBase(path.c_str(), 512, 0);
        bool refused = !IsBaseHandle(b);
        if (!refused) {
            LORHANDLE t = OpenTable(b, "t");
            for (int i = 0; i < 400 && t; ++i) {
                if (!Call(SaveRec, t, "k" + std::to_string(i), nullptr, std::string(30, 'x'))) {
                    EXPECT_EQ(LorTableStatus(t), uint32_t(LOR_IO_ERROR)) << failAt;
                    // Once a write failed, nothing more is taken.
                    EXPECT_FALSE(Call(SaveRec, t, "later", nullptr, "x"));
                    EXPECT_FALSE(Call(SeekRec, t, "k0"));
                    break;
                }
            }
            FlushBase(b);
            CloseBase(b);
        }
        lor::SetFileOpener(old);
        int writes = g_writes;
        g_failAt = -1;
        return writes;
    };
    TMessageBoxHandler oldBox = LorSetMessageBoxHandler(&Silent);
    int total = run(-1);
    ASSERT_GT(total, 10);
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    EXPECT_EQ(CountRec(OpenTable(b, "t")), 400u);
    CloseBase(b);
    for (int n = 1; n < total; ++n) {
        run(n);
        auto f = ReadAll(path);
        if (n >= 3 && f.size() > 1) { // writes 0-2 make the file and mark it in use
            EXPECT_EQ(f[1], 1) << n;
        }
        LORHANDLE ro = OpenBase(path.c_str(), 512, 1);
        if (IsBaseHandle(ro)) {
            LORHANDLE t = OpenTable(ro, "t");
            Answer a;
            int steps = 0;
            for (bool ok = Call(FirstRec, t, "", &a); ok && steps < 1000; ok = Call(NextRec, t, a.key, &a))
                ++steps;
            CloseBase(ro);
        }
    }
    LorSetMessageBoxHandler(oldBox);
    EXPECT_EQ(LorOpenBaseCount(), 0);
}

// Three tables written in step, as a save writes its channel tables, evict each other's pages
// through the grown cache, and another base opening and closing tables shrinks it under them, writing
// their dirty pages back. Failing each write in turn: every call returns, and whatever the file then
// holds reads in order with the data that was saved.
TEST(LOR_SUITE(LorFault), FailingTheNthWriteWithTablesInStep) {
    TempDir dir;
    std::string path = dir / "step.lor", otherPath = dir / "other.lor";
    const char* names[] = {"value", "info", "infoex"};
    auto dataOf = [](int table, int i) { return std::string(20 + (i + table) % 15, char('a' + table)); };
    int evicted = 0; // writes before the close: pages the cache wrote back on its own
    auto run = [&](int failAt) {
        std::filesystem::remove(path);
        std::filesystem::remove(otherPath);
        g_failAt = failAt;
        g_writes = 0;
        lor::FileOpener old = lor::SetFileOpener(&OpenFailing);
        LORHANDLE b = OpenBase(path.c_str(), 512, 0);
        lor::SetFileOpener(old);
        LORHANDLE other = OpenBase(otherPath.c_str(), 512, 0);
        if (IsBaseHandle(b)) {
            LORHANDLE t[3];
            for (int k = 0; k < 3; ++k)
                t[k] = OpenTable(b, names[k]);
            bool failed = false;
            for (int i = 0; i < 500 && !failed; ++i) {
                for (int k = 0; k < 3 && !failed; ++k)
                    failed = !Call(SaveRec, t[k], std::to_string(100000 + i), nullptr, dataOf(k, i));
                if (i % 40 == 0)
                    CloseTable(OpenTable(other, ("t" + std::to_string(i)).c_str()));
            }
            if (failed) {
                EXPECT_EQ(LorBaseStatus(b), uint32_t(LOR_IO_ERROR)) << failAt;
            }
            evicted = g_writes;
            CloseBase(b);
        }
        CloseBase(other);
        int writes = g_writes;
        g_failAt = -1;
        return writes;
    };
    auto check = [&](int failAt, bool complete) {
        LORHANDLE ro = OpenBase(path.c_str(), 512, 1);
        if (!IsBaseHandle(ro)) {
            EXPECT_FALSE(complete);
            return;
        }
        for (int k = 0; k < 3; ++k) {
            if (!complete && !IsTable(ro, names[k]))
                continue;
            LORHANDLE t = OpenTable(ro, names[k]);
            Answer a;
            int n = 0;
            std::string last;
            for (bool ok = Call(FirstRec, t, "", &a); ok && n < 1000; ok = Call(NextRec, t, a.key, &a), ++n) {
                EXPECT_GT(a.key, last) << failAt;
                EXPECT_EQ(a.data, dataOf(k, std::stoi(a.key) - 100000)) << failAt;
                last = a.key;
            }
            if (complete) {
                EXPECT_EQ(n, 500);
                EXPECT_EQ(LorVerifyTable(t, nullptr), 0u);
            }
        }
        CloseBase(ro);
    };
    TMessageBoxHandler oldBox = LorSetMessageBoxHandler(&Silent);
    int total = run(-1);
    check(-1, true);
    ASSERT_GT(evicted, 20);
    for (int n = 1; n < total; ++n) {
        run(n);
        check(n, false);
    }
    LorSetMessageBoxHandler(oldBox);
    EXPECT_EQ(LorOpenBaseCount(), 0);
}

TEST(LOR_SUITE(LorFault), OneFailingFileLeavesTheOthersWorking) {
    TempDir dir;
    std::string pathA = dir / "a.lor", pathB = dir / "b.lor";
    TMessageBoxHandler oldBox = LorSetMessageBoxHandler(&Silent);
    // Only a's file object fails; both share the 10-slot cache of page size 512.
    lor::FileOpener old = lor::SetFileOpener(&OpenFailing);
    g_writes = 0;
    g_failAt = 40;
    LORHANDLE a = OpenBase(pathA.c_str(), 512, 0);
    lor::SetFileOpener(old);
    LORHANDLE b = OpenBase(pathB.c_str(), 512, 0);
    LORHANDLE ta = OpenTable(a, "t"), tb = OpenTable(b, "t");
    bool aFailed = false;
    for (int i = 0; i < 2000; ++i) {
        std::string k = std::to_string(i * 7 % 2000);
        if (!Call(SaveRec, ta, k, nullptr, std::string(40, 'a')))
            aFailed = true;
        ASSERT_TRUE(Call(SaveRec, tb, k, nullptr, std::string(40, 'b'))) << i;
    }
    EXPECT_TRUE(aFailed);
    EXPECT_FALSE(Call(SeekRec, ta, "0"));
    EXPECT_EQ(LorTableStatus(ta), uint32_t(LOR_IO_ERROR));
    EXPECT_EQ(LorVerifyTable(tb, nullptr), 0u);
    CloseBase(a);
    CloseBase(b);
    g_failAt = -1;
    b = OpenBase(pathB.c_str(), 512, 0);
    EXPECT_EQ(CountRec(OpenTable(b, "t")), 2000u);
    CloseBase(b);
    LorSetMessageBoxHandler(oldBox);
}

// A restore whose Nth write to the new file fails says so, whichever write it is, and leaves the old
// file whole under the "$" name; a new file that did not get all its pages keeps its in-use mark.
TEST(LOR_SUITE(LorFault), RestoreReportsAFailedWrite) {
    TempDir dir;
    const std::string path = dir / "restore.lor", backup = dir / "$estore.lor";
    TMessageBoxHandler oldBox = LorSetMessageBoxHandler(&Silent);
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    for (const char* name : {"alpha", "beta"}) {
        LORHANDLE t = OpenTable(b, name);
        for (int i = 0; i < 300; ++i)
            ASSERT_TRUE(Call(SaveRec, t, std::to_string(i * 7919 % 300), nullptr, std::string(30, name[0])));
    }
    const std::string blob(2000, 'z');
    ASSERT_EQ(SaveBin(OpenTable(b, "blob"), blob.data(), uint32_t(blob.size())), 1);
    CloseBase(b);
    const auto original = ReadAll(path);
    auto run = [&](int failAt) {
        WriteAll(path, original);
        std::filesystem::remove(backup);
        g_failAt = failAt;
        g_writes = 0;
        lor::FileOpener old = lor::SetFileOpener(&OpenFailing);
        const int status = RestoreBase(path.c_str());
        lor::SetFileOpener(old);
        g_failAt = -1;
        return status;
    };
    ASSERT_EQ(run(-1), 0);
    const int total = g_writes;
    ASSERT_GT(total, 20);
    b = OpenBase(path.c_str(), 512, 1);
    EXPECT_EQ(CountRec(OpenTable(b, "alpha")), 300u);
    EXPECT_EQ(CountRec(OpenTable(b, "beta")), 300u);
    EXPECT_EQ(CountRec(OpenTable(b, "blob")), uint32_t(blob.size()));
    CloseBase(b);
    // Making the file, opening it, a page write while filling it, the close.
    const std::set<int> expected = {LOR_NOT_WRITABLE, LOR_CANNOT_OPEN, LOR_IO_ERROR, LOR_CLOSE_HEADER};
    std::set<int> seen;
    for (int n = 0; n < total; ++n) {
        const int status = run(n);
        EXPECT_TRUE(expected.count(status)) << n << " status " << status;
        seen.insert(status);
        EXPECT_EQ(ReadAll(backup), original) << n;
        const auto f = ReadAll(path);
        if (n >= 3 && f.size() > 1) { // writes 0-2 make the file and mark it in use
            EXPECT_EQ(f[1], 1) << n;
        }
    }
    EXPECT_EQ(seen, expected); // a write failing while records go in is told as itself
    LorSetMessageBoxHandler(oldBox);
    EXPECT_EQ(LorOpenBaseCount(), 0);
}
