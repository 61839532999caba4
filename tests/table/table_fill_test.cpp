#include "table/source_text.h"
#include "table/table_fill.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct Filled {
    StringGrid grid;
    FillResult result;
    std::vector<std::size_t> progress;
};

void fill(Filled& f, const std::string& text, unsigned char sep = ',', RowLabelRule rule = {}) {
    SourceText source(text);
    std::size_t n = countLines(source.text());
    f.grid.setRowCount(static_cast<int>(n) + 1);
    f.grid.setColCount(3);
    f.result =
        FillRows(f.grid, source, n, sep, rule, [&](std::size_t i) { f.progress.push_back(i); });
    f.grid.setColCount(static_cast<int>(f.result.maxFields) + 2);
}

TEST(TableFill, PlacesFieldsFromColumnTwoWithGroupedLabels) {
    Filled f;
    fill(f, "t1,t2\r\na,b,c\r\n\r\nd\r\n");
    EXPECT_EQ(f.result.maxFields, 3u);
    EXPECT_EQ(f.grid.cell(0, 1), ""); // a title row has no number
    EXPECT_EQ(f.grid.cell(0, 2), "1");
    EXPECT_EQ(f.grid.cell(2, 2), "a");
    EXPECT_EQ(f.grid.cell(4, 2), "c");
    EXPECT_EQ(f.grid.cell(2, 3), ""); // the blank line is an empty row
    EXPECT_EQ(f.grid.cell(0, 3), "2");
    EXPECT_EQ(f.grid.cell(1, 2), ""); // key column starts empty
    EXPECT_EQ(f.result.longestField, (std::vector<std::uint32_t>{2, 2, 1}));
}

TEST(TableFill, ProgressEveryThousandLines) {
    std::string text;
    for (int i = 0; i < 2500; ++i) text += "x\r\n";
    Filled f;
    fill(f, text);
    EXPECT_EQ(f.progress, (std::vector<std::size_t>{0, 1000, 2000}));
}

TEST(TableFill, TwoThreadsGiveTheSameTableAsOne) {
    // Above the parallel threshold, with line ends of every kind near the middle.
    std::string text;
    int lines = 0;
    while (text.size() < (9u << 20)) {
        text += std::to_string(lines) + "," + sj("日本語") + ",\"q,x\"";
        text += (lines % 3 == 0) ? "\r\n" : (lines % 3 == 1 ? "\n" : "\r");
        ++lines;
    }
    Filled f;
    fill(f, text, ',', RowLabelRule{true, 1});
    ASSERT_EQ(f.grid.rowCount(), lines + 1);
    for (int r = 1; r <= lines; r += 997) {
        EXPECT_EQ(f.grid.cell(2, r), std::to_string(r - 1)) << r;
        EXPECT_EQ(f.grid.cell(4, r), "q,x") << r;
    }
    EXPECT_EQ(f.grid.cell(2, lines), std::to_string(lines - 1));
    EXPECT_EQ(f.grid.cell(0, 1234), "1,234");
    // Progress is monotonic and covers the whole table.
    ASSERT_FALSE(f.progress.empty());
    EXPECT_TRUE(std::is_sorted(f.progress.begin(), f.progress.end()));
    EXPECT_GE(f.progress.back() + 1000, static_cast<std::size_t>(lines) / 1000 * 1000);
}

TEST(TableFill, HugeLinesAndManyFields) {
    std::string big(10u << 20, 'x');
    std::string many;
    for (int i = 0; i < 10000; ++i) many += std::to_string(i) + ",";
    Filled f;
    fill(f, big + "\r\n" + many + "\r\n");
    EXPECT_EQ(f.grid.cell(2, 1).size(), big.size());
    EXPECT_EQ(f.result.maxFields, 10001u);
    EXPECT_EQ(f.grid.cell(2 + 9999, 2), "9999");
}

} // namespace
} // namespace kol
