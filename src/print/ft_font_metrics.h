// The print face measured with FreeType, without a toolkit: what the command line lays pages
// out with and the PDF is drawn in. Sizes follow the rules the window's toolkit measures by
// (the letter's advance rounded half up; the ascent and descent of the font's OS/2 table, each
// rounded), so the two paginate alike; a test holds them together.
#pragma once

#include "print/canvas.h"

#include <memory>
#include <string>

namespace kol::print {

class FtFace; // the loaded font, shared with the PDF writer

class FtFontMetrics : public FontMetrics {
public:
    // The file of the print face, found through fontconfig; none when the face itself is not
    // installed (a substitute would draw kanji in other forms and measure differently).
    static std::string findPrintFaceFile();
    // Empty `error` when loaded; otherwise why not.
    explicit FtFontMetrics(const std::string& fontFile);
    ~FtFontMetrics() override;

    bool ok() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }
    const FtFace& face() const { return *face_; }

    int charWidth(const CanvasFont& font) const override;
    int charHeight(const CanvasFont& font) const override;
    int textWidth(const CanvasFont& font, std::string_view cp932) const override;
    int ascent(const CanvasFont& font) const;

private:
    std::unique_ptr<FtFace> face_;
    std::string error_;
};

} // namespace kol::print
