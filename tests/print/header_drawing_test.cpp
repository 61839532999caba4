#include "print/header_drawing.h"

#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace kol;
using namespace kol::print;
using kol::test::DrawCall;
using kol::test::FixedPitchMetrics;
using kol::test::RecordingCanvas;
using kol::test::Text;
using Calls = std::vector<DrawCall>;

const std::string kDai = "\x91\xE6";                  // 第
const std::string kGyo = "\x8D\x73";                  // 行
const std::string kDeta = "\x83\x66\x81\x5B\x83\x5E"; // データ

TEST(PageHeader, DatePageLine) {
    const DatePageSwitches both{true, true};
    EXPECT_EQ(datePageLine(PrintMode::Table, both, "2024/05/06", "12:34:56", 2, 7),
              "   2024/05/06  12:34:56    PAGE  2 / 7");
    EXPECT_EQ(datePageLine(PrintMode::Table, {true, false}, "2024/05/06", "12:34:56", 2, 7),
              "   2024/05/06  12:34:56");
    EXPECT_EQ(datePageLine(PrintMode::Table, {false, true}, "2024/05/06", "12:34:56", 3, 10),
              "    PAGE  3 / 10");
    EXPECT_EQ(datePageLine(PrintMode::Table, {}, "2024/05/06", "12:34:56", 3, 10), "");
    // A listing shows both whatever the table's switches say.
    EXPECT_EQ(datePageLine(PrintMode::TextListing, {}, "2024/05/06", "01:02:03", 1, 1),
              "   2024/05/06  01:02:03    PAGE  1 / 1");
}

TEST(PageHeader, HeadingChoices) {
    const HeadingLines request{"File.Name:  /home/u/" + kDeta + ".csv", "second", "", ""};
    EXPECT_EQ(headingLines(PrintMode::Table, HeadingChoice::None, request), HeadingLines{});
    EXPECT_EQ(headingLines(PrintMode::Table, HeadingChoice::FullPath, request), request);
    EXPECT_EQ(headingLines(PrintMode::Table, HeadingChoice::FileName, request),
              (HeadingLines{"File.Name: " + kDeta + ".csv", "second", "", ""}));
    EXPECT_EQ(headingLines(PrintMode::TextListing, HeadingChoice::None, request), request);

    EXPECT_EQ(fileNameHeading("File.Name:  a.csv"), "File.Name: a.csv");
    EXPECT_EQ(fileNameHeading("Path: /x/y: z/b.txt "), "Path: b.txt"); // the first ':' only
    EXPECT_EQ(fileNameHeading("/x/c.csv"), " c.csv");
}

// Usable width 700, a header of two headings (24 + 2 x 16 = 56), margins 38 left and 94 top.
PageHeader header() {
    PageHeader h;
    h.datePage = "   2024/05/06  12:34:56    PAGE  2 / 7";
    h.headings = {"File.Name:  /home/u/data.csv", kDai + "2" + kGyo, "", ""};
    h.usableWidth = 700;
    h.headerHeight = 56;
    h.map = {1.0, 38, 94};
    return h;
}

TEST(PageHeader, BoxesSitInTheTopMargin) {
    RecordingCanvas canvas;
    drawHeader(canvas, FixedPitchMetrics(), header());
    // "A" is 6 wide in both fonts. Date/page: 35 trimmed bytes, (35 + 1) x 6 = 216 ending at
    // 700 - 6 = 694; (478, 1)-(694 x 1.2, 17 x 1.2) = (478, 1)-(832, 20), lifted by 56.
    // Heading 1: 28 bytes, 174 wide: (0, 17)-(208, 39); heading 2: 5 bytes: (0, 33)-(43, 58).
    EXPECT_EQ(
        canvas.calls,
        (Calls{Text({516, 39, 870, 58}, header().datePage, 12, TextAlign::Left, false),
               Text({38, 55, 246, 77}, "File.Name:  /home/u/data.csv", 13, TextAlign::Left, false),
               Text({38, 71, 81, 96}, kDai + "2" + kGyo, 13, TextAlign::Left, false)}));
}

TEST(PageHeader, EmptyLinesAreSkippedAndKeepTheirPlace) {
    PageHeader h = header();
    h.datePage.clear();
    h.headings = {"", "", "x", ""};
    h.headerHeight = 40;
    RecordingCanvas canvas;
    drawHeader(canvas, FixedPitchMetrics(), h);
    // Heading 3 at top 49: (0, 49)-(12 x 1.2, 65 x 1.2) = (0, 49)-(14, 78), lifted by 40.
    EXPECT_EQ(canvas.calls, (Calls{Text({38, 103, 52, 132}, "x", 13, TextAlign::Left, false)}));
}

TEST(PageHeader, DisplayScaleScalesBoxesAndFonts) {
    PageHeader h = header();
    h.datePage.clear();
    h.headings = {"", kDai + "2" + kGyo, "", ""};
    h.map = {1.5, 57, 141};
    RecordingCanvas canvas;
    drawHeader(canvas, FixedPitchMetrics(), h);
    // (0, -23)-(43, 2) x 1.5, cut toward zero: (0, -34)-(64, 3).
    EXPECT_EQ(canvas.calls,
              (Calls{Text({57, 107, 121, 144}, kDai + "2" + kGyo, 19, TextAlign::Left, false)}));
}

} // namespace
