#include "text/cp932.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using kol::cp932::decodeChar;
using kol::cp932::encodeChar;
using kol::cp932::kReplacement;

struct Decoded {
    char32_t cp;
    std::size_t length;
};

Decoded decode(std::string_view bytes) {
    std::size_t length = 0;
    char32_t cp =
        decodeChar(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), length);
    return {cp, length};
}

// The code written for cp, as a number (0x5C, 0x889F), or -1 when CP932 lacks it.
int encode(char32_t cp) {
    char out[2];
    int n = encodeChar(cp, out);
    if (n == 0) return -1;
    if (n == 1) return static_cast<unsigned char>(out[0]);
    return static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]);
}

std::string pair(unsigned code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

bool isLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Windows' order of preference between the duplicated areas; lower wins.
int area(unsigned code) {
    unsigned lead = code >> 8;
    if (lead == 0x87) return 1;                 // NEC row 13
    if (lead >= 0xFA && lead <= 0xFC) return 2; // IBM extensions
    if (lead >= 0xED && lead <= 0xEE) return 3; // NEC-selected IBM extensions
    return 0;                                   // JIS X 0208 (and the user-defined area)
}

TEST(Cp932Decode, SingleBytes) {
    for (unsigned b = 0; b < 0x80; ++b) {
        Decoded d = decode(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(d.cp, b);
        EXPECT_EQ(d.length, 1u);
    }
    EXPECT_EQ(decode("\\").cp, U'\\'); // not the yen sign
    EXPECT_EQ(decode("~").cp, U'~');   // not the overline
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        EXPECT_EQ(decode(std::string(1, static_cast<char>(b))).cp, 0xFF61 + (b - 0xA1));
    EXPECT_EQ(decode("\xA1").cp, U'｡');
    EXPECT_EQ(decode("\xDF").cp, U'ﾟ');
    for (unsigned b : {0x80u, 0xA0u, 0xFDu, 0xFEu, 0xFFu}) {
        Decoded d = decode(std::string{static_cast<char>(b), 'A'});
        EXPECT_EQ(d.cp, kReplacement) << std::hex << b;
        EXPECT_EQ(d.length, 1u) << std::hex << b;
    }
}

TEST(Cp932Decode, DoubleByteMappingPoints) {
    const std::pair<unsigned, char32_t> points[] = {
        {0x8140, U'\u3000'}, {0x815F, U'＼'},     {0x8160, U'～'},     {0x8161, U'∥'},
        {0x817C, U'－'},     {0x829F, U'ぁ'},     {0x8394, U'ヴ'},     {0x889F, U'亜'},
        {0x955C, U'表'},     {0x8740, U'①'},      {0x878A, U'㈱'},     {0x8754, U'Ⅰ'},
        {0xED40, U'纊'},     {0xEEEF, U'ⅰ'},      {0xFA40, U'ⅰ'},      {0xFC4B, U'黑'},
        {0xF040, U'\uE000'}, {0xF07E, U'\uE03E'}, {0xF080, U'\uE03F'}, {0xF9FC, U'\uE757'},
    };
    for (auto [code, cp] : points) {
        Decoded d = decode(pair(code));
        EXPECT_EQ(d.cp, cp) << std::hex << code;
        EXPECT_EQ(d.length, 2u) << std::hex << code;
    }
}

TEST(Cp932Decode, InvalidSequencesCoverTheRightBytes) {
    // A lone lead byte at the end, and a lead byte before a byte that cannot trail: the lead
    // alone is replaced and the next byte decodes on its own.
    EXPECT_EQ(decode("\x82").cp, kReplacement);
    EXPECT_EQ(decode("\x82").length, 1u);
    EXPECT_EQ(decode("\x82 ").length, 1u);
    EXPECT_EQ(decode("\x82\x0D").length, 1u);
    EXPECT_EQ(decode("\xFC\xFD").length, 1u);
    // A structurally valid pair that names no character stays one unit.
    for (unsigned code : {0x8540u, 0x86FCu, 0xEB9Fu, 0x81ADu, 0x817Fu, 0xFC4Cu}) {
        Decoded d = decode(pair(code));
        EXPECT_EQ(d.cp, kReplacement) << std::hex << code;
        EXPECT_EQ(d.length, 2u) << std::hex << code;
    }
}

TEST(Cp932Decode, InvalidSjisSample) {
    std::string bytes = kol::test::readBytes(kol::test::dataFile("invalid-sjis.csv"));
    EXPECT_EQ(kol::cp932::toUtf8(bytes), "ok,\uFFFD\r\n"
                                         "\uFFFD x,\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\r\n"
                                         "ソ,表\r\n");
    EXPECT_EQ(kol::cp932::toUtf16(bytes), u"ok,\uFFFD\r\n"
                                          u"\uFFFD x,\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\r\n"
                                          u"ソ,表\r\n");
}

TEST(Cp932Encode, PrefersWindowsCodeForDuplicates) {
    // JIS X 0208 over NEC row 13.
    EXPECT_EQ(encode(U'≒'), 0x81E0);
    EXPECT_EQ(encode(U'∵'), 0x81E6);
    EXPECT_EQ(encode(U'￢'), 0x81CA);
    // NEC row 13 over the IBM extensions.
    EXPECT_EQ(encode(U'Ⅰ'), 0x8754);
    EXPECT_EQ(encode(U'№'), 0x8782);
    EXPECT_EQ(encode(U'㈱'), 0x878A);
    // IBM extensions over NEC-selected IBM extensions.
    EXPECT_EQ(encode(U'ⅰ'), 0xFA40);
    EXPECT_EQ(encode(U'纊'), 0xFA5C);
    EXPECT_EQ(encode(U'￤'), 0xFA55);
    EXPECT_EQ(encode(U'＇'), 0xFA56);
    EXPECT_EQ(encode(U'＂'), 0xFA57);
    // Unique codes and single bytes.
    EXPECT_EQ(encode(U'～'), 0x8160);
    EXPECT_EQ(encode(U'＼'), 0x815F);
    EXPECT_EQ(encode(U'∥'), 0x8161);
    EXPECT_EQ(encode(U'－'), 0x817C);
    EXPECT_EQ(encode(U'\\'), 0x5C);
    EXPECT_EQ(encode(U'ｱ'), 0xB1);
}

TEST(Cp932Encode, CharactersCp932Lacks) {
    for (char32_t cp : {U'\u00A5', U'\u203E', U'\u0080', U'\uF8F0', U'\uF8F3', U'\uFFFD', U'\u301C',
                        U'\u2016', U'\u2212', U'€', U'\U0001F600', char32_t{0x110000}})
        EXPECT_EQ(encode(cp), -1) << std::hex << static_cast<unsigned>(cp);
}

TEST(Cp932RoundTrip, EveryDoubleByteCodeReachesItsPreferredCode) {
    int valid = 0;
    std::set<char32_t> points;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLead(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            unsigned code = lead << 8 | trail;
            Decoded d = decode(pair(code));
            ASSERT_EQ(d.length, 2u);
            if (d.cp == kReplacement) continue;
            ++valid;
            points.insert(d.cp);
            int back = encode(d.cp);
            ASSERT_GT(back, 0xFF) << std::hex << code;
            EXPECT_EQ(decode(pair(back)).cp, d.cp) << std::hex << code;
            if (static_cast<unsigned>(back) != code) {
                EXPECT_LT(area(back), area(code)) << std::hex << code << " -> " << back;
            }
        }
    }
    EXPECT_EQ(valid, 9604);
    EXPECT_EQ(points.size(), 9206u);
}

TEST(Cp932RoundTrip, UserDefinedAreaBothWays) {
    unsigned expected = 0xE000;
    for (unsigned lead = 0xF0; lead <= 0xF9; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            unsigned code = lead << 8 | trail;
            EXPECT_EQ(decode(pair(code)).cp, expected) << std::hex << code;
            EXPECT_EQ(encode(expected), static_cast<int>(code)) << std::hex << code;
            ++expected;
        }
    }
    EXPECT_EQ(expected, 0xE758u);
    EXPECT_EQ(encode(U'\uE758'), -1);
}

