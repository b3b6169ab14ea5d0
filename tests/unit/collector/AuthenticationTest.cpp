#include <gtest/gtest.h>

#include "base/JsonText.hpp"
#include "collector/SessionStart.hpp"
#include <quarra/testing/ManualPathMonitor.hpp>
#include "support/SessionHarness.hpp"

namespace quarra {
namespace {

using testing::SessionHarness;

struct AuthenticationHarness : SessionHarness {
    explicit AuthenticationHarness(bool online,
                                   std::function<std::chrono::milliseconds(int)> retryDelay = {})
        : monitor(std::make_shared<ManualPathMonitor>(executor, online)) {
        start = SessionStart::create(SessionStart::Dependencies{
            .collector = service,
            .tokenService = tokenService,
            .sessionService = sessionService,
            .networkMonitor = monitor,
            .deviceFacts = [] { return DeviceFacts{.systemName = "Linux", .machineIdentifier = "iPhone12,1"}; },
            .bundle = BundleValues{"Shop", "2.0"},
            .collectFingerprint =
                [this](const std::string& sessionKey, SessionStart::FingerprintResult result) {
                    fingerprintSessions.push_back(sessionKey);
                    result(std::string("visitor-1"), std::string("request-1"), std::nullopt);
                },
            .worker = executor,
            .mainExecutor = executor,
            .switchOnScreenTracking = [this] { ++screenTrackingSwitches; },
            .retryDelay = std::move(retryDelay),
        });
        // The platform plays token, initiate and the collector.
        http->setResponder([](const HttpRequest& request) {
            if (request.url.ends_with("accessToken")) return SimulatedHttpClient::ok(tokenJSON("tok", "ref"));
            if (request.url.ends_with("initiate")) return SimulatedHttpClient::ok(documentJSON("online-txn"));
            return SimulatedHttpClient::ok(R"({"ResponseCode":"0"})");
        });
    }

    size_t requestsEndingWith(const std::string& suffix) const {
        size_t count = 0;
        for (const auto& request : http->requests()) count += request.url.ends_with(suffix);
        return count;
    }

