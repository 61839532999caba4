// The string grid: a table of byte-string cells with fixed (frozen) leading rows and columns,
// sizes, selection and scroll position. Cells of one row are packed in one block, so a row
// costs one allocation (none when it came from a load arena) and row edits move handles only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

class GridViewState;

struct GridRect {
    int left = -1, top = -1, right = -1, bottom = -1;

    bool valid() const { return left >= 0 && top >= 0 && right >= left && bottom >= top; }
    bool contains(int c, int r) const {
        return valid() && c >= left && c <= right && r >= top && r <= bottom;
    }
    bool operator==(const GridRect&) const = default;
};

struct GridOptions {
    bool rowMoving = false; // rows may be dragged by their fixed cell
    bool colMoving = false; // columns may be dragged by their fixed cell
    bool rowSizing = false; // rows may be resized with the mouse
};

// Memory for rows built in bulk (a load): large chunks, released with the grid, or one by one
// while every row is rebuilt elsewhere.
class RowArena {
public:
    RowArena() = default;
    RowArena(RowArena&&) noexcept = default;
    RowArena& operator=(RowArena&&) noexcept = default;
    void* allocate(std::size_t bytes);
    std::size_t bytesReserved() const { return reserved_; }

    std::size_t chunkCount() const { return chunks_.size(); }
    const char* chunkBegin(std::size_t i) const { return chunks_[i].get(); }
    std::size_t chunkSize(std::size_t i) const { return chunks_[i].get_deleter().size; }
    // Frees chunk i once no row lives in it; nothing is allocated from this arena afterwards.
    // Different chunks may be released on different threads.
    void releaseChunk(std::size_t i) { chunks_[i].reset(); }
    void close(); // no more allocations from the present chunk

private:
    struct Unmap {
        std::size_t size;
        void operator()(char* chunk) const;
    };
    using Chunk = std::unique_ptr<char, Unmap>;
    static Chunk mapChunk(std::size_t& size, bool largePages);

    std::vector<Chunk> chunks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t reserved_ = 0;
};

// One packed row: an 8-byte header, count + 1 offsets into the text, then the text bytes.
// Offsets take one byte while the row's text is under 256 bytes, 16 bits up to 64 KiB and 32
// bits beyond. A loaded empty line costs the header, three offsets and its row label: 20 bytes
// up to row 9,999,999.
struct PackedRow {
    static constexpr std::uint32_t kMaxSpare = (1u << 29) - 1;

    std::uint32_t cells;
    std::uint32_t spare : 29; // unused text bytes at the end of the block (at most kMaxSpare)
    std::uint32_t heap : 1;   // 1 when this block is owned by the grid (freed on replace)
    std::uint32_t wide : 1;   // 1 when the offsets are 32-bit
    std::uint32_t narrow : 1; // 1 when the offsets are 8-bit (never with wide)

    static bool needsWide(std::size_t textBytes) { return textBytes > 0xFFFF; }
    static bool fitsNarrow(std::size_t textBytes) { return textBytes <= 0xFF; }
    static std::size_t offsetBytes(std::size_t textBytes) {
        return needsWide(textBytes) ? 4 : fitsNarrow(textBytes) ? 1 : 2;
    }
    static std::size_t blockSize(std::size_t cellCount, std::size_t textBytes) {
        return sizeof(PackedRow) + (cellCount + 1) * offsetBytes(textBytes) + textBytes;
    }
    // The offset width this block was laid out with: a row whose text shrank in place keeps it.
    std::size_t offsetBytes() const { return wide ? 4 : narrow ? 1 : 2; }
    std::size_t blockSize() const {
        return sizeof(PackedRow) + (cells + 1) * offsetBytes() + textSize();
    }

