#include "workbook/biff5_workbook.h"

#include "workbook/biff_formulas.h"

namespace kol::workbook {

namespace {

class Biff5Workbook : public Workbook {
public:
    explicit Biff5Workbook(BiffBook book) : cells_(std::move(book.cells)) {
        names_ = std::move(book.names);
    }

    WorkbookResult readSheet(std::size_t index, SheetText& out) override {
        out = SheetText();
        if (index >= cells_.size()) return {OpenStatus::Unreadable, "no such sheet"};
        for (const BiffCell& cell : cells_[index])
            if (!out.add(cell.row, cell.col, cell.text))
                return {OpenStatus::TooLarge, "the sheet's text exceeds 1 GB"};
        return {};
    }

private:
    std::vector<std::vector<BiffCell>> cells_;
};

} // namespace

WorkbookResult openBiff5(const std::string& stream, std::unique_ptr<Workbook>& out) {
    BiffBook book = readBiffRecords(stream);
    if (book.encrypted) return {OpenStatus::Encrypted, "protected by a password"};
    if (book.names.empty() || book.names.size() != book.cells.size())
        return {OpenStatus::Unreadable, "no worksheets in the BIFF5 workbook"};
    out = std::make_unique<Biff5Workbook>(std::move(book));
    return {};
}

} // namespace kol::workbook
