// The check list and the list box under a user's real clicks (the input kit): the clicks reach the
// controls through their message path, so a click on the box cycles the item's state and a click
// ends a typed search.
#include <gtest/gtest.h>

#include <vector>

#include "Gwchklst.h"
#include "forms.h"
#include "inputkit.h"

namespace {

using namespace inputkit;

class GwCheckListInput : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 240);
        List = new TGwCheckList(Form);
        List->SetParent(Form);
        List->SetBounds(10, 10, 200, 150);
        List->BeepOnInvalidKey = false;
        for (const char* s : {"alpha", "beta", "gamma"})
            List->Items()->Add(s);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // A user's click on item Index, on its check box or on its text.
    void ClickItem(int Index, bool OnText) {
        const TRect r = List->ItemRect(Index);
        Click(List, r.Left + (OnText ? List->GlyphWidth() + 20 : 6), (r.Top + r.Bottom) / 2);
    }
    TForm* Form = nullptr;
    TGwCheckList* List = nullptr;
};

TEST_F(GwCheckListInput, ClicksOnTheBoxCycleThroughGrayed) {
    List->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        ClickItem(1, false);
        seen.push_back(List->ItemState(1));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(List->ItemState(0), cbUnchecked);
}

TEST_F(GwCheckListInput, AClickOnTheTextTogglesOnlyWhenItemClicksToggle) {
    ClickItem(2, true);
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_FALSE(List->ItemChecked(2));
    List->ToggleOnItemClick = true;
    ClickItem(2, true);
    EXPECT_TRUE(List->ItemChecked(2));
}

TEST_F(GwCheckListInput, AClickEndsATypedSearch) {
    List->SetFocus();
    Type(List, "g");
    EXPECT_EQ(List->SearchText(), "g");
    EXPECT_EQ(List->ItemIndex(), 2);
    ClickItem(0, true);
    EXPECT_EQ(List->SearchText(), "");
    EXPECT_EQ(List->ItemIndex(), 0);
}

} // namespace
