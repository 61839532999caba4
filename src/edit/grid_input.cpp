#include "edit/grid_input.h"

#include "text/cp932.h"
#include "app/kolumbra01.h"
#include "text/text_utils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace kol {

namespace {
using Rect = GridInputView::Rect;
using S = TFm_Kolumbra01::Sender;

void caption(MenuItem& item, const char* utf8) {
    item.Caption = sj(utf8);
}

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

std::string withoutLineBreaks(std::string_view text) {
    // CR and LF never occur inside a CP932 double-byte character, so bytes can go one by one.
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != '\r' && ch != '\n') out += ch;
    return out;
}

GridInput::GridInput(TFm_Kolumbra01& model, GridInputView& view) : m_(model), view_(view) {
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
    TFm_Kolumbra01& m = m_;
    auto leaf = [](MenuItem& item, std::function<void()> command = {}) {
        return PopupNode{&item, std::move(command), {}};
    };
    auto sub = [](MenuItem& item, std::vector<PopupNode> children) {
        return PopupNode{&item, {}, std::move(children)};
    };
    // Printing and the single-row editor come later.
    auto convert = [&m](S how) { return [&m, how] { m.Pm_StrCvtHanToZenClick(how); }; };
    popups_[CellPopup] = {
        leaf(Pm_RangeClip, [&m] { m.Pm_RangeClipClick(S::RangeClip); }),
        leaf(Pm_RangeClipPaste, [&m] { m.Pm_RangeClipPasteClick(S::RangeClipPaste); }),
        leaf(Pm_RangeClipClr, [&m] { m.Pm_RangeClipClrClick(); }),
        leaf(Pm_RangeClear, [&m] { m.Pm_RangeClearClick(); }),
        sub(Pm_StrConvert, {leaf(Pm_StrCvtHanToZen, convert(S::StrCvtHanToZen)),
                            leaf(Pm_StrCvtZenToHan, convert(S::StrCvtZenToHan)),
                            leaf(Pm_StrCvtHiraToKata, convert(S::StrCvtHiraToKata)),
                            leaf(Pm_StrCvtKataToHira, convert(S::StrCvtKataToHira))}),
        leaf(Pm_RangeRowInsert2, [&m] { m.Pm_RangeRowInsert2Click(); }),
        leaf(Pm_RangeRowCopy2, [&m] { m.Pm_RangeRowCopy2Click(); }),
        leaf(Pm_RangeRowDelete2, [&m] { m.Pm_RangeRowDelete2Click(); }),
        sub(Pm_RangePrint,
            {leaf(Pm_RangePrintCell), leaf(Pm_RangePrintRow), leaf(Pm_RangePrintCol)}),
        leaf(Pm_DispVertGrid),
    };
    popups_[RowPopup] = {
        sub(Pm_RowClipGroup,
            {leaf(Pm_RowClip, [&m] { m.Pm_RangeClipClick(S::RowClip); }),
             leaf(Pm_RowClipPaste, [&m] { m.Pm_RangeClipPasteClick(S::RowClipPaste); }),
             leaf(Pm_RowClipMove, [&m] { m.Pm_RowClipMoveClick(); }),
             leaf(Pm_RowClipCopy, [&m] { m.Pm_RowClipCopyClick(); }),
             leaf(Pm_RowClipClr, [&m] { m.Pm_RangeClipClrClick(); })}),
        leaf(Pm_RowInsert, [&m] { m.Pm_RowInsertClick(); }),
        leaf(Pm_RowCopy, [&m] { m.Pm_RowCopyClick(S::RowCopy); }),
        leaf(Pm_RowDelete, [&m] { m.Pm_RowDeleteClick(S::None); }),
        sub(Pm_RowImport,
            {leaf(Pm_RowInsertFile, [&m] { m.Pm_RowInsertFileClick(S::RowInsertFile); }),
             leaf(Pm_RowInsertBoard, [&m] { m.Pm_RowInsertFileClick(S::RowInsertBoard); })}),
        leaf(Pm_RowPrint),
        sub(Pm_RowMark,
            {leaf(Pm_RowMarkSet, [&m] { m.Pm_RowMarkSetClick(S::MarkSet); }),
             leaf(Pm_RowMarkClear, [&m] { m.Pm_RowMarkSetClick(S::MarkClear); }),
             leaf(Pm_RowMarkClearAll, [&m] { m.Pm_RowMarkSetClick(S::MarkClearAll); }),
             leaf(Pm_RowMarkPrint), leaf(Pm_RowMarkSave, [&m] { m.Mn_MarkSaveClick(); })}),
        leaf(Pm_RowMin, [this] { Pm_RowMinClick(); }),
    };
    popups_[ColPopup] = {
        sub(Pm_ColClipGroup,
            {leaf(Pm_ColClip, [&m] { m.Pm_RangeClipClick(S::ColClip); }),
             leaf(Pm_ColClipPaste, [&m] { m.Pm_RangeClipPasteClick(S::ColClipPaste); }),
             leaf(Pm_ColClipMove, [&m] { m.Pm_ColClipMoveClick(); }),
             leaf(Pm_ColClipCopy, [&m] { m.Pm_ColClipCopyClick(); }),
             leaf(Pm_ColClipClr, [&m] { m.Pm_RangeClipClrClick(); })}),
        leaf(Pm_ColInsert, [&m] { m.Pm_ColInsertClick(); }),
        leaf(Pm_ColCopy, [&m] { m.Pm_ColCopyClick(S::ColCopy); }),
        leaf(Pm_ColDelete, [&m] { m.Pm_ColDeleteClick(S::None); }),
        sub(Pm_ColView, {leaf(Pm_ColViewON, [&m] { m.Pm_ColViewONClick(S::ColViewON); }),
                         leaf(Pm_ColViewOFF, [&m] { m.Pm_ColViewONClick(S::ColViewOFF); })}),
        leaf(Pm_ColPrint),
        sub(Pm_ColMark,
            {leaf(Pm_ColMarkSet, [&m] { m.Pm_ColMarkSetClick(S::MarkSet); }),
             leaf(Pm_ColMarkClear, [&m] { m.Pm_ColMarkSetClick(S::MarkClear); }),
             leaf(Pm_ColMarkClearAll, [&m] { m.Pm_ColMarkSetClick(S::MarkClearAll); }),
             leaf(Pm_ColMarkPrint), leaf(Pm_ColMarkSave, [&m] { m.Mn_MarkSaveClick(); })}),
        leaf(Pm_ColMin, [this] { Pm_ColMinClick(); }),
    };
}

