// Toolbar layout (rows, wrap, auto-resize), text options, the layout kept in the settings store,
// the customising dialog's list and buttons, and the status bar's panes, simple mode and grip.
#include <gtest/gtest.h>

#include <functional>

#include "Gwbars.h"
#include "Gwtoolbarform.h"
#include "actlist.h"
#include "buttons.h"
#include "forms.h"
#include "inputkit.h"
#include "menus.h"
#include "stdctrls.h"
#include "sysinfo.h"
#include "tempfolder.h"
#include "winapi.h"

namespace {

struct TApp {
    TApp() { TApplication::QtApp(); }
};

std::string TempIni(const std::string& Tag) {
    static testsupport::TempFolder folder("gw-bars-");
    return folder.File(Tag + ".ini");
}

// A form with a toolbar holding Count panels of Size x Size, named C0, C1, ...
struct TToolbarFixture {
    TApp App;
    TForm Form{nullptr};
    TGwToolbar* Bar = new TGwToolbar(&Form);
    std::vector<TPanel*> Items;
    TToolbarFixture(int Count, int Size = 25) {
        Form.SetBounds(0, 0, 400, 300);
        Bar->SetName("MainBar");
        Bar->SetParent(&Form);
        for (int i = 0; i < Count; ++i) {
            auto* p = new TPanel(&Form);
            p->SetName("C" + std::to_string(i));
            p->SetBounds(0, 0, Size, Size);
            p->SetParent(Bar);
            Items.push_back(p);
        }
        Bar->PositionControls();
    }
    std::string Order() {
        std::string s;
        for (int i = 0; i < Bar->ToolbarControls()->Count(); ++i)
            s += (s.empty() ? "" : " ") + Bar->ToolbarControls()->Items(i).Name;
        return s;
    }
};

struct TLayoutCase {
    const char* Name;
    TOrientation Orientation;
    TAlign Align;
    int Extent; // width for a horizontal toolbar, height for a vertical one
    int Count;
    TPoint Last;   // where the last control lands
    TSize BarSize; // the toolbar's size afterwards
};
void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.Name; }

class ToolbarLayout : public testing::TestWithParam<TLayoutCase> {};

