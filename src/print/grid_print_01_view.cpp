// The preview side of the print preview's model: the display scale and the image, drawing and
// showing a page, paging, the view options and the mouse on the image.
#include "print/grid_print_01.h"

#include "print/cell_scale.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cstdlib>

namespace kol::print {

// ---- Display scale and image -----------------------------------------------------------

double TfrmGridPrint_01::scaleForIndex(int index) const {
    if (index == kScaleFitIndex) {
        if (geometry_.pageWidth <= 0 || geometry_.pageHeight <= 0) return 1;
        return std::min(0.99 * host_.scrollBoxWidth() / geometry_.pageWidth,
                        0.99 * host_.scrollBoxHeight() / geometry_.pageHeight);
    }
    return (index < kScaleFitIndex ? index + 1 : index) * 10 / 100.0;
}

bool TfrmGridPrint_01::sizeImage(double s) {
    const int width = static_cast<int>(s * geometry_.pageWidth);
    const int height = static_cast<int>(s * geometry_.pageHeight);
    host_.setPanelSize(
        std::max(host_.scrollBoxWidth(), static_cast<int>(s * (geometry_.pageWidth + charWidth_))),
        std::max(host_.scrollBoxHeight(),
                 static_cast<int>(s * (geometry_.pageHeight + charWidth_))));
    if (width == ImageWidth && height == ImageHeight) return true;
    if (width <= 0 || height <= 0 || !host_.makeImage(width, height)) return false;
    ImageWidth = width;
    ImageHeight = height;
    return true;
}

void TfrmGridPrint_01::applyDisplayScale(bool keepScroll) {
    if (!keepScroll) host_.setScroll(0, 0);
    double s = scaleForIndex(Cmb_Scale.ItemIndex);
    if (sizeImage(s)) {
        displayScale_ = s;
        lastScaleIndex_ = Cmb_Scale.ItemIndex;
        return;
    }
    // The picture is too large for the machine: find a size that can be made, say so, then
    // settle on the largest list item that works.
    while (s > 0.1 && !sizeImage(s)) s -= 0.1;
    displayScale_ = s;
    prompts_.inform(sj("システム資源が足りない為、用紙の大きさを正しく描画できません。\r\r"
                       "次の何れかを変更して下さい。\r\r"
                       " ★★★★★★★★★★★★★★★★★★★★\r\r"
                       "    (1) 用紙サイズを小さくする。\r\r"
                       "    (2) 表示倍率を小さくする。( ") +
                    std::to_string(static_cast<int>(s * 100)) + sj(" % 以下 )") + "\r\r" +
                    sj(" ★★★★★★★★★★★★★★★★★★★★") + "\r" + " ");
    for (int index = lastScaleIndex_ - 1; index >= 1; --index) {
        Cmb_Scale.ItemIndex = index;
        const double t = scaleForIndex(index);
        if (sizeImage(t)) {
            displayScale_ = t;
            lastScaleIndex_ = index;
            return;
        }
    }
}

void TfrmGridPrint_01::Cmb_ScaleChange() {
    applyDisplayScale(false);
    displayPage(CurrentPage, TooLargeNotice::Shown);
}

void TfrmGridPrint_01::Cmb_ResetSclChange() {
    resetScaleIndex_ = Cmb_ResetScl.ItemIndex;
    Cmb_Scale.ItemIndex = resetScaleIndex_;
    Cmb_ScaleChange();
}

void TfrmGridPrint_01::Btn_DispModeClick() {
    const int indexes[3] = {kScaleFitIndex, 10, resetScaleIndex_};
    dispModeState_ = (dispModeState_ + 1) % 3;
    if (Cmb_Scale.ItemIndex == indexes[dispModeState_]) dispModeState_ = (dispModeState_ + 1) % 3;
    Cmb_Scale.ItemIndex = indexes[dispModeState_];
    Cmb_ScaleChange();
}

void TfrmGridPrint_01::FormResize() {
    if (firstShow_ || NoPrinter || Cmb_Scale.ItemIndex != kScaleFitIndex) return;
    applyDisplayScale(true);
    displayPage(CurrentPage, TooLargeNotice::Silent);
}

// ---- Drawing a page --------------------------------------------------------------------

PageOptions TfrmGridPrint_01::pageOptions() const {
    PageOptions o;
    o.mode = request_.mode;
    o.cellScale = cellScale_;
    o.charWidth = charWidth_;
    o.charHeight = charHeight_;
    o.text = textOptions();
    o.fixedCentre = Mn_FixedCenter.Checked;
    o.dataCentre = Mn_DataCenter.Checked;
    o.breakColour = Mn_BreakColor.Checked;
    o.emptyRows = !table()                  ? EmptyRowFill::None
                  : Mn_KaraGyoColor.Checked ? EmptyRowFill::Light
                  : Mn_KaraGyoBlack.Checked ? EmptyRowFill::Grey
                                            : EmptyRowFill::None;
    o.lines = table() ? static_cast<CellLineKind>(std::clamp(Cmb_LineKind.ItemIndex, 0, 2))
                      : CellLineKind::None;
    o.colours = colours_;
    o.maxLines = request_.maxLinesPerCell;
    return o;
}

void TfrmGridPrint_01::drawPreviewPage(Canvas& canvas, int page) const {
    PageMapping map;
    map.target = PageTarget::Preview;
    map.displayScale = displayScale_;
    map.onePageFactor = geometry_.onePageFactor;
    map.marginLeft = geometry_.marginLeft;
    map.marginTop = geometry_.marginTop;
    map.pageWidth = geometry_.pageWidth;
    map.pageHeight = geometry_.pageHeight;

    PageHeader header;
    const HeadingChoice choice = Mn_PrintFileName.Checked   ? HeadingChoice::FileName
                                 : Mn_PrintPathName.Checked ? HeadingChoice::FullPath
                                                            : HeadingChoice::None;
    header.headings = headingLines(request_.mode, choice, request_.headings);
    header.datePage = datePageLine(request_.mode, {Mn_PrintDate.Checked, Mn_PrintPage.Checked},
                                   printDate_, printTime_, page, layout_.pageCount());
    header.usableWidth = geometry_.usableWidth;
    header.headerHeight = geometry_.header;
    header.face = request_.sourceFont.face;
    header.map = {displayScale_, map.plainUnits(geometry_.marginLeft),
                  map.plainUnits(geometry_.marginTop)};
    drawPage(canvas, host_.metrics(), layout_, *copy_, page, pageOptions(), map, header);
}

void TfrmGridPrint_01::displayPage(int page, TooLargeNotice notice) {
    updateStatus(page);
    if (tooLarge_) {
        if (notice == TooLargeNotice::Shown) showTooLarge();
        return;
    }
    if (Mn_BreakColor.Checked && page >= 1 && page <= layout_.pageCount())
        copy_->breakBitsThrough(layout_.page(page).last.row);
    host_.paintImage([&](Canvas& canvas) { drawPreviewPage(canvas, page); });
}

void TfrmGridPrint_01::updateStatus(int page) {
    const int pages = layout_.pageCount();
    edtPageMin = " " + std::to_string(page);
    grpPage.Caption = " PAGE  " + std::to_string(page) + " / " + std::to_string(pages) + " ";
    const bool onePage = sizeMode() == CellSizeMode::OnePage;
    Lbl_CellScale.Caption = onePage ? std::string() : std::to_string(cellScale_) + " %";
    const int dataRows = copy_->rowCount() - 1;
    if (table()) {
        setCreationStatus(allRowsCreated() ? CreationStatus::Done : CreationStatus::Needed);
        Mn_RecCount.Caption = "[ Lines  " + std::to_string(std::max(layout_.rowsCreated(), 0)) +
                              " / " + std::to_string(dataRows) + " ]";
    } else {
        Mn_RecCount.Caption = "[ Lines  " + std::to_string(dataRows) + " ]";
    }
    Btn_DataCreate.Enabled = table() && request_.initialRowLimit < copy_->rowCount() &&
                             !allRowsCreated() && !creatingAll_;
    if (creatingAll_) return;
    for (Panel* g : {&grpCellRate, &grpGray, &grpPage, &grpMargin, &grpScale, &grpPrinter})
        g->Enabled = true;
    const bool scalable = table();
    for (Control* c : {static_cast<Control*>(&Cmb_Gray), static_cast<Control*>(&btnGrayDw),
                       static_cast<Control*>(&btnGrayUp), static_cast<Control*>(&Cmb_CellWay),
                       static_cast<Control*>(&Cmb_LineKind)})
        c->Enabled = scalable;
    btnFontDw.Enabled = btnFontUp.Enabled = Lbl_CellScale.Enabled = scalable && !onePage;
}

// ---- Paging ----------------------------------------------------------------------------

void TfrmGridPrint_01::scrPageChange() {
    if (layout_.pageCount() < 1) return;
    CurrentPage = std::clamp(scrPage.Position, 0, scrPage.Max) + 1;
    displayPage(CurrentPage, TooLargeNotice::Shown);
}

void TfrmGridPrint_01::goToPage(int page) {
    page = std::clamp(page, 1, std::max(layout_.pageCount(), 1));
    if (scrPage.Position == page - 1) return;
    scrPage.Position = page - 1;
    scrPageChange();
}

void TfrmGridPrint_01::btnPageDwClick() {
    goToPage(CurrentPage - 1);
}

void TfrmGridPrint_01::btnPageUpClick() {
    goToPage(CurrentPage + 1);
}

bool TfrmGridPrint_01::PageFieldAccepts(char key) {
    return key == '\b' || key == '\x1b' || (key >= '0' && key <= '9');
}

int TfrmGridPrint_01::pageFieldNumber(std::string& field) const {
    const std::string_view text = TrimmedView(field);
    long long n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        n = std::min<long long>(n * 10 + (ch - '0'), 1'000'000'000);
    }
    const int pages = std::max(layout_.pageCount(), 1);
    const int page = static_cast<int>(std::clamp<long long>(n, 1, pages));
    field = " " + std::to_string(page);
    return page;
}

void TfrmGridPrint_01::edtPageMinExit() {
    const int page = pageFieldNumber(edtPageMin);
    if (page != CurrentPage) goToPage(page);
}

void TfrmGridPrint_01::edtPageMaxExit() {
    pageFieldNumber(edtPageMax);
}

// ---- View options ----------------------------------------------------------------------

void TfrmGridPrint_01::redraw() {
    displayPage(CurrentPage, TooLargeNotice::Shown);
}

void TfrmGridPrint_01::toggleAndRescale(MenuItem& item) {
    item.Checked = !item.Checked;
    applyDisplayScale(true);
    redraw();
}

void TfrmGridPrint_01::Mn_FixedCenterClick() {
    toggleAndRescale(Mn_FixedCenter);
}

void TfrmGridPrint_01::Mn_DataCenterClick() {
    toggleAndRescale(Mn_DataCenter);
}

void TfrmGridPrint_01::Mn_TrimSpaceClick() {
    toggleAndRescale(Mn_TrimSpace);
}

void TfrmGridPrint_01::Mn_DateEditClick() {
    toggleAndRescale(Mn_DateEdit);
}

void TfrmGridPrint_01::Mn_BreakColorClick() {
    Mn_BreakColor.Checked = !Mn_BreakColor.Checked;
    if (Mn_BreakColor.Checked) copy_->recomputeBreakBits();
    redraw();
}

void TfrmGridPrint_01::toggleRadio(MenuItem& item, MenuItem& other) {
    item.Checked = !item.Checked;
    if (item.Checked) other.Checked = false;
}

void TfrmGridPrint_01::Mn_KaraGyoColorClick() {
    toggleRadio(Mn_KaraGyoColor, Mn_KaraGyoBlack);
    redraw();
}

void TfrmGridPrint_01::Mn_KaraGyoBlackClick() {
    toggleRadio(Mn_KaraGyoBlack, Mn_KaraGyoColor);
    redraw();
}

void TfrmGridPrint_01::Mn_PrintRowNoClick() {
    Mn_PrintRowNo.Checked = !Mn_PrintRowNo.Checked;
    partialCreation_ = true;
    prepare(PrepareMode::Fresh);
}

void TfrmGridPrint_01::Mn_PrintColNoClick() {
    Mn_PrintColNo.Checked = !Mn_PrintColNo.Checked;
    partialCreation_ = true;
    prepare(PrepareMode::Fresh);
}

void TfrmGridPrint_01::Mn_PrintPathNameClick() {
    toggleRadio(Mn_PrintPathName, Mn_PrintFileName);
    redraw();
}

void TfrmGridPrint_01::Mn_PrintFileNameClick() {
    toggleRadio(Mn_PrintFileName, Mn_PrintPathName);
    redraw();
}

void TfrmGridPrint_01::Mn_PrintDateClick() {
    Mn_PrintDate.Checked = !Mn_PrintDate.Checked;
    redraw();
}

void TfrmGridPrint_01::Mn_PrintPageClick() {
    Mn_PrintPage.Checked = !Mn_PrintPage.Checked;
    redraw();
}

void TfrmGridPrint_01::setGrey(int level) {
    Cmb_Gray.ItemIndex = std::clamp(level, 0, kGreyLevelCount - 1);
    colours_ = printColours(Cmb_Gray.ItemIndex);
    redraw();
}

void TfrmGridPrint_01::btnGrayDwClick() {
    setGrey(Cmb_Gray.ItemIndex - 1);
}

void TfrmGridPrint_01::btnGrayUpClick() {
    setGrey(Cmb_Gray.ItemIndex + 1);
}

void TfrmGridPrint_01::Cmb_GrayChange() {
    setGrey(Cmb_Gray.ItemIndex);
}

void TfrmGridPrint_01::Cmb_LineKindChange() {
    redraw();
}

// ---- The mouse on the image ------------------------------------------------------------

void TfrmGridPrint_01::imgPrnMouseDown(int x, int y) {
    dragOriginX_ = x;
    dragOriginY_ = y;
    dragging_ = true;
}

void TfrmGridPrint_01::imgPrnMouseMove(int x, int y, bool leftButton) {
    if (!dragging_ || !leftButton) return;
    const int sx = std::clamp(host_.scrollX() - (x - dragOriginX_), 0, host_.scrollRangeX());
    const int sy = std::clamp(host_.scrollY() - (y - dragOriginY_), 0, host_.scrollRangeY());
    host_.setScroll(sx, sy);
    if (std::abs(x - dragOriginX_) > 3 * charWidth_) pagingForward_ = x >= dragOriginX_;
}

void TfrmGridPrint_01::imgPrnMouseUp() {
    dragging_ = false;
}

void TfrmGridPrint_01::imgPrnDblClick() {
    if (pagingForward_)
        btnPageUpClick();
    else
        btnPageDwClick();
}

} // namespace kol::print
