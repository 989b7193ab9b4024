// The shared blink timer of the Gw widget library (widget layer): every blinking control changes
// phase together, driven by one timer of the GUI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "controls.h"
#include "timers.h"

enum TBlinkState { bsOn, bsOff };

// Asked of each listed control (answer 1 while it blinks); then told the new phase (WParam).
constexpr UINT CM_GETBLINKING = 0xB3E8;
constexpr UINT CM_BLINK = 0xB3E9;

class TGwBlinkingControlsList : public TObject {
public:
    TGwBlinkingControlsList();
    ~TGwBlinkingControlsList() override;
    void Add(TControl* Control) { FControls.push_back(Control); }
    void Remove(TControl* Control);
    int Count() const { return int(FControls.size()); }
    TBlinkState BlinkState() const { return FBlinkState; }
    // Phase lengths in milliseconds: the on phase lasts IntervalOff, the off phase IntervalOn
    // (so each names the phase it ends); a change takes effect at the next phase change.
    std::uint16_t IntervalOff = 500;
    std::uint16_t IntervalOn = 500;
    TTimer* Timer() const { return FTimer.get(); }
    // One phase change (the timer's tick).
    void TimerExpired();

private:
    TBlinkState FBlinkState = bsOff;
    std::vector<TControl*> FControls;
    std::unique_ptr<TTimer> FTimer;
};

// Created by the first client that finds it missing; freed when the last one leaves.
extern TGwBlinkingControlsList* BlinkingControlsList;
void FreeBlinkingControlsListIfEmpty();
