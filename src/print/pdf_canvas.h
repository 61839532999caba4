// Pages written to a PDF file as they are drawn: each page goes out when it ends, so a long
// print holds one page in memory. Text is written as runs of glyphs of the print face, which is
// embedded at the end as a subset of the glyphs used, with the characters behind them, so a
// reader can select and extract the text. The file appears under its name only when finished;
// a failure leaves the old file or none.
#pragma once

#include "print/canvas.h"
#include "print/ft_font_metrics.h"
#include "table/atomic_file.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kol::print {

class PdfCanvas : public Canvas {
public:
    // A document of pages `widthMm` × `heightMm` drawn in dots at `dotsPerInch`; `metrics`
    // holds the face and outlives the canvas.
    PdfCanvas(const std::string& path, double widthMm, double heightMm, int dotsPerInch,
              const FtFontMetrics& metrics);

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
    int newObject(); // its number; its offset is taken when it is begun
    void beginObject(int number);
    IoStatus put(std::string_view bytes);
    IoStatus flush();
    IoStatus putStream(int number, std::string_view dictionary, std::string_view data,
                       bool compress);
    void putPendingFill();
    void fillColour(std::uint32_t colour);
    void strokeColour(std::uint32_t colour);
    void lineWidth(int width);
    std::string fontProgram(std::string& error) const;
    IoStatus putFont(); // the face and its maps, under the font object
    std::string widths() const;
    std::string toUnicode() const;

    AtomicFileWriter file_;
    const FtFontMetrics& metrics_;
    double widthPt_, heightPt_, scale_;
    IoStatus status_;
    std::string out_;          // written bytes not yet handed to the file
    std::uint64_t offset_ = 0; // bytes of the file so far
    // Where each object (numbered from 1) is: at an offset of the file, or the index-th object
    // of an object stream.
    struct Place {
        std::uint64_t offset = 0;
        int stream = 0, index = 0;
    };
    std::vector<Place> xref_;
    // Small dictionaries (pages, the page tree, the catalog) go into compressed object streams.
    void stashObject(int number, std::string_view body);
    IoStatus putObjectStream();
    std::vector<int> stashed_;
    std::string stashHeader_, stashBody_;
    std::vector<int> pages_;
    std::string page_; // the graphics of the page being drawn
    // The page's lines of text, put over its graphics when it ends.
    struct TextLine {
        int x = 0, y = 0, size = 0;
        std::string glyphs;      // a string operand and Tj
        std::string key() const; // equal for equal lines
    };
    std::vector<TextLine> lines_;
    // Page 1's lines: on later pages the same lines (the headings, a column range's titles) are
    // written once into a stream the pages share, since each page is compressed on its own.
    std::unordered_set<std::string> firstPage_;
    std::unordered_map<std::string, int> shared_; // text object → its stream
    static std::string textObject(const std::vector<TextLine>& lines);
    CanvasRect pendingFill_;
    std::uint32_t pendingColour_ = 0;
    bool hasPendingFill_ = false;
    int lineWidth_ = -1;
    std::uint32_t fill_ = 0xFFFFFFFF, stroke_ = 0xFFFFFFFF; // none set yet
    // Characters numbered from 1 in the order they first appear: the codes the pages show,
    // small numbers that compress better than the face's glyph numbers.
    std::uint16_t codeOf(char32_t c);
    struct Used {
        std::uint32_t glyph;
        char32_t character;
    };
    std::vector<Used> used_;                            // code - 1 → glyph and character
    std::unordered_map<char32_t, std::uint16_t> codes_; // beyond ASCII
    std::uint16_t asciiCodes_[128]{};
    int catalog_ = 0, pageTree_ = 0, font_ = 0;
};

} // namespace kol::print
