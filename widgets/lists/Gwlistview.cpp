// The Gw list view: sorting, header painting, last-column fill, hints, menus, wheel and framing.
#include "Gwlistview.h"

#include "Gwscreendc.h"
#include "Gwthemesrv.h"
#include "forms.h"
#include "sysinfo.h"

namespace {

std::string ColumnText(const TListItem* Item, int Column) {
    if (Column == 0)
        return Item->Caption();
    TStrings* s = Item->SubItems();
    return Column - 1 < s->Count() ? s->Get(Column - 1) : std::string();
}

bool IsCheckChange(const TNMListView& nm) {
    return (nm.uChanged & LVIF_STATE) && ((nm.uOldState ^ nm.uNewState) & LVIS_STATEIMAGEMASK);
}

} // namespace

int GwCustomSortProc(LPARAM Item1, LPARAM Item2, LPARAM Column) {
    auto* a = reinterpret_cast<TListItem*>(Item1);
    auto* b = reinterpret_cast<TListItem*>(Item2);
    if (!a || !b || Column < 0)
        return 0;
    std::string s1 = ColumnText(a, int(Column)), s2 = ColumnText(b, int(Column));
    int r = AnsiCompareText(s1, s2);
    if (r > 0 && s2.empty())
        return -1;
    if (r < 0 && s1.empty())
        return 1;
    return r;
}

int GwCustomSortDescendingProc(LPARAM Item1, LPARAM Item2, LPARAM Column) {
    return -GwCustomSortProc(Item1, Item2, Column);
}

static void DrawArrow(TCanvas* Canvas, const TRect& Rect, TColor BackColor, TColor ArrowColor, bool Up) {
    int h = (Rect.Bottom - Rect.Top) * 3 / 4, w = 2 * h - 1;
    int x = Rect.Left, y = Rect.Bottom - h;
    if (BackColor != clNone) {
        Canvas->Brush()->SetColor(BackColor);
        Canvas->FillRect(Bounds(x, y, w, h));
    }
    Canvas->Brush()->SetColor(ArrowColor);
    Canvas->Pen()->SetColor(ArrowColor);
    if (Up)
        Canvas->Polygon({TPoint(x + w / 2, y), TPoint(x, y + h - 1), TPoint(x + w - 1, y + h - 1)});
    else
        Canvas->Polygon({TPoint(x + w / 2, y + h - 1), TPoint(x, y), TPoint(x + w - 1, y)});
    Canvas->Brush()->SetColor(BackColor);
}

void DrawUpArrow(TCanvas* Canvas, const TRect& Rect, TColor BackColor, TColor ArrowColor) {
    DrawArrow(Canvas, Rect, BackColor, ArrowColor, true);
}

void DrawDownArrow(TCanvas* Canvas, const TRect& Rect, TColor BackColor, TColor ArrowColor) {
    DrawArrow(Canvas, Rect, BackColor, ArrowColor, false);
}

// ---- life ----------------------------------------------------------------------------------------

TGwCustomListView::TGwCustomListView(TComponent* AOwner) : TGwFramedBase(AOwner) {
    FHeaderOldProc = Header()->WindowProc;
    Header()->WindowProc = [this](TMessage& m) { HeaderWndProc(m); };
}

TGwCustomListView::~TGwCustomListView() {
    Header()->WindowProc = FHeaderOldProc;
    if (FHintWindow)
        delete FHintWindow;
}

void TGwCustomListView::CreateWnd() {
    TCustomListView::CreateWnd();
    Perform(LVM_SETTEXTBKCOLOR, 0, LPARAM(ColorToRGB(Color())));
    Perform(LVM_SETBKCOLOR, 0, LPARAM(ColorToRGB(Color())));
}

void TGwCustomListView::Loaded() {
    TCustomListView::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}

void TGwCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListView::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        FFraming.ControllerRemoved(AComponent);
        if (AComponent == FHintWindow)
            FHintWindow = nullptr;
    }
}

// ---- sorting -------------------------------------------------------------------------------------

void TGwCustomListView::ColClick(TListColumn* Column) {
    if (AlphaSortAll && Column) {
        int i = Column->Index();
        if (i != FLastAscendingColumn) {
            SetHeaderSortColumn(i);
            SetHeaderSortDirection(sdAscending);
            CustomSort(GwCustomSortProc, i);
            FLastAscendingColumn = i;
        } else {
            SetHeaderSortDirection(sdDescending);
            CustomSort(GwCustomSortDescendingProc, i);
            FLastAscendingColumn = -1;
        }
    }
    TCustomListView::ColClick(Column);
}

