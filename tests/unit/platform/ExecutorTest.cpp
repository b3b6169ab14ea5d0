#include <gtest/gtest.h>

#include <future>
#include <vector>

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
    for (int i = 0; i < 100; ++i) queue->post([&order, i] { order.push_back(i); });
    queue->post([&] { done.set_value(); });
    ASSERT_EQ(done.get_future().wait_for(10s), std::future_status::ready);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
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

}  // namespace
}  // namespace quarra
