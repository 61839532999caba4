#include "text/width_kana.h"

#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kol::sj;
using namespace kol;

std::vector<std::string> sampleLines() {
    std::string bytes = test::readBytes(test::dataFile("kana-width.csv"));
    std::vector<std::string> lines;
    for (std::size_t pos = 0, end; (end = bytes.find("\r\n", pos)) != std::string::npos;
         pos = end + 2)
        lines.push_back(bytes.substr(pos, end - pos));
    return lines;
}

TEST(WidthKana, SampleToFullWidth) {
    auto lines = sampleLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(ToFullWidth(lines[0]),
              sj("ガギグゲゴ，パピプペポ，ヴ，アィゥェォャュョッー。「」、・ヲン"));
    EXPECT_EQ(ToFullWidth(lines[1]),
              sj("ＡＢＣｘｙｚ　０１２３！＂＃＄％＆＇（）＊＋，－．／：；＜＝"
                 "＞？＠［＼］＾＿｀｛｜｝～，ひらがな，カタカナヴヵヶ"));
    EXPECT_EQ(ToFullWidth(lines[2]), sj("ＡＢＣｘｙｚ　０１２３，がぎぐげご，パピプペポ"));
}

TEST(WidthKana, SampleToHalfWidthAndBack) {
    auto lines = sampleLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(ToHalfWidth(lines[2]), sj("ABCxyz 0123,がぎぐげご,ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"));
    EXPECT_EQ(ToHalfWidth(lines[1]),
              sj("ABCxyz 0123!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~,ひらがな,ｶﾀｶﾅｳﾞヵヶ"));
    // Half-width text survives the trip through full width byte for byte.
    EXPECT_EQ(ToHalfWidth(ToFullWidth(lines[0])), lines[0]);
    EXPECT_EQ(ToHalfWidth(ToFullWidth(sj("ABCxyz 0123!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"))),
              sj("ABCxyz 0123!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"));
}

TEST(WidthKana, SampleKana) {
    auto lines = sampleLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(ToKatakana(lines[1]), sj("ABCxyz 0123!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~,"
                                       "ヒラガナ,カタカナヴヵヶ"));
    EXPECT_EQ(ToHiragana(lines[1]), sj("ABCxyz 0123!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~,"
                                       "ひらがな,かたかなヴヵヶ"));
    EXPECT_EQ(ToKatakana(lines[2]), sj("ＡＢＣｘｙｚ　０１２３,ガギグゲゴ,パピプペポ"));
    EXPECT_EQ(ToHiragana(lines[2]), sj("ＡＢＣｘｙｚ　０１２３,がぎぐげご,ぱぴぷぺぽ"));
    // Half-width katakana is not hiragana's counterpart.
    EXPECT_EQ(ToHiragana(lines[0]), lines[0]);
}

TEST(WidthKana, VoicedMarks) {
    EXPECT_EQ(ToFullWidth(sj("ｶﾞｻﾞﾀﾞﾊﾞﾊﾟﾎﾟｳﾞﾂﾞﾄﾞ")), sj("ガザダバパポヴヅド"));
    // Marks that do not combine with what precedes them stay separate.
    EXPECT_EQ(ToFullWidth(sj("ﾞｱﾞｶﾟﾜﾞｦﾞﾞﾞ")), sj("゛ア゛カ゜ワ゛ヲ゛゛゛"));
    EXPECT_EQ(ToFullWidth(sj("ｶﾞﾞ")), sj("ガ゛"));
    EXPECT_EQ(ToFullWidth(sj("ｶ")), sj("カ"));
    // A full-width mark never combines.
    EXPECT_EQ(ToFullWidth(sj("ｶ゛")), sj("カ゛"));
    EXPECT_EQ(ToHalfWidth(sj("ガザダバパポヴヅド゛゜")), sj("ｶﾞｻﾞﾀﾞﾊﾞﾊﾟﾎﾟｳﾞﾂﾞﾄﾞﾞﾟ"));
    EXPECT_EQ(ToHalfWidth(sj("ァッャー。「」、・ヲ")), sj("ｧｯｬｰ｡｢｣､･ｦ"));
}

