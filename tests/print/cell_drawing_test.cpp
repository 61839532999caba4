#include "print/cell_drawing.h"

#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kol;
using namespace kol::print;
using kol::test::Dotted;
using kol::test::DrawCall;
using kol::test::Fill;
using kol::test::Frame;
using kol::test::RecordingCanvas;
using kol::test::Text;
using Calls = std::vector<DrawCall>;

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0, kGrey = 0xC0C0C0, kLight = 0xE8E8E8;
const std::string kA = "\x83\x41"; // ア

// A data cell 100 x 40 at (10, 20), inset 2, in a font 16 high whose "A" is 8 wide: lines of
// 12 bytes in the inner box (12, 22)-(108, 58).
CellDrawing dataCell(std::string_view text) {
    CellDrawing cell;
    cell.rect = {10, 20, 110, 60};
    cell.inset = 2;
    cell.columnWidth = 100;
    cell.text = text;
    cell.font.height = 16;
    cell.charWidth = 8;
    cell.charHeight = 16;
    return cell;
}

Calls draw(const CellDrawing& cell) {
    RecordingCanvas canvas;
    drawCell(canvas, cell, printColours(192));
    return canvas.calls;
}

TEST(CellDrawing, PlainDataCellIsFilledWrittenThenBoxed) {
    EXPECT_EQ(draw(dataCell("abc")),
              (Calls{Fill({10, 20, 110, 60}, kWhite), Text({12, 22, 108, 38}, "abc", 16),
                     Frame({10, 20, 110, 60}, kBlack, 1)}));
}

TEST(CellDrawing, LinesAreCutWithoutSplittingACharacter) {
    // The twelfth byte is a lead byte: the first line ends in a blank, ア opens the second.
    const std::string text = "abcdefghijk" + kA + "xyz";
    EXPECT_EQ(
        draw(dataCell(text)),
        (Calls{Fill({10, 20, 110, 60}, kWhite), Text({12, 22, 108, 38}, "abcdefghijk ", 16),
               Text({12, 38, 108, 54}, kA + "xyz", 16), Frame({10, 20, 110, 60}, kBlack, 1)}));
}

TEST(CellDrawing, MaximumWrappedLinesAndBlankLinesEndTheText) {
    CellDrawing cell = dataCell("aaaaaaaaaaaabbbbbbbbbbbbcccccc");
    cell.maxLines = 2;
    EXPECT_EQ(
        draw(cell),
        (Calls{Fill({10, 20, 110, 60}, kWhite), Text({12, 22, 108, 38}, "aaaaaaaaaaaa", 16),
               Text({12, 38, 108, 54}, "bbbbbbbbbbbb", 16), Frame({10, 20, 110, 60}, kBlack, 1)}));

    // A line of blanks ends the drawing, even with text after it.
    cell = dataCell("abcdefghijkl            tail");
    EXPECT_EQ(draw(cell),
              (Calls{Fill({10, 20, 110, 60}, kWhite), Text({12, 22, 108, 38}, "abcdefghijkl", 16),
                     Frame({10, 20, 110, 60}, kBlack, 1)}));

    // Without a limit every line is drawn, past the cell's bottom as the row heights allow.
    cell = dataCell("aaaaaaaaaaaabbbbbbbbbbbbcc");
    const Calls calls = draw(cell);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3], Text({12, 54, 108, 70}, "cc", 16));
}

TEST(CellDrawing, CellNarrowerThanTwoLettersKeepsFillAndLines) {
    CellDrawing cell = dataCell("abc");
    cell.rect = {10, 20, 29, 60}; // inner width 15: one letter of 8
    cell.fill = CellFill::Light;
    EXPECT_EQ(draw(cell),
              (Calls{Fill({10, 20, 29, 60}, kLight), Frame({10, 20, 29, 60}, kBlack, 1)}));

    cell.charWidth = 0; // a font that measures nothing draws no text either
    cell.rect = {10, 20, 110, 60};
    EXPECT_EQ(draw(cell).size(), 2u);
}

