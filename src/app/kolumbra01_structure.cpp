// Row and column structure edits: insert, copy, delete, clipped move and copy, hide and show.
#include "text/cp932.h"
#include "app/kolumbra01.h"
#include "text/text_utils.h"

#include <algorithm>

namespace kol {

namespace {
constexpr std::uint32_t kRed = 0x0000FF;

} // namespace

std::string TFm_Kolumbra01::rowLabelText(int r) const {
    return std::string(Grid.cell(0, r));
}
std::string TFm_Kolumbra01::colNumberText(int c) const {
    return std::string(Grid.cell(c, 0));
}

TFm_Kolumbra01::Span TFm_Kolumbra01::rowSpan() const {
    if (OperationRange.left < 0 || OperationRange.top < 0) return {PopupRow, 1};
    int top = std::min(OperationRange.top, OperationRange.bottom);
    int bottom = std::max(OperationRange.top, OperationRange.bottom);
    int p = PopupRow >= top && PopupRow <= bottom ? top : PopupRow;
    return {p, bottom - top + 1};
}

TFm_Kolumbra01::Span TFm_Kolumbra01::colSpan() const {
    if (OperationRange.left < 0 || OperationRange.top < 0) return {PopupCol, 1};
    int left = std::min(OperationRange.left, OperationRange.right);
    int right = std::max(OperationRange.left, OperationRange.right);
    int p = PopupCol >= left && PopupCol <= right ? left : PopupCol;
    return {p, right - left + 1};
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
    Grid.col = r.left;
    Grid.row = r.top;
    Grid.selection = r;
}

void TFm_Kolumbra01::RefreshAfterStructureChange() {
    for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c) {
        std::string number = std::to_string(c - Grid.fixedCols() + 1);
        if (Grid.cell(c, 0) != number) Grid.setCell(c, 0, number);
    }
    BuildFixedColList();
    FillFixedColumn();
    UpdateCaptions();
}

// Inserts n blank rows before row p; returns the first source row for a copy.
int TFm_Kolumbra01::insertRowsAt(int p, int n) {
    p = std::clamp(p, 0, Grid.rowCount());
    Grid.setCurrent(std::max(LastCellCol, Grid.fixedCols()), Grid.row);
    Grid.insertRows(p, n);
    RowFlags.insert(RowFlags.begin() + std::min<std::size_t>(p, RowFlags.size()), n, RowFlag());
    Grid.row = std::max(p, Grid.fixedRows());
    if (Grid.row >= Grid.rowCount()) Grid.row = Grid.rowCount() - 1;
    if (OperationRange.valid() && OperationRange.bottom >= p) {
        OperationRange.top += n;
        OperationRange.bottom += n;
    }
    RefreshAfterStructureChange();
    RenumberRowLabels();
    PopupRow = p;
    Modified = 1;
    return OperationRange.valid() ? OperationRange.top : p + 1;
}

void TFm_Kolumbra01::deleteRowsAt(int d, int n, bool moving) {
    n = std::min(n, Grid.rowCount() - d);
    if (n <= 0) return;
    Grid.deleteRows(d, n);
    RowFlags.erase(RowFlags.begin() + d,
                   RowFlags.begin() + std::min<std::size_t>(d + n, RowFlags.size()));
    int row = std::max(LastCellRow, 0);
    if (!moving) {
        row = std::max(d, Grid.fixedRows());
        if (row > Grid.rowCount() - 1) row = Grid.rowCount() - 1;
        d = row;
    }
    Grid.setCurrent(std::clamp(LastCellCol, Grid.fixedCols(), Grid.colCount() - 1),
                    std::clamp(row, Grid.fixedRows(), Grid.rowCount() - 1));
    RecomputeBreakColours(-1, Grid.row);
    RefreshAfterStructureChange();
    RenumberRowLabels();
    PopupRow = d;
    Modified = 1;
    OperationRange = GridRect();
    if (!moving) host_.focusGrid();
}

int TFm_Kolumbra01::insertColsAt(int p, int n, bool append, int copyFrom,
                                 const StringGrid::ColumnSource* saved) {
    p = std::clamp(p, 0, Grid.colCount());
    if (!append) Grid.setCurrent(Grid.col, std::max(LastCellRow, Grid.fixedRows()));
    Grid.insertCols(p, n, copyFrom, saved);
    ColInfo.insert(ColInfo.begin() + std::min<std::size_t>(p, ColInfo.size()), n, ColInfoRec());
    for (int c = p; c < p + n; ++c) {
        Grid.setColWidth(c, Grid.defaultColWidth());
        int widened = ColumnWidthFor(Grid.colWidth(c), 12);
        if (widened != -1) Grid.setColWidth(c, widened);
        ColInfo[c].Width = Grid.colWidth(c);
    }
    if (append) return p + 1;
    Grid.col = std::max(p, Grid.fixedCols());
    if (OperationRange.valid() && OperationRange.right >= p) {
        OperationRange.left += n;
        OperationRange.right += n;
    }
    RefreshAfterStructureChange();
    PopupCol = Grid.col;
    Modified = 1;
    return OperationRange.valid() ? OperationRange.left : p + 1;
}

