// The QBX-540 controller. Device layer.
#include "Qbx540object.h"

#include <algorithm>

#include "Editorkit.h"

using namespace qbx;

namespace {

constexpr const char* kPrefix = "QBX-540: ";
constexpr int kAnalogFirstSlot = 5;
constexpr int kAnalogBits = 104;
constexpr int kMessageSub = 3;
constexpr int kCountRow = 5;
constexpr uint8_t kMainDefault[5] = {4, 4, 4, 0, 0};

std::string ValueName(int k) { return std::string(kPrefix) + Qbx540ParamNames[6] + " " + IntToStr(k + 1); }

// The main settings at 1008:1: bytes 0-2 the address, 3 the discrete inputs, 4 the analog channels.
// Unlike the analog settings the row makes, they keep channel kind 0.
constexpr dev::SettingDef MainSettings[] = {
    {dev::Role::Setting, 40, kMainDefault, true, -1, 0, false, 1, false, 0}};
constexpr dev::CommandDef PollCommands[] = {{"Опрос данных QBX-540", 0}};
constexpr const char* YesNo[] = {"Да", "Нет"};
constexpr dev::PropertyDef Rows[] = {
    {"Обработка сообщений", dev::Role::Setting, kMessageSub, 0, TEditorKind::Choice, YesNo,
     dev::PropertyFormat::Messages},
    {"Сетевой адрес", dev::Role::Setting, 0, 3, TEditorKind::Edit, {}, dev::PropertyFormat::Dotted},
    {"Кол-во ТС", dev::Role::Setting, 3, 1, TEditorKind::Edit, {}},
    {"Кол-во ТИТ",
     dev::Role::Setting,
     4,
     1,
     TEditorKind::Edit,
     {},
     dev::PropertyFormat::Number,
     kQbx540MaxAnalog,
     true},
};

} // namespace

constexpr dev::TDeviceDef TQbx540Item::Def{
    .TypeCode = 5,
    .Folder = "qbx540",
    .NamePrefix = kPrefix,
    .ParamNames = std::span<const char* const>(Qbx540ParamNames, 1),
    .SignalCount = 0,
    .Signals = {},
    .Settings = MainSettings,
    .CodeBase = kQbx540ChannelType,
    .Commands = PollCommands,
    .PollCount = 1,
    .Subprograms = Qbx540Subprograms,
    .ReservedIds = {},
    .PrepareSub = 0,
    .ParseSub = 1,
    .NoAnswerSub = 2,
    .Properties = Rows,
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
};

TQbx540Item::TQbx540Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {
    // Stored settings 1008:2..37; the oldest of an address wins, other objects' channels are left.
    FSettings[0] = Param(0);
    for (int s = 1; s < kQbx540Slots; ++s)
        FSettings[s] = FindFreeChannel(channels, kQbx540ChannelType, static_cast<uint8_t>(s + 1));
    // A stored count above what the controller has stays readable but is cut to 31.
    if (FSettings[0]->Value[4] > kQbx540MaxAnalog)
        FSettings[0]->Value[4] = kQbx540MaxAnalog;

    const int n = AnalogCount();
    for (int k = 0; k < n; ++k)
        AddAnalog(k, false);

    // Values come back by the address held in their settings; the newest match wins. A channel
    // already taken, or one of our settings channels, never becomes a value.
    auto isSettings = [this](const TParamItem* c) {
        return std::find(std::begin(FSettings), std::end(FSettings), c) != std::end(FSettings);
    };
    for (int k = 0; k < n; ++k) {
        const Address a = GetEntry(FSettings[kAnalogFirstSlot + k], 0);
        if (a.type == 0 || a.index == 0)
            continue;
        TParamItem* found = nullptr;
        for (TParamItem* c : ChannelsAt(channels, a.type, a.index))
            if (!c->Owner && ValueOf(c) < 0 && !isSettings(c))
                found = c;
        FValue[k] = found;
    }
    for (int k = 0; k < n; ++k)
        MakeValue(k);
}

