// Range commands: clip, cancel the clip, paste, clear and character conversion.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "table/csv_form.h"
#include "table/source_text.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "text/width_kana.h"

#include <algorithm>

namespace kol {

namespace {
GridRect ordered(GridRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

} // namespace

void TFm_Kolumbra01::Pm_RangeClipClick(Sender sender) {
    BusyCursor busy(host_);
    ClipKind = sender == Sender::RangeClip ? ClipContent::Cells
               : sender == Sender::RowClip ? ClipContent::Rows
               : sender == Sender::ColClip ? ClipContent::Columns
                                           : ClipContent::None;
    const GridRect sel = ordered(View.selection);
    if (sender != Sender::None) ClipRange = sel;
    CopyGrid.clearCells();
    CopyGrid.setFixedRows(0);
    CopyGrid.setFixedCols(0);
    CopyGrid.setRowCount(sel.bottom - sel.top + 1);
    CopyGrid.setColCount(sel.right - sel.left + 1);
    std::string text;
    std::vector<std::string_view> cells;
    for (int i = 0; i <= sel.bottom - sel.top; ++i) {
        cells.clear();
        for (int c = sel.left; c <= sel.right; ++c) cells.push_back(Grid.cell(c, sel.top + i));
        CopyGrid.setRowCells(i, cells);
        if (i) text += "\r\n";
        appendJoinedFields(text, cells.data(), cells.size(), CurrentSeparator);
    }
    clipboard_.setText(text);
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RangeClipClrClick() {
    clipboard_.clear();
    ClipKind = ClipContent::None;
    ClipRange = GridRect();
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RangeClipPasteClick(Sender sender) {
    const unsigned char kept = CurrentSeparator;
    std::string text;
    const bool fromClipboard = ClipKind == ClipContent::None;
    if (fromClipboard) {
        text = clipboard_.hasText() ? clipboard_.text() : std::string();
        std::vector<std::string_view> lines;
        for (LineCursor cursor(text); !cursor.atEnd();) lines.push_back(cursor.next());
        std::vector<FieldBuffer> rows(lines.size());
        std::size_t widest = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SplitLine(lines[i], CurrentSeparator, rows[i]);
            widest = std::max(widest, rows[i].size());
        }
        CopyGrid.clearCells();
        CopyGrid.setFixedRows(0);
        CopyGrid.setFixedCols(0);
        CopyGrid.setRowCount(std::max<int>(1, static_cast<int>(lines.size())));
        CopyGrid.setColCount(std::max<int>(1, static_cast<int>(widest)));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string_view> cells;
            for (std::size_t k = 0; k < rows[i].size(); ++k) cells.push_back(rows[i].field(k));
            CopyGrid.setRowCells(static_cast<int>(i), cells);
        }
        if (lines.empty() || widest == 0) {
            CurrentSeparator = kept;
            return; // nothing to paste
        }
    }
    if (sender == Sender::RowClipPaste) View.col = Grid.fixedCols();
    if (sender == Sender::ColClipPaste) View.row = Grid.fixedRows();
    const int c = std::max(View.col, Grid.fixedCols()), r = std::max(View.row, Grid.fixedRows());
    const GridRect target{c, r, c + CopyGrid.colCount() - 1, r + CopyGrid.rowCount() - 1};
    selectClamped(target);
    if (Mn_ConfPaste.Checked) {
        std::string question = fromClipboard
                                   ? sj("【 貼り付け 】\r\n\r\n   "
                                        "現在のクリップボードの内容をカーソル位置の範囲に貼り付けま"
                                        "す。\r\n\r\n   先頭内容 → ") +
                                         text.substr(0, 20) + "\r\n\r\n" + sj("   貼付行列数 ： ") +
                                         std::to_string(CopyGrid.rowCount()) + sj(" 行　") +
                                         std::to_string(CopyGrid.colCount()) + sj(" 列")
                                   : sj("【 貼り付け 】\r\n\r\n   "
                                        "クリップされた内容をカーソル位置の範囲に貼り付けます。");
        if (prompts_.ask(question, Buttons::YesNo) != Answer::Yes) {
            CurrentSeparator = kept;
            return;
        }
    }
    BusyCursor busy(host_);
    View.setCurrent(c, r);
    edits::rewriteCells(Doc, HistoryKind::RangePaste, target,
                        [&](int col, int row, std::string_view) {
                            return std::string(CopyGrid.cell(col - c, row - r));
                        });
    updateUndoMenu();
    Shown.cellsChanged(target);
    selectClamped(target);
    View.col = c;
    View.row = r;
    CurrentSeparator = kept;
    host_.focusGrid();
}

void TFm_Kolumbra01::Pm_RangeClearClick() {
    const GridRect sel = ordered(View.selection);
    if (Mn_ConfClear.Checked &&
        !confirmEdit(true,
                     sj("【 クリアー 】\r\n\r\n   カーソル位置の範囲のセルをクリアーします。"), sel,
                     colour::Red))
        return;
    BusyCursor busy(host_);
    edits::recordCells(Doc, HistoryKind::RangeClear, sel);
    updateUndoMenu();
    Pm_RangeClipClick(Sender::None);
    Grid.rewriteRect(sel, [](int, int, std::string_view) { return std::string(); });
    Shown.cellsChanged(sel);
    Modified = 1;
}

std::string TFm_Kolumbra01::conversionCaption(Sender sender) {
    switch (sender) {
    case Sender::StrCvtHanToZen:
        return sj("1. 半角 → 全角");
    case Sender::StrCvtZenToHan:
        return sj("2. 全角 → 半角  ");
    case Sender::StrCvtHiraToKata:
        return sj("3. 全角ひらがな → 全角カタカナ");
    default:
        return sj("4. 全角カタカナ → 全角ひらがな");
    }
}

void TFm_Kolumbra01::Pm_StrCvtHanToZenClick(Sender sender) {
    const GridRect sel = ordered(View.selection);
    const std::string name = Trim(conversionCaption(sender)).substr(2);
    if (!confirmEdit(true,
                     sj("カーソル位置の範囲のセルの文字変換を行います。\r\n\r\n      【 ") + name +
                         sj(" 】"),
                     sel, colour::Blue))
        return;
    BusyCursor busy(host_);
    auto convert = [sender](std::string_view text) {
        switch (sender) {
        case Sender::StrCvtHanToZen:
            return ToFullWidth(text);
        case Sender::StrCvtZenToHan:
            return ToHalfWidth(text);
        case Sender::StrCvtHiraToKata:
            return ToKatakana(text);
        default:
            return ToHiragana(text);
        }
    };
    edits::rewriteCells(Doc, HistoryKind::RangeConvert, sel,
                        [&](int, int, std::string_view text) { return convert(text); });
    updateUndoMenu();
    Shown.cellsChanged(sel);
}

} // namespace kol
