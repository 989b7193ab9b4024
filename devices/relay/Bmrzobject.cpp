// The eight BMRZ terminals: one description each, on the shape they share (24 discrete signals, the
// breaker control and the trip reset, the network address with the RS-485 speed, two index tables).
// Device layer.
#include "Bmrzobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kKLNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Внешняя защита",
    "Блокировка АПВ",
    "Программа 2",
    "Авария ШП",
    "АЧР/ЧАПВ",
    "Блокировка ЗМН",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд",
    "ЛЗШд",
    "АПВ сигнал",
    "Пуск МТЗ",
    "Перегрузка",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kKLNames) == 27);

constexpr const char* kVVNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Разреш. АВР",
    "Блокировка АВР",
    "Программа 2",
    "Авария ШП",
    "УРОВп",
    "ЛЗШп",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд",
    "Выход",
    "Разреш. АВР",
    "Вкл. СВ",
    "Откл. СВ",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kVVNames) == 27);

constexpr const char* kSVNames[] = {
    "РПО",
    "РПВ",
    "Отключить",
    "Включить",
    "Вкл. СВ",
    "Откл. СВ",
    "Программа 2",
    "Авария ШП",
    "УРОВп",
    "ЛЗШп",
    "Откл.",
    "Вкл.",
    "Авар. Откл",
    "Отказ БМРЗ",
    "Вызов БМРЗ",
    "УРОВд1",
    "ЛЗШд",
    "УРОВд2",
    "Пуск МТЗ",
    "Перегрузка",
    "Св-д Местное Управление (МУ)",
    "Отказ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};
static_assert(std::size(kSVNames) == 27);

constexpr SettingDef kSettings[] = {kAddress, kFullTable, IndexTable(3)};

constexpr DescGroup kGroups[] = {
    {0, 9, kInput, true},
    {10, 19, ", вых. сиг. ", true},
    {20, 23, kIndication, true},
};

// In the 103VV members the description names position 17 in full.
constexpr DescOverride kVVOverrides[] = {{17, nullptr, "Разрешение АВР"}};

// Every command takes subprograms 0, 1 and 2.
constexpr int kBmrzPrepare = 0;
constexpr int kBmrzParse = 1;
constexpr int kBmrzNoAnswer = 2;

constexpr ParamRule kBMRZ101KLSignals[] = {Signals(0, 21), Breaker(22, "bmrz101kl_prepareControl"),
                                           Reset(23, "bmrz101kl_prepareReset")};
constexpr CommandDef kBMRZ101KLCommands[] = {
    {"Опрос дискр. кан. БМРЗ101КЛ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ101KLSubprograms[] = {
    {"bmrz101kl_prepareQuery", "Подготовка опроса БМРЗ101КЛ"},
    {"bmrz101kl_parseAnswer", "Разбор ответа БМРЗ101КЛ"},
    {"bmrz101kl_handleNoAnswer", "Нет ответа БМРЗ101КЛ"},
    {"bmrz101kl_getNetAddress", "Получить сетевой адрес БМРЗ101КЛ"},
    {"bmrz101kl_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ101КЛ"},
    {"bmrz101kl_prepareReset", "Подготовка команды Сброса БМРЗ101КЛ"},
};

constexpr ParamRule kBMRZ101KL01Signals[] = {Signals(0, 21), Breaker(22, "bmrz101kl01_prepareControl"),
                                             Reset(23, "bmrz101kl01_prepareReset")};
constexpr CommandDef kBMRZ101KL01Commands[] = {
    {"Опрос дискр. кан. БМРЗ101КЛ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ101KL01Subprograms[] = {
    {"bmrz101kl01_prepareQuery", "Подготовка опроса БМРЗ101КЛ"},
    {"bmrz101kl01_parseAnswer", "Разбор ответа БМРЗ101КЛ"},
    {"bmrz101kl01_handleNoAnswer", "Нет ответа БМРЗ101КЛ"},
    {"bmrz101kl01_getNetAddress", "Получить сетевой адрес БМРЗ101КЛ"},
    {"bmrz101kl01_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ101КЛ"},
    {"bmrz101kl01_prepareReset", "Подготовка команды Сброса БМРЗ101КЛ"},
};

constexpr ParamRule kBMRZ101KL02Signals[] = {Signals(0, 21), Breaker(22, "bmrz101kl02_prepareControl"),
                                             Reset(23, "bmrz101kl02_prepareReset")};
constexpr CommandDef kBMRZ101KL02Commands[] = {
    {"Опрос дискр. кан. БМРЗ101КЛ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ101KL02Subprograms[] = {
    {"bmrz101kl02_prepareQuery", "Подготовка опроса БМРЗ101КЛ"},
    {"bmrz101kl02_parseAnswer", "Разбор ответа БМРЗ101КЛ"},
    {"bmrz101kl02_handleNoAnswer", "Нет ответа БМРЗ101КЛ"},
    {"bmrz101kl02_getNetAddress", "Получить сетевой адрес БМРЗ101КЛ"},
    {"bmrz101kl02_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ101КЛ"},
    {"bmrz101kl02_prepareReset", "Подготовка команды Сброса БМРЗ101КЛ"},
};

constexpr ParamRule kBMRZ103VVSignals[] = {Signals(0, 21), Breaker(22, "bmrz103vv_prepareControl"),
                                           Reset(23, "bmrz103vv_prepareReset")};
constexpr CommandDef kBMRZ103VVCommands[] = {
    {"Опрос дискр. кан. БМРЗ103ВВ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ103VVSubprograms[] = {
    {"bmrz103vv_prepareQuery", "Подготовка опроса БМРЗ103ВВ"},
    {"bmrz103vv_parseAnswer", "Разбор ответа БМРЗ103ВВ"},
    {"bmrz103vv_handleNoAnswer", "Нет ответа БМРЗ103ВВ"},
    {"bmrz103vv_getNetAddress", "Получить сетевой адрес БМРЗ103ВВ"},
    {"bmrz103vv_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ103ВВ"},
    {"bmrz103vv_prepareReset", "Подготовка команды Сброса БМРЗ103ВВ"},
};

constexpr ParamRule kBMRZ103VV01Signals[] = {Signals(0, 21), Breaker(22, "bmrz103vv01_prepareControl"),
                                             Reset(23, "bmrz103vv01_prepareReset")};
constexpr CommandDef kBMRZ103VV01Commands[] = {
    {"Опрос дискр. кан. БМРЗ103ВВ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ103VV01Subprograms[] = {
    {"bmrz103vv01_prepareQuery", "Подготовка опроса БМРЗ103ВВ"},
    {"bmrz103vv01_parseAnswer", "Разбор ответа БМРЗ103ВВ"},
    {"bmrz103vv01_handleNoAnswer", "Нет ответа БМРЗ103ВВ"},
    {"bmrz103vv01_getNetAddress", "Получить сетевой адрес БМРЗ103ВВ"},
    {"bmrz103vv01_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ103ВВ"},
    {"bmrz103vv01_prepareReset", "Подготовка команды Сброса БМРЗ103ВВ"},
};

constexpr ParamRule kBMRZ103VV02Signals[] = {Signals(0, 21), Breaker(22, "bmrz103vv02_prepareControl"),
                                             Reset(23, "bmrz103vv02_prepareReset")};
constexpr CommandDef kBMRZ103VV02Commands[] = {
    {"Опрос дискр. кан. БМРЗ103ВВ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ103VV02Subprograms[] = {
    {"bmrz103vv02_prepareQuery", "Подготовка опроса БМРЗ103ВВ"},
    {"bmrz103vv02_parseAnswer", "Разбор ответа БМРЗ103ВВ"},
    {"bmrz103vv02_handleNoAnswer", "Нет ответа БМРЗ103ВВ"},
    {"bmrz103vv02_getNetAddress", "Получить сетевой адрес БМРЗ103ВВ"},
    {"bmrz103vv02_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ103ВВ"},
    {"bmrz103vv02_prepareReset", "Подготовка команды Сброса БМРЗ103ВВ"},
};

constexpr ParamRule kBMRZ103SVSignals[] = {Signals(0, 21), Breaker(22, "bmrz103sv_prepareControl"),
                                           Reset(23, "bmrz103sv_prepareReset")};
constexpr CommandDef kBMRZ103SVCommands[] = {
    {"Опрос дискр. кан. БМРЗ103CВ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ103SVSubprograms[] = {
    {"bmrz103sv_prepareQuery", "Подготовка опроса БМРЗ103CВ"},
    {"bmrz103sv_parseAnswer", "Разбор ответа БМРЗ103CВ"},
    {"bmrz103sv_handleNoAnswer", "Нет ответа БМРЗ103CВ"},
    {"bmrz103sv_getNetAddress", "Получить сетевой адрес БМРЗ103CВ"},
    {"bmrz103sv_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ103CВ"},
    {"bmrz103sv_prepareReset", "Подготовка команды Сброса БМРЗ103CВ"},
};

constexpr ParamRule kBMRZ103SV01Signals[] = {Signals(0, 21), Breaker(22, "bmrz103sv01_prepareControl"),
                                             Reset(23, "bmrz103sv01_prepareReset")};
constexpr CommandDef kBMRZ103SV01Commands[] = {
    {"Опрос дискр. кан. БМРЗ103CВ", 0},     {"Подготовка к опросу - команда 1", 1},
    {"Подготовка к опросу - команда 2", 1}, {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
};
constexpr SubprogramDef kBMRZ103SV01Subprograms[] = {
    {"bmrz103sv01_prepareQuery", "Подготовка опроса БМРЗ103CВ"},
    {"bmrz103sv01_parseAnswer", "Разбор ответа БМРЗ103CВ"},
    {"bmrz103sv01_handleNoAnswer", "Нет ответа БМРЗ103CВ"},
    {"bmrz103sv01_getNetAddress", "Получить сетевой адрес БМРЗ103CВ"},
    {"bmrz103sv01_prepareControl", "Подготовка команд Вкл./Откл. ВВ БМРЗ103CВ"},
    {"bmrz103sv01_prepareReset", "Подготовка команды Сброса БМРЗ103CВ"},
};

} // namespace

constexpr TDeviceDef TBMRZ101KLItem::Def{
    .TypeCode = 13,
    .Folder = "bmrz101kl",
    .NamePrefix = "BMRZ101KL: ",
    .ParamNames = kKLNames,
    .SignalCount = 24,
    .Signals = kBMRZ101KLSignals,
    .Settings = kSettings,
    .CodeBase = 1416,
    .Commands = kBMRZ101KLCommands,
    .PollCount = 1,
    .Subprograms = kBMRZ101KLSubprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-101КЛ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ101KL01Item::Def{
    .TypeCode = 14,
    .Folder = "bmrz101kl01",
    .NamePrefix = "BMRZ101KL01: ",
    .ParamNames = kKLNames,
    .SignalCount = 24,
    .Signals = kBMRZ101KL01Signals,
    .Settings = kSettings,
    .CodeBase = 1436,
    .Commands = kBMRZ101KL01Commands,
    .PollCount = 1,
    .Subprograms = kBMRZ101KL01Subprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-101КЛ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ101KL02Item::Def{
    .TypeCode = 15,
    .Folder = "bmrz101kl02",
    .NamePrefix = "BMRZ101KL02: ",
    .ParamNames = kKLNames,
    .SignalCount = 24,
    .Signals = kBMRZ101KL02Signals,
    .Settings = kSettings,
    .CodeBase = 1516,
    .Commands = kBMRZ101KL02Commands,
    .PollCount = 1,
    .Subprograms = kBMRZ101KL02Subprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-101КЛ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ103VVItem::Def{
    .TypeCode = 16,
    .Folder = "bmrz103vv",
    .NamePrefix = "BMRZ103VV: ",
    .ParamNames = kVVNames,
    .SignalCount = 24,
    .Signals = kBMRZ103VVSignals,
    .Settings = kSettings,
    .CodeBase = 1456,
    .Commands = kBMRZ103VVCommands,
    .PollCount = 1,
    .Subprograms = kBMRZ103VVSubprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-103ВВ - ",
    .Groups = kGroups,
    .Overrides = kVVOverrides,
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ103VV01Item::Def{
    .TypeCode = 17,
    .Folder = "bmrz103vv01",
    .NamePrefix = "BMRZ103VV01: ",
    .ParamNames = kVVNames,
    .SignalCount = 24,
    .Signals = kBMRZ103VV01Signals,
    .Settings = kSettings,
    .CodeBase = 1476,
    .Commands = kBMRZ103VV01Commands,
    .PollCount = 1,
    .Subprograms = kBMRZ103VV01Subprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-103ВВ - ",
    .Groups = kGroups,
    .Overrides = kVVOverrides,
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ103VV02Item::Def{
    .TypeCode = 18,
    .Folder = "bmrz103vv02",
    .NamePrefix = "BMRZ103VV02: ",
    .ParamNames = kVVNames,
    .SignalCount = 24,
    .Signals = kBMRZ103VV02Signals,
    .Settings = kSettings,
    .CodeBase = 1556,
    .Commands = kBMRZ103VV02Commands,
    .PollCount = 1,
    .Subprograms = kBMRZ103VV02Subprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-103ВВ - ",
    .Groups = kGroups,
    .Overrides = kVVOverrides,
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ103SVItem::Def{
    .TypeCode = 19,
    .Folder = "bmrz103sv",
    .NamePrefix = "BMRZ103SV: ",
    .ParamNames = kSVNames,
    .SignalCount = 24,
    .Signals = kBMRZ103SVSignals,
    .Settings = kSettings,
    .CodeBase = 1496,
    .Commands = kBMRZ103SVCommands,
    .PollCount = 1,
    .Subprograms = kBMRZ103SVSubprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-103CВ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithoutPassword,
};

constexpr TDeviceDef TBMRZ103SV01Item::Def{
    .TypeCode = 20,
    .Folder = "bmrz103sv01",
    .NamePrefix = "BMRZ103SV01: ",
    .ParamNames = kSVNames,
    .SignalCount = 24,
    .Signals = kBMRZ103SV01Signals,
    .Settings = kSettings,
    .CodeBase = 1536,
    .Commands = kBMRZ103SV01Commands,
    .PollCount = 1,
    .Subprograms = kBMRZ103SV01Subprograms,
    .ReservedIds = {},
    .PrepareSub = kBmrzPrepare,
    .ParseSub = kBmrzParse,
    .NoAnswerSub = kBmrzNoAnswer,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "БМРЗ-103CВ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithoutPassword,
};
