// Write failures: the Nth page or header write fails; the base then refuses work with status 19,
// every call returns, and the file keeps its in-use mark.
#include "lorfile.h"
#include "lortest.h"

using namespace lortest;

namespace {

int Silent(const char*, const char*, unsigned) { return 1; }

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
        bool refused = b <= 32;
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
        if (ro > 32) {
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
