// Random bytes through the reader and writer: nothing crashes, and what the program writes it
// reads back to the same table.
#include "support/test_support.h"
#include "table/csv_form.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/source_text.h"
#include "table/table_fill.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

std::string randomText(std::mt19937& rng) {
    static const char pool[] = {',', '"',  '\r', '\n',   '\0',   '\x81', '\x5C',
                                ' ', '\t', 'a',  '\x95', '\xFF', '|',    'x'};
    std::string text(std::uniform_int_distribution<int>(0, 400)(rng), ' ');
    for (char& c : text) {
        int pick = std::uniform_int_distribution<int>(0, 19)(rng);
        c = pick < 14 ? pool[pick]
                      : static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    }
    return text;
}

// Loads a text as the program does and writes it back as a save would.
std::string roundTrip(const std::string& text, unsigned char sep) {
    SourceText source(text);
    const std::size_t lines = countLines(source.text());
    StringGrid grid;
    grid.setRowCount(static_cast<int>(lines) + 1);
    grid.setColCount(3);
    grid.setFixedCols(2);
    FillResult filled = FillRows(grid, source, lines, sep, RowLabelRule{}, nullptr);
    grid.setColCount(std::max<int>(3, static_cast<int>(filled.maxFields) + 2));
    std::string out;
    for (int r = 1; r < grid.rowCount(); ++r) appendRowLine(out, grid, r, sep);
    return out;
}

// A written line of nothing but blanks and control bytes reads as an empty row (blank lines
// are empty rows), so its blanks are the one thing a second save does not repeat.
std::string withoutBlankLines(const std::string& written) {
    std::string out;
    for (LineCursor lines(written); !lines.atEnd();) {
        std::string_view line = lines.next();
        bool blank = true;
        for (unsigned char c : line) blank = blank && c <= 0x20;
        if (!blank) out += line;
        out += "\r\n";
    }
    return out;
}

TEST(Robustness, WrittenTablesReadBackToThemselves) {
    std::mt19937 rng(8122026);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = randomText(rng);
        for (unsigned char sep : {static_cast<unsigned char>(','), kNoSeparator}) {
            const std::string once = roundTrip(text, sep);
            const std::string expected = sep == kNoSeparator ? once : withoutBlankLines(once);
            ASSERT_EQ(roundTrip(once, sep), expected) << "input " << i << " separator " << int(sep);
        }
    }
}

TEST(Robustness, WrittenFieldsReadBackAsThemselvesForEverySeparator) {
    // Only fields holding a comma were quoted, so a TAB, "|" or any other separator inside a
    // field split it in two on reading (the blank separator runs blanks together, and a line
    // of blanks is an empty row: those keep only the fixed point checked above).
    std::mt19937 rng(15);
    for (int i = 0; i < 2000; ++i) {
        const std::string line = randomText(rng);
        for (const SeparatorChoice& choice : SeparatorTable()) {
            const unsigned char sep = choice.code;
            if (sep == ' ') continue;
            std::vector<std::string> fields, back;
            SplitLine(line, sep, fields);
            const std::vector<std::string_view> views(fields.begin(), fields.end());
            const std::string written = JoinFields(views, sep);
            if (IsBlank(written)) continue;
            SplitLine(written, sep, back);
            ASSERT_EQ(back, fields) << "input " << i << " separator " << int(sep);
        }
    }
}

TEST(Robustness, SplitNeverLosesNonQuoteBytes) {
    // Every byte of a line but quotes and separators ends up in some field (the one exception
    // being text before an opening quote, which the format drops).
    std::mt19937 rng(42);
    for (int i = 0; i < 3000; ++i) {
        std::string line = randomText(rng);
        line.erase(
            std::remove_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }),
            line.end());
        std::vector<std::string> fields;
        SplitLine(line, '|', fields);
        std::size_t kept = 0;
        for (const std::string& f : fields) kept += f.size();
        EXPECT_LE(kept, line.size());
        if (line.find('"') == std::string::npos && !fields.empty()) {
            std::size_t separators = fields.size() - 1;
            EXPECT_EQ(kept + separators, line.size()) << i;
        }
    }
}

} // namespace
} // namespace kol
