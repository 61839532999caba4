#include "edit/grid_input.h"

#include "text/cp932.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace kol {

namespace {
using Rect = GridInputView::Rect;
using C = GridCommand;

int halfRowZero(const StringGrid& g) {
    return static_cast<int>(std::lround(g.rowHeight(0) / 2.0));
}

// Only items with a command can be chosen; a submenu is open while any child can be.
bool applyAvailability(std::vector<GridInput::PopupNode>& nodes) {
    bool any = false;
    for (GridInput::PopupNode& node : nodes) {
        if (!node.children.empty())
            node.item->Enabled = applyAvailability(node.children);
        else if (!node.command)
            node.item->Enabled = false;
        any = any || node.command || node.item->Enabled;
    }
    return any;
}
} // namespace

GridInput::GridInput(GridInputHost& host, GridInputView& view)
    : mmMemo(*this, view), host_(host), view_(view) {
    caption(Pm_RangeClip, "1. クリップ");
    caption(Pm_RangeClipPaste, "2. 貼り付け");
    caption(Pm_RangeClipClr, "3. クリップ 解除");
    caption(Pm_RangeClear, "4. クリアー");
    caption(Pm_StrConvert, "5. 文字変換");
    caption(Pm_StrCvtHanToZen, "1. 半角 → 全角");
    caption(Pm_StrCvtZenToHan, "2. 全角 → 半角  ");
    caption(Pm_StrCvtHiraToKata, "3. 全角ひらがな → 全角カタカナ");
    caption(Pm_StrCvtKataToHira, "4. 全角カタカナ → 全角ひらがな");
    caption(Pm_RangeRowInsert2, "6. 行 挿入");
    caption(Pm_RangeRowCopy2, "7. 行 複写");
    caption(Pm_RangeRowDelete2, "8. 行 削除");
    caption(Pm_RangePrint, "9. 印刷");
    caption(Pm_RangePrintCell, "1. セル");
    caption(Pm_RangePrintRow, "2. 行");
    caption(Pm_RangePrintCol, "3. 列");
    caption(Pm_DispVertGrid, "10. 単行編集");

    for (auto [group, clip, paste, move, copy, clear] :
         {std::tuple{&Pm_RowClipGroup, &Pm_RowClip, &Pm_RowClipPaste, &Pm_RowClipMove,
                     &Pm_RowClipCopy, &Pm_RowClipClr},
          std::tuple{&Pm_ColClipGroup, &Pm_ColClip, &Pm_ColClipPaste, &Pm_ColClipMove,
                     &Pm_ColClipCopy, &Pm_ColClipClr}}) {
        caption(*group, "1. ｸﾘｯﾌﾟ");
        caption(*clip, "1. ｸﾘｯﾌﾟ");
        caption(*paste, "2. 貼り付け");
        caption(*move, "3. 移動");
        caption(*copy, "4. 複写");
        caption(*clear, "5. 解除");
    }
    for (auto [insert, copy, del, print, mark, set, clear, clearAll, markPrint, markSave, min] :
         {std::tuple{&Pm_RowInsert, &Pm_RowCopy, &Pm_RowDelete, &Pm_RowPrint, &Pm_RowMark,
                     &Pm_RowMarkSet, &Pm_RowMarkClear, &Pm_RowMarkClearAll, &Pm_RowMarkPrint,
                     &Pm_RowMarkSave, &Pm_RowMin},
          std::tuple{&Pm_ColInsert, &Pm_ColCopy, &Pm_ColDelete, &Pm_ColPrint, &Pm_ColMark,
                     &Pm_ColMarkSet, &Pm_ColMarkClear, &Pm_ColMarkClearAll, &Pm_ColMarkPrint,
                     &Pm_ColMarkSave, &Pm_ColMin}}) {
        caption(*insert, "2. 挿入");
        caption(*copy, "3. 複写");
        caption(*del, "4. 削除");
        caption(*print, "6. 印刷");
        caption(*mark, "7. マーキング");
        caption(*set, "1. 設定");
        caption(*clear, "2. 解除");
        caption(*clearAll, "3. 全て解除");
        caption(*markPrint, "4. 印刷");
        caption(*markSave, "5. 保存");
        caption(*min, "8. 範囲開始");
    }
    caption(Pm_RowImport, "5. インポート");
    caption(Pm_RowInsertFile, "1. File");
    caption(Pm_RowInsertBoard, "2. Clip.Board");
    caption(Pm_ColView, "5. 列表示");
    caption(Pm_ColViewON, "1. 抑制する");
    caption(Pm_ColViewOFF, "2. 表示する");
    buildPopups();
    updatePopups();
}

