#include "platform/placement.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kol {
namespace {

// Truncation toward zero, kept inside int so a wild fraction cannot overflow.
int truncated(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(std::trunc(v), double(INT_MIN), double(INT_MAX)));
}

} // namespace

WindowRect CentreOnScreen(WindowRect window, int screenW, int screenH) {
    // Computed in wider integers: C++ division truncates toward zero, as required.
    window.top = static_cast<int>((static_cast<long long>(screenH) - window.height) / 2);
    window.left = static_cast<int>((static_cast<long long>(screenW) - window.width) / 2);
    return window;
}

WindowRect SizeToScreen(WindowRect window, double fraction, int screenW, int screenH) {
    return SizeToScreen(window, fraction, fraction, screenW, screenH);
}

WindowRect SizeToScreen(WindowRect window, double heightFraction, double widthFraction, int screenW,
                        int screenH) {
    window.width = truncated(widthFraction * screenW);
    window.height = truncated(heightFraction * screenH);
    return CentreOnScreen(window, screenW, screenH);
}

WindowRect FitOnScreen(WindowRect window, int screenW, int screenH) {
    auto fit = [](int& pos, int& size, int screen) {
        screen = std::max(screen, 0);
        size = std::min(size, screen);
        // The far edge first, then the near one, so a window as large as the screen starts at 0.
        if (static_cast<long long>(pos) + size > screen) pos = screen - std::max(size, 0);
        pos = std::max(pos, 0);
    };
    fit(window.left, window.width, screenW);
    fit(window.top, window.height, screenH);
    return window;
}

WindowRect InsetPanel(int clientW, int clientH, int margin) {
    long long w = static_cast<long long>(clientW) - 2LL * margin;
    long long h = static_cast<long long>(clientH) - 2LL * margin;
    return {margin, margin, static_cast<int>(std::clamp(w, 0LL, (long long)INT_MAX)),
            static_cast<int>(std::clamp(h, 0LL, (long long)INT_MAX))};
}

int ListScrollExtent(int widestText) {
    return truncated(widestText * 1.5);
}

} // namespace kol
