#include "text/text_utils.h"

#include <algorithm>

namespace kol {
namespace {

inline bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

inline bool pairsAt(std::string_view text, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
           IsTrailByte(static_cast<unsigned char>(text[i + 1]));
}

// Bytes covered by the character starting at i.
inline std::size_t charLength(std::string_view text, std::size_t i) {
    return pairsAt(text, i) ? 2 : 1;
}

std::string_view trimmed(std::string_view text, bool left, bool right) {
    std::size_t b = 0, e = text.size();
    if (left)
        while (b < e && isBlank(text[b])) ++b;
    if (right)
        while (e > b && isBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// Checks that bit n is inside bytes [0, h] and finds its byte and mask.
bool locateBit(int h, int n, std::size_t& index, std::uint8_t& mask) {
    if (n < 0 || h < 0 || n > 8 * h) return false;
    index = static_cast<std::size_t>(n / 8);
    mask = static_cast<std::uint8_t>(0x80u >> (n % 8));
    return true;
}

} // namespace

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC;
}

std::string ByteKinds(std::string_view text) {
    std::string kinds(text.size(), '0');
    for (std::size_t i = 0; i < text.size();) {
        if (pairsAt(text, i)) {
            kinds[i] = '1';
            kinds[i + 1] = '2';
            i += 2;
        } else {
            ++i;
        }
    }
    return kinds;
}

bool IsBlank(std::string_view text) {
    for (unsigned char c : text)
        if (c > 0x20) return false;
    return true;
}

std::string Trim(std::string_view text) {
    return std::string(trimmed(text, true, true));
}
std::string_view TrimmedView(std::string_view text) {
    return trimmed(text, true, true);
}
std::string TrimLeft(std::string_view text) {
    return std::string(trimmed(text, true, false));
}
std::string TrimRight(std::string_view text) {
    return std::string(trimmed(text, false, true));
}

std::string PadLeftTo(char pad, std::string_view text, int width) {
    if (width <= 0) return {};
    std::string_view t = trimmed(text, true, true);
    std::size_t w = static_cast<std::size_t>(width);
    if (t.size() < w) return std::string(w - t.size(), pad).append(t);
    std::size_t cut = t.size() - w;
    std::string out(t.substr(cut));
    // A trail byte left at the front would pair with whatever follows and garble the rest.
    if (cut > 0 && ByteKinds(t.substr(0, cut + 1)).back() == '2') out[0] = pad;
    return out;
}

std::string PadRightTo(char pad, std::string_view text, int width) {
    if (width <= 0) return {};
    std::string_view t = trimmed(text, true, true);
    std::size_t w = static_cast<std::size_t>(width);
    if (t.size() <= w) return std::string(t).append(w - t.size(), pad);
    std::string out(t.substr(0, w));
    if (ByteKinds(t.substr(0, w + 1))[w - 1] == '1') out[w - 1] = pad;
    return out;
}

std::string QuoteField(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::size_t FindText(std::string_view text, std::string_view search, std::size_t from) {
    if (search.empty()) return std::string_view::npos;
    // Boundaries depend on everything before them, so walk from the start.
    for (std::size_t i = 0; i < text.size() && text.size() - i >= search.size();
         i += charLength(text, i)) {
        if (i >= from && text.compare(i, search.size(), search) == 0) return i;
    }
    return std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view search,
                       std::string_view replacement) {
    if (search.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0; // text before this is already in out
    for (std::size_t i = 0; i < text.size() && text.size() - i >= search.size();
         i += charLength(text, i)) {
        if (i < copied || text.compare(i, search.size(), search) != 0) continue;
        out.append(text, copied, i - copied);
        out += replacement;
        copied = i + search.size();
    }
    out.append(text, copied);
    return out;
}

std::string DigitsOnly(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9') out += c;
    return out;
}

std::string GroupThousands(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && (text.size() - i) % 3 == 0) out += ',';
        out += text[i];
    }
    return out;
}

std::string FoldText(std::string_view text, int width, bool trimBoth) {
    if (width < 2) return {};
    std::size_t n = static_cast<std::size_t>(width);
    // Leading blanks go before folding: trimming them afterwards would shift every line
    // against the n-byte grid and split the characters the folding kept whole.
    std::string rest(trimBoth ? trimmed(text, true, false) : text);
    rest.append(n, ' ');
    std::string kinds = ByteKinds(rest);
    std::string out;
    out.reserve(rest.size() + rest.size() / n + 1);
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t take = std::min(n, rest.size() - pos);
        if (take == n && kinds[pos + n - 1] == '1') {
            out.append(rest, pos, n - 1);
            out += ' ';
            pos += n - 1;
        } else {
            out.append(rest, pos, take);
            pos += take;
        }
    }
    return std::string(trimmed(out, false, true));
}

bool TestBit(const std::uint8_t* bytes, int h, int n) {
    std::size_t index;
    std::uint8_t mask;
    return locateBit(h, n, index, mask) && (bytes[index] & mask) != 0;
}

void SetBit(std::uint8_t* bytes, int h, int n, int value) {
    std::size_t index;
    std::uint8_t mask;
    if (!locateBit(h, n, index, mask)) return;
    if (value != 0)
        bytes[index] |= mask;
    else
        bytes[index] &= static_cast<std::uint8_t>(~mask);
}

bool TestBit(std::span<const std::uint8_t> bytes, int h, int n) {
    if (n >= 0 && static_cast<std::size_t>(n / 8) >= bytes.size()) return false;
    return TestBit(bytes.data(), h, n);
}

void SetBit(std::span<std::uint8_t> bytes, int h, int n, int value) {
    if (n >= 0 && static_cast<std::size_t>(n / 8) >= bytes.size()) return;
    SetBit(bytes.data(), h, n, value);
}

} // namespace kol
