// Damaged and hostile workbooks: each is refused with a reason or opens, and nothing is
// allocated for what a file only declares.
#include "support/test_support.h"
#include "workbook/compound_file.h"
#include "workbook/workbook.h"
#include "workbook/xls_reader.h"
#include "workbook/xlsx_builder.h"
#include "workbook/zip_archive.h"

#include <gtest/gtest.h>

namespace kol::workbook {
namespace {

WorkbookResult openFile(const std::filesystem::path& p, std::unique_ptr<Workbook>& book) {
    return openWorkbook(p.string(), book);
}

WorkbookResult readFirst(const std::filesystem::path& p, SheetText& text) {
    std::unique_ptr<Workbook> book;
    WorkbookResult r = openFile(p, book);
    if (!r.ok()) return r;
    return book->readSheet(0, text);
}

TEST(WorkbookRobustness, DamagedZipIsRefused) {
    test::TempDir dir;
    std::string bytes = test::readBytes(test::dataFile("excel/issues.xlsx"));
    test::writeBytes(dir / "cut.xlsx", bytes.substr(0, bytes.size() / 2));
    std::unique_ptr<Workbook> book;
    EXPECT_EQ(openFile(dir / "cut.xlsx", book).status, OpenStatus::Unreadable);
    // Sheet data overwritten inside the archive: the entry's checksum or inflate fails.
    std::string scrambled = bytes;
    for (std::size_t i = 2000; i < 6000; i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    test::writeBytes(dir / "scrambled.xlsx", scrambled);
    WorkbookResult r = openFile(dir / "scrambled.xlsx", book);
    if (r.ok()) {
        bool anyFailed = false;
        for (std::size_t i = 0; i < book->sheetNames().size(); ++i) {
            SheetText text;
            anyFailed |= !book->readSheet(i, text).ok();
        }
        EXPECT_TRUE(anyFailed);
    }
    EXPECT_FALSE(openFile(dir / "missing.xlsx", book).ok());
}

TEST(WorkbookRobustness, ZipBombIsRefusedBeforeItFillsMemory) {
    // 40 MB of one repeated cell pack into a few tens of KB: far beyond 100 times the file.
    std::string row = "<row><c><v>0</v></c></row>";
    std::string data;
    while (data.size() < 40u << 20) data += row;
    test::TempDir dir;
    ASSERT_TRUE(test::writeZip((dir / "bomb.xlsx").string(), test::xlsxParts({{"S", data, ""}})));
    SheetText text;
    EXPECT_EQ(readFirst(dir / "bomb.xlsx", text).status, OpenStatus::TooLarge);

    // The limits themselves: 100 times the file, never beyond 1 GB.
    UnpackBudget small(1000);
    EXPECT_TRUE(small.take(100000));
    EXPECT_FALSE(small.take(1));
    UnpackBudget large(100u << 20);
    EXPECT_EQ(large.remaining, UnpackBudget::kAbsoluteLimit);
}

TEST(WorkbookRobustness, MalformedXmlAndDoctypesAreRefused) {
    test::TempDir dir;
    ASSERT_TRUE(test::writeZip((dir / "bad.xlsx").string(),
                               test::xlsxParts({{"S", "<row><c><v>1</v></row>", ""}})));
    SheetText text;
    WorkbookResult r = readFirst(dir / "bad.xlsx", text);
    EXPECT_EQ(r.status, OpenStatus::Unreadable);
    EXPECT_NE(r.reason.find("malformed XML"), std::string::npos);

    auto parts = test::xlsxParts({{"S", "<row><c><v>1</v></c></row>", ""}});
    for (auto& p : parts)
        if (p.name == "xl/sharedStrings.xml")
            p.bytes = "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaaaaaa\">]><sst/>";
    ASSERT_TRUE(test::writeZip((dir / "doctype.xlsx").string(), parts));
    EXPECT_EQ(readFirst(dir / "doctype.xlsx", text).status, OpenStatus::Unreadable);
}

TEST(WorkbookRobustness, DeclaredExtentCostsNothing) {
    test::TempDir dir;
    ASSERT_TRUE(
        test::writeZip((dir / "wide.xlsx").string(),
                       test::xlsxParts({{"S",
                                         "<row r=\"2\"><c r=\"B2\"><v>7</v></c></row>"
                                         "<row r=\"1048576\"><c r=\"XFD1048576\" s=\"0\"/></row>",
                                         "<dimension ref=\"A1:XFD1048576\"/>"}})));
    SheetText text;
    ASSERT_TRUE(readFirst(dir / "wide.xlsx", text).ok());
    EXPECT_EQ(text.rowCount(), 2u);
    EXPECT_EQ(text.colCount(), 2u);
    EXPECT_EQ(text.tabLines(), "\t\r\n\t7\r\n");
}

TEST(WorkbookRobustness, AllRowsOfASheetOpen) {
    std::string data;
    data.reserve(40u << 20);
    for (int r = 1; r <= 1048576; ++r) {
        std::string n = std::to_string(r);
        data += "<row r=\"" + n + "\"><c r=\"A" + n + "\"><v>" + n + "</v></c></row>";
    }
    // Beyond the last row there is nothing to place.
    data += "<row r=\"1048577\"><c r=\"A1048577\"><v>1</v></c></row>";
    test::TempDir dir;
    ASSERT_TRUE(test::writeZip((dir / "tall.xlsx").string(), test::xlsxParts({{"S", data, ""}})));
    SheetText text;
    WorkbookResult r = readFirst(dir / "tall.xlsx", text);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(text.rowCount(), 1048576u);
    EXPECT_EQ(text.cell(1048575, 0), "1048576");
}

TEST(WorkbookRobustness, PasswordProtectedIsRefused) {
    test::TempDir dir;
    // Entries encrypted inside the zip.
    if (test::writeZip((dir / "aes.xlsx").string(),
                       test::xlsxParts({{"S", "<row><c><v>1</v></c></row>", ""}}), "secret")) {
        std::unique_ptr<Workbook> book;
        EXPECT_FALSE(openFile(dir / "aes.xlsx", book).ok());
    }
    // A protected .xlsx is a compound document holding an encrypted package, not a workbook.
    std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    compound += std::string(4096, '\0');
    test::writeBytes(dir / "protected.xlsx", compound);
    std::unique_ptr<Workbook> book;
    EXPECT_FALSE(openFile(dir / "protected.xlsx", book).ok());
}

TEST(WorkbookRobustness, XlsThatIsHtmlOrCsvOrNothing) {
    test::TempDir dir;
    test::writeBytes(dir / "page.xls",
                     "<html><body><table><tr><td>1</td></tr></table></body></html>");
    test::writeBytes(dir / "table.xls", "a,b,c\r\n1,2,3\r\n");
    test::writeBytes(dir / "empty.xls", "");
    std::unique_ptr<Workbook> book;
    for (const char* name : {"page.xls", "table.xls", "empty.xls"})
        EXPECT_EQ(openFile(dir / name, book).status, OpenStatus::Unreadable) << name;
    EXPECT_FALSE(book);
}

TEST(WorkbookRobustness, CompoundDocumentWhoseChainsLoop) {
    // Found by fuzzing: a table-of-tables sector naming itself as the next one.
    std::string bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    bytes.resize(2048, '\0');
    bytes[0x1E] = 9; // 512-byte sectors
    bytes[0x20] = 6;
    for (std::size_t i = 0x4C; i < 512; ++i) bytes[i] = '\xFF'; // no table sectors in the header
    bytes[0x44] = 0;                                            // the chained ones start at 0
    for (std::size_t i = 512; i < 1024; i += 4) bytes[i] = 0;   // ...which names sector 0 again
    test::TempDir dir;
    test::writeBytes(dir / "loop.xls", bytes);
    std::string stream;
    EXPECT_FALSE(readCompoundStream((dir / "loop.xls").string(), "Workbook", stream));
    std::unique_ptr<Workbook> book;
    EXPECT_FALSE(openWorkbook((dir / "loop.xls").string(), book).ok());
}

TEST(WorkbookRobustness, EmptyWorkbookAndEmptySheet) {
    test::TempDir dir;
    ASSERT_TRUE(test::writeZip((dir / "none.xlsx").string(), test::xlsxParts({})));
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(openFile(dir / "none.xlsx", book).ok());
    EXPECT_TRUE(book->sheetNames().empty());
    SheetText text;
    EXPECT_FALSE(book->readSheet(0, text).ok());

    ASSERT_TRUE(test::writeZip((dir / "blank.xlsx").string(), test::xlsxParts({{"S", "", ""}})));
    ASSERT_TRUE(readFirst(dir / "blank.xlsx", text).ok());
    EXPECT_EQ(text.tabLines(), "");
}

TEST(WorkbookRobustness, MissingXlsReaderIsReported) {
    setXlsLibraryName("libkolumbra-no-such-reader.so.0");
    std::unique_ptr<Workbook> book;
    EXPECT_EQ(openWorkbook(test::dataFile("excel/issues.xls").string(), book).status,
              OpenStatus::NoReader);
    setXlsLibraryName("libfreexl.so.1");
    EXPECT_TRUE(openWorkbook(test::dataFile("excel/issues.xls").string(), book).ok());
}

} // namespace
} // namespace kol::workbook
