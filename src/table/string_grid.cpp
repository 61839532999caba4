#include "table/string_grid.h"

#include "table/grid_view_state.h"

#include "table/load_memory.h"
#include "table/move_item.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <sys/mman.h>
#include <thread>

namespace kol {

namespace {
constexpr std::size_t kChunkBytes = 4u << 20;
constexpr std::size_t kAlign = alignof(std::uint32_t);

std::size_t alignUp(std::size_t n) {
    return (n + kAlign - 1) & ~(kAlign - 1);
}

std::size_t textBytes(std::span<const std::string_view> cells) {
    std::size_t n = 0;
    for (auto c : cells) n += c.size();
    return n;
}

PackedRow* heapRow(std::span<const std::string_view> cells) {
    void* memory = std::malloc(PackedRow::blockSize(cells.size(), textBytes(cells)));
    if (!memory) throw std::bad_alloc();
    return PackedRow::build(memory, cells, true);
}
} // namespace

void RowArena::Unmap::operator()(char* chunk) const {
    ::munmap(chunk, size);
}

RowArena::Chunk RowArena::mapChunk(std::size_t& size, bool largePages) {
    // Whole 2 MiB multiples, mapped on their own: the system aligns them for large pages, so a
    // chunk filled at once takes a fault per 2 MiB instead of one per 4 KiB.
    constexpr std::size_t kLarge = 2u << 20;
    size = (size + kLarge - 1) / kLarge * kLarge;
    void* memory =
        ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    if (largePages) (void)::madvise(memory, size, MADV_HUGEPAGE);
    return Chunk(static_cast<char*>(memory), Unmap{size});
}

void* RowArena::allocate(std::size_t bytes) {
    bytes = alignUp(bytes);
    if (bytes > left_) {
        std::size_t size = std::max(kChunkBytes, bytes);
        countLoadMemory(size);
        // Only an arena past its first chunk is surely large: a few search hits or a short
        // table stay on small pages and take no more memory than they touch.
        chunks_.push_back(mapChunk(size, !chunks_.empty()));
        next_ = chunks_.back().get();
        left_ = size;
        reserved_ += size;
    }
    void* p = next_;
    next_ += bytes;
    left_ -= bytes;
    return p;
}

void RowArena::close() {
    next_ = nullptr;
    left_ = 0;
}

namespace {
// The chunks of a grid's arenas by address, each with the count of rows still in it; a chunk
// is freed when its count comes to zero.
class ChunkRelease {
public:
    ChunkRelease(std::vector<RowArena>& arenas, const std::vector<PackedRow*>& rows) {
        for (RowArena& arena : arenas)
            for (std::size_t i = 0; i < arena.chunkCount(); ++i)
                if (arena.chunkBegin(i))
                    spans_.push_back(
                        {arena.chunkBegin(i), arena.chunkBegin(i) + arena.chunkSize(i), &arena, i});
        std::sort(spans_.begin(), spans_.end(),
                  [](const Span& a, const Span& b) { return a.begin < b.begin; });
        live_ = std::make_unique<std::atomic<int>[]>(spans_.size());
        for (std::size_t k = 0; k < spans_.size(); ++k) live_[k].store(0);
        for (const PackedRow* row : rows) {
            const long k = find(row);
            if (k >= 0) live_[k].fetch_add(1, std::memory_order_relaxed);
        }
        // Chunks that only held rows deleted since go at once.
        for (std::size_t k = 0; k < spans_.size(); ++k)
            if (live_[k].load() == 0) spans_[k].arena->releaseChunk(spans_[k].index);
    }

