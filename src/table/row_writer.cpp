#include "table/row_writer.h"

#include "table/atomic_file.h"
#include "table/csv_form.h"
#include "text/byte_blocks.h"

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

namespace {

constexpr std::size_t kMarkedBlocks = 16; // rows up to 1 KiB have their marks found at once

// True when a bit of [begin, end) is set in the masks.
bool anyMarkIn(const std::uint64_t* masks, std::size_t begin, std::size_t end) {
    while (begin < end) {
        const std::size_t bit = begin % kBlockBytes;
        const std::size_t take = std::min(end - begin, kBlockBytes - bit);
        std::uint64_t m = masks[begin / kBlockBytes] >> bit;
        if (take < kBlockBytes) m &= (std::uint64_t{1} << take) - 1;
        if (m) return true;
        begin += take;
    }
    return false;
}

} // namespace

void appendRowLine(std::string& out, const StringGrid& grid, int r, unsigned char separator) {
    const int first = grid.fixedCols();
    const int count = grid.colCount() - first;
    const PackedRow* row = grid.packedRow(r);
    const std::uint32_t stored = row ? row->cells : 0;
    // With a separator below 0x40 a field is written as it is unless it holds a quote, a comma
    // or the separator, and whatever its neighbours hold: one scan of the row's text finds
    // those bytes, and only the fields holding one go through the field rules.
    if (separator < 0x40 && count > 0 && static_cast<std::uint32_t>(first) < stored &&
        row->textSize() - row->offset(static_cast<std::uint32_t>(first)) <=
            kMarkedBlocks * kBlockBytes) {
        const std::uint32_t begin = row->offset(static_cast<std::uint32_t>(first));
        const auto* text = reinterpret_cast<const unsigned char*>(row->text() + begin);
        const std::size_t size = row->textSize() - begin;
        const ByteMatcher<3> marks('"', ',', separator);
        std::uint64_t masks[kMarkedBlocks];
        std::uint64_t any = 0;
        for (std::size_t b = 0; b * kBlockBytes < size; ++b)
            any |= masks[b] = marks.at(text, b * kBlockBytes, size);
        if (any) {
            for (int i = 0; i < count; ++i) {
                if (i) out.push_back(static_cast<char>(separator));
                const auto c = static_cast<std::uint32_t>(first + i);
                if (c >= stored) continue;
                const std::string_view cell = row->cell(c);
                if (anyMarkIn(masks, row->offset(c) - begin, row->offset(c + 1) - begin))
                    appendJoinedFields(out, &cell, 1, separator);
                else
                    out.append(cell);
            }
            out.append("\r\n");
            return;
        }
        // The row's text with a separator between its cells: one resize, then copies.
        const std::size_t at = out.size();
        out.resize(at + size + static_cast<std::size_t>(count - 1) + 2);
        char* to = out.data() + at;
        const char* base = row->text();
        for (int i = 0; i < count; ++i) {
            if (i) *to++ = static_cast<char>(separator);
            const auto c = static_cast<std::uint32_t>(first + i);
            if (c >= stored) continue;
            const std::uint32_t from = row->offset(c), end = row->offset(c + 1);
            std::memcpy(to, base + from, end - from);
            to += end - from;
        }
        *to++ = '\r';
        *to = '\n';
        return;
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
