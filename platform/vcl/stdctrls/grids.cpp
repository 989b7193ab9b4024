// TCustomGrid: geometry, the current cell and the selection, keys, mouse (selecting, sizing and
// moving), scrolling through the window scroll-bar protocol (WM_HSCROLL / WM_VSCROLL) and the
// in-place editor's life cycle. Painting is in gridpaint.cpp.
#include "grids.h"

#include "winapi.h"

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner), FColWidths(5, 64), FRowHeights(5, 24) {
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents, csAcceptsControls};
    SetBounds(Left(), Top(), 320, 120);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        Params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        Params.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle)
        Params.Style |= WS_BORDER;
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::Changed() {
    UpdateScrollRange();
    UpdateEditorBounds();
    Invalidate();
}

// ---- size and geometry ----------------------------------------------------------------------------

void TCustomGrid::SetColCount(int v) {
    v = std::max(v, 1);
    if (v == ColCount())
        return;
    int oldCols = ColCount();
    FColWidths.resize(size_t(v), FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, v - 1);
    SizeChanged(oldCols, RowCount());
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, v - 1);
    FAnchor.X = std::clamp(FAnchor.X, FFixedCols, v - 1);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    Changed();
}

void TCustomGrid::SetRowCount(int v) {
    v = std::max(v, 1);
    if (v == RowCount())
        return;
    int oldRows = RowCount();
    FRowHeights.resize(size_t(v), FDefaultRowHeight);
    FFixedRows = std::min(FFixedRows, v - 1);
    SizeChanged(ColCount(), oldRows);
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, v - 1);
    FAnchor.Y = std::clamp(FAnchor.Y, FFixedRows, v - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    Changed();
}

void TCustomGrid::SetFixedCols(int v) {
    if (v < 0 || v >= ColCount())
        throw EInvalidOperation("Fixed column count must be less than column count");
    if (v == FFixedCols)
        return;
    FFixedCols = v;
    StartAfterFixed(FTopLeft.X, FCurrent.X, FAnchor.X, v);
}

void TCustomGrid::SetFixedRows(int v) {
    if (v < 0 || v >= RowCount())
        throw EInvalidOperation("Fixed row count must be less than row count");
    if (v == FFixedRows)
        return;
    FFixedRows = v;
    StartAfterFixed(FTopLeft.Y, FCurrent.Y, FAnchor.Y, v);
}

// A new fixed count starts the view and the current cell at the first scrollable line: kept where
// they were, cells that were fixed before would stay scrolled away above them.
void TCustomGrid::StartAfterFixed(int& TopLeft, int& Current, int& Anchor, int First) {
    if (Current != First)
        HideEditor();
    TopLeft = Current = Anchor = First;
    Changed();
}

void TCustomGrid::SetDefaultColWidth(int v) {
    FDefaultColWidth = v;
    std::fill(FColWidths.begin(), FColWidths.end(), v);
    ColWidthsChanged();
    Changed();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
    FDefaultRowHeight = v;
    std::fill(FRowHeights.begin(), FRowHeights.end(), v);
    RowHeightsChanged();
    Changed();
}

void TCustomGrid::SetColWidths(int i, int v) {
    if (FColWidths.at(size_t(i)) == v)
        return;
    FColWidths[size_t(i)] = std::max(v, -1);
    ColWidthsChanged();
    Changed();
}

void TCustomGrid::SetRowHeights(int i, int v) {
    if (FRowHeights.at(size_t(i)) == v)
        return;
    FRowHeights[size_t(i)] = std::max(v, -1);
    RowHeightsChanged();
    Changed();
}

void TCustomGrid::SetGridLineWidth(int v) {
    FGridLineWidth = std::max(v, 0);
    Changed();
}
void TCustomGrid::SetFixedColor(TColor v) {
    FFixedColor = v;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
    FOptions = v;
    if (!FOptions.Contains(goEditing))
        HideEditor();
    if (FOptions.Contains(goRowSelect))
        FAnchor.Y = FCurrent.Y;
    if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing) && Focused())
        ShowEditor();
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
    FScrollBars = v;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v) {
    FBorderStyle = v;
    if (HandleAllocated())
        RecreateWnd();
}

