// The Gw list view: click-to-sort through the header, sort arrows in pixels, the last column's
// fill, item and control context menus from the mouse and the keyboard, check-state events and
// the wheel.
#include <gtest/gtest.h>

#include "Gwlistview.h"
#include "forms.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "sysinfo.h"
#include "winapi.h"

using namespace gwtests;

namespace {

struct TRow {
    const char* Caption;
    const char* Type;
};
const TRow Rows[] = {
    {"Счётчик", "меркурий"}, {"адаптер", ""}, {"Реле", "Сириус"}, {"Блок", "орион"}, {"Шлюз", ""}};

// Shift+F10 goes straight to KeyDown: the shift state of a sent message comes from the keyboard.
class TTestListView : public TGwListView {
public:
    using TGwCustomListView::KeyDown;
    using TGwListView::TGwListView;
};

class GwListView : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 260);
        L = new TTestListView(Form);
        L->SetParent(Form);
        L->SetViewStyle(vsReport);
        L->SetBounds(0, 0, 360, 200);
        for (auto [text, width] : {std::pair{"Имя", 80}, {"Тип", 90}}) {
            TListColumn* c = L->Columns()->Add();
            c->SetCaption(text);
            c->SetWidth(width);
        }
        for (const TRow& r : Rows) {
            TListItem* it = L->Items()->Add();
            it->SetCaption(r.Caption);
            it->SubItems()->Add(r.Type);
        }
        Form->Show();
    }
    void TearDown() override { delete Form; }

    std::string Order(int Column) {
        std::string s;
        for (int i = 0; i < L->Items()->Count(); ++i) {
            TListItem* it = L->Items()->Item(i);
            std::string t = Column == 0 ? it->Caption() : it->SubItems()->Get(0);
            s += (s.empty() ? "" : ",") + (t.empty() ? std::string("-") : t);
        }
        return s;
    }
    void ClickHeader(int Section) {
        THeaderSection* s = L->Header()->Sections()->Items(Section);
        inputkit::Click(L->Header(), (s->Left() + s->Right()) / 2, 5);
    }
    // Pixels of the section's inside (its edge left out) in the arrow's colour.
    int ArrowPixels(TPaper& P, int Section) {
        THeaderSection* s = L->Header()->Sections()->Items(Section);
        int n = 0;
        for (int y = 3; y < L->Header()->Height() - 3; ++y)
            for (int x = s->Left() + 3; x < s->Right() - 3; ++x)
                n += ColorToRGB(P.At(x, y)) == ColorToRGB(clBtnShadow);
        return n;
    }

    TForm* Form = nullptr;
    TTestListView* L = nullptr;
};

TEST_F(GwListView, ThreeClicksSortAscendingDescendingAscendingWithEmptyTextsAtTheEnd) {
    L->AlphaSortAll = true;
    std::string clicked;
    L->OnColumnClick = [&](TObject*, TListColumn* c) { clicked += IntToStr(c->Index()); };
    const struct {
        const char* Name;
        TGwLVSortDirection Direction;
        const char* Order;
    } cases[] = {{"first click", sdAscending, "меркурий,орион,Сириус,-,-"},
                 {"second click", sdDescending, "-,-,Сириус,орион,меркурий"},
                 {"third click", sdAscending, "меркурий,орион,Сириус,-,-"}};
    for (const auto& c : cases) {
        ClickHeader(1);
        EXPECT_EQ(L->HeaderSortColumn(), 1) << c.Name;
        EXPECT_EQ(L->HeaderSortDirection(), c.Direction) << c.Name;
        EXPECT_EQ(Order(1), c.Order) << c.Name;
    }
    EXPECT_EQ(clicked, "111");
    ClickHeader(0); // another column starts ascending, case-insensitive
    EXPECT_EQ(Order(0), "адаптер,Блок,Реле,Счётчик,Шлюз");
    L->SortByColumn(0, sdDescending);
    EXPECT_EQ(L->HeaderSortDirection(), sdDescending);
    EXPECT_EQ(Order(0), "Шлюз,Счётчик,Реле,Блок,адаптер");
}

