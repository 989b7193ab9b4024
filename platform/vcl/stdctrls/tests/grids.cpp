// String grid: keys as a table, selection by keys and mouse, notification order of the user's moves
// against changes from code, the in-place editor's life cycle (also an editor the host frees inside
// its own event), geometry and scrolling messages, sizing and moving, and a rendered page.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "forms.h"
#include "grids.h"
#include "inputkit.h"
#include "screenkit.h"
#include "stdctrls.h"
#include "winapi.h"

namespace {

namespace Key = inputkit::Key;
using inputkit::Press;
using inputkit::TMods;
using inputkit::Type;

// The smallest box around the pixels of the area of img that are not background; empty when none.
TRect InkBox(TBitmap& img, const TRect& area, TColor background) {
    TRect r(area.Right, area.Bottom, area.Left, area.Top);
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (img.Canvas()->GetPixel(x, y) != background) {
                r.Left = std::min(r.Left, x - area.Left);
                r.Top = std::min(r.Top, y - area.Top);
                r.Right = std::max(r.Right, x - area.Left + 1);
                r.Bottom = std::max(r.Bottom, y - area.Top + 1);
            }
    return r.Left < r.Right ? r : TRect();
}

class Grids : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Grid = new TStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBorderStyle(bsNone);
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 330, 200); // 5 columns of 64 + lines = 325; 8 rows of 24 + lines = 200
        Grid->SetColCount(6);
        Grid->SetRowCount(20);
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 6; ++c)
                Grid->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
        Form->Show();
        Grid->SetFocus();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // The grid's client area freshly painted.
    std::unique_ptr<TBitmap> Painted(TWinControl* c = nullptr) {
        auto b = std::make_unique<TBitmap>();
        screenkit::Client(c ? c : Grid, *b);
        return b;
    }
    TForm* Form = nullptr;
    TStringGrid* Grid = nullptr;
};

struct KeyCase {
    const char* Name;
    TGridOptions Extra;
    int Col, Row;
    int Key;
    TMods Mods;
    int ToCol, ToRow;
    TGridRect Sel;
};

TEST_F(Grids, KeysMoveTheCurrentCell) {
    const TGridOptions none;
    const KeyCase cases[] = {
        {"down", none, 1, 1, Key::Down, inputkit::None, 1, 2, TGridRect(1, 2, 1, 2)},
        {"up stops at the fixed row", none, 1, 1, Key::Up, inputkit::None, 1, 1, TGridRect(1, 1, 1, 1)},
        {"right", none, 2, 3, Key::Right, inputkit::None, 3, 3, TGridRect(3, 3, 3, 3)},
        {"left stops at the fixed column", none, 1, 3, Key::Left, inputkit::None, 1, 3,
         TGridRect(1, 3, 1, 3)},
        {"home", none, 4, 3, Key::Home, inputkit::None, 1, 3, TGridRect(1, 3, 1, 3)},
        {"end", none, 2, 3, Key::End, inputkit::None, 5, 3, TGridRect(5, 3, 5, 3)},
        {"ctrl home", none, 4, 9, Key::Home, inputkit::Ctrl, 1, 1, TGridRect(1, 1, 1, 1)},
        {"ctrl end", none, 2, 2, Key::End, inputkit::Ctrl, 5, 19, TGridRect(5, 19, 5, 19)},
        {"page down by the rows in view", none, 1, 1, Key::PageDown, inputkit::None, 1, 8,
         TGridRect(1, 8, 1, 8)},
        {"page up stops at the top", none, 1, 3, Key::PageUp, inputkit::None, 1, 1, TGridRect(1, 1, 1, 1)},
        {"shift down extends", none, 2, 2, Key::Down, inputkit::Shift, 2, 3, TGridRect(2, 2, 2, 3)},
        {"tab without goTabs stays", none, 2, 2, Key::Tab, inputkit::None, 2, 2, TGridRect(2, 2, 2, 2)},
        {"tab wraps to the next row", TGridOptions{goTabs}, 5, 2, Key::Tab, inputkit::None, 1, 3,
         TGridRect(1, 3, 1, 3)},
        {"shift tab wraps back", TGridOptions{goTabs}, 1, 3, Key::Backtab, inputkit::Shift, 5, 2,
         TGridRect(5, 2, 5, 2)},
        {"row select spans the row", TGridOptions{goRowSelect}, 3, 2, Key::Down, inputkit::None, 3, 3,
         TGridRect(1, 3, 5, 3)},
    };
    const TGridOptions base = Grid->Options();
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TGridOptions o = base;
        for (int i = goFixedVertLine; i <= goThumbTracking; ++i)
            if (c.Extra.Contains(TGridOption(i)))
                o << TGridOption(i);
        Grid->SetOptions(o);
        Grid->SetTopRow(1);
        Grid->SetSelection(TGridRect(c.Col, c.Row, c.Col, c.Row));
        Press(Grid, c.Key, c.Mods);
        EXPECT_EQ(Grid->Col(), c.ToCol);
        EXPECT_EQ(Grid->Row(), c.ToRow);
        EXPECT_EQ(Grid->Selection(), c.Sel);
        Grid->SetOptions(base);
    }
}

