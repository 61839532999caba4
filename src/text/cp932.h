// Shift-JIS as Windows code page 932 (Windows-31J): the program's text encoding. Table text
// stays CP932 bytes everywhere; these conversions are used only at the edges (drawing,
// clipboard, dialogs, messages).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kol::cp932 {

constexpr char32_t kReplacement = U'\uFFFD';

// Decodes one character at p (n >= 1 bytes available). Sets `length` to the bytes it covers
// (1 or 2). A byte that is no character (0x80, 0xA0, 0xFD-0xFF, a lead byte not followed by a
// trail byte) decodes to kReplacement alone; a lead and a trail byte that CP932 leaves
// unassigned decode to one kReplacement covering both, as the byte-kind rules pair them.
char32_t decodeChar(const unsigned char* p, std::size_t n, std::size_t& length);

// Encodes one code point; returns the byte count written to out (1 or 2), 0 if CP932 lacks it.
int encodeChar(char32_t cp, char out[2]);

std::u16string toUtf16(std::string_view sjis);
std::string toUtf8(std::string_view sjis);
// Characters CP932 lacks become `fallback`.
std::string fromUtf16(std::u16string_view text, char fallback = '?');
std::string fromUtf8(std::string_view utf8, char fallback = '?');
// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t cp);

} // namespace kol::cp932

namespace kol {
// The program's own texts are written in UTF-8 source and used as CP932 bytes.
inline std::string sj(std::string_view utf8) {
    return cp932::fromUtf8(utf8);
}
} // namespace kol
