// Structure edits of the main window model and their undo.
#include "support/fakes.h"
#include "support/test_support.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <random>

namespace kol {
namespace {

using S = TFm_Kolumbra01::Sender;

struct Edit : test::MainFixture {
    test::TempDir dir;
    explicit Edit(int rows = 6, int cols = 3) {
        std::string text = "h1";
        for (int c = 2; c <= cols; ++c) text += ",h" + std::to_string(c);
        text += "\r\n";
        for (int r = 1; r <= rows; ++r) {
            text += "r" + std::to_string(r) + "c1";
            for (int c = 2; c <= cols; ++c)
                text += ",r" + std::to_string(r) + "c" + std::to_string(c);
            text += "\r\n";
        }
        std::string path = (dir / "t.csv").string();
        test::writeBytes(path, text);
        EXPECT_TRUE(model.LoadTable(path, 1));
    }
    // The first data column, top to bottom, from the first data row.
    std::string column(int c = 2) const {
        std::string out;
        for (int r = model.Grid.fixedRows(); r < model.Grid.rowCount(); ++r)
            out += std::string(model.Grid.cell(c, r)) + " ";
        return out;
    }
    std::string header() const {
        std::string out;
        for (int c = 2; c < model.Grid.colCount(); ++c)
            out += std::string(model.Grid.cell(c, 1)) + " ";
        return out;
    }
    void rows(int top, int bottom, int popup) {
        model.OperationRange = CellRange(2, top, model.Grid.colCount() - 1, bottom);
        model.PopupRow = popup;
        model.PopupKind = Popup::Row;
    }
    void cols(int left, int right, int popup) {
        model.OperationRange = CellRange(left, 2, right, model.Grid.rowCount() - 1);
        model.PopupCol = popup;
        model.PopupKind = Popup::Column;
    }
};

TEST(RowEdits, InsertAndCopyLandBeforeTheTargetOrTheRange) {
    Edit f;
    f.rows(3, 4, 4); // target inside the range: insert before its first row
    f.prompts.answers = {Answer::Yes};
    f.model.Pm_RowInsertClick();
    EXPECT_EQ(f.column(), "r1c1   r2c1 r3c1 r4c1 r5c1 r6c1 ");
    EXPECT_EQ(f.model.View.selection, (GridRect{2, 3, 4, 4}));
    EXPECT_EQ(f.model.Grid.cell(0, 5), "4"); // labels count the new rows
    EXPECT_EQ(f.model.Modified, 1);

    Edit g;
    g.rows(2, 3, 6); // copy rows 2..3 before row 6
    g.prompts.answers = {Answer::Yes};
    g.model.RowFlags[2].Mark = 1;
    g.model.Pm_RowCopyClick();
    EXPECT_EQ(g.column(), "r1c1 r2c1 r3c1 r4c1 r1c1 r2c1 r5c1 r6c1 ");
    EXPECT_EQ(g.model.RowFlags[6].Mark, 1); // marks travel with the copies
    EXPECT_EQ(g.prompts.messages.size(), 1u);
    EXPECT_NE(g.prompts.messages[0].text.find(sj("   行番号 ： 1 ～ 2    →   5")),
              std::string::npos);
}

TEST(RowEdits, SingleRowsAskOnlyToDelete) {
    Edit f;
    f.model.PopupRow = 3;
    f.model.Pm_RowInsertClick();
    f.model.Pm_RowCopyClick();
    EXPECT_TRUE(f.prompts.messages.empty());
    f.model.PopupRow = 3;
    f.model.OperationRange = CellRange();
    f.model.Pm_RowDeleteClick(); // answered No
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text,
              sj("【 削除 】\r\n\r\n    この行を削除します。\r\n\r\n    行番号 = 2"));
    EXPECT_EQ(f.model.Grid.rowCount(), 10);
    EXPECT_TRUE(f.model.ConfirmHighlight == GridRect());
    f.model.Mn_ConfDelete.Checked = false;
    f.model.Pm_RowDeleteClick();
    EXPECT_EQ(f.model.Grid.rowCount(), 9);
}

TEST(RowEdits, TheLastRowsCannotAllGo) {
    Edit f(1);
    f.rows(1, 2, 1);
    f.model.Grid.setFixedRows(1);
    f.model.Pm_RowDeleteClick();
    EXPECT_EQ(f.prompts.last(), sj("すべての行を削除することはできません。"));
    EXPECT_EQ(f.model.Grid.rowCount(), 3);
    EXPECT_EQ(f.model.historySize(), 0u);
}

TEST(RowEdits, ClippedMovesLandBeforeTheTargetAndTheClipFollows) {
    for (int target : {2, 7}) {
        Edit f;
        f.model.ClipRange = {2, 4, 4, 5}; // r3, r4
        f.model.ClipKind = ClipContent::Rows;
        f.model.PopupRow = target;
        f.prompts.answers = {Answer::Yes};
        f.model.Pm_RowClipMoveClick();
        EXPECT_EQ(f.column(),
                  target == 2 ? "r3c1 r4c1 r1c1 r2c1 r5c1 r6c1 " : "r1c1 r2c1 r5c1 r3c1 r4c1 r6c1 ")
            << target;
        const GridRect& clip = f.model.ClipRange;
        EXPECT_EQ(f.model.Grid.cell(2, clip.top), "r3c1");
        EXPECT_EQ(f.model.Grid.cell(2, clip.bottom), "r4c1");
        EXPECT_EQ(f.model.historySize(), 2u);
        f.model.Mn_UndoClick(); // one command takes back both halves
        EXPECT_EQ(f.column(), "r1c1 r2c1 r3c1 r4c1 r5c1 r6c1 ");
        EXPECT_FALSE(f.model.ClipRange.valid());
        EXPECT_EQ(f.model.historySize(), 0u);
    }
}

TEST(RowEdits, AMoveOntoItsOwnRowsChangesNothing) {
    Edit f;
    f.model.ClipRange = {2, 3, 4, 5};
    f.model.PopupRow = 4;
    f.model.Pm_RowClipMoveClick();
    EXPECT_EQ(f.column(), "r1c1 r2c1 r3c1 r4c1 r5c1 r6c1 ");
    EXPECT_EQ(f.model.ClipRange, (GridRect{2, 3, 4, 5}));
    EXPECT_EQ(f.model.historySize(), 0u);
}

TEST(ColumnEdits, CopyCarriesMarksVisibilityAndWidths) {
    Edit f;
    f.model.ColInfo[2].Marked = 1;
    f.model.ColInfo[2].Width = 77;
    f.model.SetColumnShown(2, false);
    EXPECT_EQ(f.model.Grid.colWidth(2), f.model.LetterWidth);
    f.cols(2, 2, 4);
    f.model.Pm_ColCopyClick();
    EXPECT_EQ(f.header(), "h1 h2 h1 h3 ");
    EXPECT_EQ(f.model.ColInfo[4].Marked, 1);
    EXPECT_EQ(f.model.ColInfo[4].Shown, 0);
    EXPECT_EQ(f.model.Grid.cell(4, 0), "3");
    EXPECT_EQ(f.model.Cmb_FixedCol.Items.size(), 5u);
    f.model.SetColumnShown(4, true);
    EXPECT_EQ(f.model.Grid.colWidth(4), 77);
}

TEST(ColumnEdits, DeleteRefusesTheLastColumnAndInsertWidens) {
    Edit f(2, 1);
    f.cols(2, 2, 2);
    f.model.Pm_ColDeleteClick();
    EXPECT_EQ(f.prompts.last(), sj("すべての列を削除することはできません。"));
    f.model.Pm_ColInsertClick();
    EXPECT_EQ(f.model.Grid.colCount(), 4);
    EXPECT_EQ(f.header(), " h1 ");
    EXPECT_EQ(f.model.ColInfo[2].Width, f.model.Grid.colWidth(2));
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.header(), "h1 ");
}