    std::uint32_t offset(std::size_t i) const {
        return wide     ? reinterpret_cast<const std::uint32_t*>(this + 1)[i]
               : narrow ? reinterpret_cast<const std::uint8_t*>(this + 1)[i]
                        : reinterpret_cast<const std::uint16_t*>(this + 1)[i];
    }
    void setOffset(std::size_t i, std::uint32_t value) {
        if (wide)
            reinterpret_cast<std::uint32_t*>(this + 1)[i] = value;
        else if (narrow)
            reinterpret_cast<std::uint8_t*>(this + 1)[i] = static_cast<std::uint8_t>(value);
        else
            reinterpret_cast<std::uint16_t*>(this + 1)[i] = static_cast<std::uint16_t>(value);
    }
    // Calls f with the offset array at this row's width, so that a loop over the cells tests
    // the width once per row instead of once per cell.
    template <typename F> decltype(auto) withOffsets(F&& f) {
        if (narrow) return f(reinterpret_cast<std::uint8_t*>(this + 1));
        if (wide) return f(reinterpret_cast<std::uint32_t*>(this + 1));
        return f(reinterpret_cast<std::uint16_t*>(this + 1));
    }
    template <typename F> decltype(auto) withOffsets(F&& f) const {
        if (narrow) return f(reinterpret_cast<const std::uint8_t*>(this + 1));
        if (wide) return f(reinterpret_cast<const std::uint32_t*>(this + 1));
        return f(reinterpret_cast<const std::uint16_t*>(this + 1));
    }
    std::size_t textSize() const { return offset(cells); }
    const char* text() const {
        return reinterpret_cast<const char*>(this + 1) + (cells + 1) * offsetBytes();
    }
    char* text() { return const_cast<char*>(static_cast<const PackedRow*>(this)->text()); }
    std::string_view cell(std::uint32_t i) const {
        if (i >= cells) return {};
        std::uint32_t begin = offset(i);
        return std::string_view(text() + begin, offset(i + 1) - begin);
    }

    // Replaces cell i (< cells) within the block when the new text fits; false otherwise.
    // `text` must not point into this row.
    bool replaceInPlace(std::uint32_t i, std::string_view text);

    // Lays out an empty row of `cellCount` cells and `textBytes` bytes in `memory`
    // (blockSize bytes); the caller fills the text and the offsets.
    static PackedRow* layout(void* memory, std::size_t cellCount, std::size_t textBytes, bool heap);
    // Builds a row in `memory` (blockSize bytes) from the given cells.
    static PackedRow* build(void* memory, std::span<const std::string_view> cells, bool heap);
};

static_assert(sizeof(PackedRow) == 8);

class StringGrid {
public:
    StringGrid();
    ~StringGrid();
    StringGrid(const StringGrid&) = delete;
    StringGrid& operator=(const StringGrid&) = delete;
    void assign(const StringGrid& other); // deep copy of cells, shape and sizes

    int colCount() const { return colCount_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }
    void setColCount(int n);
    void setRowCount(int n);
    // Fixed counts are kept below the matching count, as a grid needs one scrolling line.
    void setFixedCols(int n);
    void setFixedRows(int n);

    std::string_view cell(int c, int r) const;
    void setCell(int c, int r, std::string_view text);
    // Replaces cells 0 .. cells.size() - 1 of row r; cells after them keep their text.
    void setRowCells(int r, std::span<const std::string_view> cells);
    std::vector<std::string_view> rowCells(int r) const; // colCount cells
    // The packed block of row r for readers that scan whole rows; nullptr for an empty row.
    const PackedRow* packedRow(int r) const {
        return r >= 0 && r < rowCount() ? rows_[static_cast<std::size_t>(r)] : nullptr;
    }
    void clearCells(); // every cell empty, shape kept

    void insertRows(int at, int n);
    void deleteRows(int at, int n);
    void moveRow(int from, int to);
    // Inserts n columns before `at`: blank, copies of the n columns from `copyFrom` (indexes
    // before the insert), or the texts `saved` gives for (row, j). Every row is rebuilt in one
    // pass; `saved` is called from two threads at once.
    using ColumnSource = std::function<std::string_view(int row, int j)>;
    void insertCols(int at, int n, int copyFrom = -1, const ColumnSource* saved = nullptr);
    void deleteCols(int at, int n);
    void moveCol(int from, int to);
    // Reorders rows first … first + order.size() - 1: that range's row i takes the row that was
    // at first + order[i], with its height; `order` is a permutation of 0 … size - 1. Only row
    // handles move.
    void permuteRows(int first, std::span<const int> order);
    // Column c takes the column that was at order[c] (a permutation of every column), with its
    // width; every row is rebuilt once.
    void permuteCols(std::span<const int> order);

