// Script editor, text model: caret and selection, the one place where text is edited, with the
// undo list, the clipboard forms and the section commands at the caret.
#include <algorithm>

#include "SynMemoModel.h"

namespace {

// Where the run of blanks (codes up to 32) that ends s starts: what a caret leaving a line cuts.
size_t FinalBlanks(std::string_view s) {
    size_t n = s.size();
    while (n && static_cast<unsigned char>(s[n - 1]) <= 32)
        --n;
    return n;
}

std::vector<std::string> SplitLines(std::string_view Text) {
    std::vector<std::string> out;
    size_t p = 0;
    for (;;) {
        const size_t e = Text.find_first_of("\r\n", p);
        if (e == std::string_view::npos) {
            out.emplace_back(Text.substr(p));
            return out;
        }
        out.emplace_back(Text.substr(p, e - p));
        p = e + 1;
        if (Text[e] == '\r' && p < Text.size() && Text[p] == '\n')
            ++p;
    }
}

std::string JoinLines(const std::vector<std::string>& Lines) {
    std::string out;
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (i)
            out += "\r\n";
        out += Lines[i];
    }
    return out;
}

} // namespace

TMPSynMemoUndoItem::~TMPSynMemoUndoItem() {
    if (Sections)
        Sections->Release();
}

TMPSynMemoRange::TMPSynMemoRange(TMPSynMemoCore* AOwner) : FOwner(AOwner) {}

TMPSynMemoRange::~TMPSynMemoRange() { FUndo.clear(); }

void TMPSynMemoRange::SetPos(TMPPos P) {
    if (P == FCaret)
        return;
    TMPSynMemoStrings* L = FOwner->Lines();
    WithinUpdate(L, [&] {
        const int old = FCaret.Y;
        if (P.Y != FCaret.Y)
            CutFinalSpaces();
        if (P.Y < 0)
            P.Y = 0;
        if (L->Count() == 0)
            P = {0, 0};
        else if (P.Y >= L->Count())
            P = {0, L->Count() - 1};
        P.X = std::max(P.X, 0);
        FCaret = P;
        if (FNoSelection)
            FStart = FEnd = FCaret;
        FOwner->CaretMoved(old);
        FOwner->Changed(TChangedItems{ciSelection});
    });
}

void TMPSynMemoRange::SetRange(int Which, int Value) {
    if (Which == 0)
        SetPosX(Value);
    else if (Which == 1)
        SetPosY(Value);
}

void TMPSynMemoRange::Collapse() {
    const int from = FStart.Y, to = FEnd.Y;
    const bool had = !IsEmpty();
    FStart = FEnd = FCaret;
    FNoSelection = true;
    if (!had)
        return;
    if (to - from > 200)
        FOwner->InvalidateAll();
    else
        for (int y = from; y <= to; ++y)
            FOwner->InvalidateLine(y);
}

void TMPSynMemoRange::AfterMove(int OldLine) {
    const int a = std::min(OldLine, FCaret.Y), b = std::max(OldLine, FCaret.Y);
    if (b - a > 200)
        FOwner->InvalidateAll();
    else
        for (int y = a; y <= b; ++y)
            FOwner->InvalidateLine(y);
}

void TMPSynMemoRange::Enlarge(int Delta, bool Vertical, bool VisibleLines) {
    TMPSynMemoStrings* L = FOwner->Lines();
    if (L->Count() == 0)
        return;
    WithinUpdate(L, [&] {
        FNoSelection = false;
        const bool atStart = FCaret == FStart;
        TMPPos target = FCaret;
        if (Vertical) {
            int y = VisibleLines ? FOwner->MoveLines(FCaret.Y, Delta, true)
                                 : std::clamp(FCaret.Y + Delta, 0, L->Count() - 1);
            target.Y = y < 0 ? FCaret.Y : y;
        } else {
            target.X = std::clamp(FCaret.X + Delta, 0, L->LineLength(FCaret.Y));
        }
        (atStart ? FStart : FEnd) = target;
        if (FEnd < FStart)
            std::swap(FStart, FEnd);
        const int old = FCaret.Y;
        SetPos(target);
        AfterMove(old);
    });
}

