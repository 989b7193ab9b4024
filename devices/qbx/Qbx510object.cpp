// The concentrator object QBX-510. Device layer.
#include "Qbx510object.h"

#include "Editorkit.h"

using namespace qbx;

namespace {

constexpr int kModeBitsParam = 0; // "Режим каналов ТС/ДТКЗ"
constexpr const char* kStateChangeName = "log_handleStateChange";
constexpr uint16_t kStateChangeReservedId = 2;
constexpr const char* kFolder = "qbx510";
constexpr char kBitSet = '\xFE';   // drawn as a ticked box in Wingdings
constexpr char kBitClear = '\xA8'; // drawn as an empty box

const char* const kSignalRows[2] = {"Режим", "Управление"};
const char* const kModeItems[2] = {"ТС", "ДТКЗ"};
const char* const kControlItems[6] = {"Нет", "Канал 1", "Канал 2", "Канал 3", "Канал 4", "Сброс УТКЗ"};
const char* const kYesNo[2] = {"Да", "Нет"};
const char* const kTuModes[2] = {"Потенциальный", "Импульсный"};

} // namespace

TQbx510Item::TQbx510Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceItem(number, channels, store) {
    DisplayType = "QBX-510";
    Tag = "QBX510";
    LoadSubprograms();
    MessageHandler = m_sub[kSubParseMessage];

    const uint16_t stateChange = store ? store->FindOrCreate(kStateChangeName, kStateChangeReservedId, 1) : 0;
    for (int i = 0; i < kQbx510ParamCount; ++i) {
        TParamItem* p = MakeChannel(0, 0, 0);
        p->Name = Qbx510ParamNames[i];
        p->Store = store;
        if (i == 0) {
            p->ChannelType = 65534;
            p->ChannelIndex = 6;
            p->SetBitWidth(16);
            p->Value[0] = p->Value[1] = 0xFF;
        } else if (i <= kQbx510LastSignal) {
            ReadSignalChannel(i, p->ChannelType, p->ChannelIndex);
            p->SetBitWidth(1);
            p->WriteHandler = i <= 19 ? stateChange : 0;
        } else if (i == kQbx510Temperature) {
            ReadSignalChannel(i, p->ChannelType, p->ChannelIndex);
            p->SetBitWidth(16);
            p->RamDepth = 1;
            p->Value.Fill(0xFF);
        } else {
            const SettingsDefault& d = Qbx510SettingsDefaults[i - kQbx510SettingsFirst];
            p->ChannelType = d.type;
            p->ChannelIndex = d.index;
            p->SetBitWidth(d.bits);
            p->Value.Assign(d.value, sizeof d.value);
        }
        m_param[i] = p;
    }

    // Stored channels of our addresses come back as our parameters; the first match wins and
    // channels another object owns are left alone.
    bool adopted[kQbx510ParamCount] = {};
    ForEachChannel(channels, [&](TParamItem* c) {
        if (c->ChannelType == 0 || c->ChannelIndex == 0 || c->Owner)
            return true;
        for (int i = 0; i < kQbx510ParamCount; ++i) {
            if (!adopted[i] && SameAddress(m_param[i], c->ChannelType, c->ChannelIndex)) {
                c->Name = m_param[i]->Name;
                delete m_param[i];
                m_param[i] = c;
                c->Owner = this;
                adopted[i] = true;
                break;
            }
        }
        return true;
    });

    // A signal whose address another channel holds (another object's, or an earlier signal's)
    // stays unbound: no two channels may share an address.
    for (int i = kQbx510FirstSignal; i <= kQbx510Temperature; ++i) {
        TParamItem* p = m_param[i];
        if (adopted[i] || SignalOf(p) == 0 || IsUnbound(p))
            continue;
        bool held = FindChannel(channels, p->ChannelType, p->ChannelIndex) != nullptr;
        for (int j = kQbx510FirstSignal; j < i && !held; ++j)
            held = SignalOf(m_param[j]) != 0 && SameAddress(m_param[j], p->ChannelType, p->ChannelIndex);
        if (!held)
            continue;
        p->ChannelType = 0;
        p->ChannelIndex = 0;
        WriteSignalChannel(i, 0, 0);
    }

    for (int i = 0; i < kQbx510ParamCount; ++i) {
        TParamItem* p = m_param[i];
        if (!adopted[i]) {
            channels->Append(p);
            p->Owner = this;
        }
        p->Ordinal = i + 1;
        if (i == 0 || (i >= kQbx510SettingsFirst && i < kQbx510Temperature)) {
            p->Kind = kChannelSetting;
            continue;
        }
        p->Kind = i == kQbx510Temperature ? kChannelMeasured : kChannelSignal;
        if (i <= kQbx510LastInput) {
            if (IsSub(p->ChangeHandler, kSubLeadUp))
                p->ParamType = 2;
            else if (IsSub(p->ChangeHandler, kSubDoControl))
                p->ParamType = (TuModeLow() >> ControlSlot(p)) & 1 ? 2 : 1;
            else
                p->ParamType = 3;
        } else if (i <= kQbx510LastSignal) {
            p->ParamType = static_cast<uint8_t>(i - 13); // 17..20 → 4..7
        } else {
            p->ParamType = 17;
        }
        p->RaiseChanged();
    }
}

