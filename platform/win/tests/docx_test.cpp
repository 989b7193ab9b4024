// The .docx writer: the package read back with libzip, its document part checked for the rows,
// merges, widths and texts of a table built as the channel table export builds it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <zip.h>

#include "cp1251.h"
#include "docx.h"
#include "tempfolder.h"

namespace {

namespace fs = std::filesystem;

std::string PartOf(const std::string& path, const char* name) {
    int err = 0;
    // The consistency check holds each local header to its directory entry; reading checks the CRC.
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (!z)
        return "<no archive>";
    std::string out;
    zip_stat_t st;
    if (zip_stat(z, name, 0, &st) == 0) {
        zip_file_t* f = zip_fopen(z, name, 0);
        out.resize(size_t(st.size));
        if (!f || zip_fread(f, out.data(), st.size) != zip_int64_t(st.size))
            out = "<unreadable>";
        if (f)
            zip_fclose(f);
    } else {
        out = "<missing>";
    }
    zip_close(z);
    return out;
}

int Count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
        ++n;
    return n;
}

// The rows of a table's markup, each as its cells' markup.
std::vector<std::vector<std::string>> Rows(const std::string& xml) {
    std::vector<std::vector<std::string>> rows;
    for (size_t tr = xml.find("<w:tr>"); tr != std::string::npos; tr = xml.find("<w:tr>", tr + 1)) {
        const size_t end = xml.find("</w:tr>", tr);
        const std::string row = xml.substr(tr, end - tr);
        rows.emplace_back();
        for (size_t tc = row.find("<w:tc>"); tc != std::string::npos; tc = row.find("<w:tc>", tc + 1))
            rows.back().push_back(row.substr(tc, row.find("</w:tc>", tc) - tc));
    }
    return rows;
}

class Docx : public ::testing::Test {
protected:
    // A document shaped as the channel table: two heading rows, a group row, two data rows.
    static void Build(TWordDocument& doc) {
        doc.SetLandscape(true);
        doc.AddParagraph("Приложение - Таблица привязки концентратора QBX-510\n\r", true);
        doc.AddParagraph("Таблица 1 - Информационные каналы");
        TWordTable& t = doc.AddTable(2, 6);
        t.SetCellText(1, 1, "Регистр концентратора");
        t.SetColumnWidth(1, 46);
        t.Merge(1, 1, 2, 1);
        t.SetCellText(1, 2, "Информационный канал");
        t.SetColumnWidth(2, 46);
        t.Merge(1, 2, 2, 2);
        t.InsertAfter(1, 4, "Принадлежность прибору, подключение");
        t.SetCellText(2, 4, "№провода");
        t.SetColumnWidth(4, 28);
        t.Merge(1, 6, 2, 6);
        t.Merge(1, 4, 1, 5);
        const int group = t.AddRow();
        t.SetCellText(group, 1, "Телесигнализация");
        const int data = t.AddRow();
        t.SetCellText(data, 1, "1:1");
        t.SetCellText(data, 2, "ТС1");
        t.SetCellText(data, 5, "A & <B>");
        t.Merge(group, 1, group, 6);
        t.AddRow();
        t.SetBorders(wdLineStyleSingle, wdLineStyleSingle);
        t.SetTextOrientation(1, 1, wdTextOrientationUpward);
        t.SetRowHeight(2, 70);
    }

    const testsupport::TempFolder folder{"qbxdocx-"};
    const std::string dir = folder.Path();
};

