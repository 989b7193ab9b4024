// The concentrator object QBX-510. Device layer.
#include "Qbx510object.h"

#include "Editorkit.h"

using namespace qbx;

namespace {

constexpr int kModeBitsParam = 0;  // "Режим каналов ТС/ДТКЗ"
constexpr char kBitSet = '\xFE';   // drawn as a ticked box in Wingdings
constexpr char kBitClear = '\xA8'; // drawn as an empty box

const char* const kSignalRows[2] = {"Режим", "Управление"};
const char* const kModeItems[2] = {"ТС", "ДТКЗ"};
const char* const kControlItems[6] = {"Нет", "Канал 1", "Канал 2", "Канал 3", "Канал 4", "Сброс УТКЗ"};
const char* const kYesNo[2] = {"Да", "Нет"};
const char* const kTuModes[2] = {"Потенциальный", "Импульсный"};

// Signals are recorded in the parse blocks of the message parser.
constexpr dev::ParamRule Signals[] = {
    {.first = 1,
     .last = 16,
     .role = dev::Role::Input,
     .paramType = 3,
     .bits = 1,
     .switchSub = kSubLeadUp,
     .switchType = 2,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(1)},
    {.first = 17,
     .last = 17,
     .role = dev::Role::Input,
     .paramType = 4,
     .bits = 1,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(17)},
    {.first = 18,
     .last = 18,
     .role = dev::Role::Input,
     .paramType = 5,
     .bits = 1,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(18)},
    {.first = 19,
     .last = 19,
     .role = dev::Role::Input,
     .paramType = 6,
     .bits = 1,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(19)},
    // No state-change handler for the message buffer's flag.
    {.first = 20,
     .last = 20,
     .role = dev::Role::Reading,
     .paramType = 7,
     .bits = 1,
     .kind = kChannelSignal,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(20)},
    {.first = kQbx510Temperature,
     .last = kQbx510Temperature,
     .role = dev::Role::Measure,
     .paramType = 17,
     .bits = 16,
     .blockSub = kSubParseMessage,
     .block = Qbx510ParseBlock(kQbx510Temperature)},
};

// 4800 = C0 12; the four control delays are 5000..5003 (88 13, 89 13, 8A 13, 8B 13).
constexpr uint8_t kAllInputsTs[] = {0xFF, 0xFF};
constexpr uint8_t kAddressLow[] = {1};
constexpr uint8_t kAddressHigh[] = {2, 3};
constexpr uint8_t kNetAddress[] = {13};
constexpr uint8_t kBaud4800[] = {0xC0, 0x12};
constexpr uint8_t kDelays[] = {0x88, 0x13, 0x89, 0x13, 0x8A, 0x13, 0x8B, 0x13};

// Fixed addresses, one concentrator per configuration. A narrower stored control table keeps its
// width: the entries past it are read and written as they always were, and only the width is saved.
constexpr dev::SettingDef Settings[] = {
    {dev::Role::Setting, 16, kAllInputsTs, true, 0, 65534, false, 6},
    {dev::Role::Setting, 96, {}, true, kQbx510ControlTable, 1009, false, 1, true},
    {dev::Role::Setting, 8, kAddressLow, true, kQbx510AddrLow, 65535, false, 1},
    {dev::Role::Setting, 16, kAddressHigh, true, kQbx510AddrHigh, 65535, false, 2},
    {dev::Role::Setting, 24, {}, true, kQbx510ParentAddr, 65535, false, 4},
    {dev::Role::Setting, 8, kNetAddress, true, kQbx510NetAddr, 65535, false, 3},
    {dev::Role::Setting, 16, kBaud4800, true, kQbx510Com1, 65534, false, 1},
    {dev::Role::Setting, 16, kBaud4800, true, kQbx510Com2, 65534, false, 2},
    {dev::Role::Setting, 16, {}, true, kQbx510TuMode, 65534, false, 8},
    {dev::Role::Setting, 64, kDelays, true, kQbx510TuDelays, 65534, false, 9},
    {dev::Role::Setting, 16, {}, true, kQbx510Settings, 65534, false, 10},
    {dev::Role::Setting, 16, {}, true, kQbx510TsInversion, 65534, false, 11},
};

uint8_t TuModeLowOf(const TDeviceEngine& o) { return o.Param(kQbx510TuMode)->Value[0]; }

// Position 0..3 of an input's address in the control-channel table, 4 when absent.
int ControlSlotOf(const TDeviceEngine& o, const TParamItem* p) {
    const Address a = AddressOf(p);
    if (a.Empty())
        return 4;
    for (int u = 0; u < 4; ++u)
        if (GetEntry(o.Param(kQbx510ControlTable), 3 * u) == a)
            return u;
    return 4;
}

// An input chosen as a control channel takes its type from the control mode of its telecontrol
// channel, which the rules do not know.
uint8_t InputType(const TDeviceEngine& o, int i, uint8_t byRule) {
    const uint16_t handler = o.Param(i)->ChangeHandler;
    if (i < kQbx510FirstSignal || i > kQbx510LastInput || handler == 0 ||
        handler != o.SubprogramId(kSubDoControl) || handler == o.SubprogramId(kSubLeadUp))
        return byRule;
    return (TuModeLowOf(o) >> ControlSlotOf(o, o.Param(i))) & 1 ? 2 : 1;
}

} // namespace