TEST_P(ToolbarLayout, RowsWrapAndTheBarFitsThem) {
    const TLayoutCase& c = GetParam();
    TToolbarFixture f(c.Count);
    f.Bar->SetOrientation(c.Orientation);
    f.Bar->SetAlign(c.Align);
    if (c.Align == alNone)
        f.Bar->SetBounds(0, 0, c.Orientation == orHorizontal ? c.Extent : 32,
                         c.Orientation == orHorizontal ? 32 : c.Extent);
    else if (c.Orientation == orHorizontal)
        f.Form.SetClientWidth(c.Extent);
    else
        f.Form.SetClientHeight(c.Extent);
    f.Bar->PositionControls();
    EXPECT_EQ(TPoint(f.Items.back()->Left(), f.Items.back()->Top()), c.Last);
    EXPECT_EQ(f.Bar->Width(), c.BarSize.cx);
    EXPECT_EQ(f.Bar->Height(), c.BarSize.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolbarLayout,
    testing::Values(
        // 4 + 3 x 25 = 79 fits in 100 - 4; the fourth wraps to row 2: top 25 + 2 + 12 - 12.
        TLayoutCase{"HorizontalTopTwoRows", orHorizontal, alTop, 100, 4, TPoint(4, 27), TSize{100, 54}},
        TLayoutCase{"HorizontalOneRow", orHorizontal, alTop, 200, 4, TPoint(79, 2), TSize{200, 29}},
        // Columns of 25: 2 per 60-high column, three columns: 3 x 25 + 2 + 2 wide.
        TLayoutCase{"VerticalLeftThreeColumns", orVertical, alLeft, 60, 6, TPoint(54, 29), TSize{79, 60}},
        // Unaligned vertical toolbar grows to the last control's end.
        TLayoutCase{"VerticalUnalignedOneColumn", orVertical, alNone, 300, 3, TPoint(4, 54), TSize{32, 83}}),
    [](const testing::TestParamInfo<TLayoutCase>& i) { return std::string(i.param.Name); });

TEST(Toolbar, TextOptionsSetButtonsRowsAndCaptions) {
    struct Row {
        TGwToolbarTextOptions Options;
        TButtonLayout Layout;
        int Width, Height;
        bool Captions;
        int RowHeight;
    } rows[] = {{ttoShowTextLabels, blGlyphTop, 60, 40, true, 40},
                {ttoSelectiveTextOnRight, blGlyphLeft, 60, 25, true, 25},
                {ttoNoTextLabels, blGlyphLeft, 25, 25, false, 25}};
    TToolbarFixture f(0);
    auto* button = new TGwToolbarButton(&f.Form);
    button->SetParent(f.Bar);
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.Options));
        f.Bar->SetTextOptions(r.Options);
        EXPECT_EQ(f.Bar->TextOptions(), r.Options);
        EXPECT_EQ(f.Bar->ButtonLayout(), r.Layout);
        EXPECT_EQ(f.Bar->ButtonWidth(), r.Width);
        EXPECT_EQ(f.Bar->ButtonHeight(), r.Height);
        EXPECT_EQ(f.Bar->ShowButtonCaptions(), r.Captions);
        EXPECT_EQ(f.Bar->RowHeight(), r.RowHeight);
        EXPECT_EQ(button->Width(), r.Width);
        EXPECT_EQ(button->Layout(), r.Captions && r.Height >= 31 ? blGlyphTop : blGlyphLeft);
    }
    f.Bar->SetButtonWidth(33);
    EXPECT_EQ(f.Bar->TextOptions(), ttoCustom);
}

TEST(Toolbar, ScalingScalesTheRowsWithTheControls) {
    TToolbarFixture f(2);
    f.Bar->ScaleBy(3, 2);
    EXPECT_EQ(f.Bar->RowHeight(), 38) << "25 x 3 / 2, rounded";
    EXPECT_EQ(f.Items[1]->Left(), 4 + f.Items[0]->Width());
    EXPECT_EQ(f.Bar->Height(), 38 + 2 * 2);
}

TEST(Toolbar, LayoutRoundTripsOrderVisibilityAndTextOptions) {
    TToolbarFixture f(3);
    TGwRegIniFile store(&f.Form);
    store.SetPath(TempIni("roundtrip"));
    f.Bar->SetRegIniFile(&store);
    f.Bar->ToolbarControls()->Move(2, 0);
    f.Items[1]->SetVisible(false);
    f.Bar->SetTextOptions(ttoShowTextLabels);
    f.Bar->SaveLayout();
    EXPECT_EQ(store.ReadString("MainBar", "Control2", ""), "##C1");

    TToolbarFixture g(3);
    g.Bar->SetRegIniFile(&store);
    g.Bar->RestoreLayout();
    EXPECT_EQ(g.Order(), "C2 C0 C1");
    EXPECT_FALSE(g.Items[1]->Visible());
    EXPECT_EQ(g.Bar->TextOptions(), ttoShowTextLabels);

    // Another number of controls: only the text option applies.
    TToolbarFixture h(4);
    h.Bar->SetRegIniFile(&store);
    h.Bar->RestoreLayout();
    EXPECT_EQ(h.Order(), "C0 C1 C2 C3");
    EXPECT_EQ(h.Bar->TextOptions(), ttoShowTextLabels);
}