void TGwCustomListView::SortByColumn(int Column, TGwLVSortDirection Direction) {
    if (Column < 0 || Column >= Columns()->Count())
        return;
    FLastAscendingColumn = Direction == sdDescending ? Column : -1;
    ColClick(Columns()->Items(Column));
}

void TGwCustomListView::SetHeaderSortColumn(int Value) {
    if (Value == FSortColumn)
        return;
    InvalidateHeaderSection(FSortColumn);
    FSortColumn = Value;
    InvalidateHeaderSection(Value);
}

void TGwCustomListView::SetHeaderSortDirection(TGwLVSortDirection Value) {
    if (Value == FSortDirection)
        return;
    FSortDirection = Value;
    InvalidateHeaderSection(FSortColumn);
}

void TGwCustomListView::InvalidateHeaderSection(int Index) {
    if (Index < 0 || Index >= Header()->Sections()->Count() || !Header()->HandleAllocated())
        return;
    TRect r;
    if (Header()->Perform(HDM_GETITEMRECT, WPARAM(Index), reinterpret_cast<LPARAM>(&r)))
        InvalidateRect(Header()->Handle(), &r, false);
}

// ---- header --------------------------------------------------------------------------------------

void TGwCustomListView::SetHeaderSortDisplayMode(TGwLVHeaderSortDisplayMode Value) {
    if (GetComCtlVersion() < ComCtlVersionIE3) // owner-drawn sections need 4.70
        Value = hsdmNone;
    if (Value == FSortDisplayMode)
        return;
    FSortDisplayMode = Value;
    SetHeaderODStyle();
    Header()->Invalidate();
}

void TGwCustomListView::SetHeaderDefaultDrawing(bool Value) {
    if (Value == FHeaderDefaultDrawing)
        return;
    FHeaderDefaultDrawing = Value;
    Header()->Invalidate();
}

// Sections come and go with the columns, so the style is checked before each header paint; a
// section is only set when its format differs, since setting repaints the header.
void TGwCustomListView::SetHeaderODStyle() {
    if (FSettingODStyle)
        return;
    FSettingODStyle = true;
    bool owner = FSortDisplayMode != hsdmNone && ViewStyle() == vsReport;
    for (int i = 0; i < Header()->Sections()->Count(); ++i) {
        THDItem item;
        item.Mask = HDI_FORMAT;
        Header()->Perform(HDM_GETITEM, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        int fmt = owner ? item.fmt | HDF_OWNERDRAW : item.fmt & ~HDF_OWNERDRAW;
        if (fmt != item.fmt) {
            item.fmt = fmt;
            Header()->Perform(HDM_SETITEM, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        }
    }
    FSettingODStyle = false;
}

void TGwCustomListView::HeaderWndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT: SetHeaderODStyle(); break;
    case WM_LBUTTONDOWN: FHeaderPressed = true; break;
    case WM_LBUTTONUP: FHeaderPressed = false; break;
    case WM_MOUSEMOVE: {
        bool divider = false;
        int hot = Header()->SectionAt(GET_X_LPARAM(Message.LParam), divider);
        if (hot != FHotSection) {
            InvalidateHeaderSection(FHotSection);
            FHotSection = hot;
            InvalidateHeaderSection(hot);
        }
        break;
    }
    case CM_MOUSELEAVE:
        if (ViewStyle() == vsReport) {
            InvalidateHeaderSection(FHotSection);
            FHotSection = -1;
        }
        break;
    case WM_NCHITTEST:
        if (ComponentState().Contains(csDesigning)) {
            Message.Result = HTTRANSPARENT;
            return;
        }
        break;
    default: break;
    }
    FHeaderOldProc(Message);
}

void TGwCustomListView::DrawHeader(int Index, TRect Rect) {
    TCanvas* c = FHeaderCanvas;
    c->SetFont(Font());
    c->Font()->SetColor(clBtnText);
    c->Brush()->SetColor(clBtnFace);
    if (!ThemeServices()->GetThemesEnabled()) {
        c->FillRect(Rect);
        DrawEdge(c, &Rect, EDGE_RAISED, BF_RECT);
        InflateRect(Rect, -2, -2);
    }
    if (FHeaderDefaultDrawing)
        DefaultDrawHeader(Index, Rect);
}

