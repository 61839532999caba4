#include "print/print_window.h"

#include "ui/qt_cell_painter.h"
#include "ui/qt_program_look.h"
#include "ui/qt_prompts.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace kol::print {

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr int kDotsPerMeter96 = 3780; // 96 dots per inch

void setWindowColour(QWidget* widget, const QColor& colour) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}
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

void showPrintPreview(QWidget* parent, PrintRequest& request) {
    BuiltInPrinter printer;
    PrintWindow window(parent, request, printer);
    window.runModal();
}

PrintWindow::PrintWindow(QWidget* parent, PrintRequest& request, PrinterService& printers,
                         Prompts* prompts)
    : QMainWindow(parent, Qt::Window), metricsImage_(1, 1, QImage::Format_RGB32),
      metrics_(&metricsImage_) {
    metricsImage_.setDotsPerMeterX(kDotsPerMeter96);
    metricsImage_.setDotsPerMeterY(kDotsPerMeter96);
    if (!prompts) prompts = (ownPrompts_ = std::make_unique<QtPrompts>(this)).get();
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

QPushButton* PrintWindow::button(Button& state, Handler handler) {
    auto* b = new QPushButton(qs(state.Caption));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    // As wide as its caption in bold: the style's standard width would crowd the header.
    QFont bold = b->font();
    bold.setBold(true);
    b->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(b->text()) + 12);
    connect(b, &QPushButton::clicked, this, [this, handler] {
        run([this, handler] {
            if (handler) (model_.get()->*handler)();
        });
    });
    bindings_.button(b, state);
    buttons_.emplace_back(&state, b);
    return b;
}

QPushButton* PrintWindow::buttonFor(const Button& state) const {
    for (const auto& [bound, widget] : buttons_)
        if (bound == &state) return widget;
    return nullptr;
}

QGroupBox* PrintWindow::group(Panel& state) {
    auto* box = new QGroupBox(qs(state.Caption));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(5, 1, 5, 3);
    row->setSpacing(3);
    auto shown = std::make_shared<std::string>(state.Caption);
    bindings_.custom([box, &state, shown] {
        if (*shown != state.Caption) {
            box->setTitle(qs(state.Caption));
            *shown = state.Caption;
        }
        box->setEnabled(state.Enabled);
        box->setVisible(state.Visible);
    });
    return box;
}

void PrintWindow::bindLabel(QLabel* label, const Label& state) {
    bindings_.custom([label, &state] {
        label->setText(qs(state.Caption));
        label->setEnabled(state.Enabled);
        label->setVisible(state.Visible);
    });
}

QLineEdit* PrintWindow::pageField(std::string& text) {
    auto* edit = new QLineEdit;
    edit->setMaxLength(7);
    edit->setFixedWidth(QFontMetrics(edit->font()).horizontalAdvance("00000000") + 8);
    edit->installEventFilter(this);
    bindings_.lineEdit(edit, text);
    return edit;
}

