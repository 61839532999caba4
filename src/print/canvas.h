// What a page is drawn on: the preview image or the printer page, without a toolkit. The page
// drawing speaks only to these two interfaces; the Qt side implements them (qt_image_canvas.*),
// the tests record the calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kol::print {

// A rectangle in whole canvas units (pixels of the image, dots of the printer): left and top
// inside, right and bottom just outside, as the placements of the pagination hold them.
struct CanvasRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // Moved inwards by `by` on every side.
    CanvasRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    bool operator==(const CanvasRect&) const = default;
};

// Layout units (96 per inch) to canvas units: scaled, truncated toward zero, then offset. The
// preview scales by its display scale, the printer by its dots per unit.
struct UnitMapping {
    double scale = 1.0;
    int dx = 0, dy = 0;

    int x(int units) const { return static_cast<int>(units * scale) + dx; }
    int y(int units) const { return static_cast<int>(units * scale) + dy; }
    CanvasRect map(const CanvasRect& units) const {
        return {x(units.left), y(units.top), x(units.right), y(units.bottom)};
    }
};

// The typeface every page is drawn in: the program's fixed-pitch Mincho.
inline constexpr std::string_view kPrintFace = "IPAMincho";

struct CanvasFont {
    std::string face{kPrintFace};
    int height = 0; // canvas units; nothing is drawn below 1
    bool operator==(const CanvasFont&) const = default;
};

enum class TextAlign { Left, Centre };

// One line of text in a box: black, single line, transparent background (what lies under it
// stays), never wrapped.
struct TextBox {
    CanvasRect box;
    std::string text; // CP932 bytes
    CanvasFont font;
    TextAlign align = TextAlign::Left;
    bool centredVertically = false; // otherwise the text hangs from the box's top
    bool operator==(const TextBox&) const = default;
};

// Colours are 0xBBGGRR, as everywhere in the program.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void fillRect(const CanvasRect& r, std::uint32_t colour) = 0;
    // A solid outline on the rectangle's outermost ring of units, `penWidth` wide (a wider pen
    // grows about that ring, half inwards and half outwards).
    virtual void frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) = 0;
    // A dotted outline one unit wide on the same ring.
    virtual void dottedFrame(const CanvasRect& r, std::uint32_t colour) = 0;
    virtual void line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) = 0;
    virtual void text(const TextBox& t) = 0;
};

// Sizes of text in a font, in canvas units.
class FontMetrics {
public:
    virtual ~FontMetrics() = default;

    virtual int charWidth(const CanvasFont& font) const = 0;  // of "A"
    virtual int charHeight(const CanvasFont& font) const = 0; // of "A"
    virtual int textWidth(const CanvasFont& font, std::string_view cp932) const = 0;
};

} // namespace kol::print
