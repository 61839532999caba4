#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace {

using namespace kol;

// Shift-JIS bytes used below: ア 83 41, ソ 83 5C, 表 95 5C, あ 82 A0.
const std::string kA = "\x83\x41";
const std::string kSo = "\x83\x5C";
const std::string kHyo = "\x95\x5C";

TEST(TextUtils, ByteKinds) {
    EXPECT_EQ(ByteKinds(""), "");
    EXPECT_EQ(ByteKinds("a" + kHyo + "\xB1" + kSo), "012012");
    EXPECT_EQ(ByteKinds("a\x82"), "00");         // lone lead byte at the end
    EXPECT_EQ(ByteKinds("\x82 x"), "000");       // lead before a non-trail byte
    EXPECT_EQ(ByteKinds("\x82\x82\xA0"), "120"); // pairs are taken left to right
    EXPECT_EQ(ByteKinds("\x80\xA0\xFD\xFE\xFF"), "00000");
    EXPECT_EQ(ByteKinds("\x81\x40\x9F\xFC\xE0\x40\xFC\xFC\xA0\x40\x81\x3F"), "121212120000");
}

TEST(TextUtils, Trimming) {
    EXPECT_EQ(Trim(" \t\r\n ab c\x01 "), "ab c");
    EXPECT_EQ(TrimLeft("  ab  "), "ab  ");
    EXPECT_EQ(TrimRight("  ab \x1F"), "  ab");
    EXPECT_EQ(Trim("   "), "");
    // A full-width blank is text, not a blank byte.
    EXPECT_EQ(Trim("\x81\x40"), "\x81\x40");
}

TEST(TextUtils, PadLeftTo) {
    EXPECT_EQ(PadLeftTo('0', " 42 ", 5), "00042");
    EXPECT_EQ(PadLeftTo('0', "1234567", 5), "34567");
    EXPECT_EQ(PadLeftTo(' ', "abcde", 5), "abcde");
    EXPECT_EQ(PadLeftTo(' ', "", 3), "   ");
    EXPECT_EQ(PadLeftTo(' ', "abc", 0), "");
    EXPECT_EQ(PadLeftTo(' ', "abc", -2), "");
    EXPECT_EQ(PadLeftTo(' ', kA + kHyo, 4), kA + kHyo);
    // Cutting into a character leaves no stray trail byte at the front.
    EXPECT_EQ(PadLeftTo(' ', kA + kHyo, 3), " " + kHyo);
    EXPECT_EQ(PadLeftTo('*', "x" + kHyo, 2), kHyo);
}

TEST(TextUtils, PadRightTo) {
    EXPECT_EQ(PadRightTo(' ', "  ab ", 4), "ab  ");
    EXPECT_EQ(PadRightTo(' ', "abcdef", 4), "abcd");
    EXPECT_EQ(PadRightTo('-', "abcd", 4), "abcd");
    EXPECT_EQ(PadRightTo(' ', "abc", 0), "");
    // Cutting into a character leaves no lone lead byte at the end.
    EXPECT_EQ(PadRightTo(' ', kA + kHyo, 3), kA + " ");
    EXPECT_EQ(PadRightTo(' ', "a" + kHyo + "b", 3), "a" + kHyo);
}

TEST(TextUtils, FindTextStartsOnlyOnCharacterBoundaries) {
    // 0x5C inside ソ and 表 is a trail byte, never a backslash.
    const std::string text = kSo + kHyo + "\\x";
    EXPECT_EQ(FindText(text, "\\"), 4u);
    EXPECT_EQ(FindText(text, "A"), std::string::npos);
    EXPECT_EQ(FindText(kA + "A", "A"), 2u);
    EXPECT_EQ(FindText(text, kHyo), 2u);
    // A "character" made of the trail of one and the lead of the next is not found.
    EXPECT_EQ(FindText(kSo + kHyo, "\x5C\x95"), std::string::npos);
    EXPECT_EQ(FindText("abcabc", "bc", 2), 4u);
    EXPECT_EQ(FindText("abc", "bc", 9), std::string::npos);
    EXPECT_EQ(FindText("abc", ""), std::string::npos);
    EXPECT_EQ(FindText("ab", "abc"), std::string::npos);
}

TEST(TextUtils, ReplaceAll) {
    EXPECT_EQ(ReplaceAll("\"a\"\"b\"", "\"", ""), "ab");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("", "a", "x"), "");
    EXPECT_EQ(ReplaceAll("abc", "b", "xyz"), "axyzc");
    // Trail bytes that look like the search text are left alone.
    EXPECT_EQ(ReplaceAll(kSo + "\\" + kHyo, "\\", ""), kSo + kHyo);
    EXPECT_EQ(ReplaceAll(kA + "A" + kA, "A", "-"), kA + "-" + kA);
}

TEST(TextUtils, DigitsAndThousands) {
    EXPECT_EQ(DigitsOnly("1,234-56\x82\x4F x9"), "1234569"); // full-width ０ is no digit byte
    EXPECT_EQ(DigitsOnly(""), "");
    EXPECT_EQ(GroupThousands(""), "");
    EXPECT_EQ(GroupThousands("1"), "1");
    EXPECT_EQ(GroupThousands("123"), "123");
    EXPECT_EQ(GroupThousands("1000"), "1,000");
    EXPECT_EQ(GroupThousands("123456"), "123,456");
    EXPECT_EQ(GroupThousands("1234567"), "1,234,567");
}

