// The text a cell prints: what the page drawing and the HTML export show for a cell.
#pragma once

#include "print/print_types.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kol::print {

struct PrintTextOptions {
    PrintMode mode = PrintMode::Table;
    bool trimSpace = false; // leading and trailing blanks removed (table mode)
    bool dateEdit = false;  // 6 or 8 ASCII digits shown as a date (table mode)
};

// In text-listing mode the cell itself. In table mode trimmed when asked, then "yymmdd" becomes
// "yy/mm/dd" and "yyyymmdd" "yyyy/mm/dd" when asked (exactly 6 or 8 bytes, all ASCII digits).
std::string printText(std::string_view cell, const PrintTextOptions& options);
// printText(cell, options).size() without building the text.
std::size_t printTextLength(std::string_view cell, const PrintTextOptions& options);

} // namespace kol::print