constexpr dev::TDeviceDef TQbx510Item::Def{
    .TypeCode = 3,
    .Folder = "qbx510",
    .NamePrefix = "",
    .ParamNames = Qbx510ParamNames,
    .SignalCount = 21,
    .Signals = Signals,
    .Settings = Settings,
    .CodeBase = 0,
    .Commands = {},
    .PollCount = 0,
    .Subprograms = Qbx510Subprograms,
    .ReservedIds = Qbx510ReservedIds,
    .PrepareSub = dev::kNoSlot,
    .ParseSub = dev::kNoSlot,
    .NoAnswerSub = dev::kNoSlot,
    .Properties = {},
    .DescPrefix = nullptr,
    .Groups = {},
    .Overrides = {},
    .Checks = {},
    .MessageSub = kSubParseMessage,
    .SettingsInPlace = true,
    .TypeOf = InputType,
};

TQbx510Item::TQbx510Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceEngine(Def, number, channels, store) {}

// Bound parameters stay on the channel list, unowned, for the next concentrator object to adopt by
// address. Unbound ones could never be found again and would pile up, so the engine frees them.
TQbx510Item::~TQbx510Item() {
    for (int i = 0; i < ParamCount(); ++i) {
        TParamItem* p = Param(i);
        if (!p || IsUnbound(p))
            continue;
        p->Owner = nullptr;
        Detach(i);
    }
}

int TQbx510Item::SignalOf(const TParamItem* p) const {
    const int i = IndexOf(p);
    return IsSignal(i) ? i : 0;
}

uint8_t TQbx510Item::TuModeLow() const { return TuModeLowOf(*this); }

int TQbx510Item::ControlSlot(const TParamItem* p) const { return ControlSlotOf(*this, p); }

void TQbx510Item::ReadSignalChannel(int signal, uint16_t& type, uint8_t& index) {
    if (const Address a = ReadBlock(signal); !a.Empty()) {
        type = a.type;
        index = a.index;
    }
}

void TQbx510Item::WriteSignalChannel(int signal, uint16_t type, uint8_t index) {
    WriteBlock(signal, {type, index});
}