    // `row` (from an arena) has been rebuilt elsewhere and is read no more.
    void rowDone(const PackedRow* row) {
        const long k = find(row);
        if (k >= 0 && live_[k].fetch_sub(1, std::memory_order_acq_rel) == 1)
            spans_[k].arena->releaseChunk(spans_[k].index);
    }

private:
    struct Span {
        const char* begin;
        const char* end;
        RowArena* arena;
        std::size_t index;
    };
    long find(const PackedRow* row) const {
        if (!row || row->heap) return -1;
        const char* at = reinterpret_cast<const char*>(row);
        auto it = std::upper_bound(spans_.begin(), spans_.end(), at,
                                   [](const char* p, const Span& s) { return p < s.begin; });
        if (it == spans_.begin()) return -1;
        --it;
        return at < it->end ? static_cast<long>(it - spans_.begin()) : -1;
    }
    std::vector<Span> spans_;
    std::unique_ptr<std::atomic<int>[]> live_;
};
} // namespace

PackedRow* PackedRow::layout(void* memory, std::size_t cellCount, std::size_t textBytes,
                             bool heap) {
    auto* row = static_cast<PackedRow*>(memory);
    row->cells = static_cast<std::uint32_t>(cellCount);
    row->spare = 0;
    row->heap = heap ? 1 : 0;
    row->wide = needsWide(textBytes) ? 1 : 0;
    row->narrow = fitsNarrow(textBytes) ? 1 : 0;
    row->setOffset(cellCount, static_cast<std::uint32_t>(textBytes));
    return row;
}

bool PackedRow::replaceInPlace(std::uint32_t i, std::string_view value) {
    const std::uint32_t begin = offset(i), end = offset(i + 1), size = offset(cells);
    const std::int64_t delta = static_cast<std::int64_t>(value.size()) - (end - begin);
    if (delta > static_cast<std::int64_t>(spare)) return false;
    if ((!wide && size + delta > 0xFFFF) || (narrow && size + delta > 0xFF)) return false;
    char* t = text();
    std::memmove(t + end + delta, t + end, size - end);
    if (!value.empty()) std::memcpy(t + begin, value.data(), value.size());
    for (std::uint32_t j = i + 1; j <= cells; ++j)
        setOffset(j, static_cast<std::uint32_t>(offset(j) + delta));
    spare = static_cast<std::uint32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(spare) - delta, PackedRow::kMaxSpare));
    return true;
}

PackedRow* PackedRow::build(void* memory, std::span<const std::string_view> cells, bool heap) {
    PackedRow* row = layout(memory, cells.size(), textBytes(cells), heap);
    char* out = row->text();
    std::uint32_t pos = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        row->setOffset(i, pos);
        if (!cells[i].empty()) std::memcpy(out + pos, cells[i].data(), cells[i].size());
        pos += static_cast<std::uint32_t>(cells[i].size());
    }
    return row;
}

StringGrid::StringGrid() : rows_(1, nullptr), colWidths_(1, defaultColWidth_) {}

StringGrid::~StringGrid() {
    for (PackedRow* r : rows_) freeRow(r);
    for (GridViewState* view : views_) view->grid_ = nullptr;
}

void StringGrid::freeRow(PackedRow* row) {
    if (row && row->heap) std::free(row);
}

void StringGrid::replaceRow(int r, PackedRow* row) {
    freeRow(rows_[r]);
    rows_[r] = row;
}

void StringGrid::assign(const StringGrid& other) {
    if (&other == this) return;
    for (PackedRow*& r : rows_) {
        freeRow(r);
        r = nullptr;
    }
    arenas_.clear();
    rows_.assign(other.rows_.size(), nullptr);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const PackedRow* src = other.rows_[i];
        if (!src) continue;
        std::size_t size = src->blockSize();
        auto* copy = static_cast<PackedRow*>(std::malloc(size));
        if (!copy) std::abort();
        std::memcpy(copy, src, size);
        copy->heap = 1;
        copy->spare = 0; // the copy is allocated without the original's slack
        rows_[i] = copy;
    }
    colCount_ = other.colCount_;
    fixedCols_ = other.fixedCols_;
    fixedRows_ = other.fixedRows_;
    defaultColWidth_ = other.defaultColWidth_;
    defaultRowHeight_ = other.defaultRowHeight_;
    colWidths_ = other.colWidths_;
    rowHeights_ = other.rowHeights_;
    clampView();
}

