// One written line from cells that lie one after another in a text: a packed row, or the fields
// of a line just split. Shared by saving (from the grid) and streaming (from the source).
#pragma once

#include "table/csv_form.h"
#include "text/byte_blocks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

namespace detail {

inline constexpr std::size_t kMarkedBlocks = 16; // lines up to 1 KiB have their marks found at once

// True when a bit of [begin, end) is set in the masks.
inline bool anyMarkIn(const std::uint64_t* masks, std::size_t begin, std::size_t end) {
    while (begin < end) {
        const std::size_t bit = begin % kBlockBytes;
        const std::size_t take = std::min(end - begin, kBlockBytes - bit);
        std::uint64_t m = masks[begin / kBlockBytes] >> bit;
        if (take < kBlockBytes) m &= (std::uint64_t{1} << take) - 1;
        if (m) return true;
        begin += take;
    }
    return false;
}

} // namespace detail

// Appends `count` cells joined with `separator`, then CR LF. Cell i < stored is
// text[offset(i), offset(i + 1)); cells from `stored` on are empty, and cells from `count` on
// are not written. The field rules (csv_form.h) quote what needs it.
template <typename Offset>
void appendFieldLine(std::string& out, const char* text, std::size_t stored, std::size_t count,
                     const Offset& offset, unsigned char separator) {
    using detail::kMarkedBlocks;
    const std::size_t have = std::min(stored, count);
    // With a separator below 0x40 a field is written as it is unless it holds a quote, a comma
    // or the separator, and whatever its neighbours hold: one scan of the line's text finds
    // those bytes, and only the fields holding one go through the field rules.
    if (separator < 0x40 && have > 0 &&
        offset(have) - offset(0) <= static_cast<std::size_t>(kMarkedBlocks * kBlockBytes)) {
        const std::size_t begin = offset(0);
        const auto* bytes = reinterpret_cast<const unsigned char*>(text + begin);
        const std::size_t size = offset(have) - begin;
        const ByteMatcher<3> marks('"', ',', separator);
        std::uint64_t masks[kMarkedBlocks];
        std::uint64_t any = 0;
        for (std::size_t b = 0; b * kBlockBytes < size; ++b)
            any |= masks[b] = marks.at(bytes, b * kBlockBytes, size);
        if (any) {
            for (std::size_t i = 0; i < count; ++i) {
                if (i) out.push_back(static_cast<char>(separator));
                if (i >= have) continue;
                const std::string_view cell(text + offset(i), offset(i + 1) - offset(i));
                if (detail::anyMarkIn(masks, offset(i) - begin, offset(i + 1) - begin))
                    appendJoinedFields(out, &cell, 1, separator);
                else
                    out.append(cell);
            }
            out.append("\r\n");
            return;
        }
        // The text with a separator between its cells: one resize, then copies.
        const std::size_t at = out.size();
        out.resize(at + size + (count - 1) + 2);
        char* to = out.data() + at;
        for (std::size_t i = 0; i < have; ++i) {
            if (i) *to++ = static_cast<char>(separator);
            const std::size_t from = offset(i), end = offset(i + 1);
            std::memcpy(to, text + from, end - from);
            to += end - from;
        }
        for (std::size_t i = have; i < count; ++i) *to++ = static_cast<char>(separator);
        *to++ = '\r';
        *to = '\n';
        return;
    }
    std::string_view stack[64];
    std::vector<std::string_view> heap;
    std::string_view* cells = stack;
    if (count > 64) {
        heap.resize(count);
        cells = heap.data();
    }
    for (std::size_t i = 0; i < count; ++i)
        cells[i] = i < have ? std::string_view(text + offset(i), offset(i + 1) - offset(i))
                            : std::string_view();
    appendJoinedFields(out, cells, count, separator);
    out.append("\r\n");
}

} // namespace kol
