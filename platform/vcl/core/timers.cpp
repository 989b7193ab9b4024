// TTimer over QTimer; a tick runs inside the exception boundary. GUI core (platform/vcl).
#include "timers.h"

#include "core_qt.h"
#include "forms.h"
#include "handle.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    TApplication::QtApp();
    FTimer = new TQtTimer();
    QObject::connect(FTimer, &QTimer::timeout, [this] { TMessageBoundary::Run(this, [this] { Timer(); }); });
    Update();
}

TTimer::~TTimer() {
    FTimer->stop();
    delete FTimer;
}

void TTimer::SetEnabled(bool v) {
    if (FEnabled == v)
        return;
    FEnabled = v;
    Update();
}

void TTimer::SetInterval(unsigned v) {
    if (FInterval == v)
        return;
    FInterval = v;
    Update();
}

void TTimer::Update() {
    if (FEnabled && FInterval > 0)
        FTimer->start(int(FInterval));
    else
        FTimer->stop();
}

void TTimer::Timer() {
    if (FEnabled && OnTimer)
        OnTimer(this);
}