QWidget* PrintWindow::buildHeader() {
    TfrmGridPrint_01& m = *model_;
    auto* header = new QWidget;
    setWindowColour(header, QApplication::palette().color(QPalette::Button));
    // Two rows: the settings of the page, then paging and the printer with room to spare.
    auto* rows = new QVBoxLayout(header);
    rows->setContentsMargins(4, 0, 4, 3);
    rows->setSpacing(0);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    for (QHBoxLayout* row : {first, second}) {
        row->setSpacing(4);
        rows->addLayout(row);
    }
    auto add = [](QGroupBox* box, std::initializer_list<QWidget*> children) {
        for (QWidget* child : children) box->layout()->addWidget(child);
        return box;
    };
    auto narrow = [](QPushButton* b) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 14);
        return b;
    };
    auto label = [](const char* utf8) { return new QLabel(u(utf8)); };

    // Cell scale and creation.
    auto* cellScale = new QLabel;
    cellScale->setAlignment(Qt::AlignCenter);
    cellScale->setMinimumWidth(cellScale->fontMetrics().horizontalAdvance("1000 %") + 4);
    bindLabel(cellScale, m.Lbl_CellScale);
    auto* cellWay = new QComboBox;
    bindings_.combo(cellWay, m.Cmb_CellWay,
                    [this] { run([this] { model_->Cmb_CellWayChange(); }); });
    auto* create = new QStackedWidget;
    QPushButton* dataCreate = button(m.Btn_DataCreate, &TfrmGridPrint_01::Btn_DataCreateClick);
    QPushButton* createStop = button(m.Btn_CreateStop, &TfrmGridPrint_01::Btn_CreateStopClick);
    createStop->setFont(programFont(13, true));
    create->addWidget(dataCreate);
    create->addWidget(createStop);
    create->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* createSts = new QLabel;
    createSts->setAlignment(Qt::AlignCenter);
    createSts->setFrameShape(QFrame::Panel);
    createSts->setFrameShadow(QFrame::Sunken);
    createSts->setAutoFillBackground(true);
    createSts->setMinimumWidth(createSts->fontMetrics().horizontalAdvance(u("作成要→")) + 12);
    bindings_.custom([this, create, dataCreate, createStop, createSts] {
        const TfrmGridPrint_01& m = *model_;
        create->setCurrentWidget(m.Btn_CreateStop.Visible ? createStop : dataCreate);
        createSts->setText(qs(m.Lbl_CreateSts.Caption));
        createSts->setVisible(m.Lbl_CreateSts.Visible);
        QPalette pal = createSts->palette();
        pal.setColor(QPalette::Window, m.Lbl_CreateSts.Color
                                           ? qcolour(m.Lbl_CreateSts.Color)
                                           : QApplication::palette().color(QPalette::Button));
        pal.setColor(QPalette::WindowText, qcolour(m.Lbl_CreateSts.FontColor));
        createSts->setPalette(pal);
    });
    first->addWidget(add(group(m.grpCellRate),
                         {narrow(button(m.btnFontDw, &TfrmGridPrint_01::btnFontDwClick)), cellScale,
                          narrow(button(m.btnFontUp, &TfrmGridPrint_01::btnFontUpClick)), cellWay,
                          create, createSts}));

    // Margins.
    auto* mgnUp = new QComboBox;
    auto* mgnLeft = new QComboBox;
    setDropDownRows(mgnUp, 21);
    setDropDownRows(mgnLeft, 21);
    bindings_.combo(mgnUp, m.Cmb_MgnUp, [this] { run([this] { model_->Cmb_MgnUpChange(); }); });
    bindings_.combo(mgnLeft, m.Cmb_MgnLeft,
                    [this] { run([this] { model_->Cmb_MgnLeftChange(); }); });
    first->addWidget(add(group(m.grpMargin), {label("上"), mgnUp, label("左"), mgnLeft}));

    // Display scale.
    auto* scale = new QComboBox;
    auto* resetScl = new QComboBox;
    setDropDownRows(scale, 24);
    setDropDownRows(resetScl, 24);
    bindings_.combo(scale, m.Cmb_Scale, [this] { run([this] { model_->Cmb_ScaleChange(); }); });
    bindings_.combo(resetScl, m.Cmb_ResetScl,
                    [this] { run([this] { model_->Cmb_ResetSclChange(); }); });
    first->addWidget(
        add(group(m.grpScale),
            {scale, resetScl, button(m.Btn_DispMode, &TfrmGridPrint_01::Btn_DispModeClick)}));

    // Lines and grey.
    auto* lineKind = new QComboBox;
    auto* gray = new QComboBox;
    setDropDownRows(gray, 24);
    bindings_.combo(lineKind, m.Cmb_LineKind,
                    [this] { run([this] { model_->Cmb_LineKindChange(); }); });
    bindings_.combo(gray, m.Cmb_Gray, [this] { run([this] { model_->Cmb_GrayChange(); }); });
    first->addWidget(
        add(group(m.grpGray), {label("罫線"), lineKind,
                               narrow(button(m.btnGrayDw, &TfrmGridPrint_01::btnGrayDwClick)), gray,
                               narrow(button(m.btnGrayUp, &TfrmGridPrint_01::btnGrayUpClick))}));

    // Pages.
    edtPageMin_ = pageField(m.edtPageMin);
    edtPageMax_ = pageField(m.edtPageMax);
    scrPage_ = new QScrollBar(Qt::Horizontal);
    scrPage_->setMinimumWidth(240);
    connect(scrPage_, &QScrollBar::valueChanged, this, [this](int value) {
        model_->scrPage.Position = value;
        run([this] { model_->scrPageChange(); });
    });
    bindings_.custom([this] {
        const ScrollBar& s = model_->scrPage;
        QSignalBlocker block(scrPage_);
        scrPage_->setRange(s.Min, std::max(s.Min, s.Max));
        scrPage_->setValue(s.Position);
        scrPage_->setSingleStep(s.SmallChange);
        scrPage_->setPageStep(s.LargeChange);
        scrPage_->setEnabled(s.Enabled);
        scrPage_->setVisible(s.Visible);
    });
    QGroupBox* page = add(
        group(m.grpPage),
        {edtPageMin_, edtPageMax_, narrow(button(m.btnPageDw, &TfrmGridPrint_01::btnPageDwClick)),
         narrow(button(m.btnPageUp, &TfrmGridPrint_01::btnPageUpClick)), scrPage_});
    first->addStretch(1);
    second->addWidget(page);

    // Printer.
    auto* prtInf = new QLabel;
    prtInf->setMinimumWidth(80);
    prtInf->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bindLabel(prtInf, m.lblPrtInf);
    auto* print = new QStackedWidget;
    QPushButton* printExec = button(m.Btn_PrintExec, nullptr);
    QPushButton* printStop = button(m.Btn_PrintStop, nullptr);
    printStop->setFont(programFont(13, true));
    print->addWidget(printExec);
    print->addWidget(printStop);
    print->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    bindings_.custom([this, print, printExec, printStop] {
        print->setCurrentWidget(model_->Btn_PrintStop.Visible ? printStop : printExec);
    });
    QGroupBox* printer = add(group(m.grpPrinter), {prtInf, button(m.Btn_PrtSet, nullptr), print});
    static_cast<QHBoxLayout*>(printer->layout())->setStretch(0, 1);
    second->addWidget(printer, 1);

    bindings_.custom([this, header] {
        header->setEnabled(model_->pnlHed.Enabled);
        header->setVisible(model_->pnlHed.Visible && !model_->NoPrinter);
    });
    return header;
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
    return scrBox_;
}

