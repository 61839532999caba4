// Shared pieces of the benchmark programs.
#pragma once

#include "gen_table.h"

#include "platform/platform.h"
#include "table/string_grid.h"
#include "table/table_load.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace kol::bench {

// Questions are answered Yes; nothing is shown.
struct YesPrompts : Prompts {
    Answer ask(const std::string&, Buttons) override { return Answer::Yes; }
    void inform(const std::string&) override {}
    void fail(const std::string&) override {}
    std::string openFileName(const FileDialogRequest&) override { return {}; }
    std::string saveFileName(const FileDialogRequest&) override { return {}; }
};

struct MemoryClipboard : Clipboard {
    std::string content;
    bool hasText() override { return !content.empty(); }
    std::string text() override { return content; }
    void setText(const std::string& t) override { content = t; }
};

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:").
inline long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
    return 0;
}

inline double msSince(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

// The 1,000,000-line table, generated once; or the file given on the command line.
inline std::string benchTable(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : "/tmp/kolumbra-bench-1m.csv";
    struct stat st {};
    if (argc < 2 && stat(path.c_str(), &st) != 0) {
        std::string text = generateTable(1000000, 10);
        std::ofstream(path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return path;
}

// The table at `path` (see benchTable) read into `doc`, its size printed.
inline bool loadBenchTable(const std::string& path, TableDocument& doc) {
    if (!loadTableFile(path, doc, TableLoadOptions{}).ok()) return false;
    std::printf("table: %d rows x %d columns\n", doc.Grid.rowCount() - 1, doc.Grid.colCount() - 2);
    return true;
}

// A `rows` × `cols` grid built in one arena, as a load builds it; text(r, c, out) sets out to the
// text of cell (c, r).
template <typename F> void buildGrid(StringGrid& g, int rows, int cols, F&& text) {
    g.setColCount(cols);
    g.setRowCount(rows);
    RowArena arena;
    std::vector<std::string> texts(static_cast<std::size_t>(cols));
    std::vector<std::string_view> cells(texts.size());
    std::vector<PackedRow*> built(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        std::size_t bytes = 0;
        for (int c = 0; c < cols; ++c) {
            text(r, c, texts[c]);
            bytes += (cells[c] = texts[c]).size();
        }
        built[r] =
            PackedRow::build(arena.allocate(PackedRow::blockSize(cols, bytes)), cells, false);
    }
    g.adoptArena(std::move(arena));
    for (int r = 0; r < rows; ++r) g.setPackedRow(r, built[r]);
}

} // namespace kol::bench
