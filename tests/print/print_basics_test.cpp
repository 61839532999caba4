// The print layer's pure computations, with values worked out by hand.
#include "print/cell_scale.h"
#include "print/page_geometry.h"
#include "print/print_text.h"
#include "print/row_layout.h"
#include "table/string_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kol::print {
namespace {

TEST(PrintText, DateEditAndTrim) {
    const PrintTextOptions date{PrintMode::Table, false, true};
    const PrintTextOptions both{PrintMode::Table, true, true};
    EXPECT_EQ(printText("20240131", date), "2024/01/31");
    EXPECT_EQ(printText("240131", date), "24/01/31");
    EXPECT_EQ(printText(" 240131", date), " 240131"); // seven bytes: unchanged
    EXPECT_EQ(printText(" 240131", both), "24/01/31");
    EXPECT_EQ(printText("2024013", date), "2024013");
    EXPECT_EQ(printText("24O131", date), "24O131"); // a letter among the digits
    EXPECT_EQ(printText("  ab  ", {PrintMode::Table, true, false}), "ab");
    // Text listings print the line as it is.
    EXPECT_EQ(printText(" 20240131", {PrintMode::TextListing, true, true}), " 20240131");
    for (const char* cell : {"20240131", " 240131", "x", "", "   "})
        for (const auto& o : {date, both})
            EXPECT_EQ(printTextLength(cell, o), printText(cell, o).size()) << cell;
}

void setColumn(StringGrid& g, int c, const std::vector<std::string>& texts) {
    for (int r = 0; r < static_cast<int>(texts.size()); ++r) g.setCell(c, r, texts[r]);
}

TEST(PrintBreakBits, FlipOnChangeAndDropOnBlank) {
    StringGrid g;
    g.setColCount(3);
    g.setRowCount(7);
    g.setFixedCols(1);
    g.setFixedRows(1);
    setColumn(g, 0, {"", "1", "2", "3", "4", "5", "6"});
    setColumn(g, 1, {"X", "A", "A", "B", "B", "", "B"});
    setColumn(g, 2, {"2", "A", "A ", "  ", "A", "A", "A"});
    BreakBitTable bits;
    computeBreakBits(g, bits);
    const int col1[] = {0, 1, 1, 0, 0, 0, 1};
    const int col2[] = {0, 1, 0, 0, 1, 1, 1}; // "A " differs from "A"; blanks count as empty
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(bits.test(r, 1), col1[r] == 1) << r;
        EXPECT_EQ(bits.test(r, 2), col2[r] == 1) << r;
        EXPECT_FALSE(bits.test(r, 0)) << "fixed column";
    }
}

TEST(PrintBreakBits, ColumnsBeyond128AreNeverShaded) {
    StringGrid g;
    g.setColCount(131);
    g.setRowCount(2);
    for (int c = 0; c < 131; ++c) g.setCell(c, 1, "v");
    BreakBitTable bits;
    computeBreakBits(g, bits);
    EXPECT_TRUE(bits.test(1, 128));
    EXPECT_FALSE(bits.test(1, 129));
    EXPECT_FALSE(bits.test(1, 130));
    EXPECT_FALSE(bits.test(0, 128)) << "row 0 holds the column numbers";
}

TEST(PrintRowHeights, TableAndTextListing) {
    StringGrid g;
    g.setColCount(2);
    g.setRowCount(4);
    g.setCell(1, 1, "abcdefghij");    // 80 wide in a 40 column: 3 lines
    g.setCell(1, 2, "abcde");         // exactly 40: 1 line
    g.setCell(1, 3, "20240131");      // 64, or 80 as a date
    g.setCell(0, 3, "1234567890123"); // column 0 has width 0: never wraps
    std::vector<int> widths{0, 40};
    RowHeightInput in;
    in.charWidth = 8;
    in.charHeight = 12;
    in.defaultRowHeight = 18;
    std::vector<std::int32_t> rows(4);
    computeRowHeights(g, widths, in, rows);
    EXPECT_EQ(rows[0], 18);
    EXPECT_EQ(rows[1], 2 * 12 + 18);
    EXPECT_EQ(rows[2], 18);
    EXPECT_EQ(rows[3], 12 + 18);
    in.text.dateEdit = true;
    computeRowHeights(g, widths, in, rows);
    EXPECT_EQ(rows[3], 2 * 12 + 18);
    in.maxLinesPerCell = 2;
    computeRowHeights(g, widths, in, rows);
    EXPECT_EQ(rows[1], 12 + 18);

    // Listing: the column is 96 % of 100 = 96 wide; 30 bytes * 8 = 240 → 3 lines → 46.8.
    StringGrid doc;
    doc.setColCount(1);
    doc.setRowCount(2);
    doc.setCell(0, 0, std::string(30, 'x'));
    doc.setCell(0, 1, " ");
    std::vector<int> docWidths{500};
    RowHeightInput listing{{PrintMode::TextListing, true, true}, 8, 12, 18, 20, 100};
    std::vector<std::int32_t> docRows(2);
    computeRowHeights(doc, docWidths, listing, docRows);
    EXPECT_EQ(docWidths[0], 96);
    EXPECT_EQ(docRows[0], 46);
    EXPECT_EQ(docRows[1], 15); // one line: 12 * 1.3 = 15.6
    docWidths[0] = 25;         // 24 exactly, never 23
    computeRowHeights(doc, docWidths, {{PrintMode::TextListing}, 8, 10, 0, 0, 25}, docRows);
    EXPECT_EQ(docWidths[0], 24);
    EXPECT_EQ(docRows[1], 13); // 10 * 1.3 is exactly 13
}

