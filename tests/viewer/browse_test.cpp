// The viewer's model: which entry a document belongs to, showing files and texts, printing,
// the editor and the HTML help, with a scripted window.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "viewer/browse.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

class ScriptedBrowseWindow : public BrowseHost {
public:
    std::string pane;
    bool paneVisible = true, shown = false, closed = false;
    int width = 850, busy = 0;
    std::vector<std::string> opened;
    bool openSucceeds = true, startSucceeds = true;
    std::vector<std::pair<std::string, std::string>> started;
    std::vector<std::vector<std::string>> printedCells;
    std::vector<print::PrintRequest> prints;
    std::function<void(print::PrintRequest&)> previewing;

    void setBusy(bool on) override { busy += on ? 1 : -1; }
    void openPrintPreview(print::PrintRequest& request) override {
        std::vector<std::string> cells;
        for (int r = 0; r < request.source->rowCount(); ++r)
            cells.emplace_back(request.source->cell(0, r));
        printedCells.push_back(cells);
        prints.push_back(request);
        if (previewing) previewing(request);
    }
    void setPaneText(const std::string& text) override { pane = text; }
    int paneHidings = 0;
    void setPaneVisible(bool visible) override {
        if (paneVisible && !visible) ++paneHidings;
        paneVisible = visible;
    }
    void focusPane() override {}
    void showWindow() override { shown = true; }
    void hideWindow() override { shown = false; }
    void closeWindow() override { closed = true; }
    void mirror() override {}
    WideGeometry wideGeometry() override { return {304, 300, 40, 850}; }
    void setWindowWidth(int w) override { width = w; }
    bool openWithDesktop(const std::string& path) override {
        opened.push_back(path);
        return openSucceeds;
    }
    bool startProgram(const std::string& program, const std::string& parameter) override {
        started.emplace_back(program, parameter);
        return startSucceeds;
    }
};

struct BrowseFixture {
    test::TempDir dir;
    test::ScriptedPrompts prompts;
    ScriptedBrowseWindow window;
    TFm_Browse browse{prompts, window, "kolumbra"};
    std::vector<std::string> senders = {"Mn_Help_Kolumbra", "Mn_Help_Begin", "Mn_Help_Guide1"};

    BrowseFixture() {
        browse.SetTitleBase("Kolumbra Browse");
        browse.SetDataFolder((dir / "data").string());
        for (std::size_t i = 0; i < senders.size(); ++i) {
            const std::string name = "doc" + std::to_string(i + 1) + ".txt";
            test::writeBytes(dir / name, "line of " + name + "\r\n<tag> & more\r\n");
            const std::string sender = senders[i];
            browse.RegisterDocument(sender,
                                    std::to_string(i + 1) + ". Doc (&" + std::to_string(i) + ")",
                                    [this, sender, name] { show(sender, name); });
        }
    }
    void show(const std::string& sender, const std::string& name) {
        browse.ShowDocumentFile(sender, "", true, (dir / name).string());
    }
};

TEST(Browse, ARegisteredDocumentShowsNumberedWithItsEntrySelected) {
    BrowseFixture f;
    EXPECT_EQ(f.browse.cmbBrowseList.Items,
              (std::vector<std::string>{" 1. Doc", " 2. Doc", " 3. Doc"}));
    f.show("Mn_Help_Begin", "doc2.txt");
    EXPECT_EQ(f.browse.cmbBrowseList.ItemIndex, 1);
    EXPECT_TRUE(f.browse.pnlHed.Visible);
    EXPECT_EQ(f.window.pane, "00001 line of doc2.txt\r\n00002 <tag> & more\r\n");
    EXPECT_EQ(f.browse.Caption, "Kolumbra Browse  [ " + (f.dir / "doc2.txt").string() + " ]");
    EXPECT_TRUE(f.window.shown);
    EXPECT_TRUE(f.window.paneVisible);
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.window.busy, 0);
}

TEST(Browse, ASenderRegisteredAgainTakesItsEntryOver) {
    BrowseFixture f;
    int runs = 0;
    f.browse.RegisterDocument("Mn_Help_Begin", "2. New", [&] { ++runs; });
    EXPECT_EQ(f.browse.cmbBrowseList.Items,
              (std::vector<std::string>{" 1. Doc", " 2. New", " 3. Doc"}));
    f.browse.cmbBrowseList.ItemIndex = 1;
    f.browse.cmbBrowseListClick();
    EXPECT_EQ(runs, 1);
}

