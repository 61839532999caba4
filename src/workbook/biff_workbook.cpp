#include "workbook/biff_workbook.h"

#include "workbook/biff_formulas.h"
#include "workbook/zip_archive.h"

namespace kol::workbook {

namespace {

class BiffWorkbook : public Workbook {
public:
    BiffWorkbook(BiffBook book, std::uint64_t fileSize)
        : cells_(std::move(book.cells)), fileSize_(fileSize) {
        names_ = std::move(book.names);
    }

    WorkbookResult readSheet(std::size_t index, SheetText& out) override {
        out = SheetText();
        if (index >= cells_.size()) return {OpenStatus::Unreadable, "no such sheet"};
        return addBiffCells(cells_[index], fileSize_, out);
    }

private:
    std::vector<std::vector<BiffCell>> cells_;
    std::uint64_t fileSize_;
};

} // namespace

WorkbookResult openBiffWorkbook(const std::string& stream, std::uint64_t fileSize,
                                std::unique_ptr<Workbook>& out) {
    BiffBook book = readBiffRecords(stream, BiffTexts::All);
    if (book.encrypted) return {OpenStatus::Encrypted, "protected by a password"};
    if (book.names.empty() || book.names.size() != book.cells.size())
        return {OpenStatus::Unreadable, "no worksheets in the BIFF workbook"};
    out = std::make_unique<BiffWorkbook>(std::move(book), fileSize);
    return {};
}

WorkbookResult addBiffCells(const std::vector<BiffCell>& cells, std::uint64_t fileSize,
                            SheetText& sheet) {
    WorkbookResult r;
    for (const BiffCell& cell : cells)
        if (!sheet.add(cell.row, cell.col, cell.text)) {
            r = {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
            break;
        }
    if (r.ok()) r = checkXlsExpansion(sheet, fileSize);
    if (!r.ok()) sheet = SheetText();
    return r;
}

WorkbookResult checkXlsExpansion(const SheetText& sheet, std::uint64_t fileSize) {
    if (sheet.commaBytes() > UnpackBudget(fileSize).remaining)
        return {OpenStatus::TooLarge, "the sheet would be more than 1 GB or 100 times the file"};
    return {};
}

} // namespace kol::workbook
