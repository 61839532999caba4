// The printers the preview lays pages out for, behind a small interface: the platform's printer
// service where there is one, and a built-in printer that always exists (A4 portrait at 600 dpi
// unless set otherwise), so that the preview works on every machine.
#pragma once

#include "print/canvas.h"
#include "print/page_geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kol::print {

// Paper codes as printer device modes give them.
enum class PaperCode : int { A3 = 8, A4 = 9, A5 = 11, B4 = 12, B5 = 13 };
enum class Orientation : int { Portrait = 1, Landscape = 2 };

struct PrinterMode {
    int paperCode = static_cast<int>(PaperCode::A4); // any code; only five are known
    int orientation = static_cast<int>(Orientation::Portrait);
    bool operator==(const PrinterMode&) const = default;
};

struct PrinterDevice {
    std::string device, driver, port; // each at most 128 characters
    PrinterMode mode;
};

// "A3", "A4", "A5", "B4", "B5", or "?" for any other code.
std::string paperText(int paperCode);
// "縦", "横" or "?" (CP932).
std::string orientationText(int orientation);
// Paper size in millimetres, portrait; none for an unknown code.
struct PaperMm {
    int width = 0, height = 0;
};
std::optional<PaperMm> paperSize(int paperCode);
bool isSupportedPaper(std::string_view paperText);

// A print job under way: pages drawn on its canvas in printer dots.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual Canvas& canvas() = 0;
    virtual const FontMetrics& metrics() const = 0; // in printer dots
    [[nodiscard]] virtual bool newPage() = 0;
    // Ends the job; false (with the reason in `error`, CP932) when it could not be finished,
    // in which case nothing was left under the target's name.
    [[nodiscard]] virtual bool finish(std::string& error) = 0;
};

// The platform's printer service: the operations the preview and printing use.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    virtual int printerCount() const = 0;
    virtual int printerIndex() const = 0;    // -1: the default printer
    virtual void setPrinterIndex(int i) = 0; // -1 or 0..count - 1
    // The current printer; none when it cannot be read.
    virtual std::optional<PrinterDevice> currentDevice() const = 0;
    virtual void setMode(const PrinterMode& mode) = 0;
    // The page in the current mode, in dots, and the vertical resolution.
    virtual PrinterPage page() const = 0;
    // The platform's set-up dialog; true on OK.
    virtual bool setupDialog() = 0;
    // Starts a job on the current printer; none when it cannot start or the user cancelled
    // (a PDF printer asks for its file first). `error` says why when it is not a cancel.
    virtual std::unique_ptr<PrintJob> beginJob(const std::string& title, std::string& error) = 0;
};

// The sheet of the printer's current mode in millimetres, turned for landscape; A4 when the
// paper is unknown.
PaperMm currentSheet(const PrinterService& printer);

// One printer, "PDF", with the five papers in both orientations at a fixed resolution. Its page
// is the whole sheet: a PDF has no unprintable border.
class BuiltInPrinter : public PrinterService {
public:
    explicit BuiltInPrinter(int dotsPerInch = 600) : dpi_(dotsPerInch) {}

    int printerCount() const override { return 1; }
    int printerIndex() const override { return index_; }
    void setPrinterIndex(int i) override { index_ = i; }
    std::optional<PrinterDevice> currentDevice() const override;
    void setMode(const PrinterMode& mode) override { mode_ = mode; }
    PrinterPage page() const override;
    bool setupDialog() override { return false; }
    // Pages go to whatever `jobs` makes (a PDF writer, or a recorder in tests).
    using JobFactory =
        std::function<std::unique_ptr<PrintJob>(const std::string& title, std::string& error)>;
    void setJobFactory(JobFactory jobs) { jobs_ = std::move(jobs); }
    std::unique_ptr<PrintJob> beginJob(const std::string& title, std::string& error) override {
        return jobs_ ? jobs_(title, error) : nullptr;
    }

private:
    JobFactory jobs_;
    int dpi_;
    int index_ = -1;
    PrinterMode mode_;
};

// What the preview shows and stores of the printer.
struct PrinterReading {
    std::string deviceText;      // device, driver and port joined by single blanks
    std::string paperText;       // "A4", …, "?"
    std::string orientationText; // "縦", "横", "?"
    std::string paperOrientation() const { return paperText + " " + orientationText; }
};

// The stored printer index when it names a printer, else the default; the stored paper and
// orientation texts set the device mode ("a3" … "b5" found in the paper text, the last match
// winning; "縦" or "横" in the orientation text).
void restorePrinter(PrinterService& printers, int printerIndex, std::string_view paper,
                    std::string_view orientation);

// None when the printer cannot be read.
std::optional<PrinterReading> readPrinter(const PrinterService& printers);

} // namespace kol::print
