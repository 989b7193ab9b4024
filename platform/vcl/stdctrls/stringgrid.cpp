// TStringGrid: a string and an object per cell in one row-major block, the rows and columns as
// string lists, and the cells as the in-place editor's text.
#include "grids.h"

static const std::string kEmpty;

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { SizeChanged(0, 0); }

TStringGrid::~TStringGrid() = default;

size_t TStringGrid::At(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        throw EInvalidOperation("Grid index out of range");
    return size_t(ARow) * size_t(FStride) + size_t(ACol);
}

// Keeps each cell's text and object where they were when the grid grows or shrinks.
void TStringGrid::SizeChanged(int, int) {
    int cols = ColCount(), rows = RowCount();
    if (cols == FStride) {
        FCells.resize(size_t(cols) * size_t(rows));
        if (!FObjects.empty())
            FObjects.resize(FCells.size(), nullptr);
    } else {
        std::vector<std::string> cells(size_t(cols) * size_t(rows));
        std::vector<TObject*> objects(FObjects.empty() ? 0 : cells.size(), nullptr);
        int oldRows = FStride ? int(FCells.size()) / FStride : 0;
        for (int r = 0; r < std::min(rows, oldRows); ++r)
            for (int k = 0; k < std::min(cols, FStride); ++k) {
                size_t from = size_t(r) * size_t(FStride) + size_t(k),
                       to = size_t(r) * size_t(cols) + size_t(k);
                cells[to] = std::move(FCells[from]);
                if (!objects.empty())
                    objects[to] = FObjects[from];
            }
        FCells.swap(cells);
        FObjects.swap(objects);
        FStride = cols;
    }
    FRowsView.clear();
    FColsView.clear();
}

const std::string& TStringGrid::Cells(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return kEmpty;
    return FCells[At(ACol, ARow)];
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& v) {
    std::string& cell = FCells[At(ACol, ARow)];
    if (cell == v)
        return;
    cell = v;
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
    size_t i = At(ACol, ARow);
    return FObjects.empty() ? nullptr : FObjects[i];
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* v) {
    size_t i = At(ACol, ARow);
    if (FObjects.empty()) {
        if (!v)
            return;
        FObjects.assign(FCells.size(), nullptr);
    }
    FObjects[i] = v;
}

TStrings* TStringGrid::Rows(int ARow) {
    At(0, ARow);
    if (FRowsView.size() < size_t(RowCount()))
        FRowsView.resize(size_t(RowCount()));
    auto& v = FRowsView[size_t(ARow)];
    if (!v)
        v = std::make_unique<TStringGridStrings>(this, true, ARow);
    return v.get();
}

TStrings* TStringGrid::Cols(int ACol) {
    At(ACol, 0);
    if (FColsView.size() < size_t(ColCount()))
        FColsView.resize(size_t(ColCount()));
    auto& v = FColsView[size_t(ACol)];
    if (!v)
        v = std::make_unique<TStringGridStrings>(this, false, ACol);
    return v.get();
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (DefaultDrawing) {
        const std::string& s = FCells[At(ACol, ARow)];
        if (!s.empty()) {
            TCanvas* c = Canvas();
            c->Brush()->SetStyle(bsClear);
            c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, s);
            c->Brush()->SetStyle(bsSolid);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

std::string TStringGrid::GetEditText(int ACol, int ARow) {
    std::string s = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, s);
    return s;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    for (int r = 0; r < RowCount(); ++r) {
        auto row = FCells.begin() + std::ptrdiff_t(size_t(r) * size_t(FStride));
        if (FromIndex < ToIndex)
            std::rotate(row + FromIndex, row + FromIndex + 1, row + ToIndex + 1);
        else
            std::rotate(row + ToIndex, row + FromIndex, row + FromIndex + 1);
        if (!FObjects.empty()) {
            auto obj = FObjects.begin() + std::ptrdiff_t(size_t(r) * size_t(FStride));
            if (FromIndex < ToIndex)
                std::rotate(obj + FromIndex, obj + FromIndex + 1, obj + ToIndex + 1);
            else
                std::rotate(obj + ToIndex, obj + FromIndex, obj + FromIndex + 1);
        }
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
    auto move = [&](auto& v) {
        if (v.empty())
            return;
        auto at = [&](int r) { return v.begin() + std::ptrdiff_t(size_t(r) * size_t(FStride)); };
        if (FromIndex < ToIndex)
            std::rotate(at(FromIndex), at(FromIndex + 1), at(ToIndex + 1));
        else
            std::rotate(at(ToIndex), at(FromIndex), at(FromIndex + 1));
    };
    move(FCells);
    move(FObjects);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

// ---- TStringGridStrings -------------------------------------------------------------------------

std::string TStringGridStrings::Get(int Index) const { return FGrid->Cells(Col(Index), RowOf(Index)); }
void TStringGridStrings::Put(int Index, const std::string& S) {
    FGrid->SetCells(Col(Index), RowOf(Index), S);
}
TObject* TStringGridStrings::GetObject(int Index) const { return FGrid->Objects(Col(Index), RowOf(Index)); }
void TStringGridStrings::PutObject(int Index, TObject* AObject) {
    FGrid->SetObjects(Col(Index), RowOf(Index), AObject);
}
int TStringGridStrings::GetCount() const { return FRow ? FGrid->ColCount() : FGrid->RowCount(); }

void TStringGridStrings::Clear() {
    for (int i = 0; i < GetCount(); ++i) {
        Put(i, std::string());
        PutObject(i, nullptr);
    }
}

void TStringGridStrings::Delete(int) { throw EInvalidOperation("Grid rows and columns keep their size"); }
void TStringGridStrings::Insert(int, const std::string&) {
    throw EInvalidOperation("Grid rows and columns keep their size");
}

int TStringGridStrings::Add(const std::string& S) {
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i).empty()) {
            Put(i, S);
            return i;
        }
    return -1;
}
