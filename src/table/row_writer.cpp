#include "table/row_writer.h"

#include "table/atomic_file.h"
#include "table/csv_form.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace kol {

namespace {
constexpr int kRowsPerBlock = 4096; // about 0.5 MB of text: two in flight stay small

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
            // The row's text with a separator between its cells: one resize, then copies.
            const std::size_t at = out.size();
            out.resize(at + text.size() + static_cast<std::size_t>(count - 1) + 2);
            char* to = out.data() + at;
            const char* base = row->text();
            for (int i = 0; i < count; ++i) {
                if (i) *to++ = static_cast<char>(separator);
                const auto c = static_cast<std::uint32_t>(first + i);
                if (c >= stored) continue;
                const std::uint32_t from = row->offset(c);
                const std::uint32_t end = row->offset(c + 1);
                std::memcpy(to, base + from, end - from);
                to += end - from;
            }
            *to++ = '\r';
            *to = '\n';
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

IoStatus writeRows(const StringGrid& grid, int first, int last, unsigned char separator,
                   const RowSink& sink) {
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    if (last < first) return IoStatus::success();
    const int blocks = (last - first) / kRowsPerBlock + 1;
    // Each thread formats every other block and hands it on when the block before it has gone,
    // so one thread writes while the other formats.
    std::mutex mutex;
    std::condition_variable turnTaken;
    int turn = 0;
    IoStatus status;
    auto work = [&](int self) {
        std::string out;
        for (int b = self; b < blocks; b += 2) {
            const int from = first + b * kRowsPerBlock;
            IoStatus wrote;
            try {
                formatRows(out, grid, from, std::min(last, from + kRowsPerBlock - 1), separator);
            } catch (const std::bad_alloc&) {
                wrote = IoStatus::failure(ENOMEM);
            }
            std::unique_lock lock(mutex);
            turnTaken.wait(lock, [&] { return turn == b || !status; });
            if (!status) return;
            if (wrote) {
                lock.unlock();
                wrote = sink(out);
                lock.lock();
            }
            if (!wrote) status = wrote;
            turn = b + 1;
            turnTaken.notify_all();
            if (!status) return;
        }
    };
    std::thread second;
    if (blocks > 1) second = std::thread(work, 1);
    work(0);
    if (second.joinable()) second.join();
    return status;
}

IoStatus writeRowsToFile(const StringGrid& grid, int first, int last, unsigned char separator,
                         const std::string& path) {
    AtomicFileWriter writer(path);
    if (IoStatus opened = writer.open(); !opened) return opened;
    const IoStatus status = writeRows(grid, first, last, separator,
                                      [&](std::string_view bytes) { return writer.write(bytes); });
    return status ? writer.commit() : status;
}

} // namespace kol
