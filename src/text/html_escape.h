// Table and document text put into an HTML page as text, so that a browser shows what the cell
// or line holds and runs none of it.
#pragma once

#include <string>
#include <string_view>

namespace kol {

enum class HtmlQuotes { Kept, Escaped };

// `&`, `<` and `>` (and `"` when asked) as entities; every other byte as it is. Shift-JIS trail
// bytes start at 0x40, so these bytes are always characters of their own.
std::string escapeHtml(std::string_view cp932, HtmlQuotes quotes);

} // namespace kol
