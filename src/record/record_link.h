// The record editor and the main window as the editor sees it. The main window implements
// RecordMainLink; the editor reaches the table itself only through the document, the shown
// table and the main grid's view state it is given.
#pragma once

#include "print/header_drawing.h"
#include "table/string_grid.h"

#include <string>

namespace kol {

class RecordMainLink {
public:
    virtual ~RecordMainLink() = default;
    // The row holding the column names (item index of the name-row choice; 0: none) and the
    // trimmed caption of that choice.
    virtual int nameRowIndex() const = 0;
    virtual std::string nameRowCaption() const = 0;
    // The key column choice (0: none, k: the k-th data column), whose copy in column 1 follows
    // a value written back.
    virtual int keyColumnIndex() const = 0;
    virtual std::string tableFileName() const = 0; // CP932, empty for a clipboard table
    virtual int letterWidth() const = 0;           // width of "A" in the grid font

    // The editor was opened or closed: menu bar, panels, caption, the sort window.
    virtual void recordEditorShown(bool shown) = 0;
    virtual void unsetOperationRange() = 0;
    virtual void unsetPopupCell() = 0;
    virtual void undoMenuChanged() = 0;
    virtual void showSearchWindow() = 0;
    virtual void focusRecordGrid() = 0;
    virtual void focusTableGrid() = 0;
    virtual bool isDoubleClick(int x, int y) = 0; // for a press in the editor's memo
    // The one-record grid and its heading lines to the print window; the grid is the caller's
    // and only lent for the call.
    virtual void printRecord(const StringGrid& grid, const print::HeadingLines& headings,
                             int rowLimit) = 0;
    virtual void clearProgressText() = 0;
};

} // namespace kol