// Bound parameters stay on the channel list, unowned, for the next concentrator object to adopt by
// address. Unbound ones could never be found again and would pile up, so they go.
TQbx510Item::~TQbx510Item() {
    for (TParamItem*& p : m_param) {
        if (!p)
            continue;
        p->Owner = nullptr;
        if (IsUnbound(p))
            ReleaseChannel(m_channels, p);
    }
}

void TQbx510Item::LoadSubprograms() {
    qbx::LoadSubprograms(m_store, kFolder, Qbx510Subprograms, kQbx510SubCount, Qbx510ReservedIds, m_sub);
}

int TQbx510Item::SignalOf(const TParamItem* p) const {
    if (!p)
        return 0;
    for (int i = kQbx510FirstSignal; i <= kQbx510LastSignal; ++i)
        if (m_param[i] == p)
            return i;
    return m_param[kQbx510Temperature] == p ? kQbx510Temperature : 0;
}

uint8_t TQbx510Item::TuModeLow() const { return m_param[kQbx510TuMode]->Value[0]; }

int TQbx510Item::ControlSlot(const TParamItem* p) {
    const Address a = AddressOf(p);
    if (a.Empty())
        return 4;
    for (int u = 0; u < 4; ++u)
        if (GetEntry(m_param[kQbx510ControlTable], 3 * u) == a)
            return u;
    return 4;
}

void TQbx510Item::ReadSignalChannel(int signal, uint16_t& type, uint8_t& index) {
    const int n = Qbx510ParseBlock(signal);
    T_Action* a = Subprogram(m_store, m_sub[kSubParseMessage]);
    if (n == 0 || !a || InstructionCount(a) < n + 1)
        return;
    TActionLine* head = Instruction(a, n);
    if (head->Opcode == opGotoA)
        return;
    type = static_cast<uint16_t>(head->Operands[0] | head->Operands[1] << 8);
    index = Instruction(a, n + 1)->Operands[0];
}

void TQbx510Item::WriteSignalChannel(int signal, uint16_t type, uint8_t index) {
    const int n = Qbx510ParseBlock(signal);
    T_Action* a = Subprogram(m_store, m_sub[kSubParseMessage]);
    if (n == 0 || !a || InstructionCount(a) < n + 1)
        return;
    if (type != 0 && index != 0) {
        SetPush(Instruction(a, n), type, 16);
        SetPush(Instruction(a, n + 1), index, 8);
    } else {
        SetJump(Instruction(a, n), static_cast<uint16_t>(n + 4));
    }
}

