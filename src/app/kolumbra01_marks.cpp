// Marking rows and columns, and writing the marked part of the table.
#include "app/csv_fixed.h"
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <algorithm>

namespace kol {

void TFm_Kolumbra01::markLines(Axis axis, Sender sender) {
    const bool rows = axis == Axis::Rows;
    const GridRect& sel = View.selection;
    int first = rows ? std::min(sel.top, sel.bottom) : std::min(sel.left, sel.right);
    int last = rows ? std::max(sel.top, sel.bottom) : std::max(sel.left, sel.right);
    if (sender == Sender::MarkClearAll) {
        if (prompts_.ask(
                rows ? sj("すべての 【 行 】のマーキングを解除します。\r\n\r\nよろしいですか？")
                     : sj("すべての 【 列 】 のマーキングを解除します。\r\n\r\nよろしいですか？"),
                Buttons::YesNo) != Answer::Yes)
            return;
        first = Doc.fixedLines(axis);
        last = Doc.lineCount(axis) - 1;
    }
    edits::setMarks(Doc, axis, first, last, sender == Sender::MarkSet);
    if (!rows) UpdateCaptions(); // the count of marked columns
}

void TFm_Kolumbra01::Pm_RowMarkSetClick(Sender sender) {
    markLines(Axis::Rows, sender);
}

void TFm_Kolumbra01::Pm_ColMarkSetClick(Sender sender) {
    markLines(Axis::Columns, sender);
}

void TFm_Kolumbra01::Mn_MarkSaveClick() {
    markedOutput(false);
}

void TFm_Kolumbra01::Mn_MarkPrintClick() {
    markedOutput(true);
}

void TFm_Kolumbra01::markedOutput(bool print) {
    std::vector<int> rows, cols;
    for (int r = Grid.fixedRows(); r < Grid.rowCount(); ++r)
        if (r < static_cast<int>(RowFlags.size()) && RowFlags[r].Mark) rows.push_back(r);
    for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c)
        if (c < static_cast<int>(ColInfo.size()) && ColInfo[c].Marked) cols.push_back(c);
    if (rows.empty() && cols.empty()) {
        prompts_.inform(sj("現在、マーキングされたデータはありません。"));
        return;
    }
    std::string name;
    if (!print) {
        name = ChooseSaveFile(Settings.Path_SelectFile,
                              sj("マーキングされたデータを指定のファイル名で保存します。"));
        if (name.empty()) return;
    }
    {
        BusyCursor busy(host_);
        if (rows.empty())
            for (int r = Grid.fixedRows(); r < Grid.rowCount(); ++r) rows.push_back(r);
        if (cols.empty())
            for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c) cols.push_back(c);
        buildWorkGrid(rows, cols);
    }
    if (print) {
        printWorkGrid();
    } else {
        BusyCursor busy(host_);
        Settings.Path_SelectFile = name;
        TFm_CsvFixed writer(prompts_, host_, WorkGrid, CsvFileInf, 0, WorkGrid.rowCount() - 1,
                            CurrentSeparator, programDir_);
        (void)writer.WriteRows(name); // a failure has been reported; nothing here depends on it
    }
    resetWorkGrid();
}

} // namespace kol
