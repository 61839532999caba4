// The Excel command: the open dialog, the chooser, and the sheet loaded as the table with the
// comma separator, the clipboard untouched.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "workbook/xls_reader.h"
#include "workbook/xlsx_builder.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using test::MainFixture;
using test::Message;

std::string u(const std::string& cp932Text) {
    return cp932::toUtf8(cp932Text);
}

std::string cell(TFm_Kolumbra01& m, int c, int r) {
    return u(std::string(m.Grid.cell(c, r)));
}

// A workbook of three sheets with Japanese names; the second holds a small table.
std::filesystem::path threeSheets(const test::TempDir& dir) {
    const std::string data =
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>3</v></c><c r=\"B2\" s=\"1\"><v>44197</v></c>"
        "<c r=\"C2\" s=\"2\"><v>1234</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>say \"hi\"</t></is></c>"
        "<c r=\"C3\"><v>0.5</v></c></row>";
    auto parts = test::xlsxParts(
        {{"売上", "<row><c><v>1</v></c></row>", ""}, {"顧客一覧", data, ""}, {"メモ", "", ""}},
        {"氏名", "日付", "金額", "山田 太郎"}, "",
        "<xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"3\"/>");
    std::filesystem::path p = dir / "book.xlsx";
    EXPECT_TRUE(test::writeZip(p.string(), parts));
    return p;
}

TEST(ExcelImport, TheOpenDialogOffersXlsAndXlsx) {
    MainFixture s;
    s.model.Settings.Path_ExcelFile = "/data/books/old.xls";
    s.model.Btn_ExcelClick();
    ASSERT_EQ(s.prompts.dialogs.size(), 1u);
    const FileDialogRequest& r = s.prompts.dialogs[0];
    EXPECT_EQ(u(r.title), "読み込む Excel ファイルを選択して下さい。");
    EXPECT_NE(r.filter.find("*.xlsx"), std::string::npos);
    EXPECT_NE(r.filter.find("(*.xls)|*.xls"), std::string::npos);
    EXPECT_EQ(r.fileName, "/data/books/*.xls");
    EXPECT_TRUE(r.mustExist);
    EXPECT_EQ(s.host.csvExcelRuns, 0); // cancelled: nothing opened
    EXPECT_TRUE(s.model.Btn_Excel.Enabled);
    EXPECT_TRUE(s.model.Mn_ExcelOpen.Enabled);
    EXPECT_FALSE(s.model.Mn_ExcelOpen.Visible);
}

TEST(ExcelImport, ASaveThatDidNotHappenKeepsTheChanges) {
    MainFixture s;
    s.model.Modified = 1;
    s.prompts.answers = {Answer::Yes}; // save the changes? Yes, then the save dialog is cancelled
    s.model.Btn_ExcelClick();
    EXPECT_EQ(s.prompts.dialogs.size(), 1u); // only the save dialog: no workbook is asked for
    EXPECT_EQ(s.model.Modified, 1);
    EXPECT_EQ(s.host.csvExcelRuns, 0);
}

TEST(ExcelImport, TheChooserListsTheSheetsAndLoadsTheChosenOne) {
    test::TempDir dir;
    const std::filesystem::path book = threeSheets(dir);
    MainFixture s;
    s.clipboard.content = "kept";
    // The separator combo shows TAB; the comma lines are still split at commas.
    s.model.Cmb_Bunri.ItemIndex = 2;
    s.model.Cmb_BunriClick();
    std::vector<std::string> items;
    std::string shownName;
    s.host.csvExcel = [&](TfrmCsvExcel& w) {
        for (const std::string& item : w.lstSheet.Items) items.push_back(u(item));
        shownName = u(w.edtSheetName.Text);
        EXPECT_TRUE(w.btnOK.Enabled);
        EXPECT_EQ(u(w.Caption), "Kolumbra  Excel ファイルの読み込み");
        EXPECT_TRUE(w.edtSheetName.ReadOnly);
        w.lstSheet.ItemIndex = 1;
        w.lstSheetClick();
        EXPECT_EQ(u(w.edtSheetName.Text), "顧客一覧");
        w.btnOKClick();
    };
    s.prompts.fileNames = {book.string()};
    s.model.Btn_ExcelClick();

    EXPECT_EQ(items, (std::vector<std::string>{"  1. 売上", "  2. 顧客一覧", "  3. メモ"}));
    EXPECT_EQ(shownName, "売上");
    EXPECT_TRUE(s.prompts.messages.empty());
    EXPECT_EQ(s.clipboard.content, "kept");
    EXPECT_EQ(s.model.CurrentSeparator, '\t');
    EXPECT_EQ(s.model.Modified, 0);
    EXPECT_EQ(s.model.CsvFileInf.FileName, book.string());
    EXPECT_EQ(s.model.Settings.Path_ExcelFile, book.string());
    // Three sheet columns and the empty field after the last comma.
    EXPECT_EQ(s.model.Grid.colCount() - s.model.Grid.fixedCols(), 4);
    EXPECT_EQ(s.model.Grid.rowCount(), 4);
    EXPECT_EQ(cell(s.model, 2, 1), "氏名");
    EXPECT_EQ(cell(s.model, 3, 2), "2021/1/1");
    EXPECT_EQ(cell(s.model, 4, 2), "1,234");  // one cell, though it holds a comma
    EXPECT_EQ(cell(s.model, 2, 3), "say hi"); // the quotes are gone
    EXPECT_EQ(cell(s.model, 3, 3), "");
    EXPECT_EQ(cell(s.model, 4, 3), "0.5");
    EXPECT_EQ(cell(s.model, 5, 1), "");
}

