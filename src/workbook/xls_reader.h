// .xls workbooks: Excel 5/95 and Excel 97 books by our own record walk, what it cannot read
// through libfreexl. The library is loaded when first needed: a machine without it gets the
// missing-reader message instead of a program that does not start.
#pragma once

#include "workbook/workbook.h"

namespace kol::workbook {

[[nodiscard]] WorkbookResult openXls(const std::string& path, std::unique_ptr<Workbook>& out);

// The library's file name; tests point it elsewhere to see the missing-reader path.
void setXlsLibraryName(const std::string& name);

} // namespace kol::workbook
