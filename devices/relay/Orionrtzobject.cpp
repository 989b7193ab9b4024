// ОРИОН-РТЗ: indications, inputs, faults and the currents; the shape without a device password. Its
// last index table holds a single entry. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "Срабатывание АЧР",
    "Срабатывание ЧАПВ",
    "Срабатывание АПВ",
    "Неисправность цепей управления",
    "Пуск УРОВ",
    "Земля",
    "Перегрузка",
    "Повреждение фазы С",
    "Привод не готов",
    "Отсечка",
    "Повреждение фазы A",
    "Ускорение",
    "Внешнее отключение",
    "МТЗ",
    "Пуск защиты",
    "Блокировка АПВ",
    "Состояние ВВ (ТУ)",
    "Сброс срабатываний (ТУ)",
    "Резервный вход",
    "Готовность привода",
    "ЧАПВ",
    "АЧР",
    "Блокировка АПВ",
    "Сброс сигнализации",
    "Вход РПВ",
    "Вход РПО",
    "Включение от ключа",
    "Отключение от ключа",
    "Внешнее отключение",
    "Блокировка отсечки",
    "Питание 220 В",
    "Подключение USB",
    "Кнопка СБРОС",
    "Пропадание питания",
    "Ошибка ключей реле (вх. сиг.)",
    "Ошибка чтения/записи уставок",
    "Ошибка чтения/записи элементов рабочей схемы",
    "Ошибка чтения/записи коэффициентов калибровки",
    "Ошибка АЦП",
    "Ошибка ключей реле",
    "Ток ф.А",
    "Ток ф.С",
    "Ток 3Io",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
    "Индексы 42-42",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 15),
    Breaker(16, "orionrtz_prepareControl"),
    Reset(17, "orionrtz_prepareReset"),
    Signals(18, 39),
    Measures(40, 42, kCurrent),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, IndexTable(1)};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. сиг. ОРИОН-РТЗ", 0},
    {"Опрос токов ОРИОН-РТЗ", 0},
    {"ORIONRTZ Control", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"orionrtz_prepareControl1", "Подготовка команд Откл. ВВ ОРИОН-РТЗ"},
    {"orionrtz_prepareQuery", "Подготовка опроса ОРИОН-РТЗ"},
    {"orionrtz_parseAnswer", "Разбор ответа ОРИОН-РТЗ"},
    {"orionrtz_handleNoAnswer", "Нет ответа ОРИОН-РТЗ"},
    {"orionrtz_getNetAddress", "Получить сетевой адрес ОРИОН-РТЗ"},
    {"orionrtz_prepareControl", "Подготовка команд Вкл./Откл. ВВ ОРИОН-РТЗ"},
    {"orionrtz_prepareReset", "Подготовка команды сброса ОРИОН-РТЗ"},
};

constexpr DescGroup kGroups[] = {
    {0, 17, kIndication, true},
    {18, 34, kInput, true},
    {35, 39, kFault, true},
    {40, 42, kPlain, true},
};

constexpr DescOverride kOverrides[] = {
    {16, nullptr, "Состояние ВВ"},
    {34, nullptr, "Ошибка ключей реле"},
    {41, nullptr, "Ток ф.C"},
};

static_assert(std::size(kNames) == 47);

} // namespace

constexpr TDeviceDef kOrionRtzDef{
    .TypeCode = 33,
    .Folder = "orionrtz",
    .NamePrefix = "ORIONRTZ: ",
    .ParamNames = kNames,
    .SignalCount = 43,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1237,
    .Commands = kCommands,
    .PollCount = 2,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithoutPassword,
    .DescPrefix = "ОРИОН-РТЗ - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithoutPassword,
};
