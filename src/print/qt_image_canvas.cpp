#include "print/qt_image_canvas.h"

#include "ui/qt_cell_painter.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPen>

#include <algorithm>

namespace kol::print {

QFont printQFont(const CanvasFont& font) {
    const int pixels = std::max(1, font.height);
    if (font.face == kPrintFace) return programFont(pixels);
    QFont q(QString::fromStdString(font.face));
    q.setPixelSize(pixels);
    return q;
}

QtImageCanvas::QtImageCanvas(QImage& image) : QtImageCanvas(static_cast<QPaintDevice*>(&image)) {}

QtImageCanvas::QtImageCanvas(QPaintDevice* device) : painter_(device) {
    // Lines and boxes fall on whole pixels, as on the printer; only text is smoothed.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBrush(Qt::NoBrush);
}

void QtImageCanvas::fillRect(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    painter_.fillRect(QRect(r.left, r.top, r.width(), r.height()), qcolour(colour));
}

void QtImageCanvas::frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) {
    if (r.width() <= 0 || r.height() <= 0 || penWidth <= 0) return;
    painter_.setPen(QPen(qcolour(colour), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter_.setBrush(Qt::NoBrush);
    // A 1-pixel outline of a QRect covers its size plus one: one less keeps it on the ring.
    painter_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void QtImageCanvas::dottedFrame(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    QPen pen(qcolour(colour), 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({1, 1}); // every other pixel
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void QtImageCanvas::line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) {
    if (penWidth <= 0) return;
    painter_.setPen(QPen(qcolour(colour), penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter_.drawLine(x1, y1, x2, y2);
}

void QtImageCanvas::text(const TextBox& t) {
    if (t.font.height < 1 || t.text.empty() || t.box.width() <= 0 || t.box.height() <= 0) return;
    painter_.setFont(printQFont(t.font));
    painter_.setPen(Qt::black);
    int flags = Qt::TextSingleLine;
    flags |= t.align == TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    flags |= t.centredVertically ? Qt::AlignVCenter : Qt::AlignTop;
    // Drawn on top of what is there; text outside its box is cut off.
    painter_.drawText(QRect(t.box.left, t.box.top, t.box.width(), t.box.height()), flags,
                      qs(t.text));
}

int QtFontMetrics::charWidth(const CanvasFont& font) const {
    return QFontMetrics(printQFont(font), device_).horizontalAdvance(QLatin1Char('A'));
}

int QtFontMetrics::charHeight(const CanvasFont& font) const {
    return QFontMetrics(printQFont(font), device_).height();
}

int QtFontMetrics::textWidth(const CanvasFont& font, std::string_view cp932) const {
    return QFontMetrics(printQFont(font), device_).horizontalAdvance(qs(std::string(cp932)));
}

} // namespace kol::print
