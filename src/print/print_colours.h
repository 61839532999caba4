// The colours a page is drawn in: one grey chosen by the user, a light grey made from it, white
// and black text.
#pragma once

#include <cstdint>

namespace kol::print {

struct PrintColours {
    std::uint32_t grey = 0xC0C0C0;  // fixed cells and the dark empty-row fill
    std::uint32_t light = 0xE8E8E8; // break and light empty-row fills
    static constexpr std::uint32_t White = 0xFFFFFF, Black = 0, Blue = 0xFF0000;
};

// The colours for a grey level 0..255 (clamped): light = g + 65 % of the way to white, cut down,
// so 192 gives 232.
PrintColours printColours(int greyLevel);

// How a cell is filled.
enum class CellFill { White, Light, Grey };

// Which fill an empty data row gets, if any.
enum class EmptyRowFill { None, Light, Grey };

std::uint32_t fillColour(CellFill fill, const PrintColours& colours);

// The fill of a cell: fixed cells grey; a data cell of an empty row by `emptyRow` (winning over
// the break shade); a data cell the break colours shade light; white otherwise.
// `shadedByBreak`: the break-colour option is on, the column is at most 128 and the row's bit
// is set. `rowEmpty`: every data cell of the row is the empty string.
CellFill cellFill(bool fixed, bool shadedByBreak, bool rowEmpty, EmptyRowFill emptyRow);

} // namespace kol::print
