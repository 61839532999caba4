// Primary collation weights of Shift-JIS text under the Japanese collation: the bytes a sort key
// holds at the primary level, uncompressed, so that the weights of a text made of pieces are the
// weights of the pieces one after the other, and keys compare as plain bytes. Letter case (and
// width) are differences beyond the primary level, so they are ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kol {

class PrimaryWeights {
public:
    PrimaryWeights();
    ~PrimaryWeights();
    PrimaryWeights(const PrimaryWeights&) = delete;
    PrimaryWeights& operator=(const PrimaryWeights&) = delete;

    // Appends the weights of `text` (CP932) to `out`. No weight byte is zero. A byte that is no
    // character weighs by its value, after every character, so such texts sort apart and in a
    // fixed order. Texts outside ASCII are worked out once and remembered while `text` stays
    // valid (it is keyed by the view).
    void append(std::string_view text, std::string& out);
    void appendBlanks(std::size_t count, std::string& out);
    void appendAscii(std::string_view ascii, std::string& out); // no lookups, no memory

private:
    struct Collator;
    void compute(std::string_view text, std::string& out);
    std::unique_ptr<Collator> collator_;
    std::string ascii_[128];
    std::unordered_map<std::string_view, std::pair<std::uint32_t, std::uint32_t>> known_;
    std::string pool_;     // the remembered weights, one after another
    std::u16string utf16_; // scratch
    std::string blanks_;   // the weights of blanks, as many as were asked for at most
};

} // namespace kol
