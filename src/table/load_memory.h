// The memory a load asks for in large pieces (the row arenas, text read from a pipe) is
// counted here, so that a test can make it run out as a machine would, and so that a source
// plainly beyond the machine is refused before anything is read into memory.
#pragma once

#include <cstddef>

namespace kol {

// Counts `bytes` about to be allocated; throws std::bad_alloc beyond the test limit.
void countLoadMemory(std::size_t bytes);

// Makes loads run out of memory after `bytes` in total from now on (0: no limit again).
void setLoadMemoryLimitForTesting(std::size_t bytes);

// Whether a source of `bytes` may be held in memory at all: no more than the machine has.
bool fitsInMemory(std::size_t bytes);

} // namespace kol
