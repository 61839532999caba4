#include "print/pdf_print_job.h"

#include "print/ft_font_metrics.h"
#include "print/pdf_canvas.h"
#include "table/io_status.h"
#include "text/cp932.h"
#include "text/paths.h"

namespace kol::print {

namespace {

std::string failure(const IoStatus& status) {
    return sj("出力ファイルの作成に失敗しました。") + ioReason(status.error);
}

class PdfPrintJob : public PrintJob {
public:
    PdfPrintJob(const std::string& path, PaperMm sheet, int dotsPerInch, std::string fontFile)
        : metrics_(std::move(fontFile)),
          pdf_(path, sheet.width, sheet.height, dotsPerInch, metrics_) {}

    IoStatus open() {
        IoStatus opened = pdf_.open();
        if (opened) pdf_.beginPage();
        return opened;
    }
    Canvas& canvas() override { return pdf_; }
    const FontMetrics& metrics() const override { return metrics_; }
    bool newPage() override {
        status_ = pdf_.endPage();
        if (!status_) return false;
        pdf_.beginPage();
        return true;
    }
    bool finish(std::string& error) override {
        if (status_) status_ = pdf_.endPage();
        if (status_) status_ = pdf_.finish();
        if (status_) return true;
        error = failure(status_);
        return false;
    }

private:
    FtFontMetrics metrics_;
    PdfCanvas pdf_;
    IoStatus status_;
};

} // namespace

std::unique_ptr<PrintJob> startPdfJob(Prompts& prompts, const PrinterService& printer,
                                      std::string& error) {
    FileDialogRequest request;
    request.filter = "(*.pdf)|*.pdf";
    request.fileName = "*.pdf";
    request.askOverwrite = true;
    std::string path = prompts.saveFileName(request);
    if (path.empty()) return nullptr;
    if (extensionOf(path).empty()) path += ".pdf";
    const std::string face = FtFontMetrics::findPrintFaceFile();
    const PrinterPage page = printer.page();
    if (face.empty() || page.dotsPerInchY <= 0) {
        error = sj("出力ファイルの作成に失敗しました。");
        return nullptr;
    }
    auto job = std::make_unique<PdfPrintJob>(path, currentSheet(printer), page.dotsPerInchY, face);
    if (IoStatus opened = job->open(); !opened) {
        error = failure(opened);
        return nullptr;
    }
    return job;
}

} // namespace kol::print
