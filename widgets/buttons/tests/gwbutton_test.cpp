// The push button: press tracking, sticky groups, default and cancel keys, its looks as drawn.
#include <gtest/gtest.h>

#include <set>

#include "Gwbutton.h"
#include "extctrls.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"

namespace {

class GwButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TGwButton* Make(TWinControl* Parent, int Group = 0) {
        auto* b = new TGwButton(Form);
        b->SetParent(Parent);
        b->SetBounds(10 + 80 * int(Parent->ControlCount() - 1), 10, 75, 25);
        b->SetGroupIndex(Group);
        b->OnClick = [this](TObject* s) { Clicked.push_back(s); };
        return b;
    }
    static void Press(TControl* c, int X = 5, int Y = 5, int UpX = 5, int UpY = 5) {
        inputkit::MouseDown(c, X, Y);
        inputkit::MouseUp(c, UpX, UpY);
    }
    TForm* Form = nullptr;
    std::vector<TObject*> Clicked;
};

struct TPressCase {
    const char* Name;
    inputkit::TButton Down, Up;
    int UpX, UpY;
    bool Clicks;
};
void PrintTo(const TPressCase& c, std::ostream* os) { *os << c.Name; }
class GwButtonPress : public GwButtonTest, public ::testing::WithParamInterface<TPressCase> {};

TEST_P(GwButtonPress, OnlyALeftPressReleasedInsideClicks) {
    const TPressCase& c = GetParam();
    TGwButton* b = Make(Form);
    inputkit::MouseDown(b, 5, 5, c.Down);
    inputkit::MouseUp(b, c.UpX, c.UpY, c.Up);
    EXPECT_EQ(Clicked.size(), c.Clicks ? 1u : 0u);
    EXPECT_FALSE(b->PressedInside());
    EXPECT_FALSE(b->Dragging());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GwButtonPress,
    ::testing::Values(TPressCase{"LeftInside", inputkit::Left, inputkit::Left, 74, 24, true},
                      TPressCase{"ReleasedOnTheRightEdge", inputkit::Left, inputkit::Left, 75, 5, false},
                      TPressCase{"ReleasedOnTheBottomEdge", inputkit::Left, inputkit::Left, 5, 25, false},
                      TPressCase{"RightButton", inputkit::Right, inputkit::Right, 5, 5, false},
                      TPressCase{"AnyReleaseEndsAPress", inputkit::Left, inputkit::Right, 5, 5, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwButtonTest, PressedStateFollowsThePointer) {
    TGwButton* b = Make(Form);
    inputkit::MouseDown(b, 5, 5);
    EXPECT_TRUE(b->PressedInside());
    inputkit::MouseMove(b, 75, 5, inputkit::Left);
    EXPECT_FALSE(b->PressedInside());
    inputkit::MouseMove(b, 74, 5, inputkit::Left);
    EXPECT_TRUE(b->PressedInside());
    inputkit::MouseUp(b, 74, 5);
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(GwButtonTest, GroupKeepsOneButtonDownOnItsParentOnly) {
    TGwButton* a = Make(Form, 1);
    TGwButton* b = Make(Form, 1);
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(0, 100, 300, 50);
    TGwButton* other = Make(panel, 1);
    TGwButton* plain = Make(Form);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
    other->SetDown(true);
    Press(a);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    Press(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(other->Down()) << "another parent's group is not released";
    Press(b);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the last button stays down";
    EXPECT_EQ(Clicked.size(), 3u);
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp()) << "AllowAllUp spreads through the group";
    Press(b);
    EXPECT_FALSE(b->Down());
}

TEST_F(GwButtonTest, EnterClicksTheActiveButtonAndEscapeTheCancelOne) {
    TGwButton* ok = Make(Form);
    ok->ModalResult = mrOk;
    ok->SetDefault(true);
    TGwButton* cancel = Make(Form);
    cancel->ModalResult = mrCancel;
    cancel->Cancel = true;
    ok->HandleNeeded();
    EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0) << "not the active button";
    EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    cancel->SetFocus();
    EXPECT_TRUE(cancel->Active());
    EXPECT_FALSE(ok->Active());
}

TEST_F(GwButtonTest, AcceleratorClicks) {
    TGwButton* b = Make(Form);
    b->SetCaption("&Добавить");
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, WPARAM(std::uint8_t('\xE4')), 0), 1);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(GwButtonTest, SpaceKeyPressesAndReleaseClicks) {
    TGwButton* b = Make(Form);
    b->SetFocus();
    inputkit::KeyDown(b, inputkit::Key::Space);
    EXPECT_TRUE(b->PressedInside());
    inputkit::KeyUp(b, inputkit::Key::Space);
    EXPECT_FALSE(b->PressedInside());
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(GwButtonTest, HotTrackLookLeavesCornerNotchesForTheParent) {
    Form->SetColor(clRed);
    TGwButton* b = Make(Form);
    b->SetHotTrack(true);
    EXPECT_TRUE(b->Transparent());
    TPaper p(75, 25);
    p.Fill(clRed);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(0, 0)), TPaper::Hex(clRed));
    EXPECT_EQ(TPaper::Hex(p.At(1, 0)), TPaper::Hex(clRed));
    EXPECT_EQ(TPaper::Hex(p.At(0, 1)), TPaper::Hex(clRed));
    EXPECT_EQ(TPaper::Hex(p.At(1, 1)), TPaper::Hex(DarkerColor(clRed, 20)));
    EXPECT_EQ(TPaper::Hex(p.At(2, 0)), TPaper::Hex(DarkerColor(clRed, 20)));
    EXPECT_EQ(TPaper::Hex(p.At(2, 1)), TPaper::Hex(cl3DDkShadow));
    EXPECT_EQ(TPaper::Hex(p.At(74, 24)), TPaper::Hex(clRed));
}

TEST_F(GwButtonTest, ClassicLookAndTheDownPattern) {
    TGwButton* b = Make(Form, 1);
    b->SetShowFocusRect(false);
    TPaper p(75, 25);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(0, 10)), TPaper::Hex(clBtnHighlight));
    EXPECT_EQ(TPaper::Hex(p.At(74, 10)), TPaper::Hex(cl3DDkShadow));
    b->SetDown(true);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    std::set<std::string> seen;
    for (int x = 30; x < 38; ++x)
        seen.insert(TPaper::Hex(p.At(x, 3)));
    EXPECT_TRUE(seen.count(TPaper::Hex(clSilver)));
    b->SetColor(clSilver);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    seen.clear();
    for (int x = 30; x < 38; ++x)
        seen.insert(TPaper::Hex(p.At(x, 3)));
    EXPECT_TRUE(seen.count(TPaper::Hex(clGray)));
}

TEST_F(GwButtonTest, DisabledCaptionIsEmbossedWhateverTheStyle) {
    TGwButton* b = Make(Form);
    b->SetCaption("WWW");
    b->SetTextStyle(tsRaised);
    b->SetEnabled(false);
    TPaper p(75, 25);
    p.Fill(clBtnFace);
    b->Draw3DText(p.Canvas(), TRect(0, 0, 75, 25), DT_CENTER);
    std::set<std::string> seen;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x)
            seen.insert(TPaper::Hex(p.At(x, y)));
    EXPECT_TRUE(seen.count(TPaper::Hex(clBtnHighlight)));
    EXPECT_TRUE(seen.count(TPaper::Hex(clBtnShadow)));
    EXPECT_FALSE(seen.count(TPaper::Hex(clBlack)));
}

} // namespace
