// Damaged files: cut, flipped and looped files must make calls fail with a status, never crash,
// hang or overrun. Also built under AddressSanitizer and UBSan.
#include "lortest.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <random>
#include <string_view>

using namespace lortest;

namespace {

int Silent(const char*, const char*, unsigned) { return 1; }

// A base with a deep record table, a small one and a blob, at page size 512.
std::vector<uint8_t> BuildSample(const std::string& path) {
    std::filesystem::remove(path);
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "deep");
    for (int i = 0; i < 600; ++i) {
        std::string k = "key" + std::to_string(i * 7919 % 1000);
        Call(SaveRec, t, k, nullptr, std::string(i % 50, char('a' + i % 26)));
    }
    LORHANDLE s = OpenTable(b, "small");
    Call(SaveRec, s, "one", nullptr, "1");
    LORHANDLE bl = OpenTable(b, "blob");
    std::string blob(1500, 'b');
    EXPECT_EQ(SaveBin(bl, blob.data(), uint32_t(blob.size())), 1);
    CloseBase(b);
    return ReadAll(path);
}

// Every export on whatever the file holds; all must return. Steps are bounded by the test.
void Workout(const std::string& path) {
    for (int readOnly : {1, 0}) {
        LORHANDLE b = OpenBase(path.c_str(), 512, readOnly);
        if (b <= 32) {
            CloseBase(b);
            continue;
        }
        std::vector<char> info(ReadAll(path).size() + 64, 0);
        InfoBase(b, info.data());
        EXPECT_TRUE(LastStatus(b) == LOR_OK || LastStatus(b) == LOR_DAMAGED) << LastStatus(b);
        std::vector<std::string> names = {"deep", "small", "blob"};
        for (const std::string& name : names) {
            LORHANDLE t = OpenTable(b, name.c_str());
            if (!t)
                continue;
            // Reads end at the table's end (status 0) or on damage (11); every walk ends, on keys in
            // order, within the records the sample has.
            auto readEnded = [&] {
                const uint32_t st = LastStatus(t);
                EXPECT_TRUE(st == LOR_OK || st == LOR_DAMAGED) << name << " status " << st;
            };
            Answer a;
            std::string last;
            int steps = 0;
            bool ok = Call(FirstRec, t, "", &a);
            for (; ok; ok = Call(NextRec, t, a.key, &a)) {
                EXPECT_TRUE(steps == 0 || last < a.key) << name;
                last = a.key;
                ASSERT_LE(++steps, 700) << name;
            }
            readEnded();
            steps = 0;
            for (ok = Call(LastRec, t, "", &a); ok; ok = Call(PrevRec, t, a.key, &a)) {
                EXPECT_TRUE(steps == 0 || a.key < last) << name;
                last = a.key;
                ASSERT_LE(++steps, 700) << name;
            }
            readEnded();
            if (!Call(SeekRec, t, "key500", &a))
                readEnded();
            Call(SaveRec, t, "key5000", nullptr, "new");
            Call(DelRec, t, "key7", &a);
            Call(DelRec, t, "one", &a);
            // On damage these may fail or succeed; what counts is that each returns.
            uint32_t n = CountRec(t);
            if (n < (1u << 22)) {
                std::vector<uint8_t> out(n + 1);
                (void)ReadBin(t, out.data());
            }
            (void)LorVerifyTable(t, nullptr);
            if (name == "blob")
                (void)DelBin(t);
            if (name == "small")
                (void)ZapTable(t);
            CloseTable(t);
        }
        (void)RenTable(b, "small", "tiny");
        (void)DelTable(b, "tiny");
        for (uint32_t p = 1; p <= 3; ++p)
            BaseGetPageDat(b, p);
        FlushBase(b);
        CloseBase(b);
    }
}

void WorkoutDamaged(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteAll(path, bytes);
    Workout(path);
    WriteAll(path, bytes);
    (void)RestoreBase(path.c_str()); // damaged bytes may not restore; what follows must work either way
    Workout(path);
}

class LOR_SUITE(LorDamage) : public ::testing::Test {
protected:
    void SetUp() override { old_ = LorSetMessageBoxHandler(&Silent); }
    void TearDown() override {
        LorSetMessageBoxHandler(old_);
        EXPECT_EQ(LorOpenBaseCount(), 0);
    }
    TempDir dir_;
    TMessageBoxHandler old_ = nullptr;
};

} // namespace

TEST_F(LOR_SUITE(LorDamage), TruncatedFiles) {
    std::string path = dir_ / "cut.lor";
    auto good = BuildSample(path);
    for (size_t len = 0; len < good.size(); len += len < 600 ? 7 : 509) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(len));
        WorkoutDamaged(path, cut);
    }
}

