// The main window tells the search window when its results go stale and hands it the history.
#include "app/kolumbra01.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct RecordingSearch : SearchWindowLink {
    int shows = 0;
    std::vector<bool> resets; // clearWord of each ResetResults
    std::vector<std::string> loaded;
    std::vector<std::string> history{"newest", "older"};
    void showWindow() override { ++shows; }
    void ResetResults(bool clearWord) override { resets.push_back(clearWord); }
    void LoadHistory(std::span<const std::string> slots) override {
        loaded.assign(slots.begin(), slots.end());
    }
    void GatherHistory(std::span<std::string> slots) override {
        for (std::size_t i = 0; i < slots.size(); ++i)
            slots[i] = i < history.size() ? history[i] : std::string();
    }
};

TEST(MainSearchLink, ResultsResetOnEveryLoadAndRestructureAndHistoryRoundTrips) {
    test::ScriptedPrompts prompts;
    test::FakeClipboard clipboard;
    test::FakeHost host;
    test::FakeClock clock;
    RecordingSearch search;
    TFm_Kolumbra01 model(prompts, clipboard, host, clock, "/opt/kolumbra");
    model.Search = &search;
    model.FormCreate(ScreenInfo{1920, 1080});
    model.Settings.FindWord[0] = "from the file";
    model.FormShow();
    ASSERT_EQ(search.loaded.size(), 101u);
    EXPECT_EQ(search.loaded[0], "from the file");
    ASSERT_FALSE(search.resets.empty());
    EXPECT_TRUE(search.resets.front()); // the first show clears the word too

    EXPECT_TRUE(model.Btn_Select.Enabled);
    model.Btn_SelectClick();
    EXPECT_EQ(search.shows, 1);

    search.resets.clear();
    ASSERT_TRUE(model.LoadTable(test::dataFile("titled.csv").string(), 0));
    EXPECT_FALSE(search.resets.empty());
    EXPECT_FALSE(search.resets.back());
    search.resets.clear();
    model.Cmb_FixedRows.ItemIndex = 2; // title rows change the row labels
    model.Cmb_FixedRowsClick();
    EXPECT_FALSE(search.resets.empty());
    search.resets.clear();
    model.RefreshAfterStructureChange();
    EXPECT_EQ(search.resets.size(), 1u);
    search.resets.clear();
    prompts.answers = {Answer::Yes};
    model.Mn_InitClearClick();
    EXPECT_FALSE(search.resets.empty());

    model.Modified = 0;
    ASSERT_TRUE(model.FormClose());
    EXPECT_EQ(model.Settings.FindWord[0], "newest");
    EXPECT_EQ(model.Settings.FindWord[1], "older");
    EXPECT_EQ(model.Settings.FindWord[2], "");
}

} // namespace
} // namespace kol
