// Excel 95 workbooks built byte by byte: code page 932 texts, password protection, damage,
// cells beyond the grid.
#include "biff5_builder.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "workbook/workbook.h"
#include "workbook/xls_reader.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kol::workbook {
namespace {

WorkbookResult openBytes(const test::TempDir& dir, const std::string& bytes,
                         std::unique_ptr<Workbook>& book) {
    const auto file = dir.path() / "book.xls";
    test::writeBytes(file, bytes);
    return openWorkbook(file.string(), book);
}

TEST(Biff5, Cp932NamesAndTextsAsTheyAre) {
    const std::string name = cp932::fromUtf8("売上表"), text = cp932::fromUtf8("東京　ソ");
    std::string stream =
        test::biff5Stream({{name,
                            {test::biff5Label(0, 0, text), test::biff5Number(0, 2, 0.1 + 0.2),
                             test::biff5Label(1, 1, "")}},
                           {"Two", {test::biff5Number(2, 0, 1e20)}}},
                          932);
    test::TempDir dir;
    std::unique_ptr<Workbook> book;
    // No reader library is needed for these books.
    setXlsLibraryName("libkolumbra-no-such-reader.so.0");
    WorkbookResult r = openBytes(dir, test::biff5File(stream), book);
    setXlsLibraryName("libfreexl.so.1");
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(book->sheetNames(), (std::vector<std::string>{name, "Two"}));
    SheetText sheet;
    ASSERT_TRUE(book->readSheet(0, sheet).ok());
    EXPECT_EQ(sheet.tabLines(), text + "\t\t0.3\r\n");
    ASSERT_TRUE(book->readSheet(1, sheet).ok());
    EXPECT_EQ(sheet.tabLines(), "\r\n\r\n1E+20\r\n");
    EXPECT_FALSE(book->readSheet(2, sheet).ok());
}

TEST(Biff5, OtherCodePagesAreConvertedAndWhatCp932LacksBecomesAQuestionMark) {
    struct Case {
        std::uint16_t page;
        std::string bytes;
        const char* shown; // UTF-8
    };
    const Case cases[] = {
        {1252,
         "\x93"
         "A\x94 \xB1\xD7 \x85\x86 \xE9\x80",
         "“A” ±× …† ??"},
        {437, "\xE0\xE3\xF1\xF8\xC4\xE1", "απ±°─?"},
        {10000, "\xD2\xB9\xD3\xA1\xC9", "“π”°…"},
        {1251, "\xC0\xC1\xC2 ok", "АБВ ok"},
        {1200, "A\xB1", "A±"},       // no 8-bit text is UTF-16: read as Latin-1
        {65000, "A\xB1", "A±"},      // a page without a converter: the same
        {10001, sj("日本"), "日本"}, // Mac Japanese is Shift-JIS
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        // The sheet's name and a text cell, both in the book's code page.
        const std::string stream =
            test::biff5Stream({{c.bytes, {test::biff5Label(0, 0, c.bytes)}}}, c.page);
        std::unique_ptr<Workbook> book;
        ASSERT_TRUE(openBytes(dir, test::biff5File(stream), book).ok()) << c.page;
        EXPECT_EQ(book->sheetNames(), std::vector<std::string>{sj(c.shown)}) << c.page;
        SheetText sheet;
        ASSERT_TRUE(book->readSheet(0, sheet).ok()) << c.page;
        EXPECT_EQ(sheet.tabLines(), sj(c.shown) + "\r\n") << c.page;
    }
}

TEST(Biff5, PasswordProtectedBookIsRefused) {
    test::TempDir dir;
    std::unique_ptr<Workbook> book;
    const std::string stream =
        test::biff5Stream({{"S", {test::biff5Label(0, 0, "secret")}}}, 1252, true);
    EXPECT_EQ(openBytes(dir, test::biff5File(stream), book).status, OpenStatus::Encrypted);
    EXPECT_FALSE(book);
}

TEST(Biff5, DamagedRecordsNeverReachOutside) {
    std::string stream = test::biff5Stream(
        {{"S", {test::biff5Label(0, 0, "abc"), test::biff5Number(1, 0, 2)}}}, 1252);
    test::TempDir dir;
    // Every truncation and every byte flipped in the records: each opens or is refused,
    // and a cell's text never reaches past its record.
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        std::unique_ptr<Workbook> book;
        if (!openBytes(dir, test::biff5File(stream.substr(0, cut)), book).ok()) continue;
        SheetText sheet;
        if (book->readSheet(0, sheet).ok()) {
            EXPECT_LE(sheet.tabLines().size(), 16u);
        }
    }
    for (std::size_t at = 0; at < stream.size(); ++at) {
        std::string bent = stream;
        bent[at] = static_cast<char>(0xFF);
        std::unique_ptr<Workbook> book;
        if (!openBytes(dir, test::biff5File(bent), book).ok()) continue;
        SheetText sheet;
        for (std::size_t i = 0; i < book->sheetNames().size(); ++i)
            if (book->readSheet(i, sheet).ok()) {
                EXPECT_LE(sheet.cellCount(), 4u);
            }
    }
    // A book without worksheets cannot be read.
    std::unique_ptr<Workbook> book;
    EXPECT_EQ(openBytes(dir, test::biff5File(test::biff5Stream({}, 1252)), book).status,
              OpenStatus::Unreadable);
}

