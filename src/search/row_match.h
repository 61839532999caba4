// Finding search words in the rows of a table: upper-casing that folds the single-byte letters
// and the double-byte (full-width Latin, Greek, Cyrillic) letters, substring search that lets a
// match begin only on a character boundary, and the row test of the search window (every data
// column against every word).
#pragma once

#include "table/string_grid.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

// Upper-cases the single-byte letters a-z and the double-byte lower-case letters; no other
// character changes, and a trail byte that looks like a letter is never folded on its own.
std::string UpperCaseAnsi(std::string_view text);

enum class SearchMode { And, Or };

// One search word prepared for scanning whole rows at once.
class SearchWord {
public:
    explicit SearchWord(std::string_view word);
    const std::string& upper() const { return upper_; }
    std::size_t size() const { return upper_.size(); }
    // Bytes that must equal `upper()` after `& mask`: 0xDF folds a single-byte letter.
    const std::string& mask() const { return mask_; }
    // The byte also taken in place of `upper()`: the lower-case trail byte of a double-byte
    // letter (its lead byte is the same in both cases); elsewhere the upper byte again.
    const std::string& other() const { return other_; }
    // Where the word holds such trail bytes: none, only before its last byte, or (also) last.
    enum class Folding { None, Inside, Last };
    Folding folding() const { return folding_; }
    // The first and last byte and their masks (and the last byte's other case), each repeated
    // over 16 bytes for block compares.
    struct Ends {
        alignas(16) unsigned char firstMask[16], first[16], lastMask[16], last[16], lastOther[16];
    };
    const Ends& ends() const { return ends_; }

private:
    std::string upper_, mask_, other_;
    Folding folding_ = Folding::None;
    Ends ends_{};
};

// The words of one search and the row test.
class RowMatcher {
public:
    RowMatcher(const std::vector<std::string>& words, SearchMode mode);
    bool empty() const { return words_.empty(); }

    // Row `r` of `grid` matches when its data columns (from the fixed columns on) hold every
    // word (And) or any word (Or). `columns` receives the data columns that hold a word, in
    // ascending order, when the row matches. Safe to call from several threads at once.
    bool RowMatches(const StringGrid& grid, int r, std::vector<int>& columns) const;

private:
    std::vector<SearchWord> words_;
    SearchMode mode_;
};

// The words of a search text: trimmed, then cut at half-width spaces while there are any, then
// at full-width spaces (on character boundaries); the rest is the last word; empty pieces
// are dropped.
std::vector<std::string> SplitWords(std::string_view text);

} // namespace kol
