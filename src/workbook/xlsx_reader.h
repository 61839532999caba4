// .xlsx: the workbook's parts read from the zip archive with expat.
#pragma once

#include "workbook/workbook.h"

namespace kol::workbook {

[[nodiscard]] WorkbookResult openXlsx(const std::string& path, std::unique_ptr<Workbook>& out);

} // namespace kol::workbook