int TCustomGrid::FixedWidth() const {
    int w = 0;
    for (int i = 0; i < FFixedCols; ++i)
        w += FColWidths[size_t(i)] + FGridLineWidth;
    return w;
}

int TCustomGrid::FixedHeight() const {
    int h = 0;
    for (int i = 0; i < FFixedRows; ++i)
        h += FRowHeights[size_t(i)] + FGridLineWidth;
    return h;
}

// Start of cell `index` along one axis in view, or -1: fixed cells first, then the scrolled ones from
// `first`, each followed by a grid line, up to `limit`.
static int AxisStart(int index, int count, int fixedCount, int first, int fixedExtent,
                     const std::vector<int>& sizes, int lineWidth, int limit) {
    if (index < 0 || index >= count || (index >= fixedCount && index < first))
        return -1;
    int at = 0, from = 0;
    if (index >= fixedCount) {
        at = fixedExtent;
        from = first;
    }
    for (int i = from; i < index; ++i) {
        at += sizes[size_t(i)] + lineWidth;
        if (at >= limit)
            return -1;
    }
    return at;
}

int TCustomGrid::ColLeft(int ACol) {
    return AxisStart(ACol, ColCount(), FFixedCols, FTopLeft.X, FixedWidth(), FColWidths, FGridLineWidth,
                     ClientWidth());
}

int TCustomGrid::RowTop(int ARow) {
    return AxisStart(ARow, RowCount(), FFixedRows, FTopLeft.Y, FixedHeight(), FRowHeights, FGridLineWidth,
                     ClientHeight());
}

TRect TCustomGrid::CellRect(int ACol, int ARow) {
    int x = ColLeft(ACol), y = RowTop(ARow);
    if (x < 0 || y < 0)
        return TRect();
    return Bounds(x, y, FColWidths[size_t(ACol)], FRowHeights[size_t(ARow)]);
}

// Cell under `pos` along one axis, or -1: fixed cells first, then the scrolled ones from `first`.
static int AxisAt(int pos, int count, int fixedCount, int first, const std::vector<int>& sizes, int lineWidth,
                  int limit) {
    if (pos < 0)
        return -1;
    int at = 0;
    for (int i = 0; i < count; ++i) {
        if (i == fixedCount)
            i = first;
        if (i >= count)
            break;
        at += sizes[size_t(i)] + lineWidth;
        if (pos < at)
            return i;
        if (at > limit)
            break;
    }
    return -1;
}

int TCustomGrid::ColAt(int X) {
    return AxisAt(X, ColCount(), FFixedCols, FTopLeft.X, FColWidths, FGridLineWidth, ClientWidth());
}

int TCustomGrid::RowAt(int Y) {
    return AxisAt(Y, RowCount(), FFixedRows, FTopLeft.Y, FRowHeights, FGridLineWidth, ClientHeight());
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) {
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) {
    TGridCoord c{ColAt(X), RowAt(Y)};
    if (c.X < 0 || c.Y < 0)
        c = {-1, -1};
    return c;
}

int TCustomGrid::VisibleColCount() {
    int room = ClientWidth() - FixedWidth(), n = 0;
    for (int i = FTopLeft.X; i < ColCount(); ++i) {
        room -= FColWidths[size_t(i)] + FGridLineWidth;
        if (room < 0)
            break;
        ++n;
    }
    return std::max(n, 1);
}

int TCustomGrid::VisibleRowCount() {
    int room = ClientHeight() - FixedHeight(), n = 0;
    for (int i = FTopLeft.Y; i < RowCount(); ++i) {
        room -= FRowHeights[size_t(i)] + FGridLineWidth;
        if (room < 0)
            break;
        ++n;
    }
    return std::max(n, 1);
}

