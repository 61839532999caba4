#include "text/width_kana.h"

#include "text/cp932.h"
#include "text/text_utils.h"

#include <cstddef>

namespace kol {
namespace {

constexpr char32_t kHalfFirst = 0xFF61; // ｡
constexpr char32_t kHalfLast = 0xFF9F;  // ﾟ
constexpr char32_t kHalfVoiced = 0xFF9E;
constexpr char32_t kHalfSemiVoiced = 0xFF9F;
constexpr char32_t kVu = 0x30F4; // ヴ

// Full-width counterparts of U+FF61..U+FF9F.
constexpr char16_t kHalfToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA, // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,         // ﾙﾚﾛﾜﾝﾞﾟ
};
static_assert(sizeof(kHalfToFull) / sizeof(kHalfToFull[0]) == kHalfLast - kHalfFirst + 1);

bool takesSemiVoicedMark(char32_t full) {
    return full >= 0x30CF && full <= 0x30DB && (full - 0x30CF) % 3 == 0; // ハヒフヘホ
}

bool takesVoicedMark(char32_t full) {
    if (full >= 0x30AB && full <= 0x30C1) return (full - 0x30AB) % 2 == 0; // カ..チ
    if (full >= 0x30C4 && full <= 0x30C8) return (full - 0x30C4) % 2 == 0; // ツテト
    return takesSemiVoicedMark(full) || full == 0x30A6;                    // ハ..ホ, ウ
}

char32_t voiced(char32_t full) {
    return full == 0x30A6 ? kVu : full + 1;
}

// Half-width form of a full-width katakana character: base (and mark), or none.
struct HalfForm {
    char32_t base = 0, mark = 0;
};

HalfForm halfFormOf(char32_t full) {
    static const auto table = [] {
        struct Table {
            HalfForm forms[0x30FF - 0x3000 + 1];
        } t{};
        for (char32_t h = kHalfFirst; h <= kHalfLast; ++h) {
            char32_t f = kHalfToFull[h - kHalfFirst];
            t.forms[f - 0x3000] = {h, 0};
            if (takesVoicedMark(f)) t.forms[voiced(f) - 0x3000] = {h, kHalfVoiced};
            if (takesSemiVoicedMark(f)) t.forms[f + 2 - 0x3000] = {h, kHalfSemiVoiced};
        }
        return t;
    }();
    if (full < 0x3000 || full > 0x30FF) return {};
    return table.forms[full - 0x3000];
}

// Output of one conversion step: up to two code points for the `consumed` input bytes.
struct Step {
    char32_t out[2] = {0, 0};
    int count = 0; // 0: keep the input bytes as they are
    std::size_t consumed = 0;
};

// Walks text character by character; step(cp, bytes after it, Step&) decides each one and may
// take the following character too (it then adds its length to consumed).
template <class F> std::string convert(std::string_view text, F step) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    auto p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size();
    std::size_t i = 0;
    bool loneLead = false; // the last byte out is a lead byte kept without its trail
    while (i < n) {
        std::size_t len;
        char32_t cp = cp932::decodeChar(p + i, n - i, len);
        Step s;
        s.consumed = len;
        if (cp != cp932::kReplacement) step(cp, p + i + len, n - i - len, s);
        if (s.count == 1 && s.out[0] == cp) s.count = 0;
        char buf[4];
        int written = 0;
        for (int k = 0; k < s.count; ++k) {
            int w = cp932::encodeChar(s.out[k], buf + written);
            if (w == 0) {
                written = 0;
                break;
            }
            written += w;
        }
        // A lone lead byte would pair with a converted character that starts with a trail
        // byte and turn both into another character; the one after it stays as it was.
        if (loneLead && written > 0 && IsTrailByte(static_cast<unsigned char>(buf[0]))) written = 0;
        // Unchanged, undecodable or unwritable characters keep their own bytes, which also
        // keeps a character's code when CP932 has several for it.
        if (written == 0)
            out.append(text.substr(i, s.consumed));
        else
            out.append(buf, static_cast<std::size_t>(written));
        loneLead = s.consumed == 1 && cp == cp932::kReplacement && IsLeadByte(p[i]);
        i += s.consumed;
    }
    return out;
}

} // namespace

std::string ToFullWidth(std::string_view text) {
    return convert(text, [](char32_t cp, const unsigned char* rest, std::size_t restLen, Step& s) {
        if (cp == 0x20) {
            s.out[s.count++] = 0x3000;
        } else if (cp > 0x20 && cp < 0x7F) {
            s.out[s.count++] = cp - 0x21 + 0xFF01;
        } else if (cp >= kHalfFirst && cp <= kHalfLast) {
            char32_t full = kHalfToFull[cp - kHalfFirst];
            if (restLen > 0) {
                std::size_t markLen;
                char32_t mark = cp932::decodeChar(rest, restLen, markLen);
                if (mark == kHalfVoiced && takesVoicedMark(full)) {
                    full = voiced(full);
                    s.consumed += markLen;
                } else if (mark == kHalfSemiVoiced && takesSemiVoicedMark(full)) {
                    full += 2;
                    s.consumed += markLen;
                }
            }
            s.out[s.count++] = full;
        }
    });
}

std::string ToHalfWidth(std::string_view text) {
    return convert(text, [](char32_t cp, const unsigned char*, std::size_t, Step& s) {
        if (cp == 0x3000) {
            s.out[s.count++] = 0x20;
        } else if (cp >= 0xFF01 && cp <= 0xFF5E) {
            s.out[s.count++] = cp - 0xFF01 + 0x21;
        } else if (HalfForm h = halfFormOf(cp); h.base != 0) {
            s.out[s.count++] = h.base;
            if (h.mark != 0) s.out[s.count++] = h.mark;
        }
    });
}

std::string ToKatakana(std::string_view text) {
    return convert(text, [](char32_t cp, const unsigned char*, std::size_t, Step& s) {
        if ((cp >= 0x3041 && cp <= 0x3093) || cp == 0x309D || cp == 0x309E)
            s.out[s.count++] = cp + 0x60;
    });
}

std::string ToHiragana(std::string_view text) {
    return convert(text, [](char32_t cp, const unsigned char*, std::size_t, Step& s) {
        if ((cp >= 0x30A1 && cp <= 0x30F3) || cp == 0x30FD || cp == 0x30FE)
            s.out[s.count++] = cp - 0x60;
    });
}

} // namespace kol
