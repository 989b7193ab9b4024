// Typed numbers of the I/O objects are refused with a message when their field cannot hold them,
// never stored cut to their low bits: every numeric property row of the engine classes, the
// ADAM-4117's scaling coefficients and the УКПМ unit's byte rows and meter count.
#include <tuple>

#include "Ioobjects.h"
#include "Ukpmobject.h"
#include "iofixture.h"
#include "numericrows.h"
#include "setpointrows.h"

using namespace iotest;

namespace {

std::vector<const dev::TDeviceDef*> IoDefs() {
    std::vector<const dev::TDeviceDef*> defs;
    for (const TIoClass& c : IoClasses())
        defs.push_back(c.Def);
    return defs;
}

using IoNumericRow = devtest::NumericRowTest<IoTest>;

TEST_P(IoNumericRow, KeepsItsRangeAndRefusesOnePast) { CheckRow(); }

TEST_P(IoNumericRow, TypedKeyByKeyKeepsItsRangeAndRefusesOnePastOnce) { CheckTypedRow(); }

INSTANTIATE_TEST_SUITE_P(Io, IoNumericRow, ::testing::ValuesIn(devtest::NumericRows(IoDefs())),
                         devtest::NumericRowName);

// Every set point the I/O objects list, typed as text and key by key: cut toward zero at the row's
// resolution from the typed digits, refused with one message past its two bytes.
using IoSetpoints = devtest::SetpointRowTest<IoTest>;

TEST_F(IoSetpoints, TypedTextsStoreTheirDigitsCutTowardZero) { CheckTypedTexts(IoDefs()); }

TEST_F(IoSetpoints, EveryRawValueTypedAsShownStoresItself) { CheckEveryRawValue(IoDefs()); }

TEST_F(IoSetpoints, TypedKeyByKeyStoreTheirDigitsCutTowardZero) { CheckTypedKeyByKey(IoDefs()); }

struct NumberCase {
    const char* name;
    int row;
    const char* text;
    int stored; // -1: refused, the field keeps what it had
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class AdamCoefficient : public IoTest, public ::testing::WithParamInterface<NumberCase> {};

// Row 1-4: addend, subtrahend, multiplier, divisor, each 16 bits; a divisor of 0 is refused too.
TEST_P(AdamCoefficient, FitsSixteenBitsOrIsRefusedWithAMessage) {
    const NumberCase& c = GetParam();
    auto* o = dynamic_cast<TADAM4117Item*>(cm->AddObject(TADAM4117Item::Def.TypeCode));
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->ApplyScaling(4, c.row, "9", -1));
    const std::string record = ValueText(o, o->Param(TADAM4117Item::kScaling + 4));
    messages.clear();
    EXPECT_EQ(o->ApplyScaling(4, c.row, c.text, -1), c.stored >= 0);
    std::string text;
    o->GetSetpointText(c.row, o->Param(4), text);
    EXPECT_EQ(text, std::to_string(c.stored >= 0 ? c.stored : 9));
    EXPECT_EQ(messages.size(), c.stored >= 0 ? 0u : 1u);
    if (c.stored < 0) {
        EXPECT_EQ(ValueText(o, o->Param(TADAM4117Item::kScaling + 4)), record);
    }
}

const NumberCase kAdam[] = {
    {"Addend0", 1, "0", 0},
    {"Addend65535", 1, "65535", 65535},
    {"Addend65536", 1, "65536", -1},
    {"Addend80000", 1, "80000", -1},
    {"AddendMinus1", 1, "-1", -1},
    {"Subtrahend65535", 2, "65535", 65535},
    {"SubtrahendMinus1", 2, "-1", -1},
    {"Multiplier0", 3, "0", 0},
    {"Multiplier65536", 3, "65536", -1},
    {"Divisor1", 4, "1", 1},
    {"Divisor65535", 4, "65535", 65535},
    {"Divisor0", 4, "0", -1},
    {"Divisor65536", 4, "65536", -1},
    {"Divisor11Digits", 4, "12345678901", -1},
};

INSTANTIATE_TEST_SUITE_P(Adam, AdamCoefficient, ::testing::ValuesIn(kAdam),
                         [](const auto& info) { return std::string(info.param.name); });

// The same coefficients typed key by key into the set point's in-place editor, the edit ended.
class AdamCoefficientTyped : public testsupport::WithApplication<AdamCoefficient> {};

TEST_P(AdamCoefficientTyped, FitsSixteenBitsOrIsRefusedOnce) {
    const NumberCase& c = GetParam();
    auto* o = dynamic_cast<TADAM4117Item*>(cm->AddObject(TADAM4117Item::Def.TypeCode));
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->ApplyScaling(4, c.row, "9", -1));
    const std::string record = ValueText(o, o->Param(TADAM4117Item::kScaling + 4));
    messages.clear();
    testsupport::EditorHost host;
    ASSERT_TRUE(
        host.TypeAndEnd(o->CreateSetpointEditor(o->Param(4), c.row, host.Host(), nullptr, nullptr), c.text));
    std::string text;
    o->GetSetpointText(c.row, o->Param(4), text);
    EXPECT_EQ(text, std::to_string(c.stored >= 0 ? c.stored : 9));
    EXPECT_EQ(messages.size(), c.stored >= 0 ? 0u : 1u);
    if (c.stored < 0) {
        EXPECT_EQ(ValueText(o, o->Param(TADAM4117Item::kScaling + 4)), record);
    }
}

