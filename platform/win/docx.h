// Beside-the-GUI platform layer: a word-processor document written as a .docx file (a zip package
// of WordprocessingML), in place of driving the word processor itself. It holds what the channel
// table export builds: paragraphs, tables of given rows and columns with cell text, merged cells,
// column widths, borders, text direction and row heights, and the page orientation.
// Rows and columns count from 1, as the word processor counts them. A bad cell address or a merge
// that would cut another merged area raises EWordError, as the word processor reports a failed
// call; nothing is half-applied then.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "replacefile.h"
#include "sysutils.h"

class EWordError : public Exception {
    using Exception::Exception;
};

// Border line styles, numbered as the word processor numbers them.
enum TWordLineStyle {
    wdLineStyleNone = 0,
    wdLineStyleSingle = 1,
    wdLineStyleDot = 2,
    wdLineStyleDashSmallGap = 3,
    wdLineStyleDashLargeGap = 4,
    wdLineStyleDashDot = 5,
    wdLineStyleDashDotDot = 6,
    wdLineStyleDouble = 7,
    wdLineStyleTriple = 8
};

// Text directions of a cell, numbered as the word processor numbers them.
enum TWordTextOrientation {
    wdTextOrientationHorizontal = 0,
    wdTextOrientationUpward = 2,
    wdTextOrientationDownward = 3
};

class TWordTable {
public:
    TWordTable(int Rows, int Cols);

    int RowCount() const { return int(rows_.size()); }
    int ColCount() const { return cols_; }
    // Appends a row (the new last row) and returns its number.
    int AddRow();

    // Text is Windows-1251; a line end ("\r", "\n" or both) starts a new paragraph of the cell.
    void SetCellText(int Row, int Col, std::string_view Text);
    void InsertAfter(int Row, int Col, std::string_view Text); // appends to the cell's text
    const std::string& CellText(int Row, int Col) const;
    // Merges the rectangle spanned by the two cells into one cell whose text is the covered
    // cells' texts, one paragraph each. Merging cells of one merged area again changes nothing.
    void Merge(int Row1, int Col1, int Row2, int Col2);
    // The width of a column in points (unset columns share what is left of the page).
    void SetColumnWidth(int Col, double Points);
    void SetRowHeight(int Row, double Points); // at least this high
    void SetTextOrientation(int Row, int Col, TWordTextOrientation Value);
    void SetBorders(TWordLineStyle Outside, TWordLineStyle Inside);

    // Word-processing markup of the table (UTF-8); TextWidth is the page's text width in twips.
    std::string Markup(int TextWidth) const;

private:
    struct Cell {
        std::string text;
        TWordTextOrientation orientation = wdTextOrientationHorizontal;
        int top = 0, left = 0, bottom = 0, right = 0; // the merged area it belongs to (0-based)
    };
    struct Row {
        std::vector<Cell> cells;
        double height = 0;
    };
    Cell& At(int Row, int Col);
    const Cell& At(int Row, int Col) const;

    int cols_;
    std::vector<Row> rows_;
    std::vector<double> widths_;
    TWordLineStyle outside_ = wdLineStyleNone, inside_ = wdLineStyleNone;
};

class TWordDocument {
public:
    TWordDocument();
    ~TWordDocument();

    // A paragraph at the end of the document; a title is bold and centred.
    void AddParagraph(std::string_view Text, bool Title = false);
    // A table at the end of the document; the document owns it.
    TWordTable& AddTable(int Rows, int Cols);
    void SetLandscape(bool Value) { landscape_ = Value; }
    bool Landscape() const { return landscape_; }

    // The main document part (UTF-8 markup).
    std::string DocumentXml() const;
    // Writes the package to a temporary file beside Path and renames it over Path, so a failed
    // save leaves an earlier file whole. On failure the result holds the system's reason (EINVAL
    // when the package itself could not be made).
    TReplaceResult SaveToFile(std::string_view Path) const;

private:
    struct Block {
        std::string text;
        bool title = false;
        std::unique_ptr<TWordTable> table;
    };
    std::vector<Block> blocks_;
    bool landscape_ = false;
};
