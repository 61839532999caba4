// The grouped label written into a buffer is the label through GroupThousands, for every rule.
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

} // namespace
} // namespace kol
