// The main window's grid input: the popup menus, the memo editor, the range timer, keys and
// presses forwarded to GridInput, and the view GridInput works through.
#include "app/kolumbra01_window.h"

#include "ui/grid_widget.h"
#include "ui/qt_memo_box.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>

namespace kol {

namespace {
GridInput::MouseButton inputButton(Qt::MouseButton button) {
    return button == Qt::LeftButton    ? GridInput::MouseButton::Left
           : button == Qt::RightButton ? GridInput::MouseButton::Right
                                       : GridInput::MouseButton::Middle;
}

GridInput::Key inputKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
        return GridInput::Key::Delete;
    case Qt::Key_Insert:
        return GridInput::Key::Insert;
    case Qt::Key_Escape:
        return GridInput::Key::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridInput::Key::Enter;
    case Qt::Key_Alt:
        return GridInput::Key::Alt;
    case Qt::Key_Muhenkan:
    case Qt::Key_Henkan:
    case Qt::Key_Kanji:
    case Qt::Key_Hiragana:
    case Qt::Key_Katakana:
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Zenkaku:
    case Qt::Key_Hankaku:
    case Qt::Key_Zenkaku_Hankaku:
        return GridInput::Key::Ime;
    default:
        return GridInput::Key::Other;
    }
}

// The character a key types (a code point, so one beyond the 16-bit range stays whole), as a
// control code for Ctrl+letter; -1 when it types none.
int typedCode(const QKeyEvent* event) {
    if (event->modifiers() & Qt::ControlModifier)
        return event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z ? event->key() - Qt::Key_A + 1
                                                                      : -1;
    const QList<uint> codes = event->text().toUcs4();
    if (codes.isEmpty()) return -1;
    const int code = static_cast<int>(codes.front());
    return code == 0x7F ? -1 : code; // the Delete key's text
}
} // namespace

void Kolumbra01Window::addPopupItems(QMenu* menu, const std::vector<GridInput::PopupNode>& nodes) {
    for (const GridInput::PopupNode& node : nodes) {
        QAction* action = nullptr;
        if (!node.children.empty()) {
            QMenu* sub = menu->addMenu(qs(node.item->Caption));
            addPopupItems(sub, node.children);
            action = sub->menuAction();
        } else {
            action = menu->addAction(qs(node.item->Caption));
            connect(action, &QAction::triggered, this, [this, command = node.command] {
                if (command)
                    run(command);
                else
                    sync();
            });
        }
        bindings_.action(action, *node.item);
    }
}

void Kolumbra01Window::buildPopups() {
    for (Popup kind : {Popup::Cell, Popup::Row, Popup::Column}) {
        QMenu*& menu = popups_[static_cast<int>(kind)];
        menu = new QMenu(this);
        addPopupItems(menu, input_->popup(kind));
    }
}

QScrollBar* Kolumbra01Window::smallScrollBar(Qt::Orientation orientation,
                                             void (GridInput::*handler)(GridInput::ScrollCode)) {
    // Only the arrows mean anything: the bar stays in the middle, and never keeps the focus.
    auto* bar = new QScrollBar(orientation);
    // Both arrows and a little of the track always show: the panel grows rather than cut one.
    const int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    if (orientation == Qt::Vertical) bar->setMinimumHeight(3 * extent);
    bar->setRange(0, 2);
    bar->setValue(1);
    bar->setFocusPolicy(Qt::NoFocus);
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, handler](int action) {
        const GridInput::ScrollCode code =
            action == QAbstractSlider::SliderSingleStepAdd   ? GridInput::ScrollCode::LineDown
            : action == QAbstractSlider::SliderSingleStepSub ? GridInput::ScrollCode::LineUp
                                                             : GridInput::ScrollCode::Other;
        bar->setSliderPosition(1);
        run([=, this] { (input_.get()->*handler)(code); });
        focusGrid();
    });
    return bar;
}

void Kolumbra01Window::buildMemo() {
    memo_ = new QPlainTextEdit(grid_->viewport());
    memo_->hide();
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    memo_->setPalette(pal);
    memo_->installEventFilter(this);
    memo_->viewport()->installEventFilter(this);
}

void Kolumbra01Window::gridKey(QKeyEvent* event) {
    bool taken = input_->GridKeyDown(inputKey(event));
    if (!taken) {
        const int code = typedCode(event);
        if (code >= 0) taken = input_->GridKeyPress(code);
    }
    if (taken) event->accept();
    sync();
}

