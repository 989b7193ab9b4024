// TControl: bounds, alignment, visibility, colours, fonts, mouse messages and the dispatch table.
// GUI core (platform/vcl).
#include "controls.h"

#include <algorithm>

#include <QApplication>
#include <QWidget>

#include "actlist.h"
#include "dragdock.h"
#include "forms.h"
#include "handle.h"
#include "menus.h"
#include "winapi.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    *FAlive = false;
    delete FActionLink;
    if (FHostDockSite) {
        TWinControl* host = FHostDockSite;
        FHostDockSite = nullptr;
        std::erase(host->FDockClients, this);
        host->Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<LPARAM>(this));
        host->DoRemoveDockClient(this);
    }
    if (DragControl() == this)
        CancelDrag();
    ForgetControl(this);
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    if (FParent)
        FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m = MakeMessage(Msg, WParam, LParam);
    TMessageBoundary::Perform(this, m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: {
        TWMMouse t(m);
        WMLButtonDown(t);
        return;
    }
    case WM_RBUTTONDOWN: {
        TWMMouse t(m);
        WMRButtonDown(t);
        return;
    }
    case WM_MBUTTONDOWN: {
        TWMMouse t(m);
        WMMButtonDown(t);
        return;
    }
    case WM_LBUTTONDBLCLK: {
        TWMMouse t(m);
        WMLButtonDblClk(t);
        return;
    }
    case WM_RBUTTONDBLCLK: {
        TWMMouse t(m);
        WMRButtonDblClk(t);
        return;
    }
    case WM_LBUTTONUP: {
        TWMMouse t(m);
        WMLButtonUp(t);
        return;
    }
    case WM_RBUTTONUP: {
        TWMMouse t(m);
        WMRButtonUp(t);
        return;
    }
    case WM_MBUTTONUP: {
        TWMMouse t(m);
        WMMButtonUp(t);
        return;
    }
    case WM_MOUSEMOVE: {
        TWMMouse t(m);
        WMMouseMove(t);
        return;
    }
    case WM_MOUSEWHEEL: {
        TWMMouseWheel t(m);
        WMMouseWheel(t);
        return;
    }
    case WM_CONTEXTMENU: {
        TWMContextMenu t(m);
        WMContextMenu(t);
        return;
    }
    case WM_CANCELMODE: WMCancelMode(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_DRAG: CMDrag(m); return;
    case CM_FLOAT: CMFloat(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(m); return;
    case CM_CURSORCHANGED: CMCursorChanged(m); return;
    case CM_HITTEST: {
        TCMHitTest t(m);
        CMHitTest(t);
        return;
    }
    case CM_DESIGNHITTEST: {
        TWMMouse t(m);
        CMDesignHitTest(t);
        return;
    }
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); return;
    default: DefaultHandler(m); return;
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    // The window text lives in the control, as the window manager keeps it for a window.
    switch (Message.Msg) {
    case WM_SETTEXT:
        FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
        Message.Result = 1;
        return;
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(GetText().size()); return;
    case WM_GETTEXT: {
        char* buf = reinterpret_cast<char*>(Message.LParam);
        size_t size = size_t(Message.WParam);
        if (!buf || size == 0) {
            Message.Result = 0;
            return;
        }
        std::string text = GetText();
        size_t n = std::min(text.size(), size - 1);
        text.copy(buf, n);
        buf[n] = 0;
        Message.Result = LRESULT(n);
        return;
    }
    case WM_CONTEXTMENU:
        // A window without a menu of its own passes the request to its parent.
        if (FParent)
            Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
        return;
    default: break;
    }
    TMessageBoundary::PassToWidget(Message.Msg);
}

// ---- bounds and alignment --------------------------------------------------------------------------

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
        AWidth = FWidth;
        AHeight = FHeight;
    }
    if (FAutoSize) {
        int w = AWidth, h = AHeight;
        if (CanAutoSize(w, h)) {
            AWidth = w;
            AHeight = h;
        }
    }
    TSizeConstraints lim = FConstraints;
    ConstrainedResize(lim.MinWidth, lim.MinHeight, lim.MaxWidth, lim.MaxHeight);
    if (lim.MinWidth > 0 && AWidth < lim.MinWidth)
        AWidth = lim.MinWidth;
    if (lim.MaxWidth > 0 && AWidth > lim.MaxWidth)
        AWidth = lim.MaxWidth;
    if (lim.MinHeight > 0 && AHeight < lim.MinHeight)
        AHeight = lim.MinHeight;
    if (lim.MaxHeight > 0 && AHeight > lim.MaxHeight)
        AHeight = lim.MaxHeight;
    if (AWidth < 0)
        AWidth = 0;
    if (AHeight < 0)
        AHeight = 0;
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    InvalidateControl(FVisible, false);
    bool sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (FParent) {
        TRect pc = FParent->GetClientRect();
        FAnchorBaseW = pc.Width();
        FAnchorBaseH = pc.Height();
    }
    InvalidateControl(FVisible, false);
    // A windowed control resizes through WM_SIZE.
    if (sized && !dynamic_cast<TWinControl*>(this))
        Resize();
    RequestAlign();
}

