// The print preview window: builds the widgets, forwards every event to TfrmGridPrint_01 and
// mirrors its state back. It is modal; the model's long loops let events in through
// processPending(), so a close that arrives during one waits until the loop has returned.
#pragma once

#include "print/grid_print_01.h"
#include "print/qt_image_canvas.h"
#include "ui/control_bindings.h"

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QColor;
class QEventLoop;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QStackedWidget;

namespace kol {
class QtPrompts;
}

namespace kol::print {

class PreviewImageWidget;

// Opens the preview modally on `request` with the built-in printer and returns after it closed;
// `request.settings` then holds what the window wrote back.
void showPrintPreview(QWidget* parent, PrintRequest& request);

class PrintWindow : public QMainWindow, private GridPrintHost {
    Q_OBJECT
public:
    // `prompts` may be given by tests; otherwise message boxes are used. The window takes the
    // parent's icon.
    PrintWindow(QWidget* parent, PrintRequest& request, PrinterService& printers,
                Prompts* prompts = nullptr);
    ~PrintWindow() override;

    // Shows the window maximised and returns when it has closed.
    void runModal();

    TfrmGridPrint_01& model() { return *model_; }
    Prompts& prompts() { return *prompts_; }
    const QImage& image() const { return image_; }
    QWidget* imageWidget() const;
    QScrollArea* scrollBox() const { return scrBox_; }
    QLineEdit* pageMinEdit() const { return edtPageMin_; }
    QLineEdit* pageMaxEdit() const { return edtPageMax_; }
    QAction* action(const MenuItem& item) const { return bindings_.actionFor(item); }
    QPushButton* buttonFor(const Button& state) const; // nullptr when not built
    void sync();                                       // model → widgets

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GridPrintHost
    const FontMetrics& metrics() const override { return metrics_; }
    int scrollBoxWidth() const override;
    int scrollBoxHeight() const override;
    bool makeImage(int width, int height) override;
    void paintImage(const std::function<void(Canvas&)>& draw) override;
    void setPanelSize(int width, int height) override;
    int scrollX() const override;
    int scrollY() const override;
    int scrollRangeX() const override;
    int scrollRangeY() const override;
    void setScroll(int x, int y) override;
    void processPending() override;
    PrintClockReading now() const override;
    void closeWindow() override;
    bool openInBrowser(const std::string& path) override;

    using Handler = void (TfrmGridPrint_01::*)();
    static void setWindowColour(QWidget* widget, const QColor& colour);
    // print_window.cpp: the window, the preview area and the events; print_controls_window.cpp:
    // the header and the menus.
    void build();
    QWidget* buildHeader();
    QWidget* buildPreview();
    void buildMenus();
    QPushButton* button(Button& state, Handler handler);
    QGroupBox* group(Panel& state);
    void bindLabel(QLabel* label, const Label& state);
    QLineEdit* pageField(std::string& text);        // key filter and validation: eventFilter
    void run(const std::function<void()>& handler); // pull, forward, mirror back
    void placeImage();
    void placeMessage();
    void finishDeferredClose();

    std::unique_ptr<QtPrompts> ownPrompts_;
    Prompts* prompts_ = nullptr;
    QImage metricsImage_; // 96 dpi, so font pixel sizes come out exact
    QtFontMetrics metrics_;
    QImage image_;
    std::unique_ptr<TfrmGridPrint_01> model_;
    ControlBindings bindings_;
    std::vector<std::pair<const Button*, QPushButton*>> buttons_;

    QWidget* pnlHed_ = nullptr;
    QScrollArea* scrBox_ = nullptr;
    QWidget* pnlImage_ = nullptr;
    PreviewImageWidget* imgPrn_ = nullptr;
    QLabel* lblPrintMsg_ = nullptr;
    QLineEdit* edtPageMin_ = nullptr;
    QLineEdit* edtPageMax_ = nullptr;
    QScrollBar* scrPage_ = nullptr;
    QEventLoop* modalLoop_ = nullptr;
    int panelWidth_ = 0, panelHeight_ = 0;
    int runDepth_ = 0;             // handlers running, nested ones inside processPending included
    bool shown_ = false;           // FormShow has run
    bool lettingEventsIn_ = false; // inside processPending
    bool resizePending_ = false;   // the scroll box changed size while a handler ran
    bool closePending_ = false;    // a close came while the model's loop ran
    bool closeConfirmed_ = false;  // FormClose has run and the window may go
};

} // namespace kol::print
