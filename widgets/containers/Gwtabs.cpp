// Tab strip and collection tab control of the Gw widget library. Widget layer.
#include "Gwtabs.h"

#include <algorithm>

// ---- TGwCustomTabControl ----

TGwCustomTabControl::TGwCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TGwCustomTabControl::SetTabIndex(int Value) {
    if (Value < -1 || Value >= TabCount() || Value == FTabIndex)
        return;
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    if (!allow)
        return;
    FTabIndex = Value;
    Change();
    Invalidate();
}

void TGwCustomTabControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TGwCustomTabControl::TabOrderChange(int OldIndex, int NewIndex) {
    if (OnTabOrderChange)
        OnTabOrderChange(this, OldIndex, NewIndex);
}

void TGwCustomTabControl::Rebuild() {
    if (FTabIndex >= TabCount())
        FTabIndex = TabCount() - 1;
    Invalidate();
}

// Tabs side by side from the left, each as wide as its caption plus a margin; hidden ones take no room.
TRect TGwCustomTabControl::TabRect(int Index) {
    int x = 0;
    for (int i = 0; i < TabCount(); ++i) {
        if (!FTabs[static_cast<size_t>(i)].Visible) {
            if (i == Index)
                return {};
            continue;
        }
        int w = Canvas()->TextWidth(FTabs[static_cast<size_t>(i)].Caption) + 16;
        if (i == Index)
            return {x, 0, x + w, TabHeight};
        x += w;
    }
    return {};
}

int TGwCustomTabControl::TabAt(int X, int Y) {
    for (int i = 0; i < TabCount(); ++i) {
        TRect r = TabRect(i);
        if (r.Width() > 0 && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom)
            return i;
    }
    return -1;
}

void TGwCustomTabControl::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    for (int i = 0; i < TabCount(); ++i) {
        TRect r = TabRect(i);
        if (r.Width() == 0)
            continue;
        const TGwTabData& t = FTabs[static_cast<size_t>(i)];
        c->Brush()->SetColor(i == FTabIndex ? clWindow : t.Color);
        c->Pen()->SetColor(clBtnShadow);
        c->Rectangle(r);
        c->Font()->SetColor(t.Enabled ? clWindowText : clGrayText);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(r.Left + 8, r.Top + 3, t.Caption);
        c->Brush()->SetStyle(bsSolid);
    }
}

void TGwCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    int i = TabAt(X, Y);
    if (Button == mbLeft && i >= 0 && FTabs[static_cast<size_t>(i)].Enabled)
        SetTabIndex(i);
}

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

void TGwCollectionTabControl::DestroyActiveTab() {
    if (TabIndex() == -1)
        return;
    FTabs->Delete(TabIndex());
    Change();
}

void TGwCollectionTabControl::ActiveTabMoved(int NewIndex) {
    if (TabIndex() == -1)
        return;
    FTabs->Move(TabIndex(), NewIndex);
    SetTabIndexField(NewIndex);
    Rebuild();
}

void TGwCollectionTabControl::Rebuild() {
    if (!FTabs)
        return;
    std::vector<TGwTabData>& list = TabList();
    list.clear();
    for (int i = 0; i < FTabs->Count(); ++i) {
        TGwTabData d;
        FTabs->GetItem(i)->FillTabData(d);
        list.push_back(d);
    }
    TGwCustomTabControl::Rebuild();
}
