// Faults in the sign-in and on the collector, played with quarra-cli against
// quarra-service: a configuration reply that cannot be read, a collector that
// answers slowly during a resend pass, a service that cannot be reached.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <future>
#include <map>
#include <sstream>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kUserEventsPath = "/api/data/collect/userEvents";

std::string transcript(const CliResult& run) {
    std::string text = "quarra-cli's standard output:\n";
    for (const auto& line : run.rawLines) text += line + "\n";
    return text + "and its standard error:\n" + run.errorOutput;
}

Json numbered(int n) { return {{"event", "tap"}, {"n", std::to_string(n)}}; }

// Copies of each numbered report across every session the service holds.
std::map<std::string, int> storedNumbers(LocalService& service) {
    std::map<std::string, int> copies;
    for (const auto& session : service.sessions()) {
        for (const auto& event : storedReports(service.session(session["id"].get<std::string>()), "events")) {
            copies[event.value("n", "?")] += 1;
        }
    }
    return copies;
}

int repeatsAbsorbed(LocalService& service) {
    int repeats = 0;
    for (const auto& session : service.sessions()) {
        repeats += service.session(session["id"].get<std::string>()).value("repeatsAbsorbed", 0);
    }
    return repeats;
}

// A reply to the initiate call that is not a configuration document: the
// configuration cached by the run before stays in force, the report waits,
// and it goes out once the next sign-in opens a session.
TEST(SessionFaults, AnUnreadableConfigurationReplyKeepsTheCachedOneAndTheReportWaitsForTheNextSession) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    const auto client = service.workDirectory() / "client";
    auto first = writeScenario(service.workDirectory(), "first.json",
                               scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}},
                                            {{"do", "drain"}, {"timeoutMs", 30000}}})
                                   .dump());
    auto cached = runCli(service.runArguments(first, client), service.workDirectory());
    ASSERT_EQ(cached.exitCode, 0) << transcript(cached);

    ASSERT_TRUE(service.addFault(
        {{"path", "/api/v1/transactions/initiate"}, {"responseCode", "9"}, {"count", 1}}));
    auto second = writeScenario(service.workDirectory(), "second.json",
                                scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}},
                                             sendStep("userEvents", numbered(1)),
                                             {{"do", "drain"}, {"timeoutMs", 30000}},
                                             {{"do", "health"}}})
                                    .dump());
    auto run = runCli(service.runArguments(second, client), service.workDirectory());
    SCOPED_TRACE(transcript(run));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.step(1)["result"], "") << "the host hears of no session";
    EXPECT_THAT(run.errorOutput, HasSubstr("the cached configuration is in force"));
    EXPECT_THAT(run.errorOutput, HasSubstr("No session opened; signing in again in"));
    EXPECT_EQ(run.step(3)["result"], true) << "delivered after the next sign-in";
    auto health = run.step(4)["result"];
    EXPECT_EQ(health["session"], "online") << health.dump();
    EXPECT_EQ(health["dropped"]["disabledFeature"], 0) << "the cached configuration kept user events on";

    EXPECT_EQ(storedNumbers(service), (std::map<std::string, int>{{"1", 1}}));
    // No report went out under an empty session key.
    for (const auto& session : service.sessions()) EXPECT_NE(session["id"], "");
}

