// Excel 95 workbooks built byte by byte: code page 932 texts, password protection, damage.
#include "biff5_builder.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "workbook/workbook.h"
#include "workbook/xls_reader.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kol::workbook
