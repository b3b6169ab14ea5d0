// The engine as a host meets it: what building it costs, when collection has
// started, flush, shutdown and what every call does afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include "EngineHarness.hpp"
#include "base/JsonText.hpp"
#include "transactions/TransactionEventService.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::Box;
using testing::EngineHarness;
using testing::eventually;

// The sessionId of every collector request sent so far, by report key.
std::vector<std::pair<std::string, std::string>> sentReports(const SimulatedHttpClient& http) {
    std::vector<std::pair<std::string, std::string>> reports;
    for (const auto& request : http.requests()) {
        if (request.url.find("/api/data/collect/") == std::string::npos || !request.body) continue;
        auto body = parseJSON(*request.body).value_or(JSONDictionary::object());
        for (const char* key : {"userData", "events", "activityStream", "fingerprintPro"}) {
            if (body.contains(key)) reports.emplace_back(key, body.value("sessionId", ""));
        }
    }
    return reports;
}

// Lets the worker's timers (retry pauses, time-outs) pass, one after another.
void runTimers(EngineHarness& h, std::chrono::milliseconds span) {
    h.settle();
    for (auto left = span; left.count() > 0;) {
        auto next = h.manualQueue->nextDelay();
        if (!next || *next > left) break;
        h.manualQueue->advance(*next);
        left -= *next;
        h.settle();
    }
}

TEST(Engine, BuildingItAndSigningInLeaveTheDiskToTheWorker) {
    EngineHarness h(/*manual=*/true, /*sealedStore=*/true);
    const auto data = h.directory.path() / "data";
    h.service().authenticateUser("alice", "secret", "Acme", {});
    EXPECT_FALSE(std::filesystem::exists(data)) << "the caller's thread only posts";
    EXPECT_EQ(h.http->requestCount(), 0u);

    h.settle();
    EXPECT_TRUE(std::filesystem::exists(data / "DataCache")) << "the worker wrote the configuration cache";
    EXPECT_TRUE(std::filesystem::exists(data / "secure-store.sqlite")) << "and opened the secure store";
    EXPECT_EQ(h.engine->keychain.string("transactionId"), "session-7");
}

TEST(Engine, ReportsSentWhenCollectionHasStartedGoOutUnderTheSessionKey) {
    EngineHarness h(/*manual=*/true);
    std::vector<std::string> order;
    h.service().authenticateUser(
        "alice", "secret", "Acme",
        [&](const std::string& key) {
            order.push_back("completion " + key);
            h.service().sendUserEvents({{"event", "from the completion"}});
        },
        [&](bool started) {
            order.push_back(std::string("started ") + (started ? "true" : "false"));
            h.service().sendUserEvents({{"event", "from collectionStarted"}});
        });
    h.settle();

    EXPECT_EQ(order, (std::vector<std::string>{"completion session-7", "started true"}));
    const auto reports = sentReports(*h.http);
    // The start-up report, the report sent once collection ran, and the one
    // sent from the completion, which waited in the queue for the session.
    ASSERT_EQ(reports.size(), 3u);
    for (const auto& [key, sessionId] : reports) EXPECT_EQ(sessionId, "session-7") << key;
    EXPECT_EQ(reports[0].first, "userData");
    auto health = h.service().health();
    EXPECT_EQ(health.queued, 0u);
    EXPECT_EQ(health.accepted, 3u);
    EXPECT_EQ(health.resendPasses, 1u);
}

