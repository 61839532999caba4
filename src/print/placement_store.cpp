#include "print/placement_store.h"

#include <algorithm>

namespace kol::print {

void PlacementStore::reset(int columns, std::vector<std::int32_t> rowHeights, int rowsToLayOut) {
    heights_ = std::move(rowHeights);
    rowsToLayOut_ = std::clamp(rowsToLayOut, 0, rowCount());
    const auto n = static_cast<std::size_t>(std::max(columns, 0));
    left_.assign(n, -1);
    right_.assign(n, -1);
    group_.assign(n, -1);
    groups_.clear();
    order_.clear();
}

int PlacementStore::groupFor(int firstColumn) {
    for (int g : order_)
        if (groups_[static_cast<std::size_t>(g)].firstColumn == firstColumn) return g;
    const int g = static_cast<int>(groups_.size());
    // Every strip lays out every group, so each group holds all rows to lay out.
    Group grp;
    grp.firstColumn = firstColumn;
    const auto rows = static_cast<std::size_t>(rowsToLayOut_);
    grp.page.assign(rows, 0);
    grp.top.assign(rows, 0);
    grp.band.assign(rows, 0);
    groups_.push_back(std::move(grp));
    const auto at = std::find_if(order_.begin(), order_.end(), [&](int other) {
        return groups_[static_cast<std::size_t>(other)].firstColumn > firstColumn;
    });
    order_.insert(at, g);
    return g;
}

void PlacementStore::place(int group, int column, int row, int page, int band,
                           const CellRect& rect) {
    Group& grp = groups_[static_cast<std::size_t>(group)];
    const auto c = static_cast<std::size_t>(column);
    const auto r = static_cast<std::size_t>(row);
    left_[c] = rect.left;
    right_[c] = rect.right;
    group_[c] = group;
    if (column > grp.lastColumn) grp.lastColumn = column;
    grp.right = std::max(grp.right, rect.right);
    if (r >= grp.page.size()) { // beyond the rows to lay out: not met by the layout
        grp.page.resize(r + 1, 0);
        grp.top.resize(r + 1, 0);
        grp.band.resize(r + 1, 0);
    }
    grp.page[r] = page;
    grp.top[r] = rect.top;
    grp.band[r] = static_cast<std::uint8_t>(band);
}

CellPlacement PlacementStore::placement(int column, int row) const {
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount()) return {};
    const auto c = static_cast<std::size_t>(column);
    const auto r = static_cast<std::size_t>(row);
    const int g = group_[c];
    if (g < 0) return {};
    const Group& grp = groups_[static_cast<std::size_t>(g)];
    if (r >= grp.page.size() || grp.page[r] <= 0) return {};
    return {grp.page[r], grp.band[r],
            CellRect{left_[c], grp.top[r], right_[c], grp.top[r] + heights_[r]}};
}

PlacementStore PlacementStore::truncatedCopy(int lastRow) const {
    PlacementStore copy = *this;
    const auto keep = static_cast<std::size_t>(std::max(lastRow + 1, 0));
    for (Group& grp : copy.groups_) {
        if (grp.page.size() > keep) {
            grp.page.resize(keep);
            grp.top.resize(keep);
            grp.band.resize(keep);
        }
        grp.page.shrink_to_fit();
        grp.top.shrink_to_fit();
        grp.band.shrink_to_fit();
    }
    return copy;
}

std::size_t PlacementStore::memoryBytes() const {
    std::size_t bytes =
        sizeof(*this) + heights_.capacity() * sizeof(std::int32_t) +
        (left_.capacity() + right_.capacity() + group_.capacity()) * sizeof(std::int32_t) +
        order_.capacity() * sizeof(int) + groups_.capacity() * sizeof(Group);
    for (const Group& grp : groups_)
        bytes +=
            (grp.page.capacity() + grp.top.capacity()) * sizeof(std::int32_t) + grp.band.capacity();
    return bytes;
}

} // namespace kol::print
