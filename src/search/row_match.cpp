#include "search/row_match.h"

#include "text/cp932.h"
#include "text/letter_case.h"
#include "text/text_utils.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kol {

namespace {

inline bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool isTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFC;
}

// Whether p starts a character of the cell [cellStart, cellEnd). The bytes of a run of
// lead-range bytes pair up from its start, and the run starts on a boundary (the byte before it
// cannot be a lead byte), so only the run's length matters.
inline bool onBoundary(const unsigned char* t, std::size_t cellStart, std::size_t p) {
    std::size_t run = 0;
    while (p - run > cellStart && isLead(t[p - run - 1])) ++run;
    return run % 2 == 0 || !isTrail(t[p]);
}

// The text bytes run in step with the word's characters (the match begins on a boundary and
// a lead byte is compared exactly), so a byte compared with a trail byte's other case is a
// trail byte in the text too.
template <bool Folds> inline bool equalMasked(const unsigned char* t, const SearchWord& w) {
    const auto* u = reinterpret_cast<const unsigned char*>(w.upper().data());
    const auto* m = reinterpret_cast<const unsigned char*>(w.mask().data());
    const auto* o = reinterpret_cast<const unsigned char*>(w.other().data());
    for (std::size_t i = 0; i < w.size(); ++i)
        if ((t[i] & m[i]) != u[i] && (!Folds || t[i] != o[i])) return false;
    return true;
}

// Calls found(cell) once for every cell fc .. cells - 1 of `row` that holds the word, in order.
// Candidates come from the word's first and last byte compared a block at a time over the
// whole row text; each is then checked against its cell's bounds and character boundary. A
// word ending in a double-byte letter takes either case of its last byte (Folding::Last); its
// first byte is a lead byte or a single-byte character, which the mask covers. Words without
// double-byte letters (Folding::None) scan as if there were none anywhere.
template <SearchWord::Folding Folding, typename F>
bool scanRow(const PackedRow& row, std::uint32_t fc, std::uint32_t cells, const SearchWord& w,
             F&& found) {
    const auto* t = reinterpret_cast<const unsigned char*>(row.text());
    const std::size_t n = w.size();
    const std::size_t begin = row.offset(fc), end = row.offset(cells);
    if (end - begin < n) return false;
    const std::size_t last = end - n; // last possible start
    std::uint32_t cell = fc;
    std::size_t next = begin; // starts below this lie in a cell already found
    bool any = false;
    const auto first = static_cast<unsigned char>(w.upper()[0]);
    const auto firstMask = static_cast<unsigned char>(w.mask()[0]);
    const auto lastByte = static_cast<unsigned char>(w.upper()[n - 1]);
    const auto lastMask = static_cast<unsigned char>(w.mask()[n - 1]);
    const auto lastOther = static_cast<unsigned char>(w.other()[n - 1]);
    constexpr bool foldedLast = Folding == SearchWord::Folding::Last;

    auto check = [&](std::size_t p) {
        if (p < next) return;
        while (row.offset(cell + 1) <= p) ++cell;
        const std::size_t cellStart = row.offset(cell), cellEnd = row.offset(cell + 1);
        if (p + n > cellEnd || !equalMasked<Folding != SearchWord::Folding::None>(t + p, w) ||
            !onBoundary(t, cellStart, p))
            return;
        found(cell);
        any = true;
        next = cellEnd;
    };

    std::size_t p = begin;
#if defined(__SSE2__)
    const SearchWord::Ends& ends = w.ends();
    const __m128i m0 = _mm_load_si128(reinterpret_cast<const __m128i*>(ends.firstMask));
    const __m128i v0 = _mm_load_si128(reinterpret_cast<const __m128i*>(ends.first));
    const __m128i m1 = _mm_load_si128(reinterpret_cast<const __m128i*>(ends.lastMask));
    const __m128i v1 = _mm_load_si128(reinterpret_cast<const __m128i*>(ends.last));
    const __m128i o1 = _mm_load_si128(reinterpret_cast<const __m128i*>(ends.lastOther));
    auto block = [&](std::size_t at, unsigned keep) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + n - 1));
        __m128i lastEq = _mm_cmpeq_epi8(_mm_and_si128(b, m1), v1);
        if constexpr (foldedLast) lastEq = _mm_or_si128(lastEq, _mm_cmpeq_epi8(b, o1));
        const __m128i eq = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(a, m0), v0), lastEq);
        for (unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(eq)) & keep; bits;
             bits &= bits - 1)
            check(at + static_cast<std::size_t>(__builtin_ctz(bits)));
    };
    if (end - begin >= n + 15) {
        for (; p + n + 15 <= end; p += 16)
            if (p + 16 > next) block(p, 0xFFFF);
        // The starts left over: one last block ending at the last start, the starts it
        // shares with the loop's blocks masked off.
        if (p <= last) {
            const std::size_t at = last - 15;
            block(at, 0xFFFFu << (p - at));
            p = last + 1;
        }
    }
