// Tests of the record cursor TOFT: walks that skip the all-zero and all-0xFF keys, APPEND,
// record size limits without overruns, delete returning the record, byte-order hooks.
#include "lortest.h"

using namespace lortest;

namespace {

// A record class as the model builds them: 2-byte key stored big-end first, fixed data.
struct Item : TOFT {
    uint8_t rec[2 + 32];
    int edits = 0;
    Item(LORHANDLE base, const char* name) {
        std::memset(rec, 0, sizeof rec);
        set.Key = rec;
        set.LenKey = 2;
        set.Dat = rec + 2;
        set.LenDat = 32;
        MaxLen(2 + 32);
        Open(base, name);
    }
    uint16_t key() const { return uint16_t(rec[0] | rec[1] << 8); }
    void setKey(uint16_t k) {
        rec[0] = uint8_t(k);
        rec[1] = uint8_t(k >> 8);
    }
    void SwabBefore() override { swabl(rec, 2); }
    void SwabAfter() override { swabl(rec, 2); }
    void Set2Edit() override { ++edits; }
    void NEXT_KEY() override { setKey(uint16_t(key() + 1)); }
};

} // namespace

TEST(LorToft, FirstAndLastSkipTheBoundaryKeys) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "toft.lor").c_str(), 512, 0);
    Item it(b, "items");
    ASSERT_NE(it.Table, 0u);
    for (uint16_t k : {0x0000, 0x0102, 0x0201, 0x8000, 0xFFFF}) {
        it.setKey(k);
        std::snprintf(reinterpret_cast<char*>(it.rec + 2), 32, "v%04x", k);
        ASSERT_EQ(it.RSAVE(), 1);
        EXPECT_EQ(it.key(), k); // memory order again after the call
    }
    EXPECT_EQ(it.COUNT(), 5u);
    std::vector<uint16_t> fwd, back;
    for (int ok = it.RFIRST(); ok; ok = it.RNEXT())
        fwd.push_back(it.key());
    for (int ok = it.RLAST(); ok; ok = it.RPREV())
        back.push_back(it.key());
    // RFIRST starts after the all-zero key and RLAST before the all-0xFF one.
    EXPECT_EQ(fwd, (std::vector<uint16_t>{0x0102, 0x0201, 0x8000, 0xFFFF}));
    EXPECT_EQ(back, (std::vector<uint16_t>{0x8000, 0x0201, 0x0102, 0x0000}));
    // Keys are stored big-end first, so 0x0201 sorts after 0x0102 on disk.
    it.setKey(0x0201);
    ASSERT_EQ(it.RSEEK(), 1);
    EXPECT_STREQ(reinterpret_cast<char*>(it.rec + 2), "v0201");
    EXPECT_STREQ(it.NAME(), "items");
    CloseBase(b);
}

TEST(LorToft, AppendOnEmptyAndFilledTable) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "append.lor").c_str(), 512, 0);
    Item it(b, "seq");
    it.setKey(0x7777);
    it.APPEND_BLANK();
    EXPECT_EQ(it.key(), 1); // all-zero key, then NEXT_KEY
    EXPECT_EQ(it.rec[2], 0);
    ASSERT_EQ(it.RSAVE(), 1);
    it.APPEND();
    EXPECT_EQ(it.key(), 2);
    CloseBase(b);
}

TEST(LorToft, RecordSizeLimits) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "limits.lor").c_str(), 2048, 0);
    std::vector<uint8_t> key(4, 'k'), data(1100, 'd');
    TOFT c;
    c.set.Key = key.data();
    c.set.LenKey = 4;
    c.set.Dat = data.data();
    c.set.LenDat = uint32_t(data.size());
    c.MaxLen(2000);
    ASSERT_TRUE(c.Open(b, "big"));
    struct Case {
        uint32_t dataLen;
        int result;
    } cases[] = {{1024 - 10, 1}, {1024 - 10 + 1, 0}, {1090, 0}};
    for (const Case& k : cases) {
        c.set.LenDat = k.dataLen;
        EXPECT_EQ(c.RSAVE(), k.result) << k.dataLen; // packed length 1024 fits, 1025 never
    }
    // A record longer than this cursor's maximum is not read into its buffers.
    TOFT small;
    uint8_t skey[4] = {'k', 'k', 'k', 'k'};
    uint8_t sdata[16] = {};
    small.set.Key = skey;
    small.set.LenKey = 4;
    small.set.Dat = sdata;
    small.set.LenDat = 16;
    small.MaxLen(20);
    ASSERT_TRUE(small.Open(b, "big"));
    EXPECT_EQ(small.RSEEK(), 0);
    EXPECT_EQ(small.RFIRST(), 0);
    EXPECT_EQ(small.set.LenDat, 16u);
    std::vector<uint8_t> packed(2 + 4 + 4 + 100, 0);
    packed[0] = 4;
    packed[6] = 100;
    EXPECT_THROW(small.WriteToTable(packed.data()), std::exception);
    TOFT empty;
    EXPECT_THROW(empty.ReadFromTable(packed.data()), std::exception);
    EXPECT_EQ(empty.RSAVE(), 0); // no table
    EXPECT_EQ(empty.RZAP(), 0);
    CloseBase(b);
}

TEST(LorToft, DeleteReturnsTheRecordAndReadsCallSet2Edit) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "del.lor").c_str(), 512, 0);
    Item it(b, "d");
    it.setKey(5);
    std::memcpy(it.rec + 2, "five", 5);
    ASSERT_EQ(it.RSAVE(), 1);
    std::memset(it.rec + 2, 0, 32);
    EXPECT_EQ(it.RDEL(), 1);
    EXPECT_STREQ(reinterpret_cast<char*>(it.rec + 2), "five");
    EXPECT_EQ(it.edits, 0); // only reads call it
    EXPECT_EQ(it.RDEL(), 0);
    EXPECT_EQ(it.COUNT(), 0u);
    it.setKey(6);
    ASSERT_EQ(it.RSAVE(), 1);
    EXPECT_EQ(it.RSEEK(), 1);
    EXPECT_EQ(it.edits, 1);
    EXPECT_EQ(it.RZAP(), 1);
    EXPECT_EQ(it.COUNT(), 0u);
    CloseBase(b);
}

TEST(LorToft, SwablAndPackedForm) {
    uint8_t b[] = {1, 2, 3, 4, 5};
    TOFT::swabl(b, 5);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 5), (std::vector<uint8_t>{5, 4, 3, 2, 1}));
    TOFT::swabl(b, 2);
    EXPECT_EQ(b[0], 4);
    uint8_t key[2] = {'a', 'b'}, data[3] = {'x', 'y', 'z'};
    TOFT c;
    c.set.Key = key;
    c.set.LenKey = 2;
    c.set.Dat = data;
    c.set.LenDat = 3;
    c.MaxLen(5);
    uint8_t out[16];
    EXPECT_EQ(c.ReadFromTable(out), 11u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 11),
              (std::vector<uint8_t>{2, 0, 'a', 'b', 3, 0, 0, 0, 'x', 'y', 'z'}));
    out[2] = 'q';
    EXPECT_EQ(c.WriteToTable(out), 11u);
    EXPECT_EQ(key[0], 'q');
}