void GridInput::buildPopups() {
    GridInputHost& h = host_;
    auto run = [&h](C command) { return [&h, command] { h.runCommand(command); }; };
    auto leaf = [](MenuItem& item, std::function<void()> command = {}) {
        return PopupNode{&item, std::move(command), {}};
    };
    auto sub = [](MenuItem& item, std::vector<PopupNode> children) {
        return PopupNode{&item, {}, std::move(children)};
    };
    popups_[static_cast<int>(Popup::Cell)] = {
        leaf(Pm_RangeClip, run(C::RangeClip)),
        leaf(Pm_RangeClipPaste, run(C::RangeClipPaste)),
        leaf(Pm_RangeClipClr, run(C::RangeClipClr)),
        leaf(Pm_RangeClear, run(C::RangeClear)),
        sub(Pm_StrConvert, {leaf(Pm_StrCvtHanToZen, run(C::StrCvtHanToZen)),
                            leaf(Pm_StrCvtZenToHan, run(C::StrCvtZenToHan)),
                            leaf(Pm_StrCvtHiraToKata, run(C::StrCvtHiraToKata)),
                            leaf(Pm_StrCvtKataToHira, run(C::StrCvtKataToHira))}),
        leaf(Pm_RangeRowInsert2, run(C::RangeRowInsert2)),
        leaf(Pm_RangeRowCopy2, run(C::RangeRowCopy2)),
        leaf(Pm_RangeRowDelete2, run(C::RangeRowDelete2)),
        sub(Pm_RangePrint, {leaf(Pm_RangePrintCell, run(C::RangePrintCell)),
                            leaf(Pm_RangePrintRow, run(C::RangePrintRow)),
                            leaf(Pm_RangePrintCol, run(C::RangePrintCol))}),
        leaf(Pm_DispVertGrid, run(C::DispVertGrid)),
    };
    popups_[static_cast<int>(Popup::Row)] = {
        sub(Pm_RowClipGroup,
            {leaf(Pm_RowClip, run(C::RowClip)), leaf(Pm_RowClipPaste, run(C::RowClipPaste)),
             leaf(Pm_RowClipMove, run(C::RowClipMove)), leaf(Pm_RowClipCopy, run(C::RowClipCopy)),
             leaf(Pm_RowClipClr, run(C::RowClipClr))}),
        leaf(Pm_RowInsert, run(C::RowInsert)),
        leaf(Pm_RowCopy, run(C::RowCopy)),
        leaf(Pm_RowDelete, run(C::RowDelete)),
        sub(Pm_RowImport, {leaf(Pm_RowInsertFile, run(C::RowInsertFile)),
                           leaf(Pm_RowInsertBoard, run(C::RowInsertBoard))}),
        leaf(Pm_RowPrint, run(C::RowPrint)),
        sub(Pm_RowMark,
            {leaf(Pm_RowMarkSet, run(C::RowMarkSet)), leaf(Pm_RowMarkClear, run(C::RowMarkClear)),
             leaf(Pm_RowMarkClearAll, run(C::RowMarkClearAll)),
             leaf(Pm_RowMarkPrint, run(C::MarkPrint)), leaf(Pm_RowMarkSave, run(C::MarkSave))}),
        leaf(Pm_RowMin, [this] { Pm_RowMinClick(); }),
    };
    popups_[static_cast<int>(Popup::Column)] = {
        sub(Pm_ColClipGroup,
            {leaf(Pm_ColClip, run(C::ColClip)), leaf(Pm_ColClipPaste, run(C::ColClipPaste)),
             leaf(Pm_ColClipMove, run(C::ColClipMove)), leaf(Pm_ColClipCopy, run(C::ColClipCopy)),
             leaf(Pm_ColClipClr, run(C::ColClipClr))}),
        leaf(Pm_ColInsert, run(C::ColInsert)),
        leaf(Pm_ColCopy, run(C::ColCopy)),
        leaf(Pm_ColDelete, run(C::ColDelete)),
        sub(Pm_ColView,
            {leaf(Pm_ColViewON, run(C::ColViewON)), leaf(Pm_ColViewOFF, run(C::ColViewOFF))}),
        leaf(Pm_ColPrint, run(C::ColPrint)),
        sub(Pm_ColMark,
            {leaf(Pm_ColMarkSet, run(C::ColMarkSet)), leaf(Pm_ColMarkClear, run(C::ColMarkClear)),
             leaf(Pm_ColMarkClearAll, run(C::ColMarkClearAll)),
             leaf(Pm_ColMarkPrint, run(C::MarkPrint)), leaf(Pm_ColMarkSave, run(C::MarkSave))}),
        leaf(Pm_ColMin, [this] { Pm_ColMinClick(); }),
    };
}

