// Beside-the-GUI platform layer: the .docx writer. The package is a zip built in memory (deflate
// from zlib, which the GUI loads anyway: a zip library would cost every start of the program its
// loading) and written with the runtime's atomic replace. Package parts: [Content_Types].xml, _rels/.rels,
// word/document.xml, word/_rels/document.xml.rels, word/styles.xml.
#include "docx.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <ctime>

#include <zlib.h>

#include "cp1251.h"
#include "replacefile.h"

namespace {

constexpr const char* kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// A4, in twips; margins as the word processor's Russian default: 2 cm top and bottom, 3 cm left,
// 1.5 cm right.
constexpr int kPageShort = 11906, kPageLong = 16838;
constexpr int kMarginTop = 1134, kMarginBottom = 1134, kMarginLeft = 1701, kMarginRight = 850;
constexpr int kMinColumn = 360;

int Twips(double points) { return int(std::lround(points * 20)); }

// Text for markup: UTF-8, with the characters markup reserves escaped and the control bytes it
// cannot hold dropped.
std::string Escape(std::string_view cp1251) {
    std::string out;
    for (char c : Cp1251ToUtf8(cp1251)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
        }
    }
    return out;
}

// The lines of a text: "\r\n", "\n\r", "\r" and "\n" each end one.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::string Paragraph(std::string_view line, bool title) {
    std::string p = "<w:p>";
    if (title)
        p += "<w:pPr><w:jc w:val=\"center\"/></w:pPr>";
    if (!line.empty()) {
        p += "<w:r>";
        if (title)
            p += "<w:rPr><w:b/></w:rPr>";
        size_t start = 0;
        for (;;) {
            const size_t tab = line.find('\t', start);
            const std::string_view piece =
                line.substr(start, tab == std::string_view::npos ? tab : tab - start);
            if (!piece.empty())
                p += "<w:t xml:space=\"preserve\">" + Escape(piece) + "</w:t>";
            if (tab == std::string_view::npos)
                break;
            p += "<w:tab/>";
            start = tab + 1;
        }
        p += "</w:r>";
    }
    return p + "</w:p>";
}

const char* BorderValue(TWordLineStyle style) {
    static const char* const names[] = {"nil",     "single",     "dotted", "dashSmallGap", "dashed",
                                        "dotDash", "dotDotDash", "double", "triple"};
    return style >= wdLineStyleNone && style <= wdLineStyleTriple ? names[style] : "single";
}

std::string Border(const char* side, TWordLineStyle style) {
    return std::string("<w:") + side + " w:val=\"" + BorderValue(style) +
           (style == wdLineStyleNone ? "\"/>" : "\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>");
}

[[noreturn]] void NoSuchCell() { throw EWordError("The requested member of the collection does not exist."); }

} // namespace

// ---- TWordTable ---------------------------------------------------------------------------------

TWordTable::TWordTable(int Rows, int Cols) : cols_(Cols) {
    if (Rows < 1 || Cols < 1 || Cols > 63)
        throw EWordError("The number of rows or columns is out of range.");
    widths_.assign(size_t(Cols), 0);
    for (int r = 0; r < Rows; ++r)
        AddRow();
}

int TWordTable::AddRow() {
    Row row;
    row.cells.resize(size_t(cols_));
    const int r = int(rows_.size());
    for (int c = 0; c < cols_; ++c)
        row.cells[size_t(c)] = Cell{{}, wdTextOrientationHorizontal, r, c, r, c};
    rows_.push_back(std::move(row));
    return r + 1;
}

TWordTable::Cell& TWordTable::At(int Row, int Col) {
    if (Row < 1 || Row > RowCount() || Col < 1 || Col > cols_)
        NoSuchCell();
    return rows_[size_t(Row - 1)].cells[size_t(Col - 1)];
}

const TWordTable::Cell& TWordTable::At(int Row, int Col) const {
    return const_cast<TWordTable*>(this)->At(Row, Col);
}

void TWordTable::SetCellText(int Row, int Col, std::string_view Text) { At(Row, Col).text = Text; }

void TWordTable::InsertAfter(int Row, int Col, std::string_view Text) { At(Row, Col).text += Text; }

const std::string& TWordTable::CellText(int Row, int Col) const { return At(Row, Col).text; }

void TWordTable::Merge(int Row1, int Col1, int Row2, int Col2) {
    At(Row1, Col1);
    At(Row2, Col2);
    const int top = std::min(Row1, Row2) - 1, bottom = std::max(Row1, Row2) - 1;
    const int left = std::min(Col1, Col2) - 1, right = std::max(Col1, Col2) - 1;
    // Every merged area the rectangle touches must lie inside it.
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            const Cell& cell = rows_[size_t(r)].cells[size_t(c)];
            if (cell.top < top || cell.bottom > bottom || cell.left < left || cell.right > right)
                throw EWordError("Cells cannot be merged: the area would cut a merged cell.");
        }
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            Cell& cell = rows_[size_t(r)].cells[size_t(c)];
            cell.top = top;
            cell.left = left;
            cell.bottom = bottom;
            cell.right = right;
        }
}