const std::vector<GridInput::PopupNode>& GridInput::popup(int kind) const {
    return popups_[std::clamp(kind, 0, 2)];
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
        m_.ClipKind != 0 || m_.clipboard().hasText();
    applyAvailability(popups_[CellPopup]);
}

void GridInput::pmFixedRowPopup() {
    const bool text = m_.clipboard().hasText();
    Pm_RowInsertBoard.Enabled = text;
    Pm_RowClip.Enabled = true;
    Pm_RowClipPaste.Enabled = Pm_RowClipCopy.Enabled = Pm_RowClipMove.Enabled =
        m_.ClipKind == 2 && m_.ClipRange.valid();
    Pm_RowClipClr.Enabled = m_.ClipRange.valid() || text;
    applyAvailability(popups_[RowPopup]);
}

void GridInput::pmFixedColPopup() {
    Pm_ColClip.Enabled = true;
    Pm_ColClipPaste.Enabled = Pm_ColClipCopy.Enabled = Pm_ColClipMove.Enabled =
        m_.ClipKind == 3 && m_.ClipRange.valid();
    Pm_ColClipClr.Enabled = m_.ClipRange.valid() || m_.clipboard().hasText();
    applyAvailability(popups_[ColPopup]);
}

void GridInput::updatePopups() {
    pmGridPopup();
    pmFixedRowPopup();
    pmFixedColPopup();
}

// ---- mouse ----------------------------------------------------------------------------------

void GridInput::removeUndoHighlight() {
    if (m_.UndoHighlight.valid()) m_.UndoHighlight = GridRect(); // the window repaints after
}

void GridInput::rememberLastCell() {
    const StringGrid& g = m_.Grid;
    const GridRect& s = g.selection;
    const bool allCols = s.left <= g.fixedCols() && s.right >= g.colCount() - 1;
    const bool allRows = s.top <= g.fixedRows() && s.bottom >= g.rowCount() - 1;
    if (allCols || allRows) return;
    m_.LastCellLeft = g.leftCol;
    m_.LastCellTop = g.topRow;
    m_.LastCellCol = g.col;
    m_.LastCellRow = g.row;
}

