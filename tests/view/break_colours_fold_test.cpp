// Break colours and folding on tables large enough for their two-thread and shortcut paths,
// held against a plain walk down each column.
#include "table/string_grid.h"
#include "view/break_colours.h"
#include "view/fold.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kol {
namespace {

// Fields drawn from a few values, blanks among them, so runs and blanks break the columns often.
void fillRandom(StringGrid& g, int columns, int rows, unsigned seed) {
    g.setColCount(columns + 2);
    g.setRowCount(rows + 1);
    g.setFixedCols(2);
    g.setFixedRows(1);
    std::mt19937 rng(seed);
    const std::vector<std::string> values = {
        "", " ", "a", "b", "abcdefgh", "abcdefgi", "12345", "12346", "x  y", "abcdefghijklmnopq"};
    std::vector<std::string_view> cells(static_cast<std::size_t>(columns + 2));
    for (int r = 1; r <= rows; ++r) {
        for (int c = 2; c < columns + 2; ++c)
            cells[static_cast<std::size_t>(c)] = values[rng() % values.size()];
        // Some rows shorter than the table: their last columns are empty.
        const std::size_t used = rng() % 8 == 0 ? cells.size() - 2 : cells.size();
        g.setRowCells(r, std::span<const std::string_view>(cells.data(), used));
    }
}

// The rule itself: bit 1 on the first data row, flipped at every change, 0 on a blank cell.
std::vector<std::string> expectedBits(const StringGrid& g) {
    std::vector<std::string> bits(static_cast<std::size_t>(g.colCount()));
    for (int c = g.fixedCols(); c < g.colCount(); ++c) {
        bool bit = true;
        for (int r = g.fixedRows(); r < g.rowCount(); ++r) {
            const std::string_view cell = g.cell(c, r);
            if (r > g.fixedRows()) {
                bool blank = true;
                for (unsigned char ch : cell) blank = blank && ch <= 0x20;
                if (blank)
                    bit = false;
                else if (cell != g.cell(c, r - 1))
                    bit = !bit;
            }
            bits[static_cast<std::size_t>(c)] += bit ? '1' : '0';
        }
    }
    return bits;
}

std::vector<std::string> storedBits(const StringGrid& g, const std::vector<RowFlag>& flags) {
    std::vector<std::string> bits(static_cast<std::size_t>(g.colCount()));
    for (int c = g.fixedCols(); c < g.colCount(); ++c)
        for (int r = g.fixedRows(); r < g.rowCount(); ++r)
            bits[static_cast<std::size_t>(c)] += breakColourBit(flags[r], c) ? '1' : '0';
    return bits;
}

TEST(BreakColoursLarge, TwoThreadsGiveTheBitsOfOneWalk) {
    // 6 columns × 400,000 rows is past the size where the lower half runs on its own thread.
    for (unsigned seed : {1u, 2u}) {
        StringGrid g;
        fillRandom(g, 6, 400000, seed);
        std::vector<RowFlag> flags(static_cast<std::size_t>(g.rowCount()));
        flags[5].Mark = 1;
        RecomputeBreakColours(g, flags, -1, 0);
        EXPECT_EQ(storedBits(g, flags), expectedBits(g)) << seed;
        EXPECT_EQ(flags[5].Mark, 1); // marks are not break bits
    }
}

TEST(BreakColoursLarge, AColumnWithoutBlanksFlipsItsWholeLowerHalf) {
    StringGrid g;
    g.setColCount(5);
    g.setRowCount(800001);
    g.setFixedCols(2);
    g.setFixedRows(1);
    for (int r = 1; r < g.rowCount(); ++r) {
        const std::string_view cells[] = {"", "", r % 3 == 0 ? "a" : "b", "c", ""};
        g.setRowCells(r, cells);
    }
    std::vector<RowFlag> flags(static_cast<std::size_t>(g.rowCount()));
    RecomputeBreakColours(g, flags, -1, 0);
    EXPECT_EQ(storedBits(g, flags), expectedBits(g));
}

TEST(BreakColoursAfterCells, StopWhereTheBitsAgreeAndMatchAFullWalk) {
    StringGrid g;
    fillRandom(g, 4, 3000, 7);
    std::vector<RowFlag> flags(static_cast<std::size_t>(g.rowCount()));
    RecomputeBreakColours(g, flags, -1, 0);
    std::mt19937 rng(11);
    const char* values[] = {"", "a", "b", "abcdefgh", "zz"};
    for (int edit = 0; edit < 300; ++edit) {
        GridRect rect;
        rect.left = 2 + static_cast<int>(rng() % 4);
        rect.top = 1 + static_cast<int>(rng() % 3000);
        rect.right = std::min(5, rect.left + static_cast<int>(rng() % 2));
        rect.bottom = std::min(3000, rect.top + static_cast<int>(rng() % 3));
        g.rewriteRect(rect,
                      [&](int, int, std::string_view) { return std::string(values[rng() % 5]); });
        RecomputeBreakColoursAfterCells(g, flags, rect);
        ASSERT_EQ(storedBits(g, flags), expectedBits(g)) << "edit " << edit;
    }
}

TEST(FoldLarge, OnlyCellsLongerThanTheirColumnFoldIncludingDateSlashes) {
    StringGrid g;
    g.setColCount(4);
    g.setRowCount(30001);
    g.setDefaultRowHeight(22);
    g.setColWidth(2, 9 * 7);         // nine letters
    g.setColWidth(3, 0);             // a hidden column never folds
    g.setCell(2, 100, "123456789");  // nine letters fit
    g.setCell(2, 200, "1234567890"); // ten do not
    g.setCell(2, 300, "20240105");   // eight, and ten with date editing
    g.setCell(3, 400, std::string(500, 'x'));
    DisplaySwitches plain;
    ApplyFold(g, plain, 0, 7, 13);
    const int two = static_cast<int>(13 * 6 / 10.0 + 2 * 13);
    EXPECT_EQ(g.rowHeight(100), 22);
    EXPECT_EQ(g.rowHeight(200), two);
    EXPECT_EQ(g.rowHeight(300), 22);
    EXPECT_EQ(g.rowHeight(400), 22);
    DisplaySwitches dates;
    dates.dateEdit = true;
    ApplyFold(g, dates, 0, 7, 13);
    EXPECT_EQ(g.rowHeight(300), two);
    EXPECT_EQ(g.rowHeight(29999), 22);
    // Once nothing folds, every row is back at the default height.
    g.setCell(2, 200, "");
    g.setCell(2, 300, "");
    ApplyFold(g, dates, 0, 7, 13);
    for (int r : {0, 100, 200, 300, 30000}) EXPECT_EQ(g.rowHeight(r), 22) << r;
}

TEST(RowHeights, KeptListIsDroppedOnlyWhenEveryRowHasTheDefault) {
    StringGrid g;
    g.setRowCount(5);
    g.setDefaultRowHeight(20);
    g.keepRowHeights();
    g.setRowHeight(3, 40);
    g.compactRowHeights();
    EXPECT_EQ(g.rowHeight(3), 40);
    g.insertRows(1, 1); // the list still follows the rows
    EXPECT_EQ(g.rowHeight(4), 40);
    g.resetRowHeight(4);
    g.compactRowHeights();
    EXPECT_EQ(g.rowHeight(4), 20);
    g.setDefaultRowHeight(25);
    EXPECT_EQ(g.rowHeight(4), 25);
}

} // namespace
} // namespace kol
