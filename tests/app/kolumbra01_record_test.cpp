// The record editor inside the main window model: opening it, the caption and the undo menu,
// and what closing the program, saving or loading do while it holds an edit.
#include "support/fakes.h"
#include "support/input_fixture.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

struct MemoBox : MemoView {
    std::string memo;
    Rect cellRect(int c, int r) override { return {c * 100, r * 20, 100, 20}; }
    int gridHeight() override { return 400; }
    void scrollToCell(int, int) override {}
    void showMemo(const std::string& text, const Rect&) override { memo = text; }
    void typeInMemo(const std::string& text) override { memo += text; }
    void hideMemo() override {}
    std::string memoText() override { return memo; }
};

struct RecordFixture : test::InputFixture {
    MemoBox box;
    RecordEditor& ed = *model.Record;
    std::string path = (dir / "t.csv").string();
    RecordFixture() {
        ed.setMemoView(&box);
        loadText("id,name,town\r\n1,aa,x\r\n2,bb,y\r\n");
    }
    // Opens the memo on the current line and leaves `text` in it, still open.
    void typeOver(const std::string& text) {
        ASSERT_TRUE(ed.VertGridKeyDown(RecordEditor::Key::Enter));
        box.memo = text;
    }
};

TEST(MainRecord, OpensFromTheButtonAndThePopupWithItsCaption) {
    RecordFixture f;
    EXPECT_TRUE(f.model.Btn_VertGrid.Enabled);
    f.v.setCurrent(3, 3); // column 1 is the key column's place
    f.model.Btn_VertGridClick();
    ASSERT_TRUE(f.ed.shown());
    EXPECT_EQ(f.model.Caption, sj("Kolumbra 単行編集   [ ") + f.path + " ]");
    EXPECT_EQ(f.ed.ShownRow, 3);
    EXPECT_EQ(std::string(f.ed.VertGrid.cell(2, f.ed.VertView.row)), "bb");
    EXPECT_EQ(f.ed.VertGrid.cell(1, 1), "id");
    f.ed.Btn_VertGridEndClick();
    EXPECT_EQ(f.model.Caption, "Kolumbra Ver 4.00  [ " + f.path + " ]");

    f.input.updatePopups();
    ASSERT_TRUE(f.input.Pm_DispVertGrid.Enabled);
    f.model.runCommand(GridCommand::DispVertGrid);
    EXPECT_TRUE(f.ed.shown());
}

TEST(MainRecord, PrintsTheShownRecordThroughTheTablePrint) {
    RecordFixture f;
    f.v.setCurrent(3, 3);
    f.model.Btn_VertGridClick();
    ASSERT_TRUE(f.ed.Mn2_Printx.Enabled);
    f.ed.Mn2_PrintxClick();
    ASSERT_EQ(f.host.prints.size(), 1u);
    const print::PrintRequest& r = f.host.prints[0].request;
    EXPECT_EQ(r.initialRowLimit, 300);
    EXPECT_EQ(r.headings[0], "File.Name:  " + f.path);
    EXPECT_EQ(r.headings[1], sj("  行No.  :  3"));
    const StringGrid& printed = *f.host.prints[0].grid;
    EXPECT_EQ(printed.rowCount(), f.ed.VertGrid.rowCount()) << "one line per column";
    EXPECT_TRUE(f.ed.shown()) << "the editor stays open";
}

