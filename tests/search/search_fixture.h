// A search window model over a main table loaded from CSV text, with scripted platform pieces.
#pragma once

#include "search/kolumbra02.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "table/table_load.h"

#include <functional>

namespace kol::test {

class FakeSearchHost : public SearchHost {
public:
    bool showing = true;
    int pending = 0, hides = 0, fronts = 0;
    std::function<void()> onPending; // what the user does while the search lets events in
    void setBusy(bool) override {}
    bool isShowing() override { return showing; }
    void processPending() override {
        ++pending;
        if (onPending) onPending();
    }
    void focusWord() override {}
    void focusResults() override {}
    void hideWindow() override { ++hides; }
    void bringToFront() override { ++fronts; }
};

class FakeMainLink : public SearchMainLink {
public:
    std::string path;
    int shown = 0;
    unsigned char separator() override { return ','; }
    std::string& selectFilePath() override { return path; }
    void showFoundCell() override { ++shown; }
    void focusMainGrid() override {}
    std::string fileName = "  /data/table.csv ";
    std::string tableFileName() override { return fileName; }
    struct Print {
        PrintedRequest printed;
        int rowLimit;
    };
    std::vector<Print> prints;
    void printGrid(const StringGrid& grid, const print::HeadingLines& headings,
                   int rowLimit) override {
        print::PrintRequest request;
        request.source = &grid;
        request.headings = headings;
        prints.push_back({PrintedRequest::of(request), rowLimit});
    }
};

// Every reading of the clock moves it on by `step` milliseconds.
class SteppingClock : public Clock {
public:
    std::int64_t now = 0, step = 0;
    std::int64_t nowMs() override { return now += step; }
};

struct SearchFixture {
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    SteppingClock clock;
    FakeSearchHost host;
    FakeMainLink link;
    TableDocument doc;
    GridViewState mainView{doc.Grid};
    TempDir dir;
    TFm_Kolumbra02 w{prompts, clipboard, clock, host, link, doc, mainView, "/opt/kolumbra"};

    SearchFixture() {
        w.FormCreate(1920, 1080);
        w.FormShow();
    }
    // `titleRows` title rows below the column numbers, as the main window's fixed-row choice.
    void load(const std::string& csv, int titleRows = 1) {
        writeBytes(dir / "table.csv", csv);
        TableLoadOptions options;
        options.labels = RowLabelRule{false, titleRows};
        options.titleRows = titleRows + 1;
        if (!loadTableFile((dir / "table.csv").string(), doc, options).ok())
            throw std::runtime_error("load failed");
    }
    void search(const std::string& words, bool anyWord = false) {
        w.Edt_Word = words;
        w.Rdo_AND.Checked = !anyWord;
        w.Rdo_OR.Checked = anyWord;
        w.Btn_ExecClick();
    }
};

} // namespace kol::test
