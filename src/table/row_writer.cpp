#include "table/row_writer.h"

#include "table/atomic_file.h"
#include "table/field_line.h"

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
} // namespace

void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator) {
    const int first = grid.fixedCols();
    const std::size_t count = static_cast<std::size_t>(std::max(grid.colCount() - first, 0));
    const PackedRow* row = grid.packedRow(r);
    const std::uint32_t stored = row ? row->cells : 0;
    if (!row || stored <= static_cast<std::uint32_t>(first)) {
        appendFieldLine(
            out, nullptr, 0, count, [](std::size_t) { return std::size_t{0}; }, separator);
        return;
    }
    row->withOffsets([&](const auto* offsets) {
        appendFieldLine(
            out, row->text(), stored - static_cast<std::uint32_t>(first), count,
            [at = offsets + first](std::size_t i) { return static_cast<std::size_t>(at[i]); },
            separator);
    });
}

IoStatus writeBlocksInOrder(int blocks, const BlockFormat& format, const RowSink& sink) {
    // Each thread formats every other block and hands it on when the block before it has gone,
    // so one thread writes while the other formats.
    std::mutex mutex;
    std::condition_variable turnTaken;
    int turn = 0;
    IoStatus status;
    auto work = [&](int self) {
        std::string out;
        for (int b = self; b < blocks; b += 2) {
            IoStatus wrote;
            try {
                out.clear();
                format(b, out);
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

IoStatus writeRows(const StringGrid& grid, int first, int last, unsigned char separator,
                   const RowSink& sink) {
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    if (last < first) return IoStatus::success();
    return writeBlocksInOrder((last - first) / kRowsPerBlock + 1,
                              [&](int b, std::string& out) {
                                  const int from = first + b * kRowsPerBlock;
                                  const int to = std::min(last, from + kRowsPerBlock - 1);
                                  for (int r = from; r <= to; ++r)
                                      appendRowLine(out, grid, r, separator);
                              },
                              sink);
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