std::string TQbx510Item::ValueText(int i) const {
    const TParamItem* p = Param(i);
    const TParamValue& v = p->Value;
    std::string text;
    switch (i) {
    case 0:
    case kQbx510Com1:
    case kQbx510Com2: text = IntToStr(GetU16(p, 0)); break;
    case kQbx510ControlTable:
        for (int u = 0; u < 4; ++u)
            text += (u ? "," : "") + AddressText(GetEntry(p, 3 * u));
        break;
    case kQbx510AddrHigh: text = IntToStr(v[0]) + "," + IntToStr(v[1]); break;
    case kQbx510ParentAddr: text = IntToStr(v[0]) + "," + IntToStr(v[1]) + "," + IntToStr(v[2]); break;
    case kQbx510TuMode: text = "RRRR-IIII"; break;
    case kQbx510TuDelays: text = "D1-D2-D3-D4"; break;
    case kQbx510Settings: text = "FFFFFFFF"; break;
    case kQbx510TsInversion: text = "IIIIIIII"; break;
    case kQbx510Temperature:
        text =
            p->RamDepth == 1 ? AnsiString("не определено") : FloatToStrF(GetU16(p, 0) * 0.1, ffFixed, 5, 1);
        break;
    default: // signals, the low address byte and the network address
        text = IntToStr(v[0]);
        break;
    }
    return text;
}

std::string TQbx510Item::GetDisplayName() { return TObjectItem::GetDisplayName(); }

bool TQbx510Item::SetParamValueText(TParamItem* p, const AnsiString& text) {
    uint32_t v = 0;
    if (p == Param(kQbx510AddrLow) || p == Param(kQbx510ParentAddr)) {
        if (!ReadUnsigned(text, 1, p->Name, v))
            return false;
        p->Value[0] = static_cast<uint8_t>(v);
    } else if (p == Param(kQbx510Com1) || p == Param(kQbx510Com2)) {
        if (!ReadUnsigned(text, 2, p->Name, v))
            return false;
        SetU16(p, 0, static_cast<uint16_t>(v));
    }
    return true;
}

AnsiString TQbx510Item::GetParamDescription(TParamItem* p) {
    const int i = SignalOf(p);
    if (i >= 1 && i <= 8)
        return "QBX-510, Х2." + IntToStr(i) + " (X1." + IntToStr(i) + ")";
    if (i >= 9 && i <= 16)
        return "QBX-510, Х1." + IntToStr(i - 8) + " (X3." + IntToStr(i - 8) + ")";
    if (i == 17)
        return "QBX-510, ТСП";
    if (i == 18)
        return "QBX-510, ТСА";
    if (i == 19 || i == 20)
        return "QBX-510, вирт.";
    if (p && p == Param(kQbx510TuMode))
        return "QBX-510";
    return "";
}

// A control input's entry in the control-channel table follows its binding.
void TQbx510Item::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int i = SignalOf(p);
    if (i == 0)
        return;
    const Address old = AddressOf(p);
    TDeviceEngine::BindParam(type, index, p);
    if (i == kQbx510Temperature || !IsSub(p->ChangeHandler, kSubDoControl) || old.Empty() ||
        !SameAddress(p, type, index))
        return;
    for (int u = 0; u < 4; ++u) {
        if (GetEntry(Param(kQbx510ControlTable), 3 * u) == old) {
            SetEntry(Param(kQbx510ControlTable), 3 * u, {type, index});
            break;
        }
    }
}

void TQbx510Item::ListSetpoints(TStrings* s, TParamItem* p) {
    s->Clear();
    const int i = SignalOf(p);
    if (i >= 1 && i <= kQbx510LastInput) {
        s->Add(kSignalRows[0]);
        s->Add(kSignalRows[1]);
    }
}

void TQbx510Item::GetSetpointText(int row, TParamItem* p, AnsiString& text) {
    const int i = SignalOf(p);
    if (i < 1 || i > kQbx510LastSignal)
        return;
    if (row == 0) {
        const bool ts = i <= 16 && (GetU16(Param(kModeBitsParam), 0) >> (i - 1) & 1);
        text = ts ? "ТС" : "ДТКЗ";
    } else if (row == 1) {
        if (p->ChangeHandler == 0) {
            text = "Нет";
        } else if (IsSub(p->ChangeHandler, kSubDoControl)) {
            const int u = ControlSlot(p);
            text = u < 4 ? kControlItems[u + 1] : "Нет";
        } else if (IsSub(p->ChangeHandler, kSubLeadUp)) {
            text = "Сброс УТКЗ";
        } else {
            text = "Определено пользователем";
        }
    } else {
        text.clear();
    }
}

