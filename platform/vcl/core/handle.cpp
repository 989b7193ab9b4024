// Handle widgets and the translation of Qt events into messages: the one entry from Qt into the
// controls, with the exception boundary. GUI core internals.
#include "handle.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QTimer>
#include <QScrollBar>
#include <QWheelEvent>

#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <sys/mman.h>
#include <unistd.h>

#include "cp1251.h"
#include "forms.h"
#include "winapi.h"
#include "graphics_qt.h"
#include "sysinfo_qt.h"

QEvent::Type PostedMessageEventType() {
    static const QEvent::Type t = QEvent::Type(QEvent::registerEventType());
    return t;
}

namespace {

// The widget the mouse is over while WM_SETCURSOR runs: SetCursor shapes it.
QPointer<QWidget> gCursorWidget;
HCURSOR gCursor = crArrow;
// Screen position of the last mouse event (Qt's own cursor position does not follow sent events).
bool gMouseSeen = false;
QPoint gMousePos;
TControl* gMouseControl = nullptr;
// The widget that lost the focus last, until the widget taking it has been told.
QPointer<QWidget> gFocusLeaving;
// A key event the control's native widget ignored: Qt offers it to the parent widgets next, and the
// control's own client area must not deliver it a second time.
QEvent* gKeyPassedOn = nullptr;
TControl* gCaptureControl = nullptr;
// The input state an event carries, while its messages are delivered (then Qt's own state).
bool gInputKnown = false;
Qt::KeyboardModifiers gModifiers;
Qt::MouseButtons gButtons;

class TInputScope {
public:
    TInputScope(Qt::KeyboardModifiers m, Qt::MouseButtons b)
        : FKnown(gInputKnown), FModifiers(gModifiers), FButtons(gButtons) {
        gInputKnown = true;
        gModifiers = m;
        gButtons = b;
    }
    ~TInputScope() {
        gInputKnown = FKnown;
        gModifiers = FModifiers;
        gButtons = FButtons;
    }

private:
    bool FKnown;
    Qt::KeyboardModifiers FModifiers;
    Qt::MouseButtons FButtons;
};

class TPostedMessageEvent : public QEvent {
public:
    explicit TPostedMessageEvent(const TMessage& m) : QEvent(PostedMessageEventType()), Message(m) {}
    TMessage Message;
};

// The window (handle) a widget belongs to: the nearest handle widget up its parents.
HWND WindowOf(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* h = dynamic_cast<TWidgetHandle*>(w))
            return h->Control() ? h : nullptr;
    return nullptr;
}

