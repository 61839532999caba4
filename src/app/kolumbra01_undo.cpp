// The undo history: recording before every edit, and taking edits back newest first.
#include "text/cp932.h"
#include "app/kolumbra01.h"

#include "table/move_item.h"

#include <algorithm>

namespace kol {

namespace {
FieldBuffer saveCells(const StringGrid& g, GridRect r) {
    FieldBuffer saved;
    for (int row = r.top; row <= r.bottom; ++row)
        for (int c = r.left; c <= r.right; ++c) {
            saved.bytes.append(g.cell(c, row));
            saved.ends.push_back(static_cast<std::uint32_t>(saved.bytes.size()));
        }
    return saved;
}

} // namespace

std::size_t TFm_Kolumbra01::historySize() const {
    return HistoryList.size();
}

void TFm_Kolumbra01::ClearHistory(bool removeHighlight) {
    HistoryList.clear();
    // The memory of a large delete goes with it (clear() would keep the capacity).
    std::vector<FieldBuffer>().swap(HistoryData);
    std::vector<THistInf>().swap(HistoryInfo);
    if (removeHighlight) UndoHighlight = GridRect();
    updateUndoMenu();
}

void TFm_Kolumbra01::RecordRowsOrColumns(int kind, int first, int count) {
    auto entry = std::make_unique<THistCtl>();
    entry->kind = static_cast<std::uint8_t>(kind);
    entry->first = first;
    entry->count = count;
    entry->modified = Modified == 1;
    for (int i = 0; i < count; ++i) {
        THistInf info;
        FieldBuffer saved;
        if (kind == HkRowDelete || kind == HkRowClipMove) {
            const int r = first + i;
            saved = saveCells(Grid, {0, r, Grid.colCount() - 1, r});
            info.rowHeight = Grid.rowHeight(r);
            if (r < static_cast<int>(RowFlags.size())) info.rowFlags = RowFlags[r];
        } else if (kind == HkColDelete || kind == HkColClipMove) {
            const int c = first + i;
            saved = saveCells(Grid, {c, 0, c, Grid.rowCount() - 1});
            info.colWidth = Grid.colWidth(c);
            if (c < static_cast<int>(ColInfo.size())) info.colInfo = ColInfo[c];
        }
        HistoryData.push_back(std::move(saved));
        HistoryInfo.push_back(info);
    }
    HistoryList.push_back(std::move(entry));
    if (HistoryList.size() > kHistoryLimit) {
        const int drop = HistoryList.front()->count;
        HistoryData.erase(HistoryData.begin(), HistoryData.begin() + drop);
        HistoryInfo.erase(HistoryInfo.begin(), HistoryInfo.begin() + drop);
        HistoryList.erase(HistoryList.begin());
    }
    updateUndoMenu();
}

void TFm_Kolumbra01::RecordRange(int kind, GridRect rect) {
    RecordRowsOrColumns(kind, 0, 0);
    THistCtl& entry = *HistoryList.back();
    entry.rect = rect;
    entry.count = 1;
    HistoryData.push_back(saveCells(Grid, rect));
    HistoryInfo.emplace_back();
}

void TFm_Kolumbra01::RecordCell(int kind, int column, int row) {
    RecordRowsOrColumns(kind, 0, 0);
    THistCtl& entry = *HistoryList.back();
    entry.cellCol = column;
    entry.cellRow = row;
    entry.oldText = Grid.cell(column, row);
    updateUndoMenu();
}

void TFm_Kolumbra01::RecordMove(int kind, int from, int to) {
    RecordRowsOrColumns(kind, 0, 0);
    THistCtl& entry = *HistoryList.back();
    entry.cellCol = from;
    entry.cellRow = to;
}

void TFm_Kolumbra01::DropEditorEntries() {
    while (!HistoryList.empty() && HistoryList.back()->kind == HkVertCellEdit)
        HistoryList.pop_back();
    updateUndoMenu();
}

void TFm_Kolumbra01::updateUndoMenu() {
    for (MenuItem* item : {&Mn_Undo, &Mn2_Undo}) {
        item->Enabled = false;
        item->Caption = sj("元に戻す");
    }
    Mn2_Undo.Caption = sj("元に戻す(&U)");
    if (HistoryList.empty()) return;
    const THistCtl& newest = *HistoryList.back();
    std::size_t number = HistoryList.size();
    if (newest.kind == HkVertCellEdit) {
        number = 0;
        for (auto it = HistoryList.rbegin();
             it != HistoryList.rend() && (*it)->kind == HkVertCellEdit; ++it)
            ++number;
    }
    MenuItem& item = newest.kind == HkVertCellEdit ? Mn2_Undo : Mn_Undo;
    item.Caption = sj("元に戻す  ") + "#" + std::to_string(number) + sj("  【") +
                   historyName(newest) + sj("】");
    item.Enabled = true;
}

void TFm_Kolumbra01::selectAndShow(GridRect rect) {
    OperationRange = rect;
    selectClamped(rect);
    UndoHighlight = Grid.selection;
    const GridRect& r = Grid.selection;
    if (Grid.topRow >= r.top || r.top >= Grid.topRow + Grid.visibleRowCount - 1)
        Grid.topRow = r.top - 1 > Grid.fixedRows() ? r.top - 1 : r.top;
    if (Grid.leftCol >= r.left || r.left >= Grid.leftCol + Grid.visibleColCount - 1)
        Grid.leftCol = std::max(r.left - 1, Grid.fixedCols());
}

void TFm_Kolumbra01::Mn_UndoClick() {
    OperationRange = GridRect();
    host_.setBusy(true);
    if (undoStep()) undoStep();
    host_.setBusy(false);
}

bool TFm_Kolumbra01::undoStep() {
    if (HistoryList.empty()) return false;
    const THistCtl e = *HistoryList.back();
    const std::size_t base = HistoryData.size() - static_cast<std::size_t>(e.count);
    bool pair = false;
    const GridRect rows{Grid.fixedCols(), e.first, Grid.colCount() - 1, e.first + e.count - 1};
    switch (e.kind) {
    case HkVertCellEdit:
        break; // the single-row editor takes these back itself
    case HkCellEdit:
        Grid.setCell(e.cellCol, e.cellRow, e.oldText);
        RecomputeBreakColours(e.cellCol, e.cellRow);
        selectAndShow({e.cellCol, e.cellRow, e.cellCol, e.cellRow});
        break;
    case HkRowInsert:
    case HkRowCopy:
        deleteRowsAt(e.first, e.count, false);
        selectAndShow({Grid.fixedCols(), e.first, Grid.colCount() - 1, e.first + e.count - 1});
        break;
    case HkRowDelete:
    case HkRowClipMove: {
        insertRowsAt(e.first, e.count);
        for (int i = 0; i < e.count; ++i) {
            const FieldBuffer& saved = HistoryData[base + i];
            std::vector<std::string_view> cells;
            for (std::size_t k = 0; k < saved.size(); ++k) cells.push_back(saved.field(k));
            Grid.setRowCells(e.first + i, cells);
            Grid.setRowHeight(e.first + i, HistoryInfo[base + i].rowHeight);
            RowFlags[e.first + i] = HistoryInfo[base + i].rowFlags;
        }
        RefreshAfterStructureChange();
        if (e.kind == HkRowClipMove) {
            ClipRange = GridRect();
            ClipKind = 0;
            pair = true;
        } else {
            RecomputeBreakColours(-1, e.first);
            selectAndShow(rows);
        }
        break;
    }
    case HkColInsert:
    case HkColAppend:
    case HkColCopy:
        deleteColsAt(e.first, e.count, false);
        pair = e.kind == HkColAppend;
        selectAndShow({e.first, Grid.fixedRows(), e.first + e.count - 1, Grid.rowCount() - 1});
        break;
    case HkColDelete:
    case HkColClipMove: {
        const StringGrid::ColumnSource source = [&](int r, int j) {
            const FieldBuffer& saved = HistoryData[base + j];
            return r < static_cast<int>(saved.size()) ? saved.field(r) : std::string_view();
        };
        insertColsAt(e.first, e.count, false, -1, &source);
        for (int i = 0; i < e.count; ++i) {
            Grid.setColWidth(e.first + i, HistoryInfo[base + i].colWidth);
            ColInfo[e.first + i] = HistoryInfo[base + i].colInfo;
        }
        RefreshAfterStructureChange();
        recomputeBreakColumns(e.first, Grid.colCount() - 1);
        if (e.kind == HkColClipMove) {
            ClipRange = GridRect();
            ClipKind = 0;
            pair = true;
        } else {
            selectAndShow({e.first, Grid.fixedRows(), e.first + e.count - 1, Grid.rowCount() - 1});
        }
        break;
    }
    case HkRangeClear:
    case HkRangeConvert:
    case HkRangePaste: {
        const FieldBuffer& saved = HistoryData[base];
        const std::size_t width = static_cast<std::size_t>(e.rect.right - e.rect.left + 1);
        Grid.rewriteRect(e.rect, [&](int c, int r, std::string_view) {
            // The saved cells run row by row over the whole rectangle, inside the table or not.
            std::size_t k = static_cast<std::size_t>(r - e.rect.top) * width +
                            static_cast<std::size_t>(c - e.rect.left);
            return k < saved.size() ? std::string(saved.field(k)) : std::string();
        });
        for (int c = e.rect.left; c <= e.rect.right; ++c) RecomputeBreakColours(c, e.rect.top);
        selectAndShow(e.rect);
        break;
    }
    case HkRowDrag:
        Grid.moveRow(e.cellRow, e.cellCol);
        moveItem(RowFlags, e.cellRow, e.cellCol);
        RenumberRowLabels();
        selectAndShow({Grid.fixedCols(), e.cellCol, Grid.colCount() - 1, e.cellCol});
        break;
    case HkColDrag:
        Grid.moveCol(e.cellRow, e.cellCol);
        moveItem(ColInfo, e.cellRow, e.cellCol);
        RefreshAfterStructureChange();
        selectAndShow({e.cellCol, Grid.fixedRows(), e.cellCol, Grid.rowCount() - 1});
        break;
    default:
        break;
    }
    if (e.kind != HkVertCellEdit) host_.focusGrid();
    Modified = e.modified ? 1 : 0;
    HistoryData.resize(base);
    HistoryInfo.resize(base);
    HistoryList.pop_back();
    if (HistoryList.empty())
        ClearHistory(false);
    else
        updateUndoMenu();
    return pair;
}

} // namespace kol
