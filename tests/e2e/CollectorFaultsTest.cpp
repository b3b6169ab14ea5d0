// Faults on the collector while quarra-cli plays a session: no report is
// lost, none is stored twice. Once the faults wear off and a later report is
// accepted, every report of the scenario is stored exactly once, also when
// the service stored it and its answer was lost (a delay past the transport's
// 3-second time-out): every attempt carries the report's idempotency key, and
// the service absorbs the repeats.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <optional>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

struct FaultCase {
    std::string name;
    Json fault;               // on the path of the first user-events report
    // What that report's completion receives; none when either answer is right.
    std::optional<bool> firstAccepted;
    int repeats;              // attempts the service stored nothing for, as repeats
};

struct FaultOutcome {
    std::string problem;  // set when the case could not even be played
    CliResult run;
    std::string sessionKey;
    Json detail;
};

const Json kFaulted = buttonEvent("LoginAttempt", 101);
const Json kLater = fieldEvent("Password", 12);
const Json kLast = buttonEvent("CheckoutEnter", 303);

// One service per case, so the cases can run side by side.
FaultOutcome play(const FaultCase& faultCase) {
    FaultOutcome outcome;
    LocalService service;
    if (!service.started()) {
        outcome.problem = "service did not start: " + service.startupProblem();
        return outcome;
    }
    if (!service.addFault(faultCase.fault)) {
        outcome.problem = "fault refused: " + faultCase.fault.dump();
        return outcome;
    }
    auto scenario = scenarioFor({
        {{"do", "authenticate"}, {"timeoutMs", 20000}},
        sendStep("userEvents", kFaulted),
        sendStep("activityStream", kLater),  // accepted: starts the resend pass
        sendStep("userEvents", kLast),
        {{"do", "drain"}, {"timeoutMs", 30000}},
    });
    auto path = writeScenario(service.workDirectory(), "faults.json", scenario.dump());
    outcome.run = runCli(service.runArguments(path, service.workDirectory() / "client"), service.workDirectory());
    auto key = outcome.run.step(1)["result"];
    if (!key.is_string()) return outcome;
    outcome.sessionKey = key.get<std::string>();
    outcome.detail = service.session(outcome.sessionKey);
    return outcome;
}

const std::string kUserEventsPath = "/api/data/collect/userEvents";

TEST(CollectorFaultsTest, NoReportIsLostNorStoredTwice) {
    const std::vector<FaultCase> cases{
        // Refused by its answer: queued at once, no transport retry.
        {"non-zero response code", {{"path", kUserEventsPath}, {"responseCode", "7"}, {"count", 1}}, false, 0},
        // Both transport attempts fail, then the report waits in the queue.
        {"HTTP 500", {{"path", kUserEventsPath}, {"httpStatus", 500}, {"count", 2}}, false, 0},
        // libcurl sends a request again by itself, once, when a reused
        // connection dies before any answer: both drops may go to one attempt,
        // and the second attempt is then accepted.
        {"dropped connection", {{"path", kUserEventsPath}, {"drop", true}, {"count", 2}}, std::nullopt, 0},
        // Stored, but the answer comes after the time-out; the retry is a repeat.
        {"delay past the time-out, once", {{"path", kUserEventsPath}, {"delayMs", 6000}, {"count", 1}}, true, 1},
        // Two lost answers, then queued and resent: two repeats.
        {"delay past the time-out, twice", {{"path", kUserEventsPath}, {"delayMs", 6000}, {"count", 2}}, false, 2},
    };

    std::vector<std::future<FaultOutcome>> running;
    for (const auto& faultCase : cases) running.push_back(std::async(std::launch::async, play, faultCase));

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& faultCase = cases[i];
        auto outcome = running[i].get();
        SCOPED_TRACE(faultCase.name);
        ASSERT_TRUE(outcome.problem.empty()) << outcome.problem;
        const auto& run = outcome.run;
        std::string steps;
        for (const auto& line : run.rawLines) steps += line + "\n";
        SCOPED_TRACE("quarra-cli's standard output:\n" + steps + "and its standard error:\n" + run.errorOutput);
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
        EXPECT_THAT(run.errorOutput, ::testing::Not(::testing::HasSubstr("Sanitizer")));
        ASSERT_EQ(run.lines.size(), 5u) << run.errorOutput;

        if (faultCase.firstAccepted) {
            EXPECT_EQ(run.step(2)["result"], *faultCase.firstAccepted);
        }
        EXPECT_EQ(run.step(3)["result"], true);
        EXPECT_EQ(run.step(4)["result"], true);
        EXPECT_EQ(run.step(5)["result"], true);  // nothing left in flight or queued

        auto events = storedReports(outcome.detail, "events");
        EXPECT_EQ(copiesOf(events, kFaulted), 1);
        EXPECT_EQ(copiesOf(events, kLast), 1);
        EXPECT_EQ(events.size(), 2u);
        EXPECT_EQ(outcome.detail["repeatsAbsorbed"], faultCase.repeats);
        auto streams = storedReports(outcome.detail, "activityStream");
        ASSERT_EQ(streams.size(), 1u);
        EXPECT_EQ(streams[0], kLater);
        EXPECT_EQ(storedReports(outcome.detail, "userData").size(), 1u);
        for (const auto& id : envelopeSessionIds(outcome.detail)) EXPECT_EQ(id, outcome.sessionKey);
    }
}

}  // namespace
}  // namespace quarra::e2e
