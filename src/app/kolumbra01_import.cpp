// Importing rows from a CSV file or from the clipboard at a row of the table.
#include "app/kolumbra01.h"
#include "edit/table_edits.h"
#include "table/csv_form.h"
#include "table/source_text.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"

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
        if (SourceText::readFile(fileName, source) != SourceText::ReadStatus::Ok) {
            prompts_.fail(sj("ファイルを読み込めませんでした。\r\n\r\n   PATH = ") +
                          displayPath(fileName));
            return;
        }
    } else {
        source = SourceText(clipboard_.hasText() ? clipboard_.text() : std::string());
    }

    const unsigned char kept = CurrentSeparator;
    std::vector<std::string_view> lines;
    for (LineCursor cursor(source.text()); !cursor.atEnd();) lines.push_back(cursor.next());
    if (lines.empty()) {
        prompts_.inform(sj("挿入できるデータはありません。"));
        return;
    }
    const std::string count = std::to_string(lines.size());
    std::string question =
        fromFile ? sj("このファイルを挿入します。\r\n\r\n   Path = ") + displayPath(fileName) +
                       "\r\n\r\n" + sj("   挿入行数 ： ") + count + sj(" 行")
                 : sj("現在のクリップボードの内容を 【 挿入 】 します。\r\n\r\n   先頭内容 → ") +
                       std::string(source.text().substr(0, 20)) + "\r\n\r\n" +
                       sj("   挿入行数 ： ") + count + sj(" 行");
    if (prompts_.ask(question, Buttons::YesNo) != Answer::Yes) return;
    if (source.text().find('\t') != std::string_view::npos) CurrentSeparator = '\t';

    BusyCursor busy(host_);
    const int n = static_cast<int>(lines.size());
    edits::insertBlank(Doc, Axis::Rows, p, n);
    rowsInserted(p, n);
    bool asked = false, grow = false;
    FieldBuffer fields;
    for (int k = 0; k < n; ++k) {
        fields.clear();
        SplitLine(lines[k], CurrentSeparator, fields);
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
    Modified = 1;
    OperationRange = CellRange(Grid.fixedCols(), p, Grid.colCount() - 1, p + n - 1);
    selectClamped(OperationRange.rect());
    CurrentSeparator = kept;
    host_.focusGrid();
}

} // namespace kol
