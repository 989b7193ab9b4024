// The Gw list box: type-to-find through WM_CHAR (Cyrillic included) with its reset timer, deleting
// with the selection kept, group bookkeeping, state colours, and the frame and headers as drawn.
#include <gtest/gtest.h>

#include "Gwlstbox.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "winapi.h"

namespace {

// The search timer is fired by hand: the reset is a rule about time, not a wait.
class TProbeListBox : public TGwListBox {
public:
    using TGwCustomListBox::HintWindow;
    using TGwCustomListBox::SearchTimer;
    using TGwListBox::TGwListBox;
    void FireSearchTimer() { SearchTimer()->OnTimer(SearchTimer()); }
};

class GwListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 240);
        Box = new TProbeListBox(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 150, 120);
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Box->BeepOnInvalidKey = false;
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    void Fill(std::initializer_list<const char*> Items) {
        for (const char* s : Items)
            Box->Add(s);
    }
    // Keys typed; '\x01' stands for the reset timer firing, '\x02' for the Down key, '\b' and
    // '\x1b' for Backspace and Escape.
    void Type(const std::string& Keys) {
        for (char ch : Keys)
            if (ch == '\x01')
                Box->FireSearchTimer();
            else if (ch == '\x02')
                inputkit::Press(Box, inputkit::Key::Down);
            else if (ch == '\b')
                inputkit::Press(Box, inputkit::Key::Backspace);
            else if (ch == '\x1b')
                inputkit::Press(Box, inputkit::Key::Escape);
            else
                inputkit::Type(Box, std::string(1, ch));
    }
    TForm* Form = nullptr;
    TProbeListBox* Box = nullptr;
    int Clicks = 0;
};

struct TSearchCase {
    const char* Name;
    std::string Keys;
    int Index;
    std::string SearchText;
    int Clicks;
};
void PrintTo(const TSearchCase& c, std::ostream* os) { *os << c.Name; }

class GwListBoxSearch : public GwListBoxTest, public ::testing::WithParamInterface<TSearchCase> {};

