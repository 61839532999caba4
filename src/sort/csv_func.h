// The sort and column-visibility window's model: the key columns chosen by drag and drop, the
// row and column sort with its progress and stop, and the page that hides and shows columns.
// It works on the main table's document; what it needs of the main window goes through
// CsvFuncMain.
#pragma once

#include "platform/busy_cursor.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "table/grid_view_state.h"
#include "table/row_label.h"
#include "table/string_grid.h"
#include "table/table_document.h"
#include "view/table_listener.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

struct ListBox : Control {
    std::vector<std::string> Items;
    int ItemIndex = -1;
};

// What the window asks of its Qt side.
class CsvFuncHost : public BusyIndicator {
public:
    // Shows the progress text now and lets pending window events run (the stop button).
    virtual void processPending() = 0;
    virtual void hideWindow() = 0;
};

// What the window needs of the main window.
class CsvFuncMain {
public:
    virtual ~CsvFuncMain() = default;
    virtual int columnNameRow() const = 0;            // grid row of the column names; 0: none
    virtual std::string columnNameChoice() const = 0; // that choice's name (CP932)
    virtual RowLabelRule rowLabels() const = 0;
    virtual void sortStarting() = 0; // history emptied, popup cell unset
    virtual void setTableVisible(bool visible) = 0;
    virtual void sortFinished(bool rowsSorted) = 0; // key column, search results, colours
    virtual void unsetPopupCell() = 0;              // and repaint the grid
    virtual void setColumnShown(int column, bool shown) = 0;
    virtual void activate() = 0; // to the front, focus on the grid
};

enum class CsvFuncPage { Sort, Visibility };

class TFm_CsvFunc : public TableListener {
public:
    TFm_CsvFunc(Prompts& prompts, CsvFuncHost& host, TableDocument& document, CsvFuncMain& main);

    // Opening a page from the main window.
    void OpenSortPage();
    void OpenVisibilityPage();
    void Close(); // Btn_SortEnd, Btn_PrintEnd, Mn_Exit and the close box
    // Columns added, removed, moved or renamed, or a new table: both lists again.
    void tableReshaped(Reshape how) override;

    // Sort page.
    void FillColumnLists();
    enum class ListSource { Selection, SortKey };
    void LbxSortKeyMouseDown(int index); // the item under the press, -1 for none
    void LbxSortKeyDragDrop(ListSource from, int targetIndex);
    void LbxSelectionDragDrop(ListSource from);
    void Btn_SortClick();
    void Btn_StopClick();
    bool ReportProgress(std::string_view step, long long i, long long every, long long total);
    // The data column number and grid index a list item names.
    int keyColumn(const std::string& item) const;

    // Visibility page.
    void FillVisibilityGrid();
    void PrintGridDblClick();
    void Btn_PrintAllClick(bool all); // Btn_PrintAll (all shown) or Btn_PrintOff
    struct VisibilityLook {
        bool fixed = false;
        bool shown = true;
        std::string text; // CP932, with the ○/× prefix for data cells
    };
    VisibilityLook printGridCell(int col, int row) const;
    int printGridColumn(int row) const; // the main column a row stands for; -1 for none

    std::string Caption;
    CsvFuncPage ActivePage = CsvFuncPage::Sort;
    ListBox LbxSelection, LbxSortKey;
    std::string pnlSelection, pnlSortKey, Label1, Label2, GroupCaption;
    Label Lab_Msg;
    std::uint32_t Lab_MsgColour = 0xC0C0C0; // 0xBBGGRR: silver, yellow while sorting
    Button Btn_Sort, Btn_SortEnd, Btn_Stop, Btn_PrintAll, Btn_PrintOff, Btn_PrintEnd;
    CheckBox Chk_RowSort, Chk_ColSort;
    MenuItem Mn_Exit;
    bool SourceVisible = true;
    StringGrid PrintGrid;
    GridViewState PrintView{PrintGrid};
    bool SortRunning = false;
    int DragSource = -1;
    int LetterWidth = 7; // of the main grid's font

private:
    void runSort(bool rows, bool columns);
    std::vector<int> keyColumns() const;
    void showMessage(const std::string& text);

    Prompts& prompts_;
    CsvFuncHost& host_;
    TableDocument& doc_;
    CsvFuncMain& main_;
};

} // namespace kol