// The last top row that still fills the view (rows below it fit exactly).
int TCustomGrid::MaxTopRow() {
    int room = ClientHeight() - FixedHeight();
    int r = RowCount() - 1;
    for (room -= FRowHeights[size_t(r)] + FGridLineWidth; r > FFixedRows; --r) {
        room -= FRowHeights[size_t(r - 1)] + FGridLineWidth;
        if (room < 0)
            break;
    }
    return std::max(r, FFixedRows);
}

int TCustomGrid::MaxLeftCol() {
    int room = ClientWidth() - FixedWidth();
    int c = ColCount() - 1;
    for (room -= FColWidths[size_t(c)] + FGridLineWidth; c > FFixedCols; --c) {
        room -= FColWidths[size_t(c - 1)] + FGridLineWidth;
        if (room < 0)
            break;
    }
    return std::max(c, FFixedCols);
}

int TCustomGrid::SizingCol(int X) const {
    int x = 0;
    for (int i = 0; i < ColCount(); ++i) {
        if (i == FFixedCols)
            i = FTopLeft.X;
        if (i >= ColCount())
            break;
        x += FColWidths[size_t(i)];
        if (std::abs(X - x) <= 2)
            return i;
        x += FGridLineWidth;
        if (x > X + 3)
            break;
    }
    return -1;
}

int TCustomGrid::SizingRow(int Y) const {
    int y = 0;
    for (int i = 0; i < RowCount(); ++i) {
        if (i == FFixedRows)
            i = FTopLeft.Y;
        if (i >= RowCount())
            break;
        y += FRowHeights[size_t(i)];
        if (std::abs(Y - y) <= 2)
            return i;
        y += FGridLineWidth;
        if (y > Y + 3)
            break;
    }
    return -1;
}

// ---- current cell, selection, scrolling -----------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
    TGridRect r(std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y));
    if (FOptions.Contains(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& v) {
    FAnchor = {std::clamp(v.Left, FFixedCols, ColCount() - 1), std::clamp(v.Top, FFixedRows, RowCount() - 1)};
    FCurrent = {std::clamp(v.Right, FFixedCols, ColCount() - 1),
                std::clamp(v.Bottom, FFixedRows, RowCount() - 1)};
    ScrollIntoView(FCurrent);
    UpdateEditorBounds();
    Invalidate();
}

bool TCustomGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomGrid::SetCol(int v) { FocusCell(v, FCurrent.Y, true); }
void TCustomGrid::SetRow(int v) { FocusCell(FCurrent.X, v, true); }

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    MoveCurrent({ACol, ARow}, MoveAnchor, true);
}

void TCustomGrid::MoveCurrent(TGridCoord to, bool MoveAnchor, bool Ask) {
    if (to.X < FFixedCols || to.X >= ColCount() || to.Y < FFixedRows || to.Y >= RowCount())
        return;
    if (Ask && !(to == FCurrent) && !SelectCell(to.X, to.Y))
        return;
    TControlGuard self(this);
    if (!self.Alive())
        return;
    bool moved = !(to == FCurrent);
    if (moved)
        HideEditor();
    FCurrent = to;
    if (MoveAnchor || !FOptions.Contains(goRangeSelect))
        FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect))
        FAnchor.Y = FCurrent.Y;
    ScrollIntoView(FCurrent);
    Invalidate();
    if (moved && FOptions.Contains(goAlwaysShowEditor) && Focused())
        ShowEditor();
}

