// The engine under load: many host threads hand in reports while answers
// race back late, refused, broken or never. Time is virtual: the worker's
// thread jumps the clock to the next timer whenever it has nothing to run,
// so minutes of time-outs and retry pauses pass without waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "EngineHarness.hpp"
#include "base/Limits.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

// Runs a manual executor on a thread of its own, as the library's worker
// would run, moving the fake clock on whenever only timers are left.
class VirtualTimeWorker {
public:
    explicit VirtualTimeWorker(std::shared_ptr<ManualExecutor> executor)
        : executor_(std::move(executor)), thread_([this] { run(); }) {}
    ~VirtualTimeWorker() {
        stop_ = true;
        executor_->post([] {});  // wakes the thread
        thread_.join();
    }

private:
    void run() {
        while (!stop_) {
            if (executor_->runUntilIdle() > 0) continue;
            if (auto next = executor_->nextDelay()) {
                executor_->advance(std::max(*next, std::chrono::milliseconds(1)));
                continue;
            }
            executor_->waitForTask(20ms);
        }
    }

    std::shared_ptr<ManualExecutor> executor_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The collector's moods, picked at random for every request (seeded: the
// same run every time, though the threads interleave as they will).
class MoodyCollector {
public:
    std::optional<HttpResult> answer(const HttpRequest&) {
        std::lock_guard lock(mutex_);
        const int roll = std::uniform_int_distribution<int>(0, 99)(random_);
        if (roll < 55) return SimulatedHttpClient::ok(R"({"ResponseCode":"0"})");
        if (roll < 70) return SimulatedHttpClient::ok(R"({"ResponseCode":"5"})");
        if (roll < 80) return SimulatedHttpClient::status(500);
        if (roll < 85) return SimulatedHttpClient::ok("<html>busy</html>");
        return std::nullopt;  // never answered: the request's time-out decides
    }
    std::chrono::milliseconds delay(const HttpRequest&) {
        std::lock_guard lock(mutex_);
        return std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 4000)(random_));
    }

private:
    std::mutex mutex_;
    std::mt19937 random_{20261207};
};

TEST(EngineStress, EightHostThreadsOfAThousandReportsEachWhileAnswersRaceBack) {
    constexpr int kThreads = 8;
    constexpr int kReportsEach = 1000;
    testing::EngineHarness h(/*manual=*/true);
    auto collector = std::make_shared<MoodyCollector>();
    h.http->setResponder([collector](const HttpRequest& request) { return collector->answer(request); });
    h.http->setDelay([collector](const HttpRequest& request) { return collector->delay(request); });
    // The worker and the network each on a thread of their own, each with its
    // own virtual clock: answers and time-outs come in every order.
    h.startSession();
    VirtualTimeWorker worker(h.manualQueue);
    VirtualTimeWorker network(h.network);

    // Two rounds: the second one's accepted reports start passes over what
    // the first one left in the queue, with the same moods on every resend.
    constexpr int kRounds = 2;
    std::vector<std::atomic<int>> calls(kRounds * kThreads * kReportsEach);
    std::atomic<int> accepted{0};
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::thread> hosts;
        for (int t = 0; t < kThreads; ++t) {
            hosts.emplace_back([&, round, t] {
                for (int i = 0; i < kReportsEach; ++i) {
                    const int index = (round * kThreads + t) * kReportsEach + i;
                    h.service().sendUserEvents({{"index", std::to_string(index)}}, [&, index](bool ok) {
                        ++calls[static_cast<size_t>(index)];
                        if (ok) ++accepted;
                    });
                }
            });
        }
        for (auto& host : hosts) host.join();
        // Every report answered and every resend pass over: no answer that
        // never comes holds a pass open.
        ASSERT_TRUE(h.service().flush(120s)) << "round " << round;
    }
    for (size_t index = 0; index < calls.size(); ++index) {
        ASSERT_EQ(calls[index].load(), 1) << "report " << index << " was answered " << calls[index] << " times";
    }
    const auto health = h.service().health();
    EXPECT_EQ(health.submitted, calls.size());
    EXPECT_EQ(health.inFlight, 0u);
    EXPECT_EQ(health.submitted + health.restored,
              health.accepted + health.refused + health.queued + health.dropped.total())
        << "accepted " << health.accepted << ", refused " << health.refused << ", queued " << health.queued
        << ", dropped " << health.dropped.total();
    EXPECT_GE(health.accepted, static_cast<uint64_t>(accepted.load())) << "resends add to the first sends";
    EXPECT_GE(health.resendPasses, 2u);
    EXPECT_FALSE(h.engine->collector->isSendingQueuedEvents());
    EXPECT_TRUE(h.service().shutdown(10s));
}

