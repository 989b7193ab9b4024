// A handler that throws under the tab control's own input, a key step or a choice in its tab
// menu, is caught by the one exception boundary and reported once, with its sender; so is one
// that throws under the controls' own work that must go on after it: a paint, a tab dropped, a
// page shown.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Gwtabpages.h"
#include "Gwtabs.h"
#include "forms.h"
#include "inputkit.h"
#include "menus.h"

namespace {

struct BoundaryCase {
    const char* Name;
    // The user's input that selects the second tab ("B").
    std::function<void(TGwTabControl*)> Input;
    bool FromMenu; // the sender is the menu item, else the tab control
};

void PrintTo(const BoundaryCase& c, std::ostream* os) { *os << c.Name; }

class GwTabsBoundary : public ::testing::TestWithParam<BoundaryCase> {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 400, 300);
        Tabs = new TGwTabControl(&Form);
        Tabs->SetParent(&Form);
        Tabs->SetBounds(0, 0, 260, 80);
        Tabs->SetTabStyle(tsCutCorner);
        Tabs->SetTabWidth(60);
        Tabs->SetTabHeight(20);
        Tabs->SetShowMenuButton(true);
        for (const char* caption : {"A", "B", "C"})
            Tabs->GetTabCollection()->Add()->SetCaption(caption);
        Tabs->SetTabIndex(0);
        Form.Show();
    }
    void TearDown() override { Application->OnException = nullptr; }

    TForm Form{nullptr};
    TGwTabControl* Tabs = nullptr;
};

TEST_P(GwTabsBoundary, AThrowingHandlerIsReportedOnce) {
    Tabs->OnChange = [](TObject*) { throw Exception("Страница недоступна"); };
    std::vector<std::string> reported;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, Exception* e) {
        sender = s;
        reported.push_back(e->Message);
    };
    int before = Application->ExceptionCount();
    GetParam().Input(Tabs);
    inputkit::ProcessEvents();
    EXPECT_EQ(Tabs->TabIndex(), 1) << "the selection moved before the handler threw";
    EXPECT_EQ(reported, std::vector<std::string>{"Страница недоступна"});
    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    if (GetParam().FromMenu)
        EXPECT_NE(dynamic_cast<TMenuItem*>(sender), nullptr);
    else
        EXPECT_EQ(sender, Tabs);
}

INSTANTIATE_TEST_SUITE_P(
    Input, GwTabsBoundary,
    ::testing::Values(BoundaryCase{"KeyStep",
                                   [](TGwTabControl* t) { inputkit::Press(t, inputkit::Key::Right); }, false},
                      BoundaryCase{"MenuClick",
                                   [](TGwTabControl* t) {
                                       TRect r = t->MenuButtonRect();
                                       inputkit::ChooseInNextMenu("B");
                                       inputkit::Click(t, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
                                   },
                                   true}),
    [](const ::testing::TestParamInfo<BoundaryCase>& i) { return std::string(i.param.Name); });

// The page control's own work that calls a handler and then goes on.
struct WorkCase {
    const char* Name;
    // Sets a throwing handler, gives the input and returns the sender the report must name.
    std::function<TObject*(TGwPageControl*, std::vector<TGwTabSheet*>&)> Act;
    int ActivePage; // the page active afterwards: the work was done
};

void PrintTo(const WorkCase& c, std::ostream* os) { *os << c.Name; }

TRect Mid(const TRect& R) {
    int x = (R.Left + R.Right) / 2, y = (R.Top + R.Bottom) / 2;
    return TRect(x, y, x, y);
}

class GwPagesBoundary : public ::testing::TestWithParam<WorkCase> {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 400, 300);
        Pages = new TGwPageControl(&Form);
        Pages->SetParent(&Form);
        Pages->SetBounds(0, 0, 300, 200);
        Pages->SetTabStyle(tsCutCorner);
        Pages->SetTabWidth(60);
        Pages->SetTabHeight(20);
        for (const char* caption : {"A", "B", "C"}) {
            auto* p = new TGwTabSheet(&Form);
            p->SetCaption(caption);
            p->SetPageControl(Pages);
            Sheets.push_back(p);
        }
        Pages->SetActivePage(Sheets[0]);
        Form.Show();
        inputkit::ProcessEvents();
    }
    void TearDown() override { Application->OnException = nullptr; }

    TForm Form{nullptr};
    TGwPageControl* Pages = nullptr;
    std::vector<TGwTabSheet*> Sheets;
};

TEST_P(GwPagesBoundary, AThrowingHandlerIsReportedOnce) {
    std::vector<std::string> reported;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, Exception* e) {
        sender = s;
        reported.push_back(e->Message);
    };
    int before = Application->ExceptionCount();
    TObject* expected = GetParam().Act(Pages, Sheets);
    inputkit::ProcessEvents();
    EXPECT_EQ(reported, std::vector<std::string>{"Страница недоступна"});
    EXPECT_EQ(Application->ExceptionCount(), before + 1);
    EXPECT_EQ(sender, expected);
    EXPECT_EQ(Pages->ActivePage(), Sheets[GetParam().ActivePage]);
}

INSTANTIATE_TEST_SUITE_P(
    Work, GwPagesBoundary,
    ::testing::Values(WorkCase{"Paint",
                               [](TGwPageControl* p, std::vector<TGwTabSheet*>&) -> TObject* {
                                   p->OnPaintTabBackground = [](TObject*, TCanvas*, int, const TRect&,
                                                                bool&) {
                                       throw Exception("Страница недоступна");
                                   };
                                   p->Repaint();
                                   p->OnPaintTabBackground = nullptr;
                                   return p;
                               },
                               0},
                      WorkCase{"TabDropped",
                               [](TGwPageControl* p, std::vector<TGwTabSheet*>&) -> TObject* {
                                   p->SetAllowTabDragging(true);
                                   p->OnTabOrderChange = [](TObject*, int, int) {
                                       throw Exception("Страница недоступна");
                                   };
                                   TRect from = Mid(p->TabRect(0)), to = Mid(p->TabRect(2));
                                   inputkit::Drag(p, from.Left, from.Top, to.Left, to.Top);
                                   return p;
                               },
                               0},
                      WorkCase{"PageShown",
                               [](TGwPageControl* p, std::vector<TGwTabSheet*>& s) -> TObject* {
                                   s[1]->OnShow = [](TObject*) { throw Exception("Страница недоступна"); };
                                   TRect r = Mid(p->TabRect(1));
                                   inputkit::Click(p, r.Left, r.Top);
                                   return s[1];
                               },
                               1}),
    [](const ::testing::TestParamInfo<WorkCase>& i) { return std::string(i.param.Name); });

} // namespace
