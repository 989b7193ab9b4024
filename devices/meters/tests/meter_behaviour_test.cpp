// What the meters do with channels and typed texts: bindings and set points across a save and a
// load, two-phase destruction, set-point texts, the Mercury 230 current scale and password, the
// telecontrol codes of the "Знак+" controllers, the checks, and the mended faults.
#include <algorithm>
#include <filesystem>

#include "Meterobjects.h"
#include "forms.h"
#include "meterfixture.h"
#include "stdctrls.h"

using namespace metertest;

namespace {

// Where signal i is recorded.
dev::Address Entry(TDeviceEngine* o, int i) {
    int table = 0, offset = 0;
    EXPECT_TRUE(o->EntryOf(i, table, offset)) << i;
    return dev::GetEntry(o->Param(table), offset);
}

// The signal positions of a class: the first, the last, and one in between.
std::vector<int> SomeSignals(TDeviceEngine* o) {
    std::vector<int> all;
    for (int i = 0; i < o->ParamCount(); ++i)
        if (o->IsSignal(i))
            all.push_back(i);
    return {all.front(), all[all.size() / 2], all.back()};
}

class DecimalComma {
public:
    explicit DecimalComma(char c) : saved(DecimalSeparator) { DecimalSeparator = c; }
    ~DecimalComma() { DecimalSeparator = saved; }

private:
    char saved;
};

class MeterBehaviour : public MeterTest, public ::testing::WithParamInterface<TMeterClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
};

