// Typed numbers of the QBX objects are refused with a message when their field cannot hold them,
// never stored cut to their low bits: every numeric property row of every class, the cell
// controllers' address typed in the channel grid and in the property grid's editor, the QBX-540's
// analog coefficients and count, and the QBX-510's own rows.
#include "Qbx510object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "Qbx570object.h"
#include "fixture.h"
#include "editorhost.h"
#include "forms.h"
#include "numericrows.h"
#include "setpointrows.h"
#include "qbxregister.h"

using namespace qbx;
using namespace qbxtest;

namespace {

std::vector<const dev::TDeviceDef*> QbxDefs() {
    std::vector<const dev::TDeviceDef*> defs;
    for (const TQbxClass& c : QbxClasses())
        defs.push_back(c.Def);
    return defs;
}

using QbxNumericRow = devtest::NumericRowTest<QbxTest>;

TEST_P(QbxNumericRow, KeepsItsRangeAndRefusesOnePast) { CheckRow(); }

TEST_P(QbxNumericRow, TypedKeyByKeyKeepsItsRangeAndRefusesOnePastOnce) { CheckTypedRow(); }

INSTANTIATE_TEST_SUITE_P(Qbx, QbxNumericRow, ::testing::ValuesIn(devtest::NumericRows(QbxDefs())),
                         devtest::NumericRowName);

// Every set point the QBX objects list, typed as text and key by key: cut toward zero at the row's
// resolution from the typed digits, refused with one message past its two bytes.
using QbxSetpoints = devtest::SetpointRowTest<QbxTest>;

TEST_F(QbxSetpoints, TypedTextsStoreTheirDigitsCutTowardZero) { CheckTypedTexts(QbxDefs()); }

TEST_F(QbxSetpoints, EveryRawValueTypedAsShownStoresItself) { CheckEveryRawValue(QbxDefs()); }

TEST_F(QbxSetpoints, TypedKeyByKeyStoreTheirDigitsCutTowardZero) { CheckTypedKeyByKey(QbxDefs()); }

// The parameter names and address byte of a cell controller.
std::vector<std::string> Names(TDeviceEngine* o) {
    std::vector<std::string> names;
    for (int i = 0; i < o->ParamCount(); ++i)
        names.push_back(o->Param(i)->Name);
    return names;
}

struct GridAddressCase {
    const char* name;
    int code; // 7 the QBX-530, 8 the QBX-550
    const char* text;
    int stored; // -1: refused, the address stays 7
};

void PrintTo(const GridAddressCase& c, std::ostream* os) { *os << c.name; }

class CellGridAddress : public QbxTest, public ::testing::WithParamInterface<GridAddressCase> {};

// The channel grid's value cell of the address parameter; the QBX-550's names carry the address.
TEST_P(CellGridAddress, StoresABytesWorthOrRefusesWithAMessage) {
    const GridAddressCase& c = GetParam();
    auto* o = dynamic_cast<TQbxCellItem*>(cm->AddObject(c.code));
    ASSERT_NE(o, nullptr);
    TParamItem* address = o->Setting(dev::Role::Address);
    o->SetParamValueText(address, "7");
    const std::vector<std::string> names = Names(o);
    messages.clear();
    o->SetParamValueText(address, c.text);
    if (c.stored < 0) {
        EXPECT_EQ(address->Value[0], 7);
        EXPECT_EQ(Names(o), names);
        EXPECT_EQ(messages.size(), 1u);
        return;
    }
    EXPECT_EQ(address->Value[0], c.stored);
    EXPECT_TRUE(messages.empty());
    if (c.code == 8) {
        EXPECT_NE(o->Param(0)->Name.find("(адр." + std::to_string(c.stored) + ")"), std::string::npos);
    }
}

const GridAddressCase kGridAddresses[] = {
    {"Qbx530_0", 7, "0", 0},        {"Qbx530_255", 7, "255", 255},    {"Qbx530_256", 7, "256", -1},
    {"Qbx530_300", 7, "300", -1},   {"Qbx530_minus1", 7, "-1", -1},   {"Qbx550_0", 8, "0", 0},
    {"Qbx550_255", 8, "255", 255},  {"Qbx550_256", 8, "256", -1},     {"Qbx550_300", 8, "300", -1},
    {"Qbx550_minus1", 8, "-1", -1}, {"Qbx550_hex100", 8, "$100", -1},
};

INSTANTIATE_TEST_SUITE_P(Cells, CellGridAddress, ::testing::ValuesIn(kGridAddresses),
                         [](const auto& info) { return std::string(info.param.name); });

// The property grid's in-place editor, typed into as the user types.
class CellAddressEditor : public testsupport::WithApplication<QbxTest> {
protected:
    void SetUp() override {
        WithApplication::SetUp();
        host = std::make_unique<testsupport::EditorHost>();
    }
    void TearDown() override {
        host.reset();
        QbxTest::TearDown();
    }
    // Opens the row's editor, clears it, types `text` and ends the edit; returns what the row shows.
    std::string TypeInto(TObjectItem* o, int row, const std::string& text) {
        EXPECT_TRUE(host->TypeAndEnd(o->CreatePropertyEditor(row, host->Host(), nullptr, nullptr), text));
        return RowText(o, row);
    }
    std::unique_ptr<testsupport::EditorHost> host;
};

TEST_F(CellAddressEditor, TypedAddressPastAByteIsRefusedWithAMessage) {
    auto* o = Add<TQbx550Item>(8);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(TypeInto(o, 3, "7"), "7");
    messages.clear();
    EXPECT_EQ(TypeInto(o, 3, "-1"), "7");
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(o->Setting(dev::Role::Address)->Value[0], 7);
    messages.clear();
    EXPECT_EQ(TypeInto(o, 3, "255"), "255");
    EXPECT_TRUE(messages.empty());
}

// The QBX-570-МЩ1's register row names a channel address: one another channel holds is refused
// with one message, and the row and the value channel keep theirs.
TEST_F(CellAddressEditor, Mp1RegisterHeldByAnotherChannelIsRefusedOnce) {
    auto* o = Add<TQbx570mp1Item>(44);
    auto* other = Add<TQbx570mp1Item>(44);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(TypeInto(other, 4, "2000:3"), "2000:3");
    EXPECT_EQ(TypeInto(o, 4, "2000:4"), "2000:4");
    messages.clear();
    EXPECT_EQ(TypeInto(o, 4, "2000:3"), "2000:4");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("уже занят"), std::string::npos) << messages[0];
    EXPECT_TRUE(SameAddress(o->Param(1), 2000, 4));
    messages.clear();
    EXPECT_EQ(TypeInto(o, 4, "2000:4"), "2000:4"); // its own address again
    EXPECT_TRUE(messages.empty());
}

