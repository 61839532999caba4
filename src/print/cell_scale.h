// The cell scale: the cell font's height from the source font and the scale, the factor that
// divides every row height and column width, and the − / ＋ steps of the scale.
#pragma once

#include "print/print_types.h"

#include <optional>

namespace kol::print {

// Trunc(base * scale / 100): the cell font's height in pixels.
int cellFontHeight(int baseFontHeight, int cellScale);

// Manual mode: |base| / |cell font| (1 when the cell font has no height); one-page mode: 1.
long double cellScaleFactor(CellSizeMode mode, int baseFontHeight, int cellFontHeight);

// Trunc(size / factor): a row height or column width as laid out.
int scaledSize(int size, long double factor);

// The scale one step down (direction < 0) or up: moved by 1 until the font height differs from
// `currentFontHeight`. None when that height would fall below 1 pixel (the scale stays).
std::optional<int> steppedCellScale(int baseFontHeight, int cellScale, int currentFontHeight,
                                    int direction);

} // namespace kol::print