struct FixedCase {
    const char* Name;
    bool Rows;
    int Fixed, First, Current; // before: fixed count, first scrolled line in view, current line
    int NewFixed;
    int ToFirst, ToCurrent;
};

TEST_F(Grids, AChangedFixedCountStartsTheViewAndTheCellAtTheFirstScrollableLine) {
    const FixedCase cases[] = {
        {"rows: the one fixed row dropped comes back into view", true, 1, 1, 1, 0, 0, 0},
        {"rows: fewer fixed rows after scrolling", true, 2, 5, 9, 1, 1, 1},
        {"rows: more fixed rows", true, 0, 3, 4, 2, 2, 2},
        {"rows: the same count keeps the place", true, 1, 4, 6, 1, 4, 6},
        {"columns: the one fixed column dropped comes back into view", false, 1, 2, 4, 0, 0, 0},
        {"columns: more fixed columns", false, 0, 1, 3, 2, 2, 2},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Rows) {
            Grid->SetFixedRows(c.Fixed);
            Grid->SetTopRow(c.First);
            Grid->SetRow(c.Current);
            ASSERT_EQ(Grid->TopRow(), c.First);
            Grid->SetFixedRows(c.NewFixed);
            EXPECT_EQ(Grid->TopRow(), c.ToFirst);
            EXPECT_EQ(Grid->Row(), c.ToCurrent);
            EXPECT_EQ(Grid->Selection().Top, c.ToCurrent);
        } else {
            Grid->SetFixedCols(c.Fixed);
            Grid->SetLeftCol(c.First);
            Grid->SetCol(c.Current);
            ASSERT_EQ(Grid->LeftCol(), c.First);
            Grid->SetFixedCols(c.NewFixed);
            EXPECT_EQ(Grid->LeftCol(), c.ToFirst);
            EXPECT_EQ(Grid->Col(), c.ToCurrent);
            EXPECT_EQ(Grid->Selection().Left, c.ToCurrent);
        }
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
    }
    // The row that was fixed is a cell again, at the top of the view.
    Grid->SetFixedRows(0);
    EXPECT_EQ(Grid->MouseCoord(70, 5).Y, 0);
}

TEST_F(Grids, UserMovesAskSelectCellAndCodeMovesAskToWhileSelectionAndCellsFromCodeStaySilent) {
    std::vector<std::string> log;
    Grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
        log.push_back("select " + std::to_string(c) + "," + std::to_string(r));
        can = r != 4; // row 4 refuses
    };
    Grid->OnTopLeftChanged = [&](TObject*) { log.push_back("top " + std::to_string(Grid->TopRow())); };
    Grid->OnSetEditText = [&](TObject*, int, int, const std::string& v) { log.push_back("edit " + v); };
    Grid->SetRow(3);
    Press(Grid, Key::Down);
    EXPECT_EQ(Grid->Row(), 3); // refused
    Grid->SetSelection(TGridRect(2, 5, 2, 5));
    Grid->SetCells(2, 5, "x");
    Press(Grid, Key::PageDown);
    EXPECT_EQ(log, (std::vector<std::string>{"select 1,3", "select 1,4", "top 8", "select 2,12"}));
    EXPECT_EQ(Grid->Row(), 12);
    EXPECT_EQ(Grid->TopRow(), 8);
}

TEST_F(Grids, MouseSelectsARangeAndMapsPointsToCells) {
    Grid->SetTopRow(5);
    EXPECT_EQ(Grid->CellRect(0, 0), Bounds(0, 0, 64, 24));
    EXPECT_EQ(Grid->CellRect(2, 6), Bounds(130, 50, 64, 24));
    EXPECT_TRUE(Grid->CellRect(2, 3).IsEmpty()); // scrolled away
    int c = 0, r = 0;
    Grid->MouseToCell(140, 60, c, r);
    EXPECT_EQ(TGridCoord(c, r), TGridCoord(2, 6));
    Grid->MouseToCell(400, 60, c, r);
    EXPECT_EQ(c, -1);
    inputkit::Drag(Grid, 70, 30, 140, 80);
    EXPECT_EQ(Grid->Selection(), TGridRect(1, 5, 2, 7));
    // The window scroll-bar protocol moves the top row.
    Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 12);
    Grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Grid->TopRow(), 13); // rows 13..19 fill the view
    Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    EXPECT_EQ(Grid->TopRow(), 3);
    EXPECT_EQ(Grid->VisibleRowCount(), 7);
}

