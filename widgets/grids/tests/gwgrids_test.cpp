// The Gw string grid: grid-line colours and the custom frame in pixels, colours that follow focus
// and the enabled state, the frame controller, block rectangles, and keys and the in-place editor
// through the message path.
#include <gtest/gtest.h>

#include "Gwgrids.h"
#include "forms.h"
#include "gw_styles.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "stdctrls.h"
#include "winapi.h"

namespace {

// Keys with a shift state of the test's choosing (the keyboard's own state is Qt's).
class TProbeGrid : public TGwStringGrid {
public:
    using TGwStringGrid::KeyDown;
    using TGwStringGrid::TGwStringGrid;
};

// A grid of 60 x 18 cells with one fixed row and column on a shown form.
struct TGridFixture {
    TForm Form{(TApplication::QtApp(), nullptr)};
    TEdit* Other = new TEdit(&Form); // holds the focus first
    TProbeGrid* Grid = new TProbeGrid(&Form);
    TGridFixture() {
        Form.SetBounds(0, 0, 400, 300);
        Other->SetParent(&Form);
        Other->SetBounds(0, 250, 50, 20);
        Grid->SetParent(&Form);
        Grid->SetScrollBars(ssNone);
        Grid->SetColCount(5);
        Grid->SetRowCount(8);
        Form.Show();
    }
    // The whole window, frame included, as it looks.
    void Snapshot(TPaper& Paper) { Grid->PaintTo(Paper.Canvas(), 0, 0); }
    void Key(WORD Vk) {
        inputkit::TMods mods = inputkit::None;
        const int key = inputkit::KeyOfVirtualKey(Vk, mods);
        inputkit::Press(Grid, key, mods);
    }
};

TEST(GwStringGrid, PublishedDefaults) {
    TGridFixture f;
    EXPECT_EQ(f.Grid->DefaultRowHeight(), 18);
    EXPECT_EQ(f.Grid->DefaultColWidth(), 60);
    EXPECT_EQ(f.Grid->Width(), 325);
    EXPECT_EQ(f.Grid->Height(), 125);
    EXPECT_EQ(f.Grid->LineColor(), clBtnFace);
    EXPECT_EQ(f.Grid->FixedLineColor(), clBtnShadow);
    EXPECT_EQ(f.Grid->FrameStyle(), fsFlat);
    EXPECT_EQ(f.Grid->FrameHotStyle(), fsFlatBold);
    EXPECT_FALSE(f.Grid->FrameVisible());
}

struct TLineCase {
    const char* Name;
    TColor GridColor, LineColor, FixedLineColor;
    TColor Cells, Fixed; // the lines as drawn
};
void PrintTo(const TLineCase& c, std::ostream* os) { *os << c.Name; }

class GridLines : public ::testing::TestWithParam<TLineCase> {};

TEST_P(GridLines, InTheirOwnColours) {
    const TLineCase& c = GetParam();
    TGridFixture f;
    f.Grid->SetBorderStyle(bsNone);
    f.Grid->SetColor(c.GridColor);
    f.Grid->SetLineColor(c.LineColor);
    f.Grid->SetFixedLineColor(c.FixedLineColor);
    TPaper p(f.Grid->Width(), f.Grid->Height());
    f.Snapshot(p);
    // Column 1 ends at 60 + 1 + 60; row 1 ends at 18 + 1 + 18.
    EXPECT_EQ(TPaper::Hex(p.At(121, 25)), TPaper::Hex(c.Cells)) << "vertical line between normal cells";
    EXPECT_EQ(TPaper::Hex(p.At(90, 37)), TPaper::Hex(c.Cells)) << "horizontal line between normal cells";
    EXPECT_EQ(TPaper::Hex(p.At(60, 5)), TPaper::Hex(c.Fixed)) << "line between fixed cells";
    EXPECT_EQ(TPaper::Hex(p.At(90, 25)), TPaper::Hex(c.GridColor)) << "a normal cell";
}

INSTANTIATE_TEST_SUITE_P(Colours, GridLines,
                         ::testing::Values(TLineCase{"OwnColours", clWindow, clRed, clBlue, clRed, clBlue},
                                           TLineCase{"LineInTheCellColourDarkens", clWindow, clWindow,
                                                     clBtnShadow, DarkerColor(clWindow, 50), clBtnShadow},
                                           TLineCase{"SystemAndPlainColourAlike", clWhite, clWindow, clBlack,
                                                     DarkerColor(clWindow, 50), clBlack}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TFrameCase {
    const char* Name;
    TBorderStyle Border;
    bool Visible, HotTrack, MouseOver;
    TFrameStyle Style;
    // Row 40 of the window from its left edge: pixels 0, 1 and 2.
    const char* Left;
};
void PrintTo(const TFrameCase& c, std::ostream* os) { *os << c.Name; }

class GridFrame : public ::testing::TestWithParam<TFrameCase> {};

TEST_P(GridFrame, PaintsTheStyleOverTheBevel) {
    const TFrameCase& c = GetParam();
    TGridFixture f;
    f.Grid->SetFixedColor(clYellow);
    f.Grid->SetColor(clWhite);
    f.Grid->SetBorderStyle(c.Border);
    f.Grid->SetFrameColor(clRed);
    f.Grid->SetFrameHotColor(clBlue);
    f.Grid->SetFrameStyle(c.Style);
    f.Grid->SetFrameVisible(c.Visible);
    f.Grid->SetFrameHotTrack(c.HotTrack);
    f.Grid->SetFramingPreference(fpCustomFraming);
    // The offscreen window system sends no enter event for a move: the entry comes as its message.
    if (c.MouseOver)
        f.Grid->Perform(CM_MOUSEENTER, 0, 0);
    TPaper p(f.Grid->Width(), f.Grid->Height());
    f.Snapshot(p);
    EXPECT_EQ(p.Row(40, 0, 2), c.Left);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, GridFrame,
    ::testing::Values(
        // Pixels read blue-green-red. The bevel's left side takes the fixed colour (yellow); the
        // flat side (red) covers its outer pixel. Without a border the fixed cell's edge shows.
        TFrameCase{"Flat", bsSingle, true, false, false, fsFlat, "0000FF 00FFFF FFFFFF"},
        TFrameCase{"FlatBold", bsSingle, true, false, false, fsFlatBold, "0000FF 0000FF FFFFFF"},
        TFrameCase{"Lowered", bsSingle, true, false, false, fsLowered, "808080 404040 FFFFFF"},
        TFrameCase{"HotUnderTheMouse", bsSingle, true, true, true, fsFlat, "FF0000 FF0000 FFFFFF"},
        TFrameCase{"HotTrackedButAway", bsSingle, true, true, false, fsFlat, "0000FF 00FFFF FFFFFF"},
        TFrameCase{"NoBorderNoFrame", bsNone, true, false, false, fsFlat, "FFFFFF 00FFFF 00FFFF"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwStringGrid, ColoursFollowFocusAndTheEnabledState) {
    TGridFixture f;
    f.Grid->SetColor(clAqua);
    EXPECT_EQ(f.Grid->FocusColor(), clAqua) << "the focus colour was the normal colour, so it follows";
    f.Grid->SetFocusColor(clYellow);
    f.Grid->SetDisabledColor(clGray);
    f.Grid->SetEnabled(false);
    EXPECT_EQ(f.Grid->Color(), clGray);
    f.Grid->SetEnabled(true);
    EXPECT_EQ(f.Grid->Color(), clAqua);
    f.Grid->SetFocus();
    ASSERT_TRUE(f.Grid->Focused());
    EXPECT_EQ(f.Grid->Color(), clYellow);
    EXPECT_TRUE(f.Grid->IsActiveControl());
    f.Other->SetFocus();
    EXPECT_EQ(f.Grid->Color(), clAqua) << "leaving restores the normal colour";
    EXPECT_EQ(f.Grid->FocusColor(), clYellow);
}

TEST(GwStringGrid, FrameControllerGovernsOnlyItsBitsAndSkipsWhatAGridLacks) {
    TGridFixture f;
    TGwFrameController fc(nullptr);
    fc.SetFrameColor(clLime);
    fc.SetFrameStyle(fsLowered);
    fc.SetReadOnlyColor(clRed);
    f.Grid->Notifications() >> fcpFrameStyle;
    f.Grid->SetFrameController(&fc);
    EXPECT_EQ(f.Grid->FrameColor(), clLime);
    EXPECT_EQ(f.Grid->FrameStyle(), fsFlat) << "its bit is off";
    EXPECT_FALSE(f.Grid->IsStored(fcpFrameColor));
    EXPECT_TRUE(f.Grid->IsStored(fcpFrameStyle));
    fc.SetFrameHotTrack(true);
    EXPECT_TRUE(f.Grid->FrameVisible());
    EXPECT_FALSE(f.Grid->SetFramingProperty(fcpReadOnlyColor, clRed));
    f.Grid->SetFrameController(nullptr);
    EXPECT_EQ(fc.ControlCount(), 0);
}

TEST(GwStringGrid, ControllerFreedFirstLeavesNoLink) {
    TGridFixture f;
    {
        TGwFrameController fc(&f.Form);
        f.Grid->SetFrameController(&fc);
    }
    EXPECT_EQ(f.Grid->FrameController(), nullptr);
}

struct TBlockCase {
    const char* Name;
    TGridRect Block;
    int TopRow;
    bool IncludeLine;
    TRect Expected;
};
void PrintTo(const TBlockCase& c, std::ostream* os) { *os << c.Name; }

class BlockRect : public ::testing::TestWithParam<TBlockCase> {};

TEST_P(BlockRect, ClipsToTheCellsInView) {
    const TBlockCase& c = GetParam();
    TGridFixture f;
    f.Grid->SetBorderStyle(bsNone);
    f.Grid->SetRowCount(20);
    f.Grid->SetBounds(0, 0, 200, 100);
    f.Grid->SetTopRow(c.TopRow);
    TRect r(1, 2, 3, 4);
    f.Grid->GridRectToScreenRect(c.Block, r, c.IncludeLine);
    EXPECT_EQ(r, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BlockRect,
    ::testing::Values(TBlockCase{"OneCell", TRect(1, 1, 1, 1), 1, false, TRect(61, 19, 121, 37)},
                      TBlockCase{"WithTheGridLine", TRect(1, 1, 1, 1), 1, true, TRect(61, 19, 122, 38)},
                      TBlockCase{"FixedAndNormal", TRect(0, 0, 1, 2), 1, false, TRect(0, 0, 121, 56)},
                      TBlockCase{"Inverted", TRect(2, 1, 1, 1), 1, false, TRect()},
                      TBlockCase{"ScrolledAway", TRect(1, 1, 1, 2), 5, false, TRect()},
                      TBlockCase{"StartsAboveTheView", TRect(1, 2, 1, 6), 5, false, TRect(61, 19, 121, 56)},
                      TBlockCase{"ClippedAtTheEdges", TRect(1, 1, 4, 19), 1, false, TRect(61, 19, 200, 100)},
                      TBlockCase{"BeyondTheLastInView", TRect(1, 12, 1, 19), 1, false, TRect()}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwStringGrid, KeysMoveAndSelectAndTheEditorTakesTheGridsColour) {
    TGridFixture f;
    f.Grid->SetOptions(f.Grid->Options() + TGridOptions{goEditing});
    f.Grid->SetColor(clAqua);
    f.Grid->SetFocus();
    f.Key(VK_DOWN);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.Grid->Col(), 2);
    EXPECT_EQ(f.Grid->Row(), 2);
    WORD down = VK_DOWN;
    f.Grid->KeyDown(down, TShiftState{ssShift});
    EXPECT_EQ(f.Grid->Selection(), TRect(2, 2, 2, 3));
    f.Key(VK_F2);
    ASSERT_TRUE(f.Grid->EditorMode());
    TInplaceEdit* e = f.Grid->InplaceEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Color(), f.Grid->Color());
    f.Grid->SetColor(clLime);
    EXPECT_EQ(e->Color(), clLime) << "the editor follows the grid's colour";
    e->SetText("x");
    inputkit::Press(e, inputkit::Key::Return);
    EXPECT_EQ(f.Grid->Cells(2, 3), "x");
    EXPECT_FALSE(f.Grid->EditorMode());
    f.Key(VK_F2);
    f.Other->SetFocus();
    EXPECT_EQ(f.Grid->Color(), clLime) << "the normal colour once the focus went on";
}

TEST(GwStringGrid, UnderStylesTheFrameIsTheThemesEditBorderUnlessCustomFramingIsPreferred) {
    TGridFixture f;
    gwstyles::TRecordingStyles styles;
    f.Grid->SetFixedColor(clYellow);
    f.Grid->SetColor(clWhite);
    f.Grid->SetFrameColor(clRed);
    f.Grid->SetFrameVisible(true);
    ASSERT_TRUE(f.Grid->UseThemes());
    TPaper themed(f.Grid->Width(), f.Grid->Height());
    f.Snapshot(themed);
    EXPECT_EQ(themed.Row(40, 0, 2), TPaper::Hex(GetXPThemeColor(xptcEditBorder)) + " 00FFFF FFFFFF");
    f.Grid->SetFramingPreference(fpCustomFraming);
    TPaper custom(f.Grid->Width(), f.Grid->Height());
    f.Snapshot(custom);
    EXPECT_EQ(custom.Row(40, 0, 2), "0000FF 00FFFF FFFFFF");
}

} // namespace
