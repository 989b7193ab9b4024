// Typed numbers of the meters: every numeric property row keeps its range and refuses one past it
// with a message; a set point past its two bytes is refused with a message; a change of the
// Mercury 230 current scale keeps the current set points in amperes, truncated toward zero, or is
// refused with a message when a set point would not fit.
#include "Meterobjects.h"
#include "devicekit.h"
#include "meterfixture.h"
#include "numericrows.h"
#include "setpointrows.h"

using namespace metertest;

namespace {

std::vector<const dev::TDeviceDef*> MeterDefs() {
    std::vector<const dev::TDeviceDef*> defs;
    for (const TMeterClass& c : MeterClasses())
        defs.push_back(c.Def);
    return defs;
}

using MeterNumericRow = devtest::NumericRowTest<MeterTest>;

TEST_P(MeterNumericRow, KeepsItsRangeAndRefusesOnePast) { CheckRow(); }

TEST_P(MeterNumericRow, TypedKeyByKeyKeepsItsRangeAndRefusesOnePastOnce) { CheckTypedRow(); }

INSTANTIATE_TEST_SUITE_P(Meters, MeterNumericRow, ::testing::ValuesIn(devtest::NumericRows(MeterDefs())),
                         devtest::NumericRowName);

// Every set point the meters list, typed as text and key by key: cut toward zero at the row's
// resolution from the typed digits, refused with one message past its two bytes.
using MeterSetpoints = devtest::SetpointRowTest<MeterTest>;

TEST_F(MeterSetpoints, TypedTextsStoreTheirDigitsCutTowardZero) { CheckTypedTexts(MeterDefs()); }

TEST_F(MeterSetpoints, EveryRawValueTypedAsShownStoresItself) { CheckEveryRawValue(MeterDefs()); }

TEST_F(MeterSetpoints, TypedKeyByKeyStoreTheirDigitsCutTowardZero) { CheckTypedKeyByKey(MeterDefs()); }

constexpr const char* kScaleRows[] = {"x0,001 А", "x0,01  А", "x0,1   А"}; // scale 1, 10, 100

struct RescaleCase {
    const char* name;
    int from; // item of kScaleRows
    int to;
    uint16_t raw;
    int after; // -1: refused
};

void PrintTo(const RescaleCase& c, std::ostream* os) { *os << c.name; }

class CurrentRescale : public MeterTest, public ::testing::WithParamInterface<RescaleCase> {};

// A change whose set points fit truncates them toward zero; one that a set point does not fit is
// refused with one message naming it, and the scale and every set point stay (after: -1).
TEST_P(CurrentRescale, TruncatesTowardZeroOrIsRefused) {
    const RescaleCase& c = GetParam();
    auto* o = dynamic_cast<TMercury230Item*>(Add(TMercury230Item::Def));
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(3, kScaleRows[c.from]);
    dev::SetU16(o->SetpointValue(0), 1, c.raw);
    dev::SetU16(o->SetpointValue(2), 3, c.raw);
    dev::SetU16(o->SetpointValue(1), 1, 7);
    messages.clear();
    o->ApplyPropertyValue(3, kScaleRows[c.to]);
    const bool refused = c.after < 0;
    EXPECT_EQ(RowText(o, 3), kScaleRows[refused ? c.from : c.to]);
    EXPECT_EQ(dev::GetU16(o->SetpointValue(0), 1), refused ? c.raw : c.after);
    EXPECT_EQ(dev::GetU16(o->SetpointValue(2), 3), refused ? c.raw : c.after);
    EXPECT_EQ(messages.size(), refused ? 1u : 0u);
    if (refused) {
        EXPECT_EQ(dev::GetU16(o->SetpointValue(1), 1), 7);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(o->Param(0)->Name), std::string::npos) << messages[0];
    }
}

