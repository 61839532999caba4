// Sort keys of Shift-JIS text under the Japanese collation, letter case ignored: made once per
// row, then compared as plain bytes, so a sort never compares two texts through the collator.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kol {

class CollationKeys {
public:
    CollationKeys();
    ~CollationKeys();
    CollationKeys(const CollationKeys&) = delete;
    CollationKeys& operator=(const CollationKeys&) = delete;

    // False when the collator could not be opened (no locale data); keys are then the text's
    // own bytes.
    bool usable() const;

    // Building one text piece by piece.
    void clear() { text_.clear(); }
    // CP932 bytes; a byte that is no character keeps a weight of its own (by its value), so
    // such texts still sort apart and in a fixed order.
    void appendCp932(std::string_view bytes);
    void appendBlanks(std::size_t count) { text_.append(count, u' '); }
    void appendAscii(std::string_view ascii);

    // The sort key of the text built so far, into `out` (replaced); keys compare as bytes.
    void sortKey(std::string& out);

private:
    struct Collator;
    std::unique_ptr<Collator> collator_;
    std::u16string text_;
};

} // namespace kol
