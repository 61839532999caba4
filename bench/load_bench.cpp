// Load benchmark: LoadTable of a generated 1,000,000-line table end to end, with throughput
// and the memory the loaded table takes per source byte.
//   load_bench [FILE]   (without FILE the table is generated into a temporary file)
#include "bench_support.h"

#include "app/headless.h"
#include "platform/steady_clock.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using namespace kol;

struct Quiet : bench::YesPrompts, HeadlessHost {
    void repaintStatus() override { ++repaints; }
    int repaints = 0;
};
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

    Quiet quiet;
    NoClipboard clipboard;
    SteadyClock clock;
    TFm_Kolumbra01 model(quiet, clipboard, quiet, clock, ".");
    model.FormCreate(ScreenInfo{});
    model.FormShow();
    const long before = bench::statusKb("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    bool ok = model.LoadTable(path, 0);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long after = bench::statusKb("VmRSS:");
    const long peak = bench::statusKb("VmHWM:");
    if (!ok) {
        std::fprintf(stderr, "load failed: %s\n", path.c_str());
        return 1;
    }
    std::printf("file: %s (%.1f MB, %d rows x %d columns)\n", path.c_str(), mb,
                model.Grid.rowCount() - 1, model.Grid.colCount() - 2);
    std::printf("LoadTable: %.3f s, %.0f MB/s, %d progress repaints\n", seconds, mb / seconds,
                quiet.repaints);
    std::printf("table memory: %.2f bytes per source byte (RSS +%.0f MB); peak RSS %.2f bytes per "
                "source byte\n",
                (after - before) * 1024.0 / st.st_size, (after - before) / 1024.0,
                peak * 1024.0 / st.st_size);
    return 0;
}
