#include "table/row_label.h"

namespace kol {

std::string RowLabel(long long n, bool blankIfNotPositive, const RowLabelRule& rule) {
    if (!rule.fixedRowSeq) n -= rule.titleRows;
    if (blankIfNotPositive && n <= 0) return {};
    return std::to_string(n);
}

std::string_view GroupedRowLabel(long long n, const RowLabelRule& rule, char (&out)[32]) {
    if (!rule.fixedRowSeq) n -= rule.titleRows;
    if (n <= 0) return {};
    char* end = out + sizeof out;
    char* at = end;
    for (int digits = 0; n > 0; n /= 10) {
        if (digits++ == 3) {
            *--at = ',';
            digits = 1;
        }
        *--at = static_cast<char>('0' + n % 10);
    }
    return std::string_view(at, static_cast<std::size_t>(end - at));
}

GroupedLabelCounter::GroupedLabelCounter(long long row, const RowLabelRule& rule)
    : n_(rule.fixedRowSeq ? row : row - rule.titleRows) {
    const std::string_view first = GroupedRowLabel(row, rule, buffer_);
    begin_ = buffer_ + sizeof buffer_ - first.size();
}

void GroupedLabelCounter::advance() {
    char* const end = buffer_ + sizeof buffer_;
    if (++n_ <= 1) {
        begin_ = end - (n_ == 1 ? 1 : 0);
        if (n_ == 1) end[-1] = '1';
        return;
    }
    int digits = 0;
    for (char* at = end - 1; at >= begin_; --at) {
        if (*at == ',') continue;
        ++digits;
        if (*at != '9') {
            ++*at;
            return;
        }
        *at = '0';
    }
    // Every digit was a 9: one more digit in front, after a comma when a group is full.
    if (digits % 3 == 0) *--begin_ = ',';
    *--begin_ = '1';
}

} // namespace kol
