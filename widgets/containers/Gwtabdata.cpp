// Tab records, their list, colour sets and the region cache. Widget layer.
#include "Gwtabdata.h"

#include <algorithm>

#include "Gwtabs.h"

const char* const SGwTabWrongPointCount = "Incorrect number of points in tab shape";
const char* const SGwTabCacheCapacity = "Capacity must be -1 (to cache all regions) or > 0";
const char* const SGwTabSaveDC = "Error saving device context";
const char* const SGwTabCreateRegion = "Error creating region";
const char* const SGwTabSheetVisible = "You cannot change the Visible property of a page";
const char* const SGwTabBadPageIndex = "%d is an invalid PageIndex value. PageIndex must be between 0 and %d";

void TGwTabData::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwTabData*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    Caption = src->Caption;
    DisabledIndex = src->DisabledIndex;
    ImageIndex = src->ImageIndex;
    Color = src->Color;
    Enabled = src->Enabled;
    Visible = src->Visible;
    Hint = src->Hint;
}

TGwTabDataList::~TGwTabDataList() { Clear(); }

void TGwTabDataList::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwTabDataList*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    Clear();
    for (int i = 0; i < src->GetCount(); ++i) {
        auto* t = new TGwTabData;
        t->Assign(src->GetItem(i));
        Add(t);
    }
}

void TGwTabDataList::SetItem(int Index, TGwTabData* Tab) {
    TGwTabData*& slot = FItems.at(static_cast<size_t>(Index));
    if (slot != Tab)
        delete slot;
    slot = Tab;
}

int TGwTabDataList::Add(TGwTabData* Tab) {
    FItems.push_back(Tab);
    return GetCount() - 1;
}

void TGwTabDataList::Insert(int Index, TGwTabData* Tab) {
    Index = std::clamp(Index, 0, GetCount());
    FItems.insert(FItems.begin() + Index, Tab);
}

void TGwTabDataList::Delete(int Index) {
    delete FItems.at(static_cast<size_t>(Index));
    FItems.erase(FItems.begin() + Index);
}

int TGwTabDataList::Remove(TGwTabData* Tab) {
    int i = IndexOf(Tab);
    if (i >= 0)
        Delete(i);
    return i;
}

int TGwTabDataList::IndexOf(const TGwTabData* Tab) const {
    auto it = std::find(FItems.begin(), FItems.end(), Tab);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TGwTabDataList::Move(int From, int To) {
    if (From == To)
        return;
    TGwTabData* t = FItems.at(static_cast<size_t>(From));
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + std::clamp(To, 0, GetCount()), t);
}

void TGwTabDataList::Clear() {
    for (TGwTabData* t : FItems)
        delete t;
    FItems.clear();
}

#define GW_COLOR_SETTER(Class, Name)                                                                         \
    void Class::Set##Name(TColor Value) {                                                                    \
        if (F##Name == Value)                                                                                \
            return;                                                                                          \
        F##Name = Value;                                                                                     \
        Changed();                                                                                           \
    }

GW_COLOR_SETTER(TGwTabColors, HighlightBar)
GW_COLOR_SETTER(TGwTabColors, Shadow)
GW_COLOR_SETTER(TGwTabColors, Unselected)
GW_COLOR_SETTER(TGwTextColors, DisabledHighlight)
GW_COLOR_SETTER(TGwTextColors, DisabledShadow)
GW_COLOR_SETTER(TGwTextColors, Selected)
GW_COLOR_SETTER(TGwTextColors, Unselected)
#undef GW_COLOR_SETTER

void TGwTabColors::Changed() {
    if (FOwner)
        FOwner->Invalidate();
}

void TGwTextColors::Changed() {
    if (FOwner)
        FOwner->Invalidate();
}

void TGwTabColors::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwTabColors*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FHighlightBar = src->FHighlightBar;
    FShadow = src->FShadow;
    FUnselected = src->FUnselected;
    Changed();
}

void TGwTextColors::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwTextColors*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FDisabledHighlight = src->FDisabledHighlight;
    FDisabledShadow = src->FDisabledShadow;
    FSelected = src->FSelected;
    FUnselected = src->FUnselected;
    Changed();
}

HRGN TGwTabRegionCache::Find(const TRect& Rect) {
    for (const Item& i : FItems)
        if (i.Rect == Rect)
            return i.Region;
    return nullptr;
}

void TGwTabRegionCache::Add(const TRect& Rect, HRGN Region) {
    auto it = std::find_if(FItems.begin(), FItems.end(), [&](const Item& i) { return i.Rect == Rect; });
    if (it == FItems.end()) {
        FItems.insert(FItems.begin(), Item{Rect, Region});
    } else {
        Item found = *it;
        if (found.Region != Region)
            DeleteObject(Region);
        FItems.erase(it);
        FItems.insert(FItems.begin(), found);
    }
    Trim();
}

void TGwTabRegionCache::SetCapacity(int Value) {
    if (Value < -1 || Value == 0)
        throw EGwTabControlError(SGwTabCacheCapacity);
    FCapacity = Value;
    Trim();
}

void TGwTabRegionCache::Trim() {
    if (FCapacity == -1)
        return;
    while (GetCount() > FCapacity) {
        DeleteObject(FItems.back().Region);
        FItems.pop_back();
    }
}

void TGwTabRegionCache::Clear() {
    for (const Item& i : FItems)
        DeleteObject(i.Region);
    FItems.clear();
}
