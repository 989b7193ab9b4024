// Script editor, text model: folding sections (a tree under the whole-text section), their fold
// markers in text, and the list of visible lines.
#include <algorithm>

#include "SynMemoModel.h"

// ---- TMPSynMemoSection ---------------------------------------------------------------------------

TMPSynMemoSection::TMPSynMemoSection(TMPSynMemoSection* AParent, int AFirst, int ALast, bool ACollapsed)
    : Parent(AParent), FirstLine(AFirst), LastLine(ALast), Level(AParent ? AParent->Level + 1 : 0),
      Collapsed(ACollapsed) {}

TMPSynMemoSection::~TMPSynMemoSection() {
    for (TMPSynMemoSection* c : FChildren)
        delete c;
}

TMPSynMemoSection* TMPSynMemoSection::Item(int Index) const {
    return Index >= 0 && Index < Count() ? FChildren[size_t(Index)] : nullptr;
}

int TMPSynMemoSection::IndexOf(const TMPSynMemoSection* Child) const {
    auto it = std::find(FChildren.begin(), FChildren.end(), Child);
    return it == FChildren.end() ? -1 : int(it - FChildren.begin());
}

void TMPSynMemoSection::Insert(int Index, TMPSynMemoSection* Child) {
    Index = std::clamp(Index, 0, Count());
    FChildren.insert(FChildren.begin() + Index, Child);
    Child->Parent = this;
}

TMPSynMemoSection* TMPSynMemoSection::Extract(TMPSynMemoSection* Child) {
    const int i = IndexOf(Child);
    if (i < 0)
        return nullptr;
    FChildren.erase(FChildren.begin() + i);
    return Child;
}

void TMPSynMemoSection::SetLevel(int Value) {
    Level = Value;
    for (TMPSynMemoSection* c : FChildren)
        c->SetLevel(Value + 1);
}

void TMPSynMemoSection::Release() {
    if (--RefCount < 1)
        delete this;
}

TMPSMSectionClone::TMPSMSectionClone(const TMPSynMemoSection* Source, TMPSynMemoSection* AParent)
    : TMPSynMemoSection(AParent, Source->FirstLine, Source->LastLine, Source->Collapsed) {
    Level = Source->Level;
    for (int i = 0; i < Source->Count(); ++i)
        Insert(Count(), new TMPSMSectionClone(Source->Item(i), this));
}

// ---- TMPSynMemoSections --------------------------------------------------------------------------

TMPSynMemoSections::TMPSynMemoSections(TMPSynMemoCore* AOwner) : FOwner(AOwner) { ParseMarkers(); }

TMPSynMemoSections::~TMPSynMemoSections() {
    if (FEntire)
        FEntire->Release();
}

