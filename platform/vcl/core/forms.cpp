// Forms, the application object and the screen. GUI core (platform/vcl).
#include "forms.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <unistd.h>

#include "cp1251.h"
#include "actlist.h"
#include "dialogs.h"
#include "handle.h"
#include "menus.h"
#include "programpath.h"
#include "sysinfo_qt.h"
#include "winapi.h"
#include "wingdi.h"
#include "core_qt.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---- TCustomForm -----------------------------------------------------------------------------------

namespace {

// The edge or corner of a floating dockable form being dragged (one mouse, one drag at a time): its
// sizing code, where the press was (screen) and the bounds then.
struct TFrameSizing {
    TCustomForm* Form = nullptr;
    int Hit = HTNOWHERE;
    TPoint From;
    TRect Bounds;
} gSizing;

// Marks a going form and every control on it, whoever owns them: from here on nothing in the form's
// tree is laid out or raises OnResize, since the handlers may belong to a form whose derived part
// is already gone.
void MarkDestroying(TControl* c) {
    c->Destroying();
    if (auto* w = dynamic_cast<TWinControl*>(c))
        for (int i = 0; i < w->ControlCount(); ++i)
            MarkDestroying(w->Controls(i));
}

} // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
    if (gSizing.Form == this)
        gSizing = {};
    MarkDestroying(this);
    if (FModalLoop)
        FModalLoop->exit();
    std::erase(Screen->FForms, this);
    if (Application && Application->FMainForm == this)
        Application->FMainForm = nullptr;
}

void TCustomForm::AfterConstruction() {
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyed)
        return;
    FDestroyed = true;
    MarkDestroying(this);
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    switch (FBorderStyle) {
    case bsNone: break;
    case bsSingle:
    case bsToolWindow: Params.Style |= WS_CAPTION; break;
    case bsDialog:
        Params.Style |= WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    default: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (Parent())
        return;
    QWidget* w = HandleWidget(this);
    Qt::WindowFlags f = Qt::Window;
    if (FBorderStyle == bsNone || DrawsDockCaption())
        f |= Qt::FramelessWindowHint;
    if (FBorderStyle == bsDialog)
        f = Qt::Dialog;
    if ((FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) && !DrawsDockCaption())
        f = Qt::Tool;
    if (FFormStyle == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(f);
    if (FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin)
        w->setFixedSize(Width(), Height());
    if (FMenu)
        SetMenu(FMenu);
}

void TCustomForm::SetBorderStyle(TBorderStyle v) {
    if (FBorderStyle == v)
        return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
    if (FFormStyle == v)
        return;
    FFormStyle = v;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState v) {
    FWindowState = v;
    if (!HandleAllocated())
        return;
    QWidget* w = HandleWidget(this);
    Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (v == wsMinimized)
        s |= Qt::WindowMinimized;
    if (v == wsMaximized)
        s |= Qt::WindowMaximized;
    w->setWindowState(s);
}

void TCustomForm::SetMenu(TMainMenu* m) {
    if (FMenu && FMenu != m) {
        FMenu->RemoveFreeNotification(this);
        if (FMenu->MenuBar())
            FMenu->MenuBar()->hide();
    }
    FMenu = m;
    if (m) {
        m->FreeNotification(this);
        if (HandleAllocated()) {
            QMenuBar* bar = m->MenuBar(Handle());
            bar->setGeometry(0, 0, Width(), bar->sizeHint().height());
            bar->show();
        }
    }
    UpdateClientGeometry();
    Realign();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == FMenu) {
            FMenu = nullptr;
            UpdateClientGeometry();
        }
        if (AComponent == FActiveControl)
            FActiveControl = nullptr;
    }
}

