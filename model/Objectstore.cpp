// TObjectItem base behaviour, TParamItem and TCommandItem. Configuration model layer.
#include "Objectstore.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Channelindex.h"
#include "Editorkit.h"
#include "Storewalk.h"
#include "actions.h"
#include "classes.h"
#include "msgbox.h"
#include "sysutils.h"

namespace {
const char* const kPeriodRow = "Период опроса";
} // namespace

TParamValue::TParamValue(const TParamValue& other) { *this = other; }

TParamValue& TParamValue::operator=(const TParamValue& other) {
    if (this == &other)
        return *this;
    Store(other.fStored);
    std::memcpy(Bytes(), other.Bytes(), other.fStored);
    // Bytes this one held past other's read as other's fill.
    std::memset(Bytes() + other.fStored, other.fFill, fStored - other.fStored);
    fSize = other.fSize;
    fFill = other.fFill;
    return *this;
}

TParamValue::~TParamValue() {
    if (OnHeap())
        delete[] fHeap;
}

void TParamValue::Store(int n) {
    if (n <= fStored)
        return;
    auto* bytes = new uint8_t[n];
    std::memcpy(bytes, Bytes(), fStored);
    std::memset(bytes + fStored, fFill, n - fStored);
    if (OnHeap())
        delete[] fHeap;
    fHeap = bytes;
    fStored = static_cast<uint16_t>(n);
}

void TParamValue::Resize(int n) {
    Store(n);
    fSize = static_cast<uint16_t>(n);
}

void TParamValue::Fill(uint8_t b) {
    std::memset(Bytes(), b, fStored);
    fFill = b;
}

void TParamValue::Assign(const uint8_t* src, int n) {
    // Source bytes past the stored ones that equal the fill change nothing; store only up to the last other.
    int last = n;
    while (last > fStored && src[last - 1] == fFill)
        --last;
    Store(last);
    std::memcpy(Bytes(), src, last);
}

TParamItem::TParamItem() = default;
TParamItem::~TParamItem() = default;

void TParamItem::SetAddress(uint16_t type, uint8_t index) {
    if (type == ChannelType && index == ChannelIndex)
        return;
    const uint32_t was = uint32_t{ChannelType} << 8 | ChannelIndex;
    ChannelType.fValue = type;
    ChannelIndex.fValue = index;
    if (fKeeper)
        fKeeper->Moved(this, was);
}

void TParamItem::SetBitWidth(uint16_t bits) {
    fBitWidth = bits;
    int n = (bits + 7) / 8;
    Value.Resize(n > kParamValueSize ? kParamValueSize : n);
}

void TParamItem::SetRamDepth(uint8_t depth) {
    if (depth == RamDepth)
        return;
    RamDepth = depth;
    Value.Fill(depth == 0 ? 0x00 : 0xFF);
}

TObjectItem::TObjectItem(uint16_t number) : Number(number) {}

TObjectItem::~TObjectItem() {
    while (ELEM* e = Commands.Newest) {
        Commands.Remove(e);
        delete static_cast<TCommandItem*>(e);
    }
}

TCommandItem* TObjectItem::CommandAt(int n) const {
    if (n < 0)
        return nullptr;
    for (ELEM* e = Commands.Oldest; e; e = e->Newer)
        if (n-- == 0)
            return static_cast<TCommandItem*>(e);
    return nullptr;
}

int TObjectItem::CommandCount() const { return static_cast<int>(Commands.Count); }

void TObjectItem::ApplyPeriodText(const std::string& text) {
    TPeriodRefusal refused;
    if (std::optional<uint8_t> code = PeriodFromText(text, &refused))
        Period = *code;
    else if (!refused.Text.empty())
        ReportPeriodRefused(kPeriodRow, refused);
}

namespace {
TProblemSink& ProblemSink() {
    static TProblemSink sink;
    return sink;
}
} // namespace

void ReportConfigurationProblem(const std::string& text) {
    if (CatchRefusal(text))
        return;
    if (ProblemSink())
        ProblemSink()(text);
    else
        ShowMessageBoxText(text.c_str(), "Ошибка", MB_OK | MB_ICONERROR);
}

void ReportNumberRefused(const std::string& field, const std::string& text, int64_t lo, int64_t hi,
                         const std::string& unit) {
    ReportConfigurationProblem("\"" + field + "\": значение " + Trim(text) +
                               " не сохранено, допустимы значения от " + IntToStr(lo) + " до " +
                               IntToStr(hi) + unit + ".");
}

void ReportPeriodRefused(const std::string& field, const TPeriodRefusal& refused) {
    ReportNumberRefused(field, refused.Text, 0, kPeriodMaxCount,
                        refused.NoUnit ? " с единицей s, m или h" : "");
}

bool ReadNumberInRange(const std::string& text, int64_t lo, int64_t hi, const std::string& field,
                       int64_t& out) {
    const std::string t = Trim(text);
    int64_t v = 0;
    const bool read = TryStrToInt64(t, v);
    // Digits too many for 64 bits are still a number, one past the range.
    if (!read && !IsDecimalNumber(t))
        return false;
    if (!read || v < lo || v > hi) {
        ReportNumberRefused(field, t, lo, hi);
        return false;
    }
    out = v;
    return true;
}

TProblemSink SetConfigurationProblemSink(TProblemSink sink) {
    std::swap(sink, ProblemSink());
    return sink;
}

bool TObjectItem::GetParamValueText(TParamItem*, std::string&) { return false; }
bool TObjectItem::SetParamValueText(TParamItem*, const std::string&) { return false; }
std::string TObjectItem::GetDisplayName() { return {}; }
void TObjectItem::SetNumber(uint16_t number) { Number = number; }
std::string TObjectItem::GetParamDescription(TParamItem*) { return {}; }
void TObjectItem::ListSignalParams(ELEMList*, bool) {}
void TObjectItem::BindParam(uint16_t, uint8_t, TParamItem*) {}

