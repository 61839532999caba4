// Row and column structure edits: insert, copy, delete, clipped move and copy, hide and show.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>

namespace kol {

std::string TFm_Kolumbra01::rowLabelText(int r) const {
    return std::string(Grid.cell(0, r));
}
std::string TFm_Kolumbra01::colNumberText(int c) const {
    return std::string(Grid.cell(c, 0));
}

TFm_Kolumbra01::Span TFm_Kolumbra01::span(Axis axis) const {
    const int popup = axis == Axis::Rows ? PopupRow : PopupCol;
    if (!OperationRange.set()) return {popup, 1};
    const IndexRange& range = axis == Axis::Rows ? OperationRange.rows : OperationRange.cols;
    return {range.contains(popup) ? range.first() : popup, range.count()};
}

bool TFm_Kolumbra01::confirmEdit(bool gated, const std::string& question, GridRect highlight,
                                 std::uint32_t colour) {
    if (!gated) return true;
    ConfirmHighlight = highlight;
    ConfirmColour = colour;
    host_.repaintGrid();
    bool yes = prompts_.ask(question, Buttons::YesNo) == Answer::Yes;
    ConfirmHighlight = GridRect();
    host_.repaintGrid();
    host_.focusGrid();
    return yes;
}

void TFm_Kolumbra01::selectClamped(GridRect r) {
    r.left = std::clamp(r.left, Grid.fixedCols(), Grid.colCount() - 1);
    r.right = std::clamp(r.right, Grid.fixedCols(), Grid.colCount() - 1);
    r.top = std::clamp(r.top, Grid.fixedRows(), Grid.rowCount() - 1);
    r.bottom = std::clamp(r.bottom, Grid.fixedRows(), Grid.rowCount() - 1);
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    View.col = r.left;
    View.row = r.top;
    View.selection = r;
}

void TFm_Kolumbra01::RefreshAfterStructureChange() {
    numberColumns(Grid);
    fillKeyColumnChoice();
    Shown.fillKeyColumn();
    UpdateCaptions();
    Shown.announceReshaped(Reshape::Columns);
}

void TFm_Kolumbra01::rowsInserted(int p, int n) {
    View.setCurrent(std::max(LastCellCol, Grid.fixedCols()),
                    std::min(std::max(p, Grid.fixedRows()), Grid.rowCount() - 1));
    if (OperationRange.set() && OperationRange.rows.last() >= p) OperationRange.rows.shift(n);
    RefreshAfterStructureChange();
    Shown.renumberRowLabels();
    UpdateCaptions();
    PopupRow = p;
    updateUndoMenu();
}

void TFm_Kolumbra01::rowsRemoved(int d, bool moving) {
    int row = std::max(LastCellRow, 0);
    if (!moving) {
        row = std::min(std::max(d, Grid.fixedRows()), Grid.rowCount() - 1);
        d = row;
    }
    View.setCurrent(std::clamp(LastCellCol, Grid.fixedCols(), Grid.colCount() - 1),
                    std::clamp(row, Grid.fixedRows(), Grid.rowCount() - 1));
    // From the join at the removal, wherever the current cell went: an edit walks down only
    // until the stored bits agree, so none below may be left over from the removed rows.
    Shown.recomputeBreakColours(-1, std::min(d, View.row));
    RefreshAfterStructureChange();
    Shown.renumberRowLabels();
    UpdateCaptions();
    PopupRow = d;
    OperationRange = CellRange();
    updateUndoMenu();
    if (!moving) host_.focusGrid();
}

void TFm_Kolumbra01::colsInserted(int p, int n) {
    View.setCurrent(std::max(p, Grid.fixedCols()),
                    std::clamp(LastCellRow, Grid.fixedRows(), Grid.rowCount() - 1));
    if (OperationRange.set() && OperationRange.cols.last() >= p) OperationRange.cols.shift(n);
    RefreshAfterStructureChange();
    PopupCol = View.col;
    updateUndoMenu();
}

void TFm_Kolumbra01::colsRemoved(int d, bool moving) {
    int col = std::max(LastCellCol, 0);
    if (!moving) col = std::min(std::max(d, Grid.fixedCols()), Grid.colCount() - 1);
    View.setCurrent(std::clamp(col, Grid.fixedCols(), Grid.colCount() - 1),
                    std::clamp(LastCellRow, Grid.fixedRows(), Grid.rowCount() - 1));
    RefreshAfterStructureChange();
    PopupCol = View.col;
    OperationRange = CellRange();
    updateUndoMenu();
    if (!moving) host_.focusGrid();
}

namespace {
// The data cells of rows (or columns) first .. first + count - 1.
GridRect linesRect(const StringGrid& g, Axis axis, int first, int count) {
    return axis == Axis::Rows ? GridRect{g.fixedCols(), first, g.colCount() - 1, first + count - 1}
                              : GridRect{first, g.fixedRows(), first + count - 1, g.rowCount() - 1};
}
const char* rowOrCol(Axis axis, const char* row, const char* col) {
    return axis == Axis::Rows ? row : col;
}
} // namespace

std::string TFm_Kolumbra01::lineText(Axis axis, int i) const {
    return axis == Axis::Rows ? rowLabelText(i) : colNumberText(i);
}

void TFm_Kolumbra01::insertBlankLines(Axis axis) {
    auto [p, n] = span(axis);
    if (p < Doc.fixedLines(axis) || p >= Doc.lineCount(axis)) return;
    if (!confirmEdit(n > 1 && Mn_ConfInsert.Checked,
                     sj("【 新規挿入 】\r\n\r\n    ") +
                         sj(rowOrCol(axis, "選択範囲の行数分だけ指定行に空行を挿入します。",
                                     "選択範囲の列数分だけ指定列に空列を挿入します。")) +
                         "\r\n\r\n    " + std::to_string(n) + sj(rowOrCol(axis, " 行", " 列")) +
                         sj(rowOrCol(axis, "    →    行番号 ： ", "    →    列番号 ： ")) +
                         lineText(axis, p),
                     linesRect(Grid, axis, p, n), colour::Blue))
        return;
    BusyCursor busy(host_);
    edits::insertBlank(Doc, axis, p, n);
    if (axis == Axis::Rows) {
        rowsInserted(p, n);
        Shown.recomputeBreakColours(-1, p);
    } else {
        Shown.fitNewColumns(p, n);
        colsInserted(p, n);
        Shown.recomputeBreakColumns(p, Grid.colCount() - 1);
    }
    OperationRange = axis == Axis::Rows
                         ? CellRange(Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1)
                         : CellRange(p, Grid.fixedRows(), p + n - 1, Grid.rowCount() - 1);
    selectClamped(OperationRange.rect());
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RowInsertClick() {
    insertBlankLines(Axis::Rows);
}

void TFm_Kolumbra01::Pm_ColInsertClick() {
    insertBlankLines(Axis::Columns);
}

bool TFm_Kolumbra01::copyLines(Axis axis, Sender sender) {
    auto [p, n] = span(axis);
    if (p < Doc.fixedLines(axis) || p > Doc.lineCount(axis)) return false;
    const bool rows = axis == Axis::Rows;
    const IndexRange& range = rows ? OperationRange.rows : OperationRange.cols;
    const int first = OperationRange.set() ? range.first() : p;
    const bool moving = sender == Sender::RowClipMove || sender == Sender::ColClipMove;
    const bool clipped = sender == Sender::RowClipCopy || sender == Sender::ColClipCopy;
    std::string heading =
        moving ? sj(rowOrCol(axis, "【 移動 】\r\n\r\n   クリップされた行を指定行に移動します。",
                             "【 移動 】\r\n\r\n   クリップされた列を指定列に移動します。"))
        : clipped
            ? sj(rowOrCol(axis,
                          "【 複写 】\r\n\r\n   クリップされた行を指定行に挿入して複写します。",
                          "【 複写 】\r\n\r\n   クリップされた列を指定列に挿入して複写します。"))
            : sj(rowOrCol(axis, "【 複写 】\r\n\r\n   選択範囲の行を指定行に挿入して複写します。",
                          "【 複写 】\r\n\r\n   選択範囲の列を指定列に挿入して複写します。"));
    const bool gated = n > 1 && (moving ? Mn_ConfMove.Checked : Mn_ConfCopy.Checked);
    if (!confirmEdit(gated,
                     heading + "\r\n\r\n" + sj(rowOrCol(axis, "   行番号 ： ", "    列番号 ： ")) +
                         lineText(axis, first) + sj(" ～ ") + lineText(axis, first + n - 1) +
                         sj("    →   ") + lineText(axis, p),
                     linesRect(Grid, axis, first, n), colour::Blue))
        return false;
    BusyCursor busy(host_);
    resetWorkGrid();
    edits::insertCopies(Doc, axis, first, n, p);
    if (rows) {
        // The copies' labels follow their new places; the key column is filled afresh.
        for (int i = 0; i < n; ++i) {
            Grid.setCell(0, p + i, Shown.rowLabel(p + i, true));
            Grid.setCell(1, p + i, "");
        }
        rowsInserted(p, n);
    } else {
        colsInserted(p, n);
        Shown.recomputeBreakColumns(p, Grid.colCount() - 1);
    }
    resetWorkGrid();
    OperationRange = rows ? CellRange(Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1)
                          : CellRange(p, Grid.fixedRows(), p + n - 1, Grid.rowCount() - 1);
    selectClamped(OperationRange.rect());
    host_.focusGrid();
    return true;
}

void TFm_Kolumbra01::Pm_RowCopyClick(Sender sender) {
    copyLines(Axis::Rows, sender);
}

void TFm_Kolumbra01::Pm_ColCopyClick(Sender sender) {
    copyLines(Axis::Columns, sender);
}

void TFm_Kolumbra01::deleteLines(Axis axis, bool moving) {
    const bool rows = axis == Axis::Rows;
    int d = rows ? PopupRow : PopupCol, n = 1;
    if (OperationRange.set()) {
        const IndexRange& range = rows ? OperationRange.rows : OperationRange.cols;
        d = range.first();
        n = range.count();
    }
    if (d < Doc.fixedLines(axis) || d >= Doc.lineCount(axis)) return;
    if (!moving) {
        if (rows ? Grid.rowCount() - n < 2 : Grid.colCount() - n < Grid.fixedCols() + 1) {
            prompts_.inform(sj(rowOrCol(axis, "すべての行を削除することはできません。",
                                        "すべての列を削除することはできません。")));
            return;
        }
        std::string question =
            n == 1
                ? sj(rowOrCol(axis,
                              "【 削除 】\r\n\r\n    この行を削除します。\r\n\r\n    行番号 = ",
                              "【 削除 】\r\n\r\n    この列を削除します。\r\n\r\n    列番号 = ")) +
                      lineText(axis, d)
                : sj(rowOrCol(
                      axis,
                      "【 削除 】\r\n\r\n    選択範囲の行を削除します。\r\n\r\n    行番号 ： ",
                      "【 削除 】\r\n\r\n    選択範囲の列を削除します。\r\n\r\n    列番号 ： ")) +
                      lineText(axis, d) + sj(" ～ ") + lineText(axis, d + n - 1);
        if (!confirmEdit(Mn_ConfDelete.Checked, question, linesRect(Grid, axis, d, n), colour::Red))
            return;
    }
    BusyCursor busy(host_);
    const HistoryKind kind = rows ? (moving ? HistoryKind::RowClipMove : HistoryKind::RowDelete)
                                  : (moving ? HistoryKind::ColClipMove : HistoryKind::ColDelete);
    edits::removeLines(Doc, axis, d, n, kind);
    if (rows)
        rowsRemoved(d, moving);
    else
        colsRemoved(d, moving);
}

void TFm_Kolumbra01::Pm_RowDeleteClick(Sender sender) {
    deleteLines(Axis::Rows, sender == Sender::RowClipMove);
}

void TFm_Kolumbra01::Pm_ColDeleteClick(Sender sender) {
    deleteLines(Axis::Columns, sender == Sender::ColClipMove);
}

// The clipped rows or columns as the operation range, in the direction they were clipped.
CellRange TFm_Kolumbra01::clipAsRange() const {
    return CellRange(ClipRange.left, ClipRange.top, ClipRange.right, ClipRange.bottom);
}

void TFm_Kolumbra01::clipMove(Axis axis) {
    if (!ClipRange.valid()) return;
    const bool rows = axis == Axis::Rows;
    OperationRange = clipAsRange();
    const IndexRange clip = rows ? OperationRange.rows : OperationRange.cols;
    const int n = clip.count();
    const int target = rows ? PopupRow : PopupCol;
    // A target within the clipped rows would insert the copies and delete them again: the
    // table stays as it is and nothing is recorded.
    if (clip.contains(target) ||
        !copyLines(axis, rows ? Sender::RowClipMove : Sender::ColClipMove)) {
        OperationRange = CellRange();
        return;
    }
    CellRange moved = OperationRange;
    OperationRange = clipAsRange();
    IndexRange& source = rows ? OperationRange.rows : OperationRange.cols;
    IndexRange& copies = rows ? moved.rows : moved.cols;
    if (target < clip.first())
        source.shift(n);
    else
        copies.shift(-n);
    deleteLines(axis, true);
    ClipRange = moved.rect();
    OperationRange = CellRange();
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RowClipMoveClick() {
    clipMove(Axis::Rows);
}

void TFm_Kolumbra01::Pm_ColClipMoveClick() {
    clipMove(Axis::Columns);
}

void TFm_Kolumbra01::Pm_RowClipCopyClick() {
    if (!ClipRange.valid()) return;
    OperationRange = clipAsRange();
    copyLines(Axis::Rows, Sender::RowClipCopy);
}

void TFm_Kolumbra01::Pm_ColClipCopyClick() {
    if (!ClipRange.valid()) return;
    OperationRange = clipAsRange();
    copyLines(Axis::Columns, Sender::ColClipCopy);
}

void TFm_Kolumbra01::SetColumnShown(int column, bool shown) {
    if (column < 0 || column >= Grid.colCount() || column >= static_cast<int>(ColInfo.size()))
        return;
    ColInfo[column].Shown = shown ? 1 : 0;
    Grid.setColWidth(column, shown ? ColInfo[column].Width : LetterWidth);
}

void TFm_Kolumbra01::Pm_ColViewONClick(Sender sender) {
    const bool shown = sender == Sender::ColViewOFF;
    int left = PopupCol, right = PopupCol;
    if (OperationRange.set()) {
        left = OperationRange.cols.first();
        right = OperationRange.cols.last();
    }
    for (int c = left; c <= right; ++c)
        if (c >= Grid.fixedCols()) SetColumnShown(c, shown);
    OperationRange = CellRange();
    View.setCurrent(View.col, std::clamp(LastCellRow, Grid.fixedRows(), Grid.rowCount() - 1));
    host_.focusGrid();
}

void TFm_Kolumbra01::resetWorkGrid() {
    WorkGrid.clearCells();
    WorkGrid.setFixedRows(0);
    WorkGrid.setFixedCols(0);
    WorkGrid.setRowCount(1);
    WorkGrid.setColCount(1);
}

// The cell popup's row commands act on the rows of the selection, as the row popup would.
void TFm_Kolumbra01::onSelectedRows(void (TFm_Kolumbra01::*rowCommand)()) {
    const GridRect sel = View.selection;
    PopupCol = sel.left;
    PopupRow = sel.top;
    OperationRange = CellRange(Grid.fixedCols(), sel.top, Grid.colCount() - 1, sel.bottom);
    PopupKind = Popup::Row;
    (this->*rowCommand)();
    PopupKind = Popup::Cell;
}

void TFm_Kolumbra01::Pm_RangeRowInsert2Click() {
    onSelectedRows(&TFm_Kolumbra01::Pm_RowInsertClick);
}

void TFm_Kolumbra01::Pm_RangeRowCopy2Click() {
    onSelectedRows(&TFm_Kolumbra01::copySelectedRows);
}

void TFm_Kolumbra01::Pm_RangeRowDelete2Click() {
    onSelectedRows(&TFm_Kolumbra01::deleteSelectedRows);
}

void TFm_Kolumbra01::copySelectedRows() {
    copyLines(Axis::Rows, Sender::None);
}

void TFm_Kolumbra01::deleteSelectedRows() {
    Pm_RowDeleteClick(Sender::None);
}

} // namespace kol
