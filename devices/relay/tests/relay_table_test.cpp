// One table over the twelve terminal classes: what a first object of each is made of, checked
// against the terminals' own figures (not against the descriptions the classes hold).
#include <map>
#include <tuple>

#include "Devicetypes.h"
#include "relayfixture.h"

using namespace relaytest;

namespace {

struct Measure {
    int index;
    uint8_t type;
    uint16_t bits;
};

struct Expect {
    int code;
    uint16_t firstNumber;
    uint16_t firstCode; // channel type of the address parameter
    int params;
    int signals;
    std::vector<uint16_t> tableBits;
    bool password;
    const char* display;
    std::vector<const char*> polls; // names listed as poll commands
    std::vector<uint8_t> execute;   // of every command at creation
    const char* lastCommand;
    int subprograms;
    std::vector<std::pair<int, uint8_t>> controls;         // telecontrol positions and their types
    std::vector<Measure> measures;                         // one per rule of measured values
    std::vector<std::pair<int, std::string>> descriptions; // at network address 3
};

const std::map<std::string, Expect>& Expected() {
    static const std::map<std::string, Expect> table = {
        {"SIR2V",
         {23,
          4512,
          1130,
          95,
          88,
          {504, 504, 504, 504, 96},
          true,
          "СИРИУС-2В",
          {"Опрос дискр. каналов Сириус2В", "Опрос неиспр. Сириус2В", "Опрос сработок Сириус2В",
           "Опрос энергии Сириус2В", "Опрос тока, напр. Сириус2В"},
          {0, 0, 0, 0, 0, 1, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          12,
          {{15, 22}, {16, 23}},
          {{77, 15, 32}, {79, 16, 32}, {81, 8, 16}, {84, 9, 16}},
          {{4, "СИРИУС-2В - 3, инд. \"Срабатывание ЗМН\""},
           {17, "СИРИУС-2В - 3, вх. сиг. \"Сброс сигнализации\""},
           {67, "СИРИУС-2В - 3, неиспр. \"Нет импульса синхр\""},
           {77, "СИРИУС-2В - 3, Потребленная активная электроэнергия,кВт*ч"}}}},
        {"SIR2L",
         {24,
          4756,
          1150,
          72,
          66,
          {504, 504, 504, 72},
          true,
          "СИРИУС-2Л",
          {"Опрос дискр. каналов Сириус2Л", "Опрос неиспр. Сириус2Л", "Опрос сработок Сириус2Л",
           "Опрос токов Сириус2Л"},
          {0, 0, 0, 0, 1, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          10,
          {{14, 22}, {15, 23}},
          {{62, 8, 16}},
          {{0, "СИРИУС-2Л - 3, инд. \"Пуск защиты\""},
           {16, "СИРИУС-2Л - 3, вх. сиг. \"Сброс сигнализации\""},
           {42, "СИРИУС-2Л - 3, неиспр. \"Дуговая защита\""},
           {58, "СИРИУС-2Л - 3, Срабатывание МТЗ-1"}}}},
        {"SIR2LOLD",
         {25,
          6008,
          1420,
          60,
          56,
          {504, 504, 432},
          false,
          "Сириус-2Л(старый)",
          {"Опрос дискр. кан. СИРИУС2Л", "Опрос сработок СИРИУС2Л", "Опрос тока СИРИУС2Л"},
          {0, 0, 0, 0, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          8,
          {{10, 22}, {11, 23}},
          {{52, 8, 16}},
          {{0, "СИРИУС-2Л(старый) - 3, инд. \"Аварийное отключение\""},
           {12, "СИРИУС-2Л(старый) - 3, вх. сиг. \"Контроль реле Отключить\""},
           {34, "СИРИУС-2Л(старый) - 3, неиспр. \"Перегрузка\""},
           {48, "СИРИУС-2Л(старый) - 3, МТЗ 1"},
           {55, "СИРИУС-2Л(старый) - 3, Ток 3Io"}}}},
        {"SIR2VOLD",
         {26,
          4802,
          1170,
          82,
          77,
          {504, 504, 504, 336},
          false,
          "Сириус-2В(старый)",
          {"Опрос дискр. кан. СИРИУС2В", "Опрос сработок СИРИУС2В", "Опрос энергии СИРИУС2В",
           "Опрос тока, напр. СИРИУС2В"},
          {0, 0, 0, 0, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          9,
          {{13, 22}, {14, 23}},
          {{66, 15, 32}, {68, 16, 32}, {70, 8, 16}, {73, 9, 16}},
          {{13, "СИРИУС-2В(старый) - 3, инд. \"Состояние ВВ (ТУ)\""},
           {15, "СИРИУС-2В(старый) - 3, вх. сиг. \"Контроль реле Отключить\""},
           {44, "СИРИУС-2В(старый) - 3, неиспр. \"Перегрузка\""},
           {64, "СИРИУС-2В(старый) - 3, МТЗ 2"},
           {66, "СИРИУС-2В(старый) - 3, Потребленная активная электроэнергия,кВт*ч"}}}},
        {"SIR2MLOLD",
         {27,
          5708,
          1360,
          76,
          71,
          {504, 504, 504, 192},
          false,
          "СИРИУС-2МЛ(старый)",
          {"Опрос дискр. каналов Сириус2МЛ", "Опрос сработок Сириус2МЛ", "Опрос энергии Сириус2МЛ",
           "Опрос тока, напр. Сириус2МЛ"},
          {0, 0, 0, 0, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          10,
          {{10, 22}, {11, 23}},
          {{60, 15, 32}, {62, 16, 32}, {64, 8, 16}, {67, 9, 16}},
          {{3, "СИРИУС-2МЛ - 3, инд. \"Блокировка АВР\""},
           {12, "СИРИУС-2МЛ - 3, вх. сиг. \"Контроль реле Отключить\""},
           {38, "СИРИУС-2МЛ - 3, неиспр. \"Автомат ШП\""},
           {57, "СИРИУС-2МЛ - 3, Срабатывание МТЗ-2"},
           {60, "СИРИУС-2МЛ - 3, Потребленная активная электроэнергия,кВт*ч"}}}},
        {"SIR2SOLD",
         {28,
          5808,
          1380,
          65,
          61,
          {504, 504, 456},
          false,
          "Сириус-2С(старый)",
          {"Опрос дискр. кан. СИРИУС2C", "Опрос сработок СИРИУС2C", "Опрос тока СИРИУС2C"},
          {0, 0, 0, 0, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          8,
          {{10, 22}, {11, 23}},
          {{58, 8, 16}},
          {{0, "СИРИУС-2C(старый) - 3, инд. \"Аварийное отключение\""},
           {12, "СИРИУС-2C(старый) - 3, вх. сиг. \"Контроль реле Отключить\""},
           {39, "СИРИУС-2C(старый) - 3, неиспр. \"Перегрузка\""},
           {56, "СИРИУС-2C(старый) - 3, МТЗ 2"},
           {58, "СИРИУС-2C(старый) - 3, Ток ф.А"}}}},
        {"SIR2S",
         {29,
          5508,
          1320,
          104,
          97,
          {504, 504, 504, 504, 312},
          true,
          "СИРИУС-2C",
          {"Опрос дискр. каналов Сириус2C", "Опрос неиспр. Сириус2C", "Опрос сработок Сириус2C",
           "Опрос токов Сириус2C"},
          {0, 0, 0, 0, 1, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          11,
          {{20, 22}, {21, 23}},
          {{88, 8, 16}, {89, 19, 16}, {96, 8, 16}},
          {{20, "СИРИУС-2C - 3, инд. \"Состояние ВВ (ТУ)\""},
           {21, "СИРИУС-2С - 3, инд. \"Сброс срабатываний (ТУ)\""},
           {22, "СИРИУС-2C - 3, вх. сиг. \"Сброс сигнализации\""},
           {55, "СИРИУС-2C - 3, неиспр. \"Сбой питания\""},
           {85, "СИРИУС-2С - 3, Срабатывание МТЗ-1"},
           {96, "СИРИУС-2C - 3, Ток обр. посл."}}}},
        {"SIRTN",
         {30,
          5608,
          1340,
          78,
          72,
          {504, 504, 504, 216},
          true,
          "СИРИУС-ТН",
          {"Опрос дискр. каналов СириусТН", "Опрос сработок СириусТН", "Опрос напряжений СириусТН"},
          {0, 0, 0, 1, 1, 1},
          "Подготовка к сбросу - команда",
          7,
          {{27, 23}},
          {{58, 9, 16}, {59, 19, 16}, {71, 14, 16}},
          {{27, "СИРИУС-ТН - 3, инд. \"Сброс срабатываний (ТУ)\""},
           {28, "СИРИУС-ТН - 3, вх. сиг. \"Сброс сигнализации\""},
           {54, "СИРИУС-ТН - 3, Срабатывание ЗПЧ"}}}},
        {"SIRCS",
         {31,
          5908,
          1400,
          87,
          81,
          {504, 504, 504, 432},
          true,
          "СИРИУС-ЦС",
          {"Опрос дискр. каналов СириусЦС"},
          {0, 1, 1, 1},
          "Подготовка к сбросу - команда",
          5,
          {{8, 23}},
          {},
          {{8, "СИРИУС-ЦС - 3, инд. \"Сброс срабатываний (ТУ)\""},
           {9, "СИРИУС-ЦС - 3, вх. сиг. \"Вход 32\""},
           {46, "СИРИУС-ЦС - 3, неиспр. \"Сбой памяти\""},
           {80, "СИРИУС-ЦС - 3, неиспр. \"Сост. блинк.:Вход 32\""}}}},
        {"SIRD",
         {22,
          5408,
          1300,
          100,
          93,
          {504, 504, 504, 504, 216},
          true,
          "СИРИУС-Д",
          {"Опрос дискр. каналов СириусД", "Опрос неисправностей СириусД", "Опрос энергии СириусД",
           "Опрос тока, напр. СириусД"},
          {0, 0, 0, 0, 1, 1, 1, 1, 1, 1},
          "SIRIUSD Reset",
          10,
          {{21, 22}, {67, 23}},
          {{68, 8, 16},
           {69, 19, 16},
           {77, 9, 16},
           {85, 14, 16},
           {86, 17, 16},
           {87, 10, 16},
           {88, 11, 16},
           {89, 15, 32},
           {91, 16, 32}},
          {{21, "СИРИУС-Д - 3, инд. \"Состояние ВВ\""},
           {22, "СИРИУС-Д - 3, вх. сиг. \"Сброс сигнализации\""},
           {43, "СИРИУС-Д - 3, неиспр. \"Сбой питания\""},
           {67, "СИРИУС-Д - 3, Сброс"},
           {72, "СИРИУС-Д - 3, Ток ф.C"},
           {77, "СИРИУС-Д - 3, Напряжение ф.A"},
           {92, "СИРИУС-Д - 3, Отданная реактивная энергия,кВАР*ч"}}}},
        {"ORION2",
         {32,
          5209,
          1260,
          42,
          39,
          {504, 432},
          false,
          "ОРИОН-2",
          {"Опрос дискр. каналов ОРИОН2", "Опрос сработок ОРИОН2", "Опрос токов ОРИОН2"},
          {0, 0, 0, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          7,
          {{7, 22}, {8, 23}},
          {{35, 8, 16}},
          {{3, "ОРИОН-2 - 3, инд. \"АПВ сработало\""},
           {9, "ОРИОН-2 - 3, вх. сиг. \"Контроль реле «Отключить»\""},
           {25, "ОРИОН-2 - 3, неиспр. \"Задержка отключения\""},
           {33, "ОРИОН-2 - 3, Срабатывание МТЗ-2"},
           {36, "ОРИОН-2 - 3, \"Ток ф.В\""}}}},
        {"ORIONRTZ",
         {33,
          5308,
          1280,
          47,
          43,
          {504, 504, 24},
          false,
          "ОРИОН-РТЗ",
          {"Опрос дискр. сиг. ОРИОН-РТЗ", "Опрос токов ОРИОН-РТЗ"},
          {0, 0, 1, 1, 1, 1},
          "Подготовка к ТУ - команда 3",
          7,
          {{16, 22}, {17, 23}},
          {{40, 8, 16}},
          {{16, "ОРИОН-РТЗ - 3, инд. \"Состояние ВВ\""},
           {34, "ОРИОН-РТЗ - 3, вх. сиг. \"Ошибка ключей реле\""},
           {35, "ОРИОН-РТЗ - 3, неиспр. \"Ошибка чтения/записи уставок\""},
           {41, "ОРИОН-РТЗ - 3, \"Ток ф.C\""}}}},
    };
    return table;
}

class RelayTable : public RelayTest, public ::testing::WithParamInterface<TRelayClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
    const Expect& x = Expected().at(def.Tag());
};

TEST(RelayClasses, AllTwelveRegisteredInTypeCodeOrder) {
    std::vector<std::string> tags;
    for (const TRelayClass& c : RelayClasses())
        tags.push_back(c.Def->Tag());
    EXPECT_EQ(tags, (std::vector<std::string>{"SIRD", "SIR2V", "SIR2L", "SIR2LOLD", "SIR2VOLD", "SIR2MLOLD",
                                              "SIR2SOLD", "SIR2S", "SIRTN", "SIRCS", "ORION2", "ORIONRTZ"}));
}

TEST_P(RelayTable, TypeRowAndSettingsBlock) {
    const TDeviceType* type = FindDeviceTypeByTag(def.Tag());
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Code, x.code);
    EXPECT_EQ(def.TypeCode, x.code);
    EXPECT_EQ(&def.Type(), type); // its code and its tag name the same row
    EXPECT_EQ(DeviceFactory(type), GetParam().Factory);

    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Number, x.firstNumber);
    EXPECT_EQ(o->DisplayType, x.display);
    EXPECT_EQ(o->InstanceByte(), 1);
    EXPECT_EQ(o->ParamCount(), x.params);
    EXPECT_EQ(def.SignalCount, x.signals);

    // The settings block first, at its fixed addresses, then the signals, unbound.
    const std::vector<TParamItem*> all = Channels();
    ASSERT_EQ(all.size(), kBuiltInChannelCount + static_cast<size_t>(x.params));
    std::vector<uint16_t> widths;
    const int settings = x.params - x.signals;
    for (int k = 0; k < settings; ++k) {
        TParamItem* p = all[kBuiltInChannelCount + k];
        EXPECT_EQ(p, o->Param(x.signals + k));
        EXPECT_EQ(p->ChannelType, x.firstCode + k);
        EXPECT_EQ(p->ChannelIndex, 1);
        EXPECT_EQ(p->Kind, kChannelSetting);
        EXPECT_EQ(p->ValueEditable, k == 0 ? 1 : 0);
        widths.push_back(p->BitWidth());
    }
    std::vector<uint16_t> expected = {40};
    expected.insert(expected.end(), x.tableBits.begin(), x.tableBits.end());
    if (x.password)
        expected.push_back(16);
    EXPECT_EQ(widths, expected);
    TParamItem* address = o->Param(x.signals);
    EXPECT_EQ((std::vector<int>{address->Value[0], address->Value[1], address->Value[2], address->Value[3],
                                address->Value[4]}),
              (std::vector<int>{0, 0x00, 0x4B, 0, 0}));
    EXPECT_EQ(RowText(o, 3), "19200");
    EXPECT_EQ(all[kBuiltInChannelCount + settings], o->Param(0));
    EXPECT_EQ(address->Name, std::string(def.NamePrefix) + "Сетевой адрес");
    EXPECT_EQ(o->Param(x.params - 1)->Name,
              std::string(def.NamePrefix) + (x.password ? "Пароль" : def.ParamNames[x.params - 1]));
    for (int i = 0; i < x.params; ++i)
        EXPECT_EQ(o->Param(i)->Ordinal, i + 1);
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPropertyNames(s); }).size(), x.password ? 5u : 4u);
}

TEST_P(RelayTable, SignalsByRole) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    actionManager* store = cm->Actions;
    const uint16_t stateChange = store->FindOrCreate("log_handleStateChange", 0, 0);
    ASSERT_NE(stateChange, 0);
    std::map<int, uint8_t> controls(x.controls.begin(), x.controls.end());
    std::map<int, const Measure*> measures;
    for (const Measure& m : x.measures)
        measures[m.index] = &m;
    int measured = 0;
    for (int i = 0; i < x.signals; ++i) {
        TParamItem* p = o->Param(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(p->ChannelType, 0);
        EXPECT_EQ(p->ChannelIndex, 0);
        EXPECT_EQ(p->Name, std::string(def.NamePrefix) + def.ParamNames[i]);
        if (p->Kind == kChannelMeasured) {
            ++measured;
            EXPECT_EQ(p->RamDepth, 1);
            EXPECT_EQ(p->Value[0], 0xFF);
            EXPECT_EQ(p->Value[255], 0xFF);
            EXPECT_EQ(p->WriteHandler, 0);
            if (measures.count(i)) {
                EXPECT_EQ(p->ParamType, measures[i]->type);
                EXPECT_EQ(p->BitWidth(), measures[i]->bits);
            }
            continue;
        }
        EXPECT_EQ(p->Kind, kChannelSignal);
        EXPECT_EQ(p->BitWidth(), 2);
        EXPECT_EQ(p->Value[0], 2);
        EXPECT_EQ(p->WriteHandler, stateChange);
        EXPECT_EQ(p->ParamType, controls.count(i) ? controls[i] : 24);
        const char* control = controls.count(i) == 0 ? nullptr
                              : controls[i] == 22    ? "_prepareControl"
                                                     : "_prepareReset";
        EXPECT_EQ(p->ChangeHandler,
                  control ? store->FindOrCreate(std::string(def.Folder) + control, 0, 0) : 0);
        if (control) {
            EXPECT_NE(p->ChangeHandler, 0);
        }
    }
    EXPECT_EQ(measured > 0, !x.measures.empty());
}

TEST_P(RelayTable, CommandsAndSubprograms) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(o->CommandCount(), static_cast<int>(x.execute.size()));
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPollCommandNames(s); }),
              std::vector<std::string>(x.polls.begin(), x.polls.end()));
    EXPECT_EQ(o->CommandAt(o->CommandCount() - 1)->Name, x.lastCommand);
    ASSERT_EQ(static_cast<int>(def.Subprograms.size()), x.subprograms);
    for (int k = 0; k < x.subprograms; ++k) {
        T_Action* a = dev::Subprogram(cm->Actions, o->SubprogramId(k));
        ASSERT_NE(a, nullptr) << k;
        EXPECT_EQ(a->Name(), def.Subprograms[k].name);
        EXPECT_EQ(a->Caption, def.Subprograms[k].caption);
        EXPECT_EQ(std::string(a->Name()).rfind(std::string(def.Folder) + "_", 0), 0u);
    }
    const std::string folder = def.Folder;
    auto name = [&](uint16_t id) {
        T_Action* a = dev::Subprogram(cm->Actions, id);
        return a ? a->Name() : std::string();
    };
    for (int n = 0; n < o->CommandCount(); ++n) {
        const TCommandItem* c = o->CommandAt(n);
        EXPECT_EQ(c->Number, n + 1);
        EXPECT_EQ(c->Execute, x.execute[n]) << c->Name;
        EXPECT_EQ(c->Period, 0);
        EXPECT_EQ(name(c->Prepare), folder + "_prepareQuery");
        EXPECT_EQ(name(c->Parse), folder + "_parseAnswer");
        EXPECT_EQ(name(c->NoAnswer), folder + "_handleNoAnswer");
    }
}

