// The HTML help page: its lines as the browser reads them, the index, the pages and the jump.
#include "text/cp932.h"
#include "viewer/help_html.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kol {
namespace {

std::vector<HelpPage> sevenPages() {
    std::vector<HelpPage> pages;
    for (int i = 1; i <= 7; ++i)
        pages.push_back({" " + std::to_string(i) + ". Doc" + std::to_string(i),
                         "text " + std::to_string(i) + "\r\n"});
    return pages;
}

long countOf(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

TEST(HelpHtml, SevenEntriesTheThirdShown) {
    const auto lines =
        helpHtmlLines("Kolumbra Browse", "Kolumbra Browse  [ /x/y.Txt ]", 3, sevenPages());
    EXPECT_EQ(lines[0], "<HTML></HEAD><TITLE>Kolumbra Browse</TITLE></HEAD>");
    EXPECT_EQ(countOf(lines, "<BODY OnLoad=LinkJump(\"#Page_3\") BGCOLOR=#5F5F5F Text=Black "
                             "Link=White VLink=White ALink=LightSkyBlue>"),
              1);
    EXPECT_EQ(countOf(lines, "      Kolumbra Browse  Help"), 1);
    for (int i = 1; i <= 7; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(countOf(lines, "  <TD Class=Title><A href=\"#Page_" + n + "\"> Doc" + n +
                                     "</A><BR></TD>"),
                  1);
        EXPECT_EQ(countOf(lines, "  <A name=\"Page_" + n + "\"></A>"), 1);
        EXPECT_EQ(countOf(lines, "  <TD Class=Cells> " + n + ". Doc" + n +
                                     "<BR><BR>\r\n<Pre>\r\ntext " + n + "\r\n</Pre></TD>"),
                  1);
    }
    const std::string back =
        "      " + sj("　　　　") + "<A href=\"#Page_0\">" + sj("戻る") + "</A><BR><BR>";
    EXPECT_EQ(countOf(lines, back), 7);
    EXPECT_EQ(countOf(lines, "<BR>"), 101);
    EXPECT_EQ(lines.back(), "</HTML>");
}

TEST(HelpHtml, NoSelectionMeansNoJumpAndACaptionWithoutBracketIsWhole) {
    const auto lines = helpHtmlLines("B", "B extra", 0, {});
    EXPECT_EQ(countOf(lines, "<BODY  BGCOLOR=#5F5F5F Text=Black Link=White VLink=White "
                             "ALink=LightSkyBlue>"),
              1);
    EXPECT_EQ(countOf(lines, "      B extraHelp"), 1);
}

TEST(HelpHtml, TheStylesAreWrittenLineForLine) {
    const auto lines = helpHtmlLines("B", "B", 0, {});
    const std::vector<std::string> title = {"TD.Title {",
                                            sj("  font-family:ＭＳ Ｐゴシック;"),
                                            "  font-size:10.5pt;",
                                            "  color:White;",
                                            "  background-color:Gray;",
                                            "  vertical-align:top;",
                                            "  text-align:left;",
                                            "  padding-bottom:30px",
                                            "  border-width:1px;",
                                            "  border-style:outset;",
                                            "  border-color:white;",
                                            "}"};
    auto at = std::search(lines.begin(), lines.end(), title.begin(), title.end());
    EXPECT_EQ(at - lines.begin(), 5);
    const std::vector<std::string> cells = {"TD.Cells {",
                                            sj("  font-family:ＭＳ Ｐゴシック;"),
                                            "  font-size:10.5pt;",
                                            "  color:White;",
                                            "  background-color:#5F5F5F",
                                            "  vertical-align:top;",
                                            "  text-align:Left;",
                                            "  padding-bottom:30px",
                                            "  border-width:1px;",
                                            "  border-style:inset;",
                                            "  border-color:Silver;",
                                            "}"};
    EXPECT_NE(std::search(lines.begin(), lines.end(), cells.begin(), cells.end()), lines.end());
    EXPECT_EQ(countOf(lines, "  text-align:Center;"), 1);
    const std::vector<std::string> bar = {
        "  border-color:white;", "  width: 0px;", "  height: 0px;", "}", "-->", "</STYLE>"};
    EXPECT_NE(std::search(lines.begin(), lines.end(), bar.begin(), bar.end()), lines.end());
}

TEST(HelpHtml, DocumentTextIsEscapedAndEveryOtherByteKept) {
    // "表" is 0x95 0x5C: its trail byte is a backslash, and stays one.
    const std::string text = "<B>a & b</B> " + sj("表") + std::string("\xFF\x81", 2);
    const auto lines = helpHtmlLines("B", "B", 1, {{" 1. X", text}});
    const std::string expected = "  <TD Class=Cells> 1. X<BR><BR>\r\n<Pre>\r\n&lt;B&gt;a &amp; "
                                 "b&lt;/B&gt; " +
                                 sj("表") + std::string("\xFF\x81", 2) + "</Pre></TD>";
    EXPECT_EQ(countOf(lines, expected), 1);
    EXPECT_EQ(escapeHtmlText("&amp;"), "&amp;amp;");
}

TEST(HelpHtml, EveryLineEndsInCrLf) {
    EXPECT_EQ(joinHtmlLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

} // namespace
} // namespace kol
