// Constant tables of the maker's device objects. Device layer.
// In the concentrator's channel names the letter X is Latin; in "СОМ" all three letters are Cyrillic.
#include "qbxdata.h"

namespace qbx {

const char* const Qbx510ParamNames[33] = {
    "Режим каналов ТС/ДТКЗ",
    "Канал ТС/ДТКЗ X2.1 (X1.1)",
    "Канал ТС/ДТКЗ X2.2 (X1.2)",
    "Канал ТС/ДТКЗ X2.3 (X1.3)",
    "Канал ТС/ДТКЗ X2.4 (X1.4)",
    "Канал ТС/ДТКЗ X2.5 (X1.5)",
    "Канал ТС/ДТКЗ X2.6 (X1.6)",
    "Канал ТС/ДТКЗ X2.7 (X1.7)",
    "Канал ТС/ДТКЗ X2.8 (X1.8)",
    "Канал ТС/ДТКЗ X1.1 (X3.1)",
    "Канал ТС/ДТКЗ X1.2 (X3.2)",
    "Канал ТС/ДТКЗ X1.3 (X3.3)",
    "Канал ТС/ДТКЗ X1.4 (X3.4)",
    "Канал ТС/ДТКЗ X1.5 (X3.5)",
    "Канал ТС/ДТКЗ X1.6 (X3.6)",
    "Канал ТС/ДТКЗ X1.7 (X3.7)",
    "Канал ТС/ДТКЗ X1.8 (X3.8)",
    "Состояние питания",
    "Состояние аккумулятора",
    "Состояние часов",
    "В буфере не сброшенные сообщения",
    "Каналы управления",
    "QBX-адрес концентратора (младший)",
    "QBX-адрес концентратора (средний, старший)",
    "QBX-адрес родительской ППЛ",
    "Сетевой адрес концентратора",
    "Скорость по СОМ1",
    "Скорость по СОМ2",
    "Режим каналов ТУ",
    "Задержки ТУ",
    "Настройки",
    "Инверсия ТС",
    "Температура на плате",
};

const SubprogramDef Qbx510Subprograms[kQbx510SubCount] = {
    {"qbx510_parseMessage", "Разбор сообщения QBX-510"},
    {"qbx510_doControl", "Команда управления QBX-510"},
    {"qbx510_leadUp", "Сброс ДТКЗ QBX-510"},
    {"qbx510_makeControl", "Команда управления QBX-510 (общая)"},
};
const uint16_t Qbx510ReservedIds[kQbx510SubCount] = {30, 31, 32, 1};

// Row 7: the letter after Т is a Latin C, as the device's own tool shows it.
const char* const Qbx510PropertyNames[13] = {
    "Идентификатор",
    "Обработка сообщений",
    "QBX-адрес концентратора",
    "QBX-адрес родительской ППЛ",
    "Сетевой адрес концентратора",
    "Скорость по СОМ1",
    "Скорость по СОМ2",
    "Инверсия ТC/ДТКЗ",
    "Инверсия ТУ",
    "Режим ТУ-1",
    "Режим ТУ-2",
    "Режим ТУ-3",
    "Режим ТУ-4",
};
const char* const Qbx510DelayRowNames[4] = {
    "Время управления ТУ-1",
    "Время управления ТУ-2",
    "Время управления ТУ-3",
    "Время управления ТУ-4",
};
// 115200 is left out: the speed is a 16-bit value.
const char* const Qbx510BaudItems[9] = {
    "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600",
};

const SubprogramDef Qbx520Subprograms[2] = {
    {"qbx520_checkSchedule", "Анализ расписания переключений QBX-520"},
    {"qbx520_mainAction", "Основная подпрограмма УО"},
};

namespace {
constexpr const char* Qbx530Names[10] = {
    "ТС 1", "ТС 2", "ТС 3",          "ТС 4",       "ТС 5",
    "ТС 6", "ТС 7", "Сетевой адрес", "Индексы ТС", "Каналы управления",
};
constexpr SubprogramDef Qbx530Subs[6] = {
    {"qbx530_prepareMessage", "Подготовка опроса КЯ QBX-530"},
    {"qbx530_parseAnswer", "Разбор ответа КЯ QBX-530"},
    {"qbx530_parseMessage", "Обработка аварий КЯ QBX-530"},
    {"qbx530_getAddress", "Получить сетевой адрес КЯ QBX-530"},
    {"qbx530_makeCRC", "Расчет КС КЯ QBX-530"},
    {"qbx530_makeControl", "Подготовка команды управления КЯ QBX-530"},
};
constexpr const char* Qbx550Names[11] = {
    "Ф 1",
    "Ф 2",
    "Ф 3",
    "Ф 4",
    "Ф 5",
    "Ф 6",
    "Ф 7",
    "Ф 8",
    "Сетевой адрес",
    "Индексы ТС",
    "Каналы управления",
};
constexpr SubprogramDef Qbx550Subs[5] = {
    {"qbx550_prepareMessage", "Подготовка опроса QBX-550"},
    {"qbx550_parseAnswer", "Разбор ответа QBX-550"},
    {"qbx550_parseMessage", "Обработка аварий QBX-550"},
    {"qbx550_getAddress", "Получить сетевой адрес QBX-550"},
    {"qbx550_makeControl", "Подготовка команды управления QBX-550"},
};

constexpr uint16_t Qbx530ReservedIds[6] = {50, 51, 52, 53, 54, 55};
constexpr dev::ParamRule Qbx530Inputs[] = {{0, 6, dev::Role::Input, 3, 1, nullptr, 5, 1}};
constexpr dev::ParamRule Qbx550Inputs[] = {{0, 7, dev::Role::Input, 3, 1, nullptr, 4, 1}};
constexpr dev::SettingDef Qbx530Settings[] = {{dev::Role::Address, 8, {}, true},
                                              {dev::Role::IndexTable, 24 * 7, {}, false},
                                              {dev::Role::Setting, 56, {}, false}};
constexpr dev::SettingDef Qbx550Settings[] = {{dev::Role::Address, 8, {}, true},
                                              {dev::Role::IndexTable, 24 * 8, {}, false},
                                              {dev::Role::Setting, 56, {}, false}};
// The poll command prepares with slot 0; the control command only parses.
constexpr dev::CommandDef Qbx530Commands[] = {{"Опрос данных КЯ QBX-530", 0, 0, 1, dev::kNoSlot},
                                              {kCellControlPollName, 1, dev::kNoSlot, 1, dev::kNoSlot}};
constexpr dev::CommandDef Qbx550Commands[] = {{"Опрос данных QBX-550", 0, 0, 1, dev::kNoSlot},
                                              {kCellControlPollName, 1, dev::kNoSlot, 1, dev::kNoSlot}};
constexpr const char* YesNoItems[] = {"Да", "Нет"};
// Messages are handled by the message subprogram (slot 2) of either controller.
constexpr dev::PropertyDef CellProperties[] = {
    {"Обработка сообщений", dev::Role::Setting, 2, 0, TEditorKind::Choice, YesNoItems,
     dev::PropertyFormat::Messages},
    {"Сетевой адрес", dev::Role::Address, 0, 1, TEditorKind::Edit, {}},
};
constexpr dev::Check CellChecks[] = {dev::Check::PeriodOrMessages, dev::Check::PeriodMissing,
                                     dev::Check::CommandInactive, dev::Check::AddressMissing};
} // namespace

const CellDeviceDef Qbx530Def = {
    {
        .TypeCode = 7,
        .Folder = "qbx530",
        .NamePrefix = "QBX-530: ",
        .ParamNames = Qbx530Names,
        .SignalCount = 7,
        .Signals = Qbx530Inputs,
        .Settings = Qbx530Settings,
        .CodeBase = 1023,
        .Commands = Qbx530Commands,
        .PollCount = 1,
        .Subprograms = Qbx530Subs,
        .ReservedIds = Qbx530ReservedIds,
        .PrepareSub = 0,
        .ParseSub = 1,
        .NoAnswerSub = dev::kNoSlot,
        .Properties = CellProperties,
        .DescPrefix = "",
        .Groups = {},
        .Overrides = {},
        .Checks = CellChecks,
        .MessageSub = 2,
    },
    Qbx530Subs,
    6,
    5,
    false,
};
const CellDeviceDef Qbx550Def = {
    {
        .TypeCode = 8,
        .Folder = "qbx550",
        .NamePrefix = "QBX-550 (адр.0): ",
        .ParamNames = Qbx550Names,
        .SignalCount = 8,
        .Signals = Qbx550Inputs,
        .Settings = Qbx550Settings,
        .CodeBase = 1025,
        .Commands = Qbx550Commands,
        .PollCount = 1,
        .Subprograms = Qbx550Subs,
        .ReservedIds = {},
        .PrepareSub = 0,
        .ParseSub = 1,
        .NoAnswerSub = dev::kNoSlot,
        .Properties = CellProperties,
        .DescPrefix = "",
        .Groups = {},
        .Overrides = {},
        .Checks = CellChecks,
        .MessageSub = 2,
    },
    Qbx550Subs,
    5,
    4,
    true,
};
const char* const CellControlItems[4] = {"Нет", "Канал 1", "Канал 2", "ВКЛ. ТУ1, ОТКЛ. ТУ2"};

const char* const Qbx540ParamNames[7] = {
    "Сетевой адрес, кол-во ТС, ТИТ",
    "Индексы ТС (с 1  по 16)",
    "Индексы ТС (с 17 по 32)",
    "Индексы ТС (с 33 по 48)",
    "Индексы ТС (с 49 по 64)",
    "Индексы ТИТ, коэф. пересчета",
    "Канал ТИТ",
};
const SubprogramDef Qbx540Subprograms[5] = {
    {"qbx540_prepareQuery", "Подготовка опроса QBX-540"},
    {"qbx540_parseAnswer", "Разбор ответа QBX-540"},
    {"qbx540_handleNoAnswer", "Обработка не ответа QBX-540"},
    {"qbx540_parseMessage", "Обработка аварий QBX-540"},
    {"qbx540_getNetAddress", "Получить сетевой адрес QBX-540"},
};
const char* const Qbx540SetpointNames[6] = {
    "Множитель", "Делитель", "Слагаемое", "Вычитаемое", "Тип преобразователя", "Тип аналогового канала",
};
const char* const Qbx540ConverterItems[2] = {"0..5мА", "4..20мА"};
const uint8_t Qbx540AnalogTypes[4] = {8, 9, 17, 18};
// Bound channel 0:0, multiplier 1, divider 1, addend 0, subtrahend 0, converter 0, type 0.
const uint8_t Qbx540AnalogDefault[13] = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};

