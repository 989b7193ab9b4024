// The QBX-540 controller: settings texts, the analog channel count with its limit, conversions,
// binding, the address row, and the order in which a deleted object gives back its channels.
#include "Qbx540object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class Qbx540Test : public QbxTest {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        obj = Add<TQbx540Item>(5);
        Unhook();
    }
    std::string Text(TParamItem* p) { return ValueText(obj, p); }
    std::string Row(int row) { return RowText(obj, row); }
    TQbx540Item* Reloaded() {
        SaveAndReload();
        return Find<TQbx540Item>();
    }
    TQbx540Item* obj = nullptr;
};

TEST_F(Qbx540Test, NewObject) {
    EXPECT_EQ(obj->Number, 2299);
    TParamItem* main = obj->Settings(0);
    EXPECT_TRUE(SameAddress(main, 1008, 1));
    EXPECT_EQ(main->BitWidth(), 40);
    EXPECT_EQ(main->Kind, 0); // the main settings are no settings-kind channel, unlike the analog ones
    EXPECT_EQ(main->Name, "QBX-540: Сетевой адрес, кол-во ТС, ТИТ");
    EXPECT_EQ(Text(main), "Адрес: 4,4,4;Кол-во ТС: 0;Кол-во ТИТ: 0");
    EXPECT_EQ(Row(2), "Нет");
    EXPECT_EQ(Row(3), "4.4.4");
    EXPECT_EQ(obj->AnalogCount(), 0);
    EXPECT_EQ(obj->CommandAt(0)->NoAnswer, obj->SubprogramId(2));
    EXPECT_TRUE(Lines([&](TStrings* s) { obj->GetPropertyNames(s); }).size() == 6);
}

TEST_F(Qbx540Test, CountCreatesAndRemovesAnalogChannels) {
    const size_t base = Channels().size();
    obj->ApplyPropertyValue(5, "2");
    ASSERT_EQ(obj->AnalogCount(), 2);
    EXPECT_TRUE(SameAddress(obj->Settings(5), 1008, 6));
    EXPECT_TRUE(SameAddress(obj->Settings(6), 1008, 7));
    EXPECT_EQ(obj->Settings(6)->Kind, 1);
    EXPECT_EQ(obj->Settings(6)->BitWidth(), 104);
    EXPECT_EQ(Text(obj->Settings(5)), "Регистр ТИТ 1: 0:0; k = 1; 1/k = 1; b = 0; -b = 0");
    EXPECT_EQ(obj->Analog(1)->Name, "QBX-540: Канал ТИТ 2");
    EXPECT_EQ(Text(obj->Analog(0)), "значение недоступно");
    EXPECT_EQ(Channels().size(), base + 4);

    obj->ApplyPropertyValue(5, "1");
    EXPECT_EQ(obj->AnalogCount(), 1);
    EXPECT_EQ(obj->Analog(1), nullptr);
    EXPECT_EQ(CountAddress(1008, 7), 0);
    EXPECT_EQ(Channels().size(), base + 2);

    obj->ApplyPropertyValue(5, "zwei");
    EXPECT_EQ(obj->AnalogCount(), 1);
}

// The controller has 31 analog channels: a larger typed count is refused, a larger stored one is cut
// to 31.
TEST_F(Qbx540Test, CountIsLimitedTo31) {
    obj->ApplyPropertyValue(5, "40");
    EXPECT_EQ(obj->AnalogCount(), 0);
    obj->ApplyPropertyValue(5, "31");
    EXPECT_EQ(obj->AnalogCount(), 31);
    EXPECT_EQ(obj->Settings(0)->Value[4], 31);
    EXPECT_EQ(CountAddress(1008, 36), 1);
    EXPECT_EQ(CountAddress(1008, 37), 0);

    obj->Settings(0)->Value[4] = 200;
    TQbx540Item* again = Reloaded();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->AnalogCount(), 31);
    EXPECT_NE(again->Analog(30), nullptr);
}

