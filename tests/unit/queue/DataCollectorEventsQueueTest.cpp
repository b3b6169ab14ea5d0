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
#include "queue/EventStore.hpp"
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

TEST(EventsQueue, WhenFullTheOldestGoQuietlyAndOneLineTellsHowManyAndWhy) {
    auto sink = std::make_shared<testing::CapturingConsole>();
    Console console(sink, std::make_shared<FakeClock>());
    testing::ScopedLogs logs(true);
    DataCollectorEventsQueue queue(makeMemoryEventStore(), &console);

    const auto first = queue.addEvent(event({{"n", "0"}}));
    const auto second = queue.addEvent(event({{"n", "1"}}));
    for (size_t i = 2; i < limits::kMaxQueuedEvents; ++i) queue.addEvent(event({{"n", std::to_string(i)}}));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);

    const auto newest = queue.addEvent(event({{"n", "new"}}));
    const auto newer = queue.addEvent(event({{"n", "newer"}}));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);
    const auto stored = queue.eventsQueueArray();
    EXPECT_NE(stored.front().id, second);
    EXPECT_EQ(stored.back().id, newer);
    EXPECT_NE(newest, 0u);
    EXPECT_FALSE(queue.removeEvent(first));
    EXPECT_TRUE(sink->lines().empty()) << "no line for each drop";
    queue.reportDrops();
    queue.reportDrops();
    EXPECT_EQ(sink->messages(), std::vector<std::string>{"Undelivered reports dropped: 2 over the count bound, "
                                                         "0 over the size bound, 0 too old, 0 unreadable"});
}

// Which entry makes room when a bound is reached: the oldest waiting one,
// never one on its first way out (0) or being resent (1, pinned).
TEST(EventsQueue, BoundsLetTheOldestWaitingEntryGo) {
    using namespace std::chrono_literals;
    const json payload = {{"pad", std::string(100, 'x')}, {"n", "0"}};
    auto sized = event(payload);
    sized.createdAt = FakeClock().now();
    const uint64_t size = encodeQueuedEvent(sized)->size();
    struct Case {
        const char* name;
        QueueBounds bounds;
        std::chrono::milliseconds ageOfTheFirstThree;
        DataCollectorEventsQueue::Drops drops;
    };
    const Case cases[] = {
        {"count", {.count = 5, .bytes = 1 << 20, .age = 24h}, 0ms, {.count = 1}},
        {"bytes", {.count = 100, .bytes = 5 * size, .age = 24h}, 0ms, {.bytes = 1}},
        {"age", {.count = 100, .bytes = 1 << 20, .age = 24h}, 25h, {.age = 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto clock = std::make_shared<FakeClock>();
        DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr, clock, c.bounds);
        auto made = [&](int n) {
            auto e = event(payload);
            e.event["n"] = std::to_string(n);  // the same size for every n below 10
            e.createdAt = clock->now() - (n < 3 ? c.ageOfTheFirstThree : 0ms);
            return e;
        };
        std::vector<uint64_t> ids{queue.recordInFlight(made(0)).id, queue.addEvent(made(1))};
        queue.pin(ids[1]);
        for (int n = 2; n < 6; ++n) ids.push_back(queue.addEvent(made(n)));
        queue.dropExpired();

        std::vector<int> kept;
        for (size_t n = 0; n < ids.size(); ++n) {
            if (queue.contains(ids[n])) kept.push_back(static_cast<int>(n));
        }
        EXPECT_EQ(kept, (std::vector<int>{0, 1, 3, 4, 5}));
        const auto drops = queue.drops();
        EXPECT_EQ(drops.count, c.drops.count);
        EXPECT_EQ(drops.bytes, c.drops.bytes);
        EXPECT_EQ(drops.age, c.drops.age);
        EXPECT_EQ(queue.count(), 4u) << "the one in flight does not wait";
    }
}

TEST(EventsQueue, WithoutAConsoleAFullQueueStillDropsQuietly) {
    DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr);
    for (size_t i = 0; i <= limits::kMaxQueuedEvents; ++i) queue.addEvent(event(json::object()));
    EXPECT_EQ(queue.count(), limits::kMaxQueuedEvents);
}

// Which entries a full queue may push out follows each entry through its
// states: on its first way out (no), failed and waiting (yes), pinned for a
// resend (no), unpinned again (yes).
TEST(EventsQueue, OnlyWaitingUnpinnedEntriesMakeRoomWhateverTheyWentThrough) {
    struct Case {
        const char* name;
        void (*change)(DataCollectorEventsQueue&, uint64_t);
        bool evicted;
    };
    const Case cases[] = {
        {"still on its first way out", [](DataCollectorEventsQueue&, uint64_t) {}, false},
        {"failed, waiting", [](DataCollectorEventsQueue& q, uint64_t id) { q.markQueued(id); }, true},
        {"waiting, pinned", [](DataCollectorEventsQueue& q, uint64_t id) { q.markQueued(id), q.pin(id); }, false},
        {"pinned, then unpinned", [](DataCollectorEventsQueue& q, uint64_t id) { q.markQueued(id), q.pin(id), q.unpin(id); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr, std::make_shared<FakeClock>(),
                                       QueueBounds{.count = 3});
        const uint64_t first = queue.recordInFlight(event({{"n", "0"}})).id;
        c.change(queue, first);
        const uint64_t second = queue.addEvent(event({{"n", "1"}}));
        const uint64_t third = queue.addEvent(event({{"n", "2"}}));
        const uint64_t fourth = queue.addEvent(event({{"n", "3"}}));
        EXPECT_NE(fourth, 0u);
        EXPECT_EQ(queue.contains(first), !c.evicted);
        EXPECT_EQ(queue.contains(second), c.evicted) << "the oldest evictable one goes instead";
        EXPECT_TRUE(queue.contains(third));
        EXPECT_EQ(queue.drops().count, 1u);
    }
}

// Nothing evictable and no room: the entry is not kept, and the queue does not
// count it as dropped (its sender counts it if it is not accepted either).
TEST(EventsQueue, AQueueOfEntriesInFlightKeepsNoMoreAndCountsNoDrop) {
    DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr, std::make_shared<FakeClock>(), QueueBounds{.count = 2});
    EXPECT_NE(queue.recordInFlight(event({{"n", "0"}})).id, 0u);
    EXPECT_NE(queue.recordInFlight(event({{"n", "1"}})).id, 0u);
    const auto kept = queue.recordInFlight(event({{"n", "2"}}));
    EXPECT_EQ(kept.id, 0u);
    EXPECT_FALSE(kept.unencodable);
    EXPECT_EQ(queue.drops().total(), 0u);
}

// The entry keeps its dictionary as the text it was handed: what comes back
// for sending is that same text, and it still decodes to the dictionary.
TEST(EventsQueue, AnEntryGivesBackTheExactTextItWasGiven) {
    const std::string texts[] = {R"({})", R"({"a":"x","b":1})", R"({"text":"quote \" slash \/ Zoë"})"};
    DataCollectorEventsQueue queue(makeMemoryEventStore(), nullptr);
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        const auto id =
            queue.keep(DataCollectorAPI::userEventData("userEvents", 3, 0, 0), "key", FakeClock().now(), text, true).id;
        ASSERT_NE(id, 0u);
        EXPECT_EQ(queue.eventJSON(id), text);
        EXPECT_EQ(queue.eventsQueueArray().back().event.event, json::parse(text));
        EXPECT_EQ(queue.eventsQueueArray().back().event.idempotencyKey, "key");
    }
    EXPECT_FALSE(queue.eventJSON(12345).has_value());
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
