// The non-client side of windows: hit testing, mouse activation, popups, window placement and
// styles, scroll messages of child bars, and painting a control onto another context. GUI core.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include "forms.h"
#include "handle.h"
#include "winapi.h"
#include "graphics_qt.h"

// The style bits first: they rule out nearly every control without a cast up a deep hierarchy,
// and layout asks this of every control many times.
bool IsPopupWindow(TWinControl* c) {
    if (!c)
        return false;
    const DWORD style = TWinControlAccess::Style(c);
    return (style & WS_POPUP) && !(style & WS_CHILD) && !dynamic_cast<TCustomForm*>(c);
}

// Qt lets the mouse into a window under a modal one only when the window is the modal window's
// transient, and raises the modal window over any other the mouse moves into: a calendar dropped
// from a modal form went under the form at the first move and the click on a day hit the form.
void AttachPopupWindow(QWidget* popup) {
    QWindow* window = popup->windowHandle();
    if (!window)
        return;
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner && popup->parentWidget())
        owner = popup->parentWidget()->window();
    QWindow* ownerWindow = owner ? owner->windowHandle() : nullptr;
    if (ownerWindow != window)
        window->setTransientParent(ownerWindow);
}

// The client box answers HTCLIENT; a frame's border band HTBORDER; the rest of the frame (a strip a
// control keeps for a button of its own) HTNOWHERE.
void TWinControl::WMNCHitTest(TWMNCHitTest& Message) {
    TPoint p(Message.XPos, Message.YPos);
    TPoint origin = ClientOrigin();
    TRect box = TWinControlAccess::ClientBox(this);
    // Window coordinates: the client box sits at box.Left, box.Top inside the window.
    TPoint w(p.x - origin.x + box.Left, p.y - origin.y + box.Top);
    if (PtInRect(box, w) || IsTopLevel()) {
        Message.Result = HTCLIENT;
        return;
    }
    DWORD style, ex;
    CurrentStyles(style, ex);
    if ((style & WS_VSCROLL) && w.x >= box.Right && w.y >= box.Top && w.y < box.Bottom) {
        Message.Result = HTVSCROLL;
        return;
    }
    if ((style & WS_HSCROLL) && w.y >= box.Bottom && w.x >= box.Left && w.x < box.Right) {
        Message.Result = HTHSCROLL;
        return;
    }
    int border = (style & WS_BORDER ? 1 : 0) + (ex & WS_EX_CLIENTEDGE ? 2 : ex & WS_EX_STATICEDGE ? 1 : 0);
    TRect inner = Rect(border, border, Width() - border, Height() - border);
    Message.Result = PtInRect(inner, w) ? HTNOWHERE : HTBORDER;
}

// A child asks its parent; a popup never takes the activation.
void TWinControl::WMMouseActivate(TWMMouseActivate& Message) {
    if (IsPopupWindow(this)) {
        Message.Result = MA_NOACTIVATE;
        return;
    }
    if (Parent())
        Message.Result = Parent()->Perform(WM_MOUSEACTIVATE, Message.Raw.WParam, Message.Raw.LParam);
    if (Message.Result == 0)
        Message.Result = MA_ACTIVATE;
}

void TWinControl::WMHScroll(TWMScroll& Message) {
    if (TWinControl* child = FindControl(Message.ScrollBar); child && child != this)
        Message.Result = child->Perform(CN_HSCROLL, Message.Raw.WParam, Message.Raw.LParam);
    else
        DefaultHandler(Message);
}

void TWinControl::WMVScroll(TWMScroll& Message) {
    if (TWinControl* child = FindControl(Message.ScrollBar); child && child != this)
        Message.Result = child->Perform(CN_VSCROLL, Message.Raw.WParam, Message.Raw.LParam);
    else
        DefaultHandler(Message);
}

void TWinControl::Broadcast(TMessage& Message) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        TMessage m = Message;
        m.Result = 0;
        TMessageBoundary::Perform(c, m);
        if (m.Result != 0) {
            Message.Result = m.Result;
            return;
        }
    }
}