void Kolumbra01Window::gridInputMethod(QInputMethodEvent* event) {
    // An input method composing on the grid: what it commits opens the memo and goes in; a
    // composition it starts opens the memo and goes on there.
    event->accept();
    const QString committed = event->commitString();
    if (!committed.isEmpty()) run([&, this] { input_->GridTextInput(fromQs(committed)); });
    if (event->preeditString().isEmpty()) return;
    if (!input_->mmMemo.Visible) run([this] { input_->OpenMemo(); });
    if (!input_->mmMemo.Visible) return;
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QCoreApplication::sendEvent(memo_, &composing);
}

bool Kolumbra01Window::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (grid_ && watched == grid_->viewport()) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            pressPos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        } else if (type == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            input_->GridMouseMove(p.x(), p.y());
        } else if (type == QEvent::MouseButtonRelease) {
            input_->GridMouseUp();
            syncTimer();
        }
        return false;
    }
    if (memo_ && watched == memo_->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (input_->mmMemoMouseDown(p.x(), p.y())) {
                sync();
                return true;
            }
        } else if (type == QEvent::MouseButtonDblClick) {
            run([this] { input_->mmMemoDblClick(); });
            return true;
        }
        return false;
    }
    if (memo_ && watched == memo_) {
        if (type == QEvent::KeyPress) {
            const GridInput::Key key = inputKey(static_cast<QKeyEvent*>(event));
            if (key == GridInput::Key::Enter || key == GridInput::Key::Escape) {
                run([=, this] { input_->mmMemoKeyDown(key); });
                return true;
            }
        } else if (type == QEvent::FocusOut && input_->mmMemo.Visible) {
            // The memo's own context menu and leaving the application keep it open.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                run([this] { input_->mmMemoExit(); });
        }
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Kolumbra01Window::syncTimer() {
    if (input_->GridTimerEnabled && !gridTimer_.isActive()) gridTimer_.start();
    if (!input_->GridTimerEnabled && gridTimer_.isActive()) gridTimer_.stop();
}

GridInputView::Rect Kolumbra01Window::cellRect(int col, int row) {
    const QRect rc = grid_->cellRect(col, row);
    return rc.isEmpty() ? Rect{} : Rect{rc.x(), rc.y(), rc.width(), rc.height()};
}

bool Kolumbra01Window::cellAt(int x, int y, int& col, int& row) {
    return grid_->cellAt(QPoint(x, y), col, row);
}

int Kolumbra01Window::gridHeight() {
    return grid_->viewport()->height();
}

void Kolumbra01Window::setTopLeft(int topRow, int leftCol) {
    grid_->setTopLeft(topRow, leftCol);
}

void Kolumbra01Window::scrollToCell(int col, int row) {
    grid_->scrollToCell(col, row);
}

void Kolumbra01Window::openPopup(Popup kind, int x, int y) {
    bindings_.push(); // the items as the popup's enabling left them
    popups_[static_cast<int>(kind)]->popup(grid_->viewport()->mapToGlobal(QPoint(x, y)));
}

void Kolumbra01Window::showMemo(const std::string& text, const Rect& where) {
    memoShown_ = showMemoBox(memo_, text, where, grid_->gridFont());
}

void Kolumbra01Window::typeInMemo(const std::string& text) {
    memo_->insertPlainText(qs(text));
}

void Kolumbra01Window::hideMemo() {
    memo_->hide();
}

std::string Kolumbra01Window::memoText() {
    return memoBoxText(memo_, memoShown_, input_->mmMemo.Text);
}

void Kolumbra01Window::connectGridInput() {
    // The press point comes from the viewport's events, the press itself after the widget
    // has moved the cursor.
    grid_->viewport()->installEventFilter(this);
    connect(grid_, &GridWidget::cellPressed, this,
            [this](int, int, Qt::MouseButton button, Qt::KeyboardModifiers) {
                run([=, this] {
                    input_->GridMouseDown(inputButton(button), pressPos_.x(), pressPos_.y());
                });
            });
    connect(grid_, &GridWidget::cellDoubleClicked, this,
            [this](int, int) { run([this] { input_->GridDblClick(); }); });
    connect(grid_, &GridWidget::cellSelected, this,
            [this](int c, int r) { run([=, this] { input_->GridSelectCell(c, r); }); });
    connect(grid_, &GridWidget::keyPressed, this, [this](QKeyEvent* event) { gridKey(event); });
    grid_->setInputMethodAccepted(true);
    connect(grid_, &GridWidget::inputMethodReceived, this,
            [this](QInputMethodEvent* event) { gridInputMethod(event); });
}

} // namespace kol
