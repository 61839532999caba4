// Key columns given as text ("2,5"): data column numbers as the column-number row shows them.
#pragma once

#include <string>
#include <vector>

namespace kol {

// Reads a comma-separated list of column numbers 1 … columns into `numbers`, in order. On
// failure `problem` says why (CP932) and `numbers` is left empty.
[[nodiscard]] bool ParseSortKeys(const std::string& text, int columns, std::vector<int>& numbers,
                                 std::string& problem);

} // namespace kol
