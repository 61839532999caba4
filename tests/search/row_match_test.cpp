#include "search/row_match.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <random>

namespace kol {
namespace {

// The plain definition: both sides upper-cased, then a search that starts only on a boundary.
bool naiveContains(std::string_view cell, std::string_view word) {
    return !cell.empty() && FindText(UpperCaseAnsi(cell), UpperCaseAnsi(word)) != std::string::npos;
}

StringGrid& rowOf(StringGrid& g, const std::vector<std::string>& data) {
    g.setColCount(static_cast<int>(data.size()) + 2);
    g.setRowCount(2);
    g.setFixedCols(2);
    g.setFixedRows(1);
    std::vector<std::string_view> cells{"1", "key"};
    for (const std::string& d : data) cells.push_back(d);
    g.setRowCells(1, cells);
    return g;
}

TEST(UpperCaseAnsi, FoldsOnlySingleByteLetters) {
    // "ａ" (0x82 0x81) and "ア" (0x83 0x41: trail byte 'A'), "ヂ" (0x83 0x61: trail byte 'a').
    EXPECT_EQ(UpperCaseAnsi("abcXYZ-\x82\x81\x83\x61z"), "ABCXYZ-\x82\x81\x83\x61Z");
    EXPECT_EQ(UpperCaseAnsi("\x83"), "\x83");             // a lone lead byte at the end
    EXPECT_EQ(UpperCaseAnsi("\x83 a"), "\x83 A");         // a lead byte before a non-trail byte
    EXPECT_EQ(UpperCaseAnsi("\xFFq\x80r"), "\xFFQ\x80R"); // bytes that are no character
}

TEST(SplitWords, HalfWidthSpacesFirstThenFullWidth) {
    const std::string fw = sj("　");
    EXPECT_EQ(SplitWords("abc def"), (std::vector<std::string>{"abc", "def"}));
    EXPECT_EQ(SplitWords("A" + fw + "B C"), (std::vector<std::string>{"A" + fw + "B", "C"}));
    EXPECT_EQ(SplitWords("A" + fw + "B"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(SplitWords("  a   b  "), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitWords(fw + fw + "x" + fw + fw), (std::vector<std::string>{"x"}));
    EXPECT_TRUE(SplitWords("").empty());
    EXPECT_TRUE(SplitWords(" \t ").empty());
    EXPECT_TRUE(SplitWords(fw + fw).empty());
    // 0x81 0x40 inside "\x81\x81" + "@" is no full-width space: the cut never splits a character.
    EXPECT_EQ(SplitWords("\x81\x81\x40z"), (std::vector<std::string>{"\x81\x81\x40z"}));
    // A lone lead byte at the end stays a word of its own.
    EXPECT_EQ(SplitWords("a \x82"), (std::vector<std::string>{"a", "\x82"}));
    std::string big(1000, 'w');
    EXPECT_EQ(SplitWords(big), (std::vector<std::string>{big}));
}

TEST(RowMatches, AndNeedsEveryWordSomewhereOrAnyWord) {
    StringGrid g;
    rowOf(g, {"ABC", "xdefx", "", "ghi"});
    std::vector<int> cols;
    EXPECT_TRUE(RowMatcher({"abc", "def"}, SearchMode::And).RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{2, 3}));
    EXPECT_FALSE(RowMatcher({"abc", "zzz"}, SearchMode::And).RowMatches(g, 1, cols));
    EXPECT_TRUE(cols.empty());
    EXPECT_TRUE(RowMatcher({"abc", "zzz"}, SearchMode::Or).RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{2}));
    // A word found in two columns marks both; the fixed columns are never searched.
    rowOf(g, {"ab", "xab", "ba"});
    g.setCell(1, 1, "ab");
    EXPECT_TRUE(RowMatcher({"AB"}, SearchMode::And).RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{2, 3}));
    EXPECT_FALSE(RowMatcher({"key"}, SearchMode::Or).RowMatches(g, 0, cols));
    EXPECT_FALSE(RowMatcher({}, SearchMode::Or).RowMatches(g, 1, cols));
}

TEST(RowMatches, MatchesNeverStartInsideACharacterNorSpanCells) {
    StringGrid g;
    std::vector<int> cols;
    // "ヂ" is 0x83 0x61: its trail byte is an 'a' that neither starts a match nor folds.
    rowOf(g, {"\x83\x61", "\x83\x41"});
    EXPECT_FALSE(RowMatcher({"a"}, SearchMode::Or).RowMatches(g, 1, cols));
    EXPECT_FALSE(RowMatcher({"A"}, SearchMode::Or).RowMatches(g, 1, cols));
    EXPECT_TRUE(RowMatcher({"\x83\x61"}, SearchMode::Or).RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{2}));
    // "表" is 0x95 0x5C; "\x5C" alone is a backslash that the trail byte must not match.
    rowOf(g, {sj("表示"), "a\\b"});
    EXPECT_TRUE(RowMatcher({"\\"}, SearchMode::Or).RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{3}));
    // Text that would match only across the boundary of two cells.
    rowOf(g, {"ab", "cd"});
    EXPECT_FALSE(RowMatcher({"bc"}, SearchMode::Or).RowMatches(g, 1, cols));
    // Half-width and full-width forms are different.
    rowOf(g, {sj("ＡＢＣ"), sj("ｶﾅ")});
    EXPECT_FALSE(RowMatcher({"abc", sj("カナ")}, SearchMode::Or).RowMatches(g, 1, cols));
}

// The row scan against the plain definition, cell by cell, on random CP932-like text: long
// rows (the block scan) and short ones (the byte loop), words with letters, lead bytes,
// trail bytes that look like letters and bytes that are no character.
TEST(RowMatches, AgreesWithThePlainDefinition) {
    std::mt19937 rng(12345);
    const unsigned char alphabet[] = {'a',  'A',  'b',  'B',  ' ',  '\\', 0x83, 0x61, 0x41, 0x95,
                                      0x5C, 0x81, 0x40, 0xE0, 0x9F, 0x80, 0xFD, 0x82, 0xA0, 0xB1};
    auto randomText = [&](int maxLength) {
        std::string s(rng() % (maxLength + 1), ' ');
        for (char& ch : s) ch = static_cast<char>(alphabet[rng() % sizeof alphabet]);
        return s;
    };
    StringGrid g;
    std::vector<int> cols;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::string> cells;
        const int count = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < count; ++i) cells.push_back(randomText(round % 2 ? 60 : 8));
        rowOf(g, cells);
        std::vector<std::string> words{randomText(3) + "a"};
        if (rng() % 2) words.push_back(randomText(2) + "\x83");
        if (words[0].empty()) continue;
        for (SearchMode mode : {SearchMode::And, SearchMode::Or}) {
            std::vector<int> expected;
            std::size_t found = 0;
            for (const std::string& w : words) {
                bool any = false;
                for (int i = 0; i < count; ++i)
                    if (naiveContains(cells[i], w)) {
                        any = true;
                        expected.push_back(i + 2);
                    }
                found += any;
            }
            std::sort(expected.begin(), expected.end());
            expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
            const bool match = found > 0 && (mode == SearchMode::Or || found == words.size());
            ASSERT_EQ(RowMatcher(words, mode).RowMatches(g, 1, cols), match) << round;
            if (match) {
                ASSERT_EQ(cols, expected) << round;
            }
        }
    }
}

} // namespace
} // namespace kol
