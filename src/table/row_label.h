// Row labels of column 0: title rows carry no number unless numbering starts at the fixed rows.
#pragma once

#include <string>
#include <string_view>

namespace kol {

struct RowLabelRule {
    bool fixedRowSeq = false; // number from the first row, title rows included
    int titleRows = 1;        // item index of the fixed-rows choice
    bool operator==(const RowLabelRule&) const = default;
};

std::string RowLabel(long long n, bool blankIfNotPositive, const RowLabelRule& rule);

// GroupThousands(RowLabel(n, true, rule)) written into `out` without a string per row, for
// labelling millions of rows: empty when the number is not positive.
std::string_view GroupedRowLabel(long long n, const RowLabelRule& rule, char (&out)[32]);

// The grouped labels of consecutive rows, each made from the one before: counting up touches
// only the digits that change.
class GroupedLabelCounter {
public:
    GroupedLabelCounter(long long row, const RowLabelRule& rule);
    std::string_view label() const {
        return {begin_, static_cast<std::size_t>(buffer_ + sizeof buffer_ - begin_)};
    }
    void advance(); // to the next row's label

private:
    long long n_;
    char buffer_[32];
    char* begin_;
};

} // namespace kol
