// The main window's prints: the whole table, the lines of the operation range, the selected
// block, and the hand-off to the print preview that every table print goes through.
#include "app/kolumbra01.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <charconv>

namespace kol {

namespace {
constexpr int kPrintRowLimit = 100; // rows laid out before the preview's creation command

// Wide enough for the last row's label and a little margin.
int labelColumnWidth(const StringGrid& grid, int letterWidth) {
    const std::string label = Trim(grid.cell(0, grid.rowCount() - 1));
    return (static_cast<int>(label.size()) + 2) * letterWidth;
}
} // namespace

std::string TFm_Kolumbra01::fileHeading() const {
    return "File.Name:  " + Trim(CsvFileInf.FileName);
}

void TFm_Kolumbra01::PrintGrid(const StringGrid& grid, const print::HeadingLines& headings,
                               int rowLimit) {
    print::PrintRequest request;
    request.source = &grid;
    request.mode = print::PrintMode::Table;
    request.headings = headings;
    request.initialRowLimit = rowLimit;
    request.maxLinesPerCell = std::max(Cmb_Fold.ItemIndex, 0);
    request.settings = Settings.GridPrint;
    request.sourceFont = print::CanvasFont{std::string(print::kPrintFace), FontPixels};
    // The temporary HTML goes beside the settings, never beside the program.
    request.dataFolder = directoryOf(SettingsPath);
    host_.openPrintPreview(request);
    Settings.GridPrint = request.settings;
}

void TFm_Kolumbra01::Mn_GridPrintClick() {
    setTableVisible(false);
    std::vector<int> widths(static_cast<std::size_t>(Grid.colCount()));
    for (int c = 0; c < Grid.colCount(); ++c) {
        widths[static_cast<std::size_t>(c)] = Grid.colWidth(c);
        if (c < static_cast<int>(ColInfo.size()) && ColInfo[c].Shown == 0) Grid.setColWidth(c, 0);
    }
    Grid.setColWidth(0, labelColumnWidth(Grid, LetterWidth));
    if (Cmb_FixedCol.ItemIndex <= 0 && Grid.colCount() > 1) Grid.setColWidth(1, 0);
    PrintGrid(Grid, {fileHeading(), "", "", ""}, kPrintRowLimit);
    for (int c = 0; c < Grid.colCount() && c < static_cast<int>(widths.size()); ++c)
        Grid.setColWidth(c, widths[static_cast<std::size_t>(c)]);
    pnlBase.Caption.clear();
    setTableVisible(true);
    host_.focusGrid();
}

void TFm_Kolumbra01::buildWorkGrid(const std::vector<int>& rows, const std::vector<int>& cols) {
    const int fixedRows = Grid.fixedRows(), fixedCols = Grid.fixedCols();
    resetWorkGrid();
    WorkGrid.setRowCount(fixedRows + static_cast<int>(rows.size()));
    WorkGrid.setColCount(fixedCols + static_cast<int>(cols.size()));
    WorkGrid.setFixedRows(fixedRows);
    WorkGrid.setFixedCols(fixedCols);
    for (int c = 0; c < fixedCols; ++c) WorkGrid.setColWidth(c, Grid.colWidth(c));
    for (std::size_t k = 0; k < cols.size(); ++k)
        WorkGrid.setColWidth(fixedCols + static_cast<int>(k), Grid.colWidth(cols[k]));
    std::vector<std::string_view> cells;
    auto copyRow = [&](int from, int to) {
        cells.clear();
        for (int c = 0; c < fixedCols; ++c) cells.push_back(Grid.cell(c, from));
        for (int c : cols) cells.push_back(Grid.cell(c, from));
        WorkGrid.setRowCells(to, cells);
        WorkGrid.setRowHeight(to, Grid.rowHeight(from));
    };
    for (int r = 0; r < fixedRows; ++r) copyRow(r, r);
    for (std::size_t k = 0; k < rows.size(); ++k) copyRow(rows[k], fixedRows + static_cast<int>(k));
}

void TFm_Kolumbra01::printWorkGrid() {
    WorkGrid.setColWidth(0, labelColumnWidth(WorkGrid, LetterWidth));
    if (Cmb_FixedCol.ItemIndex <= 0 && WorkGrid.colCount() > 1) WorkGrid.setColWidth(1, 0);
    // A copied column knows its table column by the number in its first row.
    for (int c = WorkGrid.fixedCols(); c < WorkGrid.colCount(); ++c) {
        const std::string number = Trim(WorkGrid.cell(c, 0));
        int n = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
        if (error != std::errc() || end != number.data() + number.size()) continue;
        const int column = n - 1 + Grid.fixedCols();
        if (column >= Grid.fixedCols() && column < static_cast<int>(ColInfo.size()) &&
            ColInfo[column].Shown == 0)
            WorkGrid.setColWidth(c, 0);
    }
    PrintGrid(WorkGrid, {fileHeading(), "", "", ""}, kPrintRowLimit);
}

// The operation range's rows or columns, or the line of the cell pressed; only data lines.
void TFm_Kolumbra01::printLines(Axis axis) {
    const bool rowsAxis = axis == Axis::Rows;
    const IndexRange& range = rowsAxis ? OperationRange.rows : OperationRange.cols;
    const int first = OperationRange.set() ? range.first() : rowsAxis ? PopupRow : PopupCol;
    const int count = OperationRange.set() ? range.count() : 1;
    {
        BusyCursor busy(host_);
        std::vector<int> lines, all;
        for (int i = first; i < first + count; ++i)
            if (i >= Doc.fixedLines(axis) && i < Doc.lineCount(axis)) lines.push_back(i);
        const Axis across = rowsAxis ? Axis::Columns : Axis::Rows;
        for (int i = Doc.fixedLines(across); i < Doc.lineCount(across); ++i) all.push_back(i);
        if (rowsAxis)
            buildWorkGrid(lines, all);
        else
            buildWorkGrid(all, lines);
    }
    printWorkGrid();
    resetWorkGrid();
}

void TFm_Kolumbra01::Pm_RowPrintClick() {
    printLines(Axis::Rows);
}

void TFm_Kolumbra01::Pm_ColPrintClick() {
    printLines(Axis::Columns);
}

void TFm_Kolumbra01::Pm_RangePrintCellClick() {
    const GridRect sel = View.selection;
    PopupCol = sel.left;
    PopupRow = sel.top;
    OperationRange = CellRange(sel.left, sel.top, sel.right, sel.bottom);
    PopupKind = Popup::Cell;
    {
        BusyCursor busy(host_);
        std::vector<int> rows, cols;
        for (int r = std::max(sel.top, Grid.fixedRows()); r <= sel.bottom && r < Grid.rowCount();
             ++r)
            rows.push_back(r);
        for (int c = std::max(sel.left, Grid.fixedCols()); c <= sel.right && c < Grid.colCount();
             ++c)
            cols.push_back(c);
        buildWorkGrid(rows, cols);
    }
    printWorkGrid();
    resetWorkGrid();
}

// The cell popup's line prints act on the selection's rows or columns, as the line popups
// would, with that popup's kind while they run.
void TFm_Kolumbra01::onSelectedLines(Axis axis, void (TFm_Kolumbra01::*command)()) {
    const GridRect sel = View.selection;
    PopupCol = sel.left;
    PopupRow = sel.top;
    OperationRange = axis == Axis::Rows
                         ? CellRange(Grid.fixedCols(), sel.top, Grid.colCount() - 1, sel.bottom)
                         : CellRange(sel.left, Grid.fixedRows(), sel.right, Grid.rowCount() - 1);
    PopupKind = axis == Axis::Rows ? Popup::Row : Popup::Column;
    host_.repaintGrid();
    (this->*command)();
    PopupKind = Popup::Cell;
}

void TFm_Kolumbra01::Pm_RangePrintRowClick() {
    onSelectedLines(Axis::Rows, &TFm_Kolumbra01::Pm_RowPrintClick);
}

void TFm_Kolumbra01::Pm_RangePrintColClick() {
    onSelectedLines(Axis::Columns, &TFm_Kolumbra01::Pm_ColPrintClick);
}

} // namespace kol
