// The column-visibility page: one row per data column of the main table, ○ shown, × hidden.
#include "sort/csv_func.h"

#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>

namespace kol {

int TFm_CsvFunc::printGridColumn(int row) const {
    const int column = row + doc_.Grid.fixedCols() - 1;
    return row >= 1 && column < doc_.Grid.colCount() ? column : -1;
}

void TFm_CsvFunc::FillVisibilityGrid() {
    const StringGrid& g = doc_.Grid;
    const int nameRow = main_.columnNameRow();
    const int rows = std::max(g.colCount() - g.fixedCols(), 1) + 1;
    PrintGrid.clearCells();
    PrintGrid.setRowCount(rows);
    PrintGrid.setColCount(2);
    PrintGrid.setFixedCols(1);
    PrintGrid.setFixedRows(1);
    PrintGrid.setDefaultRowHeight(g.defaultRowHeight());
    PrintGrid.setColWidth(0, 6 * LetterWidth);
    PrintGrid.setColWidth(1, 50 * LetterWidth);
    PrintGrid.setCell(0, 0, "No.");
    PrintGrid.setCell(1, 0, sj("列名 [") + Trim(main_.columnNameChoice()) + "]");
    for (int r = 1; r < rows; ++r) {
        const int c = printGridColumn(r);
        if (c < 0) continue;
        PrintGrid.setCell(0, r, g.cell(c, 0));
        std::string name =
            nameRow > 0 && nameRow < g.rowCount() ? std::string(g.cell(c, nameRow)) : "";
        PrintGrid.setCell(1, r, " " + name);
    }
    PrintView.setCurrent(1, 1);
}

TFm_CsvFunc::VisibilityLook TFm_CsvFunc::printGridCell(int col, int row) const {
    VisibilityLook look;
    look.text = std::string(PrintGrid.cell(col, row));
    look.fixed = col < PrintGrid.fixedCols() || row < PrintGrid.fixedRows();
    if (look.fixed) return look;
    const int c = printGridColumn(row);
    look.shown = c < 0 || c >= static_cast<int>(doc_.ColInfo.size()) || doc_.ColInfo[c].Shown;
    look.text = sj(look.shown ? " ○" : " ×") + look.text;
    return look;
}

void TFm_CsvFunc::PrintGridDblClick() {
    const int row = PrintView.row;
    if (row < PrintGrid.fixedRows()) return;
    // A row left over from before the table lost columns names no column: nothing to flip.
    const int c = printGridColumn(row);
    if (c < 0 || c >= static_cast<int>(doc_.ColInfo.size())) return;
    main_.unsetPopupCell();
    main_.setColumnShown(c, doc_.ColInfo[c].Shown == 0);
}

void TFm_CsvFunc::Btn_PrintAllClick(bool all) {
    const char* question =
        all ? "全列を  【表示対象】  にします。" : "全列を  【非表示】  にします。";
    if (prompts_.ask(sj(question) + "\r\n\r\n" + sj("よろしいですか？"), Buttons::YesNo) !=
        Answer::Yes)
        return;
    main_.unsetPopupCell();
    for (int c = doc_.Grid.fixedCols(); c < doc_.Grid.colCount(); ++c) main_.setColumnShown(c, all);
}

} // namespace kol
