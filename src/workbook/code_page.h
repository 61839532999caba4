// The 8-bit texts of an Excel 5/95 book in the code page its CODEPAGE record names, turned into
// the program's CP932. Characters CP932 lacks become '?', as everywhere text is converted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kol::workbook {

// UTF-16 of the bytes; CP932 books (and Mac Japanese) decode as CP932. Pages no converter
// is found for, and 1200 (which no 8-bit text can be in), read as Latin-1.
std::u16string codePageToUtf16(std::string_view bytes, std::uint16_t codePage);

// CP932 of the bytes: CP932 books' bytes as they are.
std::string codePageToCp932(std::string_view bytes, std::uint16_t codePage);

} // namespace kol::workbook
