// The undo history from the window's side: the Edit menu's captions, and bringing the window up
// to date after an entry has taken itself back.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "text/cp932.h"

#include <algorithm>

namespace kol {

std::size_t TFm_Kolumbra01::historySize() const {
    return Doc.History.size();
}

void TFm_Kolumbra01::ClearHistory(bool removeHighlight) {
    Doc.History.clear();
    if (removeHighlight) UndoHighlight = GridRect();
    updateUndoMenu();
}

void TFm_Kolumbra01::RecordCell(HistoryKind kind, int column, int row) {
    edits::recordCell(Doc, kind, column, row);
    updateUndoMenu();
}

void TFm_Kolumbra01::DropEditorEntries() {
    edits::dropEditorEntries(Doc);
    updateUndoMenu();
}

void TFm_Kolumbra01::updateUndoMenu() {
    for (MenuItem* item : {&Mn_Undo, &Mn2_Undo}) {
        item->Enabled = false;
        item->Caption = sj("元に戻す");
    }
    if (Doc.History.empty()) return;
    const UndoEntry& newest = Doc.History.newest();
    // The record editor's entries are taken back from its own menu.
    MenuItem& item = newest.scope() == UndoScope::Table ? Mn_Undo : Mn2_Undo;
    const std::size_t number = Doc.History.menuNumber();
    item.Caption =
        sj("元に戻す  ") + "#" + std::to_string(number) + sj("  【") + newest.name() + sj("】");
    item.Enabled = true;
}

void TFm_Kolumbra01::selectAndShow(GridRect rect) {
    OperationRange = CellRange(rect.left, rect.top, rect.right, rect.bottom);
    selectClamped(rect);
    UndoHighlight = View.selection;
    const GridRect& r = View.selection;
    if (View.topRow >= r.top || r.top >= View.topRow + View.visibleRowCount - 1)
        View.topRow = r.top - 1 > Grid.fixedRows() ? r.top - 1 : r.top;
    if (View.leftCol >= r.left || r.left >= View.leftCol + View.visibleColCount - 1)
        View.leftCol = std::max(r.left - 1, Grid.fixedCols());
}

void TFm_Kolumbra01::Mn_UndoClick() {
    OperationRange = CellRange();
    BusyCursor busy(host_);
    // A group (a clipped move's two halves, an import with the columns it appended) goes back
    // as one step.
    for (bool more = true; more;) {
        const UndoOutcome outcome = edits::undoNewest(Doc, more);
        applyUndo(outcome);
        if (outcome.scope == UndoScope::Table) host_.focusGrid();
    }
    if (Doc.History.empty())
        ClearHistory(false);
    else
        updateUndoMenu();
}

void TFm_Kolumbra01::applyUndo(const UndoOutcome& outcome) {
    using Change = UndoOutcome::Change;
    // The record editor selects in its own grid; the table is as it was.
    if (outcome.scope != UndoScope::Table) {
        Record->undoneCell(outcome.select);
        return;
    }
    const bool rows = outcome.axis == Axis::Rows;
    switch (outcome.change) {
    case Change::None:
        return;
    case Change::Cells:
        Shown.cellsChanged(outcome.cells);
        break;
    case Change::LinesRemoved:
        if (rows)
            rowsRemoved(outcome.first, false);
        else
            colsRemoved(outcome.first, false);
        break;
    case Change::LinesAdded:
        if (rows) {
            rowsInserted(outcome.first, outcome.count);
            if (!outcome.clipTakenBack) Shown.recomputeBreakColours(-1, outcome.first);
        } else {
            colsInserted(outcome.first, outcome.count);
            Shown.recomputeBreakColumns(outcome.first, Grid.colCount() - 1);
        }
        if (outcome.clipTakenBack) {
            ClipRange = GridRect();
            ClipKind = ClipContent::None;
        }
        break;
    case Change::LineMoved:
        Shown.breakColoursAfterMove(outcome.axis, outcome.movedFrom, outcome.first);
        if (rows) {
            Shown.renumberRowLabels();
            UpdateCaptions();
        } else
            RefreshAfterStructureChange();
        break;
    }
    if (outcome.select.valid()) selectAndShow(outcome.select);
}

} // namespace kol
