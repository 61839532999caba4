#include "print/pdf_canvas.h"

#include "print/ft_face.h"
#include "print/pdf_syntax.h"
#include "text/cp932.h"

#include <algorithm>

#include <cerrno>
#include <cstdio>

namespace kol::print {

namespace {

constexpr double kPointsPerInch = 72.0, kMmPerInch = 25.4;
constexpr std::size_t kFlushBytes = 1 << 20;
constexpr std::size_t kObjectsPerStream = 200;

} // namespace

using namespace pdf;

PdfCanvas::PdfCanvas(const std::string& path, double widthMm, double heightMm, int dotsPerInch,
                     const FtFontMetrics& metrics)
    : file_(path), metrics_(metrics), widthPt_(widthMm / kMmPerInch * kPointsPerInch),
      heightPt_(heightMm / kMmPerInch * kPointsPerInch), scale_(kPointsPerInch / dotsPerInch) {}

int PdfCanvas::newObject() {
    xref_.push_back({});
    return static_cast<int>(xref_.size());
}

void PdfCanvas::beginObject(int number) {
    xref_[static_cast<std::size_t>(number - 1)] = {offset_ + out_.size(), 0, 0};
    appendInt(out_, number);
    out_ += " 0 obj\n";
}

IoStatus PdfCanvas::put(std::string_view bytes) {
    out_ += bytes;
    return out_.size() >= kFlushBytes ? flush() : status_;
}

IoStatus PdfCanvas::flush() {
    if (status_ && !out_.empty()) status_ = file_.write(out_);
    offset_ += out_.size();
    out_.clear();
    return status_;
}

void PdfCanvas::stashObject(int number, std::string_view body) {
    appendInt(stashHeader_, number);
    stashHeader_ += ' ';
    appendInt(stashHeader_, static_cast<long long>(stashBody_.size()));
    stashHeader_ += ' ';
    stashBody_ += body;
    stashBody_ += '\n';
    stashed_.push_back(number);
    if (stashed_.size() >= kObjectsPerStream) (void)putObjectStream();
}

IoStatus PdfCanvas::putObjectStream() {
    if (stashed_.empty()) return status_;
    const int stream = newObject();
    for (std::size_t i = 0; i < stashed_.size(); ++i)
        xref_[static_cast<std::size_t>(stashed_[i] - 1)] = {0, stream, static_cast<int>(i)};
    const std::string dictionary = "/Type/ObjStm/N " + std::to_string(stashed_.size()) + "/First " +
                                   std::to_string(stashHeader_.size());
    const IoStatus put = putStream(stream, dictionary, stashHeader_ + stashBody_, true);
    stashed_.clear();
    stashHeader_.clear();
    stashBody_.clear();
    return put;
}

IoStatus PdfCanvas::putStream(int number, std::string_view dictionary, std::string_view data,
                              bool compress) {
    const std::string packed = compress ? deflate(data) : std::string();
    const std::string_view body = compress ? std::string_view(packed) : data;
    beginObject(number);
    out_ += "<<";
    out_ += dictionary;
    out_ += "/Length ";
    appendInt(out_, static_cast<long long>(body.size()));
    if (compress) out_ += "/Filter/FlateDecode";
    out_ += ">>stream\n";
    out_ += body;
    return put("\nendstream\nendobj\n");
}

IoStatus PdfCanvas::open() {
    if (!metrics_.ok()) return IoStatus::failure(ENOENT);
    status_ = file_.open();
    if (!status_) return status_;
    catalog_ = newObject();
    pageTree_ = newObject();
    font_ = newObject();
    return put("%PDF-1.5\n%\xE2\xE3\xCF\xD3\n");
}

void PdfCanvas::beginPage() {
    page_.clear();
    // Dots from the top-left corner, y downwards, moved by half a dot: a one-dot pen then runs
    // down the middle of a whole dot, and every path is written in whole numbers.
    appendReal(page_, scale_);
    page_ += " 0 0 ";
    appendReal(page_, -scale_);
    page_ += ' ';
    appendReal(page_, scale_ / 2);
    page_ += ' ';
    appendReal(page_, heightPt_ - scale_ / 2);
    page_ += " cm\n";
    lines_.clear();
    lineWidth_ = -1;
    hasPendingFill_ = false;
    fill_ = stroke_ = 0xFFFFFFFF;
}

IoStatus PdfCanvas::endPage() {
    // The text goes over the page's graphics in one text object: each line stays inside its
    // own cell (cut off where it would leave it), so nothing drawn later could have covered it.
    putPendingFill();
    std::vector<TextLine> own, common;
    if (pages_.empty()) {
        for (const TextLine& line : lines_) firstPage_.insert(line.key());
        own = std::move(lines_);
    } else {
        for (TextLine& line : lines_)
            (firstPage_.count(line.key()) ? common : own).push_back(std::move(line));
    }
    if (!own.empty()) page_ += textObject(own);
    int sharedStream = 0;
    if (!common.empty()) {
        const std::string text = textObject(common);
        auto [at, made] = shared_.try_emplace(text, 0);
        if (made) {
            at->second = newObject();
            if (IoStatus put = putStream(at->second, "", text, true); !put) return put;
        }
        sharedStream = at->second;
    }
    const int page = newObject(), content = newObject();
    pages_.push_back(page);
    std::string dictionary = "<</Type/Page/Parent ";
    appendInt(dictionary, pageTree_);
    dictionary += " 0 R/Contents";
    if (sharedStream > 0) dictionary += '[';
    dictionary += ' ';
    appendInt(dictionary, content);
    dictionary += " 0 R";
    if (sharedStream > 0) {
        dictionary += ' ';
        appendInt(dictionary, sharedStream);
        dictionary += " 0 R]";
    }
    dictionary += ">>";
    stashObject(page, dictionary);
    return putStream(content, "", page_, true);
}

void PdfCanvas::fillColour(std::uint32_t colour) {
    if (colour == fill_) return;
    fill_ = colour;
    page_ += appendColour(page_, colour) ? " g\n" : " rg\n";
}

void PdfCanvas::strokeColour(std::uint32_t colour) {
    if (colour == stroke_) return;
    stroke_ = colour;
    page_ += appendColour(page_, colour) ? " G\n" : " RG\n";
}

void PdfCanvas::lineWidth(int width) {
    if (width == lineWidth_) return;
    lineWidth_ = width;
    appendInt(page_, width);
    page_ += " w\n";
}

void PdfCanvas::fillRect(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    putPendingFill();
    pendingFill_ = r;
    pendingColour_ = colour;
    hasPendingFill_ = true;
}

// A cell is filled and then framed: the two go out as one path when they meet.
void PdfCanvas::putPendingFill() {
    if (!hasPendingFill_) return;
    hasPendingFill_ = false;
    fillColour(pendingColour_);
    for (int v :
         {pendingFill_.left, pendingFill_.top, pendingFill_.width(), pendingFill_.height()}) {
        appendInt(page_, v);
        page_ += ' ';
    }
    page_ += "re f\n";
}

namespace {

// The path of the rectangle's outermost ring: a pen centred half a unit inside the edge.
void appendRingPath(std::string& s, const CanvasRect& r) {
    appendInt(s, r.left);
    s += ' ';
    appendInt(s, r.top);
    s += ' ';
    appendInt(s, r.width() - 1);
    s += ' ';
    appendInt(s, r.height() - 1);
    s += " re S";
}

} // namespace

void PdfCanvas::frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) {
    if (r.width() <= 0 || r.height() <= 0 || penWidth <= 0) return;
    // Filling the ring's inside and stroking the ring covers what the fill alone covers.
    const bool both = hasPendingFill_ && pendingFill_ == r;
    if (both) {
        hasPendingFill_ = false;
        fillColour(pendingColour_);
    } else {
        putPendingFill();
    }
    strokeColour(colour);
    lineWidth(penWidth);
    appendRingPath(page_, r);
    if (both) page_.back() = 'B';
    page_ += '\n';
}

