// The row sort's order and the column sort's moves, on a document alone.
#include "sort/table_sort.h"
#include "support/test_support.h"
#include "table/table_load.h"
#include "text/cp932.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace kol {
namespace {

// A document from CSV lines; grid row k is line k, row 0 holds the column numbers.
struct Doc {
    test::TempDir dir;
    TableDocument doc;
    explicit Doc(const std::vector<std::string>& lines, int titleRows = 1) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        test::writeBytes(dir / "t.csv", text);
        TableLoadOptions options;
        options.titleRows = titleRows;
        EXPECT_TRUE(loadTableFile((dir / "t.csv").string(), doc, options).ok());
    }
    std::string column(int c = 2) const {
        std::string out;
        for (int r = doc.Grid.fixedRows(); r < doc.Grid.rowCount(); ++r) {
            if (!out.empty()) out += "|";
            out += doc.Grid.cell(c, r);
        }
        return out;
    }
    RowSortResult sort(std::vector<int> keys, const SortProgress& progress = {}) {
        return sortRowsByKeys(doc, keys, RowLabelRule{false, 0}, progress);
    }
};

TEST(RowSort, TextOrderWithCaseIgnoredAndNumbersAsText) {
    Doc d({"c", "B", "a"});
    EXPECT_TRUE(d.sort({2}).changed);
    EXPECT_EQ(d.column(), "a|B|c");

    Doc n({"9", "100", "10"});
    n.sort({2});
    EXPECT_EQ(n.column(), "10|100|9");
}

TEST(RowSort, EqualKeysKeepTheirFormerOrder) {
    // Rows 1..25 under one key, another key's rows among them: 9 before 10, 19 before 20, ...
    std::vector<std::string> lines;
    std::string others, ties;
    for (int r = 1; r <= 25; ++r) {
        lines.push_back("k," + std::to_string(r));
        ties += "|" + std::to_string(r);
        if (r % 4 == 0) {
            lines.push_back("j,x" + std::to_string(r));
            others += "x" + std::to_string(r) + "|";
        }
    }
    Doc d(lines);
    d.sort({2});
    EXPECT_EQ(d.column(3), others + ties.substr(1));

    // Keys equal only at the collation's primary level (case, blanks around) are ties too.
    Doc c({"b,1", " B,2", "a,3", "b ,4", "A,5", "B,6", "a,7"});
    c.sort({2});
    EXPECT_EQ(c.column(3), "3|5|7|1|2|4|6");

    // Every key equal: nothing moves.
    std::vector<std::string> same;
    for (int r = 1; r <= 12; ++r) same.push_back("same," + std::to_string(r));
    Doc e(same);
    EXPECT_FALSE(e.sort({2}).changed);
    EXPECT_EQ(e.column(3), "1|2|3|4|5|6|7|8|9|10|11|12");
}

TEST(RowSort, SortingTwiceGivesATwoLevelOrder) {
    // Postal codes with their prefecture and city codes. Sorted by postal code, then by city,
    // then by prefecture: by prefecture, within it by city, within that by postal code.
    const std::vector<std::string> lines = {
        "0600000,01,101", "1000001,13,101", "0600042,01,101", "1500001,13,113",
        "0640941,01,101", "1000004,13,101", "0010010,01,102", "1500002,13,113",
        "1000005,13,101", "1020072,13,101", "0010011,01,102", "9000000,47,201",
    };
    Doc d(lines);
    d.sort({2}); // by postal code first, so the groups below start out in that order
    d.sort({4});
    d.sort({3});
    EXPECT_EQ(d.column(2), "0600000|0600042|0640941|0010010|0010011|1000001|1000004|1000005|"
                           "1020072|1500001|1500002|9000000");
    EXPECT_EQ(d.column(3), "01|01|01|01|01|13|13|13|13|13|13|47");
    EXPECT_EQ(d.column(4), "101|101|101|102|102|101|101|101|101|113|113|201");
}

