// TTimer of the GUI core: OnTimer every Interval milliseconds on the GUI thread (over a Qt timer).
#pragma once

#include "classes.h"

class TQtTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned v);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void Update();
    TQtTimer* FTimer;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};
