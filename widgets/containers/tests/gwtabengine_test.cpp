// The tab engine: layout numbers per orientation and row mode, selection edges, keys through the
// message path, hit tests and pixels of each tab shape, and the plain data beside it.
#include <gtest/gtest.h>

#include <functional>

#include "Gwtabs.h"
#include "forms.h"
#include "gw_styles.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"

void PrintTo(const TRect& R, std::ostream* os) {
    *os << "(" << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom << ")";
}

namespace {

// Three tabs of fixed extent on a 300 x 100 control, no margin, the cut-corner style (its tabs stand
// 2 pixels apart), so the numbers do not depend on the font.
struct TStrip {
    explicit TStrip(int Count = 3) {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 400, 300);
        Tabs = new TGwTabControl(&Form);
        Tabs->SetParent(&Form);
        Tabs->SetBounds(0, 0, 300, 100);
        Tabs->SetTabStyle(tsCutCorner);
        for (int i = 0; i < Count; ++i)
            Tabs->GetTabCollection()->Add()->SetCaption(std::string(1, char('A' + i)));
    }
    void Fixed(int W, int H) {
        Tabs->SetTabWidth(W);
        Tabs->SetTabHeight(H);
    }
    std::vector<TRect> Rects() {
        std::vector<TRect> v;
        for (int i = 0; i < Tabs->TabCount(); ++i)
            v.push_back(Tabs->TabRect(i));
        return v;
    }
    void Key(WORD K) {
        inputkit::TMods mods = inputkit::None;
        const int key = inputkit::KeyOfVirtualKey(K, mods);
        inputkit::Press(Tabs, key, mods);
    }

    TForm Form{nullptr};
    TGwTabControl* Tabs;
};

struct LayoutCase {
    const char* Name;
    TGwTabOrientation Orientation;
    TGwTabSequence Sequence;
    bool MultiLine;
    int Width, Height; // control
    int TabWidth, TabHeight;
    int Select;
    int Rows;
    bool Scroller;
    std::vector<TRect> Expected;
};

void PrintTo(const LayoutCase& C, std::ostream* os) { *os << C.Name; }

class TabLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TabLayout, RectanglesRowsAndScroller) {
    const LayoutCase& c = GetParam();
    TStrip s;
    s.Tabs->SetBounds(0, 0, c.Width, c.Height);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Tabs->SetTabSequence(c.Sequence);
    s.Tabs->SetMultiLine(c.MultiLine);
    s.Fixed(c.TabWidth, c.TabHeight);
    s.Tabs->SetTabIndex(c.Select);
    EXPECT_EQ(s.Rects(), c.Expected);
    EXPECT_EQ(s.Tabs->RowExtent(), c.Rows);
    EXPECT_EQ(s.Tabs->ScrollerNeeded(), c.Scroller);
}

// Along the row each tab is 40 wide and the next starts 42 on; across, the row is 30 deep.
INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabLayout,
    ::testing::Values(LayoutCase{"Top",
                                 toTop,
                                 tsStandard,
                                 false,
                                 300,
                                 100,
                                 40,
                                 30,
                                 -1,
                                 1,
                                 false,
                                 {{0, 0, 40, 30}, {42, 0, 82, 30}, {84, 0, 124, 30}}},
                      LayoutCase{"Bottom",
                                 toBottom,
                                 tsStandard,
                                 false,
                                 300,
                                 100,
                                 40,
                                 30,
                                 -1,
                                 1,
                                 false,
                                 {{0, 70, 40, 100}, {42, 70, 82, 100}, {84, 70, 124, 100}}},
                      LayoutCase{"LeftRunsUpward",
                                 toLeft,
                                 tsStandard,
                                 false,
                                 100,
                                 300,
                                 30,
                                 40,
                                 -1,
                                 1,
                                 false,
                                 {{0, 260, 30, 300}, {0, 218, 30, 258}, {0, 176, 30, 216}}},
                      LayoutCase{"Right",
                                 toRight,
                                 tsStandard,
                                 false,
                                 100,
                                 300,
                                 30,
                                 40,
                                 -1,
                                 1,
                                 false,
                                 {{70, 0, 100, 40}, {70, 42, 100, 82}, {70, 84, 100, 124}}},
                      LayoutCase{"TopReverseFromTheRight",
                                 toTop,
                                 tsReverse,
                                 false,
                                 300,
                                 100,
                                 40,
                                 30,
                                 -1,
                                 1,
                                 false,
                                 {{260, 0, 300, 30}, {218, 0, 258, 30}, {176, 0, 216, 30}}},
                      LayoutCase{"LeftTooShortScrolls",
                                 toLeft,
                                 tsStandard,
                                 false,
                                 300,
                                 100,
                                 30,
                                 40,
                                 -1,
                                 1,
                                 true,
                                 {{0, 60, 30, 100}, {0, 18, 30, 58}, {0, -24, 30, 16}}},
                      // Two rows: the card's row first, the second row indented by 5 and overlapping by 5.
                      LayoutCase{"TopTwoRows",
                                 toTop,
                                 tsStandard,
                                 true,
                                 100,
                                 100,
                                 40,
                                 30,
                                 -1,
                                 2,
                                 false,
                                 {{0, 25, 40, 55}, {42, 25, 82, 55}, {5, 0, 45, 30}}},
                      LayoutCase{"TopTwoRowsBackTabBroughtForward",
                                 toTop,
                                 tsStandard,
                                 true,
                                 100,
                                 100,
                                 40,
                                 30,
                                 2,
                                 2,
                                 false,
                                 {{5, 0, 45, 30}, {47, 0, 87, 30}, {0, 25, 40, 55}}},
                      LayoutCase{"BottomTwoRows",
                                 toBottom,
                                 tsStandard,
                                 true,
                                 100,
                                 100,
                                 40,
                                 30,
                                 -1,
                                 2,
                                 false,
                                 {{0, 45, 40, 75}, {42, 45, 82, 75}, {5, 70, 45, 100}}},
                      LayoutCase{"WideTabStandsAloneClamped",
                                 toTop,
                                 tsStandard,
                                 true,
                                 100,
                                 100,
                                 150,
                                 30,
                                 -1,
                                 3,
                                 false,
                                 {{0, 50, 90, 80}, {5, 25, 95, 55}, {10, 0, 100, 30}}}),
    [](const ::testing::TestParamInfo<LayoutCase>& i) { return std::string(i.param.Name); });