const RescaleCase kRescales[] = {
    {"Raw1299To0_1", 0, 2, 1299, 12},
    {"Raw1250To0_1", 0, 2, 1250, 12},
    {"Raw99To0_1", 0, 2, 99, 0},
    {"Raw1299To0_01", 0, 1, 1299, 129},
    {"Raw65535To0_01", 0, 1, 65535, 6553},
    {"Raw19From0_01To0_1", 1, 2, 19, 1},
    {"Raw0To0_1", 0, 2, 0, 0},
    {"Raw12From0_1To0_001", 2, 0, 12, 1200},
    {"Raw655From0_1To0_001", 2, 0, 655, 65500},
    {"Raw656From0_1To0_001Refused", 2, 0, 656, -1},
    {"Raw6554From0_01To0_001Refused", 1, 0, 6554, -1},
    {"Raw65535From0_1To0_01Refused", 2, 1, 65535, -1},
};

INSTANTIATE_TEST_SUITE_P(Mercury, CurrentRescale, ::testing::ValuesIn(kRescales),
                         [](const auto& info) { return std::string(info.param.name); });

struct TypedSetpointCase {
    const char* name;
    int param; // 0 a phase current (thousandths at scale 1), 3 a voltage (tenths)
    const char* text;
    int stored; // -1: refused, the set point keeps 5
};

void PrintTo(const TypedSetpointCase& c, std::ostream* os) { *os << c.name; }

class MeterSetpoint : public MeterTest, public ::testing::WithParamInterface<TypedSetpointCase> {};

TEST_P(MeterSetpoint, FitsTwoBytesOrIsRefusedWithAMessage) {
    const TypedSetpointCase& c = GetParam();
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    auto* o = dynamic_cast<TMercury230Item*>(Add(TMercury230Item::Def));
    ASSERT_NE(o, nullptr);
    TParamItem* p = o->Param(c.param);
    o->BindParam(800, static_cast<uint8_t>(1 + c.param), p);
    dev::SetU16(o->SetpointValue(c.param), 1, 5);
    messages.clear();
    o->SetSetpointValue(p, 0, c.text);
    EXPECT_EQ(dev::GetU16(o->SetpointValue(c.param), 1), c.stored < 0 ? 5 : c.stored);
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
    DecimalSeparator = saved;
}

const TypedSetpointCase kSetpoints[] = {
    {"Current0", 0, "0", 0},
    {"CurrentHighest", 0, "65.535", 65535},
    {"CurrentPastHighest", 0, "65.536", -1},
    {"CurrentNegative", 0, "-0.001", -1},
    {"VoltageHighest", 3, "6553.5", 65535},
    {"VoltagePastHighest", 3, "7000", -1},
    {"VoltageNegative", 3, "-1", -1},
};

INSTANTIATE_TEST_SUITE_P(Mercury, MeterSetpoint, ::testing::ValuesIn(kSetpoints),
                         [](const auto& info) { return std::string(info.param.name); });

// The same set points typed key by key into their in-place editor, the edit ended.
class MeterSetpointTyped : public testsupport::WithApplication<MeterSetpoint> {};

TEST_P(MeterSetpointTyped, FitsTwoBytesOrIsRefusedOnce) {
    const TypedSetpointCase& c = GetParam();
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    auto* o = dynamic_cast<TMercury230Item*>(Add(TMercury230Item::Def));
    ASSERT_NE(o, nullptr);
    TParamItem* p = o->Param(c.param);
    o->BindParam(800, static_cast<uint8_t>(1 + c.param), p);
    dev::SetU16(o->SetpointValue(c.param), 1, 5);
    messages.clear();
    {
        testsupport::EditorHost host;
        EXPECT_TRUE(host.TypeAndEnd(o->CreateSetpointEditor(p, 0, host.Host(), nullptr, nullptr), c.text));
    }
    EXPECT_EQ(dev::GetU16(o->SetpointValue(c.param), 1), c.stored < 0 ? 5 : c.stored);
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
    DecimalSeparator = saved;
}

INSTANTIATE_TEST_SUITE_P(Mercury, MeterSetpointTyped, ::testing::ValuesIn(kSetpoints),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