TEST(Browse, AnUnregisteredSenderIsToldAndNoSenderHidesTheHeader) {
    BrowseFixture f;
    f.browse.ShowDocumentText("Mn_Other", "X", "text");
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.last(),
              sj("Browse サブメニューが登録されていません。\r\n\r\n  → Mn_Other"));
    EXPECT_FALSE(f.browse.pnlHed.Visible);
    EXPECT_EQ(f.window.pane, "text"); // still shown
    EXPECT_EQ(f.browse.Caption, "Kolumbra Browse X");
    f.show("Mn_Help_Begin", "doc2.txt");
    f.browse.ShowDocumentFile("", sj("★出力しました。 "), true, (f.dir / "doc1.txt").string());
    EXPECT_FALSE(f.browse.pnlHed.Visible);
    EXPECT_FALSE(f.browse.cmbBrowseList.Visible);
    EXPECT_EQ(f.prompts.messages.size(), 1u);
}

TEST(Browse, MissingUnreadableAndEmptyDocuments) {
    BrowseFixture f;
    f.show("Mn_Help_Begin", "doc2.txt");
    f.show("Mn_Help_Guide1", "gone.txt");
    EXPECT_EQ(f.prompts.last(),
              sj("ファイルがありません。\r\n\r\n     File = ") + (f.dir / "gone.txt").string());
    EXPECT_EQ(f.window.pane, "");
    // The document shown before is still the one the editor opens.
    f.browse.Btn_EditorClick();
    EXPECT_EQ(f.window.opened.back(), (f.dir / "doc2.txt").string());

    f.browse.ShowDocumentFile("", "", true, f.dir.path().string()); // a folder
    EXPECT_EQ(f.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_EQ(f.window.pane, "");

    test::writeBytes(f.dir / "empty.txt", "");
    const std::size_t messages = f.prompts.messages.size();
    f.show("Mn_Help_Begin", "empty.txt");
    EXPECT_EQ(f.window.pane, "");
    EXPECT_TRUE(f.window.shown);
    EXPECT_EQ(f.prompts.messages.size(), messages);

    f.browse.ShowDocumentFile("", "", true, "  "); // nothing to show, nothing said
    EXPECT_EQ(f.prompts.messages.size(), messages);
}

TEST(Browse, TheListRunsItsEntryAndTheWidthCyclesBack) {
    BrowseFixture f;
    f.browse.cmbBrowseList.ItemIndex = 2;
    f.browse.cmbBrowseListClick();
    EXPECT_EQ(f.window.pane.substr(0, 22), "00001 line of doc3.txt");
    f.browse.Btn_WideClick();
    EXPECT_EQ(f.window.width, 324);
    f.browse.Btn_WideClick();
    EXPECT_EQ(f.window.width, 210);
    f.browse.Btn_WideClick();
    EXPECT_EQ(f.window.width, 850);
}

TEST(Browse, PrintsTheLinesAsAListingAndKeepsTheSettings) {
    BrowseFixture f;
    print::PrintSettings settings;
    settings.CellScale = 80;
    f.browse.SetPrintSettings(settings);
    f.show("Mn_Help_Begin", "doc2.txt");
    f.window.previewing = [](print::PrintRequest& r) { r.settings.CellScale = 120; };
    f.browse.Mn_PrintClick();
    ASSERT_EQ(f.window.prints.size(), 1u);
    const print::PrintRequest& r = f.window.prints[0];
    EXPECT_EQ(r.mode, print::PrintMode::TextListing);
    EXPECT_EQ(r.headings[0], " 2. Doc");
    EXPECT_EQ(r.initialRowLimit, 0);
    EXPECT_EQ(r.maxLinesPerCell, 20);
    EXPECT_EQ(r.settings.CellScale, 80);
    EXPECT_EQ(r.dataFolder, (f.dir / "data").string());
    EXPECT_EQ(f.window.printedCells[0],
              (std::vector<std::string>{" 00001 line of doc2.txt", " 00002 <tag> & more"}));
    EXPECT_EQ(f.browse.GetPrintSettings().CellScale, 120);
    EXPECT_EQ(f.browse.WorkGrid.rowCount(), 1);
    // Without the list the caption heads the print.
    f.browse.ShowDocumentText("", "Extra", "a\r\nb");
    f.browse.Mn_PrintClick();
    EXPECT_EQ(f.window.prints[1].headings[0], "Kolumbra Browse Extra");
    EXPECT_EQ(f.window.printedCells[1], (std::vector<std::string>{" a", " b"}));
}

TEST(Browse, TheEditorGetsTheFileOrACopyOfTheText) {
    BrowseFixture f;
    f.show("Mn_Help_Begin", "doc2.txt");
    f.browse.Btn_EditorClick();
    EXPECT_EQ(f.window.opened.back(), (f.dir / "doc2.txt").string());
    f.browse.ShowDocumentText("", "", sj("列名\r\n"));
    f.browse.Btn_EditorClick();
    EXPECT_EQ(f.window.opened.back(), (f.dir / "data" / "kolumbra_Browse.Txt").string());
    EXPECT_EQ(test::readBytes(f.dir / "data" / "kolumbra_Browse.Txt"), sj("列名\r\n"));
    EXPECT_TRUE(f.prompts.messages.empty());
    f.window.openSucceeds = false;
    f.browse.Btn_EditorClick();
    EXPECT_EQ(f.prompts.last().rfind(sj("エディタを起動できません。"), 0), 0u);
}

TEST(Browse, LaunchProgramPassesTheParameterOnlyWhenItNamesSomething) {
    BrowseFixture f;
    EXPECT_TRUE(f.browse.LaunchProgram("/usr/bin/ed", "\"/tmp/a b\"", true));
    EXPECT_TRUE(f.browse.LaunchProgram("/usr/bin/ed", "\"\"", true));
    EXPECT_EQ(f.window.started[0].second, "\"/tmp/a b\"");
    EXPECT_EQ(f.window.started[1].second, "");
    f.window.startSucceeds = false;
    EXPECT_FALSE(f.browse.LaunchProgram("/no/ed", "x", false));
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_FALSE(f.browse.LaunchProgram("/no/ed", "x", true));
    EXPECT_EQ(f.prompts.last(),
              sj("プログラムを起動できません。 \r\r Praogram = /no/ed\r Param    = x"));
}

TEST(Browse, HtmlHelpHoldsEveryDocumentEscapedAndJumpsToTheShownOne) {
    BrowseFixture f;
    f.show("Mn_Help_Begin", "doc2.txt");
    f.window.paneHidings = 0;
    f.browse.Btn_HtmlClick();
    const auto path = f.dir / "data" / "kolumbra_Help.Html";
    ASSERT_EQ(f.window.opened, (std::vector<std::string>{path.string()}));
    const std::string html = test::readBytes(path);
    EXPECT_NE(html.find("OnLoad=LinkJump(\"#Page_2\")"), std::string::npos);
    for (const char* name : {"doc1.txt", "doc2.txt", "doc3.txt"})
        EXPECT_NE(html.find(std::string("00001 line of ") + name), std::string::npos);
    EXPECT_NE(html.find("00002 &lt;tag&gt; &amp; more"), std::string::npos);
    EXPECT_EQ(html.find("<tag>"), std::string::npos);
    EXPECT_EQ(f.window.paneHidings, 1); // hidden once for the whole page
    // The viewer shows what it showed before, with its pane.
    EXPECT_EQ(f.browse.cmbBrowseList.ItemIndex, 1);
    EXPECT_EQ(f.window.pane.substr(0, 22), "00001 line of doc2.txt");
    EXPECT_TRUE(f.window.paneVisible);
    EXPECT_TRUE(f.prompts.messages.empty());
}

TEST(Browse, HtmlHelpFailures) {
    BrowseFixture f;
    std::filesystem::remove(f.dir / "doc3.txt");
    f.window.openSucceeds = false;
    f.browse.Btn_HtmlClick();
    // The missing document is told once and its page is empty; the browser failure is told.
    ASSERT_EQ(f.prompts.messages.size(), 2u);
    EXPECT_EQ(f.prompts.messages[0].text.rfind(sj("ファイルがありません。"), 0), 0u);
    EXPECT_EQ(f.prompts.last(), sj("ブラウザの起動を失敗しました。"));
    EXPECT_NE(test::readBytes(f.dir / "data" / "kolumbra_Help.Html").find("<Pre>\r\n</Pre>"),
              std::string::npos);
    // A data folder that cannot be written: the write failure, and no browser.
    test::writeBytes(f.dir / "file", "x");
    f.browse.SetDataFolder((f.dir / "file" / "sub").string());
    f.window.opened.clear();
    f.browse.Btn_HtmlClick();
    EXPECT_EQ(f.prompts.last().rfind(sj("出力ファイルの作成に失敗しました。"), 0), 0u);
    EXPECT_TRUE(f.window.opened.empty());
    EXPECT_TRUE(f.window.paneVisible);
}

TEST(Browse, APrivateViewerShowsItsTextAndCloses) {
    test::ScriptedPrompts prompts;
    ScriptedBrowseWindow window;
    TFm_Browse browse(prompts, window, "kolumbra");
    browse.SetPrivate("help text", "");
    browse.FormShow();
    EXPECT_EQ(window.pane, "help text");
    EXPECT_FALSE(browse.pnlHed.Visible);
    browse.Mn_ExitClick();
    EXPECT_TRUE(window.closed);

    TFm_Browse shared(prompts, window, "kolumbra");
    window.closed = false;
    shared.ShowDocumentText("", "", "x");
    shared.FormClose();
    EXPECT_FALSE(window.closed);
    EXPECT_FALSE(window.shown);
}

} // namespace
} // namespace kol
