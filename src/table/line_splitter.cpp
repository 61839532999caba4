#include "table/line_splitter.h"

#include "table/separators.h"
#include "text/text_utils.h"

#include <bit>
#include <cstring>

namespace kol {

namespace {

bool splitsFast(unsigned char separator) {
    return separator < 0x40 && separator != '"' && separator != '\r' && separator != '\n';
}

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

LineSplitter::LineSplitter(std::string_view text, std::size_t pos, unsigned char separator)
    : text_(text), pos_(pos), separator_(separator), fast_(splitsFast(separator)),
      careful_(text, pos), matcher_(separator, '"', '\r', '\n'), blockAt_(pos),
      mask_(fast_ && pos < text.size() ? matcher_.at(bytesOf(text), pos, text.size()) : 0) {}

void LineSplitter::next(FieldBuffer& out) {
    if (!fast_) {
        SplitLine(careful_.next(), separator_, out);
        pos_ = careful_.position();
        return;
    }
    const auto* p = bytesOf(text_);
    const std::size_t n = text_.size();
    const std::size_t lineStart = pos_;

    // First the line's separators and quotes, up to its break. Kept in locals while walked:
    // the appends could alias the members.
    std::size_t blockAt = blockAt_;
    std::uint64_t mask = mask_;
    std::size_t lineEnd = n;
    events_.clear();
    for (;;) {
        if (mask == 0) {
            blockAt += kBlockBytes;
            if (blockAt >= n) break;
            mask = matcher_.at(p, blockAt, n);
            continue;
        }
        const std::size_t at = blockAt + static_cast<std::size_t>(std::countr_zero(mask));
        mask &= mask - 1;
        if (at < lineStart) continue; // the LF of a CR LF that ended the line before
        if (p[at] == '\r' || p[at] == '\n') {
            lineEnd = at;
            break;
        }
        events_.push_back(at);
    }
    blockAt_ = blockAt;
    mask_ = mask;
    pos_ = lineEnd + 1;
    if (lineEnd < n && p[lineEnd] == '\r' && pos_ < n && p[pos_] == '\n') ++pos_;
    if (pos_ > n) pos_ = n;
    if (lineEnd == lineStart ||
        (p[lineStart] <= 0x20 && IsBlank(text_.substr(lineStart, lineEnd - lineStart))))
        return; // a blank line has no fields

    // Then the fields, copied once: they never hold more bytes than the line.
    // Fields are short: they go over in 16-byte steps that may run past their end into the
    // 16 spare bytes, where the next field or the final size covers them.
    constexpr std::size_t kStep = 16;
    const std::size_t base = out.bytes.size();
    out.bytes.resize(base + (lineEnd - lineStart) + kStep);
    char* const to = out.bytes.data();
    std::size_t size = base, fieldStart = base;
    std::size_t run = lineStart; // start of the bytes not yet copied
    auto copyUpTo = [&](std::size_t at) {
        const std::size_t length = at - run;
        if (at + kStep <= n) {
            for (std::size_t k = 0; k < length; k += kStep)
                std::memcpy(to + size + k, p + run + k, kStep);
        } else {
            std::memcpy(to + size, p + run, length);
        }
        size += length;
    };
    const bool blankSeparator = separator_ == ' ';
    bool inQuote = false;
    for (const std::size_t at : events_) {
        if (p[at] == '"') {
            // A quote outside a quoted run drops what the field held; one inside ends the run.
            if (inQuote)
                copyUpTo(at);
            else
                size = fieldStart;
            inQuote = !inQuote;
        } else if (!inQuote) {
            copyUpTo(at);
            if (!blankSeparator || size > fieldStart)
                out.ends.push_back(static_cast<std::uint32_t>(size));
            fieldStart = size;
        } else {
            continue; // a separator inside a quoted run
        }
        run = at + 1;
    }
    copyUpTo(lineEnd);
    // The line ends as if followed by one more separator.
    if (!blankSeparator || size > fieldStart || inQuote)
        out.ends.push_back(static_cast<std::uint32_t>(size));
    out.bytes.resize(size);
}

} // namespace kol