void TGwCustomListView::DefaultDrawHeader(int Index, TRect Rect) {
    TCanvas* c = FHeaderCanvas;
    if (ThemeServices()->GetThemesEnabled()) {
        TThemedHeader state = FHeaderPressed && Index == FHotSection ? thHeaderItemPressed
                              : Index == FHotSection                 ? thHeaderItemHot
                                                                     : thHeaderItemNormal;
        ThemeServices()->DrawElement(c, TThemeServices::GetElementDetails(state), Rect);
    }
    THDItem item;
    item.Mask = HDI_TEXT | HDI_FORMAT;
    Header()->Perform(HDM_GETITEM, WPARAM(Index), reinterpret_cast<LPARAM>(&item));
    TRect text = Rect;
    text.Left += 2;
    if (Index < Columns()->Count() && SmallImages() && Columns()->Items(Index)->ImageIndex() >= 0) {
        SmallImages()->Draw(c, text.Left, text.Top + (text.Height() - SmallImages()->Height()) / 2,
                            Columns()->Items(Index)->ImageIndex());
        text.Left += SmallImages()->Width() + 4;
    }
    unsigned align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                  : DT_LEFT;
    if (Index == FSortColumn && FSortDisplayMode != hsdmNone) {
        int gw = Rect.Height() / 2, gh = gw - 1;
        TRect glyph = Bounds(text.Left, Rect.Top + (Rect.Height() - gh) / 2, gw, gh);
        switch (FSortDisplayMode) {
        case hsdmLeftAlign:
            if (Rect.Width() > 15)
                text.Left = glyph.Right + 5;
            break;
        case hsdmRightOfText: {
            int w = std::min(c->TextWidth(item.Text), std::max(0, text.Width() - gw - 5));
            OffsetRect(glyph, w + 5, 0);
            text.Right = std::min(text.Right, glyph.Left - 5);
            break;
        }
        default:
            OffsetRect(glyph, text.Right - gw - glyph.Left, 0);
            text.Right = glyph.Left - 5;
            break;
        }
        DrawHeaderSortGlyphs(Index, glyph);
    }
    c->Brush()->SetStyle(bsClear);
    c->DrawText(item.Text, text, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

void TGwCustomListView::DrawHeaderSortGlyphs(int Index, const TRect& Rect) {
    if (Index != FSortColumn || Index >= Columns()->Count() ||
        Columns()->Items(Index)->Width() <= 2 * Rect.Width())
        return;
    if (FSortDirection == sdAscending)
        DrawUpArrow(FHeaderCanvas, Rect, clNone, clBtnShadow);
    else
        DrawDownArrow(FHeaderCanvas, Rect, clNone, clBtnShadow);
}

// ---- last column ---------------------------------------------------------------------------------

void TGwCustomListView::SetFillLastColumn(bool Value) {
    if (Value == FFillLastColumn)
        return;
    FFillLastColumn = Value;
    ResizeLastColumn();
}

void TGwCustomListView::ResizeLastColumn() {
    int n = Columns()->Count();
    if (!FFillLastColumn || ViewStyle() != vsReport || ComponentState().Contains(csDestroying) || n == 0)
        return;
    Items()->BeginUpdate();
    int sum = 0;
    for (int i = 0; i < n - 1; ++i)
        sum += Columns()->Items(i)->Width();
    int avail = ClientWidth();
    if (Items()->Count() == 0)
        avail -= GetSystemMetrics(SM_CXVSCROLL);
    if (avail - sum > 0)
        Columns()->Items(n - 1)->SetWidth(std::max(5, avail - sum));
    Items()->EndUpdate();
}

void TGwCustomListView::WMNotify(TMessage& Message) {
    TCustomListView::WMNotify(Message);
    auto* n = reinterpret_cast<THDNotify*>(Message.LParam);
    if (n && (n->code == HDN_ENDTRACK || n->code == HDN_DIVIDERDBLCLICK))
        ResizeLastColumn();
}

// ---- check states --------------------------------------------------------------------------------

bool TGwCustomListView::CanCheckStateChange(TListItem* Item, bool ToBeChecked) {
    bool allow = true;
    if (OnCheckStateChanging)
        OnCheckStateChanging(this, Item, ToBeChecked, allow);
    return allow;
}

void TGwCustomListView::CheckStateChange(TListItem* Item) {
    if (OnCheckStateChange)
        OnCheckStateChange(this, Item);
}

void TGwCustomListView::CNNotify(TMessage& Message) {
    auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
    bool listNote = hdr && (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED);
    auto* nm = listNote ? reinterpret_cast<TNMListView*>(Message.LParam) : nullptr;
    auto* item = nm ? reinterpret_cast<TListItem*>(nm->lParam) : nullptr;
    if (nm && item && hdr->code == LVN_ITEMCHANGING && IsCheckChange(*nm) &&
        !CanCheckStateChange(item, (nm->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2))) {
        Message.Result = 1;
        return;
    }
    TCustomListView::CNNotify(Message);
    if (nm && item && hdr->code == LVN_ITEMCHANGED && IsCheckChange(*nm))
        CheckStateChange(item);
}

// ---- context menus -------------------------------------------------------------------------------

void TGwCustomListView::ItemContextMenu(TListItem* Item, TPoint& Pos, TPopupMenu*& Menu) {
    if (OnItemContextMenu)
        OnItemContextMenu(this, Item, Pos, Menu);
}

void TGwCustomListView::DoItemContextMenu(TPoint Pos) {
    TPopupMenu* menu = PopupMenu();
    ItemContextMenu(ItemFocused() ? ItemFocused() : Selected(), Pos, menu);
    FMenuShown = true;
    if (!menu)
        return;
    menu->SetPopupComponent(this);
    TPoint p = ClientToScreen(Pos);
    menu->Popup(p.x, p.y);
}

static TPoint Centre(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

void TGwCustomListView::DoPreItemContextMenu(TPoint Pos) {
    if (TListItem* f = ItemFocused(); f && f->Focused())
        DoItemContextMenu(Centre(f->DisplayRect(drIcon)));
    else if (Selected())
        DoItemContextMenu(Centre(Selected()->DisplayRect(drIcon)));
    else if (PopupMenu() && PopupMenu()->AutoPopup()) {
        Perform(WM_CANCELMODE, 0, 0);
        PopupMenu()->SetPopupComponent(this);
        TPoint p = ClientToScreen(Pos);
        PopupMenu()->Popup(p.x, p.y);
    }
}

void TGwCustomListView::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomListView::KeyDown(Key, Shift);
    bool apps = Key == VK_APPS && Shift.Empty();
    bool shiftF10 = Key == VK_F10 && Shift == TShiftState{ssShift};
    if ((apps || shiftF10) && !ComponentState().Contains(csDesigning)) {
        Key = 0;
        DoPreItemContextMenu(TPoint(0, 0));
        FMenuShown = false;
    }
}

// ---- wheel ---------------------------------------------------------------------------------------

int TGwCustomListView::WheelStep() const {
    return Mouse->WheelScrollLines() * (ViewStyle() == vsIcon ? 32 : 16);
}

bool TGwCustomListView::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    TCustomListView::DoMouseWheelDown(Shift, MousePos);
    Scroll(0, WheelStep());
    return true;
}

bool TGwCustomListView::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    TCustomListView::DoMouseWheelUp(Shift, MousePos);
    Scroll(0, -WheelStep());
    return true;
}

