#include "table/table_fill.h"

#include "table/csv_form.h"
#include "table/line_splitter.h"
#include "text/text_utils.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <thread>

namespace kol {

namespace {

constexpr std::size_t kParallelBytes = 4u << 20; // below this one thread is quicker
constexpr std::size_t kDropEvery = 4u << 20;     // hand mapped pages back this often
constexpr std::size_t kProgressLines = 1000;

struct Part {
    std::size_t begin = 0, end = 0; // byte range, starting at a line start
    std::size_t firstLine = 0, lines = 0;
    RowArena arena;
    std::vector<PackedRow*> rows;
    FillResult result;
};

void parsePart(Part& part, const SourceText& source, unsigned char separator,
               const RowLabelRule& labels, std::atomic<std::size_t>& done,
               const std::function<void()>& tick) {
    std::string_view text = source.text().substr(0, part.end);
    LineSplitter lines(text, part.begin, separator);
    FieldBuffer fields;
    std::size_t lastDrop = part.begin;
    part.rows.reserve(part.lines);
    GroupedLabelCounter labelCounter(static_cast<long long>(part.firstLine + 1), labels);
    for (std::size_t k = 0; k < part.lines && !lines.atEnd(); ++k, labelCounter.advance()) {
        fields.clear();
        lines.next(fields);
        const std::string_view label = labelCounter.label();

        const std::size_t nf = fields.size();
        const std::size_t cells = nf + 2;
        const std::size_t bytes = label.size() + fields.bytes.size();
        PackedRow* row = PackedRow::layout(part.arena.allocate(PackedRow::blockSize(cells, bytes)),
                                           cells, bytes, false);
        char* out = row->text();
        // An empty label may have no storage at all: memcpy must not see its null pointer.
        if (!label.empty()) std::memcpy(out, label.data(), label.size());
        if (!fields.bytes.empty())
            std::memcpy(out + label.size(), fields.bytes.data(), fields.bytes.size());
        const auto base = static_cast<std::uint32_t>(label.size());
        if (part.result.longestField.size() < nf) part.result.longestField.resize(nf, 0);
        row->withOffsets([&]<typename Offset>(Offset* offsets) {
            offsets[0] = 0;
            offsets[1] = offsets[2] = static_cast<Offset>(base); // the key column starts empty
            std::uint32_t prev = 0;
            for (std::size_t f = 0; f < nf; ++f) {
                offsets[f + 3] = static_cast<Offset>(base + fields.ends[f]);
                part.result.longestField[f] =
                    std::max(part.result.longestField[f], fields.ends[f] - prev);
                prev = fields.ends[f];
            }
        });
        part.result.maxFields = std::max(part.result.maxFields, nf);
        part.rows.push_back(row);

        if ((k + 1) % kProgressLines == 0) {
            done.fetch_add(kProgressLines, std::memory_order_relaxed);
            if (tick) tick();
        }
        if (lines.position() - lastDrop >= kDropEvery) {
            source.dropPages(lastDrop, lines.position());
            lastDrop = lines.position();
        }
    }
    source.dropPages(lastDrop, part.end);
}

} // namespace

FillResult FillRows(StringGrid& grid, const SourceText& source, std::size_t lineCount,
                    unsigned char separator, const RowLabelRule& labels,
                    const FillProgress& progress) {
    std::string_view text = source.text();
    std::vector<Part> parts(1);
    parts[0].end = text.size();
    parts[0].lines = lineCount;
    unsigned cores = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    if (cores > 1 && text.size() >= kParallelBytes) {
        std::size_t mid = lineStartAfter(text, text.size() / 2);
        std::size_t firstHalf = countLines(text.substr(0, mid));
        if (mid < text.size() && firstHalf < lineCount) {
            parts.resize(2);
            parts[0].end = mid;
            parts[0].lines = firstHalf;
            parts[1].begin = mid;
            parts[1].end = text.size();
            parts[1].firstLine = firstHalf;
            parts[1].lines = lineCount - firstHalf;
        }
    }

    // Progress captions are the caller's business and are shown from this thread only.
    std::atomic<std::size_t> done{0};
    std::size_t reported = 0;
    auto tick = [&] {
        std::size_t now = done.load(std::memory_order_relaxed) / kProgressLines * kProgressLines;
        for (; progress && reported <= now && reported < lineCount; reported += kProgressLines)
            progress(reported);
    };
    if (progress && lineCount > 0) {
        progress(0);
        reported = kProgressLines;
    }

    // An exception (out of memory) must not leave a thread: it is handed over after the join,
    // and the rows built so far go with their arenas.
    std::thread helper;
    std::exception_ptr helperFailed;
    if (parts.size() > 1)
        helper = std::thread([&] {
            try {
                parsePart(parts[1], source, separator, labels, done, nullptr);
            } catch (...) {
                helperFailed = std::current_exception();
            }
        });
    try {
        parsePart(parts[0], source, separator, labels, done, tick);
    } catch (...) {
        if (helper.joinable()) helper.join();
        throw;
    }
    if (helper.joinable()) helper.join();
    if (helperFailed) std::rethrow_exception(helperFailed);
    tick();

    FillResult result;
    int row = 1;
    for (Part& part : parts) {
        for (PackedRow* p : part.rows) grid.setPackedRow(row++, p);
        grid.adoptArena(std::move(part.arena));
        result.maxFields = std::max(result.maxFields, part.result.maxFields);
        auto& longest = part.result.longestField;
        if (result.longestField.size() < longest.size())
            result.longestField.resize(longest.size(), 0);
        for (std::size_t f = 0; f < longest.size(); ++f)
            result.longestField[f] = std::max(result.longestField[f], longest[f]);
    }
    return result;
}

} // namespace kol
