// Сириус-2Л(старый): indications, inputs, faults, four overcurrent stages and the currents; the shape
// without a device password. Its third index table reaches over the settings positions, which are
// never bound through it. Device layer.
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
    "Автомат ШП",
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
    "Перегрузка",
    "Земля",
    "Обрыв",
    "Сигнал газовой защиты",
    "Автомат ШП",
    "Неисправность КВ/КО",
    "Сбой питания",
    "Газовая защита",
    "Дуговая защита",
    "Перегрузка 4",
    "Внешний сигнал 1",
    "Внешний сигнал 2",
    "Задержка отключения",
    "Задержка включения",
    "Срабатывание МТЗ-1",
    "Срабатывание МТЗ-2",
    "Срабатывание МТЗ-3",
    "Срабатывание МТЗ-4",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Ток 3Io",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-59",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 9),
    Breaker(10, "sirius2lold_prepareControl"),
    Reset(11, "sirius2lold_prepareReset"),
    Signals(12, 51),
    Measures(52, 55, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, IndexTable(18)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. кан. СИРИУС2Л", 0},  {"Опрос сработок СИРИУС2Л", 0},
    {"Опрос тока СИРИУС2Л", 0},         {"SIRIUS2L Control", 0},
    {"Подготовка к ТУ - команда 1", 1}, {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2lold_parseSrab", "Разбор ответа СИРИУС2Л:сработка"},
    {"sirius2lold_prepareQuery", "Подготовка опроса СИРИУС2Л"},
    {"sirius2lold_parseAnswer", "Разбор ответа СИРИУС2Л:дискр.,ток"},
    {"sirius2lold_handleNoAnswer", "Нет ответа СИРИУС2Л"},
    {"sirius2lold_getNetAddress", "Получить сетевой адрес СИРИУС2Л"},
    {"sirius2lold_prepareControl", "Подготовка команд Вкл./Откл. ВВ СИРИУС2Л"},
    {"sirius2lold_prepareReset", "Подготовка команды Сброса СИРИУС2Л"},
    {"sirius2lold_prepareControl1", "Подготовка команд Откл. ВВ СИРИУС2Л"},
};

constexpr DescGroup kGroups[] = {
    {0, 11, kIndication, true},
    {12, 33, kInput, true},
    {34, 47, kFault, true},
    {48, 55, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {48, nullptr, "МТЗ 1"},
    {49, nullptr, "МТЗ 2"},
    {50, nullptr, "МТЗ 3"},
    {51, nullptr, "МТЗ 4"},
};

static_assert(std::size(kNames) == 60);

} // namespace

constexpr TDeviceDef kSirius2LOldDef{
    .TypeCode = 25,
    .Folder = "sirius2lold",
    .NamePrefix = "SIRIUS2LOLD: ",
    .ParamNames = kNames,
    .SignalCount = 56,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1364,
    .Commands = kCommands,
    .PollCount = 3,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "СИРИУС-2Л(старый) - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
