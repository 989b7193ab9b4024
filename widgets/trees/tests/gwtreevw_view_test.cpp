// The tree views as the user meets them: the frame and the selection outline in pixels, the
// wheel, image queries, node menus from real right clicks and the keyboard, and the check tree's
// boxes (classic and themed images, toggled by real clicks).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Gwthemesrv.h"
#include "Gwtreevw.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "sysinfo.h"
#include "winapi.h"

using namespace gwtests;

namespace {

// A menu that records where it was asked to pop up instead of running its loop.
class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back(TPoint(X, Y)); }
    std::vector<TPoint> Shown;
};

template <class Tree> class TTreeForm {
public:
    TTreeForm() {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 300, 260);
        T->SetParent(&Form);
        T->SetBounds(10, 10, 200, 200);
    }
    ~TTreeForm() { Application->ProcessMessages(); }
    // The control's window drawn into a bitmap: frame and client, where they are on screen.
    void Paint(TPaper& P) { T->PaintTo(P.Canvas(), 0, 0); }
    // Client coordinates in a Paint() picture.
    TPoint InPicture(TPoint Client) {
        const TPoint window = T->Parent()->ClientToScreen(TPoint(T->Left(), T->Top()));
        const TPoint origin = T->ClientOrigin();
        return TPoint(Client.x + origin.x - window.x, Client.y + origin.y - window.y);
    }
    // A real click of Button at a client point, through the view as the mouse sends it.
    void Click(inputkit::TButton Button, TPoint Client) { inputkit::Click(T, Client.x, Client.y, Button); }
    TForm Form{nullptr};
    Tree* T = new Tree(&Form);
};

// ---------------------------------------------------------------- frame

enum TVia { viaNone, viaFocus, viaMouse };
struct TFrameCase {
    const char* Name;
    bool Visible, HotTrack;
    TVia Via;
    TColor Outer, Inner; // pixels 0 and 1 in from the left edge; clNone: not the frame colour
};

void PrintTo(const TFrameCase& c, std::ostream* os) { *os << c.Name; }

class GwTreeFrame : public ::testing::TestWithParam<TFrameCase> {};

TEST_P(GwTreeFrame, IsPaintedInTheNormalOrHotLook) {
    const TFrameCase& c = GetParam();
    TTreeForm<TGwTreeView> f;
    f.T->SetFramingPreference(fpCustomFraming);
    f.T->SetFrameColor(clRed);
    f.T->SetFrameHotColor(clBlue);
    f.T->SetFrameVisible(c.Visible);
    f.T->SetFrameHotTrack(c.HotTrack);
    f.T->SetFrameVisible(c.Visible);
    f.Form.Show();
    // Each case starts from a known state, whatever focus and pointer showing the form gave the
    // tree: the table checks the look of each state, not the way into it.
    f.T->Perform(CM_EXIT);
    f.T->Perform(CM_MOUSELEAVE);
    if (c.Via == viaFocus)
        f.T->Perform(CM_ENTER);
    if (c.Via == viaMouse)
        f.T->Perform(CM_MOUSEENTER);
    TPaper p(f.T->Width(), f.T->Height());
    f.Paint(p);
    auto frameColour = [](TColor At) { return At == clRed || At == clBlue ? At : clNone; };
    EXPECT_EQ(frameColour(p.At(0, 100)), c.Outer);
    EXPECT_EQ(frameColour(p.At(1, 100)), c.Inner);
    EXPECT_EQ(frameColour(p.At(199, 100)), c.Outer) << "the right side";
}

INSTANTIATE_TEST_SUITE_P(
    Looks, GwTreeFrame,
    ::testing::Values(TFrameCase{"Hidden", false, false, viaNone, clNone, clNone},
                      TFrameCase{"Flat", true, false, viaNone, clRed, clNone},
                      TFrameCase{"FlatWhileFocusedWithoutHotTracking", true, false, viaFocus, clRed, clNone},
                      TFrameCase{"HotTrackedIdle", true, true, viaNone, clRed, clNone},
                      TFrameCase{"HotTrackedFocusedIsBold", true, true, viaFocus, clBlue, clBlue},
                      TFrameCase{"HotTrackedUnderTheMouseIsBold", true, true, viaMouse, clBlue, clBlue}),
    [](const ::testing::TestParamInfo<TFrameCase>& i) { return std::string(i.param.Name); });

TEST(GwTreeView, FrameSidesLeftOutAreNotDrawn) {
    TTreeForm<TGwTreeView> f;
    f.T->SetFramingPreference(fpCustomFraming);
    f.T->SetFrameColor(clRed);
    f.T->SetFrameVisible(true);
    f.T->SetFrameSides(TSides{sdTop, sdBottom});
    f.Form.Show();
    TPaper p(f.T->Width(), f.T->Height());
    f.Paint(p);
    EXPECT_EQ(p.At(100, 0), clRed);
    EXPECT_NE(p.At(0, 100), clRed);
}

