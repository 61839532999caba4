// The writer that scans each field once gives exactly what the field-by-field rules give: a
// straightforward copy of those rules is the reference, run on random fields full of quotes,
// commas, separators and broken Shift-JIS for every separator; a row line read from the packed
// block matches the line built cell by cell, fixed columns and short rows included.
#include "table/csv_form.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/string_grid.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

std::string referenceClean(std::string_view text) {
    std::string out;
    const bool comma = text.find(',') != std::string_view::npos;
    if (comma) out.push_back('"');
    for (char c : text)
        if (c != '"') out.push_back(c);
    if (comma) out.push_back('"');
    return out;
}

bool referenceLoneLead(std::string_view text) {
    if (text.empty() || !IsLeadByte(static_cast<unsigned char>(text.back()))) return false;
    std::size_t i = 0;
    while (i + 1 < text.size())
        i += IsLeadByte(static_cast<unsigned char>(text[i])) &&
                     IsTrailByte(static_cast<unsigned char>(text[i + 1]))
                 ? 2
                 : 1;
    return i == text.size() - 1;
}

bool referenceHolds(std::string_view text, unsigned char separator) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (p[i] == separator) return true;
        if (separator >= 0x40 && IsLeadByte(p[i]) && i + 1 < text.size() && IsTrailByte(p[i + 1]))
            ++i;
    }
    return false;
}

std::string referenceJoin(const std::vector<std::string_view>& fields, unsigned char separator) {
    std::string out;
    const bool trailSeparator = separator != kNoSeparator && IsTrailByte(separator);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (separator == kNoSeparator) {
            out.append(fields[i]);
            continue;
        }
        if (i) out.push_back(static_cast<char>(separator));
        std::string text(fields[i]);
        if (text.find('"') != std::string::npos) {
            std::string cleaned = referenceClean(text);
            if (cleaned.find(',') == std::string::npos) text = cleaned;
        }
        if (text.find(',') == std::string::npos &&
            (referenceHolds(text, separator) ||
             (trailSeparator && i + 1 < fields.size() && referenceLoneLead(text))))
            out += '"' + text + '"';
        else
            out += referenceClean(text);
    }
    return out;
}

std::string randomField(std::mt19937& rng, unsigned char separator) {
    static const unsigned char kBytes[] = {'a',  'b',  ' ',  '"',  ',',  '\t', '|',  '@',  0x81,
                                           0x40, 0x82, 0xA0, 0x5C, 0x7C, 0xFF, 0x00, 0x88, 0xE0};
    std::uniform_int_distribution<int> length(0, 30), pick(0, sizeof kBytes), any(0, 255);
    std::string field;
    for (int i = length(rng); i > 0; --i) {
        const int k = pick(rng);
        field += static_cast<char>(k == static_cast<int>(sizeof kBytes) ? separator
                                   : k % 5 == 0                         ? 'x'
                                   : k % 11 == 0                        ? any(rng)
                                                                        : kBytes[k]);
    }
    return field;
}

TEST(FastJoin, AgreesWithTheFieldRulesForEverySeparator) {
    std::mt19937 rng(20261208);
    std::vector<unsigned char> separators{kNoSeparator};
    for (const auto& choice : SeparatorTable()) separators.push_back(choice.code);
    for (unsigned char separator : separators) {
        for (int k = 0; k < 3000; ++k) {
            std::vector<std::string> texts(1 + k % 5);
            for (auto& text : texts) text = randomField(rng, separator);
            std::vector<std::string_view> fields(texts.begin(), texts.end());
            ASSERT_EQ(JoinFields(fields, separator), referenceJoin(fields, separator))
                << "separator " << int(separator);
            ASSERT_EQ(CleanField(texts[0]), referenceClean(texts[0]));
        }
    }
}

