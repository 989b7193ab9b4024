// Damaged configuration databases: out-of-range fields, truncated and flipped files. Built with
// AddressSanitizer and UBSan against the instrumented store; a load may report, never crash.
#include <gtest/gtest.h>

#include "Configmanager.h"
#include "Dbtables.h"
#include "Userobject.h"
#include "actions.h"
#include "lorbase.h"
#include "model_fixture.h"
#include "sysutils.h"

namespace {

extern "C" int QuietBox(const char*, const char*, unsigned) { return IDOK; }

struct Damage : ::testing::Test {
    TempDir dir;
    std::string file = dir.File("bad.cdb");
    TMessageBoxHandler oldLor = nullptr;
    void SetUp() override {
        CaptureMessages();
        oldLor = LorSetMessageBoxHandler(QuietBox);
        SetPluginFolder(dir.File("plugin/"));
    }
    void TearDown() override {
        LorSetMessageBoxHandler(oldLor);
        SetPluginFolder("");
        SetMessageBoxHandler(nullptr);
    }
};

// Each record is bounded by its own length, whatever its fields claim.
TEST_F(Damage, FieldsBoundedByTheirRecord) {
    ASSERT_TRUE(PutRawRecord(file, kTableDBInfo, {1}, {2, 2, 1}));
    // Width 0xFFFF with three value bytes; width 8 with no value bytes; a record of one byte.
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 2, 1}, {0xFF, 0xFF, 1, 2, 3}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 2, 2}, {8, 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 2, 3}, {8}));
    // Unbound addresses: channel type 0, channel index 0.
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 0, 4}, {8, 0, 9}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamValue, {0, 3, 0}, {8, 0, 9}));
    ASSERT_TRUE(PutRawRecord(file, kTableParamInfoEx, {0, 2, 1}, {1}));
    // A tag filling its record without a 0 byte, and one with no tag bytes at all.
    ASSERT_TRUE(PutRawRecord(file, kTableObjects, {0x27, 0x10},
                             {0, 0, 0, 0, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'}));
    ASSERT_TRUE(PutRawRecord(file, kTableObjects, {0x27, 0x11}, {0, 0}));
    ASSERT_TRUE(PutRawRecord(file, kTableObjects, {0x27, 0x12}, {0, 0, 0, 0}));
    // Instructions of subprogram 0, an operand length beyond the record, a record of one byte.
    ASSERT_TRUE(PutRawRecord(file, kTableActionsEx, {0, 0, 1}, {0, opRet}));
    ASSERT_TRUE(PutRawRecord(file, kTableActionsEx, {0, 5, 1}, {200, opPush, 1}));
    ASSERT_TRUE(PutRawRecord(file, kTableActionsEx, {0, 5, 2}, {1}));
    ASSERT_TRUE(PutRawRecord(file, kTableActionsInfo, {5, 0}, {1}));
    ASSERT_TRUE(PutRawRecord(file, kTableActionsVar, {0, 5, 1}, {'v', 'v', 'v'}));
    configmanager c;
    ASSERT_TRUE(c.LoadDatabase(file)) << c.LastError;
    EXPECT_GE(c.LoadProblems.size(), 7u);
    auto* first = static_cast<TParamItem*>(c.Channels.At(10));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->BitWidth(), 24);
    EXPECT_EQ(first->Value[2], 3);
    EXPECT_EQ(first->Value[3], 0);
    EXPECT_EQ(c.Channels.Count, 12u);
    ASSERT_EQ(c.Objects.Count, 2u);
    EXPECT_EQ(static_cast<TObjectItem*>(c.Objects.Oldest)->Tag, "ABCDEFGHIJKL");
    EXPECT_EQ(static_cast<TObjectItem*>(c.Objects.Newest)->Tag, "USEROBJ");
    T_Action* a = c.Actions->ById(5);
    ASSERT_TRUE(a);
    ASSERT_EQ(a->Instructions.size(), 1u);
    EXPECT_EQ(a->Instructions[0].Operands[0], 1);
    EXPECT_EQ(a->Variables.Strings(0), "vvv");
    EXPECT_EQ(c.Actions->ById(0), nullptr);
    // What was loaded saves again, with the tag cut to its field.
    std::string again = dir.File("again.cdb");
    ASSERT_TRUE(c.SaveDatabase(again)) << c.LastError;
    configmanager d;
    ASSERT_TRUE(d.LoadDatabase(again));
    EXPECT_TRUE(d.LoadProblems.empty());
    EXPECT_EQ(static_cast<TObjectItem*>(d.Objects.Oldest)->Tag, "ABCDEFGHIJK");
}

std::vector<uint8_t> SampleFile(const std::string& path) {
    configmanager c;
    auto* u = static_cast<TUserObjItem*>(c.AddObject(1));
    u->ApplyCommandCount("3");
    for (int i = 1; i <= 40; ++i) {
        TParamItem* p = c.NewChannel(static_cast<uint16_t>(1 + i % 3), static_cast<uint8_t>(i));
        p->SetBitWidth(static_cast<uint16_t>(8 * (i % 5)));
        p->WriteHandler = static_cast<uint16_t>(i % 2);
        p->Value[0] = static_cast<uint8_t>(i);
    }
    T_Action* a = c.CreateSubprogram("s");
    a->Variables.Add("x");
    for (int i = 0; i < 30; ++i)
        a->Instructions.push_back(TActionLine{0, opPush, {uint8_t(i), 0, 0, 0, 8}});
    EXPECT_TRUE(c.SaveDatabase(path));
    return ReadBytes(path);
}

// What a load brought back: objects, channels, subprograms and their instructions.
std::vector<size_t> Content(configmanager& c) {
    size_t instructions = 0;
    for (const auto& [id, a] : c.Actions->Actions())
        instructions += a->Instructions.size();
    return {c.Objects.Count, c.Channels.Count, c.Actions->Count(), instructions};
}

TEST_F(Damage, TruncatedFiles) {
    std::vector<uint8_t> good = SampleFile(file);
    configmanager whole;
    ASSERT_TRUE(whole.LoadDatabase(file));
    const std::vector<size_t> all = Content(whole);
    ASSERT_GT(good.size(), 1024u);
    for (size_t len = 0; len < good.size(); len += good.size() / 97 + 1) {
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(len));
        WriteBytes(file, cut);
        configmanager c;
        // A cut file fails with a reason, reports what it lost, or lost nothing (free pages).
        if (!c.LoadDatabase(file)) {
            EXPECT_FALSE(c.LastError.empty()) << len;
        } else if (c.LoadProblems.empty()) {
            EXPECT_EQ(Content(c), all) << len;
        }
        EXPECT_EQ(ReadBytes(file), cut) << len;
    }
}

TEST_F(Damage, FlippedBytes) {
    std::vector<uint8_t> good = SampleFile(file);
    for (size_t at = 0; at < good.size(); at += 7) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= static_cast<uint8_t>(0x5A + at);
        WriteBytes(file, bad);
        configmanager c;
        if (c.LoadDatabase(file)) {
            EXPECT_LE(c.Objects.Count, 2u);
        } else {
            EXPECT_FALSE(c.LastError.empty()) << at;
        }
        EXPECT_EQ(ReadBytes(file), bad) << at;
    }
}

} // namespace
