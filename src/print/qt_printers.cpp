#include "print/qt_printers.h"

#include "print/pdf_print_job.h"
#include "print/qt_image_canvas.h"
#include "text/cp932.h"
#include "ui/qt_text.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kol::print {

namespace {

struct PaperPair {
    QPageSize::PageSizeId id;
    PaperCode code;
};

constexpr PaperPair kPapers[] = {
    {QPageSize::A3, PaperCode::A3},    {QPageSize::A4, PaperCode::A4},
    {QPageSize::A5, PaperCode::A5},    {QPageSize::JisB4, PaperCode::B4},
    {QPageSize::JisB5, PaperCode::B5},
};

// A job on a system printer: the painter on the QPrinter starts it, newPage turns the sheet.
class QtPrintJob : public PrintJob {
public:
    explicit QtPrintJob(QPrinter& printer)
        : printer_(printer), canvas_(&printer), metrics_(&printer) {}
    bool started() const { return canvas_.active(); }
    Canvas& canvas() override { return canvas_; }
    const FontMetrics& metrics() const override { return metrics_; }
    bool newPage() override { return printer_.newPage(); }
    bool finish(std::string& error) override {
        if (canvas_.finish()) return true;
        error = sj("プリンタ情報を取得できませんでした。");
        return false;
    }

private:
    QPrinter& printer_;
    QtImageCanvas canvas_;
    QtFontMetrics metrics_;
};

} // namespace

int paperCodeOf(QPageSize::PageSizeId id) {
    for (const PaperPair& p : kPapers)
        if (p.id == id) return static_cast<int>(p.code);
    return 0;
}

QPageSize::PageSizeId pageSizeOf(int paperCode) {
    for (const PaperPair& p : kPapers)
        if (static_cast<int>(p.code) == paperCode) return p.id;
    return QPageSize::A4;
}

QtPrinters::QtPrinters() : system_(QPrinterInfo::availablePrinters()) {
    choose(-1);
}

QtPrinters::~QtPrinters() = default;

void QtPrinters::setDialogs(QWidget* parent, Prompts* prompts) {
    parent_ = parent;
    prompts_ = prompts;
}

int QtPrinters::printerCount() const {
    return static_cast<int>(system_.size()) + 1;
}

bool QtPrinters::builtIn() const {
    return printer_ == nullptr;
}

void QtPrinters::setPrinterIndex(int i) {
    index_ = i >= 0 && i < printerCount() ? i : -1;
    choose(index_);
}

// -1 is the system's default printer, or the PDF one when the system has none.
void QtPrinters::choose(int listIndex) {
    QPrinterInfo info;
    if (listIndex < 0)
        info = QPrinterInfo::defaultPrinter();
    else if (listIndex < static_cast<int>(system_.size()))
        info = system_[listIndex];
    if (info.isNull()) {
        printer_.reset();
        return;
    }
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

std::optional<PrinterDevice> QtPrinters::currentDevice() const {
    if (builtIn()) return pdf_.currentDevice();
    if (!printer_->isValid()) return std::nullopt;
    const QPrinterInfo info(*printer_);
    PrinterDevice d;
    d.device = cp932::fromUtf8(printer_->printerName().toStdString());
    d.driver = cp932::fromUtf8(info.makeAndModel().toStdString());
    const QPageLayout layout = printer_->pageLayout();
    d.mode.paperCode = paperCodeOf(layout.pageSize().id());
    d.mode.orientation =
        static_cast<int>(layout.orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                        : Orientation::Portrait);
    return d;
}

void QtPrinters::setMode(const PrinterMode& mode) {
    if (builtIn()) {
        pdf_.setMode(mode);
        return;
    }
    if (paperCodeOf(printer_->pageLayout().pageSize().id()) != mode.paperCode &&
        paperSize(mode.paperCode))
        printer_->setPageSize(QPageSize(pageSizeOf(mode.paperCode)));
    printer_->setPageOrientation(mode.orientation == static_cast<int>(Orientation::Landscape)
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
}

PrinterPage QtPrinters::page() const {
    if (builtIn()) return pdf_.page();
    // The painter's origin is the printable area's corner: the page is that area.
    const QRectF area = printer_->pageRect(QPrinter::DevicePixel);
    return {static_cast<int>(area.width()), static_cast<int>(area.height()),
            printer_->resolution()};
}

bool QtPrinters::setupDialog() {
    if (builtIn()) {
        QPrinter sheet(QPrinter::HighResolution);
        sheet.setOutputFormat(QPrinter::PdfFormat);
        const PrinterMode mode = pdf_.currentDevice()->mode;
        sheet.setPageSize(QPageSize(pageSizeOf(mode.paperCode)));
        sheet.setPageOrientation(mode.orientation == static_cast<int>(Orientation::Landscape)
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
        QPageSetupDialog dialog(&sheet, parent_);
        if (dialog.exec() != QDialog::Accepted) return false;
        const QPageLayout layout = sheet.pageLayout();
        pdf_.setMode({paperCodeOf(layout.pageSize().id()),
                      static_cast<int>(layout.orientation() == QPageLayout::Landscape
                                           ? Orientation::Landscape
                                           : Orientation::Portrait)});
        return true;
    }
    QPrintDialog dialog(printer_.get(), parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    // The dialog may have switched printers: find the one chosen in the list.
    for (int i = 0; i < static_cast<int>(system_.size()); ++i)
        if (system_[i].printerName() == printer_->printerName()) index_ = i;
    return true;
}

std::unique_ptr<PrintJob> QtPrinters::beginJob(const std::string& title, std::string& error) {
    if (builtIn()) {
        if (!prompts_) return nullptr;
        return startPdfJob(*prompts_, pdf_, error);
    }
    printer_->setDocName(qs(title));
    printer_->setFullPage(false);
    auto job = std::make_unique<QtPrintJob>(*printer_);
    if (!job->started()) {
        error = sj("プリンタ情報を取得できませんでした。");
        return nullptr;
    }
    return job;
}

} // namespace kol::print