std::string TMPSynMemoRange::GetText() const {
    if (IsEmpty())
        return {};
    const TMPSynMemoStrings* L = FOwner->Lines();
    auto part = [&](int y, int from, int to) {
        const std::string_view s = L->Line(y);
        from = std::clamp(from, 0, int(s.size()));
        to = std::clamp(to, from, int(s.size()));
        return std::string(s.substr(size_t(from), size_t(to - from)));
    };
    if (FStart.Y == FEnd.Y)
        return part(FStart.Y, FStart.X, FEnd.X);
    std::string out = part(FStart.Y, FStart.X, 1 << 30);
    for (int y = FStart.Y + 1; y < FEnd.Y; ++y)
        out += "\r\n" + std::string(L->Line(y));
    return out + "\r\n" + part(FEnd.Y, 0, FEnd.X);
}

void TMPSynMemoRange::SetText(const std::string& Text) {
    TMPSynMemoStrings* L = FOwner->Lines();
    WithinUpdate(L, [&] {
        if (L->Count() == 0)
            L->Add("");
        FStart.Y = std::clamp(FStart.Y, 0, L->Count() - 1);
        FEnd.Y = std::clamp(FEnd.Y, FStart.Y, L->Count() - 1);
        std::string first = L->Get(FStart.Y);
        if (IsEmpty()) {
            // Text typed at a caret past the end of its line fills the gap with spaces first.
            if (FStart.X > int(first.size())) {
                first.resize(size_t(FStart.X), ' ');
                L->Put(FStart.Y, first);
            }
        } else {
            // A selection starting in the blank past the end replaces from the end: no blanks come in.
            FStart.X = std::min(FStart.X, int(first.size()));
        }
        const std::string lastLine = FEnd.Y == FStart.Y ? first : L->Get(FEnd.Y);
        const std::string prefix = first.substr(0, size_t(FStart.X));
        const std::string suffix = lastLine.substr(std::min(size_t(std::max(FEnd.X, 0)), lastLine.size()));
        std::vector<std::string> lines = SplitLines(Text);
        const int added = int(lines.size());
        const TMPPos insEnd = added == 1 ? TMPPos{FStart.X + int(lines[0].size()), FStart.Y}
                                         : TMPPos{int(lines.back().size()), FStart.Y + added - 1};
        if (!(L->Pending & pwSuspended)) {
            const std::string replaced = GetText();
            TMPSynMemoUndoItem* rec = AddUndo(replaced);
            rec->SelEnd = insEnd;
            rec->Text = replaced;
            rec->Blank = prefix.substr(FinalBlanks(prefix));
        }
        lines.front().insert(0, prefix);
        lines.back() += suffix;
        const int removed = FEnd.Y - FStart.Y + 1;
        const int y0 = FStart.Y;
        for (int k = 0; k < std::min(added, removed); ++k)
            L->Put(y0 + k, lines[size_t(k)]);
        for (int k = removed; k < added; ++k)
            L->Insert(y0 + k, lines[size_t(k)]);
        for (int k = added; k < removed; ++k)
            L->Delete(y0 + added);
        FCaret.Y = y0;
        FNoSelection = true;
        FStart = FEnd = FCaret;
        SetPos(insEnd);
        FStart = FEnd = FCaret = insEnd;
    });
}

std::string TMPSynMemoRange::GetMarkedText() const {
    if (IsEmpty())
        return {};
    const TMPSynMemoStrings* L = FOwner->Lines();
    const TMPSynMemoSections* S = FOwner->Sections();
    const int wholeFirst = FStart.X == 0 ? FStart.Y : FStart.Y + 1;
    const int wholeLast = FEnd.Y > FStart.Y && FEnd.X >= L->LineLength(FEnd.Y) ? FEnd.Y : FEnd.Y - 1;
    auto marker = [&](int y) {
        if (y < wholeFirst || y > wholeLast)
            return std::string();
        const TMPSynMemoSection* s = S->SectionOfLine(y);
        if (s == S->EntireSection() || s->FirstLine < wholeFirst || s->LastLine > wholeLast)
            return std::string();
        std::string m;
        if (s->LastLine == y)
            m = FoldMarkers[3];
        if (s->FirstLine == y)
            m += StartMarkers[s->Collapsed ? 1 : 0];
        return m;
    };
    auto part = [&](int y, int from, int to) {
        const std::string_view s = L->Line(y);
        from = std::clamp(from, 0, int(s.size()));
        to = std::clamp(to, from, int(s.size()));
        return std::string(s.substr(size_t(from), size_t(to - from)));
    };
    if (FStart.Y == FEnd.Y)
        return part(FStart.Y, FStart.X, FEnd.X);
    std::string out = marker(FStart.Y) + part(FStart.Y, FStart.X, 1 << 30);
    for (int y = FStart.Y + 1; y < FEnd.Y; ++y)
        out += "\r\n" + marker(y) + std::string(L->Line(y));
    return out + "\r\n" + marker(FEnd.Y) + part(FEnd.Y, 0, FEnd.X);
}

