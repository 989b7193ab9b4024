// КЭЯ "Знак+": seven discrete inputs with their telecontrol codes, phase currents and voltages,
// energies, powers and power factors. Device layer.
#include "Meterobjects.h"

using namespace meter;

namespace {

constexpr const char* kNames[] = {
    "ТС1",
    "ТС2",
    "ТС3",
    "ТС4",
    "ТС5",
    "ТС6",
    "ТС7",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Напряжение ф.А",
    "Напряжение ф.В",
    "Напряжение ф.С",
    "Энергия акт. ф.А",
    "Энергия акт. ф.В",
    "Энергия акт. ф.С",
    "Энергия акт. 3ф.",
    "Энергия реакт. ф.А",
    "Энергия реакт. ф.В",
    "Энергия реакт. ф.С",
    "Энергия реакт. 3ф.",
    "Мощность акт. ф.А",
    "Мощность акт. ф.В",
    "Мощность акт. ф.С",
    "Мощность реакт. ф.А",
    "Мощность реакт. ф.В",
    "Мощность реакт. ф.С",
    "Мощность полная ф.А",
    "Мощность полная ф.В",
    "Мощность полная ф.С",
    "Косинус Фи ф.А",
    "Косинус Фи ф.В",
    "Косинус Фи ф.С",
    "Сетевой адрес",
    "Индексы ток, напр. ТС",
    "Индексы энергия, к.фи",
    "Индексы мощности",
    "Коды управл.",
};

constexpr int kInputs = 7;
constexpr int kAddressParam = 33;
constexpr int kCodesParam = 37;
constexpr int kEnergyTable = 35, kPowerTable = 36;
constexpr int kControlSub = 4; // its control subprogram's slot
constexpr ParamRule kSignals[] = {
    Inputs(0, 6, kTelecontrol, kTelesignal, kControlSub),
    {7, 9, Role::Reading, kCurrent, 16},
    {10, 12, Role::Reading, kVoltage, 16},
    Recorded({13, 16, Role::Reading, kActiveEnergy, 32}, kEnergyTable, 0),
    Recorded({17, 20, Role::Reading, kReactiveEnergy, 32}, kEnergyTable, 4),
    Recorded({21, 23, Role::Reading, kActivePower, 16}, kPowerTable, 0),
    Recorded({24, 26, Role::Reading, kReactivePower, 16}, kPowerTable, 3),
    Recorded({27, 29, Role::Reading, kApparentPower, 16}, kPowerTable, 6),
    Recorded({30, 32, Role::Reading, kPowerFactor, 16}, kEnergyTable, 8),
};

constexpr SettingDef kSettings[] = {
    {Role::Address, 8, {}, true},       {Role::IndexTable, 312, {}, false},
    {Role::IndexTable, 264, {}, false}, {Role::IndexTable, 216, {}, false},
    {Role::Setting, 168, {}, false},
};

constexpr CommandDef kCommands[] = {
    {"Опрос ТС", 0},
    {"Опрос Токовых Нагрузок", 0},
    {"Опрос Напряжения", 0},
    {"Опрос Энергии (акт.)", 0},
    {"Опрос Энергии (реакт.)", 0},
    {"Опрос Мощности (полной)", 0},
    {"Опрос Мощности (акт.)", 0},
    {"Опрос Мощности (реакт.)", 0},
    {"Опрос Косинуса Фи", 0},
};

constexpr SubprogramDef kSubprograms[] = {
    {"znak_getNetAddress", "Получить сетевой адрес КЭЯ Знак+"},
    {"znak_prepareQuery", "Подготовка опроса КЭЯ Знак+"},
    {"znak_parseAnswer", "Разбор ответа КЭЯ Знак+"},
    {"znak_handleNoAnswer", "Нет ответа КЭЯ Знак+"},
    {"znak_doControl", "Подготовка команды управления КЭЯ Знак+"},
    {"znak_parseAnswer_p2", "Разбор ответа КЭЯ Знак+ (Ч.2)"},
};
constexpr uint16_t kReservedIds[] = {70, 71, 72, 73, 74, 75};

constexpr PropertyDef kProperties[] = {{"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}}};

static_assert(std::size(kNames) == 38);

} // namespace

constexpr TDeviceDef TKYAZNAKItem::Def{
    .TypeCode = 41,
    .Folder = "kyaznak",
    .NamePrefix = "КЭЯ \"Знак+\": ",
    .ParamNames = kNames,
    .SignalCount = 33,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1027,
    .Commands = kCommands,
    .PollCount = 9,
    .Subprograms = kSubprograms,
    .ReservedIds = kReservedIds,
    .PrepareSub = 1,
    .ParseSub = 2,
    .NoAnswerSub = 3,
    .Properties = kProperties,
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
};

bool TKYAZNAKItem::GetParamValueText(TParamItem* p, std::string& text) {
    if (IndexOf(p) == kCodesParam)
        return false; // the codes are shown through the set-point grid
    return TDeviceEngine::GetParamValueText(p, text);
}

std::string TKYAZNAKItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i >= 7 && i <= 12)
        return p->RamDepth == 1 ? kUndefined : IntToStr(GetU16(p, 0));
    if (i >= 13 && i <= 20)
        return p->RamDepth == 1 ? kUndefined : SignedText(p) + kWattHours;
    if (i == kAddressParam)
        return IntToStr(p->Value[0]);
    return TDeviceEngine::ValueText(i);
}

void TKYAZNAKItem::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    const int i = IndexOf(p);
    if (i >= 0 && i < kInputs)
        s->Add("Управление");
}

void TKYAZNAKItem::GetSetpointText(int, TParamItem* p, std::string& out) {
    const int i = IndexOf(p);
    if (i >= 0 && i < kInputs)
        ControlCodeText(Param(kCodesParam)->Value[i], out);
}

TWinControl* TKYAZNAKItem::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                                TNotifyEvent hostEvent, TNotifyEvent editDone) {
    BeginSetpointEdit(p, n, std::move(editDone));
    const int i = IndexOf(p);
    if (n != 0 || i < 0 || i >= kInputs)
        return nullptr;
    std::string text;
    GetSetpointText(n, p, text);
    return ControlCodeEditor(host, text, std::move(hostEvent), [this](TObject* s) { ApplyControlCode(s); });
}

void TKYAZNAKItem::ApplyControlCode(TObject* sender) {
    const int i = IndexOf(FSetpointParam);
    if (FSetpointRow == 0 && i >= 0 && i < kInputs)
        StoreControlCode(Param(kCodesParam), i, sender);
    SetpointEdited(sender);
}
