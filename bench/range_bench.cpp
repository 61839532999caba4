// Range rewrites (paste, clear, conversions) of a 1,000 × 1,000-cell range on the document,
// each with its undo record.
#include "bench_support.h"

#include "edit/table_edits.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/width_kana.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

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
    TableDocument doc;
    if (!loadTableFile(path, doc, TableLoadOptions{}).ok()) return 1;
    StringGrid& g = doc.Grid;
    std::printf("table: %d rows x %d columns\n", g.rowCount() - 1, g.colCount() - 2);
    const GridRect all{2, 2, 1001, 1001};
    auto run = [&](const char* name, HistoryKind kind, auto valueFor) {
        auto t0 = Steady::now();
        edits::rewriteCells(doc, kind, all, valueFor);
        double stepMs = bench::msSince(t0);
        auto t1 = Steady::now();
        bool more = false;
        (void)edits::undoNewest(doc, more);
        std::printf("%-28s %7.1f ms   undo %7.1f ms\n", name, stepMs, bench::msSince(t1));
    };
    // A copy of the range to paste back shifted by one row, as a clip would hold it.
    std::vector<std::string> clip;
    for (int r = all.top; r <= all.bottom; ++r)
        for (int c = all.left; c <= all.right; ++c) clip.emplace_back(g.cell(c, r));
    const int width = all.right - all.left + 1;
    run("paste 1,000 x 1,000", HistoryKind::RangePaste, [&](int c, int r, std::string_view) {
        return clip[static_cast<std::size_t>((r - all.top + 1) % 1000) * width + (c - all.left)];
    });
    run("clear 1,000 x 1,000", HistoryKind::RangeClear,
        [](int, int, std::string_view) { return std::string(); });
    run("half -> full 1,000 x 1,000", HistoryKind::RangeConvert,
        [](int, int, std::string_view text) { return ToFullWidth(text); });
    run("hiragana -> katakana", HistoryKind::RangeConvert,
        [](int, int, std::string_view text) { return ToKatakana(text); });
    return 0;
}
