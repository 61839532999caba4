#include "app/kolumbra01_window.h"

#include "app/csv_etc_window.h"
#include "app/csv_excel_window.h"
#include "app/csv_fixed_window.h"
#include "app/settings_location.h"
#include "app/sort_link.h"
#include "platform/placement.h"
#include "print/print_window.h"
#include "record/record_window.h"
#include "search/search_window.h"
#include "sort/csv_func_window.h"
#include "ui/control_bindings.h"
#include "ui/grid_widget.h"
#include "ui/qt_cell_painter.h"
#include "ui/qt_program_look.h"
#include "ui/qt_text.h"
#include "viewer/browse_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kol {

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QColor bgr(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QGroupBox* group(const char* title, QWidget* parent, std::initializer_list<QWidget*> children) {
    auto* box = new QGroupBox(u(title), parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);
    for (QWidget* child : children) {
        child->setParent(box);
        layout->addWidget(child);
    }
    return box;
}

} // namespace

Kolumbra01Window::Kolumbra01Window(std::string programDir, std::vector<std::string> arguments,
                                   BrowseWindow* browse, Prompts* prompts, Clipboard* clipboard,
                                   bool useSettingsFile)
    : givenPrompts_(prompts), givenClipboard_(clipboard), arguments_(std::move(arguments)),
      browse_(browse) {
    if (browse_) browse_->setAnchor(this);
    if (!prompts) prompts = (ownPrompts_ = std::make_unique<QtPrompts>(this)).get();
    if (!clipboard) clipboard = (ownClipboard_ = std::make_unique<QtClipboard>()).get();
    model_ = std::make_unique<TFm_Kolumbra01>(*prompts, *clipboard, static_cast<MainHost&>(*this),
                                              clock_, std::move(programDir));
    input_ = std::make_unique<GridInput>(*model_, static_cast<GridInputView&>(*this));
    listening_ = std::make_unique<TableSubscription>(model_->Shown.listeners(),
                                                     static_cast<TableListener&>(*this));
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    model_->DataDir = dataHome && *dataHome ? std::string(dataHome) + "/kolumbra"
                      : home                ? std::string(home) + "/.local/share/kolumbra"
                                            : std::string();

    setFont(programFont(13));
    buildMenus();
    buildPanels();

    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    model_->LetterWidth = grid_->letterWidth();
    model_->LetterHeight = grid_->letterHeight();
    model_->FontPixels = std::max(1, grid_->gridFont().pixelSize());
    if (useSettingsFile) model_->SettingsPath = SettingsFilePath(model_->programDir());
    model_->FormCreate(ScreenInfo{area.width(), area.height()});
    setGeometry(model_->Left, model_->Top, model_->Width, model_->Height);
    setAcceptDrops(model_->DropAccepted);

    myTimer_.setSingleShot(true);
    myTimer_.setInterval(200);
    connect(&myTimer_, &QTimer::timeout, this,
            [this] { run([this] { model_->MyTimerTimer(arguments_); }); });
    saveTimer_.setInterval(700);
    connect(&saveTimer_, &QTimer::timeout, this,
            [this] { run([this] { model_->SaveTimerTimer(); }); });
    gridTimer_.setInterval(25);
    connect(&gridTimer_, &QTimer::timeout, this,
            [this] { run([this] { input_->GridTimerTimer(); }); });
    sync();
    // The panels may need more room than the bounds give: the window grows to keep them whole
    // and stays wholly on the screen, centred again when it had no bounds of its own. A first
    // start also leaves the message panel room for a message of 30 letters.
    layout()->activate();
    QSize grown = size().expandedTo(minimumSize());
    if (!model_->BoundsRestored) {
        // The message panel gets what its row leaves once the others have their natural size.
        const int row = pnlMsg_->parentWidget()->sizeHint().width() - pnlMsg_->sizeHint().width() +
                        30 * grid_->letterWidth();
        grown.setWidth(
            std::max(grown.width(), minimumWidth() + row - pnlBase_->minimumSizeHint().width()));
    }
    WindowRect fitted{x() - area.left(), y() - area.top(), grown.width(), grown.height()};
    if (!model_->BoundsRestored && grown != QSize(model_->Width, model_->Height))
        fitted = CentreOnScreen(fitted, area.width(), area.height());
    fitted = FitOnScreen(fitted, area.width(), area.height());
    setGeometry(area.left() + fitted.left, area.top() + fitted.top, fitted.width, fitted.height);
}

