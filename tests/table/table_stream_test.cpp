// Writing a table straight from its source gives byte for byte what loading it and saving it
// gives: every sample file, every separator in and out, random texts full of quotes, breaks of
// every kind, NULs and broken Shift-JIS, and a text of many blocks cut at line starts.
#include "support/test_support.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/table_load.h"
#include "table/table_stream.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

std::string loadedAndSaved(const std::string& text, unsigned char in, unsigned char out) {
    SourceText source{std::string(text)};
    const std::size_t lines = countLines(source.text());
    TableDocument doc;
    resetTableShape(doc.Grid, 0, static_cast<int>(lines), RowLabelRule{});
    (void)fillTable(doc, source, lines, in, RowLabelRule{});
    std::string written;
    EXPECT_TRUE(writeRows(doc.Grid, 1, doc.Grid.rowCount() - 1, out, [&](std::string_view b) {
        written += b;
        return IoStatus::success();
    }));
    return written;
}

std::string streamed(const std::string& text, unsigned char in, unsigned char out) {
    SourceText source{std::string(text)};
    std::string written;
    EXPECT_TRUE(streamTableLines(source, in, out, [&](std::string_view b) {
        written += b;
        return IoStatus::success();
    }));
    return written;
}

std::string randomText(std::mt19937& rng, unsigned char separator, std::size_t length) {
    static const unsigned char kBytes[] = {'a',  'b',  '1',  ' ',  '"',  ',',  '\t', '|',  '@',
                                           0x81, 0x40, 0x82, 0xA0, 0x5C, 0x7C, 0xFF, '\r', '\n'};
    std::uniform_int_distribution<int> pick(0, sizeof kBytes), any(1, 255);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const int k = pick(rng);
        text += static_cast<char>(k == static_cast<int>(sizeof kBytes) ? separator
                                  : k % 9 == 0                         ? any(rng)
                                                                       : kBytes[k]);
    }
    return text;
}

TEST(TableStream, EverySampleFileAsLoadingAndSavingWritesIt) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::dataFile(""))) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const std::string text = test::readBytes(entry.path());
        for (unsigned char in : {',', '\t', ' ', ';'})
            for (unsigned char out : {',', '\t'})
                EXPECT_EQ(streamed(text, in, out), loadedAndSaved(text, in, out))
                    << entry.path() << " " << int(in) << " " << int(out);
    }
    EXPECT_GE(files, 10);
    // An empty text, and one that is nothing but a NUL, load as one empty cell.
    EXPECT_EQ(streamed("", ',', ','), "\r\n");
    EXPECT_EQ(streamed(std::string(1, '\0') + "a,b", ',', ','), loadedAndSaved("", ',', ','));
}

TEST(TableStream, RandomTextsForEverySeparator) {
    std::mt19937 rng(1208);
    for (const auto& choice : SeparatorTable()) {
        const unsigned char in = choice.code;
        for (std::size_t length : {1u, 7u, 64u, 300u, 3000u}) {
            const std::string text = randomText(rng, in, length);
            for (unsigned char out : {in, static_cast<unsigned char>(',')})
                ASSERT_EQ(streamed(text, in, out), loadedAndSaved(text, in, out))
                    << "separator " << int(in) << " length " << length;
        }
    }
}

TEST(TableStream, ManyBlocksCutAtLineStartsInOrder) {
    // About 3 MB: both halves of the first pass and several blocks of the second, with lines
    // longer than the block scan, CR-only and CR LF breaks falling anywhere.
    std::mt19937 rng(7);
    std::string text;
    while (text.size() < (3u << 20)) {
        text += randomText(rng, ',', rng() % 200);
        text += rng() % 50 == 0 ? std::string(3000, 'x') : std::string();
        text += rng() % 3 == 0 ? "\r" : "\r\n";
    }
    for (unsigned char out : {',', '\t'})
        ASSERT_TRUE(streamed(text, ',', out) == loadedAndSaved(text, ',', out));
}

TEST(TableStream, AFailingSinkStopsTheWriting) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "abc,def,ghi\r\n";
    SourceText source{std::move(text)};
    int calls = 0;
    const IoStatus status = streamTableLines(source, ',', ',', [&](std::string_view) {
        ++calls;
        return IoStatus::failure(EPIPE);
    });
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, EPIPE);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace kol
