#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/CurlTransfer.hpp"

namespace quarra {
namespace {

// One memo asked in turn: a URL that shares a kept prefix only in part, or
// differs after it, must still get its own origin.
TEST(OriginMemo, EachURLGetsTheOriginOfItsOwnPrefix) {
    const std::vector<std::pair<std::string, std::string>> asked = {
        {"https://collector.test/api/data/a", "https://collector.test:443"},
        {"https://collector.test/api/data/b?x=1", "https://collector.test:443"},
        {"https://collector.test?only=query", "https://collector.test:443"},
        {"https://collector.test:8443/api", "https://collector.test:8443"},
        {"https://collector.test.other/api", "https://collector.test.other:443"},
        {"https://collector.test#part", "https://collector.test:443"},
        {"http://collector.test/api", "http://collector.test:80"},
        {"not a url", "not a url"},
        {"https://collector.test/again", "https://collector.test:443"},
    };
    OriginMemo memo;
    for (const auto& [url, origin] : asked) {
        EXPECT_EQ(memo.originOf(url), origin) << url;
        EXPECT_EQ(memo.originOf(url), originOf(url)) << url;
    }
}

}  // namespace
}  // namespace quarra
