// Меркурий 230: phase currents, voltages, powers and power factors with set points, frequency,
// energies in total and by tariffs; a six-byte password; the current scale kept in the parse
// subprogram. Device layer.
#include "Meterobjects.h"

#include <algorithm>

using namespace meter;

namespace {

constexpr int kAddressParam = 18;
constexpr int kTariffTable = 24;
constexpr ParamRule kSignals[] = {
    Measured(0, 2, kCurrent, 16, 19, 0),
    Measured(3, 5, kVoltage, 16, 19, 3),
    Measured(6, 8, kActivePower, 16, 20, 0),
    Measured(9, 11, kReactivePower, 16, 20, 3),
    Measured(12, 14, kPowerFactor, 16, 21, 0),
    Measured(15, 15, kFrequency, 16, 21, 3),
    Measured(16, 16, kActiveEnergy, 32, 21, 4),
    Measured(17, 17, kReactiveEnergy, 32, 21, 5),
    Measured(22, 22, kActiveTariffs, 128, kTariffTable, 0, kTariffKind),
    Measured(23, 23, kReactiveTariffs, 128, kTariffTable, 1, kTariffKind),
    Measured(25, 25, kActiveEnergy, 32, 21, 6),
    Measured(26, 26, kReactiveEnergy, 32, 21, 7),
    Measured(27, 27, kActivePower, 16, 30, 0),
    Measured(28, 28, kReactivePower, 16, 30, 1),
    Measured(29, 29, kPowerFactor, 16, 30, 2),
};

// Address, password type ("DEC"), and the meter's factory password 111111 as six bytes.
constexpr uint8_t kDefaultPasswordByte = 1;
constexpr uint8_t kAddressInit[8] = {0, 0, 1, 1, 1, 1, 1, 1};
static_assert(kAddressInit[2] == kDefaultPasswordByte);
constexpr int kPasswordType = 1; // byte of the address parameter
constexpr int kPassword = 2;     // first of six bytes
constexpr int kPasswordBytes = 6;

constexpr SettingDef kSettings[] = {
    // A stored one of another width gets the factory password.
    {Role::Address, 64, kAddressInit, true, kAddressParam, 0, true},
    {Role::IndexTable, 144, {}, false, 19},
    {Role::IndexTable, 144, {}, false, 20},
    {Role::IndexTable, 192, {}, false, 21},
    {Role::IndexTable, 48, {}, false, kTariffTable, 1004},
    {Role::IndexTable, 72, {}, false, 30, 1005},
};

constexpr int kPrepare = 1, kParse = 2, kNoAnswer = 3, kTariffPrepare = 5, kTariffParse = 6, kParse2 = 7;
constexpr CommandDef kCommands[] = {
    {"Открытие канала связи", 1, kClassSlot, kClassSlot, kClassSlot, 255},
    {"Опрос токов по фазам", 0},
    {"Опрос напряжений по фазам", 0},
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
constexpr int kFirstTariffCommand = 9;

constexpr SubprogramDef kSubprograms[] = {
    {"createCRC16", "Расчет КС Меркурий 230/СЭТ/УЗА10А2", ""},
    {"M230_prepareQuery", "Подготовка опроса Меркурий 230"},
    {"M230_parseAnswer", "Разбор ответа Меркурий 230"},
    {"M230_handleNoAnswer", "Нет ответа Меркурий 230"},
    {"M230_getNetAddress", "Получить сетевой адрес Меркурий 230"},
    {"M230_prepareTarifQuery", "Опрос по тарифам Меркурий 230"},
    {"M230_parseTarifAnswer", "Разбор опроса по тарифам Меркурий 230"},
    {"M230_parseAnswer_2", "Разбор ответа Меркурий 230 (ч.2)"},
};
constexpr uint16_t kReservedIds[] = {20, 21, 22, 23, 24, 25, 26, 27};

// The scale's operand: instruction 75 (counted from 1) of the parse subprogram, a push.
constexpr int kScalePos = 75;
constexpr const char* kScaleItems[] = {"x0,1   А", "x0,01  А", "x0,001 А"};
constexpr uint16_t kScales[] = {100, 10, 1};
constexpr const char* kPasswordTypes[] = {"DEC", "ASCII"};

constexpr PropertyDef kProperties[] = {
    {"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}},
    {"Разрядность показаний тока", Role::Address, 0, 0, TEditorKind::Choice, kScaleItems},
    {"Тип пароля", Role::Address, kPasswordType, 1, TEditorKind::Choice, kPasswordTypes},
    {"Пароль", Role::Address, kPassword, 0, TEditorKind::Edit, {}},
};
constexpr int kScaleRow = 3, kPasswordTypeRow = 4, kPasswordRow = 5;

constexpr DescGroup kGroups[] = {
    Bare(0, 0, kPhaseA),   Bare(1, 1, kPhaseB),   Bare(2, 2, kPhaseC),   Bare(3, 3, kPhaseA),
    Bare(4, 4, kPhaseB),   Bare(5, 5, kPhaseC),   Bare(6, 6, kPhaseA),   Bare(7, 7, kPhaseB),
    Bare(8, 8, kPhaseC),   Bare(9, 9, kPhaseA),   Bare(10, 10, kPhaseB), Bare(11, 11, kPhaseC),
    Bare(12, 12, kPhaseA), Bare(13, 13, kPhaseB), Bare(14, 14, kPhaseC), Bare(27, 29, kThreePhase),
};

constexpr int kSetpointParams[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr int kPhaseCurrents = 3; // set points 0-2 follow the current scale

// The command each bound parameter needs.
constexpr int8_t kNeeded[] = {2, 2, 2, 3, 3, 3, 5,           5,           5, 6, 6, 6, 8, 8, 8, 7,
                              4, 4, 0, 0, 0, 0, kTariffMark, kTariffMark, 0, 0, 0, 5, 6, 8, 0};

static_assert(std::size(kThreePhaseNames) == 31 && std::size(kNeeded) == 31);

} // namespace

constexpr TDeviceDef TMercury230Item::Def{
    .TypeCode = 38,
    .Folder = "m230",
    .NamePrefix = "M230: ",
    .ParamNames = kThreePhaseNames,
    .SignalCount = 25,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 982,
    .Commands = kCommands,
    .PollCount = 11,
    .Subprograms = kSubprograms,
    .ReservedIds = kReservedIds,
    .PrepareSub = kPrepare,
    .ParseSub = kParse,
    .NoAnswerSub = kNoAnswer,
    .Properties = kProperties,
    .DescPrefix = "Меркурий 230 - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = {},
    .PollFirst = 1,
};

constexpr SetpointDef TMercury230Item::Setpoints{kSetpointParams, "М230 - Уставка: значение",
                                                 "М230 - Уставка: состояние"};

// ---- Current scale ----

namespace {

TActionLine* ScaleLine(actionManager* store, uint16_t parseId) {
    T_Action* a = Subprogram(store, parseId);
    if (!a || InstructionCount(a) < kScalePos)
        return nullptr;
    TActionLine* line = Instruction(a, kScalePos);
    return line->Opcode == opPush ? line : nullptr;
}

} // namespace

uint16_t TMercury230Item::GetCurrentScale() const {
    const TActionLine* line = ScaleLine(FStore, SubprogramId(kParse));
    const auto scale = static_cast<uint16_t>(line ? line->U32() : 1);
    return scale ? scale : 1;
}

bool TMercury230Item::SetCurrentScale(uint16_t scale) {
    TActionLine* line = ScaleLine(FStore, SubprogramId(kParse));
    if (!line)
        return false;
    SetPush(line, scale, scale < 256 ? 8 : 16);
    return true;
}

void TMercury230Item::ChangeCurrentScale(uint16_t scale) {
    const uint16_t from = GetCurrentScale();
    if (scale == 0 || scale == from)
        return;
    // The scale is one for the whole configuration: every Mercury 230 keeps its current limits.
    std::vector<TMercury230Item*> meters;
    ForEachChannel(FChannels, [&](TParamItem* c) {
        auto* m = dynamic_cast<TMercury230Item*>(c->Owner);
        if (m && std::find(meters.begin(), meters.end(), m) == meters.end())
            meters.push_back(m);
        return true;
    });
    for (const TMercury230Item* m : meters) {
        const std::string refusal = m->CurrentSetpointPastScale(from, scale);
        if (!refusal.empty()) {
            ReportConfigurationProblem(refusal);
            return;
        }
    }
    if (!SetCurrentScale(scale))
        return;
    for (TMercury230Item* m : meters)
        m->RescaleCurrentSetpoints(from, scale);
}

std::string TMercury230Item::CurrentSetpointPastScale(uint16_t from, uint16_t to) const {
    for (int k = 0; k < kPhaseCurrents; ++k)
        for (int offset : {1, 3})
            if (uint32_t{GetU16(SetpointValue(k), offset)} * from / to > 0xFFFF)
                return "Масштаб тока не изменён: уставка " + IntToStr(offset == 1 ? 1 : 2) + " канала \"" +
                       Param(k)->Name + "\" не помещается в новый масштаб.";
    return {};
}

void TMercury230Item::RescaleCurrentSetpoints(uint16_t from, uint16_t to) {
    for (int k = 0; k < kPhaseCurrents; ++k)
        for (int offset : {1, 3}) // truncated toward zero; each fits (CurrentSetpointPastScale)
            SetU16(SetpointValue(k), offset,
                   static_cast<uint16_t>(uint32_t{GetU16(SetpointValue(k), offset)} * from / to));
}

int TMercury230Item::SetpointFactor(int i) const {
    if (Param(i)->ParamType == kCurrent)
        return 1000 / GetCurrentScale();
    return TSetpointMeter::SetpointFactor(i);
}

void TMercury230Item::FormatParamValue(TParamItem* p, std::string& out) {
    if (p && IndexOf(p) >= 0 && p->ParamType == kCurrent)
        out = FloatToStrF(GetCurrentScale() * 0.001, ffGeneral, 6, 10);
    else
        TSetpointMeter::FormatParamValue(p, out);
}

// ---- Texts ----

bool TMercury230Item::GetParamValueText(TParamItem* p, std::string& text) {
    const int i = IndexOf(p);
    if (i >= 25 && i <= 29)
        return false; // these values have no text
    return TSetpointMeter::GetParamValueText(p, text);
}

std::string TMercury230Item::ValueText(int i) const {
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

void TMercury230Item::GetPropertyText(int row, std::string& text) {
    const TParamItem* a = Param(kAddressParam);
    switch (row) {
    case kScaleRow:
        for (size_t k = 0; k < std::size(kScales); ++k)
            if (kScales[k] == GetCurrentScale())
                text = kScaleItems[k];
        return;
    case kPasswordTypeRow: text = a->Value[kPasswordType] ? "ASCII" : "DEC"; return;
    case kPasswordRow:
        text.clear();
        for (int b = 0; b < kPasswordBytes; ++b) {
            const uint8_t c = a->Value[kPassword + b];
            if (a->Value[kPasswordType] == 0)
                text += IntToStr(c);
            else if (c == 0)
                break;
            else
                text += static_cast<char>(c);
        }
        return;
    default: TSetpointMeter::GetPropertyText(row, text);
    }
}

// ---- Edits ----

void TMercury230Item::ApplyPropertyValue(int row, const std::string& text) {
    switch (row) {
    case kScaleRow:
        for (size_t k = 0; k < std::size(kScales); ++k)
            if (text == kScaleItems[k])
                ChangeCurrentScale(kScales[k]);
        return;
    case kPasswordTypeRow: ApplyPasswordType(text); return;
    case kPasswordRow: ApplyPassword(text); return;
    default: TSetpointMeter::ApplyPropertyValue(row, text);
    }
}

// The password keeps its meaning across the switch; when any byte has no form in the other type,
// nothing changes.
void TMercury230Item::ApplyPasswordType(const std::string& text) {
    TParamItem* a = Param(kAddressParam);
    const bool ascii = text == "ASCII";
    if (!ascii && text != "DEC")
        return;
    if (ascii == (a->Value[kPasswordType] != 0))
        return;
    uint8_t bytes[kPasswordBytes];
    for (int b = 0; b < kPasswordBytes; ++b) {
        const uint8_t c = a->Value[kPassword + b];
        if (ascii) {
            bytes[b] = static_cast<uint8_t>(IntToStr(c)[0]);
        } else {
            if (c < '0' || c > '9')
                return;
            bytes[b] = static_cast<uint8_t>(c - '0');
        }
    }
    a->Value[kPasswordType] = ascii ? 1 : 0;
    for (int b = 0; b < kPasswordBytes; ++b)
        a->Value[kPassword + b] = bytes[b];
}

// "DEC": each digit is one byte, other characters leave their byte; "ASCII": the characters,
// zeros after a shorter text.
void TMercury230Item::ApplyPassword(const std::string& text) {
    TParamItem* a = Param(kAddressParam);
    for (int b = 0; b < kPasswordBytes; ++b) {
        const bool has = b < static_cast<int>(text.size());
        const char c = has ? text[static_cast<size_t>(b)] : '\0';
        if (a->Value[kPasswordType] != 0)
            a->Value[kPassword + b] = static_cast<uint8_t>(c);
        else if (c >= '0' && c <= '9')
            a->Value[kPassword + b] = static_cast<uint8_t>(c - '0');
    }
}

// ---- Checks ----

void TMercury230Item::CheckConfiguration(TStrings* s) { MeterCheck(this, s, kNeeded, kFirstTariffCommand); }

void TMercury230Item::CheckSubprogramVersions(TStrings* s) { VersionCheck(this, FStore, s); }
