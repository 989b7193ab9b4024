// Сириус-2В(старый): indications, inputs, faults, three overcurrent stages, energy, currents and
// voltages; the shape without a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Аварийное отключение",
    "Пуск УРОВ",
    "Срабатывание защиты",
    "Блокировка АПВ",
    "Срабатывание АВР",
    "Блокировка АВР",
    "Срабатывание АПВ",
    "Внешняя неисправность",
    "Сигнал 1",
    "Блокировка ЗМН",
    "Сигнал 2",
    "Пуск защиты",
    "Ручное управление",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Контроль реле Отключить",
    "Контроль 1 питания",
    "Контроль 2 питания",
    "Вход УРОВ",
    "Блокировка ЛЗШ 1",
    "Дуговая защита",
    "Сброс сигнализации",
    "Автомат ТН",
    "Внешний сигнал 1",
    "Автомат ШП",
    "Защита шин",
    "Сигнал дуговой защиты",
    "Вход РПВ",
    "Вход РПО",
    "Разрешение ЗМН",
    "Отключение от ключа",
    "Включение от ключа",
    "Блокировка АПВ",
    "Отключение по ТУ",
    "Включение по ТУ",
    "Внешнее отключение 1",
    "Основные защиты трансформатора",
    "Разрешение АВР",
    "Вход РПВ секционного выключателя",
    "Блокировка ЛЗШ 2",
    "Блокировка ОНМ 1",
    "Блокировка ОНМ 2",
    "Блокировка АВР",
    "Включение от АВРТ",
    "Перегрузка",
    "Земля",
    "Обрыв",
    "Сигнал дуговой защиты",
    "Автомат ШП",
    "Неисправность КВ/КО",
    "ЗМН: Откл. ТН",
    "ЗМН: U2 превышает уставку",
    "ЗМН: Нет разрешения",
    "Сбой питания",
    "Блокировка ЛЗШ 1",
    "Блокировка ЛЗШ 2",
    "Вход УРОВ",
    "Неисправность ТН секции",
    "Неисправность ТН ввода",
    "Дуговая защита",
    "Задержка отключения",
    "Задержка включения",
    "Внеш. сигнал",
    "Срабатывание МТЗ-1",
    "Срабатывание МТЗ-2",
    "Срабатывание МТЗ-3",
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
    "Индексы 63-76",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 12),
    Breaker(13, "sirius2vold_prepareControl"),
    Reset(14, "sirius2vold_prepareReset"),
    Signals(15, 65),
    Measures(66, 67, kActiveEnergy, 32),
    Measures(68, 69, kReactiveEnergy, 32),
    Measures(70, 72, kCurrent),
    Measures(73, 76, kVoltage),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, IndexTable(14)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. кан. СИРИУС2В", 0},
    {"Опрос сработок СИРИУС2В", 0},
    {"Опрос энергии СИРИУС2В", 0},
    {"Опрос тока, напр. СИРИУС2В", 0},
    {"SIRIUS2V Control", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2vold_parseSrab", "Разбор ответа СИРИУС2В:сработка"},
    {"sirius2vold_prepareQuery", "Подготовка опроса СИРИУС2В"},
    {"sirius2vold_parseAnswer", "Разбор ответа СИРИУС2В:дискр.,энергия"},
    {"sirius2vold_handleNoAnswer", "Нет ответа СИРИУС2В"},
    {"sirius2vold_getNetAddress", "Получить сетевой адрес СИРИУС2В"},
    {"sirius2vold_prepareControl", "Подготовка команд Вкл./Откл. ВВ СИРИУС2В"},
    {"sirius2vold_parseVI", "Разбор ответа СИРИУС2В:ток,напряжение"},
    {"sirius2vold_prepareReset", "Подготовка команды Сброса Сириус2В"},
    {"sirius2vold_prepareControl1", "Подготовка команд Откл. ВВ Сириус2В"},
};

constexpr DescGroup kGroups[] = {
    {0, 14, kIndication, true},
    {15, 43, kInput, true},
    {44, 62, kFault, true},
    {63, 76, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {63, nullptr, "МТЗ 1"},
    {64, nullptr, "МТЗ 2"},
    {65, nullptr, "МТЗ 3"},
};

static_assert(std::size(kNames) == 82);

} // namespace

constexpr TDeviceDef kSirius2VOldDef{
    .TypeCode = 26,
    .Folder = "sirius2vold",
    .NamePrefix = "SIRIUS2VOLD: ",
    .ParamNames = kNames,
    .SignalCount = 77,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1093,
    .Commands = kCommands,
    .PollCount = 4,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "СИРИУС-2В(старый) - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
