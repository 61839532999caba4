// Printing the search results through the main window's print.
#include "search/kolumbra02.h"
#include "search/search_fixture.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using test::SearchFixture;

const std::string kTable = sj("名前,メモ,コード\r\n") + "abc,xdefx,1\r\nonly abc,-,2\r\n";

std::vector<int> widths(const StringGrid& g) {
    std::vector<int> w;
    for (int c = 0; c < g.colCount(); ++c) w.push_back(g.colWidth(c));
    return w;
}

TEST(SearchPrint, HeadingsAndWidthsForThePrintAndTheWidthsBackAfter) {
    SearchFixture f;
    f.load(kTable);
    f.doc.ColInfo[3].Shown = 0; // the second data column is switched off
    f.search(sj("abc ﾃｽﾄ"), true);
    ASSERT_TRUE(f.w.Mn_Print.Enabled);
    f.w.LetterWidth = 8;
    for (int c = 0; c < f.w.Grid.colCount(); ++c) f.w.Grid.setColWidth(c, 50 + c);
    const std::vector<int> before = widths(f.w.Grid);
    f.w.Mn_PrintClick();

    ASSERT_EQ(f.link.prints.size(), 1u);
    const test::FakeMainLink::Print& p = f.link.prints[0];
    EXPECT_EQ(p.rowLimit, 100);
    EXPECT_EQ(p.printed.request.headings,
              (print::HeadingLines{"File.Name  : /data/table.csv", sj("検索条件   : OR"),
                                   sj("検索文字列 : abc ﾃｽﾄ"), ""}));
    const StringGrid& g = *p.printed.grid;
    const int last = g.rowCount() - 1;
    ASSERT_EQ(g.cell(0, last), "2"); // the sequence number of the last result
    const std::vector<int> printed = p.printed.widths();
    ASSERT_EQ(printed.size(), 6u); // sequence, label, key copy and the three data columns
    EXPECT_EQ(printed[0], 8 * (1 + 2));
    EXPECT_EQ(printed[1], 8 * (static_cast<int>(Trim(g.cell(1, last)).size()) + 2));
    EXPECT_EQ(printed[2], 0);
    EXPECT_EQ(printed[3], before[3]);
    EXPECT_EQ(printed[4], 0); // shows source column 3
    EXPECT_EQ(printed[5], before[5]);
    EXPECT_EQ(widths(f.w.Grid), before);
    EXPECT_TRUE(f.w.GridVisible);

    f.w.Rdo_OR.Checked = false;
    f.w.Rdo_AND.Checked = true;
    f.w.Mn_PrintClick();
    EXPECT_EQ(f.link.prints.back().printed.request.headings[1], sj("検索条件   : AND"));
}

} // namespace
} // namespace kol