TEST(RowSort, BlanksAroundAKeyDoNotCountAndShorterValuesComeFirst) {
    Doc d({"ab,1", " a,2", "a ,3", "b,4", "  ,5"});
    d.sort({2});
    EXPECT_EQ(d.column(3), "5|2|3|1|4");
    EXPECT_EQ(d.column(2), "  | a|a |ab|b") << "cells keep their blanks";
}

TEST(RowSort, LaterKeysBreakTiesAndKanaSortsInJapaneseOrder) {
    Doc d({sj("か,2"), sj("あ,9"), sj("か,1"), "A,5"});
    d.sort({2, 3});
    EXPECT_EQ(cp932::toUtf8(d.column(2)), "A|あ|か|か");
    EXPECT_EQ(d.column(3), "5|9|1|2");
}

TEST(RowSort, LongKeysThatAgreeForManyBytesStillSortByWhereTheyDiffer) {
    // Past any first window of the key: the order is found further in, for short and long keys.
    for (std::size_t same : {10u, 30u, 70u, 200u}) {
        const std::string head(same, 'x');
        Doc d({head + "c,1", head + "a,2", head + "b,3", head + "a,4", "w,5"});
        d.sort({2});
        EXPECT_EQ(d.column(3), "5|2|4|3|1") << same;
        Doc j({sj("漢字") + head + sj("あ") + ",1", sj("漢字") + head + ",2"});
        j.sort({2});
        EXPECT_EQ(j.column(3), "2|1") << same;
    }
}

TEST(RowSort, ALargeTableSortsOnTwoThreadsAsOnOneAndKeepsTiesInOrder) {
    // 120,000 rows (two threads): 1,000 keys of 120 rows each, and one key held by 30,000 rows
    // that the split's sampled middle falls into. Ties come out in their former order.
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, int>> expected;
    for (int r = 1; r <= 120000; ++r) {
        char value[8];
        std::snprintf(value, sizeof value, "%03d", static_cast<int>((r * 7919L) % 1000));
        const std::string key = r % 4 == 0 ? std::string("500") : std::string(value);
        lines.push_back(key + "," + std::to_string(r));
        expected.emplace_back(key, r);
    }
    std::sort(expected.begin(), expected.end());
    Doc d(lines);
    EXPECT_TRUE(d.sort({2}).changed);
    for (int p = 0; p < 120000; ++p)
        ASSERT_EQ(d.doc.Grid.cell(3, p + 1), std::to_string(expected[p].second)) << p;
}

TEST(RowSort, InvalidBytesSortDeterministicallyAndStayByteForByte) {
    const std::string bad1 = "\x81", bad2 = "x\xFF", bad3 = "\xA0\x80";
    Doc d({bad2, "b", bad1, bad3, "a"});
    d.sort({2});
    const std::string once = d.column();
    Doc e({bad1, bad3, "a", "b", bad2});
    e.sort({2});
    EXPECT_EQ(e.column(), once);
    for (const std::string& b : {bad1, bad2, bad3})
        EXPECT_NE(once.find(b), std::string::npos) << "kept as it was";
}

TEST(RowSort, RowsCarryTheirAttributesHeightsAndGetFreshLabels) {
    Doc d({"c", "a", "b"});
    d.doc.RowFlags[1].Mark = 7; // "c"
    d.doc.Grid.setRowHeight(1, 50);
    d.sort({2});
    EXPECT_EQ(d.column(), "a|b|c");
    EXPECT_EQ(d.doc.RowFlags[3].Mark, 7);
    EXPECT_EQ(d.doc.Grid.rowHeight(3), 50);
    EXPECT_EQ(d.doc.RowFlags[1].Mark, 0);
    EXPECT_EQ(d.doc.Grid.cell(0, 1), "1");
    EXPECT_EQ(d.doc.Grid.cell(0, 3), "3");
}

