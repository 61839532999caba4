// The main window as the host of its grid's input side: the popups' and keys' commands, the
// options the input reads, and a cell written from the memo editor.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "text/text_utils.h"

namespace kol {

GridInputOptions TFm_Kolumbra01::inputOptions() const {
    return {Chk_MoveRow.Checked, Chk_MoveCol.Checked, crNextIndex(), LetterWidth};
}

void TFm_Kolumbra01::commitCell(int c, int r, const std::string& text) {
    edits::editCell(Doc, HistoryKind::CellEdit, c, r, text);
    updateUndoMenu();
    Shown.cellEdited(c, r, text);
}

void TFm_Kolumbra01::runCommand(GridCommand command) {
    using C = GridCommand;
    switch (command) {
    case C::RangeClip:
        return Pm_RangeClipClick(Sender::RangeClip);
    case C::RangeClipPaste:
        return Pm_RangeClipPasteClick(Sender::RangeClipPaste);
    case C::RangeClipClr:
    case C::RowClipClr:
    case C::ColClipClr:
        return Pm_RangeClipClrClick();
    case C::RangeClear:
        return Pm_RangeClearClick();
    case C::StrCvtHanToZen:
        return Pm_StrCvtHanToZenClick(Sender::StrCvtHanToZen);
    case C::StrCvtZenToHan:
        return Pm_StrCvtHanToZenClick(Sender::StrCvtZenToHan);
    case C::StrCvtHiraToKata:
        return Pm_StrCvtHanToZenClick(Sender::StrCvtHiraToKata);
    case C::StrCvtKataToHira:
        return Pm_StrCvtHanToZenClick(Sender::StrCvtKataToHira);
    case C::RangeRowInsert2:
        return Pm_RangeRowInsert2Click();
    case C::RangeRowCopy2:
        return Pm_RangeRowCopy2Click();
    case C::RangeRowDelete2:
        return Pm_RangeRowDelete2Click();
    case C::RowClip:
        return Pm_RangeClipClick(Sender::RowClip);
    case C::RowClipPaste:
        return Pm_RangeClipPasteClick(Sender::RowClipPaste);
    case C::RowClipMove:
        return Pm_RowClipMoveClick();
    case C::RowClipCopy:
        return Pm_RowClipCopyClick();
    case C::RowInsert:
        return Pm_RowInsertClick();
    case C::RowCopy:
        return Pm_RowCopyClick(Sender::RowCopy);
    case C::RowDelete:
        return Pm_RowDeleteClick(Sender::None);
    case C::RowInsertFile:
        return Pm_RowInsertFileClick(Sender::RowInsertFile);
    case C::RowInsertBoard:
        return Pm_RowInsertFileClick(Sender::RowInsertBoard);
    case C::RowMarkSet:
        return Pm_RowMarkSetClick(Sender::MarkSet);
    case C::RowMarkClear:
        return Pm_RowMarkSetClick(Sender::MarkClear);
    case C::RowMarkClearAll:
        return Pm_RowMarkSetClick(Sender::MarkClearAll);
    case C::ColClip:
        return Pm_RangeClipClick(Sender::ColClip);
    case C::ColClipPaste:
        return Pm_RangeClipPasteClick(Sender::ColClipPaste);
    case C::ColClipMove:
        return Pm_ColClipMoveClick();
    case C::ColClipCopy:
        return Pm_ColClipCopyClick();
    case C::ColInsert:
        return Pm_ColInsertClick();
    case C::ColCopy:
        return Pm_ColCopyClick(Sender::ColCopy);
    case C::ColDelete:
        return Pm_ColDeleteClick(Sender::None);
    case C::ColViewON:
        return Pm_ColViewONClick(Sender::ColViewON);
    case C::ColViewOFF:
        return Pm_ColViewONClick(Sender::ColViewOFF);
    case C::ColMarkSet:
        return Pm_ColMarkSetClick(Sender::MarkSet);
    case C::ColMarkClear:
        return Pm_ColMarkSetClick(Sender::MarkClear);
    case C::ColMarkClearAll:
        return Pm_ColMarkSetClick(Sender::MarkClearAll);
    case C::MarkSave:
        return Mn_MarkSaveClick();
    case C::MarkPrint:
        return Mn_MarkPrintClick();
    case C::RowPrint:
        return Pm_RowPrintClick();
    case C::ColPrint:
        return Pm_ColPrintClick();
    case C::RangePrintCell:
        return Pm_RangePrintCellClick();
    case C::RangePrintRow:
        return Pm_RangePrintRowClick();
    case C::RangePrintCol:
        return Pm_RangePrintColClick();
    case C::DispVertGrid:
        return Btn_VertGridClick();
    }
}

} // namespace kol
