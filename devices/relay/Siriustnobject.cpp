// СИРИУС-ТН: protection and automation states, inputs and two sets of phase voltages with their
// angles; the shape with a device password, with a reset and no breaker control. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "АВР вывод",
    "АВР работа",
    "ЗПН вывод",
    "ЗПН работа",
    "Пуск АВР",
    "ЗМН работа",
    "ЗМН вывод",
    "ЧАПВ вывод",
    "ЧАПВ работа",
    "АЧР вывод",
    "АЧР работа",
    "ВНР работа",
    "ВНР вывод",
    "Блокировка АЧР",
    "Срабатывание ЗМН",
    "Срабатывание ЗПН",
    "Блокировка ВНР",
    "Блокировка АВР",
    "Блокировка ЗПН",
    "Блокировка ЗМН",
    "Срабатывание ЧАПВ",
    "Срабатывание Земля",
    "Неисправность ТН",
    "Сигнал",
    "Срабатывание АЧР",
    "Срабатывание АВР",
    "Срабатывание ВНР",
    "Сброс срабатываний (ТУ)",
    "Сброс сигнализации",
    "Автомат 2 ТН",
    "Автомат 1 ТН",
    "Вход 3",
    "Вход 2",
    "Вход 1",
    "ЗМН2",
    "ЗМН1",
    "Вход 4",
    "Вход 5",
    "Вход 6",
    "Вход 7",
    "Вход 8",
    "Вход 9",
    "Пуск 1 АВР",
    "Пуск 2 АВР",
    "РПО ввода",
    "АЧР 1",
    "АЧР 2",
    "Контроль ТН",
    "РПВ ввода",
    "Активный набор уставок",
    "АЧР 3",
    "ЗПН",
    "ЧАПВ",
    "РПВ секции",
    "Срабатывание ЗПЧ",
    "Срабатывание ЗМН-1",
    "Срабатывание ЗМН-2",
    "Срабатывание ЗМН-3",
    "Напряжение ф.А-1",
    "Угол напряжения ф.А-1",
    "Напряжение ф.В-1",
    "Угол напряжения ф.В-1",
    "Напряжение ф.С-1",
    "Угол напряжения ф.С-1",
    "Напряжение ф.А-2",
    "Угол напряжения ф.А-2",
    "Напряжение ф.В-2",
    "Угол напряжения ф.В-2",
    "Напряжение ф.С-2",
    "Угол напряжения ф.С-2",
    "Напряжение 3Uo",
    "Частота",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-62",
    "Индексы 63-71",
    "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 26),
    Reset(27, "siriustn_prepareReset"),
    Signals(28, 57),
    Measures(58, 58, kVoltage),
    Measures(59, 59, kAngle),
    Measures(60, 60, kVoltage),
    Measures(61, 61, kAngle),
    Measures(62, 62, kVoltage),
    Measures(63, 63, kAngle),
    Measures(64, 64, kVoltage),
    Measures(65, 65, kAngle),
    Measures(66, 66, kVoltage),
    Measures(67, 67, kAngle),
    Measures(68, 68, kVoltage),
    Measures(69, 69, kAngle),
    Measures(70, 70, kVoltage),
    Measures(71, 71, kFrequency),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, IndexTable(9), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов СириусТН", 0}, {"Опрос сработок СириусТН", 0},
    {"Опрос напряжений СириусТН", 0},     {"SIRIUSTN RESET", 1},
    {"Подготовка к сбросу - пароль", 1},  {"Подготовка к сбросу - команда", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"siriustn_prepareReset", "Подготовка команды сброса СириусТН"},
    {"siriustn_prepareQuery", "Подготовка опроса СириусТН"},
    {"siriustn_parseAnswer", "Разбор ответа СириусТН"},
    {"siriustn_handleNoAnswer", "Нет ответа СириусТН"},
    {"siriustn_getNetAddress", "Получить сетевой адрес СириусТН"},
    {"siriustn_parseSrab", "Разбор ответа СириусТН:сработка"},
    {"siriustn_parseV", "Разбор ответа СириусТН:напряжение"},
};

constexpr DescGroup kGroups[] = {
    {0, 27, kIndication, true},
    {28, 53, kInput, true},
    {54, 71, kPlain, false},
};

static_assert(std::size(kNames) == 78);

} // namespace

constexpr TDeviceDef kSiriusTNDef{
    .TypeCode = 30,
    .Folder = "siriustn",
    .NamePrefix = "SIRIUSTN: ",
    .ParamNames = kNames,
    .SignalCount = 72,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1268,
    .Commands = kCommands,
    .PollCount = 3,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-ТН - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithPassword,
};
