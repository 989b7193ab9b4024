// The driver engine. Device layer.
#include "deviceengine.h"

#include <algorithm>
#include <unordered_map>

#include "Channelindex.h"
#include "Editorkit.h"

using namespace dev;

namespace {

constexpr int kEntryBytes = 3;

// Little-endian unsigned number of n bytes (n <= 4) at offset.
uint32_t GetNumber(const TParamItem* p, int offset, int n) {
    uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k)
        v = v << 8 | p->Value[offset + k];
    return v;
}

void PutNumber(TParamItem* p, int offset, int n, uint32_t v) {
    for (int k = 0; k < n; ++k)
        p->Value[offset + k] = static_cast<uint8_t>(v >> (8 * k));
}

std::string TrimBlanks(const char* name) {
    std::string s = name;
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

TDeviceEngine::TDeviceEngine(const TDeviceDef& def, uint16_t number, ELEMList* channels, actionManager* store)
    : TDeviceItem(number, channels, store), FDef(def), FSub(def.Subprograms.size()),
      FParam(static_cast<size_t>(def.ParamCount())) {
    DisplayType = def.DisplayType();
    Tag = def.Tag();
    LoadSubprograms(store, def.Folder, def.Subprograms.data(), static_cast<int>(def.Subprograms.size()),
                    def.ReservedIds.empty() ? nullptr : def.ReservedIds.data(), FSub.data());
    MessageHandler = SlotId(def.MessageSub);
    auto id = [this](int slot, int classSlot) { return SlotId(slot == kClassSlot ? classSlot : slot); };
    uint16_t n = 1;
    for (const CommandDef& c : def.Commands) {
        AddCommand(this, c.name, n++, c.execute, id(c.prepare, def.PrepareSub), id(c.parse, def.ParseSub),
                   id(c.noAnswer, def.NoAnswerSub));
        static_cast<TCommandItem*>(Commands.Newest)->Period = c.period;
    }
    std::vector<bool> fresh(FParam.size());
    AdoptSettings(fresh);
    AdoptSignals(fresh);
    // One signal at a time: a new one joins the list only after the one before it has its type and
    // has been renumbered, so the renumbering never meets a signal of ours that is not typed yet.
    for (int i = 0; i < ParamCount(); ++i) {
        TParamItem* p = FParam[i];
        if (fresh[i])
            FChannels->Append(p);
        p->Ordinal = static_cast<uint16_t>(i + 1);
        if (const ParamRule* r = RuleOf(i)) {
            const bool measured = r->role == Role::Measure || r->role == Role::Reading;
            const uint8_t byRole = measured ? kChannelMeasured : kChannelSignal;
            p->Kind = r->kind ? r->kind : byRole;
            const uint16_t switched = r->switchSub >= 0 ? SlotId(r->switchSub) : 0;
            p->ParamType = switched != 0 && p->ChangeHandler == switched ? r->switchType : r->paramType;
            if (def.TypeOf)
                p->ParamType = def.TypeOf(*this, i, p->ParamType);
            p->RaiseChanged();
        } else {
            p->Kind = FDef.Settings[SettingAt(i)].kind;
        }
    }
}

int TDeviceEngine::SettingPos(int k) const {
    const int pos = FDef.Settings[k].position;
    return pos >= 0 ? pos : FDef.SignalCount + k;
}

int TDeviceEngine::SettingAt(int i) const {
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k)
        if (SettingPos(k) == i)
            return k;
    return -1;
}

bool TDeviceEngine::IsSignal(int i) const { return i >= 0 && i < ParamCount() && SettingAt(i) < 0; }

namespace {

uint32_t KeyOf(uint16_t type, uint8_t index) { return uint32_t{type} << 8 | index; }

} // namespace

