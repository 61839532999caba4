// Window placement arithmetic, kept apart from the toolkit so it can be tested. Sizes are in
// pixels; fractions are truncated toward zero.
#pragma once

namespace kol {

struct WindowRect {
    int left = 0, top = 0, width = 0, height = 0;

    bool operator==(const WindowRect&) const = default;
};

// Same size, centred; a window larger than the screen gets a negative position.
WindowRect CentreOnScreen(WindowRect window, int screenW, int screenH);
// Resized to a fraction of the screen in both directions, then centred.
WindowRect SizeToScreen(WindowRect window, double fraction, int screenW, int screenH);
WindowRect SizeToScreen(WindowRect window, double heightFraction, double widthFraction, int screenW,
                        int screenH);
// The whole window on a screen of the given size: moved in, and shrunk where it is larger than
// the screen; a window already wholly on the screen is left as it is.
WindowRect FitOnScreen(WindowRect window, int screenW, int screenH);
// A panel filling the client area less `margin` on every side (never a negative size).
WindowRect InsetPanel(int clientW, int clientH, int margin);
// Horizontal scroll extent of a list whose widest item text is `widestText` pixels wide.
int ListScrollExtent(int widestText);

} // namespace kol