// ---- captions and rows ---------------------------------------------------------------------------

void TGwCustomListView::EditSelectedCaption() {
    if (Selected())
        Selected()->EditCaption();
}

void TGwCustomListView::EditItemCaption(TListItem* Item) {
    if (Item)
        Item->EditCaption();
}

void TGwCustomListView::SetTopIndex(int Index) {
    if (Index < 0 || Index >= Items()->Count() || !TopItem())
        return;
    Scroll(0, Items()->Item(Index)->DisplayRect(drBounds).Top - TopItem()->DisplayRect(drBounds).Top);
}

// ---- hints ---------------------------------------------------------------------------------------

void TGwCustomListView::DoHint(int X, int Y) {
    TListItem* item = GetItemAt(X, Y);
    std::string text = item ? item->Caption() : std::string();
    TRect label = item ? item->DisplayRect(drLabel) : TRect();
    int width = 0;
    if (item) {
        TScreenDC dc(Font());
        width = dc->TextWidth(text);
    }
    if (!ShowItemHints || ComponentState().Contains(csDesigning) || !item || width + 4 <= label.Width() ||
        !Application->Active()) {
        ReleaseHintWindow();
        return;
    }
    if (!FHintWindow) {
        FHintWindow = new THintWindow(this);
        FHintWindow->SetColor(Application->HintColor());
    }
    FHintWindow->SetFont(Font());
    TRect r = FHintWindow->CalcHintRect(Screen->Width(), text, nullptr);
    TPoint origin = ClientToScreen(TPoint(label.Left, label.Top));
    OffsetRect(r, origin.x - 1, origin.y + (label.Height() - r.Height()) / 2);
    if (FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()) &&
        FHintWindow->Left() == r.Left && FHintWindow->Top() == r.Top)
        return;
    FHintWindow->ActivateHint(r, text);
}