// The free channels at each wanted address (index not 0), oldest first, go to the positions that
// want it, in order. A lookup per address while the configuration keeps an index of the list, else
// one walk.
void TDeviceEngine::AdoptFree(const std::unordered_map<uint32_t, std::vector<int>>& wanted) {
    if (wanted.empty())
        return;
    auto adopt = [&](TParamItem* c, const std::vector<int>& positions) {
        if (c->Owner)
            return;
        for (int i : positions) {
            if (!FParam[i]) {
                FParam[i] = c;
                c->Owner = this;
                return;
            }
        }
    };
    if (TChannelIndex* index = ChannelIndexOf(FChannels)) {
        for (const auto& [key, positions] : wanted)
            for (TParamItem* c : index->At(static_cast<uint16_t>(key >> 8), static_cast<uint8_t>(key & 0xFF)))
                adopt(c, positions);
        return;
    }
    ForEachChannel(FChannels, [&](TParamItem* c) {
        if (const auto it =
                c->ChannelIndex ? wanted.find(KeyOf(c->ChannelType, c->ChannelIndex)) : wanted.end();
            it != wanted.end())
            adopt(c, it->second);
        return true;
    });
}

// Each settings parameter comes back from the oldest free channel at its fixed address; a stored
// one narrower than the layout is widened, so that nothing is written past its stored width. A new
// one joins the list here, or with the signals in position order (marked in `fresh`).
void TDeviceEngine::AdoptSettings(std::vector<bool>& fresh) {
    const uint8_t instance = InstanceByte();
    auto address = [&](int k) {
        const SettingDef& s = FDef.Settings[k];
        return Address{s.code ? s.code : static_cast<uint16_t>(FDef.CodeBase + SettingPos(k)),
                       s.index ? s.index : instance};
    };
    std::unordered_map<uint32_t, std::vector<int>> wanted;
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k)
        if (const Address a = address(k); a.index != 0)
            wanted[KeyOf(a.type, a.index)].push_back(SettingPos(k));
    AdoptFree(wanted);
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k) {
        const SettingDef& s = FDef.Settings[k];
        const int i = SettingPos(k);
        TParamItem* p = FParam[i];
        if (!p) {
            const Address a = address(k);
            p = MakeChannel(a.type, a.index, s.bits, s.init.data(), static_cast<int>(s.init.size()));
            p->Store = FStore;
            if (FDef.SettingsInPlace)
                fresh[i] = true;
            else
                FChannels->Append(p);
        } else if (p->BitWidth() < s.bits && !s.keepWidth) {
            const int from = p->ValueBytes();
            p->SetBitWidth(s.bits);
            for (int b = from; b < p->ValueBytes(); ++b)
                p->Value[b] = s.refill && b < static_cast<int>(s.init.size()) ? s.init[b] : 0;
        }
        p->ValueEditable = s.editable ? 1 : 0;
        p->Name = std::string(FDef.NamePrefix) + FDef.ParamNames[i];
        p->Owner = this;
        FParam[i] = p;
    }
}

// Signals come back through their index-table entries (an entry with index 0 names nothing); a
// channel already owned, here or by another object, is never adopted, and the oldest one wins.
void TDeviceEngine::AdoptSignals(std::vector<bool>& fresh) {
    // Signals by the address their entry names, in position order (a damaged table may name one twice).
    std::unordered_map<uint32_t, std::vector<int>> named;
    for (int i = 0; i < ParamCount(); ++i)
        if (const Address a = RecordedAddress(i); a.index != 0)
            named[KeyOf(a.type, a.index)].push_back(i);
    AdoptFree(named);
    for (int i = 0; i < ParamCount(); ++i) {
        if (!IsSignal(i))
            continue;
        if (!FParam[i]) {
            CreateSignal(i, fresh);
            fresh[i] = true;
        }
        FParam[i]->ValueEditable = 1;
        FParam[i]->Name = std::string(FDef.NamePrefix) + FDef.ParamNames[i];
        FParam[i]->Owner = this;
    }
}

