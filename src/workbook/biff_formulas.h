// Our own walk over the records of a BIFF5/7 or BIFF8 workbook stream, per worksheet in tab
// order: formula results (numbers, texts, booleans, errors), booleans and errors, every number
// as its cell's number format shows it, and text cells. Beside libfreexl it gives only what the
// library leaves out (it shows numbers without their formats and skips formula results); books
// the library cannot read (Excel 5/95, and Excel 97 books it refuses) are read here whole.
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

struct BiffBook {
    bool biff8 = false;
    bool encrypted = false;                   // a FILEPASS record: the cells are scrambled
    std::vector<std::string> names;           // worksheets in tab order, CP932
    std::vector<std::vector<BiffCell>> cells; // one list per worksheet
};

// Whether `stream` starts with the BOF record of a BIFF5/7 workbook (Excel 5 and 95), or of a
// BIFF8 one (Excel 97 and later).
bool isBiff5Stream(const std::string& stream);
bool isBiff8Stream(const std::string& stream);

enum class BiffTexts {
    All,           // every cell: the book is read by us alone
    LeftByLibrary, // BIFF8 text cells are left to libfreexl (BIFF5/7 books are read whole)
};

// `stream` is the workbook stream of the compound document.
BiffBook readBiffRecords(const std::string& stream, BiffTexts texts);

} // namespace kol::workbook
