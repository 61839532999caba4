// The change objects of the undo history: each saves what its edit is about to overwrite and
// knows how to put it back.
#pragma once

#include "table/csv_form.h"
#include "table/row_col_info.h"
#include "table/undo_history.h"

#include <string>
#include <vector>

namespace kol {

// Rows or columns that an edit added (blank, copies, appended): taken back by removing them.
class LinesAddedEntry : public UndoEntry {
public:
    LinesAddedEntry(HistoryKind kind, bool modifiedBefore, Axis axis, int first, int count);
    UndoOutcome revert(TableDocument& document) override;

private:
    Axis axis_;
    int first_, count_;
};

// Rows or columns that an edit removed, with their cells and attributes.
class LinesRemovedEntry : public UndoEntry {
public:
    LinesRemovedEntry(HistoryKind kind, bool modifiedBefore, const TableDocument& document,
                      Axis axis, int first, int count);
    UndoOutcome revert(TableDocument& document) override;
    std::size_t savedBytes() const override;

protected:
    // Puts the lines back; the outcome selects nothing yet.
    UndoOutcome restore(TableDocument& document);

private:
    struct Saved {
        FieldBuffer cells; // the whole row, or the whole column top to bottom
        int size = -1;     // row height (-1: default) or column width
        RowFlag rowFlags;
        ColInfoRec colInfo;
    };
    Axis axis_;
    int first_;
    std::vector<Saved> saved_;
};

// The removal half of a clipped move, which joins its copy: taken back, the lines return and
// the clip is gone; the copy's removal, which follows, shows the result.
class ClipMoveRemovalEntry : public LinesRemovedEntry {
public:
    ClipMoveRemovalEntry(HistoryKind kind, bool modifiedBefore, const TableDocument& document,
                         Axis axis, int first, int count);
    UndoOutcome revert(TableDocument& document) override;
};

// A rectangle of cells rewritten in place (clear, conversion, paste).
class CellsEntry : public UndoEntry {
public:
    CellsEntry(HistoryKind kind, bool modifiedBefore, const TableDocument& document, GridRect rect);
    UndoOutcome revert(TableDocument& document) override;
    std::size_t savedBytes() const override;

private:
    GridRect rect_;
    FieldBuffer saved_; // row by row over the whole rectangle, inside the table or not
};

// One cell of the table edited.
class CellEditEntry : public UndoEntry {
public:
    CellEditEntry(HistoryKind kind, bool modifiedBefore, int col, int row, std::string oldText);
    std::string name() const override { return oldText_.substr(0, 20); }
    UndoOutcome revert(TableDocument& document) override;
    int col() const { return col_; }
    int row() const { return row_; }
    const std::string& oldText() const { return oldText_; }

private:
    int col_, row_;
    std::string oldText_;
};

// One cell of the record editor's own grid edited or converted there. It is taken back into that
// grid (the table gets the record only when the editor leaves it, unrecorded), so it lives no
// longer than the editor shows its record: the editor drops its entries before it moves on and
// before its grid goes.
class RecordCellEntry : public CellEditEntry {
public:
    RecordCellEntry(bool modifiedBefore, StringGrid& editorGrid, int col, int row,
                    std::string oldText);
    UndoScope scope() const override { return UndoScope::RecordEditor; }
    UndoOutcome revert(TableDocument& document) override;

private:
    StringGrid& grid_;
};

// A row or column dragged from one index to another.
class DragEntry : public UndoEntry {
public:
    DragEntry(HistoryKind kind, bool modifiedBefore, Axis axis, int from, int to);
    UndoOutcome revert(TableDocument& document) override;

private:
    Axis axis_;
    int from_, to_;
};

} // namespace kol
