// From a workbook sheet to the table: the chooser's items, the sheet transfer's comma lines,
// and the load of those lines into a document with the comma separator.
#pragma once

#include "table/table_document.h"
#include "table/table_load.h"
#include "workbook/workbook.h"

#include <string>
#include <vector>

namespace kol::workbook {

// "  1. name": the number right-justified in three places (CP932).
std::vector<std::string> sheetListItems(const Workbook& book);

// The sheet's rows as comma lines, each cell trimmed, cleaned and followed by a comma.
[[nodiscard]] WorkbookResult sheetCommaLines(Workbook& book, std::size_t index, std::string& out);

// Places comma lines in `document` as a load does (loadTableSource with the comma separator;
// history cleared, unchanged). When memory runs out (TooLarge, ENOMEM) the document is left an
// empty table.
[[nodiscard]] TableLoadResult loadCommaLines(std::string lines, TableDocument& document,
                                             const TableLoadOptions& options);

} // namespace kol::workbook
