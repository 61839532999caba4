// The print copy written out: as a CSV file and as an HTML document for a browser. Both take
// every row of the copy, laid out or not. The documents are CP932 with CR LF after every line.
#pragma once

#include "print/header_drawing.h"
#include "print/print_colours.h"
#include "print/print_copy.h"
#include "print/print_text.h"
#include "table/io_status.h"

#include <string>
#include <string_view>
#include <vector>

namespace kol::print {

// One CSV line per row, every column; a cell holding a comma is quoted with its quotes doubled,
// so the file reads back as the cells.
std::string printCsv(const PrintCopy& copy);

// "&", "<", ">" and '"' as character references; CP932 trail bytes never take these values.
std::string escapeHtml(std::string_view cp932);

struct HtmlOptions {
    PrintMode mode = PrintMode::Table;
    HeadingLines headings; // as shown: empty lines are left out
    PrintTextOptions text;
    bool fixedCentre = true;
    bool dataCentre = false;
    bool breakColour = true; // the copy's break bits are worked out for every row
    EmptyRowFill emptyRows = EmptyRowFill::None;
    int maxLines = 0;           // wrapped lines per cell at most; 0: no limit
    std::vector<int> wrapBytes; // per column: the bytes of one line of its cell (at least 1)
    int lastLaidOutRow = 0;     // a listing shows rows 0 … this one
};

std::string printHtml(const PrintCopy& copy, const HtmlOptions& options);

// The document under `path`, or the old file (or none) and the reason when it cannot be.
[[nodiscard]] IoStatus writeExport(const std::string& path, std::string_view bytes);

} // namespace kol::print