struct AnalogCase {
    const char* name;
    int row; // 0-3 multiplier, divider, addend, subtrahend
    const char* text;
    int stored; // -1: refused, the coefficient stays 9
};

void PrintTo(const AnalogCase& c, std::ostream* os) { *os << c.name; }

class Qbx540Analog : public QbxTest, public ::testing::WithParamInterface<AnalogCase> {};

TEST_P(Qbx540Analog, CoefficientFitsSixteenBitsOrIsRefused) {
    const AnalogCase& c = GetParam();
    auto* o = Add<TQbx540Item>(5);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(5, "1");
    TParamItem* value = o->Analog(0);
    ASSERT_NE(value, nullptr);
    o->ApplyAnalogValue(value, c.row, "9", -1);
    messages.clear();
    o->ApplyAnalogValue(value, c.row, c.text, -1);
    std::string text;
    o->GetSetpointText(c.row, value, text);
    EXPECT_EQ(text, std::to_string(c.stored < 0 ? 9 : c.stored));
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
}

const AnalogCase kAnalog[] = {
    {"Multiplier0", 0, "0", 0},          {"Multiplier65535", 0, "65535", 65535},
    {"Multiplier65536", 0, "65536", -1}, {"MultiplierMinus1", 0, "-1", -1},
    {"Divider65536", 1, "65536", -1},    {"Addend80000", 2, "80000", -1},
    {"SubtrahendMinus1", 3, "-1", -1},   {"Subtrahend65535", 3, "65535", 65535},
};

