// Decides whether a press is the second press of a double click: the same point as the
// previous press, less than the interval after it. Uses a monotonic clock, so presses around
// midnight or across a clock change are judged by their real distance.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace kol {

class TIsDClick {
public:
    TIsDClick(double intervalMs, Clock& clock);
    bool IsDoubleClick(int x, int y);

private:
    Clock& clock_;
    int lastX_ = -1, lastY_ = -1;
    std::int64_t lastTime_;
    double interval_;
};

} // namespace kol
