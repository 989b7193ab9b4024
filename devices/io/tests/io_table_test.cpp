// One table over the four engine classes of the I/O drivers: what a first object of each is made of,
// checked against the devices' own figures.
#include <map>

#include "Ioobjects.h"
#include "iofixture.h"

using namespace iotest;

namespace {

struct Expect {
    int code;
    uint16_t firstNumber;
    uint16_t firstCode; // channel type of the first settings parameter
    int params;
    int signals;
    std::vector<uint16_t> settingBits;
    const char* display;
    std::vector<std::string> polls;
    int rows;                                           // property rows
    std::vector<std::pair<int, std::string>> values;    // value texts of a new object
    std::vector<std::pair<int, std::string>> described; // at address "3"
    bool addressMissingWhenNew;
};

const std::map<std::string, Expect>& Expected() {
    static const std::map<std::string, Expect> table = {
        {"NL16HV",
         {21,
          7108,
          1640,
          18,
          16,
          {40, 384},
          "NL-16HV",
          {"Опрос дискр. сиг. NL-16HV"},
          4,
          {{0, "2"}, {16, "0"}, {17, "0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0"}},
          {{15, "NL-16HV - 3,  \"ТС15\""}},
          true}},
        {"ATI",
         {34,
          7208,
          1660,
          13,
          11,
          {40, 264},
          "ATI",
          {"Опрос дискр. сиг. ATI", "Опрос аналог. сиг. ATI"},
          4,
          {{0, "255"}, {8, "255"}, {9, "128"}, {11, "0"}, {12, "0"}},
          {{0, "ATI - 3,  \"U12main\""},
           {6, "ATI - 3,  \"Freqmain\""},
           {10, "ATI - 3,  \"Состояние переключателя\""}},
          true}},
        {"AD4117",
         {35,
          5012,
          1190,
          18,
          8,
          {8, 72, 72, 72, 72, 72, 72, 72, 72, 192},
          "ADAM-4117",
          {"Опрос каналов Adam4117"},
          3,
          {{0, "не определено"},
           {8, "0"},
           {9, "Тип ТИТ канала: Неизвестный, ТИТ=(N+0-0)*1/1"},
           {17, "0:0; 0:0; 0:0; 0:0; 0:0; 0:0; 0:0; 0:0"}},
          {{7, "ADAM-4117 - 3, Канал 7"}},
          true}},
        {"RADON",
         {36,
          6908,
          1600,
          3,
          1,
          {48, 24},
          "Радон Риц",
          {"Опрос каналов РадонРиц"},
          4,
          {{0, "255"}, {1, "48"}, {2, "0"}},
          {{0, "РадонРиц - 3, вх. сиг. \"Канал 0\""}},
          false}},
    };
    return table;
}

class IoTable : public IoTest, public ::testing::WithParamInterface<TIoClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
    const Expect& x = Expected().at(def.Tag());

    TDeviceEngine* Add() {
        auto* o = dynamic_cast<TDeviceEngine*>(cm->AddObject(def.TypeCode));
        EXPECT_NE(o, nullptr);
        return o;
    }
};

TEST(IoClasses, AllRegisteredWithTheirTypeRows) {
    RegisterIoDevices();
    std::vector<std::string> tags;
    for (const TIoClass& c : IoClasses())
        tags.push_back(c.Def->Tag());
    EXPECT_EQ(tags, (std::vector<std::string>{"NL16HV", "ATI", "AD4117", "RADON"}));
    const TDeviceType* ukpm = FindDeviceTypeByTag("UKPM");
    ASSERT_NE(ukpm, nullptr);
    EXPECT_EQ(ukpm->Code, 40);
    EXPECT_EQ(ukpm->Base, 999);
    EXPECT_TRUE(ukpm->Once);
    EXPECT_NE(DeviceFactory(ukpm), nullptr);
}

