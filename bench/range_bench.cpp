// Range commands on a 1,000 × 1,000-cell selection, each with its undo record.
#include "bench_support.h"

#include "app/headless.h"
#include "platform/steady_clock.h"
#include "text/cp932.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {
using namespace kol;
using Steady = std::chrono::steady_clock;

} // namespace

int main() {
    const std::string path = "/tmp/kolumbra-bench-1000x1000.csv";
    {
        std::ofstream out(path, std::ios::binary);
        const std::string kana = sj("ｶﾞｷﾞ"), hira = sj("ひらがな");
        for (int r = 0; r < 1001; ++r) {
            for (int c = 0; c < 1000; ++c)
                out << (c ? "," : "") << ((r + c) % 3 ? kana : hira) << c % 10;
            out << "\r\n";
        }
    }
    bench::YesPrompts prompts;
    bench::MemoryClipboard clipboard;
    HeadlessHost host;
    SteadyClock clock;
    TFm_Kolumbra01 m(prompts, clipboard, host, clock, ".");
    m.FormCreate(ScreenInfo{});
    m.FormShow();
    m.LoadTable(path, 0);
    std::printf("table: %d rows x %d columns\n", m.Grid.rowCount() - 1, m.Grid.colCount() - 2);
    auto selectAll = [&] {
        m.Grid.setCurrent(2, 2);
        m.Grid.selection = {2, 2, 1001, 1001};
    };
    auto run = [&](const char* name, const std::function<void()>& step, bool undo) {
        selectAll();
        auto t0 = Steady::now();
        step();
        double stepMs = bench::msSince(t0);
        double undoMs = 0;
        if (undo) {
            auto t1 = Steady::now();
            m.Mn_UndoClick();
            undoMs = bench::msSince(t1);
        }
        std::printf("%-28s %7.1f ms   undo %7.1f ms\n", name, stepMs, undoMs);
    };
    using S = TFm_Kolumbra01::Sender;
    run(
        "clip 1,000 x 1,000", [&] { m.Pm_RangeClipClick(S::RangeClip); }, false);
    run(
        "paste 1,000 x 1,000 (clip)", [&] { m.Pm_RangeClipPasteClick(S::RangeClipPaste); }, true);
    run(
        "clear 1,000 x 1,000", [&] { m.Pm_RangeClearClick(); }, true);
    m.Pm_RangeClipClrClick();
    clipboard.content = std::string();
    selectAll();
    m.Pm_RangeClipClick(S::None);
    run(
        "paste 1,000 x 1,000 (text)", [&] { m.Pm_RangeClipPasteClick(S::RangeClipPaste); }, true);
    run(
        "half -> full 1,000 x 1,000", [&] { m.Pm_StrCvtHanToZenClick(S::StrCvtHanToZen); }, true);
    run(
        "hiragana -> katakana", [&] { m.Pm_StrCvtHanToZenClick(S::StrCvtHiraToKata); }, true);
    return 0;
}