TEST(Toolbar, RestoreSkipsEmptyAndUnknownNamesAndAppliesTheRest) {
    TToolbarFixture f(3);
    TGwRegIniFile store(&f.Form);
    store.SetPath(TempIni("damaged"));
    store.WriteInteger("MainBar", "Count", 3);
    store.WriteString("MainBar", "Control0", "C2");
    store.WriteString("MainBar", "Control1", "Gone");
    store.WriteString("MainBar", "Control2", "##");
    store.WriteInteger("MainBar", "TextOptions", 2);
    f.Bar->SetRegIniFile(&store);
    EXPECT_NO_THROW(f.Bar->RestoreLayout());
    EXPECT_EQ(f.Order(), "C2 C0 C1");
    EXPECT_TRUE(f.Items[0]->Visible());
    EXPECT_EQ(f.Bar->TextOptions(), ttoSelectiveTextOnRight);
}

TEST(Toolbar, LayoutNeedsASettingsStore) {
    TToolbarFixture f(1);
    EXPECT_THROW(f.Bar->SaveLayout(), ENoRegIniFile);
    EXPECT_THROW(f.Bar->RestoreLayout(), ENoRegIniFile);
}

TEST(Toolbar, OneRowShowsTheOverflowButtonForControlsPastTheEdge) {
    TToolbarFixture f(5, 30);
    f.Bar->SetWrapControls(false);
    f.Form.SetClientWidth(100);
    f.Bar->PositionControls();
    f.Bar->PositionControls();
    EXPECT_TRUE(f.Bar->OverflowShown());
    EXPECT_EQ(f.Bar->InvalidateMarginSize(), TPoint(15, 1));
    const std::vector<TControl*> hidden = f.Bar->OverflowControls();
    ASSERT_EQ(hidden.size(), 3u); // 4..34, 34..64 fit before the 14-pixel button
    EXPECT_EQ(hidden.front(), f.Items[2]);
}

// Runs Input when the loop that takes the messages posted so far (a popup's or a modal form's)
// reaches it.
void WhenLooping(std::function<void()> Input, TWinControl* Target) {
    int hook = -1;
    hook = Application->HookMessages([&](TMsg& m) {
        if (m.message != WM_APP)
            return false;
        Application->UnhookMessages(hook);
        Input();
        return true;
    });
    PostMessage(Target->Handle(), WM_APP, 0, 0);
}

TEST(ToolbarOverflow, ACopyInThePopupClicksTheButtonItStandsFor) {
    TApp app;
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    form.SetClientWidth(100);
    auto* bar = new TGwToolbar(&form);
    bar->SetParent(&form);
    bar->SetWrapControls(false);
    std::vector<TGwToolButton*> buttons;
    std::vector<TObject*> clicked;
    for (int i = 0; i < 6; ++i) {
        auto* b = new TGwToolButton(&form);
        b->SetName("B" + std::to_string(i));
        b->SetCaption("Button " + std::to_string(i));
        b->OnClick = [&clicked](TObject* s) { clicked.push_back(s); };
        b->SetParent(bar);
        buttons.push_back(b);
    }
    buttons[4]->SetEnabled(false);
    form.Show();
    bar->PositionControls();
    ASSERT_TRUE(bar->OverflowShown());
    ASSERT_NE(bar->OverflowButton(), nullptr);

    std::vector<std::string> seen;
    // The click that opens the popup is posted, not given through the input kit: the kit would
    // deliver it at once, before the message below, which the popup's loop is to take.
    auto* overflow = static_cast<TWinControl*>(bar->OverflowButton());
    PostMessage(overflow->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessage(overflow->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    WhenLooping(
        [&] {
            TGwToolbar* popup = bar->OverflowToolbar();
            if (!popup)
                return; // nothing shows: the expectations below say so
            // 3 x 25 + 8 wide: the three that lie past the button (from 79) on one row.
            EXPECT_EQ(popup->Width(), 83);
            for (int i = 0; i < popup->ControlCount(); ++i) {
                auto* copy = dynamic_cast<TGwPopupToolButton*>(popup->Controls(i));
                seen.push_back(!copy ? "?" : copy->Caption() + (copy->Enabled() ? "" : " (disabled)"));
            }
            if (popup->ControlCount() == 0) {
                inputkit::Press(popup, inputkit::Key::Escape);
                return;
            }
            TControl* first = popup->Controls(0);
            inputkit::Click(popup, first->Left() + 5, first->Top() + 5);
        },
        &form);
    Application->ProcessMessages();

    EXPECT_EQ(seen, (std::vector<std::string>{"Button 3", "Button 4 (disabled)", "Button 5"}));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], buttons[3]) << "the original's own click, with itself as sender";
    EXPECT_EQ(bar->OverflowToolbar(), nullptr) << "the popup closed with the click";
}

