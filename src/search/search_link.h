// The search window and the main window as each sees the other. The main window implements
// SearchMainLink; the search window implements SearchWindowLink, which is all the main
// window's model knows of it.
#pragma once

#include "print/header_drawing.h"
#include "table/string_grid.h"

#include <span>
#include <string>

namespace kol {

// The search window as the main window's model sees it: shown on demand, and keeper of the
// search history between the settings file's read and write. It hears of table changes as a
// listener of the shown table.
class SearchWindowLink {
public:
    virtual ~SearchWindowLink() = default;
    virtual void showWindow() = 0;
    virtual void LoadHistory(std::span<const std::string> slots) = 0;
    virtual void GatherHistory(std::span<std::string> slots) = 0;
};

// What the search window needs of the main window besides its table and its view state.
class SearchMainLink {
public:
    virtual ~SearchMainLink() = default;
    virtual unsigned char separator() = 0;     // the results are saved with the table's separator
    virtual std::string& selectFilePath() = 0; // the Path_SelectFile setting
    // The main view state was moved to a found cell: scroll there and repaint.
    virtual void showFoundCell() = 0;
    virtual void focusMainGrid() = 0;
    virtual std::string tableFileName() = 0; // the main table's file, as the prints head it
    // Prints `grid` as the main window prints its table: the preview opens modally and the
    // table print settings are taken back when it closes.
    virtual void printGrid(const StringGrid& grid, const print::HeadingLines& headings,
                           int rowLimit) = 0;
};

} // namespace kol