TEST(ColumnEdits, HideAndShowARange) {
    Edit f;
    const int w2 = f.model.Grid.colWidth(2), w3 = f.model.Grid.colWidth(3);
    f.cols(2, 3, 2);
    f.model.Pm_ColViewONClick(S::ColViewON);
    EXPECT_EQ(f.model.Grid.colWidth(3), f.model.LetterWidth);
    f.cols(2, 3, 2);
    f.model.Pm_ColViewONClick(S::ColViewOFF);
    EXPECT_EQ(f.model.Grid.colWidth(2), w2);
    EXPECT_EQ(f.model.Grid.colWidth(3), w3);
    EXPECT_EQ(f.model.historySize(), 0u);
}

TEST(Import, ClipboardTabsAndWiderLines) {
    Edit f(2, 2);
    f.clipboard.content = "a\tb\r\nc\td\te\tf\r\n";
    f.model.PopupRow = 2;
    f.prompts.answers = {Answer::Yes, Answer::Yes};
    f.model.Pm_RowInsertFileClick(S::RowInsertBoard);
    EXPECT_EQ(f.model.CurrentSeparator, ',');
    EXPECT_EQ(f.model.Grid.colCount() - 2, 4);
    EXPECT_EQ(f.model.Grid.cell(5, 3), "f");
    EXPECT_EQ(f.column(), "a c r1c1 r2c1 ");
    f.model.Mn_UndoClick(); // the appended columns and the rows in one command
    EXPECT_EQ(f.model.Grid.colCount() - 2, 2);
    EXPECT_EQ(f.column(), "r1c1 r2c1 ");

    f.prompts.answers = {Answer::Yes, Answer::No};
    f.model.PopupRow = 2;
    f.model.Pm_RowInsertFileClick(S::RowInsertBoard);
    EXPECT_EQ(f.model.Grid.colCount() - 2, 2);
    EXPECT_EQ(f.model.Grid.cell(3, 3), "d"); // the rest of the line is dropped

    f.clipboard.content.clear();
    f.model.Pm_RowInsertFileClick(S::RowInsertBoard);
    EXPECT_EQ(f.prompts.last(), sj("挿入できるデータはありません。"));
}

