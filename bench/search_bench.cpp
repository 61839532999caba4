// The search window's search on the 1,000,000-line table, through its Btn_ExecClick (split,
// search on two threads, results and flag grids filled), against grep piped into grep over the
// same file in the same run.
//   search_bench [FILE]
#include "bench_support.h"

#include "platform/steady_clock.h"
#include "search/kolumbra02.h"
#include "search/table_search.h"
#include "table/table_load.h"
#include "text/cp932.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
using namespace kol;

struct QuietHost : SearchHost {
    void setBusy(bool) override {}
    bool isShowing() override { return true; }
    void processPending() override {}
    void focusWord() override {}
    void focusResults() override {}
    void hideWindow() override {}
    void bringToFront() override {}
};

struct QuietLink : SearchMainLink {
    std::string path;
    unsigned char separator() override { return ','; }
    std::string& selectFilePath() override { return path; }
    void showFoundCell() override {}
    void focusMainGrid() override {}
    std::string tableFileName() override { return {}; }
    void printGrid(const StringGrid&, const print::HeadingLines&, int) override {}
};

// Best and median of five runs, in milliseconds.
template <typename F> std::pair<double, double> timed(F&& run) {
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        run();
        ms.push_back(bench::msSince(t0));
    }
    std::sort(ms.begin(), ms.end());
    return {ms[0], ms[2]};
}

std::string shellQuoted(const std::string& bytes) {
    return "'" + bytes + "'";
}

} // namespace

int main(int argc, char** argv) {
    const std::string path = bench::benchTable(argc, argv);
    TableDocument doc;
    if (!bench::loadBenchTable(path, doc)) return 1;

    bench::YesPrompts prompts;
    bench::MemoryClipboard clipboard;
    SteadyClock clock;
    QuietHost host;
    QuietLink link;
    GridViewState mainView(doc.Grid);
    TFm_Kolumbra02 window(prompts, clipboard, clock, host, link, doc, mainView, "/tmp");
    window.FormCreate(1920, 1080);
    window.FormShow();

    struct Case {
        const char* name;
        const char* words; // UTF-8, split by the window's rules
        bool anyWord;
    };
    const Case cases[] = {
        {"AND, 2 words, many hits", "abc 山田", false},
        {"AND, 2 words, few hits", "2024010 ｶﾌﾞｼｷ", false},
        {"OR, 5 words, most rows", "abc 山田 能力 第二課 ｼｬ", true},
        {"OR, 5 words, few hits", "20240105 20101231 123456 999999 000001", true},
        // Ends in a full-width letter: its last byte is compared in both cases.
        {"AND, full-width letters", "ｓｏｆｔ 山田", false},
    };
    for (const Case& c : cases) {
        const std::string words = sj(c.words);
        window.Edt_Word = words;
        window.Rdo_AND.Checked = !c.anyWord;
        window.Rdo_OR.Checked = c.anyWord;
        auto [best, median] = timed([&] { window.Btn_ExecClick(); });
        const std::string found = window.Lab_Records.Caption;
        // Where the time goes: the rows scanned on two threads, the grids filled.
        RowMatcher matcher(SplitWords(words), c.anyWord ? SearchMode::Or : SearchMode::And);
        SearchHits hits;
        auto [scanBest, scanMedian] = timed([&] { hits = searchTable(doc.Grid, matcher); });
        StringGrid results, flags;
        double shapeMs = 0;
        auto [fillBest, fillMedian] = timed([&] {
            auto t0 = std::chrono::steady_clock::now();
            shapeResults(doc.Grid, results, flags); // drops the previous run's results
            shapeMs += bench::msSince(t0);
            fillResults(doc.Grid, hits, results, flags);
        });
        std::printf("%-28s scan best %6.1f ms median %6.1f ms, fill best %6.1f ms median %6.1f "
                    "ms (dropping the last results: %.1f ms on average)\n",
                    c.name, scanBest, scanMedian, fillBest, fillMedian, shapeMs / 5);

        // grep -i -F of each word in turn (AND), or of all words at once (OR), bytes as they are.
        std::string command = "LC_ALL=C grep -i -F";
        std::vector<std::string> split = SplitWords(words);
        if (c.anyWord) {
            for (const std::string& w : split) command += " -e " + shellQuoted(w);
            command += " " + shellQuoted(path);
        } else {
            command += " -e " + shellQuoted(split[0]) + " " + shellQuoted(path);
            for (std::size_t i = 1; i < split.size(); ++i)
                command += " | LC_ALL=C grep -i -F -e " + shellQuoted(split[i]);
        }
        command += " | wc -l > /tmp/kolumbra-search-bench.out";
        auto [grepBest, grepMedian] = timed([&] {
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "grep failed\n");
        });
        std::FILE* out = std::fopen("/tmp/kolumbra-search-bench.out", "r");
        long lines = 0;
        if (out) {
            if (std::fscanf(out, "%ld", &lines) != 1) lines = -1;
            std::fclose(out);
        }
        std::printf("%-28s found %10s  search best %6.1f ms median %6.1f ms | grep lines %8ld "
                    "best %6.1f ms median %6.1f ms | ratio %.2f\n",
                    c.name, found.c_str(), best, median, lines, grepBest, grepMedian,
                    median / grepMedian);
    }
    return 0;
}