TEST(WidthKana, CharactersWithoutCounterpartStay) {
    EXPECT_EQ(ToHalfWidth(sj("ヮヰヱヵヶヽヾぁあ漢①")), sj("ヮヰヱヵヶヽヾぁあ漢①"));
    EXPECT_EQ(ToHiragana(sj("ヴヵヶヽヾー")), sj("ヴヵヶゝゞー"));
    EXPECT_EQ(ToKatakana(sj("ぁんゝゞ゛")), sj("ァンヽヾ゛"));
    EXPECT_EQ(ToFullWidth("\t\x7F\r\n"), "\t\x7F\r\n");
    EXPECT_EQ(ToHalfWidth("\t\x7F\r\n"), "\t\x7F\r\n");
}

TEST(WidthKana, UnchangedCharactersKeepTheirCodes) {
    // NEC-selected codes whose preferred code is elsewhere, and the user-defined area.
    const std::string kept = "\xED\x40\xEE\xEF\x87\x54\xF0\x40\xF9\xFC";
    for (auto convert : {ToFullWidth, ToHalfWidth, ToKatakana, ToHiragana})
        EXPECT_EQ(convert(kept), kept);
    EXPECT_EQ(ToFullWidth("\xEE\xFC"), "\xEE\xFC"); // ＂ already full width
    EXPECT_EQ(ToHalfWidth("\xEE\xFC\xEE\xFB"), "\"'");
    EXPECT_EQ(ToFullWidth("\"'\\~"), "\xFA\x57\xFA\x56\x81\x5F\x81\x60");
}

TEST(WidthKana, InvalidBytesPassThrough) {
    std::string bytes = test::readBytes(test::dataFile("invalid-sjis.csv"));
    EXPECT_EQ(ToKatakana(bytes), bytes);
    std::string expected = bytes;
    expected.replace(expected.find("\x83\x5C"), 2, "\x82\xBB"); // ソ → そ
    EXPECT_EQ(ToHiragana(bytes), expected);
    EXPECT_EQ(ToFullWidth("a\x80\xA0\xFD\xFE\xFF\x82"), sj("ａ") + "\x80\xA0\xFD\xFE\xFF\x82");
    EXPECT_EQ(ToHalfWidth("\x85\x40\x82\x60"), "\x85\x40\x41"); // unassigned pair, A
    // A mark after an invalid byte is not composed with anything.
    EXPECT_EQ(ToFullWidth("\x80\xDE"), "\x80\x81\x4A"); // ゛
}

TEST(WidthKana, ALoneLeadByteNeverPairsWithAConvertedCharacter) {
    // Converted, the blank or slash would start with a trail byte and read as one kanji with
    // the lead byte before it; the character after a lone lead byte keeps its bytes instead.
    EXPECT_EQ(ToFullWidth("\x82 \xB6"), "\x82 \x83\x4A"); // lone lead, blank, カ
    EXPECT_EQ(ToFullWidth("\x96/a"), "\x96/\x82\x81");
    EXPECT_EQ(ToFullWidth(ToFullWidth("\x96/a")), ToFullWidth("\x96/a"));
    EXPECT_EQ(ToHiragana("\x81\x0D\x83\x41"), "\x81\x0D\x82\xA0"); // not a trail: converts
}

TEST(WidthKana, LongResultsAreNotCut) {
    std::string text(1000, 'a');
    std::string full = ToFullWidth(text);
    EXPECT_EQ(full.size(), 2000u);
    EXPECT_EQ(ToHalfWidth(full), text);
    std::string kana;
    for (int i = 0; i < 700; ++i) kana += sj("ｶﾞ");
    EXPECT_EQ(ToFullWidth(kana).size(), 1400u);
    EXPECT_EQ(ToHalfWidth(ToFullWidth(kana)), kana);
}

} // namespace
