// Reports handed in faster than the worker takes them wait in the inbox;
// past a few hundred they wait as JSON text. Either way each one reaches the
// collector once, in the order handed in, with the same content, and a flush
// finds every one handed in before it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "EngineHarness.hpp"
#include "base/JsonText.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::EngineHarness;

JSONDictionary report(size_t n) {
    return {{"n", std::to_string(n)}, {"text", "quote \" slash / Zoë"}, {"ratio", 0.25}, {"nested", {{"a", {1, 2}}}}};
}

// The reports the collector was sent, by their "n", in the order sent, with
// a count of those whose content differs from what was handed in.
struct Sent {
    std::vector<size_t> order;
    size_t changed = 0;
};

Sent sentReports(EngineHarness& h) {
    Sent sent;
    for (const auto& request : h.http->requests()) {
        auto body = parseJSON(request.body.value_or("")).value_or(JSONDictionary::object());
        if (!body.contains("events")) continue;
        const auto& event = body["events"][0];
        const size_t n = std::stoul(event["n"].get<std::string>());
        sent.order.push_back(n);
        if (event != report(n)) ++sent.changed;
    }
    return sent;
}

TEST(ReportInbox, ABurstReachesTheCollectorInOrderWithItsContentAndEachAnswerOnce) {
    struct Case {
        const char* name;
        size_t reports;
    };
    const Case cases[] = {
        {"a few, as dictionaries", 3},
        {"more than one batch", ReportInbox::kBatch + 10},
        {"enough to be kept as text", ReportInbox::kCompactAbove * 2 + 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineHarness h(/*manual=*/true);
        h.startSession();
        std::vector<int> answers(c.reports, 0);
        for (size_t i = 0; i < c.reports; ++i) {
            h.service().sendUserEvents(report(i), [&answers, i](bool ok) { answers[i] += ok ? 1 : 100; });
        }
        EXPECT_EQ(h.engine->inbox->waiting(), c.reports) << "the host's thread only appends";
        h.settle();
        EXPECT_EQ(h.engine->inbox->waiting(), 0u);
        const auto sent = sentReports(h);
        std::vector<size_t> expected(c.reports);
        for (size_t i = 0; i < c.reports; ++i) expected[i] = i;
        EXPECT_EQ(sent.order, expected);
        EXPECT_EQ(sent.changed, 0u);
        EXPECT_EQ(answers, std::vector<int>(c.reports, 1));
        EXPECT_EQ(h.service().health().submitted, c.reports);
    }
}

TEST(ReportInbox, AFlushWaitsForReportsStillInTheInbox) {
    EngineHarness h(/*manual=*/true);
    h.startSession();
    constexpr size_t kReports = ReportInbox::kBatch * 3;
    std::atomic<size_t> answered{0};
    for (size_t i = 0; i < kReports; ++i) h.service().sendUserEvents(report(i), [&answered](bool) { ++answered; });

    std::atomic<bool> done{false};
    std::atomic<size_t> answeredAtReturn{0};
    std::thread host([&] {
        EXPECT_TRUE(h.service().flush(10s));
        answeredAtReturn = answered.load();
        done = true;
    });
    // The flush's task sits behind the first batch; the other batches would
    // come after it but for the flush taking them itself.
    ASSERT_TRUE(testing::eventually([&] { return h.manualQueue->pending() >= 2; }));
    ASSERT_TRUE(testing::eventually([&] {
        h.settle();
        return done.load();
    }));
    host.join();
    EXPECT_EQ(answeredAtReturn.load(), kReports);
}

TEST(ReportInbox, AReportThatCannotBeWrittenAsJsonIsStillAnsweredWhenKeptAsText) {
    EngineHarness h(/*manual=*/true);
    h.startSession();
    std::vector<int> answers(ReportInbox::kCompactAbove + 1, -1);
    for (size_t i = 0; i < ReportInbox::kCompactAbove; ++i) {
        h.service().sendUserEvents(report(i), [&answers, i](bool ok) { answers[i] = ok ? 1 : 0; });
    }
    // Past the limit, and not UTF-8: it cannot become text on the way in.
    h.service().sendUserEvents({{"bad", std::string("\xff")}},
                               [&answers](bool ok) { answers[ReportInbox::kCompactAbove] = ok ? 1 : 0; });
    h.settle();
    EXPECT_EQ(answers.back(), 0);
    EXPECT_EQ(std::count(answers.begin(), answers.end(), 1), static_cast<long>(ReportInbox::kCompactAbove));
    EXPECT_EQ(h.service().health().dropped.notSerialisable, 1u);
}

}  // namespace
}  // namespace quarra