namespace {

// The frame of a floating dockable form: a sizing frame (a raised edge and a face-coloured strip)
// and a small caption strip. Along an edge, a corner's sizing zone reaches as far as the caption is
// high.
constexpr int kDockFrame = 4;
constexpr int kDockCaption = 16;
constexpr int kDockCorner = kDockFrame + kDockCaption;

// The close box at the caption's right end, in window coordinates.
TRect DockCloseBox(int width) {
    const int right = width - kDockFrame - 2;
    return TRect(right - 14, kDockFrame + 2, right, kDockFrame + kDockCaption - 2);
}

// The sizing code of window point p of a w x h frame: an edge, a corner, or HTNOWHERE inside.
int DockSizingHit(TPoint p, int w, int h) {
    const bool across = p.y < kDockFrame || p.y >= h - kDockFrame;
    const bool along = p.x < kDockFrame || p.x >= w - kDockFrame;
    if (!across && !along)
        return HTNOWHERE;
    const int xs = across ? kDockCorner : kDockFrame;
    const int ys = along ? kDockCorner : kDockFrame;
    const int col = p.x < xs ? 0 : p.x >= w - xs ? 2 : 1;
    const int row = p.y < ys ? 0 : p.y >= h - ys ? 2 : 1;
    static const int kCodes[3][3] = {{HTTOPLEFT, HTTOP, HTTOPRIGHT},
                                     {HTLEFT, HTNOWHERE, HTRIGHT},
                                     {HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT}};
    return kCodes[row][col];
}

bool IsSizingHit(WPARAM hit) { return hit >= WPARAM(HTLEFT) && hit <= WPARAM(HTBOTTOMRIGHT); }

// The bounds r dragged by the sizing code hit by (dx, dy), kept at least the caption's room.
TRect DockSized(TRect r, int hit, int dx, int dy) {
    const int minW = 2 * kDockCorner, minH = 2 * kDockFrame + kDockCaption;
    if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
        r.Left = std::min(r.Left + dx, r.Right - minW);
    if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT)
        r.Right = std::max(r.Right + dx, r.Left + minW);
    if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
        r.Top = std::min(r.Top + dy, r.Bottom - minH);
    if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        r.Bottom = std::max(r.Bottom + dy, r.Top + minH);
    return r;
}

TCursor SizingCursor(int hit) {
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return crSizeWE;
    case HTTOP:
    case HTBOTTOM: return crSizeNS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return crSizeNWSE;
    default: return crSizeNESW;
    }
}

// While an edge is dragged the captured mouse comes as client messages; true when taken.
bool SizingMouse(TCustomForm* form, TMessage& Message) {
    if (gSizing.Form != form)
        return false;
    if (Message.Msg == WM_MOUSEMOVE && (Message.WParam & MK_LBUTTON)) {
        TPoint at = form->ClientToScreen(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        TRect r = DockSized(gSizing.Bounds, gSizing.Hit, at.x - gSizing.From.x, at.y - gSizing.From.y);
        form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        return true;
    }
    gSizing = {};
    form->SetMouseCapture(false);
    return Message.Msg != WM_CANCELMODE;
}

} // namespace

bool TCustomForm::DrawsDockCaption() const { return !Parent() && DragKind() == dkDock; }

void TCustomForm::SetParent(TWinControl* AParent) {
    if (AParent == Parent())
        return;
    bool shown = !Parent() && FShowing;
    if (shown && HandleAllocated())
        HandleWidget(this)->hide();
    TWinControl::SetParent(AParent);
    if (!AParent) {
        // Top-level again: a window of its own, shown by the next Show.
        FShowing = false;
        FPlaced = true;
    }
}

void TCustomForm::WMNCHitTest(TWMNCHitTest& Message) {
    TWinControl::WMNCHitTest(Message);
    if (!DrawsDockCaption())
        return;
    TPoint p(Message.XPos - Left(), Message.YPos - Top());
    if (!PtInRect(TRect(0, 0, Width(), Height()), p))
        return;
    const int sizing = DockSizingHit(p, Width(), Height());
    if (sizing != HTNOWHERE && (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin))
        Message.Result = sizing;
    else if (p.y >= kDockFrame && p.y < kDockFrame + kDockCaption)
        Message.Result = PtInRect(DockCloseBox(Width()), p) ? HTCLOSE : HTCAPTION;
}

