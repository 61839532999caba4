// The main window model keeps its view choices, switches and bounds in the settings file.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using Session = test::SettingsSession;

TEST(MainSettings, StoredChoicesComeBackAndUnknownLinesSurvive) {
    test::TempDir dir;
    std::string path = (dir / "KolumbraOpt2.Dat").string();
    test::writeBytes(path,
                     "Vex_Kolumbra=10,20,800,600\r\nWinSta=1\r\nfixedcenter=0\r\nCmb_Bunri=2\r\n"
                     "Cmb_Fold=1\r\nCmb_FixedRows=3\r\nFindWord0=" +
                         sj("検索語") + "\r\nGP_Something=7\r\nGPB_Cmb_Gray=100\r\n");
    {
        Session s(path);
        EXPECT_EQ(s.model.Top, 10);
        EXPECT_EQ(s.model.Left, 20);
        EXPECT_EQ(s.model.Width, 800);
        EXPECT_TRUE(s.model.WindowMaximized);
        EXPECT_FALSE(s.model.Mn_FixedCenter.Checked);
        EXPECT_TRUE(s.model.Mn_BreakColor.Checked);
        EXPECT_EQ(s.model.CurrentSeparator, '\t');
        EXPECT_EQ(s.model.Cmb_Fold.ItemIndex, 1);
        EXPECT_EQ(s.model.Cmb_FixedRows.ItemIndex, 3);
        s.model.Mn_FixedCenterClick(s.model.Mn_DataCenter);
        s.model.Cmb_LimColLen.ItemIndex = 3;
        s.model.Top = 50;
        s.host.maximized = true;
        ASSERT_TRUE(s.model.FormClose()); // maximised: the bounds stay as they were
    }
    std::string written = test::readBytes(path);
    EXPECT_NE(written.find("Vex_Kolumbra=10,20,800,600\r\n"), std::string::npos);
    EXPECT_NE(written.find("DataCenter=1\r\n"), std::string::npos);
    EXPECT_NE(written.find("Cmb_LimColLen=3\r\n"), std::string::npos);
    EXPECT_NE(written.find("FindWord0=" + sj("検索語") + "\r\n"), std::string::npos);
    EXPECT_NE(written.find("GP_Something=7\r\n"), std::string::npos);
    // The document print settings are read, so their line is written once, not kept as well.
    std::size_t grey = written.find("\r\nGPB_Cmb_Gray=100\r\n");
    EXPECT_NE(grey, std::string::npos);
    EXPECT_EQ(written.find("GPB_Cmb_Gray=", grey + 3), std::string::npos);

    Session again(path);
    EXPECT_TRUE(again.model.Mn_DataCenter.Checked);
    EXPECT_EQ(again.model.Cmb_LimColLen.ItemIndex, 3);
}

TEST(MainSettings, BoundsFromALargerScreenAreFittedOntoThisOne) {
    test::TempDir dir;
    std::string path = (dir / "KolumbraOpt2.Dat").string();
    // Top, Left, Width, Height as a 1920 x 1080 screen left them.
    test::writeBytes(path, "Vex_Kolumbra=100,500,1200,900\r\n");
    {
        Session s(path, ScreenInfo{1280, 800});
        EXPECT_EQ(s.model.Left, 80);
        EXPECT_EQ(s.model.Top, 0);
        EXPECT_EQ(s.model.Width, 1200);
        EXPECT_EQ(s.model.Height, 800);
    }
    Session large(path);
    EXPECT_EQ(large.model.Top, 100);
    EXPECT_EQ(large.model.Left, 500);
    EXPECT_EQ(large.model.Height, 900);
}

TEST(MainSettings, DamagedOrMissingFilesStartWithDefaults) {
    test::TempDir dir;
    std::string path = (dir / "KolumbraOpt2.Dat").string();
    std::string junk = "\xFF\xFE\x01garbage\r\nno equals sign\r\nCmb_CrNext=abc\r\n" +
                       std::string(3u << 20, 'x') + "\r\nCmb_Bunri=999\r\nWinSta=1";
    test::writeBytes(path, junk);
    Session s(path);
    EXPECT_EQ(s.model.Cmb_CrNext.ItemIndex, 4);
    EXPECT_EQ(s.model.Cmb_Bunri.ItemIndex, 0); // beyond the list: the first item
    EXPECT_TRUE(s.model.WindowMaximized);
    Session fresh((dir / "missing.Dat").string());
    EXPECT_EQ(fresh.model.Cmb_Bunri.ItemIndex, 1);
    EXPECT_EQ(fresh.model.Settings.Vex_Kolumbra.Top, -1);
}

TEST(MainSettings, AFailedWriteIsReportedAndKeepsTheOldFile) {
    test::TempDir dir;
    test::writeBytes(dir / "file", "x");
    Session s((dir / "file" / "KolumbraOpt2.Dat").string()); // a folder that is a file
    EXPECT_TRUE(s.model.FormClose());
    ASSERT_FALSE(s.prompts.messages.empty());
    EXPECT_EQ(s.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_EQ(test::readBytes(dir / "file"), "x");
}

} // namespace
} // namespace kol
