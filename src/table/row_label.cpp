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

} // namespace kol
