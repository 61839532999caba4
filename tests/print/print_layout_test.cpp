// Pagination of small tables whose layouts are worked out by hand (units as in the comments).
#include "print/page_geometry.h"
#include "print/print_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace kol::print {
namespace {

LayoutInput input(std::vector<std::int32_t> heights, std::vector<std::int32_t> widths, int uw,
                  int uh, int gap = 4, int fixedRows = 0, int fixedCols = 0) {
    LayoutInput in;
    in.rowHeights = std::move(heights);
    in.columnWidths = std::move(widths);
    in.usableWidth = uw;
    in.usableHeight = uh;
    in.bandGap = gap;
    in.fixedRows = fixedRows;
    in.fixedColumns = fixedCols;
    return in;
}

CellPlacement at(int page, int band, int l, int t, int r, int b) {
    return {page, band, {l, t, r, b}};
}

TEST(PrintLayout, SmallTableIsOnePageOneBand) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10, 10, 10}, {20, 30}, 100, 100, 4, 1, 1)), LayoutStatus::Complete);
    EXPECT_EQ(layout.pageCount(), 1);
    EXPECT_EQ(layout.page(1).bandCount(), 1);
    EXPECT_EQ(layout.page(1).first, (CellPos{0, 0}));
    EXPECT_EQ(layout.page(1).last, (CellPos{1, 2}));
    EXPECT_EQ(layout.placement(1, 2), at(1, 1, 20, 20, 50, 30));
    EXPECT_EQ(layout.placement(0, 0), at(1, 1, 0, 0, 20, 10));
    EXPECT_EQ(layout.firstBandBoundary(), (CellPos{1, 2}));
    EXPECT_EQ(layout.extents().right, 50);
    EXPECT_EQ(layout.extents().bottom, 30);
    EXPECT_EQ(layout.rowsCreated(), 2);
    EXPECT_FALSE(layout.placement(2, 0).placed());
    EXPECT_FALSE(layout.placement(0, 3).placed());
}

// Fixed column 10 wide, then 40s: bands of columns 0-2, 3-4, 5-6, 7. Each band is 20 high;
// the gap 6. Band 2 goes below band 1 (26..46); band 3 would end at 72 > 70: page 2.
TEST(PrintLayout, WideShortTableStacksBands) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10, 10}, {10, 40, 40, 40, 40, 40, 40, 40}, 100, 70, 6, 1, 1)),
              LayoutStatus::Complete);
    ASSERT_EQ(layout.pageCount(), 2);
    ASSERT_EQ(layout.page(1).bandCount(), 2);
    ASSERT_EQ(layout.page(2).bandCount(), 2);
    EXPECT_EQ(layout.page(1).bands[0].last, (CellPos{2, 1}));
    EXPECT_EQ(layout.page(1).bands[1].first, (CellPos{3, 0}));
    EXPECT_EQ(layout.page(1).bands[1].last, (CellPos{4, 1}));
    EXPECT_EQ(layout.page(2).first, (CellPos{5, 0}));
    EXPECT_EQ(layout.page(2).last, (CellPos{7, 1}));
    // Band 2 moved right by the fixed column (10) and down below band 1.
    EXPECT_EQ(layout.placement(3, 0), at(1, 2, 10, 26, 50, 36));
    EXPECT_EQ(layout.placement(4, 1), at(1, 2, 50, 36, 90, 46));
    EXPECT_EQ(layout.placement(5, 0), at(2, 1, 10, 0, 50, 10));
    EXPECT_EQ(layout.placement(7, 1), at(2, 2, 10, 36, 50, 46));
    // The drawing puts the repeated fixed column of band 2 at cell (0, 0) moved down 26.
    EXPECT_EQ(layout.bandOrigin(1, 2), (CellPos{0, 26}));
    EXPECT_EQ(layout.bandOrigin(2, 2), (CellPos{0, 26}));
    EXPECT_EQ(layout.bandOrigin(2, 1), (CellPos{0, 0}));
}

