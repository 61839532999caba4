// The input side of the main window's table grid: which popup a press opens and what its
// commands act on, the operation range started and stretched with the mouse, the keyboard
// shortcuts, the in-cell memo editor and the two small scroll bars. The Qt window forwards the
// grid's events here and supplies the pixel geometry through GridInputView.
#pragma once

#include "platform/controls.h"
#include "platform/is_dclick.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kol {

class TFm_Kolumbra01;

// What the input side needs from the window that shows the grid. Points and rectangles are in
// the grid's drawing area (viewport) pixels.
class GridInputView {
public:
    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
        int right() const { return left + width; }
        int bottom() const { return top + height; }
    };
    virtual ~GridInputView() = default;
    virtual Rect cellRect(int col, int row) = 0; // empty when the cell is not on screen
    virtual bool cellAt(int x, int y, int& col, int& row) = 0;
    virtual int gridHeight() = 0;
    // Scrolling; the grid's topRow, leftCol and visible counts follow.
    virtual void setTopLeft(int topRow, int leftCol) = 0;
    virtual void scrollToCell(int col, int row) = 0;
    virtual void openPopup(int kind, int x, int y) = 0; // GridInput::CellPopup, RowPopup, ColPopup
    virtual void showMemo(const std::string& text, const Rect& where) = 0; // in front, focused
    virtual void hideMemo() = 0;
    virtual std::string memoText() = 0; // what the memo holds now (CP932)
};

class GridInput {
public:
    enum PopupKindValue : std::uint8_t { CellPopup = 0, RowPopup = 1, ColPopup = 2 };
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

    GridInput(TFm_Kolumbra01& model, GridInputView& view);
    GridInput(const GridInput&) = delete;
    GridInput& operator=(const GridInput&) = delete;

    const std::vector<PopupNode>& popup(int kind) const;
    // Runs an item's command when it has one and is enabled; false otherwise.
    bool runItem(const MenuItem& item);

    // Grid events.
    void GridMouseDown(MouseButton button, int x, int y);
    void GridMouseMove(int x, int y);
    void GridMouseUp();
    void GridSelectCell(int col, int row); // after the current cell moved
    void GridDblClick();
    bool GridKeyDown(Key key); // true: the key was taken
    bool GridKeyPress(int code);
    void GridTimerTimer();
    void Pm_RowMinClick();
    void Pm_ColMinClick();

    // Popup enabling.
    void pmGridPopup();
    void pmFixedRowPopup();
    void pmFixedColPopup();
    void updatePopups(); // all three

    // The memo editor.
    void OpenMemo(); // on the grid's current cell
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
    std::uint8_t PrevPopupKind = 0;
    int MouseX = 0, MouseY = 0, MouseCol = -1, MouseRow = -1;
    bool GridTimerEnabled = false;
    struct MemoState {
        bool Visible = false;
        std::string Text;       // the cell's text when opened
        int Col = -1, Row = -1; // the cell being edited
        GridInputView::Rect Place;
    } mmMemo;

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
    void closeMemo();
    void commitMemo(const std::string& memoText);
    void advanceCursor();
    const PopupNode* findNode(const MenuItem& item) const;

    TFm_Kolumbra01& m_;
    GridInputView& view_;
    std::vector<PopupNode> popups_[3];
};

// The memo's text as one line: every line break taken out, the lines joined directly.
std::string withoutLineBreaks(std::string_view text);

} // namespace kol
