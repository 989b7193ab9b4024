// Collections of the runtime layer: TCollection owns its TCollectionItems.
#include "classes.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* ACollection) { SetCollection(ACollection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_)
        return -1;
    auto& v = collection_->items_;
    return int(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int Value) {
    int cur = Index();
    if (cur >= 0 && cur != Value) {
        collection_->MoveItem(cur, Value);
        Changed(true);
    }
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool AllItems) {
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TCollectionItemClass ItemClass, TPersistent* AOwner)
    : itemClass_(std::move(ItemClass)), owner_(AOwner) {}

TCollection::~TCollection() {
    // No Update calls while dying: derived parts are already gone.
    updateCount_ = 1;
    while (!items_.empty())
        delete items_.back();
}

TCollectionItem* TCollection::Add() {
    // The item's base constructor inserts it before the derived part exists: the update that
    // reads the items waits until the item is whole.
    ++updateCount_;
    TCollectionItem* item = nullptr;
    try {
        item = itemClass_(this);
    } catch (...) {
        --updateCount_;
        throw;
    }
    --updateCount_;
    if (item->collection_ != this)
        item->SetCollection(this);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) { delete GetItem(Index); }

void TCollection::Clear() {
    if (items_.empty())
        return;
    WithinUpdate(this, [&] {
        while (!items_.empty())
            delete items_.back();
    });
}

void TCollection::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCollection*>(Source)) {
        if (src == this)
            return;
        WithinUpdate(this, [&] {
            Clear();
            for (TCollectionItem* it : src->items_)
                Add()->Assign(it);
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* it : items_)
        if (it->id_ == ID)
            return it;
    return nullptr;
}

TCollectionItem* TCollection::GetItem(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format(SListIndexError, Index));
    return items_[size_t(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { GetItem(Index)->Assign(Value); }

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
    items_.push_back(Item);
    Item->collection_ = this;
    Item->id_ = nextId_++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    items_.erase(std::find(items_.begin(), items_.end(), Item));
    Item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(int CurIndex, int NewIndex) {
    if (NewIndex < 0)
        NewIndex = 0;
    if (NewIndex >= Count())
        NewIndex = Count() - 1;
    TCollectionItem* it = items_[size_t(CurIndex)];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, it);
}
