// The input side of the main window's table grid: which popup a press opens and what its
// commands act on, the operation range started and stretched with the mouse, the keyboard
// shortcuts, the in-cell memo editor and the two small scroll bars. The Qt window forwards the
// grid's events here and supplies the pixel geometry through GridInputView.
#pragma once

#include "edit/editing_state.h"
#include "edit/memo_editor.h"
#include "platform/controls.h"
#include "table/grid_view_state.h"
#include "table/table_document.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

// The commands the popups and keys run; the window carries them out.
enum class GridCommand {
    RangeClip,
    RangeClipPaste,
    RangeClipClr,
    RowClipClr,
    ColClipClr,
    RangeClear,
    StrCvtHanToZen,
    StrCvtZenToHan,
    StrCvtHiraToKata,
    StrCvtKataToHira,
    RangeRowInsert2,
    RangeRowCopy2,
    RangeRowDelete2,
    RowClip,
    RowClipPaste,
    RowClipMove,
    RowClipCopy,
    RowInsert,
    RowCopy,
    RowDelete,
    RowInsertFile,
    RowInsertBoard,
    RowMarkSet,
    RowMarkClear,
    RowMarkClearAll,
    ColClip,
    ColClipPaste,
    ColClipMove,
    ColClipCopy,
    ColInsert,
    ColCopy,
    ColDelete,
    ColViewON,
    ColViewOFF,
    ColMarkSet,
    ColMarkClear,
    ColMarkClearAll,
    MarkSave,
    RowPrint,
    ColPrint,
    RangePrintCell,
    RangePrintRow,
    RangePrintCol,
    MarkPrint,
    DispVertGrid,
};

struct GridInputOptions {
    bool moveRow = false, moveCol = false; // rows / columns are dragged, not ranged
    int crNext = 0;                        // cursor advance after the memo closes
    int letterWidth = 7;
};

// What the input side needs from the window that owns the table.
class GridInputHost {
public:
    virtual ~GridInputHost() = default;
    virtual TableDocument& document() = 0;
    virtual EditingState& editing() = 0;
    virtual GridViewState& viewState() = 0; // of the table grid
    virtual GridInputOptions inputOptions() const = 0;
    virtual bool clipboardHasText() = 0;
    virtual bool isDoubleClick(int x, int y) = 0;
    virtual void runCommand(GridCommand command) = 0;
    virtual void selectClamped(GridRect rect) = 0;
    // The memo's text for a cell: recorded, written and shown with its consequences.
    virtual void commitCell(int col, int row, const std::string& text) = 0;
    virtual void marksChanged() = 0;
    virtual void focusGrid() = 0;
};

// What the input side needs from the window that shows the grid, beyond what its memo needs.
// Scrolling moves the grid's topRow, leftCol and visible counts with it.
class GridInputView : public MemoView {
public:
    virtual bool cellAt(int x, int y, int& col, int& row) = 0;
    virtual void setTopLeft(int topRow, int leftCol) = 0;
    virtual void openPopup(Popup kind, int x, int y) = 0;
};

class GridInput : private MemoHost {
public:
    enum class MouseButton { Left, Right, Middle };
    enum class Key { Other, Delete, Insert, Escape, Enter, Alt, Ime };
    enum class ScrollCode { LineUp, LineDown, Other }; // up/left arrow, down/right arrow

    // One popup entry: a command item, or a submenu. An item without a command (its command
    // comes later) is always disabled.
    struct PopupNode {
        MenuItem* item;
        std::function<void()> command;
        std::vector<PopupNode> children;
    };

    GridInput(GridInputHost& host, GridInputView& view);
    GridInput(const GridInput&) = delete;
    GridInput& operator=(const GridInput&) = delete;

    const std::vector<PopupNode>& popup(Popup kind) const;
    // Runs an item's command when it has one and is enabled; false otherwise.
    bool runItem(const MenuItem& item);

    // Grid events.
    void GridMouseDown(MouseButton button, int x, int y);
    void GridMouseMove(int x, int y);
    void GridMouseUp();
    void GridSelectCell(int col, int row); // after the current cell moved
    void GridDblClick();
    bool GridKeyDown(Key key);   // true: the key was taken
    bool GridKeyPress(int code); // a Unicode code point, or a control code for Ctrl+letter
    // Text an input method committed on the grid (CP932): typed into the memo it opens.
    bool GridTextInput(std::string_view typed);
    void GridTimerTimer();
    void Pm_RowMinClick();
    void Pm_ColMinClick();

