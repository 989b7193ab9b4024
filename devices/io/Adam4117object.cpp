// ADAM-4117: eight analog inputs scaled by a record each: ТИТ = (N + addend − subtrahend) ×
// multiplier ÷ divisor, with the channel's parameter type. Device layer.
#include "Ioobjects.h"
#include "iocommon.h"

using namespace io;

namespace {

constexpr const char* kNames[] = {
    "Канал 0",
    "Канал 1",
    "Канал 2",
    "Канал 3",
    "Канал 4",
    "Канал 5",
    "Канал 6",
    "Канал 7",
    "Сетевой адрес",
    "Служебная информация (канал 0)",
    "Служебная информация (канал 1)",
    "Служебная информация (канал 2)",
    "Служебная информация (канал 3)",
    "Служебная информация (канал 4)",
    "Служебная информация (канал 5)",
    "Служебная информация (канал 6)",
    "Служебная информация (канал 7)",
    "Индексы хранения",
};
static_assert(std::size(kNames) == 18);

constexpr ParamRule kSignals[] = {{0, TADAM4117Item::kChannels - 1, Role::Measure, 0, 16, nullptr}};

// Type 0, addend 0, subtrahend 0, multiplier 1, divisor 1.
constexpr uint8_t kScalingInit[9] = {0, 0, 0, 0, 0, 1, 0, 1, 0};
constexpr SettingDef kScalingRecord{Role::Setting, 72, kScalingInit, false};

constexpr SettingDef kSettings[] = {
    {Role::Address, 8, {}, false},
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    kScalingRecord,
    IndexTable(8),
};

constexpr CommandDef kCommands[] = {{"Опрос каналов Adam4117", 0}};

constexpr SubprogramDef kSubprograms[] = {
    {"adam4117_prepareQuery", "Подготовка опроса Adam4117"},
    {"adam4117_parseAnswer", "Разбор ответа Adam4117"},
    {"adam4117_handleNoAnswer", "Нет ответа Adam4117"},
    {"adam4117_getNetAddress", "Получить сетевой адрес Adam4117"},
};

constexpr DescGroup kGroups[] = {{0, TADAM4117Item::kChannels - 1, ", ", false}};

constexpr const char* kRows[TADAM4117Item::kScalingRows] = {"Тип аналогового канала", "Слагаемое",
                                                            "Вычитаемое", "Умножитель", "Делитель"};
// The types the list offers, in list order.
constexpr uint8_t kTypes[] = {8, 9, 17, 18};

constexpr int kIndexTable = 17;

// Coefficient of row 1-4 (addend, subtrahend, multiplier, divisor): its offset in the record.
constexpr int CoefficientOffset(int row) { return 1 + 2 * (row - 1); }

} // namespace

constexpr TDeviceDef TADAM4117Item::Def{
    .TypeCode = 35,
    .Folder = "adam4117",
    .NamePrefix = "ADAM4117: ",
    .ParamNames = kNames,
    .SignalCount = kChannels,
    .Signals = kSignals,
    .Settings = kSettings,
    .CodeBase = 1182,
    .Commands = kCommands,
    .PollCount = 1,
    .Subprograms = kSubprograms,
    .ReservedIds = {},
    .PrepareSub = kPrepareSub,
    .ParseSub = kParseSub,
    .NoAnswerSub = kNoAnswerSub,
    .Properties = kAddressOnly,
    .DescPrefix = "ADAM-4117 - ",
    .Groups = kGroups,
    .Overrides = {},
    .Checks = kChecks,
};

// A channel's type is the one its scaling record names.
TADAM4117Item::TADAM4117Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {
    for (int n = 0; n < kChannels; ++n) {
        Param(n)->ParamType = Param(kScaling + n)->Value[0];
        Param(n)->RaiseChanged();
    }
}

int TADAM4117Item::ChannelOf(const TParamItem* p) const {
    const int i = IndexOf(p);
    return i >= 0 && i < kChannels ? i : -1;
}

std::string TADAM4117Item::ValueText(int i) const {
    const TParamItem* p = Param(i);
    if (i == kChannels)
        return IntToStr(p->Value[0]);
    if (i >= kScaling && i < kScaling + kChannels)
        return "Тип ТИТ канала: " + SafeTypeName(p->Value[0]) + ", ТИТ=(N+" + IntToStr(GetU16(p, 1)) + "-" +
               IntToStr(GetU16(p, 3)) + ")*" + IntToStr(GetU16(p, 5)) + "/" + IntToStr(GetU16(p, 7));
    if (i == kIndexTable) {
        std::string text;
        for (int n = 0; n < kChannels; ++n)
            text += (n ? "; " : "") + AddressText(GetEntry(p, 3 * n));
        return text;
    }
    return TDeviceEngine::ValueText(i);
}

void TADAM4117Item::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    if (ChannelOf(p) >= 0)
        for (const char* row : kRows)
            s->Add(row);
}

void TADAM4117Item::GetSetpointText(int n, TParamItem* p, std::string& text) {
    const int channel = ChannelOf(p);
    if (channel < 0 || n < 0 || n >= kScalingRows)
        return;
    const TParamItem* record = Param(kScaling + channel);
    text = n == 0 ? SafeTypeName(record->Value[0]) : IntToStr(GetU16(record, CoefficientOffset(n)));
}

TWinControl* TADAM4117Item::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                                 TNotifyEvent exitEvent, TNotifyEvent doneEvent) {
    if (ChannelOf(p) < 0 || n < 0 || n >= kScalingRows)
        return nullptr;
    BeginSetpointEdit(p, n, std::move(doneEvent));
    TEditorDef editorDef;
    editorDef.Kind = n == 0 ? TEditorKind::Choice : TEditorKind::Edit;
    if (n == 0)
        for (uint8_t t : kTypes)
            editorDef.Items.push_back(ParamTypeNames[t]);
    GetSetpointText(n, p, editorDef.Text);
    editorDef.Apply = [this](TObject* s) { ScalingChanged(s); };
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

void TADAM4117Item::ScalingChanged(TObject* sender) {
    if (ApplyScaling(ChannelOf(FSetpointParam), FSetpointRow, EditorText(sender), EditorItem(sender)))
        SetpointEdited(sender);
}

bool TADAM4117Item::ApplyScaling(int n, int row, const std::string& text, int item) {
    if (n < 0 || n >= kChannels || row < 0 || row >= kScalingRows)
        return false;
    TParamItem* record = Param(kScaling + n);
    if (row == 0) {
        if (item >= 0 && item < static_cast<int>(std::size(kTypes)))
            record->Value[0] = kTypes[item];
        Param(n)->ParamType = record->Value[0];
        Param(n)->RaiseChanged();
        return true;
    }
    // A divisor of 0 would stop the concentrator's scaling with a division by zero.
    const int64_t lowest = row == kScalingRows - 1 ? 1 : 0;
    int64_t v = 0;
    if (!ReadInRange(text, lowest, 0xFFFF, kRows[row], v))
        return false;
    SetU16(record, CoefficientOffset(row), static_cast<uint16_t>(v));
    return true;
}
