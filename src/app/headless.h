// A main window with no display behind it: for kolumbra-cli and the benchmarks.
#pragma once

#include "app/kolumbra01.h"

namespace kol {

class HeadlessHost : public MainHost {
public:
    void setBusy(bool) override {}
    void repaintStatus() override {}
    void bringToFront() override {}
    void focusGrid() override {}
    void closeWindow() override {}
    bool isMaximized() override { return false; }
    void showDocumentFile(const std::string&, const std::string&) override {}
    void showDocumentText(const std::string&) override {}
    void runCsvFixed(TFm_CsvFixed&) override {}
};

class NoClipboard : public Clipboard {
public:
    bool hasText() override { return false; }
    std::string text() override { return {}; }
    void setText(const std::string&) override {}
};

} // namespace kol
