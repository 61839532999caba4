#include "app/csv_excel.h"

#include "table/source_text.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/text_utils.h"
#include "workbook/sheet_import.h"

namespace kol {

TfrmCsvExcel::TfrmCsvExcel(BusyIndicator& busy, Mode mode, std::string path,
                           workbook::Workbook& book, TCsvFileInf& target)
    : busy_(busy), mode_(mode), path_(std::move(path)), book_(book), target_(target) {
    btnOK.Caption = sj("ＯＫ");
    btnClose.Caption = sj("ｷｬﾝｾﾙ");
    mnClose.Caption = sj("閉じる(&X)");
    FormCreate();
}

void TfrmCsvExcel::FormCreate() {
    OK = false;
    edtMemo.Text.clear();
    edtSheetName.Text.clear();
    pnlPathGuide.Caption.clear();
    lstSheet.Items.clear();
    lstSheet.ItemIndex = -1;
}

void TfrmCsvExcel::FormShow() {
    if (mode_ != Mode::Read) return;
    edtMemo.Text = displayPath(path_);
    Caption = sj("Kolumbra  Excel ファイルの読み込み");
    pnlPathGuide.Caption = sj(" 入力ファイル");
    labOpeGuide.Caption = sj("(読み込むシート名を選択して下さい)");
    edtSheetName.ReadOnly = true;
    edtSheetName.Color = 0xFFFFFF;
    edtSheetName.FontColor = 0xFF0000;
    lstSheet.Items = workbook::sheetListItems(book_);
    edtSheetName.Text.clear();
    btnOK.Enabled = false;
    if (!lstSheet.Items.empty()) {
        btnOK.Enabled = true;
        lstSheet.ItemIndex = 0;
        lstSheetClick();
    }
}

void TfrmCsvExcel::lstSheetClick() {
    const std::string item = lstSheet.text();
    const std::size_t dot = item.find('.');
    edtSheetName.Text = dot == std::string::npos ? std::string() : Trim(item.substr(dot + 1));
}

void TfrmCsvExcel::btnOKClick() {
    if (lstSheet.ItemIndex < 0 || lstSheet.ItemIndex >= static_cast<int>(lstSheet.Items.size()))
        return;
    {
        BusyCursor busy(busy_);
        SheetName = Trim(edtSheetName.Text);
        std::string lines;
        Result =
            workbook::sheetCommaLines(book_, static_cast<std::size_t>(lstSheet.ItemIndex), lines);
        // A sheet that cannot be read leaves the descriptor as it was.
        OK = Result.ok();
        if (OK) {
            target_.Lines = SourceText(std::move(lines));
            target_.LineCount = countLines(target_.Lines.text());
        }
    }
    Closed = true;
}

void TfrmCsvExcel::mnCloseClick() {
    OK = false;
    Closed = true;
}

} // namespace kol
