// kolumbra-cli: the table core without a display, for scripts and for checking behaviour.
//   kolumbra-cli info [--separator NAME] [--fixed-rows N] FILE
//   kolumbra-cli cat [--separator NAME] [--out-separator NAME] FILE
//   kolumbra-cli convert [--separator NAME] [--out-separator NAME]
//                        [--convert full|half|katakana|hiragana] IN OUT
//   kolumbra-cli search [--or] [--separator NAME] [--fixed-rows N] WORDS FILE
//   kolumbra-cli sort --keys N[,N...] [--columns-to-front] [--no-rows] [--separator NAME]
//                     [--fixed-rows N] FILE OUT
//   kolumbra-cli excel [--sheet N] FILE OUT | excel --list FILE
//   kolumbra-cli print --pdf OUT.pdf|--layout [PRINT OPTIONS] FILE
//   kolumbra-cli html [PRINT OPTIONS] FILE OUT.html
//   kolumbra-cli --help | --version
// "--" ends the options of any command, so a word or a file name may begin with "-".
#include "app/version.h"
#include "cli/excel_command.h"
#include "cli/print_command.h"
#include "cli/standard_output.h"
#include "search/table_search.h"
#include "sort/sort_keys_arg.h"
#include "sort/table_sort.h"
#include "table/io_status.h"
#include "table/row_writer.h"
#include "table/separators.h"
#include "table/table_load.h"
#include "table/table_stream.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "text/width_kana.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace kol;

// Messages go to standard error, as the window would show them.
void report(const std::string& text) {
    std::string utf8 = cp932::toUtf8(text);
    for (std::size_t at; (at = utf8.find("\r\n")) != std::string::npos;) utf8.replace(at, 2, "\n");
    std::cerr << "kolumbra-cli: " << utf8 << '\n';
}

// A wrong call gets the usage on standard error and status 2; --help gets it on standard output.
int usage(std::ostream& out = std::cerr, int status = 2) {
    out << "usage: kolumbra-cli info [--separator NAME] [--fixed-rows N] FILE\n"
           "       kolumbra-cli cat [--separator NAME] [--out-separator NAME] FILE\n"
           "       kolumbra-cli convert [--separator NAME] [--out-separator NAME]\n"
           "                            [--convert full|half|katakana|hiragana] IN OUT\n"
           "       kolumbra-cli search [--or] [--separator NAME] [--fixed-rows N] WORDS FILE\n"
           "       kolumbra-cli sort --keys N[,N...] [--columns-to-front] [--no-rows]\n"
           "                         [--separator NAME] [--fixed-rows N] FILE OUT\n"
           "       kolumbra-cli excel [--sheet N] FILE OUT\n"
           "       kolumbra-cli excel --list FILE\n"
           "       kolumbra-cli print --pdf OUT.pdf [PRINT OPTIONS] FILE\n"
           "       kolumbra-cli print --layout [PRINT OPTIONS] FILE\n"
           "       kolumbra-cli html [PRINT OPTIONS] FILE OUT.html\n"
           "PRINT OPTIONS: [--pages A-B] [--paper A4|A3|A5|B4|B5] [--landscape]\n"
           "               [--scale N|--fit-width] [--separator NAME] [--fixed-rows N]\n"
           "       kolumbra-cli --help | --version\n"
           "NAME: a separator name (\"無し\", \",\", \"TAB\", \"空白\", \"|\", ...) or \"Comma\"\n"
           "\"--\" ends the options: what follows is words and files, even if it begins with "
           "\"-\".\n";
    if (status == 0)
        out << "\nReads and writes tables as kolumbra does: Shift-JIS (CP932) text, CR LF lines.\n"
               "Exit status: 0 done, 1 the file could not be read or written, 2 a wrong call.\n";
    return status;
}

bool separatorCode(const std::string& utf8Name, unsigned char& code) {
    int index = findSeparator(cp932::fromUtf8(utf8Name));
    if (index < 0) {
        std::cerr << "kolumbra-cli: unknown separator: " << utf8Name << '\n';
        return false;
    }
    code = SeparatorTable()[index].code;
    return true;
}

// Reports a read that failed (false) or left out what follows a NUL byte, as the window does.
bool reportRead(const std::string& path, const TableLoadResult& read) {
    if (!read.ok()) {
        report(loadFailureMessage(path, read.error));
        return false;
    }
    if (read.droppedFromNul > 0) report(nulCutMessage(path, read.droppedFromNul));
    return true;
}

