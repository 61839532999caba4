// .xls workbooks read by our own record walk alone: Excel 5 and 95 books (BIFF5/7), which
// libfreexl cannot open, and Excel 97 books (BIFF8) it refuses.
#pragma once

#include "workbook/biff_formulas.h"
#include "workbook/workbook.h"

#include <cstdint>
#include <vector>

namespace kol::workbook {

// `stream` is the workbook stream ("Book" or "Workbook") of the compound document, as
// isBiff5Stream or isBiff8Stream accepts; `fileSize` the whole file's, for the expansion limit.
[[nodiscard]] WorkbookResult openBiffWorkbook(const std::string& stream, std::uint64_t fileSize,
                                              std::unique_ptr<Workbook>& out);

// TooLarge when a sheet read from an .xls of `fileSize` bytes would make more than an .xlsx may
// unpack to (100 times the file, at most 1 GB): a few cells far out in a small book would
// otherwise become a table of millions of empty places.
[[nodiscard]] WorkbookResult checkXlsExpansion(const SheetText& sheet, std::uint64_t fileSize);

// Adds `cells` to `sheet`, then holds the whole sheet to checkXlsExpansion; a sheet that fails
// either is left empty, never half read.
[[nodiscard]] WorkbookResult addBiffCells(const std::vector<BiffCell>& cells,
                                          std::uint64_t fileSize, SheetText& sheet);

} // namespace kol::workbook