WPARAM MouseKeys(Qt::MouseButtons b, Qt::KeyboardModifiers m) {
    WPARAM k = 0;
    if (b & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (b & Qt::RightButton)
        k |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (m & Qt::ControlModifier)
        k |= MK_CONTROL;
    return k;
}

UINT MouseMessage(QEvent::Type t, Qt::MouseButton b, bool dblClicks) {
    int base = b == Qt::RightButton    ? WM_RBUTTONDOWN
               : b == Qt::MiddleButton ? WM_MBUTTONDOWN
                                       : WM_LBUTTONDOWN;
    switch (t) {
    case QEvent::MouseButtonPress: return UINT(base);
    case QEvent::MouseButtonRelease: return UINT(base + 1);
    case QEvent::MouseButtonDblClick: return UINT(dblClicks ? base + 2 : base);
    default: return WM_MOUSEMOVE;
    }
}

// The control that should see a mouse message at client point p of c: the graphic child under it,
// the capture holder, or c itself.
TControl* MouseTarget(TWinControl* c, TPoint p) {
    if (gCaptureControl)
        return gCaptureControl;
    if (TControl* g = c->ControlAtPos(p, false))
        return g;
    return c;
}

// The window beneath c at a screen point, for a hit test answered HTTRANSPARENT: a sibling lower in
// the z-order, else the parent.
TWinControl* WindowBeneath(TWinControl* c, TPoint screen) {
    TWinControl* parent = c->Parent();
    if (!parent || IsPopupWindow(c))
        return nullptr;
    TPoint p = parent->ScreenToClient(screen);
    bool below = false;
    for (int i = parent->ControlCount() - 1; i >= 0; --i) {
        auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (w == c) {
            below = true;
            continue;
        }
        if (below && w && w->Visible() && w->HandleAllocated() && !IsPopupWindow(w) &&
            PtInRect(w->BoundsRect(), p))
            return w;
    }
    return parent;
}

// Offers an input message to the application's hooks; false when one ate it. A hook that names
// another window gets the message delivered there instead (redirected is set).
bool OfferToHooks(TMessage& m, HWND& h, bool& redirected) {
    redirected = false;
    if (!Application)
        return true;
    TMsg msg;
    msg.hwnd = h;
    msg.message = m.Msg;
    msg.wParam = m.WParam;
    msg.lParam = m.LParam;
    msg.pt = TPoint(gMousePos.x(), gMousePos.y());
    if (Application->FilterMessage(msg))
        return false;
    m.Msg = msg.message;
    m.WParam = msg.wParam;
    m.LParam = msg.lParam;
    if (msg.hwnd != h) {
        redirected = true;
        h = msg.hwnd;
    }
    return true;
}

// Delivers an input message made from a Qt event, after the hooks: to the window they name, else
// to c with the Qt event parked for its default handling. False when a hook ate it.
bool DeliverInput(TWinControl* c, TMessage& m, QObject* target, QEvent* e, bool forward) {
    HWND h = c->HandleAllocated() ? c->Handle() : nullptr;
    bool redirected = false;
    if (!OfferToHooks(m, h, redirected))
        return false;
    if (redirected) {
        if (IsLiveHandle(h))
            TMessageBoundary::Deliver(h->Control(), m);
        return true;
    }
    TMessageBoundary::DeliverNative(c, m, target, e, forward);
    return true;
}

// Every mouse event asks the window under it for its hit-test code first (not while the mouse is
// captured): HTCLIENT gives the client message in client coordinates, HTTRANSPARENT asks the window
// beneath, any other code gives the non-client message with the code and the screen point.
bool TranslateMouse(TWinControl* c, QObject* target, QMouseEvent* e, bool forward) {
    TInputScope input(e->modifiers(), e->buttons());
    gMouseSeen = true;
    gMousePos = e->globalPosition().toPoint();
    TPoint screen(gMousePos.x(), gMousePos.y());
    QWidget* w = static_cast<QWidget*>(target);
    bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    // A first button going down starts afresh: a capture left over from a release that went
    // elsewhere (the control was hidden meanwhile) must not steal this press.
    if (press && (e->buttons() & ~e->button()) == 0)
        gCaptureControl = nullptr;
    if (press)
        HintCancelByInput();
    TWinControl* dest = c;
    int hit = HTCLIENT;
    // A captured mouse goes to the window holding the capture (a graphic control's parent).
    if (gCaptureControl) {
        auto* cw = dynamic_cast<TWinControl*>(gCaptureControl);
        TWinControl* holder = cw ? cw : gCaptureControl->Parent();
        if (holder && holder->HandleAllocated())
            dest = holder;
    }
    if (!gCaptureControl) {
        for (int depth = 0; depth < 32; ++depth) {
            TMessage ht = MakeMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            TControlGuard destAlive(dest);
            TMessageBoundary::Deliver(dest, ht);
            if (!destAlive.Alive())
                return true;
            hit = int(ht.Result);
            if (hit != HTTRANSPARENT)
                break;
            dest = WindowBeneath(dest, screen);
            if (!dest)
                return true;
        }
    }
    bool dbl = dest->ControlStyle().Contains(csDoubleClicks);
    UINT msg = MouseMessage(e->type(), e->button(), dbl);
    TPoint pt = dest->ScreenToClient(screen);
    // Enter and leave follow the control under the mouse, whatever its hit test answers (a pane the
    // clicks pass through still learns the mouse is over it).
    TControlGuard destAlive(dest);
    if (msg == WM_MOUSEMOVE || e->type() == QEvent::MouseButtonPress)
        SetMouseControl(MouseTarget(c, c->ScreenToClient(screen)));
    if (!destAlive.Alive())
        return true;
    // Windows asks the window under the mouse for its cursor before every mouse message.
    if (!gCaptureControl) {
        gCursorWidget = w;
        TMessage sc =
            MakeMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dest->Handle()), MAKELPARAM(hit, int(msg)));
        TMessageBoundary::Deliver(dest, sc);
        if (sc.Result == 0 && gCursorWidget)
            gCursorWidget->setCursor(Qt::ArrowCursor);
    }
    if (!destAlive.Alive())
        return true;
    if (press) {
        // The click may activate the window: a popup answers MA_NOACTIVATE, *ANDEAT drops the click.
        QWidget* win = HandleWidget(dest)->window();
        HWND top = WindowOf(win);
        TMessage ma = MakeMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, int(msg)));
        TMessageBoundary::Deliver(dest, ma);
        if (!destAlive.Alive())
            return true;
        if ((ma.Result == MA_ACTIVATE || ma.Result == MA_ACTIVATEANDEAT) && !win->isActiveWindow() &&
            !(win->windowFlags() & Qt::WindowDoesNotAcceptFocus))
            win->activateWindow();
        if (ma.Result == MA_ACTIVATEANDEAT || ma.Result == MA_NOACTIVATEANDEAT)
            return true;
    }
    if (hit != HTCLIENT) {
        TMessage m =
            MakeMessage(msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, WPARAM(hit), MAKELPARAM(screen.x, screen.y));
        DeliverInput(dest, m, target, e, false);
        return true;
    }
    TMessage m = MakeMessage(msg, MouseKeys(e->buttons(), e->modifiers()), MAKELPARAM(pt.x, pt.y));
    DeliverInput(dest, m, target, e, forward && dest == c);
    if (msg == WM_MOUSEMOVE)
        HintMouseMoved(screen);
    return true;
}

