#include "search/search_window.h"

#include "ui/grid_widget.h"
#include "ui/qt_cell_painter.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <QWindow>

namespace kol {

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QGroupBox* group(const QString& title, std::initializer_list<QWidget*> children) {
    auto* box = new QGroupBox(title);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(4);
    for (QWidget* child : children) layout->addWidget(child);
    return box;
}

// Input a running search must not let through to other windows: it could change the table the
// search is reading.
bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::DragEnter:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}
} // namespace

SearchWindow::SearchWindow(TableDocument& source, GridViewState& mainView, SearchMainLink& link,
                           std::string programDir, Prompts* prompts, Clipboard* clipboard)
    : QWidget(nullptr, Qt::Window) {
    if (!prompts) prompts = (ownPrompts_ = std::make_unique<QtPrompts>(this)).get();
    if (!clipboard) clipboard = (ownClipboard_ = std::make_unique<QtClipboard>()).get();
    model_ = std::make_unique<TFm_Kolumbra02>(*prompts, *clipboard, clock_,
                                              static_cast<SearchHost&>(*this), link, source,
                                              mainView, std::move(programDir));
    setFont(programFont(13));
    build();
    model_->LetterWidth = grid_->letterWidth();
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    model_->FormCreate(area.width(), area.height());
    setGeometry(area.left() + model_->Left, area.top() + model_->Top, model_->Width,
                model_->Height);
    sync();
}

SearchWindow::~SearchWindow() {
    if (gatingInput_) qApp->removeEventFilter(this);
}

QPushButton* SearchWindow::button(Button& state, void (TFm_Kolumbra02::*handler)()) {
    auto* b = new QPushButton(qs(state.Caption));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this,
            [this, handler] { run([this, handler] { (model_.get()->*handler)(); }); });
    bindings_.button(b, state);
    return b;
}