void TControl::SetClientWidth(int v) { SetWidth(FWidth - GetClientRect().Width() + v); }

void TControl::SetClientHeight(int v) { SetHeight(FHeight - GetClientRect().Height() + v); }

TRect TControl::GetClientRect() { return Rect(0, 0, FWidth, FHeight); }

TPoint TControl::ClientOrigin() {
    if (!FParent)
        return {FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return {p.x + FLeft, p.y + FTop};
}

void TControl::SetAlign(TAlign v) {
    if (FAlign == v)
        return;
    FAlign = v;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors v) { FAnchors = v; }

void TControl::RequestAlign() {
    if (FParent)
        FParent->DoAlign();
}

bool TControl::CanResize(int&, int&) { return true; }

bool TControl::CanAutoSize(int&, int&) { return true; }

void TControl::SetAutoSize(bool v) {
    if (FAutoSize == v)
        return;
    FAutoSize = v;
    if (v)
        AdjustSize();
}

void TControl::AdjustSize() {
    if (!FAutoSize)
        return;
    int w = FWidth, h = FHeight;
    if (CanAutoSize(w, h))
        SetBounds(FLeft, FTop, w, h);
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
    if (OnConstrainedResize)
        OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::ChangeScale(int M, int D) {
    if (M == D || D == 0)
        return;
    auto scale = [M, D](int v) { return int((long long)v * M / D); };
    SetBounds(scale(FLeft), scale(FTop), scale(FWidth), scale(FHeight));
    if (!FParentFont)
        FFont->SetSize(scale(FFont->Size()));
}

void TControl::Resize() {
    if (OnResize && !ComponentState().Contains(csDestroying))
        OnResize(this);
}

// ---- visibility, enabling, colour, font, text ------------------------------------------------------

void TControl::SetVisible(bool v) {
    if (FVisible == v)
        return;
    if (!v)
        InvalidateControl(true, false);
    FVisible = v;
    Perform(CM_VISIBLECHANGED, v, 0);
    if (v)
        InvalidateControl(true, false);
    RequestAlign();
}

void TControl::Show() { SetVisible(true); }

void TControl::Hide() { SetVisible(false); }

bool TControl::Showing() { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool v) {
    if (FEnabled == v)
        return;
    FEnabled = v;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
    if (FColor == v && !FParentColor)
        return;
    FColor = v;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
    if (FParentColor == v)
        return;
    FParentColor = v;
    if (v && FParent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged() {
    if (!FSettingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::ApplyParentFont() {
    if (!FParent)
        return;
    FSettingParentFont = true;
    FFont->Assign(*FParent->Font());
    FSettingParentFont = false;
}

void TControl::SetParentFont(bool v) {
    if (FParentFont == v)
        return;
    FParentFont = v;
    if (v && FParent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& v) {
    if (GetText() == v)
        return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

int TControl::GetTextLen() { return int(Perform(WM_GETTEXTLENGTH, 0, 0)); }

int TControl::GetTextBuf(char* Buffer, int BufSize) {
    return int(Perform(WM_GETTEXT, WPARAM(std::max(BufSize, 0)), reinterpret_cast<LPARAM>(Buffer)));
}

void TControl::SetShowHint(bool v) {
    if (FShowHint == v && !FParentShowHint)
        return;
    FShowHint = v;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
    if (FParentShowHint == v)
        return;
    FParentShowHint = v;
    if (v && FParent)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
    if (FCursor == v)
        return;
    FCursor = v;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* v) {
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = v;
    if (v)
        v->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED, 0, 0);
    }
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMVisibleChanged(TMessage&) {
    // The host lays its clients out again without (or with) this one.
    if (FHostDockSite) {
        TDockNotifyRec rec{CM_VISIBLECHANGED, 0, 0};
        FHostDockSite->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this),
                               reinterpret_cast<LPARAM>(&rec));
    }
}

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage&) {
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (FParentFont)
        ApplyParentFont();
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) {
        FShowHint = FParent->ShowHint();
        Perform(CM_SHOWHINTCHANGED, 0, 0);
        FParentShowHint = true;
    }
}

void TControl::CMShowHintChanged(TMessage&) {}
void TControl::CMCursorChanged(TMessage&) {}
void TControl::CMSysColorChange(TMessage&) { Invalidate(); }
void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}

void TControl::CMHitTest(TCMHitTest& Message) { Message.Result = HTCLIENT; }

void TControl::CMDesignHitTest(TWMMouse& Message) { Message.Result = 0; }

// ---- painting --------------------------------------------------------------------------------------

void TControl::InvalidateControl(bool IsVisible, bool) {
    if (!IsVisible || !FParent || !FParent->HandleAllocated())
        return;
    if (QWidget* w = ClientWidget(FParent))
        w->update(FLeft, FTop, FWidth, FHeight);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
    if (FParent)
        FParent->Update();
}

void TControl::Repaint() {
    if (!FVisible || !FParent || !FParent->HandleAllocated())
        return;
    if (QWidget* w = ClientWidget(FParent))
        w->repaint(FLeft, FTop, FWidth, FHeight);
}

void TControl::BringToFront() {
    if (!FParent)
        return;
    auto& v = FParent->FControls;
    std::erase(v, this);
    v.push_back(this);
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->HandleAllocated())
        HandleWidget(wc)->raise();
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent)
        return;
    auto& v = FParent->FControls;
    std::erase(v, this);
    v.insert(v.begin(), this);
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->HandleAllocated())
        HandleWidget(wc)->lower();
    Invalidate();
}

