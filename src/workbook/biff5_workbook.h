// Excel 5 and 95 workbooks (BIFF5/7), which libfreexl cannot open, read by our own record walk.
#pragma once

#include "workbook/workbook.h"

namespace kol::workbook {

// `stream` is the workbook stream ("Book") of the compound document, as isBiff5Stream accepts.
[[nodiscard]] WorkbookResult openBiff5(const std::string& stream, std::unique_ptr<Workbook>& out);

} // namespace kol::workbook