TEST_F(Qbx540Test, ConversionsBindingAndReload) {
    obj->ApplyPropertyValue(5, "2");
    TParamItem* v = obj->Analog(0);
    obj->BindParam(3, 17, v);
    EXPECT_EQ(GetEntry(obj->Settings(5), 0), (Address{3, 17}));
    EXPECT_TRUE(obj->ApplyAnalogValue(v, 0, "25", -1));
    EXPECT_TRUE(obj->ApplyAnalogValue(v, 1, "x", -1));
    EXPECT_TRUE(obj->ApplyAnalogValue(v, 4, "4..20мА", 1));
    EXPECT_TRUE(obj->ApplyAnalogValue(v, 5, "Давление", 3));
    EXPECT_EQ(GetU16(obj->Settings(5), 3), 25);
    EXPECT_EQ(GetU16(obj->Settings(5), 5), 1);
    EXPECT_EQ(obj->Settings(5)->Value[11], 1);
    EXPECT_EQ(obj->Settings(5)->Value[12], 18);
    EXPECT_EQ(v->ParamType, 18);
    std::string text;
    obj->GetSetpointText(5, v, text);
    EXPECT_EQ(text, "Давление");
    obj->GetSetpointText(4, v, text);
    EXPECT_EQ(text, "4..20мА");

    TQbx540Item* again = Reloaded();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(SameAddress(again->Analog(0), 3, 17));
    EXPECT_EQ(again->Analog(0)->ParamType, 18);
    EXPECT_EQ(CountAddress(3, 17), 1);
    EXPECT_TRUE(IsUnbound(again->Analog(1)));
}

// The address row takes "a.b.c" like the other controllers instead of dropping the edit.
// Analog settings naming the main settings' own address adopt no value: the value is a new channel.
TEST_F(Qbx540Test, SettingsNamingASettingsChannelAdoptNoValue) {
    obj->ApplyPropertyValue(5, "1");
    SetEntry(obj->Settings(5), 0, {kQbx540ChannelType, 1});
    TQbx540Item* again = Reloaded();
    ASSERT_NE(again, nullptr);
    ASSERT_NE(again->Analog(0), nullptr);
    EXPECT_NE(again->Analog(0), again->Settings(0));
    EXPECT_TRUE(IsUnbound(again->Analog(0)));
    EXPECT_EQ(CountAddress(kQbx540ChannelType, 1), 1);
}

TEST_F(Qbx540Test, AddressRowIsApplied) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {{"10.20.30", "10.20.30"}, {"1,2,3", "1.2.3"}, {"1.2", "4.4.4"}, {"1.2.x", "4.4.4"}};
    for (const auto& c : cases) {
        obj->Settings(0)->Value[0] = obj->Settings(0)->Value[1] = obj->Settings(0)->Value[2] = 4;
        obj->ApplyPropertyValue(3, c.text);
        EXPECT_EQ(Row(3), c.shown) << c.text;
    }
}

// Deleting the object gives back its value channels before their settings: the configuration
// rebinds each value to 0/0 and the object then writes into that value's settings.
TEST_F(Qbx540Test, DeletionReleasesValuesBeforeSettings) {
    obj->ApplyPropertyValue(5, "3");
    for (int k = 0; k < 3; ++k)
        obj->BindParam(7, static_cast<uint8_t>(k + 1), obj->Analog(k));
    std::vector<std::string> order;
    for (TParamItem* p : Channels()) {
        if (p->Owner != obj)
            continue;
        p->OnRebind = [&order](ELEM* e) {
            auto* p = static_cast<TParamItem*>(e);
            order.push_back(p->Name);
            if (p->Owner)
                p->Owner->BindParam(0, 0, p);
        };
    }
    cm->DeleteObject(obj);
    ASSERT_EQ(order.size(), 7u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(order[static_cast<size_t>(k)], "QBX-540: Канал ТИТ " + std::to_string(k + 1));
    EXPECT_EQ(CountAddress(1008, 1), 0);
}

} // namespace