INSTANTIATE_TEST_SUITE_P(Adam, AdamCoefficientTyped, ::testing::ValuesIn(kAdam),
                         [](const auto& info) { return std::string(info.param.name); });

class UkpmByteRow : public IoTest, public ::testing::WithParamInterface<NumberCase> {};

// Row 2 the leader length, row 3 the network address: one byte each.
TEST_P(UkpmByteRow, FitsAByteOrIsRefusedWithAMessage) {
    const NumberCase& c = GetParam();
    auto* o = dynamic_cast<TUKPMItem*>(cm->AddObject(40));
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(c.row, "9");
    messages.clear();
    o->ApplyPropertyValue(c.row, c.text);
    EXPECT_EQ(RowText(o, c.row), std::to_string(c.stored >= 0 ? c.stored : 9));
    EXPECT_EQ(messages.size(), c.stored >= 0 ? 0u : 1u);
}

const NumberCase kUkpm[] = {
    {"Leader0", 2, "0", 0},        {"Leader255", 2, "255", 255}, {"Leader256", 2, "256", -1},
    {"Address255", 3, "255", 255}, {"Address300", 3, "300", -1}, {"AddressMinus1", 3, "-1", -1},
};

INSTANTIATE_TEST_SUITE_P(Ukpm, UkpmByteRow, ::testing::ValuesIn(kUkpm),
                         [](const auto& info) { return std::string(info.param.name); });

// The same rows typed key by key into their in-place editors, the edit ended.
class UkpmByteRowTyped : public testsupport::WithApplication<UkpmByteRow> {};

TEST_P(UkpmByteRowTyped, FitsAByteOrIsRefusedOnce) {
    const NumberCase& c = GetParam();
    auto* o = dynamic_cast<TUKPMItem*>(cm->AddObject(40));
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(c.row, "9");
    messages.clear();
    testsupport::EditorHost host;
    ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(c.row, host.Host(), nullptr, nullptr), c.text));
    EXPECT_EQ(RowText(o, c.row), std::to_string(c.stored >= 0 ? c.stored : 9));
    EXPECT_EQ(messages.size(), c.stored >= 0 ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Ukpm, UkpmByteRowTyped, ::testing::ValuesIn(kUkpm),
                         [](const auto& info) { return std::string(info.param.name); });

// The count at 0 Wh is 32 bits unsigned: a negative one is refused, not kept as its 32-bit pattern.
TEST_F(IoTest, UkpmMeterCountAtZeroIsUnsigned) {
    auto* o = dynamic_cast<TUKPMItem*>(cm->AddObject(40));
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tii, "1"));
    TParamItem* meter = o->ChannelsOf(TUKPMItem::Tii)[0];
    std::string text;
    for (const auto& [typed, ok, shown] :
         {std::tuple{"4294967295", true, "4294967295"}, std::tuple{"5", true, "5"},
          std::tuple{"-1", false, "5"}, std::tuple{"4294967296", false, "5"}}) {
        messages.clear();
        EXPECT_EQ(o->ApplyChannelSetting(meter, 2, typed, -1), ok) << typed;
        o->GetSetpointText(2, meter, text);
        EXPECT_EQ(text, shown) << typed;
        EXPECT_EQ(messages.size(), ok ? 0u : 1u) << typed;
    }
}

// The Радон Риц's set point typed key by key into its in-place editor, the edit ended: one past
// 65.535 M is refused once and leaves the object as it was; one that fits is stored.
class RadonTypedSetpoint : public testsupport::WithApplication<IoTest>,
                           public ::testing::WithParamInterface<NumberCase> {};

TEST_P(RadonTypedSetpoint, FitsOrIsRefusedOnce) {
    const NumberCase& c = GetParam();
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    auto* o = dynamic_cast<TRADONRITZItem*>(cm->AddObject(TRADONRITZItem::Def.TypeCode));
    ASSERT_NE(o, nullptr);
    TParamItem* channel = o->Param(0);
    o->SetSetpointValue(channel, c.row, "1.234");
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    const int handler = channel->WriteHandler;
    messages.clear();
    {
        testsupport::EditorHost host;
        EXPECT_TRUE(
            host.TypeAndEnd(o->CreateSetpointEditor(channel, c.row, host.Host(), nullptr, nullptr), c.text));
    }
    EXPECT_EQ(dev::GetU16(o->SetpointValues(), 1 + 2 * c.row), c.stored < 0 ? 1234 : c.stored);
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
    if (c.stored < 0) {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
        EXPECT_EQ(channel->WriteHandler, handler);
    }
    DecimalSeparator = saved;
}

const NumberCase kRadon[] = {
    {"Lower65535", 0, "65.535", 65535},
    {"Lower65536", 0, "65.536", -1},
    {"Upper70", 1, "70", -1},
    {"Upper11Digits", 1, "12345678901", -1},
};

