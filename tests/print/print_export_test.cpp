// The print copy written out: the CSV reads back as the cells, the HTML is the listed document
// with the table text escaped, and a failed write leaves the old file.
#include "print/print_export.h"
#include "support/fault_injection.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol::print {
namespace {

// Row 0 the column numbers, column 0 the row numbers, as the preview's copy holds them.
void numbered(StringGrid& g, int dataRows, int dataCols) {
    g.setColCount(dataCols + 1);
    g.setRowCount(dataRows + 1);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setDefaultRowHeight(18);
    for (int c = 0; c < g.colCount(); ++c) g.setColWidth(c, 60);
    for (int r = 0; r < g.rowCount(); ++r)
        for (int c = 0; c < g.colCount(); ++c)
            g.setCell(c, r,
                      r == 0 ? (c ? std::to_string(c) : "")
                             : (c == 0 ? std::to_string(r) : "v" + std::to_string(r)));
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

HtmlOptions wrapping(const PrintCopy& copy, int bytes) {
    HtmlOptions o;
    o.wrapBytes.assign(static_cast<std::size_t>(copy.colCount()), bytes);
    return o;
}

TEST(PrintExport, CsvQuotesOnlyFieldsWithACommaAndDoublesTheirQuotes) {
    StringGrid g;
    numbered(g, 1, 4);
    g.setCell(1, 1, "a,b");
    g.setCell(2, 1, "say \"x\", y");
    g.setCell(3, 1, "say \"x\"");
    g.setCell(4, 1, sj("表,示"));
    g.setColWidth(2, 0); // hidden columns are written too
    const PrintCopy copy(g, 0);
    EXPECT_EQ(printCsv(copy),
              ",1,2,3,4\r\n1,\"a,b\",\"say \"\"x\"\", y\",say \"x\",\"" + sj("表,示") + "\"\r\n");
}

TEST(PrintExport, HtmlEscapesTableTextAndKeepsItsOwnMarkup) {
    StringGrid g;
    numbered(g, 2, 2);
    g.setCell(1, 1, "<script>alert(\"&\")</script>");
    g.setCell(2, 1, "");
    g.setCell(1, 2, sj("表示") + "<b>");
    const PrintCopy copy(g, 0);
    HtmlOptions o = wrapping(copy, 100);
    o.headings[0] = "File.Name:  a&b<c>.csv";
    const std::string html = printHtml(copy, o);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("<Pre>&lt;script&gt;alert(&quot;&amp;&quot;)&lt;/script&gt;</TD>"),
              std::string::npos);
    EXPECT_NE(html.find(sj("表示") + "&lt;b&gt;</TD>"), std::string::npos);
    EXPECT_NE(html.find("  File.Name:  a&amp;b&lt;c&gt;.csv<BR>\r\n"), std::string::npos);
    // An empty cell keeps its box with an ideographic space.
    EXPECT_NE(html.find("<Pre>" + sj("　") + "</TD>"), std::string::npos);
    EXPECT_EQ(html.substr(0, 38), "<HTML></HEAD><TITLE> </TITLE></HEAD>\r\n");
    EXPECT_NE(
        html.find("TD.Title {\r\n  font-family:" + sj("ＭＳ Ｐゴシック") +
                  ";\r\n  font-size:10pt;\r\n  color:White;\r\n  background-color:Gray;\r\n"
                  "  vertical-align:top;\r\n  text-align:center;\r\n  padding-bottom:30px\r\n"),
        std::string::npos);
    EXPECT_NE(html.find("  height: 0px;\r\n}\r\n-->\r\n</STYLE>\r\n\r\n<BODY"), std::string::npos);
    EXPECT_EQ(html.substr(html.size() - 34), "\r\n\r\n</TABLE>\r\n\r\n</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(count(html, "\r\n"), count(html, "\n")); // every line ends in CR LF
}

TEST(PrintExport, HtmlRepeatsTheHeaderEveryTwentyShownDataRowsAndAtTheEnd) {
    StringGrid g;
    numbered(g, 46, 2);
    PrintCopy copy(g, 0);
    copy.heights()[7] = 0; // a hidden row neither shows nor counts
    const std::string html = printHtml(copy, wrapping(copy, 10));
    const std::string header = "<TR>\r\n  <TD Class=FixedsCenter nowrap>" + sj("　") + "</TD>";
    EXPECT_EQ(count(html, header), 4u); // the header, after 20, after 40, at the end
    EXPECT_EQ(count(html, "<TR>"), 45u + 4u);
    // With one fixed column every row ends with the filler cell.
    EXPECT_EQ(count(html, sj("  <TD Class=FixedsLeft nowrap>　</TD>\r\n</TR>")), 49u);
    // The header again right after the 20th shown data row (row 21: row 7 is hidden).
    const std::size_t row21 = html.find(">21</TD>");
    EXPECT_EQ(html.find("<TR>", html.find("</TR>", row21)) + 4,
              html.find("\r\n  <TD Class=FixedsCenter nowrap>" + sj("　"), row21));
}

TEST(PrintExport, HtmlCutsCellsIntoLinesAndShadesEmptyRows) {
    StringGrid g;
    numbered(g, 2, 2);
    g.setCell(1, 1, "abcdefgh");
    g.setCell(1, 2, "");
    g.setCell(2, 2, "");
    PrintCopy copy(g, 0);
    HtmlOptions o = wrapping(copy, 3);
    o.emptyRows = EmptyRowFill::Grey;
    o.dataCentre = true;
    const std::string html = printHtml(copy, o);
    EXPECT_NE(html.find(">abc<BR>def<BR>gh</TD>"), std::string::npos);
    EXPECT_EQ(count(html, "<TD Class=CellsCenterBlack nowrap>"), 2u);
    o.maxLines = 2;
    EXPECT_NE(printHtml(copy, o).find(">abc<BR>def</TD>"), std::string::npos);
}

TEST(PrintExport, AHundredThousandByteCellIsWrittenWhole) {
    StringGrid g;
    numbered(g, 1, 1);
    std::string big;
    for (int i = 0; i < 25000; ++i) big += sj("表") + "<&";
    ASSERT_EQ(big.size(), 100000u);
    g.setCell(1, 1, big);
    const PrintCopy copy(g, 0);
    const std::string csv = printCsv(copy);
    EXPECT_NE(csv.find(big), std::string::npos);
    const std::string html = printHtml(copy, wrapping(copy, 100000));
    EXPECT_EQ(count(html, "&lt;&amp;"), 25000u);
}

TEST(PrintExport, AWriteThatFailsKeepsTheOldFile) {
    test::TempDir dir;
    const auto path = dir / "out.html";
    test::writeBytes(path, "old");
    {
        test::FullDisk disk(10);
        const IoStatus s = writeExport(path.string(), std::string(100000, 'x'));
        EXPECT_EQ(s.error, ENOSPC);
    }
    EXPECT_EQ(test::readBytes(path), "old");
    EXPECT_EQ(writeExport((dir / "missing" / "x.csv").string(), "x").error, ENOENT);
    ASSERT_TRUE(writeExport(path.string(), "new"));
    EXPECT_EQ(test::readBytes(path), "new");
}

} // namespace
} // namespace kol::print
