// Every meter class against its own figures: identity and numbering, the settings block, where each
// signal is recorded, commands and their subprograms, property rows, value texts, descriptions,
// check lines and export lines of a new object.
#include <map>

#include "Meterobjects.h"
#include "meterfixture.h"

using namespace metertest;

namespace {

struct SettingFig {
    int index;
    uint16_t code; // channel type at instance byte 1 (the first object)
    uint16_t bits;
    uint8_t visible;
};
struct SignalFig {
    int index;
    uint8_t kind;
    uint8_t type;
    uint16_t bits;
    int table;  // index-table parameter recording it
    int offset; // byte offset of its entry there
};
struct TextFig {
    int index;
    const char* text;
};
struct CommandFig {
    int number;
    const char* name;
    uint8_t execute;
    uint8_t period;
    const char* prepare; // subprogram names; null: none
    const char* parse;
    const char* noAnswer;
};
struct Figures {
    uint16_t first; // number of the first object
    const char* displayType;
    const char* prefix; // of every parameter name
    int params;
    int channels; // a new object appends
    std::vector<SettingFig> settings;
    std::vector<SignalFig> signals;
    int commands;
    std::vector<std::string> listed; // poll command rows: first and last (or all when fewer)
    int listedCount;
    std::vector<CommandFig> commandFigs;
    std::vector<std::string> properties; // rows 2 on: names, then texts of a new object
    std::vector<std::string> propertyTexts;
    std::vector<TextFig> values;       // of a new object
    std::vector<TextFig> descriptions; // at address 7
    std::vector<std::string> checks;   // of a new object
};

const std::string k6 = "0:0,0:0,0:0,0:0,0:0,0:0";

const std::map<std::string, Figures>& AllFigures() {
    static const std::map<std::string, Figures> figures = {
        {"SCHM120",
         {7008,
          "ЩМ-120(ЩМ-96)",
          "SCHM120: ",
          38,
          38,
          {{35, 1620, 40, 1}, {36, 1621, 504, 0}, {37, 1622, 336, 0}},
          {{0, 3, 24, 2, 36, 0},
           {5, 3, 24, 2, 36, 15},
           {6, 2, 9, 16, 36, 18},
           {20, 2, 12, 16, 36, 60},
           {21, 2, 12, 16, 37, 0},
           {24, 2, 14, 16, 37, 9},
           {34, 2, 13, 16, 37, 39}},
          2,
          {"Опрос дискр. кан. ЩМ-120", "Опрос аналог. кан. ЩМ-120"},
          2,
          {{1, "Опрос дискр. кан. ЩМ-120", 0, 0, "schm120_prepareQuery", "schm120_parseAnswer",
            "schm120_handleNoAnswer"}},
          {"Сетевой адрес", "Скорость RS-485"},
          {"0", "19200"},
          {{0, "2"}, {6, "255"}, {34, "255"}, {35, "0"}, {36, "0"}},
          {{0, "ЩМ-120(ЩМ-96)   - 7, вх. сиг. \"ТС1\""},
           {9, "ЩМ-120(ЩМ-96)   - 7, Ток ф.A"},
           {10, "ЩМ-120(ЩМ-96)   - 7, Ток ф.В"},
           {33, "ЩМ-120(ЩМ-96)   - 7, Коэффициент мощности ф.C"},
           {35, ""}},
          {"Объект \"ЩМ-120(ЩМ-96) ID-7008 адрес 0\" - Не задан адрес прибора"}}},
        {"IPC6806",
         {1512,
          "ИПЦ-6806",
          "ИПЦ: ",
          31,
          31,
          {{23, 1020, 16, 1}, {24, 1021, 72, 0}, {28, 1025, 72, 0}, {29, 1026, 96, 0}, {30, 1027, 96, 0}},
          {{0, 3, 3, 1, 24, 0},
           {5, 3, 3, 1, 25, 6},
           {6, 2, 8, 16, 26, 0},
           {15, 2, 11, 16, 29, 0},
           {18, 2, 14, 16, 29, 9},
           {19, 2, 15, 32, 30, 0},
           {22, 2, 16, 32, 30, 9}},
          3,
          {"Опрос измерений ИПЦ", "Опрос энергии ИПЦ"},
          2,
          {{1, "Опрос измерений ИПЦ", 0, 0, "ipc_prepareQuery", "ipc_parseAnswer", "ipc_handleNoAnswer"},
           {3, "Управление*", 1, 0, "ipc_prepareQuery", "ipc_parseAnswer", "ipc_handleNoAnswer"}},
          {"Сетевой адрес"},
          {"0"},
          {{0, "0"}, {6, "0"}, {19, "0"}, {23, "0"}, {24, "0:0,0:0,0:0"}, {29, "0:0,0:0,0:0,0:0"}},
          {{0, ""}, {6, ""}, {23, ""}},
          {}}},
        {"MER230",
         {1000,
          "МЕРКУРИЙ 230",
          "M230: ",
          31,
          61,
          {{18, 1000, 64, 1},
           {19, 1001, 144, 0},
           {20, 1002, 144, 0},
           {21, 1003, 192, 0},
           {24, 1004, 48, 0},
           {30, 1005, 72, 0}},
          {{0, 2, 8, 16, 19, 0},
           {5, 2, 9, 16, 19, 15},
           {6, 2, 10, 16, 20, 0},
           {12, 2, 13, 16, 21, 0},
           {15, 2, 14, 16, 21, 9},
           {16, 2, 15, 32, 21, 12},
           {17, 2, 16, 32, 21, 15},
           {22, 4, 20, 128, 24, 0},
           {23, 4, 21, 128, 24, 3},
           {25, 2, 15, 32, 21, 18},
           {26, 2, 16, 32, 21, 21},
           {27, 2, 10, 16, 30, 0},
           {29, 2, 13, 16, 30, 6}},
          12,
          {"Опрос токов по фазам", "Опрос энергии Т4"},
          11,
          {{1, "Открытие канала связи", 1, 255, "M230_prepareQuery", "M230_parseAnswer",
            "M230_handleNoAnswer"},
           {5, "Опрос мощности акт.", 0, 0, "M230_prepareQuery", "M230_parseAnswer_2", "M230_handleNoAnswer"},
           {7, "Опрос частоты", 0, 0, "M230_prepareQuery", "M230_parseAnswer", "M230_handleNoAnswer"},
           {9, "Опрос энергии Т1", 0, 0, "M230_prepareTarifQuery", "M230_parseTarifAnswer", nullptr}},
          {"Сетевой адрес", "Разрядность показаний тока", "Тип пароля", "Пароль"},
          {"0", "x0,001 А", "DEC", "111111"},
          {{0, "не определено"},
           {16, "не определено"},
           {18, "0"},
           {19, k6.c_str()},
           {22, "не определено"},
           {24, "0:0,0:0"}},
          {{0, "Меркурий 230 - 7, ф.A"},
           {4, "Меркурий 230 - 7, ф.B"},
           {14, "Меркурий 230 - 7, ф.C"},
           {15, "Меркурий 230 - 7"},
           {23, "Меркурий 230 - 7"},
           {28, "Меркурий 230 - 7, 3ф"},
           {18, ""}},
          {"Объект \"МЕРКУРИЙ 230 ID-1000 адрес 0\" - Не задан адрес счетчика"}}},
        {"SET4TM",
         {2000,
          "СЭТ-4ТМ",
          "СЭТ: ",
          31,
          61,
          {{18, 1040, 24, 1},
           {19, 1041, 144, 0},
           {20, 1042, 144, 0},
           {21, 1043, 192, 0},
           {24, 1044, 48, 0},
           {30, 1045, 72, 0}},
          {{0, 2, 8, 16, 19, 0},
           {11, 2, 11, 16, 20, 15},
           {17, 2, 16, 32, 21, 15},
           {22, 4, 20, 128, 24, 0},
           {25, 2, 15, 32, 21, 18},
           {28, 2, 11, 16, 30, 3}},
          12,
          {"Опрос тока по фазам", "Опрос энергии Т4"},
          11,
          {{1, "Открытие канала связи", 1, 255, "set4tm_prepareQuery", "set4tm_parseAnswer",
            "set4tm_handleNoAnswer"},
           {8, "Опрос косинуса фи", 0, 0, "set4tm_prepareQuery", "set4tm_parseAnswer_2",
            "set4tm_handleNoAnswer"},
           {12, "Опрос энергии Т4", 0, 0, "set4tm_prepareTarifQuery", "set4tm_parseTarifAnswer", nullptr}},
          {"Сетевой адрес", "Пост. счетчика (А,имп/Вт*ч)"},
          {"0", "5"},
          {{3, "не определено"}, {17, "не определено"}, {18, "0"}, {20, k6.c_str()}, {23, "не определено"}},
          {{0, "СЭТ-4ТМ - 7, ф.A"},
           {14, "СЭТ-4ТМ - 7, ф.C"},
           {26, "СЭТ-4ТМ - 7"},
           {27, "СЭТ-4ТМ - 7, 3ф"},
           {30, ""}},
          {"Объект \"СЭТ-4ТМ ID-2000 адрес 0\" - Не задан адрес счетчика"}}},
        {"ZNAK",
         {3000,
          "КЭЯ \"Знак+\"",
          "КЭЯ \"Знак+\": ",
          38,
          38,
          {{33, 1060, 8, 1}, {34, 1061, 312, 0}, {35, 1062, 264, 0}, {36, 1063, 216, 0}, {37, 1064, 168, 0}},
          {{0, 3, 1, 1, 34, 0},
           {6, 3, 1, 1, 34, 18},
           {7, 2, 8, 16, 34, 21},
           {12, 2, 9, 16, 34, 36},
           {13, 2, 15, 32, 35, 0},
           {20, 2, 16, 32, 35, 21},
           {21, 2, 10, 16, 36, 0},
           {29, 2, 12, 16, 36, 24},
           {30, 2, 13, 16, 35, 24},
           {31, 2, 13, 16, 35, 27}},
          9,
          {"Опрос ТС", "Опрос Косинуса Фи"},
          9,
          {{4, "Опрос Энергии (акт.)", 0, 0, "znak_prepareQuery", "znak_parseAnswer", "znak_handleNoAnswer"}},
          {"Сетевой адрес"},
          {"0"},
          {{0, "0"},
           {7, "0"},
           {13, "0 Вт*ч"},
           {21, "0"},
           {33, "0"},
           {36, "0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0"}},
          {{0, ""}, {7, ""}, {33, ""}},
          {}}},
        {"ZNAK_X",
         {3500,
          "КЭЯ \"Знак+\" (ИКС)",
          "КЭЯ \"Знак+\" (ИКС): ",
          39,
          83,
          {{34, 1100, 8, 1}, {35, 1101, 312, 0}, {36, 1102, 216, 0}, {37, 1103, 288, 0}, {38, 1104, 168, 0}},
          {{0, 3, 1, 1, 35, 0},
           {7, 2, 8, 16, 35, 21},
           {13, 2, 15, 32, 36, 0},
           {14, 2, 16, 32, 36, 3},
           {21, 2, 13, 16, 36, 24},
           {22, 2, 10, 16, 37, 0},
           {33, 2, 12, 16, 37, 33}},
          2,
          {"Опрос ТС (ИКС)", "Опрос Измерений (ИКС)"},
          2,
          {{2, "Опрос Измерений (ИКС)", 0, 0, "znakx_prepareQuery", "znakx_parseAnswer",
            "znakx_handleNoAnswer"}},
          {"Сетевой адрес"},
          {"0"},
          {{0, "0"},
           {7, "не определено"},
           {13, "не определено"},
           {21, "не определено"},
           {34, "0"},
           {36, "0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0"}},
          {{0, "КЭЯ \"Знак+\" - 7, ТС-1"},
           {7, "КЭЯ \"Знак+\" - 7, ф.А"},
           {9, "КЭЯ \"Знак+\" - 7, ф.C"},
           {13, "КЭЯ \"Знак+\" - 7"},
           {21, "КЭЯ \"Знак+\" - 7"},
           {31, "КЭЯ \"Знак+\" - 7, ф.B"},
           {32, "КЭЯ \"Знак+\" - 7, ф.С"},
           {33, "КЭЯ \"Знак+\" - 7, 3ф"},
           {34, ""}},
          {}}},
        {"LIS_SET4TM",
         {5110,
          "СЭТ-4ТМ (Подслушивание)",
          "СЭТ: ",
          26,
          56,
          {{18, 1240, 24, 1},
           {19, 1241, 144, 0},
           {20, 1242, 144, 0},
           {21, 1243, 144, 0},
           {24, 1244, 48, 0},
           {25, 1245, 32, 0}},
          {{0, 2, 8, 16, 19, 0},
           {12, 2, 13, 16, 21, 0},
           {17, 2, 16, 32, 21, 15},
           {22, 4, 20, 128, 24, 0},
           {23, 4, 21, 128, 24, 3}},
          0,
          {},
          0,
          {},
          {"Сетевой адрес", "Пост. счетчика (А,имп/Вт*ч)"},
          {"0", "5"},
          {{16, "не определено"}, {18, "0"}, {21, k6.c_str()}, {24, "0:0,0:0"}},
          {{1, "СЭТ-4ТМ - 7, ф.B"}, {22, "СЭТ-4ТМ - 7"}, {25, ""}},
          {"Объект \"СЭТ-4ТМ (Подслушивание) ID-5110 адрес 0\" - Не задан адрес счетчика"}}},
    };
    return figures;
}

class MeterTable : public MeterTest, public ::testing::WithParamInterface<TMeterClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
    const Figures& fig = AllFigures().at(def.Tag());

