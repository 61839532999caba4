// How the table is shown: the View menu switches and the view controls of the top panels.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "table/row_label.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "view/break_colours.h"
#include "view/fold.h"

#include "table/move_item.h"

#include <algorithm>

namespace kol {

CellScene TFm_Kolumbra01::cellScene() const {
    CellScene scene{
        Grid, View, RowFlags, ColInfo, MarkedColumnCount, ViewSwitches.displaySwitches(), {}};
    scene.highlights.clip = ClipRange;
    scene.highlights.undo = UndoHighlight;
    scene.highlights.confirm = ConfirmHighlight;
    scene.highlights.confirmColour = ConfirmColour;
    scene.highlights.popupKind = static_cast<std::uint8_t>(PopupKind);
    scene.highlights.popupCol = PopupCol;
    scene.highlights.popupRow = PopupRow;
    return scene;
}

void TFm_Kolumbra01::Mn_FixedCenterClick(MenuItem& item) {
    item.Checked = !item.Checked;
    if (&item == &Mn_DateEdit && item.Checked) {
        BusyCursor busy(host_);
        Shown.widenForDates();
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::Mn_KaraGyoColorClick(MenuItem& item) {
    item.Checked = !item.Checked;
    host_.focusGrid();
}

void TFm_Kolumbra01::toggleConfirm(MenuItem& item) {
    item.Checked = !item.Checked;
}

void TFm_Kolumbra01::Mn_BreakColorClick() {
    if (!Mn_BreakColor.Checked && BreakColourAsked == 0) {
        if (prompts_.ask(
                sj("【 前行と変化したらセルの色を変える "
                   "】\r\n\r\nこの処理を行なうと編集時のレスポンスが遅くなります。"
                   "\r\n\r\nデータ数が多い時はこの処理はなるべく行なわなようにして下さい。\r\n\r\n"
                   "この処理を行なってもよろしいですか？"),
                Buttons::YesNo) != Answer::Yes)
            return;
        BreakColourAsked = 1;
    }
    Mn_BreakColor.Checked = !Mn_BreakColor.Checked;
    if (Mn_BreakColor.Checked) {
        BusyCursor busy(host_);
        Shown.recomputeBreakColours(-1, 0);
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::Mn_FixedRowSEQClick() {
    {
        BusyCursor busy(host_);
        Mn_FixedRowSEQ.Checked = !Mn_FixedRowSEQ.Checked;
        Shown.renumberRowLabels();
        UpdateCaptions();
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::Cmb_FixedRowsClick() {
    Shown.applyTitleRows();
    View.topRow = Grid.fixedRows();
    View.setCurrent(Grid.fixedCols(), Grid.fixedRows());
    Shown.renumberRowLabels();
    UpdateCaptions();
    if (GridVisible) host_.focusGrid();
}

void TFm_Kolumbra01::Cmb_KomRowClick() {
    Shown.announceReshaped(Reshape::Columns); // the column names come from another row
    host_.focusGrid();
}

void TFm_Kolumbra01::Cmb_FixedColClick() {
    showKeyColumn(false);
}

void TFm_Kolumbra01::showKeyColumn(bool columnOneEmpty) {
    if (FirstShow == 0) {
        Settings.Cmb_FixedCol = Cmb_FixedCol.ItemIndex;
        Settings.Cmb_FixedKeta = Cmb_FixedKeta.ItemIndex;
    }
    Shown.showKeyColumn(columnOneEmpty);
}

void TFm_Kolumbra01::fillKeyColumnChoice() {
    Cmb_FixedCol.Items = Shown.keyColumnItems();
    Cmb_FixedCol.ItemIndex = 0;
    if (Settings.Cmb_FixedCol < static_cast<int>(Cmb_FixedCol.Items.size()))
        Cmb_FixedCol.ItemIndex = Settings.Cmb_FixedCol;
}
void TFm_Kolumbra01::Cmb_LimColLenClick() {
    {
        BusyCursor busy(host_);
        GridVisible = false;
        readColumnLimit();
        Shown.autoFitColumns();
        Shown.applyFold();
        GridVisible = true;
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::Cmb_FoldClick() {
    {
        BusyCursor busy(host_);
        GridVisible = false;
        Shown.applyFold();
        GridVisible = true;
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::GridRowMoved(int from, int to) {
    edits::recordDrag(Doc, Axis::Rows, from, to);
    updateUndoMenu();
    Shown.breakColoursAfterMove(Axis::Rows, from, to);
    Shown.renumberRowLabels();
    UpdateCaptions();
    PopupRow = to;
}

void TFm_Kolumbra01::GridColumnMoved(int from, int to) {
    edits::recordDrag(Doc, Axis::Columns, from, to);
    updateUndoMenu();
    Shown.breakColoursAfterMove(Axis::Columns, from, to);
    numberColumns(Grid);
    fillKeyColumnChoice();
    Cmb_FixedColClick();
    UpdateCaptions();
    Shown.announceReshaped(Reshape::Columns);
    PopupCol = to;
}

void TFm_Kolumbra01::unsetPopupCell() {
    PopupCol = PopupRow = -1;
    host_.repaintGrid();
}

void TFm_Kolumbra01::setTableVisible(bool visible) {
    GridVisible = visible;
    host_.repaintStatus();
}

void TFm_Kolumbra01::Cmb_CrNextClick() {
    host_.focusGrid();
}

namespace {
void permission(CheckBox& box, bool& option, TFm_Kolumbra01& window) {
    window.PopupCol = window.PopupRow = -1;
    window.OperationRange = CellRange();
    option = box.Checked;
    box.Bold = box.Checked;
}
} // namespace

void TFm_Kolumbra01::Chk_RowSizeClick() {
    permission(Chk_RowSize, View.options.rowSizing, *this);
    if (GridVisible) host_.focusGrid();
}

void TFm_Kolumbra01::Chk_MoveRowClick() {
    permission(Chk_MoveRow, View.options.rowMoving, *this);
    if (GridVisible) host_.focusGrid();
}

void TFm_Kolumbra01::Chk_MoveColClick() {
    permission(Chk_MoveCol, View.options.colMoving, *this);
    if (GridVisible) host_.focusGrid();
}

} // namespace kol
