#include "print/print_export.h"

#include "text/html_escape.h"

#include "table/atomic_file.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <array>

namespace kol::print {

std::string printCsv(const PrintCopy& copy) {
    std::string out;
    for (int r = 0; r < copy.rowCount(); ++r) {
        for (int c = 0; c < copy.colCount(); ++c) {
            if (c > 0) out += ',';
            const std::string_view cell = copy.cell(c, r);
            if (cell.find(',') == std::string_view::npos) {
                out += cell;
                continue;
            }
            out += '"';
            for (char ch : cell) {
                if (ch == '"') out += '"';
                out += ch;
            }
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

std::string escapeHtml(std::string_view cp932) {
    return kol::escapeHtml(cp932, HtmlQuotes::Escaped);
}

namespace {

struct StyleClass {
    const char* name;
    const char* colour;
    const char* background;
    const char* align;
    bool fixedBorder; // outset white, else inset silver
};

constexpr std::array<StyleClass, 9> kCellClasses{{
    {"TD.Title {", "White", "Gray", "center", true},
    {"TD.FixedsLeft {", "White", "Gray", "Left", true},
    {"TD.FixedsCenter {", "White", "Gray", "Center", true},
    {"TD.CellsLeftSilver {", "Black", "#C0C0C0", "Left", false},
    {"TD.CellsLeftDark {", "Black", "#B0B0B0", "Left", false},
    {"TD.CellsLeftBlack {", "White", "Gray", "Left", false},
    {"TD.CellsCenterSilver {", "Black", "#C0C0C0", "Center", false},
    {"TD.CellsCenterDark {", "Black", "#B0B0B0", "Center", false},
    {"TD.CellsCenterBlack {", "White", "Gray", "Center", false},
}};

class HtmlWriter {
public:
    HtmlWriter(const PrintCopy& copy, const HtmlOptions& options) : copy_(copy), o_(options) {}

    std::string document() {
        head();
        headings();
        if (o_.mode == PrintMode::Table)
            tableBody();
        else
            listingBody();
        for (const char* l : {"", "</TABLE>", "", "</BODY>", "</HTML>"}) line(l);
        return std::move(out_);
    }

private:
    void line(std::string_view text) {
        out_ += text;
        out_ += "\r\n";
    }

    void head() {
        line("<HTML></HEAD><TITLE> </TITLE></HEAD>");
        line("<META http-equiv=Content-Type content=text/html; charset=Shift_JIS>");
        line("<STYLE type=text/css>");
        line("<!--");
        line("");
        const std::string font = sj("  font-family:ＭＳ Ｐゴシック;");
        for (const StyleClass& k : kCellClasses) {
            line(k.name);
            line(font);
            line("  font-size:10pt;");
            line(std::string("  color:") + k.colour + ";");
            line(std::string("  background-color:") + k.background + ";");
            line("  vertical-align:top;");
            line(std::string("  text-align:") + k.align + ";");
            line("  padding-bottom:30px");
            line("  border-width:1px;");
            line(k.fixedBorder ? "  border-style:outset;" : "  border-style:inset;");
            line(k.fixedBorder ? "  border-color:white;" : "  border-color:Silver;");
            line("}");
            line("");
        }
        line("TD.BottomBar {");
        line(font);
        line("  font-size:10pt;");
        for (const char* l : {"  color:White;", "  background-color:Gray;", "  border-width:1px;",
                              "  border-style:outset;", "  border-color:white;", "  width: 0px;",
                              "  height: 0px;", "}", "-->", "</STYLE>", ""})
            line(l);
        line("<BODY BGCOLOR=#5F5F5F Text=Black Link=White VLink=White ALink=LightSkyBlue>");
        line("");
        line("<TABLE border=1 CELLSPACING=0 CELLPADDING=8>");
        line("");
    }

    void headings() {
        line("<SPAN style=\"color=White; font-size:12pt; font-weight:bold\">");
        for (const std::string& h : o_.headings)
            if (!h.empty()) line("  " + escapeHtml(h) + "<BR>");
        line("</SPAN>");
        line("<BR><BR>");
    }

    // The cell's text in lines of k bytes, as the page shows them, joined by "<BR>"; then the
    // print text rule; a blank content shows as an ideographic space so the cell keeps its box.
    std::string content(int c, int r) const {
        const int k = std::max(1, c < static_cast<int>(o_.wrapBytes.size())
                                      ? o_.wrapBytes[static_cast<std::size_t>(c)]
                                      : 1);
        const std::string folded = FoldText(copy_.cell(c, r), k, false);
        const auto step = static_cast<std::size_t>(k);
        std::string joined;
        int lines = 0;
        for (std::size_t at = 0; at < folded.size(); at += step) {
            if (o_.maxLines > 0 && lines == o_.maxLines) break;
            const std::string_view piece = std::string_view(folded).substr(at, step);
            if (IsBlank(piece)) break;
            if (lines++ > 0) joined += "<BR>";
            joined += escapeHtml(piece);
        }
        std::string shown = printText(joined, o_.text);
        if (IsBlank(shown)) shown = sj("　");
        return shown;
    }

    const char* dataOpening(int c, int r) const {
        const bool emptyRow = o_.emptyRows != EmptyRowFill::None && copy_.rowEmpty(r);
        const bool broken =
            o_.breakColour && c <= BreakBitTable::kLastColumn && copy_.breakBits().test(r, c);
        if (o_.dataCentre) {
            if (emptyRow)
                return o_.emptyRows == EmptyRowFill::Light ? "  <TD Class=CellsCenterDark nowrap>"
                                                           : "  <TD Class=CellsCenterBlack nowrap>";
            return broken ? "  <TD Class=CellsCenterDark nowrap>"
                          : "  <TD Class=CellsCenterSilver nowrap>";
        }
        if (emptyRow)
            return o_.emptyRows == EmptyRowFill::Light ? "  <TD Class=CellsLeftDark nowrap>"
                                                       : "  <TD Class=CellsLeftBlack nowrap>";
        return broken ? "  <TD Class=CellsLeftDark nowrap><Pre>"
                      : "  <TD Class=CellsLeftSilver nowrap><Pre>";
    }

    void tableBody() {
        const int fixedRows = std::max(copy_.fixedRows(), 0);
        const int fixedCols = std::max(copy_.fixedCols(), 0);
        std::string header;
        int dataRows = 0;
        std::string row;
        for (int r = 0; r < copy_.rowCount(); ++r) {
            if (copy_.rowHeight(r) != 0) {
                row = "\r\n<TR>\r\n";
                for (int c = 0; c < copy_.colCount(); ++c) {
                    if (copy_.colWidth(c) == 0) continue;
                    const bool fixed = c < fixedCols || r < fixedRows;
                    row += fixed ? (o_.fixedCentre ? "  <TD Class=FixedsCenter nowrap>"
                                                   : "  <TD Class=FixedsLeft nowrap><Pre>")
                                 : dataOpening(c, r);
                    row += content(c, r);
                    row += "</TD>\r\n";
                }
                if (fixedCols > 0) row += sj("  <TD Class=FixedsLeft nowrap>　</TD>\r\n");
                row += "</TR>\r\n";
                out_ += row;
                if (r < fixedRows) {
                    header += row.substr(2); // the empty line before "<TR>" is not collected
                } else if (++dataRows % 20 == 0) {
                    out_ += header;
                }
            }
            if (r == copy_.rowCount() - 1) out_ += header;
        }
    }

    void listingBody() {
        int visible = 0;
        for (int w : copy_.widths())
            if (w > 0) ++visible;
        if (copy_.fixedCols() > 0) ++visible;
        std::string text = "<TD Class=CellsLeftSilver nowrap ColSpan=" + std::to_string(visible) +
                           ">" + "\r\n<PRE>";
        const int last = std::min(o_.lastLaidOutRow, copy_.rowCount() - 1);
        for (int r = 0; r <= last; ++r) text += "\r\n" + escapeHtml(copy_.cell(0, r));
        text += "\r\n</PRE>\r\n</TD>";
        line(text);
    }

    const PrintCopy& copy_;
    const HtmlOptions& o_;
    std::string out_;
};

} // namespace

std::string printHtml(const PrintCopy& copy, const HtmlOptions& options) {
    return HtmlWriter(copy, options).document();
}

IoStatus writeExport(const std::string& path, std::string_view bytes) {
    return writeFileAtomically(path, bytes);
}

} // namespace kol::print
