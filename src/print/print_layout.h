// Pagination: cuts the cells of the print copy into pages across and down.
//
// Down the table strip by strip; within a strip its column ranges ("bands") from left to right,
// each band below the previous one on the same page while it fits, else on the next page. Cells
// beyond the first band's last column are moved right by the fixed columns' width and rows beyond
// its last row down by the fixed rows' height, leaving room for the fixed cells the drawing
// repeats. A band that cannot place its first cell sets the too-large condition.
//
// Two choices of ours where the rule leaves room or goes wrong:
// - a page holds at most kMaxBandsPerPage bands: a band that would be the 22nd begins a page;
// - a band is stacked below another only if there is room for the strip's own first band as
//   well as for the first band of page 1, so that every band of a strip lays out the same rows
//   (with room for page 1's first band alone, a later, taller strip could stack a band that
//   then holds fewer rows, and the rows it lacked were printed nowhere).
#pragma once

#include "print/page_table.h"
#include "print/placement_store.h"
#include "print/print_types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace kol::print {

struct LayoutInput {
    PrintMode mode = PrintMode::Table;
    CellSizeMode sizeMode = CellSizeMode::Manual;
    std::vector<std::int32_t> rowHeights;   // scaled, one per row of the print copy
    std::vector<std::int32_t> columnWidths; // scaled, one per column
    int fixedRows = 0, fixedColumns = 0;
    int usableWidth = 0, usableHeight = 0;
    int bandGap = 0;
    long double onePageFactor = 1; // one-page mode: bottoms are tested as Trunc(bottom * factor)
    // Table mode, not creating all, partial creation on and a limit above 0: rows 0..limit only.
    bool partialCreation = false;
    bool creatingAll = false;
    int initialRowLimit = 0;
};

struct LayoutHooks {
    // Creating all rows only: asked at each strip, band and row and at every 10th page of the
    // page table; true ends the creation (the window's stop question answered Yes). A declined
    // stop leaves the layout exactly as if nothing had been asked.
    std::function<bool()> stopRequested;
    // Every 5000 rows laid out: the last placed row and the last row to lay out.
    std::function<void(int lastRow, int lastToLayOut)> rowProgress;
    // Every 10th page of the page table.
    std::function<void(int page, int pages)> pageProgress;
};

enum class LayoutStatus {
    Complete,
    TooLarge, // a band could not place its first cell; what was placed stays for inspection
    Stopped,  // the creation was stopped: the layout is back at its last snapshot
};

struct LayoutExtents {
    int right = 0, bottom = 0; // largest over the placed cells
};

class PrintLayout {
public:
    PrintLayout();
    ~PrintLayout();
    PrintLayout(PrintLayout&&) noexcept;
    PrintLayout& operator=(PrintLayout&&) noexcept;

    // A fresh layout. Complete and TooLarge make it the snapshot; Stopped returns to the last
    // one (or to an empty layout when none was finished).
    [[nodiscard]] LayoutStatus run(LayoutInput input, const LayoutHooks& hooks = {});

    // What the per-cell record of (column, row) holds.
    CellPlacement placement(int column, int row) const { return store_.placement(column, row); }
    // Where the drawing puts band `band` (1-based) of page `page`: cell (0, 0)'s top-left moved
    // down by the band's distance from the page's first band.
    CellPos bandOrigin(int page, int band) const; // column = x, row = y

    bool tooLarge() const { return state_.tooLarge; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<PageRecord>& pages() const { return pages_; }
    const PageRecord& page(int page) const { return pages_[static_cast<std::size_t>(page - 1)]; }
    int rowsToLayOut() const { return state_.rowsToLayOut; }
    int rowsCreated() const { return state_.rowsCreated; } // the last laid-out row, -1: none
    CellPos firstBandBoundary() const { return state_.boundary; }
    LayoutExtents extents() const { return state_.extents; }
    bool partialCreation() const { return state_.partialCreation; }
    // The column widths as laid out: wide columns narrowed to the usable width.
    const std::vector<std::int32_t>& columnWidths() const { return widths_; }
    // Cells placed, counting each placement: equal to the cells held when none was placed twice.
    long long placementsMade() const { return state_.placementsMade; }

    // A finished layout is never changed afterwards, so it is its own snapshot: what a stopped
    // creation returns to and what the preview goes back to after printing.
    bool hasSnapshot() const { return finished_; }

    std::size_t memoryBytes() const; // placements, page table, widths

private:
    struct State {
        int rowsToLayOut = 0;
        int rowsCreated = -1;
        CellPos boundary{999999999, 999999999};
        LayoutExtents extents;
        bool partialCreation = false;
        bool tooLarge = false;
        long long placementsMade = 0;
    };

    class Run;
    void finish(); // extents, page table

    State state_;
    PlacementStore store_;
    std::vector<std::int32_t> widths_;
    std::vector<PageRecord> pages_;
    int pagesLaidOut_ = 0;
    bool finished_ = false;

    struct Finished {
        State state;
        PlacementStore store;
        std::vector<std::int32_t> widths;
        std::vector<PageRecord> pages;
        int pagesLaidOut = 0;
    };
};

} // namespace kol::print
