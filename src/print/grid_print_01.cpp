#include "print/grid_print_01.h"

#include "print/cell_scale.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace kol::print {

namespace {

std::vector<std::string> numberedItems(int count, int step) {
    std::vector<std::string> items;
    for (int k = 0; k < count; ++k) items.push_back(" " + std::to_string(k * step));
    return items;
}

// 10 … 90 %, the fit item, 100 … 1000 %; without the "%" for the restore list.
std::vector<std::string> scaleItems(bool percent) {
    std::vector<std::string> items;
    auto add = [&](int k) {
        items.push_back(" " + std::to_string(10 * k) + (percent ? " %" : " "));
    };
    for (int k = 1; k <= 9; ++k) add(k);
    items.push_back(sj(" 画面に"));
    for (int k = 10; k <= 100; ++k) add(k);
    return items;
}

} // namespace

TfrmGridPrint_01::TfrmGridPrint_01(Prompts& prompts, GridPrintHost& host, PrinterService& printers,
                                   PrintRequest& request)
    : prompts_(prompts), host_(host), printers_(printers), request_(request),
      settings_(request.settings) {
    Caption = sj("Ｇｒｉｄ Ｐｒｉｎｔ");
    caption(Btn_DataCreate, "印刷データ作成");
    caption(Btn_CreateStop, "作成を中断する");
    Btn_CreateStop.Visible = false;
    caption(btnFontDw, "－");
    caption(btnFontUp, "＋");
    caption(btnGrayDw, "－");
    caption(btnGrayUp, "+");
    caption(btnPageDw, "－");
    caption(btnPageUp, "＋");
    caption(Btn_DispMode, "縮小切替");
    caption(Btn_PrtSet, "プリンタの設定");
    caption(Btn_PrintExec, "印刷");
    caption(Btn_PrintStop, "中断");
    Btn_PrintStop.Visible = false;
    lblPrintMsg.Visible = false;
    grpMargin.Caption = sj(" 余白 [mm] ");
    grpScale.Caption = sj(" 表示倍率        復元時 ");
    grpPage.Caption = " PAGE ";
    grpPrinter.Caption = sj(" プリンタ ");
    Cmb_CellWay.Items = {sj(" 手動で"), sj(" １頁で")};
    Cmb_MgnUp.Items = numberedItems(kMarginItemCount, kMarginStepMm);
    Cmb_MgnLeft.Items = Cmb_MgnUp.Items;
    Cmb_Gray.Items = numberedItems(kGreyLevelCount, 1);
    Cmb_LineKind.Items = {sj(" 無し"), sj(" 実線"), sj(" 点線")};
    Cmb_Scale.Items = scaleItems(true);
    Cmb_ResetScl.Items = scaleItems(false);
    scrPage.SmallChange = 1;
    scrPage.LargeChange = 10;

    caption(mnExit1, "終了(&X)");
    caption(Mn_Save, "Save(&S)");
    caption(Mn_SaveCsv, request.mode == PrintMode::Table ? "1. 印刷データをＣＳＶ形式で保存する"
                                                         : "1. 表示内容を Text File で保存する");
    caption(Mn_SaveHtmlMain, "2. 印刷データをＨＴＭＬ形式で");
    caption(Mn_ExecHtml, "1. 起動する");
    caption(Mn_SaveHtml, "2. 保存する");
    caption(Mn_View, "View(&V)");
    caption(Mn_FixedCenter, "1. 固定欄のセンター表示");
    caption(Mn_DataCenter, "2. 通常欄のセンター表示");
    caption(Mn_TrimSpace, "3. 前後の空白を除いて表示");
    caption(Mn_DateEdit, "4. 日付編集表示 - 6, 8 桁の数字");
    caption(Mn_BreakColor, "5. 前行と変化したらセルの色を変える");
    caption(Mn_KaraGyoColor, "6. 空行は色を変える (Light)");
    caption(Mn_KaraGyoBlack, "7. 空行は色を変える (Dark)");
    caption(Mn_View2, "View2(&W)");
    caption(Mn_PrintRowNo, "1. 行番号の表示");
    caption(Mn_PrintColNo, "2. 列番号の表示");
    caption(Mn_PrintPathName, "3. フルパス名の表示");
    caption(Mn_PrintFileName, "4. ファイル名の表示");
    caption(Mn_PrintDate, "5. 印刷日時の表示");
    caption(Mn_PrintPage, "6. ページ数の表示");

    // Until the first showing measures the source font, an empty copy: the table itself is
    // read once, when the copy is made for real.
    static const StringGrid kEmpty;
    copy_ = std::make_unique<PrintCopy>(kEmpty, 0);
}