// Frame, background, client and children as they look, at X, Y of DC (a copy of the control for a
// preview or a drag image). A wrapped Qt widget renders itself.
void TWinControl::PaintTo(HDC DC, int X, int Y) {
    QPainter* p = DC ? CanvasPainter(DC) : nullptr;
    if (!p)
        return;
    TRect box = TWinControlAccess::ClientBox(this);
    FControlState << csPaintCopy;
    p->save();
    try {
        p->translate(X, Y);
        p->setClipRect(0, 0, Width(), Height(), Qt::IntersectClip);
        Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(DC), 0);
        p->translate(box.Left, box.Top);
        p->setClipRect(0, 0, box.Width(), box.Height(), Qt::IntersectClip);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        // A wrapped widget first: the control's own painting goes over it, as on the screen.
        if (QWidget* native = NativeWidget(this))
            native->render(p, QPoint(0, 0), QRegion(), QWidget::DrawChildren);
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        for (TControl* c : FControls)
            if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible() && !IsPopupWindow(w))
                w->PaintTo(DC, w->Left(), w->Top());
    } catch (...) {
        p->restore();
        FControlState >> csPaintCopy;
        throw;
    }
    p->restore();
    FControlState >> csPaintCopy;
}

// ---- Win32 window functions --------------------------------------------------------------------------

BOOL ShowWindow(HWND h, int CmdShow) {
    if (!IsLiveHandle(h))
        return 0;
    BOOL was = h->isVisible();
    TWinControl* c = h->Control();
    bool popup = IsPopupWindow(c);
    switch (CmdShow) {
    case SW_HIDE: h->hide(); break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_SHOWMINNOACTIVE: {
        bool keep = h->testAttribute(Qt::WA_ShowWithoutActivating);
        h->setAttribute(Qt::WA_ShowWithoutActivating);
        h->show();
        h->setAttribute(Qt::WA_ShowWithoutActivating, keep);
        break;
    }
    default:
        h->show();
        if (h->isWindow() && !popup)
            h->activateWindow();
        break;
    }
    return was;
}

BOOL SetWindowPos(HWND h, HWND InsertAfter, int X, int Y, int cx, int cy, UINT Flags) {
    if (!IsLiveHandle(h))
        return 0;
    TWinControl* c = h->Control();
    TControlGuard alive(c);
    if (!(Flags & SWP_NOMOVE) || !(Flags & SWP_NOSIZE)) {
        int l = Flags & SWP_NOMOVE ? c->Left() : X, t = Flags & SWP_NOMOVE ? c->Top() : Y;
        int w = Flags & SWP_NOSIZE ? c->Width() : cx, hh = Flags & SWP_NOSIZE ? c->Height() : cy;
        c->SetBounds(l, t, w, hh);
        if (!alive.Alive() || !IsLiveHandle(h))
            return 1;
    }
    if (Flags & SWP_FRAMECHANGED)
        TWinControlAccess::FrameChanged(c);
    // A popup stays above everything anyway.
    if (!(Flags & SWP_NOZORDER) && !IsPopupWindow(c)) {
        if (InsertAfter == HWND_BOTTOM)
            h->lower();
        else
            h->raise();
    }
    if (Flags & SWP_SHOWWINDOW)
        ShowWindow(h, Flags & SWP_NOACTIVATE ? SW_SHOWNOACTIVATE : SW_SHOW);
    if (Flags & SWP_HIDEWINDOW)
        ShowWindow(h, SW_HIDE);
    return 1;
}

LPARAM GetWindowLong(HWND h, int Index) {
    if (!IsLiveHandle(h))
        return 0;
    if (Index == GWL_STYLE)
        return LPARAM(TWinControlAccess::Style(h->Control()));
    if (Index == GWL_EXSTYLE)
        return LPARAM(TWinControlAccess::ExStyle(h->Control()));
    return 0;
}

LPARAM SetWindowLong(HWND h, int Index, LPARAM NewLong) {
    if (!IsLiveHandle(h) || (Index != GWL_STYLE && Index != GWL_EXSTYLE))
        return 0;
    DWORD& v = Index == GWL_STYLE ? TWinControlAccess::Style(h->Control())
                                  : TWinControlAccess::ExStyle(h->Control());
    DWORD old = v;
    v = DWORD(NewLong);
    // The window hears of it, as Windows tells it: a control that honours a style at run time
    // (an edit's alignment) applies it here.
    if (old != v) {
        TStyleStruct change{old, v};
        h->Control()->Perform(WM_STYLECHANGED, WPARAM(Index), reinterpret_cast<LPARAM>(&change));
    }
    return LPARAM(old);
}
