// Pages of small layouts drawn on a recording canvas. Every cell's text names it ("c3r0"), so a
// cell is found by the fill drawn just before its text.
#include "print/page_drawing.h"

#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace kol;
using namespace kol::print;
using kol::test::DrawCall;
using kol::test::Fill;
using kol::test::FixedPitchMetrics;
using kol::test::Frame;
using kol::test::RecordingCanvas;
using Calls = std::vector<DrawCall>;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0, kGrey = 0xC0C0C0, kBlue = 0xFF0000;

std::string name(int c, int r) {
    return "c" + std::to_string(c) + "r" + std::to_string(r);
}

struct DrawnCell {
    std::string text;
    CanvasRect rect;
    std::uint32_t fill;
};

std::vector<DrawnCell> cellsOf(const Calls& calls) {
    std::vector<DrawnCell> cells;
    for (std::size_t i = 0; i + 1 < calls.size(); ++i)
        if (calls[i].kind == DrawCall::Kind::Fill && calls[i + 1].kind == DrawCall::Kind::Text)
            cells.push_back({calls[i + 1].text.text, calls[i].rect, calls[i].colour});
    return cells;
}

// The distinct rectangles cell `text` was drawn in.
std::vector<CanvasRect> rectsOf(const Calls& calls, const std::string& text) {
    std::vector<CanvasRect> rects;
    for (const DrawnCell& cell : cellsOf(calls))
        if (cell.text == text && std::find(rects.begin(), rects.end(), cell.rect) == rects.end())
            rects.push_back(cell.rect);
    return rects;
}

std::vector<CanvasRect> framesOf(const Calls& calls, std::uint32_t colour, int pen) {
    std::vector<CanvasRect> rects;
    for (const DrawCall& call : calls)
        if (call.kind == DrawCall::Kind::Frame && call.colour == colour && call.penWidth == pen)
            rects.push_back(call.rect);
    return rects;
}

class PageDrawing : public ::testing::Test {
protected:
    StringGrid grid;
    std::optional<PrintCopy> copy;
    PrintLayout layout;
    PageOptions options;
    PageMapping mapping;
    PageHeader header;

    void SetUp() override {
        // "A" 1 x 2: a 10-wide fixed column (inset 3) holds the four bytes of "c0r0".
        options.charWidth = 1;
        options.charHeight = 2;
        options.colours = printColours(192);
        mapping.marginLeft = 5;
        mapping.marginTop = 20;
        mapping.pageWidth = 200;
        mapping.pageHeight = 150;
    }

    void build(const std::vector<std::int32_t>& heights, const std::vector<std::int32_t>& widths,
               int uw, int uh, int fixedRows, int fixedCols, int gap = 6) {
        grid.setColCount(static_cast<int>(widths.size()));
        grid.setRowCount(static_cast<int>(heights.size()));
        grid.setFixedCols(fixedCols);
        grid.setFixedRows(fixedRows);
        for (int r = 0; r < grid.rowCount(); ++r) {
            grid.setRowHeight(r, heights[static_cast<std::size_t>(r)]);
            for (int c = 0; c < grid.colCount(); ++c) grid.setCell(c, r, name(c, r));
        }
        for (int c = 0; c < grid.colCount(); ++c)
            grid.setColWidth(c, widths[static_cast<std::size_t>(c)]);
        copy.emplace(grid, 0);
        LayoutInput in;
        in.rowHeights = heights;
        in.columnWidths = widths;
        in.usableWidth = uw;
        in.usableHeight = uh;
        in.bandGap = gap;
        in.fixedRows = fixedRows;
        in.fixedColumns = fixedCols;
        in.sizeMode = mapping.onePageFactor < 1 ? CellSizeMode::OnePage : CellSizeMode::Manual;
        in.onePageFactor = mapping.onePageFactor;
        ASSERT_EQ(layout.run(in), LayoutStatus::Complete);
    }

    Calls draw(int page) {
        RecordingCanvas canvas;
        FixedPitchMetrics metrics;
        drawPage(canvas, metrics, layout, *copy, page, options, mapping, header);
        return canvas.calls;
    }

    // A layout rectangle on the preview at scale 1: moved by the margins.
    CanvasRect at(int l, int t, int r, int b) const {
        return {l + mapping.marginLeft, t + mapping.marginTop, r + mapping.marginLeft,
                b + mapping.marginTop};
    }
};

