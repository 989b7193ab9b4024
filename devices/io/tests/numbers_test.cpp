// Typed numbers of the I/O objects are refused with a message when their field cannot hold them,
// never stored cut to their low bits: every numeric property row of the engine classes, the
// ADAM-4117's scaling coefficients and the УКПМ unit's byte rows and meter count.
#include <tuple>

#include "Ioobjects.h"
#include "Ukpmobject.h"
#include "iofixture.h"
#include "numericrows.h"

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
};

INSTANTIATE_TEST_SUITE_P(Adam, AdamCoefficient, ::testing::ValuesIn(kAdam),
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

} // namespace