bool TQbx510Item::GetParamValueText(TParamItem* p, AnsiString& text) {
    int i = 0;
    while (i < kQbx510ParamCount && m_param[i] != p)
        ++i;
    if (i == kQbx510ParamCount)
        return false;
    const TParamValue& v = p->Value;
    switch (i) {
    case 0:
    case kQbx510Com1:
    case kQbx510Com2: text = IntToStr(GetU16(p, 0)); break;
    case kQbx510ControlTable:
        text.clear();
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
    return true;
}

bool TQbx510Item::SetParamValueText(TParamItem* p, const AnsiString& text) {
    int v = 0;
    if (p == m_param[kQbx510AddrLow] || p == m_param[kQbx510ParentAddr]) {
        if (!ReadInt(text, v))
            return false;
        p->Value[0] = static_cast<uint8_t>(v);
    } else if (p == m_param[kQbx510Com1] || p == m_param[kQbx510Com2]) {
        if (!ReadInt(text, v) || v < 0 || v > 0xFFFF)
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
    if (p && p == m_param[kQbx510TuMode])
        return "QBX-510";
    return "";
}

void TQbx510Item::ListSignalParams(ELEMList* list, bool all) {
    auto offer = [&](TParamItem* p) {
        if (IsUnbound(p) || all)
            list->Append(new TParamItemP(p));
    };
    for (int i = kQbx510FirstSignal; i <= kQbx510LastSignal; ++i)
        offer(m_param[i]);
    offer(m_param[kQbx510Temperature]);
}

void TQbx510Item::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int i = SignalOf(p);
    if (i == 0)
        return;
    if (i != kQbx510Temperature && IsSub(p->ChangeHandler, kSubDoControl) && !IsUnbound(p)) {
        const Address old = AddressOf(p);
        for (int u = 0; u < 4; ++u) {
            if (GetEntry(m_param[kQbx510ControlTable], 3 * u) == old) {
                SetEntry(m_param[kQbx510ControlTable], 3 * u, {type, index});
                break;
            }
        }
    }
    p->ChannelType = type;
    p->ChannelIndex = index;
    WriteSignalChannel(i, type, index);
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
        const bool ts = i <= 16 && (GetU16(m_param[kModeBitsParam], 0) >> (i - 1) & 1);
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
    return MakeComboEditor(parent, items, Trim(current), exitEvent,
                           [this](TObject* s) { ApplySignalEditor(s); });
}

void TQbx510Item::SetInputMode(int input, bool ts) {
    uint16_t bits = GetU16(m_param[kModeBitsParam], 0);
    const uint16_t mask = static_cast<uint16_t>(1u << (input - 1));
    SetU16(m_param[kModeBitsParam], 0, ts ? bits | mask : bits & ~mask);
}

void TQbx510Item::ClearControlEntryOf(const TParamItem* p) {
    const Address a = AddressOf(p);
    if (a.Empty())
        return;
    for (int u = 0; u < 4; ++u)
        if (GetEntry(m_param[kQbx510ControlTable], 3 * u) == a)
            SetEntry(m_param[kQbx510ControlTable], 3 * u, {});
}

void TQbx510Item::Unbind(TParamItem* p) {
    p->ChangeHandler = 0;
    p->ParamType = 3;
    p->RaiseChanged();
}

void TQbx510Item::ApplySignalEditor(TObject* sender) {
    ApplySignalChoice(m_setpointParam, m_setpointRow, EditorText(sender), EditorItem(sender));
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
            p->ChangeHandler = m_sub[kSubLeadUp];
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
        TParamItem* table = m_param[kQbx510ControlTable];
        const Address old = GetEntry(table, 3 * (item - 1));
        ClearControlEntryOf(p);
        if (!old.Empty() && !(old == AddressOf(p))) {
            for (int j = kQbx510FirstSignal; j <= kQbx510LastSignal; ++j) {
                if (AddressOf(m_param[j]) == old) {
                    Unbind(m_param[j]);
                    break;
                }
            }
        }
        SetEntry(table, 3 * (item - 1), AddressOf(p));
        p->ChangeHandler = m_sub[kSubDoControl];
        SetInputMode(input, true);
        p->ParamType = (TuModeLow() >> (item - 1)) & 1 ? 2 : 1;
        p->RaiseChanged();
    } else if (item == 5) {
        ClearControlEntryOf(p);
        p->ChangeHandler = m_sub[kSubLeadUp];
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
        GetParamValueText(m_param[kQbx510AddrLow], text);
        GetParamValueText(m_param[kQbx510AddrHigh], part);
        text += "," + part;
        break;
    case 3:
    case 4:
    case 5:
    case 6: GetParamValueText(m_param[kQbx510ParentAddr + row - 3], text); break;
    case 7: {
        const uint16_t bits = GetU16(m_param[kQbx510TsInversion], 0);
        for (int k = 0; k < 16; ++k)
            text += (bits >> k & 1) ? kBitSet : kBitClear;
        break;
    }
    case 8: {
        const uint8_t bits = m_param[kQbx510TuMode]->Value[1];
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
    case 16: text = IntToStr(GetU16(m_param[kQbx510TuDelays], 2 * ImpulseChannel(row))); break;
    default: break;
    }
}

void* TQbx510Item::GetPropertyData(int row) { return row == 7 || row == 8 ? &m_fontName : nullptr; }

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
    case 7: return MakeBitPanel(parent, 16, GetU16(m_param[kQbx510TsInversion], 0), exitEvent, apply);
    case 8: return MakeBitPanel(parent, 4, m_param[kQbx510TuMode]->Value[1], exitEvent, apply);
    case 9:
    case 10:
    case 11:
    case 12: return RowChoice(row, parent, exitEvent, {kTuModes[0], kTuModes[1]});
    default: return nullptr;
    }
}