void GridInput::GridMouseDown(MouseButton button, int x, int y) {
    removeUndoHighlight();
    rememberLastCell();
    StringGrid& g = m_.Grid;
    int c = -1, r = -1;
    if (!view_.cellAt(x, y, c, r)) c = r = -1;
    m_.PopupCol = PressCol = c;
    m_.PopupRow = PressRow = r;
    PressX = MouseX = x;
    PressY = MouseY = y;
    MouseCol = c;
    MouseRow = r;
    PressButton = button;
    const bool right = button == MouseButton::Right;

    // A right press anywhere after a press on a row label or column number keeps that popup,
    // so it acts again on the same operation range.
    const std::uint8_t previous = m_.PopupKind;
    PrevPopupKind = previous;
    std::uint8_t kind = CellPopup;
    const bool fixedRow = r >= 0 && r < g.fixedRows();
    const bool fixedCol = c >= 0 && c < g.fixedCols();
    if (fixedRow && c >= g.fixedCols()) {
        kind = PrevPopupKind = ColPopup;
    } else if (PrevPopupKind == ColPopup && right) {
        kind = ColPopup;
    }
    if (fixedCol && r > 0) {
        kind = PrevPopupKind = RowPopup;
    } else if (PrevPopupKind == RowPopup && right) {
        kind = RowPopup;
    }
    m_.PopupKind = kind;
    const bool corner = kind == CellPopup && (fixedRow || fixedCol);

    const GridRect& s = g.selection;
    if (kind == ColPopup) Pm_ColMin.Enabled = s.right - s.left < 1;
    if (kind == RowPopup)
        Pm_RowMin.Enabled = Pm_RowInsertFile.Enabled = Pm_RowInsertBoard.Enabled =
            s.bottom - s.top < 1;

    // A range of columns is no range of rows: switching between the two starts afresh.
    const bool otherAxis =
        (kind == RowPopup && previous == ColPopup) || (kind == ColPopup && previous == RowPopup);
    if (kind == CellPopup || !right || otherAxis) m_.OperationRange = GridRect();
    if (kind == RowPopup && !m_.Chk_MoveRow.Checked && !m_.OperationRange.valid() && r >= 0)
        startRowRange(r);
    if (kind == ColPopup && !m_.Chk_MoveCol.Checked && !m_.OperationRange.valid() && c >= 0)
        startColRange(c);

    if (!right || c < 0 || r < 0 || corner) return;
    if (kind == RowPopup && m_.Chk_MoveRow.Checked) return;
    if (kind == ColPopup && m_.Chk_MoveCol.Checked) return;
    if (kind == CellPopup) pmGridPopup();
    if (kind == RowPopup) pmFixedRowPopup();
    if (kind == ColPopup) pmFixedColPopup();
    // The popup takes the button's release, which would otherwise have ended the drag.
    GridTimerEnabled = false;
    view_.openPopup(kind, x, y);
}

void GridInput::GridMouseMove(int x, int y) {
    MouseX = x;
    MouseY = y;
    if (!view_.cellAt(x, y, MouseCol, MouseRow)) MouseCol = MouseRow = -1;
    StringGrid& g = m_.Grid;
    // A width set by dragging the column's border is kept as the column's own.
    if (MouseRow >= 0 && MouseRow < g.fixedRows() && MouseCol >= g.fixedCols() &&
        MouseCol < static_cast<int>(m_.ColInfo.size()) && g.colWidth(MouseCol) > 2 * m_.LetterWidth)
        m_.ColInfo[MouseCol].Width = g.colWidth(MouseCol);
}

void GridInput::GridMouseUp() {
    GridTimerEnabled = false;
}

void GridInput::GridSelectCell(int, int) {
    rememberLastCell();
    m_.PopupCol = m_.PopupRow = -1;
}

void GridInput::GridDblClick() {
    StringGrid& g = m_.Grid;
    const int c = PressCol, r = PressRow;
    if (c < 0 || r < 0 || c != m_.PopupCol || r != m_.PopupRow) return;
    if (c < g.fixedCols() && r >= g.fixedRows()) {
        if (r < static_cast<int>(m_.RowFlags.size()))
            m_.RowFlags[r].Mark = m_.RowFlags[r].Mark ? 0 : 1;
    } else if (r < g.fixedRows() && c >= g.fixedCols()) {
        if (c < static_cast<int>(m_.ColInfo.size()))
            m_.ColInfo[c].Marked = m_.ColInfo[c].Marked ? 0 : 1;
        m_.UpdateCaptions();
    } else if (c >= g.fixedCols() && r >= g.fixedRows()) {
        OpenMemo();
    }
}

// ---- the operation range --------------------------------------------------------------------

void GridInput::selectRange() {
    StringGrid& g = m_.Grid;
    const GridRect& range = m_.OperationRange;
    GridRect want = m_.PopupKind == ColPopup
                        ? GridRect{std::min(range.left, range.right), g.fixedRows(),
                                   std::max(range.left, range.right), g.rowCount() - 1}
                        : GridRect{g.fixedCols(), std::min(range.top, range.bottom),
                                   g.colCount() - 1, std::max(range.top, range.bottom)};
    if (g.selection == want) return;
    m_.selectClamped(want);
}