void SearchWindow::build() {
    TFm_Kolumbra02& m = *model_;
    setWindowTitle(qs(m.Caption));
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(95, 95, 95));
    setPalette(dark);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 0, 8, 8);
    outer->setSpacing(0);
    auto* bar = new QMenuBar(this);
    useProgramMenuBarLook(bar);
    outer->setMenuBar(bar);
    auto menuItem = [this](QMenu* menu, MenuItem& item, void (TFm_Kolumbra02::*handler)()) {
        QAction* a = menu->addAction(qs(item.Caption));
        connect(a, &QAction::triggered, this,
                [this, handler] { run([this, handler] { (model_.get()->*handler)(); }); });
        bindings_.action(a, item);
    };
    QMenu* file = bar->addMenu("File(&F)");
    menuItem(file, m.Mn_FileSave, &TFm_Kolumbra02::Mn_FileSaveClick);
    file->addSeparator();
    menuItem(file, m.Mn_Exit, &TFm_Kolumbra02::Mn_ExitClick);
    menuItem(bar->addMenu("Print(&P)"), m.Mn_Print, &TFm_Kolumbra02::Mn_PrintClick);
    menuItem(bar->addMenu("Option(&O)"), m.Mn_FindHistoryClear,
             &TFm_Kolumbra02::Mn_FindHistoryClearClick);

    // The panel in button face on the dark margins, as the main window.
    auto* base = new QWidget(this);
    base->setAutoFillBackground(true);
    QPalette face = base->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    base->setPalette(face);
    outer->addSpacing(8);
    outer->addWidget(base, 1);
    auto* layout = new QVBoxLayout(base);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    rdoAnd_ = new QRadioButton("AND");
    rdoOr_ = new QRadioButton("OR");
    for (QRadioButton* r : {rdoAnd_, rdoOr_})
        connect(r, &QRadioButton::clicked, this,
                [this] { run([this] { model_->Rdo_ANDClick(); }); });
    top->addWidget(group(u("検索条件"), {rdoAnd_, rdoOr_}));

    // The word field lies over the history list's text area; its drop-down button stays
    // visible beside it.
    cmbFindWord_ = new QComboBox;
    setDropDownRows(cmbFindWord_, 16);
    cmbFindWord_->setMinimumWidth(160);
    cmbFindWord_->installEventFilter(this);
    edtWord_ = new QLineEdit(cmbFindWord_);
    edtWord_->setFrame(false);
    connect(edtWord_, &QLineEdit::returnPressed, this,
            [this] { run([this] { model_->Btn_ExecClick(); }); });
    bindings_.combo(cmbFindWord_, m.Cmb_FindWord,
                    [this] { run([this] { model_->Cmb_FindWordClick(); }); });
    QPushButton* clear = button(m.Btn_Clear, &TFm_Kolumbra02::Btn_ClearClick);
    QPushButton* getClip = button(m.btnGetClip, &TFm_Kolumbra02::btnGetClipClick);
    for (QPushButton* b : {clear, getClip}) b->setFixedWidth(48);
    QGroupBox* words = group(u("検索文字列"), {cmbFindWord_, clear, getClip});
    top->addWidget(words, 1);

    btnExec_ = button(m.Btn_Exec, &TFm_Kolumbra02::Btn_ExecClick);
    btnStop_ = button(m.Btn_Stop, &TFm_Kolumbra02::Btn_StopClick);
    btnStop_->setFont(programFont(13, true));
    execStack_ = new QStackedWidget;
    execStack_->addWidget(btnExec_);
    execStack_->addWidget(btnStop_);
    execStack_->setFixedWidth(56);
    top->addWidget(group(u("  検索 "), {execStack_}));
    QPushButton* copyExec = button(m.btnCopyExec, &TFm_Kolumbra02::btnCopyExecClick);
    copyExec->setFixedWidth(56);
    top->addWidget(group(u(" Copy "), {copyExec}));

    labRecords_ = new QLabel;
    labRecords_->setMinimumWidth(80);
    labRecords_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labRecords_->setFrameShape(QFrame::Panel);
    labRecords_->setFrameShadow(QFrame::Sunken);
    top->addWidget(group(u("検索行数"), {labRecords_}));
    QPushButton* prior = button(m.Btn_Prior, &TFm_Kolumbra02::Btn_PriorClick);
    QPushButton* next = button(m.Btn_Next, &TFm_Kolumbra02::Btn_NextClick);
    for (QPushButton* b : {prior, next}) b->setFixedWidth(34);
    top->addWidget(prior);
    top->addWidget(next);
    // The row steps sit on a panel that is never shown.
    auto* rowSteps = new QWidget(base);
    auto* rowLayout = new QHBoxLayout(rowSteps);
    rowLayout->addWidget(button(m.Btn_RowPrior, &TFm_Kolumbra02::Btn_RowPriorClick));
    rowLayout->addWidget(button(m.Btn_RowNext, &TFm_Kolumbra02::Btn_RowNextClick));
    rowSteps->hide();
    top->addSpacing(8);
    QPushButton* exit = button(m.Btn_Exit, &TFm_Kolumbra02::Mn_ExitClick);
    exit->setFixedWidth(56);
    top->addWidget(exit);
    layout->addLayout(top);

    labGuide_ = new QLabel;
    labGuide_->setFont(programFont(13));
    labGuide_->setContentsMargins(2, 4, 2, 4);
    layout->addWidget(labGuide_);

    gridStack_ = new QStackedWidget;
    grid_ = new GridWidget;
    grid_->setGrid(&m.Grid, &m.View);
    grid_->setCellPainter(
        [this](QPainter& p, const QRect& rect, int c, int r, bool selected, bool) {
            drawCellLook(p, rect, model_->GridDrawCell(c, r, selected), grid_->letterWidth(),
                         grid_->letterHeight(), palette().color(QPalette::Dark));
        });
    connect(grid_, &GridWidget::cellSelected, this,
            [this](int c, int r) { model_->GridSelectCell(c, r); });
    connect(grid_, &GridWidget::cellDoubleClicked, this,
            [this](int, int) { run([this] { model_->GridDblClick(); }); });
    connect(grid_, &GridWidget::keyPressed, this, [this](QKeyEvent* event) { gridKey(event); });
    cellEditor_ = new QLineEdit(grid_->viewport());
    cellEditor_->hide();
    cellEditor_->installEventFilter(this);
    connect(cellEditor_, &QLineEdit::returnPressed, this, [this] { commitEdit(true); });
    auto* empty = new QWidget;
    empty->setAutoFillBackground(true);
    gridStack_->addWidget(grid_);
    gridStack_->addWidget(empty);
    layout->addWidget(gridStack_, 1);

    bindings_.custom([this] {
        TFm_Kolumbra02& m = *model_;
        if (m.Edt_Word != wordShown_) {
            edtWord_->setText(qs(m.Edt_Word));
            wordShown_ = m.Edt_Word;
        }
        rdoAnd_->setChecked(m.Rdo_AND.Checked);
        rdoOr_->setChecked(m.Rdo_OR.Checked);
        execStack_->setCurrentWidget(m.Btn_Stop.Visible ? btnStop_ : btnExec_);
        labRecords_->setText(qs(m.Lab_Records.Caption));
        labGuide_->setText(qs(m.Lab_Guide.Caption));
        QPalette pal = labGuide_->palette();
        pal.setColor(QPalette::WindowText, qcolour(m.GuideColour));
        labGuide_->setPalette(pal);
    });
}