// A signal recorded in a parse block takes the address recorded there, unless another channel (or
// an earlier new parameter of ours) holds it; then the block is written unbound.
void TDeviceEngine::CreateSignal(int i, const std::vector<bool>& fresh) {
    const ParamRule* r = RuleOf(i);
    TParamItem* p = MakeChannel(0, 0, r ? r->bits : 0);
    p->Store = FStore;
    FParam[i] = p;
    if (!r)
        return;
    if (r->blockSub >= 0) {
        if (const Address a = ReadBlock(i); !a.Empty()) {
            bool held = AddressHolder(FChannels, a.type, a.index, p) != nullptr;
            for (int j = 0; j < i && !held; ++j)
                held = fresh[j] && AddressOf(FParam[j]) == a;
            if (held) {
                WriteBlock(i, {});
            } else {
                p->SetAddress(a.type, a.index);
            }
        }
    }
    if (r->role == Role::Measure) {
        p->Value.Fill(0xFF);
        p->RamDepth = 1;
        for (int b = 0; r->zeroed && b < p->ValueBytes(); ++b)
            p->Value[b] = 0;
        return;
    }
    if (r->role == Role::Reading)
        return;
    if (r->role == Role::Control && r->controlSlot >= 0)
        p->ChangeHandler = SlotId(r->controlSlot);
    else if (r->role == Role::Control && r->control && FStore)
        p->ChangeHandler = FStore->FindOrCreate(r->control, 0, 1);
    if (FStore)
        p->WriteHandler = r->handler ? FStore->FindOrCreate(r->handler, 0, 1)
                                     : FStore->FindOrCreate(kStateHandlerName, kStateHandlerReservedId, 1);
    if (r->role != Role::Input)
        p->Value[0] = r->init;
}

TDeviceEngine::~TDeviceEngine() {
    for (TParamItem* p : FParam)
        if (p && ListHolds(FChannels, p))
            TakeOffList(FChannels, p);
    for (TParamItem*& p : FParam) {
        delete p;
        p = nullptr;
    }
}

uint16_t TDeviceEngine::SlotId(int k) const {
    return k >= 0 && k < static_cast<int>(FSub.size()) ? FSub[k] : 0;
}

int TDeviceEngine::IndexOf(const TParamItem* p) const {
    if (!p)
        return -1;
    for (int i = 0; i < ParamCount(); ++i)
        if (FParam[i] == p)
            return i;
    return -1;
}

TParamItem* TDeviceEngine::Setting(Role role) const {
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k)
        if (FDef.Settings[k].role == role)
            return FParam[SettingPos(k)];
    return nullptr;
}

uint8_t TDeviceEngine::NetworkAddress() const {
    const TParamItem* a = Setting(Role::Address);
    return a ? a->Value[FDef.AddressByte] : 0;
}

const ParamRule* TDeviceEngine::RuleOf(int i) const {
    if (!IsSignal(i))
        return nullptr;
    for (const ParamRule& r : FDef.Signals)
        if (i >= r.first && i <= r.last)
            return &r;
    return nullptr;
}

bool TDeviceEngine::EntryOf(int i, int& table, int& offset) const {
    const ParamRule* r = RuleOf(i);
    if (!r)
        return false;
    if (r->table >= 0) {
        table = r->table;
        offset = r->offset >= 0 ? r->offset + kEntryBytes * (i - r->first)
                                : kEntryBytes * (r->entry + i - r->first);
        return SettingAt(table) >= 0 && FParam[table] != nullptr;
    }
    int signal = i; // place of i among the signals; settings placed before it do not count
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k)
        signal -= FDef.Settings[k].position >= 0 && FDef.Settings[k].position < i ? 1 : 0;
    int first = 0;
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k) {
        const SettingDef& s = FDef.Settings[k];
        if (s.role != Role::IndexTable)
            continue;
        const int entries = s.bits / (8 * kEntryBytes);
        if (signal < first + entries) {
            table = SettingPos(k);
            offset = kEntryBytes * (signal - first);
            return FParam[table] != nullptr;
        }
        first += entries;
    }
    return false;
}

