// The collection tab control: tabs from an editable collection of items. Widget layer.
#include "Gwtabs.h"

// ---- TGwTabCollectionItem ----

TGwTabCollectionItem::TGwTabCollectionItem(TCollection* ACollection) : TCollectionItem(ACollection) {}

std::string TGwTabCollectionItem::DisplayName() const {
    return FCaption.empty() ? TCollectionItem::DisplayName() : FCaption;
}

#define GW_TAB_SETTER(Name, Type, Field)                                                                     \
    void TGwTabCollectionItem::Set##Name(Type Value) {                                                       \
        if (Field == Value)                                                                                  \
            return;                                                                                          \
        Field = Value;                                                                                       \
        Changed(true);                                                                                       \
    }

GW_TAB_SETTER(Caption, const std::string&, FCaption)
GW_TAB_SETTER(Color, TColor, FColor)
GW_TAB_SETTER(DisabledIndex, int, FDisabledIndex)
GW_TAB_SETTER(Enabled, bool, FEnabled)
GW_TAB_SETTER(Hint, const std::string&, FHint)
GW_TAB_SETTER(ImageIndex, int, FImageIndex)
GW_TAB_SETTER(Visible, bool, FVisible)
#undef GW_TAB_SETTER

void TGwTabCollectionItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwTabCollectionItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    SetColor(src->FColor);
    SetEnabled(src->FEnabled);
    SetVisible(src->FVisible);
    SetHint(src->FHint);
    SetImageIndex(src->FImageIndex);
    SetDisabledIndex(src->FDisabledIndex);
    Changed(true);
}

void TGwTabCollectionItem::FillTabData(TGwTabData& Data) const {
    Data.Caption = FCaption;
    Data.Color = FColor;
    Data.Enabled = FEnabled;
    Data.Visible = FVisible;
    Data.Hint = FHint;
    Data.ImageIndex = FImageIndex;
    Data.DisabledIndex = FDisabledIndex;
}

TGwCollectionTabControl* TGwTabCollectionItem::GetTabControl() const {
    auto* c = dynamic_cast<TGwTabCollection*>(Collection());
    return c ? c->GetOwner() : nullptr;
}

// ---- TGwTabCollection ----

TGwTabCollection::TGwTabCollection(TGwCollectionTabControl* AControl)
    : TCollection(CollectionItemClass<TGwTabCollectionItem>()), FControl(AControl) {}

TGwTabCollectionItem* TGwTabCollection::Add() {
    return static_cast<TGwTabCollectionItem*>(TCollection::Add());
}

TGwTabCollectionItem* TGwTabCollection::Insert(int Index) {
    return static_cast<TGwTabCollectionItem*>(TCollection::Insert(Index));
}

TGwTabCollectionItem* TGwTabCollection::GetItem(int Index) const {
    return static_cast<TGwTabCollectionItem*>(TCollection::GetItem(Index));
}

void TGwTabCollection::SetItem(int Index, TCollectionItem* Value) { TCollection::SetItem(Index, Value); }

void TGwTabCollection::Delete(int Index) {
    int active = FControl ? FControl->TabIndex() : -1;
    TCollection::Delete(Index);
    if (!FControl)
        return;
    if (Count() == 0)
        FControl->SetTabIndexField(-1);
    else if (Index <= active && active > 0)
        FControl->SetTabIndexField(active - 1);
    FControl->Rebuild();
    FControl->Change();
}

void TGwTabCollection::Clear() {
    TCollection::Clear();
    if (FControl) {
        FControl->SetTabIndexField(-1);
        FControl->Rebuild();
    }
}

void TGwTabCollection::Move(int CurIndex, int NewIndex) {
    GetItem(CurIndex)->SetIndex(NewIndex);
    if (FControl)
        FControl->TabOrderChange(CurIndex, NewIndex);
}

void TGwTabCollection::Update(TCollectionItem*) {
    if (FControl)
        FControl->Rebuild();
}

// ---- TGwCollectionTabControl ----

TGwCollectionTabControl::TGwCollectionTabControl(TComponent* AOwner)
    : TGwCustomTabControl(AOwner), FTabs(new TGwTabCollection(this)) {}

TGwCollectionTabControl::~TGwCollectionTabControl() {
    TGwTabCollection* tabs = FTabs;
    FTabs = nullptr; // no rebuild while the items go
    delete tabs;
}

void TGwCollectionTabControl::SetTabCollection(TGwTabCollection* Value) {
    FTabs->Assign(Value);
    Rebuild();
}

void TGwCollectionTabControl::HideAllTabs() {
    for (int i = 0; i < FTabs->Count(); ++i)
        FTabs->GetItem(i)->SetVisible(false);
}

void TGwCollectionTabControl::ShowAllTabs() {
    for (int i = 0; i < FTabs->Count(); ++i)
        FTabs->GetItem(i)->SetVisible(true);
}

// An index left outside the collection (the field is public) names no item: nothing to close or move.
void TGwCollectionTabControl::DestroyActiveTab() {
    if (TabIndex() < 0 || TabIndex() >= FTabs->Count())
        return;
    FTabs->Delete(TabIndex());
    Change();
}

void TGwCollectionTabControl::ActiveTabMoved(int NewIndex) {
    if (TabIndex() < 0 || TabIndex() >= FTabs->Count() || NewIndex < 0 || NewIndex >= FTabs->Count())
        return;
    FTabs->Move(TabIndex(), NewIndex);
    SetTabIndexField(NewIndex);
    Rebuild();
}

void TGwCollectionTabControl::Rebuild() {
    if (!FTabs)
        return;
    TGwTabDataList* list = TabList();
    list->Clear();
    for (int i = 0; i < FTabs->Count(); ++i) {
        auto* d = new TGwTabData;
        FTabs->GetItem(i)->FillTabData(*d);
        list->Add(d);
    }
    TGwCustomTabControl::Rebuild();
}