void TObjectItem::ListSetpoints(TStrings* strings, TParamItem* param) {
    strings->Clear();
    int count = GetSetpointCount(param);
    for (int i = 1; i <= count; ++i)
        strings->Add("Уставка" + IntToStr(i));
}

void TObjectItem::GetSetpointText(int n, TParamItem* param, std::string& out) {
    int count = GetSetpointCount(param);
    if (count >= 1 && count >= n)
        GetSetpointValueText(param, n, out);
    else
        out.clear();
}

int TObjectItem::GetSetpointCount(TParamItem*) { return 0; }
void TObjectItem::GetSetpointValueText(TParamItem*, int, std::string& out) { out.clear(); }
void TObjectItem::SetSetpointValue(TParamItem*, int, const std::string&) {}

void TObjectItem::FormatParamValue(TParamItem* param, std::string& out) {
    out = ParamTypeMultiplierText(param ? param->ParamType : 0);
}

void TObjectItem::GetPropertyNames(TStrings* strings) {
    strings->Clear();
    strings->Add("Идентификатор");
    strings->Add(kPeriodRow);
}

void TObjectItem::GetPollCommandNames(TStrings* strings) { strings->Clear(); }

void TObjectItem::GetPropertyText(int row, std::string& out) {
    if (row == 0)
        out = IntToStr(Number);
    else if (row == 1)
        out = PeriodText(Period);
}

void* TObjectItem::GetPropertyData(int) { return nullptr; }

void TObjectItem::GetCommandModeText(int n, std::string& out) {
    if (TCommandItem* c = CommandAt(n))
        out = CommandModeText(c->Execute, c->Period);
}

void TObjectItem::GetExportValues(TStrings* strings) { strings->Clear(); }
void TObjectItem::CheckConfiguration(TStrings* strings) { strings->Clear(); }
void TObjectItem::CheckSubprogramVersions(TStrings* strings) { strings->Clear(); }

std::string GetChannelDescription(TParamItem* param) {
    return param && param->Owner ? param->Owner->GetParamDescription(param) : std::string();
}

std::string ChannelValueText(const TParamItem* param) {
    std::string text;
    for (int i = 0; i < param->ValueBytes(); ++i) {
        if (i)
            text += ',';
        text += IntToStr(param->Value[i]);
    }
    return text;
}

namespace {
TObjectTreeNode* TopOf(TObjectTreeNode* node) {
    for (int steps = 0; node && node->GetParent() && steps < 64; ++steps)
        node = node->GetParent();
    return node;
}
} // namespace

// A second-level "Период опроса" node under this object's root (whose first child is its ID).
bool TObjectItem::IsPeriodNode(TObjectTreeNode* node) {
    if (!node || !node->GetParent())
        return false;
    TObjectTreeNode* top = TopOf(node);
    if (top->GetText() != DisplayType)
        return false;
    TObjectTreeNode* id = top->GetFirstChild();
    if (!id || id->GetText() != "ID:" + IntToStr(Number))
        return false;
    if (node->GetParent() != top)
        return false;
    std::string text = node->GetText();
    return text.substr(0, text.find(':')) == kPeriodRow;
}

void TObjectItem::ApplyTreeEditor(TObjectTreeNode* node, const std::string& text) {
    if (!IsPeriodNode(node))
        return;
    ApplyPeriodText(text);
    node->SetText(std::string(kPeriodRow) + ": " + PeriodText(Period));
}

namespace {

// A byte cell's number outside 0..255 is refused with a message, never stored as its low byte.
bool ByteInRange(const std::string& field, const char* column) {
    int64_t v = 0;
    if (!TryStrToInt64(field, v) || (v >= 0 && v <= 255))
        return true;
    ReportConfigurationProblem(std::string("\"") + column + "\": значение " + field +
                               " не сохранено, допустимы значения от 0 до 255.");
    return false;
}

// The comma-separated fields of a value cell, one per value byte.
std::vector<std::string> ValueFields(const std::string& text, int bytes) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (int i = 0; i < bytes; ++i) {
        const size_t comma = text.find(',', at);
        fields.push_back(Trim(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at)));
        if (comma == std::string::npos)
            break;
        at = comma + 1;
    }
    return fields;
}

} // namespace

void ApplyChannelPropertyText(TParamItem* p, const std::string& text, TObject* sender) {
    try {
        switch (p->EditColumn) {
        case 4: {
            if (p->Owner) {
                p->Owner->SetParamValueText(p, text);
                break;
            }
            const std::vector<std::string> fields = ValueFields(text, p->ValueBytes());
            if (!std::all_of(fields.begin(), fields.end(),
                             [](const std::string& f) { return ByteInRange(f, "Значение"); }))
                break;
            for (size_t i = 0; i < fields.size(); ++i)
                if (!fields[i].empty())
                    p->Value[static_cast<int>(i)] = static_cast<uint8_t>(StrToInt(fields[i]));
            break;
        }
        case 5:
        case 6:
            if (p->Store)
                if (T_Action* a = SubprogramByName(p->Store, text))
                    (p->EditColumn == 5 ? p->WriteHandler : p->ChangeHandler) = a->Id();
            break;
        case 7:
            if (ByteInRange(Trim(text), "Хранить в ОЗУ. Глубина"))
                p->SetRamDepth(static_cast<uint8_t>(StrToInt(Trim(text))));
            break;
        default: break;
        }
    } catch (const EConvertError&) {
        // A text that is no number ends the apply; bytes already stored keep their values.
    }
    if (p->OnEditDone)
        p->OnEditDone(sender);
}