TEST_F(LOR_SUITE(LorDamage), FlippedBytes) {
    std::string path = dir_ / "flip.lor";
    auto good = BuildSample(path);
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> where(0, good.size() - 1);
    std::uniform_int_distribution<int> what(0, 255);
    for (int round = 0; round < 250; ++round) {
        auto bad = good;
        int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i) {
            // Page headers and entry headers hold the numbers that matter most.
            size_t at = round % 2 ? where(rng)
                                  : 14 + 512 * (where(rng) % (good.size() / 512)) + size_t(what(rng)) % 40;
            if (at < bad.size())
                bad[at] = uint8_t(what(rng));
        }
        bad[1] = 0; // keep it openable for writing too
        WorkoutDamaged(path, bad);
    }
}

TEST_F(LOR_SUITE(LorDamage), LoopsInPageLinks) {
    std::string path = dir_ / "loop.lor";
    auto good = BuildSample(path);
    const size_t pages = (good.size() - 14) / 512;
    auto page = [&](std::vector<uint8_t>& f, size_t n) { return f.data() + 14 + (n - 1) * 512; };
    auto put32 = [](uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); };
    for (size_t n = 1; n <= pages; ++n) {
        auto bad = good;
        uint8_t* p = page(bad, n);
        uint8_t flags = p[16] & 0x13;
        if (flags & 0x01) {
            put32(p + 17, uint32_t(n)); // first child is the page itself
            auto bad2 = good;
            put32(page(bad2, n) + 17, 1); // ... or the directory's page
            WorkoutDamaged(path, bad2);
        } else if (flags & 0x10) {
            put32(p + 8, uint32_t(n)); // blob chain back to itself
        } else {
            put32(p + 4, uint32_t(n)); // a page that points at itself as free
            auto bad2 = good;
            put32(bad2.data() + 10, uint32_t(n)); // free-list head on a page in use
            WorkoutDamaged(path, bad2);
        }
        WorkoutDamaged(path, bad);
    }
}

TEST_F(LOR_SUITE(LorDamage), HeaderFields) {
    std::string path = dir_ / "header.lor";
    auto good = BuildSample(path);
    struct Case {
        size_t offset;
        uint32_t value;
        bool opens; // writable open gives a handle
    } cases[] = {
        {0, 0x57, false},       // magic (one byte)
        {2, 0, false},          // page size 0
        {2, 513, false},        // not a multiple of 512
        {2, 0x40000000, false}, // absurd page size
        {2, 1024, true},        // another valid size: pages misread, refused as damaged
        {6, 0, true},           // no directory root
        {6, 999999, true},      // directory root past the end
        {10, 0, true},          // no free list
        {10, 1, true},          // free list on the directory page
        {10, 0xFFFFFFFF, true}, // free list far past the end
    };
    for (const Case& c : cases) {
        auto bad = good;
        if (c.offset == 0)
            bad[0] = uint8_t(c.value);
        else
            std::memcpy(&bad[c.offset], &c.value, 4);
        WriteAll(path, bad);
        LORHANDLE b = OpenBase(path.c_str(), 512, 0);
        EXPECT_EQ(b > 32, c.opens) << c.offset << "=" << c.value;
        CloseBase(b);
        WorkoutDamaged(path, bad);
    }
}

