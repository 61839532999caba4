// The split that scans eight bytes at a time gives exactly what the byte-by-byte walk gives, for
// every separator, on random lines full of quotes, separators, NULs and broken Shift-JIS, with
// the special bytes falling on and next to every word boundary; the one-pass splitter of whole
// texts agrees with reading lines and splitting them one by one, whatever falls on its 64-byte
// block borders; and a whole load agrees with splitting its lines one by one.
#include "support/test_support.h"
#include "table/csv_form.h"
#include "table/line_splitter.h"
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

// Every line of `text` from `start`, through the one-pass splitter and through LineCursor with
// the byte-by-byte split.
void expectSameLines(std::string_view text, std::size_t start, unsigned char separator) {
    LineSplitter splitter(text, start, separator);
    LineCursor cursor(text, start);
    std::size_t line = 0;
    for (; !cursor.atEnd(); ++line) {
        ASSERT_FALSE(splitter.atEnd()) << "line " << line;
        FieldBuffer fast, careful;
        fast.bytes = careful.bytes = "kept"; // what a buffer held before stays
        fast.ends = careful.ends = {4};
        splitter.next(fast);
        SplitLineBytewise(cursor.next(), separator, careful);
        ASSERT_EQ(fast.ends, careful.ends) << "separator " << int(separator) << " line " << line;
        ASSERT_EQ(fast.bytes, careful.bytes) << "separator " << int(separator) << " line " << line;
        ASSERT_EQ(splitter.position(), cursor.position()) << "line " << line;
    }
    EXPECT_TRUE(splitter.atEnd());
    EXPECT_EQ(line, countLines(text.substr(start)));
}

TEST(FastSplit, WholeTextsSplitInOnePassAsLineByLine) {
    std::mt19937 rng(1208);
    for (const auto& choice : SeparatorTable()) {
        const unsigned char separator = choice.code;
        for (int k = 0; k < 60; ++k) {
            // Random text with breaks of every kind; NULs included, as in owned texts.
            std::string text = randomLine(rng, separator, rng() % 400);
            for (char& ch : text)
                if (rng() % 9 == 0) ch = "\r\n"[rng() % 2];
            expectSameLines(text, 0, separator);
            if (!text.empty()) expectSameLines(text, rng() % text.size(), separator);
        }
        // A break, quote or separator on each side of the 64-byte borders.
        for (std::size_t at = 56; at < 136; ++at)
            for (const char* special : {"\r\n", "\r", "\n", "\"", "\"\"", "  \r"}) {
                std::string text(200, 'x');
                text.replace(at, std::string_view(special).size(), special);
                text[at / 2] = static_cast<char>(separator);
                expectSameLines(text, 0, separator);
                expectSameLines(text, at / 3, separator);
            }
    }
}

TEST(FastSplit, LinesAreCountedAsTheCursorReadsThem) {
    std::mt19937 rng(99);
    for (int k = 0; k < 300; ++k) {
        std::string text(rng() % 300, 'a');
        for (char& ch : text)
            if (rng() % 4 == 0) ch = "\r\n"[rng() % 2];
        std::size_t lines = 0;
        for (LineCursor cursor(text); !cursor.atEnd(); ++lines) cursor.next();
        ASSERT_EQ(countLines(text), lines) << k;
    }
    // Large enough to be counted on two cores, with a CR LF across the halves' border.
    std::string big(9u << 20, 'b');
    for (std::size_t i = 99; i < big.size(); i += 100) big[i] = '\n';
    const std::size_t mid = big.size() / 2;
    big[mid - 1] = '\r';
    big[mid] = '\n';
    big[mid + 7] = '\r';
    std::size_t lines = 0;
    for (LineCursor cursor(big); !cursor.atEnd(); ++lines) cursor.next();
    EXPECT_EQ(countLines(big), lines);
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