Kolumbra01Window::~Kolumbra01Window() {
    model_->Search = nullptr;
    searchListening_.reset();
    search_.reset();
    sortListening_.reset();
    sortWindow_.reset();
}

void Kolumbra01Window::tableReshaped(Reshape) {
    if (grid_) grid_->viewport()->update();
}

void Kolumbra01Window::cellsChanged(const GridRect&) {
    if (grid_) grid_->viewport()->update();
}

SearchWindow& Kolumbra01Window::createSearchWindow() {
    if (!search_) {
        search_ = std::make_unique<SearchWindow>(
            model_->Doc, model_->View, static_cast<SearchMainLink&>(*this), model_->programDir(),
            givenPrompts_, givenClipboard_);
        model_->Search = search_.get();
        searchListening_ = std::make_unique<TableSubscription>(model_->Shown.listeners(), *search_);
    }
    return *search_;
}

CsvFuncWindow& Kolumbra01Window::createSortWindow() {
    if (!sortWindow_) {
        sortLink_ = std::make_unique<MainSortLink>(*model_);
        sortWindow_ = std::make_unique<CsvFuncWindow>(model_->Doc, *sortLink_,
                                                      static_cast<CsvFuncWindowLink&>(*this),
                                                      font(), grid_->letterWidth(), givenPrompts_);
        sortListening_ =
            std::make_unique<TableSubscription>(model_->Shown.listeners(), *sortWindow_);
    }
    return *sortWindow_;
}

unsigned char Kolumbra01Window::separator() {
    return model_->CurrentSeparator;
}

std::string& Kolumbra01Window::selectFilePath() {
    return model_->Settings.Path_SelectFile;
}

void Kolumbra01Window::printGrid(const StringGrid& grid, const print::HeadingLines& headings,
                                 int rowLimit) {
    model_->PrintGrid(grid, headings, rowLimit);
}

void Kolumbra01Window::openPrintPreview(print::PrintRequest& request) {
    print::showPrintPreview(this, request);
}

void Kolumbra01Window::showFoundCell() {
    input_->GridSelectCell(model_->View.col, model_->View.row);
    // The record editor in the table's place shows the found row.
    model_->Record->showFoundRow(model_->View.row, model_->View.col);
    sync();
}

QAction* Kolumbra01Window::menuAction(QMenu* menu, MenuItem& item, std::function<void()> handler,
                                      bool checkable) {
    QAction* action = menu->addAction(qs(item.Caption));
    action->setCheckable(checkable);
    // A check item's state is the model's: the handler toggles it, sync() shows it.
    connect(action, &QAction::triggered, this, [this, handler] {
        if (handler)
            run(handler);
        else
            sync();
    });
    bindings_.action(action, item);
    return action;
}

QAction* Kolumbra01Window::action(const MenuItem& item) const {
    return bindings_.actionFor(item);
}

