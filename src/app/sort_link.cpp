#include "app/sort_link.h"

namespace kol {

int MainSortLink::columnNameRow() const {
    return main_.komRowIndex();
}

std::string MainSortLink::columnNameChoice() const {
    return main_.Cmb_KomRow.text();
}

RowLabelRule MainSortLink::rowLabels() const {
    return main_.ViewSwitches.rowLabelRule();
}

void MainSortLink::sortStarting() {
    main_.ClearHistory(true);
    unsetPopupCell();
}

void MainSortLink::setTableVisible(bool visible) {
    main_.setTableVisible(visible);
}

void MainSortLink::sortFinished(bool rowsSorted) {
    // Column numbers, the key-column list and column 1, captions, the sort window's lists.
    main_.RefreshAfterStructureChange();
    if (rowsSorted) main_.Shown.recomputeBreakColours(-1, main_.Grid.fixedRows());
    main_.host().repaintGrid();
}

void MainSortLink::unsetPopupCell() {
    main_.unsetPopupCell();
}

void MainSortLink::setColumnShown(int column, bool shown) {
    main_.SetColumnShown(column, shown);
    main_.host().repaintGrid();
}

void MainSortLink::activate() {
    main_.host().bringToFront();
    main_.host().focusGrid();
}

} // namespace kol
