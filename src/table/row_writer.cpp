#include "table/row_writer.h"

#include "table/atomic_file.h"
#include "table/csv_form.h"

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

namespace kol {

namespace {
constexpr int kRowsPerBlock = 32768;

void formatRows(std::string& out, const StringGrid& grid, int first, int last,
                unsigned char separator) {
    out.clear();
    for (int r = first; r <= last; ++r) appendRowLine(out, grid, r, separator);
}
} // namespace

void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator) {
    const int first = grid.fixedCols();
    const int count = grid.colCount() - first;
    const PackedRow* row = grid.packedRow(r);
    const std::uint32_t stored = row ? row->cells : 0;
    // Most rows need no quoting at all: one scan of the row's text, then the cells go out as
    // they are.
    if (count > 0 && static_cast<std::uint32_t>(first) < stored) {
        const std::uint32_t begin = row->offset(static_cast<std::uint32_t>(first));
        const std::string_view text(row->text() + begin, row->textSize() - begin);
        if (JoinsUnquoted(text, separator)) {
            const auto sep = static_cast<char>(separator);
            for (int i = 0; i < count; ++i) {
                if (i) out.push_back(sep);
                const auto c = static_cast<std::uint32_t>(first + i);
                if (c < stored) out.append(row->cell(c));
            }
            out.append("\r\n");
            return;
        }
    }
    std::string_view stack[64];
    std::vector<std::string_view> heap;
    std::string_view* cells = stack;
    if (count > 64) {
        heap.resize(count);
        cells = heap.data();
    }
    // Straight from the row's packed block: cells past its end are empty.
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<std::uint32_t>(first + i);
        cells[i] = c < stored ? row->cell(c) : std::string_view();
    }
    appendJoinedFields(out, cells, static_cast<std::size_t>(std::max(count, 0)), separator);
    out.append("\r\n");
}

IoStatus writeRowsToFile(const StringGrid& grid, int first, int last, unsigned char separator,
                         const std::string& path) {
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    AtomicFileWriter writer(path);
    if (IoStatus opened = writer.open(); !opened) return opened;
    // Two blocks are formatted side by side, then written in order.
    std::string blocks[2];
    IoStatus status;
    for (int r = first; status && r <= last; r += 2 * kRowsPerBlock) {
        int mid = std::min(last, r + kRowsPerBlock - 1);
        int end = std::min(last, mid + kRowsPerBlock);
        std::thread second;
        if (mid < end)
            second = std::thread([&] { formatRows(blocks[1], grid, mid + 1, end, separator); });
        formatRows(blocks[0], grid, r, mid, separator);
        if (second.joinable()) second.join();
        status = writer.write(blocks[0]);
        if (status && mid < end) status = writer.write(blocks[1]);
    }
    return status ? writer.commit() : status;
}

} // namespace kol
