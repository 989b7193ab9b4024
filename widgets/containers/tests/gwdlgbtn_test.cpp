// The dialog-button bar: its row and column layouts, clicks with their actions, glyphs, divider.
#include <gtest/gtest.h>

#include <string>

#include "Gwdlgbtn.h"
#include "actlist.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"

namespace {

class DialogButtons : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->Show();
        Bar = new TGwDialogButtons(Form);
        Bar->SetParent(Form);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TGwDialogButtons* Bar = nullptr;
};

TEST_F(DialogButtons, StartsAsOkAndCancelDockedAtTheBottom) {
    EXPECT_EQ(Bar->Align(), alBottom);
    EXPECT_EQ(Bar->Height(), 36);
    EXPECT_EQ(Bar->ButtonCaption(1), "OK");
    EXPECT_EQ(Bar->ButtonModalResult(1), mrOk);
    EXPECT_EQ(Bar->ButtonModalResult(2), mrCancel);
    EXPECT_EQ(Bar->ButtonModalResult(3), mrNone);
    EXPECT_TRUE(Bar->OKDefault());
    EXPECT_TRUE(Bar->CancelCancel());
    EXPECT_FALSE(Bar->ShowButton(3));
}

// Which buttons show, on which side, and where they land: lefts in a row are counted from the
// bar's right edge (W), tops in a column from the top.
struct TLayoutCase {
    const char* Name;
    TAlign Align;
    bool Show[3];
    int BarWidth;
    TRect Want[3]; // Left, Top, Right, Bottom; lefts of a row relative to W
};
void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.Name; }
class DialogButtonsLayout : public DialogButtons, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(DialogButtonsLayout, PlacesTheVisibleButtons) {
    const TLayoutCase& c = GetParam();
    Bar->SetAlign(c.Align);
    for (int i = 0; i < 3; ++i)
        Bar->SetShowButton(i + 1, c.Show[i]);
    if (c.BarWidth)
        Form->SetClientWidth(c.BarWidth);
    const bool row = c.Align == alBottom || c.Align == alTop;
    const int w = row ? Bar->Width() : 0;
    for (int i = 0; i < 3; ++i) {
        TRect want = c.Want[i];
        if (row && c.Show[i])
            OffsetRect(want, w, 0);
        EXPECT_EQ(Bar->Button(i + 1)->BoundsRect(), want) << "button " << i + 1;
    }
    if (!row) {
        EXPECT_EQ(Bar->Width(), 87);
    } else if (c.BarWidth) {
        EXPECT_EQ(Bar->Width(), c.BarWidth);
        EXPECT_LT(Bar->Button(1)->Left(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DialogButtonsLayout,
    ::testing::Values(TLayoutCase{"RowOfOkAndCancel",
                                  alBottom,
                                  {true, true, false},
                                  0,
                                  {TRect(-166, 6, -91, 31), TRect(-83, 6, -8, 31), TRect(0, 0, 0, 0)}},
                      TLayoutCase{
                          "RowOfOkAlone", alBottom, {true, false, false}, 0, {TRect(-83, 6, -8, 31), {}, {}}},
                      TLayoutCase{"RowOfAllThree",
                                  alTop,
                                  {true, true, true},
                                  0,
                                  {TRect(-249, 6, -174, 31), TRect(-166, 6, -91, 31), TRect(-83, 6, -8, 31)}},
                      TLayoutCase{"NarrowRowGoesNegative",
                                  alBottom,
                                  {true, true, false},
                                  100,
                                  {TRect(-166, 6, -91, 31), TRect(-83, 6, -8, 31), {}}},
                      TLayoutCase{"ColumnOfAllThree",
                                  alRight,
                                  {true, true, true},
                                  0,
                                  {TRect(6, 8, 81, 33), TRect(6, 41, 81, 66), TRect(6, 74, 81, 99)}},
                      TLayoutCase{"ColumnWithoutCancelMovesHelpUp",
                                  alLeft,
                                  {true, false, true},
                                  0,
                                  {TRect(6, 8, 81, 33), {}, TRect(6, 41, 81, 66)}},
                      TLayoutCase{"ColumnWithoutOk",
                                  alLeft,
                                  {false, true, true},
                                  0,
                                  {{}, TRect(6, 8, 81, 33), TRect(6, 41, 81, 66)}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DialogButtons, AClickRunsTheActionThenTellsTheBarAndSetsTheResult) {
    std::string order;
    TAction action(Form);
    action.OnExecute = [&](TObject*) { order += "action "; };
    Bar->SetAction(1, &action);
    Bar->OnClickOk = [&](TObject* Sender) { order += Sender == Bar ? "bar" : "?"; };
    inputkit::Click(Bar->Button(1), 5, 5);
    EXPECT_EQ(order, "action bar");
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(DialogButtons, GlyphsComeAndGoWithShowGlyphs) {
    Bar->SetShowGlyphs(true);
    EXPECT_EQ(Bar->Button(2)->Glyph()->Width(), 32);
    Bar->SetShowGlyphs(false);
    EXPECT_TRUE(Bar->Button(2)->Glyph()->Empty());
    Bar->SetShowGlyphs(true);
    EXPECT_FALSE(Bar->Button(3)->Glyph()->Empty());
}

TEST_F(DialogButtons, TheDividerIsAGrooveOnTheSideFacingTheDialog) {
    Bar->SetShowButton(1, false);
    Bar->SetShowButton(2, false);
    TPaper plain(Bar->Width(), Bar->Height());
    Bar->Perform(WM_PAINT, WPARAM(plain.Canvas()));
    Bar->SetShowDivider(true);
    TPaper p(Bar->Width(), Bar->Height());
    Bar->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(50, 0)), TPaper::Hex(clBtnShadow));
    EXPECT_EQ(TPaper::Hex(p.At(50, 1)), TPaper::Hex(clBtnHighlight));
    EXPECT_EQ(TPaper::Hex(p.At(50, 35)), TPaper::Hex(plain.At(50, 35)));
}

} // namespace