TEST_F(PageDrawing, OnePageOneBand) {
    build({10, 10, 10}, {10, 40, 40}, 100, 100, 1, 1);
    ASSERT_EQ(layout.pageCount(), 1);
    const Calls calls = draw(1);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), Fill({0, 0, 200, 150}, kWhite));   // the sheet
    EXPECT_EQ(calls.back(), Frame({1, 1, 200, 150}, kBlue, 1)); // the paper's edge
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int left = c == 0 ? 0 : 10 + 40 * (c - 1);
            const int right = c == 0 ? 10 : left + 40;
            EXPECT_EQ(rectsOf(calls, name(c, r)),
                      std::vector<CanvasRect>{at(left, 10 * r, right, 10 * r + 10)})
                << name(c, r);
        }
    for (const DrawnCell& cell : cellsOf(calls)) {
        const bool fixed = cell.text.find("r0") != std::string::npos || cell.text[1] == '0';
        EXPECT_EQ(cell.fill, fixed ? kGrey : kWhite) << cell.text;
    }
    // Text in the inset inner box, one "A" high; data cells left aligned by default.
    const auto text = std::find_if(calls.begin(), calls.end(), [](const DrawCall& call) {
        return call.kind == DrawCall::Kind::Text && call.text.text == "c2r2";
    });
    ASSERT_NE(text, calls.end());
    EXPECT_EQ(text->rect, at(53, 23, 87, 25));
    EXPECT_EQ(text->text.font.height, 2);
    EXPECT_EQ(text->text.align, TextAlign::Left);
    EXPECT_EQ(framesOf(calls, kBlack, 2), std::vector<CanvasRect>{at(0, 0, 90, 30)});
    // The last fixed column and row come again after the data cells.
    const std::vector<DrawnCell> cells = cellsOf(calls);
    const auto lastData = std::find_if(cells.begin(), cells.end(),
                                       [](const DrawnCell& c) { return c.text == "c2r2"; });
    EXPECT_TRUE(
        std::any_of(lastData, cells.end(), [](const DrawnCell& c) { return c.text == "c0r2"; }));
    EXPECT_TRUE(
        std::any_of(lastData, cells.end(), [](const DrawnCell& c) { return c.text == "c2r0"; }));
}

// Bands of columns 0-2 and 3-4 one below the other on page 1 (the second at 26); 5-6 and 7
// likewise on page 2.
TEST_F(PageDrawing, StackedBandsEachGetTheFixedCellsAndAFrame) {
    build({10, 10}, {10, 40, 40, 40, 40, 40, 40, 40}, 100, 70, 1, 1);
    ASSERT_EQ(layout.pageCount(), 2);
    ASSERT_EQ(layout.page(1).bandCount(), 2);
    const Calls calls = draw(1);
    // The fixed column beside both bands.
    EXPECT_EQ(rectsOf(calls, "c0r0"),
              (std::vector<CanvasRect>{at(0, 0, 10, 10), at(0, 26, 10, 36)}));
    EXPECT_EQ(rectsOf(calls, "c0r1"),
              (std::vector<CanvasRect>{at(0, 10, 10, 20), at(0, 36, 10, 46)}));
    // Each band has its own column headings above its rows.
    EXPECT_EQ(rectsOf(calls, "c1r0"), std::vector<CanvasRect>{at(10, 0, 50, 10)});
    EXPECT_EQ(rectsOf(calls, "c3r0"), std::vector<CanvasRect>{at(10, 26, 50, 36)});
    EXPECT_EQ(rectsOf(calls, "c4r1"), std::vector<CanvasRect>{at(50, 36, 90, 46)});
    EXPECT_TRUE(rectsOf(calls, "c5r0").empty()); // page 2's
    EXPECT_EQ(framesOf(calls, kBlack, 2),
              (std::vector<CanvasRect>{at(0, 0, 90, 20), at(0, 26, 90, 46)}));

    const Calls page2 = draw(2); // columns 5-6, and 7 below them
    EXPECT_EQ(rectsOf(page2, "c0r0"),
              (std::vector<CanvasRect>{at(0, 0, 10, 10), at(0, 26, 10, 36)}));
    EXPECT_EQ(rectsOf(page2, "c5r0"), std::vector<CanvasRect>{at(10, 0, 50, 10)});
    EXPECT_EQ(rectsOf(page2, "c7r0"), std::vector<CanvasRect>{at(10, 26, 50, 36)});
    EXPECT_TRUE(rectsOf(page2, "c3r0").empty());
}

