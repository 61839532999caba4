// The record editor's Qt side: its tool panel (pnlVertTop), its grid (VertGrid) with the memo
// box and the popup (pmVertGrid). The main window embeds it in place of its table and panels;
// every event goes to the RecordEditor model and the main window mirrors the state back.
#pragma once

#include "edit/memo_editor.h"
#include "record/record_editor.h"
#include "ui/control_bindings.h"

#include <QString>
#include <QWidget>

#include <functional>

class QGroupBox;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;

namespace kol {

class GridWidget;

class RecordWindow : public QWidget, private MemoView {
    Q_OBJECT
public:
    // `run` calls a handler and then mirrors the whole main window back; `gridFont` is the
    // table grid's, so both grids show the same letters.
    RecordWindow(RecordEditor& model, const QFont& gridFont,
                 std::function<void(const std::function<void()>&)> run, QWidget* parent = nullptr);

    MemoView& memoView() { return *this; }
    GridWidget* grid() const { return grid_; }
    QWidget* topPanel() const { return pnlVertTop_; }
    QPlainTextEdit* memo() const { return memo_; }
    QMenu* popup() const { return popup_; }
    void sync(); // model → widgets
    void focusGrid();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // MemoView
    Rect cellRect(int col, int row) override;
    int gridHeight() override;
    void scrollToCell(int col, int row) override;
    void showMemo(const std::string& text, const Rect& where) override;
    void typeInMemo(const std::string& text) override;
    void hideMemo() override;
    std::string memoText() override;

    void buildPanel();
    void buildGrid(const QFont& gridFont);
    void buildPopup();
    void gridKey(QKeyEvent* event);
    void gridInputMethod(QInputMethodEvent* event);

    RecordEditor& model_;
    std::function<void(const std::function<void()>&)> run_;
    ControlBindings bindings_;
    QWidget* pnlVertTop_ = nullptr;
    QGroupBox* pnlVertRowNo_ = nullptr;
    QLabel* labVertRowNo_ = nullptr;
    GridWidget* grid_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QString memoShown_; // the memo's text as it was put in
    QMenu* popup_ = nullptr;
};

} // namespace kol