TEST_F(Docx, TableRowsMergesAndTextsReachTheDocument) {
    TWordDocument doc;
    Build(doc);
    const std::string path = dir + "/export.docx";
    ASSERT_TRUE(doc.SaveToFile(path));
    EXPECT_NE(PartOf(path, "[Content_Types].xml").find("wordprocessingml.document.main+xml"),
              std::string::npos);
    EXPECT_NE(PartOf(path, "_rels/.rels").find("Target=\"word/document.xml\""), std::string::npos);
    const std::string xml = PartOf(path, "word/document.xml");
    ASSERT_EQ(xml, doc.DocumentXml());

    auto u = [](const char* cp1251) { return Cp1251ToUtf8(cp1251); };
    const auto rows = Rows(xml);
    ASSERT_EQ(rows.size(), 5u);
    // Heading: row 1 has five cells (4 and 5 merged across), row 2 six, the merged-down cells
    // continuing there empty.
    ASSERT_EQ(rows[0].size(), 5u);
    ASSERT_EQ(rows[1].size(), 6u);
    EXPECT_NE(rows[0][0].find("<w:vMerge w:val=\"restart\"/>"), std::string::npos);
    EXPECT_NE(rows[0][0].find("<w:textDirection w:val=\"btLr\"/>"), std::string::npos);
    EXPECT_NE(rows[0][0].find(u("Регистр концентратора")), std::string::npos);
    EXPECT_NE(rows[0][3].find("<w:gridSpan w:val=\"2\"/>"), std::string::npos);
    EXPECT_NE(rows[0][3].find(u("Принадлежность прибору, подключение")), std::string::npos);
    // 28 points for column 4, and column 5's share of the landscape text width left over by the
    // set columns (920, 920, 560 twips): 560 + (16838 - 1701 - 850 - 2400) / 3.
    EXPECT_NE(rows[0][3].find("<w:tcW w:w=\"4522\" w:type=\"dxa\"/>"), std::string::npos) << rows[0][3];
    EXPECT_NE(rows[1][0].find("<w:vMerge/>"), std::string::npos);
    EXPECT_EQ(rows[1][0].find("<w:r>"), std::string::npos);
    EXPECT_NE(rows[1][3].find(u("№провода")), std::string::npos);
    EXPECT_NE(xml.find("<w:trHeight w:val=\"1400\" w:hRule=\"atLeast\"/>"), std::string::npos);
    // Group row: one cell across all six columns; data row: six cells, text escaped.
    ASSERT_EQ(rows[2].size(), 1u);
    EXPECT_NE(rows[2][0].find("<w:gridSpan w:val=\"6\"/>"), std::string::npos);
    EXPECT_NE(rows[2][0].find(u("Телесигнализация")), std::string::npos);
    ASSERT_EQ(rows[3].size(), 6u);
    EXPECT_NE(rows[3][1].find(u("ТС1")), std::string::npos);
    EXPECT_NE(rows[3][4].find("A &amp; &lt;B&gt;"), std::string::npos);
    EXPECT_EQ(rows[4].size(), 6u);
    // Grid: the set widths in twips, the rest sharing the landscape text width.
    EXPECT_NE(xml.find("<w:tblGrid><w:gridCol w:w=\"920\"/><w:gridCol w:w=\"920\"/>"), std::string::npos);
    EXPECT_EQ(Count(xml, "w:val=\"single\""), 6);
    EXPECT_NE(xml.find("w:orient=\"landscape\""), std::string::npos);
    // Two title paragraphs, no empty one from the trailing line end.
    EXPECT_EQ(Count(xml, "<w:jc w:val=\"center\"/>"), 1);
    EXPECT_NE(xml.find(u("Таблица 1 - Информационные каналы")), std::string::npos);
    EXPECT_NE(xml.find("</w:tbl><w:p/><w:sectPr>"), std::string::npos);
}

TEST_F(Docx, BadCellsAndCuttingMergesAreRefused) {
    TWordDocument doc;
    TWordTable& t = doc.AddTable(3, 3);
    EXPECT_THROW(t.SetCellText(4, 1, "x"), EWordError);
    EXPECT_THROW(t.SetCellText(1, 0, "x"), EWordError);
    EXPECT_THROW(t.Merge(1, 1, 1, 4), EWordError);
    t.Merge(1, 1, 2, 2);
    t.Merge(2, 2, 1, 1); // the same area again
    EXPECT_THROW(t.Merge(2, 2, 3, 3), EWordError);
    t.Merge(1, 1, 3, 3); // an area holding the merged one
    t.SetCellText(3, 3, "kept");
    const auto rows = Rows(doc.DocumentXml());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 1u);
    EXPECT_NE(rows[0][0].find("kept"), std::string::npos);
    EXPECT_THROW(doc.AddTable(0, 3), EWordError);
}

