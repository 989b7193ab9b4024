// The edit list box (popup editor by F2 or a second click, Enter and Esc), the rank list box
// (reordering by keys and by dragging) and the font list box (faces, recently used, preview).
#include <gtest/gtest.h>

#include "Gwlstbox.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"
#include "winapi.h"

namespace {

class TProbeEditListBox : public TGwEditListBox {
public:
    using TGwEditListBox::ClickTimer;
    using TGwEditListBox::TGwEditListBox;
    void FireClickTimer() { ClickTimer()->OnTimer(ClickTimer()); }
};

template <class T> class TListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Box = new T(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 150, 150);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    void Fill(std::initializer_list<const char*> Items) {
        for (const char* s : Items)
            Box->Add(s);
    }
    std::string Order() {
        std::string s;
        for (int i = 0; i < Box->Count(); ++i)
            s += Box->Items()->Get(i);
        return s;
    }
    TPoint At(int Index) {
        const TRect r = Box->ItemRect(Index);
        return TPoint(r.Left + 5, (r.Top + r.Bottom) / 2);
    }
    void Down(TPoint P, inputkit::TMods Mods = inputkit::None) {
        inputkit::MouseDown(Box, P.x, P.y, inputkit::Left, Mods);
    }
    void Move(TPoint P) { inputkit::MouseMove(Box, P.x, P.y, inputkit::Left); }
    void Up(TPoint P) { inputkit::MouseUp(Box, P.x, P.y); }
    TForm* Form = nullptr;
    T* Box = nullptr;
};

// ---- edit list box ------------------------------------------------------------------------------

class GwEditListBoxTest : public TListFixture<TProbeEditListBox> {
protected:
    void SetUp() override {
        TListFixture::SetUp();
        Box->OnItemChanged = [this](TObject*, int Index) { Changed.push_back(Index); };
        Box->OnHidingEditor = [this](TObject*) { ++Hidden; };
        Form->Show();
    }
    void Key(TWinControl* Target, WORD Vk) {
        inputkit::TMods mods = inputkit::None;
        const int key = inputkit::KeyOfVirtualKey(Vk, mods);
        inputkit::Press(Target, key, mods);
    }
    std::vector<int> Changed;
    int Hidden = 0;
};

TEST_F(GwEditListBoxTest, F2EditsTheCaretItemAndEnterKeepsTheText) {
    Fill({"one", "two", "three"});
    Box->SetItemIndex(1);
    Key(Box, VK_F2);
    ASSERT_TRUE(Box->PopupVisible());
    EXPECT_EQ(Box->Editor()->Text(), "two");
    const TRect item = Box->ItemRect(1);
    EXPECT_EQ(Box->Editor()->BoundsRect(), TRect(item.Left, item.Top - 2, item.Right, item.Bottom + 2));
    EXPECT_EQ(Box->ItemIndex(), -1) << "the edited item is not shown selected";
    Box->Editor()->SetText("deux");
    Key(Box->Editor(), VK_RETURN);
    EXPECT_FALSE(Box->PopupVisible());
    EXPECT_EQ(Order(), "onedeuxthree");
    EXPECT_EQ(Box->ItemIndex(), 1);
    EXPECT_EQ(Changed, std::vector<int>{1});
    EXPECT_EQ(Hidden, 1);
}

TEST_F(GwEditListBoxTest, EscapeDropsTheText) {
    Fill({"one", "two"});
    Box->SetItemIndex(0);
    Key(Box, VK_F2);
    Box->Editor()->SetText("changed");
    Key(Box->Editor(), VK_ESCAPE);
    EXPECT_FALSE(Box->PopupVisible());
    EXPECT_EQ(Order(), "onetwo");
    EXPECT_TRUE(Changed.empty());
    EXPECT_EQ(Hidden, 1);
    EXPECT_EQ(Box->ItemIndex(), 0);
}

