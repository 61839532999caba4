// Placeholder until the full page drawing lands: the white sheet and the header.
#include "print/page_drawing.h"

#include "print/page_geometry.h"

namespace kol::print {

int PageMapping::cellUnits(int v) const {
    const long double u = target == PageTarget::Printer
                              ? toPrinterDots(v, printerRatio)
                              : static_cast<long double>(v) * displayScale;
    return static_cast<int>(u * onePageFactor);
}

int PageMapping::plainUnits(int v) const {
    return target == PageTarget::Printer ? static_cast<int>(v * printerRatio)
                                         : static_cast<int>(v * displayScale);
}

CanvasRect PageMapping::cell(const CellRect& r) const {
    const int dx = plainUnits(marginLeft), dy = plainUnits(marginTop);
    return {cellUnits(r.left) + dx, cellUnits(r.top) + dy, cellUnits(r.right) + dx,
            cellUnits(r.bottom) + dy};
}

void drawPage(Canvas& canvas, const FontMetrics& metrics, const PrintLayout&, const PrintCopy&, int,
              const PageOptions&, const PageMapping& mapping, const PageHeader& header) {
    if (mapping.target == PageTarget::Preview)
        canvas.fillRect(
            {0, 0, mapping.plainUnits(mapping.pageWidth), mapping.plainUnits(mapping.pageHeight)},
            PrintColours::White);
    drawHeader(canvas, metrics, header);
}

} // namespace kol::print
