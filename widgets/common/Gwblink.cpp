// The shared blink timer of the Gw widget library.
#include "Gwblink.h"

#include <algorithm>

TGwBlinkingControlsList* BlinkingControlsList = nullptr;

TGwBlinkingControlsList::TGwBlinkingControlsList() : FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetInterval(IntervalOff);
    FTimer->OnTimer = [this](TObject*) { TimerExpired(); };
    FTimer->SetEnabled(true);
}

TGwBlinkingControlsList::~TGwBlinkingControlsList() = default;

void TGwBlinkingControlsList::Remove(TControl* Control) {
    const auto it = std::find(FControls.begin(), FControls.end(), Control);
    if (it != FControls.end())
        FControls.erase(it);
}

void TGwBlinkingControlsList::TimerExpired() {
    if (FBlinkState == bsOff) {
        FBlinkState = bsOn;
        FTimer->SetInterval(IntervalOff);
    } else {
        FBlinkState = bsOff;
        FTimer->SetInterval(IntervalOn);
    }
    // A control may leave the list from its own blink handler: walk a copy.
    const std::vector<TControl*> controls = FControls;
    for (TControl* c : controls)
        if (c->Perform(CM_GETBLINKING, 0, 0) == 1)
            c->Perform(CM_BLINK, WPARAM(FBlinkState), 0);
}

void FreeBlinkingControlsListIfEmpty() {
    if (BlinkingControlsList && BlinkingControlsList->Count() == 0) {
        delete BlinkingControlsList;
        BlinkingControlsList = nullptr;
    }
}