const char* const Qbx560ParamNames[10] = {
    "Температура 1", "Температура 2", "Температура 3", "Температура 4", "Температура 5",
    "Температура 6", "Температура 7", "Температура 8", "Сетевой адрес", "Индексы темп.",
};
const SubprogramDef Qbx560Subprograms[4] = {
    {"qbx560_prepareMessage", "Подготовка опроса QBX-560"},
    {"qbx560_parseAnswer", "Разбор ответа QBX-560"},
    {"qbx560_getAddress", "Получить сетевой адрес QBX-560"},
    {"qbx560_noAnswer", "Нет ответа QBX-560"},
};

const char* const Qbx570mp3ParamNames[3] = {
    "Настройки QBX-570-МЩ3",
    "Номера регистров индикации",
    "Настройки каналов индикации",
};
const SubprogramDef Qbx570mp3Subprograms[5] = {
    {"qbx570mp3_prepareQuery", "Установка индикации QBX-570-МЩ3"},
    {"qbx570mp3_parseAnswer", "Разбор ответа QBX-570-МЩ3"},
    {"qbx570mp3_parseMessage", "Разбор аварии QBX-570-МЩ3"},
    {"qbx570mp3_handleNoAnswer", "Обработка отсутствия ответа QBX-570-МЩ3"},
    {"qbx570mp3_getNetAddress", "Получить сетевой адрес QBX-570-МЩ3"},
};
const char* const Qbx570mp1ParamNames[2] = {"Настройки QBX-570-МЩ1", "Значение индикации"};
const SubprogramDef Qbx570mp1Subprograms[5] = {
    {"qbx570mp1_prepareQuery", "Установка индикации QBX-570-МЩ1"},
    {"qbx570mp1_parseAnswer", "Разбор ответа QBX-570-МЩ1"},
    {"qbx570mp1_parseMessage", "Разбор аварии QBX-570-МЩ1"},
    {"qbx570mp1_handleNoAnswer", "Обработка отсутствия ответа QBX-570-МЩ1"},
    {"qbx570mp1_getSettings", "Получить настройки QBX-570-МЩ1"},
};

} // namespace qbx