void TCustomGrid::ScrollIntoView(TGridCoord c) {
    int left = FTopLeft.X, top = FTopLeft.Y;
    if (c.Y < top)
        top = c.Y;
    else if (c.Y >= top + VisibleRowCount()) {
        // The lowest top that still shows the row.
        int room = ClientHeight() - FixedHeight();
        top = c.Y;
        for (int r = c.Y; r >= FFixedRows; --r) {
            room -= FRowHeights[size_t(r)] + FGridLineWidth;
            if (room < 0)
                break;
            top = r;
        }
    }
    if (c.X < left)
        left = c.X;
    else if (c.X >= left + VisibleColCount()) {
        int room = ClientWidth() - FixedWidth();
        left = c.X;
        for (int k = c.X; k >= FFixedCols; --k) {
            room -= FColWidths[size_t(k)] + FGridLineWidth;
            if (room < 0)
                break;
            left = k;
        }
    }
    MoveTopLeft(left, top);
}

void TCustomGrid::MoveTopLeft(int ACol, int ARow) {
    ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, ColCount() - 1));
    ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, RowCount() - 1));
    if (ACol == FTopLeft.X && ARow == FTopLeft.Y)
        return;
    FTopLeft = {ACol, ARow};
    UpdateScrollRange();
    UpdateEditorBounds();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged() {
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TCustomGrid::SetTopRow(int v) { MoveTopLeft(FTopLeft.X, std::min(v, MaxTopRow())); }
void TCustomGrid::SetLeftCol(int v) { MoveTopLeft(std::min(v, MaxLeftCol()), FTopLeft.Y); }

// The window scroll bars count scrollable rows and columns: the page is what is in view, so a bar
// whose cells all fit hides itself.
void TCustomGrid::UpdateScrollRange() {
    if (!HandleAllocated())
        return;
    auto set = [this](int bar, int first, int maxTop, int top, int page) {
        TScrollInfo si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = maxTop - first + page - 1;
        si.nPage = UINT(page);
        si.nPos = top - first;
        SetScrollInfo(Handle(), bar, &si, true);
    };
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        set(SB_VERT, FFixedRows, MaxTopRow(), FTopLeft.Y, VisibleRowCount());
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        set(SB_HORZ, FFixedCols, MaxLeftCol(), FTopLeft.X, VisibleColCount());
}

void TCustomGrid::Scroll(int Bar, int Code, int Pos) {
    bool vert = Bar == SB_VERT;
    int cur = vert ? FTopLeft.Y : FTopLeft.X;
    int first = vert ? FFixedRows : FFixedCols;
    int last = vert ? MaxTopRow() : MaxLeftCol();
    int page = vert ? VisibleRowCount() : VisibleColCount();
    int to = cur;
    switch (Code) {
    case SB_LINEUP: to = cur - 1; break;
    case SB_LINEDOWN: to = cur + 1; break;
    case SB_PAGEUP: to = cur - page; break;
    case SB_PAGEDOWN: to = cur + page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        if (Code == SB_THUMBTRACK && !FOptions.Contains(goThumbTracking))
            return;
        // The 16 bits of the message hold the place only up to 65,535 rows: the bar knows it whole.
        TScrollInfo si;
        si.fMask = SIF_TRACKPOS;
        if (HandleAllocated() && GetScrollInfo(Handle(), Bar, &si) && Code == SB_THUMBTRACK)
            Pos = si.nTrackPos;
        to = first + Pos;
        break;
    }
    case SB_TOP: to = first; break;
    case SB_BOTTOM: to = last; break;
    default: return;
    }
    to = std::clamp(to, first, last);
    if (vert)
        MoveTopLeft(FTopLeft.X, to);
    else
        MoveTopLeft(to, FTopLeft.Y);
}

void TCustomGrid::WMSize(TWMSize& Message) {
    TCustomControl::WMSize(Message);
    UpdateScrollRange();
}

void TCustomGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        Scroll(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, int(Message.WParamLo()),
               short(Message.WParamHi()));
        return;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | (FOptions.Contains(goTabs) ? DLGC_WANTTAB : 0) |
                         (FOptions.Contains(goEditing) ? DLGC_WANTCHARS : 0);
        return;
    default: TCustomControl::Dispatch(Message);
    }
}