TWinControl* TQbx510Item::CreateSetpointEditor(TParamItem* p, int row, TWinControl* parent,
                                               TNotifyEvent exitEvent, TNotifyEvent doneEvent) {
    const int i = SignalOf(p);
    if (i < 1 || i > kQbx510LastSignal || row < 0 || row > 1)
        return nullptr;
    BeginSetpointEdit(p, row, doneEvent);
    AnsiString current;
    GetSetpointText(row, p, current);
    std::vector<std::string> items;
    if (row == 0)
        items.assign(kModeItems, kModeItems + 2);
    else
        items.assign(kControlItems, kControlItems + 6);
    return MakeChoice(parent, items, Trim(current), exitEvent, [this](TObject* s) { ApplySignalEditor(s); });
}

void TQbx510Item::SetInputMode(int input, bool ts) {
    uint16_t bits = GetU16(Param(kModeBitsParam), 0);
    const uint16_t mask = static_cast<uint16_t>(1u << (input - 1));
    SetU16(Param(kModeBitsParam), 0, ts ? bits | mask : bits & ~mask);
}

void TQbx510Item::ClearControlEntryOf(const TParamItem* p) {
    const Address a = AddressOf(p);
    if (a.Empty())
        return;
    for (int u = 0; u < 4; ++u)
        if (GetEntry(Param(kQbx510ControlTable), 3 * u) == a)
            SetEntry(Param(kQbx510ControlTable), 3 * u, {});
}

void TQbx510Item::Unbind(TParamItem* p) {
    p->ChangeHandler = 0;
    p->ParamType = 3;
    p->RaiseChanged();
}

void TQbx510Item::ApplySignalEditor(TObject* sender) {
    ApplySignalChoice(FSetpointParam, FSetpointRow, EditorText(sender), EditorItem(sender));
    SetpointEdited(sender);
}

void TQbx510Item::ApplySignalChoice(TParamItem* p, int row, const std::string& text, int item) {
    const int input = SignalOf(p);
    if (input < 1 || input > kQbx510LastInput)
        return;
    if (row == 0) {
        if (text == "ТС") {
            SetInputMode(input, true);
            if (IsSub(p->ChangeHandler, kSubLeadUp))
                Unbind(p);
        } else {
            SetInputMode(input, false);
            if (IsSub(p->ChangeHandler, kSubDoControl))
                ClearControlEntryOf(p);
            p->ChangeHandler = SubprogramId(kSubLeadUp);
            p->ParamType = 2;
            p->RaiseChanged();
        }
        return;
    }
    if (row != 1 || item < 0)
        return;
    if (item == 0) {
        ClearControlEntryOf(p);
        Unbind(p);
    } else if (item <= 4) {
        TParamItem* table = Param(kQbx510ControlTable);
        const Address old = GetEntry(table, 3 * (item - 1));
        ClearControlEntryOf(p);
        if (!old.Empty() && !(old == AddressOf(p))) {
            for (int j = kQbx510FirstSignal; j <= kQbx510LastSignal; ++j) {
                if (AddressOf(Param(j)) == old) {
                    Unbind(Param(j));
                    break;
                }
            }
        }
        SetEntry(table, 3 * (item - 1), AddressOf(p));
        p->ChangeHandler = SubprogramId(kSubDoControl);
        SetInputMode(input, true);
        p->ParamType = (TuModeLow() >> (item - 1)) & 1 ? 2 : 1;
        p->RaiseChanged();
    } else if (item == 5) {
        ClearControlEntryOf(p);
        p->ChangeHandler = SubprogramId(kSubLeadUp);
        SetInputMode(input, false);
        p->ParamType = 2;
        p->RaiseChanged();
    }
}

