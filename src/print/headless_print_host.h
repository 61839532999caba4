// A preview window that shows nothing: the model lays pages out and draws them where it is told,
// with no picture and no scrolling. kolumbra-cli prints through it; benchmarks build on it.
#pragma once

#include "print/grid_print_01.h"

namespace kol::print {

class HeadlessPrintHost : public GridPrintHost {
public:
    explicit HeadlessPrintHost(const FontMetrics& metrics) : metrics_(metrics) {}

    const FontMetrics& metrics() const override { return metrics_; }
    int scrollBoxWidth() const override { return 1200; }
    int scrollBoxHeight() const override { return 800; }
    bool makeImage(int, int) override { return true; }
    void paintImage(const std::function<void(Canvas&)>&) override {}
    void setPanelSize(int, int) override {}
    int scrollX() const override { return 0; }
    int scrollY() const override { return 0; }
    int scrollRangeX() const override { return 0; }
    int scrollRangeY() const override { return 0; }
    void setScroll(int, int) override {}
    void processPending() override {}
    PrintClockReading now() const override; // the local date and time
    void closeWindow() override {}

private:
    const FontMetrics& metrics_;
};

} // namespace kol::print
