// The page header above the table: a date/page line and up to four heading lines, drawn in
// the top margin.
#pragma once

#include "print/canvas.h"
#include "print/cell_drawing.h"

#include <array>
#include <string>
#include <string_view>

namespace kol::print {

using HeadingLines = std::array<std::string, 4>;

// Which headings a table print shows: none, the request's lines as they are (the full path),
// or with the first line's path cut to its file name. Mutually exclusive menu items.
enum class HeadingChoice { None, FullPath, FileName };

// The heading lines to draw: a listing always shows the request's lines; a table by `choice`.
HeadingLines headingLines(PrintMode mode, HeadingChoice choice, const HeadingLines& request);

// "File.Name:  /home/a/b.csv" → "File.Name: b.csv": up to the first ':', a blank, the name.
std::string fileNameHeading(std::string_view line);

struct DatePageSwitches {
    bool date = false; // the print date and time
    bool page = false; // "PAGE  n / N"
};

// The header's first line. A listing always shows both parts; a table by `show`.
std::string datePageLine(PrintMode mode, DatePageSwitches show, std::string_view date,
                         std::string_view time, int page, int pageCount);

// Font heights in layout units: 9 and 10 point at 96 units per inch.
inline constexpr int kDatePageFontUnits = 12;
inline constexpr int kHeadingFontUnits = 13;

struct PageHeader {
    std::string datePage;
    HeadingLines headings;
    int usableWidth = 0;  // layout units
    int headerHeight = 0; // layout units, part of the top margin
    std::string face{kPrintFace};
    // From layout units relative to the printable area's top-left corner (below the header)
    // to the canvas: the display scale (or printer dots) and the margins.
    UnitMapping map;
};

// Draws the non-empty lines left aligned, black, transparent, each in a box (trimmed bytes + 1)
// letters of "A" wide; the date/page box ends a letter before the usable width's end.
void drawHeader(Canvas& canvas, const FontMetrics& metrics, const PageHeader& header);

} // namespace kol::print