void StringGrid::setColCount(int n) {
    n = std::max(n, 1);
    if (n < colCount_) {
        // Cells past the new end are dropped, so a later widening shows them empty.
        for (int r = 0; r < rowCount(); ++r) {
            const PackedRow* p = rows_[r];
            if (!p || p->cells <= static_cast<std::uint32_t>(n)) continue;
            std::vector<std::string_view> cells(n);
            for (int i = 0; i < n; ++i) cells[i] = p->cell(i);
            rebuildRow(r, cells);
        }
    }
    colCount_ = n;
    colWidths_.resize(n, defaultColWidth_);
    if (fixedCols_ >= n) fixedCols_ = n - 1;
    clampView();
}

void StringGrid::setRowCount(int n) {
    n = std::max(n, 1);
    int old = rowCount();
    for (int r = n; r < old; ++r) freeRow(rows_[r]);
    rows_.resize(n, nullptr);
    if (rows_.capacity() > 2 * rows_.size() + 1024) rows_.shrink_to_fit();
    if (!rowHeights_.empty()) rowHeights_.resize(n, -1);
    if (fixedRows_ >= n) fixedRows_ = n - 1;
    clampView();
}

void StringGrid::setFixedCols(int n) {
    fixedCols_ = std::clamp(n, 0, colCount_ - 1);
    clampView();
}

void StringGrid::setFixedRows(int n) {
    fixedRows_ = std::clamp(n, 0, rowCount() - 1);
    clampView();
}

void StringGrid::clampView() {
    for (GridViewState* view : views_) view->clamp();
}

void StringGrid::attachView(GridViewState* view) {
    if (view->grid_) view->grid_->detachView(view);
    view->grid_ = this;
    views_.push_back(view);
    view->clamp();
}

void StringGrid::detachView(GridViewState* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
    view->grid_ = nullptr;
}

std::string_view StringGrid::cell(int c, int r) const {
    if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount()) return {};
    const PackedRow* p = rows_[r];
    return p ? p->cell(static_cast<std::uint32_t>(c)) : std::string_view();
}

void StringGrid::rebuildRow(int r, std::vector<std::string_view>& cells) {
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    PackedRow* fresh = cells.empty() ? nullptr : heapRow(cells);
    replaceRow(r, fresh);
}

void StringGrid::setCell(int c, int r, std::string_view text) {
    if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount()) return;
    const PackedRow* p = rows_[r];
    std::uint32_t have = p ? p->cells : 0;
    if (static_cast<std::uint32_t>(c) >= have && text.empty()) return;
    if (static_cast<std::uint32_t>(c) < have) {
        const char* block = reinterpret_cast<const char*>(p);
        const bool inside =
            text.data() >= block && text.data() < p->text() + p->textSize() + p->spare;
        if (!inside && rows_[r]->replaceInPlace(static_cast<std::uint32_t>(c), text)) return;
    }
    std::vector<std::string_view> cells(std::max<std::uint32_t>(have, c + 1));
    for (std::uint32_t i = 0; i < have; ++i) cells[i] = p->cell(i);
    // The new text may point into the old row: the old block is freed only after the copy.
    cells[c] = text;
    rebuildRow(r, cells);
}

void StringGrid::setRowCells(int r, std::span<const std::string_view> given) {
    if (r < 0 || r >= rowCount()) return;
    const PackedRow* p = rows_[r];
    std::uint32_t have = p ? p->cells : 0;
    std::size_t n = std::min<std::size_t>(given.size(), colCount_);
    std::vector<std::string_view> cells(std::max<std::size_t>(have, n));
    for (std::uint32_t i = 0; i < have; ++i) cells[i] = p->cell(i);
    for (std::size_t i = 0; i < n; ++i) cells[i] = given[i];
    rebuildRow(r, cells);
}

