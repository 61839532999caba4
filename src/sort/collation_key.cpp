#include "sort/collation_key.h"

#include "text/cp932.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

namespace kol {

// Case is a tertiary difference and width a tertiary one too; since every composite key ends in
// the distinct text of its row's index, only the primary weights of two keys can ever differ
// first, so the primary level alone orders them and the keys stay short.
struct CollationKeys::Collator {
    UCollator* handle = nullptr;
    Collator() {
        UErrorCode status = U_ZERO_ERROR;
        handle = ucol_open("ja", &status);
        if (U_FAILURE(status)) {
            handle = nullptr;
            return;
        }
        ucol_setStrength(handle, UCOL_PRIMARY);
    }
    ~Collator() {
        if (handle) ucol_close(handle);
    }
};

CollationKeys::CollationKeys() : collator_(std::make_unique<Collator>()) {}
CollationKeys::~CollationKeys() = default;

bool CollationKeys::usable() const {
    return collator_->handle != nullptr;
}

void CollationKeys::appendCp932(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    while (n > 0) {
        if (*p < 0x80) {
            text_.push_back(static_cast<char16_t>(*p));
            ++p;
            --n;
            continue;
        }
        std::size_t length = 1;
        char32_t c = cp932::decodeChar(p, n, length);
        if (c == cp932::kReplacement) {
            // Private use plane 15, by the byte values: deterministic and kept apart.
            char32_t code = length == 2 ? 0xF0000u + (p[0] << 8 | p[1]) : 0xF0000u + p[0];
            code -= 0x10000;
            text_.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text_.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else if (c > 0xFFFF) {
            c -= 0x10000;
            text_.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            text_.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            text_.push_back(static_cast<char16_t>(c));
        }
        p += length;
        n -= length;
    }
}

void CollationKeys::appendAscii(std::string_view ascii) {
    for (char c : ascii) text_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

void CollationKeys::sortKey(std::string& out) {
    if (!collator_->handle) {
        // No collator: the UTF-16 code units, high byte first.
        out.clear();
        for (char16_t u : text_) {
            out.push_back(static_cast<char>(u >> 8));
            out.push_back(static_cast<char>(u & 0xFF));
        }
        return;
    }
    const auto* text = reinterpret_cast<const UChar*>(text_.data());
    const auto length = static_cast<int32_t>(text_.size());
    if (out.size() < 64) out.resize(64);
    int32_t needed =
        ucol_getSortKey(collator_->handle, text, length, reinterpret_cast<uint8_t*>(out.data()),
                        static_cast<int32_t>(out.size()));
    if (needed > static_cast<int32_t>(out.size())) {
        out.resize(needed);
        needed = ucol_getSortKey(collator_->handle, text, length,
                                 reinterpret_cast<uint8_t*>(out.data()), needed);
    }
    out.resize(needed > 0 ? needed - 1 : 0); // without the terminating zero
}

} // namespace kol
