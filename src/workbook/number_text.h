// Numbers in a worksheet's XML as the C library would read them, without its cost.
#pragma once

#include <string>
#include <string_view>

namespace kol::workbook {

// The number at the start of `text` as strtod reads it; false when none is there. Plain decimal
// forms ("-12", "3.25", "1E-3") are read by from_chars (the same correctly rounded value), the
// rest (leading blanks or '+', hexadecimal, infinities, out of range) by strtod.
[[nodiscard]] bool parseNumber(const std::string& text, double& value);

// What generalNumber shows for a number written plainly ("-12", "3.2500"), made from the text
// without reading it as a double: the digits themselves, trailing fraction zeros dropped.
// False, and nothing written, for every text where that might differ (zero, leading zeros,
// exponents, more than 11 characters, magnitudes below 0.0001).
[[nodiscard]] bool plainGeneral(std::string_view text, std::string& out);

// What the formats "0" (grouped false) and "#,##0" (grouped true) show for a whole number
// written plainly ("-1234567" → "-1,234,567"), made from the text. False for every other text
// (fractions, exponents, leading zeros, "-0", more than 15 digits).
[[nodiscard]] bool plainWhole(std::string_view text, bool grouped, std::string& out);

} // namespace kol::workbook