TEST_F(GwEditListBoxTest, ASortedBoxPutsTheEditedItemInItsPlace) {
    Box->SetSorted(true);
    Fill({"b", "d", "f"});
    Box->SetItemIndex(0);
    Box->ShowEditor();
    Box->Editor()->SetText("z");
    Box->HideEditor(true);
    EXPECT_EQ(Order(), "dfz");
    EXPECT_EQ(Box->ItemIndex(), 2);
    EXPECT_EQ(Changed, std::vector<int>{2});
}

TEST_F(GwEditListBoxTest, TheEventsMayRefuseOrPlaceTheEditor) {
    Fill({"one"});
    Box->SetItemIndex(0);
    Box->OnShowingEditor = [](TObject*, int, bool& Allow) { Allow = false; };
    Box->ShowEditor();
    EXPECT_FALSE(Box->PopupVisible());
    Box->OnShowingEditor = nullptr;
    Box->SetItemIndex(0);
    Box->OnSizeEditRect = [](TObject*, int, TRect& R) { R.Right = R.Left + 40; };
    Box->ShowEditor();
    EXPECT_TRUE(Box->PopupVisible());
    EXPECT_EQ(Box->Editor()->Width(), 40);
}

struct TClickCase {
    const char* Name;
    std::vector<int> Clicks; // item clicked; -2 a double click
    bool Opens;
};
void PrintTo(const TClickCase& c, std::ostream* os) { *os << c.Name; }
class GwEditListBoxClicks : public GwEditListBoxTest, public ::testing::WithParamInterface<TClickCase> {};

TEST_P(GwEditListBoxClicks, ASecondClickOnTheSameItemOpensTheEditor) {
    Fill({"one", "two", "three"});
    for (int item : GetParam().Clicks) {
        if (item == -2) {
            const TPoint at = At(Box->ItemIndex());
            inputkit::DoubleClick(Box, at.x, at.y);
            continue;
        }
        Box->SetItemIndex(item);
        inputkit::Click(Box, At(item).x, At(item).y);
    }
    EXPECT_TRUE(Box->ClickTimer()->Enabled());
    Box->FireClickTimer();
    EXPECT_EQ(Box->PopupVisible(), GetParam().Opens);
}

INSTANTIATE_TEST_SUITE_P(Cases, GwEditListBoxClicks,
                         ::testing::Values(TClickCase{"OneClickSelects", {1}, false},
                                           TClickCase{"SecondClickEdits", {1, 1}, true},
                                           TClickCase{"ClicksOnTwoItems", {0, 1}, false},
                                           TClickCase{"DoubleClickDoesNotEdit", {1, 1, -2}, false},
                                           TClickCase{"ClickThenDoubleClick", {1, -2}, false},
                                           TClickCase{"DoubleClickThenClickEdits", {1, -2, 1}, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwEditListBoxTest, DeleteKeyDeletesOnlyWhenAllowed) {
    Fill({"one", "two"});
    Box->SetItemIndex(0);
    Key(Box, VK_DELETE);
    EXPECT_EQ(Box->Count(), 2);
    Box->AllowDeleteByKbd = true;
    Key(Box, VK_DELETE);
    EXPECT_EQ(Order(), "two");
}

// ---- rank list box ------------------------------------------------------------------------------

// The key handler with the modifier held (the key state is the keyboard's, not the message's).
class TProbeRankListBox : public TGwRankListBox {
public:
    using TGwRankListBox::KeyDown;
    using TGwRankListBox::TGwRankListBox;
};
using GwRankListBoxTest = TListFixture<TProbeRankListBox>;

TEST_F(GwRankListBoxTest, ShiftWithArrowsHomeAndEndMovesTheSelectedItem) {
    struct {
        const char* Name;
        WORD Key;
        bool Shift;
        int From;
        const char* Order;
        int Index;
        bool Consumed;
    } cases[] = {
        {"up", VK_UP, true, 1, "bacd", 0, true},
        {"down", VK_DOWN, true, 1, "acbd", 2, true},
        {"home", VK_HOME, true, 2, "cabd", 0, true},
        {"end", VK_END, true, 1, "acdb", 3, true},
        {"no shift", VK_UP, false, 1, "abcd", 1, false},
        {"up at the top", VK_UP, true, 0, "abcd", 0, false},
        {"end at the bottom", VK_END, true, 3, "abcd", 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Box->Clear();
        Fill({"a", "b", "c", "d"});
        Box->SetItemIndex(c.From);
        WORD key = c.Key;
        Box->KeyDown(key, c.Shift ? TShiftState{ssShift} : TShiftState{});
        EXPECT_EQ(Order(), c.Order);
        EXPECT_EQ(Box->ItemIndex(), c.Index);
        EXPECT_EQ(key == 0, c.Consumed);
    }
}

TEST_F(GwRankListBoxTest, DraggingMovesTheItemAlongAndStopsAtTheEdges) {
    Fill({"a", "b", "c", "d"});
    std::vector<std::pair<int, int>> moves;
    Box->OnMoveItem = [&](TObject*, int From, int To) { moves.push_back({From, To}); };
    Box->SetItemIndex(0);
    Down(At(0));
    EXPECT_FALSE(Box->Dragging()) << "the modifier key is needed";
    Up(At(0));
    Down(At(0), inputkit::Shift);
    ASSERT_TRUE(Box->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDrag);
    Move(At(2));
    EXPECT_EQ(Order(), "bcad");
    Move(TPoint(5, Box->ClientHeight() + 50));
    EXPECT_EQ(Order(), "bcda");
    Move(TPoint(5, -50));
    EXPECT_EQ(Order(), "abcd");
    EXPECT_THROW(Box->SetMoveOnDrag(false), Exception);
    EXPECT_TRUE(Box->MoveOnDrag());
    Up(At(0));
    EXPECT_FALSE(Box->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}, {2, 3}, {3, 0}}));
    Box->ModifierKey = mkNone;
    Down(At(1));
    EXPECT_TRUE(Box->Dragging());
    Up(At(1));
}