std::vector<std::string_view> StringGrid::rowCells(int r) const {
    std::vector<std::string_view> cells(colCount_);
    for (int c = 0; c < colCount_; ++c) cells[c] = cell(c, r);
    return cells;
}

void StringGrid::clearCells() {
    for (PackedRow*& r : rows_) {
        freeRow(r);
        r = nullptr;
    }
    arenas_.clear();
}

void StringGrid::insertRows(int at, int n) {
    if (n <= 0) return;
    at = std::clamp(at, 0, rowCount());
    // Room for the heights first: out of memory, nothing has changed.
    if (!rowHeights_.empty()) rowHeights_.reserve(rowHeights_.size() + static_cast<std::size_t>(n));
    rows_.insert(rows_.begin() + at, n, nullptr);
    if (!rowHeights_.empty()) rowHeights_.insert(rowHeights_.begin() + at, n, -1);
}

void StringGrid::deleteRows(int at, int n) {
    at = std::clamp(at, 0, rowCount());
    n = std::clamp(n, 0, rowCount() - at);
    if (n >= rowCount()) n = rowCount() - 1; // a grid keeps at least one row
    if (n <= 0) return;
    for (int r = at; r < at + n; ++r) freeRow(rows_[r]);
    rows_.erase(rows_.begin() + at, rows_.begin() + at + n);
    if (!rowHeights_.empty())
        rowHeights_.erase(rowHeights_.begin() + at, rowHeights_.begin() + at + n);
    if (fixedRows_ >= rowCount()) fixedRows_ = rowCount() - 1;
    clampView();
}

void StringGrid::moveRow(int from, int to) {
    int n = rowCount();
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return;
    moveItem(rows_, from, to);
    if (!rowHeights_.empty()) moveItem(rowHeights_, from, to);
}

void StringGrid::insertCols(int at, int n, int copyFrom, const ColumnSource* saved) {
    if (n <= 0) return;
    at = std::clamp(at, 0, colCount_);
    colWidths_.reserve(colWidths_.size() + static_cast<std::size_t>(n));
    colCount_ += n;
    // Out of memory half-way, each row is old or new; for columns appended at the end the two
    // hold the same cells, so the grid is as it was once the count is.
    struct CountBack {
        int& count;
        int n;
        bool armed = true;
        ~CountBack() {
            if (armed) count -= n;
        }
    } countBack{colCount_, n};
    rebuildRows([&](int r, std::vector<std::string_view>& cells, std::string&) {
        const bool filled = copyFrom >= 0 || saved;
        if (static_cast<int>(cells.size()) < at) {
            if (!filled) return;
            cells.resize(at);
        }
        const std::size_t old = cells.size();
        cells.resize(old + n);
        std::move_backward(cells.begin() + at, cells.begin() + old, cells.end());
        for (int j = 0; j < n; ++j) {
            std::string_view value;
            if (saved) {
                value = (*saved)(r, j);
            } else if (copyFrom >= 0) {
                // Sources at or after the insert point have moved right by n.
                int from = copyFrom + j;
                if (from >= at) from += n;
                if (from < static_cast<int>(cells.size()) && (from < at || from >= at + n))
                    value = cells[from];
            }
            cells[at + j] = value;
        }
    });
    countBack.armed = false;
    colWidths_.insert(colWidths_.begin() + at, n, defaultColWidth_);
}

void StringGrid::deleteCols(int at, int n) {
    at = std::clamp(at, 0, colCount_);
    n = std::clamp(n, 0, colCount_ - at);
    if (n >= colCount_) n = colCount_ - 1;
    if (n <= 0) return;
    rebuildRows([&](int, std::vector<std::string_view>& cells, std::string&) {
        if (static_cast<int>(cells.size()) <= at) return;
        cells.erase(cells.begin() + at, cells.begin() + std::min<int>(at + n, cells.size()));
    });
    colCount_ -= n;
    colWidths_.erase(colWidths_.begin() + at, colWidths_.begin() + at + n);
    if (fixedCols_ >= colCount_) fixedCols_ = colCount_ - 1;
    clampView();
}

