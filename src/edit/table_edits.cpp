#include "edit/table_edits.h"

#include "edit/undo_entries.h"
#include "table/move_item.h"

#include <algorithm>
#include <memory>

namespace kol::edits {

void insertBlank(TableDocument& doc, Axis axis, int at, int count) {
    at = std::clamp(at, 0, doc.lineCount(axis));
    doc.History.push(std::make_unique<LinesAddedEntry>(axis == Axis::Rows ? HistoryKind::RowInsert
                                                                          : HistoryKind::ColInsert,
                                                       doc.Modified == 1, axis, at, count));
    doc.insertLines(axis, at, count);
    doc.Modified = 1;
}

void insertCopies(TableDocument& doc, Axis axis, int from, int count, int at) {
    at = std::clamp(at, 0, doc.lineCount(axis));
    doc.History.push(std::make_unique<LinesAddedEntry>(axis == Axis::Rows ? HistoryKind::RowCopy
                                                                          : HistoryKind::ColCopy,
                                                       doc.Modified == 1, axis, at, count));
    StringGrid& g = doc.Grid;
    if (axis == Axis::Columns) {
        std::vector<ColInfoRec> infos(
            doc.ColInfo.begin() + std::min<std::size_t>(from, doc.ColInfo.size()),
            doc.ColInfo.begin() + std::min<std::size_t>(from + count, doc.ColInfo.size()));
        doc.insertCols(at, count, from);
        for (std::size_t j = 0; j < infos.size(); ++j) {
            doc.ColInfo[at + j] = infos[j];
            g.setColWidth(at + static_cast<int>(j), infos[j].Width);
        }
    } else {
        // The sources are taken before the insert moves them.
        std::vector<std::string> texts;
        std::vector<std::vector<std::string_view>> rows;
        std::vector<int> heights;
        std::vector<RowFlag> flags;
        for (int i = 0; i < count; ++i) {
            const int r = from + i;
            auto cells = g.rowCells(r);
            rows.emplace_back();
            for (std::string_view cell : cells) texts.emplace_back(cell);
            heights.push_back(g.rowHeight(r));
            flags.push_back(r < static_cast<int>(doc.RowFlags.size()) ? doc.RowFlags[r]
                                                                      : RowFlag());
        }
        std::size_t k = 0;
        for (auto& cells : rows)
            for (int c = 0; c < g.colCount(); ++c) cells.push_back(texts[k++]);
        doc.insertLines(Axis::Rows, at, count);
        for (int i = 0; i < count; ++i) {
            g.setRowCells(at + i, rows[i]);
            g.setRowHeight(at + i, heights[i]);
            doc.RowFlags[at + i] = flags[i];
        }
    }
    doc.Modified = 1;
}

void removeLines(TableDocument& doc, Axis axis, int first, int count, HistoryKind kind) {
    count = std::min(count, doc.lineCount(axis) - first);
    if (count <= 0) return;
    const bool clipMove = kind == HistoryKind::RowClipMove || kind == HistoryKind::ColClipMove;
    const bool modified = doc.Modified == 1;
    doc.History.push(
        clipMove ? std::make_unique<ClipMoveRemovalEntry>(kind, modified, doc, axis, first, count)
                 : std::make_unique<LinesRemovedEntry>(kind, modified, doc, axis, first, count));
    doc.deleteLines(axis, first, count);
    doc.Modified = 1;
}

void appendColumns(TableDocument& doc, int count) {
    const int at = doc.Grid.colCount();
    auto entry = std::make_unique<LinesAddedEntry>(HistoryKind::ColAppend, doc.Modified == 1,
                                                   Axis::Columns, at, count);
    entry->setJoinsPrevious(true);
    doc.History.push(std::move(entry));
    doc.insertLines(Axis::Columns, at, count);
    doc.Modified = 1;
}

void recordDrag(TableDocument& doc, Axis axis, int from, int to) {
    doc.History.push(std::make_unique<DragEntry>(axis == Axis::Rows ? HistoryKind::RowDrag
                                                                    : HistoryKind::ColDrag,
                                                 doc.Modified == 1, axis, from, to));
    if (axis == Axis::Rows)
        moveItem(doc.RowFlags, from, to);
    else
        moveItem(doc.ColInfo, from, to);
    doc.Modified = 1;
}

void recordCell(TableDocument& doc, HistoryKind kind, int col, int row) {
    doc.History.push(std::make_unique<CellEditEntry>(kind, doc.Modified == 1, col, row,
                                                     std::string(doc.Grid.cell(col, row))));
}

void editCell(TableDocument& doc, HistoryKind kind, int col, int row, std::string_view text) {
    recordCell(doc, kind, col, row);
    doc.Grid.setCell(col, row, text);
    doc.Modified = 1;
}

void recordEditorCell(TableDocument& doc, StringGrid& editorGrid, int col, int row) {
    doc.History.push(std::make_unique<RecordCellEntry>(doc.Modified == 1, editorGrid, col, row,
                                                       std::string(editorGrid.cell(col, row))));
}

void editEditorCell(TableDocument& doc, StringGrid& editorGrid, int col, int row,
                    std::string_view text) {
    recordEditorCell(doc, editorGrid, col, row);
    editorGrid.setCell(col, row, text);
    doc.Modified = 1;
}

void recordCells(TableDocument& doc, HistoryKind kind, GridRect rect) {
    doc.History.push(std::make_unique<CellsEntry>(kind, doc.Modified == 1, doc, rect));
}

void setMarks(TableDocument& doc, Axis axis, int first, int last, bool on) {
    if (axis == Axis::Rows) {
        for (int r = std::max(first, 0); r <= last && r < static_cast<int>(doc.RowFlags.size());
             ++r)
            doc.RowFlags[r].Mark = on ? 1 : 0;
    } else {
        for (int c = std::max(first, 0); c <= last && c < static_cast<int>(doc.ColInfo.size()); ++c)
            doc.ColInfo[c].Marked = on ? 1 : 0;
    }
}

void dropEditorEntries(TableDocument& doc) {
    while (!doc.History.empty() && doc.History.newest().scope() == UndoScope::RecordEditor)
        (void)doc.History.takeNewest();
}

UndoOutcome undoNewest(TableDocument& doc, bool& more) {
    more = false;
    if (doc.History.empty()) return {};
    std::unique_ptr<UndoEntry> entry = doc.History.takeNewest();
    UndoOutcome outcome = entry->revert(doc);
    doc.Modified = entry->modifiedBefore() ? 1 : 0;
    more = entry->joinsPrevious() && !doc.History.empty();
    if (doc.History.empty()) doc.History.clear();
    return outcome;
}

} // namespace kol::edits