    // Bulk load: the grid takes over an arena, then rows built in it are installed one by one.
    void adoptArena(RowArena&& arena);
    void setPackedRow(int r, PackedRow* row); // row from an adopted arena (heap == 0)
    // Takes the cells of `built`, a grid filled elsewhere (on another thread): its rows, their
    // storage and its column count. Sizes and views stay with this grid; new columns get the
    // default width. `built` keeps its shape, with this grid's old rows emptied.
    void adoptCells(StringGrid& built);
    // Rebuilds every row through `edit` (which may change the cells) into fresh arenas,
    // releasing the old storage as it goes (a chunk once its last row is rebuilt), so a
    // whole-column rewrite holds little more than one copy of the table. If memory runs out,
    // each row is either rebuilt or as it was.
    using RowEdit = void (*)(void* context, int row, std::vector<std::string_view>& cells,
                             std::string& scratch);
    void rebuildAllRows(RowEdit edit, void* context);
    template <typename F> void rebuildRows(F&& edit) {
        rebuildAllRows([](void* ctx, int r, std::vector<std::string_view>& cells,
                          std::string& scratch) { (*static_cast<F*>(ctx))(r, cells, scratch); },
                       &edit);
    }
    // Rewrites the cells of `rect` with valueFor(c, r, old text) → std::string, one rebuild
    // per row (cell by cell, a growing row would be copied once for every cell).
    template <typename F> void rewriteRect(GridRect rect, F&& valueFor) {
        std::vector<std::string_view> cells;
        std::vector<std::string> values;
        const int right = std::min(rect.right, colCount_ - 1);
        for (int r = std::max(rect.top, 0); r <= rect.bottom && r < rowCount(); ++r) {
            cells = rowCells(r);
            values.clear();
            for (int c = rect.left; c <= right; ++c) values.push_back(valueFor(c, r, cells[c]));
            for (int c = rect.left; c <= right; ++c) cells[c] = values[c - rect.left];
            setRowCells(r, cells);
        }
    }
    // True when every cell from column `first` on is empty.
    bool rowEmptyFrom(int r, int first) const;

    int colWidth(int c) const { return colWidths_[c]; }
    void setColWidth(int c, int w);
    int rowHeight(int r) const;
    // The first height other than the default fills the height list, so setRowHeight is for
    // one thread at a time; resetRowHeight of different rows may run on several threads.
    void setRowHeight(int r, int h);
    void resetRowHeight(int r); // back to the default height
    // Fills the height list ahead, so that setRowHeight of different rows may run on several
    // threads; compactRowHeights empties it again when every row has the default height.
    void keepRowHeights();
    void compactRowHeights();
    int defaultColWidth() const { return defaultColWidth_; }
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultColWidth(int w);  // resets every column width
    void setDefaultRowHeight(int h); // resets every row height

    // The views of this grid; each is kept inside the table when its shape changes.
    void attachView(GridViewState* view);
    void detachView(GridViewState* view);

private:
    void replaceRow(int r, PackedRow* row);
    void freeRow(PackedRow* row);
    void rebuildRow(int r, std::vector<std::string_view>& cells);
    void clampView();
    std::vector<GridViewState*> views_;

    int colCount_ = 1;
    int fixedCols_ = 0, fixedRows_ = 0;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::vector<PackedRow*> rows_;
    std::vector<int> colWidths_;
    // -1: default height. Empty while every row has the default height, so a large table of
    // unfolded rows pays nothing for it; filled on the first height set.
    std::vector<int> rowHeights_;
    std::vector<RowArena> arenas_;
};

} // namespace kol
