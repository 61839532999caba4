// Drawing one cell of a print page: its fill, its text cut into lines of whole characters, and
// its box. Everything arrives decided and already in canvas units; the page drawing works out
// the rectangle, the fill and the fonts from the page table and the settings.
#pragma once

#include "print/canvas.h"
#include "print/print_colours.h"
#include "print/print_types.h"

#include <string_view>

namespace kol::print {

struct CellDrawing {
    CanvasRect rect;      // R, in canvas units
    int inset = 0;        // canvas units between R and the text, see cellInset
    int columnWidth = 0;  // the column's layout width; no inset when 0
    bool fixed = false;   // a fixed row or fixed column
    bool drawText = true; // false for a fixed-row cell of a row of height 0
    CellFill fill = CellFill::White;
    std::string_view text; // the print text, CP932
    CanvasFont font;       // the drawing font
    int charWidth = 0;     // of "A" in that font
    int charHeight = 0;
    bool centred = false; // the centring option that applies to this cell (tables only)
    int maxLines = 0;     // wrapped lines at most; 0 = no limit
    CellLineKind lines = CellLineKind::Solid;
    int penWidth = 1; // 1 on the screen, 3 on the printer
    PrintMode mode = PrintMode::Table;
};

// Layout units between a cell's edge and its text for a cell scale in per cent.
int cellInset(int cellScalePercent);

void drawCell(Canvas& canvas, const CellDrawing& cell, const PrintColours& colours);

} // namespace kol::print
