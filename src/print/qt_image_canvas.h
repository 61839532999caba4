// The page canvas on a QImage (the preview's picture), and font metrics in the same fonts.
#pragma once

#include "print/canvas.h"

#include <QFont>
#include <QPainter>

class QImage;
class QPaintDevice;

namespace kol::print {

// The Qt font for a canvas font: the program's typeface for the print face, pixel-sized.
QFont printQFont(const CanvasFont& font);

// Paints while it lives: make it, draw the page, let it go before showing the image. On a
// printer the painter starts the job; finish() ends it.
class QtImageCanvas : public Canvas {
public:
    explicit QtImageCanvas(QImage& image);
    explicit QtImageCanvas(QPaintDevice* device);

    bool active() const { return painter_.isActive(); }
    bool finish() { return painter_.end(); }

    void fillRect(const CanvasRect& r, std::uint32_t colour) override;
    void frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) override;
    void dottedFrame(const CanvasRect& r, std::uint32_t colour) override;
    void line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) override;
    void text(const TextBox& t) override;

private:
    QPainter painter_;
};

// Measures on a paint device (the image drawn on), so sizes agree with what is painted.
class QtFontMetrics : public FontMetrics {
public:
    explicit QtFontMetrics(QPaintDevice* device) : device_(device) {}

    int charWidth(const CanvasFont& font) const override;
    int charHeight(const CanvasFont& font) const override;
    int textWidth(const CanvasFont& font, std::string_view cp932) const override;

private:
    QPaintDevice* device_;
};

} // namespace kol::print
