#include "sort/collation_key.h"

#include "text/cp932.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>

namespace kol {

namespace {
// Texts outside ASCII remembered at most; past that they are worked out every time.
constexpr std::size_t kRemembered = 1u << 18;
// Weights of bytes that are no character: above every weight the collator gives.
constexpr unsigned char kInvalidLead = 0xFF;
} // namespace

struct PrimaryWeights::Collator {
    UCollator* handle = nullptr;
    UCollationElements* elements = nullptr;
    Collator() {
        UErrorCode status = U_ZERO_ERROR;
        handle = ucol_open("ja", &status);
        if (U_FAILURE(status)) {
            handle = nullptr;
            return;
        }
        static const UChar none = 0;
        elements = ucol_openElements(handle, &none, 0, &status);
        if (U_FAILURE(status)) elements = nullptr;
    }
    ~Collator() {
        if (elements) ucol_closeElements(elements);
        if (handle) ucol_close(handle);
    }
    // The primary weight bytes of a UTF-16 text: every collation element's primary half,
    // zero bytes left out (a weight never holds one except as its unused tail).
    void weigh(const std::u16string& text, std::string& out) {
        if (!elements) {
            // No collator: the code units in order, six bits a byte, no byte zero.
            for (char16_t u : text) {
                out.push_back(static_cast<char>((u >> 12) + 1));
                out.push_back(static_cast<char>(((u >> 6) & 0x3F) + 1));
                out.push_back(static_cast<char>((u & 0x3F) + 1));
            }
            return;
        }
        UErrorCode status = U_ZERO_ERROR;
        ucol_setText(elements, reinterpret_cast<const UChar*>(text.data()),
                     static_cast<int32_t>(text.size()), &status);
        for (;;) {
            const int32_t ce = ucol_next(elements, &status);
            if (U_FAILURE(status) || ce == UCOL_NULLORDER) break;
            const auto primary = static_cast<std::uint32_t>(ucol_primaryOrder(ce));
            if (primary >> 8) out.push_back(static_cast<char>(primary >> 8));
            if (primary & 0xFF) out.push_back(static_cast<char>(primary & 0xFF));
        }
    }
};

PrimaryWeights::PrimaryWeights() : collator_(std::make_unique<Collator>()) {
    std::u16string one(1, u' ');
    for (int c = 0; c < 128; ++c) {
        one[0] = static_cast<char16_t>(c);
        collator_->weigh(one, ascii_[c]);
    }
}

PrimaryWeights::~PrimaryWeights() = default;

void PrimaryWeights::appendBlanks(std::size_t count, std::string& out) {
    const std::string& blank = ascii_[' '];
    if (blank.size() == 1) {
        out.append(count, blank[0]);
        return;
    }
    while (blanks_.size() < count * blank.size()) blanks_ += blank;
    out.append(blanks_, 0, count * blank.size());
}

void PrimaryWeights::appendAscii(std::string_view ascii, std::string& out) {
    for (char c : ascii) out += ascii_[static_cast<unsigned char>(c) & 0x7F];
}

void PrimaryWeights::append(std::string_view text, std::string& out) {
    bool plain = true;
    for (char c : text) plain = plain && static_cast<unsigned char>(c) < 0x80;
    if (plain) {
        appendAscii(text, out);
        return;
    }
    if (auto it = known_.find(text); it != known_.end()) {
        out.append(pool_, it->second.first, it->second.second);
        return;
    }
    const std::size_t start = out.size();
    compute(text, out);
    if (known_.size() < kRemembered) {
        const auto at = static_cast<std::uint32_t>(pool_.size());
        pool_.append(out, start, out.size() - start);
        known_.emplace(text, std::make_pair(at, static_cast<std::uint32_t>(out.size() - start)));
    }
}

void PrimaryWeights::compute(std::string_view text, std::string& out) {
    // Characters in runs go through the collator together (contractions and contexts inside a
    // text hold); a byte that is no character ends a run and weighs by its value.
    utf16_.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size();
    auto flush = [&] {
        if (!utf16_.empty()) collator_->weigh(utf16_, out);
        utf16_.clear();
    };
    while (n > 0) {
        std::size_t length = 1;
        char32_t c = *p < 0x80 ? *p : cp932::decodeChar(p, n, length);
        if (c == cp932::kReplacement) {
            flush();
            out.push_back(static_cast<char>(kInvalidLead));
            for (std::size_t i = 0; i < length; ++i) out.push_back(static_cast<char>(p[i] | 1));
            out.push_back(static_cast<char>(1 + (p[length - 1] & 1)));
        } else if (c > 0xFFFF) {
            c -= 0x10000;
            utf16_.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            utf16_.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            utf16_.push_back(static_cast<char16_t>(c));
        }
        p += length;
        n -= length;
    }
    flush();
}

} // namespace kol
