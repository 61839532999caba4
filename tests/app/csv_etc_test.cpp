// The environment definition window: the sign form is stored only when the update is confirmed,
// and it survives a restart through the settings file.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(CsvEtc, OpensOnTheStoredChoice) {
    test::ScriptedPrompts prompts;
    int stored = 1;
    TFm_CsvEtc w(prompts, stored);
    EXPECT_EQ(w.Caption, sj("Zimbrel 動作環境の定義"));
    EXPECT_EQ(w.PageCaption, sj("バイナリ出力時"));
    ASSERT_EQ(w.Cmb_ZoneSign.Items.size(), 2u);
    EXPECT_EQ(w.Cmb_ZoneSign.Items[0], " IBM-EBCDIC (F/C/D)");
    EXPECT_EQ(w.Cmb_ZoneSign.Items[1], " ASCII-MicroFocus (3/7)");
    EXPECT_EQ(w.Cmb_ZoneSign.ItemIndex, 1);
    EXPECT_TRUE(prompts.messages.empty());

    // A damaged value shows the default and is kept until an update replaces it.
    for (int damaged : {2, -1, 99999}) {
        stored = damaged;
        TFm_CsvEtc d(prompts, stored);
        EXPECT_EQ(d.Cmb_ZoneSign.ItemIndex, 0);
        d.Btn_CloseClick();
        EXPECT_EQ(stored, damaged);
    }
    prompts.answers = {Answer::Yes};
    TFm_CsvEtc d(prompts, stored);
    d.Btn_UpdateClick();
    EXPECT_EQ(stored, 0);
}

TEST(CsvEtc, UpdateStoresOnlyOnYes) {
    test::ScriptedPrompts prompts;
    int stored = 0;
    TFm_CsvEtc w(prompts, stored);
    w.Cmb_ZoneSign.ItemIndex = 1;

    prompts.answers = {Answer::No};
    w.Btn_UpdateClick();
    EXPECT_EQ(stored, 0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, test::Message::Ask);
    EXPECT_EQ(prompts.messages[0].text, sj("動作環境の定義を更新します。\r\n\r\nよろしいですか？"));

    prompts.answers = {Answer::Yes};
    w.Btn_UpdateClick();
    EXPECT_EQ(stored, 1);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[2].kind, test::Message::Inform);
    EXPECT_EQ(prompts.messages[2].text, sj("動作環境の定義を更新しました。"));
    EXPECT_FALSE(w.Closed);
    w.Mn_ExitClick();
    EXPECT_TRUE(w.Closed);
}

struct Session : test::SettingsSession {
    using SettingsSession::SettingsSession;
    int shownChoice() { // opens the window from the hidden menu and closes it untouched
        int shown = -1;
        host.csvEtc = [&](TFm_CsvEtc& w) {
            shown = w.Cmb_ZoneSign.ItemIndex;
            w.Btn_CloseClick();
        };
        model.Mn_RecEtcClick();
        return shown;
    }
};

TEST(CsvEtc, TheChoiceSurvivesARestart) {
    test::TempDir dir;
    std::string path = (dir / "KolumbraOpt2.Dat").string();
    {
        Session s(path);
        EXPECT_FALSE(s.model.Mn_RecEtc.Visible);
        EXPECT_TRUE(s.model.Mn_RecEtc.Enabled);
        EXPECT_EQ(s.shownChoice(), 0);
        s.prompts.answers = {Answer::Yes};
        s.host.csvEtc = [](TFm_CsvEtc& w) {
            w.Cmb_ZoneSign.ItemIndex = 1;
            w.Btn_UpdateClick();
            w.Btn_CloseClick();
        };
        s.model.Mn_RecEtcClick();
        EXPECT_EQ(s.host.csvEtcRuns, 2);
        ASSERT_TRUE(s.model.FormClose());
    }
    EXPECT_NE(test::readBytes(path).find("\r\nCmb_ZoneSign=1\r\n"), std::string::npos);
    {
        Session s(path);
        EXPECT_EQ(s.shownChoice(), 1);
        // Chosen but closed without the update: the stored choice stays.
        s.host.csvEtc = [](TFm_CsvEtc& w) {
            w.Cmb_ZoneSign.ItemIndex = 0;
            w.Mn_ExitClick();
        };
        s.model.Mn_RecEtcClick();
        EXPECT_TRUE(s.prompts.messages.empty());
        ASSERT_TRUE(s.model.FormClose());
    }
    Session s(path);
    EXPECT_EQ(s.shownChoice(), 1);
}

} // namespace
} // namespace kol
