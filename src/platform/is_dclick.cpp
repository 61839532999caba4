#include "platform/is_dclick.h"

namespace kol {

TIsDClick::TIsDClick(double intervalMs, Clock& clock)
    : clock_(clock), lastTime_(clock.nowMs()), interval_(intervalMs) {}

bool TIsDClick::IsDoubleClick(int x, int y) {
    std::int64_t now = clock_.nowMs();
    const std::int64_t elapsed = now - lastTime_;
    bool result =
        x == lastX_ && y == lastY_ && elapsed >= 0 && static_cast<double>(elapsed) < interval_;
    lastX_ = x;
    lastY_ = y;
    lastTime_ = now;
    return result;
}

} // namespace kol
