#include "table/table_load.h"

#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <string_view>
#include <vector>

namespace kol {

void resetTableShape(StringGrid& grid, int columns, int rows, const RowLabelRule& labels) {
    grid.clearCells();
    grid.setFixedRows(0);
    grid.setFixedCols(0);
    grid.setRowCount(rows > 0 ? rows + 1 : 2);
    grid.setColCount(columns > 0 ? columns + 2 : 3);
    grid.setFixedRows(1);
    grid.setFixedCols(2);
    grid.setCell(0, 0, "No.");
    grid.setCell(1, 1, "");
    grid.setCell(0, 1, RowLabel(1, true, labels));
    numberColumns(grid);
}

void numberColumns(StringGrid& grid) {
    const int first = grid.fixedCols();
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<std::size_t>(std::max(grid.colCount() - first, 0)));
    bool same = true;
    for (int c = first; c < grid.colCount(); ++c) {
        numbers.push_back(std::to_string(c - first + 1));
        same = same && grid.cell(c, 0) == numbers.back();
    }
    if (same) return;
    // One rebuild of the row: cell by cell, a row of n columns would be copied n times.
    std::vector<std::string_view> cells = grid.rowCells(0);
    for (int c = first; c < grid.colCount(); ++c) cells[c] = numbers[c - first];
    grid.setRowCells(0, cells);
}

FillResult fillTable(TableDocument& document, const SourceText& source, std::size_t lineCount,
                     unsigned char separator, const RowLabelRule& labels,
                     const FillProgress& progress) {
    StringGrid& grid = document.Grid;
    FillResult filled = FillRows(grid, source, lineCount, separator, labels, progress);
    const int oldCols = grid.colCount();
    const int wanted = static_cast<int>(filled.maxFields) + grid.fixedCols();
    if (wanted > oldCols) {
        grid.setColCount(wanted);
        for (int c = oldCols; c < wanted; ++c) grid.setColWidth(c, grid.defaultColWidth());
        numberColumns(grid);
    }
    document.resetAttributes();
    return filled;
}

bool tableFits(std::string_view text, std::size_t lines, std::size_t maxLines) {
    if (lines > maxLines) return false;
    if (text.size() <= kMaxLineBytes) return true;
    for (LineCursor cursor(text); !cursor.atEnd();)
        if (cursor.next().size() > kMaxLineBytes) return false;
    return true;
}

TableLoadResult readTableSource(const std::string& path, SourceText& source, std::size_t& lines,
                                std::size_t maxLines) {
    TableLoadResult result;
    result.status = SourceText::readFile(path, source, &result.error);
    if (!result.ok()) return result;
    result.droppedFromNul = source.bytesFromNul();
    lines = countSourceLines(source);
    if (!tableFits(source.text(), lines, maxLines)) {
        source.release();
        result.status = SourceText::ReadStatus::TooLarge;
        result.error = EOVERFLOW;
    }
    return result;
}

TableLoadResult loadTableFile(const std::string& path, TableDocument& document,
                              const TableLoadOptions& options) {
    SourceText source;
    std::size_t lines = 0;
    TableLoadResult result = readTableSource(path, source, lines, options.maxLines);
    if (!result.ok()) return result;
    document.History.clear();
    document.Modified = 0;
    try {
        resetTableShape(document.Grid, 0, static_cast<int>(lines), options.labels);
        fillTable(document, source, lines, options.separator, options.labels);
    } catch (const std::bad_alloc&) {
        // Never part of the file as if it were all of it: an empty table and the reason.
        source.release();
        resetEmptyTable(document, options.labels);
        result.status = SourceText::ReadStatus::TooLarge;
        result.error = ENOMEM;
        return result;
    }
    document.Grid.setFixedRows(std::min(document.Grid.rowCount() - 1, options.titleRows));
    return result;
}

void resetEmptyTable(TableDocument& document, const RowLabelRule& labels) {
    document.History.clear();
    document.Modified = 0;
    resetTableShape(document.Grid, 0, 0, labels);
    document.resetAttributes();
}

std::string nulCutMessage(const std::string& path, std::size_t droppedBytes) {
    return sj("ファイルの途中に NUL 文字（バイナリーデータ）があります。\r\n\r\n"
              "NUL 文字から後の ") +
           GroupThousands(std::to_string(droppedBytes)) +
           sj(" バイトは読み込まれていません。\r\n"
              "このファイルに上書き保存すると、その部分は失われます。\r\n\r\n   PATH = ") +
           displayPath(path);
}

} // namespace kol
