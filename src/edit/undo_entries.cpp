#include "edit/undo_entries.h"

#include "table/table_document.h"

#include <algorithm>

namespace kol {

namespace {
// All data cells of rows first .. first + count - 1, or of such columns.
GridRect linesRect(const StringGrid& g, Axis axis, int first, int count) {
    return axis == Axis::Rows ? GridRect{g.fixedCols(), first, g.colCount() - 1, first + count - 1}
                              : GridRect{first, g.fixedRows(), first + count - 1, g.rowCount() - 1};
}

void append(FieldBuffer& out, std::string_view text) {
    out.bytes.append(text);
    out.ends.push_back(static_cast<std::uint32_t>(out.bytes.size()));
}
} // namespace

LinesAddedEntry::LinesAddedEntry(HistoryKind kind, bool modifiedBefore, Axis axis, int first,
                                 int count)
    : UndoEntry(kind, modifiedBefore), axis_(axis), first_(first), count_(count) {}

UndoOutcome LinesAddedEntry::revert(TableDocument& document) {
    UndoOutcome out;
    const int count = std::min(count_, document.lineCount(axis_) - first_);
    if (count <= 0) return out;
    document.deleteLines(axis_, first_, count);
    out.change = UndoOutcome::Change::LinesRemoved;
    out.axis = axis_;
    out.first = first_;
    out.count = count;
    out.select = linesRect(document.Grid, axis_, first_, count_);
    return out;
}

LinesRemovedEntry::LinesRemovedEntry(HistoryKind kind, bool modifiedBefore,
                                     const TableDocument& document, Axis axis, int first, int count)
    : UndoEntry(kind, modifiedBefore), axis_(axis), first_(first) {
    const StringGrid& g = document.Grid;
    saved_.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        Saved& s = saved_[i];
        const int at = first + i;
        // Sized exactly first: a large delete keeps only what it saved.
        const int cells = axis == Axis::Rows ? g.colCount() : g.rowCount();
        std::size_t bytes = 0;
        for (int k = 0; k < cells; ++k)
            bytes += (axis == Axis::Rows ? g.cell(k, at) : g.cell(at, k)).size();
        s.cells.bytes.reserve(bytes);
        s.cells.ends.reserve(static_cast<std::size_t>(cells));
        if (axis == Axis::Rows) {
            for (int c = 0; c < g.colCount(); ++c) append(s.cells, g.cell(c, at));
            s.size = g.rowHeight(at);
            if (at < static_cast<int>(document.RowFlags.size())) s.rowFlags = document.RowFlags[at];
        } else {
            for (int r = 0; r < g.rowCount(); ++r) append(s.cells, g.cell(at, r));
            s.size = g.colWidth(at);
            if (at < static_cast<int>(document.ColInfo.size())) s.colInfo = document.ColInfo[at];
        }
    }
}

std::size_t LinesRemovedEntry::savedBytes() const {
    std::size_t bytes = saved_.capacity() * sizeof(Saved);
    for (const Saved& s : saved_)
        bytes += s.cells.bytes.capacity() + s.cells.ends.capacity() * sizeof(std::uint32_t);
    return bytes;
}

UndoOutcome LinesRemovedEntry::revert(TableDocument& document) {
    UndoOutcome out = restore(document);
    out.select = linesRect(document.Grid, out.axis, out.first, out.count);
    return out;
}

UndoOutcome LinesRemovedEntry::restore(TableDocument& document) {
    StringGrid& g = document.Grid;
    const int count = static_cast<int>(saved_.size());
    UndoOutcome out;
    out.change = UndoOutcome::Change::LinesAdded;
    out.axis = axis_;
    out.first = first_;
    out.count = count;
    if (axis_ == Axis::Rows) {
        document.insertLines(Axis::Rows, first_, count);
        std::vector<std::string_view> cells;
        for (int i = 0; i < count; ++i) {
            const Saved& s = saved_[i];
            cells.clear();
            for (std::size_t k = 0; k < s.cells.size(); ++k) cells.push_back(s.cells.field(k));
            g.setRowCells(first_ + i, cells);
            g.setRowHeight(first_ + i, s.size);
            document.RowFlags[first_ + i] = s.rowFlags;
        }
    } else {
        // Every row is rebuilt once with the saved texts fed in.
        const StringGrid::ColumnSource source = [&](int r, int j) {
            const FieldBuffer& cells = saved_[j].cells;
            return r < static_cast<int>(cells.size()) ? cells.field(r) : std::string_view();
        };
        document.insertCols(first_, count, -1, &source);
        for (int i = 0; i < count; ++i) {
            g.setColWidth(first_ + i, saved_[i].size);
            document.ColInfo[first_ + i] = saved_[i].colInfo;
        }
    }
    saved_.clear();
    saved_.shrink_to_fit();
    return out;
}

