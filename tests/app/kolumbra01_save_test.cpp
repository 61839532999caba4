// Saving from the main window model, the save prompt, the close and clear commands.
#include "support/fakes.h"
#include "support/fault_injection.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kol {
namespace {

using test::MainFixture;

struct SaveFixture : MainFixture {
    test::TempDir dir;
    std::string path = (dir / "data.csv").string();
    SaveFixture() {
        test::writeBytes(path, "a,\"b,1\",c\r\nx\"y,\r\n");
        EXPECT_TRUE(model.LoadTable(path, 1));
    }
};

TEST(MainSave, ButtonConfirmsThePathAndWritesWithoutADialog) {
    SaveFixture f;
    f.model.Grid.setCell(2, 2, "new");
    f.model.Modified = 1;
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    EXPECT_TRUE(f.prompts.dialogs.empty());
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("編集中の内容を下記のファイル名で保存します。\r\n\r\n     PATH = ") + f.path);
    // Every line has the table's field count; quotes are dropped, commas quoted.
    EXPECT_EQ(test::readBytes(f.path), "a,\"b,1\",c\r\nnew,,\r\n");
    EXPECT_EQ(f.model.Modified, 0);
    f.model.SaveTimerTimer();
    EXPECT_FALSE(f.model.Btn_Save.Enabled);
}

TEST(MainSave, NoWritesNothing) {
    SaveFixture f;
    f.model.Modified = 1;
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    EXPECT_EQ(test::readBytes(f.path), "a,\"b,1\",c\r\nx\"y,\r\n");
    EXPECT_EQ(f.model.Modified, 1);
}

TEST(MainSave, MenuAlwaysAsksForANameAndAddsCsv) {
    SaveFixture f;
    f.prompts.fileNames = {(f.dir / "out").string()};
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Menu);
    ASSERT_EQ(f.prompts.dialogs.size(), 1u);
    EXPECT_EQ(f.prompts.dialogs[0].fileName, f.path);
    EXPECT_EQ(f.prompts.dialogs[0].filter,
              "(*.csv)|*.csv|(*.csv)|*.csv|(*.csv; *.txt)|*.csv; *.txt|(*.txt)|*.txt|(*.*)|*.*");
    EXPECT_TRUE(f.prompts.dialogs[0].askOverwrite);
    EXPECT_EQ(test::readBytes(f.dir / "out.csv"), "a,\"b,1\",c\r\n\"y,\",,\r\n");
    EXPECT_EQ(f.model.CsvFileInf.FileName, (f.dir / "out.csv").string());
    EXPECT_NE(f.model.Caption.find("out.csv"), std::string::npos);
}

TEST(MainSave, AFailedWriteKeepsTheOldFileAndTheChanges) {
    SaveFixture f;
    f.model.Modified = 1;
    f.model.RecordCell(HistoryKind::CellEdit, 2, 1);
    std::string folder = (f.dir / "blocked.csv").string();
    ::mkdir(folder.c_str(), 0755);
    f.prompts.fileNames = {folder + "/missing/deeper.csv", folder};
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Menu);
    EXPECT_EQ(f.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_EQ(f.prompts.last(),
              sj("出力ファイルの作成に失敗しました。\r\n\r\n   PATH = ") + folder +
                  sj("/missing/deeper.csv\r\n   理由 : フォルダーが見つかりません。"));
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(f.model.historySize(), 1u);
    EXPECT_EQ(f.model.CsvFileInf.FileName, f.path);
    // A folder in the file's place is never replaced.
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Menu);
    EXPECT_NE(f.prompts.last().find(sj("理由 : 同じ名前のフォルダーがあります。")),
              std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(test::readBytes(f.path), "a,\"b,1\",c\r\nx\"y,\r\n");
}

