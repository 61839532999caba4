#include "sort/csv_func_window.h"

#include "ui/grid_widget.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStackedLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kol {

namespace {
QColor bgr(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A list box that hands every drop to the window, which asks the model; Qt never moves items.
class DropList : public QListWidget {
public:
    DropList(CsvFuncWindow* window, QWidget* parent) : QListWidget(parent), window_(window) {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::CopyAction);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { accept(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { accept(event); }
    void dropEvent(QDropEvent* event) override {
        auto* from = qobject_cast<QListWidget*>(event->source());
        event->setDropAction(Qt::CopyAction);
        event->accept();
        window_->dropped(from, this, event->position().toPoint());
    }

private:
    void accept(QDropEvent* event) {
        auto* from = qobject_cast<QListWidget*>(event->source());
        // The key list takes drops from both lists; the column list only from the key list.
        const bool ok = from && (this == window_->sortKeyList() || from == window_->sortKeyList());
        if (ok) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }
    CsvFuncWindow* window_;
};
} // namespace

CsvFuncWindow::CsvFuncWindow(TableDocument& document, CsvFuncMain& main, CsvFuncWindowLink& link,
                             const QFont& font, int letterWidth, Prompts* prompts)
    : QWidget(nullptr, Qt::Window), link_(link),
      ownPrompts_(prompts ? nullptr : std::make_unique<QtPrompts>(this)),
      model_(prompts ? *prompts : *ownPrompts_, *this, document, main) {
    setWindowTitle(qs(model_.Caption));
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(95, 95, 95));
    setPalette(pal);

    auto* menu = new QMenuBar(this);
    useProgramMenuBarLook(menu);
    QAction* exit = menu->addMenu("File(&F)")->addAction(qs(model_.Mn_Exit.Caption));
    connect(exit, &QAction::triggered, this, [this] { run([this] { model_.Close(); }); });
    bindings_.action(exit, model_.Mn_Exit);

    tabs_ = new QTabWidget(this);
    auto* sortPage = new QWidget;
    auto* visibilityPage = new QWidget;
    tabs_->addTab(sortPage, QString::fromUtf8("列と行の並び替え"));
    tabs_->addTab(visibilityPage, QString::fromUtf8("列の表示抑制"));
    buildSortPage(sortPage);
    buildVisibilityPage(visibilityPage);
    // The pages share the window's dark grey, with light captions.
    for (QWidget* page : {sortPage, visibilityPage}) {
        page->setAutoFillBackground(true);
        QPalette dark = page->palette();
        dark.setColor(QPalette::Window, QColor(95, 95, 95));
        dark.setColor(QPalette::WindowText, Qt::white);
        page->setPalette(dark);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(tabs_);
    resize(600, 480);

    model_.LetterWidth = letterWidth;
    sync();
}

CsvFuncWindow::~CsvFuncWindow() = default;

void CsvFuncWindow::tableReshaped(Reshape how) {
    model_.tableReshaped(how);
    sync();
}

void CsvFuncWindow::buildSortPage(QWidget* page) {
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    pnlSelection_ = new QLabel(page);
    lbxSelection_ = new DropList(this, page);
    left->addWidget(pnlSelection_);
    left->addWidget(lbxSelection_);
    auto* right = new QVBoxLayout;
    auto* keyCaption = new QLabel(qs(model_.pnlSortKey), page);
    lbxSortKey_ = new DropList(this, page);
    right->addWidget(keyCaption);
    right->addWidget(lbxSortKey_);
    for (QLabel* l : {pnlSelection_, keyCaption}) {
        l->setFrameShape(QFrame::Panel);
        l->setAutoFillBackground(true);
    }
    lists->addLayout(left);
    lists->addLayout(right);
    connect(lbxSortKey_, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        run([this, item] { model_.LbxSortKeyMouseDown(lbxSortKey_->row(item)); });
    });

    auto* label1 = new QLabel(qs(model_.Label1), page);
    labMsg_ = new QLabel(page);
    labMsg_->setMinimumWidth(300);

    auto* group = new QGroupBox(qs(model_.GroupCaption), page);
    auto* checks = new QVBoxLayout(group);
    auto* rowSort = new QCheckBox(qs(model_.Chk_RowSort.Caption), group);
    auto* colSort = new QCheckBox(qs(model_.Chk_ColSort.Caption), group);
    checks->addWidget(rowSort);
    checks->addWidget(colSort);
    bindings_.check(rowSort, model_.Chk_RowSort, [this] { sync(); });
    bindings_.check(colSort, model_.Chk_ColSort, [this] { sync(); });

    // The stop button lies exactly over the run button.
    btnSort_ = new QPushButton(qs(model_.Btn_Sort.Caption), page);
    btnStop_ = new QPushButton(qs(model_.Btn_Stop.Caption), page);
    auto* end = new QPushButton(qs(model_.Btn_SortEnd.Caption), page);
    auto* overBox = new QWidget(page);
    overBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* over = new QStackedLayout(overBox);
    over->setContentsMargins(0, 0, 0, 0);
    over->addWidget(btnSort_);
    over->addWidget(btnStop_);
    bindings_.button(btnSort_, model_.Btn_Sort);
    bindings_.button(end, model_.Btn_SortEnd);
    bindings_.custom(
        [this, over] { over->setCurrentWidget(model_.Btn_Stop.Visible ? btnStop_ : btnSort_); });
    connect(btnSort_, &QPushButton::clicked, this, [this] {
        // While the sort lets events in, nothing in the main window may load, clear or edit
        // the table under it.
        link_.setMainInputEnabled(false);
        run([this] { model_.Btn_SortClick(); });
        link_.setMainInputEnabled(true);
    });
    connect(btnStop_, &QPushButton::clicked, this, [this] { model_.Btn_StopClick(); });
    connect(end, &QPushButton::clicked, this, [this] { run([this] { model_.Close(); }); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(group);
    bottom->addStretch(1);
    bottom->addWidget(overBox, 0, Qt::AlignBottom);
    bottom->addWidget(end, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label1);
    layout->addLayout(lists, 1);
    layout->addWidget(labMsg_);
    layout->addLayout(bottom);

    bindings_.label(pnlSelection_, model_.pnlSelection);
    bindings_.custom([this] {
        labMsg_->setText(qs(model_.Lab_Msg.Caption));
        QPalette p = labMsg_->palette();
        p.setColor(QPalette::WindowText, bgr(model_.Lab_MsgColour));
        labMsg_->setPalette(p);
    });
    bindings_.custom([this] { syncLists(); });
}

void CsvFuncWindow::buildVisibilityPage(QWidget* page) {
    printGrid_ = new GridWidget(page);
    printGrid_->setGrid(&model_.PrintGrid, &model_.PrintView);
    printGrid_->setCellPainter([this](QPainter& p, const QRect& rect, int c, int r, bool, bool) {
        const TFm_CsvFunc::VisibilityLook look = model_.printGridCell(c, r);
        if (look.fixed) {
            p.fillRect(rect, palette().color(QPalette::Button).darker(130));
            p.setPen(Qt::white);
            p.drawText(rect, Qt::AlignCenter, qs(look.text));
            return;
        }
        p.fillRect(rect, look.shown ? QColor(Qt::white) : QColor(192, 192, 192));
        p.setPen(look.shown ? QColor(Qt::black) : QColor(128, 128, 128));
        p.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, qs(look.text));
    });
    connect(printGrid_, &GridWidget::cellDoubleClicked, this,
            [this](int, int) { run([this] { model_.PrintGridDblClick(); }); });

    auto* label2 = new QLabel(qs(model_.Label2), page);
    auto* all = new QPushButton(qs(model_.Btn_PrintAll.Caption), page);
    auto* off = new QPushButton(qs(model_.Btn_PrintOff.Caption), page);
    auto* end = new QPushButton(qs(model_.Btn_PrintEnd.Caption), page);
    connect(all, &QPushButton::clicked, this,
            [this] { run([this] { model_.Btn_PrintAllClick(true); }); });
    connect(off, &QPushButton::clicked, this,
            [this] { run([this] { model_.Btn_PrintAllClick(false); }); });
    connect(end, &QPushButton::clicked, this, [this] { run([this] { model_.Close(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(off);
    buttons->addStretch(1);
    buttons->addWidget(end);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(label2);
    layout->addWidget(printGrid_, 1);
    layout->addLayout(buttons);
}

void CsvFuncWindow::syncLists() {
    auto mirror = [](QListWidget* list, const ListBox& box) {
        QStringList items;
        for (const std::string& item : box.Items) items << qs(item);
        bool same = list->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = list->item(i)->text() == items[i];
        if (!same) {
            list->clear();
            list->addItems(items);
            // Room to scroll sideways: half as wide again as the widest item.
            int widest = 0;
            for (const QString& item : items)
                widest = std::max(widest, list->fontMetrics().horizontalAdvance(item));
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setSizeHint(QSize(widest * 3 / 2, list->sizeHintForRow(0)));
        }
        if (list->currentRow() != box.ItemIndex) list->setCurrentRow(box.ItemIndex);
    };
    mirror(lbxSelection_, model_.LbxSelection);
    mirror(lbxSortKey_, model_.LbxSortKey);
}

void CsvFuncWindow::sync() {
    setWindowTitle(qs(model_.Caption));
    const bool sortPage = model_.ActivePage == CsvFuncPage::Sort;
    tabs_->setTabVisible(0, sortPage);
    tabs_->setTabVisible(1, !sortPage);
    tabs_->setCurrentIndex(sortPage ? 0 : 1);
    bindings_.push();
    printGrid_->refresh();
    printGrid_->viewport()->update();
}

void CsvFuncWindow::tableShown() {
    printGrid_->viewport()->update();
}

void CsvFuncWindow::run(const std::function<void()>& handler) {
    bindings_.pull();
    model_.LbxSelection.ItemIndex = lbxSelection_->currentRow();
    model_.LbxSortKey.ItemIndex = lbxSortKey_->currentRow();
    handler();
    sync();
    link_.mainModelChanged();
}

void CsvFuncWindow::dropped(QListWidget* from, QListWidget* onto, QPoint at) {
    using Source = TFm_CsvFunc::ListSource;
    const Source source = from == lbxSortKey_ ? Source::SortKey : Source::Selection;
    if (onto == lbxSortKey_) {
        const QModelIndex hit = lbxSortKey_->indexAt(at);
        const int target = hit.isValid() ? hit.row() : -1;
        run([this, source, target] { model_.LbxSortKeyDragDrop(source, target); });
    } else if (from == lbxSortKey_) {
        run([this, source] { model_.LbxSelectionDragDrop(source); });
    }
}

void CsvFuncWindow::showPage(CsvFuncPage page, int letterWidth) {
    model_.LetterWidth = letterWidth;
    if (page == CsvFuncPage::Sort)
        model_.OpenSortPage();
    else
        model_.OpenVisibilityPage();
    sync();
    show();
    raise();
    activateWindow();
    if (page == CsvFuncPage::Visibility) printGrid_->setFocus();
}

void CsvFuncWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides the window; a running sort sees its flag cleared and stops.
    event->ignore();
    run([this] { model_.Close(); });
}

void CsvFuncWindow::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    if (busy && busyDepth_ == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyDepth_ == 0) QApplication::restoreOverrideCursor();
    if (busyDepth_ < 0) busyDepth_ = 0;
}

void CsvFuncWindow::processPending() {
    bindings_.push();
    labMsg_->repaint();
    QApplication::processEvents();
}

void CsvFuncWindow::hideWindow() {
    hide();
}

} // namespace kol
