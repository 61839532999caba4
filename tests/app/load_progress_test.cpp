// A long load shows its progress a few times a second, not at every thousandth line.
#include "support/fakes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

int repaintsLoading(std::int64_t msPerReading) {
    test::MainFixture f;
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "a,b\r\n";
    test::writeBytes(dir / "t.csv", text);
    f.clock.step = msPerReading;
    f.host.repaints = 0;
    EXPECT_TRUE(f.model.LoadTable((dir / "t.csv").string(), 1));
    EXPECT_EQ(f.model.Grid.rowCount(), 20001);
    return f.host.repaints;
}

TEST(LoadProgress, RepaintsFollowTheClockNotTheLineCount) {
    // A fast load: the reading caption and the first progress caption only.
    EXPECT_LE(repaintsLoading(0), 3);
    // A slow one (each thousand lines a quarter of a second): every progress caption shows.
    EXPECT_GE(repaintsLoading(250), 20);
}

} // namespace
} // namespace kol