// ---------------------------------------------------------------- selection outline

struct TOutlineCase {
    const char* Name;
    bool Focused, HideSelection, Drawn;
};

void PrintTo(const TOutlineCase& c, std::ostream* os) { *os << c.Name; }

class GwTreeOutline : public ::testing::TestWithParam<TOutlineCase> {};

TEST_P(GwTreeOutline, SurroundsTheSelectedTextOnlyWhileUnfocusedAndShown) {
    const TOutlineCase& c = GetParam();
    TTreeForm<TGwTreeView> f;
    f.T->Items()->Add(nullptr, "first");
    TTreeNode* second = f.T->Items()->Add(nullptr, "second");
    TPen pen;
    pen.SetColor(clRed);
    f.T->SetSelectionPen(pen);
    f.T->HideSelection = c.HideSelection;
    f.Form.Show();
    f.T->SetSelected(second);
    // The focus state as its message gives it, whatever showing the form did: the table checks
    // the outline of each state, not the way into it.
    f.T->Perform(c.Focused ? CM_ENTER : CM_EXIT);
    const TRect r = second->DisplayRect(true);
    TPaper p(f.T->Width(), f.T->Height());
    f.Paint(p);
    const TPoint left = f.InPicture(TPoint(r.Left, r.Top + r.Height() / 2));
    const TPoint bottom = f.InPicture(TPoint(r.Left + r.Width() / 2, r.Bottom - 1));
    EXPECT_EQ(p.At(left.x, left.y) == clRed, c.Drawn);
    EXPECT_EQ(p.At(bottom.x, bottom.y) == clRed, c.Drawn);
    const TPoint inside = f.InPicture(TPoint(r.Left + 1, r.Top + 1));
    EXPECT_NE(p.At(inside.x, inside.y), clRed) << "a hollow rectangle";
}

INSTANTIATE_TEST_SUITE_P(States, GwTreeOutline,
                         ::testing::Values(TOutlineCase{"UnfocusedShowingSelection", false, false, true},
                                           TOutlineCase{"Focused", true, false, false},
                                           TOutlineCase{"UnfocusedHidingSelection", false, true, false}),
                         [](const ::testing::TestParamInfo<TOutlineCase>& i) {
                             return std::string(i.param.Name);
                         });

// ---------------------------------------------------------------- wheel and images

TEST(GwTreeView, TheWheelMovesTheTopRowByTheSystemLinesAndStopsAtTheTop) {
    TTreeForm<TGwTreeView> f;
    for (int i = 0; i < 60; ++i)
        f.T->Items()->Add(nullptr, "row " + IntToStr(i));
    f.Form.Show();
    const int lines = Mouse->WheelScrollLines();
    const TPoint at = f.T->ClientToScreen(TPoint(20, 20));
    auto wheel = [&](int Delta) { inputkit::Wheel(f.T, 20, 20, Delta / 120); };
    // Sent, for the message's own answer.
    EXPECT_NE(f.T->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), MAKELPARAM(at.x, at.y)), 0) << "handled";
    EXPECT_EQ(GetScrollPos(f.T->Handle(), SB_VERT), lines);
    wheel(-120);
    wheel(120);
    EXPECT_EQ(GetScrollPos(f.T->Handle(), SB_VERT), lines);
    wheel(120);
    wheel(120);
    EXPECT_EQ(GetScrollPos(f.T->Handle(), SB_VERT), 0);
    // A handler that takes the wheel itself keeps the rows where they are.
    f.T->OnMouseWheelDown = [](TObject*, TShiftState, TPoint, bool& Handled) { Handled = true; };
    wheel(-120);
    EXPECT_EQ(GetScrollPos(f.T->Handle(), SB_VERT), 0);
}

TEST(GwTreeView, EachImageQueryRaisesTheImageEventsOnce) {
    TTreeForm<TGwTreeView> f;
    TTreeNode* a = f.T->Items()->Add(nullptr, "a");
    f.T->Items()->AddChild(a, "b");
    int image = 0, selected = 0;
    f.T->OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        ++image;
        n->SetImageIndex(0);
    };
    f.T->OnGetSelectedIndex = [&](TObject*, TTreeNode*) { ++selected; };
    TImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    f.T->SetImages(&images);
    EXPECT_EQ(image, 2);
    EXPECT_EQ(selected, 2);
    f.T->SetImages(nullptr);
}

// ---------------------------------------------------------------- node menus

