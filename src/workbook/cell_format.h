// The text a spreadsheet cell shows: numbers in the General format or in the cell's number
// format (digits, grouping, percent, scientific, fractions, dates and times including the
// Japanese era and 年月日 forms), texts through the format's text section. Format codes and
// texts are UTF-8 here; the workbook readers convert to CP932 afterwards.
#pragma once

#include <string>
#include <string_view>

namespace kol::workbook {

enum class DateSystem { From1900, From1904 };

// Numbers as the General format shows them: at most 11 characters besides the sign, scientific
// notation for what does not fit.
std::string generalNumber(double value);

// The number as shown under `code` (an empty code or "General" is the General format).
std::string formatNumber(double value, std::string_view code, DateSystem system);

// A text cell under `code`: its text section's literals round the text, else the text itself.
std::string formatText(std::string_view text, std::string_view code);

// The built-in format codes, as a Japanese spreadsheet shows them; empty for unknown ids.
std::string_view builtinFormat(int id);

// Whether the code shows a date or a time (so an .xls date can be told from a number).
bool isDateFormat(std::string_view code);

} // namespace kol::workbook
