// The separator choices of the CSV text form and the one in force.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kol {

constexpr unsigned char kNoSeparator = 255; // one field per line

struct SeparatorChoice {
    std::string name; // CP932 display name ("無し", ",", "TAB", ...)
    unsigned char code;
};

// The table in its fixed order; index 1 (",") is the default choice.
const std::vector<SeparatorChoice>& SeparatorTable();

// Item text of the separator combo: two blanks before a one-byte name, one blank otherwise.
std::string separatorComboText(const SeparatorChoice& choice);

// Index of the choice whose name equals `name` (CP932, compared trimmed); "Comma" stands for ",".
// -1 when no choice has that name.
int findSeparator(std::string_view name);

} // namespace kol