void GridInput::startRowRange(int row) {
    StringGrid& g = m_.Grid;
    m_.OperationRange = {g.fixedCols(), row, g.colCount() - 1, row};
    m_.selectClamped(m_.OperationRange);
    GridTimerEnabled = true;
}

void GridInput::startColRange(int col) {
    StringGrid& g = m_.Grid;
    m_.OperationRange = {col, g.fixedRows(), col, g.rowCount() - 1};
    m_.selectClamped(m_.OperationRange);
    GridTimerEnabled = true;
}

void GridInput::Pm_RowMinClick() {
    if (m_.PopupRow < 0) return;
    m_.PopupKind = RowPopup;
    startRowRange(m_.PopupRow);
}

void GridInput::Pm_ColMinClick() {
    if (m_.PopupCol < 0) return;
    m_.PopupKind = ColPopup;
    startColRange(m_.PopupCol);
}

Rect GridInput::rowRect(int row) {
    Rect rc = view_.cellRect(0, row);
    return rc.empty() ? view_.cellRect(m_.Grid.leftCol, row) : rc;
}

Rect GridInput::colRect(int col) {
    Rect rc = view_.cellRect(col, 0);
    return rc.empty() ? view_.cellRect(col, m_.Grid.topRow) : rc;
}

void GridInput::GridTimerTimer() {
    if (!GridTimerEnabled) return;
    // A command may have dropped the range while the mouse was still being followed.
    if (!m_.OperationRange.valid()) return;
    if (!view_.cellAt(MouseX, MouseY, MouseCol, MouseRow)) MouseCol = MouseRow = -1;
    if (m_.PopupKind == RowPopup) stretchRows();
    if (m_.PopupKind == ColPopup) stretchCols();
}

void GridInput::stretchRows() {
    StringGrid& g = m_.Grid;
    if (std::abs(MouseY - PressY) < halfRowZero(g)) return;
    GridRect& range = m_.OperationRange;
    const int top = g.topRow;
    const int last = std::min(g.topRow + std::max(g.visibleRowCount, 1) - 1, g.rowCount() - 1);
    const Rect topRc = rowRect(top), lastRc = rowRect(last);
    if (!topRc.empty() && MouseY <= topRc.top && top > g.fixedRows()) {
        view_.setTopLeft(top - 1, g.leftCol);
        range.bottom = g.topRow;
    } else if (!lastRc.empty() && MouseY >= lastRc.bottom() && last < g.rowCount() - 1) {
        view_.setTopLeft(top + 1, g.leftCol);
        range.bottom = last;
    } else if (MouseRow >= g.fixedRows()) {
        range.bottom = MouseRow;
    }
    selectRange();
}

void GridInput::stretchCols() {
    StringGrid& g = m_.Grid;
    if (std::abs(MouseX - PressX) < halfRowZero(g)) return;
    GridRect& range = m_.OperationRange;
    const int left = g.leftCol;
    const int last = std::min(g.leftCol + std::max(g.visibleColCount, 1) - 1, g.colCount() - 1);
    const Rect leftRc = colRect(left), lastRc = colRect(last);
    if (!leftRc.empty() && MouseX <= leftRc.left && left > g.fixedCols()) {
        view_.setTopLeft(g.topRow, left - 1);
        range.right = g.leftCol;
    } else if (!lastRc.empty() && MouseX >= lastRc.right() && last < g.colCount() - 1) {
        view_.setTopLeft(g.topRow, left + 1);
        range.right = last;
    } else if (MouseCol >= g.fixedCols()) {
        range.right = MouseCol;
    }
    selectRange();
}

// ---- keys -----------------------------------------------------------------------------------