TEST(ExcelImport, SavingNeverOverwritesTheWorkbook) {
    test::TempDir dir;
    const std::filesystem::path book = threeSheets(dir);
    const std::string before = test::readBytes(book);
    MainFixture s;
    s.host.csvExcel = [](TfrmCsvExcel& w) { w.btnOKClick(); };
    s.model.ExcelImport(book.string());
    s.model.Modified = 1;
    // The save button asks no "save under this name" question: the dialog proposes a .csv.
    s.prompts.fileNames = {(dir / "book.csv").string()};
    s.model.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    ASSERT_EQ(s.prompts.dialogs.size(), 1u);
    EXPECT_EQ(s.prompts.dialogs[0].fileName, (dir / "book.csv").string());
    EXPECT_TRUE(s.prompts.messages.empty());
    EXPECT_EQ(test::readBytes(book), before);
    EXPECT_EQ(test::readBytes(dir / "book.csv"), "1,\r\n");
    EXPECT_EQ(s.model.CsvFileInf.FileName, (dir / "book.csv").string());
}

TEST(ExcelImport, CancellingTheChooserKeepsTheTable) {
    test::TempDir dir;
    const std::filesystem::path book = threeSheets(dir);
    MainFixture s;
    s.model.Grid.setCell(2, 1, "old");
    s.model.Modified = 1;
    s.host.csvExcel = [](TfrmCsvExcel& w) { w.mnCloseClick(); };
    s.prompts.answers = {Answer::No}; // do not save the changes first
    s.prompts.fileNames = {book.string()};
    s.model.Btn_ExcelClick();
    EXPECT_EQ(s.host.csvExcelRuns, 1);
    EXPECT_EQ(s.model.Grid.cell(2, 1), "old");
    EXPECT_EQ(s.model.Modified, 1);
    ASSERT_EQ(s.prompts.messages.size(), 1u); // only the save question
    EXPECT_EQ(s.prompts.messages[0].kind, Message::Ask);
}

TEST(ExcelImport, AWorkbookThatCannotBeReadGetsTheMessage) {
    test::TempDir dir;
    test::writeBytes(dir / "page.xls", "<html><body>not a workbook</body></html>");
    MainFixture s;
    s.model.Grid.setCell(2, 1, "old");
    s.model.ExcelImport((dir / "page.xls").string());
    EXPECT_EQ(s.host.csvExcelRuns, 0);
    ASSERT_EQ(s.prompts.messages.size(), 1u);
    EXPECT_EQ(s.prompts.messages[0].kind, Message::Fail);
    EXPECT_EQ(u(s.prompts.last()),
              "このファイルは Excel で開けません。\r\n\r\n  PTAH = " + (dir / "page.xls").string());
    EXPECT_EQ(s.model.Grid.cell(2, 1), "old");

    // A sheet found damaged only when it is read: the same message, the table kept.
    auto parts = test::xlsxParts({{"S", "<row><c><v>1</v></row>", ""}});
    ASSERT_TRUE(test::writeZip((dir / "bad.xlsx").string(), parts));
    s.host.csvExcel = [](TfrmCsvExcel& w) { w.btnOKClick(); };
    s.model.ExcelImport((dir / "bad.xlsx").string());
    EXPECT_EQ(s.prompts.messages.size(), 2u);
    EXPECT_EQ(u(s.prompts.last()),
              "このファイルは Excel で開けません。\r\n\r\n  PTAH = " + (dir / "bad.xlsx").string());
    EXPECT_EQ(s.model.Grid.cell(2, 1), "old");
}

TEST(ExcelImport, AMissingXlsReaderIsNamed) {
    workbook::setXlsLibraryName("libkolumbra-no-such-reader.so.0");
    MainFixture s;
    s.model.ExcelImport(test::dataFile("excel/issues.xls").string());
    workbook::setXlsLibraryName("libfreexl.so.1");
    EXPECT_EQ(s.host.csvExcelRuns, 0);
    EXPECT_EQ(u(s.prompts.last()), "このマシンには Excel がインストールされていないので\r\nExcel "
                                   "ファイルのアクセスはできません。");
}

TEST(ExcelImport, AnEmptyWorkbookOffersNothingToChoose) {
    test::TempDir dir;
    ASSERT_TRUE(test::writeZip((dir / "none.xlsx").string(), test::xlsxParts({})));
    MainFixture s;
    bool okEnabled = true;
    s.host.csvExcel = [&](TfrmCsvExcel& w) {
        okEnabled = w.btnOK.Enabled;
        w.btnOKClick(); // nothing selected: nothing happens
        w.mnCloseClick();
    };
    s.model.ExcelImport((dir / "none.xlsx").string());
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(s.prompts.messages.empty());
}

} // namespace
} // namespace kol
