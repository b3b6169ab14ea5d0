#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/SerialQueue.hpp"

#include <future>

#include <quarra/testing/ManualExecutor.hpp>

namespace quarra {
namespace {

using namespace std::chrono_literals;

TEST(ManualExecutor, RunsTasksInDueOrderAsTheClockAdvances) {
    ManualExecutor executor;
    std::vector<int> order;
    executor.postAfter(300ms, [&] { order.push_back(3); });
    executor.post([&] { order.push_back(1); });
    executor.postAfter(100ms, [&] {
        order.push_back(2);
        executor.postAfter(100ms, [&] { order.push_back(4); });  // due at 200 ms, before the 300 ms one
    });
    EXPECT_EQ(executor.runUntilIdle(), 1u);
    EXPECT_EQ(executor.nextDelay(), 100ms);
    executor.advance(250ms);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 4}));
    executor.advance(50ms);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(executor.pending(), 0u);
}

TEST(SerialQueue, RunsTasksOneAtATimeInOrder) {
    auto queue = makeSerialQueue("test-serial");
    std::vector<int> order;
    std::promise<void> done;
    // A timer of no delay is one more task in the line.
    for (int i = 0; i < 100; ++i) {
        auto task = [&order, i] { order.push_back(i); };
        if (i % 3 == 0) {
            queue->postAfter(0ms, task);
        } else {
            queue->post(task);
        }
    }
    queue->post([&] { done.set_value(); });
    ASSERT_EQ(done.get_future().wait_for(10s), std::future_status::ready);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
}

TEST(SerialQueue, ATimerIsNotHeldBackByTasksThatKeepPosting) {
    auto queue = makeSerialQueue("test-timer");
    std::atomic<bool> timerRan{false};
    std::promise<size_t> reposts;
    // Each task posts the next until the timer has run: a queue that always
    // preferred posted tasks would never get to the timer.
    constexpr size_t kBound = 50'000'000;
    std::function<void(size_t)> keepPosting = [&](size_t count) {
        if (timerRan || count == kBound) {
            reposts.set_value(count);
            return;
        }
        queue->post([&keepPosting, count] { keepPosting(count + 1); });
    };
    queue->postAfter(1ms, [&] { timerRan = true; });
    queue->post([&] { keepPosting(0); });
    auto future = reposts.get_future();
    ASSERT_EQ(future.wait_for(60s), std::future_status::ready);
    EXPECT_TRUE(timerRan);
    EXPECT_LT(future.get(), kBound);
}

TEST(SerialQueue, ATaskMayReleaseTheLastOwnerOfItsOwnQueue) {
    auto queue = makeSerialQueue("test-release");
    std::promise<void> posted;
    std::promise<void> released;
    auto* raw = queue.get();
    raw->post([owner = std::move(queue), postedFuture = posted.get_future().share(), &released]() mutable {
        postedFuture.wait();  // nobody else is inside the queue any more
        owner.reset();        // the queue is destroyed from its own thread
        released.set_value();
    });
    posted.set_value();
    EXPECT_EQ(released.get_future().wait_for(10s), std::future_status::ready);
}

// What each way of stopping does with the tasks still queued: a drain runs
// them all, timers early and what they post in turn; finishing runs only
// what is due; dropping runs nothing more. Later posts are dropped.
TEST(SerialQueue, StoppingRunsOrReleasesWhatIsLeftAsItsModeSays) {
    using Mode = SerialQueue::StopMode;
    struct Case {
        const char* name;
        Mode mode;
        std::vector<std::string> ran;
    };
    const Case cases[] = {
        {"drain", Mode::drain, {"due", "timer in an hour", "posted by the timer"}},
        {"finish what is due", Mode::finishDue, {"due"}},
        {"drop", Mode::drop, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SerialQueue queue("test-stop");
        std::mutex mutex;
        std::vector<std::string> ran;
        auto record = [&](std::string what) {
            std::lock_guard lock(mutex);
            ran.push_back(std::move(what));
        };
        // The first task stops the queue once every task below is queued.
        std::promise<void> release;
        auto gate = release.get_future().share();
        queue.post([&, gate] {
            gate.wait();
            queue.stop(c.mode);  // from its own thread: only marks the stop
        });
        queue.post([&] { record("due"); });
        queue.postAfter(1h, [&] {
            record("timer in an hour");
            queue.post([&] { record("posted by the timer"); });
        });
        release.set_value();
        queue.stop(c.mode);  // waits for the thread to end
        queue.post([&] { record("posted after the stop"); });
        std::lock_guard lock(mutex);
        EXPECT_EQ(ran, c.ran);
    }
}

TEST(SerialQueue, AStopFromItsOwnTaskDoesNotWaitForItself) {
    auto queue = std::make_shared<SerialQueue>("test-own-stop");
    std::promise<bool> stopped;
    queue->post([&] {
        queue->stop(SerialQueue::StopMode::drain);
        stopped.set_value(queue->isCurrentThread());
    });
    auto future = stopped.get_future();
    ASSERT_EQ(future.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(future.get());
    queue->stop(SerialQueue::StopMode::drop);  // joins the thread that has ended
}

}  // namespace
}  // namespace quarra
