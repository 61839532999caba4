// Load time of one very wide line, through loadTableFile as kolumbra-cli loads:
//   wide_line_bench [FIELDS]   one line of FIELDS numbered fields (default 100,000)
//   wide_line_bench commas [BYTES]   a file of BYTES commas only (default 200,000)
// Best of three loads; the file is written to /tmp first.
#include "table/table_load.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    using namespace kol;
    const bool commas = argc > 1 && std::string(argv[1]) == "commas";
    const char* count = commas ? (argc > 2 ? argv[2] : nullptr) : (argc > 1 ? argv[1] : nullptr);
    const long n = count ? std::atol(count) : (commas ? 200000 : 100000);
    if (n <= 0) {
        std::fprintf(stderr, "usage: wide_line_bench [FIELDS] | commas [BYTES]\n");
        return 2;
    }
    std::string text;
    if (commas) {
        text.assign(static_cast<std::size_t>(n), ',');
    } else {
        for (long i = 0; i < n; ++i) text += (i ? "," : "") + std::to_string(i);
        text += "\r\n";
    }
    const std::string path =
        "/tmp/kolumbra-wide-" + std::string(commas ? "commas-" : "") + std::to_string(n) + ".csv";
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));

    double best = 1e9;
    int columns = 0;
    for (int run = 0; run < 3; ++run) {
        TableDocument doc;
        const auto start = std::chrono::steady_clock::now();
        if (!loadTableFile(path, doc, TableLoadOptions{}).ok()) return 1;
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        columns = doc.Grid.colCount() - doc.Grid.fixedCols();
    }
    std::printf("%s: %d columns, best of 3 loads %.3f s\n", path.c_str(), columns, best);
    return 0;
}
