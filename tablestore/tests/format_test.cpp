// Tests of the page file format: exact bytes of a new file, page sizes, in-use byte, table ids,
// fresh pages beyond the end and cache capacities.
#include "lortest.h"
#include "pager.h"
#include "tables.h"

using namespace lortest;

namespace {

std::vector<uint8_t> ExpectedNewFile(uint32_t ps) {
    std::vector<uint8_t> f(14 + ps, 0);
    const uint8_t header[] = {0x56, 0x00, uint8_t(ps), uint8_t(ps >> 8), 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
    std::memcpy(f.data(), header, sizeof header);
    uint32_t freeBytes = ps - 17 - 21;
    const uint8_t page[] = {1,
                            0,
                            0,
                            0,
                            1,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            uint8_t(freeBytes),
                            uint8_t(freeBytes >> 8),
                            0,
                            0,
                            0x02,
                            13,
                            0,
                            0,
                            0,
                            2,
                            0,
                            0x01,
                            0x00,
                            1,
                            0,
                            0,
                            0,
                            1,
                            0,
                            0,
                            0,
                            1,
                            0,
                            0,
                            0,
                            0};
    std::memcpy(f.data() + 14, page, sizeof page);
    return f;
}

} // namespace

TEST(LorFormat, NewFileBytes) {
    TempDir dir;
    for (uint32_t ps : {512u, 1024u}) {
        std::string path = dir / ("new" + std::to_string(ps) + ".lor");
        ASSERT_EQ(CreateBase(path.c_str(), ps), 1);
        EXPECT_EQ(ReadAll(path), ExpectedNewFile(ps)) << ps;
    }
}

TEST(LorFormat, RequestedSizeGivesPageSize) {
    TempDir dir;
    struct Case {
        uint32_t requested;
        int result;
        size_t length;
    } cases[] = {{1000, 1, 14 + 512},  {1024, 1, 14 + 1024}, {1535, 1, 14 + 1024},
                 {4096, 1, 14 + 4096}, {100, 0, 0},          {511, 0, 0}};
    for (const Case& c : cases) {
        std::string path = dir / ("size" + std::to_string(c.requested));
        EXPECT_EQ(CreateBase(path.c_str(), c.requested), c.result) << c.requested;
        EXPECT_EQ(ReadAll(path).size(), c.length) << c.requested;
    }
}

TEST(LorFormat, InUseByteAcrossOpenAndClose) {
    TempDir dir;
    std::string path = dir / "inuse.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    ASSERT_GT(b, 32u);
    EXPECT_EQ(ReadAll(path)[1], 1);
    CloseBase(b);
    EXPECT_EQ(ReadAll(path)[1], 0);

    // A writer that never closed leaves the byte set: writing is refused, reading is not.
    auto bytes = ReadAll(path);
    bytes[1] = 1;
    WriteAll(path, bytes);
    EXPECT_EQ(OpenBase(path.c_str(), 512, 0), LORHANDLE(LOR_IN_USE));
    LORHANDLE ro = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(ro, 32u);
    EXPECT_EQ(PageSize(ro), 512u);
    CloseBase(ro);
    EXPECT_EQ(ReadAll(path)[1], 1); // a read-only close writes nothing
}

TEST(LorFormat, TableIds) {
    struct Case {
        std::string name;
        uint32_t id;
    } cases[] = {{"\x01", 1}, {"_", 0x5F}, {"ab", 0x00850000}, {"abc", 0x00FB0085}, {"A", 0x41}};
    for (const Case& c : cases)
        EXPECT_EQ(lor::TableId(c.name), c.id) << c.name;
}

TEST(LorFormat, TablePagesCarryTheIdAfterRename) {
    TempDir dir;
    std::string path = dir / "ids.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "abc");
    ASSERT_TRUE(Call(SaveRec, t, "k1", nullptr, "v"));
    CloseTable(t);
    ASSERT_EQ(RenTable(b, "abc", "renamed"), 1);
    CloseBase(b);
    auto f = ReadAll(path);
    // Page 2 is the table's first page; its owner field keeps the checksum of "abc".
    ASSERT_GE(f.size(), 14u + 2 * 512);
    EXPECT_EQ(U32(f, 14 + 512 + 4), 0x00FB0085u);
    EXPECT_EQ(f[14 + 512 + 16], 0x06); // a leaf written while dirty
    b = OpenBase(path.c_str(), 512, 0);
    EXPECT_EQ(IsTable(b, "renamed"), 1);
    EXPECT_EQ(IsTable(b, "abc"), 0);
    t = OpenTable(b, "renamed");
    Answer a;
    EXPECT_TRUE(Call(SeekRec, t, "k1", &a));
    EXPECT_EQ(a.data, "v");
    CloseBase(b);
}

TEST(LorFormat, PageBeyondTheEndIsFresh) {
    TempDir dir;
    std::string path = dir / "fresh.lor";
    ASSERT_EQ(CreateBase(path.c_str(), 512), 1);
    auto f = ReadAll(path);
    f.resize(14 + 3 * 512, 0);
    WriteAll(path, f);
    LORHANDLE b = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(b, 32u);
    EXPECT_EQ(BasePageCount(b), 3u);
    const uint8_t* p = BaseGetPageDat(b, 5);
    ASSERT_NE(p, nullptr);
    std::vector<uint8_t> page(p, p + 17);
    EXPECT_EQ(U32(page, 0), 5u);
    EXPECT_EQ(U32(page, 4), 6u);
    EXPECT_EQ(U32(page, 8), 0u);
    EXPECT_EQ(U32(page, 12), 512u - 17);
    EXPECT_EQ(page[16], 0);
    EXPECT_EQ(BaseGetPageDat(b, 0), nullptr);
    p = BaseGetPageDat(b, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[16], 0x02);
    CloseBase(b);
}

// Each table open in a file of a page size adds its slots (the directory counts while the file is
// open); they go when the table or the file closes.
TEST(LorFormat, CacheSlotsFollowOpenTables) {
    ASSERT_EQ(LorOpenBaseCount(), 0);
    TempDir dir;
    const uint32_t base = LorCacheSlots(512), per = 8;
    LORHANDLE a = OpenBase((dir / "a.lor").c_str(), 512, 0);
    EXPECT_EQ(LorCacheSlots(512), base + per);
    LORHANDLE t1 = OpenTable(a, "one"), t2 = OpenTable(a, "two");
    LORHANDLE again = OpenTable(a, "one"); // the same table: no more slots
    EXPECT_EQ(LorCacheSlots(512), base + 3 * per);
    LORHANDLE b = OpenBase((dir / "b.lor").c_str(), 512, 0);
    LORHANDLE other = OpenBase((dir / "c.lor").c_str(), 1024, 0);
    EXPECT_NE(OpenTable(b, "one"), 0u);
    EXPECT_EQ(LorCacheSlots(512), base + 5 * per);
    // Enough records to fill every slot, so that shrinking has dirty pages to write back.
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(Call(SaveRec, t2, std::to_string(i * 7919 % 3000), nullptr, std::string(40, 'x')));
    CloseTable(t1);
    EXPECT_EQ(LorCacheSlots(512), base + 5 * per);
    CloseTable(again);
    EXPECT_EQ(LorCacheSlots(512), base + 4 * per);
    CloseBase(b);
    EXPECT_EQ(LorCacheSlots(512), base + 2 * per);
    CloseBase(a);
    CloseBase(other);
    EXPECT_EQ(LorCacheSlots(512), base);
    a = OpenBase((dir / "a.lor").c_str(), 512, 1);
    EXPECT_EQ(CountRec(OpenTable(a, "two")), 3000u);
    EXPECT_EQ(LorVerifyTable(OpenTable(a, "two"), nullptr), 0u);
    CloseBase(a);
}

TEST(LorFormat, CacheSlotsPerPageSize) {
    struct Case {
        uint32_t ps, slots;
    } cases[] = {{512, 10}, {1024, 40}, {2048, 20}, {4096, 10}};
    for (const Case& c : cases)
        EXPECT_EQ(LorCacheSlots(c.ps), c.slots) << c.ps;
}
