// TObjectItem base behaviour, TParamItem and TCommandItem. Configuration model layer.
#include "Objectstore.h"

#include <cstring>

#include "Storewalk.h"
#include "actions.h"
#include "classes.h"
#include "sysutils.h"

TParamItem::TParamItem() = default;
TParamItem::~TParamItem() = default;

int TParamItem::ValueBytes() const
{
    int n = (BitWidth + 7) / 8;
    return n > kParamValueSize ? kParamValueSize : n;
}

void TParamItem::SetRamDepth(uint8_t depth)
{
    if (depth == RamDepth)
        return;
    RamDepth = depth;
    std::memset(Value, depth == 0 ? 0x00 : 0xFF, sizeof Value);
}

TObjectItem::TObjectItem(uint16_t number) : Number(number) {}

TObjectItem::~TObjectItem()
{
    while (ELEM* e = Commands.Newest) {
        Commands.Remove(e);
        delete static_cast<TCommandItem*>(e);
    }
}

TCommandItem* TObjectItem::CommandAt(int n) const
{
    if (n < 0)
        return nullptr;
    for (ELEM* e = Commands.Oldest; e; e = e->Newer)
        if (n-- == 0)
            return static_cast<TCommandItem*>(e);
    return nullptr;
}

int TObjectItem::CommandCount() const { return static_cast<int>(Commands.Count); }

void TObjectItem::ApplyPeriodText(const std::string& text)
{
    if (std::optional<uint8_t> code = PeriodFromText(text))
        Period = *code;
}

void TObjectItem::Reserved() {}
bool TObjectItem::GetParamValueText(TParamItem*, std::string&) { return false; }
bool TObjectItem::SetParamValueText(TParamItem*, const std::string&) { return false; }
std::string TObjectItem::GetDisplayName() { return {}; }
void TObjectItem::SetNumber(uint16_t number) { Number = number; }
std::string TObjectItem::GetParamDescription(TParamItem*) { return {}; }
void TObjectItem::ListSignalParams(ELEMList*, bool) {}
void TObjectItem::BindParam(uint16_t, uint8_t, TParamItem*) {}

void TObjectItem::ListSetpoints(TStrings* strings, TParamItem* param)
{
    strings->Clear();
    int count = GetSetpointCount(param);
    for (int i = 1; i <= count; ++i)
        strings->Add("Уставка" + IntToStr(i));
}

void TObjectItem::GetSetpointText(int n, TParamItem* param, std::string& out)
{
    int count = GetSetpointCount(param);
    if (count >= 1 && count >= n)
        GetSetpointValueText(param, n, out);
    else
        out.clear();
}

int TObjectItem::GetSetpointCount(TParamItem*) { return 0; }
void TObjectItem::GetSetpointValueText(TParamItem*, int, std::string& out) { out.clear(); }
void TObjectItem::SetSetpointValue(TParamItem*, int, const std::string&) {}

void TObjectItem::FormatParamValue(TParamItem* param, std::string& out)
{
    out = ParamTypeMultiplierText(param ? param->ParamType : 0);
}

void TObjectItem::GetPropertyNames(TStrings* strings)
{
    strings->Clear();
    strings->Add("Идентификатор");
    strings->Add("Период опроса");
}

void TObjectItem::GetPollCommandNames(TStrings* strings) { strings->Clear(); }

void TObjectItem::GetPropertyText(int row, std::string& out)
{
    if (row == 0)
        out = IntToStr(Number);
    else if (row == 1)
        out = PeriodText(Period);
}

void* TObjectItem::GetPropertyData(int) { return nullptr; }

void TObjectItem::GetCommandModeText(int n, std::string& out)
{
    if (TCommandItem* c = CommandAt(n))
        out = CommandModeText(c->Execute, c->Period);
}

void TObjectItem::GetExportValues(TStrings* strings) { strings->Clear(); }
void TObjectItem::CheckConfiguration(TStrings* strings) { strings->Clear(); }
void TObjectItem::CheckSubprogramVersions(TStrings* strings) { strings->Clear(); }

std::string GetChannelDescription(TParamItem* param)
{
    return param && param->Owner ? param->Owner->GetParamDescription(param) : std::string();
}

std::string ChannelValueText(const TParamItem* param)
{
    std::string text;
    for (int i = 0; i < param->ValueBytes(); ++i) {
        if (i)
            text += ',';
        text += IntToStr(param->Value[i]);
    }
    return text;
}

namespace {
const char* const kPeriodRow = "Период опроса";

TObjectTreeNode* TopOf(TObjectTreeNode* node)
{
    for (int steps = 0; node && node->GetParent() && steps < 64; ++steps)
        node = node->GetParent();
    return node;
}
} // namespace

// A second-level "Период опроса" node under this object's root (whose first child is its ID).
bool TObjectItem::IsPeriodNode(TObjectTreeNode* node)
{
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

void TObjectItem::ApplyTreeEditor(TObjectTreeNode* node, const std::string& text)
{
    if (!IsPeriodNode(node))
        return;
    ApplyPeriodText(text);
    node->SetText(std::string(kPeriodRow) + ": " + PeriodText(Period));
}

void ApplyChannelPropertyText(TParamItem* p, const std::string& text, TObject* sender)
{
    try {
        switch (p->EditColumn) {
        case 4:
            if (p->Owner) {
                p->Owner->SetParamValueText(p, text);
                break;
            }
            {
                size_t at = 0;
                for (int i = 0; i < p->ValueBytes(); ++i) {
                    size_t comma = text.find(',', at);
                    std::string piece = Trim(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
                    if (!piece.empty())
                        p->Value[i] = static_cast<uint8_t>(StrToInt(piece));
                    if (comma == std::string::npos)
                        break;
                    at = comma + 1;
                }
            }
            break;
        case 5:
        case 6:
            if (p->Store)
                if (T_Action* a = SubprogramByName(p->Store, text))
                    (p->EditColumn == 5 ? p->WriteHandler : p->ChangeHandler) = a->Id();
            break;
        case 7:
            p->SetRamDepth(static_cast<uint8_t>(StrToInt(Trim(text))));
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // A text that is no number ends the apply; bytes already stored keep their values.
    }
    if (p->OnEditDone)
        p->OnEditDone(sender);
}