TEST_F(Docx, SavingReplacesAWholeFileOrNothing) {
    TWordDocument doc;
    doc.AddParagraph("first");
    const std::string path = dir + "/out.docx";
    ASSERT_TRUE(doc.SaveToFile(path));
    doc.AddParagraph("second");
    ASSERT_TRUE(doc.SaveToFile(path));
    EXPECT_NE(PartOf(path, "word/document.xml").find("second"), std::string::npos);
    EXPECT_FALSE(doc.SaveToFile(dir)); // a folder is not replaced
    EXPECT_FALSE(doc.SaveToFile(dir + "/no/such/out.docx"));
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename(), "out.docx");
}

// Where an office suite is installed, it reads the document as the texts written.
// The opening tag of the table cell that holds text, in an OpenDocument body ("" when none does).
std::string CellHolding(const std::string& xml, const std::string& text) {
    const size_t at = xml.find(">" + text + "<");
    const size_t cell = at == std::string::npos ? at : xml.rfind("<table:table-cell ", at);
    return cell == std::string::npos ? "" : xml.substr(cell, xml.find('>', cell) - cell);
}

// The properties of the named automatic style ("" when there is none).
std::string StyleNamed(const std::string& xml, const std::string& name) {
    const size_t at = xml.find("<style:style style:name=\"" + name + "\"");
    return at == std::string::npos ? "" : xml.substr(at, xml.find("</style:style>", at) - at);
}

// What an office suite makes of our document: the texts in Cyrillic, the merged heading cells and
// the group row, and the first heading's text turned upward.
TEST_F(Docx, OfficeSuiteReadsTheTexts) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice is not installed";
    TWordDocument doc;
    Build(doc);
    const std::string path = dir + "/suite.docx";
    ASSERT_TRUE(doc.SaveToFile(path));
    auto convert = [&](const std::string& to, const std::string& result) {
        const std::string cmd = "cd " + dir + " && HOME=" + dir + " soffice --headless --convert-to " + to +
                                " suite.docx >/dev/null 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << to;
        std::ifstream in(dir + "/" + result, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const std::string text = convert("txt:Text", "suite.txt");
    for (const char* s : {"Таблица 1 - Информационные каналы", "Регистр концентратора", "№провода",
                          "Телесигнализация", "ТС1", "A & <B>"})
        EXPECT_NE(text.find(Cp1251ToUtf8(s)), std::string::npos) << Cp1251ToUtf8(s);

    const std::string odt = convert("fodt", "suite.fodt");
    const struct {
        const char* text;
        const char* span;
    } merged[] = {
        {"Регистр концентратора", "table:number-rows-spanned=\"2\""},
        {"Информационный канал", "table:number-rows-spanned=\"2\""},
        {"Принадлежность прибору, подключение", "table:number-columns-spanned=\"2\""},
        {"Телесигнализация", "table:number-columns-spanned=\"6\""},
    };
    for (const auto& m : merged)
        EXPECT_NE(CellHolding(odt, Cp1251ToUtf8(m.text)).find(m.span), std::string::npos)
            << Cp1251ToUtf8(m.text) << ": " << CellHolding(odt, Cp1251ToUtf8(m.text));
    const std::string plain = CellHolding(odt, "1:1");
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(plain.find("spanned"), std::string::npos) << plain;

    auto cellStyle = [&](const char* text) {
        const std::string cell = CellHolding(odt, Cp1251ToUtf8(text));
        const size_t at = cell.find("table:style-name=\"");
        if (at == std::string::npos)
            return std::string();
        const size_t from = at + std::strlen("table:style-name=\"");
        return StyleNamed(odt, cell.substr(from, cell.find('"', from) - from));
    };
    EXPECT_NE(cellStyle("Регистр концентратора").find("writing-mode=\"bt-lr\""), std::string::npos)
        << cellStyle("Регистр концентратора");
    EXPECT_NE(cellStyle("Информационный канал"), "");
    EXPECT_EQ(cellStyle("Информационный канал").find("writing-mode=\"bt-lr\""), std::string::npos);
}

} // namespace
