// Our own walk over the records of a BIFF5/7 or BIFF8 workbook stream. For BIFF8 it gives
// what libfreexl leaves out, per worksheet in tab order: formula results (numbers, texts,
// booleans, errors), plain booleans and errors, and every number as its cell's number format
// shows it (the library gives numbers without their formats). BIFF5/7 books, which the library
// cannot open, are read here whole: sheet names and 8-bit text cells as well.
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

// Whether `stream` starts with the BOF record of a BIFF5/7 workbook (Excel 5 and 95).
bool isBiff5Stream(const std::string& stream);

// `stream` is the workbook stream of the compound document. Text cells (LABEL, RSTRING) are
// read only from BIFF5/7 books; for BIFF8 the library gives them.
BiffBook readBiffRecords(const std::string& stream);

inline std::vector<std::vector<BiffCell>> biffExtraCells(const std::string& stream) {
    return readBiffRecords(stream).cells;
}

} // namespace kol::workbook
