#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/RandomBytes.hpp"

namespace quarra {
namespace {

// Draws of every size a caller makes, across several refills of the block:
// no two alike, and a draw larger than a block can serve is refused whole.
TEST(RandomBytes, DrawsNeverRepeatAcrossRefillsAndOversizedOnesAreRefused) {
    struct Case {
        size_t size;
        bool served;
    };
    const Case cases[] = {{1, true}, {16, true}, {24, true}, {100, true}, {256, true}, {257, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        std::set<std::string> seen;
        const int draws = c.size >= 16 ? 200 : 1;  // 200 draws span several blocks
        for (int i = 0; i < draws; ++i) {
            std::vector<unsigned char> bytes(c.size, 0);
            ASSERT_EQ(randomBytes(bytes.data(), bytes.size()), c.served);
            if (!c.served) break;
            seen.insert(std::string(bytes.begin(), bytes.end()));
        }
        if (c.served) {
            EXPECT_EQ(seen.size(), static_cast<size_t>(draws));
        }
    }
}

}  // namespace
}  // namespace quarra
