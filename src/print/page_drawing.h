// Drawing one page of a finished layout: the header, the cells of the page with the fixed rows
// and columns repeated over every band, the band frames and, in the preview, the paper's edge.
// The same drawing serves the preview image and the printer page; only the mapping from layout
// units to the canvas, the pen and the preview-only parts differ.
#pragma once

#include "print/canvas.h"
#include "print/cell_drawing.h"
#include "print/header_drawing.h"
#include "print/print_colours.h"
#include "print/print_copy.h"
#include "print/print_layout.h"
#include "print/print_text.h"

namespace kol::print {

enum class PageTarget { Preview, Printer };

// From layout units to the canvas.
struct PageMapping {
    PageTarget target = PageTarget::Preview;
    double displayScale = 1;           // preview: s
    long double printerRatio = 1;      // printer: dots per layout unit (vertical dpi / 96)
    long double onePageFactor = 1;     // applies to the cells, not to the margins
    int marginLeft = 0, marginTop = 0; // layout units; the top margin holds the header
    int pageWidth = 0, pageHeight = 0; // layout units: the paper edge of the preview

    // A placement coordinate: scaled by s (preview) or converted to printer dots as stored
    // coordinates are when printing (Trunc(Trunc(v * ratio) * 0.95)), then by the one-page factor.
    int cellUnits(int v) const;
    // A margin, a page edge or a font height, without the one-page factor: v * s, or v in
    // printer dots (Trunc(v * ratio)).
    int plainUnits(int v) const;
    // A placement rectangle on the canvas: cellUnits, moved by the margins (plainUnits).
    CanvasRect cell(const CellRect& r) const;
    int penWidth() const { return target == PageTarget::Printer ? 3 : 1; }
};

struct PageOptions {
    PrintMode mode = PrintMode::Table;
    int cellScale = 100;   // per cent: the cells' inset
    int charWidth = 0;     // "A" in the cell font, layout units
    int charHeight = 0;    // likewise
    PrintTextOptions text; // trim and date edit (tables)
    bool fixedCentre = true;
    bool dataCentre = false;
    bool breakColour = true; // shade by the break bits
    EmptyRowFill emptyRows = EmptyRowFill::None;
    CellLineKind lines = CellLineKind::Solid;
    PrintColours colours;
    int maxLines = 0; // wrapped lines per cell at most; 0: no limit
};

// Draws page `page` (1-based) of `layout`; a page outside 1..page count draws only the white
// sheet (preview) and the header. The caller has checked the too-large condition. `header`'s
// page number and mapping are the caller's; the header is drawn first.
void drawPage(Canvas& canvas, const FontMetrics& metrics, const PrintLayout& layout,
              const PrintCopy& copy, int page, const PageOptions& options,
              const PageMapping& mapping, const PageHeader& header);

} // namespace kol::print
