// A deterministic Shift-JIS CSV for the benchmarks: Japanese text, half-width katakana,
// 6- and 8-digit numbers and some quoted fields holding commas.
#pragma once

#include <string>

namespace kol::bench {

std::string generateTable(std::size_t lines, std::size_t fields);

} // namespace kol::bench