TEST(GwTreeView, ARightClickShowsTheClickedNodesMenuOnceAtTheMouse) {
    TTreeForm<TGwTreeView> f;
    TTreeNode* first = f.T->Items()->Add(nullptr, "first");
    TTreeNode* second = f.T->Items()->Add(nullptr, "second");
    auto* own = new TRecordingMenu(&f.Form);
    auto* nodeMenu = new TRecordingMenu(&f.Form);
    f.T->SetPopupMenu(own);
    f.T->RightClickSelect = true;
    std::vector<std::string> asked;
    f.T->OnNodeContextMenu = [&](TObject*, TTreeNode* Node, TPoint&, TPopupMenu*& Menu) {
        asked.push_back((Node ? Node->Text() : "none") + " / " +
                        (f.T->GetSelected() ? f.T->GetSelected()->Text() : "none"));
        if (Node)
            Menu = nodeMenu;
    };
    f.Form.Show();
    f.T->SetSelected(first);
    const TRect r = second->DisplayRect(true);
    const TPoint at(r.Left + 3, r.Top + r.Height() / 2);
    f.Click(inputkit::Right, at);
    ASSERT_EQ(nodeMenu->Shown.size(), 1u);
    EXPECT_EQ(nodeMenu->Shown[0], f.T->ClientToScreen(at));
    EXPECT_TRUE(own->Shown.empty()) << "the tree's own menu does not follow the node's";
    EXPECT_FALSE(f.T->ContextMenuHandled());
    // The keyboard's menu key: the selected node's menu at the middle of its text.
    f.T->SetSelected(first);
    inputkit::Press(f.T, inputkit::Key::Menu);
    ASSERT_EQ(nodeMenu->Shown.size(), 2u);
    const TRect t = first->DisplayRect(true);
    EXPECT_EQ(nodeMenu->Shown[1],
              f.T->ClientToScreen(TPoint(t.Left + t.Width() / 2, t.Top + t.Height() / 2)));
    // Below every node with nothing selected: the tree's own menu at the mouse.
    f.T->RightClickSelect = false;
    f.T->SetSelected(nullptr);
    f.Click(inputkit::Right, TPoint(20, 150));
    ASSERT_EQ(own->Shown.size(), 1u);
    EXPECT_EQ(own->Shown[0], f.T->ClientToScreen(TPoint(20, 150)));
    EXPECT_EQ(asked, (std::vector<std::string>{"second / second", "first / first", "none / none"}));
}

// ---------------------------------------------------------------- check tree boxes

TEST(GwCheckTree, ClassicImagesShowAnEmptyATickedAndAMixedBox) {
    TTreeForm<TGwCheckTree> f;
    f.T->SetFrameColor(clRed);
    f.T->SetHighlightColor(clBlue);
    TImageList* images = f.T->CheckImages();
    ASSERT_EQ(images->Count(), 4);
    std::vector<int> blue;
    for (int i = 0; i < 4; ++i) {
        TPaper p(16, 16);
        images->Draw(p.Canvas(), 0, 0, i);
        SCOPED_TRACE(i);
        EXPECT_EQ(p.At(0, 0), clWhite) << "the olive corner is transparent";
        EXPECT_EQ(p.At(2, 8), clRed) << "the box's frame";
        int n = 0;
        for (int x = 4; x < 13; ++x)
            for (int y = 4; y < 13; ++y)
                n += p.At(x, y) == clBlue;
        blue.push_back(n);
    }
    EXPECT_EQ(blue[0], 0);
    EXPECT_EQ(blue[1], 0);
    EXPECT_GT(blue[2], 0);
    EXPECT_NE(blue[3], blue[2]) << "mixed is not checked";
}

TEST(GwCheckTree, WithVisualStylesTheBoxesAreTheThemedCheckBoxParts) {
    RecordThemes();
    {
        TTreeForm<TGwCheckTree> f;
        ASSERT_EQ(gDrawn.size(), 4u);
        const int states[] = {1, 1, 5, 9}; // unchecked, unchecked, checked, mixed; all normal
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(gDrawn[size_t(i)].Part, 3) << "the check box part";
            EXPECT_EQ(gDrawn[size_t(i)].State, states[i]);
        }
    }
    StopRecordingThemes();
}

TEST(GwCheckTree, AClickOnTheBoxTogglesTheNodeAndAClickOnTheTextDoesNot) {
    TTreeForm<TGwCheckTree> f;
    TTreeNode* top = f.T->Items()->Add(nullptr, "top");
    TTreeNode* child = f.T->Items()->AddChild(top, "child");
    f.T->ShowNewNodesUnchecked();
    f.Form.Show();
    top->Expand(false);
    int clicks = 0;
    f.T->OnClick = [&](TObject*) { ++clicks; };
    const TRect r = child->DisplayRect(true);
    f.Click(inputkit::Left, TPoint(r.Left + 5, r.Top + r.Height() / 2));
    EXPECT_EQ(f.T->Selected(), child);
    EXPECT_EQ(TGwCheckTree::NodeState(child), csUnchecked);
    f.Click(inputkit::Left, TPoint(r.Left - 8, r.Top + r.Height() / 2));
    EXPECT_EQ(TGwCheckTree::NodeState(child), csChecked);
    EXPECT_EQ(TGwCheckTree::NodeState(top), csChecked) << "the cascade";
    EXPECT_EQ(clicks, 2) << "the tree's click event follows the user's clicks";
}

} // namespace
