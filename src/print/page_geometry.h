// Page geometry in layout units (96 per inch): page size from the printer, margins, the header
// above the table, the usable area the cells are laid out in, and the one-page factor.
#pragma once

#include "print/print_types.h"

#include <optional>
#include <span>
#include <string>

namespace kol::print {

constexpr int kUnitsPerInch = 96;

// Trunc(96 * mm / 25.4).
int mmToUnits(int millimetres);

// The date/page line taken one and a half times, then one line per heading: 24 + 16 * count.
int headerHeight(int nonEmptyHeadings);
int countNonEmptyHeadings(std::span<const std::string> headings);

struct PrinterPage {
    int widthDots = 0;  // printable page width in printer dots
    int heightDots = 0; // likewise the height
    int dotsPerInchY = 0;
};

struct GeometryInput {
    PrinterPage printer;
    int leftMarginIndex = 0; // 5 mm a step
    int topMarginIndex = 0;  // 5 mm a step, above the header
    int nonEmptyHeadings = 0;
    int charHeight = 0; // "A" in the cell font
    CellSizeMode mode = CellSizeMode::Manual;
    long long totalWidth = 0; // sum of the scaled column widths (one-page factor)
};

struct PageGeometry {
    long double printerRatio = 1; // printer dots per layout unit, both directions
    int pageWidth = 0, pageHeight = 0;
    int marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0; // top holds the header
    int header = 0;
    int usableWidth = 0, usableHeight = 0;
    int bandGap = 0;               // between bands stacked on one page: 2 char heights
    long double onePageFactor = 1; // <= 1; cells' coordinates are multiplied by it when drawn
};

// None when the printer reports no vertical resolution.
[[nodiscard]] std::optional<PageGeometry> computePageGeometry(const GeometryInput& input);

// UW / total width when the table is wider than UW, else 1.
long double onePageFactor(int usableWidth, long long totalWidth);

// A stored coordinate as printed: Trunc(Trunc(v * ratio) * 0.95).
int toPrinterDots(int value, long double printerRatio);

} // namespace kol::print
