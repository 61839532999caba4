#include "search/table_search.h"

#include <gtest/gtest.h>

#include <string>

namespace kol {
namespace {

// A table large enough for two threads: every row holds "k<row % 7>" and "m<row % 11>".
void bigTable(StringGrid& g, int rows) {
    g.setColCount(5);
    g.setRowCount(rows + 2);
    g.setFixedCols(2);
    g.setFixedRows(2);
    for (int r = 2; r < rows + 2; ++r) {
        const std::string a = "k" + std::to_string(r % 7), b = "x m" + std::to_string(r % 11);
        const std::string_view cells[] = {"", "", a, b, "z"};
        g.setRowCells(r, cells);
    }
}

TEST(TableSearch, TwoThreadsFindWhatOneFindsInRowOrder) {
    StringGrid g;
    bigTable(g, 90000);
    for (SearchMode mode : {SearchMode::And, SearchMode::Or}) {
        RowMatcher m({"K3", "m5"}, mode);
        SearchHits one = searchTable(g, m, {}, 1), two = searchTable(g, m, {}, 2);
        EXPECT_FALSE(two.stopped);
        EXPECT_EQ(one.rows, two.rows);
        EXPECT_EQ(one.columns, two.columns);
        EXPECT_EQ(one.flagged, two.flagged);
        EXPECT_TRUE(std::is_sorted(two.rows.begin(), two.rows.end()));
    }
}

TEST(TableSearch, AStoppedSearchKeepsAPrefixOfTheHits) {
    StringGrid g;
    bigTable(g, 90000);
    RowMatcher m({"m5"}, SearchMode::Or);
    const SearchHits all = searchTable(g, m, {}, 1);
    for (int stopAt : {1, 5, 40}) {
        int checks = 0;
        SearchHits part = searchTable(
            g, m, [&](int, long long) { return ++checks < stopAt; }, 2);
        // (A busy machine may let the second thread finish before the first checks at all.)
        if (!part.stopped) {
            EXPECT_EQ(part.rows, all.rows);
        }
        ASSERT_LE(part.size(), all.size());
        EXPECT_TRUE(std::equal(part.rows.begin(), part.rows.end(), all.rows.begin()));
    }
}

TEST(TableSearch, ResultsHoldTheSourceRowsAndTheFlags) {
    StringGrid g, results, flags;
    bigTable(g, 60000);
    SearchHits hits = searchText(g, "X", SearchMode::And, results, flags);
    ASSERT_EQ(hits.size(), 60000u); // built on two threads
    ASSERT_EQ(results.rowCount(), 2 + static_cast<int>(hits.size()));
    for (int k : {0, 1, static_cast<int>(hits.size()) / 2, static_cast<int>(hits.size()) - 1}) {
        const int r = 2 + k, b = hits.rows[static_cast<std::size_t>(k)];
        EXPECT_EQ(results.cell(0, r), std::to_string(k + 1));
        for (int c = 0; c < g.colCount(); ++c) EXPECT_EQ(results.cell(c + 1, r), g.cell(c, b));
        EXPECT_EQ(flags.cell(0, r), std::to_string(b));
        EXPECT_EQ(flags.cell(3, r), "");
        EXPECT_EQ(flags.cell(4, r), "*");
    }
}

TEST(TableSearch, RowsOfWideOffsetsAndManyColumnsAreCopiedWhole) {
    StringGrid g, results, flags;
    g.setColCount(90);
    g.setRowCount(3);
    g.setFixedCols(2);
    g.setFixedRows(1);
    const std::string big(70000, 'b'); // the row's offsets are 32-bit
    std::vector<std::string_view> cells(90, "c");
    cells[2] = big;
    cells[89] = "needle";
    g.setRowCells(2, cells);
    g.setCell(5, 1, "needle");
    SearchHits hits = searchText(g, "NEEDLE", SearchMode::Or, results, flags);
    ASSERT_EQ(hits.rows, (std::vector<int>{1, 2}));
    EXPECT_EQ(results.cell(3, 2), big);
    EXPECT_EQ(results.cell(90, 2), "needle");
    EXPECT_EQ(results.cell(6, 1), "needle");
    EXPECT_EQ(flags.cell(90, 2), "*");
    EXPECT_EQ(flags.cell(89, 2), "");
    EXPECT_EQ(flags.cell(6, 1), "*");
}

} // namespace
} // namespace kol
