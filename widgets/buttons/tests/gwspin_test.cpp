// Control buttons and the spin pair: repeat clicks on a fake timer, release outside, glyphs and
// arrows, layout in both orientations, the focus control's veto, arrow keys. The rapid-fire button's
// repeat and arrow glyphs; the spinner's range rule, veto, steps by mouse, keys and wheel, and look.
#include <gtest/gtest.h>

#include "Gwspnedt.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "timers.h"

namespace {

// A user's press of the key that sends the virtual-key code Vk.
void PressVk(TWinControl* c, unsigned Vk) {
    inputkit::TMods mods = inputkit::None;
    const int key = inputkit::KeyOfVirtualKey(Vk, mods);
    inputkit::Press(c, key, mods);
}

class GwSpin : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        Pair = new TGwSpinButtons(Form);
        Pair->SetParent(Form);
        Pair->OnUpRightClick = [this](TObject*) { ++Ups; };
        Pair->OnDownLeftClick = [this](TObject*) { ++Downs; };
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TGwSpinButtons* Pair = nullptr;
    int Ups = 0, Downs = 0;
};

TEST_F(GwSpin, HeldButtonRepeatsAfterTheInitialDelayThenEveryDelay) {
    TGwControlButton* up = Pair->UpRightButton();
    inputkit::MouseDown(up, 3, 3);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 400u);
    EXPECT_TRUE(up->RepeatTimer()->Enabled());
    for (int i = 0; i < 6; ++i)
        up->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(Ups, 6);
    inputkit::MouseUp(up, 3, 3);
    EXPECT_EQ(Ups, 7) << "the release inside clicks once more";
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
}

TEST_F(GwSpin, ReleaseOutsideGivesNoClick) {
    TGwControlButton* down = Pair->DownLeftButton();
    inputkit::MouseDown(down, 3, 3);
    inputkit::MouseUp(down, 3, 40);
    EXPECT_EQ(Downs, 0);
    EXPECT_FALSE(down->RepeatTimer()->Enabled());
    EXPECT_FALSE(down->Pressed());
}

TEST_F(GwSpin, ButtonsShareTheSizeByOrientation) {
    Pair->SetBounds(0, 0, 16, 25);
    EXPECT_EQ(Pair->UpRightButton()->BoundsRect(), TRect(0, 0, 16, 12));
    EXPECT_EQ(Pair->DownLeftButton()->BoundsRect(), TRect(0, 12, 16, 25));
    Pair->SetOrientation(orHorizontal);
    EXPECT_EQ(Pair->Width(), 32);
    EXPECT_EQ(Pair->DownLeftButton()->BoundsRect(), TRect(0, 0, 16, 25));
    EXPECT_EQ(Pair->UpRightButton()->BoundsRect(), TRect(16, 0, 32, 25));
}

TEST_F(GwSpin, ClearingACustomGlyphBringsTheArrowBack) {
    TBitmap glyph;
    glyph.SetSize(16, 8);
    Pair->SetGlyphUpRight(&glyph);
    EXPECT_EQ(Pair->UpRightButton()->Style(), cbsNone);
    EXPECT_EQ(Pair->UpRightButton()->NumGlyphs(), 2);
    Pair->SetGlyphUpRight(nullptr);
    EXPECT_EQ(Pair->UpRightButton()->Style(), cbsUp);
    Pair->SetDirection(sdLeftRight);
    EXPECT_EQ(Pair->UpRightButton()->Style(), cbsRight);
    EXPECT_EQ(Pair->DownLeftButton()->Style(), cbsLeft);
}

// A control that answers it can take the focus but never takes it.
class TStubborn : public TWinControl {
public:
    using TWinControl::TWinControl;
    void SetFocus() override {}
};

TEST_F(GwSpin, FocusControlThatRefusesTheFocusCancelsTheClick) {
    auto* stubborn = new TStubborn(Form);
    stubborn->SetParent(Form);
    stubborn->SetTabStop(true);
    Pair->SetFocusControl(stubborn);
    TGwControlButton* up = Pair->UpRightButton();
    inputkit::Click(up, 3, 3);
    EXPECT_EQ(Ups, 0);
    delete stubborn;
    EXPECT_EQ(Pair->FocusControl(), nullptr);
}

