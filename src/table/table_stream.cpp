#include "table/table_stream.h"

#include "table/field_line.h"
#include "table/line_splitter.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <new>
#include <thread>

namespace kol {

namespace {

constexpr std::size_t kWriteBlockBytes = 512u << 10; // lines of about this much per written block
constexpr std::size_t kDropEvery = 4u << 20;         // hand mapped pages back this often

// The most fields of a line in [begin, end), both line starts.
std::size_t widestLine(const SourceText& source, std::size_t begin, std::size_t end,
                       unsigned char separator) {
    LineSplitter lines(source.text().substr(0, end), begin, separator);
    FieldBuffer fields;
    std::size_t widest = 0, dropped = begin;
    while (!lines.atEnd()) {
        fields.clear();
        lines.next(fields);
        widest = std::max(widest, fields.size());
        if (lines.position() - dropped >= kDropEvery) {
            source.dropPages(dropped, lines.position());
            dropped = lines.position();
        }
    }
    source.dropPages(dropped, end);
    return widest;
}

} // namespace

IoStatus streamTableLines(const SourceText& source, unsigned char separator,
                          unsigned char outSeparator, const RowSink& sink) {
    const std::string_view text = source.text();
    // An empty source loads as a table of one empty cell.
    if (text.empty()) return sink("\r\n");

    std::size_t widest = 0;
    try {
        const std::size_t mid = lineStartAfter(text, text.size() / 2);
        std::size_t secondWidest = 0;
        std::exception_ptr failed;
        std::thread second;
        if (mid < text.size())
            second = std::thread([&] {
                try {
                    secondWidest = widestLine(source, mid, text.size(), separator);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
        try {
            widest = widestLine(source, 0, mid, separator);
        } catch (...) {
            if (second.joinable()) second.join();
            throw;
        }
        if (second.joinable()) second.join();
        if (failed) std::rethrow_exception(failed);
        widest = std::max(widest, secondWidest);
    } catch (const std::bad_alloc&) {
        return IoStatus::failure(ENOMEM);
    }
    // A table has at least one data column.
    const std::size_t columns = std::max<std::size_t>(widest, 1);

    // Block b holds the lines that start in its stretch of kWriteBlockBytes; its bounds are
    // found where it lies, so no pass runs ahead over pages a block has not reached.
    const int blocks = static_cast<int>((text.size() + kWriteBlockBytes - 1) / kWriteBlockBytes);
    auto lineStartFrom = [&](std::size_t at) {
        return at == 0 ? 0 : at >= text.size() ? text.size() : lineStartAfter(text, at - 1);
    };
    return writeBlocksInOrder(
        blocks,
        [&](int b, std::string& out) {
            const std::size_t begin = lineStartFrom(b * kWriteBlockBytes);
            const std::size_t end = std::max(begin, lineStartFrom((b + 1) * kWriteBlockBytes));
            LineSplitter lines(text.substr(0, end), begin, separator);
            FieldBuffer fields;
            while (!lines.atEnd()) {
                fields.clear();
                lines.next(fields);
                appendFieldLine(
                    out, fields.bytes.data(), fields.size(), columns,
                    [&fields](std::size_t i) {
                        return static_cast<std::size_t>(i ? fields.ends[i - 1] : 0);
                    },
                    outSeparator);
            }
            source.dropPages(begin, end);
        },
        sink);
}

} // namespace kol
