// Window placement: centring, sizing to the screen, panels and list extents, with the
// truncation toward zero that the sizes are given with.
#include "platform/placement.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(Placement, CentreAndSize) {
    EXPECT_EQ(CentreOnScreen({5, 5, 801, 600}, 1920, 1080), (WindowRect{559, 240, 801, 600}));
    // Larger than the screen: truncation goes toward zero.
    EXPECT_EQ(CentreOnScreen({0, 0, 1925, 1083}, 1920, 1080), (WindowRect{-2, -1, 1925, 1083}));
    EXPECT_EQ(SizeToScreen({0, 0, 10, 10}, 0.8, 1366, 768), (WindowRect{137, 77, 1092, 614}));
    EXPECT_EQ(SizeToScreen({0, 0, 10, 10}, 0.5, 0.25, 1000, 801), (WindowRect{375, 200, 250, 400}));
}

TEST(Placement, InsetPanelAndListExtent) {
    EXPECT_EQ(InsetPanel(640, 480, 8), (WindowRect{8, 8, 624, 464}));
    EXPECT_EQ(InsetPanel(10, 30, 8), (WindowRect{8, 8, 0, 14}));
    EXPECT_EQ(ListScrollExtent(101), 151);
    EXPECT_EQ(ListScrollExtent(0), 0);
}

} // namespace
} // namespace kol
