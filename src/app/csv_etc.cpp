#include "app/csv_etc.h"

#include "text/cp932.h"

namespace kol {

TFm_CsvEtc::TFm_CsvEtc(Prompts& prompts, int& zoneSign) : prompts_(prompts), zoneSign_(zoneSign) {
    FormCreate();
}

void TFm_CsvEtc::FormCreate() {
    Caption = sj("Zimbrel 動作環境の定義");
    PageCaption = sj("バイナリ出力時");
    GroupCaption = "COBOL";
    Lab_ZonePack.Caption = "ZONE,PACK" + sj("の");
    Lab_SignForm.Caption = sj("符号形式");
    Btn_Update.Caption = sj("更新");
    Btn_Close.Caption = sj("終了");
    Mn_File.Caption = "File(&F)";
    Mn_Exit.Caption = sj("終了(&X)");
    Cmb_ZoneSign.Items = {" IBM-EBCDIC (F/C/D)", " ASCII-MicroFocus (3/7)"};
    // A damaged settings line may hold any number: the list then shows the default, and the
    // stored value stays as it is until the user updates it.
    const int count = static_cast<int>(Cmb_ZoneSign.Items.size());
    Cmb_ZoneSign.ItemIndex = zoneSign_ >= 0 && zoneSign_ < count ? zoneSign_ : 0;
    Closed = false;
}

void TFm_CsvEtc::Btn_UpdateClick() {
    if (prompts_.ask(sj("動作環境の定義を更新します。\r\n\r\nよろしいですか？"), Buttons::YesNo) !=
        Answer::Yes)
        return;
    if (!Cmb_ZoneSign.text().empty()) zoneSign_ = Cmb_ZoneSign.ItemIndex;
    prompts_.inform(sj("動作環境の定義を更新しました。"));
}

void TFm_CsvEtc::Btn_CloseClick() {
    Closed = true;
}

void TFm_CsvEtc::Mn_ExitClick() {
    Closed = true;
}

} // namespace kol
