#include "print/print_window.h"

#include "print/qt_printers.h"

#include "ui/qt_program_look.h"
#include "ui/qt_prompts.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace kol::print {

namespace {
constexpr int kDotsPerMeter96 = 3780; // 96 dots per inch
} // namespace

// The preview picture: paints the window's image and reports the mouse in its own pixels.
class PreviewImageWidget : public QWidget {
public:
    PreviewImageWidget(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

    std::function<void(int, int)> pressed, doubleClicked;
    std::function<void(int, int, bool)> moved;
    std::function<void()> released;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, image_);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (pressed) pressed(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (moved)
            moved(e->position().toPoint().x(), e->position().toPoint().y(),
                  e->buttons().testFlag(Qt::LeftButton));
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        if (released) released();
    }
    // The second press of a double-click pages, then starts a drag as any press does.
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        if (doubleClicked) doubleClicked(at.x(), at.y());
    }

private:
    const QImage& image_;
};

void PrintWindow::setWindowColour(QWidget* widget, const QColor& colour) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void showPrintPreview(QWidget* parent, PrintRequest& request) {
    QtPrinters printers;
    PrintWindow window(parent, request, printers);
    printers.setDialogs(&window, &window.prompts());
    window.runModal();
}

bool PrintWindow::openInBrowser(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

PrintWindow::PrintWindow(QWidget* parent, PrintRequest& request, PrinterService& printers,
                         Prompts* prompts)
    : QMainWindow(parent, Qt::Window), metricsImage_(1, 1, QImage::Format_RGB32),
      metrics_(&metricsImage_) {
    metricsImage_.setDotsPerMeterX(kDotsPerMeter96);
    metricsImage_.setDotsPerMeterY(kDotsPerMeter96);
    if (!prompts) prompts = (ownPrompts_ = std::make_unique<QtPrompts>(this)).get();
    prompts_ = prompts;
    model_ = std::make_unique<TfrmGridPrint_01>(*prompts, static_cast<GridPrintHost&>(*this),
                                                printers, request);
    if (parent) setWindowIcon(parent->window()->windowIcon());
    build();
    sync();
}

PrintWindow::~PrintWindow() = default;

QWidget* PrintWindow::imageWidget() const {
    return imgPrn_;
}

void PrintWindow::runModal() {
    setWindowModality(Qt::ApplicationModal);
    // Without a window manager a maximised state is only a wish: the normal size is the whole
    // screen as well.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    show();
    if (closeConfirmed_) return; // closed while it was being shown
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec();
    modalLoop_ = nullptr;
}

void PrintWindow::build() {
    setWindowTitle(qs(model_->Caption));
    auto* central = new QWidget(this);
    setWindowColour(central, QColor(128, 128, 128)); // a window without a printer is all grey
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlHed_ = buildHeader();
    layout->addWidget(pnlHed_);
    layout->addWidget(buildPreview(), 1);
    setCentralWidget(central);
    buildMenus();
}

QWidget* PrintWindow::buildPreview() {
    scrBox_ = new QScrollArea;
    scrBox_->setFrameShape(QFrame::NoFrame);
    // The panel's size is a minimum that the box may widen to its own: a fixed-size widget
    // exactly as large as the box keeps scroll bars that were shown before.
    scrBox_->setWidgetResizable(true);
    setWindowColour(scrBox_->viewport(), QColor(128, 128, 128));
    pnlImage_ = new QWidget;
    setWindowColour(pnlImage_, QColor(192, 192, 192));
    pnlImage_->installEventFilter(this);
    imgPrn_ = new PreviewImageWidget(image_, pnlImage_);
    // While the model's loop lets events in, the page being laid out must not be drawn: the
    // image takes no input then.
    imgPrn_->pressed = [this](int x, int y) {
        if (!lettingEventsIn_) run([&] { model_->imgPrnMouseDown(x, y); });
    };
    imgPrn_->moved = [this](int x, int y, bool left) {
        if (!lettingEventsIn_) run([&] { model_->imgPrnMouseMove(x, y, left); });
    };
    imgPrn_->released = [this] {
        if (!lettingEventsIn_) run([this] { model_->imgPrnMouseUp(); });
    };
    imgPrn_->doubleClicked = [this](int x, int y) {
        if (lettingEventsIn_) return;
        run([&] {
            model_->imgPrnDblClick();
            model_->imgPrnMouseDown(x, y);
        });
    };
    scrBox_->setWidget(pnlImage_);
    scrBox_->installEventFilter(this);

    lblPrintMsg_ = new QLabel(scrBox_);
    lblPrintMsg_->setFont(programFont(16));
    lblPrintMsg_->setContentsMargins(8, 4, 8, 4);
    QPalette pal = lblPrintMsg_->palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    lblPrintMsg_->setPalette(pal);
    lblPrintMsg_->setAutoFillBackground(true);
    lblPrintMsg_->hide();
    bindings_.custom([this] {
        const Label& msg = model_->lblPrintMsg;
        const bool show = msg.Visible && !msg.Caption.empty();
        if (show) {
            lblPrintMsg_->setText(qs(msg.Caption));
            placeMessage();
            lblPrintMsg_->raise();
        }
        lblPrintMsg_->setVisible(show);
    });
    bindings_.custom([this] { scrBox_->setVisible(!model_->NoPrinter); });
    // While pages go to the printer the picture is hidden and the message shows instead.
    bindings_.custom([this] { imgPrn_->setVisible(!model_->Printing); });
    return scrBox_;
}

void PrintWindow::sync() {
    setWindowTitle(qs(model_->Caption));
    bindings_.push();
}

void PrintWindow::run(const std::function<void()>& handler) {
    ++runDepth_;
    bindings_.pull();
    handler();
    sync();
    --runDepth_;
    if (runDepth_ > 0) return;
    if (closePending_) {
        closePending_ = false;
        close();
    } else if (resizePending_) {
        resizePending_ = false;
        run([this] { model_->FormResize(); });
    }
}

void PrintWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    run([this] { model_->FormShow(); });
}

