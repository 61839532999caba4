// Scripted stand-ins for the platform: queued answers, recorded messages, a settable clock.
#pragma once

#include "app/csv_etc.h"
#include "app/csv_fixed.h"
#include "app/kolumbra01.h"
#include "edit/grid_input.h"
#include "platform/platform.h"

#include <algorithm>
#include <deque>
#include <functional>
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
    std::int64_t nowMs() override { return now; }
};

class FakeHost : public MainHost {
public:
    int repaints = 0, closes = 0;
    bool maximized = false;
    std::vector<std::string> documents; // paths or texts shown
    void setBusy(bool) override {}
    void repaintStatus() override { ++repaints; }
    void bringToFront() override {}
    void focusGrid() override {}
    void closeWindow() override { ++closes; }
    bool isMaximized() override { return maximized; }
    void showDocumentFile(const std::string& path, const std::string&) override {
        documents.push_back(path);
    }
    void showDocumentText(const std::string& text) override { documents.push_back(text); }
    void runCsvFixed(TFm_CsvFixed&) override {}
    std::function<void(TFm_CsvEtc&)> csvEtc; // what the user does in the window
    int csvEtcRuns = 0;
    void runCsvEtc(TFm_CsvEtc& window) override {
        ++csvEtcRuns;
        if (csvEtc) csvEtc(window);
    }
};

// The grid's pixels as the grid widget lays them out: fixed rows and columns first, then the
// scrolling ones from topRow / leftCol, each followed by a one-pixel line.
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

    int pos(bool vertical, int index) const {
        const int fixed = vertical ? g.fixedRows() : g.fixedCols();
        const int first = vertical ? v.topRow : v.leftCol;
        if (index >= fixed && index < first) return -1;
        int p = 0;
        for (int i = 0; i < std::min(index, fixed); ++i) p += size(vertical, i) + 1;
        for (int i = first; i < index && index >= fixed; ++i) p += size(vertical, i) + 1;
        return p < (vertical ? height : width) ? p : -1;
    }
    int size(bool vertical, int i) const { return vertical ? g.rowHeight(i) : g.colWidth(i); }
    int count(bool vertical) const { return vertical ? g.rowCount() : g.colCount(); }
    int wholeFrom(bool vertical, int first) const {
        int p = pos(vertical, first), n = 0;
        for (int i = first; i < count(vertical) && p >= 0; ++i, ++n) {
            p += size(vertical, i);
            if (p > (vertical ? height : width)) break;
            ++p;
        }
        return std::max(n, 1);
    }

    Rect cellRect(int c, int r) override {
        const int x = pos(false, c), y = pos(true, r);
        if (x < 0 || y < 0) return {};
        return {x, y, g.colWidth(c), g.rowHeight(r)};
    }
    bool cellAt(int x, int y, int& c, int& r) override {
        c = r = -1;
        for (int i = 0; i < g.colCount(); ++i) {
            const int p = pos(false, i);
            if (p >= 0 && x >= p && x <= p + g.colWidth(i)) c = i;
        }
        for (int i = 0; i < g.rowCount(); ++i) {
            const int p = pos(true, i);
            if (p >= 0 && y >= p && y <= p + g.rowHeight(i)) r = i;
        }
        return c >= 0 && r >= 0;
    }
    int gridHeight() override { return height; }
    void setTopLeft(int top, int left) override {
        v.topRow = std::clamp(top, g.fixedRows(), g.rowCount() - 1);
        v.leftCol = std::clamp(left, g.fixedCols(), g.colCount() - 1);
        v.visibleRowCount = wholeFrom(true, v.topRow);
        v.visibleColCount = wholeFrom(false, v.leftCol);
    }
    void scrollToCell(int c, int r) override {
        int top = v.topRow, left = v.leftCol;
        if (r >= g.fixedRows() && r < top) top = r;
        if (r >= top + wholeFrom(true, top)) top = r - wholeFrom(true, top) + 1;
        if (c >= g.fixedCols() && c < left) left = c;
        if (c >= left + wholeFrom(false, left)) left = c;
        setTopLeft(top, left);
    }
    void openPopup(kol::Popup kind, int x, int y) override { popups.push_back({kind, x, y}); }
    void showMemo(const std::string& text, const Rect& where) override {
        ++memoShows;
        memo = text;
        memoPlace = where;
    }
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

} // namespace kol::test
