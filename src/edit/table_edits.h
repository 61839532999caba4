// The edits of the table: each records itself in the undo history, then changes the document.
// Callers choose the rows, columns or cells and ask the questions; the edits take them as they
// are given and read nothing from any window.
#pragma once

#include "table/table_document.h"

#include <string>
#include <string_view>
#include <vector>

namespace kol::edits {

// `count` blank rows or columns before `at`.
void insertBlank(TableDocument& doc, Axis axis, int at, int count);
// Copies of the `count` rows or columns from `from` (indexes before the insert), inserted before
// `at`, with their sizes and attributes. Copied rows keep every cell; the caller redraws what is
// derived from the row's place (labels, the key column).
void insertCopies(TableDocument& doc, Axis axis, int from, int count, int at);
// Removes `count` rows or columns from `first`, saving them. `kind` is the delete or the removal
// half of a clipped move (taken back together with its copy).
void removeLines(TableDocument& doc, Axis axis, int first, int count, HistoryKind kind);
// Columns appended at the end by a row import, taken back together with the import.
void appendColumns(TableDocument& doc, int count);
// Records a drag the grid has already made, and moves the attributes with it.
void recordDrag(TableDocument& doc, Axis axis, int from, int to);
// Records the old text of one cell; the caller writes the new one.
void recordCell(TableDocument& doc, HistoryKind kind, int col, int row);
// Sets one cell, recording its old text.
void editCell(TableDocument& doc, HistoryKind kind, int col, int row, std::string_view text);
// The same for a cell of the record editor's own grid: its entry takes the text back into that
// grid, so the editor drops its entries (dropEditorEntries) before it shows another record and
// before its grid goes. The table is marked changed; the editor writes the record back later.
void recordEditorCell(TableDocument& doc, StringGrid& editorGrid, int col, int row);
void editEditorCell(TableDocument& doc, StringGrid& editorGrid, int col, int row,
                    std::string_view text);
// Records the rectangle, then rewrites each of its cells with valueFor(col, row, old text).
void recordCells(TableDocument& doc, HistoryKind kind, GridRect rect);
template <typename F>
void rewriteCells(TableDocument& doc, HistoryKind kind, GridRect rect, F&& valueFor) {
    recordCells(doc, kind, rect);
    doc.Grid.rewriteRect(rect, std::forward<F>(valueFor));
    doc.Modified = 1;
}
// Row marks of rows first .. last, or column marks; not recorded.
void setMarks(TableDocument& doc, Axis axis, int first, int last, bool on);
// Removes the record editor's entries from the newest end.
void dropEditorEntries(TableDocument& doc);
// Takes back the newest entry; `more` is set when it joins the entry before it.
[[nodiscard]] UndoOutcome undoNewest(TableDocument& doc, bool& more);

} // namespace kol::edits
