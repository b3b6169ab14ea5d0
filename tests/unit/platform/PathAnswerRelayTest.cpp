// The relay reports a new path even when the answer stays the same.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <vector>

#include <quarra/testing/ManualExecutor.hpp>

#include "platform/PathAnswerRelay.hpp"

namespace quarra {
namespace {

PathSignature usableThrough(int interfaceIndex, uint8_t last) {
    return PathSignature{true, {interfaceIndex}, {PathAddress{interfaceIndex, AF_INET, 24, {10, 0, 0, last}}}};
}

struct PathAnswerRelayTest : ::testing::Test {
    std::shared_ptr<ManualExecutor> queue = std::make_shared<ManualExecutor>();
    PathAnswerRelay relay{queue};
    std::vector<bool> answers;

    void SetUp() override {
        relay.install([this](bool satisfied) { answers.push_back(satisfied); });
    }
    std::vector<bool> delivered() {
        queue->runUntilIdle();
        return answers;
    }
};

TEST_F(PathAnswerRelayTest, ReportsEachNewPathOnce) {
    relay.publish(usableThrough(2, 5));
    relay.publish(usableThrough(2, 5));
    EXPECT_EQ(delivered(), std::vector<bool>{true}) << "the same path twice is one report";

    relay.publish(usableThrough(3, 5));
    EXPECT_EQ(delivered(), (std::vector<bool>{true, true})) << "another interface, same answer";

    relay.publish(usableThrough(3, 6));
    EXPECT_EQ(delivered(), (std::vector<bool>{true, true, true})) << "another address, same answer";

    relay.publish(PathSignature{});
    relay.publish(PathSignature{});
    EXPECT_EQ(delivered(), (std::vector<bool>{true, true, true, false}));
}

TEST_F(PathAnswerRelayTest, BareAnswersStillReportOnlyChanges) {
    relay.publish(true);
    relay.publish(true);
    relay.publish(false);
    EXPECT_EQ(delivered(), (std::vector<bool>{true, false}));
}

TEST_F(PathAnswerRelayTest, AnnounceRepeatsTheCurrentAnswer) {
    relay.announce();
    EXPECT_TRUE(delivered().empty()) << "nothing to repeat before the first answer";

    relay.publish(false);
    relay.announce();
    EXPECT_EQ(delivered(), (std::vector<bool>{false, false}));
}

TEST_F(PathAnswerRelayTest, ANewHandlerGetsTheAnswerOfTheCurrentPath) {
    relay.publish(usableThrough(2, 5));
    std::vector<bool> later;
    relay.install([&](bool satisfied) { later.push_back(satisfied); });
    relay.publish(usableThrough(2, 5));
    EXPECT_TRUE(delivered().empty()) << "the replaced handler's queued call is dropped";
    EXPECT_EQ(later, std::vector<bool>{true}) << "the known path is not reported a second time";
}

TEST(PathAnswerRelay, ResetForgetsThePath) {
    PathAnswerRelay relay(nullptr);  // no queue: the handler runs inside publish()
    std::vector<bool> answers;
    relay.install([&](bool satisfied) { answers.push_back(satisfied); });
    relay.publish(usableThrough(2, 5));
    relay.reset();
    relay.install([&](bool satisfied) { answers.push_back(satisfied); });
    relay.publish(usableThrough(2, 5));
    EXPECT_EQ(answers, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace quarra