// Position of signal i's parse block and its subprogram; false when the signal has none, or the
// subprogram is gone or too short to hold it.
bool TDeviceEngine::BlockOf(int i, T_Action*& a, int& n) const {
    const ParamRule* r = RuleOf(i);
    if (!r || r->blockSub < 0)
        return false;
    n = r->block + 4 * (i - r->first);
    a = Subprogram(FStore, SlotId(r->blockSub));
    return a && InstructionCount(a) >= n + 1;
}

Address TDeviceEngine::ReadBlock(int i) const {
    T_Action* a = nullptr;
    int n = 0;
    if (!BlockOf(i, a, n) || Instruction(a, n)->Opcode == opGotoA)
        return {};
    const TActionLine* head = Instruction(a, n);
    return {static_cast<uint16_t>(head->Operands[0] | head->Operands[1] << 8),
            Instruction(a, n + 1)->Operands[0]};
}

void TDeviceEngine::WriteBlock(int i, Address to) {
    T_Action* a = nullptr;
    int n = 0;
    if (!BlockOf(i, a, n))
        return;
    if (to.type != 0 && to.index != 0) {
        SetPush(Instruction(a, n), to.type, 16);
        SetPush(Instruction(a, n + 1), to.index, 8);
    } else {
        SetJump(Instruction(a, n), static_cast<uint16_t>(n + 4));
    }
}

Address TDeviceEngine::RecordedAddress(int i) const {
    int table = 0, offset = 0;
    if (EntryOf(i, table, offset))
        return GetEntry(FParam[table], offset);
    return ReadBlock(i);
}

std::string TDeviceEngine::ValueText(int i) const {
    const TParamItem* p = FParam[i];
    if (const ParamRule* r = RuleOf(i)) {
        if (r->role != Role::Measure && r->role != Role::Reading)
            return IntToStr(p->Value[0]);
        if (r->role == Role::Measure && p->RamDepth == 1)
            return "не определено";
        return IntToStr(static_cast<int64_t>(GetNumber(p, 0, std::min(4, p->ValueBytes()))));
    }
    switch (FDef.Settings[SettingAt(i)].role) {
    case Role::Address:
        return "адрес " + IntToStr(p->Value[0]) + ", скорость " +
               IntToStr(static_cast<int64_t>(GetNumber(p, 1, 4)));
    case Role::IndexTable: {
        std::string text;
        for (int off = 0; off + kEntryBytes <= p->ValueBytes(); off += kEntryBytes)
            text += (off ? "," : "") + AddressText(GetEntry(p, off));
        return text;
    }
    case Role::Password: return IntToStr(GetU16(p, 0));
    default: return IntToStr(p->Value[0]);
    }
}

bool TDeviceEngine::GetParamValueText(TParamItem* p, std::string& text) {
    const int i = IndexOf(p);
    if (i < 0)
        return true;
    text = ValueText(i);
    return false;
}

bool TDeviceEngine::SetParamValueText(TParamItem* p, const std::string& text) {
    uint32_t v = 0;
    if (p && p == Setting(Role::Address) && ReadUnsigned(text, 1, p->Name, v))
        p->Value[FDef.AddressByte] = static_cast<uint8_t>(v);
    return false;
}

std::string TDeviceEngine::GetDisplayName() {
    return "ID-" + IntToStr(Number) + " адрес " + IntToStr(NetworkAddress());
}

void TDeviceEngine::SetNumber(uint16_t number) {
    TObjectItem::SetNumber(number);
    for (int k = 0; k < static_cast<int>(FDef.Settings.size()); ++k)
        if (FDef.Settings[k].index == 0)
            FParam[SettingPos(k)]->SetAddress(FParam[SettingPos(k)]->ChannelType, InstanceByte());
}