TfrmGridPrint_01::~TfrmGridPrint_01() = default;

bool TfrmGridPrint_01::table() const {
    return request_.mode == PrintMode::Table;
}

bool TfrmGridPrint_01::allRowsCreated() const {
    return layout_.rowsCreated() >= copy_->rowCount() - 1;
}

// ---- Lifecycle -------------------------------------------------------------------------

void TfrmGridPrint_01::FormShow() {
    if (!firstShow_) return;
    firstShow_ = false;
    if (printers_.printerCount() <= 0) {
        NoPrinter = true;
        prompts_.fail(sj("このマシンにはプリンタドライバがインストールされていません。\r\n\r\n"
                         "このソフトはプリンタドライバがないと正常に動作しないので\r\n\r\n"
                         "プリンタドライバをインストールしてからご使用下さい。"));
        pnlHed.Visible = Mn_Save.Visible = Mn_View.Visible = Mn_View2.Visible = false;
        Mn_RecCount.Visible = false;
        return;
    }
    savedColourMode_ = settings_.Cmb_Color;
    settings_.Cmb_Color = 0;
    savedCellScale_ = settings_.CellScale;
    cellScale_ = cellScaleOf(settings_);
    if (!table()) cellScale_ = kDefaultCellScale;

    baseFontHeight_ = std::abs(request_.sourceFont.height);
    const CanvasFont source{request_.sourceFont.face, baseFontHeight_};
    sourceCharWidth_ = host_.metrics().charWidth(source);
    sourceCharHeight_ = host_.metrics().charHeight(source);
    if (request_.source) copy_ = std::make_unique<PrintCopy>(*request_.source, sourceCharWidth_);
    heightsKnown_ = 0;
    cellFontHeight_ = print::cellFontHeight(baseFontHeight_, cellScale_);

    loadControls();
    cellWayIndex_ = Cmb_CellWay.ItemIndex;
    manualCellScale_ = cellScale_;
    if (Mn_BreakColor.Checked) copy_->recomputeBreakBits();
    restorePrinter(printers_, settings_.PrinterIndex, settings_.Prt_Paper, settings_.Prt_Orient);
    if (readPrinterState() && !isSupportedPaper(printer_.paperText))
        prompts_.fail(
            sj("このソフトはプリンタの用紙サイズが [A3, A4, A5, B4, B5] 以外では\r\n"
               "正常に動作しません。\r\n\r\nプリンタの設定で用紙サイズを変更して下さい。"));
    partialCreation_ = table();
    prepare(PrepareMode::FirstShow);
}

void TfrmGridPrint_01::FormClose() {
    if (Closed) return;
    Closed = true;
    closing_ = true;
    continue_ = false;
    printContinue_ = false;
    if (firstShow_ || NoPrinter) return;
    storeControls();
    settings_.Cmb_Color = savedColourMode_;
    if (!table()) settings_.CellScale = savedCellScale_;
}

void TfrmGridPrint_01::mnExit1Click() {
    host_.closeWindow();
}

