#include "print/page_drawing.h"

#include "print/page_geometry.h"

#include <algorithm>
#include <string>

namespace kol::print {

int PageMapping::cellUnits(int v) const {
    if (target == PageTarget::Printer)
        return static_cast<int>(static_cast<long double>(toPrinterDots(v, printerRatio)) *
                                onePageFactor);
    return static_cast<int>(static_cast<long double>(v) * displayScale * onePageFactor);
}

int PageMapping::plainUnits(int v) const {
    if (target == PageTarget::Printer)
        return static_cast<int>(static_cast<long double>(v) * printerRatio);
    return static_cast<int>(v * displayScale);
}

CanvasRect PageMapping::cell(const CellRect& r) const {
    const int dx = plainUnits(marginLeft), dy = plainUnits(marginTop);
    return {cellUnits(r.left) + dx, cellUnits(r.top) + dy, cellUnits(r.right) + dx,
            cellUnits(r.bottom) + dy};
}

namespace {

CellRect movedDown(CellRect r, int d) {
    r.top += d;
    r.bottom += d;
    return r;
}

class PageDrawer {
public:
    PageDrawer(Canvas& canvas, const FontMetrics& metrics, const PrintLayout& layout,
               const PrintCopy& copy, int page, const PageOptions& options,
               const PageMapping& mapping)
        : canvas_(canvas), layout_(layout), copy_(copy), page_(page), options_(options),
          mapping_(mapping), record_(layout.page(page)), fixedRows_(std::max(copy.fixedRows(), 0)),
          fixedCols_(std::max(copy.fixedCols(), 0)) {
        const int height = mapping.target == PageTarget::Printer
                               ? static_cast<int>(static_cast<long double>(
                                                      mapping.plainUnits(options.charHeight)) *
                                                  mapping.onePageFactor)
                               : static_cast<int>(static_cast<long double>(options.charHeight) *
                                                  mapping.displayScale * mapping.onePageFactor);
        font_ = CanvasFont{std::string(kPrintFace), height};
        charWidth_ = metrics.charWidth(font_);
        charHeight_ = metrics.charHeight(font_);
        inset_ = mapping.plainUnits(cellInset(options.cellScale));
    }

    void draw();
    void drawBandFrames();

private:
    int bandOffset(std::size_t band) const;
    // The fixed-row cell (c, r) above band `band`: column c's edges in that band, the fixed
    // row's own top and bottom moved down by the band's offset.
    CellRect fixedRowCell(std::size_t band, int c, int r, int d) const;
    void drawFixedRowsOfBand(std::size_t band, int d, int fromRow);
    void drawFixedColumnsOfBand(int d, int fromColumn);
    void drawCell(int c, int r, const CellRect& rect);

