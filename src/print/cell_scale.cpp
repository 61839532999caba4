#include "print/cell_scale.h"

#include <cstdlib>

namespace kol::print {

int cellFontHeight(int baseFontHeight, int cellScale) {
    return static_cast<int>(static_cast<long long>(baseFontHeight) * cellScale / 100);
}

long double cellScaleFactor(CellSizeMode mode, int baseFontHeight, int cellFont) {
    if (mode == CellSizeMode::OnePage || cellFont == 0) return 1.0L;
    return static_cast<long double>(std::llabs(baseFontHeight)) /
           static_cast<long double>(std::llabs(cellFont));
}

int scaledSize(int size, long double factor) {
    if (factor <= 0) return size;
    return static_cast<int>(static_cast<long double>(size) / factor);
}

std::optional<int> steppedCellScale(int baseFontHeight, int cellScale, int currentFontHeight,
                                    int direction) {
    const int step = direction < 0 ? -1 : 1;
    // Upwards every base of at least 1 pixel changes the height within 100 steps.
    if (step > 0 && baseFontHeight < 1) return std::nullopt;
    int scale = cellScale;
    for (;;) {
        scale += step;
        const int height = cellFontHeight(baseFontHeight, scale);
        if (height < 1) return std::nullopt;
        if (height != currentFontHeight) return scale;
    }
}

} // namespace kol::print
