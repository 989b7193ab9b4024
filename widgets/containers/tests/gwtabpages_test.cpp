// The page control and its sheets: tabs from pages, switching pages, next-page walks, page order
// errors, colours and docked forms.
#include <gtest/gtest.h>

#include "Gwtabpages.h"
#include "dragdock.h"
#include "extctrls.h"
#include "forms.h"
#include "inputkit.h"
#include "messages.h"
#include "screenkit.h"
#include "stdctrls.h"

namespace {

struct TPages {
    explicit TPages(int Count = 3) {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 400, 300);
        Pages = new TGwPageControl(&Form);
        Pages->SetParent(&Form);
        Pages->SetBounds(0, 0, 300, 200);
        Pages->SetTabStyle(tsCutCorner);
        Pages->SetTabWidth(40);
        Pages->SetTabHeight(20);
        for (int i = 0; i < Count; ++i) {
            auto* p = new TGwTabSheet(&Form);
            p->SetCaption(std::string(1, char('A' + i)));
            p->SetPageControl(Pages);
            Sheets.push_back(p);
        }
    }
    std::vector<bool> Shown() {
        std::vector<bool> v;
        for (TGwTabSheet* p : Sheets)
            v.push_back(p->Visible());
        return v;
    }
    void Click(int X, int Y) { inputkit::Click(Pages, X, Y); }

    TForm Form{nullptr};
    TGwPageControl* Pages;
    std::vector<TGwTabSheet*> Sheets;
};

TEST(GwPageControl, HiddenTabsLeaveTheStrip) {
    TPages f;
    f.Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(f.Pages->TabCount(), 2);
    EXPECT_EQ(f.Sheets[2]->TabIndex(), 1);
    EXPECT_EQ(f.Sheets[1]->TabIndex(), -1);
    EXPECT_EQ(f.Pages->PageForTab(1), f.Sheets[2]);
    EXPECT_EQ(f.Pages->PageForTab(-1), nullptr);
    // Hiding the active page's tab leaves the page active and shown, with no tab selected.
    f.Pages->SetActivePage(f.Sheets[2]);
    f.Sheets[2]->SetTabVisible(false);
    EXPECT_EQ(f.Pages->TabIndex(), -1);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[2]);
    EXPECT_TRUE(f.Sheets[2]->Visible());
}

TEST(GwPageControl, TabsSwitchPages) {
    TPages f;
    int changes = 0;
    f.Pages->OnChange = [&](TObject*) { ++changes; };
    f.Pages->SetActivePageIndex(0);
    EXPECT_EQ(f.Shown(), (std::vector<bool>{true, false, false}));
    f.Click(60, 10); // second tab
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[1]);
    EXPECT_EQ(f.Shown(), (std::vector<bool>{false, true, false}));
    f.Pages->OnChanging = [](TObject*, int, bool& allow) { allow = false; };
    f.Click(100, 10);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[1]);
    f.Pages->OnChanging = nullptr;
    f.Pages->SetActivePageIndex(7);
    EXPECT_EQ(f.Pages->TabIndex(), -1);
    EXPECT_EQ(changes, 2);
}

TEST(GwPageControl, NextPageWrapsOverVisibleTabs) {
    TPages f;
    f.Sheets[0]->SetTabVisible(false);
    f.Pages->SetActivePage(f.Sheets[2]);
    f.Pages->SelectNextPage(true);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[1]);
    f.Pages->SelectNextPage(false);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[2]);
    f.Sheets[1]->SetTabVisible(false);
    f.Pages->SelectNextPage(true);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[2]);
    TPages none(0);
    EXPECT_EQ(none.Pages->FindNextPage(nullptr, true, false), nullptr);
}

TEST(GwPageControl, PageIndexOutsideTheListIsRefused) {
    TPages f;
    std::vector<std::pair<int, int>> moves;
    f.Pages->OnTabOrderChange = [&](TObject*, int a, int b) { moves.emplace_back(a, b); };
    for (int bad : {3, -1}) {
        try {
            f.Sheets[0]->SetPageIndex(bad);
            ADD_FAILURE() << bad;
        } catch (const EGwTabControlError& e) {
            EXPECT_EQ(e.Message, std::to_string(bad) +
                                     " is an invalid PageIndex value. PageIndex must be between 0 and 2");
        }
    }
    f.Sheets[0]->SetPageIndex(2);
    EXPECT_EQ(f.Pages->GetPage(2), f.Sheets[0]);
    EXPECT_EQ(f.Pages->Tab(2).Caption, "A");
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));
    EXPECT_THROW(f.Sheets[1]->SetVisible(true), EGwTabControlError);
}

