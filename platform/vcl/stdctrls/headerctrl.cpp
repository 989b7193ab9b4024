// THeaderControl: sections drawn with TCanvas (or by the owner), clicks and divider drags raised as
// events and as the header notifications, the header messages answered. Standard controls.
#include "headerctrls.h"

#include <algorithm>

#include "forms.h"
#include "uxtheme.h"
#include "winapi.h"
#include "wingdi.h"

// The sort arrow of the default drawing: an odd width gives the triangle a one-pixel tip.
constexpr int SortArrowWidth = 9, SortArrowHeight = 5;

// The "header" theme data for one paint, open only while the library is there, the application
// themed, its theme active and themed controls allowed.
class THeaderTheme {
public:
    explicit THeaderTheme(HWND Window) : FLib(LoadLibrary("uxtheme.dll")) {
        if (!FLib)
            return;
        auto appThemed = Proc<TIsAppThemed>("IsAppThemed");
        auto active = Proc<TIsThemeActive>("IsThemeActive");
        auto props = Proc<TGetThemeAppProperties>("GetThemeAppProperties");
        auto open = Proc<TOpenThemeData>("OpenThemeData");
        FClose = Proc<TCloseThemeData>("CloseThemeData");
        FDraw = Proc<TDrawThemeBackground>("DrawThemeBackground");
        if (appThemed && active && props && open && FDraw && appThemed() && active() &&
            (props() & STAP_ALLOW_CONTROLS))
            FTheme = open(Window, L"header");
    }
    ~THeaderTheme() {
        if (FTheme && FClose)
            FClose(FTheme);
        if (FLib)
            FreeLibrary(FLib);
    }
    THeaderTheme(const THeaderTheme&) = delete;
    THeaderTheme& operator=(const THeaderTheme&) = delete;
    bool Active() const { return FTheme != nullptr; }
    void Draw(HDC DC, int Part, int State, const TRect& R) const {
        FDraw(FTheme, DC, Part, State, &R, nullptr);
    }

private:
    template <class F> F Proc(const char* Name) const {
        return reinterpret_cast<F>(GetProcAddress(FLib, Name));
    }
    HMODULE FLib;
    HTHEME FTheme = nullptr;
    TCloseThemeData FClose = nullptr;
    TDrawThemeBackground FDraw = nullptr;
};

// ---- sections ------------------------------------------------------------------------------------

void THeaderSection::SetText(const std::string& v) {
    FText = v;
    FOwner->Changed();
}

void THeaderSection::SetWidth(int v) {
    v = std::clamp(v, FMinWidth, std::max(FMinWidth, FMaxWidth));
    if (v == FWidth)
        return;
    FWidth = v;
    FOwner->Changed();
}

void THeaderSection::SetAlignment(TAlignment v) {
    FAlignment = v;
    FOwner->Changed();
}

void THeaderSection::SetSortFormat(int v) {
    FSortFormat = v & (HDF_SORTUP | HDF_SORTDOWN);
    FOwner->Changed();
}

void THeaderSection::SetStyle(THeaderSectionStyle v) {
    FStyle = v;
    FOwner->Changed();
}

int THeaderSection::Index() const {
    auto& items = FOwner->Sections()->FItems;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this)
            return int(i);
    return -1;
}

int THeaderSection::Left() const {
    int x = 0;
    for (int i = 0, n = Index(); i < n; ++i)
        x += FOwner->Sections()->Items(i)->Width();
    return x;
}

THeaderSection* THeaderSections::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto* s = new THeaderSection(FOwner);
    FItems.insert(FItems.begin() + Index, std::unique_ptr<THeaderSection>(s));
    FOwner->Changed();
    return s;
}

void THeaderSections::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    FItems.erase(FItems.begin() + Index);
    FOwner->Changed();
}

void THeaderSections::Clear() {
    FItems.clear();
    FOwner->Changed();
}