INSTANTIATE_TEST_SUITE_P(Qbx540, Qbx540Analog, ::testing::ValuesIn(kAnalog),
                         [](const auto& info) { return std::string(info.param.name); });

// The same coefficients typed key by key into the set point's in-place editor, the edit ended.
class Qbx540AnalogTyped : public testsupport::WithApplication<Qbx540Analog> {};

TEST_P(Qbx540AnalogTyped, CoefficientFitsSixteenBitsOrIsRefusedOnce) {
    const AnalogCase& c = GetParam();
    auto* o = Add<TQbx540Item>(5);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(5, "1");
    TParamItem* value = o->Analog(0);
    ASSERT_NE(value, nullptr);
    o->ApplyAnalogValue(value, c.row, "9", -1);
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    messages.clear();
    testsupport::EditorHost host;
    ASSERT_TRUE(
        host.TypeAndEnd(o->CreateSetpointEditor(value, c.row, host.Host(), nullptr, nullptr), c.text));
    std::string text;
    o->GetSetpointText(c.row, value, text);
    EXPECT_EQ(text, std::to_string(c.stored < 0 ? 9 : c.stored));
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
    if (c.stored < 0) {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Qbx540, Qbx540AnalogTyped, ::testing::ValuesIn(kAnalog),
                         [](const auto& info) { return std::string(info.param.name); });

// The analog count typed key by key: a count the edit ends on is applied once, so a refused one
// leaves every analog channel and its settings as they were, though the digits typed on the way
// read as a smaller count than the opening one.
class Qbx540CountTyped : public testsupport::WithApplication<QbxTest> {};

TEST_F(Qbx540CountTyped, ARefusedCountLeavesEveryAnalogChannelAndAFittingOneIsStored) {
    auto* o = Add<TQbx540Item>(5);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(5, "3");
    o->ApplyAnalogValue(o->Analog(2), 0, "7", -1);
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    messages.clear();
    testsupport::EditorHost host;
    ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(5, host.Host(), nullptr, nullptr), "12345678901"));
    EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
    EXPECT_EQ(messages.size(), 1u);
    messages.clear();
    ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(5, host.Host(), nullptr, nullptr), "4"));
    EXPECT_EQ(RowText(o, 5), "4");
    EXPECT_TRUE(messages.empty());
    std::string multiplier;
    o->GetSetpointText(0, o->Analog(2), multiplier);
    EXPECT_EQ(multiplier, "7");
}

struct Qbx510Case {
    const char* name;
    int row;
    const char* text;
    const char* shown; // what the row shows after; the row starts as the new object shows it
    bool refused;
};

void PrintTo(const Qbx510Case& c, std::ostream* os) { *os << c.name; }

class Qbx510Rows : public QbxTest, public ::testing::WithParamInterface<Qbx510Case> {};

TEST_P(Qbx510Rows, NumbersFitTheirBytesOrAreRefused) {
    const Qbx510Case& c = GetParam();
    auto* o = Add<TQbx510Item>(3);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(11, "Импульсный"); // gives row 13, the delay of ТУ-3
    const std::string before = RowText(o, c.row);
    messages.clear();
    o->ApplyPropertyValue(c.row, c.text);
    EXPECT_EQ(RowText(o, c.row), c.refused ? before : std::string(c.shown));
    EXPECT_EQ(messages.size(), c.refused ? 1u : 0u);
}