bool TranslateKey(TWinControl* c, QObject* target, QKeyEvent* e, bool forward) {
    TInputScope input(e->modifiers(), QGuiApplication::mouseButtons());
    bool alt = e->modifiers() & Qt::AltModifier;
    bool ctrl = e->modifiers() & Qt::ControlModifier;
    std::string text = Utf8ToCp1251(e->text().toStdString());
    // The X11 desktop gives Delete (and the keypad's Delete, its Decimal with NumLock off) the text
    // DEL; Windows makes no character of it.
    if (text == "\x7f")
        text.clear();
    WORD vk = QtKeyToVirtualKey(e->key(), e->modifiers() & Qt::KeypadModifier, e->nativeScanCode());
    // A character no key of ours names: a character's own code would be some command key's.
    if (vk == 0 && !text.empty())
        vk = VK_PACKET;
    LPARAM data = 1 | (alt ? LPARAM(KF_ALTDOWN_BIT) : 0);
    NoteKeyEvent(vk, e->type() == QEvent::KeyPress);
    if (e->type() == QEvent::KeyRelease) {
        TMessage m = MakeMessage(alt && !ctrl ? WM_SYSKEYUP : WM_KEYUP, vk,
                                 data | LPARAM(KF_REPEAT_BIT) | LPARAM(KF_UP_BIT));
        DeliverInput(c, m, target, e, forward);
        return true;
    }
    if (e->isAutoRepeat())
        data |= LPARAM(KF_REPEAT_BIT);
    HintCancelByInput();
    bool printable = !text.empty() && static_cast<unsigned char>(text[0]) >= 0x20 && !ctrl;
    bool keyHasChar = !text.empty() && (printable || text[0] == '\r' || text[0] == '\b' || text[0] == 0x1B ||
                                        text[0] == '\t' || ctrl);
    TMessage down = MakeMessage(alt && !ctrl ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
    // A key that makes a character reaches the native widget through WM_CHAR, after KeyPress.
    TControlGuard alive(c);
    // A key a hook ate makes no character.
    bool delivered = DeliverInput(c, down, target, e, forward && !printable);
    // A handler may have freed the control (a host ending an in-place edit on Enter).
    if (!delivered || !alive.Alive() || down.WParam == 0 || !keyHasChar)
        return true;
    if (alt && !ctrl) {
        TMessage m = MakeMessage(WM_SYSCHAR, WPARAM(static_cast<unsigned char>(text[0])), data);
        DeliverInput(c, m, target, e, false);
        return true;
    }
    for (char ch : text) {
        if (!alive.Alive())
            break;
        TMessage m = MakeMessage(WM_CHAR, WPARAM(static_cast<unsigned char>(ch)), data);
        if (text.size() == 1) {
            DeliverInput(c, m, target, e, forward && printable);
            continue;
        }
        // Several characters from one event (an input method): one native event per character.
        std::unique_ptr<QKeyEvent> one = TMessageBoundary::CharKeyEvent(e->modifiers(), ch);
        DeliverInput(c, m, target, one.get(), forward && printable);
    }
    return true;
}

// The paints running now, innermost last: GetDC and GetWindowDC draw through their painters.
struct TPaintRecord {
    HWND Handle;
    QPainter* Painter;
    bool Frame;
};
std::vector<TPaintRecord> gPaints;

class TPaintScope {
public:
    TPaintScope(TWinControl* c, QPainter* p, bool frame) { gPaints.push_back({c->Handle(), p, frame}); }
    ~TPaintScope() { gPaints.pop_back(); }
};

QPainter* PaintOf(HWND h, bool frame) {
    for (auto it = gPaints.rbegin(); it != gPaints.rend(); ++it)
        if (it->Handle == h && it->Frame == frame)
            return it->Painter;
    return nullptr;
}

// A window's first paint into a new backing store takes a page fault for every page of fresh memory
// it touches, and a narrow strip (the side panel) touches one page a row: about 2 ms for the main
// window. One request maps the whole store at once instead. Each store's memory is asked for once;
// a resized store is new memory.
void PrefaultStore(QWidget* w) {
    static std::unordered_map<const QBackingStore*, std::pair<const uchar*, qsizetype>> done;
    QBackingStore* store = w->window()->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return;
    const auto* image = static_cast<const QImage*>(device);
    std::pair<const uchar*, qsizetype> memory{image->constBits(), image->sizeInBytes()};
    auto& seen = done[store];
    if (!memory.first || seen == memory)
        return;
    seen = memory;
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    uintptr_t from = (reinterpret_cast<uintptr_t>(memory.first) + page - 1) & ~(page - 1);
    uintptr_t to = (reinterpret_cast<uintptr_t>(memory.first) + uintptr_t(memory.second)) & ~(page - 1);
    // A kernel without the request refuses it; the pages then come one by one as before.
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#endif
}

// The client's background, then WM_PAINT; a control with a wrapped Qt widget gets its WM_PAINT on
// the cover instead, once the widget has painted.
void PaintClient(TWinControl* c, QWidget* w, bool erase, bool paint) {
    PrefaultStore(w);
    QPainter p(w);
    TPaintScope scope(c, &p, false);
    TCanvas dc;
    BindPainter(&dc, &p);
    if (erase) {
        TMessage m = MakeMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
        TMessageBoundary::Deliver(c, m);
    }
    if (paint) {
        TMessage m = MakeMessage(WM_PAINT, reinterpret_cast<WPARAM>(&dc), 0);
        TMessageBoundary::Deliver(c, m);
    }
    BindPainter(&dc, nullptr);
}

void PaintFrame(TWinControl* c, QWidget* w) {
    PrefaultStore(w);
    QPainter p(w);
    TPaintScope scope(c, &p, true);
    TCanvas dc;
    BindPainter(&dc, &p);
    TMessage m = MakeMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(&dc), 0);
    TMessageBoundary::Deliver(c, m);
    BindPainter(&dc, nullptr);
}