TEST_P(MeterBehaviour, BindingsSetPointsAndSettingsSurviveSaveAndLoad) {
    DecimalComma comma('.');
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "7");
    const std::vector<int> bound = SomeSignals(o);
    for (size_t k = 0; k < bound.size(); ++k)
        o->BindParam(static_cast<uint16_t>(3000 + k), static_cast<uint8_t>(10 + k), o->Param(bound[k]));
    auto* meter = dynamic_cast<TSetpointMeter*>(o);
    int sp = -1; // a value with set points, bound and switched on
    for (int i = 0; meter && i < o->ParamCount() && sp < 0; ++i)
        if (meter->SetpointOf(o->Param(i)) >= 0 && std::find(bound.begin(), bound.end(), i) == bound.end())
            sp = i;
    if (meter) {
        o->BindParam(3100, 20, o->Param(sp));
        o->SetSetpointValue(o->Param(sp), 1, "0.5");
    }
    const size_t channels = Channels().size();
    std::string limit;
    if (meter)
        o->GetSetpointValueText(o->Param(sp), 1, limit);
    SaveAndReload();

    std::vector<TDeviceEngine*> all = Objects(def.Tag());
    ASSERT_EQ(all.size(), 1u);
    o = all[0];
    EXPECT_EQ(Channels().size(), channels);
    EXPECT_EQ(RowText(o, 2), "7");
    for (size_t k = 0; k < bound.size(); ++k) {
        TParamItem* p = o->Param(bound[k]);
        EXPECT_TRUE(dev::SameAddress(p, static_cast<uint16_t>(3000 + k), static_cast<uint8_t>(10 + k)))
            << bound[k];
        EXPECT_EQ(Entry(o, bound[k]), dev::AddressOf(p));
    }
    for (int i = 0; i < o->ParamCount(); ++i)
        EXPECT_EQ(o->Param(i)->Owner, o) << i;
    if (meter) {
        meter = dynamic_cast<TSetpointMeter*>(o);
        const int k = meter->SetpointOf(o->Param(sp));
        EXPECT_TRUE(dev::SameAddress(meter->SetpointValue(k), 16, 20));
        EXPECT_TRUE(dev::SameAddress(meter->SetpointState(k), 17, 20));
        EXPECT_EQ(meter->SetpointValue(k)->Owner, o);
        std::string text;
        o->GetSetpointValueText(o->Param(sp), 1, text);
        EXPECT_EQ(text, limit);
        EXPECT_NE(o->Param(sp)->WriteHandler, 0);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(MeterBehaviour, DestructionRebindsWhileEveryChannelLives) {
    TDeviceEngine* o = nullptr;
    int rebinds = 0, tablesSeen = 0;
    // Set before the object is built: the list copies its hooks into every channel it takes. Like
    // the configuration's handler, it unbinds the channel, which writes its index-table entry.
    cm->Channels.OnRebind = [&](ELEM* e) {
        ++rebinds;
        o->BindParam(0, 0, static_cast<TParamItem*>(e));
        for (int i = 0; i < o->ParamCount(); ++i)
            tablesSeen += o->Param(i)->Name.empty() ? 0 : 1;
    };
    o = Add(def);
    ASSERT_NE(o, nullptr);
    int owned = 0;
    for (TParamItem* p : Channels())
        owned += p->Owner == o ? 1 : 0;
    // Signals recorded in tables that stand before them in the parameter order, too.
    for (int i : SomeSignals(o))
        o->BindParam(static_cast<uint16_t>(4400 + i), 1, o->Param(i));
    cm->DeleteObject(o);
    EXPECT_EQ(rebinds, owned);
    EXPECT_EQ(tablesSeen, owned * def.ParamCount());
    for (TParamItem* p : Channels())
        EXPECT_EQ(p->Owner, nullptr);
}

TEST_P(MeterBehaviour, MissingPluginFileLeavesTheSlotEmpty) {
    const dev::SubprogramDef& s = def.Subprograms.back();
    std::filesystem::remove(std::filesystem::path(root) / (s.folder ? s.folder : def.Folder) /
                            (std::string(s.name) + ".act"));
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(messages, (std::vector<std::string>{"Файл не найден: " + std::string(s.name) + ".act"}));
    EXPECT_EQ(o->SubprogramId(static_cast<int>(def.Subprograms.size()) - 1), 0);
    EXPECT_EQ(cm->Actions->FindOrCreate(s.name, 0, 0), 0);
}

TEST_P(MeterBehaviour, SeveralObjectsOfTheTypeAndTheInstanceByteLimit) {
    for (int n = 1; n <= 255; ++n)
        ASSERT_NE(cm->AddObject(def.TypeCode), nullptr) << n;
    // The 256th would take the instance byte 0, where its settings would be read as nobody's.
    EXPECT_EQ(cm->AddObject(def.TypeCode), nullptr);
    EXPECT_EQ(Objects(def.Tag()).size(), 255u);
}

TEST_P(MeterBehaviour, AnObjectRepeatingAnotherInstanceByteIsRefused) {
    TObjectItem* o = cm->AddObject(def.TypeCode);
    ASSERT_NE(o, nullptr);
    // As a stored configuration may hold it: the next object would get the byte 2 again. The
    // configuration learns its objects' numbers as it adds or loads them.
    o->SetNumber(static_cast<uint16_t>(o->Number + 257));
    SaveAndReload();
    EXPECT_EQ(cm->AddObject(def.TypeCode), nullptr);
    EXPECT_EQ(Objects(def.Tag()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(All, MeterBehaviour,
                         ::testing::ValuesIn(MeterClasses().begin(), MeterClasses().end()), ClassName());

// ---- Set points ----

struct SetpointCase {
    const char* name;
    int param;        // of the SET-4TM
    const char* text; // typed as set point 1
    int raw;          // stored, or -1: unchanged
};

// The case's name: its typed text may be Cyrillic.
void PrintTo(const SetpointCase& c, std::ostream* os) { *os << c.name; }

class SetpointText : public MeterTest, public ::testing::WithParamInterface<SetpointCase> {};

TEST_P(SetpointText, StoresTheRawValueCutTowardZeroOrNothing) {
    const SetpointCase& c = GetParam();
    auto* o = dynamic_cast<TSet4TMItem*>(Add(TSet4TMItem::Def));
    ASSERT_NE(o, nullptr);
    TParamItem* p = o->Param(c.param);
    const int k = o->SetpointOf(p);
    ASSERT_GE(k, 0);
    dev::SetU16(o->SetpointValue(k), 1, 4321);
    for (char separator : {'.', ','}) {
        DecimalComma comma(separator);
        dev::SetU16(o->SetpointValue(k), 1, 4321);
        p->WriteHandler = 0;
        o->SetSetpointValue(p, 0, c.text);
        EXPECT_EQ(dev::GetU16(o->SetpointValue(k), 1), c.raw < 0 ? 4321 : c.raw) << separator;
        EXPECT_EQ(p->WriteHandler != 0, c.raw >= 0) << separator;
    }
}

const SetpointCase kSetpointCases[] = {
    {"VoltagePoint", 3, "12.5", 125},
    {"VoltageComma", 3, "12,5", 125},
    {"VoltageWithUnit", 3, "12,5 В", 125},
    {"VoltageUnitNoBlank", 3, "12.5В", 125},
    {"VoltageBlanks", 3, "  230 ", 2300},
    {"CurrentThousandthsExact", 0, "0.251", 251},
    {"CurrentCutTowardZero", 0, "0,0009", 0},
    {"PowerFactor", 12, "0.95", 950},
    {"ReactivePowerUnit", 9, "3,3 ВАр", 33},
    {"Largest", 3, "6553.5", 65535},
    {"TooLarge", 3, "6600", -1},
    {"Negative", 3, "-1", -1},
    {"NotANumber", 3, "abc", -1},
    {"NumberThenText", 3, "12abc", -1},
    {"Empty", 3, "", -1},
    {"OtherUnit", 3, "12 А", -1},
};

INSTANTIATE_TEST_SUITE_P(Set4tm, SetpointText, ::testing::ValuesIn(kSetpointCases),
                         [](const ::testing::TestParamInfo<SetpointCase>& info) { return info.param.name; });

TEST_F(MeterTest, SetpointTextsReadBackToTheSameValue) {
    auto* o = dynamic_cast<TKYAZNAKXItem*>(Add(TKYAZNAKXItem::Def));
    ASSERT_NE(o, nullptr);
    for (char separator : {'.', ','}) {
        DecimalComma comma(separator);
        for (int i : {7, 10, 17, 22, 26, 30}) {
            TParamItem* p = o->Param(i);
            const int k = o->SetpointOf(p);
            for (int raw : {0, 1, 999, 12345, 65535}) {
                dev::SetU16(o->SetpointValue(k), 3, static_cast<uint16_t>(raw));
                std::string text;
                o->GetSetpointValueText(p, 1, text);
                dev::SetU16(o->SetpointValue(k), 3, 7);
                o->SetSetpointValue(p, 1, text);
                EXPECT_EQ(dev::GetU16(o->SetpointValue(k), 3), raw) << i << " " << text;
            }
        }
    }
}

TEST_F(MeterTest, ZnakXSetPointsFollowTheirValue) {
    DecimalComma comma(',');
    auto* o = dynamic_cast<TKYAZNAKXItem*>(Add(TKYAZNAKXItem::Def));
    ASSERT_NE(o, nullptr);
    TParamItem* current = o->Param(7);
    o->BindParam(1234, 5, current);
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(0)));
    o->SetSetpointValue(current, 0, "12.5");
    EXPECT_EQ(dev::GetU16(o->SetpointValue(0), 1), 12500);
    EXPECT_EQ(current->WriteHandler, cm->Actions->FindOrCreate("log_handleBoundes", 0, 0));
    EXPECT_TRUE(dev::SameAddress(o->SetpointValue(0), 16, 5));
    EXPECT_TRUE(dev::SameAddress(o->SetpointState(0), 17, 5));
    std::string text;
    o->GetSetpointText(0, current, text);
    EXPECT_EQ(text, "12,500 А");
    o->BindParam(1234, 6, current);
    EXPECT_TRUE(dev::SameAddress(o->SetpointValue(0), 16, 6));
    o->SetSetpointValue(current, 0, "Нет");
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(0)));
    EXPECT_TRUE(dev::IsUnbound(o->SetpointState(0)));
    EXPECT_EQ(current->WriteHandler, 0);
    EXPECT_EQ(dev::GetU16(o->SetpointValue(0), 1), 12500);
    o->SetSetpointValue(current, 1, "1");
    o->BindParam(0, 0, current);
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(0)));
    // An unbound value keeps its set points unbound until it is bound.
    o->SetSetpointValue(current, 0, "2");
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(0)));
    o->BindParam(1234, 9, current);
    EXPECT_TRUE(dev::SameAddress(o->SetpointState(0), 17, 9));
    // Rows: the telecontrol row for inputs, two set points for values that have them, none else.
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(0)); }),
              (std::vector<std::string>{"Управление"}));
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, current); }),
              (std::vector<std::string>{"Уставка1", "Уставка2"}));
    EXPECT_TRUE(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(21)); }).empty());
    EXPECT_EQ(o->GetSetpointCount(o->Param(21)), 0);
}

