#include "view/table_view.h"

#include "table/separators.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "view/break_colours.h"
#include "view/fold.h"

#include <algorithm>
#include <cmath>

namespace kol {

void TableView::cellsChanged(const GridRect& cells) {
    if (switches_.breakColours()) RecomputeBreakColoursAfterCells(doc_.Grid, doc_.RowFlags, cells);
    listeners_.cellsChanged(cells);
}

void TableView::cellEdited(int c, int r, std::string_view text) {
    StringGrid& grid = doc_.Grid;
    const int width = columnWidthFor(
        grid.colWidth(c), static_cast<double>(displayLength(text, switches_.displaySwitches())));
    if (width != -1) grid.setColWidth(c, width);
    const int key = switches_.keyColumnChoice();
    if (key > 0 && c == key + 1 && grid.fixedCols() > 1) grid.setCell(1, r, " " + Trim(text));
    cellsChanged(GridRect{c, r, c, r});
}

// ---- row labels -------------------------------------------------------------------------------

std::string TableView::rowLabel(long long n, bool blankIfNotPositive) const {
    return RowLabel(n, blankIfNotPositive, switches_.rowLabelRule());
}

void TableView::renumberRowLabels() {
    StringGrid& grid = doc_.Grid;
    const RowLabelRule rule = switches_.rowLabelRule();
    for (int r = 1; r < grid.rowCount(); ++r) grid.setCell(0, r, RowLabel(r, true, rule));
    fitLabelColumn();
    applyTitleRows();
    announceReshaped(Reshape::Rows);
}

void TableView::fitLabelColumn() {
    StringGrid& grid = doc_.Grid;
    // Nine letters hold every label up to "999,999"; a longer table widens the column to its
    // longest label, and a table that shrinks back gets the standard width again.
    const std::string last = rowLabel(grid.rowCount() - 1, false);
    const int letters = static_cast<int>(GroupThousands(last).size()) + 2;
    if (letters > 9) {
        grid.setColWidth(0, letters * switches_.metrics().letterWidth);
        labelColumnWidened_ = true;
    } else if (labelColumnWidened_) {
        resetLabelColumn();
    }
}

void TableView::resetLabelColumn() {
    doc_.Grid.setColWidth(0, 9 * switches_.metrics().letterWidth);
    labelColumnWidened_ = false;
}

void TableView::applyTitleRows() {
    const int choice = switches_.titleRowsChoice();
    if (choice >= 0) doc_.Grid.setFixedRows(std::min(doc_.Grid.rowCount() - 1, choice + 1));
}

// ---- the key column ---------------------------------------------------------------------------

void TableView::showKeyColumn(bool columnOneEmpty) {
    StringGrid& grid = doc_.Grid;
    const int w = switches_.metrics().letterWidth;
    grid.setCell(0, 0, "No.");
    if (switches_.keyColumnChoice() > 0) {
        grid.setCell(1, 0, sj("固定列"));
        grid.setColWidth(1, std::max(switches_.keyColumnLetters(), 0) * w);
    } else {
        grid.setCell(1, 0, "");
        grid.setCell(1, 1, "");
        grid.setColWidth(1, w);
    }
    if (!doc_.ColInfo.empty()) doc_.ColInfo[1].Width = grid.colWidth(1);
    fillKeyColumn(columnOneEmpty);
}

void TableView::fillKeyColumn(bool columnOneEmpty) {
    StringGrid& grid = doc_.Grid;
    const int k = switches_.keyColumnChoice();
    const int source = k > 0 && k + 1 < grid.colCount() ? k + 1 : -1;
    if (source < 0) {
        if (columnOneEmpty) return;
        // Nothing to copy: only clear what a previous key column left.
        for (int r = 1; r < grid.rowCount(); ++r)
            if (!grid.cell(1, r).empty()) grid.setCell(1, r, "");
        return;
    }
    // Every row changes: rebuild them all in one pass rather than one allocation per row.
    struct Context {
        int source;
    } context{source};
    grid.rebuildAllRows(
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

std::vector<std::string> TableView::keyColumnItems() const {
    const StringGrid& grid = doc_.Grid;
    std::vector<std::string> items{sj(" 無し")};
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c)
        items.push_back(" " + std::to_string(c - grid.fixedCols() + 1) + ". " +
                        Trim(grid.cell(c, 1)));
    return items;
}

// ---- break colours ----------------------------------------------------------------------------

void TableView::recomputeBreakColours(int column, int fromRow) {
    if (switches_.breakColours()) RecomputeBreakColours(doc_.Grid, doc_.RowFlags, column, fromRow);
}

void TableView::recomputeBreakRange(int first, int last, int fromRow) {
    if (switches_.breakColours())
        RecomputeBreakColumnRange(doc_.Grid, doc_.RowFlags, first, last, fromRow);
}

// A moved row or column takes its bits along, but they were worked out for its old neighbours;
// later edits only walk down until the stored bits agree, so they must be right again.
void TableView::breakColoursAfterMove(Axis axis, int from, int to) {
    if (axis == Axis::Rows)
        recomputeBreakColours(-1, std::min(from, to));
    else
        recomputeBreakColumns(std::min(from, to), std::max(from, to));
}

// ---- column widths ----------------------------------------------------------------------------

int TableView::columnWidthFor(int currentWidth, double length) const {
    double d = std::min(length + 1.5, switches_.columnLimit());
    if (switches_.separator() == kNoSeparator) d = 80;
    const double f = d * switches_.metrics().letterWidth;
    return f > currentWidth ? static_cast<int>(std::trunc(f)) : -1;
}

std::uint32_t TableView::shownLongest(int c, std::uint32_t rawLongest) const {
    // Date editing lengthens a 6- or 8-digit number by its two slashes; nothing else that is
    // shown is longer than the cell, so only such columns need a look at their cells.
    const DisplaySwitches view = switches_.displaySwitches();
    if (!view.dateEdit || rawLongest < 6 || rawLongest >= 10) return rawLongest;
    const StringGrid& grid = doc_.Grid;
    std::uint32_t longest = rawLongest;
    for (int r = 0; r < grid.rowCount(); ++r)
        longest = std::max<std::uint32_t>(
            longest, static_cast<std::uint32_t>(displayLength(grid.cell(c, r), view)));
    return longest;
}

bool TableView::someCellFolds(const std::vector<std::uint32_t>& longest) const {
    const StringGrid& grid = doc_.Grid;
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c) {
        const int width = grid.colWidth(c);
        const double shown = c < static_cast<int>(longest.size()) ? longest[c] : 0;
        if (width > 0 && shown * switches_.metrics().letterWidth > width) return true;
    }
    return false;
}

void TableView::resetWidths(bool oneCell) {
    StringGrid& grid = doc_.Grid;
    for (int c = 0; c < grid.colCount(); ++c) grid.setColWidth(c, 0);
    const GridMetrics m = switches_.metrics();
    grid.setDefaultRowHeight(m.rowHeight);
    grid.setDefaultColWidth(12 * m.letterWidth);
    resetLabelColumn();
    grid.setColWidth(1, m.letterWidth);
    if (oneCell) {
        grid.setColWidth(2, grid.defaultColWidth());
        const int fitted = columnWidthFor(grid.colWidth(2), 12);
        if (fitted != -1) grid.setColWidth(2, fitted);
    }
}

void TableView::fitFilledTable(const std::vector<std::uint32_t>& longestField) {
    const StringGrid& grid = doc_.Grid;
    // The split measured every field; the header row's numbers are the only other text.
    std::vector<std::uint32_t> longest(grid.colCount(), 0);
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c) {
        const std::size_t field = static_cast<std::size_t>(c - grid.fixedCols());
        longest[c] = shownLongest(
            c, std::max<std::uint32_t>(field < longestField.size() ? longestField[field] : 0,
                                       static_cast<std::uint32_t>(grid.cell(c, 0).size())));
    }
    fitColumns(longest);
    fitLabelColumn();
    // The rows of a fresh table all have the default height; only a cell wider than its column
    // can change that.
    if (someCellFolds(longest)) applyFold();
}