bool IsMouseInput(QEvent::Type t) {
    return t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
           t == QEvent::MouseButtonDblClick || t == QEvent::MouseMove || t == QEvent::Wheel ||
           t == QEvent::ContextMenu;
}

// The one translation of a Qt event for a control; true when the event was consumed here.
bool Translate(TWinControl* c, TMessageFilter::Role role, QObject* target, QEvent* e) {
    bool forward = role == TMessageFilter::Native || role == TMessageFilter::Inner;
    if (e->type() == QEvent::ChildPolished && forward)
        RouteInputAreas(c, static_cast<QWidget*>(target));
    // A part of the wrapped widget leaves its keys, focus and hovering to the widget.
    if (role == TMessageFilter::Inner && !IsMouseInput(e->type()))
        return false;
    switch (e->type()) {
    case QEvent::Paint:
        if (role == TMessageFilter::Outer) {
            PaintFrame(c, static_cast<QWidget*>(target));
            return true;
        }
        if (role == TMessageFilter::Client) {
            PaintClient(c, static_cast<QWidget*>(target), true, !c->Handle()->Native);
            return true;
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        TranslateMouse(c, target, static_cast<QMouseEvent*>(e), forward);
        // Delivered once: the widgets around it must not deliver it again.
        if (forward)
            e->accept();
        return true;
    case QEvent::Wheel: {
        if (role == TMessageFilter::Outer)
            return false;
        auto* we = static_cast<QWheelEvent*>(e);
        TInputScope input(we->modifiers(), we->buttons());
        QPoint g = we->globalPosition().toPoint();
        int delta = we->angleDelta().y();
        TMessage m =
            MakeMessage(WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeys(we->buttons(), we->modifiers())), delta),
                        MAKELPARAM(g.x(), g.y()));
        TMessageBoundary::DeliverNative(c, m, target, e, forward);
        if (forward)
            e->accept();
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (role == TMessageFilter::Outer)
            return false;
        bool passedOn = e == gKeyPassedOn;
        gKeyPassedOn = nullptr;
        if (passedOn) {
            e->accept();
            return true;
        }
        TranslateKey(c, target, static_cast<QKeyEvent*>(e), forward);
        if (forward && !e->isAccepted())
            gKeyPassedOn = e;
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (role == TMessageFilter::Outer)
            return false;
        // WParam names the other window of the change, as in Windows (an editor keeps its caret
        // when the focus goes to one of its own scroll bars). Qt tells the widget losing the focus
        // first, when the new one is already Qt's focus widget.
        HWND other = nullptr;
        if (e->type() == QEvent::FocusOut) {
            gFocusLeaving = static_cast<QWidget*>(target);
            other = WindowOf(QApplication::focusWidget());
        } else {
            other = WindowOf(gFocusLeaving);
            gFocusLeaving = nullptr;
        }
        if (other && other->Control() == c)
            other = nullptr;
        TMessage m = MakeMessage(e->type() == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS,
                                 reinterpret_cast<WPARAM>(other), 0);
        TMessageBoundary::DeliverNative(c, m, target, e, forward);
        return forward;
    }
    case QEvent::Enter:
        // A widget of the toolkit's own may track no moves: where the mouse came in is where it is
        // (a hint shows below the mouse, not where it last moved over a control that tracks).
        if (auto* enter = dynamic_cast<QEnterEvent*>(e)) {
            gMouseSeen = true;
            gMousePos = enter->globalPosition().toPoint();
        }
        if (role != TMessageFilter::Outer && !gCaptureControl) {
            QPoint pos = ClientWidget(c)->mapFromGlobal(QCursor::pos());
            SetMouseControl(MouseTarget(c, TPoint(pos.x(), pos.y())));
        }
        return false;
    case QEvent::Leave:
        if (role != TMessageFilter::Outer && gMouseControl &&
            (gMouseControl == c || gMouseControl->Parent() == c) && !gCaptureControl)
            SetMouseControl(nullptr);
        if (role != TMessageFilter::Outer && c->HandleAllocated()) {
            TWidgetHandle* h = c->Handle();
            if (h->TrackLeave) {
                h->TrackLeave = false;
                TMessage m = MakeMessage(WM_MOUSELEAVE);
                TMessageBoundary::Deliver(c, m);
            }
        }
        return false;
    case QEvent::ContextMenu:
        // Raised from the right-button release instead, as Windows does.
        return role != TMessageFilter::Outer;
    default: return false;
    }
}

} // namespace