TEST(GwPageControl, MakeControlVisibleAndClosing) {
    TPages f;
    auto* edit = new TCustomControl(&f.Form);
    edit->SetParent(f.Sheets[2]);
    f.Pages->MakeControlVisible(edit);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[2]);
    TCustomControl stray(nullptr);
    f.Pages->MakeControlVisible(&stray);
    EXPECT_EQ(f.Pages->ActivePageIndex(), 0);
    f.Pages->ShowControl(edit); // not a page: nothing
    EXPECT_EQ(f.Pages->ActivePageIndex(), 0);
    f.Pages->ShowControl(f.Sheets[1]);
    EXPECT_EQ(f.Pages->ActivePageIndex(), 1);
    f.Pages->SetActivePageIndex(0);
    // Closing the first page hands over to the page after it, closing a later one to the one before.
    f.Pages->OnClose = [](TObject*, bool& allow) { allow = true; };
    f.Pages->CloseActiveTab();
    EXPECT_EQ(f.Pages->GetPageCount(), 2);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[1]);
    f.Pages->SetActivePageIndex(1);
    f.Pages->CloseActiveTab();
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[1]);
    EXPECT_TRUE(f.Sheets[1]->Visible());
}

TEST(GwPageControl, SheetColourTurnsOnColouredTabs) {
    TPages f;
    f.Pages->SetColor(clBtnFace);
    f.Sheets[1]->SetColor(clAqua);
    EXPECT_TRUE(f.Pages->UseColoredTabs());
    EXPECT_EQ(f.Pages->Tab(1).Color, clAqua);
    f.Pages->SetUseColoredTabs(false);
    EXPECT_EQ(f.Sheets[1]->Color(), clBtnFace);
}

TEST(GwPageControl, DockedFormsGetPages) {
    TPages f(1);
    f.Pages->SetDockSite(true);
    f.Pages->SetActivePageIndex(0);
    TForm hidden(nullptr), shown(nullptr);
    hidden.SetCaption("Log");
    shown.SetCaption("Messages");
    shown.SetVisible(true);
    for (TForm* form : {&hidden, &shown}) {
        TDragDockObject drag(form);
        drag.DockRect = Bounds(0, 0, 100, 100);
        f.Pages->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&drag), 0);
        if (form == &hidden) {
            EXPECT_EQ(f.Pages->ActivePageIndex(), 0);
        }
    }
    ASSERT_EQ(f.Pages->GetPageCount(), 3);
    EXPECT_EQ(f.Pages->GetPage(1)->Caption(), "Log");
    EXPECT_FALSE(f.Pages->GetPage(1)->TabVisible());
    EXPECT_EQ(f.Pages->ActivePage(), f.Pages->GetPage(2));
    EXPECT_EQ(f.Pages->GetPageFromDockClient(&shown), f.Pages->GetPage(2));
    shown.SetCaption("Two\nlines");
    TDockNotifyRec rec{WM_SETTEXT, 0, 0};
    f.Pages->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(&shown), reinterpret_cast<LPARAM>(&rec));
    EXPECT_EQ(f.Pages->GetPage(2)->Caption(), "Two");
}

struct CtrlTabCase {
    const char* Name;
    int Key;
    inputkit::TMods Modifiers;
    int Start, Expected; // active page index
    bool FocusInPage;    // the key goes to a control on the page, else to the page control
};

void PrintTo(const CtrlTabCase& C, std::ostream* os) { *os << C.Name; }

class PageCtrlTab : public ::testing::TestWithParam<CtrlTabCase> {};