TEST(GwTabEngine, SelectionEdges) {
    TStrip s;
    std::vector<int> asked;
    int changes = 0;
    s.Tabs->OnChanging = [&](TObject*, int i, bool& allow) {
        asked.push_back(i);
        allow = i != 1;
    };
    s.Tabs->OnChange = [&](TObject*) { ++changes; };
    s.Tabs->SetTabIndex(1); // refused by the handler
    EXPECT_EQ(s.Tabs->TabIndex(), -1);
    s.Tabs->SetTabIndex(2);
    EXPECT_EQ(s.Tabs->TabIndex(), 2);
    s.Tabs->GetTabCollection()->GetItem(0)->SetEnabled(false);
    s.Tabs->SetTabIndex(0); // disabled: not even asked
    EXPECT_EQ(s.Tabs->TabIndex(), 2);
    s.Tabs->SetTabIndex(3); // the count: none
    EXPECT_EQ(s.Tabs->TabIndex(), -1);
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));
    EXPECT_EQ(changes, 1);

    TStrip empty(0);
    empty.Tabs->SetTabIndex(0);
    empty.Key(VK_RIGHT);
    EXPECT_EQ(empty.Tabs->TabIndex(), -1);
    EXPECT_EQ(empty.Tabs->TabAtPos(5, 5), -1);
}

struct KeyCase {
    const char* Name;
    TGwTabOrientation Orientation;
    TGwTabSequence Sequence;
    int Start;
    WORD Key;
    int Expected;
};

void PrintTo(const KeyCase& C, std::ostream* os) { *os << C.Name; }

class TabKeys : public ::testing::TestWithParam<KeyCase> {};

// Four tabs, the second disabled and the fourth hidden.
TEST_P(TabKeys, MoveTheSelection) {
    const KeyCase& c = GetParam();
    TStrip s(4);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Tabs->SetTabSequence(c.Sequence);
    s.Tabs->GetTabCollection()->GetItem(1)->SetEnabled(false);
    s.Tabs->GetTabCollection()->GetItem(3)->SetVisible(false);
    s.Tabs->SetTabIndex(c.Start);
    int clicks = 0;
    s.Tabs->OnTabClick = [&](TObject*) { ++clicks; };
    s.Key(c.Key);
    EXPECT_EQ(s.Tabs->TabIndex(), c.Expected);
    EXPECT_EQ(clicks, c.Expected != c.Start ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabKeys,
    ::testing::Values(KeyCase{"RightSkipsDisabled", toTop, tsStandard, 0, VK_RIGHT, 2},
                      KeyCase{"RightWrapsPastHidden", toTop, tsStandard, 2, VK_RIGHT, 0},
                      KeyCase{"LeftWraps", toTop, tsStandard, 0, VK_LEFT, 2},
                      KeyCase{"DownIsNext", toBottom, tsStandard, 0, VK_DOWN, 2},
                      KeyCase{"ReverseRightIsPrevious", toTop, tsReverse, 0, VK_RIGHT, 2},
                      KeyCase{"LeftTabsUpIsNext", toLeft, tsStandard, 0, VK_UP, 2},
                      KeyCase{"HomeSelectsFirst", toTop, tsStandard, 2, VK_HOME, 0},
                      KeyCase{"EndSelectsLastSelectable", toTop, tsStandard, 0, VK_END, 2},
                      KeyCase{"LeftTabsHomeSelectsLast", toLeft, tsStandard, 0, VK_HOME, 2},
                      KeyCase{"OtherKeysNothing", toTop, tsStandard, 0, VK_SPACE, 0}),
    [](const ::testing::TestParamInfo<KeyCase>& i) { return std::string(i.param.Name); });

TEST(GwTabEngine, OnlyDisabledOthersKeepTheSelection) {
    TStrip s;
    s.Tabs->SetTabIndex(0);
    s.Tabs->GetTabCollection()->GetItem(1)->SetEnabled(false);
    s.Tabs->GetTabCollection()->GetItem(2)->SetEnabled(false);
    for (WORD k : {VK_RIGHT, VK_LEFT, VK_END})
        s.Key(k);
    EXPECT_EQ(s.Tabs->TabIndex(), 0);
}

TEST(GwTabEngine, MouseAndAcceleratorSelect) {
    TStrip s;
    s.Tabs->GetTabCollection()->GetItem(2)->SetCaption("&Third");
    s.Fixed(40, 30);
    inputkit::Click(s.Tabs, 50, 10);
    EXPECT_EQ(s.Tabs->TabIndex(), 1);
    // Out of every tab: nothing changes, nothing escapes.
    inputkit::Click(s.Tabs, 290, 90);
    EXPECT_EQ(s.Tabs->TabIndex(), 1);
    s.Tabs->Perform(CM_DIALOGCHAR, 't', 0);
    EXPECT_EQ(s.Tabs->TabIndex(), 2);
}

TEST(GwTabEngine, ScrollingMovesTheFirstShownTab) {
    TStrip s(6);
    s.Fixed(60, 20);
    s.Tabs->SetBounds(0, 0, 200, 80);
    ASSERT_TRUE(s.Tabs->ScrollerNeeded());
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 0);
    s.Tabs->ScrollTabs(false);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 0);
    s.Tabs->ScrollTabs(true);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 1);
    EXPECT_FALSE(s.Tabs->TabInView(0));
    s.Tabs->SetTabIndex(5); // selecting a tab out of view scrolls to it
    EXPECT_TRUE(s.Tabs->TabInView(5));
    s.Tabs->SetTabIndex(0);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 0);
}

TEST(GwTabEngine, HeldArrowRepeatsReleasedOutsideDoesNot) {
    TStrip s(8);
    s.Fixed(60, 20);
    s.Tabs->SetBounds(0, 0, 200, 80);
    ASSERT_TRUE(s.Tabs->ScrollerNeeded());
    TRect on = s.Tabs->ScrollerRect(1);
    const TPoint at((on.Left + on.Right) / 2, (on.Top + on.Bottom) / 2), away(10, 70);
    inputkit::MouseDown(s.Tabs, at.x, at.y);
    EXPECT_EQ(s.Tabs->RepeatInterval(), 400u);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 0); // nothing before the release or the first repeat
    s.Tabs->RepeatTimerExpired();
    EXPECT_EQ(s.Tabs->RepeatInterval(), 100u);
    s.Tabs->RepeatTimerExpired();
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 2);
    inputkit::MouseMove(s.Tabs, away.x, away.y, inputkit::Left);
    s.Tabs->RepeatTimerExpired();
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 2);
    inputkit::MouseMove(s.Tabs, at.x, at.y, inputkit::Left);
    inputkit::MouseUp(s.Tabs, at.x, at.y);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 3);
    EXPECT_EQ(s.Tabs->RepeatInterval(), 0u);
    inputkit::Drag(s.Tabs, at.x, at.y, away.x, away.y);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 3);
    TRect back = s.Tabs->ScrollerRect(0);
    inputkit::Click(s.Tabs, (back.Left + back.Right) / 2, (back.Top + back.Bottom) / 2);
    EXPECT_EQ(s.Tabs->FirstShownIndex(), 2);
}