TEST(MainSave, AFullDiskIsReportedWithItsReasonAndLosesNothing) {
    SaveFixture f;
    f.model.Grid.setCell(2, 1, std::string(1 << 20, 'x'));
    f.model.Modified = 1;
    f.prompts.answers = {Answer::Yes};
    {
        test::FullDisk disk(4096);
        f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    }
    EXPECT_EQ(f.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_EQ(f.prompts.last(), sj("出力ファイルの作成に失敗しました。\r\n\r\n   PATH = ") +
                                    f.path + sj("\r\n   理由 : ディスクの空き容量が足りません。"));
    EXPECT_EQ(test::readBytes(f.path), "a,\"b,1\",c\r\nx\"y,\r\n");
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(f.model.Grid.cell(2, 1).size(), 1u << 20);
}

TEST(MainSave, ClipboardTableAsksForAName) {
    MainFixture f;
    f.clipboard.content = "1\t2\r\n";
    f.prompts.answers = {Answer::Yes};
    f.model.Btn_OpenBoardClick();
    f.model.SaveTimerTimer();
    EXPECT_TRUE(f.model.Btn_Save.Enabled);
    EXPECT_TRUE(f.model.Btn_Save.Bold);
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    ASSERT_EQ(f.prompts.dialogs.size(), 1u);
    EXPECT_EQ(f.prompts.dialogs[0].fileName, "/opt/kolumbra/*.csv");
}

TEST(MainSave, InvalidShiftJisBytesSurviveLoadAndSave) {
    test::TempDir dir;
    MainFixture f;
    std::string original = test::readBytes(test::dataFile("invalid-sjis.csv"));
    std::string path = (dir / "copy.csv").string();
    test::writeBytes(path, original);
    ASSERT_TRUE(f.model.LoadTable(path, 1));
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    std::string saved = test::readBytes(path);
    for (char b : {'\x80', '\xA0', '\xFD', '\xFE', '\xFF'})
        EXPECT_EQ(std::count(saved.begin(), saved.end(), b),
                  std::count(original.begin(), original.end(), b));
}

TEST(MainSave, SavingKeepsTheFilesPermissions) {
    SaveFixture f;
    ::chmod(f.path.c_str(), 0640);
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    struct stat st {};
    ASSERT_EQ(::stat(f.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(MainClose, CancelKeepsTheWindowAndYesSavesFirst) {
    SaveFixture f;
    f.model.Modified = 1;
    f.prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(f.model.FormClose());
    EXPECT_EQ(f.model.Modified, 1);

    f.prompts.answers = {Answer::Yes};
    f.prompts.fileNames = {(f.dir / "closed.csv").string()};
    EXPECT_TRUE(f.model.FormClose());
    EXPECT_EQ(test::readBytes(f.dir / "closed.csv"), "a,\"b,1\",c\r\n\"y,\",,\r\n");
    EXPECT_FALSE(f.model.DropAccepted);
}

TEST(MainClose, AYesWhoseSaveDidNotHappenKeepsTheWindowAndTheChanges) {
    SaveFixture f;
    f.model.Grid.setCell(2, 1, "edited");
    f.model.Modified = 1;
    // The save fails (no such folder), then its dialog is cancelled: neither may close.
    f.prompts.answers = {Answer::Yes, Answer::Yes};
    f.prompts.fileNames = {(f.dir / "gone" / "x.csv").string()};
    EXPECT_FALSE(f.model.FormClose());
    EXPECT_EQ(f.prompts.messages.back().kind, test::Message::Fail);
    EXPECT_FALSE(f.model.FormClose());
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_TRUE(f.model.DropAccepted);

    // Opening another file after such a Yes keeps the edited table too.
    f.prompts.answers = {Answer::Yes};
    f.model.Btn_OpenCsvClick();
    EXPECT_EQ(f.model.Grid.cell(2, 1), "edited");
    EXPECT_EQ(f.prompts.dialogs.size(), 3u); // the two save dialogs and this one's: no open dialog
}

TEST(MainClose, NormalWindowBoundsAreKeptMaximisedOnesAreNot) {
    MainFixture f;
    f.model.Left = 10;
    f.model.Top = 20;
    f.model.Width = 800;
    f.model.Height = 600;
    EXPECT_TRUE(f.model.FormClose());
    EXPECT_EQ(f.model.Settings.Vex_Kolumbra.Top, 20);
    EXPECT_EQ(f.model.Settings.WinSta, 0);
    MainFixture g;
    g.host.maximized = true;
    EXPECT_TRUE(g.model.FormClose());
    EXPECT_EQ(g.model.Settings.Vex_Kolumbra.Top, -1);
    EXPECT_EQ(g.model.Settings.WinSta, 1);
}

TEST(MainClear, InitClearAsksAndMarksTheTableChanged) {
    SaveFixture f;
    f.model.Mn_InitClearClick();
    EXPECT_EQ(f.model.Grid.rowCount(), 7 - 4);
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_InitClearClick();
    EXPECT_EQ(f.model.Grid.rowCount(), 2);
    EXPECT_EQ(f.model.Grid.colCount(), 3);
    EXPECT_EQ(f.model.Modified, 1);
    EXPECT_EQ(
        f.prompts.messages.back().text,
        sj("内容をクリアーして初期化します。\r\n\r\n (１行１列になる)\r\n\r\nよろしいですか？"));
}

TEST(MainHelp, AboutIsWrittenThenShownAndFixedTextsShowDirectly) {
    MainFixture f;
    test::TempDir dir;
    f.model.DataDir = dir.path().string();
    f.model.Mn_Help_KolumbraClick();
    ASSERT_EQ(f.host.documents.size(), 1u);
    EXPECT_EQ(f.host.documents[0], (dir / "Doc_Kolumbra_About.txt").string());
    std::string about = test::readBytes(dir / "Doc_Kolumbra_About.txt");
    EXPECT_NE(about.find(sj("  (ＣＳＶファイル閲覧＆編集ソフト)")), std::string::npos);
    EXPECT_NE(about.find("Ver 4.00"), std::string::npos);
    f.model.Mn_Help_Guide2Click();
    EXPECT_EQ(f.host.documents[1], "/opt/kolumbra/Doc_Kolumbra_Guide2.Txt");
    f.model.Mn_Help_ColNameClick();
    EXPECT_EQ(f.host.documents[2].rfind(sj("列名(固定行)の入力方法\r\n\r\n"), 0), 0u);
}

TEST(MainHelp, TheViewerGetsTheSevenHelpItemsAndTheDocumentPrintSettings) {
    test::TempDir dir;
    const std::string settings = (dir / "KolumbraOpt2.Dat").string();
    test::writeBytes(settings, "GPB_CellScale=77\r\n");
    test::SettingsSession s(settings);
    const test::FakeViewer& viewer = s.host.viewer;
    EXPECT_EQ(viewer.titleBase, "Kolumbra Browse");
    EXPECT_EQ(viewer.dataFolder, dir.path().string() + "/");
    EXPECT_EQ(viewer.settings.CellScale, 77);
    ASSERT_EQ(viewer.entries.size(), 7u);
    EXPECT_EQ(viewer.entries[1], std::make_pair(std::string("Mn_Help_Begin"), sj("2. はじめに")));
    EXPECT_EQ(viewer.entries[6].first, "Mn_Help_History");
    // An entry's command shows its document numbered, with the item as sender.
    viewer.commands[2]();
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_EQ(viewer.shown[0].sender, "Mn_Help_Guide1");
    EXPECT_TRUE(viewer.shown[0].numberLines);
    EXPECT_EQ(s.host.documents.back(), "/opt/kolumbra/Doc_Kolumbra_Guide1.Txt");
    viewer.commands[5]();
    EXPECT_EQ(viewer.shown[1].sender, "Mn_Help_ColName");
    // What the viewer's print preview changed is saved at exit.
    s.host.viewer.settings.CellScale = 130;
    ASSERT_TRUE(s.model.FormClose());
    EXPECT_NE(test::readBytes(settings).find("GPB_CellScale=130\r\n"), std::string::npos);
}

} // namespace
} // namespace kol
