// Size panel: bar placement, drag limits from the parent's free area, dragging by mouse messages,
// Escape, the hot spot's collapse and restore.
#include <gtest/gtest.h>

#include <climits>

#include "Gwsplit.h"
#include "forms.h"
#include "gw_support.h"
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
    void Press(int X, int Y) { Panel.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y)); }
    void Move(int X, int Y) { Panel.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, Y)); }
    void Release(int X, int Y) { Panel.Perform(WM_LBUTTONUP, 0, MAKELPARAM(X, Y)); }
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

TEST(SizePanel, EscapeKeepsTheSizeErasesTheOutlineAndLetsItsContextGo) {
    TFixture f;
    f.Panel.SetWidth(80);
    f.Form.Show();
    f.Press(77, 20);
    f.Move(120, 20);
    ASSERT_TRUE(f.Panel.OutlineHeld());
    WORD key = VK_ESCAPE;
    f.Panel.Perform(WM_KEYDOWN, key, 0);
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

} // namespace
