// Importing rows from a CSV file or from the clipboard at a row of the table.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "table/csv_form.h"
#include "table/io_status.h"
#include "table/load_memory.h"
#include "table/source_text.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>

namespace kol {

namespace {
const char* kFilter = "(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*";
} // namespace

void TFm_Kolumbra01::Pm_RowInsertFileClick(Sender sender) {
    const int p = PopupRow;
    if (p < Grid.fixedRows() || p >= Grid.rowCount()) return;
    const bool fromFile = sender == Sender::RowInsertFile;
    std::string fileName;
    SourceText source;
    std::size_t lineCount = 0;
    std::size_t droppedFromNul = 0;
    if (fromFile) {
        std::string proposed = Settings.Path_SelectFile;
        if (Trim(proposed).empty()) proposed = joinPath(programDir_, "*.csv");
        FileDialogRequest request;
        const std::string ext = extensionOf(proposed);
        request.filter =
            (!ext.empty() && ext != ".") ? "(*" + ext + ")|*" + ext + "|" + kFilter : kFilter;
        request.title = sj("指定行位置に挿入するＣＳＶファイルを選択して下さい。");
        request.directory = directoryOf(proposed);
        request.fileName = proposed;
        request.mustExist = true;
        fileName = prompts_.openFileName(request);
        if (fileName.empty()) return;
        Settings.Path_SelectFile = fileName;
        // Read as a load reads, with its checks (devices, memory, the line limit: the table
        // with the rows imported may hold no more lines than a loaded one) and its message
        // and reason on failure. Nothing has changed yet, so nothing is ever half imported.
        const std::size_t present = static_cast<std::size_t>(Grid.rowCount() - 1);
        const TableLoadResult read =
            readTableSource(fileName, source, MaxTableLines - std::min(MaxTableLines, present));
        if (!read.ok()) {
            prompts_.fail(loadFailureMessage(fileName, read.error));
            return;
        }
        lineCount = read.lines;
        droppedFromNul = read.droppedFromNul;
    } else {
        source = SourceText(clipboard_.hasText() ? clipboard_.text() : std::string());
        lineCount = countLines(source.text());
    }

    const unsigned char kept = CurrentSeparator;
    if (lineCount == 0) {
        prompts_.inform(sj("挿入できるデータはありません。"));
        return;
    }
    const std::string count = std::to_string(lineCount);
    std::string question =
        fromFile ? sj("このファイルを挿入します。\r\n\r\n   Path = ") + displayPath(fileName) +
                       "\r\n\r\n" + sj("   挿入行数 ： ") + count + sj(" 行")
                 : sj("現在のクリップボードの内容を 【 挿入 】 します。\r\n\r\n   先頭内容 → ") +
                       std::string(source.text().substr(0, 20)) + "\r\n\r\n" +
                       sj("   挿入行数 ： ") + count + sj(" 行");
    if (prompts_.ask(question, Buttons::YesNo) != Answer::Yes) return;
    if (source.text().find('\t') != std::string_view::npos) CurrentSeparator = '\t';

    std::optional<BusyCursor> busy(std::in_place, host_); // ends before any message
    const int n = static_cast<int>(lineCount);
    const ImportMark mark{Grid.rowCount(), Grid.colCount(), Modified,
                          Doc.History.empty() ? nullptr : &Doc.History.newest()};
    int failure = 0; // why the import was taken back
    try {
        placeImportedRows(source, p, n);
        // Rows read from a file another program shortened meanwhile hold NUL bytes instead.
        if (source.changedWhileReading()) failure = kChangedWhileReading;
    } catch (const std::bad_alloc&) {
        failure = ENOMEM;
    }
    CurrentSeparator = kept;
    if (failure != 0) {
        source.release(); // its memory first: taking back may need some
        takeBackImport(mark, p);
        busy.reset();
        prompts_.fail(loadFailureMessage(fileName, failure));
        return;
    }
    Modified = 1;
    OperationRange = CellRange(Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1);
    selectClamped(OperationRange.rect());
    host_.focusGrid();
    busy.reset();
    // What followed a NUL byte is not in the table: the user is told so as a load tells it,
    // once the rows are in.
    if (droppedFromNul > 0) prompts_.fail(nulCutMessage(fileName, droppedFromNul));
}

void TFm_Kolumbra01::placeImportedRows(const SourceText& source, int p, int n) {
    edits::insertBlank(Doc, Axis::Rows, p, n);
    rowsInserted(p, n);
    bool asked = false, grow = false;
    FieldBuffer fields;
    LineCursor lines(source.text());
    for (int k = 0; k < n; ++k) {
        fields.clear();
        const std::string_view line = lines.next();
        countLoadMemory(line.size()); // the rows' blocks, counted as a load counts its rows
        SplitLine(line, CurrentSeparator, fields);
        const int extra = static_cast<int>(fields.size()) + Grid.fixedCols() - Grid.colCount();
        if (extra > 0) {
            if (!asked) {
                asked = true;
                grow = prompts_.ask(sj("挿入データの列数の方が大きいです。\r\n\r\n   "
                                       "列数を増やしてもよろしいですか？"),
                                    Buttons::YesNo) == Answer::Yes;
            }
            if (grow) {
                const int at = Grid.colCount();
                edits::appendColumns(Doc, extra);
                Shown.fitNewColumns(at, extra);
                updateUndoMenu();
            }
        }
        // The whole row at once: cell by cell, a line of n fields would be copied n times.
        std::vector<std::string_view> cells = Grid.rowCells(p + k);
        for (std::size_t i = 0;
             i < fields.size() && Grid.fixedCols() + static_cast<int>(i) < Grid.colCount(); ++i)
            cells[static_cast<std::size_t>(Grid.fixedCols()) + i] = fields.field(i);
        Grid.setRowCells(p + k, cells);
    }
    Shown.recomputeBreakColours(-1, p);
    RefreshAfterStructureChange();
}

// Not through the undo entries: taking back appended columns that way rebuilds every row,
// which needs as much memory again just when there is none. The imported rows go first, which
// frees their memory; the appended columns then hold nothing but their numbers and go by
// shortening the rows.
void TFm_Kolumbra01::takeBackImport(const ImportMark& mark, int p) {
    while (!Doc.History.empty() && &Doc.History.newest() != mark.newest)
        (void)Doc.History.takeNewest();
    if (const int added = Grid.rowCount() - mark.rows; added > 0)
        Doc.deleteLines(Axis::Rows, p, added);
    if (Grid.colCount() > mark.cols) {
        Grid.setColCount(mark.cols);
        Doc.ColInfo.resize(static_cast<std::size_t>(mark.cols));
        colsRemoved(mark.cols, false);
    }
    Modified = mark.modified;
    rowsRemoved(p, false);
    if (Doc.History.empty()) ClearHistory(false);
}

} // namespace kol