const std::vector<GridInput::PopupNode>& GridInput::popup(Popup kind) const {
    return popups_[static_cast<int>(kind)];
}

const GridInput::PopupNode* GridInput::findNode(const MenuItem& item) const {
    std::function<const PopupNode*(const std::vector<PopupNode>&)> find =
        [&](const std::vector<PopupNode>& nodes) -> const PopupNode* {
        for (const PopupNode& node : nodes) {
            if (node.item == &item) return &node;
            if (const PopupNode* found = find(node.children)) return found;
        }
        return nullptr;
    };
    for (const auto& nodes : popups_)
        if (const PopupNode* found = find(nodes)) return found;
    return nullptr;
}

bool GridInput::runItem(const MenuItem& item) {
    const PopupNode* node = findNode(item);
    if (!node || !node->command || !item.Enabled) return false;
    node->command();
    return true;
}

// ---- popup enabling -------------------------------------------------------------------------

void GridInput::pmGridPopup() {
    Pm_RangeClip.Enabled = true;
    Pm_RangeClipPaste.Enabled = Pm_RangeClipClr.Enabled =
        state().ClipKind != ClipContent::None || host_.clipboardHasText();
    applyAvailability(popups_[static_cast<int>(Popup::Cell)]);
}

void GridInput::pmFixedRowPopup() {
    const bool text = host_.clipboardHasText();
    Pm_RowInsertBoard.Enabled = text;
    Pm_RowClip.Enabled = true;
    Pm_RowClipPaste.Enabled = Pm_RowClipCopy.Enabled = Pm_RowClipMove.Enabled =
        state().ClipKind == ClipContent::Rows && state().ClipRange.valid();
    Pm_RowClipClr.Enabled = state().ClipRange.valid() || text;
    applyAvailability(popups_[static_cast<int>(Popup::Row)]);
}

void GridInput::pmFixedColPopup() {
    Pm_ColClip.Enabled = true;
    Pm_ColClipPaste.Enabled = Pm_ColClipCopy.Enabled = Pm_ColClipMove.Enabled =
        state().ClipKind == ClipContent::Columns && state().ClipRange.valid();
    Pm_ColClipClr.Enabled = state().ClipRange.valid() || host_.clipboardHasText();
    applyAvailability(popups_[static_cast<int>(Popup::Column)]);
}

void GridInput::updatePopups() {
    pmGridPopup();
    pmFixedRowPopup();
    pmFixedColPopup();
}

// ---- mouse ----------------------------------------------------------------------------------

void GridInput::removeUndoHighlight() {
    if (state().UndoHighlight.valid())
        state().UndoHighlight = GridRect(); // the window repaints after
}

void GridInput::rememberLastCell() {
    const StringGrid& g = grid();
    const GridRect& s = at().selection;
    const bool allCols = s.left <= g.fixedCols() && s.right >= g.colCount() - 1;
    const bool allRows = s.top <= g.fixedRows() && s.bottom >= g.rowCount() - 1;
    if (allCols || allRows) return;
    state().LastCellLeft = at().leftCol;
    state().LastCellTop = at().topRow;
    state().LastCellCol = at().col;
    state().LastCellRow = at().row;
}