void TGwCustomListView::ReleaseHintWindow() {
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
}

// ---- framing -------------------------------------------------------------------------------------

void TGwCustomListView::RepaintFrame() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TGwCustomListView::SetFrameHotTrack(bool Value) {
    if (Value == FFraming.FrameHotTrack())
        return;
    FFraming.SetFrameHotTrack(Value);
    Invalidate();
}

void TGwCustomListView::SetFrameVisible(bool Value) {
    if (Value && Value != FFraming.FrameVisible())
        SetCtl3D(true);
    FFraming.SetFrameVisible(Value);
}

void TGwCustomListView::WMNCPaint(TWMNCPaint& Message) {
    TCustomListView::WMNCPaint(Message);
    if (Message.DC && FFraming.PaintFrame(Message.DC, Width(), Height(), TGwFrameRing::NoColorRing))
        Message.Result = 0;
}

void TGwCustomListView::WMSize(TWMSize& Message) {
    TCustomListView::WMSize(Message);
    ResizeLastColumn();
    if (FFraming.DrawsFrame())
        RepaintFrame();
}

// ---- messages ------------------------------------------------------------------------------------

void TGwCustomListView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
        if (!d || d->CtlType != ODT_HEADER) {
            TCustomListView::Dispatch(Message);
            return;
        }
        int saved = d->hDC->SaveDC();
        FHeaderCanvas = d->hDC;
        DrawHeader(int(d->itemID), d->rcItem);
        FHeaderCanvas = nullptr;
        d->hDC->RestoreDC(saved);
        Message.Result = 1;
        return;
    }
    case WM_CONTEXTMENU: {
        bool keyboard = DWORD(Message.LParam) == 0xFFFFFFFF; // the keyboard sends no point
        if (FMenuShown) {
            FMenuShown = false;
            Message.Result = 1;
            return;
        }
        if (!ComponentState().Contains(csDesigning) && Selected() && ItemFocused()) {
            if (keyboard)
                DoPreItemContextMenu(TPoint(0, 0));
            else
                DoItemContextMenu(
                    ScreenToClient(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam))));
            FMenuShown = false;
            Message.Result = 1;
            return;
        }
        TCustomListView::Dispatch(Message);
        return;
    }
    case WM_RBUTTONUP:
        if (FMenuShown) {
            FMenuShown = false;
            return;
        }
        TCustomListView::Dispatch(Message);
        return;
    case WM_MOUSEMOVE:
        TCustomListView::Dispatch(Message);
        DoHint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        return;
    case CM_COLORCHANGED:
        TCustomListView::Dispatch(Message);
        FFraming.ColorChanged();
        if (HandleAllocated()) {
            Perform(LVM_SETTEXTBKCOLOR, 0, LPARAM(ColorToRGB(Color())));
            Perform(LVM_SETBKCOLOR, 0, LPARAM(ColorToRGB(Color())));
        }
        return;
    case CM_PARENTCOLORCHANGED:
        TCustomListView::Dispatch(Message);
        if (FFraming.FrameVisible())
            RepaintFrame();
        return;
    case CM_ENABLEDCHANGED:
        TCustomListView::Dispatch(Message);
        UpdateColors();
        return;
    case CM_ENTER:
        FFocused = true;
        UpdateFrame(false, true);
        TCustomListView::Dispatch(Message);
        return;
    case CM_EXIT:
        TCustomListView::Dispatch(Message);
        FFocused = false;
        UpdateFrame(false, false);
        return;
    case CM_MOUSEENTER:
        TCustomListView::Dispatch(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        UpdateFrame(true, true);
        return;
    case CM_MOUSELEAVE:
        TCustomListView::Dispatch(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        UpdateFrame(true, false);
        ReleaseHintWindow();
        return;
    default: TCustomListView::Dispatch(Message);
    }
}
