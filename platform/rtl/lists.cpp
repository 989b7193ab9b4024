// Pointer lists of the runtime layer: TList and the owning TObjectList.
#include "classes.h"

#include <algorithm>

TList::~TList() {
    // Derived lists clear themselves in their own destructors, where Notify still reaches them.
    items_.clear();
}

void TList::IndexError(int Index) const { throw EListError(Format(SListIndexError, Index)); }

int TList::Add(void* Item) {
    items_.push_back(Item);
    if (Item)
        Notify(Item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count())
        IndexError(Index);
    items_.insert(items_.begin() + Index, Item);
    if (Item)
        Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    void* p = items_[size_t(Index)];
    items_.erase(items_.begin() + Index);
    if (p)
        Notify(p, lnDeleted);
}

int TList::Remove(void* Item) {
    int i = IndexOf(Item);
    if (i >= 0)
        Delete(i);
    return i;
}

void* TList::Extract(void* Item) {
    int i = IndexOf(Item);
    if (i < 0)
        return nullptr;
    items_.erase(items_.begin() + i);
    if (Item)
        Notify(Item, lnExtracted);
    return Item;
}

int TList::IndexOf(void* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TList::Clear() {
    while (!items_.empty())
        Delete(Count() - 1);
    items_.shrink_to_fit();
}

void TList::Exchange(int Index1, int Index2) {
    if (Index1 < 0 || Index1 >= Count())
        IndexError(Index1);
    if (Index2 < 0 || Index2 >= Count())
        IndexError(Index2);
    std::swap(items_[size_t(Index1)], items_[size_t(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= Count())
        IndexError(NewIndex);
    void* p = Get(CurIndex);
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, p);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const std::function<int(void*, void*)>& Compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0)
        throw EListError(Format(SListCountError, NewCount));
    while (Count() > NewCount)
        Delete(Count() - 1);
    items_.resize(size_t(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < Count())
        throw EListError(Format(SListCapacityError, NewCapacity));
    items_.reserve(size_t(NewCapacity));
}

void* TList::Get(int Index) const {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    return items_[size_t(Index)];
}

void TList::Put(int Index, void* Item) {
    if (Index < 0 || Index >= Count())
        IndexError(Index);
    void* old = items_[size_t(Index)];
    if (old == Item)
        return;
    items_[size_t(Index)] = Item;
    if (old)
        Notify(old, lnDeleted);
    if (Item)
        Notify(Item, lnAdded);
}

void TList::Notify(void*, TListNotification) {}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action) {
    if (OwnsObjects && Action == lnDeleted)
        delete static_cast<TObject*>(Ptr);
}
