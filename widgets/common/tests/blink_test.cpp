// The shared blink timer: phases, who is told, the list's life.
#include <gtest/gtest.h>

#include "Gwblink.h"
#include "gw_support.h"

namespace {

// A control that answers CM_GETBLINKING and records the phases it is told.
class TBlinker : public TGraphicControl {
public:
    explicit TBlinker(bool Blinks) : TGraphicControl(nullptr), FBlinks(Blinks) {}
    std::vector<int> Phases;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_GETBLINKING) {
            Message.Result = FBlinks ? 1 : 0;
            return;
        }
        if (Message.Msg == CM_BLINK) {
            Phases.push_back(int(Message.WParam));
            return;
        }
        TGraphicControl::WndProc(Message);
    }

private:
    bool FBlinks;
};

TEST(GwBlink, PhasesAlternateStartingOnAndOnlyBlinkersHear) {
    TApplication::QtApp();
    TGwBlinkingControlsList list;
    EXPECT_EQ(list.BlinkState(), bsOff);
    EXPECT_EQ(list.Timer()->Interval(), 500u);
    TBlinker on(true), still(false);
    list.Add(&on);
    list.Add(&still);
    list.IntervalOn = 300;
    list.TimerExpired();
    EXPECT_EQ(list.Timer()->Interval(), 500u) << "the on phase lasts IntervalOff";
    list.TimerExpired();
    EXPECT_EQ(list.Timer()->Interval(), 300u) << "the off phase lasts IntervalOn";
    EXPECT_EQ(on.Phases, (std::vector<int>{bsOn, bsOff}));
    EXPECT_TRUE(still.Phases.empty());
    list.Remove(&on);
    list.TimerExpired();
    EXPECT_EQ(on.Phases.size(), 2u);
}

TEST(GwBlink, TheSharedListGoesWithItsLastClient) {
    TApplication::QtApp();
    ASSERT_EQ(BlinkingControlsList, nullptr);
    BlinkingControlsList = new TGwBlinkingControlsList;
    TBlinker c(true);
    BlinkingControlsList->Add(&c);
    FreeBlinkingControlsListIfEmpty();
    ASSERT_NE(BlinkingControlsList, nullptr);
    BlinkingControlsList->Remove(&c);
    FreeBlinkingControlsListIfEmpty();
    EXPECT_EQ(BlinkingControlsList, nullptr);
}

} // namespace