TEST(CellScale, FactorSizesAndSteps) {
    EXPECT_EQ(cellFontHeight(16, 100), 16);
    EXPECT_EQ(cellFontHeight(16, 50), 8);
    EXPECT_DOUBLE_EQ(static_cast<double>(cellScaleFactor(CellSizeMode::Manual, -16, 8)), 2.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(cellScaleFactor(CellSizeMode::OnePage, 16, 8)), 1.0);
    EXPECT_EQ(scaledSize(25, 2.0L), 12);
    EXPECT_EQ(scaledSize(64, 16.0L / 12.0L), 48);
    // 16 px at 100 %: 99 % gives 15.84 → 15, the first change.
    EXPECT_EQ(steppedCellScale(16, 100, 16, -1), 99);
    // Up: 106 % gives 16.96 → 16 still; 107 % gives 17.12 → 17.
    EXPECT_EQ(steppedCellScale(16, 100, 16, +1), 107);
    // At 1 px the − step would reach 0 px: nothing changes.
    EXPECT_EQ(steppedCellScale(16, 12, 1, -1), std::nullopt);
    EXPECT_EQ(steppedCellScale(16, 13, 2, -1), 12);
}

TEST(PageGeometry, A4At600DotsPerInch) {
    EXPECT_EQ(mmToUnits(5), 18);    // 18.90
    EXPECT_EQ(mmToUnits(10), 37);   // 37.80
    EXPECT_EQ(mmToUnits(100), 377); // 377.95
    EXPECT_EQ(headerHeight(0), 24);
    const std::vector<std::string> headings{"File.Name:  a.csv", "", "x", ""};
    EXPECT_EQ(countNonEmptyHeadings(headings), 2);

    GeometryInput in;
    in.printer = {4960, 7016, 600};
    in.leftMarginIndex = 2;
    in.topMarginIndex = 1;
    in.nonEmptyHeadings = 1;
    in.charHeight = 12;
    const auto g = computePageGeometry(in);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->pageWidth, 793);   // 4960 / 6.25 = 793.6
    EXPECT_EQ(g->pageHeight, 1122); // 7016 / 6.25 = 1122.56
    EXPECT_EQ(g->header, 40);
    EXPECT_EQ(g->marginLeft, 37);
    EXPECT_EQ(g->marginTop, 18 + 40);
    EXPECT_EQ(g->usableWidth, 793 - 37 - 18);
    EXPECT_EQ(g->usableHeight, 1122 - 58 - 18);
    EXPECT_EQ(g->bandGap, 24);
    EXPECT_EQ(g->onePageFactor, 1.0L);

    in.mode = CellSizeMode::OnePage;
    in.totalWidth = 2 * 738;
    EXPECT_DOUBLE_EQ(static_cast<double>(computePageGeometry(in)->onePageFactor), 0.5);
    in.totalWidth = 700;
    EXPECT_EQ(computePageGeometry(in)->onePageFactor, 1.0L);
    in.printer.dotsPerInchY = 0;
    EXPECT_FALSE(computePageGeometry(in));

    EXPECT_EQ(toPrinterDots(100, 6.25L), 593); // 625 * 0.95 = 593.75
    EXPECT_EQ(toPrinterDots(-1, 6.25L), -5);   // -6 * 0.95 = -5.7
}

} // namespace
} // namespace kol::print
