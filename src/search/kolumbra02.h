// The search window's model: the words and their history, the search over the main table, the
// results grid with its hidden flag grid, stepping through found cells and linking them back
// to the main grid, and saving the results. The Qt window forwards events here.
#pragma once

#include "platform/busy_cursor.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "search/row_match.h"
#include "search/search_link.h"
#include "table/grid_view_state.h"
#include "table/string_grid.h"
#include "table/table_document.h"
#include "view/cell_display.h"
#include "view/table_listener.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kol {

// What the model asks of its own window.
class SearchHost : public BusyIndicator {
public:
    virtual bool isShowing() = 0;
    // Repaints the progress labels and lets pending window events in (the stop button, the
    // window's close).
    virtual void processPending() = 0;
    virtual void focusWord() = 0;
    virtual void focusResults() = 0;
    virtual void hideWindow() = 0;
    virtual void bringToFront() = 0;
};

class TFm_Kolumbra02 : public TableListener {
public:
    static constexpr int kHistorySlots = 101;

    TFm_Kolumbra02(Prompts& prompts, Clipboard& clipboard, Clock& clock, SearchHost& host,
                   SearchMainLink& link, TableDocument& source, GridViewState& mainView,
                   std::string programDir);

    // Lifecycle.
    void FormCreate(int screenWidth, int screenHeight);
    void FormShow();
    void FormClose(); // hidden, not destroyed; a running search stops
    void Mn_ExitClick();

    // Operations the main window calls.
    void ResetResults(bool clearWord);
    // The rows found are the old table's: they go, the words stay.
    void tableReshaped(Reshape) override { ResetResults(false); }
    void LoadHistory(std::span<const std::string> slots);
    void GatherHistory(std::span<std::string> slots) const; // the list, then empty slots
    static std::string HistoryText(const std::string& entry);
    void AddToHistory(const std::string& text);

    // Commands.
    void Rdo_ANDClick(); // either radio button
    void Cmb_FindWordClick();
    void Btn_ClearClick();
    void btnGetClipClick();
    void Btn_ExecClick();
    void Btn_StopClick();
    void btnCopyExecClick();
    void GridSelectCell(int c, int r);
    bool GridCanEdit(int c, int r) const; // results cells can be edited, fixed cells not
    void GridSetEditText(int c, int r, const std::string& text); // the results grid only
    void GridDblClick();
    void Btn_NextClick();
    void Btn_PriorClick();
    void Btn_RowNextClick();
    void Btn_RowPriorClick();
    void Mn_FileSaveClick();
    void Mn_PrintClick(); // the results, through the main window's print
    void Mn_FindHistoryClearClick();
    std::string AskSaveFileName(const std::string& start, const std::string& title);

    // How a cell of the results grid is drawn: found cells in blue.
    CellLook GridDrawCell(int c, int r, bool selected) const;

    // Window state.
    std::string Caption;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool FirstShow = true;
    bool Running = false; // a search loop runs
    int SelCol = -1, SelRow = -1;
    std::string SavedGuide;

    Button Btn_Exit, Btn_Clear, btnGetClip, Btn_Exec, Btn_Stop, btnCopyExec, Btn_Prior, Btn_Next,
        Btn_RowPrior, Btn_RowNext;
    CheckBox Rdo_AND, Rdo_OR; // radio buttons: exactly one is checked
    std::string Edt_Word;
    Combo Cmb_FindWord;
    Label Lab_Records, Lab_Guide;
    std::uint32_t GuideColour = colour::Black;
    MenuItem Mn_FileSave, Mn_Exit, Mn_Print, Mn_FindHistoryClear;
    bool GridVisible = false;
    bool ShowResultCell = false; // the window scrolls the results grid to its current cell
    int LetterWidth = 7;         // width of "A" in the results grid's font, given by the window

    StringGrid Grid;    // the results
    StringGrid FlgGrid; // hidden: the source row of each result and "*" over found cells
    GridViewState View{Grid};

private:
    void setSearching(bool on);
    void selectResult(int c, int r); // current cell of the results, recorded and linked
    void shrinkResults();

    Prompts& prompts_;
    Clipboard& clipboard_;
    Clock& clock_;
    SearchHost& host_;
    SearchMainLink& link_;
    TableDocument& source_;
    GridViewState& mainView_;
    std::string programDir_;
    bool firstStep_ = false; // the next Btn_Next starts at the first column of its row
    bool resetWhileRunning_ = false;
};

} // namespace kol
