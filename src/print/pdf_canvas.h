// Pages written to a PDF file as they are drawn: each page goes out when it ends, so a long
// print needs no more memory than one page. The face is embedded as a subset of the glyphs
// used, and the text stays text (a PDF reader can select and extract it). The file appears
// under its name only when finished; a failure leaves the old file or none.
#pragma once

#include "print/canvas.h"
#include "print/ft_font_metrics.h"
#include "table/atomic_file.h"

#include <memory>
#include <string>

namespace kol::print {

class PdfCanvas : public Canvas {
public:
    // A document of pages `widthMm` × `heightMm` drawn in dots at `dotsPerInch`; `metrics`
    // holds the face and outlives the canvas.
    PdfCanvas(const std::string& path, double widthMm, double heightMm, int dotsPerInch,
              const FtFontMetrics& metrics);
    ~PdfCanvas() override;

    [[nodiscard]] IoStatus open();
    void beginPage();
    [[nodiscard]] IoStatus endPage(); // the page goes to the file
    [[nodiscard]] IoStatus finish();  // the file is complete and under its name

    void fillRect(const CanvasRect& r, std::uint32_t colour) override;
    void frameRect(const CanvasRect& r, std::uint32_t colour, int penWidth) override;
    void dottedFrame(const CanvasRect& r, std::uint32_t colour) override;
    void line(int x1, int y1, int x2, int y2, std::uint32_t colour, int penWidth) override;
    void text(const TextBox& t) override;

private:
    struct Cairo;
    IoStatus status() const;

    AtomicFileWriter file_;
    const FtFontMetrics& metrics_;
    double widthPt_, heightPt_, scale_;
    std::unique_ptr<Cairo> cairo_;
};

} // namespace kol::print
