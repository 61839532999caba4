#include "viewer/help_html.h"

#include "text/html_escape.h"

#include "text/cp932.h"

namespace kol {

namespace {

std::string link(int page, std::string_view text) {
    return "<A href=\"#Page_" + std::to_string(page) + "\">" + std::string(text) + "</A><BR>";
}

void add(std::vector<std::string>& out, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) out.emplace_back(line);
}

// One cell style; the four differ only in a few lines.
void addStyle(std::vector<std::string>& out, std::string_view name, bool cells,
              std::string_view align, bool bottomBar) {
    out.push_back(std::string(name) + " {");
    out.push_back(sj("  font-family:ＭＳ Ｐゴシック;"));
    add(out, {"  font-size:10.5pt;", "  color:White;"});
    if (bottomBar) {
        add(out, {"  background-color:Gray;", "  border-width:1px;", "  border-style:outset;",
                  "  border-color:white;", "  width: 0px;", "  height: 0px;", "}"});
        return;
    }
    out.emplace_back(cells ? "  background-color:#5F5F5F" : "  background-color:Gray;");
    out.emplace_back("  vertical-align:top;");
    out.push_back("  text-align:" + std::string(align) + ";");
    add(out, {"  padding-bottom:30px", "  border-width:1px;"});
    out.emplace_back(cells ? "  border-style:inset;" : "  border-style:outset;");
    out.emplace_back(cells ? "  border-color:Silver;" : "  border-color:white;");
    out.emplace_back("}");
}

} // namespace

std::string escapeHtmlText(std::string_view text) {
    return escapeHtml(text, HtmlQuotes::Kept);
}

std::vector<std::string> helpHtmlLines(std::string_view titleBase, std::string_view caption,
                                       int jumpPage, const std::vector<HelpPage>& pages) {
    std::vector<std::string> out;
    const std::string blank = sj("　");
    // Head.
    out.push_back("<HTML></HEAD><TITLE>" + std::string(titleBase) + "</TITLE></HEAD>");
    add(out, {"<META http-equiv=Content-Type content=text/html; charset=Shift_JIS>",
              "<STYLE type=text/css>", "<!--", ""});
    addStyle(out, "TD.Title", false, "left", false);
    out.emplace_back();
    addStyle(out, "TD.TitleCenter", false, "Center", false);
    out.emplace_back();
    addStyle(out, "TD.Cells", true, "Left", false);
    out.emplace_back();
    addStyle(out, "TD.BottomBar", false, "", true);
    add(out, {"-->", "</STYLE>", "<SCRIPT LANGUAGE=\"JavaScript\">", "<!--",
              "  function LinkJump(Tag) {location.href = Tag}", "-->", "</SCRIPT>", ""});
    const std::string jump =
        jumpPage > 0 ? "OnLoad=LinkJump(\"#Page_" + std::to_string(jumpPage) + "\")" : "";
    out.push_back("<BODY " + jump +
                  " BGCOLOR=#5F5F5F Text=Black Link=White VLink=White ALink=LightSkyBlue>");
    out.emplace_back();
    // Index table.
    add(out, {"<TABLE border=1 CELLSPACING=0 CELLPADDING=8>", "", "<TR>",
              "  <A name=\"Page_0\"></A><BR>", "  <TD Class=TitleCenter ColSpan=3>",
              "    <SPAN style=\"color=White; font-size:18pt; font-weight:bold; "
              "font-style:oblique\">"});
    out.push_back("      " + std::string(caption.substr(0, caption.find('['))) + "Help");
    add(out, {"    </SPAN>", "  </TD>", "</TR>"});
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string& list = pages[i].listText;
        const std::size_t dot = list.find('.');
        const std::string after = dot == std::string::npos ? list : list.substr(dot + 1);
        add(out, {"", "<TR>"});
        out.push_back("  <TD Class=Title>" + n + "</TD>");
        out.push_back("  <TD Class=Title>" + link(static_cast<int>(i + 1), after) + "</TD>");
        out.push_back("  <TD Class=Title>" + blank + "</TD>");
        out.emplace_back("</TR>");
    }
    add(out, {"", "<TR>"});
    out.push_back("  <TD Class=TitleCenter ColSpan=3>" + blank + "</TD>");
    add(out, {"</TR>", "", "</TABLE>", ""});
    for (int i = 0; i < 101; ++i) out.emplace_back("<BR>");
    // Pages.
    add(out, {"<BR><BR>", "<BR><BR>", "<TABLE border=1 CELLSPACING=0 CELLPADDING=8>"});
    const std::string back = sj("戻る");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string& list = pages[i].listText;
        add(out, {"", "<TR>"});
        out.push_back("  <A name=\"Page_" + std::to_string(i + 1) + "\"></A>");
        add(out, {"  <TD Class=Title ColSpan=3>",
                  "    <SPAN style=\"color=White; font-size:12pt; font-weight:bold\">"});
        out.push_back("      <BR>" + list);
        out.push_back("      " + blank + blank + blank + blank + link(0, back) + "<BR>");
        add(out, {"    </SPAN>", "  </TD>", "</TR>", "", "<TR>"});
        out.push_back("  <TD Class=Title>" + blank + "</TD>");
        out.push_back("  <TD Class=Cells>" + list + "<BR><BR>\r\n<Pre>\r\n" +
                      escapeHtmlText(pages[i].text) + "</Pre></TD>");
        out.push_back("  <TD Class=Title>" + blank + "</TD>");
        out.emplace_back("</TR>");
    }
    // Closing and tail.
    add(out, {"", "<TR>", "  <TD Class=TitleCenter ColSpan=3>",
              "    <SPAN style=\"color=White; font-size:12pt; font-weight:bold\">"});
    out.push_back("      <BR>" + link(0, back) + "<BR>");
    add(out, {"    </SPAN>", "  </TD>", "</TR>", "", "</TABLE>", "", "</BODY>", "</HTML>"});
    return out;
}

std::string joinHtmlLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

} // namespace kol