TEST(FastJoin, RowLineFromThePackedBlockMatchesCellByCell) {
    StringGrid grid;
    grid.setColCount(5);
    grid.setRowCount(4);
    grid.setFixedCols(1);
    grid.setCell(0, 0, "label");
    grid.setCell(1, 0, "a,b");
    grid.setCell(2, 0, "long text past eight bytes \"quoted\"");
    grid.setCell(4, 0, "last");
    grid.setCell(1, 1, "only the first");  // a row shorter than the grid
    grid.setCell(0, 3, "fixed text only"); // nothing after the fixed column
    grid.setCell(1, 2, "plain");
    grid.setCell(2, 2, "tab\there");
    grid.setCell(3, 2, "blank here");
    for (unsigned char separator : {',', '\t', ' ', '|', ';'})
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::vector<std::string_view> cells;
            for (int c = 1; c < grid.colCount(); ++c) cells.push_back(grid.cell(c, r));
            std::string line;
            appendRowLine(line, grid, r, separator);
            EXPECT_EQ(line, JoinFields(cells, separator) + "\r\n")
                << "row " << r << " separator " << int(separator);
        }
}

TEST(FastJoin, RandomRowLinesMatchTheFieldRulesForEverySeparator) {
    // Cells full of quotes, commas and separators, some long enough to cross 64-byte blocks,
    // in rows short and over a kilobyte long.
    std::mt19937 rng(31);
    const char pieces[] = {'a', '"', ',', '\t', ' ', '|', ';', '@', '\x81', '\x40', 'x'};
    for (const auto& choice : SeparatorTable()) {
        const unsigned char separator = choice.code;
        StringGrid grid;
        grid.setColCount(12);
        grid.setRowCount(60);
        grid.setFixedCols(2);
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::vector<std::string> texts(2 + rng() % 10);
            for (std::size_t c = 2; c < texts.size(); ++c) {
                const std::size_t length = rng() % 4 == 0 ? rng() % 300 : rng() % 12;
                for (std::size_t k = 0; k < length; ++k)
                    texts[c] += rng() % 3 ? 'a' : pieces[rng() % sizeof pieces];
                if (rng() % 5 == 0) texts[c] += static_cast<char>(separator);
            }
            std::vector<std::string_view> views(texts.begin(), texts.end());
            grid.setRowCells(r, views);
        }
        for (int r = 0; r < grid.rowCount(); ++r) {
            std::vector<std::string_view> cells;
            for (int c = 2; c < grid.colCount(); ++c) cells.push_back(grid.cell(c, r));
            std::string line = "kept";
            appendRowLine(line, grid, r, separator);
            ASSERT_EQ(line, "kept" + JoinFields(cells, separator) + "\r\n")
                << "row " << r << " separator " << int(separator);
        }
    }
}

TEST(FastJoin, BlocksWrittenOnTwoThreadsArriveInOrderAndAFailureStopsThem) {
    // Enough rows for several blocks on each thread, with rows needing quotes among them.
    StringGrid grid;
    grid.setColCount(4);
    grid.setRowCount(200'001);
    grid.setFixedCols(1);
    for (int r = 0; r < grid.rowCount(); ++r) {
        grid.setCell(1, r, std::to_string(r));
        if (r % 7 == 0) grid.setCell(2, r, "a,b");
        if (r % 11 == 0) grid.setCell(3, r, "\"q\"");
    }
    std::string expected;
    for (int r = 3; r <= 199'990; ++r) appendRowLine(expected, grid, r, '\t');
    std::string written;
    int calls = 0;
    ASSERT_TRUE(writeRows(grid, 3, 199'990, '\t', [&](std::string_view block) {
        ++calls;
        written.append(block);
        return IoStatus::success();
    }));
    EXPECT_GT(calls, 2);
    EXPECT_EQ(written, expected);

    // A sink failing at its third block: nothing after it is handed on, and the reason comes back.
    calls = 0;
    const IoStatus failed = writeRows(grid, 0, grid.rowCount() - 1, ',', [&](std::string_view) {
        return ++calls == 3 ? IoStatus::failure(ENOSPC) : IoStatus::success();
    });
    EXPECT_EQ(failed.error, ENOSPC);
    EXPECT_EQ(calls, 3);
    // Nothing to write is no failure.
    EXPECT_TRUE(
        writeRows(grid, 5, 4, ',', [](std::string_view) { return IoStatus::failure(EIO); }));
}

} // namespace
} // namespace kol