void SearchWindow::placeWordField() {
    QStyleOptionComboBox option;
    option.initFrom(cmbFindWord_);
    option.editable = false;
    QRect field = cmbFindWord_->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, cmbFindWord_);
    edtWord_->setGeometry(field);
}

void SearchWindow::gridKey(QKeyEvent* event) {
    const int c = model_->View.col, r = model_->View.row;
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if ((!typed && event->key() != Qt::Key_F2) || !model_->GridCanEdit(c, r)) return;
    event->accept();
    editCol_ = c;
    editRow_ = r;
    cellEditor_->setFont(grid_->gridFont());
    cellEditor_->setText(typed ? event->text() : qs(std::string(model_->Grid.cell(c, r))));
    cellEditor_->setGeometry(grid_->cellRect(c, r));
    cellEditor_->show();
    cellEditor_->setFocus();
}

void SearchWindow::commitEdit(bool keep) {
    if (!cellEditor_->isVisible()) return;
    cellEditor_->hide();
    if (keep) {
        const std::string text = fromQs(cellEditor_->text());
        run([&] { model_->GridSetEditText(editCol_, editRow_, text); });
    }
    grid_->setFocus();
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cellEditor_) {
        if (event->type() == QEvent::FocusOut) commitEdit(true);
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            commitEdit(false);
            return true;
        }
    }
    if (watched == cmbFindWord_ && event->type() == QEvent::Resize) placeWordField();
    if (gatingInput_ && isUserInput(event->type())) {
        // Input reaches the platform window first, then its widgets.
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* window = qobject_cast<QWindow*>(watched);
        const bool ours = widget ? widget->window() == this : window && window == windowHandle();
        if (!ours) return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::pull() {
    bindings_.pull();
    TFm_Kolumbra02& m = *model_;
    // An untouched field keeps the word's own bytes, even those that do not decode.
    if (edtWord_->text() != qs(wordShown_)) m.Edt_Word = fromQs(edtWord_->text());
    wordShown_ = m.Edt_Word;
    m.Rdo_AND.Checked = rdoAnd_->isChecked();
    m.Rdo_OR.Checked = rdoOr_->isChecked();
}

void SearchWindow::sync() {
    bindings_.push();
    gridStack_->setCurrentIndex(model_->GridVisible ? 0 : 1);
    grid_->refresh();
    if (model_->ShowResultCell) {
        grid_->scrollToCell(model_->View.col, model_->View.row);
        model_->ShowResultCell = false;
    }
    grid_->viewport()->update();
}

void SearchWindow::run(const std::function<void()>& handler) {
    pull();
    handler();
    sync();
}

void SearchWindow::showWindow() {
    show();
    raise();
    activateWindow();
}

void SearchWindow::tableReshaped(Reshape how) {
    model_->tableReshaped(how);
    sync();
}

void SearchWindow::LoadHistory(std::span<const std::string> stored) {
    model_->LoadHistory(stored);
    sync();
}

void SearchWindow::GatherHistory(std::span<std::string> stored) {
    model_->GatherHistory(stored);
}

void SearchWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeWordField();
    run([this] { model_->FormShow(); });
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    run([this] { model_->FormClose(); });
    event->accept(); // hidden only; the window lives as long as the program
}

void SearchWindow::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    if (busy && busyDepth_ == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyDepth_ == 0) QApplication::restoreOverrideCursor();
    if (busyDepth_ < 0) busyDepth_ = 0;
}

void SearchWindow::processPending() {
    sync();
    labRecords_->repaint();
    labGuide_->repaint();
    if (!gatingInput_) {
        gatingInput_ = true;
        qApp->installEventFilter(this);
        QApplication::processEvents();
        qApp->removeEventFilter(this);
        gatingInput_ = false;
    }
    pull();
}

void SearchWindow::focusWord() {
    if (isVisible()) edtWord_->setFocus();
}

void SearchWindow::focusResults() {
    if (isVisible() && model_->GridVisible) grid_->setFocus();
}

void SearchWindow::bringToFront() {
    raise();
    activateWindow();
}

} // namespace kol