// Values go first: rebinding a value writes into its settings channel. The engine frees slot 0.
TQbx540Item::~TQbx540Item() {
    for (TParamItem*& v : FValue)
        ReleaseChannel(FChannels, v);
    for (int s = 1; s < kQbx540Slots; ++s)
        ReleaseChannel(FChannels, FSettings[s]);
}

int TQbx540Item::AnalogCount() const {
    const int n = FSettings[0]->Value[4];
    return n > kQbx540MaxAnalog ? kQbx540MaxAnalog : n;
}

// Settings slot of analog channel k: adopted, or a fresh one with the initial conversion.
void TQbx540Item::AddAnalog(int k, bool fromEditor) {
    TParamItem*& slot = FSettings[kAnalogFirstSlot + k];
    if (!slot) {
        slot = NewChannel(FChannels, kQbx540ChannelType, static_cast<uint8_t>(k + 6), kAnalogBits,
                          Qbx540AnalogDefault, sizeof Qbx540AnalogDefault);
    } else if (fromEditor) {
        slot->SetAddress(kQbx540ChannelType, static_cast<uint8_t>(k + 6));
        slot->SetBitWidth(kAnalogBits);
        slot->Value.Fill(0);
        slot->Value.Assign(Qbx540AnalogDefault, sizeof Qbx540AnalogDefault);
    }
    if (fromEditor)
        slot->Kind = kChannelSetting;
    slot->Name = std::string(kPrefix) + Qbx540ParamNames[5];
    slot->Owner = this;
}

// Value k: the adopted channel or a fresh unbound one, typed by its settings.
void TQbx540Item::MakeValue(int k) {
    TParamItem*& v = FValue[k];
    if (!v) {
        const uint8_t unread[2] = {0xFF, 0xFF};
        v = NewChannel(FChannels, 0, 0, 16, unread, 2);
        v->RamDepth = 1;
        v->Value.Fill(0xFF);
    }
    v->Kind = kChannelMeasured;
    v->ParamType = FSettings[kAnalogFirstSlot + k]->Value[12];
    v->Name = ValueName(k);
    v->Owner = this;
    v->RaiseChanged();
}

int TQbx540Item::ValueOf(const TParamItem* p) const {
    if (!p)
        return -1;
    for (int k = 0; k < kQbx540MaxAnalog; ++k)
        if (FValue[k] == p)
            return k;
    return -1;
}

bool TQbx540Item::GetParamValueText(TParamItem* p, std::string& text) {
    if (!p)
        return true;
    if (p == FSettings[0])
        return TDeviceEngine::GetParamValueText(p, text);
    for (int s = 1; s < kAnalogFirstSlot; ++s)
        if (p == FSettings[s])
            return false;
    for (int k = 0; k < kQbx540MaxAnalog; ++k) {
        if (p == FSettings[kAnalogFirstSlot + k]) {
            text = "Регистр ТИТ " + IntToStr(k + 1) + ": " + AddressText(GetEntry(p, 0)) + "; " +
                   "k = " + IntToStr(GetU16(p, 3)) + "; " + "1/k = " + IntToStr(GetU16(p, 5)) + "; " +
                   "b = " + IntToStr(GetU16(p, 7)) + "; " + "-b = " + IntToStr(GetU16(p, 9));
            return false;
        }
    }
    if (ValueOf(p) >= 0) {
        text = p->RamDepth != 0 ? std::string("значение недоступно") : IntToStr(GetU16(p, 0));
        return false;
    }
    return true;
}

std::string TQbx540Item::ValueText(int) const {
    const TParamValue& v = FSettings[0]->Value;
    return "Адрес: " + IntToStr(v[0]) + "," + IntToStr(v[1]) + "," + IntToStr(v[2]) + ";" +
           "Кол-во ТС: " + IntToStr(v[3]) + ";" + "Кол-во ТИТ: " + IntToStr(v[4]);
}

std::string TQbx540Item::GetDisplayName() { return TObjectItem::GetDisplayName(); }

void TQbx540Item::ListSignalParams(ELEMList* list, bool all) {
    for (int k = 0; k < AnalogCount(); ++k)
        if (FValue[k] && (IsUnbound(FValue[k]) || all))
            list->Append(new TParamItemP(FValue[k]));
}