TEST(Import, FromAFileRemembersThePath) {
    Edit f(2, 2);
    test::writeBytes(f.dir / "more.csv", "x,y\r\n");
    f.prompts.fileNames = {(f.dir / "more.csv").string()};
    f.prompts.answers = {Answer::Yes};
    f.model.PopupRow = 3;
    f.model.Pm_RowInsertFileClick(S::RowInsertFile);
    EXPECT_EQ(f.column(), "r1c1 x r2c1 ");
    EXPECT_EQ(f.model.Settings.Path_SelectFile, (f.dir / "more.csv").string());
    EXPECT_EQ(f.prompts.dialogs[0].fileName, "/opt/kolumbra/*.csv");
}

TEST(Undo, CaptionsLimitAndModifiedFlag) {
    Edit f;
    f.model.Modified = 0;
    EXPECT_FALSE(f.model.Mn_Undo.Enabled);
    f.model.PopupRow = 3;
    f.model.OperationRange = CellRange();
    f.model.Mn_ConfDelete.Checked = false;
    f.model.Pm_RowDeleteClick();
    EXPECT_EQ(f.model.Mn_Undo.Caption, sj("元に戻す  #1  【行削除】"));
    EXPECT_TRUE(f.model.Mn_Undo.Enabled);
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.model.Modified, 0);
    EXPECT_FALSE(f.model.Mn_Undo.Enabled);
    EXPECT_EQ(f.model.Mn_Undo.Caption, sj("元に戻す"));
    EXPECT_EQ(f.model.UndoHighlight, (GridRect{2, 3, 4, 3}));

    for (int i = 0; i < 65; ++i) {
        f.model.PopupRow = 2;
        f.model.OperationRange = CellRange();
        f.model.Pm_RowInsertClick();
    }
    EXPECT_EQ(f.model.historySize(), 64u);
    EXPECT_EQ(f.model.Mn_Undo.Caption, sj("元に戻す  #64  【行挿入】"));
    for (int i = 0; i < 64; ++i) f.model.Mn_UndoClick();
    EXPECT_EQ(f.model.historySize(), 0u);
    EXPECT_EQ(f.model.Grid.rowCount(), 9); // the first insert is no longer undoable
}

