#include "viewer/browse_window.h"

#include "platform/placement.h"
#include "print/print_window.h"
#include "ui/qt_program_look.h"
#include "ui/qt_prompts.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>
#include <QVBoxLayout>

namespace kol {

namespace {
constexpr int kFontPixels = 14;
constexpr std::size_t kChunkBytes = 1 << 20; // a long text goes in a piece at a time
constexpr int kListWidth = 300;              // in letters of the header's font, roughly

std::string defaultProgramName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

// CP932 → Qt text with plain line feeds; a NUL byte shows as a blank rather than cutting the
// text.
QString paneString(std::string_view text) {
    QString s = qs(std::string(text));
    s.replace(QChar(0), QChar(' '));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

// The end of the piece of `text` starting at `from`: a line end, so no character is split.
std::size_t pieceEnd(const std::string& text, std::size_t from) {
    if (text.size() - from <= kChunkBytes) return text.size();
    const std::size_t at = text.find('\n', from + kChunkBytes);
    return at == std::string::npos ? text.size() : at + 1;
}
} // namespace

BrowseWindow::BrowseWindow(QWidget* parent, Prompts* prompts, std::string programName)
    : QMainWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    if (!prompts) prompts = (ownPrompts_ = std::make_unique<QtPrompts>(this)).get();
    model_ = std::make_unique<TFm_Browse>(*prompts, static_cast<BrowseHost&>(*this),
                                          programName.empty() ? defaultProgramName()
                                                              : std::move(programName));
    openFile = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(qpath(path)));
    };
    startFile = [](const std::string& program, const std::string& parameter) {
        return QProcess::startDetached(qpath(program), QProcess::splitCommand(qpath(parameter)));
    };
    printPreview = [this](print::PrintRequest& request) { print::showPrintPreview(this, request); };
    build();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    resize(area.width() * 2 / 3, area.height() * 2 / 3);
    startWidth_ = width();
    mirror();
}

BrowseWindow::~BrowseWindow() = default;

void BrowseWindow::build() {
    setFont(programFont(13));
    QMenu* file = menuBar()->addMenu("File(&F)");
    QAction* exit = file->addAction(qs(model_->Mn_Exit.Caption));
    connect(exit, &QAction::triggered, this, [this] { model_->Mn_ExitClick(); });
    QMenu* print = menuBar()->addMenu("Print(&P)");
    mnPrint_ = print->addAction(qs(model_->Mn_Print.Caption));
    connect(mnPrint_, &QAction::triggered, this, [this] { model_->Mn_PrintClick(); });
    useProgramMenuBarLook(menuBar());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The header's controls are placed by hand: the width button narrows the window below
    // what a layout would allow, leaving only the list and part of the buttons.
    pnlHed_ = new QWidget(central);
    cmbBrowseList_ = new QComboBox(pnlHed_);
    cmbBrowseList_->setFont(programFont(13));
    setDropDownRows(cmbBrowseList_, 12);
    btnWide_ = new QPushButton(qs(model_->Btn_Wide.Caption), pnlHed_);
    btnHtml_ = new QPushButton(qs(model_->Btn_Html.Caption), pnlHed_);
    btnEditor_ = new QPushButton(qs(model_->Btn_Editor.Caption), pnlHed_);
    for (QPushButton* b : {btnWide_, btnHtml_, btnEditor_}) b->setFocusPolicy(Qt::NoFocus);
    layoutHeader();
    headerHeight_ = pnlHed_->height();
    pnlHed_->setFixedHeight(headerHeight_);
    layout->addWidget(pnlHed_);

    pane_ = new QPlainTextEdit(central);
    pane_->setReadOnly(true);
    pane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane_->setFont(programFont(kFontPixels));
    pane_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane_->setUndoRedoEnabled(false);
    layout->addWidget(pane_, 1);
    setCentralWidget(central);
    setMinimumSize(0, 0);

    connect(cmbBrowseList_, &QComboBox::activated, this, [this](int index) {
        model_->cmbBrowseList.ItemIndex = index;
        model_->cmbBrowseListClick();
    });
    connect(btnWide_, &QPushButton::clicked, this, [this] { model_->Btn_WideClick(); });
    connect(btnHtml_, &QPushButton::clicked, this, [this] { model_->Btn_HtmlClick(); });
    connect(btnEditor_, &QPushButton::clicked, this, [this] { model_->Btn_EditorClick(); });
}

void BrowseWindow::layoutHeader() {
    const QFontMetrics metrics(cmbBrowseList_->font());
    const int margin = 4;
    const int height = cmbBrowseList_->sizeHint().height();
    const int listWidth = std::max(kListWidth, metrics.horizontalAdvance(QString(34, 'M')));
    cmbBrowseList_->setGeometry(margin, margin, listWidth, height);
    int x = margin + listWidth + margin;
    for (QPushButton* b : {btnWide_, btnHtml_, btnEditor_}) {
        const int w = std::max(b->sizeHint().width(), metrics.horizontalAdvance("Editor") + 24);
        b->setGeometry(x, margin, w, height);
        x += w + margin;
    }
    pnlHed_->resize(x, height + 2 * margin);
}

