// The preview model's layout side: preparing the pages (geometry, row heights, a fresh layout),
// the creation of every row with its stop, and the cell scale and size mode that redo it.
#include "print/grid_print_01.h"

#include "print/cell_scale.h"
#include "text/cp932.h"

#include <algorithm>

namespace kol::print {

namespace {
constexpr std::uint32_t kNavy = 0x800000, kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
} // namespace

// ---- Preparation -----------------------------------------------------------------------

void TfrmGridPrint_01::prepare(PrepareMode how) {
    if (sizeMode() == CellSizeMode::OnePage) {
        cellScale_ = kDefaultCellScale;
        cellFontHeight_ = print::cellFontHeight(baseFontHeight_, cellScale_);
    }
    const PrintClockReading now = host_.now();
    printDate_ = now.date;
    printTime_ = now.time;
    readPrinterState();
    setCreationStatus(CreationStatus::Creating);
    if (table()) copy_->showNumbers(Mn_PrintRowNo.Checked, Mn_PrintColNo.Checked);
    computeGeometry();
    applyDisplayScale(how == PrepareMode::KeepScroll);
    tooLarge_ = false;
    freshLayout();
    if (how == PrepareMode::FirstShow && table()) {
        displayPage(1, TooLargeNotice::Silent);
        if (tooLarge_) {
            showTooLarge();
            return;
        }
        // The first layout measured row 0 from its texts as well: the number options set it back.
        copy_->showNumbers(Mn_PrintRowNo.Checked, Mn_PrintColNo.Checked);
        freshLayout();
    }
    displayPage(1,
                how == PrepareMode::QuietTooLarge ? TooLargeNotice::Silent : TooLargeNotice::Shown);
}

void TfrmGridPrint_01::computeGeometry() {
    GeometryInput in;
    in.printer = printers_.page();
    in.leftMarginIndex = Cmb_MgnLeft.ItemIndex;
    in.topMarginIndex = Cmb_MgnUp.ItemIndex;
    in.nonEmptyHeadings = countNonEmptyHeadings(request_.headings);
    const CanvasFont font = cellFont();
    charWidth_ = host_.metrics().charWidth(font);
    in.charHeight = host_.metrics().charHeight(font);
    in.mode = sizeMode();
    in.totalWidth = 0;
    const long double f = scaleFactor();
    for (int w : copy_->widths()) in.totalWidth += scaledSize(w, f);
    geometry_ = computePageGeometry(in).value_or(PageGeometry{});
    charHeight_ = in.charHeight;
}

CellSizeMode TfrmGridPrint_01::sizeMode() const {
    return table() && Cmb_CellWay.ItemIndex == 1 ? CellSizeMode::OnePage : CellSizeMode::Manual;
}

long double TfrmGridPrint_01::scaleFactor() const {
    return cellScaleFactor(sizeMode(), baseFontHeight_, cellFontHeight_);
}

CanvasFont TfrmGridPrint_01::cellFont() const {
    return {request_.sourceFont.face, cellFontHeight_};
}

void TfrmGridPrint_01::measureHeights(int endRow) {
    if (endRow <= heightsKnown_) return;
    RowHeightInput in;
    in.text = textOptions();
    in.charWidth = sourceCharWidth_;
    in.charHeight = sourceCharHeight_;
    in.defaultRowHeight = copy_->defaultRowHeight();
    in.maxLinesPerCell = request_.maxLinesPerCell;
    in.usableWidth = geometry_.usableWidth;
    if (table()) {
        // Lines are counted against the caller's widths, not the widened print widths.
        std::vector<int> widths(static_cast<std::size_t>(copy_->colCount()));
        for (int c = 0; c < copy_->colCount(); ++c)
            widths[static_cast<std::size_t>(c)] = copy_->grid().colWidth(c);
        computeRowHeights(copy_->grid(), widths, in, copy_->heights(), heightsKnown_, endRow);
    } else {
        computeRowHeights(copy_->grid(), copy_->widths(), in, copy_->heights(), heightsKnown_,
                          endRow);
    }
    heightsKnown_ = std::min(endRow, copy_->rowCount());
}

PrintTextOptions TfrmGridPrint_01::textOptions() const {
    return {request_.mode, table() && Mn_TrimSpace.Checked, table() && Mn_DateEdit.Checked};
}

void TfrmGridPrint_01::freshLayout() {
    LayoutInput in;
    in.mode = request_.mode;
    in.sizeMode = sizeMode();
    in.fixedRows = copy_->fixedRows();
    in.fixedColumns = copy_->fixedCols();
    in.usableWidth = geometry_.usableWidth;
    in.usableHeight = geometry_.usableHeight;
    in.bandGap = geometry_.bandGap;
    in.onePageFactor = geometry_.onePageFactor;
    in.partialCreation = partialCreation_;
    in.creatingAll = creatingAll_;
    in.initialRowLimit = request_.initialRowLimit;
    const int rows = copy_->rowCount();
    const bool partial = table() && !creatingAll_ && partialCreation_ && in.initialRowLimit > 0;
    measureHeights(partial ? std::min(rows, in.initialRowLimit + 1) : rows);
    const long double f = scaleFactor();
    in.rowHeights.resize(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r)
        in.rowHeights[static_cast<std::size_t>(r)] = scaledSize(copy_->rowHeight(r), f);
    in.columnWidths.resize(static_cast<std::size_t>(copy_->colCount()));
    for (int c = 0; c < copy_->colCount(); ++c)
        in.columnWidths[static_cast<std::size_t>(c)] = scaledSize(copy_->colWidth(c), f);

    LayoutHooks hooks;
    hooks.stopRequested = [this] { return stopConfirmed(); };
    hooks.rowProgress = [this](int lastRow, int lastToLayOut) {
        Mn_RecCount.Caption = "[ Line  " + std::to_string(lastRow / 100 * 100) + " / " +
                              std::to_string(lastToLayOut) + " ]";
        host_.processPending();
    };
    hooks.pageProgress = [this](int page, int pages) {
        Mn_RecCount.Caption =
            "[ PAGE  " + std::to_string(page) + " / " + std::to_string(pages) + " ]";
        host_.processPending();
    };
    const LayoutStatus status = layout_.run(std::move(in), hooks);
    tooLarge_ = status == LayoutStatus::TooLarge || layout_.tooLarge();
    partialCreation_ = layout_.partialCreation();
    edtPageMin = " 1";
    edtPageMax = " " + std::to_string(layout_.pageCount());
    CurrentPage = 1;
    scrPage.Min = 0;
    scrPage.Max = std::max(layout_.pageCount() - 1, 0);
    scrPage.Position = 0;
}

bool TfrmGridPrint_01::stopConfirmed() {
    if (continue_ || !creatingAll_) return false;
    if (closing_) return true;
    if (prompts_.ask(sj("処理を中断しますか？"), Buttons::YesNo) == Answer::Yes) return true;
    continue_ = true;
    return false;
}

void TfrmGridPrint_01::showTooLarge() {
    prompts_.fail(sj("用紙に描画できない大きなセルがあります。\r\r"
                     "   原因．．．次のいずれかです。\r\r"
                     "   (1) 固定列の幅が用紙(横)におさまりません。\r"
                     "   (2) 固定行の高さが用紙(縦)におさまりません。\r"
                     "   (3) 用紙におさまらないセルがあります。\r\r"
                     "   対応．．．下記の方法を試して下さい。\r\r"
                     "   (1) プリンタの設定で用紙の方向を横にする。\r"
                     "   (2) プリンタの設定で大きい用紙を選択する。\r"
                     "   (3) セルの列幅を小さくする。\r"
                     "   (4) セルの拡大率を小さくする。\r "));
}

void TfrmGridPrint_01::setCreationStatus(CreationStatus status) {
    switch (status) {
    case CreationStatus::Creating:
        Lbl_CreateSts.Caption = sj("作成中");
        Lbl_CreateSts.FontColor = kNavy;
        Lbl_CreateSts.Color = 0;
        break;
    case CreationStatus::Needed:
        Lbl_CreateSts.Caption = sj("作成要→");
        Lbl_CreateSts.FontColor = kRed;
        Lbl_CreateSts.Color = kWhite;
        break;
    case CreationStatus::Done:
        Lbl_CreateSts.Caption = sj("作成済");
        Lbl_CreateSts.FontColor = kBlue;
        Lbl_CreateSts.Color = 0;
        break;
    }
}

// ---- Creation and cell scale -----------------------------------------------------------

void TfrmGridPrint_01::Btn_DataCreateClick() {
    if (!Btn_DataCreate.Enabled || creatingAll_) return;
    const std::string question =
        sj("【 全件分の印刷データ作成 】\r\n\r\nデータ数が多いと相当時間がかかります。\r\n\r\n"
           "    行数: ") +
        std::to_string(copy_->rowCount() - 1) + sj("    列数: ") +
        std::to_string(copy_->colCount() - 2) + "\r\n" + "\r\n" + sj("よろしいですか？");
    if (prompts_.ask(question, Buttons::YesNo) != Answer::Yes) return;
    creatingAll_ = true;
    continue_ = true;
    setRunning(Running::Creation);
    prepare(PrepareMode::Fresh);
    creatingAll_ = false;
    continue_ = false;
    setRunning(Running::None);
    if (!Closed) displayPage(CurrentPage, TooLargeNotice::Shown);
}

void TfrmGridPrint_01::Btn_CreateStopClick() {
    continue_ = false;
}

void TfrmGridPrint_01::setRunning(Running what) {
    // Only the running command's stop button and the close box stay effective.
    const bool idle = what == Running::None;
    for (Panel* g : {&grpGray, &grpPage, &grpMargin, &grpScale}) g->Enabled = idle;
    grpCellRate.Enabled = what != Running::Printing;
    grpPrinter.Enabled = what != Running::Creation;
    for (Control* c : {static_cast<Control*>(&btnFontDw), static_cast<Control*>(&btnFontUp),
                       static_cast<Control*>(&Cmb_CellWay), static_cast<Control*>(&Lbl_CellScale),
                       static_cast<Control*>(&Btn_PrtSet), static_cast<Control*>(&Btn_PrintExec)})
        c->Enabled = idle;
    for (MenuItem* m : {&Mn_Save, &Mn_View, &Mn_View2}) m->Enabled = idle;
    Btn_DataCreate.Visible = what != Running::Creation;
    Btn_CreateStop.Visible = Btn_CreateStop.Enabled = what == Running::Creation;
    Btn_PrintExec.Visible = what != Running::Printing;
    Btn_PrintStop.Visible = Btn_PrintStop.Enabled = what == Running::Printing;
}

bool TfrmGridPrint_01::confirmCellSizeChange() {
    if (!(request_.initialRowLimit < copy_->rowCount() && allRowsCreated() && table())) return true;
    return prompts_.ask(
               sj("【 セルサイズ変更確認 】\r\n\r\n現在、印刷データは全件作成されています。"
                  "\r\n\r\nセルサイズを変更すると後で印刷データを\r\n再作成する必要があり"
                  "ます。\r\n\r\nよろしいですか？"),
               Buttons::YesNo) == Answer::Yes;
}

void TfrmGridPrint_01::stepCellScale(int direction) {
    if (!table() || sizeMode() == CellSizeMode::OnePage) return;
    if (!confirmCellSizeChange()) return;
    partialCreation_ = true;
    const std::optional<int> next =
        steppedCellScale(baseFontHeight_, cellScale_, cellFontHeight_, direction);
    if (!next) return; // the font cannot get smaller than a pixel
    const int oldScale = cellScale_, oldFont = cellFontHeight_;
    cellScale_ = *next;
    cellFontHeight_ = print::cellFontHeight(baseFontHeight_, cellScale_);
    settings_.CellScale = cellScale_;
    prepare(PrepareMode::QuietTooLarge);
    if (!tooLarge_) return;
    cellScale_ = oldScale;
    cellFontHeight_ = oldFont;
    computeGeometry();
    applyDisplayScale(false);
    if (prompts_.ask(sj("用紙に描画できない大きなセルがあります。\r\r"
                        "セルの拡大率を最小値に戻しますか？"),
                     Buttons::YesNo) == Answer::Yes) {
        cellScale_ = 10;
        cellFontHeight_ = print::cellFontHeight(baseFontHeight_, cellScale_);
    }
    settings_.CellScale = cellScale_;
    tooLarge_ = false;
    prepare(PrepareMode::Fresh);
}

void TfrmGridPrint_01::btnFontDwClick() {
    stepCellScale(-1);
}

void TfrmGridPrint_01::btnFontUpClick() {
    stepCellScale(+1);
}

void TfrmGridPrint_01::Cmb_CellWayChange() {
    const int chosen = Cmb_CellWay.ItemIndex;
    if (chosen == cellWayIndex_) return;
    if (!confirmCellSizeChange()) {
        Cmb_CellWay.ItemIndex = cellWayIndex_;
        return;
    }
    cellWayIndex_ = chosen;
    if (chosen == 1) {
        manualCellScale_ = cellScale_;
        cellScale_ = kDefaultCellScale;
    } else {
        cellScale_ = manualCellScale_;
    }
    cellFontHeight_ = print::cellFontHeight(baseFontHeight_, cellScale_);
    settings_.CellScale = cellScale_;
    partialCreation_ = true;
    prepare(PrepareMode::KeepScroll);
}

void TfrmGridPrint_01::Cmb_MgnUpChange() {
    partialCreation_ = true;
    prepare(PrepareMode::Fresh);
}

void TfrmGridPrint_01::Cmb_MgnLeftChange() {
    Cmb_MgnUpChange();
}

} // namespace kol::print