TEST(CellDrawing, LineKinds) {
    CellDrawing cell = dataCell("");
    cell.penWidth = 3;
    cell.lines = CellLineKind::None; // a white box: nothing shows on white
    EXPECT_EQ(draw(cell),
              (Calls{Fill({10, 20, 110, 60}, kWhite), Frame({10, 20, 110, 60}, kWhite, 3)}));
    cell.lines = CellLineKind::Dotted; // always one unit wide
    EXPECT_EQ(draw(cell),
              (Calls{Fill({10, 20, 110, 60}, kWhite), Dotted({10, 20, 110, 60}, kBlack)}));

    // Fixed cells are boxed in black whatever the line kind.
    cell.fixed = true;
    cell.fill = CellFill::Grey;
    for (CellLineKind kind : {CellLineKind::None, CellLineKind::Dotted}) {
        cell.lines = kind;
        EXPECT_EQ(draw(cell),
                  (Calls{Fill({10, 20, 110, 60}, kGrey), Frame({10, 20, 110, 60}, kBlack, 3)}));
    }
}

TEST(CellDrawing, CentringHiddenRowsAndColumnsWithoutWidth) {
    CellDrawing cell = dataCell("abc");
    cell.centred = true;
    cell.columnWidth = 0; // no inset: the text box is R itself
    EXPECT_EQ(draw(cell)[1], Text({10, 20, 110, 36}, "abc", 16, TextAlign::Centre));

    cell.drawText = false; // a fixed row of height 0
    EXPECT_EQ(draw(cell),
              (Calls{Fill({10, 20, 110, 60}, kWhite), Frame({10, 20, 110, 60}, kBlack, 1)}));
}

TEST(CellDrawing, ListingDrawsNoInsetNoLinesAndNoCentring) {
    CellDrawing cell = dataCell(" line of a document");
    cell.mode = PrintMode::TextListing;
    cell.centred = true;
    cell.rect = {0, 0, 200, 20};
    EXPECT_EQ(draw(cell), (Calls{Fill({0, 0, 200, 20}, kWhite),
                                 Text({0, 0, 200, 16}, " line of a document", 16)}));
}

TEST(CellDrawing, LongCellDrawsOnlyItsAllowedLines) {
    const std::string text(100'000, 'x');
    CellDrawing cell = dataCell(text);
    cell.maxLines = 3;
    const Calls calls = draw(cell);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3], Text({12, 54, 108, 70}, "xxxxxxxxxxxx", 16));
}

TEST(CellDrawing, InsetGrowsWithTheCellScale) {
    EXPECT_EQ(cellInset(10), 1);
    EXPECT_EQ(cellInset(30), 1);
    EXPECT_EQ(cellInset(31), 2);
    EXPECT_EQ(cellInset(60), 2);
    EXPECT_EQ(cellInset(61), 3);
    EXPECT_EQ(cellInset(400), 3);
}

TEST(PrintColours, LightIsSixtyFivePerCentTowardsWhite) {
    EXPECT_EQ(printColours(192).grey, 0xC0C0C0u);
    EXPECT_EQ(printColours(192).light, 0xE8E8E8u); // 232
    EXPECT_EQ(printColours(100).light, 0xC8C8C8u); // 100 + 100.75 cut to 100
    EXPECT_EQ(printColours(0).light, 0xA5A5A5u);   // 165.75 cut to 165
    EXPECT_EQ(printColours(255).light, 0xFFFFFFu);
    EXPECT_EQ(printColours(-4).grey, 0u);
    EXPECT_EQ(printColours(300).grey, 0xFFFFFFu);
}

TEST(PrintColours, FillRules) {
    // fixed, shaded by break, empty row, empty-row fill
    EXPECT_EQ(cellFill(true, true, true, EmptyRowFill::Light), CellFill::Grey);
    EXPECT_EQ(cellFill(false, false, false, EmptyRowFill::Grey), CellFill::White);
    EXPECT_EQ(cellFill(false, true, false, EmptyRowFill::Grey), CellFill::Light);
    EXPECT_EQ(cellFill(false, false, true, EmptyRowFill::None), CellFill::White);
    EXPECT_EQ(cellFill(false, true, true, EmptyRowFill::None), CellFill::Light);
    // The empty-row fill wins over the break shade.
    EXPECT_EQ(cellFill(false, true, true, EmptyRowFill::Grey), CellFill::Grey);
    EXPECT_EQ(cellFill(false, false, true, EmptyRowFill::Light), CellFill::Light);

    const PrintColours colours = printColours(192);
    EXPECT_EQ(fillColour(CellFill::White, colours), kWhite);
    EXPECT_EQ(fillColour(CellFill::Light, colours), kLight);
    EXPECT_EQ(fillColour(CellFill::Grey, colours), kGrey);
}

} // namespace
