// Script editor, text model: token-kind attributes (colours, styles, literals) and their file.
#include <map>

#include "SynMemoModel.h"

const char* const TokenKindNames[tokReserved + 1] = {
    "tokBlank",   "tokText",      "tokString",       "tokStringEnd",    "tokHexValue",     "tokInteger",
    "tokFloat",   "tokILComment", "tokMLCommentBeg", "tokMLCommentEnd", "tokELCommentBeg", "tokELCommentEnd",
    "tokEndLine", "tokParenBeg",  "tokParenEnd",     "tokBrackedBeg",   "tokBracketEnd",   "tokOperator",
    "tokPoint",   "tokComma",     "tokReference",    "tokDereference",  "tokReserved"};
const char* const FoldMarkers[4] = {"", "{<+}", "{<-}", "{>>}"};
const char* const StartMarkers[2] = {"{<+}", "{<-}"};

int MarkerKind(std::string_view Text) {
    for (int k = 1; k <= 3; ++k)
        if (Text.substr(0, FoldMarkerLength) == FoldMarkers[k])
            return k;
    return 0;
}

namespace {

const char* const BoolWords[2] = {"N", "Y"};

struct SwitchKey {
    const char* Name;
    std::uint8_t Bit;
};
const SwitchKey SwitchKeys[] = {{"HasELComment", sswHasELComment},     {"HasMLComment", sswHasMLComment},
                                {"HasILComment", sswHasILComment},     {"HasHexPrefix", sswHasHexPrefix},
                                {"ValidFloat", sswValidFloat},         {"HasReference", sswHasReference},
                                {"HasDereference", sswHasDereference}, {"BLSeparated", sswBLSeparated}};

struct StyleKey {
    const char* Name;
    TMPStyle Bit;
};
const StyleKey StyleKeys[] = {{"Bold", mpsBold}, {"ULin", mpsUnderline}, {"Ital", mpsItalic}};

struct DefaultSlot {
    TToken Kind;
    TMPColor Fore, Back;
    TMPStyle Style;
};
const DefaultSlot DefaultSlots[] = {
    {tokString, 0x000080, mpclWindow, mpsItalic | mpsUnderline},
    {tokStringEnd, 0x000080, mpclWindow, mpsItalic | mpsUnderline},
    {tokHexValue, 0x800000, mpclWindow, mpsBold},
    {tokInteger, 0x800000, mpclWindow, 0},
    {tokFloat, 0x800000, mpclWindow, mpsItalic},
    {tokILComment, 0x008000, mpclWindow, 0},
    {tokMLCommentBeg, 0x800000, 0xC6DFC6, 0},
    {tokMLCommentEnd, 0x800000, 0xC6DFC6, 0},
    {tokELCommentBeg, 0x800000, 0xC6DFC6, 0},
    {tokELCommentEnd, 0x800000, 0xC6DFC6, 0},
    {tokParenBeg, 0xFF0000, mpclWindow, 0},
    {tokParenEnd, 0xFF0000, mpclWindow, 0},
    {tokBrackedBeg, 0xFF0000, mpclWindow, 0},
    {tokBracketEnd, 0xFF0000, mpclWindow, 0},
    {tokReserved, 0xFF0000, mpclWindow, mpsUnderline},
};

// Name=value lines by upper-cased name (first occurrence wins, as IndexOfName finds it).
std::map<std::string, std::string> ReadValues(const TStringList& L) {
    std::map<std::string, std::string> m;
    for (int i = 0; i < L.Count(); ++i) {
        std::string s = L[i];
        size_t eq = s.find('=');
        if (eq == std::string::npos)
            continue;
        m.emplace(UpperCase(s.substr(0, eq)), s.substr(eq + 1));
    }
    return m;
}

} // namespace

TMPSyntaxAttributes::TMPSyntaxAttributes(TMPSynMemoCore* AOwner) : FOwner(AOwner) {
    for (const DefaultSlot& d : DefaultSlots)
        FSlots[d.Kind] = {d.Fore, d.Back, d.Style};
}

void TMPSyntaxAttributes::Assign(const TMPSyntaxAttributes* Source) {
    if (!Source || Source == this)
        return;
    TMPSynMemoStrings* lines = FOwner ? FOwner->Lines() : nullptr;
    auto copy = [&] {
        StringQuote = Source->StringQuote;
        ILComment = Source->ILComment;
        MLCommentBeg = Source->MLCommentBeg;
        MLCommentEnd = Source->MLCommentEnd;
        ELCommentBeg = Source->ELCommentBeg;
        ELCommentEnd = Source->ELCommentEnd;
        HexPrefix = Source->HexPrefix;
        DecimalPoint = Source->DecimalPoint;
        Reference = Source->Reference;
        Dereference = Source->Dereference;
        Switches = Source->Switches;
        for (int i = 0; i < TokenKindCount; ++i)
            FSlots[i] = Source->FSlots[i];
        if (lines)
            lines->TokenizeAllPending();
    };
    if (lines)
        WithinUpdate(lines, copy);
    else
        copy();
}

bool TMPSyntaxAttributes::Equals(TToken a, TToken b) const {
    const TMPTokenStyle x = GetTokenStyle(a), y = GetTokenStyle(b);
    return x.Fore == y.Fore && x.Back == y.Back && x.Style == y.Style;
}

