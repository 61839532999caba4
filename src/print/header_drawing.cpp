#include "print/header_drawing.h"

#include "text/paths.h"
#include "text/text_utils.h"

namespace kol::print {

HeadingLines headingLines(PrintMode mode, HeadingChoice choice, const HeadingLines& request) {
    if (mode == PrintMode::TextListing) return request;
    if (choice == HeadingChoice::None) return {};
    HeadingLines lines = request;
    if (choice == HeadingChoice::FileName) lines[0] = fileNameHeading(lines[0]);
    return lines;
}

std::string fileNameHeading(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::size_t restAt = colon == std::string_view::npos ? 0 : colon + 1;
    const std::string_view rest = TrimmedView(line.substr(restAt));
    return std::string(line.substr(0, restAt)) + " " + fileNameOf(std::string(rest));
}

std::string datePageLine(PrintMode mode, DatePageSwitches show, std::string_view date,
                         std::string_view time, int page, int pageCount) {
    if (mode == PrintMode::TextListing) show = {true, true};
    std::string line;
    if (show.date) line.append("   ").append(date).append("  ").append(time);
    if (show.page)
        line.append("    PAGE  ")
            .append(std::to_string(page))
            .append(" / ")
            .append(std::to_string(pageCount));
    return line;
}

namespace {

// One line's box in layout units: (trimmed bytes + 1) letters wide from `left`, 16 high from
// `top`; its right and bottom edges given a fifth more room, then lifted into the header.
CanvasRect lineBox(std::string_view text, int letter, int left, int top, int headerHeight) {
    const int width = (static_cast<int>(TrimmedView(text).size()) + 1) * letter;
    CanvasRect box{left, top, left + width, top + 16};
    box.right = static_cast<int>(box.right * 1.2);
    box.bottom = static_cast<int>(box.bottom * 1.2);
    box.top -= headerHeight;
    box.bottom -= headerHeight;
    return box;
}

void drawLine(Canvas& canvas, const PageHeader& header, const std::string& text,
              const CanvasRect& units, int fontUnits) {
    TextBox t;
    t.box = header.map.map(units);
    t.text = text;
    t.font = {header.face, static_cast<int>(fontUnits * header.map.scale)};
    canvas.text(t);
}

} // namespace

void drawHeader(Canvas& canvas, const FontMetrics& metrics, const PageHeader& header) {
    if (!header.datePage.empty()) {
        const int letter = metrics.charWidth({header.face, kDatePageFontUnits});
        const int width = (static_cast<int>(TrimmedView(header.datePage).size()) + 1) * letter;
        const int right = header.usableWidth - letter;
        drawLine(canvas, header, header.datePage,
                 lineBox(header.datePage, letter, right - width, 1, header.headerHeight),
                 kDatePageFontUnits);
    }
    const int letter = metrics.charWidth({header.face, kHeadingFontUnits});
    for (std::size_t k = 0; k < header.headings.size(); ++k) {
        const std::string& text = header.headings[k];
        if (text.empty()) continue;
        const int top = 17 + 16 * static_cast<int>(k);
        drawLine(canvas, header, text, lineBox(text, letter, 0, top, header.headerHeight),
                 kHeadingFontUnits);
    }
}

} // namespace kol::print
