// The grouped label written into a buffer is the label through GroupThousands, for every rule,
// and counting labels up gives the same texts.
#include "table/row_label.h"
#include "text/text_utils.h"

#include <gtest/gtest.h>

namespace kol {
namespace {

TEST(RowLabel, GroupedLabelMatchesTheGroupedString) {
    for (bool fixedRowSeq : {false, true})
        for (int titleRows : {0, 1, 3}) {
            const RowLabelRule rule{fixedRowSeq, titleRows};
            for (long long n : {-2LL, 0LL, 1LL, 2LL, 3LL, 4LL, 999LL, 1000LL, 1001LL, 1003LL,
                                999999LL, 1000000LL, 1000003LL, 123456789012LL}) {
                char buffer[32];
                EXPECT_EQ(GroupedRowLabel(n, rule, buffer), GroupThousands(RowLabel(n, true, rule)))
                    << n << ' ' << fixedRowSeq << ' ' << titleRows;
            }
        }
}

TEST(GroupedLabelCounter, CountsUpAsEachLabelWouldBeWritten) {
    for (const RowLabelRule rule :
         {RowLabelRule{false, 1}, RowLabelRule{false, 3}, RowLabelRule{true, 1}}) {
        // Through the blank labels of title rows, every new digit and every new group.
        for (const long long start :
             {-2LL, 0LL, 1LL, 95LL, 990LL, 99'990LL, 999'990LL, 9'999'990LL, 99'999'999'990LL}) {
            GroupedLabelCounter counter(start, rule);
            for (long long row = start; row < start + 40; ++row, counter.advance()) {
                char buffer[32];
                ASSERT_EQ(counter.label(), GroupedRowLabel(row, rule, buffer)) << row;
            }
        }
    }
}

} // namespace
} // namespace kol