// ---- mouse -----------------------------------------------------------------------------------------

bool TControl::MouseCapture() const { return CaptureControl() == this; }

void TControl::SetMouseCapture(bool v) {
    if (v)
        SetCaptureControl(this);
    else if (CaptureControl() == this)
        SetCaptureControl(nullptr);
}

void TControl::Click() {
    // The control's own handler wins over its action's.
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled || WheelDelta == 0)
        return handled;
    return WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (Button == mbLeft && FControlStyle.Contains(csClickEvents))
        FControlState << csClicked;
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseDown(Button, KeysToShiftState(WORD(Message.Keys)) + Shift, Message.XPos, Message.YPos);
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseUp(Button, KeysToShiftState(WORD(Message.Keys)), Message.XPos, Message.YPos);
}

void TControl::WMLButtonDown(TWMMouse& Message) {
    // An automatic drag takes the press (a dock drag only once the mouse moves).
    if (FDragMode == dmAutomatic && !DragControl()) {
        BeginDrag(FDragKind == dkDrag);
        return;
    }
    DefaultHandler(Message);
    DoMouseDown(Message, mbLeft, TShiftState());
}

void TControl::WMRButtonDown(TWMMouse& Message) {
    DefaultHandler(Message);
    DoMouseDown(Message, mbRight, TShiftState());
}

void TControl::WMMButtonDown(TWMMouse& Message) {
    DefaultHandler(Message);
    DoMouseDown(Message, mbMiddle, TShiftState());
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    TControlGuard self(this);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    if (self.Alive() && !FControlStyle.Contains(csNoStdEvents))
        MouseDown(mbLeft, KeysToShiftState(WORD(Message.Keys)) << ssDouble, Message.XPos, Message.YPos);
}

void TControl::WMRButtonDblClk(TWMMouse& Message) {
    DefaultHandler(Message);
    DoMouseDown(Message, mbRight, TShiftState{ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState >> csClicked;
        TControlGuard self(this);
        if (PtInRect(GetClientRect(), Message.Pos()))
            Click();
        if (!self.Alive())
            return;
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    TControlGuard self(this);
    DoMouseUp(Message, mbRight);
    if (!self.Alive())
        return;
    // Windows raises the context menu from a right-button release.
    TPoint p = ClientToScreen(Message.Pos());
    Perform(WM_CONTEXTMENU, 0, MAKELPARAM(p.x, p.y));
}

void TControl::WMMButtonUp(TWMMouse& Message) {
    DefaultHandler(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TWMMouse& Message) {
    DefaultHandler(Message);
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(WORD(Message.Keys)), Message.XPos, Message.YPos);
}

void TControl::WMMouseWheel(TWMMouseWheel& Message) {
    if (DoMouseWheel(KeysToShiftState(WORD(Message.Keys)), Message.WheelDelta,
                     Point(Message.XPos, Message.YPos))) {
        Message.Result = 1;
        return;
    }
    // The widget's own scrolling first; what it leaves goes up to the parent.
    bool pending = TMessageBoundary::Pending(WM_MOUSEWHEEL);
    DefaultHandler(Message);
    bool taken = pending && TMessageBoundary::Accepted();
    if (!taken && FParent)
        Message.Result = FParent->Perform(WM_MOUSEWHEEL, Message.Raw.WParam, Message.Raw.LParam);
}

void TControl::WMContextMenu(TWMContextMenu& Message) {
    TPoint screen(Message.XPos, Message.YPos);
    TPoint local = ScreenToClient(screen);
    if (OnContextPopup) {
        bool handled = false;
        OnContextPopup(this, local, handled);
        if (handled) {
            Message.Result = 1;
            return;
        }
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(screen.x, screen.y);
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage&) { SetMouseCapture(false); }
