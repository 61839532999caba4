// The pieces of PDF syntax the writer and its font embedding share: numbers, colours, strings of
// glyph codes, the code space, compression.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kol::print::pdf {

// Six letters naming the subset, as the format asks of a font that is not whole.
inline constexpr std::string_view kFontName = "KOLUMB+IPAMincho";

inline void appendInt(std::string& s, long long v) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    s.append(buffer, end);
}

// A number as the page wants it: whole, or with up to four decimals.
inline void appendReal(std::string& s, double v) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%.4f", v);
    std::string_view t(buffer, static_cast<std::size_t>(n));
    while (t.back() == '0') t.remove_suffix(1);
    if (t.back() == '.') t.remove_suffix(1);
    s += t;
}

// A grey as one number ("g"), any other colour as three ("rg").
inline bool appendColour(std::string& s, std::uint32_t bgr) {
    const std::uint32_t r = bgr & 0xFF;
    if (r == ((bgr >> 8) & 0xFF) && r == ((bgr >> 16) & 0xFF)) {
        appendReal(s, r / 255.0);
        return true;
    }
    appendReal(s, r / 255.0);
    s += ' ';
    appendReal(s, ((bgr >> 8) & 0xFF) / 255.0);
    s += ' ';
    appendReal(s, ((bgr >> 16) & 0xFF) / 255.0);
    return false;
}

// zlib-compressed, for a stream with /FlateDecode.
std::string deflate(std::string_view data);

// The codes the pages show: characters numbered 1, 2, … as they first appear; the first 127 take
// one byte, the rest two (0x8000 + number), so a table of few characters writes half the bytes.
constexpr unsigned kOneByteCodes = 128;
constexpr unsigned kLastCode = 0x7FFF;

inline void appendHex2(std::string& s, unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    s += digits[(v >> 4) & 15];
    s += digits[v & 15];
}

inline void appendHex4(std::string& s, unsigned v) {
    static const char* const digits = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) s += digits[(v >> shift) & 0xF];
}

inline void appendCode(std::string& s, unsigned code) {
    if (code < kOneByteCodes)
        appendHex2(s, code);
    else
        appendHex4(s, 0x8000 + code);
}

// A code as the bytes of a literal string: the bytes a string cannot hold as they are escaped.
inline void appendStringByte(std::string& s, unsigned byte) {
    if (byte == '(' || byte == ')' || byte == '\\') s += '\\';
    if (byte == '\r') {
        s += "\\r";
        return;
    }
    s += static_cast<char>(byte);
}

inline void appendCodeBytes(std::string& s, unsigned code) {
    if (code < kOneByteCodes) {
        appendStringByte(s, code);
        return;
    }
    appendStringByte(s, (0x8000 + code) >> 8);
    appendStringByte(s, code & 0xFF);
}

inline constexpr const char* kCodeSpace =
    "2 begincodespacerange\n<00><7F>\n<8000><FFFF>\nendcodespacerange\n";

} // namespace kol::print::pdf
