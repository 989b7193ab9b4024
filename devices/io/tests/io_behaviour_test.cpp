// What the ADAM-4117's scaling rows, the Радон Риц's set points and the ATI's byte states do.
#include <cstdio>

#include "Ioobjects.h"
#include "forms.h"
#include "iofixture.h"
#include "stdctrls.h"
#include "sysutils.h"

using namespace iotest;

namespace {

class Adam : public IoTest {
protected:
    TADAM4117Item* Add() { return dynamic_cast<TADAM4117Item*>(cm->AddObject(TADAM4117Item::Def.TypeCode)); }
    static std::string Row(TADAM4117Item* o, int n, int row) {
        std::string text = "untouched";
        o->GetSetpointText(row, o->Param(n), text);
        return text;
    }
};

TEST_F(Adam, ScalingRowsEditTheRecordAndTheChannelType) {
    TADAM4117Item* o = Add();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(4)); }),
              (std::vector<std::string>{"Тип аналогового канала", "Слагаемое", "Вычитаемое", "Умножитель",
                                        "Делитель"}));
    EXPECT_TRUE(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(8)); }).empty());
    EXPECT_TRUE(o->ApplyScaling(4, 0, "", 3));
    EXPECT_EQ(o->Param(4)->ParamType, 18);
    EXPECT_EQ(Row(o, 4, 0), "Давление");
    EXPECT_TRUE(o->ApplyScaling(4, 1, "14464", -1));
    EXPECT_TRUE(o->ApplyScaling(4, 2, "65535", -1));
    EXPECT_TRUE(o->ApplyScaling(4, 3, "7", -1));
    EXPECT_FALSE(o->ApplyScaling(4, 3, "x", -1));
    EXPECT_EQ(ValueText(o, o->Param(TADAM4117Item::kScaling + 4)),
              "Тип ТИТ канала: Давление, ТИТ=(N+14464-65535)*7/1");
    EXPECT_EQ(Row(o, 4, 5), "untouched");
    EXPECT_EQ(Row(o, 8, 1), "untouched");
}

// A divisor of 0 would make the concentrator divide by zero: it is refused, and so is one past 16 bits.
TEST_F(Adam, DivisorZeroRefused) {
    TADAM4117Item* o = Add();
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->ApplyScaling(2, 4, "5", -1));
    for (const char* text : {"0", "65536", " 0 "}) {
        EXPECT_FALSE(o->ApplyScaling(2, 4, text, -1)) << text;
        EXPECT_EQ(Row(o, 2, 4), "5") << text;
    }
}

// Only a damaged file holds a type code past the name table: it shows a safe text.
TEST_F(Adam, TypeCodesPastTheTableShowASafeText) {
    TADAM4117Item* o = Add();
    ASSERT_NE(o, nullptr);
    for (uint8_t code : {27, 200, 255}) {
        o->Param(TADAM4117Item::kScaling)->Value[0] = code;
        const std::string expected = "Неизвестный (" + std::to_string(code) + ")";
        EXPECT_EQ(Row(o, 0, 0), expected);
        EXPECT_EQ(ValueText(o, o->Param(TADAM4117Item::kScaling)).substr(0, 16 + expected.size()),
                  "Тип ТИТ канала: " + expected);
    }
}

TEST_F(Adam, ChannelTypeComesBackFromTheRecord) {
    TADAM4117Item* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->ApplyScaling(6, 0, "", 1));
    SaveAndReload();
    o = Find<TADAM4117Item>();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Param(6)->ParamType, 9);
    EXPECT_EQ(o->Param(5)->ParamType, 0);
}

class Radon : public IoTest {
protected:
    TRADONRITZItem* Add() {
        return dynamic_cast<TRADONRITZItem*>(cm->AddObject(TRADONRITZItem::Def.TypeCode));
    }
    static std::string Setpoint(TRADONRITZItem* o, int n) {
        std::string text;
        o->GetSetpointValueText(o->Param(0), n, text);
        return text;
    }
};

