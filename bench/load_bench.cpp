// Load benchmark: a generated 1,000,000-line table read into a document through the table I/O,
// with throughput and the memory the loaded table takes per source byte.
//   load_bench [FILE]   (without FILE the table is generated into a temporary file)
#include "bench_support.h"

#include "table/table_load.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using namespace kol;

} // namespace

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : "/tmp/kolumbra-bench-1m.csv";
    struct stat st {};
    if (argc < 2 && stat(path.c_str(), &st) != 0) {
        std::string text = bench::generateTable(1000000, 10);
        std::ofstream(path, std::ios::binary)
            .write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    stat(path.c_str(), &st);
    const double mb = st.st_size / 1e6;

    TableDocument doc;
    const long before = bench::statusKb("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    bool ok = loadTableFile(path, doc, TableLoadOptions{}).ok();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = bench::statusKb("VmRSS:");
    const long peak = bench::statusKb("VmHWM:");
    if (!ok) {
        std::fprintf(stderr, "load failed: %s\n", path.c_str());
        return 1;
    }
    std::printf("file: %s (%.1f MB, %d rows x %d columns)\n", path.c_str(), mb,
                doc.Grid.rowCount() - 1, doc.Grid.colCount() - 2);
    std::printf("loadTableFile: %.3f s, %.0f MB/s\n", seconds, mb / seconds);
    std::printf("table memory: %.2f bytes per source byte (RSS +%.0f MB); peak RSS %.2f bytes per "
                "source byte\n",
                (after - before) * 1024.0 / st.st_size, (after - before) / 1024.0,
                peak * 1024.0 / st.st_size);
    return 0;
}