void PdfCanvas::dottedFrame(const CanvasRect& r, std::uint32_t colour) {
    if (r.width() <= 0 || r.height() <= 0) return;
    putPendingFill();
    strokeColour(colour);
    lineWidth(1);
    page_ += "[1 1] 0 d\n";
    appendRingPath(page_, r);
    page_ += "\n[] 0 d\n";
}

void PdfCanvas::line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) {
    if (penWidth <= 0) return;
    putPendingFill();
    strokeColour(colour);
    lineWidth(penWidth);
    appendInt(page_, x1);
    page_ += ' ';
    appendInt(page_, y1);
    page_ += " m ";
    appendInt(page_, x2);
    page_ += ' ';
    appendInt(page_, y2);
    page_ += " l S\n";
}

void PdfCanvas::text(const TextBox& t) {
    if (t.font.height < 1 || t.text.empty() || t.box.width() <= 0 || t.box.height() <= 0) return;
    const int width = metrics_.textWidth(t.font, t.text);
    const int height = metrics_.charHeight(t.font);
    int x = t.box.left;
    if (t.align == TextAlign::Centre) x += (t.box.width() - width) / 2;
    int y = t.box.top + metrics_.ascent(t.font);
    if (t.centredVertically) y += (t.box.height() - height) / 2;
    std::string glyphs = "(";
    const auto* p = reinterpret_cast<const unsigned char*>(t.text.data());
    for (std::size_t at = 0, length = 0; at < t.text.size(); at += length) {
        const char32_t code = cp932::decodeChar(p + at, t.text.size() - at, length);
        appendCodeBytes(glyphs, codeOf(code));
    }
    glyphs += ")Tj\n";
    // Text beyond its box is cut off, as on the screen: such a line is drawn on its own.
    if (width > t.box.width() || height > t.box.height()) {
        putPendingFill();
        page_ += "q ";
        for (int v : {t.box.left, t.box.top, t.box.width(), t.box.height()}) {
            appendInt(page_, v);
            page_ += ' ';
        }
        page_ += "re W n\nBT\n0 g\n/F1 ";
        appendInt(page_, t.font.height);
        page_ += " Tf\n1 0 0 -1 ";
        appendInt(page_, x);
        page_ += ' ';
        appendInt(page_, y);
        page_ += " Tm" + glyphs + "ET\nQ\n";
        fill_ = stroke_ = 0xFFFFFFFF;
        lineWidth_ = -1;
        return;
    }
    lines_.push_back({x, y, t.font.height, std::move(glyphs)});
}