TEST_F(GwListView, WithoutAlphaSortAllAClickOnlyReports) {
    int clicks = 0;
    L->OnColumnClick = [&](TObject*, TListColumn*) { ++clicks; };
    ClickHeader(0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(L->HeaderSortColumn(), -1);
    EXPECT_EQ(Order(0), "Счётчик,адаптер,Реле,Блок,Шлюз");
}

TEST_F(GwListView, SortArrowOnlyInTheSortColumnAndOnlyWhenItIsWideEnough) {
    L->SetFillLastColumn(false);
    L->SetHeaderSortColumn(1);
    auto paint = [&] {
        auto p = std::make_unique<TPaper>(L->Header()->Width(), L->Header()->Height());
        L->Header()->Perform(WM_PAINT, WPARAM(p->Canvas()), 0);
        return p;
    };
    auto wide = paint();
    EXPECT_GT(ArrowPixels(*wide, 1), 0);
    EXPECT_EQ(ArrowPixels(*wide, 0), 0);
    L->Columns()->Items(1)->SetWidth((L->Header()->Height() - 4) / 2 * 2); // twice the glyph box
    auto narrow = paint();
    EXPECT_EQ(ArrowPixels(*narrow, 1), 0);
    L->SetHeaderSortDisplayMode(hsdmNone);
    EXPECT_EQ(L->Header()->Sections()->Items(0)->Style(), hsText);
}

TEST_F(GwListView, ArrowsPointTheirWay) {
    TPaper p(40, 20);
    DrawUpArrow(p.Canvas(), TRect(0, 0, 8, 8), clWhite, clBlack);
    DrawDownArrow(p.Canvas(), TRect(20, 0, 28, 8), clWhite, clBlack);
    // h = 6, w = 11: the up arrow's tip is at the top, the down arrow's at the bottom.
    EXPECT_EQ(p.Row(2, 0, 10),
              "FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF 000000 FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF");
    EXPECT_EQ(p.Row(7, 0, 10),
              "000000 000000 000000 000000 000000 000000 000000 000000 000000 000000 000000");
    EXPECT_EQ(p.Row(2, 20, 30),
              "000000 000000 000000 000000 000000 000000 000000 000000 000000 000000 000000");
    EXPECT_EQ(p.Row(7, 20, 30),
              "FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF 000000 FFFFFF FFFFFF FFFFFF FFFFFF FFFFFF");
}

TEST_F(GwListView, LastColumnFillsTheRestUnlessTheOthersAreWider) {
    const struct {
        const char* Name;
        int FirstWidth;
        int LastWidth; // -1: the rest of the client width
    } cases[] = {{"narrow first column", 80, -1}, {"first column wider than the view", 500, 90}};
    for (const auto& c : cases) {
        L->SetFillLastColumn(false);
        L->Columns()->Items(1)->SetWidth(90);
        L->Columns()->Items(0)->SetWidth(c.FirstWidth);
        L->SetFillLastColumn(true);
        int want = c.LastWidth < 0 ? L->ClientWidth() - c.FirstWidth : c.LastWidth;
        EXPECT_EQ(L->Columns()->Items(1)->Width(), want) << c.Name;
    }
    L->Columns()->Items(0)->SetWidth(80);
    L->SetBounds(0, 0, 300, 200); // follows the size
    EXPECT_EQ(L->Columns()->Items(1)->Width(), L->ClientWidth() - 80);
}

TEST_F(GwListView, ContextMenusFromTheKeyboardAndTheMouse) {
    auto* own = new TRecordingMenu(Form);
    auto* itemMenu = new TRecordingMenu(Form);
    L->SetPopupMenu(own);
    std::vector<std::string> asked;
    L->OnItemContextMenu = [&](TObject*, TListItem* Item, TPoint&, TPopupMenu*& Menu) {
        asked.push_back(Item ? Item->Caption() : "none");
        Menu = itemMenu;
    };
    // Nothing selected or focused: the control's own menu at the top-left corner.
    L->SetItemFocused(nullptr);
    WORD key = VK_F10;
    L->KeyDown(key, TShiftState{ssShift});
    EXPECT_EQ(key, 0);
    ASSERT_EQ(own->Opened.size(), 1u);
    EXPECT_EQ(own->Opened[0], L->ClientToScreen(TPoint(0, 0)));
    EXPECT_TRUE(asked.empty());
    // A selected item: the item menu at the centre of its icon, from the Apps key.
    TListItem* reles = L->Items()->Item(2);
    L->SetSelected(reles);
    inputkit::Press(L, inputkit::Key::Menu);
    ASSERT_EQ(itemMenu->Opened.size(), 1u);
    TRect icon = reles->DisplayRect(drIcon);
    EXPECT_EQ(itemMenu->Opened[0],
              L->ClientToScreen(TPoint((icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2)));
    // The mouse: at the click point.
    TPoint screen = L->ClientToScreen(TPoint(30, 60));
    L->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(itemMenu->Opened.size(), 2u);
    EXPECT_EQ(itemMenu->Opened[1], screen);
    // The keyboard's context message carries no point: the item's icon again.
    L->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(0xFFFF, 0xFFFF));
    ASSERT_EQ(itemMenu->Opened.size(), 3u);
    EXPECT_EQ(itemMenu->Opened[2], itemMenu->Opened[0]);
    EXPECT_EQ(asked, (std::vector<std::string>{"Реле", "Реле", "Реле"}));
    EXPECT_EQ(own->Opened.size(), 1u);
}

TEST_F(GwListView, CheckStateChangesAskFirstAndReportAfter) {
    L->SetCheckboxes(true);
    TListItem* it = L->Items()->Item(1);
    bool allow = false;
    std::string log;
    L->OnCheckStateChanging = [&](TObject*, TListItem* Item, bool ToBeChecked, bool& Allow) {
        log += "asked " + Item->Caption() + (ToBeChecked ? " on; " : " off; ");
        Allow = allow;
    };
    L->OnCheckStateChange = [&](TObject*, TListItem* Item) { log += "changed " + Item->Caption() + "; "; };
    it->SetChecked(true);
    EXPECT_FALSE(it->Checked());
    allow = true;
    it->SetChecked(true);
    EXPECT_TRUE(it->Checked());
    it->SetChecked(false);
    EXPECT_EQ(log,
              "asked адаптер on; asked адаптер on; changed адаптер; asked адаптер off; changed адаптер; ");
}

TEST_F(GwListView, WheelScrollsSixteenPixelsALineInReportView) {
    for (int i = 0; i < 60; ++i)
        L->Items()->Add()->SetCaption("Канал " + IntToStr(i));
    TListItem* row = L->Items()->Item(5); // stays in view
    int top = row->DisplayRect(drBounds).Top;
    inputkit::Wheel(L, 20, 60, -1);
    int step = Mouse->WheelScrollLines() * 16;
    EXPECT_EQ(row->DisplayRect(drBounds).Top, top - step);
    inputkit::Wheel(L, 20, 60, 1);
    EXPECT_EQ(row->DisplayRect(drBounds).Top, top);
}

TEST_F(GwListView, TheFirstRowShowsBelowTheHeaderAfterColumnsChange) {
    L->SetFillLastColumn(false);
    L->Columns()->Items(0)->SetWidth(40);
    Application->ProcessMessages();
    EXPECT_GE(L->Items()->Item(0)->DisplayRect(drBounds).Top, L->Header()->Height());
}

TEST_F(GwListView, OnlyACutCaptionShowsAsAHint) {
    L->SetFillLastColumn(false);
    L->Columns()->Items(0)->SetWidth(40);
    L->Items()->Item(0)->SetCaption("Счётчик электроэнергии трёхфазный");
    L->Items()->Item(3)->SetCaption("Б");
    Application->ProcessMessages();
    ASSERT_TRUE(Application->Active()) << "hints show only while the application is active";
    auto moveTo = [&](int Row) {
        TRect r = L->Items()->Item(Row)->DisplayRect(drLabel);
        inputkit::MouseMove(L, r.Left + 3, (r.Top + r.Bottom) / 2);
    };
    moveTo(0);
    ASSERT_NE(L->HintWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(L->HintWindow()->Handle()));
    EXPECT_EQ(L->HintWindow()->Caption(), "Счётчик электроэнергии трёхфазный");
    moveTo(3);
    EXPECT_FALSE(L->HintWindow()->HandleAllocated() && IsWindowVisible(L->HintWindow()->Handle()));
    L->ShowItemHints = false;
    moveTo(0);
    EXPECT_FALSE(L->HintWindow()->HandleAllocated() && IsWindowVisible(L->HintWindow()->Handle()));
}

} // namespace
