// Opening one sheet of a workbook as the table, read by the program itself; the clipboard is
// never used for it.
#include "app/csv_excel.h"
#include "app/kolumbra01.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "workbook/workbook.h"

namespace kol {

void TFm_Kolumbra01::Btn_ExcelClick() {
    // A Yes whose save failed or was cancelled keeps the changes: nothing is imported over them.
    if (Modified == 1 && AskSaveChanges(Buttons::YesNo) == Answer::Cancel) return;
    std::string dir = directoryOf(Settings.Path_ExcelFile);
    if (dir.empty()) dir = directoryOf(joinPath(programDir_, "x"));
    FileDialogRequest request;
    request.title = sj("読み込む Excel ファイルを選択して下さい。");
    request.filter = "(*.xls; *.xlsx)|*.xls; *.xlsx|(*.xls)|*.xls|(*.xlsx)|*.xlsx|(*.*)|*.*";
    request.directory = dir;
    request.fileName = dir + "*" + ".xls";
    request.mustExist = true;
    const std::string chosen = prompts_.openFileName(request);
    if (!chosen.empty()) ExcelImport(chosen);
}

void TFm_Kolumbra01::ExcelImport(const std::string& path) {
    Settings.Path_ExcelFile = Trim(path);
    std::unique_ptr<workbook::Workbook> book;
    workbook::WorkbookResult opened;
    {
        BusyCursor busy(host_);
        opened = workbook::openWorkbook(path, book);
    }
    const std::string cannotOpen =
        sj("このファイルは Excel で開けません。\r\n\r\n  PTAH = ") + displayPath(path);
    if (opened.status == workbook::OpenStatus::NoReader) {
        prompts_.fail(sj("このマシンには Excel がインストールされていないので\r\nExcel "
                         "ファイルのアクセスはできません。"));
        return;
    }
    if (!opened.ok()) {
        prompts_.fail(cannotOpen);
        return;
    }
    TfrmCsvExcel chooser(host_, TfrmCsvExcel::Mode::Read, path, *book, CsvFileInf);
    host_.runCsvExcel(chooser);
    if (!chooser.OK) {
        if (!chooser.Result.ok()) prompts_.fail(cannotOpen);
        return;
    }
    CsvFileInf.Loaded = true;
    CsvFileInf.FileName = path;
    // The transfer wrote comma lines: they are split with the comma whatever the combo shows.
    const unsigned char kept = CurrentSeparator;
    CurrentSeparator = ',';
    LoadTable(std::string(), 0);
    CurrentSeparator = kept;
}

} // namespace kol