// Fixed row 10 and column 10; two 60-wide columns need a page each across; rows of 30 fill a
// page of 80 after rows 0-2 (70). Pages: rows 0-2 cols 0-1, rows 0-2 col 2, then row 3 likewise.
TEST(PrintLayout, WideTallTableGoesAcrossBeforeDown) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10, 30, 30, 30}, {10, 60, 60}, 100, 80, 4, 1, 1)),
              LayoutStatus::Complete);
    ASSERT_EQ(layout.pageCount(), 4);
    EXPECT_EQ(layout.firstBandBoundary(), (CellPos{1, 2}));
    EXPECT_EQ(layout.page(1).last, (CellPos{1, 2}));
    EXPECT_EQ(layout.page(2).first, (CellPos{2, 0}));
    EXPECT_EQ(layout.page(3).first, (CellPos{0, 3}));
    EXPECT_EQ(layout.page(4).last, (CellPos{2, 3}));
    // Column 2 moved right by the fixed column, row 3 down by the fixed row.
    EXPECT_EQ(layout.placement(2, 0), at(2, 1, 10, 0, 70, 10));
    EXPECT_EQ(layout.placement(2, 2), at(2, 1, 10, 40, 70, 70));
    EXPECT_EQ(layout.placement(0, 3), at(3, 1, 0, 10, 10, 40));
    EXPECT_EQ(layout.placement(1, 3), at(3, 1, 10, 10, 70, 40));
    EXPECT_EQ(layout.placement(2, 3), at(4, 1, 10, 10, 70, 40));
    EXPECT_EQ(layout.placementsMade(), 12);
}

TEST(PrintLayout, WideColumnIsNarrowedBesideTheFixedColumns) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10, 10}, {10, 200, 50}, 100, 100, 4, 1, 1)),
              LayoutStatus::Complete);
    EXPECT_EQ(layout.columnWidths(), (std::vector<std::int32_t>{10, 90, 50}));
    EXPECT_EQ(layout.placement(1, 1), at(1, 1, 10, 10, 100, 20));
    EXPECT_EQ(layout.placement(2, 0), at(1, 2, 10, 24, 60, 34));
}

TEST(PrintLayout, CellLargerThanThePageIsTooLarge) {
    PrintLayout tall;
    EXPECT_EQ(tall.run(input({10, 10, 200, 10}, {20, 20}, 100, 100, 4, 1, 1)),
              LayoutStatus::TooLarge);
    EXPECT_TRUE(tall.tooLarge());
    EXPECT_EQ(tall.rowsCreated(), 1);
    PrintLayout wideFixed; // fixed columns wider than the page
    EXPECT_EQ(wideFixed.run(input({10, 10}, {150, 20}, 100, 100, 4, 1, 1)), LayoutStatus::TooLarge);
    EXPECT_EQ(wideFixed.rowsCreated(), -1);
    PrintLayout noWidth; // one-page mode on a page whose margins leave no width
    LayoutInput narrow = input({10, 10}, {20, 20}, -5, 100);
    narrow.sizeMode = CellSizeMode::OnePage;
    narrow.onePageFactor = onePageFactor(-5, 40);
    EXPECT_EQ(noWidth.run(std::move(narrow)), LayoutStatus::TooLarge);
    PrintLayout fixedRows; // fixed rows taller than the page: row 2 cannot start page 2
    EXPECT_EQ(fixedRows.run(input({60, 30, 50}, {20}, 100, 100, 4, 2, 0)), LayoutStatus::TooLarge);
}

// Twice as wide as the page: factor 0.5, every column in one band; a bottom fits while
// Trunc(bottom * 0.5) <= 100, so rows 0-19 (bottom 200) go on page 1 and 20-29 on page 2.
TEST(PrintLayout, OnePageModeBreaksOnlyDownwards) {
    LayoutInput in = input(std::vector<std::int32_t>(30, 10), {100, 100}, 100, 100);
    in.sizeMode = CellSizeMode::OnePage;
    in.onePageFactor = onePageFactor(100, 200);
    EXPECT_EQ(in.onePageFactor, 0.5L);
    PrintLayout layout;
    ASSERT_EQ(layout.run(std::move(in)), LayoutStatus::Complete);
    ASSERT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(layout.page(1).bandCount(), 1);
    EXPECT_EQ(layout.page(1).last, (CellPos{1, 19}));
    EXPECT_EQ(layout.placement(1, 19), at(1, 1, 100, 190, 200, 200));
    EXPECT_EQ(layout.placement(1, 20), at(2, 1, 100, 0, 200, 10));
    EXPECT_EQ(layout.extents().right, 200);
}

LayoutInput partialInput(int dataRows) {
    LayoutInput in = input(std::vector<std::int32_t>(dataRows + 1, 2), {5, 5}, 100, 100, 4, 1, 1);
    in.partialCreation = true;
    in.initialRowLimit = 100;
    return in;
}