void TQbx540Item::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int k = ValueOf(p);
    if (k < 0)
        return;
    p->SetAddress(type, index);
    if (TParamItem* s = FSettings[kAnalogFirstSlot + k])
        SetEntry(s, 0, {type, index});
}

void TQbx540Item::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    const int k = ValueOf(p);
    if (k >= 0 && k < AnalogCount())
        for (const char* name : Qbx540SetpointNames)
            s->Add(name);
}

void TQbx540Item::GetSetpointText(int n, TParamItem* p, std::string& text) {
    const int k = ValueOf(p);
    if (k < 0 || n < 0 || n > 5)
        return;
    const TParamItem* s = FSettings[kAnalogFirstSlot + k];
    if (n <= 3)
        text = IntToStr(GetU16(s, 3 + 2 * n));
    else if (n == 4)
        text = Qbx540ConverterItems[s->Value[11] != 0 ? 1 : 0];
    else
        text = s->Value[12] < kParamTypeCount ? ParamTypeNames[s->Value[12]] : "";
}

TWinControl* TQbx540Item::CreateSetpointEditor(TParamItem* p, int n, TWinControl* host,
                                               TNotifyEvent hostEvent, TNotifyEvent doneEvent) {
    BeginSetpointEdit(p, n, doneEvent);
    if (ValueOf(p) < 0 || n < 0 || n > 5)
        return nullptr;
    std::string text;
    GetSetpointText(n, p, text);
    auto apply = [this](TObject* s) { ApplyAnalogEditor(s); };
    if (n <= 3)
        return MakeEdit(host, text, hostEvent, apply);
    if (n == 4)
        return MakeChoice(host, {Qbx540ConverterItems[0], Qbx540ConverterItems[1]}, text, hostEvent, apply);
    std::vector<std::string> types;
    for (uint8_t t : Qbx540AnalogTypes)
        types.push_back(ParamTypeNames[t]);
    return MakeChoice(host, types, text, hostEvent, apply);
}

void TQbx540Item::ApplyAnalogEditor(TObject* sender) {
    if (ApplyAnalogValue(FSetpointParam, FSetpointRow, EditorText(sender), EditorItem(sender)))
        SetpointEdited(sender);
}

bool TQbx540Item::ApplyAnalogValue(TParamItem* p, int n, const std::string& text, int item) {
    const int k = ValueOf(p);
    if (k < 0 || k >= AnalogCount())
        return false;
    TParamItem* s = FSettings[kAnalogFirstSlot + k];
    uint32_t v = 0;
    if (n >= 0 && n <= 3) {
        if (ReadUnsigned(text, 2, Qbx540SetpointNames[n], v))
            SetU16(s, 3 + 2 * n, static_cast<uint16_t>(v));
    } else if (n == 4) {
        if (item >= 0)
            s->Value[11] = static_cast<uint8_t>(item ? 1 : 0);
    } else if (n == 5) {
        if (item >= 0 && item < 4)
            s->Value[12] = Qbx540AnalogTypes[item];
        p->ParamType = s->Value[12];
        p->RaiseChanged();
    }
    return true;
}

// The count makes or frees analog channels.
void TQbx540Item::ApplyPropertyValue(int row, const std::string& text) {
    const dev::PropertyDef& count = Rows[kCountRow - 2];
    int64_t v = 0;
    if (row != kCountRow)
        TDeviceEngine::ApplyPropertyValue(row, text);
    else if (ReadInRange(text, 0, count.Highest(), count.caption, v))
        SetCount(static_cast<int>(v));
}

void TQbx540Item::SetCount(int count) {
    const int m = count > kQbx540MaxAnalog ? kQbx540MaxAnalog : count;
    const int n = AnalogCount();
    for (int k = n; k < m; ++k) {
        AddAnalog(k, true);
        MakeValue(k);
    }
    for (int k = m; k < n; ++k) {
        ReleaseChannel(FChannels, FValue[k]);
        ReleaseChannel(FChannels, FSettings[kAnalogFirstSlot + k]);
    }
    FSettings[0]->Value[4] = static_cast<uint8_t>(m);
}
