// Row labels of column 0: title rows carry no number unless numbering starts at the fixed rows.
#pragma once

#include <string>

namespace kol {

struct RowLabelRule {
    bool fixedRowSeq = false; // number from the first row, title rows included
    int titleRows = 1;        // item index of the fixed-rows choice
};

std::string RowLabel(long long n, bool blankIfNotPositive, const RowLabelRule& rule);

} // namespace kol