TEST_P(RelayTable, DescriptionsAndChecks) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    const std::string head =
        "Объект \"" + std::string(x.display) + " ID-" + std::to_string(x.firstNumber) + " адрес 0\"";
    std::vector<std::string> fresh = {head + " - Не задан адрес прибора"};
    if (x.password)
        fresh.push_back(head + " - Не задан пароль прибора");
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }), fresh);
    o->Period = 1;
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }).front(),
              head + " - Команда опроса \"" + x.polls.front() + "\" неактивна");

    o->ApplyPropertyValue(2, "3");
    if (x.password)
        o->ApplyPropertyValue(4, "1");
    o->CommandAt(0)->Execute = 1;
    o->Period = 0;
    const std::string head3 =
        "Объект \"" + std::string(x.display) + " ID-" + std::to_string(x.firstNumber) + " адрес 3\"";
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{head3 + " - Не указан общий период опроса используемых параметров"});
    o->Period = 1;
    EXPECT_TRUE(Lines([&](TStrings* s) { o->CheckConfiguration(s); }).empty());
    EXPECT_TRUE(Lines([&](TStrings* s) { o->CheckSubprogramVersions(s); }).empty());

    for (const auto& [i, text] : x.descriptions)
        EXPECT_EQ(o->GetParamDescription(o->Param(i)), text) << i;
    EXPECT_EQ(o->GetParamDescription(o->Param(x.signals)), "");
    EXPECT_EQ(o->GetDisplayName(), "ID-" + std::to_string(x.firstNumber) + " адрес 3");
}

INSTANTIATE_TEST_SUITE_P(Terminals, RelayTable,
                         ::testing::ValuesIn(RelayClasses().begin(), RelayClasses().end()), ClassName());

} // namespace
