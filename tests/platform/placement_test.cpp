// Window placement: centring, sizing to the screen, panels and list extents, with the
// truncation toward zero that the sizes are given with.
#include "platform/placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace kol {
namespace {

TEST(Placement, CentreAndSize) {
    EXPECT_EQ(CentreOnScreen({5, 5, 801, 600}, 1920, 1080), (WindowRect{559, 240, 801, 600}));
    // Larger than the screen: truncation goes toward zero.
    EXPECT_EQ(CentreOnScreen({0, 0, 1925, 1083}, 1920, 1080), (WindowRect{-2, -1, 1925, 1083}));
    EXPECT_EQ(SizeToScreen({0, 0, 10, 10}, 0.8, 1366, 768), (WindowRect{137, 77, 1092, 614}));
    EXPECT_EQ(SizeToScreen({0, 0, 10, 10}, 0.5, 0.25, 1000, 801), (WindowRect{375, 200, 250, 400}));
}

TEST(Placement, FitOnScreen) {
    // Already on the screen, touching its edges or not: unchanged.
    EXPECT_EQ(FitOnScreen({10, 20, 800, 600}, 1280, 800), (WindowRect{10, 20, 800, 600}));
    EXPECT_EQ(FitOnScreen({0, 0, 1280, 800}, 1280, 800), (WindowRect{0, 0, 1280, 800}));
    // Saved on 1920 x 1080, opened on 1280 x 800: moved up and left to end at the edges.
    EXPECT_EQ(FitOnScreen({600, 300, 1000, 700}, 1280, 800), (WindowRect{280, 100, 1000, 700}));
    // Larger than the screen in one direction or both: as large as the screen, at its edge.
    EXPECT_EQ(FitOnScreen({100, 50, 1900, 700}, 1280, 800), (WindowRect{0, 50, 1280, 700}));
    EXPECT_EQ(FitOnScreen({300, 200, 1900, 1000}, 1280, 800), (WindowRect{0, 0, 1280, 800}));
    // Off the near edges: moved in.
    EXPECT_EQ(FitOnScreen({-40, -10, 500, 400}, 1280, 800), (WindowRect{0, 0, 500, 400}));
    // Far beyond the screen, and sizes at the ends of int, stay inside it.
    EXPECT_EQ(FitOnScreen({INT_MAX, INT_MAX, INT_MAX, 10}, 1280, 800),
              (WindowRect{0, 790, 1280, 10}));
}

TEST(Placement, InsetPanelAndListExtent) {
    EXPECT_EQ(InsetPanel(640, 480, 8), (WindowRect{8, 8, 624, 464}));
    EXPECT_EQ(InsetPanel(10, 30, 8), (WindowRect{8, 8, 0, 14}));
    EXPECT_EQ(ListScrollExtent(101), 151);
    EXPECT_EQ(ListScrollExtent(0), 0);
}

} // namespace
} // namespace kol