void StringGrid::moveCol(int from, int to) {
    if (from < 0 || to < 0 || from >= colCount_ || to >= colCount_ || from == to) return;
    rebuildRows([&](int, std::vector<std::string_view>& cells, std::string&) {
        if (static_cast<int>(cells.size()) <= std::max(from, to))
            cells.resize(std::max(from, to) + 1);
        moveItem(cells, from, to);
    });
    moveItem(colWidths_, from, to);
}

void StringGrid::permuteRows(int first, std::span<const int> order) {
    const int n = static_cast<int>(order.size());
    if (first < 0 || first + n > rowCount()) return;
    std::vector<PackedRow*> rows(n);
    for (int i = 0; i < n; ++i) rows[i] = rows_[first + order[i]];
    std::copy(rows.begin(), rows.end(), rows_.begin() + first);
    if (rowHeights_.empty()) return; // every row has the default height
    std::vector<int> heights(n);
    for (int i = 0; i < n; ++i) heights[i] = rowHeights_[first + order[i]];
    std::copy(heights.begin(), heights.end(), rowHeights_.begin() + first);
}

void StringGrid::permuteCols(std::span<const int> order) {
    if (static_cast<int>(order.size()) != colCount_) return;
    // Each row keeps its bytes, only in another order: it is rewritten within its own block
    // (no second copy of the table), unless it needs more cells than it holds.
    auto work = [&](int begin, int end) {
        std::string scratch;
        std::vector<std::string_view> cells;
        for (int r = begin; r < end; ++r) {
            PackedRow* p = rows_[r];
            if (!p) continue;
            scratch.assign(p->text(), p->textSize());
            cells.assign(colCount_, std::string_view());
            std::size_t used = 0;
            for (int c = 0; c < colCount_; ++c) {
                const auto from = static_cast<std::uint32_t>(order[c]);
                if (from >= p->cells) continue;
                cells[c] = std::string_view(scratch).substr(p->offset(from),
                                                            p->offset(from + 1) - p->offset(from));
                if (!cells[c].empty()) used = c + 1;
            }
            cells.resize(used);
            if (used <= p->cells) {
                PackedRow::build(p, cells, p->heap != 0);
            } else {
                rows_[r] = heapRow(cells);
                freeRow(p);
            }
        }
    };
    const int rows = rowCount();
    if (rows > 50000 && std::thread::hardware_concurrency() > 1) {
        std::thread second(work, rows / 2, rows);
        work(0, rows / 2);
        second.join();
    } else {
        work(0, rows);
    }
    std::vector<int> widths(colCount_);
    for (int c = 0; c < colCount_; ++c) widths[c] = colWidths_[order[c]];
    colWidths_ = std::move(widths);
}

void StringGrid::adoptArena(RowArena&& arena) {
    arenas_.push_back(std::move(arena));
}

void StringGrid::adoptCells(StringGrid& built) {
    if (&built == this) return;
    rows_.swap(built.rows_);
    arenas_.swap(built.arenas_);
    built.clearCells();
    if (!built.rowHeights_.empty()) built.rowHeights_.resize(built.rows_.size(), -1);
    built.fixedRows_ = std::clamp(built.fixedRows_, 0, built.rowCount() - 1);
    built.clampView();
    if (!rowHeights_.empty()) rowHeights_.resize(rows_.size(), -1);
    colCount_ = built.colCount_;
    colWidths_.resize(static_cast<std::size_t>(colCount_), defaultColWidth_);
    fixedRows_ = std::clamp(fixedRows_, 0, rowCount() - 1);
    fixedCols_ = std::clamp(fixedCols_, 0, colCount_ - 1);
    clampView();
}

void StringGrid::setPackedRow(int r, PackedRow* row) {
    if (r >= 0 && r < rowCount()) replaceRow(r, row);
}