// A sign-in that fails is told: the last error of the health snapshot, and
// one console line with the step and the reason, never the credential.
TEST(Engine, ASignInThatFailsShowsInTheHealthAndOnTheConsole) {
    testing::ScopedLogs logs;
    struct Case {
        const char* name;
        std::function<std::optional<HttpResult>(const HttpRequest&)> platform;
        std::string operation, code;
        DataCollectorService::Health::Session session;
    };
    const Case cases[] = {
        {"wrong secret", [](const HttpRequest&) { return SimulatedHttpClient::status(401, "{}"); }, "accessToken", "401",
         DataCollectorService::Health::Session::none},
        {"untrusted certificate",
         [](const HttpRequest&) { return SimulatedHttpClient::noResponse("SSL peer certificate was not OK"); },
         "accessToken", "-1", DataCollectorService::Health::Session::none},
        {"initiate refused",
         [](const HttpRequest& request) -> std::optional<HttpResult> {
             if (request.url.ends_with("accessToken")) return SimulatedHttpClient::ok(testing::SessionHarness::tokenJSON("t", "r"));
             return SimulatedHttpClient::status(503);
         },
         "initiate", "503", DataCollectorService::Health::Session::none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineHarness h(/*manual=*/true);
        h.http->setResponder(c.platform);
        h.service().authenticateUser("alice", "s3cret-value", "Acme", {});
        runTimers(h, 10s);  // the retry and its pauses
        auto health = h.service().health();
        ASSERT_TRUE(health.lastError);
        EXPECT_EQ(health.lastError->operation, c.operation);
        EXPECT_EQ(health.lastError->code, c.code);
        EXPECT_EQ(health.session, c.session);
        EXPECT_TRUE(h.sink->mentions("Sign-in failed at " + c.operation + ": " + c.code));
        for (const auto& line : h.sink->lines()) {
            EXPECT_EQ(line.find("s3cret-value"), std::string::npos) << line;
            EXPECT_EQ(line.find(basicCredential("alice", "s3cret-value")), std::string::npos) << line;
        }
    }
}

TEST(Engine, TheHealthTellsTheSessionStateAndTheLastAcceptance) {
    EngineHarness h(/*manual=*/true);
    h.monitor->setSatisfied(false);
    h.engine->cache.write(testing::SessionHarness::documentJSON("cached-key"));
    h.service().authenticateUser("alice", "secret", "Acme", {});
    h.settle();
    EXPECT_EQ(h.service().health().session, DataCollectorService::Health::Session::offlineFromCache);
    EXPECT_FALSE(h.service().health().lastAccepted);

    h.monitor->setSatisfied(true);
    h.settle();
    auto health = h.service().health();
    EXPECT_EQ(health.session, DataCollectorService::Health::Session::online);
    ASSERT_TRUE(health.lastAccepted) << "the start-up report";
    EXPECT_EQ(*health.lastAccepted, h.clock->now());
}

TEST(Engine, FlushWaitsForTheAnswersOfEverythingHandedInBefore) {
    EngineHarness h(/*manual=*/false);
    h.startSession();
    std::atomic<int> answered{0};
    for (int i = 0; i < 3; ++i) h.service().sendUserEvents({{"n", std::to_string(i)}}, [&](bool) { ++answered; });
    ASSERT_TRUE(eventually([&] { return h.network->pending() == 3; })) << "the worker sent them";
    EXPECT_FALSE(h.service().flush(0ms)) << "the answers are held";
    EXPECT_EQ(h.service().health().inFlight, 3u);

    h.network->runUntilIdle();
    EXPECT_TRUE(h.service().flush(10s));
    EXPECT_EQ(answered.load(), 3);
    EXPECT_EQ(h.service().health().inFlight, 0u);
}

TEST(Engine, FlushOrShutdownFromACompletionReturnsAtOnce) {
    EngineHarness h(/*manual=*/false);
    h.startSession();
    Box<std::pair<bool, bool>> fromCompletion;
    h.service().sendUserEvents({{"n", "1"}}, [&](bool) {
        fromCompletion.set({h.service().flush(10s), h.service().shutdown(10s)});
    });
    ASSERT_TRUE(eventually([&] { return h.network->pending() == 1; }));
    h.network->runUntilIdle();
    auto answers = fromCompletion.waitFor(10s);
    ASSERT_TRUE(answers);
    EXPECT_FALSE(answers->first);
    EXPECT_FALSE(answers->second);
    EXPECT_TRUE(h.service().shutdown(1s)) << "it did not shut down from the completion";
}

TEST(Engine, AfterShutdownEveryCallAnswersAtOnceOnTheCallersThread) {
    testing::ScopedLogs logs;
    EngineHarness h(/*manual=*/false);
    EXPECT_TRUE(h.service().shutdown(1s));
    EXPECT_TRUE(h.service().shutdown(1s)) << "a second call changes nothing";

    const auto caller = std::this_thread::get_id();
    std::vector<std::string> answers;
    auto expectAtOnce = [&](const std::string& what) {
        return [&, what](bool accepted) {
            EXPECT_EQ(std::this_thread::get_id(), caller) << what;
            answers.push_back(what + (accepted ? " true" : " false"));
        };
    };
    h.service().sendUserEvents({{"n", "1"}}, expectAtOnce("report"));
    h.service().sendLocationData(48.85, 2.35, expectAtOnce("location"));
    h.engine->tracking->sendUserEvents({{"n", "2"}}, expectAtOnce("tracked tap"));
    HttpRequest request;
    request.url = "https://platform.test/api/v1/transactions/x";
    h.engine->transactionNetwork->send(request, [&](HttpResult result) {
        answers.push_back("transaction " + result.error.value_or(""));
    });
    h.service().authenticateUser("alice", "secret", "Acme", [&](const std::string&) { answers.push_back("key"); });

    EXPECT_EQ(answers, (std::vector<std::string>{"report false", "location false", "tracked tap false",
                                                 "transaction cancelled"}));
    EXPECT_TRUE(h.sink->contains("The library has been shut down; the report was not sent"));
    EXPECT_TRUE(h.sink->contains("The library has been shut down; authenticateUser() does nothing"));
    EXPECT_TRUE(h.service().flush(0ms)) << "nothing is left to wait for";
    EXPECT_EQ(h.http->requestCount(), 0u);
}

TEST(Engine, AShutdownWithAClientThatNeverAnswersStillAnswersEveryReportOnce) {
    EngineHarness h(/*manual=*/false);
    h.startSession();
    h.http->dropAnswers(true);
    std::mutex mutex;
    std::vector<bool> answers;
    for (int i = 0; i < 5; ++i) {
        h.service().sendUserEvents({{"n", std::to_string(i)}}, [&](bool accepted) {
            std::lock_guard lock(mutex);
            answers.push_back(accepted);
        });
    }
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_FALSE(h.service().shutdown(200ms)) << "no answer came within the time-out";
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 5s) << "the lost requests' time-outs passed at once";

    std::lock_guard lock(mutex);
    EXPECT_EQ(answers, std::vector<bool>(5, false));
    auto health = h.service().health();
    EXPECT_EQ(health.queued, 5u) << "kept for a later resend";
    EXPECT_EQ(health.inFlight, 0u);
    EXPECT_EQ(health.submitted, health.accepted + health.refused + health.queued + health.dropped.total());
}