// The close box closes on a release over it after a press on it, as a caption button does. A press
// on the sizing frame drags that edge or corner until the release.
void TCustomForm::WMNCLButtonDown(TMessage& Message) {
    FCloseBoxDown = Message.WParam == WPARAM(HTCLOSE);
    if (DrawsDockCaption() && IsSizingHit(Message.WParam)) {
        gSizing = {this, int(Message.WParam),
                   TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), BoundsRect()};
        SetMouseCapture(true);
        return;
    }
    if (!FCloseBoxDown)
        TWinControl::WMNCLButtonDown(Message);
}

void TCustomForm::WMNCLButtonUp(TMessage& Message) {
    const bool close = FCloseBoxDown && Message.WParam == WPARAM(HTCLOSE);
    FCloseBoxDown = false;
    if (close)
        Perform(WM_CLOSE, 0, 0);
}

void TCustomForm::WMNCCalcSize(TWMNCCalcSize& Message) {
    // The window manager draws the frame; the menu bar is the only non-client part we own, save
    // for a floating dockable form, whose frame and caption are ours.
    if (!Message.CalcSize_Params)
        return;
    if (DrawsDockCaption()) {
        TRect& r = Message.CalcSize_Params->Rgrc[0];
        InflateRect(r, -kDockFrame, -kDockFrame);
        r.Top += kDockCaption;
    }
    if (FMenu && FMenu->MenuBar() && HandleAllocated()) {
        int h = FMenu->MenuBar()->sizeHint().height();
        FMenu->MenuBar()->setGeometry(0, 0, Width(), h);
        Message.CalcSize_Params->Rgrc[0].Top += h;
    }
    InflateRect(Message.CalcSize_Params->Rgrc[0], -BorderWidth(), -BorderWidth());
}

void TCustomForm::WMNCPaint(TWMNCPaint& Message) {
    if (Message.DC && DrawsDockCaption()) {
        TCanvas* c = Message.DC;
        TRect r(0, 0, Width(), Height());
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        DrawEdge(c, &r, EDGE_RAISED, BF_RECT);
        TRect cap(kDockFrame, kDockFrame, Width() - kDockFrame, kDockFrame + kDockCaption);
        bool active = Active();
        c->Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
        c->FillRect(cap);
        c->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
        c->Font()->SetStyle(TFontStyles{fsBold});
        c->Brush()->SetStyle(bsClear);
        TRect close = DockCloseBox(Width());
        c->TextRect(TRect(cap.Left, cap.Top, close.Left - 2, cap.Bottom), cap.Left + 3, cap.Top + 1,
                    Caption());
        DrawFrameControl(c, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        return;
    }
    if (Message.DC && BorderWidth() > 0)
        TWinControl::WMNCPaint(Message);
}

void TCustomForm::PaintWindow(HDC DC) {
    FCanvas->PaintOn(DC, [this] { Paint(); });
}

void TCustomForm::Paint() {
    if (OnPaint)
        OnPaint(this);
}

// ---- showing and closing ---------------------------------------------------------------------------

void TCustomForm::Show() {
    SetVisible(true);
    if (!Parent() && !FShowing) {
        FShowing = true;
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
    if (HandleAllocated() && !Parent()) {
        HandleWidget(this)->activateWindow();
    }
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::CMVisibleChanged(TMessage& Message) {
    if (Parent()) {
        TWinControl::CMVisibleChanged(Message);
        return;
    }
    TControl::CMVisibleChanged(Message);
    if (Visible() != FShowing) {
        FShowing = Visible();
        Perform(CM_SHOWINGCHANGED, 0, 0);
    }
    UpdateShowing();
}

void TCustomForm::CMShowingChanged(TMessage& Message) {
    if (Parent()) {
        // Docked: shown and hidden with its site, as any child window.
        if (FShowing) {
            AfterConstruction();
            DoShow();
        } else {
            DoHide();
        }
        TWinControl::CMShowingChanged(Message);
        return;
    }
    if (FShowing) {
        AfterConstruction();
        DoShow();
        HandleNeeded();
        PlaceWindow();
        HandleWidget(this)->show();
        // Windows activates a window as it shows it; Qt would wait for the window system, and until
        // then no control of the form could hold the focus.
        QApplication::setActiveWindow(HandleWidget(this));
        if (FWindowState != wsNormal)
            SetWindowState(FWindowState);
        // The form comes up with its active control focused, else its first tab stop.
        if (FActiveControl && FActiveControl->CanFocus())
            FActiveControl->SetFocus();
        else if (!FActiveControl)
            SelectFirst();
        // Without a control to focus, the form takes the keys itself.
        if (!FActiveControl && FocusWidget(this))
            FocusWidget(this)->setFocus(Qt::OtherFocusReason);
    } else {
        DoHide();
        if (HandleAllocated())
            HandleWidget(this)->hide();
    }
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!FPlaced && (ALeft != Left() || ATop != Top()))
        FMovedInCode = true;
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomForm::PlaceWindow() {
    if (FPlaced)
        return;
    FPlaced = true;
    QScreen* s = QGuiApplication::primaryScreen();
    QRect area = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    int l = Left(), t = Top();
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        l = area.x() + (area.width() - Width()) / 2;
        t = area.y() + (area.height() - Height()) / 2;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* ref =
            FPosition == poMainFormCenter ? Application->MainForm() : dynamic_cast<TCustomForm*>(Owner());
        if (!ref || ref == this)
            ref = Application->MainForm();
        if (ref && ref != this) {
            l = ref->Left() + (ref->Width() - Width()) / 2;
            t = ref->Top() + (ref->Height() - Height()) / 2;
        } else {
            l = area.x() + (area.width() - Width()) / 2;
            t = area.y() + (area.height() - Height()) / 2;
        }
        break;
    }
    case poDefault:
    case poDefaultPosOnly: {
        if (FMovedInCode)
            break;
        // Windows cascades new windows from the top-left corner.
        static int cascade = 0;
        l = area.x() + 22 * (cascade % 8);
        t = area.y() + 22 * (cascade % 8);
        ++cascade;
        break;
    }
    default: break;
    }
    SetBounds(l, t, Width(), Height());
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose)
        OnClose(this, Action);
}

