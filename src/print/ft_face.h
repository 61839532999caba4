// The FreeType face of the print face and the design values the measuring and drawing use.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>

namespace kol::print {

class FtFace {
public:
    FtFace() = default;
    ~FtFace();
    FtFace(const FtFace&) = delete;
    FtFace& operator=(const FtFace&) = delete;

    bool load(const std::string& file, std::string& error);
    FT_Face face() const { return face_; }
    std::string file;
    // Design units.
    int unitsPerEm = 1000;
    int ascender = 800, descender = 200; // descender positive
    // A glyph's index and its advance in design units (0 and 0 when the face lacks it).
    std::uint32_t glyph(char32_t code) const;
    int advance(char32_t code) const;

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    mutable int advanceCache_[128]{}; // ASCII, the common case; 0: not yet looked up
};

// Pixels (canvas units) from design units, rounded as the toolkit rounds 26.6 values.
int roundedPixels(long long designUnits, int pixelSize, int unitsPerEm);

} // namespace kol::print