TEST(Engine, TransactionsAreBuiltOnTheWorkerAndAnsweredAtOnceAfterShutdown) {
    EngineHarness h(/*manual=*/true);
    ASSERT_TRUE(h.engine->keychain.set("access-1", "accessToken"));
    auto service = std::make_shared<TransactionEventService>(h.engine->transactionNetwork, h.engine->keychain,
                                                             h.engine->baseUrls.platformTransactions,
                                                             h.engine->hostWorker);
    std::vector<bool> answers;
    auto cancel = [&] {
        service->cancelTransaction("Refunded", "ORD-1", "txn", "Cancelled", "",
                                   [&](TransactionResult<CancelTransactionResponse> result) {
                                       answers.push_back(result.error() == nullptr);
                                   });
    };
    cancel();
    EXPECT_EQ(h.http->requestCount(), 0u) << "the caller's thread reads no secure store";
    h.settle();
    ASSERT_EQ(h.http->requestCount(), 1u);
    EXPECT_EQ(h.http->requests()[0].header("Authorization"), "Bearer access-1");
    EXPECT_EQ(answers.size(), 1u);

    h.service().shutdown(0ms);
    cancel();
    EXPECT_EQ(answers.size(), 2u) << "answered at once, on this thread";
    EXPECT_FALSE(answers.back());
    EXPECT_EQ(h.http->requestCount(), 1u);
}

}  // namespace
}  // namespace quarra