TEST_F(GwSpin, ArrowKeysClickTheButtons) {
    EXPECT_EQ(Pair->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
    inputkit::Press(Pair, inputkit::Key::Up);
    inputkit::Press(Pair, inputkit::Key::Down);
    inputkit::Press(Pair, inputkit::Key::Down);
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(Downs, 2);
}

TEST_F(GwSpin, FlatButtonShowsNoFrameUntilThePointerEnters) {
    auto* b = new TGwControlButton(Form);
    b->SetParent(Form);
    b->SetFlat(true);
    b->SetColor(clRed);
    TPaper p(17, 21);
    p.Fill(clBlack);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(0, 0)), TPaper::Hex(clRed));
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    b->Perform(CM_MOUSEENTER);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_NE(TPaper::Hex(p.At(0, 0)), TPaper::Hex(clRed));
}

// ---- rapid-fire button ----

TEST_F(GwSpin, RapidFireClicksWhileHeldDownAndWaitsWhenDraggedOff) {
    auto* b = new TGwRapidFireButton(Form);
    b->SetParent(Form);
    b->SetBounds(100, 10, 23, 22);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    inputkit::MouseDown(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 400u);
    b->RepeatTimer()->OnTimer(nullptr);
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(clicks, 2);
    inputkit::MouseMove(b, 60, 60, inputkit::Left);
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(clicks, 2) << "dragged off: no click";
    EXPECT_TRUE(b->RepeatTimer()->Enabled()) << "but the timer runs on";
    inputkit::MouseMove(b, 5, 5, inputkit::Left);
    b->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(clicks, 3);
    inputkit::MouseUp(b, 5, 5);
    EXPECT_FALSE(b->RepeatTimer()->Enabled());
}

TEST_F(GwSpin, RapidFireArrowGlyphsAreCutToTheArrow) {
    auto* b = new TGwRapidFireButton(Form);
    b->SetParent(Form);
    const struct {
        TGwScrollStyle Style;
        int W, H;
    } cases[] = {{scsLeft, 9, 9}, {scsUp, 9, 6}, {scsRight, 9, 9}, {scsDown, 9, 6}, {scsNone, 0, 0}};
    for (const auto& c : cases) {
        b->SetScrollStyle(c.Style);
        EXPECT_EQ(b->Glyph()->Width(), c.W) << c.Style;
        EXPECT_EQ(b->Glyph()->Height(), c.H) << c.Style;
    }
}

// ---- spinner ----

class GwSpinner : public GwSpin {
protected:
    void SetUp() override {
        GwSpin::SetUp();
        S = new TGwSpinner(Form);
        S->SetParent(Form);
        S->SetBounds(10, 100, 85, 21);
        S->OnChange = [this](TObject*) { ++Changes; };
        S->OnIncrement = [this](TObject*, int Amount) { Steps += Amount; };
        S->OnDecrement = [this](TObject*, int Amount) { Steps -= Amount; };
    }
    TGwSpinner* S = nullptr;
    int Changes = 0, Steps = 0;
};

struct RangeCase {
    const char* Name;
    int Min, Max;
    bool CheckRange;
    int Set, Shown;
};

TEST_F(GwSpinner, RangeRuleClampsOnlyWithARangeOrCheckRange) {
    const RangeCase cases[] = {
        {"AboveMax", 0, 100, false, 150, 100}, {"BelowMin", 0, 100, false, -5, 0},
        {"NoLimits", 0, 0, false, -7, -7},     {"CheckRangeForcesMin", 0, 0, true, 55, 0},
        {"Inside", -10, 10, false, 3, 3},
    };
    for (const auto& c : cases) {
        S->SetCheckRange(false);
        S->SetMin(-1000);
        S->SetMax(1000);
        S->SetMin(c.Min);
        S->SetMax(c.Max);
        S->SetCheckRange(c.CheckRange);
        S->SetValue(c.Set);
        EXPECT_EQ(S->Value(), c.Shown) << c.Name;
    }
}

TEST_F(GwSpinner, RaisingMinAboveMaxMovesMaxAndClampsAtOnce) {
    S->SetValue(50);
    S->SetMin(120);
    EXPECT_EQ(S->Max(), 120);
    EXPECT_EQ(S->Value(), 120);
}

TEST_F(GwSpinner, AVetoLeavesTheValueAndFiresNothing) {
    S->SetValue(5);
    Changes = 0;
    S->OnChanging = [](TObject*, int, bool& Allow) { Allow = false; };
    inputkit::Press(S, inputkit::Key::Up);
    inputkit::Wheel(S, 40, 10, 1);
    EXPECT_EQ(S->Value(), 5);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Steps, 0);
}