TEST_F(PageDrawing, LaterPagesOfATallTableRepeatTheFixedRows) {
    build(std::vector<std::int32_t>(10, 10), {10, 40}, 100, 50, 1, 1);
    ASSERT_EQ(layout.pageCount(), 3);
    const Calls calls = draw(2); // rows 5..8, moved down by the fixed row
    EXPECT_EQ(rectsOf(calls, "c0r0"), std::vector<CanvasRect>{at(0, 0, 10, 10)});
    EXPECT_EQ(rectsOf(calls, "c1r0"), std::vector<CanvasRect>{at(10, 0, 50, 10)});
    EXPECT_EQ(rectsOf(calls, "c1r5"), std::vector<CanvasRect>{at(10, 10, 50, 20)});
    EXPECT_EQ(rectsOf(calls, "c0r8"), std::vector<CanvasRect>{at(0, 40, 10, 50)});
    EXPECT_TRUE(rectsOf(calls, "c1r4").empty());
    EXPECT_TRUE(rectsOf(calls, "c1r9").empty());
    EXPECT_EQ(framesOf(calls, kBlack, 2), std::vector<CanvasRect>{at(0, 0, 50, 50)});
}

// Page 1 stacks columns 1-2 and 3-4 (rows 0-1, the second band at 26); row 2 is too tall to
// follow and starts page 2 (columns 0-2) and page 3 (columns 3-4), its cells moved down by the
// fixed row. Page 3's headings belong at its top, not where page 1's second band had them.
TEST_F(PageDrawing, HeadingsOfALaterStripAreDrawnInTheRoomLeftForThem) {
    build({10, 10, 60}, {10, 40, 40, 40, 40}, 100, 70, 1, 1);
    ASSERT_EQ(layout.pageCount(), 3);
    ASSERT_EQ(layout.page(1).bandCount(), 2);
    EXPECT_EQ(layout.placement(3, 0).rect, (CellRect{10, 26, 50, 36}));
    EXPECT_EQ(layout.placement(3, 2).rect, (CellRect{10, 10, 50, 70}));
    const Calls calls = draw(3);
    EXPECT_EQ(rectsOf(calls, "c3r0"), std::vector<CanvasRect>{at(10, 0, 50, 10)});
    EXPECT_EQ(rectsOf(calls, "c4r0"), std::vector<CanvasRect>{at(50, 0, 90, 10)});
    EXPECT_EQ(rectsOf(calls, "c0r0"), std::vector<CanvasRect>{at(0, 0, 10, 10)});
    EXPECT_EQ(rectsOf(calls, "c3r2"), std::vector<CanvasRect>{at(10, 10, 50, 70)});
    EXPECT_EQ(rectsOf(calls, "c0r2"), std::vector<CanvasRect>{at(0, 10, 10, 70)});
    EXPECT_TRUE(rectsOf(calls, "c1r0").empty());
    EXPECT_EQ(framesOf(calls, kBlack, 2), std::vector<CanvasRect>{at(0, 0, 90, 70)});
}

TEST_F(PageDrawing, HiddenColumnsAndRowsDrawNothing) {
    // The row-number column and the column-number row hidden, column 2 switched off.
    build({0, 10, 10}, {0, 40, 0, 40}, 100, 100, 1, 1);
    const Calls calls = draw(1);
    for (const DrawnCell& cell : cellsOf(calls)) {
        EXPECT_NE(cell.text[1], '0') << cell.text;
        EXPECT_NE(cell.text[1], '2') << cell.text;
        EXPECT_EQ(cell.text.find("r0"), std::string::npos) << cell.text;
    }
    for (const DrawCall& call : calls) // no fill or box of zero width or height either
        if (call.kind == DrawCall::Kind::Fill && call.colour != kWhite) {
            EXPECT_TRUE(call.rect.width() > 0 && call.rect.height() > 0);
        }
    EXPECT_EQ(rectsOf(calls, "c3r1"), std::vector<CanvasRect>{at(40, 0, 80, 10)});
}