TEST_F(MeterTest, SetPointsRefusedWhereAnotherChannelHoldsTheirAddress) {
    auto* o = dynamic_cast<TSet4TMItem*>(Add(TSet4TMItem::Def));
    ASSERT_NE(o, nullptr);
    o->BindParam(500, 3, o->Param(0));
    o->BindParam(501, 3, o->Param(1));
    o->SetSetpointValue(o->Param(0), 0, "1");
    EXPECT_TRUE(dev::SameAddress(o->SetpointValue(0), 16, 3));
    EXPECT_TRUE(messages.empty());
    o->SetSetpointValue(o->Param(1), 0, "2");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("16:3"), std::string::npos) << messages[0];
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(1)));
    EXPECT_EQ(dev::GetU16(o->SetpointValue(1), 1), 0);
    EXPECT_EQ(o->Param(1)->WriteHandler, 0);
    EXPECT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
}

// A held address is a problem of the configuration: while problems are collected (a load collects
// them) both refusals, of a binding and of set points, are listed there and no box is shown.
TEST_F(MeterTest, HeldAddressRefusalsGoToCollectedProblems) {
    auto* o = dynamic_cast<TSet4TMItem*>(Add(TSet4TMItem::Def));
    ASSERT_NE(o, nullptr);
    o->BindParam(500, 3, o->Param(0));
    o->BindParam(501, 3, o->Param(1));
    o->SetSetpointValue(o->Param(0), 0, "1");
    std::vector<std::string> problems;
    TProblemSink old =
        SetConfigurationProblemSink([&](const std::string& text) { problems.push_back(text); });
    o->SetSetpointValue(o->Param(1), 0, "2");
    o->BindParam(500, 3, o->Param(1));
    SetConfigurationProblemSink(std::move(old));
    EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(messages);
    const std::string held = "Адрес 16:3 уже занят каналом \"" + o->SetpointValue(0)->Name + "\". ";
    EXPECT_EQ(problems, (std::vector<std::string>{
                            held + "Уставки канала \"" + o->Param(1)->Name + "\" не включены.",
                            "Адрес 500:3 уже занят каналом \"" + o->Param(0)->Name + "\". Канал \"" +
                                o->Param(1)->Name + "\" не перепривязан.",
                        }));
    EXPECT_TRUE(dev::SameAddress(o->Param(1), 501, 3));
}

