#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/OriginQueues.hpp"

namespace quarra {
namespace {

// Takes every request that may go on the wire now, as "origin/item".
std::vector<std::string> drain(OriginQueues<int>& queues) {
    std::vector<std::string> started;
    while (auto next = queues.next()) started.push_back(next->first + "/" + std::to_string(next->second));
    return started;
}

TEST(OriginQueues, AnOriginHasNoMoreOnTheWireThanItsConnectionsAllow) {
    OriginQueues<int> queues(2, 5);
    for (int i = 0; i < 4; ++i) queues.push("a", i);
    EXPECT_EQ(drain(queues), (std::vector<std::string>{"a/0", "a/1"}));
    EXPECT_EQ(queues.waiting(), 2u);

    // Each answer frees one place, in order of arrival.
    queues.finished("a", false);
    EXPECT_EQ(drain(queues), std::vector<std::string>{"a/2"});
    queues.finished("a", false);
    queues.finished("a", false);
    EXPECT_EQ(drain(queues), std::vector<std::string>{"a/3"});
    EXPECT_EQ(queues.waiting(), 0u);
}

TEST(OriginQueues, AMultiplexedAnswerLetsTheOriginTakeMoreAtOnce) {
    OriginQueues<int> queues(1, 3);
    for (int i = 0; i < 6; ++i) queues.push("h2", i);
    EXPECT_EQ(drain(queues), std::vector<std::string>{"h2/0"});
    queues.finished("h2", true);
    EXPECT_EQ(drain(queues), (std::vector<std::string>{"h2/1", "h2/2", "h2/3"}));
    // The origin stays known as multiplexing when it falls quiet.
    queues.finished("h2", false);
    queues.finished("h2", false);
    queues.finished("h2", false);
    EXPECT_EQ(drain(queues), (std::vector<std::string>{"h2/4", "h2/5"}));
}

TEST(OriginQueues, ABusyOriginDoesNotHoldUpAnother) {
    OriginQueues<int> queues(1, 1);
    for (int i = 0; i < 3; ++i) queues.push("busy", i);
    queues.push("other", 10);
    queues.push("third", 20);
    EXPECT_EQ(drain(queues), (std::vector<std::string>{"busy/0", "other/10", "third/20"}));
    queues.finished("other", false);
    queues.finished("busy", false);
    EXPECT_EQ(drain(queues), std::vector<std::string>{"busy/1"});
}

TEST(OriginQueues, TakeAllHandsBackEveryWaitingRequest) {
    OriginQueues<int> queues(1, 1);
    queues.push("a", 1);
    queues.push("a", 2);
    queues.push("b", 3);
    ASSERT_TRUE(queues.next());
    std::vector<int> taken;
    queues.takeAll([&](int item) { taken.push_back(item); });
    EXPECT_EQ(taken.size(), 2u);
    EXPECT_EQ(queues.waiting(), 0u);
    EXPECT_FALSE(queues.next());
    // An answer for an origin that is gone, or one never seen, changes nothing.
    queues.finished("nowhere", true);
    queues.push("a", 4);
    queues.finished("a", false);
    EXPECT_EQ(drain(queues), std::vector<std::string>{"a/4"});
}

}  // namespace
}  // namespace quarra
