// A TWinControl's window handle (outer frame and client QWidgets), the filters making messages of Qt
// events, the paint cover and TMessageBoundary, the one exception boundary. GUI core internals.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "controls.h"

class QKeyEvent;
class QPainter;
class QScrollBar;
class QTimer;

// What Windows keeps for a scroll bar: range, page, position, and the thumb's place while dragged.
struct TScrollState {
    int Min = 0, Max = 100;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    bool Tracking = false;
    bool Enabled = true;
};

// Turns the Qt events of one widget of a control (outer, client or a wrapped native widget) into
// messages for that control. An Inner widget is a part of the wrapped widget that takes the mouse
// itself (a scroll view's viewport, a composite widget's field): only its mouse becomes messages.
class TMessageFilter : public QObject {
public:
    enum Role { Outer, Client, Native, Inner };
    TMessageFilter(TWinControl* control, Role role, QObject* parent)
        : QObject(parent), FControl(control), FRole(role) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Detach() { FControl = nullptr; }
    bool Attached() const { return FControl != nullptr; }

private:
    TWinControl* FControl;
    Role FRole;
};

class TClientArea : public QWidget {
public:
    TClientArea(TWinControl* control, QWidget* parent);
    TMessageFilter* Filter() const { return FFilter; }

protected:
    bool event(QEvent* e) override;

private:
    TMessageFilter* FFilter = nullptr;
};

// Lies over a control's wrapped Qt widget, below its child windows, and lets the mouse through:
// the control's WM_PAINT draws here once Qt has painted the widget and the widget's own children,
// as a subclassed Windows control paints over the native look.
class TPaintCover : public QWidget {
public:
    TPaintCover(TWinControl* control, QWidget* parent);
    void Detach() { FControl = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TWinControl* FControl;
};

class TWidgetHandle : public QWidget {
public:
    TWidgetHandle(TWinControl* control, QWidget* parent);
    ~TWidgetHandle() override;
    TWinControl* Control() const { return FControl; }
    TClientArea* Client() const { return FClient; }
    // The control is going away: no more messages from this widget.
    void Detach();

    std::map<UINT, QTimer*> Timers;
    // TrackMouseEvent asked for a WM_MOUSELEAVE.
    bool TrackLeave = false;
    // The wrapped Qt widget doing the control's work in the client area (null for none).
    QWidget* Native = nullptr;
    // Over Native while there is one.
    TPaintCover* Cover = nullptr;
    // Window scroll bars (SB_HORZ, SB_VERT) and the bar of a scroll-bar control (SB_CTL).
    TScrollState Scroll[3];
    QScrollBar* Bars[2] = {nullptr, nullptr};
    // The XOR overlay of a top-level window (made on first need).
    QWidget* Overlay = nullptr;
    // The layer itself is placing the window: the move and resize events Qt answers with are its
    // own echo, not the window system's, and leave the control's bounds alone.
    bool Placing = false;

protected:
    bool event(QEvent* e) override;

private:
    TWinControl* FControl;
    TClientArea* FClient = nullptr;
    TMessageFilter* FFilter = nullptr;
};

// The one boundary between Qt's events and the controls' messages. A message made from a Qt event
// is delivered with that event parked here, so DefaultHandler can hand it to the widget later. It
// counts the deliveries under way, keeps exceptions from reaching Qt (one raised under Qt's own code
// is parked and thrown again once Qt has returned), rebuilds a key event whose character a KeyPress
// handler changed, and keeps a key the native widget ignored from coming back through the client
// area. The controls reach Qt events only through this object.
class TMessageBoundary {
public:
    // Delivers a message through WindowProc; an exception goes to Application->HandleException and
    // never reaches Qt.
    static void Deliver(TControl* control, TMessage& message);
    // Runs a handler Qt calls outside the message path (a menu item's signal, a window the user
    // moved) as a delivery: counted, and an exception goes to Application->HandleException(Sender)
    // and never reaches Qt. Deliver runs WindowProc through it.
    static void Run(TObject* Sender, const std::function<void()>& Handler);
    // Run's catch alone, around code that is no delivery (the program's start-up and message loop):
    // false when Handler threw and the exception went to Application->HandleException(Sender).
    static bool Guard(TObject* Sender, const std::function<void()>& Handler);
    // Delivers a message made from the Qt event e sent to target; with forward, e is parked for the
    // control's DefaultHandler.
    static void DeliverNative(TControl* control, TMessage& message, QObject* target, QEvent* e, bool forward);
    // Perform's call of WindowProc: direct, except under a widget's own handling of a parked event
    // (a wrapped control reporting a change), where the exception is parked instead of unwinding
    // through Qt.
    static void Perform(TControl* control, TMessage& message);
    // True when the Qt event of message Msg is parked and has not been handed to its widget yet.
    static bool Pending(UINT Msg);
    // Hands the parked Qt event of Msg (when one is pending) to its widget's own handling, then
    // throws a parked exception again once Qt has returned.
    static void PassToWidget(UINT Msg);
    // True when the parked event went to its widget and the widget accepted it.
    static bool Accepted();
    // How many deliveries are under way now (a handler that runs inside another handler counts
    // twice). Outside every one, no widget is inside its own event and freed windows may really go.
    static int Depth();
    // True while a message made from a user's Qt input event is being delivered (and the messages
    // its handlers send meanwhile); false for messages sent from code alone.
    static bool FromInput();
    // A key press carrying one CP1251 character.
    static std::unique_ptr<QKeyEvent> CharKeyEvent(Qt::KeyboardModifiers modifiers, char ch);

    // While it lives, a pending WM_CHAR key press carries Ch instead of its own character.
    class TCharReplacement {
    public:
        explicit TCharReplacement(char Ch);
        ~TCharReplacement();
        TCharReplacement(const TCharReplacement&) = delete;
        TCharReplacement& operator=(const TCharReplacement&) = delete;

