// The attribute records kept parallel to the grid's rows and columns.
#pragma once

#include <cstdint>

namespace kol {

// Per grid row: the mark byte, the break-colour bits of columns 0 … 128, a spare byte.
struct RowFlag {
    std::uint8_t Mark = 0;
    std::uint8_t Bits[17] = {};
    std::uint8_t Spare = 0;
};

// Per grid column.
struct ColInfoRec {
    std::uint8_t Shown = 1;
    std::uint8_t Marked = 0;
    int Width = 0;
    int PrintWidth = 0;
};

constexpr int kBreakBitsHighByte = 16; // bits 0 … 128 are usable
constexpr int kLastBreakColumn = 128;

} // namespace kol