namespace {

// Minimized files whose directory keys are out of order: listing the tables looked each next name
// up from the previous one and bounced between two names, bounded only by a count read from the
// file (a hang), writing far more than the file holds (an overrun of the caller's buffer).
struct OutOfOrderDirectory {
    const char* file;
};

void PrintTo(const OutOfOrderDirectory& c, std::ostream* os) { *os << c.file; }

class LOR_SUITE(LorDirectoryOrder) : public ::testing::TestWithParam<OutOfOrderDirectory> {};

TEST_P(LOR_SUITE(LorDirectoryOrder), ListsEachTableOnceAndStopsAsDamaged) {
    TempDir dir;
    const std::string path = dir / "dir.lor";
    const std::vector<uint8_t> bytes = ReadAll(std::string(LOR_TEST_DATA) + "/" + GetParam().file);
    ASSERT_FALSE(bytes.empty());
    WriteAll(path, bytes);
    TMessageBoxHandler old = LorSetMessageBoxHandler(&Silent);
    LORHANDLE b = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(b, 32u);
    // Room for what the file can hold, then a fence that must stay untouched.
    constexpr size_t kFence = 1 << 16;
    std::vector<char> out(bytes.size() + 1 + kFence, '\x5A');
    InfoBase(b, out.data());
    EXPECT_EQ(LorBaseStatus(b), LOR_DAMAGED);
    const size_t len = std::strlen(out.data());
    ASSERT_LE(len, bytes.size());
    EXPECT_EQ(std::count(out.begin() + long(len) + 1, out.end(), '\x5A'), long(out.size() - len - 1));
    std::vector<std::string> names;
    for (size_t at = 0, nl; (nl = std::string_view(out.data(), len).find('\n', at)) != std::string::npos;
         at = nl + 1)
        names.emplace_back(out.data() + at, nl - at);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << std::string(out.data(), len);
    CloseBase(b);
    LorSetMessageBoxHandler(old);
    EXPECT_EQ(ReadAll(path), bytes);
}

// The suite name is expanded before gtest pastes it.
#define LOR_INSTANTIATE(prefix, suite, ...) INSTANTIATE_TEST_SUITE_P(prefix, suite, __VA_ARGS__)
LOR_INSTANTIATE(Repro, LOR_SUITE(LorDirectoryOrder),
                ::testing::Values(OutOfOrderDirectory{"lor_read-infobase-hang.lor"},
                                  OutOfOrderDirectory{"lor_read-infobase-overflow.lor"}),
                [](const auto& info) {
                    const std::string file = info.param.file; // lor_read-infobase-<what>.lor
                    const size_t from = file.rfind('-') + 1;
                    return file.substr(from, file.rfind('.') - from);
                });

// A leaf page of a table zeroed: a restore gives back every record of the other pages.
TEST_F(LOR_SUITE(LorDamage), RestoreKeepsTheRecordsOfUndamagedPages) {
    std::string path = dir_ / "restore.lor";
    auto good = BuildSample(path);
    constexpr size_t kHeader = 14, kPage = 512, kArea = 17;
    std::set<std::string> all, lost;
    size_t victim = 0;
    for (size_t n = 1; kHeader + n * kPage <= good.size(); ++n) {
        const uint8_t* pg = good.data() + kHeader + (n - 1) * kPage;
        if (!(pg[16] & 0x02) || (pg[16] & 0x01))
            continue; // leaf pages only
        const uint32_t used = kPage - kArea - U32(good, kHeader + (n - 1) * kPage + 12);
        std::set<std::string> keys;
        for (uint32_t off = 0; off + 6 <= used;) {
            const uint8_t* e = pg + kArea + off;
            const uint32_t d = e[0] | e[1] << 8 | e[2] << 16 | uint32_t(e[3]) << 24, k = e[4] | e[5] << 8;
            keys.insert(std::string(reinterpret_cast<const char*>(e + 6), k));
            off += 6 + k + d;
        }
        if (keys.empty() || keys.begin()->rfind("key", 0) != 0)
            continue; // not a page of the deep table
        all.insert(keys.begin(), keys.end());
        if (!victim && keys.size() > 5) {
            victim = n;
            lost = keys;
        }
    }
    ASSERT_EQ(all.size(), 600u);
    ASSERT_NE(victim, 0u);
    std::fill(good.begin() + long(kHeader + (victim - 1) * kPage),
              good.begin() + long(kHeader + victim * kPage), 0);
    WriteAll(path, good);
    ASSERT_EQ(RestoreBase(path.c_str()), 0);
    LORHANDLE b = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(b, 32u);
    std::set<std::string> back;
    Answer a;
    const LORHANDLE deep = OpenTable(b, "deep");
    for (bool ok = Call(FirstRec, deep, "", &a); ok && back.size() < 700; ok = Call(NextRec, deep, a.key, &a))
        back.insert(a.key);
    std::set<std::string> expected;
    std::set_difference(all.begin(), all.end(), lost.begin(), lost.end(),
                        std::inserter(expected, expected.end()));
    EXPECT_EQ(back, expected);
    EXPECT_TRUE(Call(SeekRec, OpenTable(b, "small"), "one", &a));
    EXPECT_EQ(a.data, "1");
    CloseBase(b);
}

// A record key made smaller than the one before it: a walk stops there with status 11 in either
// direction, instead of going on with keys out of order.
TEST_F(LOR_SUITE(LorDamage), WalkStopsWhereAKeyDoesNotIncrease) {
    std::string path = dir_ / "order.lor";
    auto bytes = BuildSample(path);
    const std::string needle = "key500";
    auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    ASSERT_NE(at, bytes.end());
    at[2] = 'a'; // "kea500" sorts before every "key..."
    WriteAll(path, bytes);
    LORHANDLE b = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(b, 32u);
    LORHANDLE t = OpenTable(b, "deep");
    ASSERT_NE(t, 0u);
    Answer a;
    std::vector<std::string> keys;
    bool ok = Call(FirstRec, t, "", &a);
    for (; ok && keys.size() < 2000; ok = Call(NextRec, t, a.key, &a))
        keys.push_back(a.key);
    EXPECT_EQ(LorTableStatus(t), LOR_DAMAGED);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_LT(keys.size(), 600u);
    keys.clear();
    for (ok = Call(LastRec, t, "", &a); ok && keys.size() < 2000; ok = Call(PrevRec, t, a.key, &a))
        keys.push_back(a.key);
    EXPECT_EQ(LorTableStatus(t), LOR_DAMAGED);
    EXPECT_TRUE(std::is_sorted(keys.rbegin(), keys.rend()));
    EXPECT_LT(keys.size(), 600u);
    CloseBase(b);
}

} // namespace