void TWordTable::SetColumnWidth(int Col, double Points) {
    At(1, Col);
    widths_[size_t(Col - 1)] = std::max(Points, 0.0);
}

void TWordTable::SetRowHeight(int Row, double Points) {
    At(Row, 1);
    rows_[size_t(Row - 1)].height = std::max(Points, 0.0);
}

void TWordTable::SetTextOrientation(int Row, int Col, TWordTextOrientation Value) {
    At(Row, Col).orientation = Value;
}

void TWordTable::SetBorders(TWordLineStyle Outside, TWordLineStyle Inside) {
    outside_ = Outside;
    inside_ = Inside;
}

std::string TWordTable::Markup(int TextWidth) const {
    std::vector<int> grid(static_cast<size_t>(cols_));
    int fixed = 0, unset = 0;
    for (double w : widths_) {
        fixed += Twips(w);
        unset += w == 0;
    }
    const int share = unset ? std::max(kMinColumn, (TextWidth - fixed) / unset) : 0;
    for (size_t c = 0; c < grid.size(); ++c)
        grid[c] = widths_[c] ? Twips(widths_[c]) : share;

    std::string x = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right"})
        x += Border(side, outside_);
    x += Border("insideH", inside_) + Border("insideV", inside_);
    x += "</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr><w:tblGrid>";
    for (int w : grid)
        x += "<w:gridCol w:w=\"" + IntToStr(w) + "\"/>";
    x += "</w:tblGrid>";
    for (int r = 0; r < RowCount(); ++r) {
        const Row& row = rows_[size_t(r)];
        x += "<w:tr>";
        if (row.height > 0)
            x += "<w:trPr><w:trHeight w:val=\"" + IntToStr(Twips(row.height)) +
                 "\" w:hRule=\"atLeast\"/></w:trPr>";
        for (int c = 0; c < cols_;) {
            const Cell& cell = row.cells[size_t(c)];
            const Cell& origin = rows_[size_t(cell.top)].cells[size_t(cell.left)];
            int width = 0;
            for (int k = cell.left; k <= cell.right; ++k)
                width += grid[size_t(k)];
            x += "<w:tc><w:tcPr><w:tcW w:w=\"" + IntToStr(width) + "\" w:type=\"dxa\"/>";
            if (cell.right > cell.left)
                x += "<w:gridSpan w:val=\"" + IntToStr(cell.right - cell.left + 1) + "\"/>";
            if (cell.bottom > cell.top)
                x += r == cell.top ? "<w:vMerge w:val=\"restart\"/>" : "<w:vMerge/>";
            if (origin.orientation == wdTextOrientationUpward)
                x += "<w:textDirection w:val=\"btLr\"/>";
            if (origin.orientation == wdTextOrientationDownward)
                x += "<w:textDirection w:val=\"tbRl\"/>";
            x += "</w:tcPr>";
            // The merged cell holds the covered cells' texts, one paragraph each; a cell holds at
            // least one paragraph.
            std::string body;
            if (r == cell.top)
                for (int rr = cell.top; rr <= cell.bottom; ++rr)
                    for (int cc = cell.left; cc <= cell.right; ++cc) {
                        const std::string& text = rows_[size_t(rr)].cells[size_t(cc)].text;
                        if (text.empty() && !(rr == cell.top && cc == cell.left))
                            continue;
                        for (std::string_view line : Lines(text))
                            body += Paragraph(line, false);
                    }
            x += (body.empty() ? std::string("<w:p/>") : body) + "</w:tc>";
            c = cell.right + 1;
        }
        x += "</w:tr>";
    }
    return x + "</w:tbl>";
}

// ---- TWordDocument ------------------------------------------------------------------------------

TWordDocument::TWordDocument() = default;
TWordDocument::~TWordDocument() = default;

void TWordDocument::AddParagraph(std::string_view Text, bool Title) {
    while (!Text.empty() && (Text.back() == '\r' || Text.back() == '\n'))
        Text.remove_suffix(1);
    Block b;
    b.text = Text;
    b.title = Title;
    blocks_.push_back(std::move(b));
}

TWordTable& TWordDocument::AddTable(int Rows, int Cols) {
    Block b;
    b.table = std::make_unique<TWordTable>(Rows, Cols);
    blocks_.push_back(std::move(b));
    return *blocks_.back().table;
}