void TMPSynMemoRange::SetMarkedText(const std::string& Text) {
    struct Found {
        int First, Last;
        bool Collapsed;
    };
    std::vector<std::string> lines = SplitLines(Text);
    std::vector<Found> found, open;
    for (int k = 0; k < int(lines.size()); ++k) {
        std::string& line = lines[size_t(k)];
        const int kind = MarkerKind(line);
        const int next = kind == 3 ? MarkerKind(std::string_view(line).substr(FoldMarkerLength)) : 0;
        if (next == 1 || next == 2) {
            found.push_back({k, k, next == 2});
            line.erase(0, 2 * FoldMarkerLength);
        } else if (kind == 1 || kind == 2) {
            open.push_back({k, -1, kind == 2});
            line.erase(0, FoldMarkerLength);
        } else if (kind == 3) {
            if (!open.empty()) {
                found.push_back({open.back().First, k, open.back().Collapsed});
                open.pop_back();
            }
            line.erase(0, FoldMarkerLength);
        }
    }
    WithinUpdate(FOwner->Lines(), [&] {
        const int base = FStart.Y;
        SetText(JoinLines(lines));
        FOwner->Sections()->Recalculate();
        for (const Found& f : found)
            FOwner->Sections()->Create(base + f.First, base + f.Last, f.Collapsed);
    });
}

void TMPSynMemoRange::Delete() {
    TMPSynMemoStrings* L = FOwner->Lines();
    if (L->Count() == 0)
        return;
    if (!IsEmpty()) {
        SetText("");
        return;
    }
    const int len = L->LineLength(FCaret.Y);
    if (FCaret.Y == 0 && len == 0 && L->Count() == 1)
        return;
    if (FCaret.Y >= L->Count() - 1 && FCaret.X >= len)
        return;
    FStart = FCaret;
    FEnd = FCaret.X < len ? TMPPos{FCaret.X + 1, FCaret.Y} : TMPPos{0, FCaret.Y + 1};
    FNoSelection = false;
    SetText("");
}

void TMPSynMemoRange::CutFinalSpaces(int) {
    TMPSynMemoStrings* L = FOwner->Lines();
    const std::string_view s = L->Line(FCaret.Y);
    const size_t n = FinalBlanks(s);
    if (n != s.size())
        L->PutQuiet(FCaret.Y, s.substr(0, n));
}

void TMPSynMemoRange::CopyToClipboard() {
    if (IsEmpty())
        return;
    const bool marked = !FOwner->Options().Contains(smoSkipSectionsOnCopy);
    FOwner->Clipboard()->Put(GetText(), marked ? GetMarkedText() : std::string());
}

void TMPSynMemoRange::CutToClipBoard() {
    if (FOwner->Options().Contains(smoReadOnly) || IsEmpty())
        return;
    CopyToClipboard();
    SetText("");
}

void TMPSynMemoRange::PasteFromClipboard() {
    if (FOwner->Options().Contains(smoReadOnly))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        std::string text;
        if (!FOwner->Options().Contains(smoSkipSectionsOnPaste) && FOwner->Clipboard()->GetMarked(text))
            SetMarkedText(text);
        else if (FOwner->Clipboard()->GetPlain(text))
            SetText(text);
    });
}

