// СИРИУС-ЦС: bus indications, 32 inputs, faults and blinker states; the shape with a device password,
// with a reset and no breaker control. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Шинка 2",
    "Шинка 1",
    "Шинка 4",
    "Шинка 3",
    "Вспом. Шинка 2",
    "Вспом. Шинка 1",
    "Новая информ. ПС",
    "Новая информ. АС",
    "Сброс срабатываний (ТУ)",
    "Вход 32",
    "Вход 31",
    "Вход 30",
    "Вход 29",
    "Вход 28",
    "Вход 27",
    "Вход 26",
    "Вход 25",
    "Вход 17",
    "Вход 18",
    "Вход 19",
    "Вход 20",
    "Вход 21",
    "Вход 22",
    "Вход 23",
    "Вход 24",
    "Вход 16",
    "Вход 15",
    "Вход 14",
    "Вход 13",
    "Вход 12",
    "Вход 11",
    "Вход 10",
    "Вход 9",
    "Вход 1",
    "Вход 2",
    "Вход 3",
    "Вход 4",
    "Вход 5",
    "Вход 6",
    "Вход 7",
    "Вход 8",
    "Упр.1 Сброс ЗС",
    "Упр.2 Сброс по ТМ",
    "Упр.3 Подъем блинк.",
    "Вспом. Шинка 1",
    "Вспом. Шинка 2",
    "Сбой памяти",
    "Нет импульса синхр.",
    "Не опред.смещение 0",
    "Сост. блинк.:Вход 1",
    "Сост. блинк.:Вход 2",
    "Сост. блинк.:Вход 3",
    "Сост. блинк.:Вход 4",
    "Сост. блинк.:Вход 5",
    "Сост. блинк.:Вход 6",
    "Сост. блинк.:Вход 7",
    "Сост. блинк.:Вход 8",
    "Сост. блинк.:Вход 9",
    "Сост. блинк.:Вход 10",
    "Сост. блинк.:Вход 11",
    "Сост. блинк.:Вход 12",
    "Сост. блинк.:Вход 13",
    "Сост. блинк.:Вход 14",
    "Сост. блинк.:Вход 15",
    "Сост. блинк.:Вход 16",
    "Сост. блинк.:Вход 17",
    "Сост. блинк.:Вход 18",
    "Сост. блинк.:Вход 19",
    "Сост. блинк.:Вход 20",
    "Сост. блинк.:Вход 21",
    "Сост. блинк.:Вход 22",
    "Сост. блинк.:Вход 23",
    "Сост. блинк.:Вход 24",
    "Сост. блинк.:Вход 25",
    "Сост. блинк.:Вход 26",
    "Сост. блинк.:Вход 27",
    "Сост. блинк.:Вход 28",
    "Сост. блинк.:Вход 29",
    "Сост. блинк.:Вход 30",
    "Сост. блинк.:Вход 31",
    "Сост. блинк.:Вход 32",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-62",
    "Индексы 63-80",
    "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 7),
    Reset(8, "siriuscs_prepareReset"),
    Signals(9, 80),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, IndexTable(18), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов СириусЦС", 0},
    {"SIRIUSCS RESET", 1},
    {"Подготовка к сбросу - пароль", 1},
    {"Подготовка к сбросу - команда", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"siriuscs_prepareReset", "Подготовка команды сброса СириусЦС"},
    {"siriuscs_prepareQuery", "Подготовка опроса СириусЦС"},
    {"siriuscs_parseAnswer", "Разбор ответа СириусЦС"},
    {"siriuscs_handleNoAnswer", "Нет ответа СириусЦС"},
    {"siriuscs_getNetAddress", "Получить сетевой адрес СириусЦС"},
};

constexpr DescGroup kGroups[] = {
    {0, 8, kIndication, true},
    {9, 45, kInput, true},
    {46, 80, kFault, true},
};

static_assert(std::size(kNames) == 87);

} // namespace

constexpr TDeviceDef kSiriusCSDef{
    .TypeCode = 31,
    .Folder = "siriuscs",
    .NamePrefix = "SIRIUSCS: ",
    .ParamNames = kNames,
    .SignalCount = 81,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1319,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-ЦС - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecksWithPassword,
};
