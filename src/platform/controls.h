// Plain state of the controls a window model drives; the Qt window mirrors it into widgets.
// Captions and items are CP932.
#pragma once

#include "text/cp932.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

struct Control {
    bool Enabled = true;
    bool Visible = true;
};

struct Button : Control {
    std::string Caption;
    bool Bold = false;
};

struct CheckBox : Control {
    std::string Caption;
    bool Checked = false;
    bool Bold = false;
};

struct Combo : Control {
    std::vector<std::string> Items;
    int ItemIndex = -1;
    std::string text() const {
        return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size()) ? Items[ItemIndex]
                                                                            : std::string();
    }
};

struct Label : Control {
    std::string Caption;
};

struct Panel : Control {
    std::string Caption;
    std::uint32_t Color = 0;     // 0xBBGGRR; 0 = the platform's button face
    std::uint32_t FontColor = 0; // 0xBBGGRR
};

struct ScrollBar : Control {
    int Min = 0, Max = 0, Position = 0;
    int SmallChange = 1, LargeChange = 10;
};

struct MenuItem : Control {
    std::string Caption;
    bool Checked = false;
};

// Sets a control's caption from its text as the source spells it (UTF-8).
template <typename Captioned> void caption(Captioned& control, std::string_view utf8) {
    control.Caption = sj(utf8);
}

} // namespace kol
