// Control buttons and the spin pair: repeat clicks on a fake timer, release outside, glyphs and
// arrows, layout in both orientations, the focus control's veto, arrow keys.
#include <gtest/gtest.h>

#include "Gwspnedt.h"
#include "forms.h"
#include "gw_support.h"
#include "messages.h"
#include "timers.h"

namespace {

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
    up->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 400u);
    EXPECT_TRUE(up->RepeatTimer()->Enabled());
    for (int i = 0; i < 6; ++i)
        up->RepeatTimer()->OnTimer(nullptr);
    EXPECT_EQ(up->RepeatTimer()->Interval(), 100u);
    EXPECT_EQ(Ups, 6);
    up->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Ups, 7) << "the release inside clicks once more";
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
}

TEST_F(GwSpin, ReleaseOutsideGivesNoClick) {
    TGwControlButton* down = Pair->DownLeftButton();
    down->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    down->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 40));
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
    up->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    up->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Ups, 0);
    delete stubborn;
    EXPECT_EQ(Pair->FocusControl(), nullptr);
}

TEST_F(GwSpin, ArrowKeysClickTheButtons) {
    EXPECT_EQ(Pair->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
    Pair->Perform(WM_KEYDOWN, VK_UP, 0);
    Pair->Perform(WM_KEYDOWN, VK_DOWN, 0);
    Pair->Perform(WM_KEYDOWN, VK_DOWN, 0);
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
    b->Perform(CM_MOUSEENTER);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_NE(TPaper::Hex(p.At(0, 0)), TPaper::Hex(clRed));
}

} // namespace