// A whole repaint costs one page of cells; finer regions are not worth their bookkeeping here.
void TCustomGrid::InvalidateCell(int, int) { Invalidate(); }
void TCustomGrid::InvalidateRow(int) { Invalidate(); }
void TCustomGrid::InvalidateCol(int) { Invalidate(); }

// ---- moving columns and rows --------------------------------------------------------------------

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex)
        return;
    int w = FColWidths.at(size_t(FromIndex));
    FColWidths.erase(FColWidths.begin() + FromIndex);
    FColWidths.insert(FColWidths.begin() + ToIndex, w);
    ColumnMoved(FromIndex, ToIndex);
    Changed();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex)
        return;
    int h = FRowHeights.at(size_t(FromIndex));
    FRowHeights.erase(FRowHeights.begin() + FromIndex);
    FRowHeights.insert(FRowHeights.begin() + ToIndex, h);
    RowMoved(FromIndex, ToIndex);
    Changed();
}

void TCustomGrid::ColumnMoved(int FromIndex, int ToIndex) {
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomGrid::RowMoved(int FromIndex, int ToIndex) {
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

// ---- keyboard -----------------------------------------------------------------------------------

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    bool ctrl = Shift.Contains(ssCtrl);
    bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && Key != VK_TAB;
    TGridCoord to = FCurrent;
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    switch (Key) {
    case VK_UP: to.Y--; break;
    case VK_DOWN: to.Y++; break;
    case VK_LEFT:
        if (FOptions.Contains(goRowSelect))
            return;
        to.X--;
        break;
    case VK_RIGHT:
        if (FOptions.Contains(goRowSelect))
            return;
        to.X++;
        break;
    case VK_PRIOR: {
        // The page moves with the cell: the same place in the view, a page up.
        int page = VisibleRowCount();
        MoveTopLeft(FTopLeft.X, std::max(FTopLeft.Y - page, FFixedRows));
        to.Y -= page;
        break;
    }
    case VK_NEXT: {
        int page = VisibleRowCount();
        MoveTopLeft(FTopLeft.X, std::min(FTopLeft.Y + page, MaxTopRow()));
        to.Y += page;
        break;
    }
    case VK_HOME:
        if (ctrl)
            to = {FFixedCols, FFixedRows};
        else if (FOptions.Contains(goRowSelect))
            to.Y = FFixedRows;
        else
            to.X = FFixedCols;
        break;
    case VK_END:
        if (ctrl)
            to = {lastCol, lastRow};
        else if (FOptions.Contains(goRowSelect))
            to.Y = lastRow;
        else
            to.X = lastCol;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs) || ctrl)
            return;
        if (Shift.Contains(ssShift)) {
            if (--to.X < FFixedCols) {
                to.X = lastCol;
                if (--to.Y < FFixedRows)
                    to.Y = lastRow;
            }
        } else if (++to.X > lastCol) {
            to.X = FFixedCols;
            if (++to.Y > lastRow)
                to.Y = FFixedRows;
        }
        break;
    case VK_F2:
        if (FOptions.Contains(goEditing))
            SetEditorMode(true);
        Key = 0;
        return;
    default: return;
    }
    to.X = std::clamp(to.X, FFixedCols, lastCol);
    to.Y = std::clamp(to.Y, FFixedRows, lastRow);
    MoveCurrent(to, !extend, true);
    Key = 0;
}

void TCustomGrid::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == '\r' && !FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing)) {
        SetEditorMode(!FEditorMode);
        Key = 0;
        return;
    }
    // A character typed on the grid starts editing the cell with it.
    if (static_cast<unsigned char>(Key) >= 0x20 && FOptions.Contains(goEditing) && !FEditorMode &&
        CanEditShow()) {
        ShowEditor();
        // The editor opened with its text selected: the character replaces it.
        if (FInplaceEdit && FEditorMode) {
            if (FInplaceEdit->IsMasked())
                FInplaceEdit->Perform(WM_CHAR, static_cast<unsigned char>(Key), 0);
            else
                FInplaceEdit->SetSelText(std::string(1, Key));
        }
        Key = 0;
    }
}

