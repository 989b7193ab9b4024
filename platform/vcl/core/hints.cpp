// Hints: the hint window (a popup that never takes the activation) and the application's hint
// timing: the pause before a hint shows, CM_HINTSHOW, hiding after a pause, when the mouse leaves
// the hint's rectangle or on input, and showing again while the mouse stays when asked. GUI core.
#include <QApplication>
#include <QTimer>

#include "forms.h"
#include "handle.h"
#include "winapi.h"
#include "wingdi.h"

// ---- THintWindow -----------------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(Application ? Application->HintColor() : clInfoBk);
    if (Screen)
        SetFont(Screen->HintFont());
    SetControlStyle(ControlStyle() >> csCaptureMouse);
}

THintWindow::~THintWindow() { ForgetHintWindow(this); }

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

void THintWindow::Paint() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Font()->SetColor(clInfoText);
    SetBkMode(c->Handle(), TRANSPARENT);
    TRect r = ClientRect();
    InflateRect(r, -2, -2);
    std::string text = Caption();
    DrawText(c->Handle(), text.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
    TRect r = Rect(0, 0, MaxWidth, 0);
    HDC dc = GetDC(nullptr);
    dc->SetFont(Font());
    DrawText(dc, AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    ReleaseDC(nullptr, dc);
    // Border and margins around the text.
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void*) { ActivateHint(Rect, AHint); }

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
    SetCaption(AHint);
    Rect.Bottom += 4;
    // Kept on the screen.
    int sw = Screen ? Screen->Width() : 0, sh = Screen ? Screen->Height() : 0;
    if (sw > 0 && Rect.Right > sw)
        OffsetRect(Rect, sw - Rect.Right, 0);
    if (sh > 0 && Rect.Bottom > sh)
        OffsetRect(Rect, 0, sh - Rect.Bottom);
    if (Rect.Left < 0)
        OffsetRect(Rect, -Rect.Left, 0);
    if (Rect.Top < 0)
        OffsetRect(Rect, 0, -Rect.Top);
    SetBoundsRect(Rect);
    SetVisible(true);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
    TWinControlAccess::DestroyHandle(this);
}

void THintWindow::Dispatch(TMessage& Message) {
    // The mouse goes through to the window beneath.
    if (Message.Msg == WM_NCHITTEST) {
        Message.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::Dispatch(Message);
}

// ---- the application's hints ----------------------------------------------------------------------

namespace {

struct THintState {
    TControl* Control = nullptr; // under the mouse
    TControl* Shown = nullptr;   // the hint on the screen belongs to it
    TRect CursorRect;            // screen coordinates; leaving it hides the hint
    std::string Text;            // the control's hint the pause or the shown hint is for
    bool Cancelled = false;      // input came: no hint until the mouse reaches another control
    THintWindow* Window = nullptr;
    QTimer* Show = nullptr;
    QTimer* Hide = nullptr;
};
THintState gHint;

void HideWindow() {
    gHint.Shown = nullptr;
    if (gHint.Hide)
        gHint.Hide->stop();
    if (gHint.Window && gHint.Window->Visible())
        gHint.Window->ReleaseHandle();
}

// The text a control shows: its own hint, else the nearest parent's.
std::string HintOf(TControl* c) {
    for (TControl* p = c; p; p = p->Parent())
        if (!p->Hint().empty())
            return p->Hint();
    return std::string();
}

void ShowHintNow();

void Timers() {
    if (gHint.Show)
        return;
    gHint.Show = new QTimer(qApp);
    gHint.Show->setSingleShot(true);
    // OnShowHint and CM_HINTSHOW handlers run from Qt's loop: what they throw must not reach Qt.
    QObject::connect(gHint.Show, &QTimer::timeout, [] { TMessageBoundary::Run(Application, ShowHintNow); });
    gHint.Hide = new QTimer(qApp);
    gHint.Hide->setSingleShot(true);
    QObject::connect(gHint.Hide, &QTimer::timeout, [] { TMessageBoundary::Run(Application, HideWindow); });
}

void StartPause(bool shortPause) {
    if (!Application || !gHint.Control || gHint.Cancelled)
        return;
    Timers();
    gHint.Show->start(shortPause ? Application->HintShortPause() : Application->HintPause());
}

void ShowHintNow() {
    TControl* c = gHint.Control;
    if (!c || !Application || !Application->ShowHint() || !c->ShowHint()) {
        HideWindow();
        return;
    }
    THintInfo info;
    TPoint cursor;
    GetCursorPos(&cursor);
    info.HintControl = c;
    info.HintPos = TPoint(cursor.x, cursor.y + 20);
    info.HintMaxWidth = Screen ? Screen->Width() : 640;
    info.HintColor = Application->HintColor();
    info.CursorRect = c->ClientRect();
    info.CursorPos = c->ScreenToClient(cursor);
    info.HideTimeout = Application->HintHidePause();
    info.HintStr = GetShortHint(HintOf(c));
    bool canShow = true;
    if (Application->OnShowHint)
        Application->OnShowHint(info.HintStr, canShow, info);
    TControlGuard alive(c);
    LRESULT refused = c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    if (!alive.Alive() || gHint.Control != c)
        return;
    if (refused != 0 || !canShow || info.HintStr.empty()) {
        HideWindow();
        return;
    }
    if (!gHint.Window)
        gHint.Window = new THintWindow(Application);
    gHint.Window->SetColor(info.HintColor);
    TRect r = gHint.Window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.x, info.HintPos.y);
    gHint.Window->ActivateHintData(r, info.HintStr, info.HintData);
    gHint.Shown = c;
    TPoint tl = c->ClientToScreen(TPoint(info.CursorRect.Left, info.CursorRect.Top));
    gHint.CursorRect = Bounds(tl.x, tl.y, info.CursorRect.Width(), info.CursorRect.Height());
    Timers();
    if (info.HideTimeout > 0)
        gHint.Hide->start(info.HideTimeout);
    // Asked to: the hint is asked for again while the mouse stays (a hint that follows the item).
    if (info.ReshowTimeout > 0)
        gHint.Show->start(info.ReshowTimeout);
}

} // namespace

