#include "print/pdf_canvas.h"

#include "print/ft_face.h"
#include "text/cp932.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>

#include <cerrno>
#include <vector>

namespace kol::print {

struct PdfCanvas::Cairo {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    cairo_font_face_t* face = nullptr;
    IoStatus written; // the first failed write
    std::pair<AtomicFileWriter*, IoStatus*> target;
    int fontHeight = -1;      // the size the context is set to
    std::uint32_t colour = 1; // not a colour: nothing set yet
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;

    ~Cairo() {
        if (cr) cairo_destroy(cr);
        if (surface) cairo_surface_destroy(surface);
        if (face) cairo_font_face_destroy(face);
    }
};

namespace {

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* target = static_cast<std::pair<AtomicFileWriter*, IoStatus*>*>(closure);
    if (!*target->second) return CAIRO_STATUS_WRITE_ERROR;
    *target->second =
        target->first->write(std::string_view(reinterpret_cast<const char*>(data), length));
    return *target->second ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

constexpr double kPointsPerInch = 72.0, kMmPerInch = 25.4;

} // namespace

PdfCanvas::PdfCanvas(const std::string& path, double widthMm, double heightMm, int dotsPerInch,
                     const FtFontMetrics& metrics)
    : file_(path), metrics_(metrics), widthPt_(widthMm / kMmPerInch * kPointsPerInch),
      heightPt_(heightMm / kMmPerInch * kPointsPerInch), scale_(kPointsPerInch / dotsPerInch),
      cairo_(std::make_unique<Cairo>()) {}

PdfCanvas::~PdfCanvas() = default;

IoStatus PdfCanvas::status() const {
    if (!cairo_->written) return cairo_->written;
    if (cairo_->surface && cairo_surface_status(cairo_->surface) != CAIRO_STATUS_SUCCESS)
        return IoStatus::failure(EIO);
    if (cairo_->cr && cairo_status(cairo_->cr) != CAIRO_STATUS_SUCCESS)
        return IoStatus::failure(EIO);
    return IoStatus::success();
}

IoStatus PdfCanvas::open() {
    if (!metrics_.ok()) return IoStatus::failure(ENOENT);
    if (IoStatus opened = file_.open(); !opened) return opened;
    cairo_->target = {&file_, &cairo_->written};
    cairo_->surface =
        cairo_pdf_surface_create_for_stream(writeToFile, &cairo_->target, widthPt_, heightPt_);
    cairo_pdf_surface_restrict_to_version(cairo_->surface, CAIRO_PDF_VERSION_1_5);
    cairo_->face = cairo_ft_font_face_create_for_ft_face(metrics_.face().face(), 0);
    // No hinting: the outlines go into the file as the font has them.
    cairo_->cr = cairo_create(cairo_->surface);
    return status();
}

void PdfCanvas::beginPage() {
    cairo_t* cr = cairo_->cr;
    cairo_identity_matrix(cr);
    cairo_scale(cr, scale_, scale_);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_face(cr, cairo_->face);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_->fontHeight = -1;
    cairo_->colour = 1;
}

IoStatus PdfCanvas::endPage() {
    cairo_show_page(cairo_->cr);
    return status();
}

IoStatus PdfCanvas::finish() {
    cairo_destroy(cairo_->cr);
    cairo_->cr = nullptr;
    cairo_surface_finish(cairo_->surface);
    if (IoStatus s = status(); !s) return s;
    return file_.commit();
}

namespace {

void setColour(cairo_t* cr, std::uint32_t bgr, std::uint32_t& current) {
    if (bgr == current) return;
    current = bgr;
    cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0,
                         ((bgr >> 16) & 0xFF) / 255.0);
}

} // namespace

void PdfCanvas::fillRect(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    setColour(cairo_->cr, colour, cairo_->colour);
    cairo_rectangle(cairo_->cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cairo_->cr);
}

void PdfCanvas::frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) {
    if (r.width() <= 0 || r.height() <= 0 || penWidth <= 0) return;
    cairo_t* cr = cairo_->cr;
    setColour(cr, colour, cairo_->colour);
    cairo_set_line_width(cr, penWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_dash(cr, nullptr, 0, 0);
    // The pen's middle on the outermost ring of units.
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1);
    cairo_stroke(cr);
}

void PdfCanvas::dottedFrame(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    cairo_t* cr = cairo_->cr;
    setColour(cr, colour, cairo_->colour);
    const double dash[] = {1.0, 1.0};
    cairo_set_line_width(cr, 1);
    cairo_set_dash(cr, dash, 2, 0);
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void PdfCanvas::line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) {
    if (penWidth <= 0) return;
    cairo_t* cr = cairo_->cr;
    setColour(cr, colour, cairo_->colour);
    cairo_set_line_width(cr, penWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr);
}

void PdfCanvas::text(const TextBox& t) {
    if (t.font.height < 1 || t.text.empty() || t.box.width() <= 0 || t.box.height() <= 0) return;
    cairo_t* cr = cairo_->cr;
    if (cairo_->fontHeight != t.font.height) {
        cairo_set_font_size(cr, t.font.height);
        cairo_->fontHeight = t.font.height;
    }
    setColour(cr, 0x000000, cairo_->colour);
    const FtFace& face = metrics_.face();
    const int px = t.font.height;
    const int width = metrics_.textWidth(t.font, t.text);
    const int height = metrics_.charHeight(t.font);
    double x = t.box.left;
    if (t.align == TextAlign::Centre) x += (t.box.width() - width) / 2;
    double y = t.box.top + metrics_.ascent(t.font);
    if (t.centredVertically) y += (t.box.height() - height) / 2;
    // Glyphs by the face's own indexes, placed at the advances the layout measured; each with
    // its character, so that the text reads back.
    auto& glyphs = cairo_->glyphs;
    auto& clusters = cairo_->clusters;
    std::string& utf8 = cairo_->utf8;
    glyphs.clear();
    clusters.clear();
    utf8.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(t.text.data());
    for (std::size_t at = 0, length = 0; at < t.text.size(); at += length) {
        const char32_t code = cp932::decodeChar(p + at, t.text.size() - at, length);
        const std::size_t before = utf8.size();
        cp932::appendUtf8(utf8, code);
        glyphs.push_back({face.glyph(code), x, y});
        clusters.push_back({static_cast<int>(utf8.size() - before), 1});
        x += roundedPixels(face.advance(code), px, face.unitsPerEm);
    }
    // Text beyond its box is cut off, as on the screen.
    const bool clip = width > t.box.width() || height > t.box.height();
    if (clip) {
        cairo_save(cr);
        cairo_rectangle(cr, t.box.left, t.box.top, t.box.width(), t.box.height());
        cairo_clip(cr);
    }
    cairo_show_text_glyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), clusters.data(),
                           static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
    if (clip) {
        cairo_restore(cr);
        cairo_->colour = 1;
        cairo_->fontHeight = -1;
    }
}

} // namespace kol::print