void Kolumbra01Window::buildMenus() {
    TFm_Kolumbra01& m = *model_;
    auto call = [this](void (TFm_Kolumbra01::*handler)()) {
        return [this, handler] { (model_.get()->*handler)(); };
    };
    QMenu* file = menuBar()->addMenu("File(&F)");
    menuAction(file, m.Mn_FileOpen, call(&TFm_Kolumbra01::Btn_OpenCsvClick));
    menuAction(file, m.Mn_BardOpen, call(&TFm_Kolumbra01::Btn_OpenBoardClick));
    menuAction(file, m.Mn_FileSave,
               [this] { model_->Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Menu); });
    menuAction(file, m.Mn_ExcelOpen, call(&TFm_Kolumbra01::Btn_ExcelClick));
    file->addSeparator();
    menuAction(file, m.Mn_OutputCsv, call(&TFm_Kolumbra01::Mn_OutputCsvClick));
    menuAction(file, m.Mn_InitClear, call(&TFm_Kolumbra01::Mn_InitClearClick));
    file->addSeparator();
    menuAction(file, m.Mn_Exit, call(&TFm_Kolumbra01::Mn_ExitClick));

    QMenu* edit = menuBar()->addMenu("Edit(&E)");
    menuAction(edit, m.Mn_Undo, call(&TFm_Kolumbra01::Mn_UndoClick));

    QMenu* print = menuBar()->addMenu("Print(&P)");
    menuAction(print, m.Mn_GridPrint, call(&TFm_Kolumbra01::Mn_GridPrintClick));
    menuAction(print, m.Mn_MarkPrint, call(&TFm_Kolumbra01::Mn_MarkPrintClick));
    menuAction(print, m.Mn_MarkSave, call(&TFm_Kolumbra01::Mn_MarkSaveClick));

    QMenu* view = menuBar()->addMenu("View(&V)");
    for (MenuItem* item : {&m.Mn_FixedCenter, &m.Mn_DataCenter, &m.Mn_TrimSpace, &m.Mn_DateEdit})
        menuAction(
            view, *item, [this, item] { model_->Mn_FixedCenterClick(*item); }, true);
    menuAction(view, m.Mn_BreakColor, call(&TFm_Kolumbra01::Mn_BreakColorClick), true);
    for (MenuItem* item : {&m.Mn_KaraGyoColor, &m.Mn_KaraGyoBlack})
        menuAction(
            view, *item, [this, item] { model_->Mn_KaraGyoColorClick(*item); }, true);
    menuAction(view, m.Mn_FixedRowSEQ, call(&TFm_Kolumbra01::Mn_FixedRowSEQClick), true);

    QMenu* confirm = menuBar()->addMenu("Confirm(C)");
    for (MenuItem* item : {&m.Mn_ConfPaste, &m.Mn_ConfClear, &m.Mn_ConfInsert, &m.Mn_ConfCopy,
                           &m.Mn_ConfMove, &m.Mn_ConfDelete})
        menuAction(
            confirm, *item, [this, item] { model_->toggleConfirm(*item); }, true);

    QMenu* help = menuBar()->addMenu("Help(&H)");
    menuAction(help, m.Mn_Help_Kolumbra, call(&TFm_Kolumbra01::Mn_Help_KolumbraClick));
    menuAction(help, m.Mn_Help_Begin, call(&TFm_Kolumbra01::Mn_Help_BeginClick));
    menuAction(help, m.Mn_Help_Guide1, call(&TFm_Kolumbra01::Mn_Help_Guide1Click));
    menuAction(help, m.Mn_Help_Guide2, call(&TFm_Kolumbra01::Mn_Help_Guide2Click));
    menuAction(help, m.Mn_Help_Guide3, call(&TFm_Kolumbra01::Mn_Help_Guide3Click));
    menuAction(help, m.Mn_Help_ColName, call(&TFm_Kolumbra01::Mn_Help_ColNameClick));
    menuAction(help, m.Mn_Help_History, call(&TFm_Kolumbra01::Mn_Help_HistoryClick));

    QMenu* option = menuBar()->addMenu("Option(&O)");
    option->menuAction()->setVisible(false);
    menuAction(option, m.Mn_RecEtc, call(&TFm_Kolumbra01::Mn_RecEtcClick));
    for (QMenu* menu : {file, edit, print, view, confirm, help})
        mainMenu1_.push_back(menu->menuAction());

    // MainMenu2, in place of the others while the record editor is shown.
    RecordEditor& rec = *m.Record;
    auto record = [this](void (RecordEditor::*handler)()) {
        return [this, handler] { (model_->Record.get()->*handler)(); };
    };
    QMenu* file2 = menuBar()->addMenu("File(&F)");
    menuAction(file2, rec.Mn2_Exit, record(&RecordEditor::Btn_VertGridEndClick));
    QMenu* edit2 = menuBar()->addMenu("Edit(&E)");
    menuAction(edit2, m.Mn2_Undo, call(&TFm_Kolumbra01::Mn_UndoClick));
    QMenu* print2 = menuBar()->addMenu("Print(&P)");
    menuAction(print2, rec.Mn2_Printx, record(&RecordEditor::Mn2_PrintxClick));
    for (QMenu* menu : {file2, edit2, print2}) {
        mainMenu2_.push_back(menu->menuAction());
        menu->menuAction()->setVisible(false);
    }
}

QPushButton* Kolumbra01Window::button(Button& state, void (TFm_Kolumbra01::*handler)()) {
    auto* b = new QPushButton(qs(state.Caption));
    // As wide as its caption in bold, not the style's standard 80 pixels, so the panels fit
    // small screens without cutting a caption.
    QFont bold = b->font();
    bold.setBold(true);
    b->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(b->text()) + 14);
    if (handler)
        connect(b, &QPushButton::clicked, this,
                [this, handler] { run([this, handler] { (model_.get()->*handler)(); }); });
    bindings_.button(b, state);
    return b;
}

QComboBox* Kolumbra01Window::combo(Combo& state, std::function<void()> handler) {
    auto* box = new QComboBox;
    box->setFont(programFont(12));
    // As wide as the longest item, so no choice is ever cut; the key column's list holds column
    // names of any length and keeps a width of its own.
    if (&state == &model_->Cmb_FixedCol) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(10);
    } else {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    bindings_.combo(box, state, [this, handler] {
        if (handler)
            run(handler);
        else
            sync();
    });
    return box;
}

