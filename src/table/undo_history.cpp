#include "table/undo_history.h"

#include "text/cp932.h"

namespace kol {

std::string UndoEntry::name() const {
    switch (kind_) {
    case HistoryKind::RowDelete:
        return sj("行削除");
    case HistoryKind::RowInsert:
        return sj("行挿入");
    case HistoryKind::RowCopy:
        return sj("行複写");
    case HistoryKind::ColDelete:
        return sj("列削除");
    case HistoryKind::ColInsert:
    case HistoryKind::ColAppend:
        return sj("列挿入");
    case HistoryKind::ColCopy:
        return sj("列複写");
    case HistoryKind::RangeClear:
        return sj("範囲クリアー");
    case HistoryKind::RangeConvert:
        return sj("範囲文字変換");
    case HistoryKind::RangePaste:
        return sj("範囲貼り付け");
    case HistoryKind::RowDrag:
    case HistoryKind::RowClipMove:
        return sj("行移動");
    case HistoryKind::ColDrag:
    case HistoryKind::ColClipMove:
        return sj("列移動");
    case HistoryKind::CellEdit:
    case HistoryKind::RecordCellEdit:
        break;
    }
    return sj("？");
}

void UndoHistory::push(std::unique_ptr<UndoEntry> entry) {
    entries_.push_back(std::move(entry));
    if (entries_.size() > kLimit) {
        entries_.erase(entries_.begin());
        // Its partner is gone: what is left is taken back on its own.
        entries_.front()->setJoinsPrevious(false);
    }
}

std::unique_ptr<UndoEntry> UndoHistory::takeNewest() {
    std::unique_ptr<UndoEntry> entry = std::move(entries_.back());
    entries_.pop_back();
    return entry;
}

std::size_t UndoHistory::menuNumber() const {
    if (entries_.empty()) return 0;
    const UndoScope scope = entries_.back()->scope();
    if (scope == UndoScope::Table) return entries_.size();
    std::size_t run = 0;
    for (auto it = entries_.rbegin(); it != entries_.rend() && (*it)->scope() == scope; ++it) ++run;
    return run;
}

void UndoHistory::clear() {
    std::vector<std::unique_ptr<UndoEntry>>().swap(entries_);
}

std::size_t UndoHistory::savedBytes() const {
    std::size_t bytes = entries_.capacity() * sizeof(entries_[0]);
    for (const auto& entry : entries_) bytes += entry->savedBytes();
    return bytes;
}

} // namespace kol