TEST_F(MeterTest, NewSet4tmChannelsInOrderWithTheirDefaults) {
    auto* o = dynamic_cast<TSet4TMItem*>(Add(TSet4TMItem::Def));
    ASSERT_NE(o, nullptr);
    std::vector<TParamItem*> own;
    for (TParamItem* p : Channels())
        if (p->Owner == o)
            own.push_back(p);
    std::vector<TParamItem*> expected;
    for (int i : {18, 19, 20, 21, 24, 30, 0,  1,  2,  3,  4,  5,  6,  7,  8, 9,
                  10, 11, 12, 13, 14, 15, 16, 17, 22, 23, 25, 26, 27, 28, 29})
        expected.push_back(o->Param(i));
    for (int k = 0; k < 15; ++k) {
        expected.push_back(o->SetpointValue(k));
        expected.push_back(o->SetpointState(k));
    }
    EXPECT_EQ(own, expected);
    const TParamItem* value = o->SetpointValue(0);
    EXPECT_EQ(value->Name, "СЭТ-4ТМ - Уставка: значение");
    EXPECT_EQ(value->BitWidth(), 40);
    EXPECT_EQ(value->Value[0], 2);
    EXPECT_EQ(value->Value[1], 0);
    const TParamItem* state = o->SetpointState(0);
    EXPECT_EQ(state->Name, "СЭТ-4ТМ - Уставка: состояние");
    EXPECT_EQ(state->BitWidth(), 8);
    EXPECT_EQ(state->Value[0], 0xFF);
    EXPECT_EQ(state->RamDepth, 1);
    EXPECT_EQ(value->Kind, 0);
    EXPECT_EQ(o->Param(0)->Value[1], 0xFF);
    EXPECT_EQ(o->Param(0)->RamDepth, 1);
    EXPECT_EQ(o->Param(18)->Value[1], 5); // meter constant
}