TEST(ToolbarOverflow, ACopyTakesTheOriginalsLookAndDropDown) {
    TApp app;
    TForm form(nullptr);
    TImageList images(&form);
    TPopupMenu menu(&form);
    TGwToolButton original(&form);
    original.SetCaption("Print");
    original.SetHint("Print the list");
    original.SetImages(&images);
    original.SetImageIndex(3);
    original.SetHotIndex(4);
    original.SetToolStyle(tsDropDown);
    original.SetDropDownMenu(&menu);
    original.SetLayout(blGlyphTop);
    original.SetVisualStyle(vsGradient);
    original.SetEnabled(false);
    original.Font()->SetColor(clRed);
    TGwPopupToolButton copy(&form);
    copy.Assign(&original);
    EXPECT_EQ(copy.Original(), &original);
    EXPECT_EQ(copy.Caption(), "Print");
    EXPECT_EQ(copy.Hint(), "Print the list");
    EXPECT_EQ(copy.Images(), &images);
    EXPECT_EQ(copy.ImageIndex(), 3);
    EXPECT_EQ(copy.HotIndex(), 4);
    EXPECT_EQ(copy.ToolStyle(), tsDropDown);
    EXPECT_EQ(copy.DropDownMenu(), &menu);
    EXPECT_EQ(copy.Layout(), blGlyphTop);
    EXPECT_FALSE(copy.UseToolbarButtonLayout());
    EXPECT_EQ(copy.VisualStyle(), vsGradient);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Font()->Color(), clRed);
    EXPECT_EQ(copy.Width(), original.Width());
    EXPECT_FALSE(copy.IsSplitButton()) << "the original drops its menu from anywhere, so does the copy";

    TAction action(&form);
    int runs = 0;
    action.OnExecute = [&runs](TObject*) { ++runs; };
    original.SetAction(&action);
    original.SetEnabled(true);
    copy.Assign(&original);
    EXPECT_TRUE(copy.IsSplitButton());
    copy.Click();
    EXPECT_EQ(runs, 1) << "the action runs once, through the original";
}

TEST(Toolbar, InsideAPageScrollerItCannotAutoResize) {
    class TPageScroller : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
    };
    TToolbarFixture f(2);
    auto* scroller = new TPageScroller(&f.Form);
    scroller->SetParent(&f.Form);
    f.Bar->SetParent(scroller);
    EXPECT_FALSE(f.Bar->AutoResize());
    f.Bar->SetAutoResize(true);
    EXPECT_FALSE(f.Bar->AutoResize());
    f.Bar->SetParent(&f.Form);
    f.Bar->SetAutoResize(true);
    EXPECT_TRUE(f.Bar->AutoResize());
}

// ---------------------------------------------------------------- customising dialog

struct TButtonsCase {
    const char* Name;
    int Controls;
    int Selected;
    bool Up, Down;
};
void PrintTo(const TButtonsCase& c, std::ostream* os) { *os << c.Name; }

class CustomizeButtons : public testing::TestWithParam<TButtonsCase> {};

