// The records of the undo history.
#pragma once

#include "table/row_col_info.h"
#include "table/string_grid.h"

#include <cstdint>
#include <string>

namespace kol {

// Operation kinds.
enum HistoryKind : std::uint8_t {
    HkRowDelete = 0,
    HkRowInsert = 1,
    HkRowCopy = 2,
    HkColDelete = 3,
    HkColInsert = 4,
    HkColAppend = 5, // columns appended by a row import
    HkColCopy = 6,
    HkRangeClear = 7,
    HkRangeConvert = 8,
    HkRangePaste = 9,
    HkCellEdit = 10,
    HkVertCellEdit = 11,
    HkRowDrag = 12,
    HkColDrag = 13,
    HkRowClipMove = 14,
    HkColClipMove = 15,
};

// One undoable operation.
struct THistCtl {
    std::uint8_t kind = 0;
    int first = 0;
    int count = 0; // saved elements this entry owns
    GridRect rect;
    bool modified = false; // the changed flag before the operation
    int cellRow = -1, cellCol = -1;
    std::string oldText;
};

// The attributes saved with one row or column.
struct THistInf {
    int rowHeight = -1;
    int colWidth = 0;
    RowFlag rowFlags;
    ColInfoRec colInfo;
};

// The name shown in the Edit menu for an entry (CP932).
std::string historyName(const THistCtl& entry);

constexpr std::size_t kHistoryLimit = 64;

} // namespace kol