bool TCustomForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery)
        OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = Application && Application->MainForm() == this ? caFree : caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CLOSE: WMClose(Message); return;
    case WM_NCLBUTTONUP: WMNCLButtonUp(Message); return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
        if (SizingMouse(this, Message))
            return;
        TWinControl::Dispatch(Message);
        return;
    case WM_SETCURSOR:
        // Over the sizing frame, the cursor of that edge or corner.
        if (DrawsDockCaption() && IsSizingHit(WPARAM(LOWORD(Message.LParam)))) {
            const TCursor cursor = SizingCursor(LOWORD(Message.LParam));
            ::SetCursor(Screen ? Screen->Cursors(cursor) : HCURSOR(cursor));
            Message.Result = 1;
            return;
        }
        TWinControl::Dispatch(Message);
        return;
    case CM_RELEASE:
        BeforeDestruction();
        delete this;
        return;
    case CM_ACTIVATE:
        if (OnActivate)
            OnActivate(this);
        return;
    case CM_DEACTIVATE:
        if (OnDeactivate)
            OnDeactivate(this);
        return;
    case CM_ACTIONEXECUTE: CMActionExecute(Message); return;
    case CM_ACTIONUPDATE: CMActionUpdate(Message); return;
    default: TWinControl::Dispatch(Message);
    }
}

void TCustomForm::SetModalResult(TModalResult v) {
    FModalResult = v;
    if (FModal && v != mrNone && FModalLoop)
        FModalLoop->exit();
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        FModalResult = mrNone;
}

int TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    FModalResult = mrNone;
    FModal = true;
    HandleNeeded();
    HandleWidget(this)->setWindowModality(Qt::ApplicationModal);
    TQtEventLoop loop;
    FModalLoop = &loop;
    // A handler may free the form while it is shown (the destructor leaves the loop).
    TControlGuard self(this);
    try {
        Show();
        for (;;) {
            if (FModalResult == mrNone && self.Alive())
                loop.exec();
            if (!self.Alive())
                return mrCancel;
            if (Application->Terminated())
                FModalResult = mrCancel;
            if (FModalResult != mrNone) {
                CloseModal();
                if (FModalResult != mrNone)
                    break;
            }
        }
    } catch (...) {
        if (self.Alive()) {
            FModalLoop = nullptr;
            FModal = false;
            Hide();
        }
        throw;
    }
    FModalLoop = nullptr;
    Hide();
    if (HandleAllocated())
        HandleWidget(this)->setWindowModality(Qt::NonModal);
    FModal = false;
    return FModalResult;
}