TMPSynMemoUndoItem* TMPSynMemoRange::AddUndo(const std::string& Text) {
    auto rec = std::make_unique<TMPSynMemoUndoItem>();
    rec->Caret = FCaret;
    rec->SelStart = FStart;
    rec->SelEnd = FEnd;
    rec->NoSelection = FNoSelection;
    rec->Text = Text;
    rec->Sections = FOwner->Sections()->EntireSection();
    rec->Sections->AddRef();
    if (FMaxUndo < 1) {
        // Nothing is kept; the caller still completes a record.
        FDiscarded = std::move(rec);
        return FDiscarded.get();
    }
    while (int(FUndo.size()) >= FMaxUndo)
        FUndo.erase(FUndo.begin());
    FUndo.push_back(std::move(rec));
    FOwner->Changed(TChangedItems{ciUndo});
    return FUndo.back().get();
}

void TMPSynMemoRange::DoUndo() {
    if (!CanUndo())
        return;
    TMPSynMemoStrings* L = FOwner->Lines();
    WithinUpdate(L, [&] {
        std::unique_ptr<TMPSynMemoUndoItem> rec = std::move(FUndo.back());
        FUndo.pop_back();
        FStart = rec->SelStart;
        FEnd = rec->SelEnd;
        if (FEnd < FStart)
            std::swap(FStart, FEnd);
        FNoSelection = rec->NoSelection;
        L->Pending |= pwSuspended;
        try {
            RestoreBlank(rec->Blank);
            SetText(rec->Text);
        } catch (...) {
            L->Pending &= std::uint8_t(~pwSuspended);
            throw;
        }
        L->Pending &= std::uint8_t(~pwSuspended);
        FOwner->Sections()->ReplaceEntireSection(rec->Sections);
        SetPos(rec->Caret);
        rec.reset();
        FOwner->Changed(TChangedItems{ciUndo});
        L->Pending |= pwRecalcSections;
    });
}

void TMPSynMemoRange::RestoreBlank(const std::string& Blank) {
    TMPSynMemoStrings* L = FOwner->Lines();
    if (!L->ValidIndex(FStart.Y))
        return;
    std::string line = L->Get(FStart.Y);
    if (FStart.X <= int(line.size()))
        return;
    const size_t gap = size_t(FStart.X) - line.size();
    line += Blank.size() >= gap ? Blank.substr(Blank.size() - gap) : std::string(gap, ' ');
    L->Put(FStart.Y, line);
}

void TMPSynMemoRange::ClearUndo() {
    FUndo.clear();
    FDiscarded.reset();
    FOwner->Changed(TChangedItems{ciUndo});
}

void TMPSynMemoRange::SetMaxUndoDepth(int Depth) {
    Depth = std::max(Depth, 0);
    while (int(FUndo.size()) > Depth)
        FUndo.erase(FUndo.begin());
    FMaxUndo = Depth;
}

void TMPSynMemoRange::PushSectionUndo() {
    TMPSynMemoUndoItem* rec = AddUndo("");
    rec->SelStart = rec->SelEnd = FCaret;
}

void TMPSynMemoRange::CollapseSection(bool Flag) {
    TMPSynMemoSections* S = FOwner->Sections();
    S->RecalculateIfPending();
    const TMPSynMemoSection* s = S->SectionOfLine(FCaret.Y);
    if (s == S->EntireSection() || !FOwner->Lines()->ValidIndex(FCaret.Y))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        const int first = s->FirstLine;
        if (first != FCaret.Y)
            SetPos({0, first});
        PushSectionUndo();
        S->Collapse(first, Flag, Flag);
    });
}

void TMPSynMemoRange::ExpandSection(bool Flag) {
    if (!FOwner->Lines()->ValidIndex(FCaret.Y))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        PushSectionUndo();
        FOwner->Sections()->Expand(FCaret.Y, Flag, false);
    });
}

void TMPSynMemoRange::ExplodeSection(bool Flag) {
    if (!FOwner->Lines()->ValidIndex(FCaret.Y))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        Collapse();
        PushSectionUndo();
        FOwner->Sections()->Explode(FCaret.Y, Flag);
    });
}

