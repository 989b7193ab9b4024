// The grid family the layer draws itself with TCanvas: TCustomGrid (geometry, current cell and
// selection, keys, mouse, sizing and moving, scrolling, the in-place editor), TDrawGrid (cells
// painted by OnDrawCell), TStringGrid (a string and an object per cell) and TInplaceEdit.
// Child controls placed over cells by the host stay ordinary children of the grid.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mask.h"

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = Set<TGridOption, goFixedVertLine, goThumbTracking>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = Set<TGridDrawStateItem, gdSelected, gdFixed>;
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0, Y = 0;
    bool operator==(const TGridCoord&) const = default;
};
// Left/Top..Right/Bottom inclusive, in cells.
using TGridRect = TRect;

class TCustomGrid;

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// The grid's own editor: a borderless mask edit over the current cell. Keys that move between
// cells go to the grid.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);
    TCustomGrid* Grid() const { return FGrid; }

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Change() override;
    void Dispatch(TMessage& Message) override;

private:
    friend class TCustomGrid;
    TCustomGrid* FGrid = nullptr;
};

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int v);
    int RowCount() const { return int(FRowHeights.size()); }
    void SetRowCount(int v);
    // A changed fixed count moves LeftCol / TopRow and the current cell to the first scrollable one.
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int v);
    int ColWidths(int i) const { return FColWidths.at(size_t(i)); }
    void SetColWidths(int i, int v);
    int RowHeights(int i) const { return FRowHeights.at(size_t(i)); }
    void SetRowHeights(int i, int v);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool DefaultDrawing = true;

    // The current cell. Moving it from code asks OnSelectCell, as the user's moves do.
    int Col() const { return FCurrent.X; }
    void SetCol(int v);
    int Row() const { return FCurrent.Y; }
    void SetRow(int v);
    // Setting the selection from code is silent.
    TGridRect Selection() const;
    void SetSelection(const TGridRect& v);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    // Scrollable columns and rows wholly in view from LeftCol / TopRow.
    int VisibleColCount();
    int VisibleRowCount();
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool v);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // Client rectangle of a visible cell (without its grid lines); empty when it is out of view.
    TRect CellRect(int ACol, int ARow);
    void MouseToCell(int X, int Y, int& ACol, int& ARow);
    TGridCoord MouseCoord(int X, int Y);
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void InvalidateCell(int ACol, int ARow);
    void InvalidateRow(int ARow);
    void InvalidateCol(int ACol);
    void InvalidateGrid() { Invalidate(); }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;

protected:
    void Paint() override;
    // Paints one cell after the grid has filled it (DefaultDrawing) in its state's colours.
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual bool SelectCell(int ACol, int ARow);
    virtual std::string GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const std::string& Value);
    virtual std::string GetEditMask(int ACol, int ARow);
    virtual bool CanEditShow();
    virtual TInplaceEdit* CreateEditor();
    virtual void TopLeftChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual void SizeChanged(int /*OldColCount*/, int /*OldRowCount*/) {}
    // Colour of the lines between fixed cells (Fixed) or between the other cells.
    virtual TColor GridLineColor(bool Fixed) { return Fixed ? clBlack : clSilver; }
    void ShowEditor();
    void HideEditor();
    void UpdateText();
    // Moves the current cell (asking SelectCell); MoveAnchor starts a new selection there.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WMSize(TWMSize& Message) override;
    void DoExit() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TGridState FGridState = gsNormal;

private:
    friend class TInplaceEdit;
    // Pixel extents: the fixed block, and the left edge of a column / top of a row in view (-1 if not).
    int FixedWidth() const;
    int FixedHeight() const;
    int ColLeft(int ACol);
    int RowTop(int ARow);
    int ColAt(int X);
    int RowAt(int Y);
    // The line between two columns / rows under a point of the fixed area, for sizing; -1 if none.
    int SizingCol(int X) const;
    int SizingRow(int Y) const;
    void MoveCurrent(TGridCoord to, bool MoveAnchor, bool Ask);
    void ScrollIntoView(TGridCoord c);
    void MoveTopLeft(int ACol, int ARow);
    void StartAfterFixed(int& TopLeft, int& Current, int& Anchor, int First);
    int MaxTopRow();
    int MaxLeftCol();
    void UpdateScrollRange();
    void Scroll(int Bar, int Code, int Pos);
    void UpdateEditorBounds();
    void Changed();

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    int FFixedCols = 1, FFixedRows = 1;
    int FDefaultColWidth = 64, FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor FFixedColor = clBtnFace;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    TGridCoord FCurrent{1, 1}, FAnchor{1, 1}, FTopLeft{1, 1};
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    std::string FEditOriginal;
    // Mouse sizing and moving.
    int FSizingIndex = -1, FSizingPos = 0, FSizingStart = 0;
    int FMoveIndex = -1;
};

class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    TRect CellRect(int ACol, int ARow) { return TCustomGrid::CellRect(ACol, ARow); }
};

class TStringGrid;

// A row or a column of a string grid seen as a list of strings (Rows[i], Cols[i]).
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* grid, bool row, int index) : FGrid(grid), FRow(row), FIndex(index) {}
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int GetCount() const override;
    // Blanks the cells (the row or column stays).
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    // Fills the first empty cell; -1 when none is.
    int Add(const std::string& S) override;

private:
    int Col(int Index) const { return FRow ? Index : FIndex; }
    int RowOf(int Index) const { return FRow ? FIndex : Index; }
    TStringGrid* FGrid;
    bool FRow;
    int FIndex;
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Setting a cell from code is silent (no OnSetEditText).
    const std::string& Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const std::string& v);
    TObject* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* v);
    TStrings* Rows(int ARow);
    TStrings* Cols(int ACol);

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    std::string GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const std::string& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    friend class TStringGridStrings;
    size_t At(int ACol, int ARow) const;
    // Row-major; objects only once one is set.
    std::vector<std::string> FCells;
    std::vector<TObject*> FObjects;
    int FStride = 0;
    std::vector<std::unique_ptr<TStringGridStrings>> FRowsView, FColsView;
};
