#include "print/ft_font_metrics.h"

#include "print/ft_face.h"
#include "text/cp932.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace kol::print {

std::string FtFontMetrics::findPrintFaceFile() {
    std::string file;
    if (!FcInit()) return file;
    FcPattern* pattern =
        FcNameParse(reinterpret_cast<const FcChar8*>(std::string(kPrintFace).c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        // fontconfig always answers with some font: only the face itself will do.
        FcChar8* family = nullptr;
        FcChar8* path = nullptr;
        bool same = false;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            same = same || std::string_view(reinterpret_cast<char*>(family)) == kPrintFace;
        if (same && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = reinterpret_cast<char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

FtFontMetrics::FtFontMetrics(const std::string& fontFile) {
    auto face = std::make_unique<FtFace>();
    if (fontFile.empty())
        error_ = "the font " + std::string(kPrintFace) + " is not installed";
    else if (face->load(fontFile, error_))
        face_ = std::move(face);
}

FtFontMetrics::~FtFontMetrics() = default;

int FtFontMetrics::charWidth(const CanvasFont& font) const {
    return textWidth(font, "A");
}

int FtFontMetrics::ascent(const CanvasFont& font) const {
    if (!face_) return 0;
    return roundedPixels(face_->ascender, std::max(1, font.height), face_->unitsPerEm);
}

int FtFontMetrics::charHeight(const CanvasFont& font) const {
    if (!face_) return 0;
    const int px = std::max(1, font.height);
    return roundedPixels(face_->ascender, px, face_->unitsPerEm) +
           roundedPixels(face_->descender, px, face_->unitsPerEm);
}

int FtFontMetrics::textWidth(const CanvasFont& font, std::string_view cp932) const {
    if (!face_) return 0;
    const int px = std::max(1, font.height);
    // The advances add up unrounded, as the toolkit places glyphs at fractions of a pixel.
    long long units = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    for (std::size_t at = 0, length = 0; at < cp932.size(); at += length)
        units += face_->advance(cp932::decodeChar(p + at, cp932.size() - at, length));
    return roundedPixels(units, px, face_->unitsPerEm);
}

} // namespace kol::print
