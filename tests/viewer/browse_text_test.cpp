// List texts from menu captions, numbered documents and the width cycle.
#include "text/cp932.h"
#include "viewer/browse_text.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(BrowseListText, CaptionsLoseTheirAcceleratorAndGetALeadingBlank) {
    EXPECT_EQ(browseListText(sj("2. はじめに")), sj(" 2. はじめに"));
    EXPECT_EQ(browseListText(sj("1. Csv ファイルを開く (&O)")), sj(" 1. Csv ファイルを開く"));
    EXPECT_EQ(browseListText("Help(&H)"), " Help");
    EXPECT_EQ(browseListText("&File"), " ");
}

TEST(DocumentLines, BreaksAtEveryLineEndAndAFinalBreakAddsNoLine) {
    EXPECT_TRUE(documentLines("").empty());
    EXPECT_EQ(documentLines("a\r\nb\rc\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(documentLines("a\r\n\r\n"), (std::vector<std::string_view>{"a", ""}));
}

TEST(DocumentPaneText, NumbersEveryLineWithItsLastFiveDigits) {
    EXPECT_EQ(documentPaneText("one\ntwo\nthree\n", true),
              "00001 one\r\n00002 two\r\n00003 three\r\n");
    EXPECT_EQ(documentPaneText("one\ntwo", false), "one\r\ntwo\r\n");
    EXPECT_EQ(documentPaneText("", true), "");
    std::string many;
    for (int i = 0; i < 123456; ++i) many += "x\n";
    const std::string text = documentPaneText(many, true);
    EXPECT_EQ(text.substr(text.size() - 9), "23456 x\r\n");
}

TEST(DocumentPaneText, KeepsInvalidBytesAndShowsANulAsABlank) {
    const std::string bytes = std::string("a\x81\xFF", 3) + std::string(1, '\0') + "b\x82";
    EXPECT_EQ(documentPaneText(bytes, false), std::string("a\x81\xFF b\x82\r\n"));
}

TEST(WideWidth, ThreeClicksGiveBackTheStartWidth) {
    const WideGeometry g{304, 300, 40, 850};
    EXPECT_EQ(wideWidth(1, g), 324);
    EXPECT_EQ(wideWidth(2, g), 210);
    EXPECT_EQ(wideWidth(3, g), 850);
    EXPECT_EQ(wideWidth(4, g), 324);
}

TEST(LaunchParameter, QuotesAloneNameNothing) {
    EXPECT_FALSE(launchParameterGiven(""));
    EXPECT_FALSE(launchParameterGiven("\"\""));
    EXPECT_FALSE(launchParameterGiven(" \" \" "));
    EXPECT_TRUE(launchParameterGiven("\"/tmp/a b.txt\""));
}

} // namespace
} // namespace kol