// Every three-decimal value 0.000 .. 65.535 is stored as its exact number of thousandths (a float
// product cut toward zero stores 0.251 as 250), with either decimal separator.
TEST_F(Radon, SetpointsKeepEveryThousandthTyped) {
    TRADONRITZItem* o = Add();
    ASSERT_NE(o, nullptr);
    TParamItem* channel = o->Param(0);
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    int wrong = 0;
    char text[16];
    for (int v = 0; v <= 65535; ++v) {
        std::snprintf(text, sizeof text, "%d%c%03d", v / 1000, v % 2 ? ',' : '.', v % 1000);
        o->SetSetpointValue(channel, v % 2, text);
        wrong += dev::GetU16(o->SetpointValues(), 1 + 2 * (v % 2)) == v ? 0 : 1;
    }
    EXPECT_EQ(wrong, 0);
    o->SetSetpointValue(channel, 0, "0.251");
    EXPECT_EQ(Setpoint(o, 0), "0.251 M");
    o->SetSetpointValue(channel, 1, "1,5");
    EXPECT_EQ(Setpoint(o, 1), "1.500 M");
    DecimalSeparator = ',';
    EXPECT_EQ(Setpoint(o, 1), "1,500 M");
    DecimalSeparator = saved;
}

// The row shows "2.000 M": a user who types over the number and keeps the unit sets the number.
// One outside 0.000 .. 65.535 M would be stored wrapped (-1 as 64.536): it is refused with a
// message, and nothing changes.
TEST_F(Radon, SetpointTypedWithItsUnitAndOutOfRangeRefused) {
    TRADONRITZItem* o = Add();
    ASSERT_NE(o, nullptr);
    TParamItem* channel = o->Param(0);
    const char saved = DecimalSeparator;
    DecimalSeparator = '.';
    const struct {
        const char* text;
        int stored; // -1: refused
    } kCases[] = {{"2.000 M", 2000}, {" 2,5 M ", 2500}, {"3M", 3000},   {"65.535 M", 65535}, {"0 M", 0},
                  {"-1", -1},        {"-0.001 M", -1},  {"65.536", -1}, {"70 M", -1}};
    for (const auto& c : kCases) {
        o->SetSetpointValue(channel, 1, "1.234");
        o->SetSetpointValue(channel, 1, "Нет"); // set points off, their bytes kept
        messages.clear();
        o->SetSetpointValue(channel, 1, c.text);
        if (c.stored < 0) {
            EXPECT_EQ(dev::GetU16(o->SetpointValues(), 3), 1234) << c.text;
            EXPECT_EQ(channel->WriteHandler, 0) << c.text;
            EXPECT_EQ(messages, std::vector<std::string>{"Уставка \"" + Trim(c.text) +
                                                         "\" не сохранена: допустимы значения от 0.000 M до "
                                                         "65.535 M."})
                << c.text;
        } else {
            EXPECT_EQ(dev::GetU16(o->SetpointValues(), 3), c.stored) << c.text;
            EXPECT_NE(channel->WriteHandler, 0) << c.text;
            EXPECT_TRUE(messages.empty()) << c.text;
        }
    }
    DecimalSeparator = saved;
}

TEST_F(Radon, TextThatIsNoNumberChangesNothing) {
    TRADONRITZItem* o = Add();
    ASSERT_NE(o, nullptr);
    TParamItem* channel = o->Param(0);
    o->SetSetpointValue(channel, 0, "2.5");
    const uint16_t handler = channel->WriteHandler;
    ASSERT_NE(handler, 0);
    o->SetSetpointValue(channel, 0, "Нет");
    EXPECT_EQ(channel->WriteHandler, 0);
    for (const char* text : {"", "abc", "1x", "inf", "nan", "1.2.3", "1e400"}) {
        o->SetSetpointValue(channel, 0, text);
        EXPECT_EQ(channel->WriteHandler, 0) << text;
        EXPECT_EQ(dev::GetU16(o->SetpointValues(), 1), 2500) << text;
        EXPECT_TRUE(dev::IsUnbound(o->SetpointValues())) << text;
    }
}

