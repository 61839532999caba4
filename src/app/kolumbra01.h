// The main window's model: the table grid and its attribute arrays, the controls' state and
// the window's event handlers. The Qt window forwards events here and mirrors the state back.
#pragma once

#include "app/csv_fixed.h"
#include "app/main_view_switches.h"
#include "app/settings_record.h"
#include "app/start_load.h"
#include "edit/editing_state.h"
#include "edit/grid_input.h"
#include "platform/controls.h"
#include "platform/is_dclick.h"
#include "platform/platform.h"
#include "print/print_request.h"
#include "record/record_editor.h"
#include "record/record_link.h"
#include "search/search_link.h"
#include "table/csv_file_inf.h"
#include "table/csv_form.h"
#include "table/grid_view_state.h"
#include "table/row_col_info.h"
#include "table/string_grid.h"
#include "table/table_document.h"
#include "table/table_load.h"
#include "view/cell_display.h"
#include "view/table_view.h"
#include "viewer/browse_link.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kol {

class TFm_CsvEtc;
class TfrmCsvExcel;

// What the main model asks of its window beyond questions and notices. It also hosts the
// range output that every save goes through (busy cursor, progress, showing the file), and
// opens the print preview for every table print.
class MainHost : public CsvFixedHost, public print::PrintPreviewOpener {
public:
    virtual void bringToFront() = 0;
    virtual void focusGrid() = 0;
    virtual void closeWindow() = 0; // runs FormClose through the window
    virtual bool isMaximized() = 0;
    virtual DocumentViewer* documentViewer() { return nullptr; } // the shared viewer
    virtual void runCsvFixed(TFm_CsvFixed& window) = 0;          // modal
    virtual void runCsvEtc(TFm_CsvEtc&) {}                       // modal; no window, nothing shown
    virtual void runCsvExcel(TfrmCsvExcel&) {}                   // modal; no window: cancelled
    virtual void repaintGrid() {}                                // now, while a question is open
    virtual void showSortWindow(bool visibilityPage) {}          // the sort window, not modally
    // Modal, as every table print opens it; no window: nothing is printed.
    void openPrintPreview(print::PrintRequest&) override {}
    // The record editor took the table's place, or gave it back: menu bar, panels, focus.
    virtual void recordEditorShown(bool shown) {}
    virtual void focusRecordGrid() {}
};

struct ScreenInfo {
    int width = 1920, height = 1080;
};

class TFm_Kolumbra01 : public EditingState, public GridInputHost, public RecordMainLink {
public:
    TFm_Kolumbra01(Prompts& prompts, Clipboard& clipboard, MainHost& host, Clock& clock,
                   std::string programDir);
    ~TFm_Kolumbra01();

    // Lifecycle.
    void FormCreate(const ScreenInfo& screen);
    void FormShow();
    void FormResize(int clientWidth, int clientHeight);
    bool FormClose(); // false: the window stays open
    // Reads and splits the file named at start while the start timer runs.
    void PrepareStartFile(const std::vector<std::string>& arguments);
    void MyTimerTimer(const std::vector<std::string>& arguments);
    void SaveTimerTimer();
    void FilesDropped(const std::vector<std::string>& paths);
    void OpenArgument(const std::string& text);
    void UpdateCaptions();
    void EnableControls(bool on);

    // Commands.
    void Btn_OpenCsvClick();
    void Btn_OpenBoardClick();
    void Btn_SelectClick();   // shows the search window
    void Btn_VertGridClick(); // opens the record editor
    void Btn_ExcelClick();    // also Mn_ExcelOpen
    void ExcelImport(const std::string& path);
    void Cmb_BunriClick();
    enum class SaveSender { Button, Menu };
    void Mn_FileSaveClick(SaveSender sender);
    void Mn_InitClearClick();
    void Mn_ExitClick();
    void Mn_OutputCsvClick();
    void Mn_RecEtcClick();
    void Mn_Help_KolumbraClick();
    void Mn_Help_BeginClick();
    void Mn_Help_Guide1Click();
    void Mn_Help_Guide2Click();
    void Mn_Help_Guide3Click();
    void Mn_Help_HistoryClick();
    void Mn_Help_ColNameClick();
    void Btn_SortClick();
    void Btn_ViewColClick();

    // View menu.
    void Mn_FixedCenterClick(MenuItem& item);  // also the data-centre, trim and date switches
    void Mn_KaraGyoColorClick(MenuItem& item); // both empty-row switches
    void Mn_BreakColorClick();
    void Mn_FixedRowSEQClick();
    void toggleConfirm(MenuItem& item);