TPaintCover::TPaintCover(TWinControl* control, QWidget* parent) : QWidget(parent), FControl(control) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
}

void TPaintCover::paintEvent(QPaintEvent*) {
    if (FControl)
        PaintClient(FControl, this, false, true);
}

QPainter* FramePainter(HWND h) { return PaintOf(h, true); }

QPainter* ClientPainter(HWND h) { return PaintOf(h, false); }

// ---- the boundary ----------------------------------------------------------------------------------

namespace {

// The Qt event whose message is being delivered, while DefaultHandler may still hand it on.
struct TParkedEvent {
    QObject* Target = nullptr;
    QEvent* Event = nullptr;
    UINT Msg = 0;
    bool Done = false;
};
thread_local TParkedEvent* gParked = nullptr;
int gDepth = 0;
// While DefaultHandler hands a Qt event to a widget, Qt's own code is on the stack: the outermost
// Perform made then keeps its exception here until Qt has returned.
thread_local bool gInsideQt = false;
thread_local std::exception_ptr gKeptException;

class TDeliveryScope {
public:
    TDeliveryScope() { ++gDepth; }
    ~TDeliveryScope() { --gDepth; }
};

bool IsPending(UINT Msg) { return gParked && gParked->Event && !gParked->Done && gParked->Msg == Msg; }

// A scroll view handles its viewport's input in viewportEvent, through a filter of its own that a
// direct call of the viewport's event() would skip.
struct TViewportAccess : QAbstractScrollArea {
    static bool Send(QAbstractScrollArea* area, QEvent* e) {
        return (area->*&TViewportAccess::viewportEvent)(e);
    }
};

QAbstractScrollArea* ScrollAreaOfViewport(QObject* o) {
    auto* w = qobject_cast<QWidget*>(o);
    auto* area = w ? qobject_cast<QAbstractScrollArea*>(w->parentWidget()) : nullptr;
    return area && area->viewport() == w ? area : nullptr;
}

void SendToWidget(QObject* target, QEvent* e) {
    QAbstractScrollArea* area = ScrollAreaOfViewport(target);
    if (!area || !TViewportAccess::Send(area, e))
        target->event(e);
}

} // namespace

void TMessageBoundary::Deliver(TControl* control, TMessage& message) {
    if (!control)
        return;
    Run(control, [&] { control->WindowProc(message); });
}

void TMessageBoundary::Run(TObject* Sender, const std::function<void()>& Handler) {
    TDeliveryScope scope;
    Guard(Sender, Handler);
}

bool TMessageBoundary::Guard(TObject* Sender, const std::function<void()>& Handler) {
    try {
        Handler();
        return true;
    } catch (...) {
        if (Application)
            Application->HandleException(Sender);
        return false;
    }
}

void TMessageBoundary::DeliverNative(TControl* control, TMessage& message, QObject* target, QEvent* e,
                                     bool forward) {
    TParkedEvent parked;
    parked.Target = target;
    parked.Event = forward ? e : nullptr;
    parked.Msg = message.Msg;
    TParkedEvent* saved = gParked;
    gParked = &parked;
    Deliver(control, message);
    gParked = saved;
}

