// The real monotonic clock.
#pragma once

#include "platform/platform.h"

#include <chrono>

namespace kol {

class SteadyClock : public Clock {
public:
    std::int64_t nowMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

} // namespace kol
