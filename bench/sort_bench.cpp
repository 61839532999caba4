// Sorting the 1,000,000-line table by key columns, on the document alone (the sort window adds
// its progress reports and the main window's refresh on top), and the command-line sort against
// a plain byte sort of the same file.
//   sort_bench [FILE]
#include "bench_support.h"

#include "sort/table_sort.h"
#include "table/table_load.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

namespace {
using namespace kol;
using Steady = std::chrono::steady_clock;

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double shellSeconds(const std::string& command) {
    auto t0 = Steady::now();
    if (std::system(command.c_str()) != 0) std::printf("  (failed: %s)\n", command.c_str());
    return bench::msSince(t0) / 1000.0;
}
} // namespace

int main(int argc, char** argv) {
    const std::string path = bench::benchTable(argc, argv);
    TableDocument doc;
    if (!loadTableFile(path, doc, TableLoadOptions{}).ok()) return 1;
    struct stat st {};
    stat(path.c_str(), &st);
    const double tableBytes = static_cast<double>(st.st_size);
    std::printf("table: %d rows x %d columns, %.1f MB\n", doc.Grid.rowCount() - 1,
                doc.Grid.colCount() - 2, tableBytes / 1e6);

    auto rowSort = [&](const char* name, std::vector<int> keys) {
        const long before = bench::statusKb("VmRSS:");
        resetPeak();
        auto t0 = Steady::now();
        const double cpu0 = cpuMs();
        std::string steps, current;
        auto stepStart = Steady::now();
        auto progress = [&](std::string_view step, long long, long long, long long) {
            if (step != current) {
                if (!current.empty())
                    steps += " " + current.substr(5) + ":" +
                             std::to_string(static_cast<int>(bench::msSince(stepStart)));
                current = step;
                stepStart = Steady::now();
            }
            return true;
        };
        RowSortResult result = sortRowsByKeys(doc, keys, RowLabelRule{}, progress);
        steps += " " + current.substr(5) + ":" +
                 std::to_string(static_cast<int>(bench::msSince(stepStart)));
        const double ms = bench::msSince(t0), cpu = cpuMs() - cpu0;
        const double extra = (bench::statusKb("VmHWM:") - before) * 1024.0;
        std::printf("%-26s %6.0f ms (cpu %6.0f ms)  peak extra %6.1f MB = %.2f bytes per table "
                    "byte%s\n",
                    name, ms, cpu, extra / 1e6, extra / tableBytes,
                    result.changed ? "" : " (unchanged)");
        std::printf("  ms by step:%s\n", steps.c_str());
    };
    rowSort("row sort, 2 keys (2, 5)", {3, 6});
    std::vector<int> ten(10);
    std::iota(ten.begin(), ten.end(), 2);
    rowSort("row sort, 10 keys", ten);

    // 100 keys need 100 columns: the table is widened with 90 blank columns (rows keep no cells
    // for them). The keys are the ten data columns last first, then the blank ones, so every
    // data column moves and every row is rebuilt.
    doc.Grid.setColCount(doc.Grid.colCount() + 90);
    doc.resetAttributes();
    std::vector<int> hundred;
    for (int c = 11; c >= 2; --c) hundred.push_back(c);
    for (int c = 12; c < doc.Grid.colCount(); ++c) hundred.push_back(c);
    {
        const long before = bench::statusKb("VmRSS:");
        resetPeak();
        auto t0 = Steady::now();
        const double cpu0 = cpuMs();
        moveKeyColumnsToFront(doc, hundred);
        const double ms = bench::msSince(t0), cpu = cpuMs() - cpu0;
        const double extra = (bench::statusKb("VmHWM:") - before) * 1024.0;
        std::printf("%-26s %6.0f ms (cpu %6.0f ms)  peak extra %6.1f MB = %.2f bytes per table "
                    "byte\n",
                    "column sort, 100 keys", ms, cpu, extra / 1e6, extra / tableBytes);
    }

    // The command line: load, sort with collation, save; against a plain byte sort.
    const std::string self = argv[0];
    const std::string dir = self.substr(0, self.rfind('/') + 1);
    const std::string cli = dir + "../kolumbra-cli";
    const std::string out1 = "/tmp/kolumbra-sort-bench-cli.csv";
    const std::string out2 = "/tmp/kolumbra-sort-bench-sort.csv";
    for (int run = 0; run < 3; ++run) {
        double a = shellSeconds(cli + " sort --keys 2,5 " + path + " " + out1);
        double b = shellSeconds("LC_ALL=C sort -t, -k2,2 -k5,5 -S 1G " + path + " > " + out2);
        std::printf("run %d: kolumbra-cli sort --keys 2,5 %.2f s   LC_ALL=C sort %.2f s\n", run + 1,
                    a, b);
    }
    std::remove(out1.c_str());
    std::remove(out2.c_str());
    return 0;
}
