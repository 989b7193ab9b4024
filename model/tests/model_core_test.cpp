// Configuration model in memory: tables, period codes, the manager's channels and renumbering,
// the factory, the user-defined object and the message journal.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>

#include "Changelogobject.h"
#include "Configmanager.h"
#include "Userobject.h"
#include "actions.h"
#include "model_fixture.h"
#include "sysutils.h"

namespace {

std::vector<TObjectItem*> ObjectList(configmanager& c) {
    std::vector<TObjectItem*> v;
    for (ELEM* e = c.Objects.Oldest; e; e = e->Newer)
        v.push_back(static_cast<TObjectItem*>(e));
    return v;
}

TEST(ParamTypes, TablesAndMultipliers) {
    struct Case {
        int code;
        const char* longName;
        const char* shortName;
        const char* multiplier;
    } cases[] = {
        {0, "Неизвестный", "???", "1"},
        {8, "Токовая нагрузка", "I", "0.1"},
        {13, "Коэффициент мощности", "PF", "0.001"},
        {14, "Частота", "F", "0.01"},
        {20, "Энергия активная по тарифам", "EAT", "1"},
        {26, "Переключатель (8bit)", "ТС", "1"},
    };
    char saved = DecimalSeparator;
    DecimalSeparator = '.';
    for (const Case& c : cases) {
        EXPECT_STREQ(ParamTypeNames[c.code], c.longName);
        EXPECT_STREQ(ParamTypeShortNames[c.code], c.shortName);
        EXPECT_EQ(ParamTypeMultiplierText(c.code), c.multiplier) << c.code;
    }
    EXPECT_EQ(ParamTypeMultiplierText(27), "1");
    DecimalSeparator = ',';
    EXPECT_EQ(ParamTypeMultiplierText(13), "0,001");
    DecimalSeparator = saved;
}

TEST(PeriodCodes, TextBothWays) {
    struct Case {
        uint8_t code;
        const char* text;
    } cases[] = {{0, "нет опроса"}, {255, "непрерывно"}, {0x85, "5 h"},
                 {0x45, "5 m"},     {0x05, "5 s"},       {0xBF, "63 h"}};
    for (const Case& c : cases) {
        EXPECT_EQ(PeriodText(c.code), c.text);
        EXPECT_EQ(PeriodFromText(c.text), std::optional<uint8_t>(c.code)) << c.text;
    }
    EXPECT_EQ(PeriodFromText("abc s"), std::optional<uint8_t>(1));
    EXPECT_EQ(PeriodFromText("x m"), std::optional<uint8_t>(0x41));
    // A count of 0 is added into the byte as any other: "0 s" is code 0, no period.
    EXPECT_EQ(PeriodFromText("0 s"), std::optional<uint8_t>(0));
    EXPECT_EQ(PeriodFromText("0 m"), std::optional<uint8_t>(0x40));
}

// The old editor added any count into the byte: 127 h became 0xFE, 64 s became "1 m".
TEST(PeriodCodes, CountsOutsideZeroTo63AreRefused) {
    for (const char* text : {"127 h", "64 s", "100 m", "-1 s", "99999999999 s", "99999999999999999999 h"}) {
        TPeriodRefusal refused;
        EXPECT_FALSE(PeriodFromText(text, &refused).has_value()) << text;
        EXPECT_EQ(refused.Text, std::string(text).substr(0, std::string(text).find(' '))) << text;
        EXPECT_FALSE(refused.NoUnit) << text;
    }
    TObjectItem o(7);
    o.Period = 0x45;
    o.ApplyPeriodText("64 s");
    EXPECT_EQ(o.Period, 0x45);
    uint8_t exec = 1, period = 0x45;
    EXPECT_FALSE(CommandModeFromText("Выполнять (T=70 m)", exec, period));
    EXPECT_EQ(period, 0x45);
}

// A number with no unit letter names no period: refused, where a text with no digit is not a period
// (the object keeps its own) or a command not executed.
TEST(PeriodCodes, ANumberWithNoUnitIsRefused) {
    TPeriodRefusal refused;
    EXPECT_FALSE(PeriodFromText(" 19999 ", &refused).has_value());
    EXPECT_EQ(refused.Text, "19999");
    EXPECT_TRUE(refused.NoUnit);
    refused = {};
    EXPECT_FALSE(PeriodFromText("abc", &refused).has_value());
    EXPECT_TRUE(refused.Text.empty());
    uint8_t exec = 1, period = 0x45;
    EXPECT_FALSE(CommandModeFromText("Выполнять (T=12)", exec, period, &refused));
    EXPECT_EQ(refused.Text, "12");
    EXPECT_TRUE(refused.NoUnit);
    EXPECT_EQ(std::make_pair(exec, period), std::make_pair(uint8_t{1}, uint8_t{0x45}));
    EXPECT_TRUE(CommandModeFromText("Выполнять (T=?)", exec, period, &refused));
    EXPECT_EQ(std::make_pair(exec, period), std::make_pair(uint8_t{0}, uint8_t{0}));
}

TEST(CommandModes, TextAndApply) {
    struct Case {
        const char* text;
        uint8_t exec, period;
        const char* readBack;
    } cases[] = {
        {"Выполнять", 1, 0, "Выполнять"},
        {"Выполнять при каждом сеансе", 1, 255, "Выполнять при каждом сеансе"},
        {"Выполнять (T=5 m)", 1, 0x45, "Выполнять (T=5 m)"},
        {"Выполнять (T=2 h)", 1, 0x82, "Выполнять (T=2 h)"},
        {"Выполнять (T=?)", 0, 0, "Не выполнять"},
        {"Не выполнять", 0, 0, "Не выполнять"},
    };
    for (const Case& c : cases) {
        uint8_t exec = 7, period = 7;
        EXPECT_TRUE(CommandModeFromText(c.text, exec, period));
        EXPECT_EQ(exec, c.exec) << c.text;
        EXPECT_EQ(period, c.period) << c.text;
        EXPECT_EQ(CommandModeText(exec, period), c.readBack);
    }
    EXPECT_EQ(CommandModeText(0, 0x45), "Не выполнять");
}

TEST(ObjectItem, BaseRowsAndSetpoints) {
    struct TwoSetpoints : TObjectItem {
        using TObjectItem::TObjectItem;
        int GetSetpointCount(TParamItem*) override { return 2; }
        void GetSetpointValueText(TParamItem*, int n, std::string& out) override { out = "v" + IntToStr(n); }
    } o(1234);
    o.Period = 0x85;
    TStringList s;
    o.GetPropertyNames(&s);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"Идентификатор", "Период опроса"}));
    std::string text = "keep";
    o.GetPropertyText(0, text);
    EXPECT_EQ(text, "1234");
    o.GetPropertyText(1, text);
    EXPECT_EQ(text, "5 h");
    text = "keep";
    o.GetPropertyText(5, text);
    EXPECT_EQ(text, "keep");
    TParamItem p;
    o.ListSetpoints(&s, &p);
    EXPECT_EQ(Lines(s), (std::vector<std::string>{"Уставка1", "Уставка2"}));
    o.GetSetpointText(2, &p, text);
    EXPECT_EQ(text, "v2");
    o.GetSetpointText(3, &p, text);
    EXPECT_EQ(text, "");
}

