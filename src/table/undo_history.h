// The undo history: change objects that take themselves back, newest first, at most 64 of them.
// The entries themselves (what each kind of edit saves and how it reverts) live with the edits.
#pragma once

#include "table/cell_range.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kol {

class TableDocument;

// What an entry records; the Edit menu names an entry by it.
enum class HistoryKind : std::uint8_t {
    RowDelete,
    RowInsert,
    RowCopy,
    ColDelete,
    ColInsert,
    ColAppend, // columns appended by a row import
    ColCopy,
    RangeClear,
    RangeConvert,
    RangePaste,
    CellEdit,
    RecordCellEdit, // a cell of the record editor's own grid
    RowDrag,
    ColDrag,
    RowClipMove,
    ColClipMove,
};

// The grid an entry's edit was made in. The record editor's entries are taken back under its own
// menu item, into its own grid, and dropped when it leaves the record they belong to.
enum class UndoScope : std::uint8_t { Table, RecordEditor };

// What taking an entry back changed, so that the window can bring its derived state (labels,
// key column, break colours, current cell) up to date and show the result.
struct UndoOutcome {
    enum class Change { None, Cells, LinesAdded, LinesRemoved, LineMoved };
    Change change = Change::None;
    Axis axis = Axis::Rows;
    int first = 0, count = 0;           // lines added or removed; a moved line's new index
    int movedFrom = 0;                  // LineMoved: the index the line had before
    UndoScope scope = UndoScope::Table; // the grid `cells` and `select` are in
    GridRect cells;                     // Cells: the rectangle written back
    GridRect select;                    // what to select and show afterwards; invalid: nothing
    bool clipTakenBack = false;         // the removal half of a clipped move: the clip is gone
};

class UndoEntry {
public:
    UndoEntry(HistoryKind kind, bool modifiedBefore)
        : kind_(kind), modifiedBefore_(modifiedBefore) {}
    virtual ~UndoEntry() = default;
    UndoEntry(const UndoEntry&) = delete;
    UndoEntry& operator=(const UndoEntry&) = delete;

    HistoryKind kind() const { return kind_; }
    bool modifiedBefore() const { return modifiedBefore_; }
    // Taken back together with the entry before it (the two halves of a clipped move, the
    // columns a row import appended).
    bool joinsPrevious() const { return joinsPrevious_; }
    void setJoinsPrevious(bool joins) { joinsPrevious_ = joins; }

    // The name shown in the Edit menu (CP932).
    virtual std::string name() const;
    virtual UndoScope scope() const { return UndoScope::Table; }
    [[nodiscard]] virtual UndoOutcome revert(TableDocument& document) = 0;
    virtual std::size_t savedBytes() const { return 0; }

private:
    HistoryKind kind_;
    bool modifiedBefore_;
    bool joinsPrevious_ = false;
};

class UndoHistory {
public:
    static constexpr std::size_t kLimit = 64;

    // Adds the newest entry; beyond the limit the oldest goes.
    void push(std::unique_ptr<UndoEntry> entry);
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    UndoEntry& newest() { return *entries_.back(); }
    const UndoEntry& newest() const { return *entries_.back(); }
    std::unique_ptr<UndoEntry> takeNewest();
    // The number the Edit menu shows with the newest entry: every entry for one of the table's;
    // for one of another grid's, only the run of that grid's entries at the newest end.
    std::size_t menuNumber() const;
    void clear(); // releases the saved cells' memory as well
    const std::vector<std::unique_ptr<UndoEntry>>& entries() const { return entries_; }
    std::size_t savedBytes() const;

private:
    std::vector<std::unique_ptr<UndoEntry>> entries_;
};

} // namespace kol