    Canvas& canvas_;
    const PrintLayout& layout_;
    const PrintCopy& copy_;
    const int page_;
    const PageOptions& options_;
    const PageMapping& mapping_;
    const PageRecord& record_;
    const int fixedRows_, fixedCols_;
    CanvasFont font_;
    int charWidth_ = 0, charHeight_ = 0, inset_ = 0;
    std::string text_;
    int emptyRow_ = -1; // the row rowEmpty_ was worked out for
    bool rowEmpty_ = false;
};

int PageDrawer::bandOffset(std::size_t band) const {
    const CellPos first = record_.bands.front().first;
    const CellPos bandFirst = record_.bands[band].first;
    return layout_.placement(bandFirst.column, bandFirst.row).rect.top -
           layout_.placement(first.column, first.row).rect.top;
}

CellRect PageDrawer::fixedRowCell(std::size_t band, int c, int r, int d) const {
    const CellRect column = layout_.placement(c, record_.bands[band].first.row).rect;
    const CellRect row = layout_.placement(0, r).rect;
    return {column.left, row.top + d, column.right, row.bottom + d};
}

// The fixed rows over every band, beside the corner: the layout left room for them above each
// band of a later strip (its rows moved down by the fixed rows' height), and a band of the first
// strip holds them itself at this very place. Drawing them "at their own placement" would put
// the header of every band of a later strip where the first strip had it: all bands but one
// without column headings, and those headings over other bands' cells.
void PageDrawer::drawFixedRowsOfBand(std::size_t band, int d, int fromRow) {
    const BandRecord& b = record_.bands[band];
    const int firstRow = b.first.row;
    for (int c = std::max(b.first.column, fixedCols_); c <= b.last.column; ++c) {
        const CellPlacement below = layout_.placement(c, firstRow);
        if (below.page != page_ || below.band != static_cast<int>(band) + 1) continue;
        for (int r = fromRow; r < fixedRows_; ++r) drawCell(c, r, fixedRowCell(band, c, r, d));
    }
}

void PageDrawer::drawFixedColumnsOfBand(int d, int fromColumn) {
    for (int r = std::max(record_.first.row, fixedRows_); r <= record_.last.row; ++r)
        for (int c = fromColumn; c < fixedCols_; ++c) {
            const CellPlacement p = layout_.placement(c, r);
            if (p.placed()) drawCell(c, r, movedDown(p.rect, d));
        }
}

void PageDrawer::draw() {
    const std::size_t bands = record_.bands.size();
    // The first pass draws exactly the cells of a fixed row or a fixed column within the page:
    // that is the drawn flag, so no flag is stored per cell.
    for (std::size_t i = 0; i < bands; ++i) {
        const int d = bandOffset(i);
        for (int r = 0; r < fixedRows_; ++r)
            for (int c = 0; c < fixedCols_; ++c) {
                const CellPlacement p = layout_.placement(c, r);
                if (p.placed()) drawCell(c, r, movedDown(p.rect, d));
            }
        drawFixedColumnsOfBand(d, 0);
        drawFixedRowsOfBand(i, d, 0);
    }
    for (int r = std::max(record_.first.row, fixedRows_); r <= record_.last.row; ++r)
        for (int c = std::max(record_.first.column, fixedCols_); c <= record_.last.column; ++c) {
            const CellPlacement p = layout_.placement(c, r);
            if (p.page == page_) drawCell(c, r, p.rect);
        }
    // The last fixed column and row again, so their lines lie over the data cells' boxes.
    for (std::size_t i = 0; i < bands; ++i) {
        const int d = bandOffset(i);
        if (fixedCols_ > 0) {
            for (int r = 0; r < fixedRows_; ++r) {
                const CellPlacement p = layout_.placement(fixedCols_ - 1, r);
                if (p.placed()) drawCell(fixedCols_ - 1, r, movedDown(p.rect, d));
            }
            drawFixedColumnsOfBand(d, fixedCols_ - 1);
        }
        if (fixedRows_ > 0) {
            for (int c = 0; c < fixedCols_; ++c) {
                const CellPlacement p = layout_.placement(c, fixedRows_ - 1);
                if (p.placed()) drawCell(c, fixedRows_ - 1, movedDown(p.rect, d));
            }
            drawFixedRowsOfBand(i, d, fixedRows_ - 1);
        }
    }
}

void PageDrawer::drawBandFrames() {
    for (int band = 1; band <= record_.bandCount(); ++band) {
        const CellPos origin = layout_.bandOrigin(page_, band);
        const CellPos last = record_.bands[static_cast<std::size_t>(band - 1)].last;
        const CellRect lastRect = layout_.placement(last.column, last.row).rect;
        canvas_.frameRect(
            mapping_.cell({origin.column, origin.row, lastRect.right, lastRect.bottom}),
            PrintColours::Black, 2 * mapping_.penWidth());
    }
}

void PageDrawer::drawCell(int c, int r, const CellRect& rect) {
    const int width = layout_.columnWidths()[static_cast<std::size_t>(c)];
    // Hidden columns and rows (the number row and column among them) show nothing.
    if (width <= 0 || rect.bottom <= rect.top) return;
    CellDrawing cell;
    cell.rect = mapping_.cell(rect);
    cell.inset = inset_;
    cell.columnWidth = width;
    cell.fixed = r < fixedRows_ || c < fixedCols_;
    cell.drawText = !(r < fixedRows_ && copy_.rowHeight(r) <= 0);
    const bool shaded =
        options_.breakColour && c <= BreakBitTable::kLastColumn && copy_.breakBits().test(r, c);
    bool empty = false;
    if (options_.emptyRows != EmptyRowFill::None) {
        if (emptyRow_ != r) {
            emptyRow_ = r;
            rowEmpty_ = copy_.rowEmpty(r);
        }
        empty = rowEmpty_;
    }
    cell.fill = cellFill(cell.fixed, shaded, empty, options_.emptyRows);
    if (options_.mode == PrintMode::TextListing) {
        cell.text = copy_.cell(c, r);
    } else {
        text_ = printText(copy_.cell(c, r), options_.text);
        cell.text = text_;
    }
    cell.font = font_;
    cell.charWidth = charWidth_;
    cell.charHeight = charHeight_;
    cell.centred = cell.fixed ? options_.fixedCentre : options_.dataCentre;
    cell.maxLines = options_.maxLines;
    cell.lines = options_.lines;
    cell.penWidth = mapping_.penWidth();
    cell.mode = options_.mode;
    kol::print::drawCell(canvas_, cell, options_.colours);
}

} // namespace

void drawPage(Canvas& canvas, const FontMetrics& metrics, const PrintLayout& layout,
              const PrintCopy& copy, int page, const PageOptions& options,
              const PageMapping& mapping, const PageHeader& header) {
    const bool preview = mapping.target == PageTarget::Preview;
    if (preview)
        canvas.fillRect(
            {0, 0, mapping.plainUnits(mapping.pageWidth), mapping.plainUnits(mapping.pageHeight)},
            PrintColours::White);
    drawHeader(canvas, metrics, header);
    if (page < 1 || page > layout.pageCount()) return;
    const PageRecord& record = layout.page(page);
    if (!record.bands.empty()) {
        PageDrawer drawer(canvas, metrics, layout, copy, page, options, mapping);
        drawer.draw();
        if (options.mode == PrintMode::Table) drawer.drawBandFrames();
    }
    if (preview)
        canvas.frameRect({mapping.plainUnits(1), mapping.plainUnits(1),
                          mapping.plainUnits(mapping.pageWidth),
                          mapping.plainUnits(mapping.pageHeight)},
                         PrintColours::Blue, mapping.penWidth());
}

} // namespace kol::print