// ---- mouse --------------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TControlGuard self(this);
    if (!Focused() && CanFocus())
        SetFocus();
    if (!self.Alive())
        return;
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (!self.Alive() || Button != mbLeft)
        return;
    bool inFixedRow = Y < FixedHeight(), inFixedCol = X < FixedWidth();
    if (inFixedRow && FOptions.Contains(goColSizing) && (FSizingIndex = SizingCol(X)) >= 0) {
        FGridState = gsColSizing;
        FSizingPos = X;
        FSizingStart = FColWidths[size_t(FSizingIndex)];
        return;
    }
    if (inFixedCol && FOptions.Contains(goRowSizing) && (FSizingIndex = SizingRow(Y)) >= 0) {
        FGridState = gsRowSizing;
        FSizingPos = Y;
        FSizingStart = FRowHeights[size_t(FSizingIndex)];
        return;
    }
    TGridCoord c = MouseCoord(X, Y);
    if (c.X < 0)
        return;
    if (inFixedRow && FOptions.Contains(goColMoving) && c.X >= FFixedCols) {
        FGridState = gsColMoving;
        FMoveIndex = c.X;
        return;
    }
    if (inFixedCol && FOptions.Contains(goRowMoving) && c.Y >= FFixedRows) {
        FGridState = gsRowMoving;
        FMoveIndex = c.Y;
        return;
    }
    if (c.X < FFixedCols || c.Y < FFixedRows)
        return;
    if (c == FCurrent && FOptions.Contains(goEditing) && !Shift.Contains(ssDouble)) {
        ShowEditor();
        return;
    }
    bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
    MoveCurrent(c, !extend, true);
    if (self.Alive() && FOptions.Contains(goRangeSelect))
        FGridState = gsSelecting;
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    switch (FGridState) {
    case gsColSizing: SetColWidths(FSizingIndex, std::max(0, FSizingStart + X - FSizingPos)); return;
    case gsRowSizing: SetRowHeights(FSizingIndex, std::max(0, FSizingStart + Y - FSizingPos)); return;
    case gsSelecting: {
        TGridCoord c = MouseCoord(X, Y);
        if (c.X >= FFixedCols && c.Y >= FFixedRows && !(c == FCurrent))
            MoveCurrent(c, false, true);
        return;
    }
    default:
        if (Y < FixedHeight() && FOptions.Contains(goColSizing) && SizingCol(X) >= 0)
            SetCursor(crHSplit);
        else if (X < FixedWidth() && FOptions.Contains(goRowSizing) && SizingRow(Y) >= 0)
            SetCursor(crVSplit);
        else
            SetCursor(crDefault);
    }
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGridState state = FGridState;
    FGridState = gsNormal;
    if (state == gsColMoving || state == gsRowMoving) {
        TGridCoord c = MouseCoord(X, Y);
        int to = state == gsColMoving ? c.X : c.Y;
        int first = state == gsColMoving ? FFixedCols : FFixedRows;
        if (to >= first && to != FMoveIndex) {
            if (state == gsColMoving)
                MoveColumn(FMoveIndex, to);
            else
                MoveRow(FMoveIndex, to);
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// The wheel moves the current row, as the class library's grid does.
bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    int to = std::clamp(FCurrent.Y + (WheelDelta < 0 ? 1 : -1), FFixedRows, RowCount() - 1);
    MoveCurrent({FCurrent.X, to}, true, true);
    return true;
}

// ---- in-place editor ----------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && Enabled() && HandleAllocated();
}

std::string TCustomGrid::GetEditText(int ACol, int ARow) {
    std::string s;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, s);
    return s;
}

void TCustomGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