const Qbx510Case kQbx510[] = {
    {"Address255", 2, "255,255,255", "255,255,255", false},
    {"Address256", 2, "1,256,3", "", true},
    {"AddressMinus1", 2, "-1", "", true},
    {"Parent255", 3, "0,0,255", "0,0,255", false},
    {"Parent300", 3, "300", "", true},
    {"Net255", 4, "255", "255", false},
    {"Net256", 4, "256", "", true},
    {"NetMinus1", 4, "-1", "", true},
    {"Delay65535", 13, "65535", "65535", false},
    {"Delay65536", 13, "65536", "", true},
    {"DelayMinus1", 13, "-1", "", true},
};

INSTANTIATE_TEST_SUITE_P(Qbx510, Qbx510Rows, ::testing::ValuesIn(kQbx510),
                         [](const auto& info) { return std::string(info.param.name); });

// The same rows typed key by key into their in-place editors, the edit ended.
class Qbx510TypedRows : public testsupport::WithApplication<Qbx510Rows> {};

TEST_P(Qbx510TypedRows, NumbersFitTheirBytesOrAreRefusedOnce) {
    const Qbx510Case& c = GetParam();
    auto* o = Add<TQbx510Item>(3);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(11, "Импульсный");
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    messages.clear();
    testsupport::EditorHost host;
    ASSERT_TRUE(host.TypeAndEnd(o->CreatePropertyEditor(c.row, host.Host(), nullptr, nullptr), c.text));
    if (c.refused) {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
    } else {
        EXPECT_EQ(RowText(o, c.row), c.shown);
    }
    EXPECT_EQ(messages.size(), c.refused ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Qbx510, Qbx510TypedRows, ::testing::ValuesIn(kQbx510),
                         [](const auto& info) { return std::string(info.param.name); });

// A QBX-560 temperature set point typed key by key into its in-place editor, the edit ended: one past
// two bytes of tenths is refused once and leaves the object as it was; one that fits is stored.
struct Qbx560SetpointCase {
    const char* name;
    const char* text;
    int stored; // tenths; -1: refused, the set point keeps 123
};

void PrintTo(const Qbx560SetpointCase& c, std::ostream* os) { *os << c.name; }

class Qbx560TypedSetpoint : public testsupport::WithApplication<QbxTest>,
                            public ::testing::WithParamInterface<Qbx560SetpointCase> {};

TEST_P(Qbx560TypedSetpoint, FitsTwoBytesOrIsRefusedOnce) {
    const Qbx560SetpointCase& c = GetParam();
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    auto* o = Add<TQbx560Item>(9);
    ASSERT_NE(o, nullptr);
    o->BindParam(5, 7, o->Param(2));
    o->SetSetpointValue(o->Param(2), 0, "12.3");
    const std::vector<std::string> before = devtest::ConfigurationState(Channels(), o);
    messages.clear();
    {
        testsupport::EditorHost host;
        EXPECT_TRUE(
            host.TypeAndEnd(o->CreateSetpointEditor(o->Param(2), 0, host.Host(), nullptr, nullptr), c.text));
    }
    EXPECT_EQ(dev::GetU16(o->SetpointValue(2), 1), c.stored < 0 ? 123 : c.stored);
    EXPECT_EQ(messages.size(), c.stored < 0 ? 1u : 0u);
    if (c.stored < 0) {
        EXPECT_EQ(devtest::ConfigurationState(Channels(), o), before);
    }
    DecimalSeparator = saved;
}

const Qbx560SetpointCase kQbx560Setpoints[] = {
    {"Fits", "25.5", 255},
    {"PastTwoBytes", "6553.6", -1},
    {"ElevenDigits", "12345678901", -1},
};

INSTANTIATE_TEST_SUITE_P(Qbx560, Qbx560TypedSetpoint, ::testing::ValuesIn(kQbx560Setpoints),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