TEST(Undo, DragsGoBack) {
    Edit f;
    f.model.Grid.moveRow(3, 6);
    f.model.GridRowMoved(3, 6);
    EXPECT_EQ(f.model.Mn_Undo.Caption, sj("元に戻す  #1  【行移動】"));
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.column(), "r1c1 r2c1 r3c1 r4c1 r5c1 r6c1 ");
    for (int r = 2; r < f.model.Grid.rowCount(); ++r)
        EXPECT_EQ(f.model.Grid.cell(0, r), std::to_string(r - 1));
    f.model.Grid.moveCol(2, 4);
    f.model.GridColumnMoved(2, 4);
    f.model.Mn_UndoClick();
    EXPECT_EQ(f.header(), "h1 h2 h3 ");
}

// Every edit and its undo give back the table exactly, marks and widths included.
struct Snapshot {
    std::vector<std::string> cells;
    std::vector<int> widths, heights, colFlags;
    std::vector<int> marks;
    bool operator==(const Snapshot&) const = default;
};

std::string describe(const Snapshot& a, const Snapshot& b) {
    std::string out;
    if (a.cells != b.cells) {
        out += "cells:";
        for (std::size_t i = 0; i < std::min(a.cells.size(), b.cells.size()); ++i)
            if (a.cells[i] != b.cells[i]) {
                out += " at " + std::to_string(i) + " '" + a.cells[i] + "' vs '" + b.cells[i] + "'";
                break;
            }
        out += " sizes " + std::to_string(a.cells.size()) + "/" + std::to_string(b.cells.size());
    }
    out += " shape " + std::to_string(a.heights.size()) + "x" + std::to_string(a.widths.size()) +
           " vs " + std::to_string(b.heights.size()) + "x" + std::to_string(b.widths.size());
    if (a.widths != b.widths) out += " widths";
    if (a.heights != b.heights) out += " heights";
    if (a.colFlags != b.colFlags) out += " colinfo";
    if (a.marks != b.marks) out += " marks";
    return out;
}

Snapshot snap(const TFm_Kolumbra01& m) {
    Snapshot s;
    for (int r = 0; r < m.Grid.rowCount(); ++r) {
        for (int c = 0; c < m.Grid.colCount(); ++c) s.cells.emplace_back(m.Grid.cell(c, r));
        s.cells.emplace_back("|");
        s.heights.push_back(m.Grid.rowHeight(r));
        s.marks.push_back(m.RowFlags[r].Mark);
    }
    for (int c = 0; c < m.Grid.colCount(); ++c) {
        s.widths.push_back(m.Grid.colWidth(c));
        s.colFlags.push_back(m.ColInfo[c].Shown * 2 + m.ColInfo[c].Marked);
        s.colFlags.push_back(m.ColInfo[c].Width);
    }
    return s;
}