TEST(GwTabEngine, TabMenuListsVisibleTabs) {
    TStrip s(4);
    s.Tabs->GetTabCollection()->GetItem(1)->SetVisible(false);
    s.Tabs->GetTabCollection()->GetItem(2)->SetEnabled(false);
    s.Tabs->SetTabIndex(3);
    TPopupMenu menu(nullptr);
    s.Tabs->BuildTabMenu(&menu);
    ASSERT_EQ(menu.Items()->Count(), 3);
    std::string seen;
    for (int i = 0; i < 3; ++i) {
        TMenuItem* m = menu.Items()->Items(i);
        seen += m->Caption() + (m->Checked() ? "*" : "") + (m->Enabled() ? "" : "-") + " ";
    }
    EXPECT_EQ(seen, "A C- D* ");
    menu.Items()->Items(0)->Click();
    EXPECT_EQ(s.Tabs->TabIndex(), 0);
}

// Points left of, inside and right of a 300 x 100 control (above and below for side tabs).
TEST(GwTabEngine, DragScrollDirection) {
    struct {
        TGwTabOrientation Orientation;
        TGwTabSequence Sequence;
        int Before, Inside, After;
    } cases[] = {{toTop, tsStandard, -1, 0, 1},  {toBottom, tsStandard, -1, 0, 1},
                 {toLeft, tsStandard, 1, 0, -1}, {toRight, tsStandard, -1, 0, 1},
                 {toTop, tsReverse, 1, 0, -1},   {toLeft, tsReverse, -1, 0, 1}};
    TStrip s;
    for (const auto& c : cases) {
        s.Tabs->SetTabOrientation(c.Orientation);
        s.Tabs->SetTabSequence(c.Sequence);
        bool side = c.Orientation == toLeft || c.Orientation == toRight;
        TPoint before = side ? TPoint{50, -5} : TPoint{-5, 50};
        TPoint after = side ? TPoint{50, 105} : TPoint{305, 50};
        std::string name = std::to_string(c.Orientation) + "/" + std::to_string(c.Sequence);
        EXPECT_EQ(s.Tabs->DragScrollDirection(before), c.Before) << name;
        EXPECT_EQ(s.Tabs->DragScrollDirection({150, 50}), c.Inside) << name;
        EXPECT_EQ(s.Tabs->DragScrollDirection(after), c.After) << name;
    }
}

struct ShapeCase {
    const char* Name;
    TGwTabStyle Style;
    TGwTabOrientation Orientation;
    std::vector<TPoint> Inside, Outside;
};

void PrintTo(const ShapeCase& C, std::ostream* os) { *os << C.Name; }

class TabShape : public ::testing::TestWithParam<ShapeCase> {};

// One tab, 100 x 20, at the control's top-left (bottom-left for bottom tabs): points in its
// rectangle but off its shape show the background and hit nothing.
TEST_P(TabShape, PixelsAndHits) {
    const ShapeCase& c = GetParam();
    TStrip s(1);
    s.Tabs->SetTabStyle(c.Style);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Fixed(100, 20);
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetBackgroundColor(clYellow);
    TPaper paper(300, 100);
    s.Tabs->PaintTo(paper.Canvas());
    for (TPoint p : c.Inside) {
        EXPECT_EQ(s.Tabs->TabAtPos(p.x, p.y), 0) << p.x << "," << p.y;
        EXPECT_EQ(paper.At(p.x, p.y), clWhite) << p.x << "," << p.y;
    }
    for (TPoint p : c.Outside) {
        EXPECT_EQ(s.Tabs->TabAtPos(p.x, p.y), -1) << p.x << "," << p.y;
        EXPECT_EQ(paper.At(p.x, p.y), clYellow) << p.x << "," << p.y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabShape,
    ::testing::Values(
        ShapeCase{"SingleSlant", tsSingleSlant, toTop, {{5, 10}, {20, 10}, {80, 10}}, {{95, 5}}},
        ShapeCase{"DoubleSlant", tsDoubleSlant, toTop, {{30, 10}}, {{5, 5}, {95, 5}}},
        ShapeCase{"CutCorner", tsCutCorner, toTop, {{5, 5}, {95, 8}}, {{99, 1}}},
        ShapeCase{"RoundCorners", tsRoundCorners, toTop, {{5, 5}, {95, 5}}, {}},
        ShapeCase{"BackSlant", tsBackSlant, toTop, {{95, 5}}, {{5, 5}}},
        ShapeCase{"SingleSlantOnBottom", tsSingleSlant, toBottom, {{20, 90}}, {{95, 95}}},
        ShapeCase{"CutCornerOnBottom", tsCutCorner, toBottom, {{95, 92}}, {{99, 98}}}),
    [](const ::testing::TestParamInfo<ShapeCase>& i) { return std::string(i.param.Name); });

TEST(GwTabEngine, CardJoinsTheCurrentTab) {
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetFlatColor(clBlack);
    s.Tabs->SetBackgroundColor(clYellow);
    s.Tabs->SetTabIndex(1);
    TPaper paper(300, 100);
    s.Tabs->PaintTo(paper.Canvas());
    // The card's top edge is drawn under other tabs and left open under the current one.
    EXPECT_EQ(paper.At(20, 30), clBlack);
    EXPECT_EQ(paper.At(60, 30), clWhite);
    EXPECT_EQ(paper.At(150, 30), clBlack);
    // The two-tone shadow darkens the far side.
    EXPECT_NE(paper.At(299, 60), clYellow);
    EXPECT_NE(paper.At(298, 60), paper.At(299, 60));
    // It falls on what lies behind the card, not on the card.
    EXPECT_EQ(paper.At(298, 60), BlendColors(clBlack, clYellow, 30));
    EXPECT_EQ(paper.At(299, 60), BlendColors(clBlack, clYellow, 15));
    EXPECT_EQ(paper.At(150, 98), BlendColors(clBlack, clYellow, 30));
    EXPECT_EQ(paper.At(150, 99), BlendColors(clBlack, clYellow, 15));
}

// Over a background that changes from pixel to pixel, every pixel of the two-tone shadow darkens the
// very pixel it covers, down both edges and round the corners.
TEST(GwTabEngine, ShadowDarkensEachPixelUnderIt) {
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->SetTabIndex(0);
    auto pattern = [](int X, int Y) {
        return static_cast<TColor>(RGB((X * 7) & 0xFF, (Y * 5) & 0xFF, 0x80));
    };
    s.Tabs->OnPaintBackground = [&](TObject*, TCanvas* C, const TRect& R, bool& Handled) {
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                C->SetPixel(x, y, pattern(x, y));
        Handled = true;
    };
    TPaper paper(300, 100);
    s.Tabs->PaintTo(paper.Canvas());
    std::vector<std::string> wrong;
    auto expect = [&](int X, int Y, int Weight) {
        if (paper.At(X, Y) != BlendColors(clBlack, pattern(X, Y), static_cast<std::uint8_t>(Weight)))
            wrong.push_back(std::to_string(X) + "," + std::to_string(Y));
    };
    // The card runs from row 30 to the bottom; its outline stops 2 pixels short of the far edges.
    for (int y = 30; y < 99; ++y) {
        expect(298, y, y == 30 ? 15 : 30);
        expect(299, y, 15);
    }
    for (int x = 1; x < 299; ++x) {
        expect(x, 98, 30);
        expect(x, 99, 15);
    }
    expect(299, 99, 15);
    expect(0, 99, 15);
    EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
}

// A selection left out of range by a descendant is neither drawn, hit nor stepped from, and nothing
// reaches the exception boundary.
TEST(GwTabEngine, SelectionOutOfRangeIsHarmless) {
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->SetShowCloseButton(true);
    s.Tabs->TabRect(0);
    int before = Application->ExceptionCount();
    for (int bad : {3, 7, -5}) {
        s.Tabs->SetTabIndexField(bad);
        TPaper paper(300, 100);
        s.Tabs->PaintTo(paper.Canvas());
        s.Tabs->Repaint();
        inputkit::Click(s.Tabs, 290, 90);
        inputkit::MouseMove(s.Tabs, 10, 10);
        inputkit::Press(s.Tabs, inputkit::Key::End);
        EXPECT_LT(s.Tabs->TabIndex(), 3) << bad;
    }
    EXPECT_EQ(Application->ExceptionCount(), before);
}

// A strip that scrolls, with its close and menu buttons shown.
struct TButtonStrip : TStrip {
    TButtonStrip() : TStrip(8) {
        Fixed(60, 20);
        Tabs->SetBounds(0, 0, 260, 80);
        Tabs->SetShowCloseButton(true);
        Tabs->SetShowMenuButton(true);
    }
    void Press(const TRect& R) { inputkit::MouseDown(Tabs, MidX(R), MidY(R)); }
    void Release(const TRect& R) { inputkit::MouseUp(Tabs, MidX(R), MidY(R)); }
    void MoveTo(const TRect& R) { inputkit::MouseMove(Tabs, MidX(R), MidY(R), inputkit::Left); }
    static int MidX(const TRect& R) { return (R.Left + R.Right) / 2; }
    static int MidY(const TRect& R) { return (R.Top + R.Bottom) / 2; }
};

// The close button acts on release over it, as the scroller's arrows do; a release elsewhere
// cancels, and the handler still has the last word.
TEST(GwTabEngine, CloseButtonClosesOnReleaseOverIt) {
    TButtonStrip s;
    s.Tabs->SetTabIndex(1);
    bool allow = true;
    int asked = 0;
    s.Tabs->OnClose = [&](TObject*, bool& a) {
        ++asked;
        a = allow;
    };
    TRect close = s.Tabs->CloseButtonRect();
    s.Press(close);
    EXPECT_EQ(s.Tabs->PressedButton(), TGwCustomTabControl::tbClose);
    EXPECT_EQ(s.Tabs->TabCount(), 8); // nothing on the press
    s.MoveTo(TRect{0, 0, 10, 10});
    EXPECT_EQ(s.Tabs->PressedButton(), TGwCustomTabControl::tbNone);
    inputkit::MouseUp(s.Tabs, 5, 5);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(s.Tabs->TabCount(), 8);
    allow = false;
    s.Press(close);
    s.Release(close);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.Tabs->TabCount(), 8);
    allow = true;
    s.Press(close);
    s.Release(close);
    EXPECT_EQ(s.Tabs->TabCount(), 7);
    EXPECT_EQ(s.Tabs->Tab(1).Caption, "C");
    EXPECT_EQ(s.Tabs->TabIndex(), 0); // the item before the closed one
}