ClipMoveRemovalEntry::ClipMoveRemovalEntry(HistoryKind kind, bool modifiedBefore,
                                           const TableDocument& document, Axis axis, int first,
                                           int count)
    : LinesRemovedEntry(kind, modifiedBefore, document, axis, first, count) {
    setJoinsPrevious(true);
}

UndoOutcome ClipMoveRemovalEntry::revert(TableDocument& document) {
    UndoOutcome out = restore(document);
    out.clipTakenBack = true;
    return out;
}

CellsEntry::CellsEntry(HistoryKind kind, bool modifiedBefore, const TableDocument& document,
                       GridRect rect)
    : UndoEntry(kind, modifiedBefore), rect_(rect) {
    for (int r = rect.top; r <= rect.bottom; ++r)
        for (int c = rect.left; c <= rect.right; ++c) append(saved_, document.Grid.cell(c, r));
}

std::size_t CellsEntry::savedBytes() const {
    return saved_.bytes.capacity() + saved_.ends.capacity() * sizeof(std::uint32_t);
}

UndoOutcome CellsEntry::revert(TableDocument& document) {
    const std::size_t width = static_cast<std::size_t>(rect_.right - rect_.left + 1);
    document.Grid.rewriteRect(rect_, [&](int c, int r, std::string_view) {
        std::size_t k = static_cast<std::size_t>(r - rect_.top) * width +
                        static_cast<std::size_t>(c - rect_.left);
        return k < saved_.size() ? std::string(saved_.field(k)) : std::string();
    });
    UndoOutcome out;
    out.change = UndoOutcome::Change::Cells;
    out.cells = out.select = rect_;
    return out;
}

CellEditEntry::CellEditEntry(HistoryKind kind, bool modifiedBefore, int col, int row,
                             std::string oldText)
    : UndoEntry(kind, modifiedBefore), col_(col), row_(row), oldText_(std::move(oldText)) {}

UndoOutcome CellEditEntry::revert(TableDocument& document) {
    document.Grid.setCell(col_, row_, oldText_);
    UndoOutcome out;
    out.change = UndoOutcome::Change::Cells;
    out.cells = out.select = {col_, row_, col_, row_};
    return out;
}

RecordCellEntry::RecordCellEntry(bool modifiedBefore, StringGrid& editorGrid, int col, int row,
                                 std::string oldText)
    : CellEditEntry(HistoryKind::RecordCellEdit, modifiedBefore, col, row, std::move(oldText)),
      grid_(editorGrid) {}

UndoOutcome RecordCellEntry::revert(TableDocument&) {
    UndoOutcome out;
    out.scope = UndoScope::RecordEditor;
    if (col() < 0 || row() < 0 || col() >= grid_.colCount() || row() >= grid_.rowCount())
        return out;
    grid_.setCell(col(), row(), oldText());
    out.change = UndoOutcome::Change::Cells;
    out.cells = out.select = {col(), row(), col(), row()};
    return out;
}

DragEntry::DragEntry(HistoryKind kind, bool modifiedBefore, Axis axis, int from, int to)
    : UndoEntry(kind, modifiedBefore), axis_(axis), from_(from), to_(to) {}

UndoOutcome DragEntry::revert(TableDocument& document) {
    document.moveLine(axis_, to_, from_);
    UndoOutcome out;
    out.change = UndoOutcome::Change::LineMoved;
    out.axis = axis_;
    out.first = from_;
    out.count = 1;
    out.movedFrom = to_;
    out.select = linesRect(document.Grid, axis_, from_, 1);
    return out;
}

} // namespace kol