TEST(Biff5, CellsBeyondTheGridAreLeftOutAndFarCellsCannotBlowUpASmallBook) {
    test::TempDir dir;
    // Cells claiming columns up to 11,009 and rows up to 46,336 in a book of a few KB: an Excel
    // 5/95 sheet has 256 columns and 16,384 rows, so only A1 and B2 remain.
    std::string mulrk; // row 3, columns 250..265, each an RK integer 7
    test::putLe(mulrk, 3, 2), test::putLe(mulrk, 250, 2);
    for (int i = 0; i < 16; ++i) test::putLe(mulrk, 0x0F, 2), test::putLe(mulrk, (7u << 2) | 2u, 4);
    test::putLe(mulrk, 265, 2);
    const std::string stream =
        test::biff5Stream({{"S",
                            {test::biff5Label(0, 0, "a"), test::biff5Number(1, 1, 2),
                             test::biff5Label(0, 11009, "x"), test::biff5Number(46336, 3, 1),
                             test::biff5Label(16384, 0, "y"), test::biff5Record(0x00BD, mulrk)}}},
                          1252);
    std::unique_ptr<Workbook> book;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(openBytes(dir, test::biff5File(stream), book).ok());
    SheetText sheet;
    ASSERT_TRUE(book->readSheet(0, sheet).ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(sheet.colCount(), 256u);
    EXPECT_EQ(sheet.rowCount(), 4u);
    EXPECT_EQ(sheet.cell(3, 255), "7");
    EXPECT_EQ(sheet.cellCount(), 8u);

    // A cell inside the grid but far out: 16,384 rows of 256 places from 4 KB of records is
    // more than an .xlsx may unpack to (100 times the file), so the sheet is refused.
    const std::string far = test::biff5Stream(
        {{"S", {test::biff5Label(0, 0, "a"), test::biff5Label(16383, 255, "z")}}}, 1252);
    ASSERT_TRUE(openBytes(dir, test::biff5File(far), book).ok());
    const WorkbookResult r = book->readSheet(0, sheet);
    EXPECT_EQ(r.status, OpenStatus::TooLarge);
    EXPECT_EQ(sheet.cellCount(), 0u);
    // The same cell in a book of enough size opens.
    std::string padded = far;
    padded.resize(64 * 1024, '\0');
    ASSERT_TRUE(openBytes(dir, test::biff5File(padded), book).ok());
    ASSERT_TRUE(book->readSheet(0, sheet).ok());
    EXPECT_EQ(sheet.cell(16383, 255), "z");
}

} // namespace
} // namespace kol::workbook