TEST(TextUtils, FoldTextKeepsCharactersWhole) {
    // The fourth byte is a lead byte: the first line gets three bytes and a blank.
    EXPECT_EQ(FoldText("abc" + kA + "de", 4, false), "abc " + kA + "de");
    EXPECT_EQ(FoldText("abcdefgh", 4, false), "abcdefgh");
    EXPECT_EQ(FoldText("abcdefghi", 4, false), "abcdefghi");
    EXPECT_EQ(FoldText(kA + kA + kA, 2, false), kA + kA + kA);
    EXPECT_EQ(FoldText("a" + kA + kA, 2, false), "a " + kA + kA);
    EXPECT_EQ(FoldText("abc", 1, false), "");
    EXPECT_EQ(FoldText("abc", 0, true), "");
    EXPECT_EQ(FoldText("", 4, true), "");
}

TEST(TextUtils, FoldTextTrimming) {
    EXPECT_EQ(FoldText("  ab  ", 3, false), "  ab");
    EXPECT_EQ(FoldText("  ab  ", 3, true), "ab");
    // Inner blanks ending a line stay, so the next line keeps its place.
    EXPECT_EQ(FoldText("ab  cd", 3, true), "ab  cd");
    // Leading blanks go before folding, so no line is shifted into the middle of a character.
    std::string folded = FoldText(" " + kA + kA, 4, true);
    EXPECT_EQ(folded, kA + kA);
    EXPECT_EQ(ByteKinds(folded.substr(0, 4)), "1212");
}

TEST(TextUtils, FoldTextOddBytes) {
    // A lead byte at the end pairs with nothing, not even the blanks folding adds: it stays.
    EXPECT_EQ(FoldText("abc\x82", 4, false), "abc\x82");
    EXPECT_EQ(FoldText("abc\x82", 3, false), "abc\x82");
    // A lead byte before a byte that cannot trail is a byte of its own and may end a line.
    EXPECT_EQ(FoldText("ab\x82 cd", 3, false), "ab\x82 cd");
    EXPECT_EQ(FoldText("ab\x82\xA0", 3, false), "ab \x82\xA0");
    // Pairs are taken left to right: 82 82 is a character, the A0 after it a byte alone.
    EXPECT_EQ(FoldText("a\x82\x82\xA0", 2, false), "a \x82\x82\xA0");
    // Bytes no character starts with (80, A0, FD-FF) never pair.
    EXPECT_EQ(FoldText("\x80\xFD\xFE\xFF\xA0", 2, false), "\x80\xFD\xFE\xFF\xA0");
}

TEST(TextUtils, FoldTextLongCellInLinearTime) {
    std::string text;
    for (int i = 0; i < 50'000; ++i) text += kA; // 100,000 bytes
    std::string expected;
    for (int i = 0; i < 50'000; ++i) expected += kA + " ";
    expected.pop_back();
    const auto start = std::chrono::steady_clock::now();
    const std::string folded = FoldText(text, 3, false);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(folded, expected);
    // Linear takes well under a millisecond; a copy of the rest per line would take seconds.
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
}

TEST(TextUtils, Bits) {
    std::array<std::uint8_t, 17> bits{};
    SetBit(bits.data(), 16, 0, 1);
    SetBit(bits.data(), 16, 9, 1);
    SetBit(bits.data(), 16, 128, 1);
    EXPECT_EQ(bits[0], 0x80);
    EXPECT_EQ(bits[1], 0x40);
    EXPECT_EQ(bits[16], 0x80);
    EXPECT_TRUE(TestBit(bits.data(), 16, 0));
    EXPECT_TRUE(TestBit(bits.data(), 16, 9));
    EXPECT_FALSE(TestBit(bits.data(), 16, 8));
    EXPECT_TRUE(TestBit(bits.data(), 16, 128));
    SetBit(bits.data(), 16, 9, 0);
    EXPECT_EQ(bits[1], 0x00);
    SetBit(bits.data(), 16, 7, 5); // any non-zero value sets
    EXPECT_EQ(bits[0], 0x81);

    // Past 8 * h (and below 0) nothing is read or written.
    bits.fill(0xFF);
    SetBit(bits.data(), 16, 129, 0);
    SetBit(bits.data(), 16, -1, 0);
    EXPECT_EQ(bits[16], 0xFF);
    EXPECT_FALSE(TestBit(bits.data(), 16, 129));
    EXPECT_FALSE(TestBit(bits.data(), 16, -1));
    EXPECT_FALSE(TestBit(bits.data(), 0, 1));
    EXPECT_TRUE(TestBit(bits.data(), 0, 0));
}

TEST(TextUtils, BitsInASpanStayInside) {
    std::array<std::uint8_t, 2> bits{};
    std::span<std::uint8_t> span(bits);
    SetBit(span, 16, 15, 1);
    SetBit(span, 16, 16, 1); // allowed by h, but beyond the span
    EXPECT_EQ(bits[1], 0x01);
    EXPECT_TRUE(TestBit(std::span<const std::uint8_t>(bits), 16, 15));
    EXPECT_FALSE(TestBit(std::span<const std::uint8_t>(bits), 16, 16));
}

} // namespace