TEST_F(MeterTest, NewValueBytesOfTheOtherClasses) {
    TDeviceEngine* m = Add(TMercury230Item::Def);
    TDeviceEngine* ipc = Add(TIPCItem::Def);
    TDeviceEngine* x = Add(TKYAZNAKXItem::Def);
    ASSERT_TRUE(m && ipc && x);
    for (int b = 2; b < 8; ++b)
        EXPECT_EQ(m->Param(18)->Value[b], 1) << b; // the factory password 111111
    EXPECT_EQ(ipc->Param(6)->Value[0], 0);
    EXPECT_EQ(ipc->Param(0)->Value[0], 0);
    EXPECT_EQ(ipc->Param(6)->RamDepth, 0);
    // The (ИКС) values are undefined until polled though their bytes in use start at zero.
    EXPECT_EQ(x->Param(13)->RamDepth, 1);
    EXPECT_EQ(x->Param(13)->Value[3], 0);
}

TEST_F(MeterTest, Set4tmBindingWithoutSetPointsLeavesThemUnbound) {
    auto* o = dynamic_cast<TSet4TMItem*>(Add(TSet4TMItem::Def));
    ASSERT_NE(o, nullptr);
    o->BindParam(5, 7, o->Param(1));
    const TParamItem* table = o->Param(19);
    EXPECT_EQ(table->Value[3], 5);
    EXPECT_EQ(table->Value[4], 0);
    EXPECT_EQ(table->Value[5], 7);
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValue(1)));
    EXPECT_TRUE(dev::IsUnbound(o->SetpointState(1)));
}

// ---- Mercury 230 ----

class Mercury : public MeterTest {
protected:
    TMercury230Item* AddMercury() { return dynamic_cast<TMercury230Item*>(Add(TMercury230Item::Def)); }
    static std::string Setpoint(TObjectItem* o, TParamItem* p, int n) {
        std::string text;
        o->GetSetpointValueText(p, n, text);
        return text;
    }
};

TEST_F(Mercury, ScaleChangeKeepsTheCurrentLimitsOfEveryMercury) {
    DecimalComma comma(',');
    TMercury230Item* a = AddMercury();
    TMercury230Item* b = AddMercury();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetCurrentScale(), 1);
    b->BindParam(800, 1, b->Param(0)); // set points of an unbound value are not stored
    b->SetSetpointValue(b->Param(0), 0, "1,234");
    EXPECT_EQ(dev::GetU16(b->SetpointValue(0), 1), 1234);
    b->SetSetpointValue(b->Param(3), 0, "100");
    a->ApplyPropertyValue(3, "x0,1   А");
    EXPECT_EQ(a->GetCurrentScale(), 100);
    EXPECT_EQ(RowText(b, 3), "x0,1   А");
    EXPECT_EQ(dev::GetU16(b->SetpointValue(0), 1), 12);
    EXPECT_EQ(Setpoint(b, b->Param(0), 0), "1,2 А");
    EXPECT_EQ(dev::GetU16(b->SetpointValue(3), 1), 1000); // voltages keep theirs
    std::string factor;
    b->FormatParamValue(b->Param(0), factor);
    EXPECT_EQ(factor, "0,1");
    // The same scale again changes nothing; back to 0.01 A keeps the value in amperes.
    a->ApplyPropertyValue(3, "x0,1   А");
    EXPECT_EQ(dev::GetU16(b->SetpointValue(0), 1), 12);
    b->ApplyPropertyValue(3, "x0,01  А");
    EXPECT_EQ(dev::GetU16(b->SetpointValue(0), 1), 120);
    EXPECT_EQ(Setpoint(a, a->Param(0), 0), "0,00 А");
    // The scale travels with the configuration's subprograms.
    SaveAndReload();
    auto* m = dynamic_cast<TMercury230Item*>(Objects("MER230")[1]);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetCurrentScale(), 10);
    EXPECT_EQ(Setpoint(m, m->Param(0), 0), "1,20 А");
}

TEST_F(Mercury, ScaleWithoutItsInstructionReadsOneAndWritesNothing) {
    WritePlugin("m230/M230_parseAnswer.act", ScaleProgram(100, 74));
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetCurrentScale(), 1);
    EXPECT_EQ(RowText(o, 3), "x0,001 А");
    o->SetSetpointValue(o->Param(0), 1, "1.5");
    o->ApplyPropertyValue(3, "x0,1   А");
    EXPECT_EQ(o->GetCurrentScale(), 1);
    EXPECT_EQ(dev::GetU16(o->SetpointValue(0), 3), 1500);
    EXPECT_FALSE(o->SetCurrentScale(10));
}