void BrowseWindow::makePrivate(const std::string& text, const std::string& file) {
    model_->SetPrivate(text, file);
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

void BrowseWindow::runModal() {
    setWindowModality(Qt::ApplicationModal);
    closing_ = false;
    model_->FormShow();
    show();
    while (isVisible() && !closing_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    hide();
}

QString BrowseWindow::shownText() const {
    return pane_->toPlainText();
}

void BrowseWindow::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    if (busy && busyDepth_ == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyDepth_ == 0) QApplication::restoreOverrideCursor();
    if (busyDepth_ < 0) busyDepth_ = 0;
}

void BrowseWindow::openPrintPreview(print::PrintRequest& request) {
    if (printPreview) printPreview(request);
}

void BrowseWindow::setPaneText(const std::string& text) {
    const unsigned generation = ++textGeneration_;
    pane_->clear();
    if (text.size() <= kChunkBytes) {
        pane_->setPlainText(paneString(text));
    } else {
        // A long document goes in a piece at a time with progress, and the program keeps
        // answering meanwhile; a newer text, or Cancel, stops it where it is.
        QProgressDialog progress(qs(sj("文書を読み込んでいます...")), qs(sj("中止")), 0,
                                 static_cast<int>(text.size() / 1024), this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(300);
        pane_->setUpdatesEnabled(false);
        QTextCursor cursor(pane_->document());
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t to = pieceEnd(text, from);
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(paneString(std::string_view(text.data() + from, to - from)));
            from = to;
            progress.setValue(static_cast<int>(from / 1024));
            QCoreApplication::processEvents();
            if (generation != textGeneration_) {
                pane_->setUpdatesEnabled(true);
                return;
            }
            if (progress.wasCanceled()) break;
        }
        pane_->setUpdatesEnabled(true);
    }
    pane_->moveCursor(QTextCursor::Start);
    pane_->horizontalScrollBar()->setValue(0);
    pane_->verticalScrollBar()->setValue(0);
}

void BrowseWindow::setPaneVisible(bool visible) {
    pane_->setVisible(visible);
}

void BrowseWindow::focusPane() {
    pane_->setFocus();
}

void BrowseWindow::placeOnScreen(bool firstShowing) {
    QScreen* screen = anchor_ ? anchor_->screen() : this->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame is not known before the first showing; a title bar's worth is kept free.
    QMargins frame(0, 32, 0, 0);
    const QRect outer = frameGeometry(), inner = geometry();
    if (isVisible() && outer != inner)
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const int frameW = frame.left() + frame.right(), frameH = frame.top() + frame.bottom();
    WindowRect r{geometry().left() - area.left() - frame.left(),
                 geometry().top() - area.top() - frame.top(), width() + frameW, height() + frameH};
    if (firstShowing) {
        r = CentreOnScreen({0, 0, area.width() * 2 / 3, area.height() * 2 / 3}, area.width(),
                           area.height());
        startWidth_ = r.width - frameW;
    }
    r = FitOnScreen(r, area.width(), area.height());
    setGeometry(area.left() + r.left + frame.left(), area.top() + r.top + frame.top(),
                r.width - frameW, r.height - frameH);
}

void BrowseWindow::showWindow() {
    const bool first = !placed_;
    if (!isVisible() || first) placeOnScreen(first);
    placed_ = true;
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void BrowseWindow::hideWindow() {
    hide();
}

void BrowseWindow::closeWindow() {
    closing_ = true;
    hide();
}

void BrowseWindow::mirror() {
    setWindowTitle(qs(model_->Caption));
    pnlHed_->setFixedHeight(model_->pnlHed.Visible ? headerHeight_ : 0);
    pnlHed_->setVisible(model_->pnlHed.Visible);
    cmbBrowseList_->setVisible(model_->cmbBrowseList.Visible);
    const auto& items = model_->cmbBrowseList.Items;
    QSignalBlocker block(cmbBrowseList_);
    if (cmbBrowseList_->count() != static_cast<int>(items.size())) {
        cmbBrowseList_->clear();
        for (const std::string& item : items) cmbBrowseList_->addItem(qs(item));
    }
    cmbBrowseList_->setCurrentIndex(model_->cmbBrowseList.ItemIndex);
    mnPrint_->setVisible(model_->Mn_Print.Visible);
    mnPrint_->setEnabled(model_->Mn_Print.Enabled);
}

WideGeometry BrowseWindow::wideGeometry() {
    return {cmbBrowseList_->geometry().right() + 1, cmbBrowseList_->width(), btnWide_->width(),
            startWidth_};
}

void BrowseWindow::setWindowWidth(int width) {
    resize(std::max(width, 1), height());
}

bool BrowseWindow::openWithDesktop(const std::string& path) {
    return openFile && openFile(path);
}

bool BrowseWindow::startProgram(const std::string& program, const std::string& parameter) {
    return startFile && startFile(program, parameter);
}

void BrowseWindow::closeEvent(QCloseEvent* event) {
    if (model_->isPrivate()) {
        closing_ = true;
        event->accept();
        return;
    }
    event->ignore();
    model_->FormClose();
}

void BrowseWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Minimising the viewer minimises the program.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && anchor_ &&
        !anchor_->isMinimized())
        anchor_->showMinimized();
}

} // namespace kol
