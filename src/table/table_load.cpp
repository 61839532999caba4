#include "table/table_load.h"

#include "table/io_status.h"
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

TableLoadResult readTableSource(const std::string& path, SourceText& source, std::size_t maxLines) {
    TableLoadResult result;
    result.status = SourceText::readFile(path, source, &result.error);
    if (!result.ok()) return result;
    result.droppedFromNul = source.bytesFromNul();
    result.lines = countSourceLines(source);
    if (source.changedWhileReading()) {
        source.release();
        result.status = SourceText::ReadStatus::Changed;
        result.error = kChangedWhileReading;
        return result;
    }
    if (!tableFits(source.text(), result.lines, maxLines)) {
        source.release();
        result.status = SourceText::ReadStatus::TooLarge;
        result.error = EOVERFLOW;
    }
    return result;
}

TableLoadResult loadTableSource(SourceText& source, std::size_t lines, TableDocument& document,
                                const TableLoadOptions& options) {
    TableLoadResult result;
    result.lines = lines;
    result.droppedFromNul = source.bytesFromNul();
    document.History.clear();
    // The rows' and columns' records are set up once the rows are in: held through the fill,
    // the previous table's would add their size to the load's peak memory.
    std::vector<RowFlag>().swap(document.RowFlags);
    std::vector<ColInfoRec>().swap(document.ColInfo);
    FillProgress progress;
    if (options.progress) progress = [&](std::size_t line) { options.progress(line, lines); };
    try {
        resetTableShape(document.Grid, 0, static_cast<int>(lines), options.labels);
        result.filled =
            fillTable(document, source, lines, options.separator, options.labels, progress);
    } catch (const std::bad_alloc&) {
        // Never part of the source as if it were all of it: an empty table and the reason.
        source.release();
        resetEmptyTable(document, options.labels);
        result.status = SourceText::ReadStatus::TooLarge;
        result.error = ENOMEM;
        return result;
    } catch (...) {
        source.release();
        resetEmptyTable(document, options.labels);
        throw;
    }
    if (source.changedWhileReading()) {
        // The rows hold NUL bytes where the file was cut: they are not the file.
        source.release();
        resetEmptyTable(document, options.labels);
        result.status = SourceText::ReadStatus::Changed;
        result.error = kChangedWhileReading;
        return result;
    }
    // Nothing reads the raw text after this; a large file is not kept twice.
    source.release();
    document.Grid.setFixedRows(std::min(document.Grid.rowCount() - 1, options.titleRows));
    return result;
}

TableLoadResult loadTableFile(const std::string& path, TableDocument& document,
                              const TableLoadOptions& options) {
    SourceText source;
    TableLoadResult read = readTableSource(path, source, options.maxLines);
    if (!read.ok()) return read;
    document.Modified = 0;
    return loadTableSource(source, read.lines, document, options);
}

void resetEmptyTable(TableDocument& document, const RowLabelRule& labels) {
    document.History.clear();
    document.Modified = 0;
    resetTableShape(document.Grid, 0, 0, labels);
    document.resetAttributes();
}

std::string loadFailureMessage(const std::string& path, int error) {
    return sj("ファイルを読み込めませんでした。\r\n\r\n") + readFailureDetail(path, error);
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