QCheckBox* Kolumbra01Window::check(CheckBox& state, void (TFm_Kolumbra01::*handler)()) {
    auto* box = new QCheckBox(qs(state.Caption));
    box->setFont(programFont(12));
    bindings_.check(box, state,
                    [this, handler] { run([this, handler] { (model_.get()->*handler)(); }); });
    return box;
}

void Kolumbra01Window::buildPanels() {
    TFm_Kolumbra01& m = *model_;
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, bgr(0x5F5F5F));
    client->setPalette(pal);
    setCentralWidget(client);

    pnlBase_ = new QWidget(client);
    pnlBase_->setAutoFillBackground(true);
    QPalette face = pnlBase_->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    pnlBase_->setPalette(face);
    auto* base = new QVBoxLayout(pnlBase_);
    base->setContentsMargins(0, 0, 0, 0);
    base->setSpacing(0);

    // Top panel: opening, saving, title rows and the key column, the other windows, messages.
    auto* pnlTop = pnlTop_ = new QWidget(pnlBase_);
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(2, 2, 2, 2);
    btnSave_ = button(m.Btn_Save, nullptr);
    connect(btnSave_, &QPushButton::clicked, this, [this] {
        run([this] { model_->Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button); });
    });
    top->addWidget(group("Open", pnlTop,
                         {button(m.Btn_OpenCsv, &TFm_Kolumbra01::Btn_OpenCsvClick),
                          button(m.Btn_Excel, &TFm_Kolumbra01::Btn_ExcelClick),
                          button(m.Btn_OpenBoard, &TFm_Kolumbra01::Btn_OpenBoardClick)}));
    top->addWidget(group("Save", pnlTop, {btnSave_}));
    auto handler = [this](void (TFm_Kolumbra01::*h)()) {
        return [this, h] { (model_.get()->*h)(); };
    };
    top->addWidget(group("固定行数", pnlTop,
                         {combo(m.Cmb_FixedRows, handler(&TFm_Kolumbra01::Cmb_FixedRowsClick))}));
    top->addWidget(
        group("列名行", pnlTop, {combo(m.Cmb_KomRow, handler(&TFm_Kolumbra01::Cmb_KomRowClick))}));
    top->addWidget(group("固定列", pnlTop,
                         {combo(m.Cmb_FixedCol, handler(&TFm_Kolumbra01::Cmb_FixedColClick))}));
    top->addWidget(group("固定列幅", pnlTop,
                         {combo(m.Cmb_FixedKeta, handler(&TFm_Kolumbra01::Cmb_FixedColClick))}));
    top->addWidget(
        group("単行", pnlTop, {button(m.Btn_VertGrid, &TFm_Kolumbra01::Btn_VertGridClick)}));
    top->addWidget(button(m.Btn_Select, &TFm_Kolumbra01::Btn_SelectClick));
    top->addWidget(button(m.Btn_Sort, &TFm_Kolumbra01::Btn_SortClick));
    pnlMsg_ = new QLabel(pnlTop);
    pnlMsg_->setFrameShape(QFrame::StyledPanel);
    top->addWidget(pnlMsg_, 1);
    base->addWidget(pnlTop);

    // Function panel: separator, counts, mouse permissions, widths and folding, cursor advance.
    auto* pnlFunc = pnlFunc_ = new QWidget(pnlBase_);
    pnlFunc->setFont(programFont(12));
    auto* func = new QHBoxLayout(pnlFunc);
    func->setContentsMargins(2, 0, 2, 2);
    labRecords_ = new QLabel;
    labFields_ = new QLabel;
    for (QLabel* l : {labRecords_, labFields_}) {
        l->setMinimumWidth(80);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
    }
    QPushButton* reFold = button(m.Btn_ReFold, &TFm_Kolumbra01::Cmb_FoldClick);
    reFold->setToolTip(u("現在の折り返し行数で再表示します。"));
    func->addWidget(
        group("分離符号", pnlFunc, {combo(m.Cmb_Bunri, [this] { model_->Cmb_BunriClick(); })}));
    func->addWidget(group("行数", pnlFunc, {labRecords_}));
    func->addWidget(group("列数", pnlFunc, {labFields_}));
    func->addWidget(group("マウスによる許可", pnlFunc,
                          {check(m.Chk_MoveRow, &TFm_Kolumbra01::Chk_MoveRowClick),
                           check(m.Chk_MoveCol, &TFm_Kolumbra01::Chk_MoveColClick),
                           check(m.Chk_RowSize, &TFm_Kolumbra01::Chk_RowSizeClick)}));
    func->addWidget(group(" 列表示  最大列幅   折り返し", pnlFunc,
                          {button(m.Btn_ViewCol, &TFm_Kolumbra01::Btn_ViewColClick),
                           combo(m.Cmb_LimColLen, handler(&TFm_Kolumbra01::Cmb_LimColLenClick)),
                           combo(m.Cmb_Fold, handler(&TFm_Kolumbra01::Cmb_FoldClick)), reFold}));
    func->addWidget(group("ｶｰｿﾙ 移動", pnlFunc,
                          {combo(m.Cmb_CrNext, handler(&TFm_Kolumbra01::Cmb_CrNextClick))}));
    QScrollBar* scbMinHorz = smallScrollBar(Qt::Horizontal, &GridInput::scbMinHorzScroll);
    scbMinHorz->setMinimumWidth(60);
    func->addWidget(smallScrollBar(Qt::Vertical, &GridInput::scbMinVertScroll));
    func->addWidget(scbMinHorz);
    func->addStretch(1);
    base->addWidget(pnlFunc);

    // The grid, or the panel's caption while a load hides it.
    gridStack_ = new QStackedWidget(pnlBase_);
    grid_ = new GridWidget(gridStack_);
    grid_->setGrid(&m.Grid, &m.View);
    connect(grid_, &GridWidget::rowMoved, this,
            [this](int from, int to) { run([=, this] { model_->GridRowMoved(from, to); }); });
    connect(grid_, &GridWidget::columnMoved, this,
            [this](int from, int to) { run([=, this] { model_->GridColumnMoved(from, to); }); });
    connectGridInput();
    grid_->setCellPainter([this](QPainter& p, const QRect& rect, int c, int r, bool, bool) {
        paintCell(p, rect, c, r);
    });
    baseCaption_ = new QLabel(gridStack_);
    baseCaption_->setAlignment(Qt::AlignCenter);
    gridStack_->addWidget(grid_);
    gridStack_->addWidget(baseCaption_);
    base->addWidget(gridStack_, 1);
    record_ = new RecordWindow(
        *m.Record, grid_->gridFont(),
        [this](const std::function<void()>& handler) { run(handler); }, pnlBase_);
    record_->hide();
    base->addWidget(record_, 1);
    bindings_.enabled(grid_, model_->GridControl.Enabled);
    buildPopups();
    buildMemo();
}

