// A handler that throws under the tab control's own input, a key step or a choice in its tab
// menu, is caught by the one exception boundary and reported once, with its sender.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

} // namespace
