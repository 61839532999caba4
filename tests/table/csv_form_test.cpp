#include "table/csv_form.h"
#include "table/separators.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

std::vector<std::string> split(std::string_view line, unsigned char sep = ',') {
    std::vector<std::string> out;
    SplitLine(line, sep, out);
    return out;
}

using Fields = std::vector<std::string>;

TEST(CsvSplit, SeparatorsEndFieldsAndALineEndingInOneGivesAnEmptyLastField) {
    EXPECT_EQ(split("a,,b,"), (Fields{"a", "", "b", ""}));
    EXPECT_EQ(split("a,b"), (Fields{"a", "b"}));
    EXPECT_EQ(split(","), (Fields{"", ""}));
}

TEST(CsvSplit, BlankLinesGiveNoFieldExceptWithoutSeparator) {
    EXPECT_TRUE(split("").empty());
    EXPECT_TRUE(split(" \t ").empty());
    EXPECT_EQ(split("", kNoSeparator), (Fields{""}));
    EXPECT_EQ(split(" a,\"b\" ", kNoSeparator), (Fields{" a,\"b\" "}));
}

TEST(CsvSplit, BlankSeparatorMergesRunsAndSkipsLeadingBlanks) {
    EXPECT_EQ(split("  a   b ", ' '), (Fields{"a", "b"}));
    EXPECT_EQ(split("a\tb c", ' '), (Fields{"a\tb", "c"}));
}

TEST(CsvSplit, QuotesResetTheFieldAndAreNotEscapes) {
    EXPECT_EQ(split("\"a,b\",c"), (Fields{"a,b", "c"}));
    EXPECT_EQ(split("\"abc\"def,ghi"), (Fields{"abcdef", "ghi"}));
    EXPECT_EQ(split("x\"y\"z"), (Fields{"yz"}));
    EXPECT_EQ(split("\"a\"\"b\""), (Fields{"b"}));
    EXPECT_EQ(split("\"a\tb\"\tc", '\t'), (Fields{"a\tb", "c"}));
}

TEST(CsvSplit, AnUnclosedQuotedRunBecomesTheLastField) {
    EXPECT_EQ(split("a,\"b,c"), (Fields{"a", "b,c"}));
    EXPECT_EQ(split("a,\""), (Fields{"a", ""}));
    EXPECT_EQ(split("a \"b c", ' '), (Fields{"a", "b c"}));
}

TEST(CsvSplit, ATrailByteIsNeverASeparator) {
    // 表 is 0x95 0x5C, ポ is 0x83 0x7C, ァ is 0x83 0x40: each ends in a separator byte.
    const std::string hyou = sj("表"), po = sj("ポ"), xa = sj("ァ");
    EXPECT_EQ(split(hyou + "\\" + hyou, '\\'), (Fields{hyou, hyou}));
    EXPECT_EQ(split(po + "|x", '|'), (Fields{po, "x"}));
    EXPECT_EQ(split(xa + "@" + xa, '@'), (Fields{xa, xa}));
    // A lead byte before a non-trail byte is a character of its own.
    EXPECT_EQ(split("\x81,|a", '|'), (Fields{"\x81,", "a"}));
    EXPECT_EQ(split("a|\x81", '|'), (Fields{"a", "\x81"}));
}

TEST(CsvJoin, AFieldEndingInALoneLeadByteKeepsItsSeparator) {
    // Written bare, "\x82" and the separator | (0x7C, a trail byte) read back as one
    // double-byte character: the two fields became one, and every later column shifted.
    for (unsigned char sep : {'|', '\\', '@', '~'}) {
        const Fields fields{"a\x82", "x", "\x95\x5C\x82", "\x82"};
        const std::vector<std::string_view> views(fields.begin(), fields.end());
        const std::string line = JoinFields(views, sep);
        EXPECT_EQ(split(line, sep), fields) << sep;
    }
    // A complete character at the end, another separator or the last field: no quotes.
    const std::string hyou = sj("表");
    EXPECT_EQ(JoinFields({hyou, "x"}, '|'), hyou + "|x");
    EXPECT_EQ(JoinFields({"\x82", "x"}, ','), "\x82,x");
    EXPECT_EQ(JoinFields({"x", "\x82"}, '|'), "x|\x82");
    EXPECT_EQ(JoinFields({"\x82,", "x"}, '|'), "\"\x82,\"|x");
}

TEST(CsvJoin, AFieldHoldingTheSeparatorReadsBackWhole) {
    // Only a comma was quoted: with TAB a field holding a TAB (from a quoted field) was
    // written bare and read back as two fields, and so for every other separator.
    for (const SeparatorChoice& choice : SeparatorTable()) {
        const unsigned char sep = choice.code;
        if (sep == kNoSeparator) continue;
        const std::string own(1, static_cast<char>(sep));
        const Fields fields{"a" + own + "b", own, "x\ty", "\x82", sj("表") + own, "end\x82"};
        const std::vector<std::string_view> views(fields.begin(), fields.end());
        EXPECT_EQ(split(JoinFields(views, sep), sep), fields) << choice.name;
    }
    EXPECT_EQ(JoinFields({"a\tb", "c"}, '\t'), "\"a\tb\"\tc");
    EXPECT_EQ(JoinFields({"a\"|b", "c"}, '|'), "\"a|b\"|c"); // quotes dropped, then quoted
    // The separator as the trail byte of a character is no separator: written as before.
    const std::string hyou = sj("表"); // 0x95 0x5C
    EXPECT_EQ(JoinFields({hyou, "x"}, '\\'), hyou + "\\x");
    EXPECT_EQ(JoinFields({"a b", "c"}, '\t'), "a b\tc");
}

TEST(CsvJoin, CleanFieldDropsQuotesAndQuotesCommas) {
    EXPECT_EQ(CleanField("a\"b"), "ab");
    EXPECT_EQ(CleanField("1,234"), "\"1,234\"");
    EXPECT_EQ(CleanField("\"x,y\""), "\"x,y\"");
    EXPECT_EQ(JoinFields({"1,234", "a|b", ""}, '\t'), "\"1,234\"\ta|b\t");
    EXPECT_EQ(JoinFields({"a", "b,c"}, '|'), "a|\"b,c\"");
    EXPECT_EQ(JoinFields({"a\"", "b,"}, kNoSeparator), "a\"b,");
}

TEST(CsvJoin, CommaSurvivesASaveAndLoad) {
    for (std::string field : {std::string("a,b"), sj("住所,東京"), std::string(",")}) {
        std::string line = JoinFields({field, "x"}, ',');
        EXPECT_EQ(split(line), (Fields{field, "x"})) << line;
    }
}

TEST(Separators, TableOrderNamesAndLookup) {
    const auto& table = SeparatorTable();
    ASSERT_EQ(table.size(), 23u);
    EXPECT_EQ(table[0].code, kNoSeparator);
    EXPECT_EQ(table[2].name, "TAB");
    EXPECT_EQ(table[22].code, '_');
    EXPECT_EQ(separatorComboText(table[1]), "  ,");
    EXPECT_EQ(separatorComboText(table[3]), sj(" 空白"));
    EXPECT_EQ(findSeparator("Comma"), 1);
    EXPECT_EQ(findSeparator(" TAB "), 2);
    EXPECT_EQ(findSeparator(sj("無し")), 0);
    EXPECT_EQ(findSeparator("tab"), -1);
    EXPECT_EQ(findSeparator("x"), -1);
}

} // namespace
} // namespace kol