TEST_P(IoTable, TypeRowSettingsAndSignals) {
    const TDeviceType* type = FindDeviceTypeByTag(def.Tag());
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Code, x.code);
    EXPECT_EQ(def.TypeCode, x.code);
    EXPECT_EQ(&def.Type(), type); // its code and its tag name the same row
    EXPECT_EQ(DeviceFactory(type), GetParam().Factory);

    TDeviceEngine* o = Add();
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(o->Number, x.firstNumber);
    EXPECT_EQ(o->DisplayType, x.display);
    ASSERT_EQ(o->ParamCount(), x.params);
    EXPECT_EQ(def.SignalCount, x.signals);
    std::vector<uint16_t> bits;
    for (int i = x.signals; i < x.params; ++i) {
        TParamItem* p = o->Param(i);
        EXPECT_EQ(p->ChannelType, x.firstCode + (i - x.signals));
        EXPECT_EQ(p->ChannelIndex, 1);
        EXPECT_EQ(p->Kind, kChannelSetting);
        EXPECT_EQ(p->Owner, o);
        bits.push_back(p->BitWidth());
    }
    EXPECT_EQ(bits, x.settingBits);
    for (int i = 0; i < x.signals; ++i) {
        EXPECT_TRUE(dev::IsUnbound(o->Param(i))) << i;
        EXPECT_EQ(o->Param(i)->Ordinal, i + 1);
    }
    for (const auto& [i, text] : x.values)
        EXPECT_EQ(ValueText(o, o->Param(i)), text) << i;
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPollCommandNames(s); }), x.polls);
    EXPECT_EQ(o->CommandCount(), static_cast<int>(x.polls.size()));
    for (int n = 0; n < o->CommandCount(); ++n) {
        EXPECT_EQ(o->CommandAt(n)->Execute, 0);
        EXPECT_NE(o->CommandAt(n)->Prepare, 0);
    }
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPropertyNames(s); }).size(), static_cast<size_t>(x.rows));
    // A second object takes the next number and instance byte.
    TDeviceEngine* second = Add();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Number, x.firstNumber + 1);
    EXPECT_EQ(second->Param(x.signals)->ChannelIndex, 2);
}

TEST_P(IoTable, DescriptionsAndChecks) {
    TDeviceEngine* o = Add();
    ASSERT_NE(o, nullptr);
    const std::string number = std::to_string(x.firstNumber);
    std::vector<std::string> fresh;
    if (x.addressMissingWhenNew)
        fresh.push_back("Объект \"" + std::string(x.display) + " ID-" + number +
                        " адрес 0\" - Не задан адрес прибора");
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }), fresh);
    o->ApplyPropertyValue(2, "3");
    EXPECT_EQ(RowText(o, 2), "3");
    EXPECT_EQ(o->GetDisplayName(), "ID-" + number + " адрес 3");
    for (const auto& [i, text] : x.described)
        EXPECT_EQ(o->GetParamDescription(o->Param(i)), text) << i;
    EXPECT_EQ(o->GetParamDescription(o->Param(x.signals)), "");
    o->Period = 1;
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{"Объект \"" + std::string(x.display) + " ID-" + number +
                                       " адрес 3\" - Команда опроса \"" + x.polls.front() + "\" неактивна"});
}

TEST_P(IoTable, BindingsSurviveSaveAndLoad) {
    TDeviceEngine* o = Add();
    ASSERT_NE(o, nullptr);
    o->BindParam(40, 200, o->Param(x.signals - 1));
    int table = 0, offset = 0;
    ASSERT_TRUE(o->EntryOf(x.signals - 1, table, offset));
    EXPECT_EQ(dev::GetEntry(o->Param(table), offset), (dev::Address{40, 200}));
    const size_t channels = Channels().size();
    SaveAndReload();
    ASSERT_EQ(cm->Objects.Count, 1u);
    auto* back = dynamic_cast<TDeviceEngine*>(static_cast<TObjectItem*>(cm->Objects.Oldest));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(dev::AddressOf(back->Param(x.signals - 1)), (dev::Address{40, 200}));
    EXPECT_EQ(Channels().size(), channels);
    EXPECT_EQ(CountAddress(40, 200), 1);
    cm->DeleteObject(back);
    EXPECT_EQ(Channels().size(), static_cast<size_t>(kBuiltInChannelCount));
}

INSTANTIATE_TEST_SUITE_P(Modules, IoTable, ::testing::ValuesIn(IoClasses().begin(), IoClasses().end()),
                         ClassName());

} // namespace