TMPColor TMPSyntaxAttributes::GetColor(TToken Kind, bool Back) const {
    const TMPTokenStyle s = GetTokenStyle(Kind);
    return Back ? s.Back : s.Fore;
}

void TMPSyntaxAttributes::SetColor(TToken Kind, bool Back, TMPColor Color) {
    if (Kind >= TokenKindCount)
        return;
    (Back ? FSlots[Kind].Back : FSlots[Kind].Fore) = Color;
}

TMPStyle TMPSyntaxAttributes::GetStyle(TToken Kind) const { return GetTokenStyle(Kind).Style; }

void TMPSyntaxAttributes::SetStyle(TToken Kind, TMPStyle Style) {
    if (Kind < TokenKindCount)
        FSlots[Kind].Style = Style;
}

TMPTokenStyle TMPSyntaxAttributes::GetTokenStyle(TToken Kind) const {
    return Kind < TokenKindCount ? FSlots[Kind] : TMPTokenStyle{};
}

void TMPSyntaxAttributes::CopyAttrs(TToken Source, int Last, const TToken* Kinds) {
    if (Source >= TokenKindCount || !Kinds)
        return;
    for (int i = 0; i <= Last; ++i)
        if (Kinds[i] < TokenKindCount)
            FSlots[Kinds[i]] = FSlots[Source];
}

void TMPSyntaxAttributes::SaveToFile(const std::string& FileName) const {
    TStringList L;
    L.Add("SyntaxVersion=1.0");
    L.Add(std::string("LitString=") + StringQuote);
    L.Add("LitILComment=" + ILComment);
    L.Add("LitMLCommentB=" + MLCommentBeg);
    L.Add("LitMLCommentE=" + MLCommentEnd);
    L.Add("LitELCommentB=" + ELCommentBeg);
    L.Add("LitELCommentE=" + ELCommentEnd);
    L.Add("LitHexPrefix=" + HexPrefix);
    L.Add(std::string("LitDecimalPoint=") + DecimalPoint);
    L.Add(std::string("LitReference=") + Reference);
    L.Add(std::string("LitDereference=") + Dereference);
    for (const SwitchKey& k : SwitchKeys)
        L.Add(std::string(k.Name) + "=" + BoolWords[Has(k.Bit)]);
    for (int i = 0; i < TokenKindCount; ++i) {
        const std::string n = IntToStr(i);
        if (FSlots[i].Fore != mpclNone)
            L.Add("Fore" + n + "=" + IntToStr(FSlots[i].Fore));
        if (FSlots[i].Back != mpclNone)
            L.Add("Back" + n + "=" + IntToStr(FSlots[i].Back));
        for (const StyleKey& k : StyleKeys)
            if (FSlots[i].Style & k.Bit)
                L.Add(std::string(k.Name) + n + "=" + BoolWords[1]);
    }
    L.SaveToFile(FileName);
}

void TMPSyntaxAttributes::LoadFromFile(const std::string& FileName) {
    TStringList L;
    L.LoadFromFile(FileName);
    const auto values = ReadValues(L);
    auto value = [&](const std::string& key, std::string& out) {
        auto it = values.find(UpperCase(key));
        if (it == values.end())
            return false;
        out = it->second;
        return true;
    };
    auto apply = [&] {
        std::string v;
        // A missing or empty one-character key keeps the value it had.
        const std::pair<const char*, char*> chars[] = {{"LitString", &StringQuote},
                                                       {"LitDecimalPoint", &DecimalPoint},
                                                       {"LitReference", &Reference},
                                                       {"LitDereference", &Dereference}};
        for (auto [key, field] : chars)
            if (value(key, v) && !v.empty())
                *field = v[0];
        const std::pair<const char*, std::string*> strs[] = {
            {"LitILComment", &ILComment},     {"LitMLCommentB", &MLCommentBeg},
            {"LitMLCommentE", &MLCommentEnd}, {"LitELCommentB", &ELCommentBeg},
            {"LitELCommentE", &ELCommentEnd}, {"LitHexPrefix", &HexPrefix}};
        for (auto [key, field] : strs)
            *field = value(key, v) ? v : std::string();
        Switches = 0;
        for (const SwitchKey& k : SwitchKeys)
            if (value(k.Name, v) && v == BoolWords[1])
                Switches |= k.Bit;
        for (int i = 0; i < TokenKindCount; ++i) {
            const std::string n = IntToStr(i);
            int c = 0;
            FSlots[i].Fore = value("Fore" + n, v) && TryStrToInt(v, c) ? c : mpclNone;
            FSlots[i].Back = value("Back" + n, v) && TryStrToInt(v, c) ? c : mpclNone;
            FSlots[i].Style = 0;
            for (const StyleKey& k : StyleKeys)
                if (value(k.Name + n, v) && v == BoolWords[1])
                    FSlots[i].Style |= k.Bit;
        }
        if (FOwner)
            FOwner->Lines()->TokenizeAllPending();
    };
    if (FOwner)
        WithinUpdate(FOwner->Lines(), apply);
    else
        apply();
}