TEST_F(Grids, WindowScrollBarsFollowTheTopRowAndScrollIt) {
    Grid->SetScrollBars(ssVertical);
    TScrollInfo si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid->Handle(), SB_VERT, &si));
    const int page = Grid->VisibleRowCount();
    EXPECT_EQ(int(si.nPage), page);
    EXPECT_EQ(si.nPos, 0);
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, 19 - page + 1 - 1); // the last top row, counted from row 1
    Grid->SetTopRow(6);
    GetScrollInfo(Grid->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, 5);
    // The client area gave room to the bar: the last column is narrower in view than before.
    EXPECT_LT(Grid->ClientWidth(), 330);
    Grid->Perform(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Grid->TopRow(), 5);
}

TEST_F(Grids, ColumnsSizeAndMoveWithTheMouseAndTheCellsFollow) {
    Grid->SetOptions(Grid->Options() << goColSizing << goColMoving);
    inputkit::Drag(Grid, 129, 10, 149, 10); // from the line right of column 1
    EXPECT_EQ(Grid->ColWidths(1), 84);
    std::vector<int> moved;
    Grid->OnColumnMoved = [&](TObject*, int from, int to) { moved = {from, to}; };
    inputkit::Drag(Grid, 100, 10, 250, 10);
    EXPECT_EQ(moved, (std::vector<int>{1, 3}));
    EXPECT_EQ(Grid->Cells(3, 5), "1:5");
    EXPECT_EQ(Grid->Cells(1, 5), "2:5");
    EXPECT_EQ(Grid->ColWidths(3), 84);
    EXPECT_EQ(Grid->Rows(5)->Get(3), "1:5");
    Grid->Cols(2)->Clear();
    EXPECT_EQ(Grid->Cells(2, 7), "");
    EXPECT_EQ(Grid->Cols(2)->Add("new"), 0);
}

TEST_F(Grids, InplaceEditorShowsEditsRevertsAndHides) {
    Grid->SetOptions(Grid->Options() << goEditing);
    std::vector<std::string> edits;
    Grid->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
        edits.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
    };
    Grid->SetSelection(TGridRect(2, 3, 2, 3));
    Press(Grid, Key::F(2));
    ASSERT_TRUE(Grid->EditorMode());
    TInplaceEdit* ed = Grid->InplaceEditor();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Text(), "2:3");
    EXPECT_EQ(ed->BoundsRect(), Grid->CellRect(2, 3));
    EXPECT_TRUE(ed->Focused());
    Type(ed, "ab");
    EXPECT_EQ(Grid->Cells(2, 3), "ab");
    EXPECT_EQ(edits, (std::vector<std::string>{"2,3=a", "2,3=ab"}));
    Press(ed, Key::Escape);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(2, 3), "2:3");
    EXPECT_TRUE(Grid->Focused());
    // A character typed on the grid starts editing with it; Enter ends; Down from the editor moves.
    Type(Grid, "7");
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(2, 3), "7");
    Press(ed, Key::Return);
    EXPECT_FALSE(Grid->EditorMode());
    Press(Grid, Key::Return);
    EXPECT_TRUE(Grid->EditorMode());
    Press(ed, Key::Down);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(Grids, AHostedEditorFreedInsideItsOwnKeyEventLeavesTheGridWorking) {
    // The model's way: a control placed over the cell, removed by the host when Enter ends the edit.
    auto* ed = new TEdit(Grid);
    ed->SetParent(Grid);
    TRect r = Grid->CellRect(2, 2);
    ed->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    ed->SetText("5");
    std::string committed;
    ed->OnKeyDown = [&](TObject* s, WORD& k, TShiftState) {
        if (k == VK_RETURN) {
            committed = static_cast<TEdit*>(s)->Text();
            Grid->SetCells(2, 2, committed);
            Grid->SetFocus();
            delete static_cast<TEdit*>(s);
        }
    };
    ed->SetFocus();
    Press(ed, Key::End);
    Type(ed, "0");
    Press(ed, Key::Return); // frees ed
    Application->ProcessMessages();
    EXPECT_EQ(committed, "50");
    EXPECT_EQ(Grid->ControlCount(), 0);
    EXPECT_EQ(Grid->Cells(2, 2), "50");
    Press(Grid, Key::Down);
    EXPECT_EQ(Grid->Row(), 2);
    // The grid's own editor goes with the grid even while it has the focus.
    Grid->SetOptions(Grid->Options() << goEditing);
    Press(Grid, Key::F(2));
    ASSERT_TRUE(Grid->InplaceEditor() && Grid->InplaceEditor()->Focused());
    delete Grid;
    Application->ProcessMessages();
}

