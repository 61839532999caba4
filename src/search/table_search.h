// The search loop over a table and the results it fills: rows split into blocks taken by two
// threads, hits merged in row order, a check on the calling thread every 500 rows where
// progress is shown and a stop is noticed.
#pragma once

#include "search/row_match.h"
#include "table/string_grid.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kol {

// The hits of a search in source row order.
struct SearchHits {
    std::vector<int> rows;              // source rows
    std::vector<std::uint32_t> flagged; // rows.size() + 1 offsets into `columns`
    std::vector<int> columns;           // per hit, the data columns that hold a word
    bool stopped = false;

    SearchHits() : flagged{0} {}
    std::size_t size() const { return rows.size(); }
};

// Called on the calling thread before every source row whose index is a multiple of 500, with
// that row (rows examined so far, counted from the first data row) and the hits so far; false
// stops the search, which then keeps the hits of the rows before the stop.
using SearchCheck = std::function<bool(int row, long long hits)>;

// Rows from the source's fixed rows to its last row. `threads` 0 chooses: two for large tables
// on a machine with two cores or more, else one (which checks at exactly every 500th row).
SearchHits searchTable(const StringGrid& source, const RowMatcher& matcher,
                       const SearchCheck& check = {}, int threads = 0);

// Gives `results` and `flags` their shape for a search of `source` (one more column than the
// source, a sequence column in front; the source's title rows, "SEQ" in the last one; one empty
// data row when nothing was found) and fills them with the hits: the sequence number and the
// source row's cells; in `flags` the source row index and "*" over every flagged column.
void shapeResults(const StringGrid& source, StringGrid& results, StringGrid& flags);
void fillResults(const StringGrid& source, const SearchHits& hits, StringGrid& results,
                 StringGrid& flags);

// A whole search as kolumbra-cli runs it: the words of `text` (CP932), the results filled.
SearchHits searchText(const StringGrid& source, std::string_view text, SearchMode mode,
                      StringGrid& results, StringGrid& flags);

} // namespace kol
