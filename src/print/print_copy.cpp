#include "print/print_copy.h"

namespace kol::print {

PrintCopy::PrintCopy(const StringGrid& source, int sourceCharWidth) : grid_(&source) {
    heights_.resize(static_cast<std::size_t>(source.rowCount()));
    for (int r = 0; r < source.rowCount(); ++r)
        heights_[static_cast<std::size_t>(r)] = source.rowHeight(r);
    widths_.resize(static_cast<std::size_t>(source.colCount()));
    for (int c = 0; c < source.colCount(); ++c) {
        const int w = source.colWidth(c);
        widths_[static_cast<std::size_t>(c)] = w > 0 ? w + sourceCharWidth : w;
    }
    savedRow0Height_ = heights_.empty() ? 0 : heights_[0];
    savedCol0Width_ = widths_.empty() ? 0 : widths_[0];
}

void PrintCopy::showNumbers(bool rowNumbers, bool columnNumbers) {
    if (!widths_.empty()) widths_[0] = rowNumbers ? savedCol0Width_ : 0;
    if (!heights_.empty()) heights_[0] = columnNumbers ? savedRow0Height_ : 0;
}

std::size_t PrintCopy::memoryBytes() const {
    return sizeof(*this) + heights_.capacity() * sizeof(std::int32_t) +
           widths_.capacity() * sizeof(int) + breakBits_.memoryBytes();
}

} // namespace kol::print