    std::string SubName(uint16_t id) const {
        T_Action* a = dev::Subprogram(cm->Actions, id);
        return a ? a->Name() : std::string();
    }
};

TEST_P(MeterTable, RegisteredWithItsTypeRow) {
    const TDeviceType* type = FindDeviceTypeByCode(def.TypeCode);
    ASSERT_NE(type, nullptr);
    EXPECT_STREQ(type->Tag, def.Tag());
    EXPECT_EQ(type->Base + 1, fig.first);
    EXPECT_EQ(DeviceFactory(type), GetParam().Factory);
}

TEST_P(MeterTable, NewObjectParametersAndSettings) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Number, fig.first);
    EXPECT_EQ(o->DisplayType, fig.displayType);
    EXPECT_EQ(o->Tag, def.Tag());
    EXPECT_EQ(o->GetDisplayName(), "ID-" + std::to_string(fig.first) + " адрес 0");
    EXPECT_EQ(o->ParamCount(), fig.params);
    std::vector<TParamItem*> own; // the configuration's own system channels are on the list too
    for (TParamItem* p : Channels())
        if (p->Owner == o)
            own.push_back(p);
    EXPECT_EQ(static_cast<int>(own.size()), fig.channels);
    for (int i = 0; i < o->ParamCount(); ++i) {
        TParamItem* p = o->Param(i);
        EXPECT_EQ(p->Owner, o);
        EXPECT_EQ(p->Ordinal, i + 1);
        EXPECT_EQ(p->Name, fig.prefix + std::string(def.ParamNames[i]));
    }
    // Settings come first on the list, at their fixed addresses with the instance byte 1.
    for (size_t k = 0; k < fig.settings.size(); ++k) {
        const SettingFig& s = fig.settings[k];
        TParamItem* p = o->Param(s.index);
        EXPECT_EQ(p->ChannelType, s.code) << s.index;
        EXPECT_EQ(p->ChannelIndex, 1) << s.index;
        EXPECT_EQ(p->BitWidth(), s.bits) << s.index;
        EXPECT_EQ(p->ValueEditable, s.visible) << s.index;
        EXPECT_EQ(p->Kind, kChannelSetting) << s.index;
        EXPECT_FALSE(o->IsSignal(s.index));
    }
    EXPECT_EQ(own.front(), o->Param(fig.settings.front().index));
    for (const SignalFig& s : fig.signals) {
        TParamItem* p = o->Param(s.index);
        EXPECT_TRUE(dev::IsUnbound(p)) << s.index;
        EXPECT_EQ(p->Kind, s.kind) << s.index;
        EXPECT_EQ(p->ParamType, s.type) << s.index;
        EXPECT_EQ(p->BitWidth(), s.bits) << s.index;
        int table = 0, offset = 0;
        ASSERT_TRUE(o->EntryOf(s.index, table, offset)) << s.index;
        EXPECT_EQ(table, s.table) << s.index;
        EXPECT_EQ(offset, s.offset) << s.index;
    }
    ELEMList list;
    o->ListSignalParams(&list, false);
    EXPECT_EQ(list.Count, def.SignalCount);
    while (ELEM* e = list.Newest) {
        list.Remove(e);
        delete e;
    }
}