// Four pages, the second with its tab hidden; the key goes to the focused control on the shown
// form the way the toolkit delivers it, modifiers and all.
TEST_P(PageCtrlTab, WalksThePagesWithTabs) {
    const CtrlTabCase& c = GetParam();
    TPages f(4);
    f.Sheets[1]->SetTabVisible(false);
    std::vector<TCustomControl*> fields;
    for (TGwTabSheet* p : f.Sheets) {
        fields.push_back(new TCustomControl(&f.Form));
        fields.back()->SetParent(p);
        fields.back()->SetTabStop(true);
    }
    f.Pages->SetActivePageIndex(c.Start);
    f.Form.Show();
    TWinControl* target = f.Pages;
    if (c.FocusInPage)
        target = fields[static_cast<size_t>(c.Start)];
    target->SetFocus();
    ASSERT_EQ(f.Form.ActiveControl(), target);
    inputkit::Press(target, c.Key, c.Modifiers, "\t");
    EXPECT_EQ(f.Pages->ActivePageIndex(), c.Expected);
    EXPECT_TRUE(f.Sheets[static_cast<size_t>(c.Expected)]->Visible());
    // The focus never stays behind on a page that went out of sight.
    TWinControl* focused = f.Form.ActiveControl();
    EXPECT_TRUE(focused == f.Pages || f.Sheets[static_cast<size_t>(c.Expected)]->ContainsControl(focused));
}

INSTANTIATE_TEST_SUITE_P(
    GwPageControl, PageCtrlTab,
    ::testing::Values(CtrlTabCase{"CtrlTabNext", inputkit::Key::Tab, inputkit::Ctrl, 0, 2, false},
                      CtrlTabCase{"CtrlTabWraps", inputkit::Key::Tab, inputkit::Ctrl, 3, 0, false},
                      CtrlTabCase{"CtrlShiftTabBack", inputkit::Key::Backtab,
                                  inputkit::Ctrl | inputkit::Shift, 2, 0, false},
                      CtrlTabCase{"CtrlShiftTabWraps", inputkit::Key::Backtab,
                                  inputkit::Ctrl | inputkit::Shift, 0, 3, false},
                      CtrlTabCase{"PlainTabLeavesThePage", inputkit::Key::Tab, inputkit::None, 0, 0, false},
                      CtrlTabCase{"CtrlTabFromAFieldOnThePage", inputkit::Key::Tab, inputkit::Ctrl, 0, 2,
                                  true},
                      CtrlTabCase{"CtrlShiftTabFromAFieldOnThePage", inputkit::Key::Backtab,
                                  inputkit::Ctrl | inputkit::Shift, 3, 2, true}),
    [](const ::testing::TestParamInfo<CtrlTabCase>& i) { return std::string(i.param.Name); });

// A change that OnChanging refuses leaves the old page alone on the card.
TEST(GwPageControl, RefusedChangeShowsNoSecondPage) {
    TPages f;
    f.Pages->SetActivePageIndex(0);
    f.Pages->OnChanging = [](TObject*, int, bool& allow) { allow = false; };
    f.Pages->SetActivePage(f.Sheets[2]);
    EXPECT_EQ(f.Pages->ActivePage(), f.Sheets[0]);
    EXPECT_EQ(f.Shown(), (std::vector<bool>{true, false, false}));
}

// Dropping the active tab on another puts its page where that tab's page is, whatever pages with
// hidden tabs stand before it.
TEST(GwPageControl, DroppedTabLandsAtTheTargetPage) {
    TPages f(4);
    f.Sheets[1]->SetTabVisible(false);
    f.Pages->SetAllowTabDragging(true);
    f.Pages->SetActivePageIndex(0);
    std::vector<std::pair<int, int>> moves;
    f.Pages->OnTabOrderChange = [&](TObject*, int a, int b) { moves.emplace_back(a, b); };
    TRect last = f.Pages->TabRect(2); // page D
    f.Pages->DragDrop(f.Pages, (last.Left + last.Right) / 2, (last.Top + last.Bottom) / 2);
    std::string order;
    for (int i = 0; i < f.Pages->GetPageCount(); ++i)
        order += f.Pages->GetPage(i)->Caption();
    EXPECT_EQ(order, "BCDA");
    EXPECT_EQ(f.Pages->Tab(2).Caption, "A");
    EXPECT_EQ(f.Pages->TabIndex(), 2);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 3}}));
}

// With the active page's tab hidden the strip is driven by code: focusing the control focuses the
// page's first control that can take the focus.
TEST(GwPageControl, FocusGoesIntoAPageWithoutItsTab) {
    TPages f;
    auto* idle = new TCustomControl(&f.Form);
    idle->SetParent(f.Sheets[1]);
    idle->SetEnabled(false);
    auto* edit = new TCustomControl(&f.Form);
    edit->SetParent(f.Sheets[1]);
    edit->SetTabStop(true);
    f.Pages->SetActivePage(f.Sheets[1]);
    f.Sheets[1]->SetTabVisible(false);
    f.Form.Show();
    f.Pages->SetFocus();
    EXPECT_EQ(f.Form.ActiveControl(), edit);
    f.Sheets[1]->SetTabVisible(true);
    f.Pages->SetFocus();
    EXPECT_EQ(f.Form.ActiveControl(), f.Pages);
}