int TQbx510Item::ImpulseChannel(int row) const {
    int list[4] = {0, 0, 0, 0};
    int n = 0;
    for (int u = 0; u < 4; ++u)
        if (TuModeLow() >> u & 1)
            list[n++] = u;
    return list[row - 13];
}

void TQbx510Item::GetPropertyNames(TStrings* s) {
    s->Clear();
    for (const char* name : Qbx510PropertyNames)
        s->Add(name);
    for (int u = 0; u < 4; ++u)
        if (TuModeLow() >> u & 1)
            s->Add(Qbx510DelayRowNames[u]);
}

void TQbx510Item::GetPropertyText(int row, AnsiString& text) {
    text.clear();
    AnsiString part;
    switch (row) {
    case 0: text = IntToStr(Number); break;
    case 1: text = IsSub(MessageHandler, kSubParseMessage) ? "Да" : "Нет"; break;
    case 2:
        GetParamValueText(Param(kQbx510AddrLow), text);
        GetParamValueText(Param(kQbx510AddrHigh), part);
        text += "," + part;
        break;
    case 3:
    case 4:
    case 5:
    case 6: GetParamValueText(Param(kQbx510ParentAddr + row - 3), text); break;
    case 7: {
        const uint16_t bits = GetU16(Param(kQbx510TsInversion), 0);
        for (int k = 0; k < 16; ++k)
            text += (bits >> k & 1) ? kBitSet : kBitClear;
        break;
    }
    case 8: {
        const uint8_t bits = Param(kQbx510TuMode)->Value[1];
        for (int k = 0; k < 4; ++k)
            text += (bits >> k & 1) ? kBitSet : kBitClear;
        break;
    }
    case 9:
    case 10:
    case 11:
    case 12: text = kTuModes[TuModeLow() >> (row - 9) & 1]; break;
    case 13:
    case 14:
    case 15:
    case 16: text = IntToStr(GetU16(Param(kQbx510TuDelays), 2 * ImpulseChannel(row))); break;
    default: break;
    }
}

void* TQbx510Item::GetPropertyData(int row) { return row == 7 || row == 8 ? &FFontName : nullptr; }

TWinControl* TQbx510Item::CreatePropertyEditor(int row, TWinControl* parent, TNotifyEvent exitEvent,
                                               TNotifyEvent doneEvent) {
    BeginPropertyEdit(row, doneEvent);
    auto apply = [this](TObject* s) { ApplyPropertyEditor(s); };
    switch (row) {
    case 0: return TObjectItem::CreatePropertyEditor(row, parent, exitEvent, doneEvent);
    case 1: return RowChoice(row, parent, exitEvent, {kYesNo[0], kYesNo[1]});
    case 2:
    case 3:
    case 4:
    case 13:
    case 14:
    case 15:
    case 16: return RowEdit(row, parent, exitEvent);
    case 5:
    case 6:
        return RowChoice(row, parent, exitEvent, {std::begin(Qbx510BaudItems), std::end(Qbx510BaudItems)});
    case 7: return MakeBitPanel(parent, 16, GetU16(Param(kQbx510TsInversion), 0), exitEvent, apply);
    case 8: return MakeBitPanel(parent, 4, Param(kQbx510TuMode)->Value[1], exitEvent, apply);
    case 9:
    case 10:
    case 11:
    case 12: return RowChoice(row, parent, exitEvent, {kTuModes[0], kTuModes[1]});
    default: return nullptr;
    }
}

void TQbx510Item::ApplyPropertyEditor(TObject* sender) {
    if (FPropertyRow == 7 || FPropertyRow == 8) {
        int bit = 0;
        bool on = false;
        if (EditorCheck(sender, bit, on))
            ApplyPropertyBit(FPropertyRow, bit, on);
    } else if (FPropertyRow >= 9 && FPropertyRow <= 12) {
        const int item = EditorItem(sender);
        if (item >= 0)
            ApplyPropertyValue(FPropertyRow, kTuModes[item ? 1 : 0]);
    } else {
        ApplyPropertyValue(FPropertyRow, EditorText(sender));
    }
    PropertyEdited(sender);
}

