// The Gw widget library's integer list.
#include "Gwintlst.h"

#include <algorithm>

int TGwIntegerList::Items(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

void TGwIntegerList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format(SListIndexError, Index));
}

void TGwIntegerList::CheckRange(int Value) const {
    if (FMin != FMax && (Value < FMin || Value > FMax))
        throw EOutOfRange(Format("Value must be within %d..%d", FMin, FMax));
}

void TGwIntegerList::SetItem(int Index, int Value) {
    if (FSorted)
        throw EListError(SSortedListError);
    CheckRange(Value);
    CheckIndex(Index);
    FItems[size_t(Index)] = Value;
}

void TGwIntegerList::SetSorted(bool Value) {
    if (Value == FSorted)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TGwIntegerList::SetMin(int Value) {
    if (Value == FMin)
        return;
    if (std::any_of(FItems.begin(), FItems.end(), [Value](int v) { return v < Value; }))
        throw EOutOfRange(Format("Unable to set new minimum value.\rList contains values below %d", Value));
    FMin = Value;
    if (Value > FMax)
        FMax = Value;
}

void TGwIntegerList::SetMax(int Value) {
    if (Value == FMax)
        return;
    if (std::any_of(FItems.begin(), FItems.end(), [Value](int v) { return v > Value; }))
        throw EOutOfRange(Format("Unable to set new maximum value.\rList contains values above %d", Value));
    FMax = Value;
    if (Value < FMin)
        FMin = Value;
}

bool TGwIntegerList::Find(int Value, int& Index) const {
    // As a sorted string list searches: under dupAccept the index lands before a run of equals.
    bool found = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        const int i = (l + h) >> 1;
        if (FItems[size_t(i)] < Value) {
            l = i + 1;
        } else {
            h = i - 1;
            if (FItems[size_t(i)] == Value) {
                found = true;
                if (FDuplicates != dupAccept)
                    l = i;
            }
        }
    }
    Index = l;
    return found;
}

void TGwIntegerList::Sort() {
    if (!FSorted && Count() > 1)
        std::sort(FItems.begin(), FItems.end());
}

int TGwIntegerList::Add(int Value) {
    int index = Count();
    if (FSorted && Find(Value, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EListError("Duplicates not allowed");
    }
    InsertNumber(index, Value);
    return index;
}

void TGwIntegerList::InsertNumber(int Index, int Value) {
    CheckRange(Value);
    if (FDuplicates == dupIgnore && IndexOf(Value) >= 0)
        return;
    FItems.insert(FItems.begin() + Index, Value);
}

void TGwIntegerList::Insert(int Index, int Value) {
    if (FSorted)
        throw EListError(SSortedListError);
    if (Index < 0 || Index > Count())
        throw EListError(Format(SListIndexError, Index));
    InsertNumber(Index, Value);
}

void TGwIntegerList::AddIntegers(const TGwIntegerList* List) {
    for (int v : std::vector<int>(List->FItems))
        Add(v);
}

void TGwIntegerList::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

void TGwIntegerList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

int TGwIntegerList::IndexOf(int Value) const {
    if (FSorted) {
        int i;
        return Find(Value, i) ? i : -1;
    }
    const auto it = std::find(FItems.begin(), FItems.end(), Value);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TGwIntegerList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const int v = FItems[size_t(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, v);
}

bool TGwIntegerList::Equals(const TGwIntegerList* Other) const { return Other && FItems == Other->FItems; }

void TGwIntegerList::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TGwIntegerList*>(Source)) {
        if (src == this)
            return;
        Clear();
        AddIntegers(src);
        return;
    }
    TPersistent::Assign(Source);
}
