#include "workbook/sheet_import.h"

#include "table/source_text.h"
#include "text/text_utils.h"

namespace kol::workbook {

std::vector<std::string> sheetListItems(const Workbook& book) {
    std::vector<std::string> items;
    const auto& names = book.sheetNames();
    for (std::size_t n = 1; n <= names.size(); ++n)
        items.push_back(PadLeftTo(' ', std::to_string(n), 3) + ". " + names[n - 1]);
    return items;
}

WorkbookResult sheetCommaLines(Workbook& book, std::size_t index, std::string& out) {
    SheetText sheet;
    WorkbookResult r = book.readSheet(index, sheet);
    if (!r.ok()) return r;
    out = sheet.commaText();
    return r;
}

TableLoadResult loadCommaLines(std::string lines, TableDocument& document,
                               const TableLoadOptions& options) {
    SourceText source(std::move(lines));
    const std::size_t count = countLines(source.text());
    document.Modified = 0;
    TableLoadOptions comma = options;
    comma.separator = ',';
    return loadTableSource(source, count, document, comma);
}

} // namespace kol::workbook