std::string PdfCanvas::TextLine::key() const {
    return std::to_string(x) + ' ' + std::to_string(y) + ' ' + std::to_string(size) + glyphs;
}

std::string PdfCanvas::textObject(const std::vector<TextLine>& lines) {
    std::string text = "BT\n0 g\n1 0 0 -1 0 0 Tm\n";
    int size = -1, lastX = 0, lastY = 0;
    for (const TextLine& line : lines) {
        if (line.size != size) {
            size = line.size;
            text += "/F1 ";
            appendInt(text, size);
            text += " Tf\n";
        }
        // From the previous line's start; the text space's y grows upwards.
        appendInt(text, line.x - lastX);
        text += ' ';
        appendInt(text, lastY - line.y);
        text += " Td";
        text += line.glyphs;
        lastX = line.x;
        lastY = line.y;
    }
    return text + "ET\n";
}

IoStatus PdfCanvas::finish() {
    if (!status_) return status_;
    if (IoStatus font = putFont(); !font) return font;
    auto ref = [](int n) { return std::to_string(n) + " 0 R"; };

    std::string kids;
    for (int page : pages_) kids += ref(page) + ' ';
    // Every page has the same sheet and font: the tree holds them once for all its pages.
    std::string box;
    appendReal(box, widthPt_);
    box += ' ';
    appendReal(box, heightPt_);
    stashObject(pageTree_, "<</Type/Pages/Count " + std::to_string(pages_.size()) +
                               "/MediaBox[0 0 " + box + "]/Resources<</Font<</F1 " + ref(font_) +
                               ">>>>/Kids[" + kids + "]>>");
    stashObject(catalog_, "<</Type/Catalog/Pages " + ref(pageTree_) + ">>");
    (void)putObjectStream();

    // The cross-reference as a compressed stream: a type byte, five bytes of offset or object
    // stream number, two of index.
    const int table = newObject();
    xref_.back() = {offset_ + out_.size(), 0, 0};
    std::string entries;
    auto entry = [&entries](int type, std::uint64_t field, int index) {
        entries += static_cast<char>(type);
        for (int shift = 32; shift >= 0; shift -= 8)
            entries += static_cast<char>((field >> shift) & 0xFF);
        entries += static_cast<char>((index >> 8) & 0xFF);
        entries += static_cast<char>(index & 0xFF);
    };
    entry(0, 0, 0xFFFF);
    for (const Place& at : xref_) {
        if (at.stream > 0)
            entry(2, static_cast<std::uint64_t>(at.stream), at.index);
        else
            entry(1, at.offset, 0);
    }
    const std::uint64_t xrefAt = xref_.back().offset;
    (void)putStream(table,
                    "/Type/XRef/Size " + std::to_string(xref_.size() + 1) + "/W[1 5 2]/Root " +
                        ref(catalog_),
                    entries, true);
    out_ += "startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    if (!flush()) return status_;
    return file_.commit();
}

} // namespace kol::print