std::string TDeviceEngine::GetParamDescription(TParamItem* p) {
    const int i = IndexOf(p);
    if (!IsSignal(i) || !FDef.DescPrefix)
        return "";
    std::string prefix = FDef.DescPrefix;
    std::string label = TrimBlanks(FDef.ParamNames[i]);
    for (const DescOverride& o : FDef.Overrides) {
        if (o.index != i)
            continue;
        if (o.prefix)
            prefix = o.prefix;
        if (o.label)
            label = o.label;
    }
    std::string text = prefix + IntToStr(NetworkAddress());
    for (const DescGroup& g : FDef.Groups)
        if (i >= g.first && i <= g.last)
            return text + g.lead + (g.bare ? std::string() : g.quoted ? "\"" + label + "\"" : label);
    return text;
}

void TDeviceEngine::ListSignalParams(ELEMList* list, bool all) {
    for (int i = 0; i < ParamCount(); ++i)
        if (IsSignal(i) && FParam[i] && RuleOf(i)->bindable && (all || IsUnbound(FParam[i])))
            list->Append(new TParamItemP(FParam[i]));
}

void TDeviceEngine::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    const int i = IndexOf(p);
    if (!IsSignal(i) || !RuleOf(i)->bindable)
        return;
    if (index != 0) {
        if (const TParamItem* held = AddressHolder(FChannels, type, index, p)) {
            ReportAddressHeld(p, type, index, held);
            return;
        }
    }
    p->SetAddress(type, index);
    int table = 0, offset = 0;
    if (EntryOf(i, table, offset))
        SetEntry(FParam[table], offset, {type, index});
    WriteBlock(i, {type, index});
}

void TDeviceEngine::ListSetpoints(TStrings* s, TParamItem*) { s->Clear(); }

void TDeviceEngine::GetPropertyNames(TStrings* s) {
    TObjectItem::GetPropertyNames(s);
    for (const PropertyDef& row : FDef.Properties)
        s->Add(row.caption);
}

void TDeviceEngine::GetPollCommandNames(TStrings* s) {
    s->Clear();
    for (int k = FDef.PollFirst;
         k < FDef.PollFirst + FDef.PollCount && k < static_cast<int>(FDef.Commands.size()); ++k)
        s->Add(FDef.Commands[k].name);
}

void TDeviceEngine::GetCommandModeText(int n, std::string& out) {
    TDeviceItem::GetCommandModeText(n + FDef.PollFirst, out);
}

TWinControl* TDeviceEngine::CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                    TNotifyEvent changed) {
    return TDeviceItem::CreateCommandModeEditor(n + FDef.PollFirst, host, std::move(exitEvent),
                                                std::move(changed));
}

const PropertyDef* TDeviceEngine::PropertyRow(int row) const {
    const int k = row - 2;
    return k >= 0 && k < static_cast<int>(FDef.Properties.size()) ? &FDef.Properties[k] : nullptr;
}

uint32_t TDeviceEngine::PropertyValue(const PropertyDef& row) const {
    const TParamItem* p = Setting(row.setting);
    return p ? GetNumber(p, row.offset, row.size) : 0;
}

void TDeviceEngine::GetPropertyText(int row, std::string& text) {
    if (row <= 1)
        TObjectItem::GetPropertyText(row, text);
    else if (const PropertyDef* r = PropertyRow(row))
        text = PropertyText(*r);
}

std::string TDeviceEngine::PropertyText(const PropertyDef& row) const {
    if (row.format == PropertyFormat::Messages)
        return SlotId(row.offset) != 0 && MessageHandler == SlotId(row.offset) ? "Да" : "Нет";
    const TParamItem* p = Setting(row.setting);
    if (!p)
        return "";
    switch (row.format) {
    case PropertyFormat::Dotted:
        return IntToStr(p->Value[row.offset]) + "." + IntToStr(p->Value[row.offset + 1]) + "." +
               IntToStr(p->Value[row.offset + 2]);
    case PropertyFormat::Entry: return AddressText(GetEntry(p, row.offset));
    case PropertyFormat::Chars: {
        std::string text;
        for (int k = 0; k < row.size && p->Value[row.offset + k] != 0; ++k)
            text += static_cast<char>(p->Value[row.offset + k]);
        return text;
    }
    case PropertyFormat::Number:
    case PropertyFormat::Messages: break;
    }
    return IntToStr(static_cast<int64_t>(PropertyValue(row)));
}