TEST_F(Mercury, ScaleOperandZeroReadsOne) {
    WritePlugin("m230/M230_parseAnswer.act", ScaleProgram(0));
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetCurrentScale(), 1);
    EXPECT_EQ(o->SetpointFactor(0), 1000);
}

TEST_F(Mercury, MissingParseSubprogramReadsScaleOne) {
    std::filesystem::remove(root + "m230/M230_parseAnswer.act");
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetCurrentScale(), 1);
    o->ApplyPropertyValue(3, "x0,01  А");
    EXPECT_EQ(o->GetCurrentScale(), 1);
}

TEST_F(Mercury, StoredNarrowAddressIsWidenedWithTheFactoryPassword) {
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "9");
    o->Param(18)->SetBitWidth(16);
    o->Param(18)->Value[1] = 0;
    SaveAndReload();
    o = dynamic_cast<TMercury230Item*>(Objects("MER230")[0]);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Param(18)->BitWidth(), 64);
    EXPECT_EQ(RowText(o, 2), "9");
    EXPECT_EQ(RowText(o, 4), "DEC");
    EXPECT_EQ(RowText(o, 5), "111111");
}

TEST_F(Mercury, PasswordTypesAndTexts) {
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(5, "123456");
    EXPECT_EQ(RowText(o, 5), "123456");
    o->ApplyPropertyValue(5, "9x");
    EXPECT_EQ(RowText(o, 5), "923456"); // a non-digit leaves its byte
    o->ApplyPropertyValue(4, "ASCII");
    EXPECT_EQ(RowText(o, 4), "ASCII");
    EXPECT_EQ(RowText(o, 5), "923456");
    EXPECT_EQ(o->Param(18)->Value[2], '9');
    o->ApplyPropertyValue(4, "DEC");
    EXPECT_EQ(RowText(o, 5), "923456");
    EXPECT_EQ(o->Param(18)->Value[2], 9);
    o->ApplyPropertyValue(4, "ASCII");
    o->ApplyPropertyValue(5, "ab");
    EXPECT_EQ(RowText(o, 5), "ab");
    EXPECT_EQ(o->Param(18)->Value[4], 0);
    EXPECT_EQ(o->Param(18)->Value[7], 0);
    // "ab" has no decimal form: nothing changes, the type included.
    o->ApplyPropertyValue(4, "DEC");
    EXPECT_EQ(RowText(o, 4), "ASCII");
    EXPECT_EQ(RowText(o, 5), "ab");
    o->ApplyPropertyValue(5, "12a456");
    o->ApplyPropertyValue(4, "DEC");
    EXPECT_EQ(RowText(o, 4), "ASCII");
    EXPECT_EQ(o->Param(18)->Value[2], '1');
    EXPECT_EQ(o->Param(18)->Value[3], '2');
}

TEST_F(Mercury, PropertyEditors) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    int done = 0;
    TNotifyEvent after = [&](TObject*) { ++done; };
    auto* scale = dynamic_cast<TComboBox*>(o->CreatePropertyEditor(3, host.get(), nullptr, after));
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->Items()->Count(), 3);
    EXPECT_EQ(scale->Items()->Strings(scale->ItemIndex()), "x0,001 А");
    scale->SetItemIndex(1);
    scale->OnChange(scale);
    EXPECT_EQ(o->GetCurrentScale(), 10);
    auto* type = dynamic_cast<TComboBox*>(o->CreatePropertyEditor(4, host.get(), nullptr, after));
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Items()->Strings(type->ItemIndex()), "DEC");
    auto* password = dynamic_cast<TEdit*>(o->CreatePropertyEditor(5, host.get(), nullptr, after));
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->Text(), "111111");
    EXPECT_EQ(done, 1);
    EXPECT_EQ(o->CreatePropertyEditor(6, host.get(), nullptr, after), nullptr);
    Application->ProcessMessages();
}

