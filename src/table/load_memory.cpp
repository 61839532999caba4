#include "table/load_memory.h"

#include <atomic>
#include <new>
#include <unistd.h>

namespace kol {

namespace {
std::atomic<std::size_t> limit{0};
std::atomic<std::size_t> counted{0};
} // namespace

void countLoadMemory(std::size_t bytes) {
    const std::size_t cap = limit.load(std::memory_order_relaxed);
    if (cap == 0) return;
    if (counted.fetch_add(bytes, std::memory_order_relaxed) + bytes > cap) throw std::bad_alloc();
}

void setLoadMemoryLimitForTesting(std::size_t bytes) {
    counted.store(0);
    limit.store(bytes);
}

bool fitsInMemory(std::size_t bytes) {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return true;
    return bytes / static_cast<std::size_t>(pageSize) < static_cast<std::size_t>(pages);
}

} // namespace kol
