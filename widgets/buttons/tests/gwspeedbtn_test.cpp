// The toolbar speed buttons: the hideable caption, the hot glyph, the menu button's arrow part and
// re-open guard, the accelerator, and the action link that can leave the caption alone.
#include <gtest/gtest.h>

#include <string>

#include "Gwbutton.h"
#include "actlist.h"
#include "forms.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "menus.h"
#include "sysinfo.h"

using namespace gwtests;

namespace {

class ToolbarButton : public ::testing::Test {
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
        b->SetBounds(10, 10, 60, 25);
        b->OnClick = [this](TObject*) { ++Clicks; };
        return b;
    }
    static void Press(TControl* c, int X, int Y = 5) { inputkit::Click(c, X, Y); }
    TForm* Form = nullptr;
    std::uint64_t Now = 5000;
    int Clicks = 0;
};

TEST_F(ToolbarButton, AHiddenCaptionComesBackAndSurvivesTheFormStream) {
    auto* b = Make<TGwToolbarButton>();
    b->SetCaption("Печать");
    b->SetShowCaption(false);
    EXPECT_EQ(b->Caption(), "");
    EXPECT_TRUE(b->StoresSaveCaption());
    auto* loaded = Make<TGwToolbarButton>();
    loaded->SetShowCaption(false);
    loaded->ReadSaveCaption(b->SaveCaption());
    loaded->SetShowCaption(true);
    EXPECT_EQ(loaded->Caption(), "Печать");
    b->SetCaption("Печать...");
    EXPECT_EQ(b->Caption(), "") << "set while hidden: kept for later";
    b->SetShowCaption(true);
    EXPECT_EQ(b->Caption(), "Печать...");
    EXPECT_FALSE(b->StoresSaveCaption());
}

TEST_F(ToolbarButton, TheHotGlyphStandsInWhileThePointerIsOver) {
    auto* b = Make<TGwToolbarButton>();
    TBitmap normal, hot;
    normal.SetSize(32, 16);
    hot.SetSize(48, 16);
    b->SetGlyph(&normal);
    b->SetHotGlyph(&hot);
    EXPECT_EQ(b->HotNumGlyphs(), 3);
    EXPECT_TRUE(b->UseHotGlyph);
    // The offscreen window system sends no enter or leave event for a move: they come as messages.
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->Glyph()->Width(), 48);
    EXPECT_EQ(b->NumGlyphs(), 3);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(b->Glyph()->Width(), 32);
    EXPECT_EQ(b->NumGlyphs(), 2);
}

struct TArrowCase {
    const char* Name;
    bool ShowArrow;
    int X;
    int Opened, Clicks;
};
void PrintTo(const TArrowCase& c, std::ostream* os) { *os << c.Name; }
class MenuToolbarButtonPress : public ToolbarButton, public ::testing::WithParamInterface<TArrowCase> {};

TEST_P(MenuToolbarButtonPress, OpensTheMenuFromTheArrowPart) {
    const TArrowCase& c = GetParam();
    auto* b = Make<TGwMenuToolbarButton>();
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    b->SetShowArrow(c.ShowArrow);
    Press(b, c.X);
    EXPECT_EQ(menu->Opened.size(), size_t(c.Opened));
    EXPECT_EQ(Clicks, c.Clicks);
}

INSTANTIATE_TEST_SUITE_P(Presses, MenuToolbarButtonPress,
                         ::testing::Values(TArrowCase{"LeftOfTheArrowClicks", true, 44, 0, 1},
                                           TArrowCase{"OnTheArrowOpens", true, 45, 1, 0},
                                           TArrowCase{"WithoutArrowAnyPressOpens", false, 5, 1, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ToolbarButton, ASecondPressWithinAHundredMillisecondsNeitherReopensNorClicks) {
    auto* b = Make<TGwMenuToolbarButton>();
    auto* menu = new TRecordingMenu(Form);
    b->SetDropDownMenu(menu);
    Press(b, 50);
    Now += 50;
    Press(b, 50);
    EXPECT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(Clicks, 0);
    Now += 100;
    Press(b, 50);
    EXPECT_EQ(menu->Opened.size(), 2u);
}

TEST_F(ToolbarButton, TheAcceleratorTogglesAGroupedButtonAndClicks) {
    auto* b = Make<TGwToolbarButton>();
    b->SetCaption("&Шрифт");
    b->SetGroupIndex(2);
    b->SetAllowAllUp(true);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, WPARAM(std::uint8_t('\xF8')), 0), 1);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x', 0), 0);
}

TEST_F(ToolbarButton, AnActionLeavesTheCaptionAloneWhenToldAndLendsItsImage) {
    TActionList list(Form);
    TImageList images(nullptr);
    images.SetWidth(8);
    images.SetHeight(8);
    TBitmap blue;
    blue.SetSize(8, 8);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(TRect(0, 0, 8, 8));
    images.Add(&blue, nullptr);
    list.SetImages(&images);
    TAction action(Form);
    action.SetActionList(&list);
    action.SetCaption("Из действия");
    action.SetImageIndex(0);
    auto* own = Make<TGwToolbarButton>();
    own->SetCaption("Своя");
    own->IgnoreActionCaption = true;
    own->SetAction(&action);
    EXPECT_EQ(own->Caption(), "Своя");
    action.SetCaption("Другая");
    EXPECT_EQ(own->Caption(), "Своя");
    auto* follower = Make<TGwToolbarButton>();
    follower->SetAction(&action);
    EXPECT_EQ(follower->Caption(), "Другая");
    ASSERT_EQ(follower->Glyph()->Width(), 8);
    EXPECT_EQ(TPaper::Hex(follower->Glyph()->Canvas()->GetPixel(4, 4)), TPaper::Hex(clBlue));
}

TEST_F(ToolbarButton, TheCheckedStateReachesOnlyAGroupedButtonThatMayBeReleased) {
    TAction action(Form);
    auto* loose = Make<TGwToolbarButton>();
    auto* grouped = Make<TGwToolbarButton>();
    grouped->SetGroupIndex(1);
    grouped->SetAllowAllUp(true);
    loose->SetAction(&action);
    grouped->SetAction(&action);
    action.SetChecked(true);
    EXPECT_TRUE(grouped->Down());
    EXPECT_FALSE(loose->Down());
    action.SetChecked(false);
    EXPECT_FALSE(grouped->Down());
}

} // namespace
