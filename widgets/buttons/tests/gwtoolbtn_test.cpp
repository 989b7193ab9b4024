// The tool button: drop-down and split presses with the re-open guard, radio groups, the toolbar's
// settings, the image of each state, the styled elements, and the action link.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gwbutton.h"
#include "Gwthemesrv.h"
#include "Gwtmschema.h"
#include "actlist.h"
#include "extctrls.h"
#include "forms.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "menus.h"
#include "sysinfo.h"

using namespace gwtests;

namespace {

// A toolbar as far as its buttons see it.
class TFakeToolbar : public TPanel, public IGwToolbarSettings {
public:
    using TPanel::TPanel;
    int ButtonWidth() const override { return Width_; }
    int ButtonHeight() const override { return Height_; }
    TButtonLayout ButtonLayout() const override { return Layout_; }
    bool ShowButtonCaptions() const override { return Captions_; }
    TGwVisualStyle VisualStyle() const override { return Style_; }
    TGwGradientColorStyle GradientColorStyle() const override { return gcsSystem; }
    TCustomImageList* Images() const override { return Images_; }
    int Width_ = 30, Height_ = 28;
    TButtonLayout Layout_ = blGlyphTop;
    bool Captions_ = false;
    TGwVisualStyle Style_ = vsClassic;
    TCustomImageList* Images_ = nullptr;
};

class ToolButton : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
        SetTickSource([this] { return Now; });
        Menu = new TRecordingMenu(Form);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
        SetTickSource({});
    }
    TGwToolButton* Make(TWinControl* Parent = nullptr) {
        auto* b = new TGwToolButton(Form);
        b->SetParent(Parent ? Parent : Form);
        b->SetBounds(10, 10, 40, 25);
        return b;
    }
    static void Press(TControl* c, int X, int Y = 5) { inputkit::Click(c, X, Y); }
    TForm* Form = nullptr;
    TRecordingMenu* Menu = nullptr;
    std::uint64_t Now = 5000;
    int Clicks = 0;
};

TEST_F(ToolButton, APressWithinAHundredMillisecondsOfTheDropDoesNotReopen) {
    TGwToolButton* b = Make();
    b->SetToolStyle(tsDropDown);
    b->SetDropDownMenu(Menu);
    Press(b, 5);
    EXPECT_EQ(Menu->Opened.size(), 1u) << "without a click handler the whole button drops";
    Now += 99;
    Press(b, 5);
    EXPECT_EQ(Menu->Opened.size(), 1u);
    Now += 200;
    Press(b, 5);
    EXPECT_EQ(Menu->Opened.size(), 2u);
    EXPECT_EQ(b->State(), bsUp);
}

TEST_F(ToolButton, ASplitButtonDropsOnlyFromItsArrowStrip) {
    TGwToolButton* b = Make();
    b->OnClick = [this](TObject*) { ++Clicks; };
    b->SetToolStyle(tsDropDown);
    EXPECT_EQ(b->Width(), 54) << "the strip widens the button";
    EXPECT_TRUE(b->IsSplitButton());
    b->SetDropDownMenu(Menu);
    Press(b, 10);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Menu->Opened.size(), 0u);
    Press(b, 54 - 14);
    EXPECT_EQ(Menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 1);
    Now += 1000;
    Press(b, 10);
    EXPECT_EQ(Clicks, 1) << "the first press after a drop only re-arms the click";
    Press(b, 10);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ToolButton, StyleChangesResizeAtRunTimeButNotWhileLoading) {
    TGwToolButton* b = Make();
    b->SetGroupIndex(3);
    b->SetToolStyle(tsDropDown);
    EXPECT_EQ(b->GroupIndex(), 0);
    b->SetGroupIndex(3);
    EXPECT_EQ(b->GroupIndex(), 0) << "a drop-down button is never grouped";
    b->SetToolStyle(tsButton);
    EXPECT_EQ(b->Width(), 40);
    b->SetComponentState(csLoading, true);
    b->SetToolStyle(tsDropDown);
    EXPECT_EQ(b->Width(), 40);
}

