// ОРИОН-2: indications, inputs, faults, three overcurrent stages and the currents; the shape
// without a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Срабатывание защиты",
    "Пуск защиты",
    "Внешняя неисправность",
    "АПВ Сработало",
    "АПВ Блокировано",
    "Аварийное отключение",
    "Пуск УРОВ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Контроль реле «Отключить»",
    "Контроль 1 питания",
    "Контроль 2 питания",
    "Дуговая защита",
    "Вход АЧР / ВМ–блокировка",
    "Вход ЧАПВ / Блокировка МТЗ–1",
    "Вход РПО",
    "Вход РПВ",
    "Внешнее отключение",
    "Блокировка АПВ",
    "Автомат шин питания",
    "Включение от ключа",
    "Отключение от ключа",
    "Сброс сигнализации",
    "Автомат ШП",
    "Сбой питания",
    "Задержка откл.",
    "Задержка вкл.",
    "Перегрузка (3)",
    "Земля",
    "Обрыв",
    "Неисправность КВ/КО",
    "Блокировка МТЗ–1",
    "МТЗ-1",
    "МТЗ-2",
    "МТЗ-3",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Ток 3Io",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 6),  Breaker(7, "orion2_prepareControl"), Reset(8, "orion2_prepareReset"),
    Signals(9, 34), Measures(35, 38, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, IndexTable(18)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов ОРИОН2", 0}, {"Опрос сработок ОРИОН2", 0},
    {"Опрос токов ОРИОН2", 0},          {"ORION2 Control", 1},
    {"Подготовка к ТУ - команда 1", 1}, {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"orion2_prepareReset", "Подготовка команды сброса ОРИОН2"},
    {"orion2_prepareQuery", "Подготовка опроса ОРИОН2"},
    {"orion2_parseAnswer", "Разбор ответа ОРИОН2"},
    {"orion2_handleNoAnswer", "Нет ответа ОРИОН2"},
    {"orion2_getNetAddress", "Получить сетевой адрес ОРИОН2"},
    {"orion2_prepareControl", "Подготовка команд Вкл./Откл. ВВ ОРИОН2"},
    {"orion2_prepareControl1", "Подготовка команд Откл. ВВ ОРИОН2"},
};

constexpr DescGroup kGroups[] = {
    {0, 8, kIndication, true}, {9, 22, kInput, true},  {23, 31, kFault, true},
    {32, 34, kPlain, false},   {35, 38, kPlain, true},
};

constexpr DescOverride kOverrides[] = {
    {3, nullptr, "АПВ сработало"},        {4, nullptr, "АПВ блокировано"},
    {25, nullptr, "Задержка отключения"}, {26, nullptr, "Задержка включения"},
    {32, nullptr, "Срабатывание МТЗ-1"},  {33, nullptr, "Срабатывание МТЗ-2"},
    {34, nullptr, "Срабатывание МТЗ-3"},
};

static_assert(std::size(kNames) == 42);

} // namespace

constexpr TDeviceDef kOrion2Def{
    .TypeCode = 32,
    .Folder = "orion2",
    .NamePrefix = "ORION2: ",
    .ParamNames = kNames,
    .SignalCount = 39,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1221,
    .Commands = kCommands,
    .PollCount = 3,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "ОРИОН-2 - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