void TQbx510Item::ApplyPropertyEditor(TObject* sender) {
    if (m_propertyRow == 7 || m_propertyRow == 8) {
        int bit = 0;
        bool on = false;
        if (EditorCheck(sender, bit, on))
            ApplyPropertyBit(m_propertyRow, bit, on);
    } else if (m_propertyRow >= 9 && m_propertyRow <= 12) {
        const int item = EditorItem(sender);
        if (item >= 0)
            ApplyPropertyValue(m_propertyRow, kTuModes[item ? 1 : 0]);
    } else {
        ApplyPropertyValue(m_propertyRow, EditorText(sender));
    }
    PropertyEdited(sender);
}

namespace {

// Up to three comma-separated numbers; an empty part keeps its byte. Nothing is stored unless
// every non-empty part reads.
bool ReadParts(const std::string& text, int values[3], bool present[3]) {
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
        if (!ReadInt(part, values[k]))
            return false;
        present[k] = true;
    }
    return true;
}

} // namespace

void TQbx510Item::ApplyPropertyValue(int row, const std::string& text) {
    int v = 0;
    int parts[3] = {};
    bool present[3] = {};
    switch (row) {
    case 1: ApplyMessageHandling(text, m_sub[kSubParseMessage]); break;
    case 2:
        if (!ReadParts(text, parts, present))
            break;
        if (present[0])
            m_param[kQbx510AddrLow]->Value[0] = static_cast<uint8_t>(parts[0]);
        for (int k = 1; k < 3; ++k)
            if (present[k])
                m_param[kQbx510AddrHigh]->Value[k - 1] = static_cast<uint8_t>(parts[k]);
        break;
    case 3:
        if (!ReadParts(text, parts, present))
            break;
        for (int k = 0; k < 3; ++k)
            if (present[k])
                m_param[kQbx510ParentAddr]->Value[k] = static_cast<uint8_t>(parts[k]);
        break;
    case 4: ApplyByte(m_param[kQbx510NetAddr], 0, text); break;
    case 5:
    case 6:
        if (ReadInt(text, v) && v >= 0 && v <= 0xFFFF)
            SetU16(m_param[row == 5 ? kQbx510Com1 : kQbx510Com2], 0, static_cast<uint16_t>(v));
        break;
    case 9:
    case 10:
    case 11:
    case 12: {
        uint8_t& low = m_param[kQbx510TuMode]->Value[0];
        const uint8_t mask = static_cast<uint8_t>(1u << (row - 9));
        low = text == kTuModes[0] ? low & ~mask : low | mask;
        break;
    }
    case 13:
    case 14:
    case 15:
    case 16:
        if (ReadInt(text, v))
            SetU16(m_param[kQbx510TuDelays], 2 * ImpulseChannel(row), static_cast<uint16_t>(v));
        break;
    default: break;
    }
}

void TQbx510Item::ApplyPropertyBit(int row, int bit, bool on) {
    if (row == 7 && bit >= 0 && bit < 16) {
        const uint16_t bits = GetU16(m_param[kQbx510TsInversion], 0);
        const uint16_t mask = static_cast<uint16_t>(1u << bit);
        SetU16(m_param[kQbx510TsInversion], 0, on ? bits | mask : bits & ~mask);
    } else if (row == 8 && bit >= 0 && bit < 4) {
        uint8_t& high = m_param[kQbx510TuMode]->Value[1];
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
    if (m_param[kQbx510Temperature]->RamDepth != 1)
        s->Add("Объект \"" + DisplayType +
               " \" - Параметр \"Температура на плате\" следует размещать в ОЗУ.");
}

void TQbx510Item::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