void TfrmGridPrint_01::loadControls() {
    const PrintSettings& s = settings_;
    Cmb_CellWay.ItemIndex = clampItemIndex(table() ? s.Cmb_CellWay : 0, 2);
    Cmb_MgnUp.ItemIndex = clampItemIndex(s.Cmb_MgnUp, kMarginItemCount);
    Cmb_MgnLeft.ItemIndex = clampItemIndex(s.Cmb_MgnLeft, kMarginItemCount);
    Cmb_Gray.ItemIndex = clampItemIndex(s.Cmb_Gray, kGreyLevelCount);
    Cmb_LineKind.ItemIndex = clampItemIndex(s.Cmb_LineKind, 3);
    Cmb_Scale.ItemIndex = clampItemIndex(s.Cmb_Scale, kScaleItemCount);
    Cmb_ResetScl.ItemIndex = clampItemIndex(s.Cmb_ResetScl, kScaleItemCount);
    Mn_FixedCenter.Checked = s.FixedCenter;
    Mn_DataCenter.Checked = s.DataCenter;
    Mn_TrimSpace.Checked = s.TrimSpace;
    Mn_DateEdit.Checked = s.DateEdit;
    Mn_BreakColor.Checked = s.BreakColor;
    Mn_KaraGyoColor.Checked = s.KaraGyoColor;
    Mn_KaraGyoBlack.Checked = s.KaraGyoBlack && !s.KaraGyoColor;
    Mn_PrintRowNo.Checked = s.PrintRowNo;
    Mn_PrintColNo.Checked = s.PrintColNo;
    Mn_PrintPathName.Checked = s.PrintPathName;
    Mn_PrintFileName.Checked = s.PrintFileName && !s.PrintPathName;
    Mn_PrintDate.Checked = s.PrintDate;
    Mn_PrintPage.Checked = s.PrintPage;
    resetScaleIndex_ = Cmb_ResetScl.ItemIndex;
    lastScaleIndex_ = Cmb_Scale.ItemIndex;
    dispModeState_ = Cmb_Scale.ItemIndex == kScaleFitIndex     ? 0
                     : Cmb_Scale.ItemIndex == resetScaleIndex_ ? -1
                                                               : 1;
    colours_ = printColours(Cmb_Gray.ItemIndex);
    if (!table()) {
        grpCellRate.Visible = grpGray.Visible = false;
        for (Control* c : {static_cast<Control*>(&btnFontDw), static_cast<Control*>(&btnFontUp),
                           static_cast<Control*>(&Cmb_CellWay), static_cast<Control*>(&Cmb_Gray),
                           static_cast<Control*>(&btnGrayDw), static_cast<Control*>(&btnGrayUp),
                           static_cast<Control*>(&Cmb_LineKind)})
            c->Enabled = false;
        Lbl_CreateSts.Visible = false;
        Mn_View2.Visible = false;
        for (MenuItem* m : {&Mn_FixedCenter, &Mn_DataCenter, &Mn_TrimSpace, &Mn_DateEdit,
                            &Mn_KaraGyoColor, &Mn_KaraGyoBlack})
            m->Enabled = false;
    }
}

void TfrmGridPrint_01::storeControls() {
    PrintSettings& s = settings_;
    s.Cmb_CellWay = Cmb_CellWay.ItemIndex;
    s.Cmb_MgnUp = Cmb_MgnUp.ItemIndex;
    s.Cmb_MgnLeft = Cmb_MgnLeft.ItemIndex;
    s.Cmb_Gray = Cmb_Gray.ItemIndex;
    s.Cmb_LineKind = Cmb_LineKind.ItemIndex;
    s.Cmb_Scale = Cmb_Scale.ItemIndex;
    s.Cmb_ResetScl = Cmb_ResetScl.ItemIndex;
    s.FixedCenter = Mn_FixedCenter.Checked;
    s.DataCenter = Mn_DataCenter.Checked;
    s.TrimSpace = Mn_TrimSpace.Checked;
    s.DateEdit = Mn_DateEdit.Checked;
    s.BreakColor = Mn_BreakColor.Checked;
    s.KaraGyoColor = Mn_KaraGyoColor.Checked;
    s.KaraGyoBlack = Mn_KaraGyoBlack.Checked;
    s.PrintRowNo = Mn_PrintRowNo.Checked;
    s.PrintColNo = Mn_PrintColNo.Checked;
    s.PrintPathName = Mn_PrintPathName.Checked;
    s.PrintFileName = Mn_PrintFileName.Checked;
    s.PrintDate = Mn_PrintDate.Checked;
    s.PrintPage = Mn_PrintPage.Checked;
    // The calendar variant and the second grey are never shown: their values stay as read.
}

bool TfrmGridPrint_01::readPrinterState() {
    const std::optional<PrinterReading> reading = readPrinter(printers_);
    if (!reading) {
        prompts_.inform(sj("プリンタ情報を取得できませんでした。"));
        return false;
    }
    printer_ = *reading;
    settings_.Prt_Orient = printer_.orientationText;
    settings_.Prt_Paper = printer_.paperText;
    lblPrtInf.Caption = std::string(TrimmedView(printer_.paperOrientation())) + sj("：") +
                        std::string(TrimmedView(printer_.deviceText));
    return true;
}

} // namespace kol::print