// A page not yet shown has no windows, nor have its controls: showing it makes them. A window made
// late goes under the windows of the controls after it, as if it had been made in order.
TEST(GwPageControl, HiddenPagesGetTheirWindowsWhenFirstShown) {
    TPages f;
    auto* edit = new TEdit(&f.Form);
    edit->SetParent(f.Sheets[1]);
    auto* under = new TPanel(&f.Form);
    under->SetParent(&f.Form);
    under->SetVisible(false);
    auto* over = new TPanel(&f.Form);
    over->SetParent(&f.Form);
    f.Pages->SetActivePageIndex(0);
    f.Form.Show();
    EXPECT_FALSE(f.Sheets[1]->HandleAllocated());
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_FALSE(under->HandleAllocated());
    f.Pages->SetActivePageIndex(1);
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_TRUE(screenkit::Shown(edit));
    under->SetVisible(true);
    ASSERT_TRUE(under->HandleAllocated());
    EXPECT_LT(screenkit::StackPlace(under), screenkit::StackPlace(over));
    EXPECT_LT(screenkit::StackPlace(f.Pages), screenkit::StackPlace(under));
}

// With SaveResources the pages not shown give their windows back; a page shown again gets new ones
// for itself and its children, which keep their texts. Without it every page keeps its window.
TEST(GwPageControl, SaveResourcesReleasesHiddenPagesHandles) {
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "saving" : "keeping");
        TPages f;
        std::vector<TEdit*> edits;
        for (TGwTabSheet* p : f.Sheets) {
            auto* e = new TEdit(&f.Form);
            e->SetParent(p);
            e->SetText("text of " + p->Caption());
            edits.push_back(e);
        }
        f.Form.Show();
        for (int i : {1, 2, 0})
            f.Pages->SetActivePageIndex(i); // each page shown once has its windows
        auto handles = [&] {
            std::vector<bool> v;
            for (size_t i = 0; i < f.Sheets.size(); ++i)
                v.push_back(f.Sheets[i]->HandleAllocated() && edits[i]->HandleAllocated());
            return v;
        };
        ASSERT_EQ(handles(), (std::vector<bool>{true, true, true}));
        f.Pages->SetSaveResources(save);
        EXPECT_EQ(handles(), (std::vector<bool>{true, !save, !save}));
        f.Pages->SetActivePageIndex(2);
        EXPECT_EQ(handles(), (std::vector<bool>{!save, !save, true}));
        f.Pages->SetActivePageIndex(0);
        EXPECT_EQ(handles(), (std::vector<bool>{true, !save, !save}));
        for (size_t i : {size_t(0), size_t(2)}) {
            f.Pages->SetActivePageIndex(int(i));
            EXPECT_TRUE(screenkit::Shown(edits[i]));
            EXPECT_EQ(screenkit::ShownText(edits[i]), "text of " + f.Sheets[i]->Caption());
            EXPECT_EQ(edits[i]->Text(), "text of " + f.Sheets[i]->Caption());
        }
    }
}

TEST(GwPageControl, DoubleClickUndocksOnlyWhenAllowed) {
    TPages f(0);
    f.Pages->SetDockSite(true);
    TForm docked(nullptr);
    docked.SetCaption("Log");
    docked.SetVisible(true);
    TDragDockObject drag(&docked);
    drag.DockRect = Bounds(0, 0, 100, 100);
    f.Pages->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&drag), 0);
    ASSERT_EQ(f.Pages->GetPageCount(), 1);
    TRect tab = f.Pages->TabRect(0);
    const TPoint at((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
    EXPECT_EQ(f.Pages->GetDockClientFromMousePos(at), &docked);
    f.Pages->DblClickUndocks = false;
    inputkit::DoubleClick(f.Pages, at.x, at.y);
    EXPECT_EQ(docked.HostDockSite(), f.Pages);
    EXPECT_EQ(f.Pages->GetPageCount(), 1);
    f.Pages->DblClickUndocks = true;
    inputkit::DoubleClick(f.Pages, at.x, at.y);
    EXPECT_EQ(docked.HostDockSite(), nullptr);
    EXPECT_EQ(f.Pages->GetPageCount(), 0);
}

} // namespace
