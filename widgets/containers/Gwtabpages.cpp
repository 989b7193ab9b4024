// Page control and tab sheets. Widget layer.
#include "Gwtabpages.h"

#include <algorithm>

#include "boundary.h"
#include "dragdock.h"
#include "forms.h"
#include "messages.h"
#include "winapi.h"

// ---- TGwTabSheet ----

TGwTabSheet::TGwTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
    TControl::SetVisible(false);
    SetAlign(alClient);
    TControl::SetColor(clBtnFace);
}

TGwTabSheet::~TGwTabSheet() {
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TGwTabSheet::SetPageControl(TGwPageControl* Value) {
    if (Value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    SetParent(Value);
    if (Value)
        Value->InsertPage(this);
}

int TGwTabSheet::PageIndex() const {
    if (!FPageControl)
        return -1;
    for (int i = 0; i < FPageControl->GetPageCount(); ++i)
        if (FPageControl->GetPage(i) == this)
            return i;
    return -1;
}

void TGwTabSheet::SetPageIndex(int Value) {
    if (!FPageControl)
        return;
    int last = FPageControl->GetPageCount() - 1;
    if (Value < 0 || Value > last)
        throw EGwTabControlError(Format(SGwTabBadPageIndex, Value, last));
    int old = PageIndex();
    if (old == Value)
        return;
    FPageControl->MovePage(this, Value);
    Changed();
    FPageControl->TabOrderChange(old, Value);
}

int TGwTabSheet::TabIndex() const {
    if (!FTabVisible || !FPageControl)
        return -1;
    int n = 0;
    for (int i = 0; i < FPageControl->GetPageCount() && FPageControl->GetPage(i) != this; ++i)
        if (FPageControl->GetPage(i)->TabVisible())
            ++n;
    return n;
}

void TGwTabSheet::Changed() {
    if (FPageControl)
        FPageControl->Rebuild();
}

#define GW_SHEET_SETTER(Type, Name)                                                                          \
    void TGwTabSheet::Set##Name(Type Value) {                                                                \
        if (F##Name == Value)                                                                                \
            return;                                                                                          \
        F##Name = Value;                                                                                     \
        Changed();                                                                                           \
    }

GW_SHEET_SETTER(bool, TabEnabled)
GW_SHEET_SETTER(bool, TabVisible)
GW_SHEET_SETTER(int, ImageIndex)
GW_SHEET_SETTER(int, DisabledIndex)
#undef GW_SHEET_SETTER

void TGwTabSheet::SetColor(TColor Value) {
    if (Value == Color())
        return;
    if (FPageControl && !FPageControl->UseColoredTabs() && Value != FPageControl->Color())
        FPageControl->SetUseColoredTabs(true);
    TControl::SetColor(Value);
    Changed();
}

void TGwTabSheet::SetVisible(bool) { throw EGwTabControlError(SGwTabSheetVisible); }

void TGwTabSheet::FillTabData(TGwTabData& Data) const {
    Data.Caption = Caption();
    Data.Color = Color();
    Data.Enabled = FTabEnabled;
    Data.Visible = FTabVisible;
    Data.Hint = Hint();
    Data.ImageIndex = FImageIndex;
    Data.DisabledIndex = FDisabledIndex;
}

void TGwTabSheet::Paint() {
    bool handled = false;
    if (OnPaintBackground)
        OnPaintBackground(this, Canvas(), ClientRect(), handled);
    if (!handled) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
}

void TGwTabSheet::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Changed();
}

void TGwTabSheet::CMShowingChanged(TMessage& Message) {
    TCustomControl::CMShowingChanged(Message);
    // The page has changed whatever the handler does: its failure is reported, not passed on.
    RunHandler(this, [this] {
        if (Showing()) {
            if (OnShow)
                OnShow(this);
        } else if (OnHide) {
            OnHide(this);
        }
    });
}

// ---- TGwPageControl ----

TGwPageControl::TGwPageControl(TComponent* AOwner) : TGwCustomTabControl(AOwner) {
    SetBounds(Left(), Top(), Width(), 150);
}

TGwPageControl::~TGwPageControl() {
    FDestroying = true;
    for (TGwTabSheet* p : FPages)
        p->FPageControl = nullptr;
    FPages.clear();
}

void TGwPageControl::InsertPage(TGwTabSheet* Page) {
    FPages.push_back(Page);
    Page->FPageControl = this;
    Rebuild();
}

void TGwPageControl::RemovePage(TGwTabSheet* Page) {
    if (Page == FActivePage)
        SetActivePage(nullptr);
    std::erase(FPages, Page);
    Page->FPageControl = nullptr;
    if (!FDestroying)
        Rebuild();
}

void TGwPageControl::MovePage(TGwTabSheet* Page, int NewIndex) {
    std::erase(FPages, Page);
    FPages.insert(FPages.begin() + std::clamp(NewIndex, 0, GetPageCount()), Page);
}

void TGwPageControl::Rebuild() {
    TGwTabDataList* list = TabList();
    list->Clear();
    for (TGwTabSheet* p : FPages) {
        if (!p->TabVisible())
            continue;
        auto* d = new TGwTabData;
        p->FillTabData(*d);
        list->Add(d);
    }
    if (FActivePage) {
        int ti = FActivePage->TabIndex();
        if (ti != TabIndex())
            SetTabIndexField(ti);
    }
    TGwCustomTabControl::Rebuild();
}

TGwTabSheet* TGwPageControl::PageForTab(int TabIndex) const {
    if (TabIndex < 0)
        return nullptr;
    for (TGwTabSheet* p : FPages)
        if (p->TabIndex() == TabIndex)
            return p;
    return nullptr;
}

void TGwPageControl::Changing(int NewIndex, bool& AllowChange) {
    TGwCustomTabControl::Changing(NewIndex, AllowChange);
    if (AllowChange)
        ChangeActivePage(PageForTab(NewIndex));
}

// The page is shown once the change goes through: a change that OnChanging refuses leaves the old
// page alone on the card instead of a second page showing over it.
void TGwPageControl::SetActivePage(TGwTabSheet* Page) {
    if (Page && Page->PageControl() != this)
        return;
    int ti = Page ? Page->TabIndex() : -1;
    if (ti < 0) {
        ChangeActivePage(Page);
        PageChange();
    }
    SetTabIndex(ti);
}

void TGwPageControl::ChangeActivePage(TGwTabSheet* Page) {
    if (Page == FActivePage)
        return;
    TCustomForm* form = GetParentForm(this);
    bool hadFocus =
        form && FActivePage && form->ActiveControl() &&
        (form->ActiveControl() == FActivePage || FActivePage->ContainsControl(form->ActiveControl()));
    if (Page) {
        Page->BringToFront();
        Page->ShowPage(true);
    }
    if (FActivePage) {
        FActivePage->ShowPage(false);
        if (Releases())
            FActivePage->DestroyHandle();
    }
    FActivePage = Page;
    if (hadFocus) {
        if (Page && Page->CanFocus())
            Page->SelectFirst();
        else if (CanFocus())
            form->SetActiveControl(this);
    }
}

void TGwPageControl::SetSaveResources(bool Value) {
    FSaveResources = Value;
    if (Releases())
        for (TGwTabSheet* p : FPages)
            if (p != FActivePage)
                p->DestroyHandle();
}

void TGwPageControl::SetActivePageIndex(int Index) {
    if (Index >= 0 && Index < GetPageCount())
        SetActivePage(GetPage(Index));
    else
        SetTabIndex(-1);
}

TGwTabSheet* TGwPageControl::FindNextPage(TGwTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
    int n = GetPageCount();
    if (n == 0)
        return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), CurPage);
    int start = it != FPages.end() ? static_cast<int>(it - FPages.begin()) : (GoForward ? n - 1 : 0);
    int i = start;
    do {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TGwTabSheet* p = GetPage(i);
        if (!CheckTabVisible || p->TabVisible())
            return p;
    } while (i != start);
    return nullptr;
}

