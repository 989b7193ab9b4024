// КЭЯ "Знак+" (ИКС): seven discrete inputs with their telecontrol codes, phase and three-phase
// values with set points, frequency and three-phase energies. Device layer.
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
    "Энергия акт.+ 3ф.",
    "Энергия реакт.+ 3ф.",
    "Энергия акт.- 3ф.",
    "Энергия реакт.- 3ф.",
    "Косинус Фи ф.А",
    "Косинус Фи ф.В",
    "Косинус Фи ф.С",
    "Косинус Фи 3ф",
    "Частота",
    "Мощность акт. ф.А",
    "Мощность акт. ф.В",
    "Мощность акт. ф.С",
    "Мощность акт. 3ф",
    "Мощность реакт. ф.А",
    "Мощность реакт. ф.В",
    "Мощность реакт. ф.С",
    "Мощность реакт. 3ф",
    "Мощность полная ф.А",
    "Мощность полная ф.В",
    "Мощность полная ф.С",
    "Мощность полная 3ф",
    "Сетевой адрес",
    "Индексы ток, напр., ТС",
    "Индексы энергия, к.фи",
    "Индексы мощности",
    "Коды управл.",
};

constexpr int kInputs = 7;
constexpr int kAddressParam = 34;
constexpr int kCodesParam = 38;
// "Частота" is typed as a power factor: stored files and plug-in scripts rely on it.
constexpr int kControlSub = 4; // its control subprogram's slot
constexpr ParamRule kSignals[] = {
    Inputs(0, 6, kTelecontrol, kTelesignal, kControlSub),
    Zeroed(7, 9, kCurrent, 16),
    Zeroed(10, 12, kVoltage, 16),
    Zeroed(13, 13, kActiveEnergy, 32),
    Zeroed(14, 14, kReactiveEnergy, 32),
    Zeroed(15, 15, kActiveEnergy, 32),
    Zeroed(16, 16, kReactiveEnergy, 32),
    Zeroed(17, 21, kPowerFactor, 16),
    Zeroed(22, 25, kActivePower, 16),
    Zeroed(26, 29, kReactivePower, 16),
    Zeroed(30, 33, kApparentPower, 16),
};

constexpr SettingDef kSettings[] = {
    {Role::Address, 8, {}, true},       {Role::IndexTable, 312, {}, false},
    {Role::IndexTable, 216, {}, false}, {Role::IndexTable, 288, {}, false},
    {Role::Setting, 168, {}, false},
};

constexpr CommandDef kCommands[] = {{"Опрос ТС (ИКС)", 0}, {"Опрос Измерений (ИКС)", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"znakx_getNetAddress", "Получить сетевой адрес КЭЯ Знак+ (ИКС)"},
    {"znakx_prepareQuery", "Подготовка опроса КЭЯ Знак+ (ИКС)"},
    {"znakx_parseAnswer", "Разбор ответа КЭЯ Знак+ (ИКС)"},
    {"znakx_handleNoAnswer", "Нет ответа КЭЯ Знак+ (ИКС)"},
    {"znakx_doControl", "Подготовка команды управления КЭЯ Знак+ (ИКС)"},
};
constexpr uint16_t kReservedIds[] = {76, 77, 78, 79, 80};

constexpr PropertyDef kProperties[] = {{"Сетевой адрес", Role::Address, 0, 1, TEditorKind::Edit, {}}};