TEST(PrintLayout, PartialCreationThenAllRows) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(partialInput(250)), LayoutStatus::Complete);
    EXPECT_EQ(layout.rowsToLayOut(), 101);
    EXPECT_EQ(layout.rowsCreated(), 100);
    EXPECT_TRUE(layout.placement(1, 100).placed());
    EXPECT_FALSE(layout.placement(1, 101).placed());
    EXPECT_TRUE(layout.partialCreation());
    const int pagesPartial = layout.pageCount();

    // A stop asked and declined changes nothing; a stop confirmed returns to the snapshot.
    LayoutInput all = partialInput(250);
    all.creatingAll = true;
    int asked = 0;
    LayoutHooks declined{[&] {
                             ++asked;
                             return false;
                         },
                         {},
                         {}};
    PrintLayout reference;
    LayoutInput allAgain = all;
    ASSERT_EQ(reference.run(std::move(allAgain)), LayoutStatus::Complete);
    int calls = 0;
    LayoutHooks stopAt{[&] { return ++calls == 200; }, {}, {}};
    EXPECT_EQ(layout.run(all, stopAt), LayoutStatus::Stopped);
    EXPECT_EQ(layout.rowsCreated(), 100);
    EXPECT_EQ(layout.pageCount(), pagesPartial);
    EXPECT_FALSE(layout.placement(1, 101).placed());
    EXPECT_TRUE(layout.partialCreation());

    ASSERT_EQ(layout.run(all, declined), LayoutStatus::Complete);
    EXPECT_GT(asked, 250);
    EXPECT_EQ(layout.rowsCreated(), 250);
    EXPECT_FALSE(layout.partialCreation());
    EXPECT_EQ(layout.pageCount(), reference.pageCount());
    for (int r = 0; r <= 250; ++r)
        ASSERT_EQ(layout.placement(1, r), reference.placement(1, r)) << r;
}

TEST(PrintLayout, ProgressEvery5000RowsAndEveryTenthPage) {
    LayoutInput in = input(std::vector<std::int32_t>(12001, 10), {10}, 100, 100);
    std::vector<int> rows, pages;
    LayoutHooks hooks{{},
                      [&](int last, int of) {
                          rows.push_back(last);
                          EXPECT_EQ(of, 12000);
                      },
                      [&](int p, int) { pages.push_back(p); }};
    PrintLayout layout;
    ASSERT_EQ(layout.run(std::move(in), hooks), LayoutStatus::Complete);
    EXPECT_EQ(rows, (std::vector<int>{4999, 9999}));
    EXPECT_EQ(layout.pageCount(), 1201); // 10 rows a page
    ASSERT_EQ(pages.size(), 120u);
    EXPECT_EQ(pages.front(), 10);
    EXPECT_EQ(pages.back(), 1200);
}

// One 30-wide column per band, 50 columns of one row: 21 bands on a page, then a new page.
TEST(PrintLayout, TwentySecondBandBeginsAPage) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10}, std::vector<std::int32_t>(50, 30), 30, 10000, 0)),
              LayoutStatus::Complete);
    ASSERT_EQ(layout.pageCount(), 3);
    EXPECT_EQ(layout.page(1).bandCount(), 21);
    EXPECT_EQ(layout.page(2).bandCount(), 21);
    EXPECT_EQ(layout.page(3).bandCount(), 8);
    EXPECT_EQ(layout.placement(20, 0), at(1, 21, 0, 200, 30, 210));
    EXPECT_EQ(layout.placement(21, 0), at(2, 1, 0, 0, 30, 10));
}

// Page 1's first band is only row 0 (10 high: row 1 is 95). The last strip, rows 2-3, is 60
// high; with room for page 1's first band alone (64 + 10 <= 100) its column 1 would be stacked
// at 64 and hold row 2 only, while column 2 on the next page holds rows 2-3: cell (1, 3) would
// be printed nowhere. Stacking asks room for the strip's own 60 as well.
TEST(PrintLayout, StackedBandHoldsEveryRowOfItsStrip) {
    PrintLayout layout;
    ASSERT_EQ(layout.run(input({10, 95, 30, 30}, {60, 60, 60}, 100, 100, 4)),
              LayoutStatus::Complete);
    ASSERT_EQ(layout.pageCount(), 7);
    EXPECT_EQ(layout.placement(1, 0), at(1, 2, 0, 14, 60, 24));
    EXPECT_EQ(layout.placement(2, 0), at(1, 3, 0, 28, 60, 38));
    EXPECT_EQ(layout.placement(1, 1), at(3, 1, 0, 0, 60, 95));
    EXPECT_EQ(layout.placement(0, 3), at(5, 1, 0, 30, 60, 60));
    EXPECT_EQ(layout.placement(1, 2), at(6, 1, 0, 0, 60, 30));
    EXPECT_EQ(layout.placement(1, 3), at(6, 1, 0, 30, 60, 60));
    EXPECT_EQ(layout.placement(2, 3), at(7, 1, 0, 30, 60, 60));
    EXPECT_EQ(layout.placementsMade(), 12);
}

} // namespace
} // namespace kol::print