bool TCustomForm::Active() const { return FHandle && FHandle->isActiveWindow(); }

// ---- focus -----------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* c) {
    if (FActiveControl == c)
        return;
    if (c && Showing() && c->CanFocus())
        c->SetFocus();
    else
        FActiveControl = c;
}

void TCustomForm::FocusControl(TWinControl* c) {
    if (c && c->CanFocus())
        c->SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* c) {
    // The form itself holding the focus means no active control.
    if (c == this)
        c = nullptr;
    if (c == FActiveControl)
        return true;
    TWinControl* old = FActiveControl;
    FActiveControl = c;
    // Both chains are taken before any handler runs: an OnExit may free its control and the parents
    // around it (a grid frees its in-place editor and the editor's host when editing ends).
    using TChain = std::vector<std::pair<TWinControl*, TControlGuard>>;
    TChain exits, enters;
    // Exit from the old control outwards, up to the common ancestor.
    for (TWinControl* p = old; p && p != this && !(c && p->ContainsControl(c)); p = p->Parent())
        exits.emplace_back(p, TControlGuard(p));
    // Enter from the outermost new container inwards.
    for (TWinControl* p = c; p && p != this && !(old && p->ContainsControl(old)); p = p->Parent())
        enters.emplace(enters.begin(), p, TControlGuard(p));
    TControlGuard self(this);
    for (TChain* chain : {&exits, &enters})
        for (auto& [p, alive] : *chain) {
            if (!alive.Alive())
                continue;
            p->Perform(chain == &exits ? CM_EXIT : CM_ENTER, 0, 0);
            if (!self.Alive() || FActiveControl != c)
                return false;
        }
    Perform(CM_FOCUSCHANGED, reinterpret_cast<WPARAM>(c), 0);
    return true;
}

void TCustomForm::DefocusControl(TWinControl* c, bool Removing) {
    if (!FActiveControl || !c->ContainsControl(FActiveControl))
        return;
    if (Removing) {
        FActiveControl = nullptr;
        return;
    }
    TWinControl* p = c->Parent();
    FActiveControl = p == this ? nullptr : p;
}

void TCustomForm::CMDialogKey(TWMKey& Message) {
    TShiftState shift = KeyDataToShiftState(Message.KeyData);
    if (!shift.Contains(ssAlt) && !shift.Contains(ssCtrl)) {
        WORD key = WORD(Message.CharCode);
        if (key == VK_TAB) {
            SelectNext(FActiveControl, !shift.Contains(ssShift), true);
            Message.Result = 1;
            return;
        }
        if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
            if (FActiveControl) {
                TWinControl* p = FActiveControl->Parent();
                if (TWinControl* next =
                        p ? p->FindNextControl(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false, true)
                          : nullptr)
                    next->SetFocus();
            }
            Message.Result = 1;
            return;
        }
    }
    TWinControl::CMDialogKey(Message);
}

// ---- TApplication ----------------------------------------------------------------------------------

namespace {

int DialogMessageBoxHook(const char* text, const char* caption, unsigned flags) {
    return DialogService()->MessageBox(text ? text : "", caption ? caption : "", flags);
}

} // namespace

// The globals are made during static initialisation: nothing here may need another unit's statics.
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

std::string TApplication::Title() const {
    return FTitle.empty() ? ChangeFileExt(ExtractFileName(ExeName()), "") : FTitle;
}

TApplication::~TApplication() = default;

void TApplication::QtApp() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        InstallApplicationEvents();
        InstallDesktopLanguage(app);
        return;
    }
    static int argc = 1;
    static char name[] = "qbxconf";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);
    InstallApplicationStyle();
    app->setQuitOnLastWindowClosed(false);
    InstallDesktopLanguage(app);
    InstallApplicationEvents();
}

