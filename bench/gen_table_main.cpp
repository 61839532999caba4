// Writes the benchmark table: gen_table OUT [LINES] [FIELDS]
#include "gen_table.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_table OUT [LINES] [FIELDS]\n");
        return 2;
    }
    std::size_t lines = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000000;
    std::size_t fields = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 10;
    std::string text = kol::bench::generateTable(lines, fields);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("%s: %zu lines, %zu bytes\n", argv[1], lines, text.size());
    return 0;
}
