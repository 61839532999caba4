#include "text/cp932.h"

#include <algorithm>
#include <cstdint>

namespace kol::cp932 {
namespace {

#include "text/cp932_table.inc"

constexpr char32_t kUserFirst = 0xE000; // user-defined rows F0-F9 map onto the private use area
constexpr char32_t kUserLast = 0xE757;
constexpr char32_t kHalfKanaFirst = 0xFF61; // 0xA1..0xDF

// Row of a lead byte in kDoubleByte, or -1 for a byte that leads no pair.
inline int leadRow(unsigned b) {
    if (b >= 0x81 && b <= 0x9F) return static_cast<int>(b - 0x81);
    if (b >= 0xE0 && b <= 0xFC) return static_cast<int>(b - 0xE0 + 0x1F);
    return -1;
}

inline bool isTrail(unsigned b) {
    return b >= 0x40 && b <= 0xFC;
}

void appendEncoded(std::string& out, char32_t cp, char fallback) {
    char bytes[2];
    int n = encodeChar(cp, bytes);
    if (n == 0)
        out += fallback;
    else
        out.append(bytes, static_cast<std::size_t>(n));
}

// Decodes one well-formed UTF-8 sequence at s[i]; 0 bytes consumed when it is malformed
// (overlong, surrogate, beyond U+10FFFF, truncated).
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

} // namespace

char32_t decodeChar(const unsigned char* p, std::size_t n, std::size_t& length) {
    if (n == 0) {
        length = 0;
        return kReplacement;
    }
    unsigned b = p[0];
    length = 1;
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return kHalfKanaFirst + (b - 0xA1);
    int row = leadRow(b);
    if (row < 0 || n < 2 || !isTrail(p[1])) return kReplacement;
    // A lead and a trail byte are one character even where the code page assigns nothing,
    // so character boundaries here agree with the byte-kind rules of the text helpers.
    length = 2;
    std::uint16_t cp = kDoubleByte[row * kTrailCount + (p[1] - 0x40)];
    return cp != 0 ? cp : kReplacement;
}

int encodeChar(char32_t cp, char out[2]) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp >= kHalfKanaFirst && cp <= 0xFF9F) {
        out[0] = static_cast<char>(0xA1 + (cp - kHalfKanaFirst));
        return 1;
    }
    if (cp >= kUserFirst && cp <= kUserLast) {
        unsigned index = cp - kUserFirst;
        unsigned trail = index % 188 + 0x40;
        if (trail >= 0x7F) ++trail; // 0x7F is no trail byte
        out[0] = static_cast<char>(0xF0 + index / 188);
        out[1] = static_cast<char>(trail);
        return 2;
    }
    if (cp > 0xFFFF) return 0;
    const std::uint16_t* end = kEncodePoint + kEncodeCount;
    const std::uint16_t* it = std::lower_bound(kEncodePoint, end, static_cast<std::uint16_t>(cp));
    if (it == end || *it != cp) return 0;
    std::uint16_t code = kEncodeCode[it - kEncodePoint];
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return 2;
}

std::u16string toUtf16(std::string_view sjis) {
    std::u16string out;
    out.reserve(sjis.size());
    auto p = reinterpret_cast<const unsigned char*>(sjis.data());
    std::size_t n = sjis.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            out += static_cast<char16_t>(p[i++]);
            continue;
        }
        std::size_t len;
        out += static_cast<char16_t>(decodeChar(p + i, n - i, len)); // all within the BMP
        i += len;
    }
    return out;
}

std::string toUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    auto p = reinterpret_cast<const unsigned char*>(sjis.data());
    std::size_t n = sjis.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t len;
        appendUtf8(out, decodeChar(p + i, n - i, len));
        i += len;
    }
    return out;
}

std::string fromUtf16(std::u16string_view text, char fallback) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            // Every character beyond the BMP is missing from CP932: one fallback per
            // surrogate pair, and one for each unpaired surrogate.
            if (c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                ++i;
            out += fallback;
            continue;
        }
        appendEncoded(out, c, fallback);
    }
    return out;
}

std::string fromUtf8(std::string_view utf8, char fallback) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp;
        std::size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            out += fallback;
            ++i;
            continue;
        }
        appendEncoded(out, cp, fallback);
        i += len;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace kol::cp932