struct ButtonFaceCase {
    const char* Name;
    bool Gradients, Pressed;
    int TopVsBottom; // sign of the top's lightness less the bottom's, inside the frame
};

void PrintTo(const ButtonFaceCase& C, std::ostream* os) { *os << C.Name; }

class TabButtonFace : public ::testing::TestWithParam<ButtonFaceCase> {};

int Lightness(TColor C) {
    TColor c = ColorToRGB(C);
    return int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF);
}

// The flat look of the close button: the unselected colour over the shadow colour, exchanged while
// held; plain without gradients. The frame is in the flat colour.
TEST_P(TabButtonFace, GradientRunsDownAndFlipsWhileHeld) {
    const ButtonFaceCase& c = GetParam();
    TButtonStrip s;
    s.Tabs->SetTabIndex(0);
    s.Tabs->SetUseGradients(c.Gradients);
    s.Tabs->SetFlatColor(clRed);
    s.Tabs->TabColors()->SetUnselected(clWhite);
    s.Tabs->TabColors()->SetShadow(clBlack);
    TRect r = s.Tabs->CloseButtonRect();
    if (c.Pressed)
        s.Press(r);
    TPaper paper(260, 80);
    s.Tabs->PaintTo(paper.Canvas());
    if (c.Pressed)
        s.Release(TRect{0, 0, 2, 2});
    EXPECT_EQ(paper.At(r.Left, r.Top + 1), clRed);
    int top = Lightness(paper.At(r.Left + 1, r.Top + 1)),
        bottom = Lightness(paper.At(r.Left + 1, r.Bottom - 2));
    EXPECT_EQ((top > bottom) - (top < bottom), c.TopVsBottom) << top << " " << bottom;
    if (!c.Gradients) {
        EXPECT_EQ(paper.At(r.Left + 1, r.Top + 1), clWhite);
    }
}

INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabButtonFace,
                         ::testing::Values(ButtonFaceCase{"Gradient", true, false, 1},
                                           ButtonFaceCase{"GradientHeld", true, true, -1},
                                           ButtonFaceCase{"Plain", false, false, 0}),
                         [](const ::testing::TestParamInfo<ButtonFaceCase>& i) {
                             return std::string(i.param.Name);
                         });

struct ThemedButtonsCase {
    const char* Name;
    TGwTabOrientation Orientation;
    TThemedSpin Back, On;
    TThemedScrollBar Menu;
};

void PrintTo(const ThemedButtonsCase& C, std::ostream* os) { *os << C.Name; }

class TabThemedButtons : public ::testing::TestWithParam<ThemedButtonsCase> {};

