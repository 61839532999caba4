// The search window: builds the widgets, forwards every event to TFm_Kolumbra02 and mirrors
// its state back. While a search runs it lets events in only at the model's progress points,
// and then only those for itself, so the main table cannot change under the search.
#pragma once

#include "platform/steady_clock.h"
#include "search/kolumbra02.h"
#include "search/search_link.h"
#include "ui/control_bindings.h"
#include "ui/qt_prompts.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace kol {

class GridWidget;

class SearchWindow : public QWidget,
                     private SearchHost,
                     public SearchWindowLink,
                     public TableListener {
    Q_OBJECT
public:
    // `prompts` and `clipboard` may be given by tests; otherwise Qt's are used.
    SearchWindow(TableDocument& source, GridViewState& mainView, SearchMainLink& link,
                 std::string programDir, Prompts* prompts = nullptr,
                 Clipboard* clipboard = nullptr);
    ~SearchWindow() override;

    TFm_Kolumbra02& model() { return *model_; }
    void tableReshaped(Reshape how) override; // the results go; the widgets show it
    GridWidget* grid() const { return grid_; }
    QLineEdit* wordEdit() const { return edtWord_; }
    QComboBox* historyList() const { return cmbFindWord_; }
    QAction* action(const MenuItem& item) const { return bindings_.actionFor(item); }
    void sync(); // model → widgets

    // SearchWindowLink
    void showWindow() override;
    void LoadHistory(std::span<const std::string> stored) override;
    void GatherHistory(std::span<std::string> stored) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // SearchHost
    void setBusy(bool busy) override;
    bool isShowing() override { return isVisible(); }
    void processPending() override;
    void focusWord() override;
    void focusResults() override;
    void hideWindow() override { close(); }
    void bringToFront() override;

    void build();
    QPushButton* button(Button& state, void (TFm_Kolumbra02::*handler)());
    void run(const std::function<void()>& handler); // pull, forward, mirror back
    void pull();
    void placeWordField();
    void gridKey(QKeyEvent* event); // typing or F2 opens the cell editor
    void commitEdit(bool keep);

    std::unique_ptr<QtPrompts> ownPrompts_;
    std::unique_ptr<QtClipboard> ownClipboard_;
    SteadyClock clock_;
    std::unique_ptr<TFm_Kolumbra02> model_;
    ControlBindings bindings_;
    QRadioButton* rdoAnd_ = nullptr;
    QRadioButton* rdoOr_ = nullptr;
    QComboBox* cmbFindWord_ = nullptr;
    QLineEdit* edtWord_ = nullptr;
    std::string wordShown_; // Edt_Word as last put into the field, bytes kept
    QStackedWidget* execStack_ = nullptr;
    QPushButton* btnExec_ = nullptr;
    QPushButton* btnStop_ = nullptr;
    QLabel* labRecords_ = nullptr;
    QLabel* labGuide_ = nullptr;
    QStackedWidget* gridStack_ = nullptr;
    GridWidget* grid_ = nullptr;
    QLineEdit* cellEditor_ = nullptr;
    int editCol_ = -1, editRow_ = -1;
    bool gatingInput_ = false; // a search lets pending events in
    int busyDepth_ = 0;
};

} // namespace kol
