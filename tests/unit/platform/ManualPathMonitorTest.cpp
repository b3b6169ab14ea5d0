// The path monitor's promise: the current answer at start, then each change
// of the answer or of the path once.
#include <gtest/gtest.h>

#include <vector>

#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/ManualPathMonitor.hpp>

namespace quarra {
namespace {

struct Recorder {
    std::vector<bool> answers;
    PathMonitor::Handler handler() {
        return [this](bool satisfied) { answers.push_back(satisfied); };
    }
};

struct ManualMonitorTest : ::testing::Test {
    std::shared_ptr<ManualExecutor> queue = std::make_shared<ManualExecutor>();
    ManualPathMonitor monitor{queue, false};
    Recorder first;
};

TEST_F(ManualMonitorTest, ReportsAtStartThenOnlyChanges) {
    monitor.start(first.handler());
    EXPECT_TRUE(first.answers.empty()) << "handlers run on the monitor's queue, not inside start()";
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, std::vector<bool>{false});

    monitor.setSatisfied(false);
    monitor.setSatisfied(true);
    monitor.setSatisfied(true);
    monitor.setSatisfied(false);
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, (std::vector<bool>{false, true, false}));
}

TEST_F(ManualMonitorTest, NewHandlerGetsTheCurrentAnswerAndReplacesTheOld) {
    monitor.start(first.handler());
    queue->runUntilIdle();
    monitor.setSatisfied(true);

    Recorder second;
    monitor.start(second.handler());
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, std::vector<bool>{false}) << "a queued call of a replaced handler is dropped";
    EXPECT_EQ(second.answers, std::vector<bool>{true});

    monitor.setSatisfied(false);
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, std::vector<bool>{false});
    EXPECT_EQ(second.answers, (std::vector<bool>{true, false}));
}

TEST_F(ManualMonitorTest, NothingAfterCancelAndAFreshStartReportsAgain) {
    monitor.start(first.handler());
    monitor.cancel();
    monitor.setSatisfied(true);
    queue->runUntilIdle();
    EXPECT_TRUE(first.answers.empty());

    Recorder again;
    monitor.start(again.handler());
    queue->runUntilIdle();
    EXPECT_EQ(again.answers, std::vector<bool>{true});
}

TEST_F(ManualMonitorTest, AnnouncedChangeRepeatsTheCurrentAnswer) {
    monitor.announceChange();
    monitor.start(first.handler());
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, std::vector<bool>{false}) << "nothing is announced before start";

    monitor.setSatisfied(true);
    monitor.announceChange();
    monitor.announceChange();
    queue->runUntilIdle();
    EXPECT_EQ(first.answers, (std::vector<bool>{false, true, true, true})) << "each announcement is one call";
    EXPECT_TRUE(monitor.satisfied());

    monitor.cancel();
    monitor.announceChange();
    queue->runUntilIdle();
    EXPECT_EQ(first.answers.size(), 4u) << "nothing is announced after cancel";
}

TEST(ManualPathMonitor, QueuedCallsDieWithTheMonitor) {
    auto queue = std::make_shared<ManualExecutor>();
    Recorder recorder;
    {
        ManualPathMonitor monitor(queue, true);
        monitor.start(recorder.handler());
    }
    queue->runUntilIdle();
    EXPECT_TRUE(recorder.answers.empty());
}

}  // namespace
}  // namespace quarra