TMPSynMemoSection* TMPSynMemoSections::SectionOfLine(int Line) const {
    TMPSynMemoSection* s = FEntire;
    for (;;) {
        TMPSynMemoSection* inner = nullptr;
        int lo = 0, hi = s->Count() - 1;
        // The last child that starts at or before Line.
        while (lo <= hi) {
            const int mid = (lo + hi) / 2;
            if (s->Item(mid)->FirstLine <= Line) {
                inner = s->Item(mid);
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        if (!inner || inner->LastLine < Line)
            return s;
        s = inner;
    }
}

int TMPSynMemoSections::LineKind(int Line) const {
    const TMPSynMemoSection* s = SectionOfLine(Line);
    if (s == FEntire)
        return 0;
    if (s->FirstLine == Line)
        return s->Collapsed ? 2 : 1;
    return s->LastLine == Line ? 3 : 0;
}

TMPSynMemoSection* TMPSynMemoSections::NextSection(TMPSynMemoSection* S) const {
    if (!S)
        return nullptr;
    if (S->Count())
        return S->Item(0);
    while (S->Parent) {
        TMPSynMemoSection* next = S->Parent->Item(S->Parent->IndexOf(S) + 1);
        if (next)
            return next;
        S = S->Parent;
    }
    return nullptr;
}

TMPSynMemoSection* TMPSynMemoSections::PrevSection(TMPSynMemoSection* S) const {
    if (!S || !S->Parent)
        return nullptr;
    TMPSynMemoSection* prev = S->Parent->Item(S->Parent->IndexOf(S) - 1);
    if (!prev)
        return S->Parent;
    while (prev->Count())
        prev = prev->Item(prev->Count() - 1);
    return prev;
}

bool TMPSynMemoSections::IsVisible(TMPSynMemoSection* S) {
    RecalculateIfPending();
    return S && VisibleIndexOf(S->FirstLine) >= 0;
}

int TMPSynMemoSections::VisibleIndexOf(int Line) const {
    auto it = std::lower_bound(FVisible.begin(), FVisible.end(), Line);
    return it != FVisible.end() && *it == Line ? int(it - FVisible.begin()) : -1;
}

int TMPSynMemoSections::LineAtVisibleIndex(int Index) const {
    return Index >= 0 && Index < int(FVisible.size()) ? FVisible[size_t(Index)] : -1;
}

void TMPSynMemoSections::RecalculateIfPending() {
    if (FOwner->Lines()->Pending & pwRecalcSections)
        Recalculate();
}

void TMPSynMemoSections::CopyBeforeChange() {
    if ((FOwner->Lines()->Pending & pwSuspended) || FEntire->RefCount <= 1)
        return;
    TMPSynMemoSection* copy = new TMPSMSectionClone(FEntire, nullptr);
    copy->AddRef();
    FEntire->Release();
    FEntire = copy;
}

void TMPSynMemoSections::ReplaceEntireSection(TMPSynMemoSection* S) {
    if (!S || S == FEntire)
        return;
    S->AddRef();
    FEntire->Release();
    FEntire = S;
    Recalculate();
}

void TMPSynMemoSections::Emit(const TMPSynMemoSection* S, int From, int To, std::vector<int>& Out) {
    int pos = From;
    for (int i = 0; i < S->Count(); ++i) {
        const TMPSynMemoSection* c = S->Item(i);
        const int first = std::max(c->FirstLine, pos), last = std::min(c->LastLine, To);
        if (first > last)
            continue;
        for (; pos < first; ++pos)
            Out.push_back(pos);
        FMaxLevel = std::max(FMaxLevel, c->Level);
        if (c->Collapsed)
            Out.push_back(first);
        else
            Emit(c, first, last, Out);
        pos = last + 1;
    }
    for (; pos <= To; ++pos)
        Out.push_back(pos);
}

void TMPSynMemoSections::Recalculate() {
    const int count = FOwner->Lines()->Count();
    FEntire->LastLine = count - 1;
    FMaxLevel = 0;
    FVisible.clear();
    FVisible.reserve(size_t(count));
    Emit(FEntire, 0, count - 1, FVisible);
    FRecordedMaxLevel = std::max(FRecordedMaxLevel, FMaxLevel);
    FOwner->Lines()->Pending &= std::uint8_t(~pwRecalcSections);
    FOwner->InvalidateAll();
    FOwner->Changed(TChangedItems{ciSections});
}

void TMPSynMemoSections::ParseMarkers() {
    TMPSynMemoStrings* L = FOwner->Lines();
    TMPSynMemoSection* root = new TMPSynMemoSection(nullptr, -1, L->Count() - 1, false);
    root->AddRef();
    if (FEntire)
        FEntire->Release();
    FEntire = root;
    std::vector<TMPSynMemoSection*> open;
    TMPSynMemoSection* cur = root;
    auto strip = [&](int i, int n) { L->FLines[size_t(i)].DropPrefix(std::uint32_t(n)); };
    auto insertRaw = [&](int at, const char* text) {
        L->FLines.insert(L->FLines.begin() + at, TMPSynMemoStrings::LineRec())->Set(text);
    };
    for (int i = 0;; ++i) {
        if (i >= L->Count()) {
            if (open.empty())
                break;
            // Close what is still open at lines of its own.
            insertRaw(L->Count(), FoldMarkers[3]);
        }
        const std::string_view line = L->Line(i);
        const int kind = MarkerKind(line);
        const int next = kind == 3 ? MarkerKind(line.substr(FoldMarkerLength)) : 0;
        if (next == 1 || next == 2) {
            // "{>>}{<+}": a section of this one line, as saving writes it.
            cur->Insert(cur->Count(), new TMPSynMemoSection(cur, i, i, next == 2));
            strip(i, 2 * FoldMarkerLength);
        } else if (kind == 1 || kind == 2) {
            auto* s = new TMPSynMemoSection(cur, i, -1, kind == 2);
            cur->Insert(cur->Count(), s);
            open.push_back(s);
            cur = s;
            strip(i, FoldMarkerLength);
        } else if (kind == 3) {
            if (open.empty()) {
                // An end without a start: a start line goes before it and the walk reads it next.
                insertRaw(i, FoldMarkers[1]);
                --i;
                continue;
            }
            open.back()->LastLine = i;
            open.pop_back();
            cur = cur->Parent;
            strip(i, FoldMarkerLength);
        }
    }
    root->LastLine = L->Count() - 1;
    L->Pending |= pwRecalcSections;
}

void TMPSynMemoSections::WriteMarkers(TStrings* Target) const {
    const int n = Target->Count();
    for (TMPSynMemoSection* s = NextSection(FEntire); s; s = NextSection(s)) {
        if (s->FirstLine < 0 || s->LastLine >= n || s->FirstLine > s->LastLine)
            continue;
        Target->Put(s->FirstLine, StartMarkers[s->Collapsed ? 1 : 0] + Target->Get(s->FirstLine));
        Target->Put(s->LastLine, FoldMarkers[3] + Target->Get(s->LastLine));
    }
}

void TMPSynMemoSections::Shift(TMPSynMemoSection* S, int Index, int Delta) {
    for (int i = 0; i < S->Count(); ++i) {
        TMPSynMemoSection* c = S->Item(i);
        if (c->LastLine < Index)
            continue;
        if (Delta > 0) {
            if (c->FirstLine >= Index)
                c->FirstLine += Delta;
            c->LastLine += Delta;
        } else {
            if (c->FirstLine > Index)
                c->FirstLine += Delta;
            if (c->LastLine > Index)
                c->LastLine += Delta;
        }
        Shift(c, Index, Delta);
    }
}

void TMPSynMemoSections::LineInserted(int Index) {
    CopyBeforeChange();
    Shift(FEntire, Index, 1);
    FOwner->Lines()->Pending |= pwSectionsChanged | pwRecalcSections;
}

void TMPSynMemoSections::LineDeleted(int Index) {
    CopyBeforeChange();
    while (LineKind(Index) != 0)
        ExplodeSection(SectionOfLine(Index), false);
    Shift(FEntire, Index, -1);
    FOwner->Lines()->Pending |= pwSectionsChanged | pwRecalcSections;
}

void TMPSynMemoSections::SetSubtree(TMPSynMemoSection* S, bool Collapsed, bool Self, bool Recursive) {
    if (Self && S != FEntire)
        S->Collapsed = Collapsed;
    if (Recursive)
        for (int i = 0; i < S->Count(); ++i)
            SetSubtree(S->Item(i), Collapsed, true, true);
}

void TMPSynMemoSections::Collapse(int Line, bool Recursive, bool ExceptSelf) {
    if (!FOwner->Lines()->ValidIndex(Line))
        return;
    RecalculateIfPending();
    WithinUpdate(FOwner->Lines(), [&] {
        CopyBeforeChange();
        SetSubtree(SectionOfLine(Line), true, !ExceptSelf, Recursive);
        Recalculate();
    });
}

void TMPSynMemoSections::Expand(int Line, bool Recursive, bool OpenParents) {
    if (!FOwner->Lines()->ValidIndex(Line))
        return;
    RecalculateIfPending();
    WithinUpdate(FOwner->Lines(), [&] {
        CopyBeforeChange();
        TMPSynMemoSection* s = SectionOfLine(Line);
        SetSubtree(s, false, true, Recursive);
        if (OpenParents)
            for (TMPSynMemoSection* p = s->Parent; p && p->Level >= 1; p = p->Parent)
                p->Collapsed = false;
        Recalculate();
    });
}

void TMPSynMemoSections::ExplodeSection(TMPSynMemoSection* S, bool Recursive) {
    TMPSynMemoSection* parent = S->Parent;
    if (!parent)
        return;
    int at = parent->IndexOf(S);
    parent->Extract(S);
    std::vector<TMPSynMemoSection*> children;
    while (S->Count())
        children.push_back(S->Extract(S->Item(0)));
    for (TMPSynMemoSection* c : children) {
        c->SetLevel(S->Level);
        parent->Insert(at++, c);
    }
    delete S;
    if (Recursive)
        for (TMPSynMemoSection* c : children)
            ExplodeSection(c, true);
}

void TMPSynMemoSections::Explode(int Line, bool Recursive) {
    if (!FOwner->Lines()->ValidIndex(Line))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        CopyBeforeChange();
        TMPSynMemoSection* s = SectionOfLine(Line);
        if (s == FEntire)
            return;
        ExplodeSection(s, Recursive);
        FOwner->Lines()->Pending |= pwSectionsChanged | pwRecalcSections;
    });
}

bool TMPSynMemoSections::Create(int First, int Last, bool Collapsed) {
    TMPSynMemoStrings* L = FOwner->Lines();
    if (!L->ValidIndex(First) || !L->ValidIndex(Last) || First > Last)
        return false;
    TMPSynMemoSection* parent = SectionOfLine(First);
    if (parent != SectionOfLine(Last) || LineKind(First) != 0 || LineKind(Last) != 0)
        return false;
    WithinUpdate(L, [&] {
        CopyBeforeChange();
        parent = SectionOfLine(First);
        auto* s = new TMPSynMemoSection(parent, First, Last, Collapsed);
        int at = 0;
        while (at < parent->Count() && parent->Item(at)->FirstLine < First)
            ++at;
        while (TMPSynMemoSection* c = parent->Item(at)) {
            if (c->LastLine > Last)
                break;
            parent->Extract(c);
            s->Insert(s->Count(), c);
            c->SetLevel(s->Level + 1);
        }
        parent->Insert(at, s);
        L->Pending |= pwSectionsChanged | pwRecalcSections;
    });
    return true;
}
