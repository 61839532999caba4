#include "table/line_splitter.h"

#include "table/separators.h"
#include "text/text_utils.h"

#include <bit>

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

// The position of the next separator, quote, CR or LF at or after pos_, or the text's size.
std::uint64_t LineSplitter::nextEvent(std::size_t& at) {
    const std::size_t n = text_.size();
    for (;;) {
        while (mask_ == 0) {
            blockAt_ += kBlockBytes;
            if (blockAt_ >= n) {
                at = n;
                return 0;
            }
            mask_ = matcher_.at(bytesOf(text_), blockAt_, n);
        }
        at = blockAt_ + static_cast<std::size_t>(std::countr_zero(mask_));
        mask_ &= mask_ - 1;
        if (at >= pos_) return 1; // events before pos_ belong to lines already split (a CR LF)
    }
}

void LineSplitter::next(FieldBuffer& out) {
    if (!fast_) {
        SplitLine(careful_.next(), separator_, out);
        pos_ = careful_.position();
        return;
    }
    const auto* p = bytesOf(text_);
    const std::size_t n = text_.size();
    const std::size_t lineStart = pos_;
    const std::size_t bytesBefore = out.bytes.size(), fieldsBefore = out.ends.size();
    const bool blankSeparator = separator_ == ' ';
    std::size_t fieldStart = out.bytes.size();
    std::size_t run = pos_; // start of the bytes not yet copied
    bool inQuote = false;
    std::size_t at = 0;
    while (nextEvent(at)) {
        const unsigned char c = p[at];
        if (c == '\r' || c == '\n') break;
        if (c == '"') {
            // A quote outside a quoted run drops what the field held; one inside ends the run.
            if (inQuote)
                out.bytes.append(text_.data() + run, at - run);
            else
                out.bytes.resize(fieldStart);
            inQuote = !inQuote;
            run = at + 1;
        } else if (!inQuote) {
            out.bytes.append(text_.data() + run, at - run);
            if (!blankSeparator || out.bytes.size() > fieldStart)
                out.ends.push_back(static_cast<std::uint32_t>(out.bytes.size()));
            fieldStart = out.bytes.size();
            run = at + 1;
        }
    }
    const std::size_t lineEnd = at;
    out.bytes.append(text_.data() + run, lineEnd - run);
    // The line ends as if followed by one more separator.
    if (!blankSeparator || out.bytes.size() > fieldStart || inQuote)
        out.ends.push_back(static_cast<std::uint32_t>(out.bytes.size()));
    if (lineEnd == lineStart ||
        (p[lineStart] <= 0x20 && IsBlank(text_.substr(lineStart, lineEnd - lineStart)))) {
        out.bytes.resize(bytesBefore); // a blank line has no fields
        out.ends.resize(fieldsBefore);
    }
    pos_ = lineEnd + 1;
    if (lineEnd < n && p[lineEnd] == '\r' && pos_ < n && p[pos_] == '\n') ++pos_;
    if (pos_ > n) pos_ = n;
}

} // namespace kol
