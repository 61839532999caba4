#include "print/ft_face.h"

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

namespace kol::print {

FtFace::~FtFace() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

bool FtFace::load(const std::string& file, std::string& error) {
    if (FT_Init_FreeType(&library_) != 0) {
        error = "FreeType cannot start";
        return false;
    }
    if (FT_New_Face(library_, file.c_str(), 0, &face_) != 0 || !FT_IS_SCALABLE(face_)) {
        error = "cannot read the font " + file;
        return false;
    }
    this->file = file;
    unitsPerEm = face_->units_per_EM > 0 ? face_->units_per_EM : 1000;
    ascender = face_->ascender;
    descender = -face_->descender;
    // The toolkit takes the OS/2 table's typographic values when the font asks for them, else
    // its Windows values, else the horizontal header's.
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        constexpr unsigned kUseTypoMetrics = 1u << 7;
        if (os2->fsSelection & kUseTypoMetrics) {
            ascender = os2->sTypoAscender;
            descender = -os2->sTypoDescender;
        } else if (os2->usWinAscent != 0 || os2->usWinDescent != 0) {
            ascender = os2->usWinAscent;
            descender = os2->usWinDescent;
        }
    }
    return true;
}

std::uint32_t FtFace::glyph(char32_t code) const {
    return face_ ? FT_Get_Char_Index(face_, code) : 0;
}

int FtFace::advance(char32_t code) const {
    if (code < 128 && advanceCache_[code] != 0) return advanceCache_[code] - 1;
    int units = 0;
    const FT_UInt index = glyph(code);
    FT_Fixed a = 0;
    if (index != 0 && FT_Get_Advance(face_, index, FT_LOAD_NO_SCALE, &a) == 0)
        units = static_cast<int>(a);
    if (code < 128) advanceCache_[code] = units + 1;
    return units;
}

int roundedPixels(long long designUnits, int pixelSize, int unitsPerEm) {
    // FreeType's scale (16.16) and its rounded multiplication give 26.6 pixels, which the
    // toolkit rounds half up.
    const long long scale =
        ((static_cast<long long>(pixelSize) * 64 << 16) + unitsPerEm / 2) / unitsPerEm;
    const long long fixed = (designUnits * scale + 0x8000) >> 16;
    return static_cast<int>((fixed + 32) >> 6);
}

} // namespace kol::print
