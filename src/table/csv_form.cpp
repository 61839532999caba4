#include "table/csv_form.h"

#include "table/separators.h"
#include "text/text_utils.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace kol {

namespace {

void endField(FieldBuffer& out) {
    out.ends.push_back(static_cast<std::uint32_t>(out.bytes.size()));
}

// Bytes of `word` equal to the byte repeated in `pattern` get their high bit set; the lowest
// set bit marks the first such byte exactly (borrows only reach bytes above it).
inline std::uint64_t bytesEqual(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return (x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL;
}

// The first separator or quote from `from` on, eight bytes at a time. Only for separators that
// can never be a trail byte: there every byte is what it looks like.
std::size_t findSeparatorOrQuote(const unsigned char* p, std::size_t from, std::size_t n,
                                 unsigned char separator) {
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t sep = 0x0101010101010101ULL * separator;
        const std::uint64_t quote = 0x0101010101010101ULL * '"';
        for (; i + 8 <= n; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            if (const std::uint64_t hit = bytesEqual(word, sep) | bytesEqual(word, quote))
                return i + static_cast<std::size_t>(std::countr_zero(hit) >> 3);
        }
    }
    for (; i < n; ++i)
        if (p[i] == separator || p[i] == '"') return i;
    return n;
}

void splitLine(std::string_view line, unsigned char separator, FieldBuffer& out, bool fast) {
    if (separator == kNoSeparator) {
        out.bytes.append(line);
        endField(out);
        return;
    }
    if (IsBlank(line)) return;

    // Separators below 0x40 can never be a trail byte, so only the others need the
    // double-byte walk.
    const bool dbcsAware = separator >= 0x40;
    const bool blankSeparator = separator == ' ';
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t n = line.size();
    std::size_t fieldStart = out.bytes.size();
    bool inQuote = false;

    std::size_t i = 0;
    while (i < n) {
        if (inQuote) {
            const void* q = std::memchr(p + i, '"', n - i);
            std::size_t stop = q ? static_cast<const unsigned char*>(q) - p : n;
            out.bytes.append(line.data() + i, stop - i);
            i = stop;
            if (q) {
                inQuote = false;
                ++i;
            }
            continue;
        }
        // Copy a run of ordinary characters at once.
        std::size_t run = i;
        if (fast && !dbcsAware) run = findSeparatorOrQuote(p, i, n, separator);
        while (run < n) {
            unsigned char c = p[run];
            if (c == separator || c == '"') break;
            if (dbcsAware && IsLeadByte(c) && run + 1 < n && IsTrailByte(p[run + 1]))
                run += 2;
            else
                ++run;
        }
        out.bytes.append(line.data() + i, run - i);
        i = run;
        if (i >= n) break;
        if (p[i] == '"') {
            out.bytes.resize(fieldStart);
            inQuote = true;
        } else {
            if (!blankSeparator || out.bytes.size() > fieldStart) endField(out);
            fieldStart = out.bytes.size();
        }
        ++i;
    }
    // The line ends as if followed by one more separator.
    if (!blankSeparator || out.bytes.size() > fieldStart || inQuote) endField(out);
}

} // namespace

void SplitLine(std::string_view line, unsigned char separator, FieldBuffer& out) {
    splitLine(line, separator, out, true);
}

void SplitLineBytewise(std::string_view line, unsigned char separator, FieldBuffer& out) {
    splitLine(line, separator, out, false);
}

void SplitLine(std::string_view line, unsigned char separator, std::vector<std::string>& out) {
    FieldBuffer buffer;
    SplitLine(line, separator, buffer);
    for (std::size_t i = 0; i < buffer.size(); ++i) out.emplace_back(buffer.field(i));
}

namespace {

// What a field holds that decides how it is written, found in one pass eight bytes at a time.
struct FieldMarks {
    bool quote = false;
    bool comma = false;
    bool separatorByte = false; // the separator's byte value anywhere (a trail byte included)
};

FieldMarks scanField(std::string_view text, unsigned char separator) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    FieldMarks marks;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t quote = 0x0101010101010101ULL * '"';
        const std::uint64_t comma = 0x0101010101010101ULL * ',';
        const std::uint64_t sep = 0x0101010101010101ULL * separator;
        std::uint64_t quotes = 0, commas = 0, seps = 0;
        auto scanWord = [&](std::size_t at) {
            std::uint64_t word;
            std::memcpy(&word, p + at, 8);
            quotes |= bytesEqual(word, quote);
            commas |= bytesEqual(word, comma);
            seps |= bytesEqual(word, sep);
        };
        if (n >= 8) {
            for (; i + 8 <= n; i += 8) scanWord(i);
            // The last bytes as one word that overlaps bytes already seen.
            if (i < n) scanWord(n - 8);
            i = n;
        }
        marks = {quotes != 0, commas != 0, seps != 0};
    }
    for (; i < n; ++i) {
        marks.quote |= p[i] == '"';
        marks.comma |= p[i] == ',';
        marks.separatorByte |= p[i] == separator;
    }
    return marks;
}

