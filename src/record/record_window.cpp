#include "record/record_window.h"

#include "ui/grid_widget.h"
#include "ui/qt_cell_painter.h"
#include "ui/qt_memo_box.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QVBoxLayout>

namespace kol {

namespace {
using Key = RecordEditor::Key;

Key recordKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        return Key::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Alt:
        return Key::Alt;
    case Qt::Key_Muhenkan:
    case Qt::Key_Henkan:
    case Qt::Key_Kanji:
    case Qt::Key_Hiragana:
    case Qt::Key_Katakana:
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Zenkaku:
    case Qt::Key_Hankaku:
    case Qt::Key_Zenkaku_Hankaku:
        return Key::Ime;
    default:
        return Key::Other;
    }
}

QGroupBox* group(const QString& title, std::initializer_list<QWidget*> children) {
    auto* box = new QGroupBox(title);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);
    for (QWidget* child : children) layout->addWidget(child);
    return box;
}

QPushButton* pushButton(const Button& state) {
    auto* b = new QPushButton(qs(state.Caption));
    QFont bold = b->font();
    bold.setBold(true);
    b->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(b->text()) + 14);
    return b;
}
} // namespace

RecordWindow::RecordWindow(RecordEditor& model, const QFont& gridFont,
                           std::function<void(const std::function<void()>&)> run, QWidget* parent)
    : QWidget(parent), model_(model), run_(std::move(run)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildPanel();
    layout->addWidget(pnlVertTop_);
    buildGrid(gridFont);
    layout->addWidget(grid_, 1);
    buildPopup();
    model_.setMemoView(this);
}

void RecordWindow::buildPanel() {
    RecordEditor& m = model_;
    pnlVertTop_ = new QWidget(this);
    auto* top = new QHBoxLayout(pnlVertTop_);
    top->setContentsMargins(2, 2, 2, 2);
    auto connectButton = [this](QPushButton* b, Button& state, void (RecordEditor::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { run_([this, handler] { (model_.*handler)(); }); });
        bindings_.button(b, state);
        return b;
    };
    top->addWidget(
        group(qs(sj("単行編集")), {connectButton(pushButton(m.Btn_VertGridEnd), m.Btn_VertGridEnd,
                                                 &RecordEditor::Btn_VertGridEndClick)}));

    labVertRowNo_ = new QLabel;
    labVertRowNo_->setMinimumWidth(110);
    labVertRowNo_->setAlignment(Qt::AlignCenter);
    labVertRowNo_->setFrameShape(QFrame::Panel);
    labVertRowNo_->setFrameShadow(QFrame::Sunken);
    // Only the arrows mean anything; the bar never keeps the focus, so VertGrid keeps it.
    auto* bar = new QScrollBar(Qt::Vertical);
    const int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    bar->setMinimumHeight(3 * extent);
    bar->setRange(0, 2);
    bar->setValue(1);
    bar->setFocusPolicy(Qt::NoFocus);
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
        using S = RecordEditor::ScrollCode;
        const S code = action == QAbstractSlider::SliderSingleStepAdd   ? S::LineDown
                       : action == QAbstractSlider::SliderSingleStepSub ? S::LineUp
                                                                        : S::Other;
        bar->setSliderPosition(1);
        run_([this, code] { model_.scbVertRowNoScroll(code); });
    });
    QPushButton* prior = connectButton(pushButton(m.Btn_VertRowNoPrior), m.Btn_VertRowNoPrior,
                                       &RecordEditor::Btn_VertRowNoPriorClick);
    QPushButton* next = connectButton(pushButton(m.Btn_VertRowNoNext), m.Btn_VertRowNoNext,
                                      &RecordEditor::Btn_VertRowNoNextClick);
    pnlVertRowNo_ = group(qs(m.pnlVertRowNo.Caption), {labVertRowNo_, bar, prior, next});
    prior->setVisible(m.Btn_VertRowNoPrior.Visible);
    next->setVisible(m.Btn_VertRowNoNext.Visible);
    top->addWidget(pnlVertRowNo_);

    top->addWidget(connectButton(pushButton(m.Btn_VertSelect), m.Btn_VertSelect,
                                 &RecordEditor::Btn_VertSelectClick));

    auto* komKeta = new QComboBox;
    komKeta->setFont(programFont(12));
    komKeta->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    komKeta->setMaxVisibleItems(20);
    bindings_.combo(komKeta, m.Cmb_VertKomKeta,
                    [this] { run_([this] { model_.Cmb_VertKomKetaClick(); }); });
    top->addWidget(group(qs(sj("列名幅")), {komKeta}));
    top->addStretch(1);
    bindings_.custom([this] {
        pnlVertRowNo_->setTitle(qs(model_.pnlVertRowNo.Caption));
        labVertRowNo_->setText(qs(model_.Lab_VertRowNo.Caption));
    });
}

void RecordWindow::buildGrid(const QFont& gridFont) {
    grid_ = new GridWidget(this);
    grid_->setGridFont(gridFont);
    grid_->setGrid(&model_.VertGrid, &model_.VertView);
    grid_->setCellPainter([this](QPainter& p, const QRect& rect, int c, int r, bool, bool) {
        drawCellLook(p, rect, model_.cellLook(c, r), grid_->letterWidth(), grid_->letterHeight(),
                     palette().color(QPalette::Dark));
    });
    connect(grid_, &GridWidget::cellPressed, this,
            [this](int, int, Qt::MouseButton button, Qt::KeyboardModifiers) {
                run_([this] { model_.VertGridMouseDown(); });
                if (button == Qt::RightButton) popup_->popup(QCursor::pos());
            });
    connect(grid_, &GridWidget::cellDoubleClicked, this,
            [this](int c, int r) { run_([=, this] { model_.VertGridDblClick(c, r); }); });
    connect(grid_, &GridWidget::cellSelected, this,
            [this](int c, int r) { run_([=, this] { model_.VertGridSelectCell(c, r); }); });
    connect(grid_, &GridWidget::keyPressed, this, [this](QKeyEvent* event) { gridKey(event); });
    grid_->setInputMethodAccepted(true);
    connect(grid_, &GridWidget::inputMethodReceived, this,
            [this](QInputMethodEvent* event) { gridInputMethod(event); });

    memo_ = new QPlainTextEdit(grid_->viewport());
    memo_->hide();
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    memo_->setPalette(pal);
    memo_->installEventFilter(this);
    memo_->viewport()->installEventFilter(this);
}

