#include <gtest/gtest.h>

#include "base/JsonText.hpp"
#include "collector/SessionStart.hpp"
#include <quarra/testing/ManualPathMonitor.hpp>
#include "support/SessionHarness.hpp"

namespace quarra {
namespace {

using testing::SessionHarness;

struct AuthenticationHarness : SessionHarness {
    AuthenticationHarness(bool online) : monitor(std::make_shared<ManualPathMonitor>(executor, online)) {
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

}  // namespace
}  // namespace quarra
