// Damaged files: cut, flipped and looped files must make calls fail with a status, never crash,
// hang or overrun; a read changes nothing, and a restore keeps what the damage left whole. Also
// built under AddressSanitizer and UBSan.
#include "btree.h"
#include "lortest.h"
#include "tables.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string_view>

using namespace lortest;
using namespace lor; // the file format's named offsets and flags

namespace {

constexpr uint32_t kSamplePage = kMinPageSize; // the sample's page size
constexpr int kDeepRecords = 600;
constexpr size_t kWalkLimit = 700; // more steps than the deep table has records: a walk that loops

using Records = std::map<std::string, std::string>;

std::string DeepKey(int i) { return "key" + std::to_string(i * 7919 % 1000); }
std::string DeepData(int i) { return std::string(size_t(i % 50), char('a' + i % 26)); }

Records SampleDeep() {
    Records r;
    for (int i = 0; i < kDeepRecords; ++i)
        r[DeepKey(i)] = DeepData(i);
    return r;
}

// Where page n (from 1) starts, and how many whole pages a file holds.
size_t PageAt(size_t n) { return kFileHeaderSize + (n - 1) * kSamplePage; }
size_t PageCount(const std::vector<uint8_t>& f) {
    return f.size() < kFileHeaderSize ? 0 : (f.size() - kFileHeaderSize) / kSamplePage;
}

uint8_t PageKind(const uint8_t* pg) { return pg[kPgFlags] & kFlagDiskMask; }
bool IsLeaf(const uint8_t* pg) { return PageKind(pg) == kFlagLeaf; }

// The entries of a raw leaf page, as far as they fit its used area.
Records LeafEntries(const uint8_t* pg) {
    Records r;
    uint32_t freeBytes;
    std::memcpy(&freeBytes, pg + kPgFree, 4);
    const uint32_t capacity = kSamplePage - kPageHeaderSize;
    if (freeBytes > capacity)
        return r;
    const uint32_t used = capacity - freeBytes;
    const uint8_t* area = pg + kPageHeaderSize;
    for (uint32_t off = 0; used - off >= kLeafEntryHeader;) {
        uint32_t d;
        uint16_t k;
        std::memcpy(&d, area + off + kEntDataLen, 4);
        std::memcpy(&k, area + off + kEntKeyLen, 2);
        if (uint64_t(kLeafEntryHeader) + k + d > used - off)
            break;
        const char* key = reinterpret_cast<const char*>(area + off + kEntKey);
        r.emplace(std::string(key, k), std::string(key + k, d));
        off += kLeafEntryHeader + k + d;
    }
    return r;
}

bool IsDeepKey(const std::string& key) { return key.rfind("key", 0) == 0; }

// The deep table's records on the leaf pages that the damage left whole (the same bytes as in
// good), when the header and the directory's leaves are whole too, so that a restore can read the
// pages and name their table: a restore must lose none of them. Empty when it cannot.
Records WholeDeepRecords(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& good) {
    auto whole = [&](size_t from, size_t size) {
        return from + size <= bytes.size() &&
               std::equal(good.begin() + long(from), good.begin() + long(from + size),
                          bytes.begin() + long(from));
    };
    if (!whole(kHdrMagic, 1) || !whole(kHdrPageSize, 4))
        return {};
    for (size_t n = 1; n <= PageCount(good); ++n)
        if (IsLeaf(good.data() + PageAt(n)) && U32(good, PageAt(n) + kPgOwner) == kDirId &&
            !whole(PageAt(n), kSamplePage))
            return {};
    Records r;
    for (size_t n = 1; n <= PageCount(good); ++n) {
        const uint8_t* pg = good.data() + PageAt(n);
        if (!IsLeaf(pg) || !whole(PageAt(n), kSamplePage))
            continue;
        for (const auto& [key, data] : LeafEntries(pg))
            if (IsDeepKey(key))
                r.emplace(key, data);
    }
    return r;
}

// A base with a deep record table, a small one and a blob.
std::vector<uint8_t> BuildSample(const std::string& path) {
    std::filesystem::remove(path);
    LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 0);
    LORHANDLE t = OpenTable(b, "deep");
    for (int i = 0; i < kDeepRecords; ++i)
        Call(SaveRec, t, DeepKey(i), nullptr, DeepData(i));
    LORHANDLE s = OpenTable(b, "small");
    Call(SaveRec, s, "one", nullptr, "1");
    LORHANDLE bl = OpenTable(b, "blob");
    std::string blob(1500, 'b');
    EXPECT_EQ(SaveBin(bl, blob.data(), uint32_t(blob.size())), 1);
    CloseBase(b);
    return ReadAll(path);
}

