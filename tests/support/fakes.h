// Scripted stand-ins for the platform: queued answers, recorded messages, a settable clock.
#pragma once

#include "app/kolumbra01.h"
#include "app/platform.h"
#include "extra/csv_fixed.h"

#include <deque>
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

class FakeHost : public MainHost, public CsvFixedHost {
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