// With visual styles the scroller is the theme's spin buttons (the back one disabled while the
// first tab is shown), the menu button a scroll-bar arrow pointing toward the card, and the close
// button the small window close button: disabled with no current tab, pressed while held.
TEST_P(TabThemedButtons, DrawnByTheTheme) {
    const ThemedButtonsCase& c = GetParam();
    gwstyles::TRecordingStyles styles;
    TButtonStrip s;
    s.Tabs->SetTabOrientation(c.Orientation);
    if (c.Orientation == toLeft || c.Orientation == toRight)
        s.Tabs->SetBounds(0, 0, 80, 150);
    s.Tabs->SetFlatColor(clRed);
    ASSERT_TRUE(s.Tabs->ScrollerNeeded());
    TPaper paper(260, 260);
    auto drawn = [&](const std::wstring& Class, const TRect& R) {
        for (const gwstyles::TCall& call : styles.Of("DrawThemeBackground"))
            if (call.Class == Class && call.Rect == R)
                return std::pair{call.Part, call.State};
        return std::pair{-1, -1};
    };
    auto details = [](auto Detail) {
        TThemedElementDetails d = TThemeServices::GetElementDetails(Detail);
        return std::pair{d.Part, d.State};
    };
    s.Tabs->PaintTo(paper.Canvas());
    EXPECT_EQ(drawn(L"spin", s.Tabs->ScrollerRect(0)), details(c.Back));
    EXPECT_EQ(drawn(L"spin", s.Tabs->ScrollerRect(1)), details(c.On));
    EXPECT_EQ(drawn(L"scrollbar", s.Tabs->MenuButtonRect()), details(c.Menu));
    EXPECT_EQ(drawn(L"window", s.Tabs->CloseButtonRect()), details(twSmallCloseButtonDisabled));
    s.Tabs->SetTabIndex(0);
    s.Press(s.Tabs->CloseButtonRect());
    gwstyles::Calls().clear();
    s.Tabs->PaintTo(paper.Canvas());
    EXPECT_EQ(drawn(L"window", s.Tabs->CloseButtonRect()), details(twSmallCloseButtonPressed));
    s.MoveTo(TRect{0, 0, 2, 2});
    gwstyles::Calls().clear();
    s.Tabs->PaintTo(paper.Canvas());
    EXPECT_EQ(drawn(L"window", s.Tabs->CloseButtonRect()), details(twSmallCloseButtonNormal));
    s.Release(TRect{0, 0, 2, 2});
    // Nothing of the flat look under the theme's parts.
    EXPECT_NE(paper.At(s.Tabs->CloseButtonRect().Left, s.Tabs->CloseButtonRect().Top + 1), clRed);
}

INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabThemedButtons,
    ::testing::Values(
        ThemedButtonsCase{"Top", toTop, tsDownHorzDisabled, tsUpHorzNormal, tsArrowBtnDownNormal},
        ThemedButtonsCase{"Bottom", toBottom, tsDownHorzDisabled, tsUpHorzNormal, tsArrowBtnUpNormal},
        ThemedButtonsCase{"Left", toLeft, tsDownDisabled, tsUpNormal, tsArrowBtnRightNormal},
        ThemedButtonsCase{"Right", toRight, tsUpDisabled, tsDownNormal, tsArrowBtnLeftNormal}),
    [](const ::testing::TestParamInfo<ThemedButtonsCase>& i) { return std::string(i.param.Name); });

struct HotBarCase {
    const char* Name;
    TGwHotTrackColorType Type;
    bool Complement;
};

void PrintTo(const HotBarCase& C, std::ostream* os) { *os << C.Name; }

class TabHotBar : public ::testing::TestWithParam<HotBarCase> {};

// The tab under the pointer gets a bar at its outer edge in the hot colour or its complement; the
// current tab's bar is the highlight colour.
TEST_P(TabHotBar, ColourOfTheBar) {
    const HotBarCase& c = GetParam();
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetHotTrackColor(clRed);
    s.Tabs->SetHotTrackColorType(c.Type);
    s.Tabs->TabColors()->SetHighlightBar(clBlue);
    s.Tabs->SetTabIndex(0);
    inputkit::MouseMove(s.Tabs, 60, 15);
    TPaper paper(300, 100);
    s.Tabs->PaintTo(paper.Canvas());
    EXPECT_EQ(paper.At(60, 3), c.Complement ? ComplementaryColor(clRed) : clRed);
    EXPECT_EQ(paper.At(20, 3), clBlue);
    EXPECT_NE(paper.At(60, 12), paper.At(60, 3)); // a bar, not the whole tab
}

INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabHotBar,
                         ::testing::Values(HotBarCase{"Actual", htctActual, false},
                                           HotBarCase{"Complement", htctComplement, true}),
                         [](const ::testing::TestParamInfo<HotBarCase>& i) {
                             return std::string(i.param.Name);
                         });

struct VerticalTextCase {
    const char* Name;
    TGwTabOrientation Orientation;
    bool ReadsUpward; // the first letter at the bottom
};

void PrintTo(const VerticalTextCase& C, std::ostream* os) { *os << C.Name; }

class TabVerticalText : public ::testing::TestWithParam<VerticalTextCase> {};

// Vertical captions stand inside their tab, run along the tab, and read upward except on right
// tabs, where they read downward: the heavy letters come first in the caption.
TEST_P(TabVerticalText, CaptionPixels) {
    const VerticalTextCase& c = GetParam();
    TStrip s(1);
    s.Tabs->SetBounds(0, 0, 120, 300);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Tabs->SetTextOrientation(orVertical);
    s.Tabs->GetTabCollection()->GetItem(0)->SetCaption("WWW.......");
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetHotTrack(false);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetFlatColor(clWhite);
    s.Tabs->SetBackgroundColor(clWhite);
    TPaper paper(120, 300);
    s.Tabs->PaintTo(paper.Canvas());
    TRect tab = s.Tabs->TabRect(0);
    TRect ink{1000, 1000, -1, -1};
    std::vector<int> perRow(300, 0);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 120; ++x) {
            TColor p = ColorToRGB(paper.At(x, y));
            if ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF) > 3 * 128)
                continue;
            ink = {std::min<int>(ink.Left, x), std::min<int>(ink.Top, y), std::max<int>(ink.Right, x + 1),
                   std::max<int>(ink.Bottom, y + 1)};
            ++perRow[static_cast<size_t>(y)];
        }
    ASSERT_LT(ink.Left, ink.Right) << "no caption drawn";
    EXPECT_GE(ink.Left, tab.Left);
    EXPECT_LE(ink.Right, tab.Right);
    EXPECT_GE(ink.Top, tab.Top);
    EXPECT_LE(ink.Bottom, tab.Bottom);
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    int mid = (ink.Top + ink.Bottom) / 2, upper = 0, lower = 0;
    for (int y = ink.Top; y < ink.Bottom; ++y)
        (y < mid ? upper : lower) += perRow[static_cast<size_t>(y)];
    if (c.ReadsUpward) {
        EXPECT_GT(lower, 2 * upper);
    } else {
        EXPECT_GT(upper, 2 * lower);
    }
}

INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabVerticalText,
                         ::testing::Values(VerticalTextCase{"Left", toLeft, true},
                                           VerticalTextCase{"Right", toRight, false}),
                         [](const ::testing::TestParamInfo<VerticalTextCase>& i) {
                             return std::string(i.param.Name);
                         });

// The close command and a dropped tab with the selection left out of range act on nothing.
TEST(GwTabEngine, OutOfRangeSelectionClosesAndMovesNothing) {
    TButtonStrip s;
    s.Tabs->OnClose = [](TObject*, bool& a) { a = true; };
    s.Tabs->SetAllowTabDragging(true);
    s.Tabs->TabRect(0);
    int before = Application->ExceptionCount();
    s.Tabs->SetTabIndexField(9);
    s.Press(s.Tabs->CloseButtonRect());
    s.Release(s.Tabs->CloseButtonRect());
    s.Tabs->DragDrop(s.Tabs, 30, 10);
    s.Tabs->CloseActiveTab();
    EXPECT_EQ(s.Tabs->TabCount(), 8);
    EXPECT_EQ(Application->ExceptionCount(), before);
}

struct TDraggedTabs : TGwTabControl {
    using TGwTabControl::DragOver;
    using TGwTabControl::TGwTabControl;
};

struct MoveMarkCase {
    const char* Name;
    TGwTabSequence Sequence;
    int Target;
    bool AtRight; // the mark stands at the target's right edge, else at its left
};

void PrintTo(const MoveMarkCase& C, std::ostream* os) { *os << C.Name; }

class TabMoveMark : public ::testing::TestWithParam<MoveMarkCase> {};

// Dragging the current tab (1 of 3) over another marks the edge of that tab where the dragged one
// will land: after it when it lies further on, before it otherwise.
TEST_P(TabMoveMark, MarksTheLandingEdge) {
    const MoveMarkCase& c = GetParam();
    TApplication::QtApp();
    TForm form(nullptr);
    auto* tabs = new TDraggedTabs(&form);
    tabs->SetParent(&form);
    tabs->SetBounds(0, 0, 300, 100);
    tabs->SetTabStyle(tsRoundCorners);
    tabs->SetTabSequence(c.Sequence);
    tabs->SetTabWidth(40);
    tabs->SetTabHeight(30);
    tabs->SetAllowTabDragging(true);
    for (const char* caption : {"", "", ""})
        tabs->GetTabCollection()->Add()->SetCaption(caption);
    tabs->SetTabIndex(1);
    TRect target = tabs->TabRect(c.Target);
    bool accept = false;
    tabs->DragOver(tabs, (target.Left + target.Right) / 2, 20, dsDragMove, accept);
    EXPECT_TRUE(accept);
    TPaper paper(300, 100);
    tabs->PaintTo(paper.Canvas());
    // Inside the triangle pointing at the edge (the round style's right edge stands 1 pixel in).
    int right = target.Right - 5, left = target.Left + 4, y = target.Top + 2;
    EXPECT_EQ(paper.At(c.AtRight ? right : left, y), clBlack);
    EXPECT_NE(paper.At(c.AtRight ? left : right, y), clBlack);
    tabs->DragOver(tabs, 290, 90, dsDragLeave, accept);
    tabs->PaintTo(paper.Canvas());
    EXPECT_NE(paper.At(c.AtRight ? right : left, y), clBlack);
}

// Under the reverse sequence the tabs run leftward: further on is to the left.
INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabMoveMark,
                         ::testing::Values(MoveMarkCase{"ForwardAfterTarget", tsStandard, 2, true},
                                           MoveMarkCase{"BackBeforeTarget", tsStandard, 0, false},
                                           MoveMarkCase{"ReverseForwardLeftOfTarget", tsReverse, 2, false},
                                           MoveMarkCase{"ReverseBackRightOfTarget", tsReverse, 0, true}),
                         [](const ::testing::TestParamInfo<MoveMarkCase>& i) {
                             return std::string(i.param.Name);
                         });

// Columns of the dark (caption) pixels inside a rectangle: the first and one past the last.
std::pair<int, int> InkColumns(TPaper& Paper, const TRect& R) {
    int first = R.Right, last = R.Left;
    for (int y = R.Top + 2; y < R.Bottom - 2; ++y)
        for (int x = R.Left + 2; x < R.Right - 2; ++x)
            if (Lightness(Paper.At(x, y)) < 3 * 100) {
                first = std::min(first, x);
                last = std::max(last, x + 1);
            }
    return {first, last};
}

struct ImageCase {
    const char* Name;
    TGwImagePosition Position;
    int RedColumn; // a column of the image tab that shows the image, from its left
};

void PrintTo(const ImageCase& C, std::ostream* os) { *os << C.Name; }

class TabImages : public ::testing::TestWithParam<ImageCase> {};

// Two wide tabs, the first with a red image and no caption, the second with a caption and no image:
// the image stands where its position puts it, and the tab without one places its caption as if
// the control had no images.
TEST_P(TabImages, ImageAndCaptionPlaces) {
    const ImageCase& c = GetParam();
    TStrip s(2);
    s.Fixed(100, 30);
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetHotTrack(false);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetFlatColor(clWhite);
    s.Tabs->GetTabCollection()->GetItem(0)->SetCaption("");
    s.Tabs->GetTabCollection()->GetItem(1)->SetCaption("WW");
    s.Tabs->SetImagePosition(c.Position);
    TPaper plain(300, 100);
    s.Tabs->PaintTo(plain.Canvas());
    std::pair<int, int> alone = InkColumns(plain, s.Tabs->TabRect(1));
    TImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images.Add(&red, nullptr);
    s.Tabs->SetImages(&images);
    s.Tabs->GetTabCollection()->GetItem(0)->SetImageIndex(0);
    TPaper paper(300, 100);
    s.Tabs->PaintTo(paper.Canvas());
    TRect first = s.Tabs->TabRect(0);
    EXPECT_EQ(paper.At(first.Left + c.RedColumn, (first.Top + first.Bottom) / 2), clRed);
    EXPECT_EQ(InkColumns(paper, s.Tabs->TabRect(1)), alone);
    s.Tabs->SetImages(nullptr);
}