TEST_F(ToolButton, GroupedButtonsLatchOneAtATime) {
    TGwToolButton* a = Make();
    TGwToolButton* b = Make();
    TGwToolButton* plain = Make();
    b->SetLeft(60); // side by side, as on a bar: a click lands on one button
    plain->SetLeft(110);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->OnClick = [this](TObject*) { ++Clicks; };
    Press(a, 5);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    Press(b, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
    Press(a, 5);
    Press(a, 5);
    EXPECT_EQ(Clicks, 2) << "the second press changed nothing and does not click";
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    Press(a, 5);
    EXPECT_FALSE(a->Down());
}

TEST_F(ToolButton, FollowsTheToolbarUntilToldOtherwise) {
    auto* bar = new TFakeToolbar(Form);
    bar->SetParent(Form);
    bar->SetBounds(0, 0, 400, 40);
    TImageList images(nullptr);
    images.SetWidth(20);
    images.SetHeight(20);
    bar->Images_ = &images;
    bar->Layout_ = blGlyphLeft;
    TGwToolButton* b = Make(bar);
    EXPECT_FALSE(b->UseToolbarButtonSize()) << "sized by hand";
    b->SetUseToolbarButtonSize(true);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(b->Height(), 28);
    EXPECT_EQ(b->ImageList(), &images) << "the toolbar's images serve a button without its own";
    b->SetImageIndex(0);
    b->SetCaption("A rather long caption");
    bar->Captions_ = true;
    b->Perform(CM_TOOLBARSHOWCAPTIONCHANGED);
    b->Perform(CM_TOOLBARBUTTONSIZECHANGED);
    b->Canvas()->SetFont(b->Font());
    EXPECT_EQ(b->Width(), 20 + b->Canvas()->TextWidth("A rather long caption") + 12);
    EXPECT_TRUE(b->UseToolbarButtonSize());
    b->SetLayout(blGlyphBottom);
    EXPECT_FALSE(b->UseToolbarButtonLayout());
    b->Perform(CM_TOOLBARBUTTONLAYOUTCHANGED);
    EXPECT_EQ(b->Layout(), blGlyphBottom) << "a layout of its own is kept";
    b->SetUseToolbarButtonLayout(true);
    EXPECT_EQ(b->Layout(), blGlyphLeft);
    b->SetWidth(99);
    EXPECT_FALSE(b->UseToolbarButtonSize());
}

// Each image of the list is one solid colour, so the pixel in the image's middle names it.
struct TImageCase {
    const char* Name;
    bool Enabled, Hot, Pressed;
    int DisabledIndex;
    TColor Want;
};
void PrintTo(const TImageCase& c, std::ostream* os) { *os << c.Name; }
class ToolButtonImage : public ToolButton, public ::testing::WithParamInterface<TImageCase> {};

TEST_P(ToolButtonImage, ShowsTheImageOfItsState) {
    const TImageCase& c = GetParam();
    TImageList images(nullptr);
    images.SetWidth(10);
    images.SetHeight(10);
    for (TColor color : {clRed, clLime, clBlue, clYellow}) {
        TBitmap b;
        b.SetSize(10, 10);
        b.Canvas()->Brush()->SetColor(color);
        b.Canvas()->FillRect(TRect(0, 0, 10, 10));
        images.Add(&b, nullptr);
    }
    TGwToolButton* b = Make();
    b->SetImages(&images);
    b->SetImageIndex(0);
    b->SetHotIndex(1);
    b->SetDownIndex(2);
    b->SetDisabledIndex(c.DisabledIndex);
    b->SetEnabled(c.Enabled);
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    if (c.Hot)
        b->Perform(CM_MOUSEENTER);
    if (c.Pressed)
        inputkit::MouseDown(b, 5, 5);
    TPaper p(40, 25);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    if (c.Pressed)
        inputkit::MouseUp(b, 5, 5);
    TRect image, caption;
    b->GetImageAndCaptionRects(image, caption);
    EXPECT_EQ(TPaper::Hex(p.At(image.Left + 5, image.Top + 5)), TPaper::Hex(c.Want));
}

INSTANTIATE_TEST_SUITE_P(States, ToolButtonImage,
                         ::testing::Values(TImageCase{"Normal", true, false, false, -1, clRed},
                                           TImageCase{"Hot", true, true, false, -1, clLime},
                                           TImageCase{"Pressed", true, true, true, -1, clBlue},
                                           TImageCase{"DisabledWithItsOwnImage", false, true, false, 3,
                                                      clYellow}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ToolButton, AnActionDrivesDownAndTheImage) {
    TGwToolButton* b = Make();
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    TAction action(Form);
    action.SetImageIndex(4);
    action.SetChecked(true);
    b->SetAction(&action);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(b->ImageIndex(), 4);
    action.SetChecked(false);
    EXPECT_FALSE(b->Down());
    b->SetDown(true);
    TAction copy(Form);
    b->AssignTo(&copy);
    EXPECT_TRUE(copy.Checked());
    EXPECT_EQ(copy.ImageIndex(), 4);
}

// ---------------------------------------------------------------- the styled look

class ThemedToolButton : public ToolButton {
protected:
    void SetUp() override {
        ToolButton::SetUp();
        RecordThemes();
    }
    void TearDown() override {
        StopRecordingThemes();
        ToolButton::TearDown();
    }
    std::vector<TThemeCall> Paint(TGwToolButton* b) {
        gDrawn.clear();
        TPaper p(b->Width(), b->Height());
        b->Perform(WM_PAINT, WPARAM(p.Canvas()));
        return gDrawn;
    }
    static bool Is(const TThemeCall& Call, TThemedToolBar Element) {
        const TThemedElementDetails d = TThemeServices::GetElementDetails(Element);
        return Call.Part == d.Part && Call.State == d.State;
    }
};

TEST_F(ThemedToolButton, AFlatButtonDrawsToolbarElementsByState) {
    TGwToolButton* b = Make();
    b->SetVisualStyle(vsWinXP);
    auto calls = Paint(b);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(Is(calls[0], ttbButtonNormal));
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    b->Perform(CM_MOUSEENTER);
    calls = Paint(b);
    EXPECT_TRUE(Is(calls[0], ttbButtonHot));
    b->SetGroupIndex(1);
    b->SetDown(true);
    calls = Paint(b);
    EXPECT_TRUE(Is(calls[0], ttbButtonCheckedHot));
}

TEST_F(ThemedToolButton, ASplitButtonDrawsItsBodyAndItsArrowStrip) {
    TGwToolButton* b = Make();
    b->SetVisualStyle(vsWinXP);
    b->OnClick = [](TObject*) {};
    b->SetToolStyle(tsDropDown);
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    b->Perform(CM_MOUSEENTER);
    const auto calls = Paint(b);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(Is(calls[0], ttbSplitButtonHot));
    EXPECT_TRUE(Is(calls[1], ttbSplitButtonDropDownHot));
}

} // namespace
