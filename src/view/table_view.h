// What a window shows of a table beyond its cells: the row labels of column 0, the key column
// copied into column 1, the break colours, the column widths fitted to the text and the row
// heights of folded text. It derives all of it from the document and the window's switches,
// which it asks for each time, so nothing here goes stale when a switch changes.
//
// It also tells every view of the table what changed: a reshape or new cell texts. The windows
// that keep results from the table (the search results, the sort window's column lists, later
// the print preview and the record editor) subscribe and need not be called by name.
#pragma once

#include "table/cell_range.h"
#include "table/row_label.h"
#include "table/table_document.h"
#include "view/cell_display.h"
#include "view/table_listener.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

// The table grid's font height and standard row height in pixels. They are the program's own,
// not the widget style's, so that a print paginates alike from the window and the command line.
inline constexpr int kGridFontPixels = 13;
inline constexpr int kGridRowHeight = 22;

// The grid font's letter and the standard row, in pixels.
struct GridMetrics {
    int letterWidth = 7, letterHeight = 13, rowHeight = kGridRowHeight;
};

// The switches the derivations read; the owning window answers from its controls.
class TableViewSwitches {
public:
    virtual ~TableViewSwitches() = default;
    virtual RowLabelRule rowLabelRule() const = 0;
    virtual int titleRowsChoice() const = 0;  // item index of the fixed-rows choice; -1: none
    virtual int keyColumnChoice() const = 0;  // 0: no key column, k: the k-th data column
    virtual int keyColumnLetters() const = 0; // its width in letters
    virtual bool breakColours() const = 0;
    virtual DisplaySwitches displaySwitches() const = 0;
    virtual int foldChoice() const = 0;     // 0 automatic, 1 none, n ≥ 2 at most n lines
    virtual double columnLimit() const = 0; // the widest a fitted column gets, in letters
    virtual unsigned char separator() const = 0;
    virtual GridMetrics metrics() const = 0;
};

class TableView {
public:
    TableView(TableDocument& doc, const TableViewSwitches& switches)
        : doc_(doc), switches_(switches) {}
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;

    TableDocument& document() { return doc_; }

    // Listeners and the announcements.
    TableListeners& listeners() { return listeners_; }
    void announceReshaped(Reshape how) { listeners_.reshaped(how); }
    // New texts in `cells`: their break colours first, then the listeners.
    void cellsChanged(const GridRect& cells);
    // One cell typed in: its column widened to show it, the key column's copy, then as above.
    void cellEdited(int c, int r, std::string_view text);
    std::size_t listenerCount() const { return listeners_.size(); }

    // Row labels.
    std::string rowLabel(long long n, bool blankIfNotPositive) const;
    // Every row's label again, column 0 as wide as the longest needs, the title rows fixed;
    // then a Rows reshape is announced.
    void renumberRowLabels();
    void fitLabelColumn(); // column 0 as wide as the longest label needs
    void applyTitleRows();
    void resetLabelColumn(); // the standard width of a fresh table

    // The key column (column 1): its caption, width and copies of the chosen column.
    void showKeyColumn(bool columnOneEmpty);
    void fillKeyColumn(bool columnOneEmpty = false);
    // The items of the key-column choice: " 無し", then " n. " and each column's name.
    std::vector<std::string> keyColumnItems() const;

    // Break colours; nothing while they are switched off.
    void recomputeBreakColours(int column, int fromRow);
    void recomputeBreakColumns(int first, int last) { recomputeBreakRange(first, last, 0); }
    void recomputeBreakRange(int first, int last, int fromRow);
    void breakColoursAfterMove(Axis axis, int from, int to);

    // Column widths.
    // The width a column needs for `length` letters, or -1 when it is already as wide.
    int columnWidthFor(int currentWidth, double length) const;
    // The widths and row height of a table just shaped: a narrow key column, the label column
    // at its standard width, every other column at the default (`oneCell`: the single data
    // column of the one-cell table fitted for twelve letters).
    void resetWidths(bool oneCell);
    // A table just filled: every column fitted to its longest field (as the fill measured them,
    // per data column), the label column to its longest label, and folded rows where a text is
    // wider than its column.
    void fitFilledTable(const std::vector<std::uint32_t>& longestField);
    void fitColumns(const std::vector<std::uint32_t>& longest); // per grid column
    void autoFitColumns();                                      // from every cell's text
    void fitNewColumns(int first, int count);                   // blank columns just inserted
    void widenForDates(); // date editing switched on: no date may be cut

    // Row heights of folded text.
    void applyFold();

private:
    // The longest text column c shows, given the longest of its cells.
    std::uint32_t shownLongest(int c, std::uint32_t rawLongest) const;
    // Whether a column's longest shown text (per column) is wider than the column.
    bool someCellFolds(const std::vector<std::uint32_t>& longest) const;

    TableDocument& doc_;
    const TableViewSwitches& switches_;
    TableListeners listeners_;
    bool labelColumnWidened_ = false;
};

} // namespace kol