void TGwPageControl::SelectNextPage(bool GoForward) {
    if (TGwTabSheet* p = FindNextPage(FActivePage, GoForward, true))
        SetActivePage(p);
}

void TGwPageControl::MakeControlVisible(TControl* Control) {
    int found = 0;
    for (int i = 0; i < GetPageCount(); ++i)
        if (GetPage(i) == Control || GetPage(i)->ContainsControl(Control)) {
            found = i;
            break;
        }
    if (found != ActivePageIndex())
        SetActivePageIndex(found);
}

void TGwPageControl::ShowControl(TControl* AControl) {
    auto it = std::find(FPages.begin(), FPages.end(), AControl);
    if (it != FPages.end())
        SetActivePage(*it);
}

void TGwPageControl::HideAllTabs() {
    for (TGwTabSheet* p : std::vector<TGwTabSheet*>(FPages))
        p->SetTabVisible(false);
}

void TGwPageControl::ShowAllTabs() {
    for (TGwTabSheet* p : std::vector<TGwTabSheet*>(FPages))
        p->SetTabVisible(true);
}

// The neighbour before the closed page takes over; with none before it, the one after.
void TGwPageControl::DestroyActiveTab() {
    if (!FActivePage)
        return;
    int old = TabIndex();
    delete FActivePage;
    SetTabIndexField(-1);
    SetTabIndex(old >= 1 ? old - 1 : old);
}