    // Popup enabling.
    void pmGridPopup();
    void pmFixedRowPopup();
    void pmFixedColPopup();
    void updatePopups(); // all three

    // The memo editor.
    void OpenMemo(std::string_view typed = {}); // on the grid's current cell
    bool mmMemoKeyDown(Key key);
    bool mmMemoMouseDown(int x, int y); // true when the press closed the memo
    void mmMemoDblClick();
    void mmMemoExit(); // the memo lost the focus

    // The small scroll bars.
    void scbMinVertScroll(ScrollCode code);
    void scbMinHorzScroll(ScrollCode code);

    // State.
    int PressCol = -1, PressRow = -1, PressX = 0, PressY = 0;
    MouseButton PressButton = MouseButton::Left;
    Popup PrevPopupKind = Popup::Cell;
    int MouseX = 0, MouseY = 0, MouseCol = -1, MouseRow = -1;
    bool GridTimerEnabled = false;
    MemoEditor mmMemo; // over the table grid

    // Cell popup pmGrid.
    MenuItem Pm_RangeClip, Pm_RangeClipPaste, Pm_RangeClipClr, Pm_RangeClear, Pm_StrConvert,
        Pm_StrCvtHanToZen, Pm_StrCvtZenToHan, Pm_StrCvtHiraToKata, Pm_StrCvtKataToHira,
        Pm_RangeRowInsert2, Pm_RangeRowCopy2, Pm_RangeRowDelete2, Pm_RangePrint, Pm_RangePrintCell,
        Pm_RangePrintRow, Pm_RangePrintCol, Pm_DispVertGrid;
    // Row popup pmFixedRow.
    MenuItem Pm_RowClipGroup, Pm_RowClip, Pm_RowClipPaste, Pm_RowClipMove, Pm_RowClipCopy,
        Pm_RowClipClr, Pm_RowInsert, Pm_RowCopy, Pm_RowDelete, Pm_RowImport, Pm_RowInsertFile,
        Pm_RowInsertBoard, Pm_RowPrint, Pm_RowMark, Pm_RowMarkSet, Pm_RowMarkClear,
        Pm_RowMarkClearAll, Pm_RowMarkPrint, Pm_RowMarkSave, Pm_RowMin;
    // Column popup pmFixedCol.
    MenuItem Pm_ColClipGroup, Pm_ColClip, Pm_ColClipPaste, Pm_ColClipMove, Pm_ColClipCopy,
        Pm_ColClipClr, Pm_ColInsert, Pm_ColCopy, Pm_ColDelete, Pm_ColView, Pm_ColViewON,
        Pm_ColViewOFF, Pm_ColPrint, Pm_ColMark, Pm_ColMarkSet, Pm_ColMarkClear, Pm_ColMarkClearAll,
        Pm_ColMarkPrint, Pm_ColMarkSave, Pm_ColMin;

private:
    void buildPopups();
    void removeUndoHighlight();
    void rememberLastCell();
    void startRowRange(int row);
    void startColRange(int col);
    void stretchRows();
    void stretchCols();
    void selectRange();
    GridInputView::Rect rowRect(int row);
    GridInputView::Rect colRect(int col);
    void moveCursor(int col, int row);
    void advanceCursor();
    const PopupNode* findNode(const MenuItem& item) const;

    StringGrid& grid() { return host_.document().Grid; }
    EditingState& state() { return host_.editing(); }
    GridViewState& at() { return host_.viewState(); }

    // The memo's host, on the window's behalf.
    StringGrid& memoGrid() override { return grid(); }
    void commitMemo(int col, int row, const std::string& text) override {
        host_.commitCell(col, row, text);
    }
    bool isDoubleClick(int x, int y) override { return host_.isDoubleClick(x, y); }
    void focusGrid() override { host_.focusGrid(); }

    GridInputHost& host_;
    GridInputView& view_;
    std::vector<PopupNode> popups_[3];
};

} // namespace kol