TEST_F(Radon, SetpointParametersFollowTheChannelThroughSaveAndLoad) {
    TRADONRITZItem* o = Add();
    ASSERT_NE(o, nullptr);
    TParamItem* channel = o->Param(0);
    EXPECT_EQ(o->GetSetpointCount(channel), 2);
    EXPECT_EQ(o->GetSetpointCount(o->Param(1)), 0);
    std::string untouched = "x";
    EXPECT_TRUE(o->GetParamValueText(o->SetpointValues(), untouched));
    o->BindParam(40, 200, channel);
    EXPECT_TRUE(dev::IsUnbound(o->SetpointValues())); // no set point yet
    o->SetSetpointValue(channel, 1, "1.5");
    EXPECT_EQ(dev::AddressOf(o->SetpointValues()), (dev::Address{16, 200}));
    EXPECT_EQ(dev::AddressOf(o->SetpointState()), (dev::Address{17, 200}));
    o->BindParam(40, 201, channel);
    EXPECT_EQ(dev::AddressOf(o->SetpointValues()), (dev::Address{16, 201}));
    o->ApplyPropertyValue(2, "12");
    EXPECT_EQ(o->GetDisplayName(), "ID-6908 адрес 12");
    EXPECT_EQ(ValueText(o, o->Param(1)), "49");
    SaveAndReload();
    o = Find<TRADONRITZItem>();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(dev::AddressOf(o->Param(0)), (dev::Address{40, 201}));
    EXPECT_EQ(dev::GetU16(o->SetpointValues(), 3), 1500);
    EXPECT_EQ(o->SetpointValues()->Owner, o);
    EXPECT_EQ(CountAddress(16, 201), 1);
    EXPECT_EQ(o->GetDisplayName(), "ID-6908 адрес 12");
}

// Two objects whose channels share an index: the second never takes the first one's set-point
// parameters (both would free them).
TEST_F(Radon, SetpointParametersAreNeverShared) {
    TRADONRITZItem* a = Add();
    TRADONRITZItem* b = Add();
    ASSERT_TRUE(a && b);
    a->BindParam(40, 5, a->Param(0));
    a->SetSetpointValue(a->Param(0), 0, "1");
    b->BindParam(41, 5, b->Param(0));
    SaveAndReload();
    a = Find<TRADONRITZItem>();
    ASSERT_NE(a, nullptr);
    auto* second = static_cast<TObjectItem*>(a->Newer);
    b = dynamic_cast<TRADONRITZItem*>(second);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->SetpointValues()->Owner, a);
    EXPECT_EQ(b->SetpointValues()->Owner, b);
    EXPECT_NE(a->SetpointValues(), b->SetpointValues());
    EXPECT_NE(a->SetpointState(), b->SetpointState());
    EXPECT_EQ(dev::GetU16(a->SetpointValues(), 1), 1000);
    // Without set points the second one's parameters claim no address: the configuration saves.
    EXPECT_TRUE(dev::IsUnbound(b->SetpointValues()));
    EXPECT_TRUE(dev::IsUnbound(b->SetpointState()));
    EXPECT_EQ(CountAddress(16, 5), 1);
    SaveAndReload();
    a = Find<TRADONRITZItem>();
    ASSERT_NE(a, nullptr);
    b = dynamic_cast<TRADONRITZItem*>(static_cast<TObjectItem*>(a->Newer));
    ASSERT_NE(b, nullptr);
    cm->DeleteObject(a);
    cm->DeleteObject(b);
    EXPECT_EQ(Channels().size(), static_cast<size_t>(kBuiltInChannelCount));
}