void TMPSynMemoRange::CreateSection() {
    TMPSynMemoStrings* L = FOwner->Lines();
    TMPSynMemoSections* S = FOwner->Sections();
    if (!L->ValidIndex(FStart.Y) || !L->ValidIndex(FEnd.Y))
        return;
    WithinUpdate(L, [&] {
        S->RecalculateIfPending();
        if (FStart.Y == FEnd.Y && S->LineKind(FCaret.Y) == 0) {
            Collapse();
            TMPSynMemoUndoItem* rec = AddUndo("");
            rec->SelStart = {L->LineLength(FCaret.Y), FCaret.Y};
            rec->SelEnd = {0, FCaret.Y + 1};
            L->Insert(FCaret.Y + 1, "");
            S->Create(FCaret.Y, FCaret.Y + 1, false);
        } else if (FStart.Y != FEnd.Y && S->LineKind(FStart.Y) == 0 && S->LineKind(FEnd.Y) == 0) {
            PushSectionUndo();
            S->Create(FStart.Y, FEnd.Y, false);
            Collapse();
        }
        SetPos({0, FCaret.Y});
    });
}

void TMPSynMemoRange::GotoSection(bool Forward) {
    TMPSynMemoSections* S = FOwner->Sections();
    S->RecalculateIfPending();
    TMPSynMemoSection* s = S->SectionOfLine(FCaret.Y);
    do
        s = Forward ? S->NextSection(s) : S->PrevSection(s);
    while (s && !S->IsVisible(s));
    if (s)
        SetPos({0, s->FirstLine});
}

void TMPSynMemoRange::Select(TMPPos From, TMPPos To) {
    const TMPSynMemoStrings* L = FOwner->Lines();
    auto valid = [&](TMPPos p) {
        if (L->Count() == 0)
            return TMPPos{};
        p.Y = std::clamp(p.Y, 0, L->Count() - 1);
        p.X = std::max(p.X, 0);
        return p;
    };
    From = valid(From);
    To = valid(To);
    FStart = std::min(From, To);
    FEnd = std::max(From, To);
    FNoSelection = From == To;
    FCaret = To;
    FOwner->InvalidateAll();
    FOwner->Changed(TChangedItems{ciSelection});
}

void TMPSynMemoRange::SelectOffsets(int From, int To) {
    const TMPSynMemoStrings* L = FOwner->Lines();
    TMPPos a, b;
    L->PositionOfOffset(From, a.X, a.Y);
    L->PositionOfOffset(To, b.X, b.Y);
    const TMPPos caret = FCaret;
    Select(a, b);
    FCaret = caret;
}

void TMPSynMemoRange::SelectAll() {
    SetPosition(0);
    const TMPSynMemoStrings* L = FOwner->Lines();
    if (L->Count())
        SelectOffsets(0, L->OffsetOfPosition(L->Count() - 1, L->LineLength(L->Count() - 1)));
}

void TMPSynMemoRange::SelectFromStart() {
    SelectOffsets(0, FOwner->Lines()->OffsetOfPosition(FCaret.Y, FCaret.X));
}

void TMPSynMemoRange::SelectToEnd() {
    const TMPSynMemoStrings* L = FOwner->Lines();
    if (L->Count())
        SelectOffsets(L->OffsetOfPosition(FCaret.Y, FCaret.X),
                      L->OffsetOfPosition(L->Count() - 1, L->LineLength(L->Count() - 1)));
}

int TMPSynMemoRange::GetPosition() const { return FOwner->Lines()->OffsetOfPosition(FStart.Y, FStart.X); }

void TMPSynMemoRange::SetPosition(int Offset) {
    Collapse();
    TMPPos p;
    FOwner->Lines()->PositionOfOffset(Offset, p.X, p.Y);
    SetPos(p);
}

int TMPSynMemoRange::GetLength() const {
    const TMPSynMemoStrings* L = FOwner->Lines();
    return L->OffsetOfPosition(FEnd.Y, FEnd.X) - L->OffsetOfPosition(FStart.Y, FStart.X);
}

void TMPSynMemoRange::SetLength(int Count) {
    const int from = GetPosition();
    SelectOffsets(from, from + std::max(Count, 0));
}

void TMPSynMemoRange::Reset() {
    FStart = FEnd = FCaret = TMPPos{};
    FNoSelection = true;
    ClearUndo();
}
