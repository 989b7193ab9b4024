// The application's side of the event loop: OnIdle when the queue drains, message hooks and
// OnMessage, WM_ACTIVATEAPP, local loops that wait for events, and TThread::Synchronize on the GUI
// thread. GUI core (platform/vcl).
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>

#include "actlist.h"
#include "forms.h"
#include "handle.h"
#include "winapi.h"

namespace {

// Arms a zero timer after every event; it fires once the events queued before it are handled, and
// then runs OnIdle. Its own firing does not arm it again, so an idle program sleeps.
class TIdleWatcher : public QObject {
public:
    TIdleWatcher() {
        FTimer.setSingleShot(true);
        FTimer.setInterval(0);
        QObject::connect(&FTimer, &QTimer::timeout, this, [] {
            if (Application)
                Application->Idle();
        });
    }
    void Arm() {
        if (!FTimer.isActive())
            FTimer.start();
    }
    bool eventFilter(QObject* watched, QEvent*) override {
        if (watched != &FTimer)
            Arm();
        return false;
    }
    QTimer FTimer;
};

TIdleWatcher* gIdle = nullptr;

void SendActivateApp(bool active) {
    // Every top-level window of the program hears it, forms and popups alike.
    std::vector<QPointer<TWidgetHandle>> tops;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = dynamic_cast<TWidgetHandle*>(w); h && h->Control())
            tops.emplace_back(h);
    for (auto& h : tops)
        if (h && h->Control()) {
            TMessage m = MakeMessage(WM_ACTIVATEAPP, WPARAM(active), 0);
            TMessageBoundary::Deliver(h->Control(), m);
        }
    if (!Application)
        return;
    TNotifyEvent& e = active ? Application->OnActivate : Application->OnDeactivate;
    if (e)
        TMessageBoundary::Run(Application, [&] { e(Application); });
}

// Runs a worker's call on the GUI thread and waits; its exception goes back to the worker.
void SynchronizeOnGuiThread(const std::function<void()>& f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        f();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        app,
        [&] {
            try {
                f();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

} // namespace

void InstallApplicationEvents() {
    if (gIdle)
        return;
    gIdle = new TIdleWatcher;
    qApp->installEventFilter(gIdle);
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, gIdle,
                     [](Qt::ApplicationState s) { SendActivateApp(s == Qt::ApplicationActive); });
    TThread::SetSynchronizeHandler(&SynchronizeOnGuiThread);
}

void TApplication::Idle() {
    bool done = true;
    TMessageBoundary::Run(this, [&] {
        if (OnIdle)
            OnIdle(this, done);
        // Actions follow the program's state once it has nothing else to do.
        if (done)
            UpdateFormActions();
    });
    // Not done: called again as soon as the queue has drained once more.
    if (!done && gIdle)
        gIdle->Arm();
}

bool TApplication::Active() const { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

int TApplication::HookMessages(TMessageHook Hook) {
    int id = FNextHook++;
    FHooks.emplace_back(id, std::move(Hook));
    return id;
}

void TApplication::UnhookMessages(int Id) {
    std::erase_if(FHooks, [Id](const auto& h) { return h.first == Id; });
}

bool TApplication::FilterMessage(TMsg& Msg) {
    // Newest first; a hook may unhook itself or others while it runs.
    auto hooks = FHooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
        if (std::any_of(FHooks.begin(), FHooks.end(), [&](const auto& h) { return h.first == it->first; }) &&
            it->second(Msg))
            return true;
    bool handled = false;
    if (OnMessage)
        OnMessage(Msg, handled);
    return handled;
}

void TApplication::HandleMessage() {
    QtApp();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TApplication::RunLoop(const std::function<bool()>& Done) {
    QtApp();
    while (!Done() && !FTerminated)
        HandleMessage();
}
