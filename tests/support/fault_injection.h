// Write failures on demand for the saving tests: while a FullDisk lives, every write of the
// file writers lets `budget` more bytes through and then fails with ENOSPC, as a full disk
// does; with killAtLimit the process is killed at that point instead (a save killed midway).
#pragma once

#include "table/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace kol::test {

class FullDisk {
public:
    explicit FullDisk(std::size_t budget, bool killAtLimit = false) {
        budget_ = budget;
        kill_ = killAtLimit;
        setWriteCallForTesting(&FullDisk::write);
    }
    ~FullDisk() { setWriteCallForTesting(nullptr); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    static ssize_t write(int fd, const void* data, std::size_t size) {
        if (budget_ == 0) {
            if (kill_) ::raise(SIGKILL);
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, budget_);
        budget_ -= n;
        return ::write(fd, data, n);
    }
    static inline std::size_t budget_ = 0;
    static inline bool kill_ = false;
};

} // namespace kol::test