TEST_P(MeterTable, CommandsAndTheirSubprograms) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->CommandCount(), fig.commands);
    const std::vector<std::string> listed = Lines([&](TStrings* s) { o->GetPollCommandNames(s); });
    EXPECT_EQ(static_cast<int>(listed.size()), fig.listedCount);
    if (!listed.empty()) {
        EXPECT_EQ(listed.front(), fig.listed.front());
        EXPECT_EQ(listed.back(), fig.listed.back());
    }
    for (const CommandFig& f : fig.commandFigs) {
        const TCommandItem* c = o->CommandAt(f.number - 1);
        ASSERT_NE(c, nullptr) << f.number;
        EXPECT_EQ(c->Number, f.number);
        EXPECT_EQ(c->Name, f.name);
        EXPECT_EQ(c->Execute, f.execute) << f.name;
        EXPECT_EQ(c->Period, f.period) << f.name;
        EXPECT_EQ(SubName(c->Prepare), f.prepare ? f.prepare : "") << f.name;
        EXPECT_EQ(SubName(c->Parse), f.parse ? f.parse : "") << f.name;
        EXPECT_EQ(SubName(c->NoAnswer), f.noAnswer ? f.noAnswer : "") << f.name;
    }
    // Every default subprogram is in the store, captioned.
    for (size_t k = 0; k < def.Subprograms.size(); ++k) {
        T_Action* a = dev::Subprogram(cm->Actions, o->SubprogramId(static_cast<int>(k)));
        ASSERT_NE(a, nullptr) << def.Subprograms[k].name;
        EXPECT_EQ(a->Name(), def.Subprograms[k].name);
        EXPECT_EQ(a->Caption, def.Subprograms[k].caption);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_P(MeterTable, PropertyRowsValueTextsDescriptionsChecksAndExport) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    std::vector<std::string> names = Lines([&](TStrings* s) { o->GetPropertyNames(s); });
    ASSERT_EQ(names.size(), 2 + fig.properties.size());
    EXPECT_EQ(names[0], "Идентификатор");
    EXPECT_EQ(names[1], "Период опроса");
    for (size_t k = 0; k < fig.properties.size(); ++k) {
        EXPECT_EQ(names[2 + k], fig.properties[k]);
        EXPECT_EQ(RowText(o, static_cast<int>(2 + k)), fig.propertyTexts[k]) << fig.properties[k];
    }
    EXPECT_EQ(RowText(o, 0), std::to_string(fig.first));
    for (const TextFig& t : fig.values)
        EXPECT_EQ(ValueText(o, o->Param(t.index)), t.text) << t.index;
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }), fig.checks);
    o->SetParamValueText(o->Setting(dev::Role::Address), "7");
    EXPECT_EQ(o->GetDisplayName(), "ID-" + std::to_string(fig.first) + " адрес 7");
    for (const TextFig& t : fig.descriptions)
        EXPECT_EQ(o->GetParamDescription(o->Param(t.index)), t.text) << t.index;
    EXPECT_TRUE(Lines([&](TStrings* s) { o->GetExportValues(s); }).empty());
    EXPECT_TRUE(Lines([&](TStrings* s) { o->CheckSubprogramVersions(s); }).empty());
}

TEST_P(MeterTable, RenumberingRestampsOnlyTheSettings) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    const SignalFig& s = fig.signals.back();
    o->BindParam(4321, 9, o->Param(s.index));
    o->SetNumber(static_cast<uint16_t>(fig.first + 2));
    for (const SettingFig& f : fig.settings)
        EXPECT_EQ(o->Param(f.index)->ChannelIndex, 3) << f.index;
    EXPECT_TRUE(dev::SameAddress(o->Param(s.index), 4321, 9));
}

INSTANTIATE_TEST_SUITE_P(All, MeterTable, ::testing::ValuesIn(MeterClasses().begin(), MeterClasses().end()),
                         ClassName());

TEST(MeterFigures, EveryClassHasFigures) {
    EXPECT_EQ(MeterClasses().size(), 7u);
    for (const TMeterClass& c : MeterClasses())
        EXPECT_EQ(AllFigures().count(c.Def->Tag()), 1u) << c.Def->Tag();
}

} // namespace