// The first tab's face (its image and a margin, 18 wide) is centred in the 100-wide tab: the image
// stands at 41..56 on the left of it, at 43..58 on the right, alone at the centre otherwise.
INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabImages,
                         ::testing::Values(ImageCase{"Left", ipLeft, 42}, ImageCase{"Right", ipRight, 58},
                                           ImageCase{"Back", ipBack, 50},
                                           ImageCase{"Stretch", ipStretch, 50}),
                         [](const ::testing::TestParamInfo<ImageCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(GwTabEngine, HotTabGivesItsHint) {
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->GetTabCollection()->GetItem(1)->SetHint("second");
    inputkit::MouseMove(s.Tabs, 60, 15);
    EXPECT_EQ(s.Tabs->Hint(), "");
    s.Tabs->SetTabHints(true);
    inputkit::MouseMove(s.Tabs, 20, 15);
    inputkit::MouseMove(s.Tabs, 60, 15);
    EXPECT_EQ(s.Tabs->Hint(), "second");
    inputkit::MouseMove(s.Tabs, 250, 80);
    EXPECT_EQ(s.Tabs->Hint(), "");
}

// A handler that paints the background leaves it to itself; tabs and card are drawn over it.
TEST(GwTabEngine, HandledBackgroundIsLeftToTheHandler) {
    TStrip s;
    s.Fixed(40, 30);
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetBackgroundColor(clYellow);
    TRect seen;
    s.Tabs->OnPaintBackground = [&](TObject*, TCanvas*, const TRect& R, bool& Handled) {
        seen = R;
        Handled = true;
    };
    TPaper paper(300, 100);
    paper.Fill(clLime);
    s.Tabs->PaintTo(paper.Canvas());
    EXPECT_EQ(seen, (TRect{0, 0, 301, 101}));
    EXPECT_EQ(paper.At(200, 10), clLime);
    EXPECT_EQ(paper.At(5, 20), clWhite);
    EXPECT_EQ(paper.At(150, 60), clWhite);
}

struct TabShadingCase {
    const char* Name;
    TGwTabOrientation Orientation;
};

void PrintTo(const TabShadingCase& C, std::ostream* os) { *os << C.Name; }

class TabShading : public ::testing::TestWithParam<TabShadingCase> {};

// Tabs other than the current one shade across the row from the shadow colour at their outer edge
// to the unselected colour next to the card.
TEST_P(TabShading, DarkOutsideLightTowardTheCard) {
    const TabShadingCase& c = GetParam();
    TStrip s;
    bool side = c.Orientation == toLeft || c.Orientation == toRight;
    s.Tabs->SetBounds(0, 0, side ? 100 : 300, side ? 300 : 100);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Fixed(40, 30);
    s.Tabs->TabColors()->SetShadow(clBlack);
    s.Tabs->TabColors()->SetUnselected(clWhite);
    TPaper paper(side ? 100 : 300, side ? 300 : 100);
    s.Tabs->PaintTo(paper.Canvas());
    // Away from the caption (the middle) and from the cut corner (the far end of the row).
    TRect t = s.Tabs->TabRect(0);
    TPoint outer, inner;
    switch (c.Orientation) {
    case toTop: outer = {t.Left + 4, t.Top + 3}, inner = {t.Left + 4, t.Bottom - 3}; break;
    case toBottom: outer = {t.Left + 4, t.Bottom - 3}, inner = {t.Left + 4, t.Top + 3}; break;
    case toLeft: outer = {t.Left + 3, t.Bottom - 4}, inner = {t.Right - 3, t.Bottom - 4}; break;
    case toRight: outer = {t.Right - 3, t.Top + 4}, inner = {t.Left + 3, t.Top + 4}; break;
    }
    EXPECT_LT(Lightness(paper.At(outer.x, outer.y)) + 3 * 64, Lightness(paper.At(inner.x, inner.y)));
}

INSTANTIATE_TEST_SUITE_P(GwTabEngine, TabShading,
                         ::testing::Values(TabShadingCase{"Top", toTop}, TabShadingCase{"Bottom", toBottom},
                                           TabShadingCase{"Left", toLeft}, TabShadingCase{"Right", toRight}),
                         [](const ::testing::TestParamInfo<TabShadingCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(GwTabEngine, AcceleratorTextParts) {
    struct {
        const char* Text;
        const char *Before, *Accel, *After;
    } cases[] = {{"&File", "", "F", "ile"},
                 {"Sa&ve as", "Sa", "v", "e as"},
                 {"R&&D", "R&D", "", ""},
                 {"End&", "End", "", ""}};
    for (const auto& c : cases) {
        std::string b, a, r;
        TGwCustomTabControl::SplitAccel(c.Text, b, a, r);
        EXPECT_EQ(b, c.Before) << c.Text;
        EXPECT_EQ(a, c.Accel) << c.Text;
        EXPECT_EQ(r, c.After) << c.Text;
    }
}

// Tabs sized from their captions follow every change of what they measure, and come back to the
// same size when it is undone.
struct RemeasureCase {
    const char* Name;
    std::function<void(TForm&, TGwTabControl*)> Change, Undo;
};

void PrintTo(const RemeasureCase& C, std::ostream* os) { *os << C.Name; }

class TabRemeasure : public ::testing::TestWithParam<RemeasureCase> {};

TEST_P(TabRemeasure, TabsFollowTheChangeAndItsUndo) {
    TStrip s;
    // A face that turns, so vertical text keeps the font.
    s.Form.Font()->SetName("Arial");
    ASSERT_EQ(s.Tabs->Font()->Name(), "Arial");
    s.Tabs->SetTabOrientation(toLeft);
    s.Tabs->SetTabStyle(tsSingleSlant);
    s.Tabs->SetBounds(0, 0, 300, 300);
    s.Tabs->GetTabCollection()->GetItem(0)->SetCaption("Channels");
    std::vector<TRect> before = s.Rects();
    GetParam().Change(s.Form, s.Tabs);
    EXPECT_NE(s.Rects(), before);
    GetParam().Undo(s.Form, s.Tabs);
    EXPECT_EQ(s.Rects(), before);
}

INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabRemeasure,
    ::testing::Values(
        RemeasureCase{"FontSize", [](TForm&, TGwTabControl* t) { t->Font()->SetSize(16); },
                      [](TForm&, TGwTabControl* t) { t->Font()->SetSize(8); }},
        RemeasureCase{"FontStyle", [](TForm&, TGwTabControl* t) { t->Font()->SetStyle(TFontStyles{fsBold}); },
                      [](TForm&, TGwTabControl* t) { t->Font()->SetStyle(TFontStyles{}); }},
        RemeasureCase{"ParentFont",
                      [](TForm& f, TGwTabControl* t) {
                          t->SetParentFont(true);
                          f.Font()->SetSize(16);
                      },
                      [](TForm& f, TGwTabControl*) { f.Font()->SetSize(8); }},
        RemeasureCase{"BoldCurrentTab", [](TForm&, TGwTabControl* t) { t->SetBoldCurrentTab(true); },
                      [](TForm&, TGwTabControl* t) { t->SetBoldCurrentTab(false); }},
        RemeasureCase{
            "Caption",
            [](TForm&, TGwTabControl* t) { t->GetTabCollection()->GetItem(0)->SetCaption("Objects"); },
            [](TForm&, TGwTabControl* t) { t->GetTabCollection()->GetItem(0)->SetCaption("Channels"); }},
        RemeasureCase{"TextOrientation", [](TForm&, TGwTabControl* t) { t->SetTextOrientation(orVertical); },
                      [](TForm&, TGwTabControl* t) { t->SetTextOrientation(orHorizontal); }}),
    [](const ::testing::TestParamInfo<RemeasureCase>& i) { return std::string(i.param.Name); });

TEST(GwTabData, ListMoveRemoveAndAssign) {
    TGwTabDataList list;
    std::vector<TGwTabData*> t;
    for (const char* c : {"0", "1", "2"}) {
        t.push_back(new TGwTabData);
        t.back()->Caption = c;
        list.Add(t.back());
    }
    list.Move(2, 2);
    list.Move(0, 2);
    EXPECT_EQ(list.GetItem(0)->Caption + list.GetItem(1)->Caption + list.GetItem(2)->Caption, "120");
    TGwTabData stranger;
    EXPECT_EQ(list.Remove(&stranger), -1);
    EXPECT_EQ(list.GetCount(), 3);
    t[1]->Row = 4;
    t[1]->Enabled = false;
    TGwTabDataList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.GetItem(0)->Caption, "1");
    EXPECT_FALSE(copy.GetItem(0)->Enabled);
    EXPECT_EQ(copy.GetItem(0)->Row, 0);
}

TEST(GwTabData, RegionCacheCapacity) {
    TGwTabRegionCache cache;
    TRect a{0, 0, 10, 10}, b{10, 0, 20, 10};
    cache.Add(a, CreateRectRgn(0, 0, 10, 10));
    cache.Add(b, CreateRectRgn(10, 0, 20, 10));
    EXPECT_EQ(cache.GetCount(), 1);
    EXPECT_EQ(cache.Find(a), nullptr);
    EXPECT_NE(cache.Find(b), nullptr);
    EXPECT_THROW(cache.SetCapacity(0), EGwTabControlError);
    EXPECT_THROW(cache.SetCapacity(-2), EGwTabControlError);
    cache.SetCapacity(-1);
    for (int i = 0; i < 5; ++i)
        cache.Add(TRect{i, 0, i + 1, 1}, CreateRectRgn(i, 0, i + 1, 1));
    EXPECT_EQ(cache.GetCount(), 6);
}

struct SideCaptionCase {
    const char* Name;
    TGwTabOrientation Orientation;
    TGwTabStyle Style;
    TGwTabSequence Sequence = tsStandard;
    int TabHeight = 0;
};

void PrintTo(const SideCaptionCase& C, std::ostream* os) { *os << C.Name; }

class TabSlantedCaptions : public ::testing::TestWithParam<SideCaptionCase> {};

// The dark pixels of a paper: how many, their bounding box, and how many lie outside Shape.
struct TInk {
    int Count = 0, Outside = 0;
    TRect Box{10000, 10000, -1, -1};
};

TInk InkOf(TPaper& Paper, int W, int H, HRGN Shape) {
    TInk ink;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (Lightness(Paper.At(x, y)) >= 3 * 128)
                continue;
            ++ink.Count;
            ink.Outside += Shape && !PtInRegion(Shape, x, y);
            ink.Box = {std::min<int>(ink.Box.Left, x), std::min<int>(ink.Box.Top, y),
                       std::max<int>(ink.Box.Right, x + 1), std::max<int>(ink.Box.Bottom, y + 1)};
        }
    return ink;
}