TEST_F(IoTest, AtiByteStatesTakeTheirOwnHandler) {
    auto* o = dynamic_cast<TATIItem*>(cm->AddObject(TATIItem::Def.TypeCode));
    ASSERT_NE(o, nullptr);
    const uint16_t byteHandler = cm->Actions->FindOrCreate("log_handleByteStateChange", 0, 0);
    ASSERT_NE(byteHandler, 0);
    for (int i : {9, 10}) {
        EXPECT_EQ(o->Param(i)->WriteHandler, byteHandler);
        EXPECT_EQ(o->Param(i)->ParamType, 26);
        EXPECT_EQ(o->Param(i)->Kind, kChannelSignal);
        EXPECT_EQ(o->Param(i)->BitWidth(), 8);
    }
    EXPECT_EQ(o->Param(0)->WriteHandler, 0);
    EXPECT_EQ(o->Param(6)->ParamType, 14);
    EXPECT_EQ(o->Param(7)->ParamType, 9);
}

} // namespace

namespace {

TEST_F(Adam, ScalingEditors) {
    Application->Initialize();
    testsupport::MessageRecorder recorder; // over the dialog service the application installed
    auto host = std::make_unique<TForm>(nullptr);
    TADAM4117Item* o = Add();
    ASSERT_NE(o, nullptr);
    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    EXPECT_EQ(o->CreateSetpointEditor(o->Param(1), 5, host.get(), nullptr, after), nullptr);
    EXPECT_EQ(o->CreateSetpointEditor(o->Param(8), 0, host.get(), nullptr, after), nullptr);
    auto* types =
        dynamic_cast<TComboBox*>(o->CreateSetpointEditor(o->Param(1), 0, host.get(), nullptr, after));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->Items()->Count(), 4);
    types->SetItemIndex(2);
    types->OnChange(types);
    EXPECT_EQ(o->Param(1)->ParamType, 17);
    auto* divisor = dynamic_cast<TEdit*>(o->CreateSetpointEditor(o->Param(1), 4, host.get(), nullptr, after));
    ASSERT_NE(divisor, nullptr);
    EXPECT_EQ(divisor->Text(), "1");
    divisor->SetText("0"); // refused and held while the edit goes on: the host is not told
    divisor->SetText("25");
    EXPECT_EQ(Row(o, 1, 4), "25");
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(messages.empty()); // the edit's last text was stored
    host.reset();
    Application->ProcessMessages();
}

TEST_F(Radon, AddressAndSetpointEditors) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    TRADONRITZItem* o = Add();
    ASSERT_NE(o, nullptr);
    auto* address = dynamic_cast<TEdit*>(o->CreatePropertyEditor(2, host.get(), nullptr, nullptr));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Text(), "0");
    address->SetText("AB7"); // refused whole, never cut to its first two characters
    EXPECT_EQ(o->AddressText(), "0");
    address->SetText("AB");
    EXPECT_EQ(o->AddressText(), "AB");
    address->SetText("");
    EXPECT_EQ(RowText(o, 2), "");
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }).back(),
              "Объект \"Радон Риц ID-6908 адрес \" - Не задан адрес прибора");
    auto* speed = dynamic_cast<TComboBox*>(o->CreatePropertyEditor(3, host.get(), nullptr, nullptr));
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->Items()->Count(), 1);
    EXPECT_EQ(speed->ItemIndex(), 0);
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(0)); }),
              (std::vector<std::string>{"Уставка1", "Уставка2"}));
    auto* edit = dynamic_cast<TEdit*>(o->CreateSetpointEditor(o->Param(0), 1, host.get(), nullptr, nullptr));
    ASSERT_NE(edit, nullptr);
    edit->SetText("2,25");
    EXPECT_EQ(dev::GetU16(o->SetpointValues(), 3), 0); // stored when the edit ends
    edit->OnExit(edit);
    EXPECT_EQ(dev::GetU16(o->SetpointValues(), 3), 2250);
    host.reset();
    Application->ProcessMessages();
}

} // namespace
