// The page table: per page the first and last placed cell met scanning its cells row by row,
// column by column, and the same per band. The drawing, printing and export read it.
#pragma once

#include "print/placement_store.h"
#include "print/print_types.h"

#include <functional>
#include <vector>

namespace kol::print {

constexpr int kMaxBandsPerPage = 21;

struct BandRecord {
    CellPos first, last;
};

struct PageRecord {
    CellPos first, last;
    std::vector<BandRecord> bands; // bands 1.. in order, at most kMaxBandsPerPage
    int bandCount() const { return static_cast<int>(bands.size()); }
};

// Pages 1..pages from the placements of rows 0..lastRow. The band count of a page is the
// number of consecutive bands from band 1 that have a cell. `everyTenthPage(p, pages)` is
// called at pages 10, 20, …; true cuts the table to the pages before p.
std::vector<PageRecord> buildPageTable(const PlacementStore& store, int pages, int lastRow,
                                       const std::function<bool(int, int)>& everyTenthPage = {});

} // namespace kol::print