// A long caption beside a short one on slanted tabs with horizontal text: each caption is drawn
// whole (as many dark pixels, the same size as on plain paper) and inside its own tab's shape, so
// neither the slant nor the neighbouring tab cuts it. On side tabs the slant runs as deep as the
// longest caption, deeper than a fixed tab height.
TEST_P(TabSlantedCaptions, CaptionsStandWholeInsideTheirTabs) {
    const SideCaptionCase& c = GetParam();
    const int W = 500, H = 800; // room for both tabs, so no scroller covers one
    TStrip s(2);
    s.Tabs->SetBounds(0, 0, W, H);
    s.Tabs->SetTabStyle(c.Style);
    s.Tabs->SetTabOrientation(c.Orientation);
    s.Tabs->SetTabSequence(c.Sequence);
    s.Tabs->SetTabHeight(c.TabHeight);
    const std::string captions[2] = {"Subprogram with a rather long name", "Ab"};
    for (int i = 0; i < 2; ++i)
        s.Tabs->GetTabCollection()->GetItem(i)->SetCaption(captions[i]);
    s.Tabs->SetUseGradients(false);
    s.Tabs->SetHotTrack(false);
    s.Tabs->SetShowShadow(false);
    s.Tabs->SetColor(clWhite);
    s.Tabs->SetFlatColor(clWhite);
    s.Tabs->SetBackgroundColor(clWhite);
    for (int shown = 0; shown < 2; ++shown) {
        SCOPED_TRACE(captions[shown]);
        TPaper plain(W, 100);
        plain.Canvas()->Font()->Assign(*s.Tabs->Font());
        plain.Canvas()->Brush()->SetStyle(bsClear);
        plain.Canvas()->TextOut(10, 10, captions[shown]);
        TInk want = InkOf(plain, W, 100, nullptr);
        ASSERT_GT(want.Count, 0);
        // Only this tab's caption is dark.
        s.Tabs->OnGetTextColor = [shown](TObject*, int Index, TGwTextStyle, TColor& Color, bool& Handled) {
            Color = Index == shown ? clBlack : clWhite;
            Handled = true;
        };
        TPaper paper(W, H);
        s.Tabs->PaintTo(paper.Canvas());
        std::vector<TPoint> pts = s.Tabs->CalcMappedTabRegionPts(shown);
        HRGN shape = CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()));
        TInk got = InkOf(paper, W, H, shape);
        DeleteObject(shape);
        EXPECT_EQ(got.Outside, 0);
        EXPECT_NEAR(got.Count, want.Count, want.Count / 20);
        EXPECT_NEAR(got.Box.Width(), want.Box.Width(), 1);
        EXPECT_NEAR(got.Box.Height(), want.Box.Height(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    GwTabEngine, TabSlantedCaptions,
    ::testing::Values(SideCaptionCase{"LeftSingleSlant", toLeft, tsSingleSlant},
                      SideCaptionCase{"RightSingleSlant", toRight, tsSingleSlant},
                      SideCaptionCase{"LeftReverseFixedHeight", toLeft, tsSingleSlant, tsReverse, 54},
                      SideCaptionCase{"LeftBackSlant", toLeft, tsBackSlant},
                      SideCaptionCase{"LeftDoubleSlant", toLeft, tsDoubleSlant},
                      SideCaptionCase{"TopSingleSlant", toTop, tsSingleSlant},
                      SideCaptionCase{"BottomBackSlant", toBottom, tsBackSlant}),
    [](const ::testing::TestParamInfo<SideCaptionCase>& i) { return std::string(i.param.Name); });

} // namespace
