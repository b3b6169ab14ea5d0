#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "tracking/HandOffLine.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using testing::RecordingReportSender;
using testing::TrackingHarness;
using Kind = RecordingReportSender::Kind;

TapFacts tap(std::string action, std::optional<Acceleration> reading = std::nullopt) {
    return TapFacts{.action = std::move(action),
                    .orientation = "portrait",
                    .now = Clock::TimePoint{},
                    .force = 0.5,
                    .position = {10, 20},
                    .reading = reading,
                    .control = {},
                    .console = nullptr};
}

FieldPeriodFacts period(std::string tag) {
    FieldPeriodFacts facts;
    facts.information.fieldTagString = std::move(tag);
    return facts;
}

SenderWork marker(std::string name) {
    return [name](ReportSender& reports) { reports.sendActivityStream({{"marker", name}}, {}); };
}

// What reached the sender, one word per report, in order.
std::vector<std::string> sent(const RecordingReportSender& sender) {
    std::vector<std::string> words;
    for (const auto& report : sender.reports()) {
        const auto& data = report.data;
        if (report.kind == Kind::userEvents) {
            words.push_back("tap " + data.value("userEventType", ""));
        } else if (report.kind == Kind::accelerometerData) {
            words.push_back("reading");
        } else if (data.contains("marker")) {
            words.push_back("work " + data.value("marker", ""));
        } else {
            words.push_back("period " + data.value("element", ""));
        }
    }
    return words;
}

TEST(HandOffLine, EveryKindReachesTheSenderInTheOrderHandedOffWithOneTaskPerBatch) {
    TrackingHarness harness;
    harness.context->handOff(tap("LoginAttempt", Acceleration{0.1, 0.2, 0.3}));
    harness.context->handOff(period("Password"));
    harness.context->handOff(marker("picker"));
    harness.context->handOff(tap("Purchase"));
    EXPECT_EQ(harness.main->pending(), 1u) << "one drain for the whole batch";
    EXPECT_TRUE(harness.sender->reports().empty()) << "nothing is sent on the host's thread";

    harness.run();
    EXPECT_EQ(sent(*harness.sender), (std::vector<std::string>{"tap LoginAttempt", "reading", "period Password",
                                                               "work picker", "tap Purchase"}));

    // The line is empty again: the next hand-off posts a new drain.
    harness.context->handOff(period("LoginID"));
    EXPECT_EQ(harness.main->pending(), 1u);
    harness.run();
    EXPECT_EQ(sent(*harness.sender).back(), "period LoginID");
}

TEST(HandOffLine, AFailingHandOffDoesNotCostTheRestOfItsBatch) {
    TrackingHarness harness;
    harness.context->handOff(SenderWork([](ReportSender&) { throw std::runtime_error("broken"); }));
    harness.context->handOff(SenderWork{});  // empty work is skipped
    harness.context->handOff(tap("LoginAttempt"));
    harness.run();
    EXPECT_EQ(sent(*harness.sender), (std::vector<std::string>{"tap LoginAttempt"}));
}

TEST(HandOffLine, OnceReportsAreNoLongerTakenEachKindIsRefusedAtOnce) {
    testing::ScopedLogs logs{true};
    TrackingHarness harness;
    std::const_pointer_cast<TrackingContext>(harness.context)->accepting = [] { return false; };
    bool answered = true;
    harness.context->handOff(tap("LoginAttempt"));
    harness.context->handOff(period("Password"));
    harness.context->handOff(SenderWork([&](ReportSender& reports) {
        reports.sendUserEvents({}, [&](bool delivered) { answered = delivered; });
    }));
    EXPECT_FALSE(answered);
    EXPECT_EQ(harness.main->pending(), 0u);
    EXPECT_TRUE(harness.sender->reports().empty());
    EXPECT_TRUE(harness.lines->contains("The library has been shut down; the report was not sent"));
}

TEST(HandOffLine, HandOffsFromSeveralThreadsAreAllSentEachThreadInItsOrder) {
    constexpr int kThreads = 4;
    constexpr int kEach = 2000;
    HandOffLine line;
    RecordingReportSender sender;
    std::atomic<int> drainsAsked{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                if (line.push(SenderWork([t, i](ReportSender& reports) {
                        reports.sendActivityStream({{"thread", t}, {"index", i}}, {});
                    }))) {
                    ++drainsAsked;
                }
            }
        });
    }
    // The drain runs meanwhile, as the report queue would.
    std::atomic<bool> pushing{true};
    std::thread drainer([&] {
        while (pushing) line.drain(sender);
    });
    for (auto& thread : threads) thread.join();
    pushing = false;
    drainer.join();
    line.drain(sender);

    std::vector<int> next(kThreads, 0);
    for (const auto& report : sender.reports()) {
        const int t = report.data.at("thread").get<int>();
        EXPECT_EQ(report.data.at("index").get<int>(), next[static_cast<size_t>(t)]) << "thread " << t;
        ++next[static_cast<size_t>(t)];
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kEach)) << "every hand-off sent exactly once";
    EXPECT_GE(drainsAsked.load(), 1);
}

}  // namespace
}  // namespace quarra