    // Row and column structure edits. A `sender` names the menu item that ran the command
    // where the command behaves differently for it.
    enum class Sender {
        None,
        RowCopy,
        RowClipMove,
        RowClipCopy,
        ColCopy,
        ColClipMove,
        ColClipCopy,
        RowInsertFile,
        RowInsertBoard,
        ColViewON,
        ColViewOFF,
        RangeClip,
        RowClip,
        ColClip,
        RangeClipPaste,
        RowClipPaste,
        ColClipPaste,
        StrCvtHanToZen,
        StrCvtZenToHan,
        StrCvtHiraToKata,
        StrCvtKataToHira,
        MarkSet,
        MarkClear,
        MarkClearAll
    };
    void Pm_RowInsertClick();
    void Pm_RowCopyClick(Sender sender = Sender::RowCopy);
    void Pm_RowDeleteClick(Sender sender = Sender::None);
    void Pm_RowClipMoveClick();
    void Pm_RowClipCopyClick();
    void Pm_RowInsertFileClick(Sender sender); // RowInsertFile or RowInsertBoard
    void Pm_ColInsertClick();
    void Pm_ColCopyClick(Sender sender = Sender::ColCopy);
    void Pm_ColDeleteClick(Sender sender = Sender::None);
    void Pm_ColClipMoveClick();
    void Pm_ColClipCopyClick();
    void Pm_ColViewONClick(Sender sender); // ColViewON hides, ColViewOFF shows
    void Pm_RangeRowInsert2Click();
    void Pm_RangeRowCopy2Click();
    void Pm_RangeRowDelete2Click();
    void SetColumnShown(int column, bool shown);
    void RefreshAfterStructureChange();
    void selectClamped(GridRect rect) override; // the selection clamp of the structure edits

    // Range clip, paste, clear and conversion.
    void Pm_RangeClipClick(Sender sender); // RangeClip, RowClip, ColClip; None from clear
    void Pm_RangeClipClrClick();
    void Pm_RangeClipPasteClick(Sender sender); // RangeClipPaste, RowClipPaste, ColClipPaste
    void Pm_RangeClearClick();
    void Pm_StrCvtHanToZenClick(Sender sender); // the four StrCvt senders
    static std::string conversionCaption(Sender sender);

    // Marks.
    void Pm_RowMarkSetClick(Sender sender); // MarkSet, MarkClear, MarkClearAll
    void Pm_ColMarkSetClick(Sender sender);
    void Mn_MarkSaveClick();  // also the popups' save items
    void Mn_MarkPrintClick(); // also the popups' print items

    // Printing: the whole table, or a copy in WorkGrid of the lines or cells to print.
    void Mn_GridPrintClick();
    void Pm_RowPrintClick();
    void Pm_ColPrintClick();
    void Pm_RangePrintCellClick();
    void Pm_RangePrintRowClick();
    void Pm_RangePrintColClick();
    // The print hand-off: the preview opens modally on `grid` in table mode with the table
    // print settings, and they are taken back when it closes.
    void PrintGrid(const StringGrid& grid, const print::HeadingLines& headings, int rowLimit);
    std::string fileHeading() const; // heading line 1 of the table prints

    // Undo history.
    void Mn_UndoClick();
    void RecordCell(HistoryKind kind, int column, int row);
    void DropEditorEntries();
    void ClearHistory(bool removeHighlight);
    std::size_t historySize() const;

    // Drag moves of rows and columns (the grid has already moved them).
    void GridRowMoved(int from, int to);
    void GridColumnMoved(int from, int to);

    // View controls.
    void Cmb_FixedRowsClick();
    void Cmb_KomRowClick();
    void Cmb_FixedColClick(); // also the key column's width
    void Cmb_LimColLenClick();
    void Cmb_FoldClick(); // also Btn_ReFold
    void Cmb_CrNextClick();
    void Chk_MoveRowClick();
    void Chk_MoveColClick();
    void Chk_RowSizeClick();

    // The cell under the last press is forgotten, so no popup command acts on it; repaints.
    void unsetPopupCell() override;
    // The table, or in its place the base panel's caption (while a sort reorders the rows);
    // repaints at once.
    void setTableVisible(bool visible);
    CellScene cellScene() const;
    // What the grid's input side asks of the window.
    TableDocument& document() override { return Doc; }
    EditingState& editing() override { return *this; }
    GridViewState& viewState() override { return View; }
    GridInputOptions inputOptions() const override;
    bool clipboardHasText() override { return clipboard_.hasText(); }
    bool isDoubleClick(int x, int y) override { return dclick_->IsDoubleClick(x, y); }
    void runCommand(GridCommand command) override;
    void commitCell(int col, int row, const std::string& text) override;
    void marksChanged() override { UpdateCaptions(); }
    void focusGrid() override { host_.focusGrid(); }

