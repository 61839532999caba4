// Shared pieces of the fuzz targets. A failed property check ends the run with the failed
// condition, so libFuzzer keeps the input.
#pragma once

#include "table/separators.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The separator choice one input byte picks.
inline unsigned char fuzzSeparator(std::uint8_t byte) {
    const auto& table = kol::SeparatorTable();
    return table[byte % table.size()].code;
}