void PrintWindow::buildMenus() {
    TfrmGridPrint_01& m = *model_;
    QMenuBar* bar = menuBar();
    useProgramMenuBarLook(bar);
    auto item = [this](QMenu* menu, MenuItem& state, Handler handler, bool checkable) {
        QAction* a = menu->addAction(qs(state.Caption));
        a->setCheckable(checkable);
        // A check is the model's: the handler toggles it, the push shows it.
        connect(a, &QAction::triggered, this, [this, handler] {
            run([this, handler] {
                if (handler) (model_.get()->*handler)();
            });
        });
        bindings_.action(a, state);
        return a;
    };

    QMenu* file = bar->addMenu("File(&F)");
    item(file, m.mnExit1, &TfrmGridPrint_01::mnExit1Click, false);

    QMenu* save = bar->addMenu("Save(&S)");
    bindings_.action(save->menuAction(), m.Mn_Save);
    item(save, m.Mn_SaveCsv, nullptr, false);
    QMenu* html = save->addMenu(qs(m.Mn_SaveHtmlMain.Caption));
    bindings_.action(html->menuAction(), m.Mn_SaveHtmlMain);
    item(html, m.Mn_ExecHtml, nullptr, false);
    item(html, m.Mn_SaveHtml, nullptr, false);

    QMenu* view = bar->addMenu("View(&V)");
    bindings_.action(view->menuAction(), m.Mn_View);
    item(view, m.Mn_FixedCenter, &TfrmGridPrint_01::Mn_FixedCenterClick, true);
    item(view, m.Mn_DataCenter, &TfrmGridPrint_01::Mn_DataCenterClick, true);
    item(view, m.Mn_TrimSpace, &TfrmGridPrint_01::Mn_TrimSpaceClick, true);
    item(view, m.Mn_DateEdit, &TfrmGridPrint_01::Mn_DateEditClick, true);
    item(view, m.Mn_BreakColor, &TfrmGridPrint_01::Mn_BreakColorClick, true);
    item(view, m.Mn_KaraGyoColor, &TfrmGridPrint_01::Mn_KaraGyoColorClick, true);
    item(view, m.Mn_KaraGyoBlack, &TfrmGridPrint_01::Mn_KaraGyoBlackClick, true);

    QMenu* view2 = bar->addMenu("View2(&W)");
    bindings_.action(view2->menuAction(), m.Mn_View2);
    item(view2, m.Mn_PrintRowNo, &TfrmGridPrint_01::Mn_PrintRowNoClick, true);
    item(view2, m.Mn_PrintColNo, &TfrmGridPrint_01::Mn_PrintColNoClick, true);
    item(view2, m.Mn_PrintPathName, &TfrmGridPrint_01::Mn_PrintPathNameClick, true);
    item(view2, m.Mn_PrintFileName, &TfrmGridPrint_01::Mn_PrintFileNameClick, true);
    item(view2, m.Mn_PrintDate, &TfrmGridPrint_01::Mn_PrintDateClick, true);
    item(view2, m.Mn_PrintPage, &TfrmGridPrint_01::Mn_PrintPageClick, true);

    QAction* count = bar->addAction(qs(m.Mn_RecCount.Caption));
    bindings_.action(count, m.Mn_RecCount);

    // Without a printer only File stays; the bound states above are pushed first.
    bindings_.custom([this, save, view, view2, count] {
        if (!model_->NoPrinter) return;
        for (QAction* a : {save->menuAction(), view->menuAction(), view2->menuAction(), count})
            a->setVisible(false);
    });
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
