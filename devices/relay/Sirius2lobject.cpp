// СИРИУС-2Л: indications, inputs (gas protection among them), faults, four overcurrent stages and
// the currents; the shape with a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Пуск защиты",
    "Блокировка 2",
    "Блокировка 3",
    "Блокировка 1",
    "Блокировка АЧР",
    "Блокировка АПВ",
    "Блокировка УРОВ",
    "Срабатывание АПВ",
    "Внешняя неисправность",
    "Сигнал 1",
    "Сигнал 2",
    "Пуск УРОВ",
    "Срабатывание защиты",
    "Аварийное отключение",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Сброс сигнализации",
    "Вход 2",
    "Вход 1",
    "Автомат ШП",
    "Газовая защита",
    "Сигнал газовой защиты",
    "Вход РПВ",
    "Вход РПО",
    "Разрешение ТУ",
    "Отключение от ключа",
    "Включение от ключа",
    "Вход 3",
    "Отключение от ТУ",
    "Включение от ТУ",
    "Вход 4",
    "Вход 5",
    "Набор уставок",
    "Дуговая защита",
    "АЧР",
    "ЧАПВ",
    "Вход 6",
    "Сбой питания",
    "Неиспр.КВ/КО",
    "Автомат ШП",
    "Газовая защита",
    "Сигнал газ. защ.",
    "Дуговая защита",
    "Перегрузка",
    "Перегрузка 4",
    "Земля",
    "Обрыв",
    "Внешний сигнал 1",
    "Внешний сигнал 2",
    "Внешний сигнал 3",
    "Внешний сигнал 4",
    "Внешний сигнал 5",
    "Внешний сигнал 6",
    "Задержка откл.",
    "Задержка вкл.",
    "Нет батарейки",
    "Нет импульса синхр.",
    "Сбой памяти",
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
    "Индексы 42-62",
    "Индексы 63-66",
    "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 13),
    Breaker(14, "sirius2l_prepareControl"),
    Reset(15, "sirius2l_prepareReset"),
    Signals(16, 61),
    Measures(62, 65, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, IndexTable(3), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов Сириус2Л", 0},
    {"Опрос неиспр. Сириус2Л", 0},
    {"Опрос сработок Сириус2Л", 0},
    {"Опрос токов Сириус2Л", 0},
    {"SIRIUS2L Control", 1},
    {"Подготовка к ТУ - пароль", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2l_parseWB", "Разбор ответа Сириус2Л:неисправности"},
    {"sirius2l_prepareQuery", "Подготовка опроса Сириус2Л"},
    {"sirius2l_parseAnswer", "Разбор ответа Сириус2Л"},
    {"sirius2l_handleNoAnswer", "Нет ответа Сириус2Л"},
    {"sirius2l_getNetAddress", "Получить сетевой адрес Сириус2Л"},
    {"sirius2l_prepareControl", "Подготовка команд Вкл./Откл. ВВ  Сириус2Л"},
    {"sirius2l_prepareReset", "Подготовка команды сброса Сириус2Л"},
    {"sirius2l_prepareControl1", "Подготовка команд Откл. ВВ  Сириус2Л"},
    {"sirius2l_parseSrab", "Разбор ответа Сириус2Л:сработка"},
    {"sirius2l_parseI", "Разбор ответа Сириус2Л:токи"},
};

constexpr DescGroup kGroups[] = {
    {0, 15, kIndication, true},
    {16, 36, kInput, true},
    {37, 57, kFault, true},
    {58, 65, kPlain, false},
};

static_assert(std::size(kNames) == 72);

} // namespace

constexpr TDeviceDef kSirius2LDef{
    .TypeCode = 24,
    .Folder = "sirius2l",
    .NamePrefix = "SIRIUS2L: ",
    .ParamNames = kNames,
    .SignalCount = 66,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1084,
    .Commands = kCommands,
    .PollCount = 4,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-2Л - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithPassword,
};