void TMessageBoundary::Perform(TControl* control, TMessage& message) {
    if (!gInsideQt) {
        control->WindowProc(message);
        return;
    }
    gInsideQt = false;
    try {
        control->WindowProc(message);
    } catch (...) {
        if (!gKeptException)
            gKeptException = std::current_exception();
    }
    gInsideQt = true;
}

bool TMessageBoundary::Pending(UINT Msg) { return IsPending(Msg); }

void TMessageBoundary::PassToWidget(UINT Msg) {
    if (!IsPending(Msg))
        return;
    // The widget's own handling of the Qt event this message came from (QObject::event is public).
    gParked->Done = true;
    bool wasInside = gInsideQt;
    gInsideQt = true;
    SendToWidget(gParked->Target, gParked->Event);
    gInsideQt = wasInside;
    if (gKeptException && !wasInside) {
        std::exception_ptr e = gKeptException;
        gKeptException = nullptr;
        std::rethrow_exception(e);
    }
}

bool TMessageBoundary::Accepted() { return gParked && gParked->Event && gParked->Event->isAccepted(); }

int TMessageBoundary::Depth() { return gDepth; }

bool TMessageBoundary::FromInput() { return gParked != nullptr; }

std::unique_ptr<QKeyEvent> TMessageBoundary::CharKeyEvent(Qt::KeyboardModifiers modifiers, char ch) {
    return std::make_unique<QKeyEvent>(
        QEvent::KeyPress, Qt::Key_unknown, modifiers,
        QString(QChar(char16_t(Cp1251ToUnicode(static_cast<unsigned char>(ch))))));
}

TMessageBoundary::TCharReplacement::TCharReplacement(char Ch) {
    if (!IsPending(WM_CHAR) || gParked->Event->type() != QEvent::KeyPress)
        return;
    FEvent = CharKeyEvent(static_cast<QKeyEvent*>(gParked->Event)->modifiers(), Ch);
    gParked->Event = FEvent.get();
}

TMessageBoundary::TCharReplacement::~TCharReplacement() {
    if (FEvent && gParked && gParked->Event == FEvent.get())
        gParked->Event = nullptr;
}

namespace {

// A filter detached from a handle freed in this same pass (its deletion still queued) counts for
// nothing: a wrapped widget moved to the handle made anew needs filters of its own at once.
bool HasMessageFilter(QWidget* w) {
    for (QObject* o : w->children())
        if (auto* f = dynamic_cast<TMessageFilter*>(o); f && f->Attached())
            return true;
    return false;
}

} // namespace

void RouteInputAreas(TWinControl* c, QWidget* w) {
    if (ScrollAreaOfViewport(w))
        return;
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    const QList<QWidget*> parts =
        area ? QList<QWidget*>{area->viewport()} : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* part : parts) {
        if (!part || part->isWindow() || HasMessageFilter(part))
            continue;
        part->installEventFilter(new TMessageFilter(c, TMessageFilter::Inner, part));
        // Windows sends WM_MOUSEMOVE with no button down too (a list box's item hints need it).
        part->setMouseTracking(true);
        RouteInputAreas(c, part);
    }
}

void ReleaseMessageFilters(QWidget* w) {
    for (QObject* o : w->findChildren<QObject*>())
        if (auto* f = dynamic_cast<TMessageFilter*>(o)) {
            f->Detach();
            f->parent()->removeEventFilter(f);
            f->deleteLater();
        }
}

bool TMessageFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!FControl)
        return false;
    return Translate(FControl, FRole, watched, event);
}

