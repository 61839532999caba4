#include "print/printer.h"

#include <array>

namespace kol::print {

namespace {

struct KnownPaper {
    PaperCode code;
    const char* text;
    PaperMm mm;
};

constexpr std::array<KnownPaper, 5> kPapers{{
    {PaperCode::A3, "A3", {297, 420}},
    {PaperCode::A4, "A4", {210, 297}},
    {PaperCode::A5, "A5", {148, 210}},
    {PaperCode::B4, "B4", {257, 364}}, // JIS B sizes, as Japanese printers mean them
    {PaperCode::B5, "B5", {182, 257}},
}};

const KnownPaper* knownPaper(int code) {
    for (const KnownPaper& p : kPapers)
        if (static_cast<int>(p.code) == code) return &p;
    return nullptr;
}

constexpr std::string_view kPortrait = "\x8f\x63";  // 縦
constexpr std::string_view kLandscape = "\x89\xa1"; // 横

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return out;
}

int dots(int mm, int dpi) {
    return static_cast<int>(static_cast<long long>(mm) * dpi * 10 / 254);
}

} // namespace

std::string paperText(int paperCode) {
    const KnownPaper* p = knownPaper(paperCode);
    return p ? p->text : "?";
}

std::string orientationText(int orientation) {
    if (orientation == static_cast<int>(Orientation::Portrait)) return std::string(kPortrait);
    if (orientation == static_cast<int>(Orientation::Landscape)) return std::string(kLandscape);
    return "?";
}

std::optional<PaperMm> paperSize(int paperCode) {
    const KnownPaper* p = knownPaper(paperCode);
    if (!p) return std::nullopt;
    return p->mm;
}

bool isSupportedPaper(std::string_view text) {
    for (const KnownPaper& p : kPapers)
        if (text == p.text) return true;
    return false;
}

PaperMm currentSheet(const PrinterService& printer) {
    const std::optional<PrinterDevice> device = printer.currentDevice();
    const PrinterMode mode = device ? device->mode : PrinterMode{};
    PaperMm mm = paperSize(mode.paperCode).value_or(PaperMm{210, 297});
    if (mode.orientation == static_cast<int>(Orientation::Landscape))
        std::swap(mm.width, mm.height);
    return mm;
}

std::optional<PrinterDevice> BuiltInPrinter::currentDevice() const {
    return PrinterDevice{"PDF", "", "", mode_};
}

PrinterPage BuiltInPrinter::page() const {
    const PaperMm mm = currentSheet(*this);
    return {dots(mm.width, dpi_), dots(mm.height, dpi_), dpi_};
}

void restorePrinter(PrinterService& printers, int printerIndex, std::string_view paper,
                    std::string_view orientation) {
    printers.setPrinterIndex(
        printerIndex >= 0 && printerIndex < printers.printerCount() ? printerIndex : -1);
    std::optional<PrinterDevice> device = printers.currentDevice();
    if (!device) return;
    PrinterMode mode = device->mode;
    const std::string lower = lowerAscii(paper);
    for (const KnownPaper& p : kPapers)
        if (lower.find(lowerAscii(p.text)) != std::string::npos)
            mode.paperCode = static_cast<int>(p.code);
    if (orientation.find(kPortrait) != std::string_view::npos)
        mode.orientation = static_cast<int>(Orientation::Portrait);
    else if (orientation.find(kLandscape) != std::string_view::npos)
        mode.orientation = static_cast<int>(Orientation::Landscape);
    printers.setMode(mode);
}

std::optional<PrinterReading> readPrinter(const PrinterService& printers) {
    const std::optional<PrinterDevice> device = printers.currentDevice();
    if (!device) return std::nullopt;
    auto cut = [](const std::string& s) { return s.substr(0, 128); };
    return PrinterReading{cut(device->device) + " " + cut(device->driver) + " " + cut(device->port),
                          paperText(device->mode.paperCode),
                          orientationText(device->mode.orientation)};
}

} // namespace kol::print
