#include "record/record_editor.h"

#include "edit/table_edits.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kol {

RecordEditor::RecordEditor(TableDocument& doc, TableView& shown, GridViewState& mainView,
                           RecordMainLink& link, Prompts& prompts)
    : mmMemo(*this, memoView_), doc_(doc), shown_(shown), mainView_(mainView), link_(link),
      prompts_(prompts) {
    pnlVertTop.Visible = false;
    VertGridControl.Visible = false;
    pnlVertRowNo.Caption = sj("行 No.");
    caption(Btn_VertGridEnd, "終了");
    caption(Btn_VertRowNoPrior, "前");
    caption(Btn_VertRowNoNext, "次");
    Btn_VertRowNoPrior.Visible = Btn_VertRowNoNext.Visible = false;
    caption(Btn_VertSelect, "検索");
    caption(Mn2_Exit, "1. 終了 (&X)");
    caption(Mn2_Printx, "1. 印刷する (&P)");
    caption(Pm2_Exit, "1. 終了");
    caption(pm2_StrConvert, "2. 文字変換");
    caption(pm2_StrCvtHanToZen, "1. 半角 → 全角");
    caption(pm2_StrCvtZenToHan, "2. 全角 → 半角");
    caption(pm2_StrCvtHiraToKata, "3. 全角ひらがな → 全角カタカナ");
    caption(pm2_StrCvtKataToHira, "4. 全角カタカナ → 全角ひらがな");
    for (int n = 0; n < 100; ++n)
        Cmb_VertKomKeta.Items.push_back(" " + std::to_string(n) + sj("桁"));
    Cmb_VertKomKeta.ItemIndex = komKeta_;
    scbVertRowNo.Min = 0;
    scbVertRowNo.Max = 2;
    scbVertRowNo.Position = 1;
}

RecordEditor::~RecordEditor() {
    // Entries that take text back into VertGrid must not outlive it.
    edits::dropEditorEntries(doc_);
}

int RecordEditor::dataColumns() const {
    return std::max(doc_.Grid.colCount() - doc_.Grid.fixedCols(), 0);
}

void RecordEditor::setNameColumnLetters(int letters) {
    komKeta_ = std::clamp(letters, 0, 99);
    Cmb_VertKomKeta.ItemIndex = komKeta_;
}

// ---- open and close ---------------------------------------------------------------------------

void RecordEditor::Btn_VertGridClick() {
    if (shown()) return;
    link_.unsetOperationRange();
    buildGrid();
    pnlVertTop.Visible = true;
    VertGridControl.Visible = true;
    ShownRow = -1;
    const int line = mainView_.col - doc_.Grid.fixedCols() + 1;
    showRecord(mainView_.row, line);
    link_.recordEditorShown(true);
}

void RecordEditor::buildGrid() {
    const StringGrid& table = doc_.Grid;
    const int lw = link_.letterWidth();
    pnlVertRowNo.Caption = sj("行No. (Max: ") + std::to_string(table.rowCount() - 1) + ")";
    Lab_VertRowNo.Caption.clear();
    Cmb_VertKomKeta.ItemIndex = komKeta_;
    // A table without data columns still gets one (empty) line, so the grid keeps a data row.
    VertGrid.setColCount(3);
    VertGrid.setRowCount(1 + std::max(dataColumns(), 1));
    VertGrid.setFixedCols(2);
    VertGrid.setFixedRows(1);
    VertGrid.clearCells();
    VertGrid.setDefaultRowHeight(table.defaultRowHeight());
    VertGrid.setColWidth(0, 6 * lw);
    VertGrid.setColWidth(1, komKeta_ * lw);
    VertGrid.setColWidth(2, contentWidth_ >= 0 ? contentWidth_ : 50 * lw);
    VertGrid.setCell(0, 0, "No.");
    VertGrid.setCell(2, 0, sj("内容"));
    VertView.topRow = 1;
    VertView.leftCol = 2;
    VertView.setCurrent(2, 1);
    UndoHighlight = GridRect();
}

void RecordEditor::Btn_VertGridEndClick() {
    if (!shown()) return;
    if (mmMemo.Visible) mmMemo.close();
    writeBack();
    const StringGrid& table = doc_.Grid;
    contentWidth_ = VertGrid.colWidth(2);
    pnlVertTop.Visible = false;
    VertGridControl.Visible = false;
    // The table cursor goes to the column of the editor's line, on the record shown.
    const int col = std::clamp(VertView.row + table.fixedCols() - 1, table.fixedCols(),
                               std::max(table.colCount() - 1, table.fixedCols()));
    const int row = std::clamp(std::max(ShownRow, table.fixedRows()), 0, table.rowCount() - 1);
    mainView_.setCurrent(col, row);
    // Nothing of this record may reach the table once the editor is gone.
    ShownRow = -1;
    removeUndoHighlight();
    link_.unsetPopupCell();
    link_.recordEditorShown(false);
    dropEntries();
}

void RecordEditor::closeWithoutWriting() {
    if (mmMemo.Visible) {
        mmMemo.Visible = false;
        memoView_.hideMemo();
    }
    ShownRow = -1;
    Btn_VertGridEndClick();
}

// ---- records ----------------------------------------------------------------------------------

void RecordEditor::dropEntries() {
    edits::dropEditorEntries(doc_);
    link_.undoMenuChanged();
}