void GridInput::GridMouseDown(MouseButton button, int x, int y) {
    removeUndoHighlight();
    rememberLastCell();
    StringGrid& g = grid();
    int c = -1, r = -1;
    if (!view_.cellAt(x, y, c, r)) c = r = -1;
    state().PopupCol = PressCol = c;
    state().PopupRow = PressRow = r;
    PressX = MouseX = x;
    PressY = MouseY = y;
    MouseCol = c;
    MouseRow = r;
    PressButton = button;
    const bool right = button == MouseButton::Right;

    // A right press anywhere after a press on a row label or column number keeps that popup,
    // so it acts again on the same operation range.
    const Popup previous = state().PopupKind;
    PrevPopupKind = previous;
    Popup kind = Popup::Cell;
    const bool fixedRow = r >= 0 && r < g.fixedRows();
    const bool fixedCol = c >= 0 && c < g.fixedCols();
    if (fixedRow && c >= g.fixedCols()) {
        kind = PrevPopupKind = Popup::Column;
    } else if (PrevPopupKind == Popup::Column && right) {
        kind = Popup::Column;
    }
    if (fixedCol && r > 0) {
        kind = PrevPopupKind = Popup::Row;
    } else if (PrevPopupKind == Popup::Row && right) {
        kind = Popup::Row;
    }
    state().PopupKind = kind;
    const bool corner = kind == Popup::Cell && (fixedRow || fixedCol);

    const GridRect& s = at().selection;
    if (kind == Popup::Column) Pm_ColMin.Enabled = s.right - s.left < 1;
    if (kind == Popup::Row)
        Pm_RowMin.Enabled = Pm_RowInsertFile.Enabled = Pm_RowInsertBoard.Enabled =
            s.bottom - s.top < 1;

    // A range of columns is no range of rows: switching between the two starts afresh.
    const bool otherAxis = (kind == Popup::Row && previous == Popup::Column) ||
                           (kind == Popup::Column && previous == Popup::Row);
    if (kind == Popup::Cell || !right || otherAxis) state().OperationRange = CellRange();
    if (kind == Popup::Row && !host_.inputOptions().moveRow && !state().OperationRange.set() &&
        r >= 0)
        startRowRange(r);
    if (kind == Popup::Column && !host_.inputOptions().moveCol && !state().OperationRange.set() &&
        c >= 0)
        startColRange(c);

    if (!right || c < 0 || r < 0 || corner) return;
    if (kind == Popup::Row && host_.inputOptions().moveRow) return;
    if (kind == Popup::Column && host_.inputOptions().moveCol) return;
    if (kind == Popup::Cell) pmGridPopup();
    if (kind == Popup::Row) pmFixedRowPopup();
    if (kind == Popup::Column) pmFixedColPopup();
    // The popup takes the button's release, which would otherwise have ended the drag.
    GridTimerEnabled = false;
    view_.openPopup(kind, x, y);
}

void GridInput::GridMouseMove(int x, int y) {
    MouseX = x;
    MouseY = y;
    if (!view_.cellAt(x, y, MouseCol, MouseRow)) MouseCol = MouseRow = -1;
    StringGrid& g = grid();
    // A width set by dragging the column's border is kept as the column's own.
    if (MouseRow >= 0 && MouseRow < g.fixedRows() && MouseCol >= g.fixedCols() &&
        MouseCol < static_cast<int>(host_.document().ColInfo.size()) &&
        g.colWidth(MouseCol) > 2 * host_.inputOptions().letterWidth)
        host_.document().ColInfo[MouseCol].Width = g.colWidth(MouseCol);
}

void GridInput::GridMouseUp() {
    GridTimerEnabled = false;
}

void GridInput::GridSelectCell(int, int) {
    rememberLastCell();
    state().PopupCol = state().PopupRow = -1;
}

void GridInput::GridDblClick() {
    StringGrid& g = grid();
    const int c = PressCol, r = PressRow;
    if (c < 0 || r < 0 || c != state().PopupCol || r != state().PopupRow) return;
    if (c < g.fixedCols() && r >= g.fixedRows()) {
        if (r < static_cast<int>(host_.document().RowFlags.size()))
            host_.document().RowFlags[r].Mark = host_.document().RowFlags[r].Mark ? 0 : 1;
    } else if (r < g.fixedRows() && c >= g.fixedCols()) {
        if (c < static_cast<int>(host_.document().ColInfo.size()))
            host_.document().ColInfo[c].Marked = host_.document().ColInfo[c].Marked ? 0 : 1;
        host_.marksChanged();
    } else if (c >= g.fixedCols() && r >= g.fixedRows()) {
        OpenMemo();
    }
}

// ---- the operation range --------------------------------------------------------------------

