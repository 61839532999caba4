// The split that scans eight bytes at a time gives exactly what the byte-by-byte walk gives, for
// every separator, on random lines full of quotes, separators, NULs and broken Shift-JIS, with
// the special bytes falling on and next to every word boundary; and a whole load agrees with
// splitting its lines one by one.
#include "support/test_support.h"
#include "table/csv_form.h"
#include "table/separators.h"
#include "table/source_text.h"
#include "table/table_load.h"

#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

std::string randomLine(std::mt19937& rng, unsigned char separator, std::size_t length) {
    // Mostly ordinary text, with the bytes the split cares about at random places.
    static const unsigned char kBytes[] = {'a',  'b',  '1',  ' ',  '"',  ',',  '\t',
                                           '|',  '@',  0x81, 0x40, 0x82, 0xA0, 0x5C,
                                           0x7C, 0xFF, 0x00, '\r', 0x88};
    std::uniform_int_distribution<int> pick(0, sizeof kBytes), any(0, 255);
    std::string line;
    for (std::size_t i = 0; i < length; ++i) {
        const int k = pick(rng);
        line += static_cast<char>(k == static_cast<int>(sizeof kBytes) ? separator
                                  : k % 7 == 0                         ? any(rng)
                                                                       : kBytes[k]);
    }
    return line;
}

void expectSameSplit(std::string_view line, unsigned char separator) {
    FieldBuffer fast, careful;
    SplitLine(line, separator, fast);
    SplitLineBytewise(line, separator, careful);
    ASSERT_EQ(fast.ends, careful.ends) << "separator " << int(separator);
    ASSERT_EQ(fast.bytes, careful.bytes) << "separator " << int(separator);
}

TEST(FastSplit, AgreesWithTheBytewiseWalkForEverySeparator) {
    std::mt19937 rng(20261208);
    for (const auto& choice : SeparatorTable()) {
        const unsigned char separator = choice.code;
        for (std::size_t length = 0; length <= 40; ++length)
            for (int k = 0; k < 40; ++k)
                expectSameSplit(randomLine(rng, separator, length), separator);
        for (int k = 0; k < 20; ++k) expectSameSplit(randomLine(rng, separator, 5000), separator);
        // A special byte at every place around the word boundaries of a plain line.
        for (std::size_t at = 0; at < 24; ++at)
            for (char special : {static_cast<char>(separator), '"'}) {
                std::string line(24, 'x');
                line[at] = special;
                expectSameSplit(line, separator);
            }
    }
}

TEST(FastSplit, AWholeLoadMatchesSplittingEachLine) {
    std::mt19937 rng(7);
    test::TempDir dir;
    for (const unsigned char separator : {',', '\t', ' ', '|', '@'}) {
        // Lines broken by CR LF, lone CR and lone LF; no NUL, which would end the text.
        std::string text;
        std::vector<std::string> lines;
        for (int i = 0; i < 300; ++i) {
            // After a lone CR an empty line ending in LF would read as one CR LF break.
            std::string line = randomLine(rng, separator, 1 + rng() % 30);
            for (char& ch : line)
                if (ch == '\r' || ch == '\n' || ch == '\0') ch = 'z';
            lines.push_back(line);
            text += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\r" : "\n");
        }
        test::writeBytes(dir / "t.csv", text);
        TableDocument doc;
        TableLoadOptions options;
        options.separator = separator;
        ASSERT_TRUE(loadTableFile((dir / "t.csv").string(), doc, options).ok());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            FieldBuffer careful;
            SplitLineBytewise(lines[i], separator, careful);
            const int row = static_cast<int>(i) + 1;
            for (std::size_t f = 0; f < careful.size(); ++f)
                ASSERT_EQ(doc.Grid.cell(static_cast<int>(f) + 2, row), careful.field(f))
                    << "line " << i << " field " << f;
            EXPECT_EQ(doc.Grid.cell(static_cast<int>(careful.size()) + 2, row), "");
        }
    }
}

} // namespace
} // namespace kol