// A resend pass of many reports to a collector that answers in 0.7 s: each
// request's 3-second time-out counts from the wire, so none times out and
// none is sent twice.
TEST(SessionFaults, ASlowCollectorDuringAResendPassGetsEachReportOnce) {
    constexpr int kReports = 100;
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    const auto client = service.workDirectory() / "client";
    // First the collector refuses: every report waits in the outbox.
    ASSERT_TRUE(service.addFault({{"path", kUserEventsPath}, {"responseCode", "7"}, {"count", 100000}}));
    Json steps = Json::array({{{"do", "authenticate"}, {"timeoutMs", 20000}}});
    for (int n = 0; n < kReports; ++n) steps.push_back(sendStep("userEvents", numbered(n)));
    auto first = writeScenario(service.workDirectory(), "first.json", scenarioFor(steps).dump());
    auto refused = runCli(service.runArguments(first, client), service.workDirectory());
    ASSERT_EQ(refused.exitCode, 0) << transcript(refused);
    ASSERT_TRUE(storedNumbers(service).empty());

    // Then it accepts, slowly; the next run resends all of them in one pass.
    ASSERT_EQ(service.send("DELETE", "/admin/faults").status, 200);
    ASSERT_TRUE(service.addFault({{"path", kUserEventsPath}, {"delayMs", 700}, {"count", 100000}}));
    auto second = writeScenario(service.workDirectory(), "second.json",
                                scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}},
                                             {{"do", "drain"}, {"timeoutMs", 120000}},
                                             {{"do", "health"}}})
                                    .dump());
    auto run = runCli(service.runArguments(second, client), service.workDirectory(), std::chrono::seconds(180));
    SCOPED_TRACE(transcript(run));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.step(2)["result"], true);
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Report not delivered")));

    auto copies = storedNumbers(service);
    EXPECT_EQ(copies.size(), static_cast<size_t>(kReports));
    for (const auto& [n, count] : copies) EXPECT_EQ(count, 1) << "report " << n;
    EXPECT_EQ(repeatsAbsorbed(service), 0) << "an attempt timed out and was sent again";
}

// A port where nothing listens, for a service that is down.
int deadPort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

// A sign-in that fails says so on the console, with the operation and the
// reason, and without the secret.
TEST(SessionFaults, AFailedSignInWritesOneConsoleLineWithItsReason) {
    LocalService service;
    LocalService other;  // whose authority the first one's certificate does not chain to
    ASSERT_TRUE(service.started()) << service.startupProblem();
    ASSERT_TRUE(other.started()) << other.startupProblem();
    const std::string secret = "not-the-demo-secret";

    struct Case {
        std::string name;
        std::function<std::vector<std::string>(const std::filesystem::path&)> arguments;
        std::string reason;  // part of the console line
    };
    const std::string dead = "https://127.0.0.1:" + std::to_string(deadPort());
    auto withPlatform = [&](std::vector<std::string> arguments, const std::string& option, const std::string& value) {
        for (size_t i = 0; i + 1 < arguments.size(); ++i) {
            if (arguments[i] == option) arguments[i + 1] = value;
        }
        return arguments;
    };
    const std::vector<Case> cases{
        {"a dead port",
         [&](const auto& scenario) {
             return withPlatform(service.runArguments(scenario, service.workDirectory() / "dead"), "--platform-url",
                                 dead);
         },
         "Couldn't connect"},
        {"an untrusted certificate",
         [&](const auto& scenario) {
             return withPlatform(service.runArguments(scenario, service.workDirectory() / "untrusted"), "--ca-file",
                                 other.caFile());
         },
         "certificate"},
        {"a wrong secret",
         [&](const auto& scenario) { return service.runArguments(scenario, service.workDirectory() / "wrong"); },
         "401"},
    };
    auto scenario = writeScenario(service.workDirectory(), "sign-in.json",
                                  scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 9000}}}, "demo", secret).dump());
    std::vector<std::future<CliResult>> runs;
    for (const auto& c : cases) {
        runs.push_back(std::async(std::launch::async, [&, arguments = c.arguments(scenario)] {
            return runCli(arguments, service.workDirectory());
        }));
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        auto run = runs[i].get();
        SCOPED_TRACE(transcript(run));
        EXPECT_EQ(run.exitCode, 1) << "the step gave up waiting";
        std::vector<std::string> failures;
        std::istringstream lines(run.errorOutput);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("Sign-in failed at accessToken: ") != std::string::npos) failures.push_back(line);
        }
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_THAT(failures[0], HasSubstr(cases[i].reason));
        EXPECT_THAT(run.errorOutput, Not(HasSubstr(secret)));
    }
}

}  // namespace
}  // namespace quarra::e2e