INSTANTIATE_TEST_SUITE_P(Radon, RadonTypedSetpoint, ::testing::ValuesIn(kRadon),
                         [](const auto& info) { return std::string(info.param.name); });

// A УКПМ ТИИ channel's set-point rows typed key by key into their in-place editor, the edit ended:
// pulses/Wh of two bytes each (row 0), the count at 0 Wh of four (row 2).
struct UkpmTiiCase {
    const char* name;
    int row;
    const char* text;
    const char* shown; // nullptr: refused, the channel kept as it was
};

void PrintTo(const UkpmTiiCase& c, std::ostream* os) { *os << c.name; }

class UkpmTiiTyped : public testsupport::WithApplication<IoTest>,
                     public ::testing::WithParamInterface<UkpmTiiCase> {};

TEST_P(UkpmTiiTyped, FitsOrIsRefusedOnce) {
    const UkpmTiiCase& c = GetParam();
    auto* o = dynamic_cast<TUKPMItem*>(cm->AddObject(40));
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tii, "1"));
    TParamItem* tii = o->ChannelsOf(TUKPMItem::Tii)[0];
    ASSERT_TRUE(o->ApplyChannelSetting(tii, 0, "1000/1", -1));
    ASSERT_TRUE(o->ApplyChannelSetting(tii, 2, "7", -1));
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    messages.clear();
    {
        testsupport::EditorHost host;
        EXPECT_TRUE(
            host.TypeAndEnd(o->CreateSetpointEditor(tii, c.row, host.Host(), nullptr, nullptr), c.text));
    }
    EXPECT_EQ(messages.size(), c.shown ? 0u : 1u);
    if (c.shown) {
        std::string text;
        o->GetSetpointText(c.row, tii, text);
        EXPECT_EQ(text, c.shown);
    } else {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
    }
}

const UkpmTiiCase kUkpmTii[] = {
    {"Pulses65535", 0, "65535/1", "65535/1"},
    {"Pulses65536", 0, "65536/1", nullptr},
    {"WattHours65536", 0, "1000/65536", nullptr},
    {"AtZero4294967295", 2, "4294967295", "4294967295"},
    {"AtZero4294967296", 2, "4294967296", nullptr},
    {"AtZero11Digits", 2, "12345678901", nullptr},
    // At 1000 pulses per Wh the maximum count of 32 bits holds 4294967 Wh.
    {"Maximum4294967", 1, "4294967", "4294967"},
    {"Maximum4294968", 1, "4294968", nullptr},
    {"Maximum11Digits", 1, "99999999999", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Ukpm, UkpmTiiTyped, ::testing::ValuesIn(kUkpmTii),
                         [](const auto& info) { return std::string(info.param.name); });

// A УКПМ ТС channel's control "G:N" typed key by key into its in-place editor, the edit ended: a group
// or number outside 1..8 is refused once and leaves the record and the channel as they were.
class UkpmControlTyped : public testsupport::WithApplication<IoTest>,
                         public ::testing::WithParamInterface<UkpmTiiCase> {};

TEST_P(UkpmControlTyped, FitsOrIsRefusedOnce) {
    const UkpmTiiCase& c = GetParam();
    auto* o = dynamic_cast<TUKPMItem*>(cm->AddObject(40));
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Ts, "2"));
    TParamItem* ts = o->ChannelsOf(TUKPMItem::Ts)[0];
    ASSERT_TRUE(o->ApplyChannelSetting(ts, 0, "1:1", -1));
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    const std::pair<int, int> channel{ts->ParamType, ts->ChangeHandler};
    messages.clear();
    {
        testsupport::EditorHost host;
        EXPECT_TRUE(host.TypeAndEnd(o->CreateSetpointEditor(ts, 0, host.Host(), nullptr, nullptr), c.text));
    }
    EXPECT_EQ(messages.size(), c.shown ? 0u : 1u);
    std::string text;
    o->GetSetpointText(0, ts, text);
    EXPECT_EQ(text, c.shown ? c.shown : "1:1");
    if (!c.shown) {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
        EXPECT_EQ(std::make_pair(static_cast<int>(ts->ParamType), static_cast<int>(ts->ChangeHandler)),
                  channel);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("\"Управление\": значение"), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("допустимы значения от 1 до 8."), std::string::npos) << messages[0];
    }
}

const UkpmTiiCase kUkpmControls[] = {
    {"Group8Number8", 0, "8:8", "8:8"},
    {"None", 0, "Нет", "Нет"},
    {"Number12", 0, "1:12", nullptr},
    {"Number19999", 0, "1:19999", nullptr},
    {"Group9", 0, "9:1", nullptr},
    {"Number0", 0, "1:0", nullptr},
    {"Number11Digits", 0, "1:99999999999", nullptr},
    {"NoColon", 0, "12", nullptr},
    {"ElevenDigitsNoColon", 0, "99999999999", nullptr},
    {"NumberNotANumber", 0, "1:x", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Ukpm, UkpmControlTyped, ::testing::ValuesIn(kUkpmControls),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