void TApplication::Initialize() {
    QtApp();
    SetMessageBoxHandler(&DialogMessageBoxHook);
}

void TApplication::AddForm(TCustomForm* f) {
    if (!FMainForm)
        FMainForm = f;
}

void TApplication::Run() {
    QtApp();
    FRunning = true;
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated && FMainForm) {
        QEventLoop loop;
        loop.exec();
    }
    FRunning = false;
    // The program ends here: the forms go now, newest first, each after its OnDestroy (the main
    // window writes its settings there).
    for (int i = ComponentCount() - 1; i >= 0; i = std::min(i - 1, ComponentCount() - 1)) {
        TComponent* c = Components(i);
        if (auto* f = dynamic_cast<TCustomForm*>(c))
            f->BeforeDestruction();
        delete c;
    }
    ProcessMessages();
}

void TApplication::ProcessMessages() {
    QtApp();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Windows freed inside their own events go once no event is being handled: a handler that
    // frees its control and then calls this must not have the widget deleted under Qt's feet.
    if (TMessageBoundary::Depth() == 0)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::Terminate() {
    FTerminated = true;
    // Leaves every running event loop: the message loop and any modal one.
    QCoreApplication::exit(0);
    // A local loop waiting for events wakes up to see it.
    if (auto* d = QAbstractEventDispatcher::instance())
        d->wakeUp();
}

void TApplication::HandleException(TObject* Sender) {
    if (!std::current_exception())
        return;
    ++FExceptionCount;
    try {
        try {
            throw;
        } catch (const EAbort&) {
        } catch (Exception& e) {
            if (OnException)
                OnException(Sender, &e);
            else
                ShowException(&e);
        } catch (const std::exception& e) {
            Exception wrapped(e.what());
            if (OnException)
                OnException(Sender, &wrapped);
            else
                ShowException(&wrapped);
        } catch (...) {
            ShowException(std::string("Unknown exception"));
        }
    } catch (...) {
        // An exception from the display itself is dropped: nothing may escape into Qt.
    }
}

void TApplication::ShowException(const Exception* E) { ShowException(E ? E->Message : std::string()); }

void TApplication::ShowException(const std::string& Message) {
    std::string msg = Message;
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.')
        msg += '.';
    MessageBox(msg, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
    return DialogService()->MessageBox(Text, Caption, Flags);
}

std::string TApplication::ExeName() const { return ProgramPath(); }

// ---- TScreen ---------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TFont* TScreen::MenuFont() {
    if (!FMenuFont)
        FMenuFont = std::make_unique<TFont>();
    return FMenuFont.get();
}

TFont* TScreen::HintFont() {
    if (!FHintFont)
        FHintFont = std::make_unique<TFont>();
    return FHintFont.get();
}

TFont* TScreen::IconFont() {
    if (!FIconFont)
        FIconFont = std::make_unique<TFont>();
    return FIconFont.get();
}

TScreen::~TScreen() = default;

int TScreen::Width() const {
    TApplication::QtApp();
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    TApplication::QtApp();
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

void TScreen::SetCursor(TCursor v) {
    if (v == FCursor)
        return;
    TApplication::QtApp();
    if (FCursor != crDefault)
        QApplication::restoreOverrideCursor();
    FCursor = v;
    if (v != crDefault)
        QApplication::setOverrideCursor(QtCursorOf(Cursors(v)));
}

TCustomForm* TScreen::ActiveForm() const {
    for (TCustomForm* f : FForms)
        if (f->Active())
            return f;
    // Without a window system focus (offscreen), the most recently shown visible form.
    for (auto it = FForms.rbegin(); it != FForms.rend(); ++it)
        if ((*it)->Visible())
            return *it;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    TCustomForm* f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

TStrings* TScreen::Fonts() {
    if (!FFonts) {
        TApplication::QtApp();
        FFonts = std::make_unique<TStringList>();
        for (const QString& family : QFontDatabase::families())
            FFonts->Add(Utf8ToCp1251(family.toStdString()));
        FFonts->SetSorted(true);
    }
    return FFonts.get();
}