std::string TWordDocument::DocumentXml() const {
    const int width = landscape_ ? kPageLong : kPageShort, height = landscape_ ? kPageShort : kPageLong;
    std::string x = std::string(kXmlHead) + "<w:document xmlns:w=\"" + kWordNs + "\"><w:body>";
    bool afterTable = false;
    for (const Block& b : blocks_) {
        if (b.table) {
            // Two tables in a row would run together into one.
            if (afterTable)
                x += "<w:p/>";
            x += b.table->Markup(width - kMarginLeft - kMarginRight);
        } else {
            for (std::string_view line : Lines(b.text))
                x += Paragraph(line, b.title);
        }
        afterTable = b.table != nullptr;
    }
    // The body may not end with a table.
    if (afterTable)
        x += "<w:p/>";
    x += "<w:sectPr><w:pgSz w:w=\"" + IntToStr(width) + "\" w:h=\"" + IntToStr(height) + "\"";
    if (landscape_)
        x += " w:orient=\"landscape\"";
    x += "/><w:pgMar w:top=\"" + IntToStr(kMarginTop) + "\" w:right=\"" + IntToStr(kMarginRight) +
         "\" w:bottom=\"" + IntToStr(kMarginBottom) + "\" w:left=\"" + IntToStr(kMarginLeft) +
         "\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
    return x;
}

namespace {

std::string ContentTypes() {
    return std::string(kXmlHead) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
           "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/></Types>";
}

std::string Relationship(const char* type, const char* target) {
    return std::string(kXmlHead) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
           type + "\" Target=\"" + target + "\"/></Relationships>";
}

std::string Styles() {
    return std::string(kXmlHead) + "<w:styles xmlns:w=\"" + kWordNs +
           "\"><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Times New Roman\" "
           "w:hAnsi=\"Times New Roman\" w:cs=\"Times New Roman\" w:eastAsia=\"Times New Roman\"/>"
           "<w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/><w:lang w:val=\"ru-RU\"/></w:rPr></w:rPrDefault>"
           "<w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
           "</w:pPrDefault></w:docDefaults><w:style w:type=\"paragraph\" w:default=\"1\" "
           "w:styleId=\"Normal\">"
           "<w:name w:val=\"Normal\"/></w:style></w:styles>";
}

// Raw deflate of the data; false when zlib fails.
bool Deflate(const std::string& data, std::string& out) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&z, uLong(data.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    bool ok = deflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    deflateEnd(&z);
    return ok;
}

void Put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The zip package of the parts, built in memory, each part deflated; false when zlib fails. One
// disk, no data descriptors, entries stamped with the local time of writing.
bool Package(const std::vector<std::pair<const char*, std::string>>& parts, std::string& out) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const unsigned time = unsigned(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    const unsigned date =
        unsigned(std::max(local.tm_year - 80, 0) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    std::string directory;
    out.clear();
    for (const auto& [name, data] : parts) {
        std::string packed;
        if (!Deflate(data, packed))
            return false;
        const uint32_t crc =
            uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
        const uint32_t offset = uint32_t(out.size());
        const std::string_view nameBytes(name);
        // The fields a local header and its directory entry share, from "version needed" on.
        std::string common;
        Put16(common, 20); // version needed: deflate
        Put16(common, 0);  // flags
        Put16(common, 8);  // method: deflate
        Put16(common, time);
        Put16(common, date);
        Put32(common, crc);
        Put32(common, uint32_t(packed.size()));
        Put32(common, uint32_t(data.size()));
        Put16(common, unsigned(nameBytes.size()));
        Put16(common, 0); // extra field length
        Put32(out, 0x04034B50);
        out += common;
        out += nameBytes;
        out += packed;
        Put32(directory, 0x02014B50);
        Put16(directory, 20); // made by: MS-DOS attributes, version 2.0
        directory += common;
        Put16(directory, 0); // comment length
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, offset);
        directory += nameBytes;
    }
    const uint32_t at = uint32_t(out.size());
    out += directory;
    Put32(out, 0x06054B50);
    Put16(out, 0); // this disk
    Put16(out, 0); // the directory's disk
    Put16(out, unsigned(parts.size()));
    Put16(out, unsigned(parts.size()));
    Put32(out, uint32_t(directory.size()));
    Put32(out, at);
    Put16(out, 0); // comment length
    return true;
}

} // namespace

TReplaceResult TWordDocument::SaveToFile(std::string_view Path) const {
    std::string bytes;
    if (!Package({{"[Content_Types].xml", ContentTypes()},
                  {"_rels/.rels", Relationship("officeDocument", "word/document.xml")},
                  {"word/document.xml", DocumentXml()},
                  {"word/_rels/document.xml.rels", Relationship("styles", "styles.xml")},
                  {"word/styles.xml", Styles()}},
                 bytes))
        return {EINVAL};
    return ReplaceFileBytes(Path, bytes);
}
