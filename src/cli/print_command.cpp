#include "cli/print_command.h"

#include "print/cell_scale.h"
#include "print/ft_font_metrics.h"
#include "print/grid_print_01.h"
#include "print/headless_print_host.h"
#include "print/pdf_canvas.h"
#include "print/print_export.h"
#include "table/separators.h"
#include "table/table_load.h"
#include "text/cp932.h"
#include "text/text_utils.h"
#include "view/table_view.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kol {

namespace {

using namespace kol::print;

void say(const std::string& cp932Text) {
    std::string utf8 = cp932::toUtf8(cp932Text);
    for (char& ch : utf8)
        if (ch == '\r') ch = '\n';
    while (utf8.find("\n\n\n") != std::string::npos) utf8.replace(utf8.find("\n\n\n"), 3, "\n\n");
    std::cerr << "kolumbra-cli: " << utf8 << '\n';
}

int usage() {
    std::cerr << "usage: kolumbra-cli print --pdf OUT.pdf [OPTIONS] FILE\n"
                 "       kolumbra-cli print --layout [OPTIONS] FILE\n"
                 "       kolumbra-cli html [OPTIONS] FILE OUT.html\n"
                 "OPTIONS: [--pages A-B] [--paper A4|A3|A5|B4|B5] [--landscape]\n"
                 "         [--scale N|--fit-width] [--separator NAME] [--fixed-rows N]\n";
    return 2;
}

// The main window's view switches at their defaults.
class DefaultSwitches : public TableViewSwitches {
public:
    DefaultSwitches(int fixedRows, unsigned char separator, GridMetrics metrics)
        : fixedRows_(fixedRows), separator_(separator), metrics_(metrics) {}
    RowLabelRule rowLabelRule() const override { return {false, fixedRows_}; }
    int titleRowsChoice() const override { return fixedRows_; }
    int keyColumnChoice() const override { return 0; }
    int keyColumnLetters() const override { return 16; }
    bool breakColours() const override { return true; }
    DisplaySwitches displaySwitches() const override { return {}; }
    int foldChoice() const override { return 0; }
    double columnLimit() const override { return 25; }
    unsigned char separator() const override { return separator_; }
    GridMetrics metrics() const override { return metrics_; }

private:
    int fixedRows_;
    unsigned char separator_;
    GridMetrics metrics_;
};

// Questions are answered Yes (creating every row); notices go to standard error.
class CommandPrompts : public Prompts {
public:
    Answer ask(const std::string&, Buttons) override { return Answer::Yes; }
    void inform(const std::string& text) override { say(text); }
    void fail(const std::string& text) override {
        say(text);
        failed = true;
    }
    std::string openFileName(const FileDialogRequest&) override { return {}; }
    std::string saveFileName(const FileDialogRequest&) override { return {}; }
    bool failed = false;
};

struct Options {
    std::string command, pdf, html, file, separator = ",";
    bool layout = false, landscape = false, fitWidth = false;
    int scale = 0, fixedRows = 1, firstPage = 0, lastPage = 0;
    std::string paper = "A4";
};

bool number(const std::string& text, int low, int high, int& out) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || n < low || n > high) return false;
    out = static_cast<int>(n);
    return true;
}