// ---- the control ---------------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* AOwner)
    : TCustomControl(AOwner), FSections(new THeaderSections(this)) {
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetAlign(alTop);
    SetBounds(Left(), Top(), 200, 17);
    SetColor(clBtnFace);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::Changed() { Invalidate(); }

int THeaderControl::SectionAt(int X, bool& OnDivider) const {
    OnDivider = false;
    int left = 0;
    for (int i = 0; i < FSections->Count(); ++i) {
        int right = left + FSections->Items(i)->Width();
        if (std::abs(X - right) <= 4 || (X >= right - 4 && X < right)) {
            OnDivider = true;
            return i;
        }
        if (X >= left && X < right)
            return i;
        left = right;
    }
    return -1;
}

int THeaderControl::Format(const THeaderSection* s) const {
    return (s->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING) | s->SortFormat() |
           (s->Alignment() == taRightJustify ? HDF_RIGHT
            : s->Alignment() == taCenter     ? HDF_CENTER
                                             : HDF_LEFT);
}

LRESULT THeaderControl::Notify(int Code, int Item) {
    if (!Parent())
        return 0;
    THDItem item;
    if (Item >= 0 && Item < FSections->Count()) {
        THeaderSection* s = FSections->Items(Item);
        item.Mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM;
        item.cxy = s->Width();
        item.Text = s->Text();
        item.fmt = Format(s);
        item.lParam = s->Data;
    }
    THDNotify n;
    n.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    n.code = Code;
    n.Item = Item;
    n.pItem = &item;
    return Parent()->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

void THeaderControl::DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed) {
    if (Section->Style() == hsOwnerDraw && OnDrawSection) {
        OnDrawSection(this, Section, Rect, Pressed);
        return;
    }
    TCanvas* c = Canvas();
    if (FTheme)
        FTheme->Draw(c, HP_HEADERITEM,
                     Pressed                    ? HIS_PRESSED
                     : Section->Index() == FHot ? HIS_HOT
                                                : HIS_NORMAL,
                     Rect);
    else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect);
        TRect r = Rect;
        DrawEdge(c, &r, Pressed ? unsigned(BDR_SUNKENOUTER) : unsigned(EDGE_RAISED),
                 BF_RECT | (Pressed ? unsigned(BF_FLAT) : 0u));
    }
    if (Section->Style() == hsOwnerDraw)
        return;
    TRect text = Rect;
    InflateRect(text, -6, 0);
    if (Pressed)
        OffsetRect(text, 1, 1);
    if (int sort = Section->SortFormat(); sort && text.Width() > 2 * SortArrowWidth) {
        // A triangle in the button shadow colour at the right, the text narrowed before it.
        text.Right -= SortArrowWidth + 4;
        int x = text.Right + 4, y = (text.Top + text.Bottom - SortArrowHeight) / 2;
        int top = sort & HDF_SORTUP ? y : y + SortArrowHeight - 1;
        int base = sort & HDF_SORTUP ? y + SortArrowHeight - 1 : y;
        TPoint arrow[3] = {TPoint(x + SortArrowWidth / 2, top), TPoint(x, base),
                           TPoint(x + SortArrowWidth - 1, base)};
        if (FTheme)
            FTheme->Draw(c, HP_HEADERSORTARROW, sort & HDF_SORTUP ? HSAS_SORTEDUP : HSAS_SORTEDDOWN,
                         Bounds(x, y, SortArrowWidth, SortArrowHeight));
        else {
            c->Brush()->SetColor(clBtnShadow);
            c->Pen()->SetColor(clBtnShadow);
            c->Polygon(arrow, 3);
        }
    }
    UINT align = Section->Alignment() == taRightJustify ? UINT(DT_RIGHT)
                 : Section->Alignment() == taCenter     ? UINT(DT_CENTER)
                                                        : UINT(DT_LEFT);
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(bsClear);
    c->DrawText(Section->Text(), text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void THeaderControl::Paint() {
    TCanvas* c = Canvas();
    THeaderTheme theme(Handle());
    FTheme = theme.Active() ? &theme : nullptr;
    // A throwing owner-draw handler must not leave the pointer to this paint's theme behind.
    struct TForget {
        THeaderTheme*& Theme;
        ~TForget() { Theme = nullptr; }
    } forget{FTheme};
    int right = 0;
    for (int i = 0; i < FSections->Count(); ++i) {
        THeaderSection* s = FSections->Items(i);
        TRect r(s->Left(), 0, s->Right(), ClientHeight());
        if (s->Style() == hsOwnerDraw && Parent()) {
            TDrawItemStruct d;
            d.CtlType = ODT_HEADER;
            d.itemID = UINT(i);
            d.itemState = i == FPressed ? UINT(ODS_SELECTED) : 0u;
            d.hwndItem = Handle();
            d.hDC = c;
            d.rcItem = r;
            Parent()->Perform(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
        } else
            DrawSection(s, r, i == FPressed);
        right = r.Right;
    }
    // The rest of the strip is an empty section.
    if (right < ClientWidth()) {
        TRect r(right, 0, ClientWidth(), ClientHeight());
        if (FTheme)
            FTheme->Draw(c, HP_HEADERITEM, HIS_NORMAL, r);
        else {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(r);
            DrawEdge(c, &r, EDGE_RAISED, BF_RECT);
        }
    }
}

void THeaderControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FLastDownX = X;
    bool divider = false;
    int i = SectionAt(X, divider);
    if (i < 0)
        return;
    if (divider) {
        if (Notify(HDN_BEGINTRACK, i) != 0)
            return; // the parent forbids resizing
        FTracking = i;
        FTrackStartX = X;
        FTrackStartWidth = FSections->Items(i)->Width();
        if (OnSectionTrack)
            OnSectionTrack(this, FSections->Items(i), FTrackStartWidth, tsTrackBegin);
    } else if (FSections->Items(i)->AllowClick()) {
        FPressed = i;
        Invalidate();
    }
}

void THeaderControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    bool divider = false;
    int hot = FTracking < 0 ? SectionAt(X, divider) : -1;
    if (divider)
        hot = -1;
    if (hot != FHot) {
        FHot = hot;
        Invalidate();
    }
    if (FTracking < 0)
        return;
    THeaderSection* s = FSections->Items(FTracking);
    s->SetWidth(FTrackStartWidth + X - FTrackStartX);
    Notify(HDN_TRACK, FTracking);
    if (OnSectionTrack)
        OnSectionTrack(this, s, s->Width(), tsTrackMove);
}

void THeaderControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FTracking >= 0) {
        int i = FTracking;
        FTracking = -1;
        THeaderSection* s = FSections->Items(i);
        if (OnSectionTrack)
            OnSectionTrack(this, s, s->Width(), tsTrackEnd);
        Notify(HDN_ENDTRACK, i);
        if (OnSectionResize)
            OnSectionResize(this, s);
    } else if (FPressed >= 0) {
        int i = FPressed;
        FPressed = -1;
        Invalidate();
        bool divider = false;
        if (SectionAt(X, divider) == i && !divider) {
            Notify(HDN_ITEMCLICK, i);
            if (OnSectionClick)
                OnSectionClick(this, FSections->Items(i));
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void THeaderControl::DblClick() {
    bool divider = false;
    int i = SectionAt(FLastDownX, divider);
    if (i >= 0 && divider)
        Notify(HDN_DIVIDERDBLCLICK, i);
    TCustomControl::DblClick();
}

void THeaderControl::WMSetCursor(TWMSetCursor& Message) {
    TPoint p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    bool divider = false;
    if (FTracking >= 0 || (SectionAt(p.x, divider) >= 0 && divider)) {
        // The shape for this window only: Screen's cursor would stay over the whole program.
        ::SetCursor(Screen->Cursors(crHSplit));
        Message.Result = 1;
        return;
    }
    TCustomControl::WMSetCursor(Message);
}

void THeaderControl::Dispatch(TMessage& Message) {
    auto* item = reinterpret_cast<THDItem*>(Message.LParam);
    int i = int(Message.WParam);
    bool valid = i >= 0 && i < FSections->Count();
    switch (Message.Msg) {
    case CM_MOUSELEAVE:
        if (FHot >= 0) {
            FHot = -1;
            Invalidate();
        }
        TCustomControl::Dispatch(Message);
        return;
    case CN_DRAWITEM: {
        auto* d = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
        if (d && int(d->itemID) < FSections->Count())
            DrawSection(FSections->Items(int(d->itemID)), d->rcItem, d->itemState & ODS_SELECTED);
        Message.Result = 1;
        return;
    }
    case HDM_GETITEMCOUNT: Message.Result = FSections->Count(); return;
    case HDM_INSERTITEM: {
        if (!item) {
            Message.Result = -1;
            return;
        }
        THeaderSection* s = FSections->Insert(i);
        if (item->Mask & HDI_TEXT)
            s->SetText(item->Text);
        if (item->Mask & HDI_WIDTH)
            s->SetWidth(item->cxy);
        Message.Result = s->Index();
        return;
    }
    case HDM_DELETEITEM:
        FSections->Delete(i);
        Message.Result = valid;
        return;
    case HDM_GETITEM:
    case HDM_SETITEM: {
        if (!valid || !item) {
            Message.Result = 0;
            return;
        }
        THeaderSection* s = FSections->Items(i);
        if (Message.Msg == HDM_GETITEM) {
            if (item->Mask & HDI_WIDTH)
                item->cxy = s->Width();
            if (item->Mask & HDI_TEXT)
                item->Text = s->Text();
            if (item->Mask & HDI_FORMAT)
                item->fmt = Format(s);
            if (item->Mask & HDI_LPARAM)
                item->lParam = s->Data;
        } else {
            if (item->Mask & HDI_WIDTH)
                s->SetWidth(item->cxy);
            if (item->Mask & HDI_TEXT)
                s->SetText(item->Text);
            if (item->Mask & HDI_FORMAT) {
                s->SetStyle(item->fmt & HDF_OWNERDRAW ? hsOwnerDraw : hsText);
                s->SetSortFormat(item->fmt);
                int j = item->fmt & HDF_JUSTIFYMASK;
                s->SetAlignment(j == HDF_RIGHT ? taRightJustify : j == HDF_CENTER ? taCenter : taLeftJustify);
            }
            if (item->Mask & HDI_LPARAM)
                s->Data = item->lParam;
        }
        Message.Result = 1;
        return;
    }
    case HDM_GETITEMRECT: {
        auto* r = reinterpret_cast<TRect*>(Message.LParam);
        if (!valid || !r) {
            Message.Result = 0;
            return;
        }
        *r = TRect(FSections->Items(i)->Left(), 0, FSections->Items(i)->Right(), ClientHeight());
        Message.Result = 1;
        return;
    }
    case HDM_HITTEST: {
        auto* h = reinterpret_cast<THDHitTestInfo*>(Message.LParam);
        if (!h)
            return;
        bool divider = false;
        h->Item = h->Pt.y >= 0 && h->Pt.y < ClientHeight() ? SectionAt(h->Pt.x, divider) : -1;
        h->Flags = h->Item < 0 ? HHT_NOWHERE : divider ? HHT_ONDIVIDER : HHT_ONHEADER;
        Message.Result = h->Item;
        return;
    }
    default: TCustomControl::Dispatch(Message);
    }
}
