// Сириус-2С(старый): indications, inputs, faults, three overcurrent stages and the currents; the
// shape without a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Аварийное отключение",
    "Пуск УРОВ",
    "Срабатывание защиты",
    "Блокировка АВР",
    "Сигнал 1",
    "Сигнал 2",
    "Срабатывание АВР",
    "Внешняя неисправность",
    "Пуск защиты",
    "Ручное управление",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Контроль реле Отключить",
    "Контроль 1 питания",
    "Контроль 2 питания",
    "Сброс сигнализации",
    "Внешний сигнал 2",
    "Внешний сигнал 1",
    "Автомат ШП",
    "Защита шин",
    "Сигнал дуговой защиты",
    "Вход РПВ",
    "Вход РПО",
    "Отключение от ключа",
    "Включение от ключа",
    "Отключение по ТУ",
    "Включение по ТУ",
    "Внешнее отключение 1",
    "Внешнее отключение 2",
    "Блокировка ЛЗШ 2",
    "Блокировка ЛЗШ 1",
    "Блокировка АВР",
    "УРОВ 2",
    "УРОВ 1",
    "Отключение от АВР",
    "Включение от АВР",
    "ВМ блокировка",
    "Дуговая защита 1",
    "Дуговая защита 2",
    "Перегрузка",
    "Обрыв",
    "Сигнал дуговой защиты",
    "Автомат ШП",
    "Неисправность КВ/КО",
    "Сбой питания",
    "Дуговая защита 1",
    "Дуговая защита 2",
    "Блокировка ЛЗШ 1",
    "Блокировка ЛЗШ 2",
    "Внешний сигнал 1",
    "Внешний сигнал 2",
    "Задержка отключения",
    "Задержка включения",
    "УРОВ 1",
    "УРОВ 2",
    "Срабатывание МТЗ-1",
    "Срабатывание МТЗ-2",
    "Срабатывание МТЗ-3",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-62",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 9),
    Breaker(10, "sirius2sold_prepareControl"),
    Reset(11, "sirius2sold_prepareReset"),
    Signals(12, 57),
    Measures(58, 60, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, IndexTable(19)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. кан. СИРИУС2C", 0},  {"Опрос сработок СИРИУС2C", 0},
    {"Опрос тока СИРИУС2C", 0},         {"SIRIUS2S Control", 0},
    {"Подготовка к ТУ - команда 1", 1}, {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2sold_parseSrab", "Разбор ответа СИРИУС2C:сработка"},
    {"sirius2sold_prepareQuery", "Подготовка опроса СИРИУС2C"},
    {"sirius2sold_parseAnswer", "Разбор ответа СИРИУС2C:дискр.,токи"},
    {"sirius2sold_handleNoAnswer", "Нет ответа СИРИУС2C"},
    {"sirius2sold_getNetAddress", "Получить сетевой адрес СИРИУС2C"},
    {"sirius2sold_prepareControl", "Подготовка команд Вкл./Откл. ВВ СИРИУС2C"},
    {"sirius2sold_prepareReset", "Подготовка команды Сброса Сириус2С"},
    {"sirius2sold_prepareControl1", "Подготовка команд Откл. ВВ Сириус2С"},
};

constexpr DescGroup kGroups[] = {
    {0, 11, kIndication, true},
    {12, 38, kInput, true},
    {39, 54, kFault, true},
    {55, 60, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {55, nullptr, "МТЗ 1"},
    {56, nullptr, "МТЗ 2"},
    {57, nullptr, "МТЗ 3"},
};

static_assert(std::size(kNames) == 65);

} // namespace

constexpr TDeviceDef kSirius2SOldDef{
    .TypeCode = 28,
    .Folder = "sirius2sold",
    .NamePrefix = "SIRIUS2SOLD: ",
    .ParamNames = kNames,
    .SignalCount = 61,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1319,
    .Commands = kCommands,
    .PollCount = 3,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "СИРИУС-2C(старый) - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
