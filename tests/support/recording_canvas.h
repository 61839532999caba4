// A canvas that draws nothing and keeps every call, and fixed-pitch font metrics, so a test can
// read what a page draws without a display.
#pragma once

#include "print/canvas.h"

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace kol::test {

using namespace kol::print;

struct DrawCall {
    enum class Kind { Fill, Frame, Dotted, Line, Text };
    Kind kind = Kind::Fill;
    CanvasRect rect; // fill, frames, the text's box; a line's ends as left,top-right,bottom
    std::uint32_t colour = 0; // black for text
    int penWidth = 0;         // frames and lines; 1 for dotted frames, 0 for the rest
    TextBox text;             // text only (its box is also in rect)
    bool operator==(const DrawCall&) const = default;
};

inline DrawCall Fill(CanvasRect r, std::uint32_t colour) {
    return {DrawCall::Kind::Fill, r, colour, 0, {}};
}
inline DrawCall Frame(CanvasRect r, std::uint32_t colour, int penWidth) {
    return {DrawCall::Kind::Frame, r, colour, penWidth, {}};
}
inline DrawCall Dotted(CanvasRect r, std::uint32_t colour) {
    return {DrawCall::Kind::Dotted, r, colour, 1, {}};
}
inline DrawCall Line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) {
    return {DrawCall::Kind::Line, {x1, y1, x2, y2}, colour, penWidth, {}};
}
inline DrawCall Text(CanvasRect r, std::string text, int fontHeight,
                     TextAlign align = TextAlign::Left, bool centredVertically = true) {
    TextBox t{r, std::move(text), CanvasFont{std::string(kPrintFace), fontHeight}, align,
              centredVertically};
    return {DrawCall::Kind::Text, r, 0, 0, t};
}

inline void PrintTo(const DrawCall& c, std::ostream* os) {
    static const char* const names[] = {"fill", "frame", "dotted", "line", "text"};
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(c.colour));
    *os << names[static_cast<int>(c.kind)] << ' ' << c.rect.left << ',' << c.rect.top << ','
        << c.rect.right << ',' << c.rect.bottom;
    if (c.kind == DrawCall::Kind::Text) {
        *os << " \"" << c.text.text << "\" " << c.text.font.face << ' ' << c.text.font.height
            << (c.text.align == TextAlign::Centre ? " centre" : " left")
            << (c.text.centredVertically ? " vcentre" : " top");
    } else {
        *os << " #" << colour << " pen " << c.penWidth;
    }
}

class RecordingCanvas : public Canvas {
public:
    std::vector<DrawCall> calls;

    void fillRect(const CanvasRect& r, std::uint32_t colour) override {
        calls.push_back(Fill(r, colour));
    }
    void frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) override {
        calls.push_back(Frame(r, colour, penWidth));
    }
    void dottedFrame(const CanvasRect& r, std::uint32_t colour) override {
        calls.push_back(Dotted(r, colour));
    }
    void line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) override {
        calls.push_back(Line(x1, y1, x2, y2, colour, penWidth));
    }
    void text(const TextBox& t) override {
        calls.push_back({DrawCall::Kind::Text, t.box, 0, 0, t});
    }
};

// A fixed-pitch face whose "A" is half as wide as the font is high, and as high as the font.
class FixedPitchMetrics : public FontMetrics {
public:
    int charWidth(const CanvasFont& font) const override { return font.height / 2; }
    int charHeight(const CanvasFont& font) const override { return font.height; }
    int textWidth(const CanvasFont& font, std::string_view cp932) const override {
        return static_cast<int>(cp932.size()) * charWidth(font);
    }
};

} // namespace kol::test
