// Size panel: bar placement, drag limits from the parent's free area, dragging by mouse messages,
// Escape, the hot spot's collapse and restore.
#include <gtest/gtest.h>

#include <climits>

#include "Gwsplit.h"
#include "extctrls.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "winapi.h"

namespace {

struct TApp {
    TApp() { TApplication::QtApp(); }
};

// A size panel that counts its outline drawings: an even count means the outline is erased.
class TCountingSizePanel : public TGwSizePanel {
public:
    using TGwSizePanel::TGwSizePanel;
    int Masks = 0;

protected:
    void DrawMask(int Position) override {
        if (OutlineHeld())
            ++Masks;
        TGwSizePanel::DrawMask(Position);
    }
};

// A 300 x 200 host on a form, holding a 40-wide left panel and a 30-high bottom panel beside the
// size panel under test.
struct TFixture {
    TApp App;
    TForm Form{nullptr};
    TGwPanel Host{&Form};
    TPanel LeftBlock{&Form};
    TPanel BottomBlock{&Form};
    TCountingSizePanel Panel{&Form};
    TFixture() {
        Form.SetBounds(0, 0, 400, 300);
        Host.SetParent(&Form);
        Host.SetBorderOuter(fsNone);
        Host.SetBounds(0, 0, 300, 200);
        LeftBlock.SetParent(&Host);
        LeftBlock.SetWidth(40);
        LeftBlock.SetAlign(alLeft);
        BottomBlock.SetParent(&Host);
        BottomBlock.SetHeight(30);
        BottomBlock.SetAlign(alBottom);
        Panel.SetParent(&Host);
    }
    void Press(int X, int Y) { inputkit::MouseDown(&Panel, X, Y); }
    void Move(int X, int Y) { inputkit::MouseMove(&Panel, X, Y, inputkit::Left); }
    void Release(int X, int Y) { inputkit::MouseUp(&Panel, X, Y); }
};

struct TLimitCase {
    const char* Name;
    TAlign Align;
    TSide Side;
    int MarginMin, MarginMax;
    TRect Bounds; // used for alNone
    TRect Bar;
    int Low, High;
};
void PrintTo(const TLimitCase& c, std::ostream* os) { *os << c.Name; }

class SizePanelLimits : public testing::TestWithParam<TLimitCase> {};

// The free area is (40, 0, 300, 170) less this panel's own share.
TEST_P(SizePanelLimits, BarAndLimitsFollowTheEdge) {
    const TLimitCase& c = GetParam();
    TFixture f;
    if (c.Align == alNone) {
        f.Panel.SetAlign(alNone);
        f.Panel.SetSide(c.Side);
        f.Panel.SetBounds(c.Bounds.Left, c.Bounds.Top, c.Bounds.Width(), c.Bounds.Height());
    } else {
        f.Panel.SetAlign(c.Align);
        f.Panel.SetWidth(50);
        f.Panel.SetHeight(50);
    }
    f.Panel.SetMarginMin(c.MarginMin);
    f.Panel.SetMarginMax(c.MarginMax);
    EXPECT_EQ(f.Panel.GetSizeBarRect(), c.Bar);
    int low = -100000, high = 100000;
    f.Panel.CheckPosition(low);
    f.Panel.CheckPosition(high);
    EXPECT_EQ(low, c.Low);
    EXPECT_EQ(high, c.High);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SizePanelLimits,
    testing::Values(
        // Left at 40, free right edge 300: widths from 5 to 260.
        TLimitCase{"LeftAlignedBarOnTheRight", alLeft, sdLeft, 0, 0, {}, TRect(46, 0, 50, 170), 5, 260},
        TLimitCase{"LeftAlignedWithMargins", alLeft, sdLeft, 10, 20, {}, TRect(46, 0, 50, 170), 15, 240},
        // Top at 0, free bottom 170.
        TLimitCase{"TopAlignedBarAtTheBottom", alTop, sdLeft, 0, 0, {}, TRect(0, 46, 300, 50), 5, 170},
        // Right-aligned at 250: the near edge may move to the free area's left edge, 40.
        TLimitCase{"RightAlignedBarOnTheLeft", alRight, sdLeft, 0, 0, {}, TRect(0, 0, 4, 170), -210, 45},
        TLimitCase{"BottomAlignedBarAtTheTop", alBottom, sdLeft, 0, 3, {}, TRect(0, 0, 300, 4), -117, 45},
        TLimitCase{"ClientAlignedHasNoBar", alClient, sdLeft, 0, 0, {}, TRect(), -100000, 100000},
        // Unaligned, behaving as left-aligned: counted as taking the free area's left side too.
        TLimitCase{"UnalignedSideLeft", alNone, sdLeft, 0, 0, TRect(100, 10, 150, 60), TRect(46, 0, 50, 50),
                   5, 200},
        // Past the free area's right edge the width stops at 0 instead of going negative.
        TLimitCase{"UnalignedPastTheFreeArea", alNone, sdTop, 0, 0, TRect(310, 180, 360, 190),
                   TRect(0, 6, 50, 10), 0, 0}),
    [](const testing::TestParamInfo<TLimitCase>& i) { return std::string(i.param.Name); });

TEST(SizePanel, DefaultsPutAFourPixelBarOnTheRightAndRaiseItForStyles) {
    TFixture f;
    EXPECT_EQ(f.Panel.Align(), alLeft);
    EXPECT_EQ(f.Panel.SizeBarWidth(), 4);
    EXPECT_EQ(f.Panel.BorderOuter(), fsNone);
    f.Panel.SetSizeBarStyle(ssGroove);
    EXPECT_EQ(f.Panel.SizeBarWidth(), 6);
    f.Panel.SetHotSpotVisible(true);
    EXPECT_EQ(f.Panel.SizeBarWidth(), 7);
}

TEST(SizePanel, DragSetsTheWidthOnReleaseWithinLimitsAndFiresEnterAndResize) {
    TFixture f;
    f.Panel.SetAlign(alNone);
    f.Panel.SetBounds(60, 10, 50, 40);
    int enters = 0, resizes = 0;
    f.Panel.OnEnter = [&](TObject*) { ++enters; };
    f.Panel.OnResize = [&](TObject*) { ++resizes; };
    f.Form.Show();
    f.Press(48, 5);
    EXPECT_TRUE(f.Panel.Sizing());
    EXPECT_EQ(enters, 1);
    f.Move(78, 5);
    EXPECT_EQ(f.Panel.Width(), 50); // outline only until the release
    f.Move(500, 5);
    f.Release(500, 5);
    // The free area ends at 300 and the panel starts at 60.
    EXPECT_EQ(f.Panel.Width(), 240);
    EXPECT_FALSE(f.Panel.OutlineHeld());
    EXPECT_EQ(f.Panel.Masks % 2, 0);
    EXPECT_GT(resizes, 0);
    resizes = 0;
    f.Panel.SetLeft(70);
    EXPECT_GT(resizes, 0); // a move alone reports too
}

// A real-time drag of a left-edge bar moves the panel's left edge with the pointer; the limit stays
// the free area's edge however far the pointer goes, move after move.
TEST(SizePanel, RealTimeDragOfALeftBarStopsAtTheFreeArea) {
    TFixture f;
    f.Panel.SetAlign(alRight);
    f.Panel.SetWidth(50);
    f.Panel.RealTimeDrag = true;
    f.Form.Show();
    const TPoint press = f.Panel.ClientToScreen(TPoint(2, 10));
    auto moveTo = [&](int ScreenX) {
        const TPoint p = f.Panel.ScreenToClient(TPoint(ScreenX, press.y));
        f.Move(p.x, p.y);
    };
    f.Press(2, 10);
    moveTo(press.x - 20);
    EXPECT_EQ(f.Panel.Width(), 50 + 20 - 1);
    // The free area starts at 40 and the panel at 250: the near edge may go 210 to the left.
    for (int far : {press.x - 300, press.x - 400}) {
        moveTo(far);
        EXPECT_EQ(f.Panel.Width(), 50 + 210 - 1);
    }
    f.Release(2, 10);
    EXPECT_FALSE(f.Panel.Sizing());
}

TEST(SizePanel, EscapeKeepsTheSizeErasesTheOutlineAndLetsItsContextGo) {
    TFixture f;
    f.Panel.SetWidth(80);
    f.Form.Show();
    f.Press(77, 20);
    f.Move(120, 20);
    ASSERT_TRUE(f.Panel.OutlineHeld());
    inputkit::Press(&f.Panel, inputkit::Key::Escape);
    EXPECT_FALSE(f.Panel.Sizing());
    EXPECT_FALSE(f.Panel.OutlineHeld());
    EXPECT_EQ(f.Panel.Masks % 2, 0);
    f.Release(120, 20);
    EXPECT_EQ(f.Panel.Width(), 80);
}

TEST(SizePanel, HotSpotClickCollapsesAndRestoresOnceEach) {
    TFixture f;
    f.Panel.SetWidth(120);
    f.Panel.SetHotSpotVisible(true);
    f.Panel.SetMarginMin(10);
    int clicks = 0;
    f.Panel.OnHotSpotClick = [&](TObject*) { ++clicks; };
    f.Form.Show();
    auto clickHotSpot = [&] {
        const TRect h = f.Panel.HotSpotRect();
        const int x = h.Left + 2, y = h.Top + h.Height() / 2;
        f.Press(x, y);
        f.Release(x, y);
    };
    clickHotSpot();
    EXPECT_TRUE(f.Panel.HotSpotClosed());
    EXPECT_EQ(f.Panel.Width(), 10 + 7 + 1);
    EXPECT_EQ(f.Panel.HotSpotPosition(), 120);
    clickHotSpot();
    EXPECT_FALSE(f.Panel.HotSpotClosed());
    EXPECT_EQ(f.Panel.Width(), 120);
    EXPECT_EQ(clicks, 2);
    // With the bar locked the hot spot still works, the bar itself does not drag.
    f.Panel.LockBar = true;
    f.Press(118, 2);
    EXPECT_FALSE(f.Panel.Sizing());
    clickHotSpot();
    EXPECT_TRUE(f.Panel.HotSpotClosed());
    // Dragging a collapsed panel wider opens it.
    f.Panel.LockBar = false;
    f.Press(f.Panel.Width() - 2, 2);
    f.Move(f.Panel.Width() + 30, 2);
    f.Release(f.Panel.Width() + 30, 2);
    EXPECT_FALSE(f.Panel.HotSpotClosed());
}

TEST(SizePanel, ChangingTheAlignmentMovesTheChildrenOffTheBar) {
    TFixture f;
    f.Panel.SetWidth(50);
    TPanel child(&f.Form);
    child.SetParent(&f.Panel);
    child.SetAlign(alClient);
    EXPECT_EQ(child.BoundsRect(), TRect(0, 0, 45, 170));
    f.Panel.SetAlign(alRight);
    EXPECT_EQ(child.BoundsRect(), TRect(5, 0, 50, 170));
}

TEST(SizePanel, MarginMinKeepsTheLargestValueThatFits) {
    TFixture f;
    f.Panel.SetMarginMax(60);
    f.Panel.SetMarginMin(1000);
    // Free extent from the panel's left (40) to 300 is 260.
    EXPECT_EQ(f.Panel.MarginMin(), 200);
}

TEST(SizePanel, NoParentIsAnError) {
    TApp app;
    TGwSizePanel p(nullptr);
    EXPECT_THROW(p.GetParentWorkingRect(), Exception);
}

TEST(SizePanel, PaintsTheHotSpotFrameFaceAndArrows) {
    TFixture f;
    f.Panel.SetWidth(60);
    f.Panel.SetHeight(170);
    f.Panel.SetColor(clLime);
    f.Panel.SetHotSpotVisible(true);
    f.Panel.SetHotSpotFrameColor(clRed);
    f.Panel.SetHotSpotColor(clYellow);
    f.Panel.SetHotSpotDotColor(clBlue);
    TPaper paper(60, 170);
    f.Panel.Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
    const TRect h = f.Panel.HotSpotRect();
    EXPECT_EQ(h, TRect(53, 51, 60, 119)); // 40% of 170 is 68, centred
    EXPECT_EQ(paper.At(53, 60), clRed);
    EXPECT_EQ(paper.At(54, 52), clYellow);
    EXPECT_EQ(paper.At(56, 51 + 15), clBlue); // first dot on the centre line
    EXPECT_EQ(paper.At(52, 30), clLime);      // the bar outside the hot spot
}

struct TArrowCase {
    const char* Name;
    TAlign Align;
    bool Collapsed;
    const char* Way;
};
void PrintTo(const TArrowCase& c, std::ostream* os) { *os << c.Name; }

class SizePanelArrows : public testing::TestWithParam<TArrowCase> {};

// The arrows point towards the panel while it is open and away from it while collapsed. An arrow's
// base corner lies opposite its tip: (Left + 6, c + 1) for one pointing up, (c + 1, Top + 6) for
// one pointing left.
TEST_P(SizePanelArrows, PointWhereTheNextClickMovesTheBar) {
    const TArrowCase& c = GetParam();
    TFixture f;
    f.Panel.SetAlign(c.Align);
    f.Panel.SetWidth(60);
    f.Panel.SetHeight(60);
    f.Panel.SetHotSpotVisible(true);
    f.Panel.SetHotSpotDotColor(clBlue);
    f.Panel.SetHotSpotClosed(c.Collapsed);
    TPaper paper(f.Panel.Width(), f.Panel.Height());
    f.Panel.Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
    const TRect h = f.Panel.HotSpotRect();
    auto inked = [&](int X, int Y) { return TPaper::Hex(paper.At(X, Y)) == TPaper::Hex(clBlue); };
    std::string way;
    if (f.Panel.HotSpotTopBottom()) {
        const int mid = h.Top + h.Height() / 2;
        way = inked(h.Left + 6, mid + 1) && !inked(h.Left + 6, mid - 1)   ? "up"
              : inked(h.Left + 6, mid - 1) && !inked(h.Left + 6, mid + 1) ? "down"
                                                                          : "unclear";
    } else {
        const int mid = h.Left + h.Width() / 2;
        way = inked(mid + 1, h.Top + 6) && !inked(mid - 1, h.Top + 6)   ? "left"
              : inked(mid - 1, h.Top + 6) && !inked(mid + 1, h.Top + 6) ? "right"
                                                                        : "unclear";
    }
    EXPECT_EQ(way, c.Way);
}

INSTANTIATE_TEST_SUITE_P(Sides, SizePanelArrows,
                         testing::Values(TArrowCase{"LeftOpen", alLeft, false, "left"},
                                         TArrowCase{"LeftCollapsed", alLeft, true, "right"},
                                         TArrowCase{"RightOpen", alRight, false, "right"},
                                         TArrowCase{"RightCollapsed", alRight, true, "left"},
                                         TArrowCase{"TopOpen", alTop, false, "up"},
                                         TArrowCase{"TopCollapsed", alTop, true, "down"},
                                         TArrowCase{"BottomOpen", alBottom, false, "down"},
                                         TArrowCase{"BottomCollapsed", alBottom, true, "up"}),
                         [](const testing::TestParamInfo<TArrowCase>& i) {
                             return std::string(i.param.Name);
                         });

struct TBufferCase {
    const char* Name;
    bool Splitter;
    bool Buffered;
};
void PrintTo(const TBufferCase& c, std::ostream* os) { *os << c.Name; }

class DoubleBuffering : public testing::TestWithParam<TBufferCase> {};

// Buffered, the target stays untouched until one finished copy arrives, with the bar and the border
// strips outside the client area in it.
TEST_P(DoubleBuffering, TheTargetGetsOneFinishedPicture) {
    const TBufferCase& c = GetParam();
    TFixture f;
    TGwSplitter splitter(&f.Form);
    TGwCustomPanel* target = &f.Panel;
    TPoint edge;
    if (c.Splitter) {
        splitter.SetParent(&f.Host);
        splitter.SetBorderOuter(fsFlat);
        splitter.SetFlatColor(clRed);
        splitter.SetFlatColorAdjustment(0);
        target = &splitter;
        edge = TPoint(0, 50);
    } else {
        f.Panel.SetWidth(60);
        f.Panel.SetHotSpotVisible(true);
        f.Panel.SetHotSpotFrameColor(clRed);
        edge = TPoint(53, 60);
    }
    target->SetColor(clLime);
    target->SetDoubleBuffered(c.Buffered);
    TPaper paper(target->Width(), target->Height());
    TColor duringPaint = clNone;
    target->OnPaint = [&](TObject*) { duringPaint = paper.At(20, 20); };
    target->Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
    EXPECT_EQ(TPaper::Hex(duringPaint), TPaper::Hex(c.Buffered ? clWhite : clLime));
    EXPECT_EQ(TPaper::Hex(paper.At(20, 20)), TPaper::Hex(clLime));
    EXPECT_EQ(TPaper::Hex(paper.At(edge.x, edge.y)), TPaper::Hex(clRed));
}

INSTANTIATE_TEST_SUITE_P(Controls, DoubleBuffering,
                         testing::Values(TBufferCase{"SizePanelDirect", false, false},
                                         TBufferCase{"SizePanelBuffered", false, true},
                                         TBufferCase{"SplitterDirect", true, false},
                                         TBufferCase{"SplitterBuffered", true, true}),
                         [](const testing::TestParamInfo<TBufferCase>& i) {
                             return std::string(i.param.Name);
                         });

struct TDockTitleCase {
    const char* Name;
    TAlign Align;
    bool Collapsed;
    TPoint Title;   // inside the title strip (no text: the client has no caption)
    TPoint Outside; // on the bar or the client area, never a title
    TRect Glyph;    // where the close cross goes
};
void PrintTo(const TDockTitleCase& c, std::ostream* os) { *os << c.Name; }

class SizePanelDockTitles : public testing::TestWithParam<TDockTitleCase> {};

// A docked panel in a size panel: its title keeps clear of the bar on every side, and a collapsed
// panel paints none.
TEST_P(SizePanelDockTitles, TitlesLeaveTheBarFree) {
    const TDockTitleCase& c = GetParam();
    TFixture f;
    f.Panel.SetAlign(c.Align);
    f.Panel.SetWidth(100);
    f.Panel.SetHeight(80);
    f.Panel.SetColor(clLime);
    f.Panel.SetDockSite(true);
    TPanel client(&f.Form);
    client.SetParent(&f.Form);
    client.SetCaption("");
    ASSERT_TRUE(client.ManualDock(&f.Panel, nullptr, alClient));
    f.Panel.SetHotSpotClosed(c.Collapsed);
    TPaper paper(f.Panel.Width(), f.Panel.Height());
    f.Panel.Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
    const std::string title = TPaper::Hex(clInactiveCaption);
    EXPECT_EQ(TPaper::Hex(paper.At(c.Title.x, c.Title.y)), c.Collapsed ? TPaper::Hex(clLime) : title);
    EXPECT_NE(TPaper::Hex(paper.At(c.Outside.x, c.Outside.y)), title);
    int ink = 0;
    for (int y = c.Glyph.Top; y < c.Glyph.Bottom; ++y)
        for (int x = c.Glyph.Left; x < c.Glyph.Right; ++x)
            ink += TPaper::Hex(paper.At(x, y)) != title && TPaper::Hex(paper.At(x, y)) != TPaper::Hex(clLime);
    EXPECT_GE(ink, c.Collapsed ? 0 : 8);
}

// Panels 100 x 170 (left and right) or 300 x 80 (top and bottom); a 4-pixel bar leaves the client
// area 5 pixels from its edge. The points are the title's edges next to the bar or the client area.
INSTANTIATE_TEST_SUITE_P(Sides, SizePanelDockTitles,
                         testing::Values(TDockTitleCase{"LeftAlignedTitleOnTop", alLeft, false,
                                                        TPoint(94, 13), TPoint(95, 7), TRect(80, 1, 94, 12)},
                                         TDockTitleCase{"RightAlignedTitleBesideTheBar", alRight, false,
                                                        TPoint(5, 7), TPoint(4, 7), TRect(85, 1, 99, 12)},
                                         TDockTitleCase{"TopAlignedTitleDownTheLeft", alTop, false,
                                                        TPoint(13, 74), TPoint(7, 75), TRect(1, 1, 13, 13)},
                                         TDockTitleCase{"BottomAlignedTitleBelowTheBar", alBottom, false,
                                                        TPoint(7, 5), TPoint(7, 4), TRect(1, 6, 13, 18)},
                                         TDockTitleCase{"CollapsedPaintsNoTitle", alLeft, true, TPoint(40, 7),
                                                        TPoint(95, 7), TRect()}),
                         [](const testing::TestParamInfo<TDockTitleCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