    private:
        std::unique_ptr<QKeyEvent> FEvent;
    };
};

// Qt side of a windowed control, for the platform's own code: the handle's outer widget (whole
// window, made on first need) and its client widget (the client rectangle; the parent of the
// children's handles).
QWidget* HandleWidget(TWinControl* c);
QWidget* ClientWidget(TWinControl* c);
// A Qt widget that does the control's work inside the client area (edit, list...): it is stretched
// over the client rectangle and its events pass through the control's message path. Null ends it.
void SetNativeWidget(TWinControl* c, QWidget* w);
// A wrapped widget that delivers its control's WM_PAINT itself (a scroll view, after its viewport
// has painted, clipped to it) gets no paint cover. Kept by the widget across new handles.
void SetDeliversPaint(QWidget* w);
// Routes the mouse of w's parts through c's message path, now and for parts made later: a scroll
// view's viewport (not its scroll bars, which are the window's frame in Windows, nor what lies in the
// viewport: editors are windows of their own), else every child widget that is not a window.
void RouteInputAreas(TWinControl* c, QWidget* w);
// Takes the message filters off w and every widget inside it (the widget leaves its handle).
void ReleaseMessageFilters(QWidget* w);
// The control's native widget; null without one or without a handle.
QWidget* NativeWidget(TWinControl* c);
// The widget that takes the keyboard focus for the control: the native widget, else the client
// widget; null without a handle.
QWidget* FocusWidget(TWinControl* c);

// Private parts of TWinControl the platform's own files reach.
struct TWinControlAccess {
    static DWORD& Style(TWinControl* c) {
        c->CurrentStyles(c->FWndStyle, c->FWndExStyle);
        return c->FWndStyle;
    }
    static DWORD& ExStyle(TWinControl* c) {
        c->CurrentStyles(c->FWndStyle, c->FWndExStyle);
        return c->FWndExStyle;
    }
    // The client box inside the window box.
    static TRect ClientBox(TWinControl* c) {
        c->GetClientRect();
        return c->FClientBox;
    }
    // Asks WM_NCCALCSIZE again; WM_SIZE follows when the client size changed; the frame repaints.
    static void FrameChanged(TWinControl* c);
    static void DestroyHandle(TWinControl* c) { c->FreeHandle(); }
};
// True for a window with WS_POPUP that is not a form: a frameless top-level window that never
// takes the activation, placed in screen coordinates whether it has a parent or not.
bool IsPopupWindow(TWinControl* c);
// Makes a popup's window, as it shows, a transient of the modal window when one is up (else of
// its parent's window), so that the mouse reaches it and the modal window stays under it.
void AttachPopupWindow(QWidget* popup);

// Handles that exist and belong to a control, for IsWindow and PostMessage from any thread.
bool IsLiveHandle(HWND h);

// The painters of h's frame and client while their paint events run (null otherwise).
QPainter* FramePainter(HWND h);
QPainter* ClientPainter(HWND h);

// Window scroll bars: made, shown and placed in the frame after WM_NCCALCSIZE.
void PlaceScrollBars(TWinControl* c);
// Turns the user's actions on a Qt scroll bar into WM_HSCROLL / WM_VSCROLL (Bar: SB_HORZ,
// SB_VERT, or SB_CTL for a scroll-bar control, whose parent gets the message).
void ConnectScrollBar(TWinControl* c, int Bar, QScrollBar* sb);
// Scroll-bar state of h (Bar SB_HORZ, SB_VERT or SB_CTL).
TScrollState& ScrollState(HWND h, int Bar);

// The application's hints follow the mouse: the control under it, its moves, and input that
// cancels a hint.
void HintMouseEntered(TControl* c);
void HintMouseMoved(TPoint Screen);
void HintCancelByInput();
void ForgetHintControl(TControl* c);
void ForgetHintWindow(THintWindow* w);

// Idle processing, WM_ACTIVATEAPP and TThread::Synchronize, once Qt's application object exists.
void InstallApplicationEvents();

// Posted-message event carrying a TMessage.
QEvent::Type PostedMessageEventType();

// Mouse tracking shared by all controls: the control under the mouse (for CM_MOUSEENTER and
// CM_MOUSELEAVE) and the one that holds the capture.
void SetMouseControl(TControl* c);
TControl* MouseControl();
void SetCaptureControl(TControl* c);
TControl* CaptureControl();
// Forgets c everywhere it is remembered (mouse, capture, caret); called as c goes away.
void ForgetControl(TControl* c);
void ForgetControlCaret(TControl* c);

// Qt key code to Windows virtual key (0 when none); keypad: the key is on the numeric keypad;
// place: the key's place on the keyboard as the X11 desktop numbers it (its native scan code), 0
// when not known. A key that types a character gives its own key's virtual key on the US and the
// Russian layout, never a command key's.
WORD QtKeyToVirtualKey(int qtKey, bool keypad = false, unsigned place = 0);
// The key that types the character ch (UTF-16) on the US or the Russian layout: its Qt key code,
// its place and whether Shift is down for it; false when no key of the layout types it.
bool CharOnLayout(char16_t ch, bool russian, int& key, unsigned& place, bool& shift);

// Keyboard modifiers and mouse buttons: those of the input event being delivered, else Qt's state.
Qt::KeyboardModifiers CurrentModifiers();
Qt::MouseButtons CurrentButtons();
QPoint CurrentMousePos();

// Qt key code of a virtual key (0 when none; a keypad key carries Qt::KeypadModifier), and the Qt
// cursor of a TCursor.
int VirtualKeyToQtKey(WORD vk);
Qt::CursorShape QtCursorShape(TCursor c);