// What a read-only walk of the deep table gives: the open's status when the base was refused,
// else the records in walk order and the status the walk ended with.
struct Walk {
    bool opened = false;
    uint32_t refusal = 0;
    std::vector<std::pair<std::string, std::string>> records;
    uint32_t end = 0;
};

Walk ReadDeep(const std::string& path) {
    Walk w;
    const LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 1);
    if (!IsBaseHandle(b)) {
        w.refusal = b;
        return w;
    }
    w.opened = true;
    const LORHANDLE t = OpenTable(b, "deep");
    w.end = LastStatus(b);
    if (t) {
        Answer a;
        for (bool ok = Call(FirstRec, t, "", &a); ok && w.records.size() < kWalkLimit;
             ok = Call(NextRec, t, a.key, &a))
            w.records.emplace_back(a.key, a.data);
        w.end = LastStatus(t);
    }
    CloseBase(b);
    return w;
}

// Every export on whatever the file holds; all must return. Steps are bounded by the test.
void Workout(const std::string& path) {
    for (int readOnly : {1, 0}) {
        LORHANDLE b = OpenBase(path.c_str(), kSamplePage, readOnly);
        if (!IsBaseHandle(b)) {
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
            size_t steps = 0;
            bool ok = Call(FirstRec, t, "", &a);
            for (; ok; ok = Call(NextRec, t, a.key, &a)) {
                EXPECT_TRUE(steps == 0 || last < a.key) << name;
                last = a.key;
                ASSERT_LE(++steps, kWalkLimit) << name;
            }
            readEnded();
            steps = 0;
            for (ok = Call(LastRec, t, "", &a); ok; ok = Call(PrevRec, t, a.key, &a)) {
                EXPECT_TRUE(steps == 0 || a.key < last) << name;
                last = a.key;
                ASSERT_LE(++steps, kWalkLimit) << name;
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

// How far a reader may trust what it reads. After a cut every record read is the sample's; a link
// turned back may lead a walk into another table's page (a page does not say whose it is to a
// walk), but a restore files pages by their owner; after flips a record's own bytes may have
// changed, and a header that gives another page size has pages misread.
enum class Damage { Cut, Loop, Flip, Header };

// What must hold after any damage: a read-only open refuses the file with a status or walks the
// deep table in key order to its end or to a damage status (11), writing nothing; a restore gives
// a base that walks cleanly and keeps every record of the leaf pages the damage left whole. Then
// every export runs on the damaged and on the restored file (all must return).
void CheckDamaged(const std::string& path, const std::vector<uint8_t>& bytes,
                  const std::vector<uint8_t>& good, Damage damage) {
    static const Records sample = SampleDeep();
    const bool readTrusted = damage == Damage::Cut;
    const bool trusted = damage == Damage::Cut || damage == Damage::Loop;
    WriteAll(path, bytes);
    const Walk read = ReadDeep(path);
    EXPECT_EQ(ReadAll(path), bytes) << "a read-only open wrote to the file";
    if (!read.opened) {
        // A refusal is no handle at all, or the reason a writer could not have it either.
        const std::set<uint32_t> refusals = {0, LOR_NOT_WRITABLE, LOR_IN_USE};
        EXPECT_TRUE(refusals.count(read.refusal)) << "refused with " << read.refusal;
    } else {
        // A table the directory no longer finds cannot be made on a read-only base (17).
        const std::set<uint32_t> ends = {LOR_OK, LOR_DAMAGED, LOR_READ_ONLY};
        EXPECT_TRUE(ends.count(read.end)) << "walk ended with " << read.end;
        EXPECT_LT(read.records.size(), size_t(kWalkLimit));
        for (size_t i = 1; i < read.records.size(); ++i)
            EXPECT_LT(read.records[i - 1].first, read.records[i].first);
        if (readTrusted)
            for (const auto& [key, data] : read.records) {
                const auto it = sample.find(key);
                EXPECT_TRUE(it != sample.end() && it->second == data) << "read " << key << " = " << data;
            }
    }

    const Records whole = WholeDeepRecords(bytes, good);
    (void)RestoreBase(path.c_str()); // damage may leave nothing to restore; the walk below is the oracle
    const Walk restored = ReadDeep(path);
    if (!whole.empty()) {
        EXPECT_TRUE(restored.opened) << "restore gave no base: " << restored.refusal;
        EXPECT_EQ(restored.end, LOR_OK);
        const Records back(restored.records.begin(), restored.records.end());
        for (const auto& [key, data] : whole) {
            const auto it = back.find(key);
            EXPECT_TRUE(it != back.end()) << "restore lost " << key;
            if (trusted && it != back.end()) {
                EXPECT_EQ(it->second, data) << key;
            }
        }
    }
    if (trusted)
        for (const auto& [key, data] : restored.records) {
            const auto it = sample.find(key);
            EXPECT_TRUE(it != sample.end() && it->second == data) << "restored " << key << " = " << data;
        }

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

TEST_F(LOR_SUITE(LorDamage), TruncatedFiles) {
    std::string path = dir_ / "cut.lor";
    auto good = BuildSample(path);
    for (size_t len = 0; len < good.size(); len += len < 600 ? 7 : kSamplePage - 3) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(len));
        CheckDamaged(path, cut, good, Damage::Cut);
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
            // Page headers and the first entry headers hold the numbers that matter most.
            size_t at =
                round % 2 ? where(rng) : PageAt(1 + where(rng) % PageCount(good)) + size_t(what(rng)) % 40;
            if (at < bad.size())
                bad[at] = uint8_t(what(rng));
        }
        bad[kHdrInUse] = 0; // keep it openable for writing too
        CheckDamaged(path, bad, good, Damage::Flip);
    }
}

TEST_F(LOR_SUITE(LorDamage), LoopsInPageLinks) {
    std::string path = dir_ / "loop.lor";
    auto good = BuildSample(path);
    auto page = [&](std::vector<uint8_t>& f, size_t n) { return f.data() + PageAt(n); };
    auto put32 = [](uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); };
    for (size_t n = 1; n <= PageCount(good); ++n) {
        auto bad = good;
        uint8_t* p = page(bad, n);
        const uint8_t kind = PageKind(p);
        if (kind & kFlagIndex) {
            put32(p + kPageHeaderSize + kEntChild, uint32_t(n)); // first child is the page itself
            auto bad2 = good;
            put32(page(bad2, n) + kPageHeaderSize + kEntChild,
                  U32(good, kHdrDirRoot)); // ... or the directory's
            CheckDamaged(path, bad2, good, Damage::Loop);
        } else if (kind & kFlagBlob) {
            put32(p + kPgLink, uint32_t(n)); // blob chain back to itself
        } else {
            put32(p + kPgOwner, uint32_t(n)); // a page that points at itself as free
            auto bad2 = good;
            put32(bad2.data() + kHdrFreeHead, uint32_t(n)); // free-list head on a page in use
            CheckDamaged(path, bad2, good, Damage::Loop);
        }
        CheckDamaged(path, bad, good, Damage::Loop);
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
        LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 0);
        EXPECT_EQ(IsBaseHandle(b), c.opens) << c.offset << "=" << c.value;
        CloseBase(b);
        CheckDamaged(path, bad, good, Damage::Header);
    }
}

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
    LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 1);
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
    std::set<std::string> all, lost;
    size_t victim = 0;
    for (size_t n = 1; n <= PageCount(good); ++n) {
        const uint8_t* pg = good.data() + PageAt(n);
        if (!IsLeaf(pg))
            continue;
        std::set<std::string> keys;
        for (const auto& entry : LeafEntries(pg))
            keys.insert(entry.first);
        if (keys.empty() || !IsDeepKey(*keys.begin()))
            continue; // not a page of the deep table
        all.insert(keys.begin(), keys.end());
        if (!victim && keys.size() > 5) {
            victim = n;
            lost = keys;
        }
    }
    ASSERT_EQ(all.size(), size_t(kDeepRecords));
    ASSERT_NE(victim, 0u);
    std::fill(good.begin() + long(PageAt(victim)), good.begin() + long(PageAt(victim + 1)), 0);
    WriteAll(path, good);
    ASSERT_EQ(RestoreBase(path.c_str()), 0);
    LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 1);
    ASSERT_GT(b, 32u);
    std::set<std::string> back;
    Answer a;
    const LORHANDLE deep = OpenTable(b, "deep");
    for (bool ok = Call(FirstRec, deep, "", &a); ok && back.size() < kWalkLimit;
         ok = Call(NextRec, deep, a.key, &a))
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
    LORHANDLE b = OpenBase(path.c_str(), kSamplePage, 1);
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
