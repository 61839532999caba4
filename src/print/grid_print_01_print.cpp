// Printing from the preview: the printer set-up, the print command with its questions, and the
// loop that sends pages a..b to the printer and can be stopped between pages.
#include "print/grid_print_01.h"

#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>

namespace kol::print {

void TfrmGridPrint_01::Btn_PrtSetClick() {
    if (Printing || creatingAll_) return;
    const PrinterReading before = printer_;
    if (!printers_.setupDialog()) return;
    if (!readPrinterState()) return;
    settings_.PrinterIndex = printers_.printerIndex();
    // A new tray or quality keeps the layout; another device, paper or orientation does not.
    if (printer_.deviceText == before.deviceText && printer_.paperText == before.paperText &&
        printer_.orientationText == before.orientationText)
        return;
    partialCreation_ = true;
    prepare(PrepareMode::Fresh);
}

void TfrmGridPrint_01::Btn_PrintExecClick() {
    if (Printing || creatingAll_ || NoPrinter) return;
    int first = pageFieldNumber(edtPageMin);
    int last = pageFieldNumber(edtPageMax);
    if (last < first) {
        std::swap(edtPageMin, edtPageMax);
        std::swap(first, last);
    }
    if (table() && !allRowsCreated() &&
        prompts_.ask(sj("【 印刷データ未作成 】\r\r 現在、印刷データは全件作成されていません。\r\r"
                        "全データを印刷するには一旦、印刷をキャンセルして\r"
                        "印刷データの作成を実行して下さい。\r\r"
                        "このまま印刷を続行しますか？\r"),
                     Buttons::YesNo) != Answer::Yes)
        return;
    std::string confirm =
        sj("印刷を行います。\r\r    Page ") + edtPageMin + sj(" ～ ") + edtPageMax;
    if (last == layout_.pageCount()) confirm += sj(" (最終)");
    confirm += "\r\r" + sj("    用紙サイズ  ．．．．．  ") +
               std::string(TrimmedView(printer_.paperOrientation())) + "\r" +
               sj("    プリンタドライバ ．．． ") + std::string(TrimmedView(printer_.deviceText)) +
               "\r\r" + sj("よろしいですか？") + "\r";
    if (prompts_.ask(confirm, Buttons::OkCancel) != Answer::Ok) return;

    const std::string minText = edtPageMin, maxText = edtPageMax;
    printPages(first, last);
    if (Closed) return;
    applyDisplayScale(true);
    edtPageMin = minText;
    edtPageMax = maxText;
    goToPage(first);
    displayPage(CurrentPage, TooLargeNotice::Shown);
}

void TfrmGridPrint_01::Btn_PrintStopClick() {
    printContinue_ = false;
}

void TfrmGridPrint_01::printPages(int first, int last) {
    Printing = true;
    lblPrintMsg.Caption = sj("グリッドを印刷中です..");
    lblPrintMsg.Visible = true;
    if (tooLarge_) {
        showTooLarge();
        endPrinting();
        return;
    }
    const PrintClockReading now = host_.now();
    printDate_ = now.date;
    printTime_ = now.time;
    if (first <= 0) {
        first = 1;
        last = layout_.pageCount();
    }
    printContinue_ = true;
    setRunning(Running::Printing);
    if (last >= first) {
        std::string error;
        std::unique_ptr<PrintJob> job = printers_.beginJob("Kolumbra", error);
        if (!job) {
            if (!error.empty()) prompts_.fail(error);
        } else {
            for (int page = first; page <= last; ++page) {
                host_.processPending();
                if (closing_) break;
                // A confirmed stop ends the job after the pages already sent. The next sheet is
                // begun only when there is a page to put on it, so a stop adds no blank one.
                if (!printContinue_) {
                    if (prompts_.ask(sj("処理を中断しますか？"), Buttons::YesNo) == Answer::Yes)
                        break;
                    printContinue_ = true;
                }
                if (page > first && !job->newPage()) break;
                lblPrintMsg.Caption = sj("グリッドを印刷中です...  ") + " PAGE  " +
                                      std::to_string(page) + " / " +
                                      std::to_string(layout_.pageCount()) + " ";
                drawPrinterPage(job->canvas(), job->metrics(), page);
            }
            if (!job->finish(error)) prompts_.fail(error);
        }
    }
    endPrinting();
}

void TfrmGridPrint_01::endPrinting() {
    Printing = false;
    printContinue_ = false;
    setRunning(Running::None);
    lblPrintMsg.Caption.clear();
    lblPrintMsg.Visible = false;
}

} // namespace kol::print