bool GridInput::GridKeyDown(Key key) {
    updatePopups();
    removeUndoHighlight();
    const std::uint8_t kind = m_.PopupKind;
    switch (key) {
    case Key::Delete:
        if (kind == ColPopup)
            m_.Pm_ColDeleteClick(S::None);
        else if (kind == RowPopup)
            m_.Pm_RowDeleteClick(S::None);
        else
            m_.Pm_RangeRowDelete2Click();
        return true;
    case Key::Insert:
        if (kind == ColPopup)
            m_.Pm_ColInsertClick();
        else if (kind == RowPopup)
            m_.Pm_RowInsertClick();
        else
            m_.Pm_RangeRowInsert2Click();
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
        return runItem(m_.PopupKind == ColPopup   ? Pm_ColClip
                       : m_.PopupKind == RowPopup ? Pm_RowClip
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
    OpenMemo(); // the typed character is not put into the memo
    return true;
}

// ---- the memo editor ------------------------------------------------------------------------

void GridInput::OpenMemo() {
    if (mmMemo.Visible) return;
    StringGrid& g = m_.Grid;
    const int c = g.col, r = g.row;
    if (c < g.fixedCols() || r < g.fixedRows() || c >= g.colCount() || r >= g.rowCount()) return;
    view_.scrollToCell(c, r);
    const Rect cell = view_.cellRect(c, r);
    if (cell.empty()) return;
    Rect place{cell.left, cell.top, g.colWidth(c) + 1,
               std::max(g.rowHeight(r), static_cast<int>(std::lround(3.0 * g.rowHeight(0) + 3)))};
    const int bottom = view_.gridHeight();
    if (place.bottom() > bottom) place.top = std::max(0, bottom - place.height);
    mmMemo.Text = std::string(g.cell(c, r));
    mmMemo.Col = c;
    mmMemo.Row = r;
    mmMemo.Place = place;
    mmMemo.Visible = true;
    view_.showMemo(mmMemo.Text, place);
}

void GridInput::closeMemo() {
    if (!mmMemo.Visible) return;
    const std::string text = view_.memoText();
    mmMemo.Visible = false; // first: hiding moves the focus, which reports a second exit
    view_.hideMemo();
    m_.host().focusGrid();
    commitMemo(text);
}

void GridInput::commitMemo(const std::string& memoText) {
    StringGrid& g = m_.Grid;
    // The cell the memo was opened on, even if the cursor has moved since.
    const int c = mmMemo.Col, r = mmMemo.Row;
    if (c < g.fixedCols() || r < g.fixedRows() || c >= g.colCount() || r >= g.rowCount()) return;
    const std::string text = withoutLineBreaks(memoText);
    if (text == g.cell(c, r)) return;
    m_.RecordCell(HkCellEdit, c, r);
    g.setCell(c, r, text);
    m_.Modified = 1;
    const int width = m_.ColumnWidthFor(g.colWidth(c), static_cast<double>(text.size()));
    if (width != -1) g.setColWidth(c, width);
    // The key column's copy in column 1 shows the new value too.
    const int key = m_.Cmb_FixedCol.ItemIndex;
    if (key > 0 && c == key + 1 && g.fixedCols() > 1) g.setCell(1, r, " " + Trim(text));
    m_.RecomputeBreakColours(c, r);
}

bool GridInput::mmMemoKeyDown(Key key) {
    if (!mmMemo.Visible || (key != Key::Enter && key != Key::Escape)) return false;
    closeMemo(); // Esc keeps the edit as well
    advanceCursor();
    return true;
}

bool GridInput::mmMemoMouseDown(int x, int y) {
    if (!m_.doubleClick().IsDoubleClick(x, y) || !mmMemo.Visible) return false;
    closeMemo();
    return true;
}

void GridInput::mmMemoDblClick() {
    closeMemo();
}

void GridInput::mmMemoExit() {
    closeMemo();
}

// ---- the cursor -----------------------------------------------------------------------------

void GridInput::moveCursor(int col, int row) {
    StringGrid& g = m_.Grid;
    if (col == g.col && row == g.row) return;
    g.setCurrent(col, row);
    view_.scrollToCell(col, row);
    GridSelectCell(col, row);
}

void GridInput::advanceCursor() {
    const StringGrid& g = m_.Grid;
    int c = g.col, r = g.row;
    const int firstCol = g.fixedCols(), lastCol = g.colCount() - 1;
    const int firstRow = g.fixedRows(), lastRow = g.rowCount() - 1;
    switch (m_.crNextIndex()) {
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
    const StringGrid& g = m_.Grid;
    if (code == ScrollCode::LineDown && g.row < g.rowCount() - 1) moveCursor(g.col, g.row + 1);
    if (code == ScrollCode::LineUp && g.row > g.fixedRows()) moveCursor(g.col, g.row - 1);
}

void GridInput::scbMinHorzScroll(ScrollCode code) {
    const StringGrid& g = m_.Grid;
    if (code == ScrollCode::LineDown && g.col < g.colCount() - 1) moveCursor(g.col + 1, g.row);
    if (code == ScrollCode::LineUp && g.col > g.fixedCols()) moveCursor(g.col - 1, g.row);
}

} // namespace kol