void TableView::fitColumns(const std::vector<std::uint32_t>& longest) {
    StringGrid& grid = doc_.Grid;
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c) {
        grid.setColWidth(c, 5 * switches_.metrics().letterWidth);
        const double length = c < static_cast<int>(longest.size()) ? longest[c] : 0;
        const int width = columnWidthFor(grid.colWidth(c), length);
        if (width != -1) grid.setColWidth(c, width);
        doc_.ColInfo[c].Width = grid.colWidth(c);
    }
}

void TableView::autoFitColumns() {
    const StringGrid& grid = doc_.Grid;
    std::vector<std::uint32_t> longest(grid.colCount(), 0);
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = grid.fixedCols(); c < grid.colCount(); ++c)
            longest[c] = std::max<std::uint32_t>(
                longest[c], static_cast<std::uint32_t>(grid.cell(c, r).size()));
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c)
        longest[c] = shownLongest(c, longest[c]);
    fitColumns(longest);
}

void TableView::fitNewColumns(int first, int count) {
    StringGrid& grid = doc_.Grid;
    for (int c = first; c < first + count && c < grid.colCount(); ++c) {
        grid.setColWidth(c, grid.defaultColWidth());
        const int widened = columnWidthFor(grid.colWidth(c), 12);
        if (widened != -1) grid.setColWidth(c, widened);
        doc_.ColInfo[c].Width = grid.colWidth(c);
    }
}

void TableView::widenForDates() {
    StringGrid& grid = doc_.Grid;
    for (int c = grid.fixedCols(); c < grid.colCount(); ++c) {
        std::uint32_t raw = 0;
        for (int r = 0; r < grid.rowCount() && raw < 10; ++r)
            raw = std::max<std::uint32_t>(raw, static_cast<std::uint32_t>(grid.cell(c, r).size()));
        if (raw >= 10) continue; // a date of 10 shown bytes fits wherever such a cell fits
        const int width = columnWidthFor(grid.colWidth(c), shownLongest(c, raw));
        if (width == -1 || !doc_.ColInfo[c].Shown) continue;
        grid.setColWidth(c, width);
        doc_.ColInfo[c].Width = width;
    }
}

// ---- folding ----------------------------------------------------------------------------------

void TableView::applyFold() {
    ApplyFold(doc_.Grid, switches_.displaySwitches(), std::max(switches_.foldChoice(), 0),
              switches_.metrics().letterWidth, switches_.metrics().letterHeight);
}

} // namespace kol
