// The document viewer's model: the list of registered documents, the shown text, printing it,
// handing it to the text editor and writing every document as one HTML help page. The Qt
// window (browse_window.*) forwards events here and mirrors the state back.
#pragma once

#include "platform/busy_cursor.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "print/print_request.h"
#include "table/string_grid.h"
#include "viewer/browse_link.h"
#include "viewer/browse_text.h"

#include <functional>
#include <string>
#include <vector>

namespace kol {

class BrowseHost : public BusyIndicator, public print::PrintPreviewOpener {
public:
    // Puts the text into the pane, scrolled to its top-left corner (a long text with progress).
    virtual void setPaneText(const std::string& text) = 0;
    virtual void setPaneVisible(bool visible) = 0;
    virtual void focusPane() = 0;
    virtual void showWindow() = 0; // shown, raised, wholly on the screen
    virtual void hideWindow() = 0;
    virtual void closeWindow() = 0; // a private viewer ends
    virtual void mirror() = 0;      // caption, list and header bar → widgets
    virtual WideGeometry wideGeometry() = 0;
    virtual void setWindowWidth(int width) = 0;
    // The desktop's program for the file (the text editor, the browser); false when none ran.
    virtual bool openWithDesktop(const std::string& path) = 0;
    virtual bool startProgram(const std::string& program, const std::string& parameter) = 0;
};

class TFm_Browse : public DocumentViewer {
public:
    static constexpr int kMaxEntries = 101;

    TFm_Browse(Prompts& prompts, BrowseHost& host, std::string programName);

    // DocumentViewer
    void SetTitleBase(const std::string& base) override { titleBase_ = base; }
    void RegisterDocument(const std::string& sender, const std::string& caption,
                          std::function<void()> command) override;
    void ShowDocumentFile(const std::string& sender, const std::string& extraTitle,
                          bool numberLines, const std::string& path) override;
    void ShowDocumentText(const std::string& sender, const std::string& extraTitle,
                          const std::string& text) override;
    void SetPrintSettings(const print::PrintSettings& settings) override { settings_ = settings; }
    print::PrintSettings GetPrintSettings() const override { return settings_; }
    void SetDataFolder(const std::string& folder) override { dataFolder_ = folder; }

    // A private viewer shows one file or text when shown and really closes.
    void SetPrivate(std::string text, std::string file);
    void FormShow();

    void cmbBrowseListClick();
    void Btn_WideClick();
    void Btn_HtmlClick();
    void Btn_EditorClick();
    void Mn_PrintClick();
    void Mn_ExitClick();
    // The close box: the shared viewer only hides.
    void FormClose() { Mn_ExitClick(); }

    [[nodiscard]] bool LaunchProgram(const std::string& program, const std::string& parameter,
                                     bool reportFailures);

    // The HTML help's path: the program's name + "_Help.Html" in the data folder.
    std::string helpHtmlPath() const;
    // Where a shown text is written for the editor.
    std::string editorCopyPath() const;

    const std::string& paneText() const { return paneText_; }
    const std::string& titleBase() const { return titleBase_; }
    bool isPrivate() const { return private_; }

    std::string Caption;
    Panel pnlHed; // visible while the shown document is a registered entry
    Combo cmbBrowseList;
    Button Btn_Wide, Btn_Html, Btn_Editor;
    MenuItem Mn_Exit;
    MenuItem Mn_Print; // the print menu; a private viewer's creator may hide it
    StringGrid WorkGrid;

private:
    struct Entry {
        std::string sender;
        std::string listText;
        std::function<void()> command;
    };

    void SelectEntryFor(const std::string& sender);
    void putText(std::string text);

    Prompts& prompts_;
    BrowseHost& host_;
    std::string programName_;
    std::string titleBase_ = "Browse";
    std::vector<Entry> entries_;
    std::string paneText_;
    std::string documentSource_; // a path, or the text itself
    bool sourceIsText_ = false;
    bool private_ = false;
    std::string privateText_, privateFile_;
    print::PrintSettings settings_;
    std::string dataFolder_;
    int wideClicks_ = 0;
    bool buildingHtml_ = false; // the pane stays hidden while every entry is shown once
};

} // namespace kol
