#include "search/row_match.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

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

// Every letter CP932 has in both cases, upper case and lower case in the same order: the
// full-width Latin, Greek and Cyrillic letters, from the code page's own decoding of every
// double-byte character and str.lower() of the upper-case ones.
const std::string kUpperLetters =
    "\x82\x60\x82\x61\x82\x62\x82\x63\x82\x64\x82\x65\x82\x66\x82\x67\x82\x68\x82\x69"
    "\x82\x6A\x82\x6B\x82\x6C\x82\x6D\x82\x6E\x82\x6F\x82\x70\x82\x71\x82\x72\x82\x73"
    "\x82\x74\x82\x75\x82\x76\x82\x77\x82\x78\x82\x79\x83\x9F\x83\xA0\x83\xA1\x83\xA2"
    "\x83\xA3\x83\xA4\x83\xA5\x83\xA6\x83\xA7\x83\xA8\x83\xA9\x83\xAA\x83\xAB\x83\xAC"
    "\x83\xAD\x83\xAE\x83\xAF\x83\xB0\x83\xB1\x83\xB2\x83\xB3\x83\xB4\x83\xB5\x83\xB6"
    "\x84\x40\x84\x41\x84\x42\x84\x43\x84\x44\x84\x45\x84\x46\x84\x47\x84\x48\x84\x49"
    "\x84\x4A\x84\x4B\x84\x4C\x84\x4D\x84\x4E\x84\x4F\x84\x50\x84\x51\x84\x52\x84\x53"
    "\x84\x54\x84\x55\x84\x56\x84\x57\x84\x58\x84\x59\x84\x5A\x84\x5B\x84\x5C\x84\x5D"
    "\x84\x5E\x84\x5F\x84\x60";
const std::string kLowerLetters =
    "\x82\x81\x82\x82\x82\x83\x82\x84\x82\x85\x82\x86\x82\x87\x82\x88\x82\x89\x82\x8A"
    "\x82\x8B\x82\x8C\x82\x8D\x82\x8E\x82\x8F\x82\x90\x82\x91\x82\x92\x82\x93\x82\x94"
    "\x82\x95\x82\x96\x82\x97\x82\x98\x82\x99\x82\x9A\x83\xBF\x83\xC0\x83\xC1\x83\xC2"
    "\x83\xC3\x83\xC4\x83\xC5\x83\xC6\x83\xC7\x83\xC8\x83\xC9\x83\xCA\x83\xCB\x83\xCC"
    "\x83\xCD\x83\xCE\x83\xCF\x83\xD0\x83\xD1\x83\xD2\x83\xD3\x83\xD4\x83\xD5\x83\xD6"
    "\x84\x70\x84\x71\x84\x72\x84\x73\x84\x74\x84\x75\x84\x76\x84\x77\x84\x78\x84\x79"
    "\x84\x7A\x84\x7B\x84\x7C\x84\x7D\x84\x7E\x84\x80\x84\x81\x84\x82\x84\x83\x84\x84"
    "\x84\x85\x84\x86\x84\x87\x84\x88\x84\x89\x84\x8A\x84\x8B\x84\x8C\x84\x8D\x84\x8E"
    "\x84\x8F\x84\x90\x84\x91";

TEST(UpperCaseAnsi, FoldsSingleByteLettersAndNoTrailByte) {
    // "ア" (0x83 0x41: trail byte 'A'), "ヂ" (0x83 0x61: trail byte 'a').
    EXPECT_EQ(UpperCaseAnsi("abcXYZ-\x83\x61z"), "ABCXYZ-\x83\x61Z");
    EXPECT_EQ(UpperCaseAnsi("\x83"), "\x83");             // a lone lead byte at the end
    EXPECT_EQ(UpperCaseAnsi("\x83 a"), "\x83 A");         // a lead byte before a non-trail byte
    EXPECT_EQ(UpperCaseAnsi("\xFFq\x80r"), "\xFFQ\x80R"); // bytes that are no character
}