void RecordWindow::buildPopup() {
    RecordEditor& m = model_;
    popup_ = new QMenu(this);
    QAction* exit = popup_->addAction(qs(m.Pm2_Exit.Caption));
    connect(exit, &QAction::triggered, this,
            [this] { run_([this] { model_.Btn_VertGridEndClick(); }); });
    bindings_.action(exit, m.Pm2_Exit);
    QMenu* convert = popup_->addMenu(qs(m.pm2_StrConvert.Caption));
    bindings_.action(convert->menuAction(), m.pm2_StrConvert);
    using C = RecordEditor::Conversion;
    for (auto [item, conversion] : {std::pair{&m.pm2_StrCvtHanToZen, C::HanToZen},
                                    std::pair{&m.pm2_StrCvtZenToHan, C::ZenToHan},
                                    std::pair{&m.pm2_StrCvtHiraToKata, C::HiraToKata},
                                    std::pair{&m.pm2_StrCvtKataToHira, C::KataToHira}}) {
        QAction* action = convert->addAction(qs(item->Caption));
        connect(action, &QAction::triggered, this, [this, conversion] {
            run_([this, conversion] { model_.pm2_StrCvtHanToZenClick(conversion); });
        });
        bindings_.action(action, *item);
    }
}

void RecordWindow::sync() {
    bindings_.push();
    setVisible(model_.shown());
    grid_->refresh();
    grid_->viewport()->update();
    if (!model_.mmMemo.Visible && memo_->isVisible()) memo_->hide();
}

void RecordWindow::focusGrid() {
    if (isVisible()) grid_->setFocus();
}

void RecordWindow::gridKey(QKeyEvent* event) {
    // Ctrl+PageDown and Ctrl+PageUp step through the records, as the hidden 次 and 前 buttons.
    if (event->modifiers() & Qt::ControlModifier &&
        (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp)) {
        const bool next = event->key() == Qt::Key_PageDown;
        event->accept();
        run_([this, next] {
            if (next)
                model_.Btn_VertRowNoNextClick();
            else
                model_.Btn_VertRowNoPriorClick();
        });
        return;
    }
    bool taken = false;
    run_([&, this] {
        taken = model_.VertGridKeyDown(recordKey(event));
        if (!taken && !(event->modifiers() & Qt::ControlModifier)) {
            const QList<uint> codes = event->text().toUcs4();
            if (!codes.isEmpty() && codes.front() != 0x7F)
                taken = model_.VertGridKeyPress(static_cast<int>(codes.front()));
        }
    });
    if (taken) event->accept();
}

void RecordWindow::gridInputMethod(QInputMethodEvent* event) {
    event->accept();
    const QString committed = event->commitString();
    if (!committed.isEmpty()) run_([&, this] { model_.VertGridTextInput(fromQs(committed)); });
    if (event->preeditString().isEmpty()) return;
    if (!model_.mmMemo.Visible)
        run_([this] { model_.mmMemo.open(model_.VertView.col, model_.VertView.row); });
    if (!model_.mmMemo.Visible) return;
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QCoreApplication::sendEvent(memo_, &composing);
}

bool RecordWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (memo_ && watched == memo_->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            bool closed = false;
            run_([&, this] { closed = model_.mmMemoMouseDown(p.x(), p.y()); });
            return closed;
        }
        if (type == QEvent::MouseButtonDblClick) {
            run_([this] { model_.mmMemoDblClick(); });
            return true;
        }
        return false;
    }
    if (memo_ && watched == memo_) {
        if (type == QEvent::KeyPress) {
            const Key key = recordKey(static_cast<QKeyEvent*>(event));
            if (key == Key::Enter || key == Key::Escape) {
                run_([=, this] { model_.mmMemoKeyDown(key); });
                return true;
            }
        } else if (type == QEvent::FocusOut && model_.mmMemo.Visible) {
            // The memo's own context menu and leaving the application keep it open.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                run_([this] { model_.mmMemoExit(); });
        }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- MemoView ---------------------------------------------------------------------------------

MemoView::Rect RecordWindow::cellRect(int col, int row) {
    const QRect rc = grid_->cellRect(col, row);
    return rc.isEmpty() ? Rect{} : Rect{rc.x(), rc.y(), rc.width(), rc.height()};
}

int RecordWindow::gridHeight() {
    return grid_->viewport()->height();
}

void RecordWindow::scrollToCell(int col, int row) {
    grid_->scrollToCell(col, row);
}

void RecordWindow::showMemo(const std::string& text, const Rect& where) {
    memoShown_ = showMemoBox(memo_, text, where, grid_->gridFont());
}

void RecordWindow::typeInMemo(const std::string& text) {
    memo_->insertPlainText(qs(text));
}

void RecordWindow::hideMemo() {
    memo_->hide();
}

std::string RecordWindow::memoText() {
    return memoBoxText(memo_, memoShown_, model_.mmMemo.Text);
}

} // namespace kol
