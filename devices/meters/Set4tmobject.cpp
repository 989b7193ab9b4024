// СЭТ-4ТМ: the meter's phase values with set points, frequency, energies in total and by
// tariffs, the meter constant. Device layer.
#include "Meterobjects.h"

using namespace meter;

namespace {

constexpr int kAddressParam = 18;
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
    Measured(25, 25, kActiveEnergy, 32, 21, 6),
    Measured(26, 26, kReactiveEnergy, 32, 21, 7),
    Measured(27, 27, kActivePower, 16, 30, 0),
    Measured(28, 28, kReactivePower, 16, 30, 1),
    Measured(29, 29, kPowerFactor, 16, 30, 2),
};

// Address 0, meter constant 5 pulses per W·h.
constexpr uint8_t kAddressInit[3] = {0, 5, 0};
constexpr SettingDef kSettings[] = {
    {Role::Address, 24, kAddressInit, true, kAddressParam},
    {Role::IndexTable, 144, {}, false, 19},
    {Role::IndexTable, 144, {}, false, 20},
    {Role::IndexTable, 192, {}, false, 21},
    {Role::IndexTable, 48, {}, false, 24, 1044},
    {Role::IndexTable, 72, {}, false, 30, 1045},
};

constexpr int kPrepare = 0, kParse = 1, kNoAnswer = 2, kTariffPrepare = 4, kTariffParse = 5, kParse2 = 6;
constexpr CommandDef kCommands[] = {
    {"Открытие канала связи", 1, kClassSlot, kClassSlot, kClassSlot, 255},
    {"Опрос тока по фазам", 0},
    {"Опрос напряжения по фазам", 0},
    {"Опрос энергии", 0},
    {"Опрос мощности акт.", 0, kPrepare, kParse2},
    {"Опрос мощности реакт.", 0, kPrepare, kParse2},
    {"Опрос частоты", 0},
    {"Опрос косинуса фи", 0, kPrepare, kParse2},
    {"Опрос энергии Т1", 0, kTariffPrepare, kTariffParse, kNoSlot},
    {"Опрос энергии Т2", 0, kTariffPrepare, kTariffParse, kNoSlot},
    {"Опрос энергии Т3", 0, kTariffPrepare, kTariffParse, kNoSlot},
    {"Опрос энергии Т4", 0, kTariffPrepare, kTariffParse, kNoSlot},
};

constexpr SubprogramDef kSubprograms[] = {
    {"set4tm_prepareQuery", "Подготовка опроса СЭТ-4ТМ"},
    {"set4tm_parseAnswer", "Разбор ответа СЭТ-4ТМ"},
    {"set4tm_handleNoAnswer", "Нет ответа СЭТ-4ТМ"},
    {"set4tm_getNetAddress", "Получить сетевой адрес СЭТ-4ТМ"},
    {"set4tm_prepareTarifQuery", "Опрос по тарифам СЭТ-4ТМ"},
    {"set4tm_parseTarifAnswer", "Разбор опроса по тарифам СЭТ-4ТМ"},
    {"set4tm_parseAnswer_2", "Разбор ответа СЭТ-4ТМ (ч.2)"},
};
constexpr uint16_t kReservedIds[] = {25, 26, 27, 28, 29, 30, 31};

constexpr PropertyDef kProperties[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Пост. счетчика (А,имп/Вт*ч)", Role::Address, 1, 2, TEditorKind::Edit, {}},
};

constexpr DescGroup kGroups[] = {
    Bare(0, 0, kPhaseA),   Bare(1, 1, kPhaseB),   Bare(2, 2, kPhaseC),   Bare(3, 3, kPhaseA),
    Bare(4, 4, kPhaseB),   Bare(5, 5, kPhaseC),   Bare(6, 6, kPhaseA),   Bare(7, 7, kPhaseB),
    Bare(8, 8, kPhaseC),   Bare(9, 9, kPhaseA),   Bare(10, 10, kPhaseB), Bare(11, 11, kPhaseC),
    Bare(12, 12, kPhaseA), Bare(13, 13, kPhaseB), Bare(14, 14, kPhaseC), Bare(27, 29, kThreePhase),
};

constexpr int8_t kNeeded[] = {2, 2, 2, 3, 3, 3, 5, 5, 5, 6, 6, 6, 8, 8, 8, 7, 4, 4};

static_assert(std::size(kThreePhaseNames) == 31);

} // namespace

namespace meter {

constexpr int kSetSetpointParams[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr SetpointDef kSetSetpoints{kSetSetpointParams, "СЭТ-4ТМ - Уставка: значение",
                                    "СЭТ-4ТМ - Уставка: состояние"};

} // namespace meter

constexpr TDeviceDef TSet4TMItem::Def{
    .TypeCode = 39,
    .Folder = "set4tm",
    .NamePrefix = "СЭТ: ",
    .ParamNames = kThreePhaseNames,
    .SignalCount = 25,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1022,
    .Commands = kCommands,
    .PollCount = 11,
    .Subprograms = kSubprograms,
    .ReservedIds = kReservedIds,
    .PrepareSub = kPrepare,
    .ParseSub = kParse,
    .NoAnswerSub = kNoAnswer,
    .Properties = kProperties,
    .DescPrefix = "СЭТ-4ТМ - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = {},
    .PollFirst = 1,
};

TSet4TMItem::TSet4TMItem(uint16_t number, ELEMList* channels, actionManager* store)
    : TSetpointMeter(Def, kSetSetpoints, number, channels, store) {}

bool TSet4TMItem::GetParamValueText(TParamItem* p, std::string& text) {
    const int i = IndexOf(p);
    if (i >= 25 && i <= 29)
        return false; // these values have no text
    return TSetpointMeter::GetParamValueText(p, text);
}

std::string TSet4TMItem::ValueText(int i) const {
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

void TSet4TMItem::CheckConfiguration(TStrings* s) { MeterCheck(this, s, kNeeded, 9); }

void TSet4TMItem::CheckSubprogramVersions(TStrings* s) { VersionCheck(this, FStore, s); }