// ---- font list box ------------------------------------------------------------------------------

using GwFontListBoxTest = TListFixture<TGwFontListBox>;

TEST_F(GwFontListBoxTest, ANewWindowListsTheFacesByTypeAndKeepsTheSelection) {
    Box->HandleNeeded();
    const int all = Box->Count();
    ASSERT_GT(all, 0);
    for (int i = 0; i < all; ++i)
        EXPECT_EQ(Box->Items()->IndexOf(Box->Items()->Get(i)), i) << "each face once";
    const std::string face = Box->Items()->Get(all - 1);
    Box->SetFontName(face);
    Box->SetFontType(ftTrueType);
    Box->HandleNeeded();
    EXPECT_LE(Box->Count(), all);
    EXPECT_EQ(Box->FontName(), face);
    Box->SetFontType(ftPrinter);
    Box->HandleNeeded();
    EXPECT_EQ(Box->Count(), 0);
    EXPECT_EQ(Box->FontName(), "");
    EXPECT_EQ(Box->SelectedFont(), nullptr);
}

TEST_F(GwFontListBoxTest, SelectedFontHasTheChosenSizeAndStyle) {
    Box->HandleNeeded();
    Box->SetItemIndex(0);
    Box->FontSize = 14;
    Box->FontStyle = TFontStyles{fsItalic};
    TFont* font = Box->SelectedFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Name(), Box->Items()->Get(0));
    EXPECT_EQ(font->Size(), 14);
    EXPECT_TRUE(font->Style().Contains(fsItalic));
}

TEST_F(GwFontListBoxTest, RecentlyUsedFacesGatherAtTheTop) {
    Box->HandleNeeded();
    ASSERT_GE(Box->Count(), 3);
    const int faces = Box->Count();
    const std::string second = Box->Items()->Get(1), last = Box->Items()->Get(faces - 1);
    Box->SetItemIndex(faces - 1);
    Box->AddFontToMRUList();
    EXPECT_EQ(Box->Count(), faces) << "only with MaintainMRUFonts";
    Box->MaintainMRUFonts = true;
    Box->AddFontToMRUList();
    EXPECT_EQ(Box->Items()->Get(0), last);
    EXPECT_EQ(Box->MRUIndex(), 0);
    Box->SetItemIndex(2); // the second face, moved down by the first recent one
    Box->AddFontToMRUList();
    EXPECT_EQ(Box->Items()->Get(0), second);
    EXPECT_EQ(Box->Items()->Get(1), last);
    EXPECT_EQ(Box->MRUIndex(), 1);
    Box->SetItemIndex(1);
    Box->AddFontToMRUList();
    EXPECT_EQ(Box->Items()->Get(0), last);
    EXPECT_EQ(Box->MRUIndex(), 1) << "a recent face only moves up";
    EXPECT_EQ(Box->Count(), faces + 2);
    EXPECT_EQ(Box->ItemIndex(), 0);
}

