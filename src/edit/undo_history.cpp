#include "edit/undo_history.h"

#include "text/cp932.h"

namespace kol {

std::string historyName(const THistCtl& entry) {
    switch (entry.kind) {
    case HkRowDelete:
        return sj("行削除");
    case HkRowInsert:
        return sj("行挿入");
    case HkRowCopy:
        return sj("行複写");
    case HkColDelete:
        return sj("列削除");
    case HkColInsert:
    case HkColAppend:
        return sj("列挿入");
    case HkColCopy:
        return sj("列複写");
    case HkRangeClear:
        return sj("範囲クリアー");
    case HkRangeConvert:
        return sj("範囲文字変換");
    case HkRangePaste:
        return sj("範囲貼り付け");
    case HkCellEdit:
    case HkVertCellEdit:
        return entry.oldText.substr(0, 20);
    case HkRowDrag:
    case HkRowClipMove:
        return sj("行移動");
    case HkColDrag:
    case HkColClipMove:
        return sj("列移動");
    default:
        return sj("？");
    }
}

} // namespace kol