TEST_F(GwSpinner, KeysAndWheelStepByIncrementOrPage) {
    S->SetValue(50);
    const struct {
        WORD Key;
        int Delta;
    } keys[] = {{VK_UP, 1},    {VK_RIGHT, 1},     {VK_ADD, 1},    {VK_DOWN, -1},
                {VK_LEFT, -1}, {VK_SUBTRACT, -1}, {VK_PRIOR, 10}, {VK_NEXT, -10}};
    for (const auto& k : keys) {
        const int before = S->Value();
        PressVk(S, k.Key);
        EXPECT_EQ(S->Value() - before, k.Delta) << k.Key;
    }
    inputkit::Wheel(S, 40, 10, 1, inputkit::Ctrl);
    EXPECT_EQ(S->Value(), 60);
    inputkit::Wheel(S, 40, 10, -1);
    EXPECT_EQ(S->Value(), 59);
    EXPECT_EQ(Steps, 9);
    EXPECT_EQ(S->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST_F(GwSpinner, PressingPlusAndReleasingOverMinusStepsDownOnce) {
    S->SetValue(50);
    inputkit::MouseDown(S, 80, 10);
    EXPECT_TRUE(S->Pressed(saPlusButton));
    ASSERT_NE(S->RepeatTimer(), nullptr);
    EXPECT_EQ(S->RepeatTimer()->Interval(), 400u);
    inputkit::MouseUp(S, 5, 10);
    EXPECT_EQ(S->Value(), 49);
    EXPECT_FALSE(S->Pressed(saPlusButton));
    EXPECT_FALSE(S->RepeatTimer()->Enabled());
    inputkit::Click(S, 40, 10);
    EXPECT_EQ(S->Value(), 49) << "the value area steps nothing";
}

TEST_F(GwSpinner, HexadecimalShowsThePrefixAndTwosComplement) {
    S->SetShowHexValue(true);
    S->SetMax(1000);
    S->SetValue(255);
    EXPECT_EQ(S->ValueText(), "$FF");
    S->SetMin(-10);
    S->SetValue(-1);
    EXPECT_EQ(S->ValueText(), "$FFFFFFFF");
    S->SetHexValuePrefix("0x");
    S->SetValue(0xAB);
    EXPECT_EQ(S->ValueText(), "0xAB");
}

TEST_F(GwSpinner, FrameControllerGivesItsColoursWhileItsFrameIsVisible) {
    auto* controller = new TGwFrameController(Form);
    S->SetFrameController(controller);
    S->FrameControllerNotifications = TGwFrameControllerNotifications{fcpFrameColor, fcpFlatButtonColor};
    controller->SetFrameColor(clRed);
    EXPECT_EQ(S->FrameColor(), clBtnShadow) << "no frame shown by the controller";
    controller->SetFrameVisible(true);
    controller->SetFlatButtonColor(clLime);
    controller->SetColor(clYellow);
    EXPECT_EQ(S->FrameColor(), clRed);
    EXPECT_EQ(S->ButtonColor(), clLime);
    EXPECT_EQ(S->Color(), clWindow) << "the colour's flag is not set";
    delete controller;
    EXPECT_EQ(S->FrameController(), nullptr);
}

// Pixels: the hot button is lighter inside a darker box; a pressed one is darker.
TEST_F(GwSpinner, HotAndPressedButtonLooks) {
    S->SetButtonColor(TColor(0x808080));
    TPaper p(85, 21);
    S->PaintTo(p.Canvas(), 0, 0);
    const TColor normal = p.At(9, 3);
    EXPECT_EQ(TPaper::Hex(normal), "808080");
    inputkit::MouseMove(S, 40, 10); // the pointer comes in over the value
    inputkit::MouseMove(S, 80, 10);
    EXPECT_TRUE(S->Hot(saPlusButton));
    S->PaintTo(p.Canvas(), 0, 0);
    EXPECT_EQ(TPaper::Hex(p.At(70, 3)), TPaper::Hex(LighterColor(TColor(0x808080), 10)));
    EXPECT_EQ(TPaper::Hex(p.At(69, 5)), TPaper::Hex(DarkerColor(TColor(0x808080), 20)));
    inputkit::MouseDown(S, 5, 10);
    S->PaintTo(p.Canvas(), 0, 0);
    EXPECT_EQ(TPaper::Hex(p.At(9, 3)), TPaper::Hex(DarkerColor(TColor(0x808080), 20)));
    inputkit::MouseUp(S, 5, 10);
}

} // namespace