    int komRowIndex() const { return Cmb_KomRow.ItemIndex < 0 ? 0 : Cmb_KomRow.ItemIndex; }
    int crNextIndex() const { return Cmb_CrNext.ItemIndex < 0 ? 0 : Cmb_CrNext.ItemIndex; }
    // Yes, No or Cancel; Cancel also when Yes did not save (failed or cancelled dialog).
    [[nodiscard]] Answer AskSaveChanges(Buttons buttons);
    std::string ChooseSaveFile(const std::string& startName, const std::string& title);
    // The one-cell table (or a fresh shape); the caller announces the replaced table once its
    // own steps are done, so the listeners hear of a load once.
    void ResetTable(int columns, int rows);
    bool LoadTable(const std::string& name, int changedValue);
    void ReadClipboardTable(bool silent, const std::string& caption);
    void ClearHistory() { ClearHistory(true); }
    int fixedRowsIndex() const;
    std::string helpPath(const std::string& fileName) const;
    std::string DataDir;                // writable folder for generated documents
    std::string SettingsPath;           // the settings file; empty: defaults only, nothing written
    SearchWindowLink* Search = nullptr; // set by the window that owns the search window

    // RecordMainLink: what the record editor asks of the main window.
    int nameRowIndex() const override { return komRowIndex(); }
    std::string nameRowCaption() const override;
    int keyColumnIndex() const override { return ViewSwitches.keyColumnChoice(); }
    std::string tableFileName() const override;
    int letterWidth() const override { return LetterWidth; }
    void recordEditorShown(bool shown) override;
    void unsetOperationRange() override { OperationRange = CellRange(); }
    void undoMenuChanged() override { updateUndoMenu(); }
    void showSearchWindow() override { Btn_SelectClick(); }
    void focusRecordGrid() override { host_.focusRecordGrid(); }
    void focusTableGrid() override { host_.focusGrid(); }
    void printRecord(const StringGrid& grid, const print::HeadingLines& headings,
                     int rowLimit) override;
    void clearProgressText() override { pnlBase.Caption.clear(); }

    // Window state.
    std::string Caption;
    TableDocument Doc;
    StringGrid& Grid = Doc.Grid;
    std::vector<RowFlag>& RowFlags = Doc.RowFlags;
    std::vector<ColInfoRec>& ColInfo = Doc.ColInfo;
    std::uint8_t& Modified = Doc.Modified;
    GridViewState View{Doc.Grid}; // the table grid's cursor, selection and scroll position
    // Labels, key column, break colours, widths and folding, and the table's listeners.
    MainViewSwitches ViewSwitches{*this};
    TableView Shown{Doc, ViewSwitches};
    // The single-row editor over the same table; it hears the table's changes first.
    std::unique_ptr<RecordEditor> Record;
    std::unique_ptr<TableSubscription> RecordListening;
    std::uint8_t FirstShow = 1;
    std::string CaptionOverride;
    unsigned char CurrentSeparator = ',';
    std::uint8_t BreakColourAsked = 0;
    double ColumnLimit = 25;
    bool WindowMaximized = false;
    int Left = 0, Top = 0, Width = 0, Height = 0; // window bounds in normal state
    bool BoundsRestored = false;                  // from the settings, not the first start's
    bool GridVisible = true;
    bool DropAccepted = false;
    bool MyTimerEnabled = false, SaveTimerEnabled = false;

    // Metrics of the grid font and of the reference combo, given by the window.
    int LetterWidth = 7, LetterHeight = 13, KijyunHeight = kGridRowHeight;
    int FontPixels = 13; // the grid font's height in pixels, for the print's cells

    StringGrid CopyGrid, WorkGrid;
    int MarkedColumnCount = 0;
    TCsvFileInf CsvFileInf;
    // The most lines a table may hold, after a load or a row import (tests lower it).
    std::size_t MaxTableLines = kMaxTableLines;
    SettingsRecord Settings;

    // Controls.
    Button Btn_OpenCsv, Btn_Excel, Btn_OpenBoard, Btn_Save, Btn_VertGrid, Btn_Select, Btn_Sort,
        Btn_ViewCol, Btn_ReFold;
    Combo Cmb_FixedRows, Cmb_KomRow, Cmb_FixedCol, Cmb_FixedKeta, Cmb_Bunri, Cmb_LimColLen,
        Cmb_Fold, Cmb_CrNext;
    CheckBox Chk_MoveRow, Chk_MoveCol, Chk_RowSize;
    Label Lab_Records, Lab_Fields;
    Panel pnlBase, pnlMsg;
    int pnlBaseLeft = 0, pnlBaseTop = 0, pnlBaseWidth = 0, pnlBaseHeight = 0;
    Control GridControl;
    MenuItem Mn_FileOpen, Mn_BardOpen, Mn_FileSave, Mn_InitClear, Mn_Exit, Mn_Undo, Mn_GridPrint,
        Mn_MarkPrint, Mn_MarkSave, Mn_FixedCenter, Mn_DataCenter, Mn_TrimSpace, Mn_DateEdit,
        Mn_BreakColor, Mn_KaraGyoColor, Mn_KaraGyoBlack, Mn_FixedRowSEQ, Mn_ConfPaste, Mn_ConfClear,
        Mn_ConfInsert, Mn_ConfCopy, Mn_ConfMove, Mn_ConfDelete, Mn_Help_Kolumbra, Mn_Help_Begin,
        Mn_Help_Guide1, Mn_Help_Guide2, Mn_Help_Guide3, Mn_Help_ColName, Mn_Help_History,
        Mn_ExcelOpen, Mn_OutputCsv, Mn_RecEtc, Mn2_Undo;

