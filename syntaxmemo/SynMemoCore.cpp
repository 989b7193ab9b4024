// Script editor, text model: the owner of the model's parts (the control's model side), the
// bookmarks and the in-memory clipboard.
#include <algorithm>

#include "SynMemoModel.h"

// ---- TMPBookmarkManager --------------------------------------------------------------------------

TMPBookmarkManager::TMPBookmarkManager(TMPSynMemoCore* AOwner) : FOwner(AOwner) { Clear(); }

void TMPBookmarkManager::Clear() { std::fill(std::begin(FSlots), std::end(FSlots), -1); }

bool TMPBookmarkManager::Find(int Line, int& Index) const {
    for (int i = 0; i < 10; ++i)
        if (FSlots[i] == Line) {
            Index = i;
            return true;
        }
    return false;
}

int TMPBookmarkManager::GetBookMarks(int Index) const {
    return Index >= 0 && Index < 10 ? FSlots[Index] : -1;
}

void TMPBookmarkManager::SetBookMarks(int Index, int Line) {
    if (Index < 0 || Index >= 10 || !FOwner->Lines()->ValidIndex(Line))
        return;
    WithinUpdate(FOwner->Lines(), [&] {
        int j = -1;
        if (Find(Line, j)) {
            FSlots[j] = -1;
            FOwner->InvalidateLine(Line);
            if (j == Index)
                return;
        }
        if (FSlots[Index] >= 0) {
            FOwner->InvalidateLine(FSlots[Index]);
            FSlots[Index] = -1;
        }
        FSlots[Index] = Line;
        FOwner->InvalidateLine(Line);
    });
}

void TMPBookmarkManager::LineInserted(int Line) {
    for (int& s : FSlots)
        if (s >= Line)
            ++s;
}

void TMPBookmarkManager::LineDeleted(int Line) {
    for (int& s : FSlots)
        if (s == Line)
            s = -1;
        else if (s > Line)
            --s;
}

// ---- TMPMemoryClipboard --------------------------------------------------------------------------

void TMPMemoryClipboard::Put(const std::string& Plain, const std::string& Marked) {
    PlainText = Plain;
    MarkedText = Marked;
    HasPlain = true;
    HasMarked = !Marked.empty();
}

bool TMPMemoryClipboard::GetMarked(std::string& Text) {
    if (HasMarked)
        Text = MarkedText;
    return HasMarked;
}

bool TMPMemoryClipboard::GetPlain(std::string& Text) {
    if (HasPlain)
        Text = PlainText;
    return HasPlain;
}

// ---- TMPSynMemoCore ------------------------------------------------------------------------------

TMPSynMemoCore::TMPSynMemoCore() {
    FAttributes = std::make_unique<TMPSyntaxAttributes>(this);
    FLines = std::make_unique<TMPSynMemoStrings>(this);
    FSections = std::make_unique<TMPSynMemoSections>(this);
    FRange = std::make_unique<TMPSynMemoRange>(this);
    FBookmarks = std::make_unique<TMPBookmarkManager>(this);
    FLines->Add("");
    FLines->SetModified(false);
    FQueuedChanges.Clear();
}

TMPSynMemoCore::~TMPSynMemoCore() {
    OnModelChange = nullptr;
    FBookmarks.reset();
    FRange.reset();
    FSections.reset();
    FLines.reset();
    FAttributes.reset();
}

void TMPSynMemoCore::SetOptions(TMPSynMemoOptions Value) {
    if (Value == FOptions)
        return;
    FOptions = Value;
    Changed(TChangedItems{ciOptions});
}

int TMPSynMemoCore::MoveLines(int Line, int Delta, bool Clamp) const {
    FSections->RecalculateIfPending();
    int i = FSections->VisibleIndexOf(Line) + Delta;
    if (Clamp)
        i = std::clamp(i, 0, std::max(int(FSections->VisibleLines().size()) - 1, 0));
    return FSections->LineAtVisibleIndex(i);
}

void TMPSynMemoCore::Changed(TChangedItems Kinds) {
    if (Kinds.Empty()) {
        FQueuedChanges.Clear();
        return;
    }
    FQueuedChanges += Kinds;
    if (FLines && !FLines->Updating())
        FlushChanges(TChangedItems());
}

void TMPSynMemoCore::FlushChanges(TChangedItems Kinds) {
    FQueuedChanges += Kinds;
    if (FQueuedChanges.Empty() || (FLines && FLines->Updating()))
        return;
    const TChangedItems k = FQueuedChanges;
    FQueuedChanges.Clear();
    if (OnModelChange)
        OnModelChange(k);
}

void TMPSynMemoCore::ResetView() {
    ClearOptions(TMPSynMemoOptions{smoOverwrite, smoReadOnly});
    FBookmarks->Clear();
    FRange->Reset();
}
