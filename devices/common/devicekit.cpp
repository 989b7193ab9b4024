// Shared helpers of every device object. Device layer.
#include "devicekit.h"

#include <algorithm>
#include <cstring>

#include "Channelindex.h"
#include "Editorkit.h"
#include "Storewalk.h"
#include "msgbox.h"

namespace dev {

uint16_t GetU16(const TParamItem* p, int offset) {
    return static_cast<uint16_t>(p->Value[offset] | p->Value[offset + 1] << 8);
}

void SetU16(TParamItem* p, int offset, uint16_t v) {
    p->Value[offset] = static_cast<uint8_t>(v & 0xFF);
    p->Value[offset + 1] = static_cast<uint8_t>(v >> 8);
}

bool IsUnbound(const TParamItem* p) { return p->ChannelType == 0 && p->ChannelIndex == 0; }

bool SameAddress(const TParamItem* p, uint16_t type, uint8_t index) {
    return p->ChannelType == type && p->ChannelIndex == index;
}

Address GetEntry(const TParamItem* p, int offset) { return {GetU16(p, offset), p->Value[offset + 2]}; }

void SetEntry(TParamItem* p, int offset, Address a) {
    SetU16(p, offset, a.type);
    p->Value[offset + 2] = a.index;
}

Address AddressOf(const TParamItem* p) { return {p->ChannelType, p->ChannelIndex}; }

std::string AddressText(Address a) { return IntToStr(a.type) + ":" + IntToStr(a.index); }

TParamItem* MakeChannel(uint16_t type, uint8_t index, uint16_t bits, const uint8_t* value, int valueLen) {
    auto* p = new TParamItem;
    p->SetAddress(type, index);
    p->SetBitWidth(bits);
    if (value && valueLen > 0)
        p->Value.Assign(value, valueLen);
    return p;
}

TParamItem* NewChannel(ELEMList* list, uint16_t type, uint8_t index, uint16_t bits, const uint8_t* value,
                       int valueLen) {
    TParamItem* p = MakeChannel(type, index, bits, value, valueLen);
    list->Append(p);
    return p;
}

void ReleaseChannel(ELEMList* list, TParamItem*& slot) {
    TParamItem* p = slot;
    if (!p)
        return;
    slot = nullptr;
    TakeOffList(list, p);
    delete p;
}

void TakeOffList(ELEMList* list, TParamItem* p) {
    list->Remove(p);
    p->RaiseRebind();
}

void ForEachChannel(ELEMList* list, const std::function<bool(TParamItem*)>& f) {
    for (ELEM* e = list->Oldest; e;) {
        ELEM* next = e->Newer;
        if (!f(static_cast<TParamItem*>(e)))
            return;
        e = next;
    }
}

bool ListHolds(ELEMList* list, const TParamItem* p) {
    if (TChannelIndex* index = ChannelIndexOf(list))
        return p && index->Holds(p);
    return p && list->Contains(p);
}

std::vector<TParamItem*> ChannelsAt(ELEMList* list, uint16_t type, uint8_t index) {
    if (TChannelIndex* kept = type != 0 || index != 0 ? ChannelIndexOf(list) : nullptr)
        return kept->At(type, index);
    std::vector<TParamItem*> found;
    ForEachChannel(list, [&](TParamItem* c) {
        if (SameAddress(c, type, index))
            found.push_back(c);
        return true;
    });
    return found;
}

namespace {

// The first channel at this address, from the oldest end, that `take` accepts.
TParamItem* FirstWithAddress(ELEMList* list, uint16_t type, uint8_t index,
                             const std::function<bool(const TParamItem*)>& take) {
    if (TChannelIndex* kept = type != 0 || index != 0 ? ChannelIndexOf(list) : nullptr) {
        for (TParamItem* c : kept->At(type, index))
            if (take(c))
                return c;
        return nullptr;
    }
    TParamItem* found = nullptr;
    ForEachChannel(list, [&](TParamItem* c) {
        if (!SameAddress(c, type, index) || !take(c))
            return true;
        found = c;
        return false;
    });
    return found;
}

} // namespace

TParamItem* FindChannel(ELEMList* list, uint16_t type, uint8_t index) {
    return FirstWithAddress(list, type, index, [](const TParamItem*) { return true; });
}

TParamItem* FindFreeChannel(ELEMList* list, uint16_t type, uint8_t index) {
    return FirstWithAddress(list, type, index, [](const TParamItem* c) { return !c->Owner; });
}

TParamItem* AddressHolder(ELEMList* list, uint16_t type, uint8_t index, const TParamItem* except) {
    return FirstWithAddress(list, type, index, [except](const TParamItem* c) { return c != except; });
}

void ReportAddressHeld(const TParamItem* p, uint16_t type, uint8_t index, const TParamItem* holder) {
    const std::string text = "Адрес " + AddressText({type, index}) + " уже занят каналом \"" + holder->Name +
                             "\". Канал \"" + p->Name + "\" не перепривязан.";
    ReportConfigurationProblem(text);
}

void AddCommand(TObjectItem* o, const char* name, uint16_t number, uint8_t execute, uint16_t prepare,
                uint16_t parse, uint16_t noAnswer) {
    auto* c = new TCommandItem;
    c->Name = name;
    c->Number = number;
    c->Execute = execute;
    c->Period = 0;
    c->Prepare = prepare;
    c->Parse = parse;
    c->NoAnswer = noAnswer;
    o->Commands.Append(c);
}

// ---- Subprograms ----

T_Action* Subprogram(actionManager* store, uint16_t id) {
    if (!store || id == 0)
        return nullptr;
    return store->ById(id);
}

bool LoadDefaultText(actionManager* store, T_Action* a, const char* folder, const SubprogramDef& def,
                     bool created) {
    const std::string path = PluginFile(def.folder ? def.folder : folder, def.name);
    if (std::string reason; a->Instructions.empty() && a->LoadActFile(path, &reason) != 0) {
        const std::string text = PluginFileFailure(path, reason);
        ShowMessageBoxText(text.c_str(), "Ошибка", MB_OK | MB_ICONERROR);
        // One that existed before may be named by other items; it stays.
        if (created)
            store->DeleteAction(a);
        return false;
    }
    a->Caption = def.caption;
    a->FilePath = path;
    return true;
}

void LoadSubprograms(actionManager* store, const char* folder, const SubprogramDef* defs, int count,
                     const uint16_t* reservedIds, uint16_t* ids) {
    for (int k = 0; k < count; ++k) {
        ids[k] = 0;
        if (!store)
            continue;
        ActionFilter byName;
        byName.Flags = ActionFilter::ByName;
        byName.Name = defs[k].name;
        T_Action* a = store->Contains(store->FindFirst(byName));
        if (!a && reservedIds) {
            T_Action* held = Subprogram(store, reservedIds[k]);
            if (held && held->Name() == "action" + IntToStr(reservedIds[k])) {
                held->SetName(defs[k].name);
                a = held;
            }
        }
        const bool created = !a;
        if (!a)
            a = store->CreateAction(defs[k].name);
        if (a && LoadDefaultText(store, a, folder, defs[k], created))
            ids[k] = a->Id();
    }
}

int InstructionCount(T_Action* a) { return static_cast<int>(a->Instructions.size()); }

TActionLine* Instruction(T_Action* a, int pos) { return &a->Instructions[static_cast<size_t>(pos - 1)]; }

void SetPush(TActionLine* line, uint32_t value, uint8_t len) {
    line->Opcode = opPush;
    line->Operands[0] = static_cast<uint8_t>(value);
    line->Operands[1] = static_cast<uint8_t>(value >> 8);
    line->Operands[2] = static_cast<uint8_t>(value >> 16);
    line->Operands[3] = static_cast<uint8_t>(value >> 24);
    line->Operands[4] = len;
}

void SetJump(TActionLine* line, uint16_t target) {
    line->Opcode = opGotoA;
    std::memset(line->Operands, 0, sizeof line->Operands);
    line->Operands[0] = static_cast<uint8_t>(target);
    line->Operands[1] = static_cast<uint8_t>(target >> 8);
}

// ---- Numbers ----

bool ReadInt(const std::string& text, int& out) { return TryStrToInt(Trim(text), out); }

bool ReadScaled(const std::string& text, const char* unit, int64_t factor, int64_t& out) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::string t = Trim(text);
    const std::string u = Trim(unit);
    if (!u.empty() && t.size() > u.size() && t.compare(t.size() - u.size(), u.size(), u) == 0)
        t = Trim(t.substr(0, t.size() - u.size()));
    size_t i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        ++i;
    std::string digits;
    int64_t point = -1; // digits before the decimal point
    for (; i < t.size(); ++i) {
        if (digit(t[i]))
            digits += t[i];
        else if ((t[i] == '.' || t[i] == ',') && point < 0)
            point = static_cast<int64_t>(digits.size());
        else
            break;
    }
    if (digits.empty())
        return false;
    if (point < 0)
        point = static_cast<int64_t>(digits.size());
    const size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
    digits.erase(0, lead);
    point -= static_cast<int64_t>(lead);
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        const bool down = i < t.size() && t[i] == '-';
        if (i < t.size() && (t[i] == '-' || t[i] == '+'))
            ++i;
        // With no leading zeros, a number whose point moves this far is 0 or past the limit.
        constexpr int64_t kFar = 100;
        int64_t shift = 0;
        const size_t first = i;
        for (; i < t.size() && digit(t[i]); ++i)
            shift = std::min<int64_t>(shift * 10 + (t[i] - '0'), kFar);
        if (i == first)
            return false;
        point = std::clamp<int64_t>(point + (down ? -shift : shift), -kFar, kFar);
    }
    if (i != t.size() || factor <= 0)
        return false;
    // The whole part times the factor, plus the fraction times the factor by long multiplication from
    // its last digit: the carry out of its first digit is the whole part of that product.
    int64_t whole = 0;
    for (int64_t k = 0; k < point; ++k) {
        if (whole > kScaledLimit / 10) {
            whole = kScaledLimit;
            break;
        }
        whole =
            whole * 10 + (k < static_cast<int64_t>(digits.size()) ? digits[static_cast<size_t>(k)] - '0' : 0);
    }
    int64_t carry = 0;
    for (int64_t k = static_cast<int64_t>(digits.size()) - 1; k >= std::max<int64_t>(point, 0); --k)
        carry = ((digits[static_cast<size_t>(k)] - '0') * factor + carry) / 10;
    for (int64_t k = point; k < 0 && carry > 0; ++k)
        carry /= 10;
    const int64_t scaled = whole > (kScaledLimit - carry) / factor ? kScaledLimit : whole * factor + carry;
    out = negative ? -scaled : scaled;
    return true;
}

