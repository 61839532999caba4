#include "text/letter_case.h"

#include "text/cp932.h"

#include <array>

namespace kol {

namespace {

// The upper-case form of a lower-case letter of the scripts CP932 holds in both cases; 0 for
// anything else. Final sigma has no place in CP932.
char32_t upperOf(char32_t c) {
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20; // full-width Latin
    if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) return c - 0x20;
    if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) return c - 0x50; // ё and the other Cyrillic extras
    return 0;
}

int leadRow(unsigned char b) {
    if (b >= 0x81 && b <= 0x9F) return b - 0x81;
    if (b >= 0xE0 && b <= 0xFC) return b - 0xE0 + 0x1F;
    return -1;
}

// Both cases found through the code page table rather than byte arithmetic: the distance between
// them differs from script to script (and within Cyrillic).
struct CaseTable {
    std::array<std::array<unsigned char, 256>, 60> upper{}, other{};
    CaseTable() {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            const int row = leadRow(static_cast<unsigned char>(lead));
            if (row < 0) continue;
            for (int trail = 0; trail < 256; ++trail) {
                upper[row][trail] = other[row][trail] = static_cast<unsigned char>(trail);
            }
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                               static_cast<unsigned char>(trail)};
                std::size_t length = 0;
                const char32_t up = upperOf(cp932::decodeChar(pair, 2, length));
                char bytes[2];
                if (length != 2 || up == 0 || cp932::encodeChar(up, bytes) != 2 ||
                    static_cast<unsigned char>(bytes[0]) != lead)
                    continue;
                const auto upTrail = static_cast<unsigned char>(bytes[1]);
                upper[row][trail] = upTrail;
                other[row][trail] = upTrail;
                other[row][upTrail] = static_cast<unsigned char>(trail);
            }
        }
    }
};

const CaseTable& caseTable() {
    static const CaseTable table;
    return table;
}

} // namespace

unsigned char UpperCaseTrail(unsigned char lead, unsigned char trail) {
    const int row = leadRow(lead);
    return row < 0 ? trail : caseTable().upper[row][trail];
}

unsigned char OtherCaseTrail(unsigned char lead, unsigned char trail) {
    const int row = leadRow(lead);
    return row < 0 ? trail : caseTable().other[row][trail];
}

} // namespace kol
