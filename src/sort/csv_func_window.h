// The sort and column-visibility window: two pages, one shown at a time, over TFm_CsvFunc.
// Created once at start and only hidden when closed.
#pragma once

#include "app/sort_link.h"
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
class Kolumbra01Window;

class CsvFuncWindow : public QWidget, private CsvFuncHost, private TableListener {
    Q_OBJECT
public:
    // `prompts` may be given by tests; otherwise message boxes are used.
    explicit CsvFuncWindow(Kolumbra01Window& main, Prompts* prompts = nullptr);
    ~CsvFuncWindow() override;

    TFm_CsvFunc& model() { return model_; }
    void showPage(CsvFuncPage page);
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
    void tableReshaped(Reshape how) override; // the lists follow the main table's columns

    void buildSortPage(QWidget* page);
    void buildVisibilityPage(QWidget* page);
    void run(const std::function<void()>& handler); // pull, forward, push
    void syncLists();

    Kolumbra01Window& main_;
    std::unique_ptr<QtPrompts> ownPrompts_;
    MainSortLink link_;
    TFm_CsvFunc model_;
    std::unique_ptr<TableSubscription> listening_; // hears the main table for the model
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
