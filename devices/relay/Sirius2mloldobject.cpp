// СИРИУС-2МЛ(старый): indications, inputs (load shedding, gas protection), faults, four overcurrent
// stages, energy, currents and voltages; the shape without a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Аварийное отключение",
    "Пуск УРОВ",
    "Срабатывание защиты",
    "Блокировка АПВ",
    "Сигнал 1",
    "Сигнал 2",
    "Срабатывание АПВ",
    "Внешняя неисправность",
    "Пуск защиты",
    "Ручное управление",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Контроль реле Отключить",
    "Контроль 1 питания",
    "Контроль 2 питания",
    "Дуговая защита",
    "АЧР",
    "ЧАПВ",
    "Сброс сигнализации",
    "Внешний сигнал 2",
    "Внешний сигнал 1",
    "Автомат шин питания",
    "Газовая защита",
    "Сигнал газовой защиты",
    "Вход РПВ",
    "Вход РПО",
    "Деблокировка",
    "Отключение от ключа",
    "Включение от ключа",
    "Блокировка АПВ",
    "Отключение по ТУ",
    "Включение по ТУ",
    "Внешнее отключение 1",
    "Внешнее отключение 2",
    "Разрешение ЗМН",
    "Блокировка ОНМ",
    "Блокировка защиты от ОЗЗ",
    "Вход УРОВ",
    "Автомат ШП",
    "Вход УРОВ",
    "Сигнал газовой защиты",
    "Сбой питания",
    "Внешний сигнал 1",
    "Внешний сигнал 2",
    "Задержка отключения",
    "Задержка включения",
    "Дуговая защита",
    "Газовая защита",
    "Сигнал ЗМН",
    "Неисправность ТН",
    "Сигнал ЗПН",
    "Перегрузка (3)",
    "Перегрузка (4)",
    "Земля",
    "Обрыв",
    "Неисправность КВ/КО",
    "Срабатывание МТЗ-1",
    "Срабатывание МТЗ-2",
    "Срабатывание МТЗ-3",
    "Срабатывание МТЗ-4",
    "Потребленная активная электроэнергия,кВт*ч ",
    "Отданная активная электроэнергия,кВт*ч ",
    "Потребленная реактивная электроэнергия,кВАР*ч ",
    "Отданная реактивная электроэнергия,кВАР*ч ",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Напряжение ф.А",
    "Напряжение ф.В",
    "Напряжение ф.C",
    "Напряжение 3Uo",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-62",
    "Индексы 63-70",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 9),
    Breaker(10, "sirius2mlold_prepareControl"),
    Reset(11, "sirius2mlold_prepareReset"),
    Signals(12, 59),
    Measures(60, 61, kActiveEnergy, 32),
    Measures(62, 63, kReactiveEnergy, 32),
    Measures(64, 66, kCurrent),
    Measures(67, 70, kVoltage),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, IndexTable(8)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов Сириус2МЛ", 0},
    {"Опрос сработок Сириус2МЛ", 0},
    {"Опрос энергии Сириус2МЛ", 0},
    {"Опрос тока, напр. Сириус2МЛ", 0},
    {"SIRIUS2ML Control", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2mlold_parseSrab", "Разбор ответа Сириус2МЛ:сработка"},
    {"sirius2mlold_prepareQuery", "Подготовка опроса Сириус2МЛ"},
    {"sirius2mlold_parseAnswer", "Разбор ответа Сириус2МЛ:дискретные сигн."},
    {"sirius2mlold_handleNoAnswer", "Нет ответа Сириус2МЛ"},
    {"sirius2mlold_getNetAddress", "Получить сетевой адрес Сириус2МЛ"},
    {"sirius2mlold_prepareControl", "Подготовка команд Вкл./Откл. ВВ  Сириус2МЛ"},
    {"sirius2mlold_parseVI", "Разбор ответа Сириус2МЛ:ток,напряжение"},
    {"sirius2mlold_prepareReset", "Подготовка команды Сброса Сириус2МЛ"},
    {"sirius2mlold_prepareControl1", "Подготовка команд Откл. ВВ  Сириус2МЛ"},
    {"sirius2mlold_parseEnergy", "Разбор ответа Сириус2МЛ:энергия"},
};

constexpr DescGroup kGroups[] = {
    {0, 11, kIndication, true},
    {12, 37, kInput, true},
    {38, 55, kFault, true},
    {56, 70, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {3, nullptr, "Блокировка АВР"},
};

static_assert(std::size(kNames) == 76);

} // namespace

constexpr TDeviceDef kSirius2MLOldDef{
    .TypeCode = 27,
    .Folder = "sirius2mlold",
    .NamePrefix = "SIRIUS2MLOLD: ",
    .ParamNames = kNames,
    .SignalCount = 71,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1289,
    .Commands = kCommands,
    .PollCount = 4,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "СИРИУС-2МЛ - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