// A full queue and a pass under way: the entries on the wire stay, the
// oldest of the others make room, and the pass goes out a window at a time.
TEST(ResendPass, AtCapacityItKeepsWhatItResendsAndSendsAWindowAtATime) {
    testing::ServiceHarness h;
    h.enableFeatures({"userData", "userEvents"});
    h.service->setSessionKey("");
    for (size_t i = 0; i < limits::kMaxQueuedEvents; ++i) h.service->sendUserEvents({{"kind", "old"}});
    ASSERT_EQ(h.queue.count(), limits::kMaxQueuedEvents);
    const auto oldest = h.queue.eventsQueueArray();

    // Resends are held an hour on the wire; the fresh reports marked "fails" are refused.
    auto isResend = [](const HttpRequest& request) { return request.body->find("\"old\"") != std::string::npos; };
    h.http->setResponder([](const HttpRequest& request) -> std::optional<HttpResult> {
        if (request.body->find("fails") != std::string::npos) return SimulatedHttpClient::ok(R"({"ResponseCode":"9"})");
        return SimulatedHttpClient::ok(R"({"ResponseCode":"0"})");
    });
    h.http->setDelay([isResend](const HttpRequest& request) { return isResend(request) ? 1h : 0ms; });
    h.service->setSessionKey("s");
    // The trigger is written ahead too: the oldest entry makes room for it.
    h.service->sendUserData({{"kind", "trigger"}});
    h.executor->runUntilIdle();
    ASSERT_TRUE(h.service->isSendingQueuedEvents());
    EXPECT_FALSE(h.queue.contains(oldest[0].id));
    EXPECT_EQ(h.http->unanswered(), limits::kResendWindow) << "one window on the wire, not the whole queue";

    // Each refused report is written ahead, then waits: room is made from the
    // oldest entries that are not on the wire.
    for (int i = 0; i < 100; ++i) h.service->sendUserEvents({{"kind", "fails"}});
    h.executor->advance(10s);
    for (size_t i = 1; i <= limits::kResendWindow; ++i) {
        EXPECT_TRUE(h.queue.contains(oldest[i].id)) << "entry " << i << " is on the wire";
    }
    EXPECT_FALSE(h.queue.contains(oldest[limits::kResendWindow + 1].id)) << "the oldest one not on the wire made room";
    EXPECT_EQ(h.queue.count(), limits::kMaxQueuedEvents);
    EXPECT_EQ(h.service->health().dropped.bound, 100u);

    size_t mostOnTheWire = 0;
    for (int hour = 0; hour < 1000 && h.service->isSendingQueuedEvents(); ++hour) {
        h.executor->advance(1h);
        mostOnTheWire = std::max(mostOnTheWire, h.http->unanswered());
    }
    EXPECT_FALSE(h.service->isSendingQueuedEvents());
    EXPECT_LE(mostOnTheWire, limits::kResendWindow);
    EXPECT_EQ(h.queue.count(), 100u) << "the refused fresh reports wait for the next pass";
    EXPECT_EQ(h.service->health().accepted, 1u + limits::kMaxQueuedEvents - 100u);
    const auto health = h.service->health();
    EXPECT_EQ(health.submitted, health.accepted + health.refused + health.queued + health.dropped.total());
}

}  // namespace
}  // namespace quarra
