// .xls books written by other programs (LibreOffice from .xlsx and CSV sources, xlwt), each with
// the texts its generator wrote: read through libfreexl with our record walk beside it, and by
// our own reader alone, as books the library refuses are. KOLUMBRA_XLS_BOOKS names a folder of
// more such books (tests/data/xls/generate.py) to hold the readers against.
#include "support/test_support.h"
#include "text/cp932.h"
#include "workbook/biff_formulas.h"
#include "workbook/biff_workbook.h"
#include "workbook/compound_file.h"
#include "workbook/workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kol::workbook {
namespace {

namespace fs = std::filesystem;

struct ExpectedSheet {
    std::string name;  // CP932
    std::string lines; // tab lines, CP932, CR LF
};

std::vector<ExpectedSheet> expectedSheets(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<ExpectedSheet> sheets;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0)
            sheets.push_back({cp932::fromUtf8(line.substr(3)), {}});
        else if (!sheets.empty())
            sheets.back().lines += cp932::fromUtf8(line) + "\r\n";
    }
    return sheets;
}

void expectBook(Workbook& book, const std::vector<ExpectedSheet>& expected,
                const std::string& label) {
    ASSERT_EQ(book.sheetNames().size(), expected.size()) << label;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(book.sheetNames()[i], expected[i].name) << label << " sheet " << i;
        SheetText sheet;
        WorkbookResult r = book.readSheet(i, sheet);
        ASSERT_TRUE(r.ok()) << label << ": " << r.reason;
        const std::string lines = sheet.tabLines();
        if (lines == expected[i].lines) continue;
        // The first line that differs, in UTF-8, says more than two long texts.
        std::istringstream got(cp932::toUtf8(lines)), want(cp932::toUtf8(expected[i].lines));
        std::string a, b;
        for (int row = 1; std::getline(want, b); ++row)
            if (!std::getline(got, a) || a != b) {
                ADD_FAILURE() << label << " sheet " << i << " row " << row << "\n got: " << a
                              << "\nwant: " << b;
                break;
            }
        EXPECT_EQ(lines.size(), expected[i].lines.size()) << label << " sheet " << i;
    }
}

// Every book of `folder` both ways; returns how many were read.
int checkFolder(const fs::path& folder) {
    std::vector<fs::path> books;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".xls") books.push_back(entry.path());
    std::sort(books.begin(), books.end());
    for (const fs::path& file : books) {
        const std::string label = file.filename().string();
        const auto expected = expectedSheets(fs::path(file).replace_extension(".expected.txt"));
        std::unique_ptr<Workbook> book;
        WorkbookResult r = openWorkbook(file.string(), book);
        EXPECT_TRUE(r.ok()) << label << ": " << r.reason;
        if (book) expectBook(*book, expected, label);
        std::string stream;
        EXPECT_TRUE(readCompoundStream(file.string(), "Workbook", stream)) << label;
        EXPECT_TRUE(isBiff8Stream(stream)) << label;
        std::unique_ptr<Workbook> own;
        r = openBiffWorkbook(stream, fs::file_size(file), own);
        EXPECT_TRUE(r.ok()) << label << ": " << r.reason;
        if (own) expectBook(*own, expected, label + " (own reader)");
    }
    return static_cast<int>(books.size());
}

TEST(XlsBooks, OtherWritersBooksShowWhatWasWritten) {
    EXPECT_GT(checkFolder(test::dataFile("xls")), 0);
    if (const char* more = std::getenv("KOLUMBRA_XLS_BOOKS")) {
        std::printf("%d more books from %s\n", checkFolder(more), more);
    }
}

} // namespace
} // namespace kol::workbook