// The width and kana conversions of the cell popup, over every cell the save writes.
void convertTable(StringGrid& grid, const std::string& conversion) {
    std::string (*map)(std::string_view) = conversion == "full"       ? ToFullWidth
                                           : conversion == "half"     ? ToHalfWidth
                                           : conversion == "katakana" ? ToKatakana
                                                                      : ToHiragana;
    std::vector<std::string> converted;
    std::vector<std::string_view> cells;
    for (int r = 1; r < grid.rowCount(); ++r) {
        cells = grid.rowCells(r);
        converted.clear();
        for (int c = grid.fixedCols(); c < grid.colCount(); ++c) converted.push_back(map(cells[c]));
        for (int c = grid.fixedCols(); c < grid.colCount(); ++c)
            cells[c] = converted[c - grid.fixedCols()];
        grid.setRowCells(r, cells);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "--help") return usage(std::cout, 0);
    if (command == "excel") return excelCommand(argc, argv);
    if (command == "print" || command == "html") return printCommand(argc, argv);
    if (command == "--version") {
        std::cout << "kolumbra-cli " << kVersion << '\n';
        return 0;
    }
    std::string inName = ",", outName, conversion, keyList;
    bool sortRows = true, columnsToFront = false;
    int fixedRows = 1;
    bool anyWord = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnded) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (command == "sort" && (arg == "--columns-to-front" || arg == "--no-rows")) {
            (arg == "--no-rows" ? sortRows : columnsToFront) = arg == "--columns-to-front";
        } else if ((arg == "--separator" || arg == "--out-separator" || arg == "--fixed-rows" ||
                    arg == "--convert" || (arg == "--keys" && command == "sort")) &&
                   i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "--keys") {
                keyList = value;
            } else if (arg == "--convert") {
                if (value != "full" && value != "half" && value != "katakana" &&
                    value != "hiragana")
                    return usage();
                conversion = value;
            } else if (arg == "--separator")
                inName = value;
            else if (arg == "--out-separator")
                outName = value;
            else {
                char* end = nullptr;
                long n = std::strtol(value.c_str(), &end, 10);
                if (*end || n < 0 || n > 10) {
                    std::cerr << "kolumbra-cli: --fixed-rows takes 0 to 10\n";
                    return 2;
                }
                fixedRows = static_cast<int>(n);
            }
        } else if (arg == "--or" && command == "search") {
            anyWord = true;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return usage();
        } else {
            files.push_back(arg);
        }
    }
    const std::size_t wantedFiles =
        command == "convert" || command == "search" || command == "sort" ? 2 : 1;
    if (!conversion.empty() && command != "convert") return usage();
    if ((command != "info" && command != "cat" && command != "convert" && command != "search" &&
         command != "sort") ||
        files.size() != wantedFiles || (command == "sort" && keyList.empty()))
        return usage();
    // search takes its words first; they are split as the search window splits them.
    std::string words;
    if (command == "search") {
        words = cp932::fromUtf8(files[0]);
        files.erase(files.begin());
    }

    unsigned char inSep = ',', outSep = ',';
    if (!separatorCode(inName, inSep)) return 2;
    outSep = inSep;
    if (!outName.empty() && !separatorCode(outName, outSep)) return 2;

    // A table as loading and saving would write it, block by block: no table is built, so a
    // file larger than memory goes through too.
    if (command == "cat") {
        SourceText source;
        if (!reportRead(files[0], readTableSource(files[0], source))) return 1;
        widenStdoutPipe();
        const IoStatus written = streamTableLines(source, inSep, outSep, writeToStdout);
        // What was written is not the file when another program shortened it meanwhile.
        if (source.changedWhileReading()) {
            report(loadFailureMessage(files[0], kChangedWhileReading));
            return 1;
        }
        return written ? 0 : reportStdoutFailure(written);
    }

    TableDocument doc;
    TableLoadOptions options;
    options.separator = inSep;
    options.labels = RowLabelRule{false, fixedRows};
    options.titleRows = fixedRows + 1;
    if (!reportRead(files[0], loadTableFile(files[0], doc, options))) return 1;
    StringGrid& grid = doc.Grid;

    if (command == "info") {
        const std::string text =
            "rows: " +
            GroupThousands(
                std::string(Trim(RowLabel(grid.rowCount() - 1, false, options.labels)))) +
            "\ncolumns: " + std::to_string(grid.colCount() - grid.fixedCols()) + '\n';
        const IoStatus written = writeToStdout(text);
        return written ? 0 : reportStdoutFailure(written);
    }
    if (command == "search") {
        StringGrid results, flags;
        (void)searchText(grid, words, anyWord ? SearchMode::Or : SearchMode::And, results, flags);
        // Rows 1 … last without the fixed columns, as saving writes them.
        widenStdoutPipe();
        const IoStatus written =
            kol::writeRows(results, 1, results.rowCount() - 1, inSep, writeToStdout);
        return written ? 0 : reportStdoutFailure(written);
    }
    if (!conversion.empty()) convertTable(grid, conversion);
    if (command == "sort") {
        std::vector<int> keys;
        std::string problem;
        if (!ParseSortKeys(keyList, grid.colCount() - grid.fixedCols(), keys, problem)) {
            report(problem);
            return 2;
        }
        if (!sortRows && !columnsToFront) {
            report(sj("【 Option 】 をチェックして下さい。"));
            return 2;
        }
        for (int& k : keys) k += grid.fixedCols() - 1;
        if (sortRows) (void)sortRowsByKeys(doc, keys, options.labels);
        if (columnsToFront) moveKeyColumnsToFront(doc, keys);
    }
    if (IoStatus status = writeRowsToFile(grid, 1, grid.rowCount() - 1, outSep, files[1]);
        !status) {
        std::cerr << "kolumbra-cli: " << files[1] << ": "
                  << cp932::toUtf8(sj("出力ファイルの作成に失敗しました。") +
                                   ioReason(status.error))
                  << '\n';
        return 1;
    }
    return 0;
}
