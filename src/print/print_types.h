// Small value types shared by the print layout and its readers (drawing, printing, export).
// All lengths are layout units: preview pixels at 96 per inch, relative to the printable
// area's top-left corner.
#pragma once

namespace kol::print {

enum class PrintMode { Table, TextListing };

// Manual: cells sized by the cell scale. OnePage: the table's width fitted to the usable width.
enum class CellSizeMode { Manual, OnePage };

// The cell-line choice: none (a white box, so nothing shows on white), solid or dotted.
enum class CellLineKind { None, Solid, Dotted };

struct CellPos {
    int column = -1;
    int row = -1;
    bool operator==(const CellPos&) const = default;
};

struct CellRect {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool operator==(const CellRect&) const = default;
};

} // namespace kol::print
