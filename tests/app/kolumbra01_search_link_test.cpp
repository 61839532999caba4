// The search results hear when the table is replaced or reshaped; the main window hands the
// search window its history.
#include "app/kolumbra01.h"
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct RecordingSearch : SearchWindowLink, TableListener {
    int shows = 0;
    std::vector<Reshape> resets;
    std::vector<std::string> loaded;
    std::vector<std::string> history{"newest", "older"};
    void showWindow() override { ++shows; }
    void tableReshaped(Reshape how) override { resets.push_back(how); }
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
    TableSubscription listening{model.Shown.listeners(), search};
    model.FormCreate(ScreenInfo{1920, 1080});
    model.Settings.FindWord[0] = "from the file";
    model.FormShow();
    ASSERT_EQ(search.loaded.size(), 101u);
    EXPECT_EQ(search.loaded[0], "from the file");
    ASSERT_FALSE(search.resets.empty());
    EXPECT_EQ(search.resets.front(), Reshape::Replaced); // the first show's one-cell table

    EXPECT_TRUE(model.Btn_Select.Enabled);
    model.Btn_SelectClick();
    EXPECT_EQ(search.shows, 1);

    search.resets.clear();
    ASSERT_TRUE(model.LoadTable(test::dataFile("titled.csv").string(), 0));
    EXPECT_FALSE(search.resets.empty());
    EXPECT_EQ(search.resets.back(), Reshape::Replaced);
    search.resets.clear();
    model.Cmb_FixedRows.ItemIndex = 2; // title rows change the row labels
    model.Cmb_FixedRowsClick();
    ASSERT_FALSE(search.resets.empty());
    EXPECT_EQ(search.resets.back(), Reshape::Rows);
    search.resets.clear();
    model.RefreshAfterStructureChange();
    EXPECT_EQ(search.resets, std::vector<Reshape>{Reshape::Columns});
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
