#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/ConsoleLog.hpp"
#include <quarra/testing/FakeClock.hpp>
#include "queue/DataCollectorEventsQueue.hpp"
#include "support/CapturingConsole.hpp"

namespace quarra {
namespace {

using json = JSONDictionary;

QueuedEvent event(json dictionary) {
    return QueuedEvent{DataCollectorAPI::userEventData("userEvents", 3, 0, 0), std::move(dictionary)};
}

std::vector<uint64_t> ids(const DataCollectorEventsQueue& queue) {
    std::vector<uint64_t> result;
    for (const auto& stored : queue.eventsQueueArray()) result.push_back(stored.id);
    return result;
}

TEST(EventsQueue, KeepsEventsOldestFirst) {
    DataCollectorEventsQueue queue;
    EXPECT_TRUE(queue.isEmpty());
    auto first = queue.addEvent(event({{"n", "1"}}));
    auto second = queue.addEvent(event({{"n", "2"}}));
    const auto stored = queue.eventsQueueArray();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].id, first);
    EXPECT_EQ(stored[0].event.event, (json{{"n", "1"}}));
    EXPECT_EQ(stored[1].id, second);
    EXPECT_NE(first, second);
}

TEST(EventsQueue, OfTwoEqualEventsTheOldestIsRemoved) {
    DataCollectorEventsQueue queue;
    queue.addEvent(event({{"screen", "Login"}}));
    auto other = queue.addEvent(event({{"screen", "Cart"}}));
    auto newer = queue.addEvent(event({{"screen", "Login"}}));

    EXPECT_TRUE(queue.removeEvent(event({{"screen", "Login"}, {"time", "t"}})));
    EXPECT_EQ(ids(queue), (std::vector{other, newer}));
    EXPECT_TRUE(queue.removeEvent(event({{"screen", "Login"}})));
    EXPECT_EQ(ids(queue), (std::vector{other}));
    EXPECT_FALSE(queue.removeEvent(event({{"screen", "Login"}})));
    EXPECT_EQ(ids(queue), (std::vector{other}));
}

TEST(EventsQueue, AnEventWithANumberIsNeverRemovedByMatching) {
    DataCollectorEventsQueue queue;
    queue.addEvent(event({{"latitude", 52.5}}));
    EXPECT_FALSE(queue.removeEvent(event({{"latitude", 52.5}})));
    EXPECT_EQ(queue.count(), 1u);
}

TEST(EventsQueue, RemovalByIdentifierTakesExactlyThatEntry) {
    DataCollectorEventsQueue queue;
    auto a = queue.addEvent(event({{"same", "x"}}));
    auto b = queue.addEvent(event({{"same", "x"}}));
    auto c = queue.addEvent(event({{"same", "x"}}));
    EXPECT_TRUE(queue.removeEvent(b));
    EXPECT_EQ(ids(queue), (std::vector{a, c}));
    EXPECT_FALSE(queue.removeEvent(b));
    EXPECT_FALSE(queue.removeEvent(uint64_t{999'999}));
    EXPECT_EQ(ids(queue), (std::vector{a, c}));
}

TEST(EventsQueue, WhenFullTheOldestIsDroppedWithAConsoleLine) {
    auto sink = std::make_shared<testing::CapturingConsole>();
    Console console(sink, std::make_shared<FakeClock>());
    testing::ScopedLogs logs(true);
    DataCollectorEventsQueue queue(makeMemoryEventStore(), &console);

    const auto first = queue.addEvent(event({{"n", "0"}}));
    const auto second = queue.addEvent(event({{"n", "1"}}));
    for (size_t i = 2; i < limits::kMaxQueuedEvents; ++i) queue.addEvent(event({{"n", std::to_string(i)}}));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);
    EXPECT_TRUE(sink->lines().empty());

    const auto newest = queue.addEvent(event({{"n", "new"}}));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);
    const auto stored = queue.eventsQueueArray();
    EXPECT_EQ(stored.front().id, second);
    EXPECT_EQ(stored.back().id, newest);
    EXPECT_FALSE(queue.removeEvent(first));
    EXPECT_EQ(sink->messages(), std::vector<std::string>{"Event queue full, dropped the oldest event"});
}

TEST(EventsQueue, WithoutAConsoleAFullQueueStillDropsQuietly) {
    DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr);
    for (size_t i = 0; i <= limits::kMaxQueuedEvents; ++i) queue.addEvent(event(json::object()));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);
}

TEST(EventsQueue, AddsAndRemovalsFromSeveralThreadsStayConsistent) {
    DataCollectorEventsQueue queue;
    constexpr int kThreads = 4, kEach = 250;
    std::atomic<int> failedRemovals{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&queue, &failedRemovals, t] {
            for (int i = 0; i < kEach; ++i) {
                queue.addEvent(event({{"thread", std::to_string(t)}, {"i", std::to_string(i)}}));
                // The answer for the previous event, with a key the queued copy lacks.
                if (i % 2 == 1 &&
                    !queue.removeEvent(event({{"thread", std::to_string(t)}, {"i", std::to_string(i - 1)}, {"x", "y"}}))) {
                    failedRemovals++;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failedRemovals, 0);
    const auto all = ids(queue);
    EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kEach / 2));
    EXPECT_EQ(std::set<uint64_t>(all.begin(), all.end()).size(), all.size());
}

}  // namespace
}  // namespace quarra