TEST_P(CustomizeButtons, MoveButtonsFollowTheSelection) {
    const TButtonsCase& c = GetParam();
    TToolbarFixture f(c.Controls);
    TGwFrmCustomizeToolbar form(&f.Form);
    form.Toolbar = f.Bar;
    form.UpdateControls(f.Bar->CustomizeCaptions(), true);
    if (c.Selected >= 0) {
        form.LstControls->SetItemIndex(c.Selected);
        form.LstControlsClick(form.LstControls);
    }
    EXPECT_EQ(form.BtnMoveUp->Enabled(), c.Up);
    EXPECT_EQ(form.BtnMoveDown->Enabled(), c.Down);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomizeButtons,
                         testing::Values(TButtonsCase{"EmptyToolbar", 0, -1, false, false},
                                         TButtonsCase{"SingleItem", 1, 0, false, false},
                                         TButtonsCase{"FirstOfThree", 3, 0, false, true},
                                         TButtonsCase{"MiddleOfThree", 3, 1, true, true},
                                         TButtonsCase{"LastOfThree", 3, 2, true, false}),
                         [](const testing::TestParamInfo<TButtonsCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(CustomizeDialog, ChangesApplyToTheToolbarAtOnce) {
    TToolbarFixture f(3);
    f.Items[1]->SetHint("Second");
    f.Bar->SetTextOptions(ttoCustom);
    TGwFrmCustomizeToolbar form(&f.Form);
    form.Toolbar = f.Bar;
    form.UpdateControls(f.Bar->CustomizeCaptions(), true);
    EXPECT_EQ(form.Caption(), "Customize Toolbar");
    EXPECT_EQ(form.LstControls->Items()->Strings(0), "C0");
    EXPECT_EQ(form.LstControls->Items()->Strings(1), "Second");
    EXPECT_EQ(form.CbxTextOptions->ItemIndex(), -1);
    form.LstControls->SetItemIndex(1);
    form.LstControls->ToggleCheckState();
    EXPECT_FALSE(f.Items[1]->Visible());
    form.LstControls->SetItemIndex(2);
    form.BtnMoveUpClick(nullptr);
    EXPECT_EQ(f.Order(), "C0 C2 C1");
    EXPECT_EQ(form.LstControls->ItemIndex(), 1);
    form.CbxTextOptions->SetItemIndex(1);
    form.CbxTextOptionsClick(nullptr);
    EXPECT_EQ(f.Bar->TextOptions(), ttoShowTextLabels);
}

TEST(CustomizeDialog, CustomizeShowsTheDialogModallyAndItsChangesStay) {
    TToolbarFixture f(3);
    f.Form.Show();
    std::string caption;
    int listed = -1;
    WhenLooping(
        [&] {
            TGwFrmCustomizeToolbar* dialog = nullptr;
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (auto* d = dynamic_cast<TGwFrmCustomizeToolbar*>(Screen->Forms(i)))
                    dialog = d;
            if (!dialog)
                return;
            caption = dialog->Caption();
            listed = dialog->LstControls->Items()->Count();
            dialog->LstControls->SetItemIndex(0);
            dialog->LstControls->ToggleCheckState();
            inputkit::Click(dialog->BtnClose, 10, 10);
        },
        &f.Form);
    f.Bar->Customize();
    EXPECT_EQ(caption, "Customize Toolbar");
    EXPECT_EQ(listed, 3);
    EXPECT_FALSE(f.Items[0]->Visible()) << "no cancel: the change stays";
}

TEST(CustomizeDialog, OpensLeftOfARightToolbarInsideTheWorkArea) {
    TApp app;
    SetMonitorLayout({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)}});
    TForm form(nullptr);
    form.SetBounds(480, 380, 300, 200);
    auto* bar = new TGwToolbar(&form);
    bar->SetParent(&form);
    bar->SetAlign(alRight);
    TGwFrmCustomizeToolbar dialog(&form);
    dialog.Toolbar = bar;
    dialog.OwnerControl = &form;
    dialog.Reposition();
    const TPoint anchor = form.ClientToScreen(TPoint(bar->Left() - dialog.Width() - 5, bar->Top()));
    EXPECT_EQ(dialog.Left(), anchor.x + 15);
    EXPECT_LT(dialog.Left(), form.ClientToScreen(TPoint(bar->Left(), 0)).x);
    EXPECT_EQ(dialog.Top(), 560 - dialog.Height()) << "lowered to the work area's bottom";
    SetMonitorLayout({});
}