TEST(Cp932Utf, ConvertsWholeTexts) {
    const std::string sjis = "A\x81\x60\x95\x5C\xB6\xDE\x87\x40";
    EXPECT_EQ(kol::cp932::toUtf8(sjis), "A～表ｶﾞ①");
    EXPECT_EQ(kol::cp932::toUtf16(sjis), u"A～表ｶﾞ①");
    EXPECT_EQ(kol::cp932::fromUtf8("A～表ｶﾞ①"), sjis);
    EXPECT_EQ(kol::cp932::fromUtf16(u"A～表ｶﾞ①"), sjis);
    EXPECT_EQ(kol::sj("確認"), "\x8A\x6D\x94\x46");
    EXPECT_EQ(kol::cp932::toUtf8(""), "");
}

TEST(Cp932Utf, MissingAndMalformedInputUsesTheFallback) {
    // One fallback per missing character, including those beyond the BMP.
    EXPECT_EQ(kol::cp932::fromUtf8("a€b😀c"), "a?b?c");
    EXPECT_EQ(kol::cp932::fromUtf16(u"a😀b", '_'), "a_b");
    EXPECT_EQ(kol::cp932::fromUtf16(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a?b?");
    // Malformed UTF-8 (truncated, overlong, encoded surrogate, stray continuation) is
    // replaced byte by byte and the text after it survives.
    EXPECT_EQ(kol::cp932::fromUtf8("x\xE8\xA1"), "x??");
    EXPECT_EQ(kol::cp932::fromUtf8("\xC0\xAFz"), "??z");
    EXPECT_EQ(kol::cp932::fromUtf8("\xED\xA0\x80y"), "???y");
    EXPECT_EQ(kol::cp932::fromUtf8("\x80表"), "?\x95\x5C");
}

} // namespace