void Kolumbra01Window::paintCell(QPainter& p, const QRect& rect, int c, int r) {
    if (painting_) return; // a cell look never paints another cell
    painting_ = true;
    drawCellLook(p, rect, GridDrawCell(model_->cellScene(), c, r), grid_->letterWidth(),
                 grid_->letterHeight(), palette().color(QPalette::Dark));
    painting_ = false;
}

void Kolumbra01Window::sync() {
    TFm_Kolumbra01& m = *model_;
    setWindowTitle(qs(m.Caption));
    bindings_.push();
    // The panels are placed by hand inside their margin: the window is never narrower than
    // they need, so no caption is cut.
    const int margin = m.KijyunHeight * 2 / 5;
    centralWidget()->setMinimumWidth(pnlBase_->minimumSizeHint().width() + 2 * margin);
    labRecords_->setText(qs(m.Lab_Records.Caption));
    labFields_->setText(qs(m.Lab_Fields.Caption));
    pnlMsg_->setText(qs(m.pnlMsg.Caption));
    QPalette pal = pnlMsg_->palette();
    pal.setColor(QPalette::WindowText, m.pnlMsg.FontColor
                                           ? bgr(m.pnlMsg.FontColor)
                                           : QApplication::palette().color(QPalette::WindowText));
    pnlMsg_->setPalette(pal);
    baseCaption_->setText(qs(m.pnlBase.Caption));
    gridStack_->setCurrentWidget(m.GridVisible ? static_cast<QWidget*>(grid_) : baseCaption_);
    grid_->refresh();
    grid_->viewport()->update();
    if (!input_->mmMemo.Visible && memo_->isVisible()) memo_->hide();
    syncTimer();
    if (sortWindow_) sortWindow_->tableShown(); // a column hidden from the popup shows ×
    // The record editor takes the place of the panels, the table and the menu bar.
    const bool record = m.Record->shown();
    for (QAction* menu : mainMenu1_) menu->setVisible(!record);
    for (QAction* menu : mainMenu2_) menu->setVisible(record);
    pnlTop_->setVisible(!record);
    pnlFunc_->setVisible(!record);
    gridStack_->setVisible(!record);
    record_->sync();
}

