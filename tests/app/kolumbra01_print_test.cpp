// The main window's prints: what each entry point hands the preview, and what it puts back.
#include "support/fakes.h"
#include "support/input_fixture.h"
#include "support/test_support.h"
#include "text/cp932.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

using S = TFm_Kolumbra01::Sender;

// A title row and twelve data rows "rNa,rNb,rNc": table row r holds record r - 1.
std::string twelveRows() {
    std::string text = "h1,h2,h3\r\n";
    for (int i = 1; i <= 12; ++i) {
        const std::string n = std::to_string(i);
        text += "r" + n + "a,r" + n + "b,r" + n + "c\r\n";
    }
    return text;
}

struct Print : test::MainFixture {
    test::TempDir dir;
    std::string path;
    Print() {
        path = (dir / "t.csv").string();
        test::writeBytes(path, twelveRows());
        EXPECT_TRUE(model.LoadTable(path, 1));
        EXPECT_EQ(model.Grid.fixedRows(), 2);
        EXPECT_EQ(model.Grid.fixedCols(), 2);
    }
    void select(int l, int t, int r, int b) {
        model.View.setCurrent(l, t);
        model.View.selection = {l, t, r, b};
    }
    const test::PrintedRequest& only() const {
        EXPECT_EQ(host.prints.size(), 1u);
        return host.prints.back();
    }
    static std::string data(const StringGrid& g, int r) {
        std::string out;
        for (int c = g.fixedCols(); c < g.colCount(); ++c)
            out += (c > g.fixedCols() ? "|" : "") + std::string(g.cell(c, r));
        return out;
    }
    std::vector<std::string> rows(const StringGrid& g) const {
        std::vector<std::string> out;
        for (int r = 0; r < g.rowCount(); ++r) out.push_back(data(g, r));
        return out;
    }
    int labelWidth(const StringGrid& g) const {
        return (static_cast<int>(Trim(g.cell(0, g.rowCount() - 1)).size()) + 2) * model.LetterWidth;
    }
};

TEST(MainPrint, RowRangeCopiesTheHeaderRowsAndExactlyThoseRowsInOrder) {
    Print f;
    f.model.Cmb_Fold.ItemIndex = 3;
    f.model.FontPixels = 15;
    f.model.Settings.GridPrint.CellScale = 80;
    f.host.previewing = [](print::PrintRequest& r) { r.settings.CellScale = 120; };
    f.model.PopupKind = Popup::Row;
    f.model.PopupRow = 7;
    f.model.OperationRange = CellRange(2, 9, 4, 5); // dragged upward: rows 5 … 9
    f.model.Pm_RowPrintClick();

    const test::PrintedRequest& p = f.only();
    const StringGrid& g = *p.grid;
    EXPECT_EQ(f.rows(g),
              (std::vector<std::string>{"1|2|3", "h1|h2|h3", "r4a|r4b|r4c", "r5a|r5b|r5c",
                                        "r6a|r6b|r6c", "r7a|r7b|r7c", "r8a|r8b|r8c"}));
    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.fixedCols(), 2);
    EXPECT_EQ(g.cell(0, 2), f.model.Grid.cell(0, 5)); // the labels travel with their rows
    EXPECT_EQ(g.colWidth(0), f.labelWidth(g));
    EXPECT_EQ(g.colWidth(1), 0); // no key column chosen
    EXPECT_EQ(g.colWidth(3), f.model.Grid.colWidth(3));

    const print::PrintRequest& r = p.request;
    EXPECT_EQ(r.mode, print::PrintMode::Table);
    EXPECT_EQ(r.headings, (print::HeadingLines{"File.Name:  " + f.path, "", "", ""}));
    EXPECT_EQ(r.initialRowLimit, 100);
    EXPECT_EQ(r.maxLinesPerCell, 3);
    EXPECT_EQ(r.sourceFont, (print::CanvasFont{std::string(print::kPrintFace), 15}));
    EXPECT_EQ(r.settings.CellScale, 80);
    EXPECT_EQ(f.model.Settings.GridPrint.CellScale, 120); // taken back from the preview
    EXPECT_EQ(f.model.WorkGrid.rowCount(), 1);            // emptied again
}

