// libFuzzer target for the workbook reader: the input is taken as an .xlsx held in memory and
// every sheet is read as shown text; an input starting with "FMT\n" is instead a number format
// code (rest of the line) applied to a few numbers, dates and a text; an input starting with the
// compound document signature is an .xls whose records are read both ways: for what libfreexl
// leaves out, and whole as our own reader reads a book. Sheets of an .xlsx are read both straight
// and split on two threads, and the two must agree.
#include "workbook/biff_formulas.h"
#include "workbook/biff_workbook.h"
#include "workbook/cell_format.h"
#include "workbook/compound_file.h"
#include "workbook/workbook.h"
#include "workbook/worksheet_reader.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.rfind("FMT\n", 0) == 0) {
        const std::string code = bytes.substr(4, 256);
        for (double v : {0.0, -1.5, 1234567.891, 44197.75, 1e300, -1e-300, 2958465.9999})
            for (auto system :
                 {kol::workbook::DateSystem::From1900, kol::workbook::DateSystem::From1904})
                (void)kol::workbook::formatNumber(v, code, system);
        (void)kol::workbook::formatText("text", code);
        return 0;
    }
    if (bytes.rfind("\xD0\xCF\x11\xE0", 0) == 0) {
        static const std::string path = "/tmp/workbook_fuzz-" + std::to_string(getpid()) + ".xls";
        if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
            std::string stream;
            std::unique_ptr<kol::workbook::Workbook> book;
            if (!kol::workbook::readCompoundStream(path, "Workbook", stream) &&
                !kol::workbook::readCompoundStream(path, "Book", stream))
                return 0;
            (void)kol::workbook::readBiffRecords(stream, kol::workbook::BiffTexts::LeftByLibrary);
            if (kol::workbook::openBiffWorkbook(stream, bytes.size(), book).ok()) {
                for (std::size_t i = 0; i < book->sheetNames().size() && i < 8; ++i) {
                    kol::workbook::SheetText sheet;
                    if (book->readSheet(i, sheet).ok())
                        (void)kol::workbook::commaLines(sheet.tabLines());
                }
            }
        }
        return 0;
    }
    std::unique_ptr<kol::workbook::Workbook> book;
    if (!kol::workbook::openXlsxBytes(std::move(bytes), book).ok()) return 0;
    // Each sheet is read straight through and again split at every chance on two threads; the
    // two must agree, and so must the one-pass comma lines with those made from the tab lines.
    for (std::size_t i = 0; i < book->sheetNames().size() && i < 8; ++i) {
        kol::workbook::SheetText straight, split;
        kol::workbook::setWorksheetSplitFrom(SIZE_MAX);
        const kol::workbook::WorkbookResult a = book->readSheet(i, straight);
        kol::workbook::setWorksheetSplitFrom(0);
        const kol::workbook::WorkbookResult b = book->readSheet(i, split);
        if (a.status != b.status || a.reason != b.reason) std::abort();
        if (!a.ok()) continue;
        const std::string lines = straight.commaText();
        if (lines != kol::workbook::commaLines(straight.tabLines()) || lines != split.commaText())
            std::abort();
    }
    return 0;
}