TEST(UpperCaseAnsi, FoldsEveryDoubleByteLetterAndNoOtherCharacter) {
    ASSERT_EQ(kUpperLetters.size(), 166u);
    EXPECT_EQ(UpperCaseAnsi(kLowerLetters), kUpperLetters);
    EXPECT_EQ(UpperCaseAnsi(kUpperLetters), kUpperLetters);
    EXPECT_EQ(UpperCaseAnsi("a" + kLowerLetters + "z"), "A" + kUpperLetters + "Z");
    // "ｅｘａｍｐｌｅ" → "ＥＸＡＭＰＬＥ", "ё" → "Ё"; "\x89\x82" is a kanji whose trail byte
    // is the lead of the letters, and the "\x81" after it is no trail byte of a letter.
    EXPECT_EQ(UpperCaseAnsi(sj("ｅｘａｍｐｌｅ")), sj("ＥＸＡＭＰＬＥ"));
    EXPECT_EQ(UpperCaseAnsi(sj("ё")), sj("Ё"));
    EXPECT_EQ(UpperCaseAnsi("\x89\x82\x81\x40"), "\x89\x82\x81\x40");
    // Every other double-byte character stays, Roman numerals and the Angstrom sign among them.
    std::set<std::string> lower;
    for (std::size_t i = 0; i < kLowerLetters.size(); i += 2)
        lower.insert(kLowerLetters.substr(i, 2));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            if (lower.contains(pair)) continue;
            ASSERT_EQ(UpperCaseAnsi(pair), pair) << lead << ' ' << trail;
        }
    }
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

TEST(RowMatches, DoubleByteLettersMatchInEitherCase) {
    StringGrid g;
    std::vector<int> cols;
    for (std::size_t i = 0; i < kUpperLetters.size(); i += 2) {
        const std::string up = kUpperLetters.substr(i, 2), low = kLowerLetters.substr(i, 2);
        // Short cells take the byte loop, long ones the block scan; letters at the word's end,
        // at its start and inside it.
        for (const std::string& pad : {std::string(), std::string(40, '-')}) {
            rowOf(g, {"z", pad + sj("表") + up + low + sj("表") + pad});
            for (const std::string& w :
                 {low, up, low + up, up + low, sj("表") + low, low + sj("表"), up + sj("表")})
                EXPECT_TRUE(RowMatcher({w}, SearchMode::Or).RowMatches(g, 1, cols)) << i;
            EXPECT_EQ(cols, (std::vector<int>{3}));
            EXPECT_FALSE(RowMatcher({up + up + up}, SearchMode::Or).RowMatches(g, 1, cols)) << i;
        }
    }
    rowOf(g, {sj("ＥＸＡＭＰＬＥ"), sj("ΑΒΓ"), sj("Москва")});
    EXPECT_TRUE(RowMatcher({sj("ｅｘａｍｐｌｅ"), sj("αβγ"), sj("москва")}, SearchMode::And)
                    .RowMatches(g, 1, cols));
    EXPECT_EQ(cols, (std::vector<int>{2, 3, 4}));
    // Half-width letters are other letters, in either case.
    EXPECT_FALSE(RowMatcher({"example", "EXAMPLE"}, SearchMode::Or).RowMatches(g, 1, cols));
}

TEST(RowMatches, ALetterNeverBeginsInsideACharacter) {
    StringGrid g;
    std::vector<int> cols;
    // "\x89\x82" is a kanji whose trail byte is the letters' lead; "`" (0x60) after it is the
    // trail byte of "Ａ" and 0x81 that of "ａ", but neither pairs with it here: 0x81 begins
    // the full-width space "\x81\x40".
    for (const std::string& pad : {std::string(), std::string(40, '-')}) {
        rowOf(g, {pad + "\x89\x82`" + pad, pad + "\x89\x82\x81\x40" + pad});
        for (const std::string& w : {sj("ａ"), sj("Ａ"), sj("ａ") + "-", sj("Ａ") + "-"})
            EXPECT_FALSE(RowMatcher({w}, SearchMode::Or).RowMatches(g, 1, cols)) << w;
        EXPECT_TRUE(RowMatcher({sj("　")}, SearchMode::Or).RowMatches(g, 1, cols));
        EXPECT_EQ(cols, (std::vector<int>{3}));
    }
}

// The row scan against the plain definition, cell by cell, on random CP932-like text: long
// rows (the block scan) and short ones (the byte loop), words with letters, lead bytes,
// trail bytes that look like letters and bytes that are no character.
TEST(RowMatches, AgreesWithThePlainDefinition) {
    std::mt19937 rng(12345);
    const unsigned char alphabet[] = {'a',  'A',  'b',  'B',  ' ',  '\\', 0x83, 0x61, 0x41,
                                      0x95, 0x5C, 0x81, 0x40, 0xE0, 0x9F, 0x80, 0xFD, 0x82,
                                      0xA0, 0xB1, 0x60, 0x84, 0x70, 0xBF, 0x9A, 0x79};
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
        // Words that end in a double-byte letter, in either case.
        if (rng() % 2) words.push_back(randomText(2) + (rng() % 2 ? "\x82\x81" : "\x84\x40"));
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
