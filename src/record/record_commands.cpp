// The record editor's commands on its grid: the memo and the keys that open it, the
// conversions of the popup, the print of the record, and how the grid's cells look.
#include "edit/table_edits.h"
#include "record/record_editor.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "text/width_kana.h"

#include <algorithm>
#include <string>

namespace kol {

// ---- memo and keys ----------------------------------------------------------------------------

void RecordEditor::commitMemo(int col, int row, const std::string& text) {
    edits::editEditorCell(doc_, VertGrid, col, row, text);
    link_.undoMenuChanged();
}

void RecordEditor::VertGridMouseDown() {
    removeUndoHighlight();
}

bool RecordEditor::VertGridKeyDown(Key key) {
    removeUndoHighlight();
    switch (key) {
    case Key::Enter:
    case Key::Alt:
    case Key::Ime:
        mmMemo.open(VertView.col, VertView.row);
        return true;
    default:
        return false;
    }
}

bool RecordEditor::VertGridKeyPress(int code) {
    if (code < 32 || code == 255) return false;
    // The keystroke is the edit's first character; one CP932 lacks becomes '?'.
    char bytes[2];
    const int length = cp932::encodeChar(static_cast<char32_t>(code), bytes);
    return VertGridTextInput(length > 0 ? std::string_view(bytes, static_cast<std::size_t>(length))
                                        : std::string_view("?"));
}

bool RecordEditor::VertGridTextInput(std::string_view typed) {
    if (typed.empty()) return false;
    removeUndoHighlight();
    mmMemo.open(VertView.col, VertView.row, typed);
    return true;
}

void RecordEditor::VertGridDblClick(int col, int row) {
    if (col < VertGrid.fixedCols() || row < VertGrid.fixedRows()) return;
    mmMemo.open(VertView.col, VertView.row);
}

void RecordEditor::VertGridSelectCell(int col, int row) {
    VertView.setCurrent(col, row); // one cell, never a range
}

bool RecordEditor::mmMemoKeyDown(Key key) {
    if (!mmMemo.Visible || (key != Key::Enter && key != Key::Escape)) return false;
    mmMemo.close(); // Esc keeps the edit as well
    if (VertView.row < VertGrid.rowCount() - 1) {
        VertView.setCurrent(VertView.col, VertView.row + 1);
        memoView_.scrollToCell(VertView.col, VertView.row);
    }
    return true;
}

bool RecordEditor::mmMemoMouseDown(int x, int y) {
    return mmMemo.mouseDown(x, y);
}

void RecordEditor::mmMemoDblClick() {
    mmMemo.close();
}

void RecordEditor::mmMemoExit() {
    mmMemo.close();
}

void RecordEditor::undoneCell(const GridRect& cell) {
    if (!cell.valid()) return;
    const StringGrid& g = VertGrid;
    const int c = std::clamp(cell.left, g.fixedCols(), g.colCount() - 1);
    const int r = std::clamp(cell.top, g.fixedRows(), g.rowCount() - 1);
    VertView.setCurrent(c, r);
    UndoHighlight = GridRect{c, r, c, r};
    if (VertView.topRow >= r || r >= VertView.topRow + VertView.visibleRowCount - 1)
        VertView.topRow = r - 1 > g.fixedRows() ? r - 1 : r;
    link_.focusRecordGrid();
}

// ---- conversions ------------------------------------------------------------------------------

void RecordEditor::pm2_StrCvtHanToZenClick(Conversion conversion) {
    const MenuItem& item = conversion == Conversion::HanToZen     ? pm2_StrCvtHanToZen
                           : conversion == Conversion::ZenToHan   ? pm2_StrCvtZenToHan
                           : conversion == Conversion::HiraToKata ? pm2_StrCvtHiraToKata
                                                                  : pm2_StrCvtKataToHira;
    const std::string trimmed = Trim(item.Caption);
    const std::string name = trimmed.size() > 2 ? trimmed.substr(2) : std::string();
    if (prompts_.ask(sj("カーソル位置のセルの文字変換を行います。\r\n\r\n      【 ") + name +
                         sj(" 】"),
                     Buttons::YesNo) != Answer::Yes)
        return;
    const int c = VertView.col, r = VertView.row;
    if (c < VertGrid.fixedCols() || r < VertGrid.fixedRows() || c >= VertGrid.colCount() ||
        r >= VertGrid.rowCount())
        return;
    const std::string_view text = VertGrid.cell(c, r);
    std::string converted;
    switch (conversion) {
    case Conversion::HanToZen:
        converted = ToFullWidth(text);
        break;
    case Conversion::ZenToHan:
        converted = ToHalfWidth(text);
        break;
    case Conversion::HiraToKata:
        converted = ToKatakana(text);
        break;
    case Conversion::KataToHira:
        converted = ToHiragana(text);
        break;
    }
    edits::editEditorCell(doc_, VertGrid, c, r, converted);
    link_.undoMenuChanged();
}

// ---- print ------------------------------------------------------------------------------------

void RecordEditor::Mn2_PrintxClick() {
    const int lw = link_.letterWidth();
    WorkGrid.assign(VertGrid);
    // Each column no wider than its longest text needs.
    for (int c = 0; c < WorkGrid.colCount(); ++c) {
        std::size_t longest = 0;
        for (int r = 0; r < WorkGrid.rowCount(); ++r)
            longest = std::max(longest, WorkGrid.cell(c, r).size());
        const long long wanted = static_cast<long long>(longest + 2) * lw;
        if (wanted < WorkGrid.colWidth(c)) WorkGrid.setColWidth(c, static_cast<int>(wanted));
    }
    const print::HeadingLines headings = {sj("File.Name:  ") + Trim(link_.tableFileName()),
                                          sj("  行No.  :  ") + std::to_string(ShownRow),
                                          std::string(), std::string()};
    link_.printRecord(WorkGrid, headings, 300);
    WorkGrid.setFixedCols(0);
    WorkGrid.setFixedRows(0);
    WorkGrid.setColCount(1);
    WorkGrid.setRowCount(1);
    WorkGrid.clearCells();
    link_.clearProgressText();
}

// ---- drawing ----------------------------------------------------------------------------------

CellLook RecordEditor::cellLook(int col, int row) const {
    const StringGrid& g = VertGrid;
    CellLook look;
    look.text = std::string(g.cell(col, row));
    if (col < g.fixedCols() || row < g.fixedRows()) {
        look.ownerDrawn = look.fixed = true;
        look.background = colour::Grey;
        look.textColour = colour::White;
        // The names read from the left, behind one blank.
        if (col == 1 && row >= 1)
            look.text = " " + Trim(look.text);
        else
            look.centred = true;
        return look;
    }
    if (col == VertView.col && row == VertView.row) {
        look.ownerDrawn = true;
        look.background = UndoHighlight.valid() ? colour::Black : colour::Navy;
        look.textColour = colour::White;
    }
    return look;
}

} // namespace kol
