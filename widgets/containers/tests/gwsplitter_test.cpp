// Splitter: pane layout, position limits, percentages and fixed panes across resizes, dragging by
// mouse messages, Escape, the hot spot in both directions.
#include <gtest/gtest.h>

#include <climits>

#include "Gwsplit.h"
#include "dragdock.h"
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

struct TFixture {
    TApp App;
    TForm Form{nullptr};
    TGwSplitter Splitter{&Form};
    TFixture() {
        Form.SetBounds(0, 0, 600, 400);
        Splitter.SetParent(&Form);
        Splitter.SetBounds(10, 10, 200, 100);
    }
    void Press(int X, int Y) { inputkit::MouseDown(&Splitter, X, Y); }
    void Move(int X, int Y) { inputkit::MouseMove(&Splitter, X, Y, inputkit::Left); }
    void Release(int X, int Y) { inputkit::MouseUp(&Splitter, X, Y); }
};

TRect BoundsOf(TControl* C) {
    return TRect(C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
}

struct TLimitCase {
    const char* Name;
    int Width;
    int SplitterWidth;
    int MarginMin, MarginMax;
    TFrameStyleEx Outer;
    int Asked;
    int Expected;
};
void PrintTo(const TLimitCase& c, std::ostream* os) { *os << c.Name; }

class SplitterLimits : public testing::TestWithParam<TLimitCase> {};

TEST_P(SplitterLimits, PositionStaysBetweenTheMargins) {
    const TLimitCase& c = GetParam();
    TFixture f;
    f.Splitter.SetWidth(c.Width);
    f.Splitter.SetSplitterWidth(c.SplitterWidth);
    f.Splitter.SetBorderOuter(c.Outer);
    f.Splitter.SetMarginMin(c.MarginMin);
    f.Splitter.SetMarginMax(c.MarginMax);
    f.Splitter.SetPosition(c.Asked);
    EXPECT_EQ(f.Splitter.Position(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitterLimits,
    testing::Values(TLimitCase{"PastTheFarEnd", 200, 4, 0, 0, fsNone, 300, 196},
                    TLimitCase{"MarginMaxLeavesRoom", 200, 4, 0, 30, fsNone, 300, 166},
                    TLimitCase{"MarginMinHoldsTheStart", 200, 4, 20, 0, fsNone, 5, 20},
                    // A 2-pixel frame on the left and top counts twice on each side of the limit.
                    TLimitCase{"RaisedFrame", 200, 4, 0, 0, fsRaised, 300, 188},
                    // Narrower than its bar: the upper-left pane is empty, never negative.
                    TLimitCase{"NarrowerThanTheBar", 3, 4, 0, 0, fsNone, 50, 0}),
    [](const testing::TestParamInfo<TLimitCase>& i) { return std::string(i.param.Name); });

TEST(Splitter, PanesAndBarShareTheClientArea) {
    TFixture f;
    f.Splitter.SetPosition(60);
    EXPECT_EQ(BoundsOf(f.Splitter.UpperLeftPane()), TRect(0, 0, 60, 100));
    EXPECT_EQ(f.Splitter.BarRect(), TRect(60, 0, 64, 100));
    EXPECT_EQ(BoundsOf(f.Splitter.LowerRightPane()), TRect(64, 0, 200, 100));
    f.Splitter.SetOrientation(orVertical);
    EXPECT_EQ(BoundsOf(f.Splitter.UpperLeftPane()), TRect(0, 0, 200, 60));
    EXPECT_EQ(BoundsOf(f.Splitter.LowerRightPane()), TRect(0, 64, 200, 100));
    // With one pane hidden the other fills the client area, the bar is gone and nothing limits.
    f.Splitter.UpperLeft()->SetVisible(false);
    EXPECT_EQ(BoundsOf(f.Splitter.LowerRightPane()), TRect(0, 0, 200, 100));
    EXPECT_TRUE(f.Splitter.BarRect().IsEmpty());
    f.Splitter.SetPosition(1000);
    EXPECT_EQ(f.Splitter.Position(), 1000);
}

TEST(Splitter, ResizeKeepsPercentFixedPaneAndTheDraggedPosition) {
    {
        TFixture f;
        f.Splitter.SetUsePercent(true);
        f.Splitter.SetPercent(49);
        f.Splitter.SetPercent(50);
        EXPECT_EQ(f.Splitter.Position(), 99);
        f.Splitter.SetWidth(400);
        EXPECT_EQ(f.Splitter.Position(), 199);
    }
    {
        TFixture f;
        f.Splitter.SetPosition(120);
        f.Splitter.SetFixedPane(fpLowerRight);
        f.Splitter.SetWidth(300);
        EXPECT_EQ(f.Splitter.LowerRightPane()->Width(), 200 - 124);
    }
    {
        // A shrink held the bar at MarginMin; growing again gives the lower-right pane back the
        // extent the user chose.
        TFixture f;
        f.Splitter.SetFixedPane(fpLowerRight);
        f.Splitter.SetMarginMin(50);
        f.Splitter.SetLockedPosition(120);
        f.Splitter.SetWidth(100);
        EXPECT_EQ(f.Splitter.Position(), 50);
        f.Splitter.SetWidth(300);
        EXPECT_EQ(f.Splitter.Position(), 220);
    }
    {
        TFixture f;
        f.Splitter.SetLockedPosition(150);
        f.Splitter.SetWidth(100);
        EXPECT_EQ(f.Splitter.Position(), 96);
        f.Splitter.SetWidth(300);
        EXPECT_EQ(f.Splitter.Position(), 150);
    }
}

TEST(Splitter, DragMovesOnReleaseAndAVetoKeepsThePosition) {
    TFixture f;
    f.Form.Show();
    int changes = 0;
    f.Splitter.OnChange = [&](TObject*) { ++changes; };
    f.Press(101, 50);
    f.Move(131, 50);
    EXPECT_EQ(f.Splitter.Position(), 100);
    f.Release(131, 50);
    EXPECT_EQ(f.Splitter.Position(), 130);
    EXPECT_FALSE(f.Splitter.OutlineHeld());
    EXPECT_EQ(changes, 1);
    f.Splitter.OnChanging = [](TObject*, int, bool& allow) { allow = false; };
    f.Splitter.SetPosition(40);
    EXPECT_EQ(f.Splitter.Position(), 130);
}

TEST(Splitter, RealTimeDragMovesTheBarWithThePointerAndDrawsNoOutline) {
    TFixture f;
    f.Splitter.RealTimeDrag = true;
    f.Form.Show();
    f.Press(101, 50);
    f.Move(131, 50);
    EXPECT_EQ(f.Splitter.Position(), 130);
    EXPECT_EQ(f.Splitter.UpperLeftPane()->Width(), 130);
    EXPECT_FALSE(f.Splitter.OutlineHeld());
    f.Move(500, 50);
    EXPECT_EQ(f.Splitter.Position(), 196);
    f.Release(500, 50);
    EXPECT_EQ(f.Splitter.Position(), 196);
    // The dragged place is the one a resize comes back to.
    f.Splitter.SetWidth(120);
    f.Splitter.SetWidth(300);
    EXPECT_EQ(f.Splitter.Position(), 196);
}

TEST(Splitter, EscapeKeepsThePositionAndLetsTheOutlineGo) {
    TFixture f;
    f.Form.Show();
    f.Press(101, 50);
    f.Move(150, 50);
    ASSERT_TRUE(f.Splitter.OutlineHeld());
    inputkit::Press(&f.Splitter, inputkit::Key::Escape);
    EXPECT_FALSE(f.Splitter.Sizing());
    EXPECT_FALSE(f.Splitter.OutlineHeld());
    f.Release(150, 50);
    EXPECT_EQ(f.Splitter.Position(), 100);
}

TEST(Splitter, HotSpotWithBothDirectionsCollapsesTowardsTheClickedHalf) {
    TFixture f;
    f.Splitter.SetHotSpotVisible(true);
    EXPECT_EQ(f.Splitter.SplitterWidth(), 7);
    f.Splitter.SetHotSpotDirection(hsdBoth);
    f.Form.Show();
    int clicks = 0;
    f.Splitter.OnHotSpotClick = [&](TObject*) { ++clicks; };
    auto click = [&](bool Lower) {
        const TRect h = f.Splitter.HotSpotRect();
        const int x = h.Left + 2, y = Lower ? h.Bottom - 3 : h.Top + 3;
        f.Press(x, y);
        f.Release(x, y);
    };
    click(true);
    EXPECT_TRUE(f.Splitter.HotSpotClosedToMax());
    EXPECT_EQ(f.Splitter.Position(), 200 - 7);
    EXPECT_EQ(f.Splitter.HotSpotPosition(), 100);
    click(true);
    EXPECT_FALSE(f.Splitter.HotSpotClosed());
    EXPECT_EQ(f.Splitter.Position(), 100);
    click(false);
    EXPECT_TRUE(f.Splitter.HotSpotClosedToMin());
    EXPECT_EQ(f.Splitter.Position(), 0);
    EXPECT_EQ(clicks, 3);
    // Dragging after a collapse opens it.
    f.Press(2, 5);
    f.Move(40, 5);
    f.Release(40, 5);
    EXPECT_FALSE(f.Splitter.HotSpotClosed());
}

enum TDockEventKind { dkGetSiteInfo, dkDockOver, dkDockDrop, dkUnDock };

struct TDockEventCase {
    const char* Name;
    int Pane;
    TDockEventKind Kind;
};
void PrintTo(const TDockEventCase& c, std::ostream* os) { *os << c.Name; }

class SplitterDocking : public testing::TestWithParam<TDockEventCase> {};

// Each pane event reaches only its own splitter event, with the splitter as sender, the arguments
// as they came and the handler's answer going back.
TEST_P(SplitterDocking, PaneEventsReachTheSplittersOwn) {
    const TDockEventCase& c = GetParam();
    TFixture f;
    TPanel client(&f.Form);
    client.SetParent(&f.Form);
    client.SetBounds(300, 0, 40, 30);
    std::vector<std::string> seen;
    auto note = [&](const char* Name, TObject* Sender, int X) {
        seen.push_back(std::string(Name) + (Sender == &f.Splitter ? "" : " from elsewhere") +
                       (X == 7 ? "" : " at another place"));
    };
    auto siteInfo = [&](const char* Name) {
        return [&, Name](TObject* S, TControl*, TRect&, TPoint P, bool& CanDock) {
            note(Name, S, P.x);
            CanDock = false;
        };
    };
    auto dockOver = [&](const char* Name) {
        return [&, Name](TObject* S, TDragDockObject*, int X, int, TDragState, bool& Accept) {
            note(Name, S, X);
            Accept = false;
        };
    };
    auto dockDrop = [&](const char* Name) {
        return [&, Name](TObject* S, TDragDockObject*, int X, int) { note(Name, S, X); };
    };
    auto unDock = [&](const char* Name) {
        return [&, Name](TObject* S, TControl* Client, TWinControl*, bool& Allow) {
            note(Name, S, Client == &client ? 7 : 0);
            Allow = false;
        };
    };
    f.Splitter.OnULGetSiteInfo = siteInfo("UpperLeftGetSiteInfo");
    f.Splitter.OnLRGetSiteInfo = siteInfo("LowerRightGetSiteInfo");
    f.Splitter.OnULDockOver = dockOver("UpperLeftDockOver");
    f.Splitter.OnLRDockOver = dockOver("LowerRightDockOver");
    f.Splitter.OnULDockDrop = dockDrop("UpperLeftDockDrop");
    f.Splitter.OnLRDockDrop = dockDrop("LowerRightDockDrop");
    f.Splitter.OnULUnDock = unDock("UpperLeftUnDock");
    f.Splitter.OnLRUnDock = unDock("LowerRightUnDock");

    TGwSplitterPane* pane = c.Pane == 0 ? f.Splitter.UpperLeftPane() : f.Splitter.LowerRightPane();
    TDragDockObject source(&client);
    bool answer = true;
    switch (c.Kind) {
    case dkGetSiteInfo: {
        TRect influence;
        pane->GetSiteInfo(&client, influence, TPoint(7, 7), answer);
        break;
    }
    case dkDockOver: pane->DockOver(&source, 7, 7, dsDragMove, answer); break;
    case dkDockDrop:
        pane->DockDrop(&source, 7, 7);
        answer = false;
        break;
    case dkUnDock: answer = pane->DoUnDock(nullptr, &client); break;
    }
    EXPECT_EQ(seen, std::vector<std::string>{c.Name});
    EXPECT_FALSE(answer);
}

INSTANTIATE_TEST_SUITE_P(Events, SplitterDocking,
                         testing::Values(TDockEventCase{"UpperLeftGetSiteInfo", 0, dkGetSiteInfo},
                                         TDockEventCase{"LowerRightGetSiteInfo", 1, dkGetSiteInfo},
                                         TDockEventCase{"UpperLeftDockOver", 0, dkDockOver},
                                         TDockEventCase{"LowerRightDockOver", 1, dkDockOver},
                                         TDockEventCase{"UpperLeftDockDrop", 0, dkDockDrop},
                                         TDockEventCase{"LowerRightDockDrop", 1, dkDockDrop},
                                         TDockEventCase{"UpperLeftUnDock", 0, dkUnDock},
                                         TDockEventCase{"LowerRightUnDock", 1, dkUnDock}),
                         [](const testing::TestParamInfo<TDockEventCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(Splitter, FramesAndTheBorderWidthMoveThePanesInside) {
    TFixture f;
    f.Splitter.SetPosition(60);
    f.Splitter.SetBorderOuter(fsRaised);
    EXPECT_EQ(BoundsOf(f.Splitter.UpperLeftPane()), TRect(2, 2, 62, 98));
    EXPECT_EQ(f.Splitter.BarRect(), TRect(62, 2, 66, 98));
    f.Splitter.SetBorderOuter(fsNone);
    f.Splitter.SetBorderSides(TSides{sdLeft});
    f.Splitter.SetBorderInner(fsFlat);
    EXPECT_EQ(BoundsOf(f.Splitter.UpperLeftPane()), TRect(1, 0, 61, 100));
    // Transparency and the parent's colour are the panes' too.
    f.Splitter.SetTransparent(true);
    f.Splitter.SetParentColor(true);
    for (TGwSplitterPane* pane : {f.Splitter.UpperLeftPane(), f.Splitter.LowerRightPane()}) {
        EXPECT_TRUE(pane->Transparent());
        EXPECT_TRUE(pane->ParentColor());
    }
}

TEST(Splitter, TheDesignerPassesTheBarsMouseUnlessShiftAndCtrlAreHeld) {
    TFixture f;
    f.Splitter.SetPosition(60);
    auto hit = [&](int X, WPARAM Keys) {
        return f.Splitter.Perform(CM_DESIGNHITTEST, Keys, MAKELPARAM(X, 50));
    };
    EXPECT_EQ(hit(61, 0), 1);
    EXPECT_EQ(hit(61, MK_SHIFT), 1);
    EXPECT_EQ(hit(61, MK_SHIFT | MK_CONTROL), 0);
    EXPECT_EQ(hit(20, 0), 0);
}

enum TCollapse { clOpen, clToMin, clToMax };
enum TArrowWay { awMin, awMax };

struct THotSpotCase {
    const char* Name;
    THotSpotDirection Direction;
    TCollapse Collapse;
    TArrowWay First, Second;
};
void PrintTo(const THotSpotCase& c, std::ostream* os) { *os << c.Name; }

class SplitterHotSpot : public testing::TestWithParam<THotSpotCase> {};

// The arrows point the way the next click moves the bar. A left arrow's base lies right of its tip:
// its corner (x + 1, y - 2) is inked, a right arrow's (x - 1, y - 2).
TEST_P(SplitterHotSpot, ArrowsPointWhereTheNextClickGoes) {
    const THotSpotCase& c = GetParam();
    TFixture f;
    f.Splitter.SetHotSpotVisible(true);
    f.Splitter.SetHotSpotDirection(c.Direction);
    f.Splitter.SetHotSpotDotColor(clBlue);
    if (c.Collapse != clOpen)
        f.Splitter.CloseHotSpot(c.Collapse == clToMin);
    TPaper paper(200, 100);
    f.Splitter.Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
    const TRect h = f.Splitter.HotSpotRect();
    const int cx = h.Left + h.Width() / 2;
    const std::string ink = TPaper::Hex(clBlue);
    auto way = [&](int Y) {
        const bool left = TPaper::Hex(paper.At(cx + 1, Y - 2)) == ink;
        const bool right = TPaper::Hex(paper.At(cx - 1, Y - 2)) == ink;
        return left && !right ? "min" : right && !left ? "max" : "unclear";
    };
    EXPECT_STREQ(way(h.Top + 8), c.First == awMin ? "min" : "max");
    EXPECT_STREQ(way(h.Bottom - 8), c.Second == awMin ? "min" : "max");
}

INSTANTIATE_TEST_SUITE_P(States, SplitterHotSpot,
                         testing::Values(THotSpotCase{"MinOpen", hsdMin, clOpen, awMin, awMin},
                                         THotSpotCase{"MinCollapsed", hsdMin, clToMin, awMax, awMax},
                                         THotSpotCase{"MaxOpen", hsdMax, clOpen, awMax, awMax},
                                         THotSpotCase{"MaxCollapsed", hsdMax, clToMax, awMin, awMin},
                                         THotSpotCase{"BothOpen", hsdBoth, clOpen, awMin, awMax},
                                         THotSpotCase{"BothCollapsedToMin", hsdBoth, clToMin, awMax, awMax},
                                         THotSpotCase{"BothCollapsedToMax", hsdBoth, clToMax, awMin, awMin}),
                         [](const testing::TestParamInfo<THotSpotCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(Splitter, PaneDataOutOfRangeIsAnError) {
    TFixture f;
    EXPECT_THROW(f.Splitter.GetPaneData(2), Exception);
    f.Splitter.UpperLeft()->SetColor(clRed);
    f.Splitter.SetPaneData(1, f.Splitter.UpperLeft());
    EXPECT_EQ(f.Splitter.LowerRightPane()->Color(), clRed);
}

} // namespace
