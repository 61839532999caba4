// The print face in a PDF: the characters the pages used, numbered in the order they appeared,
// the face's subset holding their glyphs, their widths, and the maps from the pages' codes to
// those glyphs and back to the characters.
#include "print/pdf_canvas.h"

#include "print/ft_face.h"
#include "print/pdf_syntax.h"

#include <hb-subset.h>
#include <hb.h>

#include <cerrno>

namespace kol::print {

using namespace pdf;

std::uint16_t PdfCanvas::codeOf(char32_t c) {
    std::uint16_t* slot = c < 128 ? &asciiCodes_[c] : &codes_[c];
    if (*slot == 0) {
        // A page could in theory show more characters than two bytes number: the rest share
        // the last code's glyph rather than overflow.
        if (used_.size() >= kLastCode) return kLastCode;
        used_.push_back({metrics_.face().glyph(c), c});
        *slot = static_cast<std::uint16_t>(used_.size());
    }
    return *slot;
}

std::string PdfCanvas::fontProgram(std::string& error) const {
    std::string program;
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(metrics_.face().file.c_str());
    if (!blob) {
        error = "cannot read " + metrics_.face().file;
        return program;
    }
    hb_face_t* face = hb_face_create(blob, 0);
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (input) {
        hb_set_t* glyphs = hb_subset_input_glyph_set(input);
        for (const Used& u : used_) hb_set_add(glyphs, u.glyph);
        // Glyph numbers stay, so the page's codes name the same glyphs in the subset.
        hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
        if (hb_face_t* subset = hb_subset_or_fail(face, input)) {
            hb_blob_t* bytes = hb_face_reference_blob(subset);
            unsigned length = 0;
            const char* data = hb_blob_get_data(bytes, &length);
            program.assign(data, length);
            hb_blob_destroy(bytes);
            hb_face_destroy(subset);
        }
        hb_subset_input_destroy(input);
    }
    if (program.empty()) error = "cannot make a subset of " + metrics_.face().file;
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return program;
}

std::string PdfCanvas::widths() const {
    const FtFace& face = metrics_.face();
    std::string w = "[1[";
    for (const Used& u : used_) {
        appendInt(w, static_cast<long long>(face.advance(u.character)) * 1000 / face.unitsPerEm);
        w += ' ';
    }
    return w + "]]";
}

std::string PdfCanvas::toUnicode() const {
    std::string map = "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n"
                      "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
                      "/CMapName/Adobe-Identity-UCS def/CMapType 2 def\n" +
                      std::string(kCodeSpace);
    std::size_t next = 0;
    while (next < used_.size()) {
        std::string block;
        int n = 0;
        for (; next < used_.size() && n < 100; ++next, ++n) {
            block += '<';
            appendCode(block, static_cast<unsigned>(next + 1));
            block += "><";
            char32_t c = used_[next].character;
            if (c >= 0x10000) {
                c -= 0x10000;
                appendHex4(block, 0xD800 + (c >> 10));
                appendHex4(block, 0xDC00 + (c & 0x3FF));
            } else {
                appendHex4(block, c);
            }
            block += ">\n";
        }
        appendInt(map, n);
        map += " beginbfchar\n" + block + "endbfchar\n";
    }
    return map + "endcmap CMapName currentdict/CMap defineresource pop end end\n";
}

IoStatus PdfCanvas::putFont() {
    std::string error;
    const std::string program = fontProgram(error);
    if (program.empty()) return IoStatus::failure(EIO);
    const FtFace& face = metrics_.face();
    const int cidFont = newObject(), descriptor = newObject(), file = newObject(),
              unicode = newObject(), glyphMap = newObject(), encoding = newObject();
    auto units = [&](long long v) { return v * 1000 / face.unitsPerEm; };
    auto ref = [](int n) { return std::to_string(n) + " 0 R"; };

    beginObject(font_);
    out_ += "<</Type/Font/Subtype/Type0/BaseFont/" + std::string(kFontName) + "/Encoding " +
            ref(encoding) + "/DescendantFonts[" + ref(cidFont) + "]/ToUnicode " + ref(unicode) +
            ">>\nendobj\n";
    beginObject(cidFont);
    out_ += "<</Type/Font/Subtype/CIDFontType2/BaseFont/" + std::string(kFontName) +
            "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>"
            "/FontDescriptor " +
            ref(descriptor) + "/DW 1000/W" + widths() + "/CIDToGIDMap " + ref(glyphMap) +
            ">>\nendobj\n";
    beginObject(descriptor);
    const FT_Face ft = face.face();
    out_ +=
        "<</Type/FontDescriptor/FontName/" + std::string(kFontName) + "/Flags 4/FontBBox[" +
        std::to_string(units(ft->bbox.xMin)) + ' ' + std::to_string(units(ft->bbox.yMin)) + ' ' +
        std::to_string(units(ft->bbox.xMax)) + ' ' + std::to_string(units(ft->bbox.yMax)) +
        "]/ItalicAngle 0/Ascent " + std::to_string(units(face.ascender)) + "/Descent " +
        std::to_string(-units(face.descender)) + "/CapHeight " +
        std::to_string(units(face.ascender)) + "/StemV 80/FontFile2 " + ref(file) + ">>\nendobj\n";
    (void)putStream(file, "/Length1 " + std::to_string(program.size()), program, true);
    (void)putStream(unicode, "", toUnicode(), true);
    // Code n is CID n, in one byte below 128 and as 0x8000 + n above.
    (void)putStream(encoding,
                    "/Type/CMap/CMapName/Kolumbra-Codes/CIDSystemInfo<</Registry(Adobe)"
                    "/Ordering(Identity)/Supplement 0>>",
                    "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n"
                    "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>def\n"
                    "/CMapName/Kolumbra-Codes def/CMapType 1 def\n" +
                        std::string(kCodeSpace) +
                        "2 begincidrange\n<00><7F>0\n<8000><FFFF>0\nendcidrange\n"
                        "endcmap CMapName currentdict/CMap defineresource pop end end\n",
                    true);
    std::string map(2, '\0'); // code 0: no glyph
    for (const Used& u : used_) {
        map += static_cast<char>(u.glyph >> 8);
        map += static_cast<char>(u.glyph & 0xFF);
    }
    (void)putStream(glyphMap, "", map, true);

    return putStream(glyphMap, "", map, true);
}

} // namespace kol::print