TWinControl* TDeviceEngine::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                 TNotifyEvent doneEvent) {
    if (row <= 1)
        return TDeviceItem::CreatePropertyEditor(row, host, std::move(exitEvent), std::move(doneEvent));
    BeginPropertyEdit(row, doneEvent);
    const PropertyDef* r = PropertyRow(row);
    if (!r)
        return nullptr;
    TEditorDef editorDef;
    editorDef.Kind = r->editor;
    GetPropertyText(row, editorDef.Text);
    editorDef.Items.assign(r->items.begin(), r->items.end());
    editorDef.Apply = [this](TObject* s) { ApplyPropertyEditor(s); };
    editorDef.ApplyAtEnd = r->applyAtEnd;
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

void TDeviceEngine::ApplyPropertyValue(int row, const std::string& text) {
    const PropertyDef* r = PropertyRow(row);
    if (r && r->format == PropertyFormat::Messages) {
        ApplyMessageHandling(text, SlotId(r->offset));
        return;
    }
    TParamItem* p = r ? Setting(r->setting) : nullptr;
    if (!p)
        return;
    int64_t v = 0;
    uint8_t bytes[3] = {};
    Address a;
    switch (r->format) {
    case PropertyFormat::Number:
        if (ReadInRange(text, 0, r->Highest(), r->caption, v))
            PutNumber(p, r->offset, r->size, static_cast<uint32_t>(v));
        break;
    case PropertyFormat::Dotted:
        if (ReadThreeBytes(text, r->caption, bytes))
            for (int k = 0; k < 3; ++k)
                p->Value[r->offset + k] = bytes[k];
        break;
    case PropertyFormat::Entry:
        if (ReadEntry(text, r->caption, a))
            SetEntry(p, r->offset, a);
        break;
    case PropertyFormat::Chars:
        // A longer text is refused whole, never cut to its first characters.
        if (static_cast<int>(text.size()) > r->size) {
            ReportConfigurationProblem("\"" + std::string(r->caption) + "\": значение " + text +
                                       " не сохранено, допустимы значения не длиннее " + IntToStr(r->size) +
                                       " символов.");
            break;
        }
        for (int k = 0; k < r->size; ++k)
            p->Value[r->offset + k] = k < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[k]) : 0;
        break;
    case PropertyFormat::Messages: break;
    }
}

std::string TDeviceEngine::CheckHead() { return CheckPrefix(this, GetDisplayName()); }

void TDeviceEngine::CheckConfiguration(TStrings* s) {
    s->Clear();
    const TCommandItem* first = CommandAt(0);
    const int execute = first ? first->Execute : 0;
    const std::string head = CheckHead();
    for (Check c : FDef.Checks) {
        switch (c) {
        case Check::PeriodOrMessages:
            if (MessageHandler == 0 && execute == 0 && Period == 0)
                s->Add(head +
                       " - Укажите период опроса прибора или установите свойство обработки сообщений от "
                       "прибора равным \"Да\"");
            break;
        case Check::PeriodMissing:
            if (execute == 1 && Period == 0)
                s->Add(head + " - Не указан общий период опроса используемых параметров");
            break;
        case Check::CommandInactive:
            if (execute != 1 && Period != 0)
                s->Add(head + " - Команда опроса \"" + (first ? first->Name : std::string()) +
                       "\" неактивна");
            break;
        case Check::AddressMissing:
            if (NetworkAddress() == 0)
                s->Add(head + " - Не задан адрес прибора");
            break;
        case Check::PasswordMissing:
            if (const TParamItem* pw = Setting(Role::Password); pw && GetU16(pw, 0) == 0)
                s->Add(head + " - Не задан пароль прибора");
            break;
        }
    }
}

void TDeviceEngine::CheckSubprogramVersions(TStrings* s) { s->Clear(); }