namespace {

// Up to three comma-separated bytes; an empty part keeps its byte. Nothing is stored unless
// every non-empty part reads as 0..255.
bool ReadParts(const std::string& text, const char* field, uint32_t values[3], bool present[3]) {
    size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        present[k] = false;
        if (start > text.size())
            continue;
        const size_t comma = text.find(',', start);
        const std::string part =
            Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? text.size() + 1 : comma + 1;
        if (part.empty())
            continue;
        if (!ReadUnsigned(part, 1, field, values[k]))
            return false;
        present[k] = true;
    }
    return true;
}

} // namespace

void TQbx510Item::ApplyPropertyValue(int row, const std::string& text) {
    uint32_t v = 0;
    uint32_t parts[3] = {};
    bool present[3] = {};
    switch (row) {
    case 1: ApplyMessageHandling(text, SubprogramId(kSubParseMessage)); break;
    case 2:
        if (!ReadParts(text, Qbx510PropertyNames[row], parts, present))
            break;
        if (present[0])
            Param(kQbx510AddrLow)->Value[0] = static_cast<uint8_t>(parts[0]);
        for (int k = 1; k < 3; ++k)
            if (present[k])
                Param(kQbx510AddrHigh)->Value[k - 1] = static_cast<uint8_t>(parts[k]);
        break;
    case 3:
        if (!ReadParts(text, Qbx510PropertyNames[row], parts, present))
            break;
        for (int k = 0; k < 3; ++k)
            if (present[k])
                Param(kQbx510ParentAddr)->Value[k] = static_cast<uint8_t>(parts[k]);
        break;
    case 4: ApplyByte(Param(kQbx510NetAddr), 0, text, Qbx510PropertyNames[row]); break;
    case 5:
    case 6:
        if (ReadUnsigned(text, 2, Qbx510PropertyNames[row], v))
            SetU16(Param(row == 5 ? kQbx510Com1 : kQbx510Com2), 0, static_cast<uint16_t>(v));
        break;
    case 9:
    case 10:
    case 11:
    case 12: {
        uint8_t& low = Param(kQbx510TuMode)->Value[0];
        const uint8_t mask = static_cast<uint8_t>(1u << (row - 9));
        low = text == kTuModes[0] ? low & ~mask : low | mask;
        break;
    }
    case 13:
    case 14:
    case 15:
    case 16:
        if (ReadUnsigned(text, 2, Qbx510DelayRowNames[ImpulseChannel(row)], v))
            SetU16(Param(kQbx510TuDelays), 2 * ImpulseChannel(row), static_cast<uint16_t>(v));
        break;
    default: break;
    }
}

void TQbx510Item::ApplyPropertyBit(int row, int bit, bool on) {
    if (row == 7 && bit >= 0 && bit < 16) {
        const uint16_t bits = GetU16(Param(kQbx510TsInversion), 0);
        const uint16_t mask = static_cast<uint16_t>(1u << bit);
        SetU16(Param(kQbx510TsInversion), 0, on ? bits | mask : bits & ~mask);
    } else if (row == 8 && bit >= 0 && bit < 4) {
        uint8_t& high = Param(kQbx510TuMode)->Value[1];
        const uint8_t mask = static_cast<uint8_t>(1u << bit);
        high = on ? high | mask : high & ~mask;
    }
}

void TQbx510Item::GetExportValues(TStrings* s) {
    s->Clear();
    AnsiString net, qbx;
    GetPropertyText(4, net);
    GetPropertyText(2, qbx);
    s->Add("\"net_address\",\"" + net + "\"");
    s->Add("\"qbx_address\",\"" + qbx + "\"");
}

void TQbx510Item::CheckConfiguration(TStrings* s) {
    s->Clear();
    if (Param(kQbx510Temperature)->RamDepth != 1)
        s->Add("Объект \"" + DisplayType +
               " \" - Параметр \"Температура на плате\" следует размещать в ОЗУ.");
}

void TQbx510Item::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
