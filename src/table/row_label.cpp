#include "table/row_label.h"

namespace kol {

std::string RowLabel(long long n, bool blankIfNotPositive, const RowLabelRule& rule) {
    if (!rule.fixedRowSeq) n -= rule.titleRows;
    if (blankIfNotPositive && n <= 0) return {};
    return std::to_string(n);
}

} // namespace kol