// Phase letters: Cyrillic where the lead says so, Latin in kPhaseB and kPhaseC.
constexpr const char* kCyrA = ", ф.А";
constexpr const char* kCyrB = ", ф.В";
constexpr const char* kCyrC = ", ф.С";
constexpr DescGroup kGroups[] = {
    Bare(0, 0, ", ТС-1"),      Bare(1, 1, ", ТС-2"), Bare(2, 2, ", ТС-3"),  Bare(3, 3, ", ТС-4"),
    Bare(4, 4, ", ТС-5"),      Bare(5, 5, ", ТС-6"), Bare(6, 6, ", ТС-7"),  Bare(7, 7, kCyrA),
    Bare(8, 8, kCyrB),         Bare(9, 9, kPhaseC),  Bare(10, 10, kCyrA),   Bare(11, 11, kCyrB),
    Bare(12, 12, kPhaseC),     Bare(17, 17, kCyrA),  Bare(18, 18, kPhaseB), Bare(19, 19, kPhaseC),
    Bare(20, 20, kThreePhase), Bare(22, 22, kCyrA),  Bare(23, 23, kPhaseB), Bare(24, 24, kPhaseC),
    Bare(25, 25, kThreePhase), Bare(26, 26, kCyrA),  Bare(27, 27, kPhaseB), Bare(28, 28, kPhaseC),
    Bare(29, 29, kThreePhase), Bare(30, 30, kCyrA),  Bare(31, 31, kPhaseB), Bare(32, 32, kCyrC),
    Bare(33, 33, kThreePhase),
};

constexpr int kSetpointParams[] = {7,  8,  9,  10, 11, 12, 17, 18, 19, 20, 22,
                                   23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33};

static_assert(std::size(kNames) == 39);

} // namespace

constexpr TDeviceDef TKYAZNAKXItem::Def{
    .TypeCode = 42,
    .Folder = "kyaznakx",
    .NamePrefix = "КЭЯ \"Знак+\" (ИКС): ",
    .ParamNames = kNames,
    .SignalCount = 34,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1066,
    .Commands = kCommands,
    .PollCount = 2,
    .Subprograms = kSubprograms,
    .ReservedIds = kReservedIds,
    .PrepareSub = 1,
    .ParseSub = 2,
    .NoAnswerSub = 3,
    .Properties = kProperties,
    .DescPrefix = "КЭЯ \"Знак+\" - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = {},
};

constexpr SetpointDef TKYAZNAKXItem::Setpoints{kSetpointParams, "Знак+ (ИКС) - Уставка: значение",
                                               "Знак+ (ИКС) - Уставка: состояние"};

bool TKYAZNAKXItem::GetParamValueText(TParamItem* p, std::string& text) {
    if (IndexOf(p) == kCodesParam)
        return false; // the codes are shown through the set-point grid
    return TSetpointMeter::GetParamValueText(p, text);
}

std::string TKYAZNAKXItem::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i >= 13 && i <= 16)
        return p->RamDepth == 1 ? kUndefined : SignedText(p) + kWattHours;
    if (i == kAddressParam)
        return IntToStr(p->Value[0]);
    return TSetpointMeter::ValueText(i);
}

void TKYAZNAKXItem::ListSetpoints(TStrings* s, TParamItem* p) {
    const int i = IndexOf(p);
    if (SetpointOf(p) >= 0) {
        TSetpointMeter::ListSetpoints(s, p);
        return;
    }
    s->Clear();
    if (i >= 0 && i < kInputs)
        s->Add("Управление");
}

void TKYAZNAKXItem::GetSetpointText(int n, TParamItem* p, std::string& out) {
    const int i = IndexOf(p);
    if (SetpointOf(p) >= 0)
        TSetpointMeter::GetSetpointText(n, p, out);
    else if (i >= 0 && i < kInputs && !ControlCodeText(Param(kCodesParam)->Value[i], out))
        out = "Нет";
}

TWinControl* TKYAZNAKXItem::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                                 TNotifyEvent hostEvent, TNotifyEvent editDone) {
    if (SetpointOf(p) >= 0)
        return TSetpointMeter::CreateSetpointEditor(p, n, host, std::move(hostEvent), std::move(editDone));
    BeginSetpointEdit(p, n, std::move(editDone));
    const int i = IndexOf(p);
    if (n != 0 || i < 0 || i >= kInputs)
        return nullptr;
    std::string text;
    GetSetpointText(n, p, text);
    return ControlCodeEditor(host, text, std::move(hostEvent), [this](TObject* s) { ApplyControlCode(s); });
}

void TKYAZNAKXItem::ApplyControlCode(TObject* sender) {
    const int i = IndexOf(FSetpointParam);
    if (FSetpointRow == 0 && i >= 0 && i < kInputs)
        StoreControlCode(Param(kCodesParam), i, sender);
    SetpointEdited(sender);
}