// Parses the options; a message and false on a wrong call.
bool parse(int argc, char** argv, Options& o) {
    o.command = argv[1];
    std::vector<std::string> files;
    bool ended = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (ended || arg == "-" || arg.empty() || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            ended = true;
        } else if (arg == "--pdf" && o.command == "print" && hasValue) {
            o.pdf = argv[++i];
        } else if (arg == "--layout" && o.command == "print") {
            o.layout = true;
        } else if (arg == "--landscape") {
            o.landscape = true;
        } else if (arg == "--fit-width") {
            o.fitWidth = true;
        } else if (arg == "--paper" && hasValue) {
            o.paper = argv[++i];
            if (!isSupportedPaper(o.paper) || o.paper.size() != 2) {
                std::cerr << "kolumbra-cli: --paper takes A4, A3, A5, B4 or B5\n";
                return false;
            }
        } else if (arg == "--scale" && hasValue) {
            if (!number(argv[++i], 10, 1000, o.scale)) {
                std::cerr << "kolumbra-cli: --scale takes 10 to 1000 (per cent)\n";
                return false;
            }
        } else if (arg == "--separator" && hasValue) {
            o.separator = argv[++i];
        } else if (arg == "--fixed-rows" && hasValue) {
            if (!number(argv[++i], 0, 10, o.fixedRows)) {
                std::cerr << "kolumbra-cli: --fixed-rows takes 0 to 10\n";
                return false;
            }
        } else if (arg == "--pages" && hasValue) {
            const std::string range = argv[++i];
            const std::size_t dash = range.find('-');
            if (dash == std::string::npos ||
                !number(range.substr(0, dash), 1, 999999999, o.firstPage) ||
                !number(range.substr(dash + 1), 1, 999999999, o.lastPage)) {
                std::cerr << "kolumbra-cli: --pages takes A-B, page numbers from 1\n";
                return false;
            }
            if (o.firstPage > o.lastPage) {
                std::cerr << "kolumbra-cli: --pages " << range
                          << ": the first page comes after the last\n";
                return false;
            }
        } else {
            usage();
            return false;
        }
    }
    if (o.scale > 0 && o.fitWidth) {
        std::cerr << "kolumbra-cli: --scale and --fit-width exclude each other\n";
        return false;
    }
    if (o.command == "html") {
        if (files.size() != 2) return usage(), false;
        o.file = files[0];
        o.html = files[1];
        return true;
    }
    if (files.size() != 1 || o.pdf.empty() == !o.layout) return usage(), false;
    o.file = files[0];
    return true;
}

// The pagination and what it was worked out from, one item a line.
std::string layoutText(const TfrmGridPrint_01& model) {
    const PrintLayout& layout = model.layout();
    const PageGeometry& g = model.geometry();
    const PrintCopy& copy = model.copy();
    const long double f = model.cellSizeFactor();
    std::ostringstream out;
    auto list = [&](const char* name, int from, int to, bool rows) {
        out << name;
        for (int i = from; i < to; ++i)
            out << ' ' << scaledSize(rows ? copy.rowHeight(i) : copy.colWidth(i), f);
        out << '\n';
    };
    out << "usable-width " << g.usableWidth << '\n' << "usable-height " << g.usableHeight << '\n';
    out << "fixed-rows " << copy.fixedRows() << '\n';
    list("fixed-row-heights", 0, copy.fixedRows(), true);
    out << "fixed-columns " << copy.fixedCols() << '\n';
    list("fixed-column-widths", 0, copy.fixedCols(), false);
    list("row-heights", 0, copy.rowCount(), true);
    list("column-widths", 0, copy.colCount(), false);
    char factor[64];
    std::snprintf(factor, sizeof factor, "%.6Lf", g.onePageFactor);
    out << "one-page-factor " << factor << '\n' << "band-gap " << g.bandGap << '\n';
    out << "pages " << layout.pageCount() << '\n';
    auto span = [&](const CellPos& a, const CellPos& b) {
        out << " rows " << a.row << '-' << b.row << " columns " << a.column << '-' << b.column
            << '\n';
    };
    for (int p = 1; p <= layout.pageCount(); ++p) {
        const PageRecord& page = layout.page(p);
        out << "page " << p;
        span(page.first, page.last);
        for (int b = 0; b < page.bandCount(); ++b) {
            out << "  band " << b + 1;
            span(page.bands[static_cast<std::size_t>(b)].first,
                 page.bands[static_cast<std::size_t>(b)].last);
        }
    }
    return out.str();
}

int fileFailure(const std::string& path, const IoStatus& status) {
    std::cerr << "kolumbra-cli: " << path << ": "
              << cp932::toUtf8(sj("出力ファイルの作成に失敗しました。") + ioReason(status.error))
              << '\n';
    return 1;
}

} // namespace