std::string TCustomGrid::GetEditMask(int, int) { return std::string(); }

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::SetEditorMode(bool v) {
    if (v)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor() {
    if (!CanEditShow())
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->FGrid = this;
        FInplaceEdit->SetVisible(false);
        FInplaceEdit->SetParent(this);
    }
    TControlGuard self(this);
    FEditorMode = true;
    FInplaceEdit->FSyncing = true;
    FInplaceEdit->SetEditMask(GetEditMask(FCurrent.X, FCurrent.Y));
    FEditOriginal = GetEditText(FCurrent.X, FCurrent.Y);
    if (!self.Alive() || !FInplaceEdit)
        return;
    FInplaceEdit->SetText(FEditOriginal);
    FInplaceEdit->SetModified(false);
    FInplaceEdit->FSyncing = false;
    FInplaceEdit->SetFont(Font());
    FInplaceEdit->SetColor(Color());
    UpdateEditorBounds();
    FInplaceEdit->SetVisible(true);
    if (Focused() || FInplaceEdit->Focused())
        FInplaceEdit->SetFocus();
    FInplaceEdit->SelectAll();
}

void TCustomGrid::HideEditor() {
    if (!FEditorMode || !FInplaceEdit)
        return;
    FEditorMode = false;
    bool hadFocus = FInplaceEdit->Focused();
    FInplaceEdit->SetVisible(false);
    if (hadFocus && CanFocus())
        SetFocus();
    Invalidate();
}

void TCustomGrid::UpdateText() {
    if (FEditorMode && FInplaceEdit)
        SetEditText(FCurrent.X, FCurrent.Y, FInplaceEdit->Text());
}

void TCustomGrid::UpdateEditorBounds() {
    if (!FInplaceEdit || !FEditorMode)
        return;
    TRect r = CellRect(FCurrent.X, FCurrent.Y);
    if (r.IsEmpty()) {
        FInplaceEdit->SetBounds(-FInplaceEdit->Width() - 10, 0, FInplaceEdit->Width(),
                                FInplaceEdit->Height());
        return;
    }
    FInplaceEdit->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomGrid::DoExit() {
    TCustomControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor) && FInplaceEdit && !FInplaceEdit->Focused())
        HideEditor();
}

void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FInplaceEdit) {
        FInplaceEdit = nullptr;
        FEditorMode = false;
    }
}

// ---- TInplaceEdit -------------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
    SetBorderStyle(bsNone);
    SetTabStop(false);
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key == 0 || !FGrid)
        return;
    auto toGrid = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    int start = SelStart(), len = SelLength(), size = int(Text().size());
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: toGrid(); break;
    case VK_LEFT:
        if (start == 0 && len == 0)
            toGrid();
        break;
    case VK_RIGHT:
        if (start == size && len == 0)
            toGrid();
        break;
    case VK_HOME:
    case VK_END:
        if (Shift.Contains(ssCtrl))
            toGrid();
        break;
    case VK_TAB:
        if (FGrid->Options().Contains(goTabs))
            toGrid();
        break;
    case VK_ESCAPE: {
        // Back to the text the cell had when editing began.
        TCustomGrid* grid = FGrid;
        TControlGuard g(grid);
        SetText(grid->FEditOriginal);
        if (g.Alive())
            grid->UpdateText();
        if (g.Alive())
            grid->HideEditor();
        Key = 0;
        break;
    }
    default: break;
    }
}

void TInplaceEdit::KeyPress(char& Key) {
    if (Key == '\r' && FGrid) {
        TCustomGrid* grid = FGrid;
        TControlGuard g(grid);
        if (grid->Options().Contains(goAlwaysShowEditor))
            SelectAll();
        else
            grid->HideEditor();
        Key = 0;
        return;
    }
    if (Key == '\t' || Key == 0x1B) {
        Key = 0;
        return;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::Change() {
    TCustomMaskEdit::Change();
    if (FGrid && !FSyncing)
        FGrid->UpdateText();
}

void TInplaceEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS |
                         (FGrid && FGrid->Options().Contains(goTabs) ? DLGC_WANTTAB : 0);
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}