TClientArea::TClientArea(TWinControl* control, QWidget* parent) : QWidget(parent) {
    FFilter = new TMessageFilter(control, TMessageFilter::Client, this);
    setMouseTracking(true);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

bool TClientArea::event(QEvent* e) {
    if (FFilter && FFilter->eventFilter(this, e))
        return true;
    return QWidget::event(e);
}

namespace {

// Every handle that belongs to a control, guarded for the threads that post to windows.
std::mutex gLiveLock;
std::unordered_set<const TWidgetHandle*> gLive;

void SetLive(const TWidgetHandle* h, bool live) {
    std::lock_guard<std::mutex> g(gLiveLock);
    if (live)
        gLive.insert(h);
    else
        gLive.erase(h);
}

} // namespace

bool IsLiveHandle(HWND h) {
    std::lock_guard<std::mutex> g(gLiveLock);
    return h && gLive.count(h) != 0;
}

BOOL IsWindow(HWND h) { return IsLiveHandle(h); }

TWidgetHandle::TWidgetHandle(TWinControl* control, QWidget* parent) : QWidget(parent), FControl(control) {
    SetLive(this, true);
    setMouseTracking(true);
    // Made here, not in the initialiser list: Qt sends this widget events while its children are made.
    FFilter = new TMessageFilter(control, TMessageFilter::Outer, this);
    FClient = new TClientArea(control, this);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(FClient);
    FClient->show();
}

TWidgetHandle::~TWidgetHandle() {
    SetLive(this, false);
    // Deleted by Qt while the control still holds it (its Qt parent went first): the control
    // loses its window and makes a new one when next needed.
    if (FControl) {
        if (FControl->FHandle == this) {
            FControl->FHandle = nullptr;
        }
        Detach();
    }
}

void TWidgetHandle::Detach() {
    for (auto& [id, t] : Timers) {
        t->stop();
        t->deleteLater();
    }
    Timers.clear();
    SetLive(this, false);
    FControl = nullptr;
    FFilter->Detach();
    FClient->Filter()->Detach();
    if (Cover)
        Cover->Detach();
    for (QObject* o : findChildren<QObject*>())
        if (auto* f = dynamic_cast<TMessageFilter*>(o))
            f->Detach();
}

bool TWidgetHandle::event(QEvent* e) {
    if (e->type() == PostedMessageEventType()) {
        if (FControl) {
            TMessage m = static_cast<TPostedMessageEvent*>(e)->Message;
            HWND h = this;
            bool redirected = false;
            if (OfferToHooks(m, h, redirected) && IsLiveHandle(h))
                TMessageBoundary::Deliver(h->Control(), m);
        }
        return true;
    }
    if (FControl && FClient && isWindow()) {
        if (e->type() == QEvent::Show && IsPopupWindow(FControl))
            AttachPopupWindow(this);
        if (e->type() == QEvent::Close) {
            e->ignore();
            TMessage m = MakeMessage(WM_CLOSE);
            TMessageBoundary::Deliver(FControl, m);
            return true;
        }
        // The user moved or sized the window: the control's bounds follow.
        if ((e->type() == QEvent::Resize || e->type() == QEvent::Move) && !Placing) {
            TWinControl* c = FControl;
            // Left/Top are the frame's position (what move() takes), Width/Height the window's size.
            QRect g(pos(), size());
            if (g.x() != c->Left() || g.y() != c->Top() || g.width() != c->Width() ||
                g.height() != c->Height()) {
                TMessageBoundary::Run(c, [&] { c->SetBounds(g.x(), g.y(), g.width(), g.height()); });
            }
        }
        // Maximised or minimised by the window manager counts as by the program.
        if (e->type() == QEvent::WindowStateChange)
            if (auto* form = dynamic_cast<TCustomForm*>(FControl)) {
                const Qt::WindowStates s = windowState();
                form->FWindowState = s & Qt::WindowMinimized   ? wsMinimized
                                     : s & Qt::WindowMaximized ? wsMaximized
                                                               : wsNormal;
            }
        if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) {
            TMessage m = MakeMessage(e->type() == QEvent::WindowActivate ? CM_ACTIVATE : CM_DEACTIVATE);
            TMessageBoundary::Deliver(FControl, m);
        }
    }
    if (FControl && FFilter && FClient && FFilter->eventFilter(this, e))
        return true;
    return QWidget::event(e);
}

// ---- mouse tracking --------------------------------------------------------------------------------

void SetMouseControl(TControl* c) {
    if (c == gMouseControl)
        return;
    TControl* old = gMouseControl;
    gMouseControl = c;
    HintMouseEntered(c);
    if (old) {
        TMessage m = MakeMessage(CM_MOUSELEAVE);
        TMessageBoundary::Deliver(old, m);
    }
    if (c && gMouseControl == c) {
        TMessage m = MakeMessage(CM_MOUSEENTER);
        TMessageBoundary::Deliver(c, m);
    }
}

TControl* MouseControl() { return gMouseControl; }

void SetCaptureControl(TControl* c) { gCaptureControl = c; }

TControl* CaptureControl() { return gCaptureControl; }

void ForgetControl(TControl* c) {
    if (gMouseControl == c)
        gMouseControl = nullptr;
    if (gCaptureControl == c)
        gCaptureControl = nullptr;
    ForgetControlCaret(c);
    ForgetHintControl(c);
}

Qt::KeyboardModifiers CurrentModifiers() {
    return gInputKnown ? gModifiers : QGuiApplication::keyboardModifiers();
}

Qt::MouseButtons CurrentButtons() { return gInputKnown ? gButtons : QGuiApplication::mouseButtons(); }

// Any thread may post; a window freed meanwhile (or being freed) refuses the message.
BOOL PostMessage(HWND h, UINT Msg, WPARAM WParam, LPARAM LParam) {
    std::lock_guard<std::mutex> g(gLiveLock);
    if (!h || !gLive.count(h))
        return 0;
    QCoreApplication::postEvent(h, new TPostedMessageEvent(MakeMessage(Msg, WParam, LParam)));
    return 1;
}

