// The bitmap button's kinds and glyph frames, the menu button's drop-down (press, F4, the re-open
// guard), and the push button's styled look through a recording visual-styles table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gwbutton.h"
#include "Gwthemesrv.h"
#include "Gwtmschema.h"
#include "actlist.h"
#include "forms.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "menus.h"
#include "sysinfo.h"

using namespace gwtests;

namespace {

class BitBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
        SetTickSource([this] { return Now; });
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
        SetTickSource({});
    }
    template <class T> T* Make() {
        auto* b = new T(Form);
        b->SetParent(Form);
        b->SetBounds(10, 10, 110, 25);
        b->OnClick = [this](TObject*) { ++Clicks; };
        return b;
    }
    static void Press(TControl* c, int X = 5, int Y = 5) { inputkit::Click(c, X, Y); }
    TForm* Form = nullptr;
    std::uint64_t Now = 5000;
    int Clicks = 0;
};

struct TKindCase {
    const char* Name;
    TBitBtnKind Kind;
    std::string Caption;
    TModalResult Result;
    bool Default, Cancel;
};
void PrintTo(const TKindCase& c, std::ostream* os) { *os << c.Name; }
class BitBtnKind : public BitBtnTest, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(BitBtnKind, TakesItsCaptionResultKeysAndTwoFrameGlyph) {
    const TKindCase& c = GetParam();
    auto* b = Make<TGwBitBtn>();
    b->SetKind(c.Kind);
    EXPECT_EQ(b->Caption(), c.Caption);
    EXPECT_EQ(b->ModalResult, c.Result);
    EXPECT_EQ(b->Default(), c.Default);
    EXPECT_EQ(b->Cancel, c.Cancel);
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Glyph()->Width(), 32);
    EXPECT_EQ(b->Glyph()->Height(), 16);
    EXPECT_EQ(b->Kind(), c.Kind);
    EXPECT_FALSE(b->IsCaptionStored());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitBtnKind,
                         ::testing::Values(TKindCase{"OK", bkOK, "OK", mrOk, true, false},
                                           TKindCase{"Cancel", bkCancel, "Cancel", mrCancel, false, true},
                                           TKindCase{"Help", bkHelp, "&Help", mrNone, false, false},
                                           TKindCase{"Yes", bkYes, "&Yes", mrYes, true, false},
                                           TKindCase{"No", bkNo, "&No", mrNo, false, true},
                                           TKindCase{"Close", bkClose, "&Close", mrNone, false, false},
                                           TKindCase{"Abort", bkAbort, "Abort", mrAbort, false, false},
                                           TKindCase{"Retry", bkRetry, "&Retry", mrRetry, false, false},
                                           TKindCase{"Ignore", bkIgnore, "&Ignore", mrIgnore, false, false},
                                           TKindCase{"All", bkAll, "&All", mrAll, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitBtnTest, AKindThatNoLongerMatchesReadsAsCustom) {
    auto* b = Make<TGwBitBtn>();
    b->SetKind(bkOK);
    b->SetDefault(false);
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_TRUE(b->IsCaptionStored());
    auto* c = Make<TGwBitBtn>();
    c->SetKind(bkCancel);
    TBitmap own;
    own.SetSize(16, 16);
    c->SetGlyph(&own);
    EXPECT_EQ(c->Kind(), bkCustom) << "a glyph of the user's own";
}

struct TGlyphCase {
    const char* Name;
    int W, H;
    int NumGlyphs;
};
void PrintTo(const TGlyphCase& c, std::ostream* os) { *os << c.Name; }
class BitBtnGlyph : public BitBtnTest, public ::testing::WithParamInterface<TGlyphCase> {};

TEST_P(BitBtnGlyph, FrameCountFollowsTheBitmapShape) {
    const TGlyphCase& c = GetParam();
    auto* b = Make<TGwBitBtn>();
    b->SetNumGlyphs(3);
    TBitmap g;
    g.SetSize(c.W, c.H);
    b->SetGlyph(&g);
    EXPECT_EQ(b->NumGlyphs(), c.NumGlyphs);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BitBtnGlyph,
                         ::testing::Values(TGlyphCase{"FourFrames", 64, 16, 4},
                                           TGlyphCase{"FiveFramesIsOne", 80, 16, 1},
                                           TGlyphCase{"NotAMultipleKeepsTheCount", 70, 16, 3},
                                           TGlyphCase{"OneFrame", 16, 16, 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BitBtnTest, MarginBelowMinusOneIsIgnored) {
    auto* b = Make<TGwBitBtn>();
    b->SetMargin(-1);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
}

TEST_F(BitBtnTest, GlyphSitsLeftOfTheCaptionAndGreysWhenDisabled) {
    auto* b = Make<TGwBitBtn>();
    b->SetKind(bkCancel);
    b->SetShowFocusRect(false);
    const TRect g = b->GetGlyphRect();
    EXPECT_EQ(g.Left, 7) << "caption rectangle (5) + margin 2";
    EXPECT_EQ(g.Width(), 16);
    EXPECT_GE(b->GetCaptionRect().Left, g.Right + 4);
    TPaper p(110, 25);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    // The cross's top-left stroke begins at (3, 2) of the picture.
    EXPECT_EQ(TPaper::Hex(p.At(g.Left + 3, g.Top + 2)), TPaper::Hex(TColor(0x0000C0))) << "red";
    EXPECT_EQ(TPaper::Hex(p.At(g.Left + 0, g.Top + 0)), TPaper::Hex(clBtnFace)) << "transparent corner";
    b->SetEnabled(false);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(g.Left + 3, g.Top + 2)), TPaper::Hex(clGray));
}

TEST_F(BitBtnTest, AnActionLendsItsImageUnlessTheButtonHasOne) {
    TAction action(Form);
    action.SetImageIndex(3);
    auto* plain = Make<TGwBitBtn>();
    plain->SetAction(&action);
    EXPECT_EQ(plain->ImageIndex(), 3);
    auto* own = Make<TGwBitBtn>();
    own->SetImageIndex(1);
    own->SetAction(&action);
    EXPECT_EQ(own->ImageIndex(), 1) << "kept when the action is assigned";
    action.SetImageIndex(5);
    EXPECT_EQ(own->ImageIndex(), 5) << "a later change of the action reaches it";
}

TEST_F(BitBtnTest, MenuButtonOpensOnPressButNotAgainWithinAHundredMilliseconds) {
    auto* b = Make<TGwMenuButton>();
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    int drops = 0;
    b->OnDropDown = [&](TObject*) { ++drops; };
    Press(b);
    ASSERT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(menu->PopupComponent(), b);
    EXPECT_EQ(menu->Opened[0], b->ClientToScreen(TPoint(0, 25)));
    Now += 99;
    Press(b);
    EXPECT_EQ(menu->Opened.size(), 1u) << "the press that closed the menu";
    Now += 500;
    Press(b);
    EXPECT_EQ(menu->Opened.size(), 2u);
    EXPECT_EQ(drops, 2);
    EXPECT_EQ(Clicks, 0) << "every click of a drop is swallowed";
}

TEST_F(BitBtnTest, MenuButtonOpensOnF4AndSwallowsTheNextClick) {
    auto* b = Make<TGwMenuButton>();
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    b->SetFocus();
    inputkit::Press(b, inputkit::Key::F(4));
    EXPECT_EQ(menu->Opened.size(), 1u);
    inputkit::Press(b, inputkit::Key::Space);
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(BitBtnTest, EnterClicksAMenuButtonThatDoesNotDropOnEnter) {
    auto* b = Make<TGwMenuButton>();
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    b->SetDefault(true);
    b->HandleNeeded();
    b->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 0);
    b->DropDownOnEnter = false;
    b->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(BitBtnTest, AMenuTooWideForTheWorkAreaOpensLeftOfTheRightEdge) {
    SetMonitorLayout({{TRect(0, 0, 300, 300), TRect(0, 0, 300, 300)}});
    auto* b = Make<TGwMenuButton>();
    b->SetLeft(250);
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    const TPoint at = DropDownMenuPoint(b, menu);
    SetMonitorLayout({});
    EXPECT_EQ(at.x, b->ClientToScreen(TPoint(0, 0)).x - (GetMenuWidth(b, menu) - b->Width()));
    EXPECT_EQ(GetMenuWidth(b, menu), 56) << "a menu without items";
}

// ---------------------------------------------------------------- the styled look

class ThemedButton : public BitBtnTest {
protected:
    void SetUp() override {
        BitBtnTest::SetUp();
        RecordThemes();
    }
    void TearDown() override {
        StopRecordingThemes();
        BitBtnTest::TearDown();
    }
};

struct TLookCase {
    const char* Name;
    bool Enabled, Pressed, Hot, Default;
    TThemedButton Element;
};
void PrintTo(const TLookCase& c, std::ostream* os) { *os << c.Name; }
class ThemedButtonLook : public ThemedButton, public ::testing::WithParamInterface<TLookCase> {};

TEST_P(ThemedButtonLook, DrawsThePushButtonElementOfItsState) {
    const TLookCase& c = GetParam();
    auto* b = Make<TGwButton>();
    b->HandleNeeded();
    b->SetDefault(c.Default);
    b->SetEnabled(c.Enabled);
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    if (c.Hot)
        b->Perform(CM_MOUSEENTER);
    if (c.Pressed)
        inputkit::MouseDown(b, 5, 5);
    gDrawn.clear();
    TPaper p(110, 25);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    if (c.Pressed)
        inputkit::MouseUp(b, 5, 5);
    ASSERT_FALSE(gDrawn.empty());
    const TThemedElementDetails want = TThemeServices::GetElementDetails(c.Element);
    EXPECT_EQ(gDrawn[0].Part, BP_PUSHBUTTON);
    EXPECT_EQ(gDrawn[0].State, want.State);
}

INSTANTIATE_TEST_SUITE_P(
    States, ThemedButtonLook,
    ::testing::Values(TLookCase{"Normal", true, false, false, false, tbPushButtonNormal},
                      TLookCase{"Hot", true, false, true, false, tbPushButtonHot},
                      TLookCase{"Pressed", true, true, true, false, tbPushButtonPressed},
                      TLookCase{"Defaulted", true, false, false, true, tbPushButtonDefaulted},
                      TLookCase{"HotBeatsDefaulted", true, false, true, true, tbPushButtonHot},
                      TLookCase{"Disabled", false, false, true, true, tbPushButtonDisabled}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ThemedButton, ThemeAwareOffKeepsTheClassicLook) {
    auto* b = Make<TGwButton>();
    b->SetThemeAware(false);
    TPaper p(110, 25);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_TRUE(gDrawn.empty());
    EXPECT_EQ(TPaper::Hex(p.At(0, 10)), TPaper::Hex(clBtnHighlight));
}

} // namespace
