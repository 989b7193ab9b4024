// ATI panel: voltages and frequencies of the main supply and the generator, the engine mode and the
// switch state (byte-wide states with their own change handler). Device layer.
#include "Ioobjects.h"
#include "iocommon.h"

using namespace io;

namespace {

constexpr const char* kNames[] = {
    "U12main",
    "U23main",
    "U31main",
    "V1main",
    "V2main",
    "V3main",
    "FreqMain",
    "U31Gen",
    "FreqGen",
    "Режим двигателя",
    "Состояние переключателя",
    "Сетевой адрес",
    "Индексы  0-20",
};
static_assert(std::size(kNames) == 13);

constexpr int kSignalCount = 11;
constexpr int kIndexTable = 12;
constexpr uint8_t kVoltage = 9;
constexpr uint8_t kFrequency = 14;
constexpr uint8_t kSwitch = 26;

constexpr ParamRule kSignals[] = {
    {0, 5, Role::Measure, kVoltage, 16, nullptr},
    {6, 6, Role::Measure, kFrequency, 16, nullptr},
    {7, 7, Role::Measure, kVoltage, 16, nullptr},
    {8, 8, Role::Measure, kFrequency, 16, nullptr},
    {.first = 9,
     .last = 10,
     .role = Role::Signal,
     .paramType = kSwitch,
     .bits = 8,
     .init = 0x80,
     .handler = "log_handleByteStateChange"},
};

constexpr SettingDef kSettings[] = {{Role::Address, 40, kAddress9600, true}, IndexTable(kSignalCount)};

constexpr CommandDef kCommands[] = {{"Опрос дискр. сиг. ATI", 0}, {"Опрос аналог. сиг. ATI", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"ati_prepareQuery", "Подготовка опроса ATI"},
    {"ati_parseAnswer", "Разбор ответа ATI"},
    {"ati_handleNoAnswer", "Нет ответа ATI"},
    {"ati_getNetAddress", "Получить сетевой адрес ATI"},
};

constexpr DescGroup kGroups[] = {{0, kSignalCount - 1, ",  ", true}};
constexpr DescOverride kOverrides[] = {{6, nullptr, "Freqmain"}};

} // namespace

constexpr TDeviceDef TATIItem::Def{
    .TypeCode = 34,
    .Folder = "ati",
    .NamePrefix = "ATI: ",
    .ParamNames = kNames,
    .SignalCount = kSignalCount,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1649,
    .Commands = kCommands,
    .PollCount = 2,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kAddressAndSpeed,
    .DescPrefix = "ATI - ",
    .Groups = kGroups,
    .Overrides = kOverrides,
    .Checks = kChecks,
};

// Value byte 0 of every parameter but the index table.
std::string TATIItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i != kIndexTable)
        return IntToStr(p->Value[0]);
    return p->RamDepth == 1 ? "не определено" : IntToStr(GetU16(p, 0));
}