int printCommand(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) return 2;
    const int sep = findSeparator(cp932::fromUtf8(o.separator));
    if (sep < 0) {
        std::cerr << "kolumbra-cli: unknown separator: " << o.separator << '\n';
        return 2;
    }
    FtFontMetrics metrics(FtFontMetrics::findPrintFaceFile());
    if (!metrics.ok()) {
        std::cerr << "kolumbra-cli: " << metrics.error() << '\n';
        return 1;
    }

    // The table as the main window shows it: loaded, its columns fitted to their texts.
    TableDocument doc;
    TableLoadOptions load;
    load.separator = SeparatorTable()[sep].code;
    load.labels = RowLabelRule{false, o.fixedRows};
    load.titleRows = o.fixedRows + 1;
    const TableLoadResult read = loadTableFile(o.file, doc, load);
    if (!read.ok()) {
        say(loadFailureMessage(o.file, read.error));
        return 1;
    }
    const CanvasFont gridFont{std::string(kPrintFace), kGridFontPixels};
    const GridMetrics grid{metrics.charWidth(gridFont), metrics.charHeight(gridFont),
                           kGridRowHeight};
    DefaultSwitches switches(o.fixedRows, load.separator, grid);
    TableView view(doc, switches);
    // The window's rows: its standard height, not the bare grid's.
    doc.Grid.setDefaultRowHeight(grid.rowHeight);
    view.fitFilledTable(read.filled.longestField);
    // The print hand-off: the row-number column as wide as the last label needs, no key column.
    StringGrid& g = doc.Grid;
    g.setColWidth(0, grid.letterWidth *
                         (static_cast<int>(TrimmedView(g.cell(0, g.rowCount() - 1)).size()) + 2));
    g.setColWidth(1, 0);

    PrintRequest request;
    request.source = &g;
    request.mode = PrintMode::Table;
    request.headings[0] = sj("File.Name:  ") + Trim(o.file);
    request.sourceFont = gridFont;
    request.settings.Prt_Paper = o.paper;
    request.settings.Prt_Orient = o.landscape ? sj("横") : sj("縦");
    if (o.scale > 0) request.settings.CellScale = o.scale;
    request.settings.Cmb_CellWay = o.fitWidth ? 1 : 0;

    CommandPrompts prompts;
    HeadlessPrintHost host(metrics);
    BuiltInPrinter printer;
    TfrmGridPrint_01 model(prompts, host, printer, request);
    model.FormShow();
    if (prompts.failed) return 1; // too large: the message says why
    model.Btn_DataCreateClick();
    if (prompts.failed) return 1;

    if (o.command == "html") {
        const IoStatus written = writeExport(o.html, model.printDataHtml());
        return written ? 0 : fileFailure(o.html, written);
    }
    if (o.layout) {
        std::cout << layoutText(model);
        return std::cout.flush() ? 0 : 1;
    }
    const int pages = model.layout().pageCount();
    const int first = o.firstPage > 0 ? o.firstPage : 1;
    const int last = o.lastPage > 0 ? o.lastPage : pages;
    if (first > pages || last > pages) {
        std::cerr << "kolumbra-cli: --pages " << first << '-' << last << ": the table has " << pages
                  << (pages == 1 ? " page\n" : " pages\n");
        return 2;
    }
    const PaperMm sheet = currentSheet(printer);
    PdfCanvas pdf(o.pdf, sheet.width, sheet.height, printer.page().dotsPerInchY, metrics);
    if (IoStatus opened = pdf.open(); !opened) return fileFailure(o.pdf, opened);
    for (int p = first; p <= last; ++p) {
        pdf.beginPage();
        model.drawPrinterPage(pdf, metrics, p);
        if (IoStatus ended = pdf.endPage(); !ended) return fileFailure(o.pdf, ended);
    }
    if (IoStatus done = pdf.finish(); !done) return fileFailure(o.pdf, done);
    return 0;
}

} // namespace kol