void appendWithoutQuotes(std::string& out, std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) quote = text.size();
        out.append(text.data() + at, quote - at);
        at = quote + 1;
    }
}

} // namespace

void appendCleanField(std::string& out, std::string_view text) {
    // Neither a quote nor a comma can be the trail byte of a double-byte character.
    const FieldMarks marks = scanField(text, '"');
    if (marks.comma) out.push_back('"');
    if (marks.quote)
        appendWithoutQuotes(out, text);
    else
        out.append(text);
    if (marks.comma) out.push_back('"');
}

std::string CleanField(std::string_view text) {
    std::string out;
    appendCleanField(out, text);
    return out;
}

namespace {

// True when the text ends in a lead byte that has no trail byte after it (an invalid or cut
// double-byte character).
bool endsInLoneLead(std::string_view text) {
    if (text.empty() || !IsLeadByte(static_cast<unsigned char>(text.back()))) return false;
    std::size_t i = 0;
    while (i + 1 < text.size())
        i += IsLeadByte(static_cast<unsigned char>(text[i])) &&
                     IsTrailByte(static_cast<unsigned char>(text[i + 1]))
                 ? 2
                 : 1;
    return i == text.size() - 1;
}

// True when `separator` stands in the text as a character of its own, where reading would
// end the field (a trail byte of a double-byte character is not one).
bool holdsSeparator(std::string_view text, unsigned char separator) {
    if (separator < 0x40) return text.find(static_cast<char>(separator)) != std::string_view::npos;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (p[i] == separator) return true;
        if (IsLeadByte(p[i]) && i + 1 < text.size() && IsTrailByte(p[i + 1])) ++i;
    }
    return false;
}

// A field holding quotes: they are dropped, and the rest is judged as it will read back.
void appendQuotedFieldCarefully(std::string& out, std::string_view text, unsigned char separator,
                                bool loneLeadMatters) {
    std::string cleaned;
    appendCleanField(cleaned, text);
    if (cleaned.find(',') != std::string::npos) {
        out.append(cleaned);
        return;
    }
    const bool wrap =
        holdsSeparator(cleaned, separator) || (loneLeadMatters && endsInLoneLead(cleaned));
    if (wrap) out.push_back('"');
    out.append(cleaned);
    if (wrap) out.push_back('"');
}

} // namespace

void appendJoinedFields(std::string& out, const std::string_view* fields, std::size_t count,
                        unsigned char separator) {
    // A field is quoted when it holds the separator, and, for a separator that can be a trail
    // byte (@ \\ | ~ ...), when it ends in a lone lead byte, which would be read back as one
    // double-byte character with the separator after it. Either would split or merge fields.
    const bool trailSeparator = separator != kNoSeparator && IsTrailByte(separator);
    for (std::size_t i = 0; i < count; ++i) {
        if (separator == kNoSeparator) {
            out.append(fields[i]);
            continue;
        }
        if (i) out.push_back(static_cast<char>(separator));
        std::string_view text = fields[i];
        const FieldMarks marks = scanField(text, separator);
        if (marks.quote) {
            appendQuotedFieldCarefully(out, text, separator, trailSeparator && i + 1 < count);
            continue;
        }
        // Without quotes a field is written as it is, wrapped in quotes when it holds a comma,
        // the separator or (before a trail-byte separator) ends in a lone lead byte.
        const bool holds = separator < 0x40
                               ? marks.separatorByte
                               : marks.separatorByte && holdsSeparator(text, separator);
        const bool wrap =
            marks.comma || holds || (trailSeparator && i + 1 < count && endsInLoneLead(text));
        if (wrap) out.push_back('"');
        out.append(text);
        if (wrap) out.push_back('"');
    }
}

std::string JoinFields(const std::vector<std::string_view>& fields, unsigned char separator) {
    std::string out;
    appendJoinedFields(out, fields.data(), fields.size(), separator);
    return out;
}

} // namespace kol
