// СЭТ-4ТМ (Подслушивание): the meter's readings taken from another master's polls, so no poll
// commands of its own; set points as the polled meter. Device layer.
#include "Meterobjects.h"

using namespace meter;

namespace {

constexpr const char* kNames[] = {
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Напряжение ф.А",
    "Напряжение ф.B",
    "Напряжение ф.C",
    "Мощность акт. ф.А",
    "Мощность акт. ф.В",
    "Мощность акт. ф.С",
    "Мощность реакт. ф.А",
    "Мощность реакт. ф.В",
    "Мощность реакт. ф.С",
    "Коэфф. мощности ф.А",
    "Коэфф. мощности ф.В",
    "Коэфф. мощности ф.С",
    "Частота",
    "Энергия акт.",
    "Энергия реакт.",
    "Сетевой адрес",
    "Индексы токов, напряжений",
    "Индексы мощности",
    "Индексы энергии, частоты, cosFi",
    "Энергия акт. по тарифам",
    "Энергия реакт. по тарифам",
    "Индексы энергии по тарифам",
    "Полученная команда",
};

constexpr int kAddressParam = 18;
constexpr int kReceived = 25;
constexpr ParamRule kSignals[] = {
    Measured(0, 2, kCurrent, 16, 19, 0),
    Measured(3, 5, kVoltage, 16, 19, 3),
    Measured(6, 8, kActivePower, 16, 20, 0),
    Measured(9, 11, kReactivePower, 16, 20, 3),
    Measured(12, 14, kPowerFactor, 16, 21, 0),
    Measured(15, 15, kFrequency, 16, 21, 3),
    Measured(16, 16, kActiveEnergy, 32, 21, 4),
    Measured(17, 17, kReactiveEnergy, 32, 21, 5),
    Measured(22, 22, kActiveTariffs, 128, 24, 0, kTariffKind),
    Measured(23, 23, kReactiveTariffs, 128, 24, 1, kTariffKind),
};

constexpr uint8_t kAddressInit[3] = {0, 5, 0};
constexpr SettingDef kSettings[] = {
    {Role::Address, 24, kAddressInit, true, kAddressParam},
    {Role::IndexTable, 144, {}, false, 19},
    {Role::IndexTable, 144, {}, false, 20},
    {Role::IndexTable, 144, {}, false, 21},
    {Role::IndexTable, 48, {}, false, 24, 1244},
    {Role::Setting, 32, {}, false, kReceived, 1245},
};

constexpr SubprogramDef kSubprograms[] = {
    {"lis_set4tm_listenMessage", "Обработка сторонних опросов СЭТ-4ТМ"},
    {"lis_set4tm_getSettings", "Получить настройки СЭТ-4ТМ"},
    {"lis_set4tm_parseData", "Обработка данных ответа"},
};

constexpr PropertyDef kProperties[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Пост. счетчика (А,имп/Вт*ч)", Role::Address, 1, 2, TEditorKind::Edit, {}},
};

constexpr DescGroup kGroups[] = {
    Bare(0, 0, kPhaseA),   Bare(1, 1, kPhaseB),   Bare(2, 2, kPhaseC),   Bare(3, 3, kPhaseA),
    Bare(4, 4, kPhaseB),   Bare(5, 5, kPhaseC),   Bare(6, 6, kPhaseA),   Bare(7, 7, kPhaseB),
    Bare(8, 8, kPhaseC),   Bare(9, 9, kPhaseA),   Bare(10, 10, kPhaseB), Bare(11, 11, kPhaseC),
    Bare(12, 12, kPhaseA), Bare(13, 13, kPhaseB), Bare(14, 14, kPhaseC),
};

static_assert(std::size(kNames) == 26);

} // namespace

constexpr TDeviceDef TSet4TMLisItem::Def{
    .TypeCode = 45,
    .Folder = "set4tm_listen",
    .NamePrefix = "СЭТ: ",
    .ParamNames = kNames,
    .SignalCount = 20,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1222,
    .Commands = {},
    .PollCount = 0,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = 0,
    .ParseSub = 0,
    .NoAnswerSub = 0,
    .Properties = kProperties,
    .DescPrefix = "СЭТ-4ТМ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = {},
};

TSet4TMLisItem::TSet4TMLisItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TSetpointMeter(Def, kSetSetpoints, number, channels, store) {}

bool TSet4TMLisItem::GetParamValueText(TParamItem* p, std::string& text) {
    if (IndexOf(p) == kReceived)
        return false; // the received command has no text
    return TSetpointMeter::GetParamValueText(p, text);
}

std::string TSet4TMLisItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    switch (i) {
    case 16:
    case 17: return p->RamDepth == 1 ? kUndefined : SignedText(p);
    case kAddressParam: return IntToStr(p->Value[0]);
    case 22: return p->RamDepth == 1 ? kUndefined : TariffText(p, kWattHours);
    case 23: return p->RamDepth == 1 ? kUndefined : TariffText(p, kVarHours);
    default: return TSetpointMeter::ValueText(i);
    }
}

void TSet4TMLisItem::CheckConfiguration(TStrings* s) { MeterCheck(this, s, {}, 0); }

void TSet4TMLisItem::CheckSubprogramVersions(TStrings* s) { VersionCheck(this, FStore, s); }
