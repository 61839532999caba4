// The sort and column-visibility window: two pages, one shown at a time, over TFm_CsvFunc.
// Created once at start by the main window and only hidden when closed.
#pragma once

#include "sort/csv_func.h"
#include "ui/control_bindings.h"
#include "ui/qt_prompts.h"

#include <QWidget>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace kol {

class GridWidget;

// What the window needs of the main window beside what its model asks through CsvFuncMain.
class CsvFuncWindowLink {
public:
    virtual ~CsvFuncWindowLink() = default;
    // Off while a sort lets events in: nothing in the main window may load, clear or edit the
    // table under it.
    virtual void setMainInputEnabled(bool enabled) = 0;
    // A command here may have changed the main window's model: mirror it in its widgets.
    virtual void mainModelChanged() = 0;
};

class CsvFuncWindow : public QWidget, private CsvFuncHost, public TableListener {
    Q_OBJECT
public:
    // Works on the main table `document`; `letterWidth` is that of the main grid's font.
    // `prompts` may be given by tests; otherwise message boxes are used.
    CsvFuncWindow(TableDocument& document, CsvFuncMain& main, CsvFuncWindowLink& link,
                  const QFont& font, int letterWidth, Prompts* prompts = nullptr);
    ~CsvFuncWindow() override;

    TFm_CsvFunc& model() { return model_; }
    void showPage(CsvFuncPage page, int letterWidth);
    // A new table, or its columns or their names changed: both pages are filled afresh.
    void tableReshaped(Reshape how) override;
    QListWidget* selectionList() const { return lbxSelection_; }
    QListWidget* sortKeyList() const { return lbxSortKey_; }
    GridWidget* printGrid() const { return printGrid_; }
    QPushButton* sortButton() const { return btnSort_; }
    QPushButton* stopButton() const { return btnStop_; }
    void sync();       // model → widgets
    void tableShown(); // the main window showed its table afresh: redraw the ○/× marks
    // A drop from one list onto another (or the same one) at a point in the target's viewport.
    void dropped(QListWidget* from, QListWidget* onto, QPoint at);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // CsvFuncHost
    void setBusy(bool busy) override;
    void processPending() override;
    void hideWindow() override;

    void buildSortPage(QWidget* page);
    void buildVisibilityPage(QWidget* page);
    void run(const std::function<void()>& handler); // pull, forward, push
    void syncLists();

    CsvFuncWindowLink& link_;
    std::unique_ptr<QtPrompts> ownPrompts_;
    TFm_CsvFunc model_;
    ControlBindings bindings_;
    QTabWidget* tabs_ = nullptr;
    QLabel* pnlSelection_ = nullptr;
    QLabel* labMsg_ = nullptr;
    QListWidget* lbxSelection_ = nullptr;
    QListWidget* lbxSortKey_ = nullptr;
    QPushButton* btnSort_ = nullptr;
    QPushButton* btnStop_ = nullptr;
    GridWidget* printGrid_ = nullptr;
    int busyDepth_ = 0;
};

} // namespace kol
