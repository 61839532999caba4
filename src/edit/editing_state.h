// What the main window remembers between a press on the grid and the command it leads to.
#pragma once

#include "table/cell_range.h"
#include "table/string_grid.h"

#include <cstdint>

namespace kol {

// The popup a press chose: on a data cell, a row label or a column number.
enum class Popup : std::uint8_t { Cell, Row, Column };
// What the last clip took.
enum class ClipContent : std::uint8_t { None, Cells, Rows, Columns };

struct EditingState {
    Popup PopupKind = Popup::Cell;
    int PopupCol = -1, PopupRow = -1; // PopupCell: the cell under the last press
    CellRange OperationRange;         // rows or columns chosen for the next command
    GridRect ClipRange;
    ClipContent ClipKind = ClipContent::None;
    int LastCellLeft = -1, LastCellTop = -1, LastCellCol = -1, LastCellRow = -1; // LastCellPos
    GridRect UndoHighlight, ConfirmHighlight;
    std::uint32_t ConfirmColour = 0xFF0000; // 0xBBGGRR: blue
};

} // namespace kol