TEST(RowSort, LabelsAreTheRowNumbersGroupedInThousands) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1200; ++i) lines.push_back(std::to_string(5000 - i));
    Doc d(lines);
    sortRowsByKeys(d.doc, std::vector<int>{2}, RowLabelRule{false, 1});
    EXPECT_EQ(d.doc.Grid.cell(0, 1), "") << "a title row's place carries no number";
    EXPECT_EQ(d.doc.Grid.cell(0, 2), "1");
    EXPECT_EQ(d.doc.Grid.cell(0, 1000), "999");
    EXPECT_EQ(d.doc.Grid.cell(0, 1001), "1,000");
    EXPECT_EQ(d.doc.Grid.cell(0, 1200), "1,199");
    EXPECT_EQ(d.doc.Grid.cell(2, 1), "3801");
}

TEST(RowSort, EmptyKeyColumnsAndOnlyFixedRowsChangeNothing) {
    Doc d({"x,", "y,", "z,"});
    EXPECT_FALSE(d.sort({3}).changed);
    EXPECT_EQ(d.column(), "x|y|z");

    Doc fixed({"b", "a"}, 2); // both lines are title rows
    EXPECT_EQ(fixed.doc.Grid.fixedRows(), 2);
    RowSortResult r = fixed.sort({2});
    EXPECT_TRUE(r.completed);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(fixed.doc.Grid.cell(2, 1), "b");
}

TEST(RowSort, AStopBeforeTheRowsMoveLeavesTheTableExactlyAsItWas) {
    for (int rows : {3000, 100000}) // one thread, two threads
        for (const char* stopAt : {"Step 1", "Step 2", "Step 3", "Step 4"}) {
            std::vector<std::string> lines;
            for (int i = 0; i < rows; ++i) lines.push_back(std::to_string(rows - i) + ",v");
            Doc d(lines);
            d.doc.RowFlags[5].Mark = 1;
            const std::string before = d.column();
            const std::string labels = d.column(0);
            bool asked = false;
            RowSortResult r =
                d.sort({2}, [&](std::string_view step, long long, long long, long long) {
                    asked = asked || step == stopAt;
                    return !asked;
                });
            EXPECT_FALSE(r.completed) << stopAt << rows;
            EXPECT_EQ(d.column(), before) << stopAt << rows;
            EXPECT_EQ(d.column(0), labels) << stopAt;
            EXPECT_EQ(d.doc.RowFlags[5].Mark, 1) << stopAt;
        }
}

TEST(ColumnSort, KeysGoToTheFrontInKeyOrderWithWidthsAndAttributes) {
    Doc d({"a,b,c,d,e", "x", sj("漢,,,,字")});
    d.doc.Grid.setColWidth(6, 120); // column 5
    d.doc.ColInfo[6].Shown = 0;
    d.doc.ColInfo[3].Marked = 1; // column 2
    EXPECT_TRUE(moveKeyColumnsToFront(d.doc, std::vector<int>{6, 3}));
    std::string row;
    for (int c = 2; c < d.doc.Grid.colCount(); ++c) row += d.doc.Grid.cell(c, 1);
    EXPECT_EQ(row, "ebacd");
    EXPECT_EQ(d.column(2), "e||" + sj("字"));
    EXPECT_EQ(d.column(4), "a|x|" + sj("漢")) << "a short row takes more cells";
    EXPECT_EQ(d.doc.Grid.colWidth(2), 120);
    EXPECT_EQ(d.doc.ColInfo[2].Shown, 0);
    EXPECT_EQ(d.doc.ColInfo[3].Marked, 1);
    for (int c = 2; c < d.doc.Grid.colCount(); ++c)
        EXPECT_EQ(d.doc.Grid.cell(c, 0), std::to_string(c - 1));

    EXPECT_FALSE(moveKeyColumnsToFront(d.doc, std::vector<int>{2, 3})) << "already in front";
}

} // namespace
} // namespace kol
