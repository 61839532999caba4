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

DisplaySwitches TFm_Kolumbra01::displaySwitches() const {
    DisplaySwitches v;
    v.fixedCenter = Mn_FixedCenter.Checked;
    v.dataCenter = Mn_DataCenter.Checked;
    v.trimSpace = Mn_TrimSpace.Checked;
    v.dateEdit = Mn_DateEdit.Checked;
    v.breakColor = Mn_BreakColor.Checked;
    v.karaGyoColor = Mn_KaraGyoColor.Checked;
    v.karaGyoBlack = Mn_KaraGyoBlack.Checked;
    v.folding = Cmb_Fold.ItemIndex != 1;
    return v;
}

CellScene TFm_Kolumbra01::cellScene() const {
    CellScene scene{Grid, View, RowFlags, ColInfo, MarkedColumnCount, displaySwitches(), {}};
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
    if (&item == &Mn_DateEdit && item.Checked) widenForDates();
    host_.focusGrid();
}

void TFm_Kolumbra01::widenForDates() {
    BusyCursor busy(host_);
    for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c) {
        std::uint32_t raw = 0;
        for (int r = 0; r < Grid.rowCount() && raw < 10; ++r)
            raw = std::max<std::uint32_t>(raw, static_cast<std::uint32_t>(Grid.cell(c, r).size()));
        if (raw >= 10) continue; // a date of 10 shown bytes fits wherever such a cell fits
        const int width = ColumnWidthFor(Grid.colWidth(c), shownLongest(c, raw));
        if (width == -1 || !ColInfo[c].Shown) continue;
        Grid.setColWidth(c, width);
        ColInfo[c].Width = width;
    }
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
        RecomputeBreakColours(-1, 0);
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::Mn_FixedRowSEQClick() {
    {
        BusyCursor busy(host_);
        Mn_FixedRowSEQ.Checked = !Mn_FixedRowSEQ.Checked;
        RenumberRowLabels();
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::RecomputeBreakColours(int column, int fromRow) {
    if (!Mn_BreakColor.Checked) return;
    kol::RecomputeBreakColours(Grid, RowFlags, column, fromRow);
}

void TFm_Kolumbra01::recomputeBreakRange(int first, int last, int fromRow) {
    if (Mn_BreakColor.Checked) RecomputeBreakColumnRange(Grid, RowFlags, first, last, fromRow);
}

void TFm_Kolumbra01::recomputeBreakCells(const GridRect& changed) {
    if (Mn_BreakColor.Checked) RecomputeBreakColoursAfterCells(Grid, RowFlags, changed);
}

// A moved row or column takes its bits along, but they were worked out for its old neighbours;
// later edits only walk down until the stored bits agree, so they must be right again.
void TFm_Kolumbra01::breakColoursAfterMove(Axis axis, int from, int to) {
    if (axis == Axis::Rows)
        RecomputeBreakColours(-1, std::min(from, to));
    else
        recomputeBreakColumns(std::min(from, to), std::max(from, to));
}

void TFm_Kolumbra01::RenumberRowLabels() {
    const RowLabelRule rule{Mn_FixedRowSEQ.Checked, fixedRowsIndex()};
    for (int r = 1; r < Grid.rowCount(); ++r) Grid.setCell(0, r, kol::RowLabel(r, true, rule));
    fitLabelColumn();
    applyFixedRows();
    UpdateCaptions();
    if (Search) Search->ResetResults(false);
}

void TFm_Kolumbra01::fitLabelColumn() {
    // Nine letters hold every label up to "999,999"; a longer table widens the column to its
    // longest label, and a table that shrinks back gets the standard width again.
    const std::string last = RowLabel(Grid.rowCount() - 1, false);
    const int letters = static_cast<int>(GroupThousands(last).size()) + 2;
    if (letters > 9) {
        Grid.setColWidth(0, letters * LetterWidth);
        labelColumnWidened_ = true;
    } else if (labelColumnWidened_) {
        Grid.setColWidth(0, 9 * LetterWidth);
        labelColumnWidened_ = false;
    }
}

void TFm_Kolumbra01::applyFixedRows() {
    if (Cmb_FixedRows.ItemIndex >= 0)
        Grid.setFixedRows(std::min(Grid.rowCount() - 1, Cmb_FixedRows.ItemIndex + 1));
}

void TFm_Kolumbra01::Cmb_FixedRowsClick() {
    applyFixedRows();
    View.topRow = Grid.fixedRows();
    View.setCurrent(Grid.fixedCols(), Grid.fixedRows());
    RenumberRowLabels();
    if (GridVisible) host_.focusGrid();
}

void TFm_Kolumbra01::Cmb_KomRowClick() {
    columnsChanged();
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
    const int w = LetterWidth;
    Grid.setCell(0, 0, "No.");
    if (Cmb_FixedCol.ItemIndex > 0) {
        Grid.setCell(1, 0, sj("固定列"));
        Grid.setColWidth(1, std::max(Cmb_FixedKeta.ItemIndex, 0) * w);
    } else {
        Grid.setCell(1, 0, "");
        Grid.setCell(1, 1, "");
        Grid.setColWidth(1, w);
    }
    if (!ColInfo.empty()) ColInfo[1].Width = Grid.colWidth(1);
    FillFixedColumn(columnOneEmpty);
}

void TFm_Kolumbra01::FillFixedColumn(bool columnOneEmpty) {
    const int k = Cmb_FixedCol.ItemIndex;
    const int source = k > 0 && k + 1 < Grid.colCount() ? k + 1 : -1;
    if (source < 0) {
        if (columnOneEmpty) return;
        // Nothing to copy: only clear what a previous key column left.
        for (int r = 1; r < Grid.rowCount(); ++r)
            if (!Grid.cell(1, r).empty()) Grid.setCell(1, r, "");
        return;
    }
    // Every row changes: rebuild them all in one pass rather than one allocation per row.
    struct Context {
        int source;
    } context{source};
    Grid.rebuildAllRows(
        [](void* ctx, int r, std::vector<std::string_view>& cells, std::string& scratch) {
            if (r == 0) return;
            const int from = static_cast<Context*>(ctx)->source;
            std::string_view value =
                from < static_cast<int>(cells.size()) ? cells[from] : std::string_view();
            scratch = " " + Trim(value);
            if (cells.size() < 2) cells.resize(2);
            cells[1] = scratch;
        },
        &context);
}

void TFm_Kolumbra01::BuildFixedColList() {
    Cmb_FixedCol.Items = {sj(" 無し")};
    Cmb_FixedCol.ItemIndex = 0;
    for (int c = Grid.fixedCols(); c < Grid.colCount(); ++c)
        Cmb_FixedCol.Items.push_back(" " + std::to_string(c - Grid.fixedCols() + 1) + ". " +
                                     Trim(Grid.cell(c, 1)));
    if (Settings.Cmb_FixedCol < static_cast<int>(Cmb_FixedCol.Items.size()))
        Cmb_FixedCol.ItemIndex = Settings.Cmb_FixedCol;
}

void TFm_Kolumbra01::Cmb_LimColLenClick() {
    {
        BusyCursor busy(host_);
        GridVisible = false;
        AutoFitColumns();
        ApplyFold();
        GridVisible = true;
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::ApplyFold() {
    kol::ApplyFold(Grid, displaySwitches(), Cmb_Fold.ItemIndex < 0 ? 0 : Cmb_Fold.ItemIndex,
                   LetterWidth, LetterHeight);
}

void TFm_Kolumbra01::Cmb_FoldClick() {
    {
        BusyCursor busy(host_);
        GridVisible = false;
        ApplyFold();
        GridVisible = true;
    }
    host_.focusGrid();
}

void TFm_Kolumbra01::GridRowMoved(int from, int to) {
    edits::recordDrag(Doc, Axis::Rows, from, to);
    updateUndoMenu();
    breakColoursAfterMove(Axis::Rows, from, to);
    RenumberRowLabels();
    PopupRow = to;
}

void TFm_Kolumbra01::GridColumnMoved(int from, int to) {
    edits::recordDrag(Doc, Axis::Columns, from, to);
    updateUndoMenu();
    breakColoursAfterMove(Axis::Columns, from, to);
    numberColumns(Grid);
    BuildFixedColList();
    Cmb_FixedColClick();
    UpdateCaptions();
    columnsChanged();
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
