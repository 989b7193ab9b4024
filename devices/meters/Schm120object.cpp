// ЩМ-120(ЩМ-96) panel meter: six discrete inputs and 29 measured values; no telecontrol, no set
// points, no password. Device layer.
#include "Meterobjects.h"

using namespace meter;

namespace {

constexpr const char* kNames[] = {
    "TC1",
    "TC2",
    "TC3",
    "TC4",
    "TC5",
    "TC6",
    "Напряжение ф.А",
    "Напряжение ф.В",
    "Напряжение ф.С",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Суммарная активная мощность",
    "Активная мощность ф.А",
    "Активная мощность ф.В",
    "Активная мощность ф.С",
    "Суммарная реактивная мощность",
    "Реактивная мощность ф.А",
    "Реактивная мощность ф.В",
    "Реактивная мощность ф.С",
    "Суммарная полная мощность",
    "Полная мощность ф.А",
    "Полная мощность ф.В",
    "Полная мощность ф.С",
    "Частота",
    "Междуфазное напряжение ф.АВ",
    "Междуфазное напряжение ф.АС",
    "Междуфазное напряжение ф.ВС",
    "Среднее напряжение",
    "Средний ток",
    "Среднее междуфазное напряжение",
    "Коэффициент мощности ф.А",
    "Коэффициент мощности ф.В",
    "Коэффициент мощности ф.С",
    "Общий коэффициент мощности",
    "Сетевой адрес",
    "Индексы  0-20",
    "Индексы 21-41",
};

constexpr ParamRule kSignals[] = {
    {0, 5, Role::Signal, kSignal2, 2},           {6, 8, Role::Measure, kVoltage, 16},
    {9, 11, Role::Measure, kCurrent, 16},        {12, 15, Role::Measure, kActivePower, 16},
    {16, 19, Role::Measure, kReactivePower, 16}, {20, 23, Role::Measure, kApparentPower, 16},
    {24, 24, Role::Measure, kFrequency, 16},     {25, 28, Role::Measure, kVoltage, 16},
    {29, 29, Role::Measure, kCurrent, 16},       {30, 30, Role::Measure, kVoltage, 16},
    {31, 34, Role::Measure, kPowerFactor, 16},
};

constexpr uint8_t kAddressInit[5] = {0, 0x00, 0x4B, 0x00, 0x00}; // address 0, 19200 bit/s
constexpr SettingDef kSettings[] = {
    {Role::Address, 40, kAddressInit, true},
    {Role::IndexTable, 504, {}, false},
    {Role::IndexTable, 336, {}, false},
};

constexpr CommandDef kCommands[] = {{"Опрос дискр. кан. ЩМ-120", 0}, {"Опрос аналог. кан. ЩМ-120", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"schm120_prepareQuery", "Подготовка опроса ЩМ-120"},
    {"schm120_parseAnswer", "Разбор ответа ЩМ-120"},
    {"schm120_handleNoAnswer", "Нет ответа ЩМ-120"},
    {"schm120_getNetAddress", "Получить сетевой адрес ЩМ-120"},
};

// "36400" is what stored configurations hold for that speed.
constexpr const char* kSpeedItems[] = {"4800", "9600", "14400", "19200", "36400", "57600"};
constexpr PropertyDef kProperties[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Скорость RS-485", Role::Address, 1, 4, TEditorKind::Choice, kSpeedItems},
};

constexpr DescGroup kGroups[] = {{0, 5, ", вх. сиг. ", true}, {6, 34, ", ", false}};
// The inputs are described with Cyrillic "ТС", five phases with a Latin letter.
constexpr DescOverride kOverrides[] = {
    {0, nullptr, "ТС1"},
    {1, nullptr, "ТС2"},
    {2, nullptr, "ТС3"},
    {3, nullptr, "ТС4"},
    {4, nullptr, "ТС5"},
    {5, nullptr, "ТС6"},
    {9, nullptr, "Ток ф.A"},
    {14, nullptr, "Активная мощность ф.B"},
    {15, nullptr, "Активная мощность ф.C"},
    {32, nullptr, "Коэффициент мощности ф.B"},
    {33, nullptr, "Коэффициент мощности ф.C"},
};

constexpr Check kChecks[] = {Check::PeriodMissing, Check::CommandInactive, Check::AddressMissing};

static_assert(std::size(kNames) == 38);

} // namespace

constexpr TDeviceDef TSCHM120Item::Def{
    .TypeCode = 12,
    .Folder = "schm120",
    .NamePrefix = "SCHM120: ",
    .ParamNames = kNames,
    .SignalCount = 35,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1585,
    .Commands = kCommands,
    .PollCount = 2,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = 0,
    .ParseSub = 1,
    .NoAnswerSub = 2,
    .Properties = kProperties,
    .DescPrefix = "ЩМ-120(ЩМ-96)   - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecks,
};

// Every value shows its first byte, as stored configurations and scripts expect.
std::string TSCHM120Item::ValueText(int i) const { return IntToStr(Param(i)->Value[0]); }