std::vector<std::string> CommaItems(const std::string& text) {
    TStringList list;
    list.SetCommaText(text);
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

bool ReadInRange(const std::string& text, int64_t lo, int64_t hi, const std::string& field, int64_t& out) {
    return ReadNumberInRange(text, lo, hi, field, out);
}

void ReportSetpointRefused(const std::string& text, const std::string& lowest, const std::string& highest) {
    ReportConfigurationProblem("Уставка \"" + Trim(text) + "\" не сохранена: допустимы значения от " +
                               lowest + " до " + highest + ".");
}

bool ReadSetpoint(const std::string& text, const char* unit, int64_t factor, const std::string& lowest,
                  const std::string& highest, uint16_t& raw) {
    int64_t scaled = -1;
    ReadScaled(text, unit, factor, scaled);
    if (scaled < 0 || scaled > 0xFFFF) {
        ReportSetpointRefused(text, lowest, highest);
        return false;
    }
    raw = static_cast<uint16_t>(scaled);
    return true;
}

bool ReadUnsigned(const std::string& text, int bytes, const std::string& field, uint32_t& out) {
    int64_t v = 0;
    if (!ReadInRange(text, 0, (int64_t{1} << (8 * bytes)) - 1, field, v))
        return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool ReadThreeBytes(const std::string& text, const std::string& field, uint8_t out[3]) {
    const std::vector<std::string> items =
        CommaItems(StringReplace(text, ".", ",", TReplaceFlags{rfReplaceAll}));
    uint32_t v[3];
    if (items.size() != 3)
        return false;
    for (int k = 0; k < 3; ++k)
        if (!ReadUnsigned(items[k], 1, field, v[k]))
            return false;
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<uint8_t>(v[k]);
    return true;
}

bool ReadEntry(const std::string& text, const std::string& field, Address& out) {
    const std::vector<std::string> items =
        CommaItems(StringReplace(text, ":", ",", TReplaceFlags{rfReplaceAll}));
    uint32_t t = 0, i = 0;
    if (items.size() != 2 || !ReadUnsigned(items[0], 2, field, t) || !ReadUnsigned(items[1], 1, field, i))
        return false;
    out = {static_cast<uint16_t>(t), static_cast<uint8_t>(i)};
    return true;
}

std::string DottedBytes(const TParamItem* p) {
    return IntToStr(p->Value[0]) + "." + IntToStr(p->Value[1]) + "." + IntToStr(p->Value[2]);
}

void ApplyByte(TParamItem* p, int offset, const std::string& text, const std::string& field) {
    uint32_t v = 0;
    if (ReadUnsigned(text, 1, field, v))
        p->Value[offset] = static_cast<uint8_t>(v);
}

std::string SafeTypeName(int code) {
    if (code >= 0 && code < kParamTypeCount)
        return ParamTypeNames[code];
    return std::string(ParamTypeNames[0]) + " (" + IntToStr(code) + ")";
}

std::string CheckPrefix(const TObjectItem* o, const std::string& displayName) {
    return "Объект \"" + o->DisplayType + " " + displayName + "\"";
}

} // namespace dev
