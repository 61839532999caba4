// The main window: builds the widgets, forwards every event to the model and mirrors the
// model's state back into the widgets. No behaviour lives here.
#pragma once

#include "app/kolumbra01.h"
#include "edit/grid_input.h"
#include "platform/steady_clock.h"
#include "search/kolumbra02.h"
#include "sort/csv_func_window.h"
#include "ui/control_bindings.h"
#include "ui/qt_prompts.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QPainter;
class QRect;
class QCheckBox;
class QComboBox;
class QInputMethodEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QStackedWidget;

namespace kol {

class GridWidget;
class MainSortLink;
class RecordWindow;
class SearchWindow;
class BrowseWindow;

class Kolumbra01Window : public QMainWindow,
                         private MainHost,
                         private GridInputView,
                         private SearchMainLink,
                         private CsvFuncWindowLink,
                         private TableListener {
    Q_OBJECT
public:
    // `prompts` and `clipboard` may be given by tests; otherwise Qt's are used. Tests and
    // benchmarks run without the user's settings file.
    Kolumbra01Window(std::string programDir, std::vector<std::string> arguments,
                     BrowseWindow* browse, Prompts* prompts = nullptr,
                     Clipboard* clipboard = nullptr, bool useSettingsFile = false);
    ~Kolumbra01Window() override;

    TFm_Kolumbra01& model() { return *model_; }
    GridInput& input() { return *input_; }
    GridWidget* grid() const { return grid_; }
    RecordWindow* recordWindow() const { return record_; }
    QMenu* popupMenu(Popup kind) const { return popups_[static_cast<int>(kind)]; }
    QPlainTextEdit* memo() const { return memo_; }
    QPushButton* saveButton() const { return btnSave_; }
    QAction* action(const MenuItem& item) const;
    void sync(); // model → widgets
    // The search window, created once at start-up on this window's table and view.
    SearchWindow& createSearchWindow();
    SearchWindow* searchWindow() const { return search_.get(); }
    // The sort and column-visibility window, created once at start-up on this window's table.
    CsvFuncWindow& createSortWindow();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MainHost
    void setBusy(bool busy) override;
    void repaintStatus() override;
    void bringToFront() override;
    void focusGrid() override;
    void closeWindow() override;
    bool isMaximized() override;
    void showDocumentFile(const std::string& path, const std::string& extraTitle) override;
    DocumentViewer* documentViewer() override;
    void runCsvFixed(TFm_CsvFixed& window) override;
    void runCsvEtc(TFm_CsvEtc& window) override;
    void runCsvExcel(TfrmCsvExcel& window) override;
    void repaintGrid() override;
    void showSortWindow(bool visibilityPage) override;
    void openPrintPreview(print::PrintRequest& request) override;
    void recordEditorShown(bool shown) override;
    void focusRecordGrid() override;

    // GridInputView
    Rect cellRect(int col, int row) override;
    bool cellAt(int x, int y, int& col, int& row) override;
    int gridHeight() override;
    void setTopLeft(int topRow, int leftCol) override;
    void scrollToCell(int col, int row) override;
    void openPopup(Popup kind, int x, int y) override;
    void showMemo(const std::string& text, const Rect& where) override;
    void typeInMemo(const std::string& text) override;
    void hideMemo() override;
    std::string memoText() override;

    // SearchMainLink
    unsigned char separator() override;
    std::string& selectFilePath() override;
    void showFoundCell() override;
    void focusMainGrid() override { focusGrid(); }
    std::string tableFileName() override { return model_->CsvFileInf.FileName; }
    void printGrid(const StringGrid& grid, const print::HeadingLines& headings,
                   int rowLimit) override;

    // CsvFuncWindowLink
    void setMainInputEnabled(bool enabled) override { setEnabled(enabled); }
    void mainModelChanged() override { sync(); }

    void buildMenus();
    void buildPanels();
    QPushButton* button(Button& state, void (TFm_Kolumbra01::*handler)());
    QComboBox* combo(Combo& state, std::function<void()> handler);
    QCheckBox* check(CheckBox& state, void (TFm_Kolumbra01::*handler)());
    QAction* menuAction(QMenu* menu, MenuItem& item, std::function<void()> handler,
                        bool checkable = false);
    void buildPopups();
    void addPopupItems(QMenu* menu, const std::vector<GridInput::PopupNode>& nodes);
    void buildMemo();
    void connectGridInput(); // presses, double clicks, cell changes and keys to GridInput
    QScrollBar* smallScrollBar(Qt::Orientation orientation,
                               void (GridInput::*handler)(GridInput::ScrollCode));
    void gridKey(QKeyEvent* event);
    void gridInputMethod(QInputMethodEvent* event);
    void syncTimer();
    void run(const std::function<void()>& handler); // forward, then mirror back
    void paintCell(QPainter& p, const QRect& rect, int c, int r);
    // TableListener: a change made from any window shows in the table grid.
    void tableReshaped(Reshape) override;
    void cellsChanged(const GridRect&) override;

    std::unique_ptr<QtPrompts> ownPrompts_;
    std::unique_ptr<QtClipboard> ownClipboard_;
    SteadyClock clock_;
    std::unique_ptr<TFm_Kolumbra01> model_;
    std::unique_ptr<GridInput> input_;
    std::unique_ptr<TableSubscription> listening_; // the grid repaints whoever changed the table
    std::unique_ptr<SearchWindow> search_;         // reads the model's table: destroyed before it
    std::unique_ptr<TableSubscription> searchListening_; // its results hear the table
    std::unique_ptr<MainSortLink> sortLink_;
    std::unique_ptr<CsvFuncWindow> sortWindow_;        // as the search window
    std::unique_ptr<TableSubscription> sortListening_; // its lists follow the columns
    Prompts* givenPrompts_ = nullptr;
    Clipboard* givenClipboard_ = nullptr;
    std::vector<std::string> arguments_;
    BrowseWindow* browse_;
    QTimer myTimer_, saveTimer_, gridTimer_;
    int busyDepth_ = 0;

    GridWidget* grid_ = nullptr;
    QStackedWidget* gridStack_ = nullptr;
    QWidget* pnlTop_ = nullptr;
    QWidget* pnlFunc_ = nullptr;
    RecordWindow* record_ = nullptr;  // the single-row editor, in the table's place when shown
    std::vector<QAction*> mainMenu1_; // the menu bar's menus in the table's place
    std::vector<QAction*> mainMenu2_; // and in the record editor's
    QLabel* baseCaption_ = nullptr;
    QWidget* pnlBase_ = nullptr;
    QLabel* pnlMsg_ = nullptr;
    QLabel* labRecords_ = nullptr;
    QLabel* labFields_ = nullptr;
    QPushButton* btnSave_ = nullptr;
    QMenu* popups_[3] = {};
    QPlainTextEdit* memo_ = nullptr;
    QString memoShown_; // the memo's text as it was put in
    QPoint pressPos_;   // of the grid press being handled
    bool painting_ = false;
    ControlBindings bindings_;
};

} // namespace kol
