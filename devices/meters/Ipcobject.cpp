// ИПЦ-6806: six discrete inputs (telesignals, or telecontrols while their control subprogram is
// attached), phase currents, voltages, powers, frequency and four energy totals. Device layer.
#include "Meterobjects.h"

using namespace meter;

namespace {

constexpr const char* kNames[] = {
    "ТС 1",
    "ТС 2",
    "ТС 3",
    "ТС 4",
    "ТС 5",
    "ТС 6",
    "Ток ф.А",
    "Ток ф.В",
    "Ток ф.С",
    "Напряжение ф.А",
    "Напряжение ф.В",
    "Напряжение ф.С",
    "Мощность акт. ф.А",
    "Мощность акт. ф.В",
    "Мощность акт. ф.С",
    "Мощность реакт. ф.A",
    "Мощность реакт. ф.В",
    "Мощность реакт. ф.С",
    "Частота",
    "Энергия акт.+",
    "Энергия акт.-",
    "Энергия реакт.+",
    "Энергия реакт.-",
    "Сетевой адрес",
    "Индексы (ТС 1-3)",
    "Индексы (ТС 4-6)",
    "Индексы (Ток)",
    "Индексы (Напряжение)",
    "Индексы (Мощность А)",
    "Индексы (Мощность Р, Частота)",
    "Индексы (Энергия)",
};

constexpr int kControlSub = 5; // its control subprogram's slot
constexpr ParamRule kSignals[] = {
    Inputs(0, 5, kTelesignal, kTelecontrol, kControlSub),
    {6, 8, Role::Reading, kCurrent, 16},
    {9, 11, Role::Reading, kVoltage, 16},
    {12, 14, Role::Reading, kActivePower, 16},
    {15, 17, Role::Reading, kReactivePower, 16},
    {18, 18, Role::Reading, kFrequency, 16},
    {19, 20, Role::Reading, kActiveEnergy, 32},
    {21, 22, Role::Reading, kReactiveEnergy, 32},
};

constexpr SettingDef kThreeEntries{Role::IndexTable, 72, {}, false};
constexpr SettingDef kFourEntries{Role::IndexTable, 96, {}, false};
constexpr SettingDef kSettings[] = {
    {Role::Address, 16, {}, true},
    kThreeEntries,
    kThreeEntries,
    kThreeEntries,
    kThreeEntries,
    kThreeEntries,
    kFourEntries,
    kFourEntries,
};

constexpr CommandDef kCommands[] = {{"Опрос измерений ИПЦ", 0}, {"Опрос энергии ИПЦ", 0}, {"Управление*", 1}};

constexpr SubprogramDef kSubprograms[] = {
    {"ipc_createCRC", "Расчет КС ИПЦ"},
    {"ipc_prepareQuery", "Подготовка опроса ИПЦ"},
    {"ipc_parseAnswer", "Разбор ответа ИПЦ"},
    {"ipc_handleNoAnswer", "Нет ответа ИПЦ"},
    {"ipc_getNetAddress", "Получить сетевой адрес ИПЦ"},
    {"ipc_prepareControl", "Подготовка команды управления ИПЦ"},
};
constexpr uint16_t kReservedIds[] = {33, 34, 35, 36, 37, 38};

constexpr PropertyDef kProperties[] = {{"Сетевой адрес", Role::Address, 0, 2, TEditorKind::Edit, {}}};

constexpr int kAddressParam = 23;

static_assert(std::size(kNames) == 31);

} // namespace

constexpr TDeviceDef TIPCItem::Def{
    .TypeCode = 37,
    .Folder = "ipc6806",
    .NamePrefix = "ИПЦ: ",
    .ParamNames = kNames,
    .SignalCount = 23,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 997,
    .Commands = kCommands,
    .PollCount = 2,
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

std::string TIPCItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i >= 19 && i <= 22)
        return SignedText(p);
    if (i == kAddressParam)
        return IntToStr(GetU16(p, 0));
    return TDeviceEngine::ValueText(i);
}

// The address is 16 bits wide here; a text that is no number or does not fit changes nothing.
bool TIPCItem::SetParamValueText(TParamItem* p, const std::string& text) {
    if (IndexOf(p) == kAddressParam)
        ApplyPropertyValue(2, text);
    return false;
}

std::string TIPCItem::GetDisplayName() {
    return "ID-" + IntToStr(Number) + " адрес " + IntToStr(GetU16(Param(kAddressParam), 0));
}

void TIPCItem::GetCommandModeText(int n, std::string& out) {
    if (const TCommandItem* c = CommandAt(n))
        out = c->Execute == 1 ? "Выполнять" : "Не выполнять";
}