TEST_P(GwListBoxSearch, TypedCharactersSelectTheFirstItemBeginningWithThem) {
    const TSearchCase& c = GetParam();
    Fill({"alpha", "Abacus", "beta", "Привет", "привод", "Ёлка", "gamma"});
    Type(c.Keys);
    EXPECT_EQ(Box->ItemIndex(), c.Index);
    EXPECT_EQ(Box->SearchText(), c.SearchText);
    EXPECT_EQ(Clicks, c.Clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GwListBoxSearch,
    ::testing::Values(TSearchCase{"OneLetter", "a", 0, "a", 0},
                      TSearchCase{"TwoLettersAnyCase", "aB", 1, "aB", 0},
                      TSearchCase{"ResetAfterTheDelay", std::string("ab\x01g"), 6, "g", 0},
                      TSearchCase{"NoResetWithoutTheDelay", "abg", 1, "ab", 0},
                      TSearchCase{"NoMatchKeepsEverything", "z", -1, "", 0},
                      TSearchCase{"CyrillicLowerFindsUpper", "п", 3, "п", 0},
                      TSearchCase{"CyrillicLonger", "ПРИВО", 4, "ПРИВО", 0},
                      TSearchCase{"CyrillicYo", "ё", 5, "ё", 0},
                      TSearchCase{"BackspaceSearchesTheShorterText", "abx\b", 0, "a", 0},
                      TSearchCase{"BackspaceToEmptySelectsFirstAndClicks", "g\b", 0, "", 1},
                      TSearchCase{"EscapeDeselectsAndClearsTheText", "g\x1b", -1, "", 0},
                      TSearchCase{"NavigationKeyClearsTheText", std::string("ab\x02"), 2, "", 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwListBoxTest, EachCharacterRestartsTheResetTimer) {
    Fill({"alpha"});
    EXPECT_FALSE(Box->SearchTimer()->Enabled());
    Type("a");
    EXPECT_TRUE(Box->SearchTimer()->Enabled());
    EXPECT_EQ(Box->SearchTimer()->Interval(), 1500u);
    Box->FireSearchTimer();
    EXPECT_FALSE(Box->SearchTimer()->Enabled());
    EXPECT_EQ(Box->SearchText(), "");
}

TEST_F(GwListBoxTest, MatchFiresOnlyWhenATypedSearchSelects) {
    Fill({"alpha", "beta"});
    int matches = 0;
    Box->OnMatch = [&](TObject*) { ++matches; };
    Type("bz");
    EXPECT_EQ(matches, 1);
    Box->IncrementalSearch = false;
    Type("a");
    EXPECT_EQ(matches, 1);
    EXPECT_EQ(Box->SearchText(), "b");
}

struct TDeleteCase {
    const char* Name;
    int Selected, Deleted, Expected, Clicks;
};
void PrintTo(const TDeleteCase& c, std::ostream* os) { *os << c.Name; }
class GwListBoxDelete : public GwListBoxTest, public ::testing::WithParamInterface<TDeleteCase> {};

TEST_P(GwListBoxDelete, TheSelectionStaysAtItsIndex) {
    const TDeleteCase& c = GetParam();
    Fill({"a", "b", "c"});
    Box->SetItemIndex(c.Selected);
    Box->Delete(c.Deleted);
    EXPECT_EQ(Box->ItemIndex(), c.Expected);
    EXPECT_EQ(Clicks, c.Clicks);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwListBoxDelete,
                         ::testing::Values(TDeleteCase{"LastSelectsTheNewLast", 2, 2, 1, 1},
                                           TDeleteCase{"AboveSelectsTheFollower", 1, 0, 1, 1},
                                           TDeleteCase{"NoSelectionStaysNone", -1, 0, -1, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwListBoxTest, DeletingTheOnlyItemLeavesNoSelectionAndNoClick) {
    Fill({"a"});
    Box->SetItemIndex(0);
    Box->Delete(0);
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Box->Count(), 0);
}

TEST_F(GwListBoxTest, SelectedItemOfAMultiSelectBoxNeedsASelection) {
    Fill({"a", "//b", "c"});
    Box->SetMultiSelect(true);
    Box->Perform(LB_SETCARETINDEX, 1);
    EXPECT_EQ(Box->SelectedItem(), "");
    Box->SetSelected(1, true);
    EXPECT_EQ(Box->SelectedItem(), "//b");
    int deleted = 0;
    Box->OnDeleteItems = [&](TObject*) { ++deleted; };
    Box->SelectAll();
    Box->SetSelected(0, false);
    Box->DeleteSelectedItems();
    EXPECT_EQ(Box->Count(), 1);
    EXPECT_EQ(Box->Items()->Get(0), "a");
    EXPECT_EQ(deleted, 1);
}

TEST_F(GwListBoxTest, GroupBookkeeping) {
    Fill({"a", "//G1", "b", "c", "//G2", "d"});
    struct {
        const char* Name;
        int Got, Expected;
    } cases[] = {
        {"header of group 0", Box->ItemIndexOfGroup(0), 1},
        {"header of group 1", Box->ItemIndexOfGroup(1), 4},
        {"no group 2", Box->ItemIndexOfGroup(2), -1},
        {"items in group 0", Box->ItemsInGroup(0), 2},
        {"items in group 1", Box->ItemsInGroup(1), 1},
        {"items before the first header", Box->ItemsInGroup(9), 1},
        {"nearest header above", Box->ItemGroupIndex(3), 1},
        {"no header above", Box->ItemGroupIndex(0), -1},
        {"group number of a header", Box->GroupIndexOfItem(4), 1},
        {"group number of an item", Box->GroupIndexOfItem(2), -1},
        {"insert past the group", Box->InsertItemIntoGroup(0, 3, "x"), -1},
        {"add to a group", Box->AddItemToGroup(1, "e"), 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Got, c.Expected) << c.Name;
    EXPECT_EQ(Box->ItemCaption(1), "G1");
    EXPECT_EQ(Box->ItemCaption(99), "");
    Box->SetItemIndex(2);
    Box->ItemToGroup(2);
    EXPECT_EQ(Box->Items()->Get(2), "//b");
    EXPECT_EQ(Box->ItemIndex(), 2);
    Box->GroupToItem(2);
    EXPECT_EQ(Box->Items()->Get(2), "b");
    Box->SetGroupPrefix("");
    EXPECT_TRUE(Box->ItemIsGroup(0));
    EXPECT_FALSE(Box->ItemIsGroup(-1));
}

TEST_F(GwListBoxTest, ColourFollowsFocusAndEnabledState) {
    Box->SetColor(clWhite);
    Box->SetFocusColor(clYellow);
    Box->SetDisabledColor(clSilver);
    // The form is not shown, so nothing can take the focus: entering and leaving come as the
    // messages the focus sends.
    Box->Perform(CM_ENTER);
    EXPECT_EQ(Box->Color(), clYellow);
    Box->Perform(CM_EXIT);
    EXPECT_EQ(Box->Color(), clWhite);
    Box->SetEnabled(false);
    EXPECT_EQ(Box->Color(), clSilver);
    Box->SetEnabled(true);
    EXPECT_EQ(Box->Color(), clWhite);
}

TEST_F(GwListBoxTest, ScrollExtentFollowsTheWidestItem) {
    Box->SetHorzScrollBar(true);
    Fill({"short", "a much longer item text"});
    TPaper measure(1, 1);
    measure.Canvas()->SetFont(Box->Font());
    EXPECT_EQ(Box->HorzExtent(), measure.Canvas()->TextWidth("a much longer item textx"));
    EXPECT_EQ(Box->Perform(LB_GETHORIZONTALEXTENT), Box->HorzExtent());
    Box->Items()->Delete(1);
    EXPECT_EQ(Box->HorzExtent(), measure.Canvas()->TextWidth("shortx"));
}

TEST_F(GwListBoxTest, CustomFrameIsDrawnInTheHotStyleWhileFocused) {
    Box->SetFrameVisible(true);
    Box->SetFramingPreference(fpCustomFraming);
    Box->SetFrameColor(clRed);
    Box->SetFrameHotTrack(true);
    Box->SetFrameHotColor(clBlue);
    Form->Show();
    TPaper p(Box->Width(), Box->Height());
    // The one control of the form may take the focus as it shows: the focus state comes as its
    // messages, so each half starts from a known state.
    Box->Perform(CM_EXIT);
    Box->PaintTo(p.Canvas(), 0, 0);
    EXPECT_EQ(p.At(0, 50), clRed);
    EXPECT_NE(p.At(1, 50), clRed);
    Box->Perform(CM_ENTER);
    p.Fill(clWhite);
    Box->PaintTo(p.Canvas(), 0, 0);
    EXPECT_EQ(p.At(0, 50), clBlue);
    EXPECT_EQ(p.At(1, 50), clBlue) << "the hot style is bold";
}

TEST_F(GwListBoxTest, GroupHeadersAreDrawnInTheirColourWithoutThePrefix) {
    Box->SetShowGroups(true);
    Box->SetUseGradients(false);
    Box->SetGroupColor(clAqua);
    Box->SetOwnerDrawIndent(20);
    Fill({"//Head", "item"});
    Form->Show();
    EXPECT_EQ(Box->Style(), lbOwnerDrawFixed);
    TPaper p(Box->Width(), Box->Height());
    Box->PaintTo(p.Canvas(), 0, 0);
    const TPoint window = Box->Parent()->ClientToScreen(TPoint(Box->Left(), Box->Top()));
    const TPoint client(Box->ClientOrigin().x - window.x, Box->ClientOrigin().y - window.y);
    const TRect head = Box->ItemRect(0);
    const TRect item = Box->ItemRect(1);
    // The header fills its whole row and shows its caption only; an item leaves its indent to the
    // box. The outermost pixel ring of the current row is its focus rectangle.
    int inkRight = -1;
    for (int x = head.Left + 1; x < head.Right - 1; ++x)
        for (int y = head.Top + 1; y < head.Bottom - 1; ++y)
            if (p.At(client.x + x, client.y + y) != clAqua)
                inkRight = x;
    TPaper measure(1, 1);
    measure.Canvas()->SetFont(Box->GroupFont());
    EXPECT_EQ(p.At(client.x + head.Right - 2, client.y + head.Bottom - 2), clAqua);
    EXPECT_GT(inkRight, head.Left + 2);
    EXPECT_LE(inkRight, head.Left + 2 + measure.Canvas()->TextWidth("Head"));
    EXPECT_EQ(p.At(client.x + item.Left + 10, client.y + item.Top + 1), ColorToRGB(clWindow));
}

TEST_F(GwListBoxTest, OnlyAClippedItemShowsItsWholeTextAsAHint) {
    Fill({"short", "a very long item\twhose text is wider than the box"});
    Form->Show();
    Application->ProcessMessages();
    ASSERT_TRUE(Application->Active()) << "hints show only while the application is active";
    const TRect longRow = Box->ItemRect(1), shortRow = Box->ItemRect(0);
    inputkit::MouseMove(Box, 5, (longRow.Top + longRow.Bottom) / 2);
    ASSERT_NE(Box->HintWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Box->HintWindow()->Handle()));
    EXPECT_EQ(Box->HintWindow()->Caption(), "a very long item        whose text is wider than the box");
    inputkit::MouseMove(Box, 5, (shortRow.Top + shortRow.Bottom) / 2);
    EXPECT_FALSE(Box->HintWindow()->HandleAllocated() && IsWindowVisible(Box->HintWindow()->Handle()));
}

TEST_F(GwListBoxTest, EnterMovesTheFocusWithTabOnEnter) {
    auto* next = new TProbeListBox(Form);
    next->SetParent(Form);
    next->SetBounds(170, 10, 100, 100);
    Fill({"a"});
    Form->Show();
    Box->SetFocus();
    Box->TabOnEnter = true;
    inputkit::Press(Box, inputkit::Key::Return);
    Application->ProcessMessages();
    EXPECT_TRUE(next->Focused());
}

} // namespace