void TFm_Kolumbra01::deleteColsAt(int d, int n, bool moving) {
    n = std::min(n, Grid.colCount() - d);
    if (n <= 0) return;
    Grid.deleteCols(d, n);
    ColInfo.erase(ColInfo.begin() + d,
                  ColInfo.begin() + std::min<std::size_t>(d + n, ColInfo.size()));
    int col = std::max(LastCellCol, 0);
    if (!moving) col = std::min(std::max(d, Grid.fixedCols()), Grid.colCount() - 1);
    Grid.setCurrent(std::clamp(col, Grid.fixedCols(), Grid.colCount() - 1),
                    std::clamp(LastCellRow, Grid.fixedRows(), Grid.rowCount() - 1));
    RefreshAfterStructureChange();
    PopupCol = Grid.col;
    Modified = 1;
    OperationRange = GridRect();
    if (!moving) host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RowInsertClick() {
    auto [p, n] = rowSpan();
    if (p < Grid.fixedRows() || p >= Grid.rowCount()) return;
    GridRect blue{Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1};
    if (!confirmEdit(n > 1 && Mn_ConfInsert.Checked,
                     sj("【 新規挿入 】\r\n\r\n    "
                        "選択範囲の行数分だけ指定行に空行を挿入します。\r\n\r\n    ") +
                         std::to_string(n) + sj(" 行") + sj("    →    行番号 ： ") +
                         rowLabelText(p),
                     blue, colour::Blue))
        return;
    host_.setBusy(true);
    RecordRowsOrColumns(HkRowInsert, p, n);
    insertRowsAt(p, n);
    RecomputeBreakColours(-1, p);
    OperationRange = {Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1};
    selectClamped(OperationRange);
    host_.setBusy(false);
    host_.focusGrid();
}

bool TFm_Kolumbra01::copyRows(Sender sender) {
    auto [p, n] = rowSpan();
    if (p < Grid.fixedRows() || p > Grid.rowCount()) return false;
    const bool ranged = OperationRange.valid();
    const int top = ranged ? std::min(OperationRange.top, OperationRange.bottom) : p;
    std::string heading =
        sender == Sender::RowClipMove
            ? sj("【 移動 】\r\n\r\n   クリップされた行を指定行に移動します。")
        : sender == Sender::RowClipCopy
            ? sj("【 複写 】\r\n\r\n   クリップされた行を指定行に挿入して複写します。")
            : sj("【 複写 】\r\n\r\n   選択範囲の行を指定行に挿入して複写します。");
    const bool gated =
        n > 1 && (sender == Sender::RowClipMove ? Mn_ConfMove.Checked : Mn_ConfCopy.Checked);
    GridRect blue{Grid.fixedCols(), top, Grid.colCount() - 1, top + n - 1};
    if (!confirmEdit(gated,
                     heading + "\r\n\r\n" + sj("   行番号 ： ") + rowLabelText(top) + sj(" ～ ") +
                         rowLabelText(top + n - 1) + sj("    →   ") + rowLabelText(p),
                     blue, colour::Blue))
        return false;
    host_.setBusy(true);
    // The copies are taken before the insert moves the sources.
    resetWorkGrid();
    WorkGrid.setRowCount(n);
    WorkGrid.setColCount(Grid.colCount());
    for (int i = 0; i < n; ++i) {
        auto cells = Grid.rowCells(top + i);
        WorkGrid.setRowCells(i, cells);
        WorkGrid.setRowHeight(i, Grid.rowHeight(top + i));
    }
    RecordRowsOrColumns(HkRowCopy, p, n);
    int s = insertRowsAt(p, n);
    for (int i = 0; i < n; ++i) {
        Grid.setRowCells(p + i, WorkGrid.rowCells(i));
        Grid.setRowHeight(p + i, WorkGrid.rowHeight(i));
        if (s + i < static_cast<int>(RowFlags.size())) RowFlags[p + i] = RowFlags[s + i];
        Grid.setCell(0, p + i, RowLabel(p + i, true));
        Grid.setCell(1, p + i, "");
    }
    RefreshAfterStructureChange();
    Modified = 1;
    resetWorkGrid();
    OperationRange = {Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1};
    selectClamped(OperationRange);
    host_.setBusy(false);
    host_.focusGrid();
    return true;
}

void TFm_Kolumbra01::Pm_RowCopyClick(Sender sender) {
    copyRows(sender);
}

void TFm_Kolumbra01::Pm_RowDeleteClick(Sender sender) {
    const bool moving = sender == Sender::RowClipMove;
    int d = PopupRow, n = 1;
    if (OperationRange.valid()) {
        d = std::min(OperationRange.top, OperationRange.bottom);
        n = std::abs(OperationRange.bottom - OperationRange.top) + 1;
    }
    if (d < Grid.fixedRows() || d >= Grid.rowCount()) return;
    if (!moving) {
        if (Grid.rowCount() - n < 2) {
            prompts_.inform(sj("すべての行を削除することはできません。"));
            return;
        }
        std::string question =
            n == 1 ? sj("【 削除 】\r\n\r\n    この行を削除します。\r\n\r\n    行番号 = ") +
                         rowLabelText(d)
                   : sj("【 削除 】\r\n\r\n    選択範囲の行を削除します。\r\n\r\n    行番号 ： ") +
                         rowLabelText(d) + sj(" ～ ") + rowLabelText(d + n - 1);
        if (!confirmEdit(Mn_ConfDelete.Checked, question,
                         {Grid.fixedCols(), d, Grid.colCount() - 1, d + n - 1}, kRed))
            return;
    }
    host_.setBusy(true);
    RecordRowsOrColumns(moving ? HkRowClipMove : HkRowDelete, d, n);
    deleteRowsAt(d, n, moving);
    host_.setBusy(false);
}

void TFm_Kolumbra01::clipMove(bool rows) {
    if (!ClipRange.valid()) return;
    const int n =
        rows ? ClipRange.bottom - ClipRange.top + 1 : ClipRange.right - ClipRange.left + 1;
    OperationRange = ClipRange;
    const int target = rows ? PopupRow : PopupCol;
    const int clipFirst = rows ? ClipRange.top : ClipRange.left;
    const int clipLast = rows ? ClipRange.bottom : ClipRange.right;
    // A target within the clipped rows would insert the copies and delete them again: the
    // table stays as it is and nothing is recorded.
    if (target >= clipFirst && target <= clipLast) {
        OperationRange = GridRect();
        return;
    }
    if (!(rows ? copyRows(Sender::RowClipMove) : copyCols(Sender::ColClipMove))) {
        OperationRange = GridRect();
        return; // answered No
    }
    GridRect moved = OperationRange;
    OperationRange = ClipRange;
    if (target < clipFirst) {
        if (rows) {
            OperationRange.top += n;
            OperationRange.bottom += n;
        } else {
            OperationRange.left += n;
            OperationRange.right += n;
        }
    } else {
        if (rows) {
            moved.top -= n;
            moved.bottom -= n;
        } else {
            moved.left -= n;
            moved.right -= n;
        }
    }
    if (rows)
        Pm_RowDeleteClick(Sender::RowClipMove);
    else
        Pm_ColDeleteClick(Sender::ColClipMove);
    ClipRange = moved;
    OperationRange = GridRect();
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RowClipMoveClick() {
    clipMove(true);
}

void TFm_Kolumbra01::Pm_RowClipCopyClick() {
    if (!ClipRange.valid()) return;
    OperationRange = ClipRange;
    copyRows(Sender::RowClipCopy);
}

void TFm_Kolumbra01::Pm_ColInsertClick() {
    auto [p, n] = colSpan();
    if (p < Grid.fixedCols() || p >= Grid.colCount()) return;
    GridRect blue{p, Grid.fixedRows(), p + n - 1, Grid.rowCount() - 1};
    if (!confirmEdit(n > 1 && Mn_ConfInsert.Checked,
                     sj("【 新規挿入 】\r\n\r\n    "
                        "選択範囲の列数分だけ指定列に空列を挿入します。\r\n\r\n    ") +
                         std::to_string(n) + sj(" 列") + sj("    →    列番号 ： ") +
                         colNumberText(p),
                     blue, colour::Blue))
        return;
    host_.setBusy(true);
    RecordRowsOrColumns(HkColInsert, p, n);
    insertColsAt(p, n, false);
    recomputeBreakColumns(p, Grid.colCount() - 1);
    OperationRange = {p, Grid.fixedRows(), p + n - 1, Grid.rowCount() - 1};
    selectClamped(OperationRange);
    host_.setBusy(false);
    host_.focusGrid();
}

bool TFm_Kolumbra01::copyCols(Sender sender) {
    auto [p, n] = colSpan();
    if (p < Grid.fixedCols() || p > Grid.colCount()) return false;
    const bool ranged = OperationRange.valid();
    const int left = ranged ? std::min(OperationRange.left, OperationRange.right) : p;
    std::string heading =
        sender == Sender::ColClipMove
            ? sj("【 移動 】\r\n\r\n   クリップされた列を指定列に移動します。")
        : sender == Sender::ColClipCopy
            ? sj("【 複写 】\r\n\r\n   クリップされた列を指定列に挿入して複写します。")
            : sj("【 複写 】\r\n\r\n   選択範囲の列を指定列に挿入して複写します。");
    const bool gated =
        n > 1 && (sender == Sender::ColClipMove ? Mn_ConfMove.Checked : Mn_ConfCopy.Checked);
    GridRect blue{left, Grid.fixedRows(), left + n - 1, Grid.rowCount() - 1};
    if (!confirmEdit(gated,
                     heading + "\r\n\r\n" + sj("    列番号 ： ") + colNumberText(left) +
                         sj(" ～ ") + colNumberText(left + n - 1) + sj("    →   ") +
                         colNumberText(p),
                     blue, colour::Blue))
        return false;
    host_.setBusy(true);
    RecordRowsOrColumns(HkColCopy, p, n);
    // The new columns are made as copies in one pass over the rows.
    std::vector<ColInfoRec> infos(ColInfo.begin() + left,
                                  ColInfo.begin() + std::min<int>(left + n, ColInfo.size()));
    insertColsAt(p, n, false, left);
    for (int j = 0; j < n && j < static_cast<int>(infos.size()); ++j) {
        ColInfo[p + j] = infos[j];
        Grid.setColWidth(p + j, ColInfo[p + j].Width);
    }
    recomputeBreakColumns(p, Grid.colCount() - 1);
    RefreshAfterStructureChange();
    Modified = 1;
    OperationRange = {p, Grid.fixedRows(), p + n - 1, Grid.rowCount() - 1};
    selectClamped(OperationRange);
    host_.setBusy(false);
    host_.focusGrid();
    return true;
}

void TFm_Kolumbra01::Pm_ColCopyClick(Sender sender) {
    copyCols(sender);
}

void TFm_Kolumbra01::Pm_ColDeleteClick(Sender sender) {
    const bool moving = sender == Sender::ColClipMove;
    int d = PopupCol, n = 1;
    if (OperationRange.valid()) {
        d = std::min(OperationRange.left, OperationRange.right);
        n = std::abs(OperationRange.right - OperationRange.left) + 1;
    }
    if (d < Grid.fixedCols() || d >= Grid.colCount()) return;
    if (!moving) {
        if (Grid.colCount() - n < Grid.fixedCols() + 1) {
            prompts_.inform(sj("すべての列を削除することはできません。"));
            return;
        }
        std::string question =
            n == 1 ? sj("【 削除 】\r\n\r\n    この列を削除します。\r\n\r\n    列番号 = ") +
                         colNumberText(d)
                   : sj("【 削除 】\r\n\r\n    選択範囲の列を削除します。\r\n\r\n    列番号 ： ") +
                         colNumberText(d) + sj(" ～ ") + colNumberText(d + n - 1);
        if (!confirmEdit(Mn_ConfDelete.Checked, question,
                         {d, Grid.fixedRows(), d + n - 1, Grid.rowCount() - 1}, kRed))
            return;
    }
    host_.setBusy(true);
    RecordRowsOrColumns(moving ? HkColClipMove : HkColDelete, d, n);
    deleteColsAt(d, n, moving);
    host_.setBusy(false);
}

void TFm_Kolumbra01::Pm_ColClipMoveClick() {
    clipMove(false);
}

void TFm_Kolumbra01::Pm_ColClipCopyClick() {
    if (!ClipRange.valid()) return;
    OperationRange = ClipRange;
    copyCols(Sender::ColClipCopy);
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
    if (OperationRange.valid()) {
        left = std::min(OperationRange.left, OperationRange.right);
        right = std::max(OperationRange.left, OperationRange.right);
    }
    for (int c = left; c <= right; ++c)
        if (c >= Grid.fixedCols()) SetColumnShown(c, shown);
    OperationRange = GridRect();
    Grid.setCurrent(Grid.col, std::clamp(LastCellRow, Grid.fixedRows(), Grid.rowCount() - 1));
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
    const GridRect sel = Grid.selection;
    PopupCol = sel.left;
    PopupRow = sel.top;
    OperationRange = {Grid.fixedCols(), sel.top, Grid.colCount() - 1, sel.bottom};
    PopupKind = 1;
    (this->*rowCommand)();
    PopupKind = 0;
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
    copyRows(Sender::None);
}

void TFm_Kolumbra01::deleteSelectedRows() {
    Pm_RowDeleteClick(Sender::None);
}

} // namespace kol
