// Numbers in a worksheet's XML as the C library would read them, without its cost.
#pragma once

#include <string>

namespace kol::workbook {

// The number at the start of `text` as strtod reads it; false when none is there. Plain decimal
// forms ("-12", "3.25", "1E-3") are read by from_chars (the same correctly rounded value), the
// rest (leading blanks or '+', hexadecimal, infinities, out of range) by strtod.
[[nodiscard]] bool parseNumber(const std::string& text, double& value);

} // namespace kol::workbook