void Kolumbra01Window::run(const std::function<void()>& handler) {
    handler();
    sync();
}

void Kolumbra01Window::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (model_->FirstShow != 1) return;
    model_->FormShow();
    if (model_->WindowMaximized) showMaximized();
    if (model_->MyTimerEnabled) {
        model_->PrepareStartFile(arguments_);
        myTimer_.start();
    }
    if (model_->SaveTimerEnabled) saveTimer_.start();
    sync();
    focusGrid();
}

void Kolumbra01Window::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    QWidget* client = centralWidget();
    model_->FormResize(client->width(), client->height());
    pnlBase_->setGeometry(model_->pnlBaseLeft, model_->pnlBaseTop, model_->pnlBaseWidth,
                          model_->pnlBaseHeight);
    if (!isMaximized() && !isMinimized()) {
        model_->Left = x();
        model_->Top = y();
        model_->Width = width();
        model_->Height = height();
    }
}

void Kolumbra01Window::closeEvent(QCloseEvent* event) {
    bool close = model_->FormClose();
    sync();
    if (!close) {
        event->ignore();
        return;
    }
    myTimer_.stop();
    saveTimer_.stop();
    setAcceptDrops(false);
    event->accept();
    QApplication::quit();
}

void Kolumbra01Window::dragEnterEvent(QDragEnterEvent* event) {
    if (model_->DropAccepted && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Kolumbra01Window::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(fromQpath(url.toLocalFile()));
    event->acceptProposedAction();
    run([this, &paths] { model_->FilesDropped(paths); });
}

void Kolumbra01Window::setBusy(bool busy) {
    busyDepth_ += busy ? 1 : -1;
    if (busy && busyDepth_ == 1) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyDepth_ == 0) QApplication::restoreOverrideCursor();
    if (busyDepth_ < 0) busyDepth_ = 0;
}

void Kolumbra01Window::repaintStatus() {
    // Only the caption is repainted; no other event is let in while a load runs.
    baseCaption_->setText(qs(model_->pnlBase.Caption));
    gridStack_->setCurrentWidget(model_->GridVisible ? static_cast<QWidget*>(grid_) : baseCaption_);
    baseCaption_->repaint();
}

void Kolumbra01Window::bringToFront() {
    raise();
    activateWindow();
}

void Kolumbra01Window::focusGrid() {
    if (grid_->isVisible()) grid_->setFocus();
}

void Kolumbra01Window::closeWindow() {
    close();
}

bool Kolumbra01Window::isMaximized() {
    return QMainWindow::isMaximized();
}

void Kolumbra01Window::showDocumentFile(const std::string& path, const std::string& extraTitle) {
    // An output file is shown numbered and outside the help list.
    if (browse_) browse_->viewer().ShowDocumentFile(std::string(), extraTitle, true, path);
}

DocumentViewer* Kolumbra01Window::documentViewer() {
    return browse_ ? &browse_->viewer() : nullptr;
}

void Kolumbra01Window::repaintGrid() {
    grid_->viewport()->repaint();
}

void Kolumbra01Window::showSortWindow(bool visibilityPage) {
    if (sortWindow_)
        sortWindow_->showPage(visibilityPage ? CsvFuncPage::Visibility : CsvFuncPage::Sort,
                              grid_->letterWidth());
}

void Kolumbra01Window::recordEditorShown(bool shown) {
    sync();
    if (shown) {
        if (sortWindow_) sortWindow_->hide();
        record_->focusGrid();
    } else {
        grid_->scrollToCell(model_->View.col, model_->View.row);
        focusGrid();
    }
}

void Kolumbra01Window::focusRecordGrid() {
    record_->focusGrid();
}

void Kolumbra01Window::runCsvFixed(TFm_CsvFixed& window) {
    CsvFixedWindow dialog(window, this);
    dialog.exec();
    show();
}

void Kolumbra01Window::runCsvEtc(TFm_CsvEtc& window) {
    CsvEtcWindow dialog(window, this);
    dialog.exec();
}

void Kolumbra01Window::runCsvExcel(TfrmCsvExcel& window) {
    CsvExcelWindow dialog(window, this);
    dialog.exec();
}

} // namespace kol
