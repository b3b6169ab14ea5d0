// A host killed with undelivered reports: the outbox keeps them, and the next
// run on the same data directory delivers each of them exactly once.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"
#include "support/ProgramRun.hpp"

namespace quarra::e2e {
namespace {

constexpr int kReports = 8;

Json numbered(int n) { return {{"event", "tap"}, {"n", std::to_string(n)}}; }

// Every report of every session, by its "n".
std::multiset<std::string> storedNumbers(LocalService& service) {
    std::multiset<std::string> numbers;
    for (const auto& session : service.sessions()) {
        for (const auto& event : storedReports(service.session(session["id"].get<std::string>()), "events")) {
            numbers.insert(event.value("n", "?"));
        }
    }
    return numbers;
}

TEST(OutboxCrash, ReportsHandedInBeforeAKillAreDeliveredOnceAfterTheRestart) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        LocalService service;
        ASSERT_TRUE(service.started()) << service.startupProblem();
        const auto client = service.workDirectory() / "client";
        // The collector refuses everything: every report waits in the outbox.
        ASSERT_TRUE(service.addFault({{"path", "/api/data/collect/"}, {"responseCode", "7"}, {"count", 100000}}));

        Json steps = Json::array({{{"do", "authenticate"}, {"timeoutMs", 20000}}});
        for (int n = 0; n < kReports; ++n) {
            steps.push_back(sendStep("userEvents", numbered(n)));
            steps.push_back({{"do", "wait"}, {"ms", 40}});  // the kill lands between two reports
        }
        steps.push_back({{"do", "wait"}, {"ms", 60000}});
        auto first = writeScenario(service.workDirectory(), "first.json", scenarioFor(steps).dump());
        // Killed once the k-th report's answer (false: refused, kept) has been printed.
        const int handedIn = std::uniform_int_distribution<int>(1, kReports)(random);
        auto killed = testing::runProgramUntilLines(QUARRA_CLI_BINARY, service.runArguments(first, client),
                                                    service.workDirectory(), "killed",
                                                    static_cast<std::size_t>(1 + 2 * handedIn - 1));
        ASSERT_EQ(killed.exitCode, 128 + 9) << killed.errorOutput;
        ASSERT_TRUE(storedNumbers(service).empty());

        // The collector is back; the same host starts again on the same data.
        ASSERT_EQ(service.send("DELETE", "/admin/faults").status, 200);
        auto second = writeScenario(service.workDirectory(), "second.json",
                                    scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}},
                                                 {{"do", "drain"}, {"timeoutMs", 30000}},
                                                 {{"do", "health"}}})
                                        .dump());
        auto restarted = testing::runProgram(QUARRA_CLI_BINARY, service.runArguments(second, client),
                                             service.workDirectory(), "restarted");
        ASSERT_EQ(restarted.exitCode, 0) << restarted.errorOutput;

        std::multiset<std::string> expected;
        for (int n = 0; n < handedIn; ++n) expected.insert(std::to_string(n));
        EXPECT_EQ(storedNumbers(service), expected) << handedIn << " reports were handed in before the kill";
        auto health = Json::parse(restarted.outputLines.back(), nullptr, false)["result"];
        EXPECT_EQ(health["queued"], 0) << health.dump();
        EXPECT_GE(health["restored"], handedIn) << "the first run's start-up report waited too";
    }
}

}  // namespace
}  // namespace quarra::e2e
