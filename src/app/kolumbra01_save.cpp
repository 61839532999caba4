// Saving: the changed-content prompt, the save command and its dialog, the range output.
#include "app/csv_fixed.h"
#include "app/kolumbra01.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "workbook/workbook.h"

namespace kol {

Answer TFm_Kolumbra01::AskSaveChanges(Buttons buttons) {
    // What the record editor holds is part of what is asked about and saved.
    Record->flushToTable();
    Answer answer = prompts_.ask(sj("内容が変更されています。\r\n\r\n保存しますか？"), buttons);
    if (answer != Answer::Yes) return answer;
    Mn_FileSaveClick(SaveSender::Menu);
    // A save that failed or whose dialog was cancelled must not let the caller drop the changes.
    return Modified == 1 ? Answer::Cancel : answer;
}

std::string TFm_Kolumbra01::ChooseSaveFile(const std::string& startName, const std::string& title) {
    FileDialogRequest request;
    request.fileName = openDialogStart(startName, request.directory, request.filter);
    request.title = title;
    request.askOverwrite = true;
    std::string chosen = prompts_.saveFileName(request);
    if (!chosen.empty() && extensionOf(chosen).empty()) chosen += ".csv";
    return chosen;
}

void TFm_Kolumbra01::Mn_FileSaveClick(SaveSender sender) {
    Record->flushToTable();
    std::string name = CsvFileInf.FileName;
    // The workbook a sheet was imported from is never overwritten with CSV text: the dialog
    // proposes its name with ".csv" instead.
    const bool workbook = workbook::isWorkbookName(name);
    if (workbook) name = name.substr(0, name.size() - extensionOf(name).size()) + ".csv";
    if (sender == SaveSender::Button && !Trim(name).empty() && !workbook) {
        if (prompts_.ask(sj("編集中の内容を下記のファイル名で保存します。\r\n\r\n     PATH = ") +
                             displayPath(name),
                         Buttons::YesNo) != Answer::Yes)
            return;
    } else {
        name = ChooseSaveFile(name, sj("Csv ファイルとして指定のファイル名で保存します。"));
        if (name.empty()) return;
    }
    Settings.Path_EditFile = name;
    TFm_CsvFixed writer(prompts_, host_, Grid, CsvFileInf, 0, Grid.rowCount() - 1, CurrentSeparator,
                        programDir_);
    // A failed write keeps the changes marked as unsaved, the history and the old name.
    if (!writer.WriteRows(name)) return;
    CsvFileInf.FileName = name;
    UpdateCaptions();
    Modified = 0;
    ClearHistory();
}

void TFm_Kolumbra01::Mn_OutputCsvClick() {
    TFm_CsvFixed window(prompts_, host_, Grid, CsvFileInf, 0, Grid.rowCount() - 1, CurrentSeparator,
                        programDir_);
    host_.runCsvFixed(window);
}

} // namespace kol