#endif
    for (; p <= last; ++p)
        if ((t[p] & firstMask) == first &&
            ((t[p + n - 1] & lastMask) == lastByte || (foldedLast && t[p + n - 1] == lastOther)))
            check(p);
    return any;
}

template <typename F>
bool scanWord(const PackedRow& row, std::uint32_t fc, std::uint32_t cells, const SearchWord& w,
              F&& found) {
    using enum SearchWord::Folding;
    switch (w.folding()) {
    case None:
        return scanRow<None>(row, fc, cells, w, found);
    case Inside:
        return scanRow<Inside>(row, fc, cells, w, found);
    case Last:
        return scanRow<Last>(row, fc, cells, w, found);
    }
    return false;
}

} // namespace

std::string UpperCaseAnsi(std::string_view text) {
    std::string out(text);
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLead(t[i]) && i + 1 < text.size() && isTrail(t[i + 1])) {
            out[i + 1] = static_cast<char>(UpperCaseTrail(t[i], t[i + 1]));
            ++i;
        } else if (t[i] >= 'a' && t[i] <= 'z')
            out[i] = static_cast<char>(t[i] - 0x20);
    }
    return out;
}

SearchWord::SearchWord(std::string_view word) : upper_(UpperCaseAnsi(word)) {
    mask_.assign(upper_.size(), static_cast<char>(0xFF));
    other_ = upper_;
    const std::string kinds = ByteKinds(upper_);
    const auto* u = reinterpret_cast<const unsigned char*>(upper_.data());
    for (std::size_t i = 0; i < upper_.size(); ++i) {
        if (kinds[i] == '0' && upper_[i] >= 'A' && upper_[i] <= 'Z')
            mask_[i] = static_cast<char>(0xDF);
        else if (kinds[i] == '2')
            other_[i] = static_cast<char>(OtherCaseTrail(u[i - 1], u[i]));
    }
    if (upper_.empty()) return;
    if (other_.back() != upper_.back())
        folding_ = Folding::Last;
    else if (other_ != upper_)
        folding_ = Folding::Inside;
    for (int i = 0; i < 16; ++i) {
        ends_.first[i] = static_cast<unsigned char>(upper_.front());
        ends_.firstMask[i] = static_cast<unsigned char>(mask_.front());
        ends_.last[i] = static_cast<unsigned char>(upper_.back());
        ends_.lastMask[i] = static_cast<unsigned char>(mask_.back());
        ends_.lastOther[i] = static_cast<unsigned char>(other_.back());
    }
}

RowMatcher::RowMatcher(const std::vector<std::string>& words, SearchMode mode) : mode_(mode) {
    for (const std::string& w : words)
        if (!w.empty()) words_.emplace_back(w);
    // For AND the longest word goes first: it is the likeliest to rule a row out.
    if (mode_ == SearchMode::And)
        std::stable_sort(
            words_.begin(), words_.end(),
            [](const SearchWord& a, const SearchWord& b) { return a.size() > b.size(); });
}

bool RowMatcher::RowMatches(const StringGrid& grid, int r, std::vector<int>& columns) const {
    columns.clear();
    const PackedRow* row = grid.packedRow(r);
    if (!row || words_.empty()) return false;
    const auto fc = static_cast<std::uint32_t>(grid.fixedCols());
    const std::uint32_t cells = std::min(row->cells, static_cast<std::uint32_t>(grid.colCount()));
    if (cells <= fc) return false;
    std::size_t found = 0;
    for (const SearchWord& w : words_) {
        if (scanWord(*row, fc, cells, w, [&](std::uint32_t c) { columns.push_back(int(c)); })) {
            ++found;
        } else if (mode_ == SearchMode::And) {
            columns.clear();
            return false;
        }
    }
    if (found == 0) return false;
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return true;
}

std::vector<std::string> SplitWords(std::string_view text) {
    static const std::string fullWidthSpace = sj("　");
    // What is left after the last cut is the last word. (A full-width space appended as its
    // end mark would pair with a lone lead byte at the end and never be found as a space.)
    std::string s = Trim(text);
    std::vector<std::string> words;
    for (;;) {
        std::size_t cut = s.find(' '), length = 1;
        if (cut == std::string::npos) {
            cut = FindText(s, fullWidthSpace);
            length = fullWidthSpace.size();
        }
        std::string piece = Trim(std::string_view(s).substr(0, cut));
        if (!piece.empty()) words.push_back(std::move(piece));
        if (cut == std::string::npos) break;
        s.erase(0, cut + length);
    }
    return words;
}

} // namespace kol