TEST(UndoRandomized, LongRandomEditSequencesUndoExactly) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 12; ++round) {
        Edit f(8, 4);
        TFm_Kolumbra01& m = f.model;
        m.Mn_ConfDelete.Checked = m.Mn_ConfInsert.Checked = m.Mn_ConfCopy.Checked =
            m.Mn_ConfMove.Checked = false;
        for (int r = 2; r < m.Grid.rowCount(); r += 3) m.RowFlags[r].Mark = 1;
        m.ColInfo[3].Marked = 1;
        std::vector<Snapshot> history{snap(m)};
        std::vector<int> kinds{-1};
        // Up to 62 entries, so that everything stays undoable (a clipped move records two).
        for (int step = 0; step < 200 && m.historySize() < 62; ++step) {
            auto pick = [&](int lo, int hi) {
                return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(rng);
            };
            const int fr = m.Grid.fixedRows(), lastRow = m.Grid.rowCount() - 1,
                      lastCol = m.Grid.colCount() - 1;
            const std::size_t before = m.historySize();
            int a = pick(fr, lastRow), b = pick(a, std::min(lastRow, a + 2)), t = pick(fr, lastRow);
            int ca = pick(2, lastCol), cb = pick(ca, std::min(lastCol, ca + 1)),
                ct = pick(2, lastCol);
            const int kind = pick(0, 9);
            switch (kind) {
            case 0:
                f.rows(a, b, t), m.Pm_RowInsertClick();
                break;
            case 1:
                f.rows(a, b, t), m.Pm_RowCopyClick();
                break;
            case 2:
                f.rows(a, b, t), m.Pm_RowDeleteClick();
                break;
            case 3:
                m.ClipRange = {2, a, lastCol, b}, m.ClipKind = ClipContent::Rows, m.PopupRow = t,
                m.Pm_RowClipMoveClick();
                break;
            case 4:
                f.cols(ca, cb, ct), m.Pm_ColInsertClick();
                break;
            case 5:
                f.cols(ca, cb, ct), m.Pm_ColCopyClick();
                break;
            case 6:
                f.cols(ca, cb, ct), m.Pm_ColDeleteClick();
                break;
            case 7:
                m.ClipRange = {ca, fr, cb, lastRow}, m.ClipKind = ClipContent::Columns,
                m.PopupCol = ct, m.Pm_ColClipMoveClick();
                break;
            case 8:
                if (a != t) m.Grid.moveRow(a, t), m.GridRowMoved(a, t);
                break;
            default:
                m.RecordCell(HistoryKind::CellEdit, ca, a);
                m.Grid.setCell(ca, a, "edit" + std::to_string(step));
            }
            m.ClipRange = GridRect();
            if (m.historySize() > before) {
                history.push_back(snap(m));
                kinds.push_back(kind);
            }
            ASSERT_LE(m.historySize(), 64u);
        }
        // Undo back to the loaded table, checking every state on the way.
        for (std::size_t k = history.size() - 1; k > 0; --k) {
            std::string entries;
            for (const auto& e : m.Doc.History.entries())
                entries += std::to_string(static_cast<int>(e->kind())) + " ";
            m.Mn_UndoClick();
            ASSERT_TRUE(snap(m) == history[k - 1])
                << "round " << round << ", undoing edit kind " << kinds[k] << ": "
                << describe(snap(m), history[k - 1]) << " history " << entries;
        }
        EXPECT_EQ(m.historySize(), 0u);
    }
}

} // namespace
} // namespace kol

namespace kol {
namespace {

TEST(UndoRandomized, EditsUndoneAndSavedGiveTheOriginalFileBack) {
    test::TempDir dir;
    const std::string original = test::readBytes(test::dataFile("titled.csv"));
    test::writeBytes(dir / "t.csv", original);
    test::MainFixture f;
    TFm_Kolumbra01& m = f.model;
    ASSERT_TRUE(m.LoadTable((dir / "t.csv").string(), 1));
    m.Mn_ConfDelete.Checked = m.Mn_ConfInsert.Checked = m.Mn_ConfCopy.Checked =
        m.Mn_ConfClear.Checked = false;
    m.Mn_ConfPaste.Checked = false;
    m.PopupRow = 3, m.OperationRange = CellRange(2, 2, 8, 3), m.Pm_RowCopyClick();
    m.PopupCol = 4, m.OperationRange = CellRange(), m.Pm_ColDeleteClick();
    m.View.setCurrent(2, 2), m.View.selection = {2, 2, 4, 4}, m.Pm_RangeClearClick();
    m.View.setCurrent(5, 5), m.Pm_RangeClipPasteClick(TFm_Kolumbra01::Sender::RangeClipPaste);
    f.prompts.answers = {Answer::Yes};
    m.View.selection = {2, 2, 6, 6},
    m.Pm_StrCvtHanToZenClick(TFm_Kolumbra01::Sender::StrCvtHanToZen);
    while (m.historySize() > 0) m.Mn_UndoClick();
    f.prompts.answers = {Answer::Yes};
    m.Mn_FileSaveClick(TFm_Kolumbra01::SaveSender::Button);
    EXPECT_EQ(test::readBytes(dir / "t.csv"), original);
}

} // namespace
} // namespace kol
