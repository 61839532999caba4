// The system's printers through Qt's print support, with the built-in "PDF" printer after them:
// a machine without any printer (no CUPS) still previews and prints to a file.
#pragma once

#include "platform/platform.h"
#include "print/printer.h"

#include <QList>
#include <QPageSize>
#include <QPrinterInfo>

#include <memory>

class QPrinter;
class QWidget;

namespace kol::print {

// Paper codes for Qt's page sizes: A3, A4, A5 and the JIS B4 and B5 Japanese printers mean.
int paperCodeOf(QPageSize::PageSizeId id);
QPageSize::PageSizeId pageSizeOf(int paperCode); // A4 for a code without a size

class QtPrinters : public PrinterService {
public:
    QtPrinters();
    ~QtPrinters() override;
    // Where the dialogs open and who asks for the PDF's file name.
    void setDialogs(QWidget* parent, Prompts* prompts);

    int printerCount() const override;
    int printerIndex() const override { return index_; }
    void setPrinterIndex(int i) override;
    std::optional<PrinterDevice> currentDevice() const override;
    void setMode(const PrinterMode& mode) override;
    PrinterPage page() const override;
    bool setupDialog() override;
    std::unique_ptr<PrintJob> beginJob(const std::string& title, std::string& error) override;

private:
    bool builtIn() const; // the current printer is the PDF one
    void choose(int listIndex);

    QList<QPrinterInfo> system_;
    int index_ = -1;
    std::unique_ptr<QPrinter> printer_; // the current system printer, none for the PDF one
    BuiltInPrinter pdf_;
    QWidget* parent_ = nullptr;
    Prompts* prompts_ = nullptr;
};

} // namespace kol::print
