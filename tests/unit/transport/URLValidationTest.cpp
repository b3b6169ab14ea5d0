#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "transport/URLValidation.hpp"

namespace quarra {
namespace {

// Asked in this order on one thread: a URL just found valid must not make a
// near neighbour pass, and a refusal must not stop it passing again.
TEST(URLValidation, EachTextIsJudgedOnItsOwn) {
    const std::vector<std::pair<std::string, bool>> asked = {
        {"https://collector.test/api/data/collect/userEvents", true},
        {"https://collector.test/api/data/collect/userEvents ", false},
        {"https://collector.test/api/data/collect/userEvents", true},
        {"https://collector.test:99999/api", false},
        {"ftp://collector.test/api", false},
        {"http://collector.test/api", true},
        {"https://", false},
        {"", false},
        {"https://collector.test/api/data/collect/userEvents\n", false},
        {"https://collector.test/api/data/collect/userEvents", true},
    };
    for (const auto& [text, valid] : asked) EXPECT_EQ(isValidURL(text), valid) << "\"" << text << "\"";
}

}  // namespace
}  // namespace quarra
