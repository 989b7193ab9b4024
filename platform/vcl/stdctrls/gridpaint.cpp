// Painting of the grid with TCanvas: the fixed and scrolling blocks cell by cell, grid lines, the
// focus rectangle, and the space beyond the last cells in the grid's colour.
#include "grids.h"

#include "wingdi.h"

static bool Inside(int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); }

void TCustomGrid::Paint() {
    TCanvas* c = Canvas();
    const int cw = ClientWidth(), ch = ClientHeight();
    const int line = FGridLineWidth;
    const TGridRect sel = Selection();
    const bool focused = Focused() || (FInplaceEdit && FInplaceEdit->Focused());
    c->SetFont(Font());
    TRect clip = c->ClipRect();
    const TColor fixedLine = GridLineColor(true), cellLine = GridLineColor(false);

    // Columns and rows in view: the fixed ones, then from LeftCol / TopRow until the edge.
    std::vector<std::pair<int, int>> cols, rows; // index, left or top
    for (int x = 0, i = 0; i < ColCount() && x < cw; ++i) {
        if (i == FFixedCols)
            i = FTopLeft.X;
        if (i >= ColCount())
            break;
        cols.emplace_back(i, x);
        x += FColWidths[size_t(i)] + line;
    }
    for (int y = 0, i = 0; i < RowCount() && y < ch; ++i) {
        if (i == FFixedRows)
            i = FTopLeft.Y;
        if (i >= RowCount())
            break;
        rows.emplace_back(i, y);
        y += FRowHeights[size_t(i)] + line;
    }
    int right = cols.empty() ? 0 : cols.back().second + FColWidths[size_t(cols.back().first)] + line;
    int bottom = rows.empty() ? 0 : rows.back().second + FRowHeights[size_t(rows.back().first)] + line;

    for (auto [r, y] : rows) {
        const int h = FRowHeights[size_t(r)];
        if (h < 0 || y > clip.Bottom || y + h + line < clip.Top)
            continue;
        for (auto [k, x] : cols) {
            const int w = FColWidths[size_t(k)];
            if (w < 0 || x > clip.Right || x + w + line < clip.Left)
                continue;
            const bool fixed = k < FFixedCols || r < FFixedRows;
            const bool vert = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
            const bool horz = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
            TRect cell = Bounds(x, y, w, h);
            TGridDrawState state;
            if (fixed)
                state << gdFixed;
            else {
                bool isCurrent = k == FCurrent.X && r == FCurrent.Y;
                if (isCurrent && focused)
                    state << gdFocused;
                bool inSel = Inside(k, sel.Left, sel.Right) && Inside(r, sel.Top, sel.Bottom);
                if (inSel &&
                    (!isCurrent || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect)))
                    state << gdSelected;
            }
            // Lines right of and below the cell; a missing line is cell area in the cell's colour.
            TColor back = fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color();
            if (line > 0) {
                c->Brush()->SetStyle(bsSolid);
                c->Brush()->SetColor(vert ? (fixed ? fixedLine : cellLine) : back);
                c->FillRect(Rect(x + w, y, x + w + line, y + h + line));
                c->Brush()->SetColor(horz ? (fixed ? fixedLine : cellLine) : back);
                c->FillRect(Rect(x, y + h, x + w + (vert ? 0 : line), y + h + line));
            }
            if (DefaultDrawing) {
                // Every cell starts from the grid's font: one a draw handler chose stays in its cell.
                c->SetFont(Font());
                c->Brush()->SetStyle(bsSolid);
                c->Brush()->SetColor(back);
                c->Font()->SetColor(state.Contains(gdSelected) ? clHighlightText : Font()->Color());
                c->FillRect(cell);
            }
            DrawCell(k, r, cell, state);
            if (DefaultDrawing && fixed && Ctl3D() && vert && horz) {
                TRect edge = cell;
                c->DrawEdge(edge, BDR_RAISEDINNER, BF_TOPLEFT | BF_BOTTOMRIGHT);
            }
            if (DefaultDrawing && state.Contains(gdFocused) && !FEditorMode &&
                !FOptions.Contains(goRowSelect))
                c->DrawFocusRect(cell);
        }
    }
    // Beyond the last cells: the grid's colour.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (right < cw)
        c->FillRect(Rect(right, 0, cw, ch));
    if (bottom < ch)
        c->FillRect(Rect(0, bottom, std::min(right, cw), ch));
    if (DefaultDrawing && focused && FOptions.Contains(goRowSelect) && !FEditorMode) {
        TRect a = CellRect(sel.Left, FCurrent.Y);
        if (!a.IsEmpty())
            c->DrawFocusRect(Rect(a.Left, a.Top, std::min(right - line, cw), a.Bottom));
    }
}

void TCustomGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}