TEST_F(Grids, APageAsDrawn) {
    Grid->SetFixedColor(clBtnFace);
    Grid->SetSelection(TGridRect(1, 1, 2, 2));
    Grid->OnDrawCell = [&](TObject*, int c, int r, TRect rect, TGridDrawState) {
        if (c == 4 && r == 4) {
            Grid->Canvas()->Brush()->SetColor(clLime);
            Grid->Canvas()->FillRect(rect);
        }
    };
    auto img = Painted();
    auto PixelAt = [](std::unique_ptr<TBitmap>& b, int x, int y) { return b->Canvas()->GetPixel(x, y); };
    const TColor face = ColorToRGB(clBtnFace), hl = ColorToRGB(clHighlight);
    EXPECT_EQ(PixelAt(img, 64, 30), clBlack);                // fixed column's vertical line
    EXPECT_EQ(PixelAt(img, 200, 74), clSilver);              // line below a normal cell
    EXPECT_EQ(PixelAt(img, 30, 12), face);                   // inside a fixed cell
    EXPECT_EQ(PixelAt(img, 160, 40), hl);                    // selected, not the current cell
    EXPECT_EQ(PixelAt(img, 300, 110), clLime);               // drawn by OnDrawCell
    EXPECT_EQ(PixelAt(img, 328, 150), ColorToRGB(clWindow)); // beyond the last column
    // The current cell's text is drawn from its top-left.
    TRect ink = InkBox(*img, Bounds(66, 26, 62, 22), ColorToRGB(clWindow));
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Left, 4);
}

// A font that a cell's draw handler chooses (a symbol font for one row) stays in that cell: every
// cell after it starts with the grid's font, as the cells before it did.
TEST_F(Grids, AFontTheDrawHandlerChoosesStaysInItsCell) {
    Grid->Font()->SetName("Arial");
    auto plain = Painted();
    std::vector<std::string> fonts;
    Grid->OnDrawCell = [&](TObject*, int c, int r, TRect rect, TGridDrawState) {
        fonts.push_back(Grid->Canvas()->Font()->Name());
        if (c == 1 && r == 2) {
            Grid->Canvas()->Font()->SetName("Wingdings");
            Grid->Canvas()->TextOut(rect.Left + 2, rect.Top + 2, "\xFE\xA8");
        }
    };
    auto img = Painted();
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts, std::vector<std::string>(fonts.size(), "Arial"));
    // Row 3 looks as it did without the handler.
    const TRect row3 = Grid->CellRect(1, 3);
    int differ = 0;
    for (int y = row3.Top; y < row3.Bottom; ++y)
        for (int x = 0; x < img->Width(); ++x)
            differ += img->Canvas()->GetPixel(x, y) != plain->Canvas()->GetPixel(x, y);
    EXPECT_EQ(differ, 0) << "row 3 is drawn in another font";
}

// A grid away from its window's corner paints into the window's store through an offset: its
// clip must still be in its own coordinates, or rows below the offset's height are never drawn.
TEST_F(Grids, AGridAwayFromTheWindowCornerPaintsItsLowestRows) {
    Grid->SetBounds(40, 60, 330, 200);
    Grid->OnDrawCell = [&](TObject*, int c, int r, TRect rect, TGridDrawState) {
        TCanvas* dc = Grid->Canvas();
        if (c == 2 && r == 7) {
            // A clip taken back covers the whole grid again.
            dc->IntersectClipRect(0, 0, 1, 1);
            dc->SelectClipRgn(nullptr);
            dc->Brush()->SetColor(clLime);
            dc->FillRect(rect);
        }
    };
    const TRect cell = Grid->CellRect(2, 7);
    ASSERT_GT(cell.Top, 60); // below the height of the offset
    auto img = Painted(Form);
    const TPoint at = Form->ScreenToClient(Grid->ClientToScreen(TPoint(cell.Left + 4, cell.Top + 4)));
    EXPECT_EQ(img->Canvas()->GetPixel(at.x, at.y), clLime);
}

} // namespace