void StringGrid::rebuildAllRows(RowEdit edit, void* context) {
    const int rows = rowCount();
    const int parts = rows > 50000 && std::thread::hardware_concurrency() > 1 ? 2 : 1;
    std::vector<RowArena> fresh(parts);
    ChunkRelease old(arenas_, rows_);
    // Each part builds its own rows into its own arena and puts each in place at once, so the
    // old block can go; `edit` sees only its row's cells.
    auto work = [&](int part, int first, int last) {
        std::vector<std::string_view> cells;
        std::string scratch;
        for (int r = first; r < last; ++r) {
            PackedRow* p = rows_[r];
            cells.clear();
            scratch.clear();
            if (p)
                for (std::uint32_t i = 0; i < p->cells; ++i) cells.push_back(p->cell(i));
            edit(context, r, cells, scratch);
            if (cells.size() > static_cast<std::size_t>(colCount_)) cells.resize(colCount_);
            while (!cells.empty() && cells.back().empty()) cells.pop_back();
            PackedRow* made = nullptr;
            if (!cells.empty())
                made = PackedRow::build(
                    fresh[part].allocate(PackedRow::blockSize(cells.size(), textBytes(cells))),
                    cells, false);
            rows_[r] = made;
            if (p && p->heap)
                std::free(p);
            else
                old.rowDone(p);
        }
    };
    // Whatever happens, the rows put in place live in the fresh arenas from now on; the old
    // ones keep the chunks still in use and are never allocated from again.
    auto adoptFresh = [&] {
        for (RowArena& arena : arenas_) arena.close();
        for (RowArena& arena : fresh) arenas_.push_back(std::move(arena));
    };
    try {
        if (parts == 2) {
            // An exception (out of memory) must not leave a thread: it is handed over after the
            // join.
            std::exception_ptr failed;
            std::thread second([&] {
                try {
                    work(1, rows / 2, rows);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
            try {
                work(0, 0, rows / 2);
            } catch (...) {
                second.join();
                throw;
            }
            second.join();
            if (failed) std::rethrow_exception(failed);
        } else {
            work(0, 0, rows);
        }
    } catch (...) {
        adoptFresh();
        throw;
    }
    arenas_ = std::move(fresh);
}

bool StringGrid::rowEmptyFrom(int r, int first) const {
    if (r < 0 || r >= rowCount()) return true;
    const PackedRow* p = rows_[r];
    if (!p || p->cells <= static_cast<std::uint32_t>(first)) return true;
    return p->offset(p->cells) == p->offset(static_cast<std::uint32_t>(first));
}

void StringGrid::setColWidth(int c, int w) {
    if (c >= 0 && c < colCount_) colWidths_[c] = std::max(w, 0);
}

int StringGrid::rowHeight(int r) const {
    if (r < 0 || r >= rowCount()) return defaultRowHeight_;
    if (rowHeights_.empty()) return defaultRowHeight_;
    int h = rowHeights_[r];
    return h < 0 ? defaultRowHeight_ : h;
}

void StringGrid::setRowHeight(int r, int h) {
    if (r < 0 || r >= rowCount()) return;
    h = std::max(h, 0);
    if (rowHeights_.empty()) {
        if (h == defaultRowHeight_) return;
        rowHeights_.assign(rows_.size(), -1);
    }
    rowHeights_[r] = h;
}

void StringGrid::resetRowHeight(int r) {
    if (r >= 0 && r < rowCount() && !rowHeights_.empty()) rowHeights_[r] = -1;
}

void StringGrid::keepRowHeights() {
    if (rowHeights_.empty()) rowHeights_.assign(rows_.size(), -1);
}

void StringGrid::compactRowHeights() {
    if (std::all_of(rowHeights_.begin(), rowHeights_.end(),
                    [this](int h) { return h < 0 || h == defaultRowHeight_; }))
        std::vector<int>().swap(rowHeights_);
}

void StringGrid::setDefaultColWidth(int w) {
    defaultColWidth_ = std::max(w, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
}

void StringGrid::setDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(h, 0);
    std::vector<int>().swap(rowHeights_);
}

} // namespace kol
