// СИРИУС-2C (its last letter Latin): protection and automation states, indications, inputs, faults,
// three overcurrent stages, the currents with their angles; the shape with a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Пуск защиты", "ЛЗШ - Вывод", "ЛЗШ - Работа", "АВР - Вывод", "АВР - Работа", "УРОВ - Работа", "УРОВ - Вывод",
    "Блокировка 2", "Блокировка 3", "Блокировка 1", "Блокировка ЛЗШ", "Блокировка АВР", "Блокировка УРОВ",
    "Срабатывание АВР", "Внешняя неисправность", "Сигнал 1", "Сигнал 2", "Пуск УРОВ", "Срабатывание защиты",
    "Аварийное отключение", "Состояние ВВ (ТУ)", "Сброс срабатываний (ТУ)", "Сброс сигнализации", "Вход 2",
    "Вход 1", "Автомат ШП", "Защита шин", "Сигнал дуг. защиты", "Вход РПВ", "Вход РПО", "Разрешение ТУ",
    "Откл. от ключа", "Вкл. от ключа", "Вход 3", "Откл. по ТУ", "Вкл. по ТУ", "Вход 4", "Вход 5", "Вход 10",
    "Вход 11", "Вход УРОВ II c.", "Вход 13", "Вход ЛЗШ II с.", "Вход ЛЗШ I с.", "Вход 8", "Вход 7", "Вход 6",
    "Вход УРОВ II c.", "Вход УРОВ I с.", "Откл. от АВР", "Вкл. от АВР", "Вход 9", "ВМ блокировка",
    "Дуговая защ. I с.", "Дуговая защ. II с.", "Сбой питания", "Неиспр.КВ/КО", "Автомат ШП", "Блок.ЛЗШ I с.ш.",
    "Блок.ЛЗШ II с.ш.", "Сигнал дуг.защ.", "Дуг.защита I с.ш.", "Дуг.защита II с.ш.", "Перегрузка", "УРОВ I с.ш.",
    "УРОВ II с.ш.", "Обрыв", "Внешний сигнал 1", "Внешний сигнал 2", "Внешний сигнал 3", "Внешний сигнал 4",
    "Внешний сигнал 5", "Внешний сигнал 6", "Внешний сигнал 7", "Внешний сигнал 8", "Внешний сигнал 9",
    "Внешний сигнал 10", "Внешний сигнал 11", "Внешний сигнал 12", "Внешний сигнал 13", "Задержка откл.",
    "Задержка вкл.", "Нет батарейки", "Нет импульса синхр.", "Сбой памяти", "Срабатывание МТЗ-1",
    "Срабатывание МТЗ-2", "Срабатывание МТЗ-3", "Ток ф.А", "Угол тока ф.А", "Ток ф.В", "Угол тока ф.В", "Ток ф.С",
    "Угол тока ф.С", "Ток КЗ max", "Ток прямой посл.", "Ток обр. посл.", "Сетевой адрес", "Индексы  0-20",
    "Индексы 21-41", "Индексы 42-62", "Индексы 63-83", "Индексы 84-96", "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 19),
    Breaker(20, "sirius2s_prepareControl"),
    Reset(21, "sirius2s_prepareReset"),
    Signals(22, 87),
    Measures(88, 88, kCurrent),
    Measures(89, 89, kAngle),
    Measures(90, 90, kCurrent),
    Measures(91, 91, kAngle),
    Measures(92, 92, kCurrent),
    Measures(93, 93, kAngle),
    Measures(94, 96, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, kFullTable, IndexTable(13), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов Сириус2C", 0},
    {"Опрос неиспр. Сириус2C", 0},
    {"Опрос сработок Сириус2C", 0},
    {"Опрос токов Сириус2C", 0},
    {"SIRIUS2S Control", 1},
    {"Подготовка к ТУ - пароль", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"sirius2s_parseWB", "Разбор ответа Сириус2C:неисправности"},
    {"sirius2s_prepareQuery", "Подготовка опроса Сириус2C"},
    {"sirius2s_parseAnswer", "Разбор ответа Сириус2C"},
    {"sirius2s_handleNoAnswer", "Нет ответа Сириус2C"},
    {"sirius2s_getNetAddress", "Получить сетевой адрес Сириус2C"},
    {"sirius2s_prepareControl", "Подготовка команды управления Сириус2C"},
    {"sirius2s_prepareControl1", "Подготовка команд Откл. ВВ  Сириус2C"},
    {"sirius2s_prepareReset", "Подготовка команды сброса Сириус2С"},
    {"sirius2s_parseSrab", "Разбор ответа Сириус2C:сработка"},
    {"sirius2s_parseI", "Разбор ответа Сириус2C:ток"},
    {"sirius2s_handleNoAnswerI", "Нет ответа Сириус2C:ток"},
};

constexpr DescGroup kGroups[] = {
    {0, 21, kIndication, true},
    {22, 54, kInput, true},
    {55, 84, kFault, true},
    {85, 96, kPlain, false},
};

constexpr const char* kCyrillicPrefix = "СИРИУС-2С - "; // the Cyrillic letter after the 2

constexpr DescOverride kOverrides[] = {
    {21, kCyrillicPrefix, nullptr},
    {85, kCyrillicPrefix, nullptr},
    {86, kCyrillicPrefix, nullptr},
    {87, kCyrillicPrefix, nullptr},
};

static_assert(std::size(kNames) == 104);

} // namespace

constexpr TDeviceDef TSIRIUS2SItem::Def{
    .TypeCode = 29,
    .Tag = "SIR2S",
    .DisplayType = "СИРИУС-2C",
    .NumberBase = 5507,
    .Folder = "sirius2s",
    .NamePrefix = "SIRIUS2S: ",
    .ParamNames = kNames,
    .SignalCount = 97,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1223,
    .Commands = kCommands,
    .PollCount = 4,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-2C - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithPassword,
};
