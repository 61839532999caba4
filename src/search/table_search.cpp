#include "search/table_search.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstring>
#include <thread>

namespace kol {

namespace {
constexpr int kBlockRows = 2000;     // rows a thread takes at a time; a multiple of 500
constexpr int kParallelRows = 20000; // fewer data rows than this are searched on one thread
constexpr int kBuildParallel = 20000;

struct Block {
    SearchHits hits;
    bool complete = false;
};

int threadCount(int requested, int rows) {
    if (requested > 0) return std::min(requested, 2);
    return rows >= kParallelRows && std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

// The result row: the sequence number, then the source row's cells unchanged.
PackedRow* resultRow(RowArena& arena, const PackedRow* src, long long sequence) {
    char seq[24];
    const std::size_t seqSize =
        static_cast<std::size_t>(std::to_chars(seq, seq + sizeof seq, sequence).ptr - seq);
    const std::uint32_t srcCells = src ? src->cells : 0;
    const std::size_t srcText = src ? src->textSize() : 0;
    const std::size_t text = seqSize + srcText;
    void* memory = arena.allocate(PackedRow::blockSize(srcCells + 1, text));
    PackedRow* row = PackedRow::layout(memory, srcCells + 1, text, false);
    char* out = row->text();
    std::memcpy(out, seq, seqSize);
    if (srcText) std::memcpy(out + seqSize, src->text(), srcText);
    row->setOffset(0, 0);
    // The usual case, source and result of one offset width: no width test per cell.
    if (src && src->offsetBytes() == row->offsetBytes()) {
        row->withOffsets([&]<typename Offset>(Offset* to) {
            const auto* from = reinterpret_cast<const Offset*>(src + 1);
            for (std::uint32_t i = 0; i < srcCells; ++i)
                to[i + 1] = static_cast<Offset>(from[i] + seqSize);
        });
        return row;
    }
    for (std::uint32_t i = 0; i < srcCells; ++i)
        row->setOffset(i + 1, static_cast<std::uint32_t>(seqSize + src->offset(i)));
    return row;
}

// The flag row: the source row index, then "*" over each flagged column (result column c + 1).
PackedRow* flagRow(RowArena& arena, int sourceRow, const int* columns, std::size_t count) {
    char index[16];
    const std::size_t indexSize =
        static_cast<std::size_t>(std::to_chars(index, index + sizeof index, sourceRow).ptr - index);
    const std::size_t cells = count ? static_cast<std::size_t>(columns[count - 1]) + 2 : 1;
    const std::size_t text = indexSize + count;
    void* memory = arena.allocate(PackedRow::blockSize(cells, text));
    PackedRow* row = PackedRow::layout(memory, cells, text, false);
    char* out = row->text();
    std::memcpy(out, index, indexSize);
    std::memset(out + indexSize, '*', count);
    // Cell c + 1 is "*" for each flagged column c, empty otherwise.
    std::uint32_t at = static_cast<std::uint32_t>(indexSize);
    std::size_t next = 0;
    row->setOffset(0, 0);
    for (std::size_t c = 1; c < cells; ++c) {
        row->setOffset(c, at);
        if (next < count && static_cast<std::size_t>(columns[next]) + 1 == c) {
            ++at;
            ++next;
        }
    }
    return row;
}

void append(SearchHits& to, const SearchHits& from) {
    const std::uint32_t base = static_cast<std::uint32_t>(to.columns.size());
    to.rows.insert(to.rows.end(), from.rows.begin(), from.rows.end());
    to.columns.insert(to.columns.end(), from.columns.begin(), from.columns.end());
    for (std::size_t i = 1; i < from.flagged.size(); ++i)
        to.flagged.push_back(base + from.flagged[i]);
}

} // namespace

SearchHits searchTable(const StringGrid& source, const RowMatcher& matcher,
                       const SearchCheck& check, int threads) {
    const int first = source.fixedRows(), end = source.rowCount();
    const int rows = std::max(end - first, 0);
    const int blockCount = (rows + kBlockRows - 1) / kBlockRows;
    std::vector<Block> blocks(static_cast<std::size_t>(blockCount));
    std::atomic<int> nextBlock{0};
    std::atomic<bool> stop{false};
    std::atomic<long long> hitCount{0}, examined{0};

    // `checker` is the calling thread: it shows progress and decides on a stop.
    auto work = [&](bool checker) {
        std::vector<int> columns;
        for (int b; !stop.load(std::memory_order_relaxed) && (b = nextBlock++) < blockCount;) {
            Block& block = blocks[static_cast<std::size_t>(b)];
            const int from = first + b * kBlockRows, to = std::min(end, from + kBlockRows);
            int done = from;
            bool stopped = false;
            for (int r = from; r < to; ++r) {
                if (r % 500 == 0) {
                    examined.fetch_add(r - done, std::memory_order_relaxed);
                    done = r;
                    if (checker && check &&
                        !check(static_cast<int>(first + examined.load()), hitCount.load()))
                        stop = true;
                    if (stop.load(std::memory_order_relaxed)) {
                        stopped = true;
                        break;
                    }
                }
                if (matcher.RowMatches(source, r, columns)) {
                    block.hits.rows.push_back(r);
                    block.hits.columns.insert(block.hits.columns.end(), columns.begin(),
                                              columns.end());
                    block.hits.flagged.push_back(
                        static_cast<std::uint32_t>(block.hits.columns.size()));
                    hitCount.fetch_add(1, std::memory_order_relaxed);
                }
            }
            if (!stopped) examined.fetch_add(to - done, std::memory_order_relaxed);
            block.complete = !stopped;
        }
    };

    SearchHits hits;
    if (matcher.empty()) return hits; // no words: the loop ends at once
    std::thread second;
    if (threadCount(threads, rows) > 1) second = std::thread(work, false);
    work(true);
    if (second.joinable()) second.join();

    // The blocks in row order up to the first one a stop left unfinished.
    for (const Block& block : blocks) {
        append(hits, block.hits);
        if (!block.complete) {
            hits.stopped = true;
            break;
        }
    }
    return hits;
}

void shapeResults(const StringGrid& source, StringGrid& results, StringGrid& flags) {
    const int fixedRows = source.fixedRows();
    for (StringGrid* g : {&results, &flags}) {
        g->clearCells();
        g->setFixedRows(0);
        g->setFixedCols(0);
        g->setColCount(source.colCount() + 1);
        g->setRowCount(fixedRows + 1);
        g->setFixedCols(source.fixedCols() + 1);
        g->setFixedRows(fixedRows);
        g->setDefaultRowHeight(source.defaultRowHeight());
    }
    results.setColWidth(0, source.colWidth(0));
    for (int c = 0; c < source.colCount(); ++c) results.setColWidth(c + 1, source.colWidth(c));
    for (int c = 0; c < flags.colCount(); ++c) flags.setColWidth(c, results.colWidth(c));
    std::vector<std::string_view> cells;
    for (int r = 0; r < fixedRows; ++r) {
        cells = source.rowCells(r);
        cells.insert(cells.begin(),
                     r == fixedRows - 1 ? std::string_view("SEQ") : std::string_view());
        results.setRowCells(r, cells);
    }
}

void fillResults(const StringGrid& source, const SearchHits& hits, StringGrid& results,
                 StringGrid& flags) {
    const int fixedRows = source.fixedRows();
    const std::size_t count = hits.size();
    if (count == 0) return;
    results.setRowCount(fixedRows + static_cast<int>(count));
    flags.setRowCount(fixedRows + static_cast<int>(count));
    // Each part builds its rows into arenas of its own; the grids adopt them afterwards.
    auto build = [&](std::size_t from, std::size_t to, RowArena& resultArena, RowArena& flagArena) {
        for (std::size_t k = from; k < to; ++k) {
            const int r = fixedRows + static_cast<int>(k);
            const int b = hits.rows[k];
            if (k + 8 < to) __builtin_prefetch(source.packedRow(hits.rows[k + 8]));
            results.setPackedRow(
                r, resultRow(resultArena, source.packedRow(b), static_cast<long long>(k) + 1));
            flags.setPackedRow(r, flagRow(flagArena, b, hits.columns.data() + hits.flagged[k],
                                          hits.flagged[k + 1] - hits.flagged[k]));
        }
    };
    RowArena arenas[4];
    const std::size_t mid =
        count >= kBuildParallel && std::thread::hardware_concurrency() > 1 ? count / 2 : count;
    std::thread second;
    if (mid < count)
        second = std::thread(build, mid, count, std::ref(arenas[2]), std::ref(arenas[3]));
    build(0, mid, arenas[0], arenas[1]);
    if (second.joinable()) second.join();
    results.adoptArena(std::move(arenas[0]));
    flags.adoptArena(std::move(arenas[1]));
    results.adoptArena(std::move(arenas[2]));
    flags.adoptArena(std::move(arenas[3]));
}

SearchHits searchText(const StringGrid& source, std::string_view text, SearchMode mode,
                      StringGrid& results, StringGrid& flags) {
    RowMatcher matcher(SplitWords(text), mode);
    shapeResults(source, results, flags);
    SearchHits hits = searchTable(source, matcher);
    fillResults(source, hits, results, flags);
    return hits;
}

} // namespace kol