void RecordEditor::showRecord(int r, int line) {
    // A memo still open (the scroll bar and the search window leave it so) belongs to the
    // record it was opened on.
    if (mmMemo.Visible) mmMemo.close();
    dropEntries();
    removeUndoHighlight(); // it marked a cell of the record left
    writeBack();
    ShownRow = std::clamp(r, 0, doc_.Grid.rowCount() - 1);
    Lab_VertRowNo.Caption = "[ " + shown_.rowLabel(ShownRow, false) + " ]";
    line = std::clamp(line, 1, lineCount());
    VertView.setCurrent(2, line);
    // The line stays in sight, one line of context above it where there is one.
    if (line < VertView.topRow || line >= VertView.topRow + VertView.visibleRowCount - 1)
        VertView.topRow = std::max(line - 1, 1);
    fillRecord();
}

void RecordEditor::fillRecord() {
    const StringGrid& table = doc_.Grid;
    const int nameRow = link_.nameRowIndex();
    VertGrid.setCell(1, 0, sj("列名 [") + link_.nameRowCaption() + "]");
    const int fc = table.fixedCols();
    const int lines = std::min(lineCount(), dataColumns());
    const bool names = nameRow > 0 && nameRow < table.rowCount();
    const bool record = ShownRow >= 0 && ShownRow < table.rowCount();
    for (int k = 1; k <= lines; ++k) {
        const int c = fc + k - 1;
        const std::string_view cells[3] = {table.cell(c, 0),
                                           names ? table.cell(c, nameRow) : std::string_view(),
                                           record ? table.cell(c, ShownRow) : std::string_view()};
        VertGrid.setRowCells(k, cells);
    }
}

void RecordEditor::writeBack() {
    StringGrid& table = doc_.Grid;
    const int r = ShownRow;
    if (r < 0 || r >= table.rowCount()) return;
    const int fc = table.fixedCols();
    const int lines = std::min(lineCount(), dataColumns());
    const int key = link_.keyColumnIndex();
    int first = -1, last = -1;
    for (int k = 1; k <= lines; ++k) {
        const int c = fc + k - 1;
        const std::string_view text = VertGrid.cell(2, k);
        if (table.cell(c, r) == text) continue;
        table.setCell(c, r, text);
        // The key column shows a copy of its source column.
        if (key > 0 && c == key + 1 && fc > 1) table.setCell(1, r, " " + Trim(text));
        if (first < 0) first = c;
        last = c;
    }
    if (first < 0) return;
    doc_.Modified = 1;
    writingBack_ = true;
    shown_.cellsChanged(GridRect{first, r, last, r});
    writingBack_ = false;
}

void RecordEditor::flushToTable() {
    if (!shown()) return;
    if (mmMemo.Visible) mmMemo.close();
    writeBack();
}

void RecordEditor::showFoundRow(int row, int col) {
    if (!shown()) return;
    showRecord(row, col - doc_.Grid.fixedCols() + 1);
}

// ---- navigation -------------------------------------------------------------------------------

void RecordEditor::Btn_VertRowNoNextClick() {
    if (ShownRow >= 0 && ShownRow < doc_.Grid.rowCount() - 1)
        showRecord(ShownRow + 1, VertView.row);
}

// Record 1 is reachable: with the usual two title rows it holds the column names.
void RecordEditor::Btn_VertRowNoPriorClick() {
    if (ShownRow > 1) showRecord(ShownRow - 1, VertView.row);
}

void RecordEditor::scbVertRowNoScroll(ScrollCode code) {
    if (code == ScrollCode::LineDown)
        Btn_VertRowNoNextClick();
    else if (code == ScrollCode::LineUp)
        Btn_VertRowNoPriorClick();
    link_.focusRecordGrid();
}

void RecordEditor::Cmb_VertKomKetaClick() {
    if (Cmb_VertKomKeta.ItemIndex < 0) return;
    komKeta_ = Cmb_VertKomKeta.ItemIndex;
    VertGrid.setColWidth(1, komKeta_ * link_.letterWidth());
    link_.focusRecordGrid();
}

void RecordEditor::Btn_VertSelectClick() {
    link_.showSearchWindow();
}

// ---- table listener ---------------------------------------------------------------------------

void RecordEditor::tableReshaped(Reshape) {
    if (!shown() || writingBack_) return;
    // Rows or columns moved under the record: its lines no longer name the cells they came from.
    closeWithoutWriting();
}

void RecordEditor::cellsChanged(const GridRect& cells) {
    if (!shown() || writingBack_ || ShownRow < 0) return;
    const StringGrid& table = doc_.Grid;
    const int fc = table.fixedCols();
    const int nameRow = link_.nameRowIndex();
    const int first = std::max(cells.left, fc);
    const int last = std::min(cells.right, fc + std::min(lineCount(), dataColumns()) - 1);
    bool refreshed = false;
    auto refresh = [&](int editorCol, int tableRow) {
        if (tableRow < cells.top || tableRow > cells.bottom) return;
        for (int c = first; c <= last; ++c)
            VertGrid.setCell(editorCol, c - fc + 1, table.cell(c, tableRow));
        if (editorCol == 2 && first <= last) refreshed = true;
    };
    refresh(0, 0);
    if (nameRow > 0) refresh(1, nameRow);
    refresh(2, ShownRow);
    // The editor's entries could take a value back over the newer text.
    if (refreshed) dropEntries();
}

} // namespace kol