TEST(MainRecord, EditorUndoGoesToItsOwnMenuItem) {
    RecordFixture f;
    EXPECT_EQ(f.model.Mn2_Undo.Caption, sj("元に戻す"));
    f.v.setCurrent(2, 2);
    f.model.Btn_VertGridClick();
    f.typeOver("one");
    f.ed.mmMemoKeyDown(RecordEditor::Key::Enter);
    EXPECT_TRUE(f.model.Mn2_Undo.Enabled);
    EXPECT_FALSE(f.model.Mn_Undo.Enabled);
    EXPECT_EQ(f.model.Mn2_Undo.Caption, sj("元に戻す  #1  【1】"));
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.ed.VertGrid.cell(2, 1), "1");
    EXPECT_TRUE(f.ed.UndoHighlight.valid());
    // Every update writes the plain caption back, never the design-time one.
    EXPECT_EQ(f.model.Mn2_Undo.Caption, sj("元に戻す"));
    EXPECT_FALSE(f.model.Mn2_Undo.Enabled);
    f.typeOver("two");
    f.ed.mmMemoKeyDown(RecordEditor::Key::Enter);
    f.ed.Btn_VertRowNoNextClick();
    EXPECT_FALSE(f.model.Mn2_Undo.Enabled);
    EXPECT_EQ(f.model.Mn2_Undo.Caption, sj("元に戻す"));
    EXPECT_EQ(f.g.cell(2, 2), "two");
    EXPECT_EQ(f.model.Modified, 1);
}

TEST(MainRecord, ClosingTheProgramKeepsAnOpenEdit) {
    RecordFixture f;
    f.v.setCurrent(3, 2);
    f.model.Btn_VertGridClick();
    f.typeOver("unsaved");
    // The first request only closes the editor; its memo and record reach the table.
    EXPECT_FALSE(f.model.FormClose());
    EXPECT_FALSE(f.ed.shown());
    EXPECT_EQ(f.g.cell(3, 2), "unsaved");
    EXPECT_TRUE(f.prompts.messages.empty());
    f.prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(f.model.FormClose());
    EXPECT_EQ(f.prompts.last(), sj("内容が変更されています。\r\n\r\n保存しますか？"));
    EXPECT_EQ(f.g.cell(3, 2), "unsaved");
    EXPECT_EQ(f.model.Modified, 1);
}

TEST(MainRecord, SavingFromTheQuestionTakesTheEditorsRecord) {
    RecordFixture f;
    test::writeBytes(f.dir / "other.csv", "p,q\r\n7,8\r\n");
    f.v.setCurrent(2, 2);
    f.model.Btn_VertGridClick();
    f.typeOver("held");
    f.ed.mmMemoKeyDown(RecordEditor::Key::Enter); // in the editor, not yet in the table
    const std::string out = (f.dir / "saved.csv").string();
    f.prompts.answers = {Answer::Yes};
    f.prompts.fileNames = {out};
    f.model.OpenArgument((f.dir / "other.csv").string());
    EXPECT_NE(test::readBytes(out).find("held,aa,x"), std::string::npos);
    // The new table: the editor closed before it came and wrote nothing into it.
    EXPECT_FALSE(f.ed.shown());
    EXPECT_EQ(f.g.cell(2, 2), "7");
    EXPECT_EQ(f.g.cell(3, 2), "8");
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_TRUE(f.model.historySize() == 0);
}

TEST(MainRecord, ClearingTheTableClosesTheEditorFirst) {
    RecordFixture f;
    f.v.setCurrent(1, 3);
    f.model.Btn_VertGridClick();
    f.typeOver("gone");
    f.prompts.answers = {Answer::Yes};
    f.model.Mn_InitClearClick();
    EXPECT_FALSE(f.ed.shown());
    EXPECT_EQ(f.g.rowCount(), 2);
    EXPECT_EQ(f.g.cell(1, 1), "");
    EXPECT_EQ(f.model.Caption.find(sj("単行編集")), std::string::npos);
}

TEST(MainRecord, NameWidthIsASetting) {
    test::TempDir dir;
    const std::string settings = (dir / "kolumbra.ini").string();
    test::writeBytes(settings, "Cmb_VertKomKeta=31\r\n");
    {
        test::SettingsSession s(settings);
        EXPECT_EQ(s.model.Record->nameColumnLetters(), 31);
        s.model.Record->Cmb_VertKomKeta.ItemIndex = 5;
        s.model.Record->Cmb_VertKomKetaClick();
        EXPECT_TRUE(s.model.FormClose());
    }
    EXPECT_NE(test::readBytes(settings).find("Cmb_VertKomKeta=5\r\n"), std::string::npos);
}

} // namespace
} // namespace kol
