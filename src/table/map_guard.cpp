#include "table/map_guard.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace kol {

namespace {

// The handler reads these without locks: a slot is published by its begin, set last.
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::size_t> size{0};
    std::atomic<bool> cut{false};
};

std::array<Slot, 64> slots;
std::uintptr_t pageSize = 4096;
struct sigaction previous {};

// What would have happened without us: the previous handler, or the default action (the
// program ends, as the fault would have ended it).
void passOn(int signal, siginfo_t* info, void* context) {
    if ((previous.sa_flags & SA_SIGINFO) && previous.sa_sigaction) {
        previous.sa_sigaction(signal, info, context);
        return;
    }
    if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler != SIG_DFL &&
        previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
        return;
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(SIGBUS, &fallback, nullptr);
    ::raise(SIGBUS); // blocked until the handler returns, then it ends the program
}

void onBusError(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    if (info && info->si_code > 0) { // a fault, not a signal sent by a program
        const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
        for (Slot& slot : slots) {
            const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
            if (begin == 0) continue;
            const std::uintptr_t end = begin + slot.size.load(std::memory_order_relaxed);
            if (address < begin || address >= end) continue;
            // Zero pages from the faulting one to the end: the read goes on, and the pages
            // after it would fault the same way.
            const std::uintptr_t from = address / pageSize * pageSize;
            const std::uintptr_t to = (end + pageSize - 1) / pageSize * pageSize;
            void* mended = ::mmap(reinterpret_cast<void*>(from), to - from, PROT_READ,
                                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (mended == MAP_FAILED) break;
            slot.cut.store(true, std::memory_order_release);
            errno = savedErrno;
            return;
        }
    }
    passOn(signal, info, context);
    errno = savedErrno;
}

void installHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (const long size = ::sysconf(_SC_PAGESIZE); size > 0)
            pageSize = static_cast<std::uintptr_t>(size);
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previous);
    });
}

} // namespace

MapGuard::MapGuard(const void* begin, std::size_t size) {
    if (!begin || size == 0) return;
    installHandler();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        bool expected = false;
        if (!slots[i].taken.compare_exchange_strong(expected, true)) continue;
        slots[i].cut.store(false);
        slots[i].size.store(size);
        slots[i].begin.store(reinterpret_cast<std::uintptr_t>(begin), std::memory_order_release);
        slot_ = static_cast<int>(i);
        return;
    }
}

MapGuard::~MapGuard() {
    reset();
}

MapGuard::MapGuard(MapGuard&& other) noexcept : slot_(std::exchange(other.slot_, -1)) {}

MapGuard& MapGuard::operator=(MapGuard&& other) noexcept {
    if (this != &other) {
        reset();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

bool MapGuard::cut() const {
    return slot_ >= 0 && slots[static_cast<std::size_t>(slot_)].cut.load(std::memory_order_acquire);
}

void MapGuard::reset() {
    if (slot_ < 0) return;
    Slot& slot = slots[static_cast<std::size_t>(slot_)];
    slot.begin.store(0, std::memory_order_release);
    slot.size.store(0);
    slot.taken.store(false, std::memory_order_release);
    slot_ = -1;
}

} // namespace kol
