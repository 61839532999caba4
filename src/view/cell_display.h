// What a cell of the table looks like: its shown text, background, text colour, alignment and
// lines. Decided here without a toolkit; the grid widget only paints the result.
#pragma once

#include "table/grid_view_state.h"
#include "table/row_col_info.h"
#include "table/string_grid.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

// Colours are 0xBBGGRR.
namespace colour {
constexpr std::uint32_t Silver = 0xC0C0C0, Grey = 0x808080, White = 0xFFFFFF, Black = 0;
constexpr std::uint32_t Blue = 0xFF0000, Navy = 0x800000, Green = 0x008000, Red = 0x0000FF;
constexpr std::uint32_t EmptyLight = 0xEFEFEF, EmptyDark = 0x797979;
constexpr std::uint32_t BreakShade = Silver - 0x101010;
constexpr std::uint32_t GridText = 0; // the grid's font colour
} // namespace colour

struct DisplaySwitches {
    bool fixedCenter = true, dataCenter = false, trimSpace = false, dateEdit = false;
    bool breakColor = true, karaGyoColor = true, karaGyoBlack = false;
    bool folding = true; // any fold choice but " 無し"
};

// The text a cell shows; the cell itself never changes.
std::string DisplayText(std::string_view text, const DisplaySwitches& view);
// Its byte length, without building it.
std::size_t displayLength(std::string_view text, const DisplaySwitches& view);

// Highlights of the editing state; an invalid rectangle is "unset".
struct CellHighlights {
    GridRect clip;    // clipped range: blue
    GridRect undo;    // what an undo restored: black
    GridRect confirm; // the cells a question is about
    std::uint32_t confirmColour = colour::Blue;
    int popupKind = 0; // 1 rows, 2 columns: the popup's row or column gets a white frame
    int popupCol = -1, popupRow = -1;
};

struct CellScene {
    const StringGrid& grid;
    const GridViewState& at; // the grid's current cell and selection
    const std::vector<RowFlag>& rowFlags;
    const std::vector<ColInfoRec>& colInfo;
    int markedColumns = 0;
    DisplaySwitches view;
    CellHighlights highlights;
};

struct CellLook {
    bool ownerDrawn = false; // false: the grid's default drawing stays
    bool fixed = false;
    std::uint32_t background = colour::Silver;
    std::uint32_t textColour = colour::GridText;
    bool centred = false;
    bool folded = false; // draw `text` folded to the cell's width
    std::string text;
    bool whiteFrame = false; // the popup's row or column
};

CellLook GridDrawCell(const CellScene& scene, int c, int r);

// The lines of folded text for a cell `width` pixels wide with letters `letterWidth` wide.
std::vector<std::string> foldedLines(std::string_view text, int width, int letterWidth);

} // namespace kol
