// Scripted stand-ins for the platform: queued answers, recorded messages, a settable clock.
#pragma once

#include "app/csv_etc.h"
#include "app/csv_excel.h"
#include "app/csv_fixed.h"
#include "app/kolumbra01.h"
#include "edit/grid_input.h"
#include "platform/platform.h"
#include "view/grid_geometry.h"
#include "viewer/browse_link.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kol::test {

struct Message {
    enum Kind { Ask, Inform, Fail } kind;
    std::string text; // CP932
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<Answer> answers;        // for ask(); No when empty
    std::deque<std::string> fileNames; // for the dialogs; cancelled when empty
    std::vector<Message> messages;
    std::vector<FileDialogRequest> dialogs;

    Answer ask(const std::string& text, Buttons) override {
        messages.push_back({Message::Ask, text});
        if (answers.empty()) return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const std::string& text) override { messages.push_back({Message::Inform, text}); }
    void fail(const std::string& text) override { messages.push_back({Message::Fail, text}); }
    std::string openFileName(const FileDialogRequest& r) override { return dialog(r); }
    std::string saveFileName(const FileDialogRequest& r) override { return dialog(r); }
    std::string last() const { return messages.empty() ? std::string() : messages.back().text; }

private:
    std::string dialog(const FileDialogRequest& r) {
        dialogs.push_back(r);
        if (fileNames.empty()) return {};
        std::string name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

class FakeClipboard : public Clipboard {
public:
    std::string content;
    bool hasText() override { return !content.empty(); }
    std::string text() override { return content; }
    void setText(const std::string& t) override { content = t; }
};

class FakeClock : public Clock {
public:
    std::int64_t now = 1000;
    std::int64_t step = 0; // added after every reading: time that passes as work goes on
    std::int64_t nowMs() override {
        const std::int64_t read = now;
        now += step;
        return read;
    }
};

// A print request as the preview saw it: the source grid is copied (cells and sizes), as it
// may be a work grid that is emptied once the preview has closed.
struct PrintedRequest {
    print::PrintRequest request;
    std::shared_ptr<StringGrid> grid;
    static PrintedRequest of(const print::PrintRequest& request) {
        PrintedRequest printed{request, std::make_shared<StringGrid>()};
        if (request.source) printed.grid->assign(*request.source);
        return printed;
    }
    std::vector<int> widths() const {
        std::vector<int> w;
        for (int c = 0; c < grid->colCount(); ++c) w.push_back(grid->colWidth(c));
        return w;
    }
};

// The shared viewer as the main window sees it: what was registered and shown.
class FakeViewer : public DocumentViewer {
public:
    explicit FakeViewer(std::vector<std::string>& documents) : documents_(documents) {}
    struct Shown {
        std::string sender, extraTitle;
        bool numberLines = false;
    };
    std::string titleBase, dataFolder;
    std::vector<std::pair<std::string, std::string>> entries; // sender, caption
    std::vector<std::function<void()>> commands;
    std::vector<Shown> shown;
    print::PrintSettings settings;
    void SetTitleBase(const std::string& base) override { titleBase = base; }
    void RegisterDocument(const std::string& sender, const std::string& caption,
                          std::function<void()> command) override {
        entries.emplace_back(sender, caption);
        commands.push_back(std::move(command));
    }
    void ShowDocumentFile(const std::string& sender, const std::string& extraTitle,
                          bool numberLines, const std::string& path) override {
        shown.push_back({sender, extraTitle, numberLines});
        documents_.push_back(path);
    }
    void ShowDocumentText(const std::string& sender, const std::string& extraTitle,
                          const std::string& text) override {
        shown.push_back({sender, extraTitle, false});
        documents_.push_back(text);
    }
    void SetPrintSettings(const print::PrintSettings& s) override { settings = s; }
    print::PrintSettings GetPrintSettings() const override { return settings; }
    void SetDataFolder(const std::string& folder) override { dataFolder = folder; }

private:
    std::vector<std::string>& documents_;
};

class FakeHost : public MainHost {
public:
    int repaints = 0, closes = 0;
    bool maximized = false;
    std::vector<std::string> documents; // paths or texts shown
    FakeViewer viewer{documents};
    DocumentViewer* documentViewer() override { return &viewer; }
    std::function<void(bool)> busy;   // called as the busy cursor comes and goes
    std::function<void()> repainting; // called at every status repaint
    void setBusy(bool on) override {
        if (busy) busy(on);
    }
    void repaintStatus() override {
        ++repaints;
        if (repainting) repainting();
    }
    void bringToFront() override {}
    void focusGrid() override {}
    void closeWindow() override { ++closes; }
    bool isMaximized() override { return maximized; }
    void showDocumentFile(const std::string& path, const std::string&) override {
        documents.push_back(path);
    }
    void runCsvFixed(TFm_CsvFixed&) override {}
    std::function<void(TFm_CsvEtc&)> csvEtc; // what the user does in the window
    int csvEtcRuns = 0;
    void runCsvEtc(TFm_CsvEtc& window) override {
        ++csvEtcRuns;
        if (csvEtc) csvEtc(window);
    }
    std::function<void(TfrmCsvExcel&)> csvExcel; // what the user does in the chooser
    int csvExcelRuns = 0;
    void runCsvExcel(TfrmCsvExcel& window) override {
        ++csvExcelRuns;
        window.FormShow();
        if (csvExcel) csvExcel(window);
    }
    std::vector<PrintedRequest> prints;
    std::function<void(print::PrintRequest&)> previewing; // what the user does in the preview
    void openPrintPreview(print::PrintRequest& request) override {
        prints.push_back(PrintedRequest::of(request));
        if (previewing) previewing(request);
    }
};

// The grid's pixels as the grid widget lays them out, measured by the same GridGeometry.
class FakeGridView : public GridInputView {
public:
    FakeGridView(StringGrid& grid, GridViewState& view) : g(grid), v(view) {}
    StringGrid& g;
    GridViewState& v;
    int width = 800, height = 400;
    struct OpenedPopup {
        kol::Popup kind;
        int x, y;
    };
    std::vector<OpenedPopup> popups;
    int memoShows = 0, memoHides = 0;
    std::string memo; // what the user left in the memo
    Rect memoPlace;

    GridGeometry geometry() const { return GridGeometry(g, v, width, height); }
    Rect cellRect(int c, int r) override {
        const GridGeometry::Rect rc = geometry().cellRect(c, r);
        return {rc.left, rc.top, rc.width, rc.height};
    }
    bool cellAt(int x, int y, int& c, int& r) override { return geometry().cellAt(x, y, c, r); }
    int gridHeight() override { return height; }
    // As the widget scrolls: never past the first index that still fills the area.
    void setTopLeft(int top, int left) override {
        v.topRow = std::clamp(top, g.fixedRows(), geometry().maxFirst(Axis::Rows));
        v.leftCol = std::clamp(left, g.fixedCols(), geometry().maxFirst(Axis::Columns));
        v.visibleRowCount = std::max(1, geometry().fullyVisible(Axis::Rows, v.topRow));
        v.visibleColCount = std::max(1, geometry().fullyVisible(Axis::Columns, v.leftCol));
    }
    void scrollToCell(int c, int r) override {
        setTopLeft(geometry().firstToShow(Axis::Rows, r), geometry().firstToShow(Axis::Columns, c));
    }
    void openPopup(kol::Popup kind, int x, int y) override { popups.push_back({kind, x, y}); }
    void showMemo(const std::string& text, const Rect& where) override {
        ++memoShows;
        memo = text;
        memoPlace = where;
    }
    void typeInMemo(const std::string& text) override { memo += text; } // the cursor is at the end
    void hideMemo() override { ++memoHides; }
    std::string memoText() override { return memo; }
};

// A main window model created and shown as at start-up.
struct MainFixture {
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    FakeHost host;
    FakeClock clock;
    TFm_Kolumbra01 model{prompts, clipboard, host, clock, "/opt/kolumbra"};
    MainFixture() {
        model.FormCreate(ScreenInfo{1920, 1080});
        model.FormShow();
    }
};

// A run of the program with a settings file: created, shown, and closed through FormClose.
struct SettingsSession {
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    FakeHost host;
    FakeClock clock;
    TFm_Kolumbra01 model{prompts, clipboard, host, clock, "/opt/kolumbra"};
    explicit SettingsSession(const std::string& settings, ScreenInfo screen = {1920, 1080}) {
        model.SettingsPath = settings;
        model.FormCreate(screen);
        model.FormShow();
    }
};

} // namespace kol::test