TEST_F(PageDrawing, OnePageFactorScalesTheCellsNotTheMargins) {
    mapping.onePageFactor = 0.5;
    options.charHeight = 4;
    build({10, 10}, {20, 80, 80}, 100, 100, 1, 1);
    const Calls calls = draw(1);
    EXPECT_EQ(rectsOf(calls, "c2r1"), std::vector<CanvasRect>{at(50, 5, 90, 10)});
    EXPECT_EQ(rectsOf(calls, "c0r0"), std::vector<CanvasRect>{at(0, 0, 10, 5)});
    const auto text = std::find_if(calls.begin(), calls.end(), [](const DrawCall& call) {
        return call.kind == DrawCall::Kind::Text;
    });
    ASSERT_NE(text, calls.end());
    EXPECT_EQ(text->text.font.height, 2);
    EXPECT_EQ(calls.front(), Fill({0, 0, 200, 150}, kWhite));
}

TEST_F(PageDrawing, PrinterPagesInDots) {
    mapping.target = PageTarget::Printer;
    mapping.printerRatio = 6.25L; // 600 dpi
    build({10, 10}, {10, 40}, 100, 100, 1, 1);
    const Calls calls = draw(1);
    // Margins Trunc(v * 6.25): 31 and 125; cells Trunc(Trunc(v * 6.25) * 0.95).
    EXPECT_EQ(rectsOf(calls, "c1r1"),
              (std::vector<CanvasRect>{{31 + 58, 125 + 58, 31 + 296, 125 + 118}}));
    for (const DrawCall& call : calls) {
        EXPECT_NE(call.colour, kBlue);
        EXPECT_FALSE(call.kind == DrawCall::Kind::Fill && call.rect.left == 0 &&
                     call.rect.top == 0);
        if (call.kind == DrawCall::Kind::Frame) {
            EXPECT_TRUE(call.penWidth == 3 || call.penWidth == 6);
        }
    }
    EXPECT_EQ(framesOf(calls, kBlack, 6),
              (std::vector<CanvasRect>{{31, 125, 31 + 296, 125 + 118}}));
    const auto text = std::find_if(calls.begin(), calls.end(), [](const DrawCall& call) {
        return call.kind == DrawCall::Kind::Text;
    });
    ASSERT_NE(text, calls.end());
    EXPECT_EQ(text->text.font.height, 12); // Trunc(2 * 6.25)
}

TEST_F(PageDrawing, PagesOutsideTheLayoutAreBlank) {
    build({10, 10}, {10, 40}, 100, 100, 1, 1);
    header.datePage = "    PAGE  0 / 1";
    header.usableWidth = 190;
    for (int page : {0, 2}) {
        const Calls calls = draw(page);
        ASSERT_EQ(calls.size(), 2u) << page;
        EXPECT_EQ(calls[0], Fill({0, 0, 200, 150}, kWhite));
        EXPECT_EQ(calls[1].kind, DrawCall::Kind::Text);
    }
    mapping.target = PageTarget::Printer;
    EXPECT_EQ(draw(0).size(), 1u); // the header alone
}

TEST_F(PageDrawing, FillsAndTextsFollowTheOptions) {
    build({10, 10, 10, 10}, {10, 60, 60}, 200, 100, 1, 1);
    grid.setCell(1, 2, "");
    grid.setCell(2, 2, "");
    grid.setCell(1, 3, " 20240506 ");
    copy->breakBitsThrough(copy->rowCount() - 1);
    options.emptyRows = EmptyRowFill::Grey;
    options.text.trimSpace = true;
    options.text.dateEdit = true;
    options.dataCentre = true;
    Calls calls = draw(1);
    EXPECT_EQ(rectsOf(calls, "2024/05/06"), std::vector<CanvasRect>{at(10, 30, 70, 40)});
    EXPECT_TRUE(std::count(calls.begin(), calls.end(), Fill(at(10, 20, 70, 30), kGrey)));
    // Row 3's first data cell changed from the row above: the light break shade.
    EXPECT_TRUE(std::count(calls.begin(), calls.end(), Fill(at(10, 30, 70, 40), 0xE8E8E8)));
    const auto text = std::find_if(calls.begin(), calls.end(), [](const DrawCall& call) {
        return call.kind == DrawCall::Kind::Text && call.text.text == "c2r1";
    });
    ASSERT_NE(text, calls.end());
    EXPECT_EQ(text->text.align, TextAlign::Centre);

    // A listing: the texts as they are (trailing blanks never show), no boxes, no band frames.
    options.mode = PrintMode::TextListing;
    options.text.mode = PrintMode::TextListing;
    calls = draw(1);
    EXPECT_EQ(rectsOf(calls, " 20240506").size(), 1u);
    EXPECT_TRUE(framesOf(calls, kBlack, 1).empty());
    EXPECT_TRUE(framesOf(calls, kBlack, 2).empty());
}

} // namespace
