// СИРИУС-2В: indications, inputs, faults, three overcurrent stages, energy, currents and voltages;
// the shape with a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Пуск защиты", "Блокировка 1", "Срабатывание защиты", "Блокировка АВР", "Блокировка ЗМН", "Блокировка АПВ",
    "Блокировка УРОВ", "Срабатывание АВР", "Внешняя неисправность", "Сигнал 1", "Сигнал 2", "Срабатывание АПВ",
    "Аварийное отключение", "Пуск УРОВ", "Блокировка ЛЗШ", "Состояние ВВ (ТУ)", "Сброс срабатываний (ТУ)",
    "Сброс сигнализации", "Автомат ТН", "Вход 2", "Автомат ШП", "Вход 1", "Сигнал дуговой защиты", "Вход РПВ",
    "Вход РПО", "Вход 3", "Отключение от ключа", "Включение от ключа", "Вход 4", "Отключение от ТУ",
    "Включение от ТУ", "Вход 5", "Отключение от основных защит тр-ра", "Вход 6", "Вход РПВ СВ", "Блокировка ЛЗШ 2",
    "Вход 7", "Вход 8", "Вход 9", "Вход 10", "Набор уставок", "Вход УРОВ", "Блокировка ЛЗШ 1", "Дуговая защита",
    "Вход 11", "Сбой питания", "Неиспр.КВ/КО", "Автомат ШП", "Дуговая защита", "Сигнал дуг.защ.",
    "Блокировка ЛЗШ 1", "Блокировка ЛЗШ 2", "Перегрузка", "Земля", "Обрыв", "Внешний сигнал 1", "Внешний сигнал 2",
    "Внешний сигнал 3", "Внешний сигнал 4", "Внешний сигнал 5", "Внешний сигнал 6", "Внешний сигнал 7",
    "Внешний сигнал 8", "Внешний сигнал 9", "Внешний сигнал 10", "Внешний сигнал 11", "Нет батарейки",
    "Нет импульса синхр.", "Сбой памяти", "Вход УРОВ", "Задержка откл.", "Задержка вкл.", "Неиспр.TH ввода",
    "Неиспр.TH секции", "Срабатывание МТЗ-1", "Срабатывание МТЗ-2", "Срабатывание МТЗ-3",
    "Потребленная активная электроэнергия,кВт*ч ", "Отданная активная электроэнергия,кВт*ч ",
    "Потребленная реактивная электроэнергия,кВАР*ч ", "Отданная реактивная электроэнергия,кВАР*ч ", "Ток ф.А",
    "Ток ф.В", "Ток ф.С", "Напряжение ф.А", "Напряжение ф.В", "Напряжение ф.C", "Напряжение 3Uo", "Сетевой адрес",
    "Индексы  0-20", "Индексы 21-41", "Индексы 42-62", "Индексы 63-83", "Индексы 84-87", "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 14),
    Breaker(15, "sirius2v_prepareControl"),
    Reset(16, "sirius2v_prepareReset"),
    Signals(17, 76),
    Measures(77, 78, kActiveEnergy, 32),
    Measures(79, 80, kReactiveEnergy, 32),
    Measures(81, 83, kCurrent),
    Measures(84, 87, kVoltage),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, kFullTable, IndexTable(4), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов Сириус2В", 0}, {"Опрос неиспр. Сириус2В", 0},
    {"Опрос сработок Сириус2В", 0},       {"Опрос энергии Сириус2В", 0},
    {"Опрос тока, напр. Сириус2В", 0},    {"SIRIUS2V Control", 1},
    {"Подготовка к ТУ - пароль", 1},      {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},   {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2v_parseWB", "Разбор ответа Сириус2В:неисправности"},
    {"sirius2v_prepareQuery", "Подготовка опроса Сириус2В"},
    {"sirius2v_parseAnswer", "Разбор ответа Сириус2В:дискретные сигн."},
    {"sirius2v_handleNoAnswer", "Нет ответа Сириус2В"},
    {"sirius2v_getNetAddress", "Получить сетевой адрес Сириус2В"},
    {"sirius2v_prepareControl", "Подготовка команд Вкл./Откл. ВВ  Сириус2В"},
    {"sirius2v_parseVI", "Разбор ответа Сириус2В:ток,напряжение"},
    {"sirius2v_prepareReset", "Подготовка команды сброса Сириус2В"},
    {"sirius2v_prepareControl1", "Подготовка команд Откл. ВВ  Сириус2В"},
    {"sirius2v_parseEnergy", "Разбор ответа Сириус2В:энергия"},
    {"sirius2v_parseSrab", "Разбор ответа Сириус2В:сработка"},
    {"sirius2v_handleNoAnswerVI", "Нет ответа Сириус2В - ток, напр."},
};

constexpr DescGroup kGroups[] = {
    {0, 16, kIndication, true},
    {17, 44, kInput, true},
    {45, 73, kFault, true},
    {74, 87, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {4, nullptr, "Срабатывание ЗМН"},
    {32, nullptr, "Откл. от основных защит тр-ра"},
    {67, nullptr, "Нет импульса синхр"},
};

static_assert(std::size(kNames) == 95);

} // namespace

constexpr TDeviceDef TSIRIUS2VItem::Def{
    .TypeCode = 23,
    .Tag = "SIR2V",
    .DisplayType = "СИРИУС-2В",
    .NumberBase = 4511,
    .Folder = "sirius2v",
    .NamePrefix = "SIRIUS2V: ",
    .ParamNames = kNames,
    .SignalCount = 88,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1042,
    .Commands = kCommands,
    .PollCount = 5,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-2В - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithPassword,
};
