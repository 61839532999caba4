// The line splitter alone over every line of the benchmark table, one thread: the one-pass
// splitter of whole texts (lines found as it goes), the eight-bytes-at-a-time scan of lines
// found beforehand and the byte-by-byte walk, alternately in one process so a busy machine
// affects them alike.
//   split_bench [FILE]
#include "bench_support.h"

#include "table/csv_form.h"
#include "table/line_splitter.h"
#include "table/source_text.h"

#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    using namespace kol;
    const std::string path = bench::benchTable(argc, argv);
    SourceText source;
    if (SourceText::readFile(path, source) != SourceText::ReadStatus::Ok) return 1;
    std::vector<std::string_view> lines;
    for (LineCursor cursor(source.text()); !cursor.atEnd();) lines.push_back(cursor.next());
    const double mb = source.text().size() / 1e6;
    FieldBuffer fields;
    auto run = [&](void (*split)(std::string_view, unsigned char, FieldBuffer&)) {
        auto t0 = std::chrono::steady_clock::now();
        std::size_t total = 0;
        for (std::string_view line : lines) {
            fields.clear();
            split(line, ',', fields);
            total += fields.size();
        }
        const double ms = bench::msSince(t0);
        return std::pair{ms, total};
    };
    auto runWhole = [&] {
        auto t0 = std::chrono::steady_clock::now();
        std::size_t total = 0;
        for (LineSplitter splitter(source.text(), 0, ','); !splitter.atEnd();) {
            fields.clear();
            splitter.next(fields);
            total += fields.size();
        }
        return std::pair{bench::msSince(t0), total};
    };
    double best[3] = {1e9, 1e9, 1e9};
    for (int round = 0; round < 5; ++round) {
        auto [whole, w] = runWhole();
        auto [fast, a] = run(SplitLine);
        auto [bytewise, b] = run(SplitLineBytewise);
        if (a != b || w != a) return 1;
        best[0] = std::min(best[0], fast);
        best[1] = std::min(best[1], bytewise);
        best[2] = std::min(best[2], whole);
    }
    std::printf("%zu lines, %.1f MB, best of 5\n", lines.size(), mb);
    std::printf("LineSplitter (whole text):         %7.1f ms  %6.0f MB/s\n", best[2],
                mb / best[2] * 1000);
    std::printf("SplitLine (eight bytes at a time): %7.1f ms  %6.0f MB/s\n", best[0],
                mb / best[0] * 1000);
    std::printf("SplitLineBytewise:                 %7.1f ms  %6.0f MB/s\n", best[1],
                mb / best[1] * 1000);
    return 0;
}
