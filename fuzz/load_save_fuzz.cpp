// A whole source through the loader and the row writer: the lines are counted and placed
// without reading out of bounds, a written table reads back to the same written text, and
// streaming the source writes that text too.
#include "table/row_label.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/source_text.h"
#include "table/table_fill.h"
#include "table/table_stream.h"

#include "fuzz_check.h"
#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string loadAndWrite(std::string text, unsigned char separator, std::size_t& rows) {
    kol::SourceText source(std::move(text));
    const std::size_t lines = kol::countLines(source.text());
    kol::StringGrid grid;
    grid.setRowCount(static_cast<int>(lines) + 1);
    grid.setColCount(3);
    grid.setFixedCols(2);
    kol::FillResult filled = kol::FillRows(grid, source, lines, separator, kol::RowLabelRule{}, {});
    grid.setColCount(std::max<int>(3, static_cast<int>(filled.maxFields) + 2));
    for (std::size_t f = 0; f < filled.longestField.size(); ++f) {
        std::size_t longest = 0;
        for (int r = 1; r < grid.rowCount(); ++r)
            longest = std::max(longest, grid.cell(static_cast<int>(f) + 2, r).size());
        FUZZ_CHECK(longest == filled.longestField[f]);
    }
    rows = lines;
    std::string out;
    for (int r = 1; r < grid.rowCount(); ++r) kol::appendRowLine(out, grid, r, separator);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned char separator = fuzzSeparator(data[0]);
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::size_t rows = 0, rowsAgain = 0, rowsThird = 0;
    const std::string once = loadAndWrite(text, separator, rows);
    const std::string twice = loadAndWrite(once, separator, rowsAgain);
    FUZZ_CHECK(rowsAgain == rows); // every line is written, so none appear or vanish
    // Streamed from the source, the text is what the load and the save wrote.
    if (rows > 0) {
        kol::SourceText source{std::string(text)};
        std::string streamed;
        const kol::IoStatus status =
            kol::streamTableLines(source, separator, separator, [&](std::string_view block) {
                streamed += block;
                return kol::IoStatus::success();
            });
        FUZZ_CHECK(status && streamed == once);
    }
    // Blank lines read as empty rows, so the second save is the first fixed point.
    FUZZ_CHECK(loadAndWrite(twice, separator, rowsThird) == twice);
    return 0;
}
