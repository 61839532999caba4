// Real workbooks from other projects' test suites: sheet lists and the text each sheet shows.
#include "support/test_support.h"
#include "text/cp932.h"
#include "workbook/sheet_import.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

namespace kol::workbook {
namespace {

std::string path(const std::string& name) {
    return test::dataFile("excel/" + name).string();
}

std::unique_ptr<Workbook> open(const std::string& name) {
    std::unique_ptr<Workbook> book;
    WorkbookResult r = openWorkbook(path(name), book);
    EXPECT_TRUE(r.ok()) << name << ": " << r.reason;
    return book;
}

// The sheet's tab-separated lines in UTF-8 with LF ends.
std::string sheet(const std::string& name, std::size_t index) {
    auto book = open(name);
    if (!book) return "(not opened)";
    SheetText text;
    WorkbookResult r = book->readSheet(index, text);
    if (!r.ok()) return "(unreadable: " + r.reason + ")";
    std::string utf8 = cp932::toUtf8(text.tabLines());
    for (std::size_t at; (at = utf8.find("\r\n")) != std::string::npos;) utf8.replace(at, 2, "\n");
    return utf8;
}

std::vector<std::string> names(const std::string& name) {
    std::vector<std::string> out;
    if (auto book = open(name))
        for (const std::string& n : book->sheetNames()) out.push_back(cp932::toUtf8(n));
    return out;
}

TEST(Xlsx, SheetsInTabOrderWithTheirValues) {
    EXPECT_EQ(names("issues.xlsx"), (std::vector<std::string>{"datatypes", "Sheet1", "issue2",
                                                              "issue5", "issue6", "spc_chrs"}));
    // Numbers, a cached formula string, a boolean formula, a shared string, a date.
    EXPECT_EQ(sheet("issues.xlsx", 0), "1\n1.5\nab\nFALSE\ntest\n2016/10/20\n");
    EXPECT_EQ(sheet("issues.xlsx", 2), "1\ta\n2\tb\n3\tc\n");
    EXPECT_EQ(sheet("issues.xlsx", 3), "1\n"); // 0.5 under the format "0"
    // A styled empty cell after the data is not part of the range.
    EXPECT_EQ(sheet("issues.xlsx", 4), "1\n2\nab\nFALSE\n");
    // XML entities; characters CP932 lacks become '?', as a Shift-JIS clipboard text would.
    EXPECT_EQ(sheet("issues.xlsx", 5).substr(0, 20), "&\n<\n>\naaa ' aaa\n\"\n?\n");
}

TEST(Xlsx, StringsAsShown) {
    EXPECT_EQ(sheet("rph.xlsx", 0), "課きく　毛こ\n");    // phonetic runs left out
    EXPECT_EQ(sheet("has_x000D_.xlsx", 0), "ABC  DEF\n"); // _x000D_ and the LF stay in one cell
    EXPECT_EQ(sheet("inlineStr_cdata.xlsx", 0), "Hello CDATA\tWorld\n12345\tNormalText\n");
    EXPECT_EQ(sheet("richtext-namespaced.xlsx", 0),
              "inline string Line 2 Line 3\t\t\t\t\t\t\tshared string Line 2 Line 3\n");
    EXPECT_EQ(sheet("utf8.xlsx", 0).substr(sheet("utf8.xlsx", 0).find('\n') + 1, 34),
              "こんにちは\tJapanese language\n");
    EXPECT_EQ(sheet("errors.xlsx", 0), "#DIV/0!\n#NAME?\n#VALUE!\n#NULL!\n#REF!\n#NUM!\n#N/A\n");
}

TEST(Xlsx, SparseCellsKeepTheirColumns) {
    EXPECT_EQ(sheet("empty_shared_string_value.xlsx", 0),
              "Name\tCity\tStatus\nAlice\t\tActive\n\tBerlin\t\n");
    EXPECT_EQ(sheet("twolettercolumns.xlsx", 0),
              "1\t2\t3\t4\t5\t6\t7\t8\t9\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t10\t11\t12\n"
              "a\tb\tc\td\te\tf\tg\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\th\tI\tj\n");
}

TEST(Xlsx, DatesInBothSystemsAndTheJapaneseEra) {
    const std::string expected = "2021-01-01\t15\n2021-01-02\t16\n255:10:10\t17\n";
    EXPECT_EQ(sheet("date.xlsx", 0), expected);
    EXPECT_EQ(sheet("date_1904.xlsx", 0), expected);
    EXPECT_EQ(sheet("date_quoted_format.xlsx", 0),
              "January 2021\n2021-01-01\nJanuary 1, 2021\n令和3年1月1日\n");
}

TEST(Xlsx, AVastDeclaredExtentWithFewValuesStaysSmall) {
    auto book = open("issue_174.xlsx");
    ASSERT_TRUE(book);
    SheetText text;
    ASSERT_TRUE(book->readSheet(0, text).ok());
    EXPECT_EQ(text.rowCount(), 2u);
    EXPECT_EQ(text.colCount(), 11u);
}

TEST(Xls, Biff8SheetsAndValues) {
    EXPECT_EQ(names("issues.xls"),
              (std::vector<std::string>{"datatypes", "Sheet1", "issue2", "issue5", "issue6"}));
    EXPECT_EQ(sheet("issues.xls", 2), "1\ta\n2\tb\n3\tc\n");
    const std::string sst = sheet("sst_continue.xls", 0);
    EXPECT_NE(sst.find("\nNew CONTINUE block\n"), std::string::npos);
    // Formula results and booleans come from the records the library skips.
    EXPECT_EQ(sheet("issues.xls", 0), "1\n1.5\nab\nFALSE\ntest\n2016/10/20\n");
    EXPECT_EQ(sheet("xls_formula.xls", 0), "10\n20\n110\n65\n");
    EXPECT_EQ(sheet("issues.xls", 4), "1\n2\nab\nFALSE\n");
    // Numbers by their cells' formats, as in the .xlsx twin: 0.5 under "0".
    EXPECT_EQ(sheet("issues.xls", 3), "1\n");
}

TEST(Xls, Biff5BookReadByOurOwnRecordWalk) {
    // Excel 95 format in the Mac Roman code page: numbers from MULRK and NUMBER, booleans,
    // 8-bit LABEL texts (digits stored as text stay text), a date by its style (format 14).
    EXPECT_EQ(names("biff5_write.xls"), (std::vector<std::string>{"SheetJS"}));
    EXPECT_EQ(sheet("biff5_write.xls", 0),
              "1\t2\t3\t\nTRUE\tFALSE\t\tsheetjs\nfoo\tbar\t2014/2/19\t0.3\nbaz\t\tqux\t\n");
}

TEST(SheetTransfer, CellsBecomeCleanedCommaLines) {
    // Every piece is trimmed, loses its quotes, is quoted when it holds a comma, and is followed
    // by a comma; a line of n cells gives n + 1 fields.
    EXPECT_EQ(commaLines("a\t 1,234 \tsay \"hi\"\r\n\t\tx\r\n"), "a,\"1,234\",say hi,\r\n,,x,\r\n");
    EXPECT_EQ(commaLines(""), "");
    auto book = open("issues.xlsx");
    ASSERT_TRUE(book);
    EXPECT_EQ(sheetListItems(*book)[0], "  1. datatypes");
    EXPECT_EQ(sheetListItems(*book)[5], "  6. spc_chrs");
}

} // namespace
} // namespace kol::workbook
