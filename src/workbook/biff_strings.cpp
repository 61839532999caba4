#include "workbook/biff_strings.h"

#include "text/cp932.h"

#include <algorithm>

namespace kol::workbook {

namespace {

std::uint32_t little(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

} // namespace

bool readBiffString(const ContinuedRecord& record, std::size_t& at, LengthField length,
                    StringExtras extras, std::u16string& out) {
    const std::string& d = record.data;
    out.clear();
    const std::size_t lengthBytes = length == LengthField::Byte ? 1 : 2;
    if (at + lengthBytes + 1 > d.size()) return false;
    std::size_t remaining = little(d, at, static_cast<int>(lengthBytes));
    at += lengthBytes;
    const unsigned char flags = static_cast<unsigned char>(d[at++]);
    bool wide = flags & 0x01;
    std::size_t runs = 0, phonetic = 0;
    if (extras == StringExtras::FromFlags) {
        if (flags & 0x08) {
            if (at + 2 > d.size()) return false;
            runs = little(d, at, 2), at += 2;
        }
        if (flags & 0x04) {
            if (at + 4 > d.size()) return false;
            phonetic = little(d, at, 4), at += 4;
        }
    }
    out.reserve(std::min(remaining, d.size() - at));
    auto nextBreak = std::upper_bound(record.breaks.begin(), record.breaks.end(), at);
    while (remaining > 0) {
        // Characters that go on into a CONTINUE record: its first byte says how they are kept.
        if (nextBreak != record.breaks.begin() && *(nextBreak - 1) == at && at < d.size()) {
            wide = static_cast<unsigned char>(d[at++]) & 0x01;
            nextBreak = std::upper_bound(record.breaks.begin(), record.breaks.end(), at);
        }
        const std::size_t end = nextBreak == record.breaks.end() ? d.size() : *nextBreak;
        const std::size_t width = wide ? 2 : 1;
        const std::size_t take = std::min(remaining, (end - at) / width);
        if (take == 0) return false;
        for (std::size_t i = 0; i < take; ++i, at += width)
            out += static_cast<char16_t>(little(d, at, static_cast<int>(width)));
        remaining -= take;
        if (at == end && nextBreak != record.breaks.end()) ++nextBreak;
    }
    const std::size_t skip = 4 * runs + phonetic;
    if (skip > d.size() - at) return false;
    at += skip;
    return true;
}

std::vector<std::string> readSharedStrings(const ContinuedRecord& sst) {
    std::vector<std::string> strings;
    if (sst.data.size() < 8) return strings;
    const std::uint32_t unique = little(sst.data, 4, 4);
    // Each string takes at least three bytes, whatever the count claims.
    strings.reserve(std::min<std::size_t>(unique, sst.data.size() / 3));
    std::size_t at = 8;
    std::u16string wide;
    for (std::uint32_t i = 0; i < unique; ++i) {
        const bool whole =
            readBiffString(sst, at, LengthField::Word, StringExtras::FromFlags, wide);
        strings.push_back(cp932::fromUtf16(wide));
        if (!whole) break;
    }
    return strings;
}

} // namespace kol::workbook