void PrintWindow::closeEvent(QCloseEvent* event) {
    if (!closeConfirmed_) {
        // FormClose stops a running creation; its loop must return before the window goes.
        if (shown_) run([this] { model_->FormClose(); });
        if (runDepth_ > 0 || model_->creatingAll()) {
            closePending_ = true;
            event->ignore();
            return;
        }
        closeConfirmed_ = true;
    }
    event->accept();
    if (modalLoop_) modalLoop_->quit();
    emit closed();
}

bool PrintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pnlImage_ && event->type() == QEvent::Resize) {
        placeImage();
        return false;
    }
    if (watched == scrBox_ && event->type() == QEvent::Resize) {
        placeMessage();
        // A resize inside a handler (its loop letting events in) is applied after it.
        if (runDepth_ > 0)
            resizePending_ = true;
        else if (shown_)
            run([this] { model_->FormResize(); });
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || (edit != edtPageMin_ && edit != edtPageMax_))
        return QMainWindow::eventFilter(watched, event);
    const Handler exit =
        edit == edtPageMin_ ? &TfrmGridPrint_01::edtPageMinExit : &TfrmGridPrint_01::edtPageMaxExit;
    if (event->type() == QEvent::FocusOut) {
        // Only leaving for another control of this window validates, as switching windows or
        // opening a menu does not leave the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            run([this, exit] { (model_.get()->*exit)(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        run([this, exit] { (model_.get()->*exit)(); });
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false; // moving keys and focus changes are no typing
    const char16_t typed = text.at(0).unicode();
    const bool accepted =
        typed < 0x80 && TfrmGridPrint_01::PageFieldAccepts(static_cast<char>(typed));
    return !accepted;
}

// The client area without scroll bars: a page fitted to it then needs none.
int PrintWindow::scrollBoxWidth() const {
    return scrBox_->maximumViewportSize().width();
}

int PrintWindow::scrollBoxHeight() const {
    return scrBox_->maximumViewportSize().height();
}

bool PrintWindow::makeImage(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    QImage made(width, height, QImage::Format_RGB32);
    if (made.isNull()) return false;
    made.fill(Qt::white);
    made.setDotsPerMeterX(kDotsPerMeter96);
    made.setDotsPerMeterY(kDotsPerMeter96);
    image_ = std::move(made);
    imgPrn_->resize(width, height);
    placeImage();
    imgPrn_->update();
    return true;
}

void PrintWindow::paintImage(const std::function<void(Canvas&)>& draw) {
    if (image_.isNull()) return;
    {
        QtImageCanvas canvas(image_);
        draw(canvas);
    }
    imgPrn_->update();
}

void PrintWindow::setPanelSize(int width, int height) {
    // A panel as wide as the box but taller than it brings the vertical bar, which would then
    // need a horizontal one just for the bar's own width; likewise the other way round.
    const QSize room = scrBox_->maximumViewportSize();
    const int bar = scrBox_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrBox_);
    if (height > room.height() && width <= room.width()) width = room.width() - bar;
    if (width > room.width() && height <= room.height()) height = room.height() - bar;
    panelWidth_ = width;
    panelHeight_ = height;
    placeImage();
}

void PrintWindow::placeImage() {
    // The page sits in the middle of the silver panel, which is never smaller than the page.
    const QSize least(std::max(panelWidth_, imgPrn_->width()),
                      std::max(panelHeight_, imgPrn_->height()));
    if (pnlImage_->minimumSize() != least) {
        pnlImage_->setMinimumSize(least);
        // The box takes the new size now, not at its next layout: the model reads the ranges.
        QEvent request(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(scrBox_, &request);
    }
    const QSize panel = pnlImage_->size().expandedTo(least);
    imgPrn_->move((panel.width() - imgPrn_->width()) / 2, (panel.height() - imgPrn_->height()) / 2);
}

void PrintWindow::placeMessage() {
    lblPrintMsg_->adjustSize();
    lblPrintMsg_->move(scrBox_->width() / 4, scrBox_->height() / 4);
}

int PrintWindow::scrollX() const {
    return scrBox_->horizontalScrollBar()->value();
}

int PrintWindow::scrollY() const {
    return scrBox_->verticalScrollBar()->value();
}

int PrintWindow::scrollRangeX() const {
    return scrBox_->horizontalScrollBar()->maximum();
}

int PrintWindow::scrollRangeY() const {
    return scrBox_->verticalScrollBar()->maximum();
}

void PrintWindow::setScroll(int x, int y) {
    scrBox_->horizontalScrollBar()->setValue(x);
    scrBox_->verticalScrollBar()->setValue(y);
}

void PrintWindow::processPending() {
    sync();
    const bool outer = lettingEventsIn_;
    lettingEventsIn_ = true;
    QCoreApplication::processEvents();
    lettingEventsIn_ = outer;
}

PrintClockReading PrintWindow::now() const {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.toString("yyyy/MM/dd").toStdString(), t.toString("HH:mm:ss").toStdString()};
}

void PrintWindow::closeWindow() {
    close();
}

} // namespace kol::print