TEST_F(GwFontListBoxTest, RowsShowTheMarkTheDividerAndTheEndOfTheRecentFaces) {
    Box->SetColor(clWhite);
    Box->SetShowStyle(ssFontNameAndSample);
    Box->MaintainMRUFonts = true;
    Form->Show();
    ASSERT_GE(Box->Count(), 2);
    Box->SetItemIndex(1);
    Box->AddFontToMRUList();
    Box->SetItemIndex(-1);
    TPaper p(Box->Width(), Box->Height());
    Box->PaintTo(p.Canvas(), 0, 0);
    const TPoint window = Form->ClientToScreen(TPoint(Box->Left(), Box->Top()));
    const int dx = Box->ClientOrigin().x - window.x, dy = Box->ClientOrigin().y - window.y;
    const TRect row = Box->ItemRect(0), next = Box->ItemRect(1);
    auto at = [&](int x, int y) { return p.At(dx + x, dy + y); };
    // The recent faces end with a line across the row; the next row has none.
    EXPECT_EQ(at(row.Left + 2, row.Bottom - 1), clBlack);
    EXPECT_EQ(at(row.Right - 2, row.Bottom - 1), clBlack);
    EXPECT_NE(at(next.Right - 2, next.Bottom - 1), clBlack);
    // The divider between name and sample, at the middle of the text part (24 pixels in).
    const int split = row.Left + 24 + (row.Width() - 24) / 2 - 4 + 2;
    EXPECT_EQ(at(split, row.Top + 1), clBlack);
    // The type mark: not all white, and olive is drawn as the box's colour.
    int marked = 0;
    for (int x = row.Left + 4; x < row.Left + 16; ++x)
        for (int y = row.Top; y < row.Bottom - 1; ++y) {
            marked += at(x, y) != clWhite ? 1 : 0;
            EXPECT_NE(at(x, y), clOlive);
        }
    EXPECT_GT(marked, 0);
}

TEST_F(GwFontListBoxTest, PreviewSampleAndPlace) {
    Form->Show();
    TGwPreviewFontPanel* preview = Box->PreviewPanel();
    ASSERT_NE(preview, nullptr);
    Box->UpdatePreviewText();
    EXPECT_EQ(preview->Caption(), "AaBbYyZz");
    Box->PreviewWidth = 1;
    Box->UpdatePreviewText();
    EXPECT_EQ(preview->Caption(), "AaBbYy");
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetText("a sample text here");
    Box->SetPreviewEdit(edit);
    Box->UpdatePreviewText();
    EXPECT_EQ(preview->Caption(), "a sample t");
    EXPECT_EQ(preview->Alignment(), taLeftJustify);
    Box->PreviewWidth = 260;
    Box->ShowPreviewPanel();
    EXPECT_TRUE(Box->PreviewShown());
    const TPoint corner = Form->ClientToScreen(TPoint(Box->Left(), Box->Top()));
    EXPECT_EQ(preview->Handle() ? IsWindowVisible(preview->Handle()) : false, true);
    TRect placed;
    GetWindowRect(preview->Handle(), &placed);
    EXPECT_EQ(placed.Left, corner.x + Box->Width() - 1);
    EXPECT_EQ(placed.Top, corner.y);
    Box->Perform(CM_HIDEPREVIEWPANEL);
    EXPECT_FALSE(Box->PreviewShown());
}

} // namespace