// Widening keeps the bytes and fills the new ones; the width is only a count, so narrowing and
// widening again brings back what was there, and a RAM-depth fill covers bytes past the width too.
TEST(ChannelValue, FollowsWidthChanges) {
    TParamItem p;
    const TParamItem& cp = p;
    EXPECT_EQ(p.ValueBytes(), 0);
    p.SetBitWidth(16);
    p.Value[0] = 0x11;
    p.Value[1] = 0x22;
    p.SetBitWidth(200);
    ASSERT_EQ(p.ValueBytes(), 25);
    EXPECT_EQ(p.Value.data()[0], 0x11);
    EXPECT_EQ(p.Value.data()[1], 0x22);
    for (int i = 2; i < 25; ++i)
        EXPECT_EQ(p.Value.data()[i], 0) << i;
    p.Value[24] = 0x33;
    p.SetBitWidth(8);
    EXPECT_EQ(p.ValueBytes(), 1);
    EXPECT_EQ(cp.Value[1], 0x22);
    p.SetBitWidth(200);
    EXPECT_EQ(p.Value.data()[1], 0x22);
    EXPECT_EQ(p.Value.data()[24], 0x33);

    p.SetBitWidth(9);
    p.SetRamDepth(2);
    EXPECT_EQ(p.Value.data()[1], 0xFF);
    p.SetBitWidth(2048);
    ASSERT_EQ(p.ValueBytes(), 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(p.Value.data()[i], 0xFF) << i;
    p.SetBitWidth(4000);
    EXPECT_EQ(p.BitWidth(), 4000);
    EXPECT_EQ(p.ValueBytes(), 256);
    p.SetRamDepth(0);
    p.SetBitWidth(8);
    EXPECT_EQ(cp.Value[255], 0x00);
}

// Random width changes, writes at any offset, fills, table copies and channel copies against a plain
// 256-byte buffer, which is what the value replaced.
TEST(ChannelValue, BehavesAsTheFixedBuffer) {
    struct Model {
        std::unique_ptr<TParamItem> item = std::make_unique<TParamItem>();
        uint8_t bytes[kParamValueSize] = {};
        uint16_t bits = 0;
    };
    Model m[2];
    std::mt19937 rnd(7);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    const uint16_t widths[] = {0, 1, 7, 8, 9, 63, 64, 65, 100, 512, 2047, 2048, 2049, 65535};
    for (int step = 0; step < 20000; ++step) {
        Model& a = m[pick(2)];
        Model& b = &a == &m[0] ? m[1] : m[0];
        switch (pick(7)) {
        case 0:
            a.bits = pick(2) ? widths[pick(std::size(widths))] : static_cast<uint16_t>(pick(300));
            a.item->SetBitWidth(a.bits);
            break;
        case 1: {
            // Mostly inside the width, now and then past it as device objects do.
            int limit = pick(4) ? std::max(a.item->ValueBytes(), 1) : kParamValueSize;
            int i = pick(limit);
            uint8_t v = static_cast<uint8_t>(rnd());
            a.item->Value[i] = v;
            a.bytes[i] = v;
            break;
        }
        case 2: {
            uint8_t depth = static_cast<uint8_t>(pick(3));
            if (depth != a.item->RamDepth)
                std::memset(a.bytes, depth ? 0xFF : 0x00, sizeof a.bytes);
            a.item->SetRamDepth(depth);
            break;
        }
        case 3: {
            // A table row: some bytes, then a tail of zeros or of the fill, as the device tables hold.
            uint8_t src[kParamValueSize];
            int n = pick(kParamValueSize + 1), used = pick(n + 1);
            uint8_t tail = pick(2) ? 0x00 : 0xFF;
            for (int i = 0; i < n; ++i)
                src[i] = i < used ? static_cast<uint8_t>(rnd()) : tail;
            a.item->Value.Assign(src, n);
            std::memcpy(a.bytes, src, static_cast<size_t>(n));
            break;
        }
        case 4:
            *a.item = *b.item;
            std::memcpy(a.bytes, b.bytes, sizeof a.bytes);
            a.bits = b.bits;
            break;
        case 5: {
            TParamItem copy(*b.item);
            *a.item = copy;
            std::memcpy(a.bytes, b.bytes, sizeof a.bytes);
            a.bits = b.bits;
            break;
        }
        case 6: // storage only grows, so start afresh now and then
            a = Model();
            break;
        }
        for (const Model& x : m) {
            const TParamItem& p = *x.item; // reads only: a read must not store anything
            ASSERT_EQ(p.BitWidth(), x.bits) << step;
            ASSERT_EQ(p.ValueBytes(), std::min((x.bits + 7) / 8, kParamValueSize)) << step;
            ASSERT_EQ(0, std::memcmp(p.Value.data(), x.bytes, static_cast<size_t>(p.ValueBytes()))) << step;
            uint8_t all[kParamValueSize];
            for (int i = 0; i < kParamValueSize; ++i)
                all[i] = p.Value[i];
            ASSERT_EQ(0, std::memcmp(all, x.bytes, sizeof all)) << step;
        }
    }
}

// The edit-done closure behaves as the TNotifyEvent it stands for: set, raised, copied, cleared.
TEST(Channel, EditDoneClosure) {
    TParamItem p;
    EXPECT_FALSE(p.OnEditDone);
    EXPECT_THROW(p.OnEditDone(nullptr), std::bad_function_call);
    int raised = 0;
    TObject sender;
    TObject* seen = nullptr;
    p.OnEditDone = [&](TObject* s) {
        ++raised;
        seen = s;
    };
    ASSERT_TRUE(p.OnEditDone);
    p.OnEditDone(&sender);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(seen, &sender);

    TParamItem copy(p);
    p.OnEditDone = TNotifyEvent();
    EXPECT_FALSE(p.OnEditDone);
    ASSERT_TRUE(copy.OnEditDone);
    copy.OnEditDone(nullptr);
    EXPECT_EQ(raised, 2);
    p = copy;
    copy.OnEditDone = nullptr;
    EXPECT_FALSE(copy.OnEditDone);
    ASSERT_TRUE(p.OnEditDone);
    p.OnEditDone(nullptr);
    EXPECT_EQ(raised, 3);
}

TEST(Manager, NewConfiguration) {
    configmanager c;
    EXPECT_EQ(c.Channels.Count, 10u);
    EXPECT_EQ(c.Objects.Count, 0u);
    EXPECT_EQ(c.Actions->Count(), 0u);
    EXPECT_EQ(c.VersionWord(), 0x0201);
    TStringList types;
    c.ListChannelTypes(&types);
    EXPECT_EQ(Lines(types), (std::vector<std::string>{"65534", "65535"}));
    TParamItem* last = c.BuiltIn[9];
    EXPECT_EQ(last->Name, "Версия БД");
    EXPECT_EQ(last->ValueEditable, 0);
    EXPECT_EQ(last->Value[0], 2);
    EXPECT_EQ(last->Value[1], 1);
    EXPECT_EQ(c.BuiltIn[4]->Value[0], 0xC0);
    EXPECT_EQ(c.BuiltIn[4]->Value[1], 0x12);
    EXPECT_EQ(PadNumber(123456, 5), "123456");
    EXPECT_EQ(PadNumber(5, 5), "00005");
}

// The type list against a plain set of the types in use: channels of random types (0 among them,
// never listed), into an empty list, a list holding old texts and a sorted list.
TEST(Manager, ChannelTypesAreTheDistinctTypesInUseInAscendingOrder) {
    const uint16_t pool[] = {0, 1, 2, 9, 10, 99, 100, 255, 256, 1000, 9999, 10000, 65534, 65535};
    std::mt19937 random(7);
    for (int channels : {0, 1, 50, 5000}) {
        SCOPED_TRACE(channels);
        configmanager c;
        std::set<uint16_t> used{0xFFFE, 0xFFFF};
        for (int i = 0; i < channels; ++i) {
            uint16_t type = pool[random() % std::size(pool)];
            c.NewChannel(type, uint8_t(1 + i % 255));
            if (type != 0)
                used.insert(type);
        }
        std::vector<std::string> expected;
        for (uint16_t type : used)
            expected.push_back(PadNumber(type, 5));
        TStringList fresh, old, sorted;
        old.Add("00007");
        sorted.SetSorted(true);
        for (TStringList* list : {&fresh, &old, &sorted}) {
            c.ListChannelTypes(list);
            EXPECT_EQ(Lines(*list), expected);
        }
    }
}

TEST(Manager, SubprogramIdsNeverWrapToZero) {
    configmanager c;
    ASSERT_TRUE(c.CreateSubprogramWithId(0xFFFF));
    T_Action* a = c.CreateSubprogram("next");
    ASSERT_TRUE(a);
    EXPECT_NE(a->Id(), 0);
    EXPECT_EQ(c.CreateSubprogramWithId(0), nullptr);
}

TEST(Manager, ChannelsOfTypeOrder) {
    configmanager c;
    c.NewChannel(5, 0);
    TParamItem* a = c.NewChannel(5, 3);
    TParamItem* b = c.NewChannel(5, 1);
    TParamItem* d = c.NewChannel(5, 2);
    ELEMList out;
    c.GetChannelsOfType(&out, 5);
    std::vector<TParamItem*> ascending;
    for (ELEM* e = out.Newest; e; e = e->Older)
        ascending.push_back(static_cast<TParamItemP*>(e)->Item);
    EXPECT_EQ(ascending, (std::vector<TParamItem*>{b, d, a}));
    while (ELEM* e = out.Newest) {
        out.Remove(e);
        delete static_cast<TParamItemP*>(e);
    }
}

// Three measured channels of type 2 owned by objects 1000..1002.
struct Renumbering : ::testing::Test {
    configmanager c;
    TObjectItem o0{1000}, o1{1001}, o2{1002};
    TParamItem* p[3] = {};
    void SetUp() override {
        TObjectItem* owners[3] = {&o0, &o1, &o2};
        for (int i = 0; i < 3; ++i) {
            p[i] = c.NewChannel(2, static_cast<uint8_t>(i + 1));
            p[i]->Kind = kChannelMeasured;
            p[i]->ParamType = 8;
            p[i]->Owner = owners[i];
        }
    }
    std::vector<int> Indexes() { return {p[0]->ChannelIndex, p[1]->ChannelIndex, p[2]->ChannelIndex}; }
};

TEST_F(Renumbering, HigherTypeMovesToTheEnd) {
    p[0]->ParamType = 9;
    p[0]->RaiseChanged();
    EXPECT_EQ(Indexes(), (std::vector<int>{3, 1, 2}));
}

TEST_F(Renumbering, NotDuringLoadOrInOldFormats) {
    c.Loading = 1;
    p[0]->ParamType = 9;
    p[0]->RaiseChanged();
    EXPECT_EQ(Indexes(), (std::vector<int>{1, 2, 3}));
    c.Loading = 0;
    c.VersionMinor = 0;
    p[0]->RaiseChanged();
    p[1]->RaiseRebind();
    EXPECT_EQ(Indexes(), (std::vector<int>{1, 2, 3}));
}

TEST_F(Renumbering, RebindClosesTheGapEvenDuringLoad) {
    c.Loading = 1;
    p[1]->RaiseRebind();
    EXPECT_EQ(Indexes(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(p[1]->ChannelType, 0);
}

// The old hooks called BindParam through the owner pointer even when the owner was gone.
TEST_F(Renumbering, ChannelsWithoutLiveOwnerAreMovedDirectly) {
    // None of the three owners is an object of the configuration, so none may be called.
    p[0]->ParamType = 9;
    p[0]->RaiseChanged();
    EXPECT_EQ(Indexes(), (std::vector<int>{3, 1, 2}));
    p[1]->Owner = nullptr;
    p[1]->RaiseRebind();
    EXPECT_EQ(Indexes(), (std::vector<int>{2, 0, 1}));
}

struct Factory : ::testing::Test {
    void SetUp() override { RegisterTestDevice(); }
    void TearDown() override { UnregisterTestDevice(); }
};

TEST_F(Factory, MenuAndTableAgree) {
    configmanager c;
    TStringList menu;
    c.FillObjectTypeList(&menu);
    ASSERT_EQ(menu.Count(), 55);
    int code = 0, separators = 0;
    for (int i = 0; i < menu.Count(); ++i)
        menu.Strings(i) == "-" ? ++separators : ++code;
    EXPECT_EQ(code, 45);
    EXPECT_EQ(separators, 10);
    std::set<std::string> tags;
    for (const TDeviceType& t : DeviceTypeTable)
        tags.insert(t.Tag);
    EXPECT_EQ(tags.size(), 45u);
    EXPECT_EQ(FindDeviceTypeByTag("USEROBJ"), nullptr);
    EXPECT_EQ(FindDeviceTypeByTag("mer230"), nullptr);
}

// Each type that has a class keeps its own object counter, at the index it has always had.
TEST_F(Factory, EveryCreatableTypeKeepsItsCounter) {
    const std::vector<int> expected = {0,  1,  2,  3,  4,  -1, 5,  6,  7,  8,  9,  10, 11, 12, 13,
                                       14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                                       29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43};
    std::vector<int> got;
    for (int code = 1; code <= kDeviceTypeCount; ++code)
        got.push_back(ObjectCounterIndex(FindDeviceTypeByCode(code)));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(ObjectCounterIndex(nullptr), -1);
}

TEST_F(Factory, NumbersOnceRuleAndMissingClasses) {
    configmanager c;
    TObjectItem* m1 = c.AddObject(38);
    TObjectItem* m2 = c.AddObject(38);
    ASSERT_TRUE(m1 && m2);
    EXPECT_EQ(m1->Number, 1000);
    EXPECT_EQ(m2->Number, 1001);
    TObjectItem* log = c.AddObject(2);
    ASSERT_TRUE(log);
    EXPECT_EQ(c.AddObject(2), nullptr);
    EXPECT_EQ(ObjectList(c), (std::vector<TObjectItem*>{log, m1, m2}));
    c.DeleteObject(m1);
    EXPECT_EQ(m2->Number, 1000);
    TObjectItem* m3 = c.AddObject(38);
    EXPECT_EQ(m3->Number, 1001);
    // No class registered for these: nothing is made and no counter moves.
    for (int code : {0, 3, 6, 46})
        EXPECT_EQ(c.AddObject(code), nullptr) << code;
    int sum = 0;
    for (int n : c.Counters)
        sum += n;
    EXPECT_EQ(sum, 3);
}

TEST_F(Factory, RenumberingOrdersByOwnerNumberThroughTheOwners) {
    configmanager c;
    TestDevice* d[3];
    for (int i = 0; i < 3; ++i) {
        d[i] = static_cast<TestDevice*>(c.AddObject(38));
        d[i]->Param = c.NewChannel(2, static_cast<uint8_t>(3 - i)); // owners in reverse order
        d[i]->Param->Kind = kChannelSignal;
        d[i]->Param->Owner = d[i];
    }
    d[0]->Param->RaiseChanged();
    EXPECT_EQ(d[0]->Param->ChannelIndex, 1);
    EXPECT_EQ(d[1]->Param->ChannelIndex, 3);
    EXPECT_EQ(d[2]->Param->ChannelIndex, 2);
    EXPECT_GE(d[0]->BindCalls, 2);
    EXPECT_GE(d[1]->BindCalls, 1);
}

// Renumbering by tag let two user objects end on one number once one had its tag changed.
TEST_F(Factory, UserObjectsAreNumberedAsOneClass) {
    configmanager c;
    auto* a = static_cast<TUserObjItem*>(c.AddObject(1));
    auto* b = static_cast<TUserObjItem*>(c.AddObject(1));
    auto* d = static_cast<TUserObjItem*>(c.AddObject(1));
    EXPECT_EQ(a->Number, 10000);
    EXPECT_TRUE(b->ApplyTag("pump"));
    EXPECT_EQ(b->Tag, "PUMP");
    EXPECT_EQ(b->GetDisplayName(), "ID-10001 адрес PUMP");
    c.DeleteObject(a);
    EXPECT_EQ(b->Number, 10000);
    EXPECT_EQ(d->Number, 10001);
    TObjectItem* e = c.AddObject(1);
    EXPECT_EQ(e->Number, 10002);
    std::set<uint16_t> numbers;
    for (TObjectItem* o : ObjectList(c))
        numbers.insert(o->Number);
    EXPECT_EQ(numbers.size(), c.Objects.Count);
}

// A user tag equal to a device tag would reload as that device; an empty one as nothing.
TEST(UserObject, TagRules) {
    TUserObjItem u(10000, nullptr, nullptr);
    struct Case {
        const char* text;
        bool ok;
        const char* tag;
    } cases[] = {{"", false, "USEROBJ"},         {"   ", false, "USEROBJ"},
                 {"mer230", false, "USEROBJ"},   {"LOGBOOK", false, "USEROBJ"},
                 {"myDevice", true, "MYDEVICE"}, {"abcdefghijklmnop", true, "ABCDEFGHIJK"},
                 {"счётчик", true, "СЧЁТЧИК"}};
    for (const Case& c : cases) {
        u.Tag = "USEROBJ";
        EXPECT_EQ(u.ApplyTag(c.text), c.ok) << c.text;
        EXPECT_EQ(u.Tag, c.tag) << c.text;
    }
}

TEST(UserObject, CommandsAndRows) {
    actionManager store;
    T_Action* a = store.CreateAction("first");
    store.CreateActionWithId(40);
    TUserObjItem u(10000, nullptr, &store);
    std::string text;
    u.GetCommandModeText(0, text);
    EXPECT_EQ(text, "");
    ASSERT_TRUE(u.ApplyCommandCount("3"));
    u.CommandAt(2)->Prepare = 77;
    u.GetCommandModeText(0, text);
    EXPECT_EQ(text, "Не выбрана");
    u.GetCommandModeText(2, text);
    EXPECT_EQ(text, "");
    u.ApplySelectedCommandItem(3);
    u.ApplyCommandId(3, "12");
    u.GetCommandModeText(0, text);
    EXPECT_EQ(text, "Команда 3");
    u.GetCommandModeText(3, text);
    EXPECT_EQ(text, "12");
    ASSERT_TRUE(u.ApplyCommandCount("1"));
    ASSERT_EQ(u.CommandCount(), 1);
    EXPECT_EQ(u.CommandAt(0)->Prepare, 77);
    EXPECT_EQ(u.CommandAt(0)->Number, 1);
    EXPECT_EQ(u.Selected, u.CommandAt(0));
    EXPECT_FALSE(u.ApplyCommandCount("256"));
    u.ApplyMessageHandlerItem(2);
    EXPECT_EQ(u.MessageHandler, 40);
    u.GetPropertyText(3, text);
    EXPECT_EQ(text, "action40");
    u.ApplyMessageHandlerItem(1);
    EXPECT_EQ(u.MessageHandler, a->Id());
    u.ApplyMessageHandlerItem(0);
    u.GetPropertyText(3, text);
    EXPECT_EQ(text, "Нет");
}

struct Journal : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        std::filesystem::create_directories(dir.File("plugin/default"));
        for (const char* name : {"log_handleStateChange", "log_handleBoundes", "log_handleByteStateChange"})
            WriteBytes(dir.File(std::string("plugin/default/") + name + ".act"),
                       std::vector<uint8_t>{'1', ';', 'r', 'e', 't', ';'});
        SetPluginFolder(dir.File("plugin/"));
        CaptureMessages();
    }
    void TearDown() override {
        SetPluginFolder("");
        SetMessageBoxHandler(nullptr);
    }
};

TEST_F(Journal, NewJournalInEmptyConfiguration) {
    configmanager c;
    auto* log = static_cast<TChangeLogItem*>(c.AddObject(2));
    ASSERT_TRUE(log);
    EXPECT_EQ(log->Number, 3);
    EXPECT_EQ(c.Channels.Count, 10u + 128u); // the three settings are the built-in channels
    int records = 0;
    for (ELEM* e = c.Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == 13) {
            ++records;
            EXPECT_EQ(p->ChannelIndex, records);
            EXPECT_EQ(p->Owner, log);
            EXPECT_EQ(p->ValueEditable, 0);
            EXPECT_EQ(p->BitWidth(), 0); // a new record is stored with width 0
        }
    }
    EXPECT_EQ(records, 128);
    EXPECT_EQ(log->Settings[0], c.BuiltIn[6]);
    std::string text;
    for (int row = 1; row <= 3; ++row) {
        log->GetPropertyText(row, text);
        EXPECT_EQ(text, (std::vector<std::string>{"13", "128", "3"})[row - 1]);
    }
    for (uint16_t id : log->Handlers)
        EXPECT_TRUE(c.IsSubprogramDefined(id));
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(Journal, RecordFields) {
    configmanager c;
    auto* log = static_cast<TChangeLogItem*>(c.AddObject(2));
    TParamItem* rec = nullptr;
    for (ELEM* e = c.Channels.Oldest; e && !rec; e = e->Newer)
        if (static_cast<TParamItem*>(e)->ChannelType == 13)
            rec = static_cast<TParamItem*>(e);
    std::string text;
    EXPECT_FALSE(log->GetParamValueText(rec, text));
    EXPECT_EQ(text, "пустая запись");
    for (int n = 0; n < 6; ++n) {
        log->GetSetpointText(n, rec, text);
        EXPECT_EQ(text, "-");
    }
    const uint8_t bytes[11] = {5, 6, 7, 8, 0, 0, 0, 0, 0x4C, 0x04, 9};
    rec->Value.Assign(bytes, sizeof bytes);
    const char* expected[6] = {"5", "6", "1.1.1970 0:0:0", "7", "8", "1100:9"};
    for (int n = 0; n < 6; ++n) {
        log->GetSetpointText(n, rec, text);
        EXPECT_EQ(text, expected[n]);
    }
    // 2009-02-13 23:31:30 UTC
    const uint32_t t = 1234567890;
    for (int k = 0; k < 4; ++k)
        rec->Value[4 + k] = static_cast<uint8_t>(t >> 8 * k);
    log->GetSetpointText(2, rec, text);
    EXPECT_EQ(text, "13.2.2009 23:31:30");
    log->GetParamValueText(rec, text);
    EXPECT_EQ(text, "см. расшифровку");
}

TEST_F(Journal, LogIndexChange) {
    configmanager c;
    auto* log = static_cast<TChangeLogItem*>(c.AddObject(2));
    c.NewChannel(20, 1);
    EXPECT_FALSE(log->ApplyLogIndex("20"));
    EXPECT_FALSE(log->ApplyLogIndex("0"));
    EXPECT_EQ(log->LogIndex(), 13);
    EXPECT_TRUE(log->ApplyLogIndex("21"));
    EXPECT_EQ(log->LogIndex(), 21);
    ELEMList out;
    c.GetChannelsOfType(&out, 21);
    EXPECT_EQ(out.Count, 128u);
    while (ELEM* e = out.Newest) {
        out.Remove(e);
        delete static_cast<TParamItemP*>(e);
    }
}

TEST_F(Journal, MissingHandlerFileIsReported) {
    std::filesystem::remove(dir.File("plugin/default/log_handleBoundes.act"));
    configmanager c;
    auto* log = static_cast<TChangeLogItem*>(c.AddObject(2));
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_EQ(gMessages[0], "Файл не найден: log_handleBoundes.act");
    EXPECT_EQ(log->Handlers[1], 0);
    EXPECT_NE(log->Handlers[0], 0);
    EXPECT_EQ(c.Actions->Count(), 2u);
}

// A handler file that is there but does not assemble is not "not found": the user reads why.
TEST_F(Journal, HandlerFileThatDoesNotAssembleSaysWhy) {
    WriteBytes(dir.File("plugin/default/log_handleBoundes.act"),
               std::vector<uint8_t>{'1', ';', 'g', 'o', 't', 'o', 'z', ';'});
    configmanager c;
    auto* log = static_cast<TChangeLogItem*>(c.AddObject(2));
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_EQ(gMessages[0],
              "Не удалось открыть файл log_handleBoundes.act: Строка 1: '' - недопустимое целое значение");
    EXPECT_EQ(log->Handlers[1], 0);
    EXPECT_EQ(c.Actions->Count(), 2u);
}

// Deleting the journal left its 131 channels naming a freed object.
TEST_F(Journal, DeletingLeavesNoChannelPointingAtIt) {
    configmanager c;
    TObjectItem* log = c.AddObject(2);
    c.DeleteObject(log);
    EXPECT_EQ(c.Channels.Count, 10u + 128u);
    for (ELEM* e = c.Channels.Oldest; e; e = e->Newer)
        EXPECT_EQ(static_cast<TParamItem*>(e)->Owner, nullptr);
    EXPECT_NE(c.AddObject(2), nullptr); // the counter went back to 0
}

// Devices free their channels in their destructors; renumbering then must not call through objects
// already gone, also when the whole configuration goes.
TEST_F(Factory, DeviceDestructorRebindsOnlyLiveOwners) {
    auto c = std::make_unique<configmanager>();
    std::vector<TestDevice*> devices;
    for (int i = 0; i < 3; ++i) {
        auto* d = static_cast<TestDevice*>(c->AddObject(38));
        d->Param = c->NewChannel(2, static_cast<uint8_t>(i + 1));
        d->Param->Kind = kChannelMeasured;
        d->Param->Owner = d;
        devices.push_back(d);
    }
    c->DeleteObject(devices[0]);
    EXPECT_EQ(devices[1]->Param->ChannelIndex, 1);
    EXPECT_EQ(devices[2]->Param->ChannelIndex, 2);
    EXPECT_GE(devices[2]->BindCalls, 1);
    c.reset(); // the sanitizer build catches any call into a freed device
}

// A device whose settings channel sits at its number's low byte and follows the number.
struct SettingsDevice : TObjectItem {
    SettingsDevice(uint16_t number, ELEMList* channels) : TObjectItem(number), Channels(channels) {
        Tag = "SET4TM";
        Param = new TParamItem;
        Param->Name = "settings";
        Param->SetAddress(3000, Param->ChannelIndex);
        Param->Kind = kChannelSetting;
        Param->Owner = this;
        SetNumber(number);
        Channels->Append(Param);
    }
    ~SettingsDevice() override {
        Channels->Remove(Param);
        delete Param;
    }
    void SetNumber(uint16_t number) override {
        TObjectItem::SetNumber(number);
        Param->SetAddress(Param->ChannelType, static_cast<uint8_t>(number & 0xFF));
    }
    ELEMList* Channels;
    TParamItem* Param;
};

// Deleting an object renumbers the ones above it before it is freed: the address it still holds
// does not stop them, a channel anyone else holds does, and then nothing moves.
TEST_F(Factory, RenumberingNeverPutsTwoChannelsAtOneAddress) {
    RegisterDeviceClass("SET4TM", [](uint16_t number, ELEMList* channels, actionManager*) -> TObjectItem* {
        return new SettingsDevice(number, channels);
    });
    struct Case {
        const char* name;
        bool otherHolder; // a stored channel nobody adopted at the first object's address
        uint16_t number;  // of the second object afterwards
        size_t messages;
    };
    for (const Case& k : {Case{"only the dying object holds it", false, 2000, 0},
                          Case{"another channel holds it", true, 2001, 1}}) {
        SCOPED_TRACE(k.name);
        CaptureMessages();
        configmanager c;
        auto* a = static_cast<SettingsDevice*>(c.AddObject(39));
        auto* b = static_cast<SettingsDevice*>(c.AddObject(39));
        ASSERT_TRUE(a && b);
        const uint8_t first = a->Param->ChannelIndex;
        const uint8_t second = b->Param->ChannelIndex;
        if (k.otherHolder)
            c.NewChannel(3000, first);
        c.DeleteObject(a);
        EXPECT_EQ(b->Number, k.number);
        EXPECT_EQ(b->Param->ChannelIndex, k.otherHolder ? second : first);
        EXPECT_EQ(gMessages.size(), k.messages);
        std::set<uint32_t> addresses;
        size_t indexed = 0;
        for (ELEM* e = c.Channels.Oldest; e; e = e->Newer) {
            const auto* p = static_cast<TParamItem*>(e);
            if (p->ChannelIndex != 0) {
                ++indexed;
                addresses.insert(uint32_t{p->ChannelType} << 8 | p->ChannelIndex);
            }
        }
        EXPECT_EQ(addresses.size(), indexed);
    }
    SetMessageBoxHandler(nullptr);
    UnregisterDeviceClass("SET4TM");
}

// A device that binds a signal channel while it is being built: the new object's number already
// orders its channel among those of the objects in place.
struct SignalDevice : TObjectItem {
    SignalDevice(uint16_t number, ELEMList* channels) : TObjectItem(number), Channels(channels) {
        Tag = "SET4TM";
        Param = new TParamItem;
        Param->SetAddress(2, 200);
        Param->Kind = kChannelSignal;
        Param->ParamType = 3;
        Param->Ordinal = 1;
        Param->Owner = this;
        Channels->Append(Param);
        Param->RaiseChanged();
    }
    ~SignalDevice() override {
        Param->RaiseRebind();
        Channels->Remove(Param);
        delete Param;
    }
    ELEMList* Channels;
    TParamItem* Param;
};

TEST_F(Factory, ObjectUnderConstructionOrdersByItsNumber) {
    RegisterDeviceClass("SET4TM", [](uint16_t number, ELEMList* channels, actionManager*) -> TObjectItem* {
        return new SignalDevice(number, channels);
    });
    {
        configmanager c;
        auto* a = static_cast<SignalDevice*>(c.AddObject(39));
        auto* b = static_cast<SignalDevice*>(c.AddObject(39));
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->Number, 2000);
        EXPECT_EQ(b->Number, 2001);
        EXPECT_EQ(a->Param->ChannelIndex, 1);
        EXPECT_EQ(b->Param->ChannelIndex, 2);
    }
    UnregisterDeviceClass("SET4TM");
}

} // namespace
