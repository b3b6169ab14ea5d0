// However fast the host hands reports in, only a fixed number are on the wire
// at once; the rest wait, written ahead in the outbox, and go as answers come.
#include <gtest/gtest.h>

#include <set>

#include "base/JsonText.hpp"
#include "base/Limits.hpp"
#include "queue/EventStore.hpp"
#include "EngineHarness.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::EngineHarness;

// Keeps nothing, and counts the writes that carried new reports.
class CountingStore final : public EventStore {
public:
    explicit CountingStore(size_t& writesWithReports) : writes_(writesWithReports) {}
    Loaded load() override { return {}; }
    void stagePut(uint64_t, const std::string&) override { ++staged_; }
    void stageErase(uint64_t) override {}
    Committed commit() override {
        if (staged_ > 0) ++writes_;
        staged_ = 0;
        return {};
    }
    uint64_t storedSize(uint64_t textBytes) const override { return textBytes; }

private:
    size_t& writes_;
    size_t staged_ = 0;
};

TEST(BackPressure, OnlyAFixedNumberOfReportsAreOnTheWireAndEveryOneIsAnsweredOnce) {
    EngineHarness h(/*manual=*/true);
    h.startSession();
    // Each request is answered a millisecond after the one before, on the
    // network's own clock, so the test lets answers arrive one at a time.
    size_t sent = 0;
    h.http->setDelay([&sent](const HttpRequest&) { return std::chrono::milliseconds(++sent); });

    constexpr size_t kCap = limits::kMaxReportsInFlight;
    constexpr size_t kReports = kCap + 72;
    std::vector<int> calls(kReports, 0);
    std::vector<int> accepted(kReports, 0);
    for (size_t i = 0; i < kReports; ++i) {
        h.service().sendUserEvents({{"n", std::to_string(i)}}, [&calls, &accepted, i](bool ok) {
            ++calls[i];
            accepted[i] += ok ? 1 : 0;
        });
    }
    h.manualQueue->runUntilIdle();
    EXPECT_EQ(h.http->requestCount(), kCap);
    EXPECT_EQ(h.service().health().inFlight, kReports) << "the held ones are still the library's to answer";

    h.network->advance(1ms);
    h.manualQueue->runUntilIdle();
    EXPECT_EQ(h.http->requestCount(), kCap + 1) << "one answer makes room for one more";

    while (auto next = h.network->nextDelay()) {
        h.network->advance(*next);
        h.manualQueue->runUntilIdle();
        ASSERT_LE(h.http->unanswered(), kCap);
    }
    EXPECT_EQ(calls, std::vector<int>(kReports, 1));
    EXPECT_EQ(accepted, std::vector<int>(kReports, 1));

    // Every report went exactly once, in the order handed in, each with its own key.
    const auto requests = h.http->requests();
    ASSERT_EQ(requests.size(), kReports);
    std::set<std::string> keys;
    for (size_t i = 0; i < kReports; ++i) {
        const auto body = parseJSON(requests[i].body.value_or("")).value_or(JSONDictionary::object());
        EXPECT_EQ(body["events"][0]["n"], std::to_string(i));
        keys.insert(requests[i].header("Idempotency-Key").value_or(""));
    }
    EXPECT_EQ(keys.size(), kReports);
    const auto health = h.service().health();
    EXPECT_EQ(health.accepted, kReports);
    EXPECT_EQ(health.inFlight, 0u);
    EXPECT_EQ(health.queued, 0u);
}

// A burst far larger than the window waits in the inbox, compact, until
// answers make room: the collector holds two windows at most, and every
// report still goes once, in order.
TEST(BackPressure, ABurstWaitsInTheInboxUntilAnswersMakeRoom) {
    EngineHarness h(/*manual=*/true);
    h.startSession();
    constexpr size_t kCap = limits::kMaxReportsInFlight;
    constexpr size_t kReports = 1000;
    size_t answered = 0;
    for (size_t i = 0; i < kReports; ++i) {
        h.service().sendUserEvents({{"n", std::to_string(i)}}, [&answered](bool) { ++answered; });
    }
    h.manualQueue->runUntilIdle();
    EXPECT_EQ(h.http->requestCount(), kCap);
    EXPECT_EQ(h.engine->inbox->waiting(), kReports - 2 * kCap) << "one window on the wire, one written ahead";

    h.network->runUntilIdle();  // the first window's answers
    h.manualQueue->runUntilIdle();
    EXPECT_EQ(h.http->requestCount(), 2 * kCap);
    EXPECT_EQ(h.engine->inbox->waiting(), kReports - 3 * kCap);

    h.settle();
    EXPECT_EQ(answered, kReports);
    EXPECT_EQ(h.engine->inbox->waiting(), 0u);
    const auto requests = h.http->requests();
    ASSERT_EQ(requests.size(), kReports);
    for (size_t i = 0; i < kReports; ++i) {
        const auto body = parseJSON(requests[i].body.value_or("")).value_or(JSONDictionary::object());
        ASSERT_EQ(body["events"][0]["n"], std::to_string(i));
    }
}

// A long burst whose answers come one at a time: the reports waiting in the
// inbox are let in, and written ahead, a batch at a time rather than one per
// answer, and each still goes once, in order.
TEST(BackPressure, ABurstAnsweredOneAtATimeIsWrittenAheadInBatches) {
    size_t writes = 0;
    EngineHarness h(/*manual=*/true, /*sealedStore=*/false, std::make_unique<CountingStore>(writes));
    h.startSession();
    size_t sent = 0;
    h.http->setDelay([&sent](const HttpRequest&) { return std::chrono::milliseconds(++sent); });
    constexpr size_t kReports = 1000;
    size_t accepted = 0;
    for (size_t i = 0; i < kReports; ++i) {
        h.service().sendUserEvents({{"n", std::to_string(i)}}, [&accepted](bool ok) { accepted += ok ? 1 : 0; });
    }
    h.manualQueue->runUntilIdle();
    const size_t writesForTheFirstWindows = writes;
    while (auto next = h.network->nextDelay()) {
        h.network->advance(*next);
        h.manualQueue->runUntilIdle();
        ASSERT_LE(h.http->unanswered(), limits::kMaxReportsInFlight);
    }
    EXPECT_EQ(accepted, kReports);
    // One write per answer would be about 750 here; a quarter window at a time, about 25.
    EXPECT_LE(writes - writesForTheFirstWindows, kReports / (limits::kMaxReportsInFlight / 8));
    const auto requests = h.http->requests();
    ASSERT_EQ(requests.size(), kReports);
    for (size_t i = 0; i < kReports; ++i) {
        const auto body = parseJSON(requests[i].body.value_or("")).value_or(JSONDictionary::object());
        ASSERT_EQ(body["events"][0]["n"], std::to_string(i));
    }
}

}  // namespace
}  // namespace quarra
