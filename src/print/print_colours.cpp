#include "print/print_colours.h"

#include <algorithm>

namespace kol::print {

PrintColours printColours(int greyLevel) {
    const std::uint32_t g = static_cast<std::uint32_t>(std::clamp(greyLevel, 0, 255));
    // In integers, so 65 % of a whole step is never a hair below it.
    const std::uint32_t l = g + (255 - g) * 65 / 100;
    PrintColours colours;
    colours.grey = g << 16 | g << 8 | g;
    colours.light = l << 16 | l << 8 | l;
    return colours;
}

std::uint32_t fillColour(CellFill fill, const PrintColours& colours) {
    switch (fill) {
    case CellFill::Light:
        return colours.light;
    case CellFill::Grey:
        return colours.grey;
    case CellFill::White:
        break;
    }
    return PrintColours::White;
}

CellFill cellFill(bool fixed, bool shadedByBreak, bool rowEmpty, EmptyRowFill emptyRow) {
    if (fixed) return CellFill::Grey;
    if (rowEmpty && emptyRow == EmptyRowFill::Light) return CellFill::Light;
    if (rowEmpty && emptyRow == EmptyRowFill::Grey) return CellFill::Grey;
    return shadedByBreak ? CellFill::Light : CellFill::White;
}

} // namespace kol::print
