// Widths follow what a cell shows, not only what it holds: edited dates and long row labels
// are never cut.
#include "support/fakes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct Widths : test::MainFixture {
    test::TempDir dir;
    int w = model.LetterWidth;
    void load(const std::string& text) {
        std::string path = (dir / "t.csv").string();
        test::writeBytes(path, text);
        ASSERT_TRUE(model.LoadTable(path, 1));
    }
    // Wide enough for n letters, as the fitting rule measures them.
    bool fits(int c, double letters) const {
        return model.Grid.colWidth(c) >= static_cast<int>((letters + 1.5) * w);
    }
};

TEST(ShownWidths, EditedDatesAreNeverCut) {
    // Switched on before the load: the fit measures "2024/07/20", not "20240720".
    Widths f;
    f.model.Mn_DateEdit.Checked = true;
    f.load("d,t,n\r\n20240720,abc,123\r\n19991231,de,4567\r\n240720,x,1234567\r\n");
    EXPECT_TRUE(f.fits(2, 10));
    EXPECT_FALSE(f.fits(3, 10)); // no date, no widening
    EXPECT_FALSE(f.fits(4, 9));  // seven digits are no date

    // Switched on after the load: widened then, never narrowed.
    Widths g;
    g.load("20240720,abcdefghijklmnop\r\n");
    EXPECT_FALSE(g.fits(2, 10));
    const int wide = g.model.Grid.colWidth(3);
    g.model.Mn_FixedCenterClick(g.model.Mn_DateEdit);
    EXPECT_TRUE(g.fits(2, 10));
    EXPECT_EQ(g.model.Grid.colWidth(3), wide);

    // A date typed into a narrow column.
    Widths h;
    h.model.Mn_DateEdit.Checked = true;
    h.load("ab\r\n");
    h.model.commitCell(2, 1, "20240720");
    EXPECT_TRUE(h.fits(2, 10));
}

TEST(ShownWidths, RowLabelsOfAMillionRowsAndMoreFitTheirColumn) {
    Widths f;
    f.model.ResetTable(1, 999999);
    f.model.Shown.renumberRowLabels();
    EXPECT_EQ(f.model.Grid.colWidth(0), 9 * f.w); // "999,999" and below: as always

    f.model.Doc.insertLines(Axis::Rows, 5, 1000);
    f.model.Shown.renumberRowLabels(); // 1,000,999 rows: "1,000,999" needs 9 letters and a margin
    EXPECT_EQ(f.model.Grid.colWidth(0), 11 * f.w);

    f.model.Doc.deleteLines(Axis::Rows, 5, 2000);
    f.model.Shown.renumberRowLabels();
    EXPECT_EQ(f.model.Grid.colWidth(0), 9 * f.w);
}

} // namespace
} // namespace kol