TEST(MainPrint, RowPopupWithoutARangePrintsThePressedRowAndNeverAFixedOne) {
    Print f;
    f.model.PopupRow = 4;
    f.model.OperationRange = CellRange();
    f.model.Pm_RowPrintClick();
    EXPECT_EQ(f.rows(*f.only().grid),
              (std::vector<std::string>{"1|2|3", "h1|h2|h3", "r3a|r3b|r3c"}));

    f.host.prints.clear();
    f.model.OperationRange = CellRange(2, 1, 4, 2); // the title row is no printed row
    f.model.Pm_RowPrintClick();
    EXPECT_EQ(f.rows(*f.only().grid),
              (std::vector<std::string>{"1|2|3", "h1|h2|h3", "r1a|r1b|r1c"}));
}

TEST(MainPrint, WholeTablePrintsHiddenColumnsAtZeroWidthAndRestoresEveryWidth) {
    Print f;
    f.model.Grid.setColWidth(4, 90);
    f.model.ColInfo[4].Width = 90;
    f.model.SetColumnShown(3, false);
    std::vector<int> before;
    for (int c = 0; c < f.model.Grid.colCount(); ++c) before.push_back(f.model.Grid.colWidth(c));
    bool hiddenWhilePrinting = false;
    f.host.previewing = [&](print::PrintRequest&) { hiddenWhilePrinting = !f.model.GridVisible; };
    f.model.Mn_GridPrintClick();

    const test::PrintedRequest& p = f.only();
    EXPECT_EQ(p.request.source, &f.model.Grid); // the table itself, not a copy
    std::vector<int> printed = p.widths();
    ASSERT_EQ(printed.size(), before.size());
    EXPECT_EQ(printed[0], f.labelWidth(f.model.Grid));
    EXPECT_EQ(printed[1], 0);
    EXPECT_EQ(printed[2], before[2]);
    EXPECT_EQ(printed[3], 0);
    EXPECT_EQ(printed[4], 90);
    EXPECT_TRUE(hiddenWhilePrinting);
    EXPECT_TRUE(f.model.GridVisible);
    for (int c = 0; c < f.model.Grid.colCount(); ++c)
        EXPECT_EQ(f.model.Grid.colWidth(c), before[c]) << c;
}

TEST(MainPrint, AChosenKeyColumnIsPrinted) {
    Print f;
    f.model.Cmb_FixedCol.ItemIndex = 1;
    f.model.Mn_GridPrintClick();
    EXPECT_EQ(f.only().widths()[1], f.model.Grid.colWidth(1));
}

TEST(MainPrint, SelectedCellsGiveTheHeaderLinesAndTheBlock) {
    Print f;
    f.model.SetColumnShown(4, false);
    f.select(3, 4, 4, 6); // columns 2 … 3 of the data, records 3 … 5
    f.model.Pm_RangePrintCellClick();
    const StringGrid& g = *f.only().grid;
    EXPECT_EQ(g.rowCount(), 2 + 3);
    EXPECT_EQ(g.colCount(), 2 + 2);
    EXPECT_EQ(f.rows(g),
              (std::vector<std::string>{"2|3", "h2|h3", "r3b|r3c", "r4b|r4c", "r5b|r5c"}));
    EXPECT_EQ(g.colWidth(2), f.model.Grid.colWidth(3));
    EXPECT_EQ(g.colWidth(3), 0); // found hidden by its column number
    EXPECT_EQ(f.model.OperationRange, CellRange(3, 4, 4, 6));
    EXPECT_EQ(f.model.PopupCol, 3);
    EXPECT_EQ(f.model.PopupRow, 4);
}