TEST_F(Mercury, ChecksFollowBindingsAndCommands) {
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    const std::string head = "Объект \"МЕРКУРИЙ 230 ID-1000 адрес 0\" - ";
    auto check = [&] { return Lines([&](TStrings* s) { o->CheckConfiguration(s); }); };
    o->BindParam(100, 1, o->Param(0));
    o->BindParam(101, 1, o->Param(22));
    EXPECT_EQ(check(),
              (std::vector<std::string>{
                  head + "Отключена команда опроса \"Опрос токов по фазам\" используемых параметров",
                  head + "Не включена ни одна команда опроса по тарифам", head + "Не задан адрес счетчика"}));
    o->CommandAt(1)->Execute = 1;
    o->CommandAt(9)->Execute = 1;
    EXPECT_EQ(check(),
              (std::vector<std::string>{head + "Не указан общий период опроса используемых параметров",
                                        head + "Не задан адрес счетчика"}));
    o->Period = 1;
    o->ApplyPropertyValue(2, "3");
    EXPECT_TRUE(check().empty());
    // The command rows skip the hidden first command.
    std::string mode;
    o->GetCommandModeText(0, mode);
    EXPECT_EQ(mode, "Выполнять");
    o->GetCommandModeText(1, mode);
    EXPECT_EQ(mode, "Не выполнять");
}

TEST_F(Mercury, VersionCheckNamesNewerFiles) {
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    WritePlugin("m230/version.ini", "[M230_prepareQuery]\nversion_l=3\nversion_h=1\n");
    EXPECT_EQ(
        Lines([&](TStrings* s) { o->CheckSubprogramVersions(s); }),
        (std::vector<std::string>{"Подпрограмма \"Подготовка опроса Меркурий 230\" (M230_prepareQuery - "
                                  "вер.0.0)  устарела - новая версия 1.3"}));
}

TEST_F(Mercury, ValueTextsOfEnergiesAndTariffs) {
    TMercury230Item* o = AddMercury();
    ASSERT_NE(o, nullptr);
    TParamItem* energy = o->Param(16);
    energy->RamDepth = 0;
    for (int b = 0; b < 4; ++b)
        energy->Value[b] = 0xFF;
    EXPECT_EQ(ValueText(o, energy), "-1");
    TParamItem* tariffs = o->Param(23);
    tariffs->RamDepth = 0;
    for (int b = 0; b < 16; ++b)
        tariffs->Value[b] = b < 4 ? 0xFF : 0;
    tariffs->Value[4] = 10;
    EXPECT_EQ(ValueText(o, tariffs), "T1 = ?; T2 = 10 ВAp*ч; T3 = 0 ВAp*ч; T4 = 0 ВAp*ч");
    std::string text = "kept";
    o->GetParamValueText(o->Param(25), text);
    EXPECT_EQ(text, "kept");
}

// ---- Other classes ----

TEST_F(MeterTest, IpcAddressIsSixteenBitsAndInputsFollowTheirControl) {
    auto* o = dynamic_cast<TIPCItem*>(Add(TIPCItem::Def));
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "300");
    EXPECT_EQ(o->Param(23)->Value[0], 44);
    EXPECT_EQ(o->Param(23)->Value[1], 1);
    EXPECT_EQ(o->GetDisplayName(), "ID-1512 адрес 300");
    o->SetParamValueText(o->Param(23), "70000");
    EXPECT_EQ(RowText(o, 2), "300");
    o->SetParamValueText(o->Param(23), "65535");
    EXPECT_EQ(ValueText(o, o->Param(23)), "65535");
    EXPECT_NE(o->Param(0)->WriteHandler, 0);
    o->Param(2)->ChangeHandler = cm->Actions->FindOrCreate("ipc_prepareControl", 0, 0);
    o->BindParam(600, 200, o->Param(2));
    o->BindParam(601, 200, o->Param(6));
    std::string mode;
    o->GetCommandModeText(2, mode);
    EXPECT_EQ(mode, "Выполнять");
    SaveAndReload();
    o = dynamic_cast<TIPCItem*>(Objects("IPC6806")[0]);
    EXPECT_EQ(o->Param(2)->ParamType, 1);
    EXPECT_EQ(o->Param(1)->ParamType, 3);
    EXPECT_TRUE(dev::SameAddress(o->Param(6), 601, 200));
}

TEST_F(MeterTest, ZnakStoresTheAddressTypedInTheChannelGrid) {
    TDeviceEngine* o = Add(TKYAZNAKItem::Def);
    ASSERT_NE(o, nullptr);
    o->SetParamValueText(o->Param(33), "17");
    EXPECT_EQ(o->GetDisplayName(), "ID-3000 адрес 17");
    o->ApplyPropertyValue(2, "abc");
    EXPECT_EQ(RowText(o, 2), "17");
}

