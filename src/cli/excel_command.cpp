#include "cli/excel_command.h"

#include "cli/standard_output.h"
#include "table/row_writer.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "workbook/sheet_import.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace kol {

namespace {
int excelUsage() {
    std::cerr << "usage: kolumbra-cli excel [--sheet N] FILE OUT\n"
                 "       kolumbra-cli excel --list FILE\n";
    return 2;
}

std::string shown(const std::string& cp932Text) {
    std::string utf8 = cp932::toUtf8(cp932Text);
    for (std::size_t at; (at = utf8.find("\r\n")) != std::string::npos;) utf8.replace(at, 2, "\n");
    return utf8;
}
} // namespace

int excelCommand(int argc, char** argv) {
    bool list = false;
    long sheet = 1;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--list") {
            list = true;
        } else if (arg == "--sheet" && i + 1 < argc) {
            char* end = nullptr;
            sheet = std::strtol(argv[++i], &end, 10);
            if (*end || sheet < 1) return excelUsage();
        } else if (!arg.empty() && arg[0] == '-') {
            return excelUsage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != (list ? 1u : 2u)) return excelUsage();

    std::unique_ptr<workbook::Workbook> book;
    workbook::WorkbookResult r = workbook::openWorkbook(files[0], book);
    auto failed = [&] {
        const std::string text =
            r.status == workbook::OpenStatus::NoReader
                ? sj("このマシンには Excel がインストールされていないので\r\nExcel "
                     "ファイルのアクセスはできません。")
                : sj("このファイルは Excel で開けません。\r\n\r\n  PTAH = ") +
                      displayPath(files[0]);
        std::cerr << "kolumbra-cli: " << shown(text) << "\n(" << r.reason << ")\n";
        return 1;
    };
    if (!r.ok()) return failed();
    if (list) {
        std::string text;
        for (const std::string& item : workbook::sheetListItems(*book))
            text += cp932::toUtf8(item) + '\n';
        const IoStatus written = writeToStdout(text);
        return written ? 0 : reportStdoutFailure(written);
    }
    if (static_cast<std::size_t>(sheet) > book->sheetNames().size()) {
        std::cerr << "kolumbra-cli: the workbook has " << book->sheetNames().size()
                  << " sheet(s)\n";
        return 1;
    }
    std::string lines;
    r = workbook::sheetCommaLines(*book, static_cast<std::size_t>(sheet - 1), lines);
    if (!r.ok()) return failed();
    TableDocument doc;
    if (const TableLoadResult loaded =
            workbook::loadCommaLines(std::move(lines), doc, TableLoadOptions{});
        !loaded.ok()) {
        std::cerr << "kolumbra-cli: " << shown(loadFailureMessage(files[0], loaded.error)) << '\n';
        return 1;
    }
    if (const IoStatus status =
            writeRowsToFile(doc.Grid, 1, doc.Grid.rowCount() - 1, ',', files[1]);
        !status) {
        std::cerr << "kolumbra-cli: " << files[1] << ": "
                  << cp932::toUtf8(sj("出力ファイルの作成に失敗しました。") +
                                   ioReason(status.error))
                  << '\n';
        return 1;
    }
    return 0;
}

} // namespace kol
