#include "print/print_settings.h"

#include <gtest/gtest.h>

#include <climits>

namespace kol::print {
namespace {

TEST(PrintSettings, DefaultsOfAFreshRecord) {
    PrintSettings s;
    EXPECT_EQ(cellScaleOf(s), 100);
    EXPECT_EQ(lineKindOf(s), CellLineKind::Solid);
    EXPECT_EQ(cellSizeModeOf(s), CellSizeMode::Manual);
    EXPECT_EQ(topMarginIndexOf(s) * kMarginStepMm, 15);
    EXPECT_EQ(leftMarginIndexOf(s) * kMarginStepMm, 10);
    EXPECT_EQ(greyLevelOf(s), 192);
    EXPECT_EQ(scaleIndexOf(s), kScaleFitIndex);
    EXPECT_EQ(resetScaleIndexOf(s), 15);
    EXPECT_EQ(s.PrinterIndex, -1);
    EXPECT_TRUE(s.PrintRowNo && s.PrintColNo && s.PrintPathName && s.PrintDate && s.PrintPage);
    EXPECT_FALSE(s.PrintFileName);
    EXPECT_TRUE(s.FixedCenter && s.BreakColor);
    EXPECT_FALSE(s.KaraGyoColor);
}

TEST(PrintSettings, ValuesOutsideTheirControlsAreBroughtIntoRange) {
    struct Case {
        int stored, cellScale, lineKind, margin, grey, scale, mode;
    };
    const Case cases[] = {
        {0, 100, 0, 0, 0, 0, 0},
        {-5, 100, 0, 0, 0, 0, 0},
        {INT_MIN, 100, 0, 0, 0, 0, 0},
        {1, 1, 1, 1, 1, 1, 1},
        {2, 2, 2, 2, 2, 2, 1},
        {20, 20, 2, 20, 20, 20, 1},
        {21, 21, 2, 20, 21, 21, 1},
        {100, 100, 2, 20, 100, 100, 1},
        {255, 255, 2, 20, 255, 100, 1},
        {256, 256, 2, 20, 255, 100, 1},
        {INT_MAX, INT_MAX, 2, 20, 255, 100, 1},
    };
    for (const Case& c : cases) {
        PrintSettings s;
        s.CellScale = s.Cmb_LineKind = s.Cmb_MgnUp = s.Cmb_MgnLeft = s.Cmb_Gray = s.Cmb_Scale =
            s.Cmb_ResetScl = s.Cmb_CellWay = c.stored;
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(cellScaleOf(s), c.cellScale);
        EXPECT_EQ(static_cast<int>(lineKindOf(s)), c.lineKind);
        EXPECT_EQ(topMarginIndexOf(s), c.margin);
        EXPECT_EQ(leftMarginIndexOf(s), c.margin);
        EXPECT_EQ(greyLevelOf(s), c.grey);
        EXPECT_EQ(scaleIndexOf(s), c.scale);
        EXPECT_EQ(resetScaleIndexOf(s), c.scale);
        EXPECT_EQ(static_cast<int>(cellSizeModeOf(s)), c.mode);
    }
    EXPECT_EQ(clampItemIndex(5, 0), 0);
}

} // namespace
} // namespace kol::print