// NewIndex is the tab dropped on; pages with hidden tabs make its page's place differ from it.
void TGwPageControl::ActiveTabMoved(int NewIndex) {
    TGwTabSheet* target = PageForTab(NewIndex);
    if (FActivePage && target)
        FActivePage->SetPageIndex(target->PageIndex());
}

void TGwPageControl::PaintCardBackground(TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled) {
    TGwCustomTabControl::PaintCardBackground(ACanvas, ARow, ARect, Handled);
    if (Handled || ARow != 0 || TabIndex() < 0 || !FActivePage)
        return;
    ACanvas->Brush()->SetColor(FActivePage->Color());
    ACanvas->FillRect(ARect);
    Handled = true;
}

void TGwPageControl::SetUseColoredTabs(bool Value) {
    TGwCustomTabControl::SetUseColoredTabs(Value);
    if (Parent() && !Value)
        Perform(CM_COLORCHANGED, 0, 0);
}

void TGwPageControl::CMColorChanged(TMessage& Message) {
    if (!UseColoredTabs())
        for (TGwTabSheet* p : FPages)
            p->TControl::SetColor(Color());
    TGwCustomTabControl::CMColorChanged(Message);
    Rebuild();
}

void TGwPageControl::CMDialogKey(TWMKey& Message) {
    TGwCustomTabControl::CMDialogKey(Message);
    if (Message.Result)
        return;
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (!active || (active != this && !ContainsControl(active)))
        return;
    TShiftState shift = KeyDataToShiftState(Message.KeyData);
    if (Message.CharCode == VK_TAB && (shift.Contains(ssCtrl) || GetKeyState(VK_CONTROL) < 0)) {
        SelectNextPage(!(shift.Contains(ssShift) || GetKeyState(VK_SHIFT) < 0));
        Message.Result = 1;
    }
}

void TGwPageControl::CMDockClient(TMessage& Message) {
    Message.Result = 0;
    auto* o = reinterpret_cast<TDragDockObject*>(Message.WParam);
    if (!o || !o->Control())
        return;
    TControl* client = o->Control();
    auto* page = new TGwTabSheet(this);
    FNewDockSheet = page;
    try {
        if (dynamic_cast<TCustomForm*>(client))
            page->SetCaption(client->Caption());
        page->SetPageControl(this);
        TRect r = o->DockRect;
        TPoint tl = ScreenToClient(TPoint(r.Left, r.Top));
        client->Dock(this, Bounds(tl.x, tl.y, r.Width(), r.Height()));
    } catch (...) {
        FNewDockSheet = nullptr;
        delete page;
        throw;
    }
    FNewDockSheet = nullptr;
    page->SetTabVisible(client->Visible());
    if (client->Visible())
        SetActivePage(page);
    client->SetAlign(alClient);
}

void TGwPageControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
    if (FNewDockSheet)
        Client->SetParent(FNewDockSheet);
    else
        TGwCustomTabControl::DoAddDockClient(Client, ARect);
}

TGwTabSheet* TGwPageControl::GetPageFromDockClient(TControl* Client) const {
    if (!Client || Client->HostDockSite() != this)
        return nullptr;
    for (TGwTabSheet* p : FPages)
        if (Client->Parent() == p)
            return p;
    return nullptr;
}

void TGwPageControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
    TGwCustomTabControl::GetSiteInfo(Client, InfluenceRect, MousePos, CanDock);
    if (GetPageFromDockClient(Client))
        CanDock = false;
}

void TGwPageControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
    if (Source) {
        TPoint o = ClientToScreen(TPoint(0, 0));
        Source->DockRect = Bounds(o.x, o.y, Width(), Height());
    }
    TGwCustomTabControl::DockOver(Source, X, Y, State, Accept);
}

// A docked form's title becomes its tab's caption up to the first line break.
void TGwPageControl::CMDockNotification(TMessage& Message) {
    auto* client = reinterpret_cast<TControl*>(Message.WParam);
    auto* rec = reinterpret_cast<TDockNotifyRec*>(Message.LParam);
    TGwTabSheet* page = GetPageFromDockClient(client);
    if (page && rec) {
        if (rec->ClientMsg == WM_SETTEXT) {
            std::string text = client->Caption();
            page->SetCaption(text.substr(0, text.find_first_of("\r\n")));
        } else if (rec->ClientMsg == CM_VISIBLECHANGED) {
            page->SetTabVisible(client->Visible());
        }
    }
    TGwCustomTabControl::CMDockNotification(Message);
}

void TGwPageControl::CMUnDockClient(TMessage& Message) {
    Message.Result = 0;
    auto* client = reinterpret_cast<TControl*>(Message.LParam);
    if (TGwTabSheet* page = GetPageFromDockClient(client)) {
        FUndockingPage = page;
        client->SetAlign(alNone);
    }
}

void TGwPageControl::DoRemoveDockClient(TControl* Client) {
    TGwCustomTabControl::DoRemoveDockClient(Client);
    if (!FUndockingPage || FDestroying)
        return;
    TGwTabSheet* page = FUndockingPage;
    FUndockingPage = nullptr;
    SelectNextPage(true);
    delete page;
}

TControl* TGwPageControl::GetDockClientFromMousePos(TPoint Point) {
    if (!DockSite())
        return nullptr;
    int tab = TabAtPos(Point.x, Point.y);
    if (tab < 0)
        return nullptr;
    TGwTabSheet* page = nullptr;
    for (int k = 0; k <= tab; ++k)
        page = FindNextPage(page, true, true);
    if (!page || page->ControlCount() == 0)
        return nullptr;
    TControl* c = page->Controls(0);
    return c->HostDockSite() == this ? c : nullptr;
}

void TGwPageControl::WMLButtonDown(TWMMouse& Message) {
    TGwCustomTabControl::WMLButtonDown(Message);
    if (TControl* c = GetDockClientFromMousePos(Message.Pos()))
        c->BeginDrag(false);
}

void TGwPageControl::WMLButtonDblClk(TWMMouse& Message) {
    TGwCustomTabControl::WMLButtonDblClk(Message);
    if (!DblClickUndocks)
        return;
    if (TControl* c = GetDockClientFromMousePos(Message.Pos())) {
        c->ManualDock(nullptr);
        c->SetAlign(alNone);
    }
}

// With its tabs hidden the strip is driven by code; the focus belongs on the page.
void TGwPageControl::WMSetFocus(TWMSetFocus& Message) {
    TGwCustomTabControl::WMSetFocus(Message);
    if (!FActivePage || FActivePage->TabVisible())
        return;
    for (int i = 0; i < FActivePage->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(FActivePage->Controls(i)); w && w->CanFocus()) {
            w->SetFocus();
            return;
        }
}