// ---------------------------------------------------------------- status bar

TEST(StatusBar, PanesScaleWithTheBarOnceAWidthIsKnown) {
    TApp app;
    TForm form(nullptr);
    TGwStatusBar bar(&form);
    bar.SetAlign(alNone);
    bar.SetParent(&form);
    bar.SetBounds(0, 0, 0, 19);
    bar.AutoScalePanes = true;
    auto* pane = new TPanel(&form);
    pane->SetParent(&bar);
    pane->SetBounds(0, 0, 100, 19);
    // From a width of 0 there is nothing to scale from: the new width is only recorded.
    bar.SetBounds(0, 0, 400, 19);
    EXPECT_EQ(pane->Width(), 100);
    bar.SetBounds(0, 0, 800, 19);
    EXPECT_EQ(pane->Width(), 200);
}

TEST(StatusBar, SimpleModeHidesTheControlsAndTheGripNeedsASizeableForm) {
    TApp app;
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TGwStatusBar bar(&form);
    bar.SetParent(&form);
    EXPECT_EQ(bar.Height(), 19);
    EXPECT_EQ(bar.Align(), alBottom);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&bar);
    bar.SetSimpleStatus(true);
    EXPECT_FALSE(button->Visible());
    bar.SetSimpleStatus(false);
    EXPECT_TRUE(button->Visible());
    EXPECT_TRUE(bar.SizeGripActive());
    EXPECT_EQ(bar.SizeGripRect(), TRect(bar.Width() - 13, 0, bar.Width(), 19));
    form.SetBorderStyle(bsDialog);
    EXPECT_FALSE(bar.SizeGripActive());
    form.SetBorderStyle(bsSizeable);
    bar.SetShowSizeGrip(false);
    EXPECT_FALSE(bar.SizeGripActive());
}

// The main window's subprogram bar: simple mode set before the controls come, no grip, the classic
// look, on a page of a sizeable form, its controls laid out from the right by OnResize.
TEST(StatusBar, ControlsPlacedAsTheMainWindowDoesShowAndWork) {
    TApp app;
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* page = new TPanel(&form);
    page->SetParent(&form);
    page->SetAlign(alClient);
    page->SetBevelOuter(bvNone);
    auto* bar = new TGwStatusBar(&form);
    bar->SetParent(page);
    bar->SetHeight(26);
    bar->SetSimpleStatus(true);
    bar->SetShowSizeGrip(false);
    bar->SetVisualStyle(vsClassic);
    auto* check = new TCheckBox(&form);
    check->SetParent(bar);
    check->SetBounds(0, 3, 100, 20);
    auto* save = new TSpeedButton(&form);
    save->SetParent(bar);
    save->SetBounds(0, 2, 23, 22);
    int clicks = 0;
    save->OnClick = [&clicks](TObject*) { ++clicks; };
    bar->OnResize = [&](TObject*) {
        save->SetLeft(bar->Width() - save->Width() - 5);
        check->SetLeft(save->Left() - check->Width() - 5);
    };
    form.Show();
    form.SetWidth(500);
    EXPECT_EQ(bar->Width(), page->ClientWidth());
    EXPECT_EQ(bar->Top(), page->ClientHeight() - 26);
    EXPECT_EQ(save->Left(), bar->Width() - 28);
    EXPECT_EQ(check->Left(), save->Left() - 105);
    EXPECT_TRUE(save->Visible());
    EXPECT_TRUE(check->Visible());
    EXPECT_EQ(save->Top(), 2) << "the bar's frame moves nothing";
    inputkit::Click(bar, save->Left() + 5, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(bar->SizeGripActive());
    bar->SetShowSizeGrip(true);
    EXPECT_TRUE(bar->SizeGripActive()) << "the form is sizeable, though the bar's parent is a page";
}

} // namespace