void HintMouseEntered(TControl* c) {
    if (dynamic_cast<THintWindow*>(c) || c == gHint.Control)
        return;
    bool wasShown = gHint.Shown != nullptr;
    HideWindow();
    if (gHint.Show)
        gHint.Show->stop();
    gHint.Control = c;
    gHint.Cancelled = false;
    gHint.Text = c ? HintOf(c) : std::string();
    if (c && c->ShowHint() && !gHint.Text.empty())
        StartPause(wasShown);
}

// The hint follows the mouse inside its control: leaving the cursor rectangle, or the control's
// hint changing (a hot item with a hint of its own), shows it again after the short pause. A hint
// that changes after a key or a press is new to the user and shows even so (a control that
// describes what is under the mouse while a key is held).
void HintMouseMoved(TPoint Screen) {
    if (!gHint.Control)
        return;
    std::string text = HintOf(gHint.Control);
    bool changed = text != gHint.Text;
    if (gHint.Cancelled && !changed)
        return;
    if (!changed && (!gHint.Shown || PtInRect(gHint.CursorRect, Screen)))
        return;
    gHint.Cancelled = false;
    gHint.Text = text;
    HideWindow();
    if (gHint.Show)
        gHint.Show->stop();
    if (!text.empty())
        StartPause(true);
}

void HintCancelByInput() {
    HideWindow();
    gHint.Cancelled = true;
    if (gHint.Show)
        gHint.Show->stop();
}

void ForgetHintWindow(THintWindow* w) {
    if (w != gHint.Window)
        return;
    gHint.Window = nullptr;
    gHint.Shown = nullptr;
}

void ForgetHintControl(TControl* c) {
    if (c == gHint.Window)
        return;
    if (gHint.Shown == c)
        HideWindow();
    if (gHint.Control == c) {
        gHint.Control = nullptr;
        if (gHint.Show)
            gHint.Show->stop();
    }
}

void TApplication::ActivateHint(TPoint) {
    gHint.Cancelled = false;
    ShowHintNow();
}

void TApplication::CancelHint() {
    HideWindow();
    StartPause(false);
}

void TApplication::HideHint() { HideWindow(); }

THintWindow* TApplication::HintWindow() const {
    return gHint.Window && gHint.Window->Visible() ? gHint.Window : nullptr;
}
