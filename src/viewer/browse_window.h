// The document viewer's window: builds the widgets, forwards every event to TFm_Browse and
// mirrors its state back. The shared viewer only hides when closed; a private one closes.
#pragma once

#include "viewer/browse.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace kol {

class QtPrompts;

class BrowseWindow : public QMainWindow, private BrowseHost {
    Q_OBJECT
public:
    // `prompts` may be given by tests; otherwise message boxes are used. `programName` names
    // the HTML help file (empty: the running program's file name).
    explicit BrowseWindow(QWidget* parent = nullptr, Prompts* prompts = nullptr,
                          std::string programName = std::string());
    ~BrowseWindow() override;

    TFm_Browse& model() { return *model_; }
    DocumentViewer& viewer() { return *model_; }
    // The window whose screen the viewer opens on, and which is minimised with it.
    void setAnchor(QWidget* anchor) { anchor_ = anchor; }
    // A private viewer for one text or file: shown modally by its creator, then freed.
    void makePrivate(const std::string& text, const std::string& file = std::string());
    void runModal();

    QString shownText() const;
    QComboBox* browseList() const { return cmbBrowseList_; }
    QWidget* header() const { return pnlHed_; }
    QPlainTextEdit* pane() const { return pane_; }
    QPushButton* wideButton() const { return btnWide_; }
    QPushButton* htmlButton() const { return btnHtml_; }
    QPushButton* editorButton() const { return btnEditor_; }
    QAction* printAction() const { return mnPrint_; }

    // Replaceable for tests: the desktop's program for a file, and a program start.
    std::function<bool(const std::string& path)> openFile;
    std::function<bool(const std::string& program, const std::string& parameter)> startFile;
    std::function<void(print::PrintRequest&)> printPreview;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // BrowseHost
    void setBusy(bool busy) override;
    void openPrintPreview(print::PrintRequest& request) override;
    void setPaneText(const std::string& text) override;
    void setPaneVisible(bool visible) override;
    void focusPane() override;
    void showWindow() override;
    void hideWindow() override;
    void closeWindow() override;
    void mirror() override;
    WideGeometry wideGeometry() override;
    void setWindowWidth(int width) override;
    bool openWithDesktop(const std::string& path) override;
    bool startProgram(const std::string& program, const std::string& parameter) override;

    void build();
    void placeOnScreen(bool firstShowing);
    void layoutHeader();

    std::unique_ptr<QtPrompts> ownPrompts_;
    std::unique_ptr<TFm_Browse> model_;
    QPointer<QWidget> anchor_;
    QWidget* pnlHed_ = nullptr;
    QComboBox* cmbBrowseList_ = nullptr;
    QPushButton* btnWide_ = nullptr;
    QPushButton* btnHtml_ = nullptr;
    QPushButton* btnEditor_ = nullptr;
    QPlainTextEdit* pane_ = nullptr;
    QAction* mnPrint_ = nullptr;
    int headerHeight_ = 0;
    int startWidth_ = 0;
    int busyDepth_ = 0;
    unsigned textGeneration_ = 0; // a newer text stops a long one still being put in
    bool placed_ = false;
    bool closing_ = false; // a private viewer's own close
};

} // namespace kol