void GridInput::selectRange() {
    StringGrid& g = grid();
    const CellRange& range = state().OperationRange;
    GridRect want =
        state().PopupKind == Popup::Column
            ? GridRect{range.cols.first(), g.fixedRows(), range.cols.last(), g.rowCount() - 1}
            : GridRect{g.fixedCols(), range.rows.first(), g.colCount() - 1, range.rows.last()};
    if (at().selection == want) return;
    host_.selectClamped(want);
}

void GridInput::startRowRange(int row) {
    StringGrid& g = grid();
    state().OperationRange = {g.fixedCols(), row, g.colCount() - 1, row};
    host_.selectClamped(state().OperationRange.rect());
    GridTimerEnabled = true;
}

void GridInput::startColRange(int col) {
    StringGrid& g = grid();
    state().OperationRange = {col, g.fixedRows(), col, g.rowCount() - 1};
    host_.selectClamped(state().OperationRange.rect());
    GridTimerEnabled = true;
}

void GridInput::Pm_RowMinClick() {
    if (state().PopupRow < 0) return;
    state().PopupKind = Popup::Row;
    startRowRange(state().PopupRow);
}

void GridInput::Pm_ColMinClick() {
    if (state().PopupCol < 0) return;
    state().PopupKind = Popup::Column;
    startColRange(state().PopupCol);
}

Rect GridInput::rowRect(int row) {
    Rect rc = view_.cellRect(0, row);
    return rc.empty() ? view_.cellRect(at().leftCol, row) : rc;
}

Rect GridInput::colRect(int col) {
    Rect rc = view_.cellRect(col, 0);
    return rc.empty() ? view_.cellRect(col, at().topRow) : rc;
}

void GridInput::GridTimerTimer() {
    if (!GridTimerEnabled) return;
    // A command may have dropped the range while the mouse was still being followed.
    if (!state().OperationRange.set()) return;
    if (!view_.cellAt(MouseX, MouseY, MouseCol, MouseRow)) MouseCol = MouseRow = -1;
    if (state().PopupKind == Popup::Row) stretchRows();
    if (state().PopupKind == Popup::Column) stretchCols();
}

void GridInput::stretchRows() {
    StringGrid& g = grid();
    if (std::abs(MouseY - PressY) < halfRowZero(g)) return;
    CellRange& range = state().OperationRange;
    const int top = at().topRow;
    const int last =
        std::min(at().topRow + std::max(at().visibleRowCount, 1) - 1, g.rowCount() - 1);
    const Rect topRc = rowRect(top), lastRc = rowRect(last);
    if (!topRc.empty() && MouseY <= topRc.top && top > g.fixedRows()) {
        view_.setTopLeft(top - 1, at().leftCol);
        range.rows.end = at().topRow;
    } else if (!lastRc.empty() && MouseY >= lastRc.bottom() && last < g.rowCount() - 1) {
        view_.setTopLeft(top + 1, at().leftCol);
        range.rows.end = last;
    } else if (MouseRow >= g.fixedRows()) {
        range.rows.end = MouseRow;
    }
    selectRange();
}

void GridInput::stretchCols() {
    StringGrid& g = grid();
    if (std::abs(MouseX - PressX) < halfRowZero(g)) return;
    CellRange& range = state().OperationRange;
    const int left = at().leftCol;
    const int last =
        std::min(at().leftCol + std::max(at().visibleColCount, 1) - 1, g.colCount() - 1);
    const Rect leftRc = colRect(left), lastRc = colRect(last);
    if (!leftRc.empty() && MouseX <= leftRc.left && left > g.fixedCols()) {
        view_.setTopLeft(at().topRow, left - 1);
        range.cols.end = at().leftCol;
    } else if (!lastRc.empty() && MouseX >= lastRc.right() && last < g.colCount() - 1) {
        view_.setTopLeft(at().topRow, left + 1);
        range.cols.end = last;
    } else if (MouseCol >= g.fixedCols()) {
        range.cols.end = MouseCol;
    }
    selectRange();
}

// ---- keys -----------------------------------------------------------------------------------

