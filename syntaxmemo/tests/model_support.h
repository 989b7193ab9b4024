// Helpers for the text-model tests of the script editor: a model without a widget, loading text,
// showing lines and tokens as short strings.
#pragma once

#include <ostream>
#include <string>

#include "SynMemoModel.h"

// Loads Text (lines split at CR LF / LF) as a file load does: fold markers are read and stripped.
inline void LoadText(TMPSynMemoCore& C, const std::string& Text) {
    TStringStream s(Text);
    C.Lines()->LoadFromStream(&s);
}

// A position in test messages as (column, line).
inline void PrintTo(const TMPPos& p, std::ostream* os) { *os << '(' << p.X << ", " << p.Y << ')'; }

// The lines joined by "|".
inline std::string Joined(const TMPSynMemoCore& C) {
    std::string out;
    for (int i = 0; i < C.Lines()->Count(); ++i)
        out += (i ? "|" : "") + C.Lines()->Get(i);
    return out;
}

// "text/kind" for every token of the list, separated by blanks.
inline std::string Runs(const TMPSyntaxParser& P, std::string_view Line) {
    std::string out;
    for (const TMPSyntaxToken& t : P.Tokens()) {
        if (!out.empty())
            out += ' ';
        out += std::string(Line.substr(t.Start, t.Length)) + "/" + std::to_string(t.Kind);
    }
    return out;
}

inline std::string LineRuns(const TMPSynMemoCore& C, int Line) {
    const TMPSyntaxParser* p = C.Lines()->TokenListOf(Line);
    return p ? Runs(*p, C.Lines()->Line(Line)) : "<none>";
}

// Sections in tree order as "first-last" ("c" when collapsed), separated by blanks.
inline std::string SectionList(const TMPSynMemoCore& C) {
    std::string out;
    const TMPSynMemoSections* S = C.Sections();
    for (TMPSynMemoSection* s = S->NextSection(S->EntireSection()); s; s = S->NextSection(s)) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(s->FirstLine) + "-" + std::to_string(s->LastLine) + (s->Collapsed ? "c" : "") +
               "@" + std::to_string(s->Level);
    }
    return out;
}

inline std::string VisibleList(const TMPSynMemoCore& C) {
    C.Sections()->RecalculateIfPending();
    std::string out;
    for (int l : C.Sections()->VisibleLines())
        out += (out.empty() ? "" : ",") + std::to_string(l);
    return out;
}
