#include "print/cell_drawing.h"

#include "text/text_utils.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace kol::print {

int cellInset(int cellScalePercent) {
    if (cellScalePercent <= 30) return 1;
    if (cellScalePercent <= 60) return 2;
    return 3;
}

namespace {

void drawLines(Canvas& canvas, const CellDrawing& cell, const CanvasRect& inner) {
    if (cell.charWidth <= 0 || cell.charHeight <= 0) return;
    const int k = std::max(1, inner.width() / cell.charWidth);
    // Every folded line is k bytes (the last may be shorter); one byte a line folds to nothing.
    const std::string folded = FoldText(cell.text, k, false);
    const auto step = static_cast<std::size_t>(k);
    TextBox line;
    line.font = cell.font;
    line.align =
        cell.centred && cell.mode == PrintMode::Table ? TextAlign::Centre : TextAlign::Left;
    line.centredVertically = true;
    int top = inner.top;
    int drawn = 0;
    for (std::size_t at = 0; at < folded.size(); at += step) {
        if (cell.maxLines > 0 && drawn == cell.maxLines) break;
        const std::string_view piece = std::string_view(folded).substr(at, step);
        if (IsBlank(piece)) break;
        line.box = {inner.left, top, inner.right, top + cell.charHeight};
        line.text.assign(piece);
        canvas.text(line);
        top += cell.charHeight;
        ++drawn;
    }
}

void drawBox(Canvas& canvas, const CellDrawing& cell) {
    if (cell.fixed) {
        canvas.frameRect(cell.rect, PrintColours::Black, cell.penWidth);
        return;
    }
    switch (cell.lines) {
    case CellLineKind::None:
        canvas.frameRect(cell.rect, PrintColours::White, cell.penWidth);
        break;
    case CellLineKind::Solid:
        canvas.frameRect(cell.rect, PrintColours::Black, cell.penWidth);
        break;
    case CellLineKind::Dotted:
        canvas.dottedFrame(cell.rect, PrintColours::Black);
        break;
    }
}

} // namespace

void drawCell(Canvas& canvas, const CellDrawing& cell, const PrintColours& colours) {
    const bool table = cell.mode == PrintMode::Table;
    const CanvasRect inner =
        table && cell.columnWidth > 0 ? cell.rect.shrunk(cell.inset) : cell.rect;
    canvas.fillRect(cell.rect, fillColour(cell.fill, colours));
    if (cell.drawText) drawLines(canvas, cell, inner);
    if (table) drawBox(canvas, cell);
}

} // namespace kol::print
