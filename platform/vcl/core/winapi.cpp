// Win32-shaped functions over the handles: messages, painting requests, focus, capture, key state,
// metrics and the caret. GUI core (platform/vcl).
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>

#include "forms.h"
#include "handle.h"
#include "winapi.h"

TWinControl* FindControl(HWND h) { return h ? h->Control() : nullptr; }

LRESULT SendMessage(HWND h, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* c = FindControl(h);
    return c ? c->Perform(Msg, WParam, LParam) : 0;
}

BOOL InvalidateRect(HWND h, const TRect* r, BOOL) {
    if (!h)
        return 0;
    if (r)
        h->Client()->update(r->Left, r->Top, r->Width(), r->Height());
    else
        h->Client()->update();
    return 1;
}

BOOL RedrawWindow(HWND h, const TRect* r, HRGN, UINT flags) {
    if (!h)
        return 0;
    if (flags & RDW_FRAME)
        h->update();
    if (flags & (RDW_INVALIDATE | RDW_ERASE))
        InvalidateRect(h, r, flags & RDW_ERASE);
    if (flags & RDW_UPDATENOW) {
        h->repaint();
        h->Client()->repaint();
    }
    return 1;
}

BOOL UpdateWindow(HWND h) {
    if (!h)
        return 0;
    h->repaint();
    return 1;
}

BOOL IsWindowVisible(HWND h) { return h && h->isVisible(); }

BOOL IsWindowEnabled(HWND h) { return h && h->isEnabled(); }

BOOL EnableWindow(HWND h, BOOL enable) {
    if (!h)
        return 0;
    BOOL was = !h->isEnabled();
    h->setEnabled(enable != 0);
    return was;
}

HWND GetParent(HWND h) {
    TWinControl* c = FindControl(h);
    return c && c->Parent() && c->Parent()->HandleAllocated() ? c->Parent()->Handle() : nullptr;
}

BOOL TrackMouseEvent(TTrackMouseEvent* t) {
    if (!t || !t->hwndTrack)
        return 0;
    if (t->dwFlags & TME_LEAVE)
        t->hwndTrack->TrackLeave = !(t->dwFlags & TME_CANCEL);
    return 1;
}

static HWND HandleOf(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* h = dynamic_cast<TWidgetHandle*>(w))
            return h->Control() ? h : nullptr;
    return nullptr;
}

HWND GetFocus() { return HandleOf(QApplication::focusWidget()); }

HWND SetFocus(HWND h) {
    HWND old = GetFocus();
    if (TWinControl* c = FindControl(h))
        c->SetFocus();
    return old;
}

HWND GetCapture() {
    TControl* c = CaptureControl();
    auto* w = dynamic_cast<TWinControl*>(c);
    return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

HWND SetCapture(HWND h) {
    HWND old = GetCapture();
    SetCaptureControl(FindControl(h));
    return old;
}

BOOL ReleaseCapture() {
    SetCaptureControl(nullptr);
    return 1;
}

BOOL GetCursorPos(TPoint* p) {
    if (!p)
        return 0;
    QPoint q = CurrentMousePos();
    *p = TPoint(q.x(), q.y());
    return 1;
}

BOOL GetClientRect(HWND h, TRect* r) {
    TWinControl* c = FindControl(h);
    if (!c || !r)
        return 0;
    *r = c->ClientRect();
    return 1;
}

BOOL GetWindowRect(HWND h, TRect* r) {
    if (!h || !r)
        return 0;
    QPoint g = h->mapToGlobal(QPoint(0, 0));
    *r = Bounds(g.x(), g.y(), h->width(), h->height());
    return 1;
}

BOOL ClientToScreen(HWND h, TPoint* p) {
    TWinControl* c = FindControl(h);
    if (!c || !p)
        return 0;
    *p = c->ClientToScreen(*p);
    return 1;
}

BOOL ScreenToClient(HWND h, TPoint* p) {
    TWinControl* c = FindControl(h);
    if (!c || !p)
        return 0;
    *p = c->ScreenToClient(*p);
    return 1;
}

TShiftState KeysToShiftState(WORD keys) {
    TShiftState s;
    if (keys & MK_SHIFT)
        s << ssShift;
    if (keys & MK_CONTROL)
        s << ssCtrl;
    if (keys & MK_LBUTTON)
        s << ssLeft;
    if (keys & MK_RBUTTON)
        s << ssRight;
    if (keys & MK_MBUTTON)
        s << ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (DWORD(keyData) & KF_ALTDOWN_BIT)
        s << ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0)
        s << ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0)
        s << ssRight;
    if (GetKeyState(VK_MBUTTON) < 0)
        s << ssMiddle;
    return s;
}

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00)
        return 0;
    TShortCut sc = key;
    if (shift.Contains(ssShift))
        sc |= scShift;
    if (shift.Contains(ssCtrl))
        sc |= scCtrl;
    if (shift.Contains(ssAlt))
        sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut sc, WORD& key, TShiftState& shift) {
    key = sc & 0xFF;
    shift = TShiftState();
    if (sc & scShift)
        shift << ssShift;
    if (sc & scCtrl)
        shift << ssCtrl;
    if (sc & scAlt)
        shift << ssAlt;
}