TEST(MainPrint, ColumnsOfTheSelectionWithEveryRow) {
    Print f;
    f.select(4, 5, 4, 5);
    f.model.Pm_RangePrintColClick();
    const StringGrid& g = *f.only().grid;
    EXPECT_EQ(g.colCount(), 3);
    ASSERT_EQ(g.rowCount(), f.model.Grid.rowCount());
    EXPECT_EQ(Print::data(g, 0), "3");
    EXPECT_EQ(Print::data(g, 13), "r12c");
    EXPECT_EQ(f.model.PopupKind, Popup::Cell); // the column popup's kind only while it ran

    f.host.prints.clear();
    f.select(2, 3, 2, 4);
    f.model.Pm_RangePrintRowClick();
    EXPECT_EQ(f.rows(*f.only().grid),
              (std::vector<std::string>{"1|2|3", "h1|h2|h3", "r2a|r2b|r2c", "r3a|r3b|r3c"}));
}

TEST(MainPrint, MarkedDataIsTheIntersectionWithTheHeaderRows) {
    Print f;
    f.model.Mn_MarkPrintClick();
    EXPECT_EQ(f.prompts.last(), sj("現在、マーキングされたデータはありません。"));
    EXPECT_TRUE(f.host.prints.empty());

    f.model.ColInfo[3].Marked = 1;
    f.model.Mn_MarkPrintClick(); // only columns: every row
    const StringGrid& cols = *f.host.prints.back().grid;
    EXPECT_EQ(cols.colCount(), 3);
    EXPECT_EQ(cols.rowCount(), f.model.Grid.rowCount());
    EXPECT_EQ(Print::data(cols, 13), "r12b");

    f.model.RowFlags[6].Mark = f.model.RowFlags[9].Mark = 1;
    f.model.Mn_MarkPrintClick(); // both
    EXPECT_EQ(f.rows(*f.host.prints.back().grid),
              (std::vector<std::string>{"2", "h2", "r5b", "r8b"}));

    f.model.ColInfo[3].Marked = 0;
    f.model.SetColumnShown(4, false);
    f.model.Mn_MarkPrintClick(); // only rows: every column, the hidden one at no width
    const test::PrintedRequest& rows = f.host.prints.back();
    EXPECT_EQ(f.rows(*rows.grid),
              (std::vector<std::string>{"1|2|3", "h1|h2|h3", "r5a|r5b|r5c", "r8a|r8b|r8c"}));
    EXPECT_EQ(rows.widths()[4], 0);
    EXPECT_EQ(rows.request.initialRowLimit, 100);
    EXPECT_EQ(f.host.prints.size(), 3u);
    EXPECT_TRUE(f.prompts.dialogs.empty()); // a print asks for no file
    EXPECT_EQ(f.model.WorkGrid.rowCount(), 1);
}

TEST(MainPrint, MenuAndPopupItemsAreOfferedAndEachPrints) {
    test::InputFixture f;
    f.loadText(twelveRows());
    EXPECT_TRUE(f.model.Mn_GridPrint.Enabled && f.model.Mn_MarkPrint.Enabled);
    f.model.RowFlags[3].Mark = 1;
    f.v.selection = {2, 3, 3, 4};
    f.model.PopupRow = f.model.PopupCol = 3;
    f.input.updatePopups();
    GridInput& in = f.input;
    for (MenuItem* item :
         {&in.Pm_RowPrint, &in.Pm_ColPrint, &in.Pm_RangePrintCell, &in.Pm_RangePrintRow,
          &in.Pm_RangePrintCol, &in.Pm_RowMarkPrint, &in.Pm_ColMarkPrint}) {
        EXPECT_TRUE(item->Enabled) << item->Caption;
        EXPECT_TRUE(in.runItem(*item)) << item->Caption;
    }
    EXPECT_TRUE(in.Pm_RangePrint.Enabled);
    EXPECT_EQ(f.host.prints.size(), 7u);
}

} // namespace
} // namespace kol