    Prompts& prompts() { return prompts_; }
    Clipboard& clipboard() { return clipboard_; }
    TIsDClick& doubleClick() { return *dclick_; } // the memo editor's double-click test
    MainHost& host() { return host_; }
    const std::string& programDir() const { return programDir_; }

private:
    void SetupControls();
    void ApplySettings();
    void GatherSettings();
    bool readFile(const std::string& name);
    void reportNulCut(const std::string& name);
    // Fills the grid from the lines read, or takes the table read ahead at start. 0 when the
    // rows are in; else why the table was left empty (ENOMEM, kChangedWhileReading).
    [[nodiscard]] int FillGrid(StartLoad::Table* prepared);
    StartLoad::Options startLoadOptions() const;
    std::unique_ptr<StartLoad::Table> takeStartLoad(const std::string& name);
    void showLoadProgress(std::size_t line, std::size_t total, std::int64_t& shownAt);
    void readColumnLimit();                  // from the column-length choice
    void showKeyColumn(bool columnOneEmpty); // also keeps the choice for the settings
    void fillKeyColumnChoice();              // the key-column combo's items
    void rebuildAttributes();
    void showProgress(const std::string& caption);
    std::string openDialogStart(const std::string& startName, std::string& directory,
                                std::string& filter) const;
    void showHelpFile(const std::string& sender, const std::string& fileName);
    void registerHelpDocuments(DocumentViewer& viewer);
    std::string dataFolder() const; // where generated files go: beside the settings
    // Shared steps of the structure edits.
    struct Span {
        int first, count;
    };
    // The target and count of a row or column command: the popup's line, or the first line of
    // the operation range when the popup lies within it.
    Span span(Axis axis) const;
    bool confirmEdit(bool gated, const std::string& question, GridRect highlight,
                     std::uint32_t colour);
    // What follows a structure edit: the current cell, the operation range, the labels, the
    // key column and the captions.
    void rowsInserted(int p, int n);
    void rowsRemoved(int d, bool moving);
    void colsInserted(int p, int n);
    void colsRemoved(int d, bool moving);
    void insertBlankLines(Axis axis);
    bool copyLines(Axis axis, Sender sender); // false when nothing was copied
    void deleteLines(Axis axis, bool moving);
    void clipMove(Axis axis);
    CellRange clipAsRange() const;
    std::string lineText(Axis axis, int i) const; // a row's label or a column's number
    void resetWorkGrid(); // one empty cell, no fixed rows or columns, as before and after use
    void onSelectedRows(void (TFm_Kolumbra01::*rowCommand)()); // the cell popup's row commands
    void markLines(Axis axis, Sender sender);
    void markedOutput(bool print);
    // WorkGrid from the table's fixed lines and the given data rows and columns, in order.
    void buildWorkGrid(const std::vector<int>& rows, const std::vector<int>& cols);
    void printWorkGrid(); // the prepared-grid finish: widths, headings and the hand-off
    void printLines(Axis axis);
    void onSelectedLines(Axis axis, void (TFm_Kolumbra01::*command)());
    void copySelectedRows();
    void deleteSelectedRows();
    void applyUndo(const UndoOutcome& outcome);
    // The row import's placing: `n` blank rows at `p`, then the source's lines split into them.
    void placeImportedRows(const SourceText& source, int p, int n);
    // What the table was before an import, so that one that fails can be taken back.
    struct ImportMark {
        int rows, cols;
        std::uint8_t modified;
        const UndoEntry* newest; // the history's newest entry then, or nullptr
    };
    void takeBackImport(const ImportMark& mark, int p);
    void updateUndoMenu();
    void selectAndShow(GridRect rect);
    std::string rowLabelText(int r) const;
    std::string colNumberText(int c) const;

    Prompts& prompts_;
    Clipboard& clipboard_;
    MainHost& host_;
    Clock& clock_;
    std::string programDir_;
    ScreenInfo screen_;
    std::unique_ptr<TIsDClick> dclick_;
    std::unique_ptr<StartLoad> startLoad_;
    std::vector<std::string> otherSettingLines_; // kept for the readers that come later
};

} // namespace kol
