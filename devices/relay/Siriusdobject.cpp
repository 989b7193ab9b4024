// СИРИУС-Д: protection and automation states, indications, inputs, faults, currents and voltages
// with their angles, frequency, heating, power and energy; the shape with a device password. Device layer.
#include "Relayobjects.h"
#include "relaycommon.h"

using namespace relay;

namespace {

constexpr const char* kNames[] = {
    "ЗМН - Вывод", "ЗМН - Работа", "Пуск защиты", "АЧР - Вывод", "АЧР - Работа", "УРОВ - Вывод", "УРОВ - Работа",
    "АПВ - Работа", "АПВ - Вывод", "Блокировка Запрет включения", "Блокировка АЧР", "Блокировка УРОВ",
    "Блокировка АПВ", "Блокировка ЗМН", "Срабатывание АПВ", "Внешняя неисправность", "Сигнал 1", "Сигнал 2",
    "Срабатывание УРОВ", "Срабатывание защиты", "Аварийное отключение", "Состояние ВВ", "Сброс сигнализации",
    "Вход 4", "Вход 3", "Автомат ШП", "Вход 2", "Вход 1", "РПВ", "РПО", "Вход 5", "Откл. от ключа",
    "Вкл. от ключа", "Вход 6", "Откл. по ТУ", "Вкл. по ТУ", "Вход 7", "Вход 8", "2й набор уставок",
    "Дуговая защита", "Вход АЧР", "Вход 9", "Вход 10", "Сбой питания", "Неиспр.КВ/КО", "Автомат ШП", "Перегрев",
    "Дуговая защита", "Перегрузка", "Земля", "Обрыв", "Внешний сигнал 1", "Внешний сигнал 2", "Внешний сигнал 3",
    "Внешний сигнал 4", "Внешний сигнал 5", "Внешний сигнал 6", "Внешний сигнал 7", "Внешний сигнал 8",
    "Внешний сигнал 9", "Внешний сигнал 10", "Задержка откл.", "Задержка вкл.", "Нет батарейки",
    "Нет импульса синхр", "Сбой памяти", "Неисправность ТН", "Сброс", "Ток ф.А", "Угол тока ф.А", "Ток ф.В",
    "Угол тока ф.В", "Ток ф.С", "Угол тока ф.С", "Ток Imax", "Ток 3Io", "Угол тока 3Io", "Напряжение ф.А",
    "Угол напряжения ф.А", "Напряжение ф.В", "Угол напряжения ф.В", "Напряжение ф.С", "Угол напряжения ф.С",
    "Напряжение 3Uo", "Угол напряжения 3Uo", "Частота", "Нагрев", "Активная мощность", "Реактивная мощность",
    "Потребленная активная энергия,кВт*ч ", "Отданная активная энергия,кВт*ч ",
    "Потребленная реактивная энергия,кВАР*ч ", "Отданная реактивная энергия,кВАР*ч ", "Сетевой адрес",
    "Индексы  0-20", "Индексы 21-41", "Индексы 42-62", "Индексы 63-83", "Индексы 84-91", "Пароль",
};

constexpr ParamRule kSignals[] = {
    Signals(0, 20),
    Breaker(21, "siriusd_prepareControl"),
    Signals(22, 66),
    Reset(67, "siriusd_prepareReset"),
    Measures(68, 68, kCurrent),
    Measures(69, 69, kAngle),
    Measures(70, 70, kCurrent),
    Measures(71, 71, kAngle),
    Measures(72, 72, kCurrent),
    Measures(73, 73, kAngle),
    Measures(74, 75, kCurrent),
    Measures(76, 76, kAngle),
    Measures(77, 77, kVoltage),
    Measures(78, 78, kAngle),
    Measures(79, 79, kVoltage),
    Measures(80, 80, kAngle),
    Measures(81, 81, kVoltage),
    Measures(82, 82, kAngle),
    Measures(83, 83, kVoltage),
    Measures(84, 84, kAngle),
    Measures(85, 85, kFrequency),
    Measures(86, 86, kTemperature),
    Measures(87, 87, kActivePower),
    Measures(88, 88, kReactivePower),
    Measures(89, 90, kActiveEnergy, 32),
    Measures(91, 92, kReactiveEnergy, 32),
};

constexpr SettingDef kSettings[] = {kAddress, kFullTable, kFullTable, kFullTable, kFullTable, IndexTable(9), kPassword};

constexpr CommandDef kCommands[] = {
    {"Опрос дискр. каналов СириусД", 0},
    {"Опрос неисправностей СириусД", 0},
    {"Опрос энергии СириусД", 0},
    {"Опрос тока, напр. СириусД", 0},
    {"SIRIUSD Control", 1},
    {"Подготовка к ТУ - пароль", 1},
    {"Подготовка к ТУ - команда 1", 1},
    {"Подготовка к ТУ - команда 2", 1},
    {"Подготовка к ТУ - команда 3", 1},
    {"SIRIUSD Reset", 1},
};

constexpr SubprogramDef kSubprograms[] = {
    {"siriusd_parseWB", "Разбор ответа СириусД:неисправности"},
    {"siriusd_prepareQuery", "Подготовка опроса СириусД"},
    {"siriusd_parseAnswer", "Разбор ответа СириусД:дискретные сигн."},
    {"siriusd_handleNoAnswer", "Нет ответа СириусД"},
    {"siriusd_getNetAddress", "Получить сетевой адрес СириусД"},
    {"siriusd_prepareControl", "Подготовка команд вкл./откл. ВВ СириусД"},
    {"siriusd_parseVI", "Разбор ответа СириусД:ток,напряжение,мощность"},
    {"siriusd_prepareReset", "Подготовка команды сброса СириусД"},
    {"siriusd_prepareControl1", "Подготовка команды откл. ВВ СириусД"},
    {"siriusd_parseEnergy", "Разбор ответа СириусД:энергия"},
};

constexpr DescGroup kGroups[] = {
    {0, 21, kIndication, true},
    {22, 42, kInput, true},
    {43, 66, kFault, true},
    {67, 92, kPlain, false},
};

constexpr DescOverride kOverrides[] = {
    {72, nullptr, "Ток ф.C"},
    {77, nullptr, "Напряжение ф.A"},
};

static_assert(std::size(kNames) == 100);

} // namespace

constexpr TDeviceDef TSIRIUSDItem::Def{
    .TypeCode = 22,
    .Tag = "SIRD",
    .DisplayType = "СИРИУС-Д",
    .NumberBase = 5407,
    .Folder = "siriusd",
    .NamePrefix = "SIRIUSD: ",
    .ParamNames = kNames,
    .SignalCount = 93,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1207,
    .Commands = kCommands,
    .PollCount = 4,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kPropertiesWithPassword,
    .DescPrefix = "СИРИУС-Д - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecksWithPassword,
};
