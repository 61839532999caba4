// The byte masks hold exactly the bytes looked for, for every length of a block's tail and at
// every offset, and `any` agrees with them.
#include "text/byte_blocks.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace kol {
namespace {

TEST(ByteMatcher, MasksMarkExactlyTheBytesLookedFor) {
    std::mt19937 rng(64);
    const ByteMatcher<3> matcher(',', '"', '\n');
    const unsigned char bytes[] = {',', '"', '\n', 'a', 0x81, 0x2C, 0xFF, 0x00, '\r'};
    std::vector<unsigned char> text(200);
    for (int round = 0; round < 200; ++round) {
        for (auto& b : text) b = bytes[rng() % sizeof bytes];
        for (std::size_t at = 0; at < 70; ++at)
            for (std::size_t n = at; n <= at + 70 && n <= text.size(); ++n) {
                std::uint64_t expected = 0;
                bool any = false;
                for (std::size_t i = at; i < n && i < at + kBlockBytes; ++i)
                    if (text[i] == ',' || text[i] == '"' || text[i] == '\n') {
                        expected |= std::uint64_t{1} << (i - at);
                        any = true;
                    }
                ASSERT_EQ(matcher.at(text.data(), at, n), expected) << at << ' ' << n;
                if (n - at <= kBlockBytes) {
                    ASSERT_EQ(matcher.any(text.data() + at, n - at), any) << at << ' ' << n;
                }
            }
    }
}

} // namespace
} // namespace kol
