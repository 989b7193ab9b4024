// Tests of blobs and file restore: page boundaries of a blob chain, reads bounded by the blob's
// length, and a rebuilt file holding every record and blob of the old one.
#include "lortest.h"

#include <map>

using namespace lortest;

TEST(LorBlob, ChainLengthsAndReadBack) {
    TempDir dir;
    std::string path = dir / "blob.lor";
    const uint32_t cap = 512 - 17;
    struct Case {
        uint32_t length, pages;
    } cases[] = {{0, 1}, {1, 1}, {cap, 1}, {cap + 1, 2}, {5 * cap + 7, 6}};
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        LORHANDLE b = OpenBase(path.c_str(), 512, 0);
        LORHANDLE t = OpenTable(b, "blob");
        std::string data(c.length, '\0');
        for (uint32_t i = 0; i < c.length; ++i)
            data[i] = char(i * 7 + 3);
        ASSERT_EQ(SaveBin(t, data.data(), c.length), 1);
        CloseBase(b);
        EXPECT_EQ(ReadAll(path).size(), 14 + (1 + c.pages) * 512u) << c.length;
        b = OpenBase(path.c_str(), 512, 1);
        t = OpenTable(b, "blob");
        ASSERT_EQ(CountRec(t), c.length);
        std::string back(c.length + 8, '#');
        EXPECT_EQ(ReadBin(t, back.data()), 1) << c.length;
        EXPECT_EQ(back.substr(0, c.length), data) << c.length;
        EXPECT_EQ(back.substr(c.length), std::string(8, '#')) << c.length; // nothing past the length
        CloseBase(b);
    }
}

TEST(LorBlob, DeleteReplaceAndRecordTables) {
    TempDir dir;
    LORHANDLE b = OpenBase((dir / "del.lor").c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "blob");
    char buf[4096];
    EXPECT_EQ(ReadBin(t, buf), 0); // no pages yet
    EXPECT_EQ(DelBin(t), 0);
    std::string big(2000, 'x');
    ASSERT_EQ(SaveBin(t, big.data(), 2000), 1);
    ASSERT_EQ(SaveBin(t, "small", 5), 1); // the old chain goes back to the free list
    EXPECT_EQ(CountRec(t), 5u);
    EXPECT_EQ(ReadBin(t, buf), 1);
    EXPECT_EQ(std::string(buf, 5), "small");
    uint32_t pages = BasePageCount(b);
    ASSERT_EQ(SaveBin(t, big.data(), 2000), 1);
    EXPECT_EQ(BasePageCount(b), pages); // reused pages, file not longer
    EXPECT_EQ(DelBin(t), 1);
    EXPECT_EQ(CountRec(t), 0u);
    EXPECT_EQ(ReadBin(t, buf), 0);
    // A record table holds no blob: nothing to read or release.
    LORHANDLE r = OpenTable(b, "records");
    ASSERT_TRUE(Call(SaveRec, r, "k", nullptr, "v"));
    EXPECT_EQ(ReadBin(r, buf), 0);
    EXPECT_EQ(DelBin(r), 0);
    EXPECT_EQ(CountRec(r), 1u);
    CloseBase(b);
}

TEST(LorRestore, RebuildsRecordsAndBlobs) {
    TempDir dir;
    std::string path = dir / "restore.lor";
    std::map<std::string, std::map<std::string, std::string>> tables;
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    for (std::string name : {"alpha", "beta", "gamma"}) {
        LORHANDLE t = OpenTable(b, name.c_str());
        for (int i = 0; i < 300; ++i) {
            std::string k = name + std::to_string(i * 37 % 1000), v(i % 40, char('a' + i % 26));
            ASSERT_TRUE(Call(SaveRec, t, k, nullptr, v));
            tables[name][k] = v;
        }
    }
    std::string blob(3000, '\0');
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = char(i % 251);
    LORHANDLE bt = OpenTable(b, "blobby");
    ASSERT_EQ(SaveBin(bt, blob.data(), uint32_t(blob.size())), 1);
    CloseBase(b);
    auto old = ReadAll(path);

    ASSERT_EQ(RestoreBase(path.c_str()), 0);
    EXPECT_EQ(ReadAll(dir / "$estore.lor"), old); // the old file, untouched, under the "$" name
    b = OpenBase(path.c_str(), 512, 1);
    ASSERT_GT(b, 32u);
    char info[256];
    InfoBase(b, info);
    EXPECT_STREQ(info, "alpha\nbeta\nblobby\ngamma\n");
    for (auto& [name, recs] : tables) {
        LORHANDLE t = OpenTable(b, name.c_str());
        EXPECT_EQ(CountRec(t), recs.size());
        std::map<std::string, std::string> got;
        Answer a;
        for (bool ok = Call(FirstRec, t, "", &a); ok; ok = Call(NextRec, t, a.key, &a))
            got[a.key] = a.data;
        EXPECT_EQ(got, recs) << name;
    }
    bt = OpenTable(b, "blobby");
    std::string back(blob.size(), '\0');
    ASSERT_EQ(CountRec(bt), blob.size());
    EXPECT_EQ(ReadBin(bt, back.data()), 1);
    EXPECT_EQ(back, blob);
    CloseBase(b);
}

TEST(LorBlob, RecordsAfterADeletedBlobStayRecords) {
    // DelBin leaves the blob flag set; records saved afterwards must not be read, released or
    // dropped as if they were a blob chain.
    TempDir dir;
    std::string path = dir / "reuse.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "reused");
    ASSERT_EQ(SaveBin(t, "abc", 3), 1);
    ASSERT_EQ(DelBin(t), 1);
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(Call(SaveRec, t, "key" + std::to_string(i), nullptr, std::string(20, 'r')));
    char buf[64];
    EXPECT_EQ(ReadBin(t, buf), 0);
    EXPECT_EQ(DelBin(t), 0);
    EXPECT_EQ(LorTableStatus(t), uint32_t(LOR_OK));
    EXPECT_EQ(CountRec(t), 200u);
    EXPECT_TRUE(Call(SeekRec, t, "key150"));
    EXPECT_EQ(LorVerifyTable(t, nullptr), 0u);
    EXPECT_EQ(ZapTable(t), 1);
    EXPECT_EQ(LorTableStatus(t), uint32_t(LOR_OK));
    EXPECT_EQ(CountRec(t), 0u);
    CloseBase(b);
    // Every page of the table went back to the free list.
    auto file = ReadAll(path);
    for (size_t at = 14 + 512; at + 512 <= file.size(); at += 512)
        EXPECT_EQ(file[at + 16] & 0x13, 0) << "page " << U32(file, at);
}