    std::shared_ptr<ManualPathMonitor> monitor;
    std::shared_ptr<SessionStart> start;
    std::vector<std::string> fingerprintSessions;
    int screenTrackingSwitches = 0;
    std::vector<std::string> keys;
};

TEST(Authentication, AnEmptyUserNameIsRefusedWithoutACompletion) {
    testing::ScopedLogs logs;
    AuthenticationHarness h(true);
    h.start->authenticateUser("", "secret", "Acme", [&](const std::string& key) { h.keys.push_back(key); });
    h.executor->runUntilIdle();
    EXPECT_TRUE(h.keys.empty());
    EXPECT_FALSE(h.monitor->isStarted());
    EXPECT_EQ(h.http->requestCount(), 0u);
    EXPECT_TRUE(h.sink->contains("UserName cannot be an empty string"));
    EXPECT_TRUE(h.sink->contains("DataCollector library initialized successfully: false"));
}

TEST(Authentication, OnlineStartSendsTheStartUpReportAndTheFingerprint) {
    testing::ScopedLogs logs;
    AuthenticationHarness h(true);
    h.start->authenticateUser("alice", "secret", "Acme", [&](const std::string& key) { h.keys.push_back(key); });
    h.executor->runUntilIdle();

    EXPECT_EQ(h.keys, std::vector<std::string>{"online-txn"});
    EXPECT_EQ(h.service->sessionKey(), "online-txn");
    EXPECT_EQ(h.fingerprintSessions, std::vector<std::string>{"online-txn"});
    EXPECT_EQ(h.screenTrackingSwitches, 1);
    // The document's collector base takes over for the reports.
    ASSERT_EQ(h.requestsEndingWith("collect/userData"), 1u);
    for (const auto& request : h.http->requests()) {
        if (!request.url.ends_with("userData")) continue;
        // Every report re-derives its base from its path: the production collector.
        EXPECT_EQ(request.url, h.baseUrls.collectorProduction + "userData");
        auto body = parseJSON(*request.body).value();
        EXPECT_EQ(body["sessionId"], "online-txn");
        EXPECT_EQ(body["userData"]["device"]["model"], "iPhone 11");
        EXPECT_EQ(body["userData"]["appName"], "Shop");
    }
    EXPECT_TRUE(h.sink->contains("TransactionID ==  online-txn"));
    EXPECT_TRUE(h.sink->contains("user data called true"));
    EXPECT_TRUE(h.sink->contains("Send user data status: true"));
    EXPECT_TRUE(h.sink->contains("DataCollector library initialized successfully: true"));
    EXPECT_TRUE(h.sink->contains("Starting DataCollector with data: {\nsessionKey: ,\npartnerCD: ,\nregion: US,\n"
                                 "sandboxEnabled: true\n}"));
    // No secret reaches the console.
    for (const auto& line : h.sink->lines()) {
        EXPECT_EQ(line.find("secret"), std::string::npos) << line;
        EXPECT_EQ(line.find("tok"), std::string::npos) << line;
        EXPECT_EQ(line.find(basicCredential("alice", "secret")), std::string::npos) << line;
    }
}

TEST(Authentication, OfflineUsesTheCacheThenGoingOnlineStartsCollectionOnce) {
    AuthenticationHarness h(false);
    h.cache.write(SessionHarness::documentJSON("cached-txn"));
    h.start->authenticateUser("alice", "secret", "Acme", [&](const std::string& key) { h.keys.push_back(key); });
    h.executor->runUntilIdle();
    EXPECT_EQ(h.keys, std::vector<std::string>{"cached-txn"});
    EXPECT_EQ(h.http->requestCount(), 0u);
    EXPECT_EQ(h.service->sessionKey(), "") << "collection is not started offline";

    h.monitor->setSatisfied(true);
    h.executor->runUntilIdle();
    EXPECT_EQ(h.keys, (std::vector<std::string>{"cached-txn", "online-txn"}));
    EXPECT_EQ(h.requestsEndingWith("userData"), 1u);
    EXPECT_EQ(h.fingerprintSessions, std::vector<std::string>{"online-txn"});
    EXPECT_EQ(h.screenTrackingSwitches, 1) << "the offline start switches nothing on";
}

// A new interface or address changes what the initiate call carries, so a
// path change that stays usable signs in again, once per change.
TEST(Authentication, APathChangeThatStaysUsableSignsInAgain) {
    AuthenticationHarness h(true);
    h.start->authenticateUser("alice", "secret", "Acme", [&](const std::string& key) { h.keys.push_back(key); });
    h.executor->runUntilIdle();
    ASSERT_EQ(h.requestsEndingWith("initiate"), 1u);

    h.monitor->announceChange();
    h.executor->runUntilIdle();
    EXPECT_EQ(h.requestsEndingWith("accessToken"), 2u);
    EXPECT_EQ(h.requestsEndingWith("initiate"), 2u);
    EXPECT_EQ(h.keys, (std::vector<std::string>{"online-txn", "online-txn"}));

    h.monitor->setSatisfied(true);  // the same answer with nothing new is no change
    h.executor->runUntilIdle();
    EXPECT_EQ(h.requestsEndingWith("initiate"), 2u);
}

TEST(Authentication, ReportsMadeBeforeTheSessionAreDeliveredAfterIt) {
    AuthenticationHarness h(true);
    h.enableFeatures({"userEvents"});  // as a configuration from an earlier run would
    h.service->sendUserEvents({{"event", "early"}});
    EXPECT_EQ(h.queue.count(), 1u);
    h.start->authenticateUser("alice", "secret", "Acme", {});
    h.executor->runUntilIdle();
    EXPECT_EQ(h.requestsEndingWith("userEvents"), 1u);
    EXPECT_TRUE(h.queue.isEmpty());
}

TEST(Authentication, IgnoreDataCollectionRefusesTheStart) {
    testing::ScopedLogs logs;
    AuthenticationHarness h(true);
    h.service->setIgnoreDataCollection(true);
    std::vector<bool> started;
    h.start->startCollection("key", [&](bool ok) { started.push_back(ok); });
    EXPECT_EQ(started, std::vector<bool>{false});
    EXPECT_TRUE(h.sink->contains("ignoreDataCollection is true, not initializing the DataCollector services"));
    EXPECT_EQ(h.http->requestCount(), 0u);
}

// The default pause before the n-th run again: 5 s doubling, capped at five
// minutes, give or take a fifth.
TEST(Authentication, TheBackOffDoublesFromFiveSecondsToFiveMinutesWithAFifthOfJitter) {
    using std::chrono::milliseconds;
    struct Case {
        int attempt;
        double jitter;
        milliseconds pause;
    };
    const Case cases[] = {
        {0, 0.0, milliseconds(5'000)},  {0, -1.0, milliseconds(4'000)}, {0, 1.0, milliseconds(6'000)},
        {1, 0.0, milliseconds(10'000)}, {5, 0.0, milliseconds(160'000)}, {6, 0.0, milliseconds(300'000)},
        {6, 1.0, milliseconds(360'000)}, {40, 0.0, milliseconds(300'000)}, {1'000'000, -1.0, milliseconds(240'000)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SessionStart::backoff(c.attempt, c.jitter), c.pause) << c.attempt << " " << c.jitter;
    }
}

// A platform whose token or initiate call fails the first `failures` times.
struct FlakyPlatform {
    enum class Fault { tokenUnreachable, tokenRejected, initiateUnreadable, initiateWithoutKey };
    static std::string faultName(Fault fault) {
        switch (fault) {
            case Fault::tokenUnreachable: return "token unreachable";
            case Fault::tokenRejected: return "token rejected";
            case Fault::initiateUnreadable: return "initiate unreadable";
            case Fault::initiateWithoutKey: return "initiate without key";
        }
        return "";
    }

    void install(AuthenticationHarness& h) {
        h.http->setResponder([this](const HttpRequest& request) {
            const bool token = request.url.ends_with("accessToken");
            const bool initiate = request.url.ends_with("initiate");
            const bool tokenFault = fault == Fault::tokenUnreachable || fault == Fault::tokenRejected;
            if ((token && tokenFault) || (initiate && !tokenFault)) {
                if (failures > 0) {
                    --failures;
                    switch (fault) {
                        case Fault::tokenUnreachable: return SimulatedHttpClient::noResponse("Couldn't connect to server");
                        case Fault::tokenRejected: return SimulatedHttpClient::status(401, R"({"error":"invalid_client"})");
                        case Fault::initiateUnreadable: return SimulatedHttpClient::ok(R"({"data": {)");
                        case Fault::initiateWithoutKey:
                            return SimulatedHttpClient::ok(SessionHarness::documentJSON(std::nullopt));
                    }
                }
            }
            if (token) return SimulatedHttpClient::ok(SessionHarness::tokenJSON("tok", "ref"));
            if (initiate) return SimulatedHttpClient::ok(SessionHarness::documentJSON("online-txn"));
            return SimulatedHttpClient::ok(R"({"ResponseCode":"0"})");
        });
    }

    Fault fault = Fault::tokenUnreachable;
    int failures = 0;
};

size_t retryLines(const AuthenticationHarness& h) {
    size_t count = 0;
    for (const auto& line : h.sink->messages()) count += line.starts_with("No session opened; signing in again in");
    return count;
}

// A chain that opens no session starts no collection and runs again after
// the back-off; the run that succeeds tells the host and starts collection
// once, and nothing runs after it.
TEST(Authentication, AChainThatFailedRunsAgainAfterTheBackOffUntilASessionOpens) {
    using Fault = FlakyPlatform::Fault;
    using std::chrono::milliseconds;
    struct Case {
        Fault fault;
        int failures;                                // two failed runs
        milliseconds runTime;                        // a token call: two tries, each followed by a 3 s pause
        std::vector<std::string> keysAfterFirstRun;  // a token failure tells the host nothing
    };
    const Case cases[] = {
        {Fault::tokenUnreachable, 4, milliseconds(6'000), {}},
        {Fault::tokenRejected, 4, milliseconds(6'000), {}},
        {Fault::initiateUnreadable, 2, milliseconds(0), {""}},
        {Fault::initiateWithoutKey, 2, milliseconds(0), {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(FlakyPlatform::faultName(c.fault));
        testing::ScopedLogs logs;
        std::vector<int> attempts;
        AuthenticationHarness h(true, [&](int attempt) {
            attempts.push_back(attempt);
            return SessionStart::backoff(attempt, 0.0);
        });
        FlakyPlatform platform{c.fault, c.failures};
        platform.install(h);
        // An earlier run's configuration: an unreadable reply keeps it in force.
        ASSERT_TRUE(h.cache.write(SessionHarness::documentJSON("cached-txn")));
        h.enableFeatures({"userEvents"});
        h.start->authenticateUser("alice", "secret", "Acme", [&](const std::string& key) { h.keys.push_back(key); });
        h.executor->runUntilIdle();
        h.executor->advance(c.runTime);

        EXPECT_EQ(h.keys, c.keysAfterFirstRun);
        EXPECT_EQ(h.requestsEndingWith("userData"), 0u) << "no collection under an empty key";
        EXPECT_EQ(h.service->sessionKey(), "");
        EXPECT_EQ(static_cast<size_t>(h.screenTrackingSwitches), c.keysAfterFirstRun.size());
        EXPECT_EQ(attempts, std::vector<int>{0});
        EXPECT_TRUE(h.sink->contains("No session opened; signing in again in 5 s"));
        // A report made now waits for the session.
        h.service->sendUserEvents({{"event", "meanwhile"}});
        h.executor->runUntilIdle();
        EXPECT_EQ(h.requestsEndingWith("userEvents"), 0u);

        // Nothing before the pause ends; the second run fails too.
        h.executor->advance(milliseconds(4'900));
        EXPECT_EQ(attempts, std::vector<int>{0});
        h.executor->advance(milliseconds(100) + c.runTime);
        EXPECT_EQ(attempts, (std::vector<int>{0, 1}));
        EXPECT_EQ(h.keys, c.keysAfterFirstRun) << "a run again that fails tells the host nothing";

        // The second pause is 10 s; the third run opens the session.
        h.executor->advance(milliseconds(9'900));
        EXPECT_EQ(h.requestsEndingWith("userData"), 0u);
        h.executor->advance(milliseconds(100));
        auto expected = c.keysAfterFirstRun;
        expected.push_back("online-txn");
        EXPECT_EQ(h.keys, expected);
        EXPECT_EQ(h.service->sessionKey(), "online-txn");
        EXPECT_EQ(h.requestsEndingWith("userData"), 1u);
        EXPECT_EQ(h.requestsEndingWith("userEvents"), 1u) << "the waiting report goes out under the session";
        EXPECT_EQ(h.screenTrackingSwitches, static_cast<int>(c.keysAfterFirstRun.size()) + 1);

        // Nothing runs after a session opened.
        const auto tokens = h.requestsEndingWith("accessToken");
        h.executor->advance(std::chrono::minutes(30));
        EXPECT_EQ(h.requestsEndingWith("accessToken"), tokens);
        EXPECT_EQ(retryLines(h), 2u);
    }
}

// A path change starts a fresh chain with the shortest pause; a path that
// becomes unusable, or the library's shutdown, ends the runs.
TEST(Authentication, PathChangesResetTheRunsAgainAndStopEndsThem) {
    testing::ScopedLogs logs;
    std::vector<int> attempts;  // the attempt each pause was asked for
    AuthenticationHarness h(true, [&](int attempt) {
        attempts.push_back(attempt);
        return SessionStart::backoff(attempt, 0.0);
    });
    FlakyPlatform platform{FlakyPlatform::Fault::initiateUnreadable, 1'000};
    platform.install(h);
    h.start->authenticateUser("alice", "secret", "Acme", {});
    h.executor->runUntilIdle();
    h.executor->advance(std::chrono::seconds(5));
    EXPECT_EQ(attempts, (std::vector<int>{0, 1}));

    // Changed while the 10 s pause runs: the change runs at once and starts
    // from the first pause; the older chain's pause runs nothing.
    h.monitor->setSatisfied(false);
    h.executor->runUntilIdle();
    h.monitor->setSatisfied(true);
    h.executor->runUntilIdle();
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 0}));
    h.executor->advance(std::chrono::seconds(5));
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 0, 1}));
    h.executor->advance(std::chrono::seconds(10));
    EXPECT_EQ(attempts, (std::vector<int>{0, 1, 0, 1, 2})) << "one run per pause, the old chain's timer spent";
    EXPECT_EQ(retryLines(h), attempts.size());
    EXPECT_TRUE(h.sink->contains("No session opened; signing in again in 20 s"));

    // Unusable: the pending run does nothing.
    h.monitor->setSatisfied(false);
    h.executor->runUntilIdle();
    const auto tokens = h.requestsEndingWith("accessToken");
    h.executor->advance(std::chrono::minutes(30));
    EXPECT_EQ(h.requestsEndingWith("accessToken"), tokens);

    // Usable again, then stopped: one run, then none.
    h.monitor->setSatisfied(true);
    h.executor->runUntilIdle();
    const auto afterChange = h.requestsEndingWith("accessToken");
    EXPECT_GT(afterChange, tokens);
    h.start->stop();
    h.executor->advance(std::chrono::minutes(30));
    EXPECT_EQ(h.requestsEndingWith("accessToken"), afterChange);
}

}  // namespace
}  // namespace quarra