UINT SetTimer(HWND h, UINT IDEvent, UINT Elapse, void*) {
    if (!h)
        return 0;
    QTimer*& t = h->Timers[IDEvent];
    if (!t) {
        t = new QTimer(h);
        QObject::connect(t, &QTimer::timeout, h, [h, IDEvent] {
            if (TWinControl* c = h->Control()) {
                TMessage m = MakeMessage(WM_TIMER, IDEvent, 0);
                TMessageBoundary::Deliver(c, m);
            }
        });
    }
    t->start(int(std::max(1u, Elapse)));
    return IDEvent ? IDEvent : 1;
}

BOOL KillTimer(HWND h, UINT IDEvent) {
    if (!h)
        return 0;
    auto it = h->Timers.find(IDEvent);
    if (it == h->Timers.end())
        return 0;
    it->second->stop();
    it->second->deleteLater();
    h->Timers.erase(it);
    return 1;
}

Qt::CursorShape QtCursorShape(TCursor c) {
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit: return c == crVSplit ? Qt::SplitVCursor : Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

HCURSOR SetCursor(HCURSOR Cursor) {
    HCURSOR old = gCursor;
    gCursor = Cursor;
    if (gCursorWidget)
        gCursorWidget->setCursor(QtCursorOf(Cursor));
    return old;
}

QPoint CurrentMousePos() { return gMouseSeen ? gMousePos : QCursor::pos(); }

// ---- scroll bars -----------------------------------------------------------------------------------

namespace {

// A user's action on a Qt scroll bar as WM_HSCROLL / WM_VSCROLL. As in Windows the bar does not move
// by itself: the program answers with SetScrollPos; only the dragged thumb follows the mouse.
void DeliverScroll(TWinControl* c, int bar, QScrollBar* sb, int code, int pos) {
    bool horz = sb->orientation() == Qt::Horizontal;
    TWinControl* to = c;
    LPARAM from = 0;
    if (bar == SB_CTL) {
        to = c->Parent();
        from = reinterpret_cast<LPARAM>(c->Handle());
    }
    if (!to)
        return;
    TMessage m = MakeMessage(horz ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, pos), from);
    TMessageBoundary::Deliver(to, m);
}

class TScrollBarWatcher : public QObject {
public:
    TScrollBarWatcher(TWinControl* c, int bar, QScrollBar* sb)
        : QObject(sb), FControl(c), FBar(bar), FWidget(sb) {}
    // The arrows and the page areas end their scrolling when the button comes up.
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && !FWidget->isSliderDown()) {
            QPointer<QScrollBar> sb = FWidget;
            TControlGuard alive(FControl);
            TWinControl* c = FControl;
            int bar = FBar;
            QMetaObject::invokeMethod(
                sb,
                [sb, alive, c, bar] {
                    if (sb && alive.Alive() && c->HandleAllocated())
                        DeliverScroll(c, bar, sb, SB_ENDSCROLL, 0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    TWinControl* FControl;
    int FBar;
    QScrollBar* FWidget;
};

int ScrollCode(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

} // namespace

void ConnectScrollBar(TWinControl* c, int Bar, QScrollBar* sb) {
    TControlGuard alive(c);
    QObject::connect(sb, &QAbstractSlider::actionTriggered, sb, [c, Bar, sb, alive](int action) {
        int code = ScrollCode(action);
        if (code < 0 || !alive.Alive() || !c->HandleAllocated())
            return;
        TScrollState& st = ScrollState(c->Handle(), Bar);
        int pos = st.Pos;
        if (code == SB_THUMBTRACK) {
            st.Tracking = true;
            st.TrackPos = pos = sb->sliderPosition();
        } else {
            sb->setSliderPosition(st.Pos);
        }
        DeliverScroll(c, Bar, sb, code, pos);
    });
    QObject::connect(sb, &QAbstractSlider::sliderReleased, sb, [c, Bar, sb, alive] {
        if (!alive.Alive() || !c->HandleAllocated())
            return;
        TScrollState& st = ScrollState(c->Handle(), Bar);
        if (st.Tracking) {
            int track = st.TrackPos;
            DeliverScroll(c, Bar, sb, SB_THUMBPOSITION, track);
            if (!alive.Alive() || !c->HandleAllocated())
                return;
            TScrollState& now = ScrollState(c->Handle(), Bar);
            now.Tracking = false;
            // The thumb goes back where the program left the position.
            sb->setValue(now.Pos);
        }
        DeliverScroll(c, Bar, sb, SB_ENDSCROLL, 0);
    });
    sb->installEventFilter(new TScrollBarWatcher(c, Bar, sb));
}