TEST_F(MeterTest, ZnakInputsTypedByTheirControlSubprogram) {
    TDeviceEngine* o = Add(TKYAZNAKItem::Def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Param(0)->ParamType, 1);
    o->Param(4)->ChangeHandler = cm->Actions->FindOrCreate("znak_doControl", 0, 0);
    o->BindParam(700, 4, o->Param(4));
    o->BindParam(701, 5, o->Param(31));
    SaveAndReload();
    o = Objects("ZNAK")[0];
    EXPECT_EQ(o->Param(4)->ParamType, 3);
    EXPECT_EQ(o->Param(3)->ParamType, 1);
    EXPECT_EQ(o->Param(35)->Value[27], 0xBD); // 701 at entry 9 of the energy table
    EXPECT_TRUE(dev::SameAddress(o->Param(31), 701, 5));
}

TEST_F(MeterTest, ZnakControlCodes) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    auto* o = dynamic_cast<TKYAZNAKItem*>(Add(TKYAZNAKItem::Def));
    auto* x = dynamic_cast<TKYAZNAKXItem*>(Add(TKYAZNAKXItem::Def));
    ASSERT_TRUE(o && x);
    int done = 0;
    TNotifyEvent after = [&](TObject*) { ++done; };
    auto* combo =
        dynamic_cast<TComboBox*>(o->CreateSetpointEditor(o->Param(3), 0, host.get(), nullptr, after));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Items()->Count(), 6);
    EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), "Нет");
    combo->SetItemIndex(3);
    combo->OnChange(combo);
    EXPECT_EQ(o->Param(37)->Value[3], 0x23);
    EXPECT_EQ(done, 1);
    std::string text;
    o->GetSetpointText(0, o->Param(3), text);
    EXPECT_EQ(text, "Вкл.: Канал ТУ2, Откл.: Канал ТУ3");
    EXPECT_EQ(o->CreateSetpointEditor(o->Param(7), 0, host.get(), nullptr, after), nullptr);
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(6)); }),
              (std::vector<std::string>{"Управление"}));
    EXPECT_TRUE(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(7)); }).empty());
    // A code not offered: no text here, "Нет" in the (ИКС) variant.
    o->Param(37)->Value[1] = 0x12;
    x->Param(38)->Value[1] = 0x12;
    text = "kept";
    o->GetSetpointText(0, o->Param(1), text);
    EXPECT_EQ(text, "kept");
    x->GetSetpointText(0, x->Param(1), text);
    EXPECT_EQ(text, "Нет");
    auto* xcombo =
        dynamic_cast<TComboBox*>(x->CreateSetpointEditor(x->Param(6), 0, host.get(), nullptr, after));
    ASSERT_NE(xcombo, nullptr);
    xcombo->SetItemIndex(5);
    xcombo->OnChange(xcombo);
    EXPECT_EQ(x->Param(38)->Value[6], 0x33);
    EXPECT_NE(dynamic_cast<TEdit*>(x->CreateSetpointEditor(x->Param(7), 0, host.get(), nullptr, after)),
              nullptr);
    Application->ProcessMessages();
}

TEST_F(MeterTest, ListeningObjectChecksOnlyItsAddress) {
    TDeviceEngine* o = Add(TSet4TMLisItem::Def);
    ASSERT_NE(o, nullptr);
    o->BindParam(300, 2, o->Param(23));
    EXPECT_EQ(ValueText(o, o->Param(24)), "0:0,300:2");
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              (std::vector<std::string>{
                  "Объект \"СЭТ-4ТМ (Подслушивание) ID-5110 адрес 0\" - Не задан адрес счетчика"}));
    EXPECT_TRUE(Lines([&](TStrings* s) { o->GetPollCommandNames(s); }).empty());
}

TEST_F(MeterTest, Schm120ChecksItsFirstCommand) {
    TDeviceEngine* o = Add(TSCHM120Item::Def);
    ASSERT_NE(o, nullptr);
    o->Period = 1;
    const std::string head = "Объект \"ЩМ-120(ЩМ-96) ID-7008 адрес 0\" - ";
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              (std::vector<std::string>{head + "Команда опроса \"Опрос дискр. кан. ЩМ-120\" неактивна",
                                        head + "Не задан адрес прибора"}));
    o->ApplyPropertyValue(3, "36400");
    EXPECT_EQ(RowText(o, 3), "36400");
}

} // namespace
