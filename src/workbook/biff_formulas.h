// What libfreexl leaves out of a BIFF5/BIFF8 workbook, per worksheet in tab order: formula
// results (numbers, texts, booleans, errors), plain booleans and errors, and every number as
// its cell's number format shows it (the library gives numbers without their formats).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kol::workbook {

struct BiffCell {
    std::uint32_t row;
    std::uint16_t col;
    std::string text; // CP932, as the sheet shows it in the General format
};

// `stream` is the workbook stream of the compound document; one list per worksheet.
std::vector<std::vector<BiffCell>> biffExtraCells(const std::string& stream);

} // namespace kol::workbook
