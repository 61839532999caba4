#include "print/page_geometry.h"

namespace kol::print {

namespace {
constexpr int kMarginStepMm = 5;
constexpr int kFixedMarginMm = 5; // right and bottom
constexpr int kHeaderLine = 16;
} // namespace

int mmToUnits(int millimetres) {
    // 96 * mm / 25.4 in whole numbers: 960 * mm / 254.
    return static_cast<int>(static_cast<long long>(kUnitsPerInch) * 10 * millimetres / 254);
}

int headerHeight(int nonEmptyHeadings) {
    return kHeaderLine * 3 / 2 + kHeaderLine * nonEmptyHeadings;
}

int countNonEmptyHeadings(std::span<const std::string> headings) {
    int n = 0;
    for (const std::string& h : headings) n += h.empty() ? 0 : 1;
    return n;
}

long double onePageFactor(int usableWidth, long long totalWidth) {
    if (totalWidth <= 0 || usableWidth >= totalWidth) return 1.0L;
    return static_cast<long double>(usableWidth) / static_cast<long double>(totalWidth);
}

std::optional<PageGeometry> computePageGeometry(const GeometryInput& in) {
    if (in.printer.dotsPerInchY <= 0) return std::nullopt;
    PageGeometry g;
    g.printerRatio = static_cast<long double>(in.printer.dotsPerInchY) / kUnitsPerInch;
    g.pageWidth = static_cast<int>(in.printer.widthDots / g.printerRatio);
    g.pageHeight = static_cast<int>(in.printer.heightDots / g.printerRatio);
    g.header = headerHeight(in.nonEmptyHeadings);
    g.marginLeft = mmToUnits(in.leftMarginIndex * kMarginStepMm);
    g.marginTop = mmToUnits(in.topMarginIndex * kMarginStepMm) + g.header;
    g.marginRight = mmToUnits(kFixedMarginMm);
    g.marginBottom = mmToUnits(kFixedMarginMm);
    g.usableWidth = g.pageWidth - g.marginLeft - g.marginRight;
    g.usableHeight = g.pageHeight - g.marginTop - g.marginBottom;
    g.bandGap = 2 * in.charHeight;
    g.onePageFactor =
        in.mode == CellSizeMode::OnePage ? onePageFactor(g.usableWidth, in.totalWidth) : 1.0L;
    return g;
}

int toPrinterDots(int value, long double printerRatio) {
    const auto dots = static_cast<long long>(static_cast<long double>(value) * printerRatio);
    return static_cast<int>(dots * 95 / 100);
}

} // namespace kol::print
