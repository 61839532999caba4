// Saving rows from a window: what is written, the busy cursor around the writing only, and a
// failure told once with its reason while the previous file stays.
#include "table/save_rows.h"

#include "support/fakes.h"
#include "support/fault_injection.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct CountingBusy : BusyIndicator {
    int depth = 0, calls = 0;
    void setBusy(bool busy) override {
        depth += busy ? 1 : -1;
        ++calls;
    }
};

// Notes whether the hourglass was still up when the error box came.
struct WatchingPrompts : test::ScriptedPrompts {
    const CountingBusy* busy = nullptr;
    int busyAtFailure = -1;
    void fail(const std::string& text) override {
        busyAtFailure = busy->depth;
        ScriptedPrompts::fail(text);
    }
};

struct SaveFixture {
    WatchingPrompts prompts;
    CountingBusy busy;
    StringGrid grid;
    test::TempDir dir;
    std::string out = (dir / "out.csv").string();

    SaveFixture() {
        prompts.busy = &busy;
        grid.setRowCount(3);
        grid.setColCount(4);
        grid.setFixedCols(2); // the label and key columns are not data
        grid.setCell(0, 1, "label");
        grid.setCell(2, 0, "column numbers");
        grid.setCell(2, 1, "1");
        grid.setCell(3, 1, "a,b");
        grid.setCell(2, 2, "2");
    }
};

TEST(SaveRows, WritesTheDataRowsAndFieldsOnlyUnderTheBusyCursor) {
    SaveFixture f;
    ASSERT_TRUE(writeRowsOrReport(f.prompts, f.busy, f.grid, ',', f.out));
    EXPECT_EQ(test::readBytes(f.out), "1,\"a,b\"\r\n2,\r\n");
    EXPECT_EQ(f.busy.calls, 2);
    EXPECT_EQ(f.busy.depth, 0);
    EXPECT_TRUE(f.prompts.messages.empty());

    ASSERT_TRUE(writeRowsOrReport(f.prompts, f.busy, f.grid, '\t', f.out));
    EXPECT_EQ(test::readBytes(f.out),
              "1\t\"a,b\"\r\n2\t\r\n"); // a comma is quoted under any separator
}

TEST(SaveRows, AMissingFolderIsToldWithItsReasonAfterTheBusyCursor) {
    SaveFixture f;
    const std::string missing = (f.dir / "no/such/dir.csv").string();
    EXPECT_FALSE(writeRowsOrReport(f.prompts, f.busy, f.grid, ',', missing));
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_EQ(f.prompts.last(), sj("出力ファイルの作成に失敗しました。\r\n\r\n   PATH = ") +
                                    missing + sj("\r\n   理由 : フォルダーが見つかりません。"));
    EXPECT_EQ(f.prompts.busyAtFailure, 0);
}

TEST(SaveRows, AFullDiskKeepsThePreviousFile) {
    SaveFixture f;
    test::writeBytes(f.out, "before\r\n");
    f.grid.setRowCount(2001);
    for (int r = 1; r <= 2000; ++r) f.grid.setCell(2, r, "0123456789");
    {
        test::FullDisk disk(100);
        EXPECT_FALSE(writeRowsOrReport(f.prompts, f.busy, f.grid, ',', f.out));
    }
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_NE(f.prompts.last().find(sj("ディスクの空き容量が足りません。")), std::string::npos);
    EXPECT_EQ(test::readBytes(f.out), "before\r\n");
    EXPECT_EQ(f.busy.depth, 0);
}

} // namespace
} // namespace kol
