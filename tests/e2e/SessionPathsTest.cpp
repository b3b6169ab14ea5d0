// How a session opens: refused accounts, the offline start from the cached
// configuration, and a service that cannot be reached.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(SessionPathsTest, UnknownAccountNeverGetsASessionKey) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    // Longer than the token call's two attempts and pauses (about 6 s).
    auto scenario = scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 8000}},
                                 sendStep("userEvents", buttonEvent("LoginAttempt", 1))},
                                "mallory", "guessed-secret");
    auto path = writeScenario(service.workDirectory(), "unknown.json", scenario.dump());

    auto run = runCli(service.runArguments(path, service.workDirectory() / "client"), service.workDirectory());

    EXPECT_EQ(run.exitCode, 1) << run.errorOutput;
    ASSERT_EQ(run.lines.size(), 1u) << "the steps after a time-out must not run";
    EXPECT_EQ(run.step(1)["result"], nullptr);
    EXPECT_EQ(run.step(1)["timedOut"], true);
    EXPECT_THAT(run.errorOutput, HasSubstr("step 1 (\"authenticate\") timed out"));
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("TransactionID")));
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));
    EXPECT_TRUE(service.sessions().empty());
}

TEST(SessionPathsTest, OfflineStartUsesTheCachedSessionThenGoesOnlineWithAFreshOne) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    const auto client = service.workDirectory() / "client";

    // A first run leaves the configuration cache behind in the client's data directory.
    auto first = scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}}, {{"do", "drain"}}});
    auto firstRun = runCli(service.runArguments(writeScenario(service.workDirectory(), "first.json", first.dump()), client),
                           service.workDirectory());
    ASSERT_EQ(firstRun.exitCode, 0) << firstRun.errorOutput;
    const auto cachedKey = firstRun.step(1)["result"].get<std::string>();

    const auto offlineEvent = buttonEvent("LoginEnter", 7);
    auto second = scenarioFor({
        {{"do", "network"}, {"satisfied", false}},
        {{"do", "authenticate"}, {"timeoutMs", 10000}},
        sendStep("userEvents", offlineEvent),  // no session yet: waits in the queue
        {{"do", "network"}, {"satisfied", true}, {"timeoutMs", 20000}},
        {{"do", "drain"}, {"timeoutMs", 20000}},
    });
    auto run = runCli(service.runArguments(writeScenario(service.workDirectory(), "second.json", second.dump()), client),
                      service.workDirectory());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));

    EXPECT_EQ(run.step(1)["result"], false);
    EXPECT_EQ(run.step(2)["result"], cachedKey);  // from the cache, without any network call
    EXPECT_EQ(run.step(3)["result"], false);
    const auto freshKey = run.step(4)["result"];
    ASSERT_TRUE(freshKey.is_string());
    EXPECT_NE(freshKey, cachedKey);
    EXPECT_EQ(run.step(5)["result"], true);

    EXPECT_EQ(service.sessions().size(), 2u);
    auto fresh = service.session(freshKey.get<std::string>());
    EXPECT_EQ(copiesOf(storedReports(fresh, "events"), offlineEvent), 1);
    EXPECT_EQ(storedReports(fresh, "userData").size(), 1u);
    for (const auto& id : envelopeSessionIds(fresh)) EXPECT_EQ(id, freshKey);
    // The cached session got only the first run's start-up report.
    auto cached = service.session(cachedKey);
    EXPECT_EQ(storedReports(cached, "userData").size(), 1u);
    EXPECT_TRUE(storedReports(cached, "events").empty());
}

TEST(SessionPathsTest, UnreachableServiceEndsInATimeOutNotACrash) {
    testing::TempDir directory;
    auto scenario = scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 1500}}});
    auto path = writeScenario(directory.path(), "unreachable.json", scenario.dump());
    // Port 9 on loopback: nothing listens there.
    const std::string nowhere = "https://127.0.0.1:9";
    auto run = runCli({"run", path.string(), "--platform-url", nowhere, "--collector-url", nowhere,
                       "--certification-url", nowhere, "--log-url", nowhere, "--data-dir",
                       (directory.path() / "client").string(), "--network", "manual"},
                      directory.path());
    EXPECT_EQ(run.exitCode, 1) << run.errorOutput;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.step(1)["timedOut"], true);
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));
}

}  // namespace
}  // namespace quarra::e2e