bool GridInput::GridKeyDown(Key key) {
    updatePopups();
    removeUndoHighlight();
    const Popup kind = state().PopupKind;
    switch (key) {
    case Key::Delete:
        host_.runCommand(kind == Popup::Column ? C::ColDelete
                         : kind == Popup::Row  ? C::RowDelete
                                               : C::RangeRowDelete2);
        return true;
    case Key::Insert:
        host_.runCommand(kind == Popup::Column ? C::ColInsert
                         : kind == Popup::Row  ? C::RowInsert
                                               : C::RangeRowInsert2);
        return true;
    case Key::Escape:
        // One command cancels the clip whichever popup shows it.
        for (const MenuItem* item : {&Pm_RangeClipClr, &Pm_RowClipClr, &Pm_ColClipClr})
            if (runItem(*item)) return true;
        return false;
    case Key::Enter:
    case Key::Alt:
    case Key::Ime:
        OpenMemo();
        return true;
    case Key::Other:
        return false;
    }
    return false;
}

bool GridInput::GridKeyPress(int code) {
    updatePopups();
    switch (code) {
    case 3: // Ctrl+C
        return runItem(state().PopupKind == Popup::Column ? Pm_ColClip
                       : state().PopupKind == Popup::Row  ? Pm_RowClip
                                                          : Pm_RangeClip);
    case 24: // Ctrl+X
        return runItem(Pm_RangeClear);
    case 22: // Ctrl+V
        for (const MenuItem* item : {&Pm_RowClipPaste, &Pm_ColClipPaste, &Pm_RangeClipPaste})
            if (item->Enabled) return runItem(*item);
        return false;
    default:
        break;
    }
    if (code < 32 || code == 255) return false;
    // The keystroke that opens the memo is the first character of the edit. One CP932 lacks
    // becomes '?', as it would typed into the open memo.
    char bytes[2];
    const int length = cp932::encodeChar(static_cast<char32_t>(code), bytes);
    return GridTextInput(length > 0 ? std::string_view(bytes, static_cast<std::size_t>(length))
                                    : std::string_view("?"));
}

bool GridInput::GridTextInput(std::string_view typed) {
    if (typed.empty()) return false;
    removeUndoHighlight(); // a key press, though no key event came
    OpenMemo(typed);
    return true;
}

// ---- the memo editor ------------------------------------------------------------------------

void GridInput::OpenMemo(std::string_view typed) {
    mmMemo.open(at().col, at().row, typed);
}

bool GridInput::mmMemoKeyDown(Key key) {
    if (!mmMemo.Visible || (key != Key::Enter && key != Key::Escape)) return false;
    mmMemo.close(); // Esc keeps the edit as well
    advanceCursor();
    return true;
}

bool GridInput::mmMemoMouseDown(int x, int y) {
    return mmMemo.mouseDown(x, y);
}

void GridInput::mmMemoDblClick() {
    mmMemo.close();
}

void GridInput::mmMemoExit() {
    mmMemo.close();
}

// ---- the cursor -----------------------------------------------------------------------------

void GridInput::moveCursor(int col, int row) {
    if (col == at().col && row == at().row) return;
    at().setCurrent(col, row);
    view_.scrollToCell(col, row);
    GridSelectCell(col, row);
}

void GridInput::advanceCursor() {
    const StringGrid& g = grid();
    int c = at().col, r = at().row;
    const int firstCol = g.fixedCols(), lastCol = g.colCount() - 1;
    const int firstRow = g.fixedRows(), lastRow = g.rowCount() - 1;
    switch (host_.inputOptions().crNext) {
    case 1:
        if (r > firstRow) --r;
        break;
    case 2:
        if (r < lastRow) ++r;
        break;
    case 3:
        if (c > firstCol) {
            --c;
        } else {
            c = lastCol;
            if (r > firstRow) --r;
        }
        break;
    case 4:
        if (c < lastCol) {
            ++c;
        } else {
            c = firstCol;
            if (r < lastRow) ++r;
        }
        break;
    default:
        return;
    }
    moveCursor(c, r);
}

void GridInput::scbMinVertScroll(ScrollCode code) {
    const StringGrid& g = grid();
    if (code == ScrollCode::LineDown && at().row < g.rowCount() - 1)
        moveCursor(at().col, at().row + 1);
    if (code == ScrollCode::LineUp && at().row > g.fixedRows()) moveCursor(at().col, at().row - 1);
}

void GridInput::scbMinHorzScroll(ScrollCode code) {
    const StringGrid& g = grid();
    if (code == ScrollCode::LineDown && at().col < g.colCount() - 1)
        moveCursor(at().col + 1, at().row);
    if (code == ScrollCode::LineUp && at().col > g.fixedCols()) moveCursor(at().col - 1, at().row);
}

} // namespace kol
