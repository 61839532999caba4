#include "app/csv_fixed.h"
#include "platform/is_dclick.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct RangeFixture {
    test::ScriptedPrompts prompts;
    test::FakeHost host;
    StringGrid grid;
    TCsvFileInf descriptor;
    test::TempDir dir;
    std::string out = (dir / "out.csv").string();

    explicit RangeFixture(int records) {
        grid.setRowCount(records + 1);
        grid.setColCount(4);
        grid.setFixedCols(2);
        for (int r = 1; r <= records; ++r) grid.setCell(2, r, std::to_string(r));
    }
    TFm_CsvFixed window() {
        return TFm_CsvFixed(prompts, host, grid, descriptor, 0, grid.rowCount() - 1, ',', "/opt/k");
    }
    void run(TFm_CsvFixed& w, const std::string& min, const std::string& max) {
        w.Edt_RecNoMin = min;
        w.Edt_RecNoMax = max;
        prompts.fileNames = {out};
        prompts.answers = {Answer::Yes};
        w.Btn_ExecClick();
    }
};

TEST(RangeOutput, FirstShowProposesTheWholeTable) {
    RangeFixture f(2500);
    TFm_CsvFixed w = f.window();
    w.FormShow();
    EXPECT_EQ(w.Lab_Title, sj("表示内容をＣＳＶ形式で出力します。"));
    EXPECT_EQ(w.Edt_RecNoMin, "1");
    EXPECT_EQ(w.Edt_RecNoMax, "2,500");
    EXPECT_EQ(w.Chk_LastRecNoCaption, sj("最終 Rec.No：") + "2,500");
    w.Chk_LastRecNoClick();
    EXPECT_EQ(w.Edt_RecNoMax, "");
    w.Chk_LastRecNo = true;
    w.Chk_LastRecNoClick();
    EXPECT_EQ(w.Edt_RecNoMax, "2,500");
}

TEST(RangeOutput, NumbersAreDigitsOnlySwappedAndClamped) {
    RangeFixture f(2500);
    TFm_CsvFixed w = f.window();
    w.FormShow();
    f.run(w, "1,000", "20");
    EXPECT_EQ(w.Edt_RecNoMin, "20");
    EXPECT_EQ(w.Edt_RecNoMax, "1,000");
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("内容をＣＳＶ形式で下記のファイルに出力します。\r\n\r\n     PATH = ") + f.out +
                  "\r\n\r\n" + sj("     出力 Rec.No = 20  ～ 1,000"));
    std::string written = test::readBytes(f.out);
    EXPECT_EQ(written.rfind("20,\r\n", 0), 0u);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 981);
    EXPECT_EQ(f.host.documents.size(), 1u); // 981 records are shown in the viewer

    f.run(w, sj("１２"), "");
    EXPECT_EQ(w.Edt_RecNoMin, "1"); // full-width digits count as nothing, then 1
    EXPECT_EQ(test::readBytes(f.out), "1,\r\n");

    f.run(w, "10", "999999");
    EXPECT_EQ(w.Edt_RecNoMax, "2,500");
}

TEST(RangeOutput, MoreThanAThousandRecordsAreNotShown) {
    RangeFixture f(1500);
    TFm_CsvFixed w = f.window();
    w.FormShow();
    f.run(w, "1", "1000");
    EXPECT_EQ(f.host.documents.size(), 1u);
    f.run(w, "1", "1001");
    EXPECT_EQ(f.host.documents.size(), 1u);
    EXPECT_EQ(
        f.prompts.last().rfind(sj("★出力しました。\r\n\r\n出力行数が 1000行を超えているので"), 0),
        0u);
    EXPECT_EQ(w.Lab_OutRecNo, sj("Rec.No 1,001 まで終了"));
}

TEST(RangeOutput, DefaultNamesKeepTheirCase) {
    RangeFixture f(1);
    f.descriptor.FileName = "/data/Sales.csv";
    EXPECT_EQ(f.window().defaultFileName(), "/data/Sales_02.csv");
    f.descriptor.FileName = "/data/noext";
    EXPECT_EQ(f.window().defaultFileName(), "/data/noext_02.csv");
    f.descriptor.FileName.clear();
    EXPECT_EQ(f.window().defaultFileName(), "/opt/k/Kolumbra.csv");
}

TEST(DoubleClick, SamePointWithinTheIntervalOnly) {
    test::FakeClock clock;
    TIsDClick fresh(500, clock);
    EXPECT_FALSE(fresh.IsDoubleClick(5, 5)); // the first press
    clock.now += 499;
    EXPECT_TRUE(fresh.IsDoubleClick(5, 5));
    clock.now += 500;
    EXPECT_FALSE(fresh.IsDoubleClick(5, 5));
    clock.now += 10;
    EXPECT_TRUE(fresh.IsDoubleClick(5, 5)); // each press is compared with the one before
    clock.now += 10;
    EXPECT_FALSE(fresh.IsDoubleClick(6, 5));
    clock.now += 10;
    EXPECT_TRUE(fresh.IsDoubleClick(6, 5));
}

TEST(DoubleClick, ClockJumpsBackwardDoNotCountAsDoubleClicks) {
    // A monotonic clock never goes back; but should the clock be reset, a press "before" the
    // previous one must not pass for a quick second press.
    test::FakeClock clock;
    TIsDClick d(500, clock);
    d.IsDoubleClick(1, 1);
    clock.now -= 86400000 - 100; // as a time of day would across midnight
    EXPECT_FALSE(d.IsDoubleClick(1, 1));
}

} // namespace
} // namespace kol
