// The single-row editor: one record of the table shown transposed in a grid of its own, one
// line per data column (number, name, value), edited there and written back into the table
// when the editor moves to another record or closes. It takes the place of the table grid in
// the main window while it is shown.
#pragma once

#include "edit/memo_editor.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "record/record_link.h"
#include "table/grid_view_state.h"
#include "table/string_grid.h"
#include "table/table_document.h"
#include "view/cell_display.h"
#include "view/table_listener.h"
#include "view/table_view.h"

#include <memory>
#include <string>
#include <string_view>

namespace kol {

class RecordEditor : private MemoHost, public TableListener {
public:
    // `mainView` is the table grid's cursor: the editor opens on its row and column and puts it
    // back where it closes.
    RecordEditor(TableDocument& doc, TableView& shown, GridViewState& mainView,
                 RecordMainLink& link, Prompts& prompts);
    ~RecordEditor() override;
    RecordEditor(const RecordEditor&) = delete;
    RecordEditor& operator=(const RecordEditor&) = delete;

    // The Qt side's memo box over VertGrid; without one the memo opens nowhere.
    void setMemoView(MemoView* view) { memoView_.target = view; }

    // Open and close.
    void Btn_VertGridClick();    // also the cell popup's Pm_DispVertGrid
    void Btn_VertGridEndClick(); // also Pm2_Exit and Mn2_Exit
    bool shown() const { return pnlVertTop.Visible; }
    // Shows record r with the editor cursor on `line`, after writing back the record shown.
    void showRecord(int r, int line);
    // The shown record's differing values into the table; nothing before the first record.
    void writeBack();
    // The memo committed and the record written back, the editor staying on it (before a save
    // or its question).
    void flushToTable();
    // A found row of the search window, with the main grid's current column.
    void showFoundRow(int row, int col);

    // Navigation.
    void Btn_VertRowNoNextClick();
    void Btn_VertRowNoPriorClick();
    enum class ScrollCode { LineUp, LineDown, Other };
    void scbVertRowNoScroll(ScrollCode code);
    void Cmb_VertKomKetaClick();
    void Btn_VertSelectClick();

    // The popup's conversions and the print.
    enum class Conversion { HanToZen, ZenToHan, HiraToKata, KataToHira };
    void pm2_StrCvtHanToZenClick(Conversion conversion);
    void Mn2_PrintxClick();

    // Input in VertGrid; the Qt side maps its keys to these.
    enum class Key { Enter, Escape, Alt, Ime, Other };
    void VertGridMouseDown(); // any press: the undo highlight goes
    bool VertGridKeyDown(Key key);
    bool VertGridKeyPress(int code); // a typed code point
    bool VertGridTextInput(std::string_view typed);
    void VertGridDblClick(int col, int row);
    void VertGridSelectCell(int col, int row);
    bool mmMemoKeyDown(Key key); // Enter and Esc close and move a line down
    bool mmMemoMouseDown(int x, int y);
    void mmMemoDblClick();
    void mmMemoExit();

    // An undo of the editor's own entry restored `cell` of VertGrid: select and show it.
    void undoneCell(const GridRect& cell);

    // What a cell of VertGrid looks like.
    CellLook cellLook(int col, int row) const;

    // The remembered name-column width (item index, for the settings file).
    int nameColumnLetters() const { return komKeta_; }
    void setNameColumnLetters(int letters);
    // Forgets the content width remembered from the last close (a fresh start).
    void forgetContentWidth() { contentWidth_ = -1; }

    // TableListener: a new table closes the editor without writing back; new texts in the shown
    // record are shown.
    void tableReshaped(Reshape how) override;
    void cellsChanged(const GridRect& cells) override;

    StringGrid VertGrid;
    GridViewState VertView{VertGrid};
    GridRect UndoHighlight;
    MemoEditor mmMemo;
    StringGrid WorkGrid; // the print copy, one empty cell when unused

    int ShownRow = -1; // the record shown; -1 before the first

    // Controls.
    Panel pnlVertTop, pnlVertRowNo;
    Control VertGridControl;
    Label Lab_VertRowNo;
    ScrollBar scbVertRowNo;
    Button Btn_VertGridEnd, Btn_VertRowNoPrior, Btn_VertRowNoNext, Btn_VertSelect;
    Combo Cmb_VertKomKeta;
    MenuItem Mn2_Exit, Mn2_Printx, Pm2_Exit, pm2_StrConvert, pm2_StrCvtHanToZen, pm2_StrCvtZenToHan,
        pm2_StrCvtHiraToKata, pm2_StrCvtKataToHira;

private:
    // MemoHost
    StringGrid& memoGrid() override { return VertGrid; }
    void commitMemo(int col, int row, const std::string& text) override;
    bool isDoubleClick(int x, int y) override { return link_.isDoubleClick(x, y); }
    void focusGrid() override { link_.focusRecordGrid(); }

    // Forwards to the Qt side's memo once it is there.
    struct MemoViewRelay : MemoView {
        MemoView* target = nullptr;
        Rect cellRect(int c, int r) override { return target ? target->cellRect(c, r) : Rect{}; }
        int gridHeight() override { return target ? target->gridHeight() : 0; }
        void scrollToCell(int c, int r) override {
            if (target) target->scrollToCell(c, r);
        }
        void showMemo(const std::string& t, const Rect& w) override {
            if (target) target->showMemo(t, w);
        }
        void typeInMemo(const std::string& t) override {
            if (target) target->typeInMemo(t);
        }
        void hideMemo() override {
            if (target) target->hideMemo();
        }
        std::string memoText() override { return target ? target->memoText() : std::string(); }
    };

    void buildGrid();
    void fillRecord(); // headings and the three columns of every line from the table
    void dropEntries();
    int dataColumns() const;
    int lineCount() const { return VertGrid.rowCount() - 1; }
    void closeWithoutWriting(); // the table under the record is no longer the one it came from
    void removeUndoHighlight() { UndoHighlight = GridRect(); }

    TableDocument& doc_;
    TableView& shown_;
    GridViewState& mainView_;
    RecordMainLink& link_;
    Prompts& prompts_;
    MemoViewRelay memoView_;
    int komKeta_ = 24;      // name column width in letters
    int contentWidth_ = -1; // the value column's width at the last close
    bool writingBack_ = false;
};

} // namespace kol
