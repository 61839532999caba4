// Marking rows and columns, and writing the marked part of the table.
#include "app/csv_fixed.h"
#include "app/kolumbra01.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <algorithm>

namespace kol {

void TFm_Kolumbra01::Pm_RowMarkSetClick(Sender sender) {
    int top = std::min(Grid.selection.top, Grid.selection.bottom);
    int bottom = std::max(Grid.selection.top, Grid.selection.bottom);
    if (sender == Sender::MarkClearAll) {
        if (prompts_.ask(sj("すべての 【 行 】のマーキングを解除します。\r\n\r\nよろしいですか？"),
                         Buttons::YesNo) != Answer::Yes)
            return;
        top = Grid.fixedRows();
        bottom = Grid.rowCount() - 1;
    }
    for (int r = std::max(top, 0); r <= bottom && r < static_cast<int>(RowFlags.size()); ++r)
        RowFlags[r].Mark = sender == Sender::MarkSet ? 1 : 0;
}

void TFm_Kolumbra01::Pm_ColMarkSetClick(Sender sender) {
    int left = std::min(Grid.selection.left, Grid.selection.right);
    int right = std::max(Grid.selection.left, Grid.selection.right);
    if (sender == Sender::MarkClearAll) {
        if (prompts_.ask(sj("すべての 【 列 】 のマーキングを解除します。\r\n\r\nよろしいですか？"),
                         Buttons::YesNo) != Answer::Yes)
            return;
        left = Grid.fixedCols();
        right = Grid.colCount() - 1;
    }
    for (int c = std::max(left, 0); c <= right && c < static_cast<int>(ColInfo.size()); ++c)
        ColInfo[c].Marked = sender == Sender::MarkSet ? 1 : 0;
    UpdateCaptions();
}

void TFm_Kolumbra01::Mn_MarkSaveClick() {
    std::vector<int> rows, cols;
    for (int r = Grid.fixedRows(); r < Grid.rowCount(); ++r)
        if (r < static_cast<int>(RowFlags.size()) && RowFlags[r].Mark) rows.push_back(r);
    for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c)
        if (c < static_cast<int>(ColInfo.size()) && ColInfo[c].Marked) cols.push_back(c);
    if (rows.empty() && cols.empty()) {
        prompts_.inform(sj("現在、マーキングされたデータはありません。"));
        return;
    }
    std::string name = ChooseSaveFile(Settings.Path_SelectFile,
                                      sj("マーキングされたデータを指定のファイル名で保存します。"));
    if (name.empty()) return;
    host_.setBusy(true);
    if (rows.empty())
        for (int r = Grid.fixedRows(); r < Grid.rowCount(); ++r) rows.push_back(r);
    if (cols.empty())
        for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c) cols.push_back(c);

    // The fixed rows and columns, then the taken rows and columns in order.
    const int fixedRows = Grid.fixedRows(), fixedCols = Grid.fixedCols();
    resetWorkGrid();
    WorkGrid.setRowCount(fixedRows + static_cast<int>(rows.size()));
    WorkGrid.setColCount(fixedCols + static_cast<int>(cols.size()));
    WorkGrid.setFixedRows(fixedRows);
    WorkGrid.setFixedCols(fixedCols);
    for (int c = 0; c < fixedCols; ++c) WorkGrid.setColWidth(c, Grid.colWidth(c));
    for (std::size_t k = 0; k < cols.size(); ++k)
        WorkGrid.setColWidth(fixedCols + static_cast<int>(k), Grid.colWidth(cols[k]));
    auto copyRow = [&](int from, int to) {
        std::vector<std::string_view> cells;
        for (int c = 0; c < fixedCols; ++c) cells.push_back(Grid.cell(c, from));
        for (int c : cols) cells.push_back(Grid.cell(c, from));
        WorkGrid.setRowCells(to, cells);
        WorkGrid.setRowHeight(to, Grid.rowHeight(from));
    };
    for (int r = 0; r < fixedRows; ++r) copyRow(r, r);
    for (std::size_t k = 0; k < rows.size(); ++k) copyRow(rows[k], fixedRows + static_cast<int>(k));

    Settings.Path_SelectFile = name;
    TFm_CsvFixed writer(prompts_, host_, WorkGrid, CsvFileInf, 0, WorkGrid.rowCount() - 1,
                        CurrentSeparator, programDir_);
    (void)writer.WriteRows(name); // a failure has been reported; nothing here depends on it
    resetWorkGrid();
    host_.setBusy(false);
}

} // namespace kol
