// What a caller hands the print preview, and takes back from it when it closes.
#pragma once

#include "print/canvas.h"
#include "print/header_drawing.h"
#include "print/print_settings.h"
#include "print/print_types.h"
#include "table/string_grid.h"

namespace kol::print {

struct PrintRequest {
    // The grid to print: the main table itself or a work grid the caller filled. The preview is
    // modal, so the grid cannot change while it is open; it is read, never copied.
    const StringGrid* source = nullptr;
    PrintMode mode = PrintMode::Table;
    HeadingLines headings;
    int initialRowLimit = 100; // table mode: rows laid out before the creation command; 0: all
    int maxLinesPerCell = 0;   // wrapped lines per cell at most; 0: no limit
    PrintSettings settings;    // copied in before showing, taken back after closing
    CanvasFont sourceFont;     // the source grid's font (height in pixels)
    // The program's data folder (where its settings live): the HTML the browser opens is
    // written there, and the first export dialog starts there.
    std::string dataFolder;
};

// The caller's side of the hand-off: opens the preview modally on `request` and returns when it
// has closed, with `request.settings` holding what the window wrote back.
class PrintPreviewOpener {
public:
    virtual ~PrintPreviewOpener() = default;
    virtual void openPrintPreview(PrintRequest& request) = 0;
};

} // namespace kol::print