std::string GetShortHint(const std::string& Hint) {
    size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
    size_t bar = Hint.find('|');
    return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

TCustomForm* GetParentForm(TControl* Control) {
    TControl* c = Control;
    while (c && c->Parent())
        c = c->Parent();
    return dynamic_cast<TCustomForm*>(c);
}

// ---- caret -----------------------------------------------------------------------------------------

namespace {

// One caret per program, as in Windows: a small widget in the owner's client area, hidden while
// its hide count is above zero, blinking while shown.
struct TCaret {
    HWND Owner = nullptr;
    TWinControl* Control = nullptr;
    QWidget* Widget = nullptr;
    QTimer* Blink = nullptr;
    int HideCount = 1;
    TPoint Pos;
};
TCaret gCaret;

void UpdateCaret() {
    if (!gCaret.Widget)
        return;
    gCaret.Widget->move(gCaret.Pos.x, gCaret.Pos.y);
    bool shown = gCaret.HideCount == 0;
    gCaret.Widget->setVisible(shown);
    if (shown)
        gCaret.Blink->start(530);
    else
        gCaret.Blink->stop();
}

} // namespace

void ForgetControlCaret(TControl* c) {
    if (gCaret.Control == c)
        DestroyCaret();
}

BOOL CreateCaret(HWND h, void*, int Width, int Height) {
    DestroyCaret();
    if (!h || !h->Control())
        return 0;
    gCaret.Owner = h;
    gCaret.Control = h->Control();
    gCaret.Widget = new QWidget(h->Client());
    gCaret.Widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    gCaret.Widget->setAutoFillBackground(true);
    QPalette pal = gCaret.Widget->palette();
    pal.setColor(QPalette::Window, Qt::black);
    gCaret.Widget->setPalette(pal);
    gCaret.Widget->resize(Width > 0 ? Width : 1, Height > 0 ? Height : 1);
    gCaret.Blink = new QTimer(gCaret.Widget);
    QWidget* w = gCaret.Widget;
    QObject::connect(gCaret.Blink, &QTimer::timeout, w, [w] { w->setVisible(!w->isVisible()); });
    gCaret.HideCount = 1;
    UpdateCaret();
    return 1;
}

BOOL DestroyCaret() {
    if (!gCaret.Widget)
        return 0;
    gCaret.Widget->hide();
    gCaret.Widget->deleteLater();
    gCaret = TCaret();
    return 1;
}

BOOL SetCaretPos(int X, int Y) {
    if (!gCaret.Widget)
        return 0;
    gCaret.Pos = TPoint(X, Y);
    UpdateCaret();
    return 1;
}

BOOL GetCaretPos(TPoint* p) {
    if (!gCaret.Widget || !p)
        return 0;
    *p = gCaret.Pos;
    return 1;
}

BOOL ShowCaret(HWND h) {
    if (!gCaret.Widget || (h && h != gCaret.Owner) || gCaret.HideCount == 0)
        return 0;
    --gCaret.HideCount;
    UpdateCaret();
    return 1;
}

BOOL HideCaret(HWND h) {
    if (!gCaret.Widget || (h && h != gCaret.Owner))
        return 0;
    ++gCaret.HideCount;
    UpdateCaret();
    return 1;
}
