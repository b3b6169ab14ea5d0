#include <gtest/gtest.h>

#include <thread>

#include "config/SessionConfigManager.hpp"
#include "logging/LogManager.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "support/ServiceHarness.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

using std::chrono::milliseconds;

using RecordingLog = testing::RecordingLogManager;

BaseUrls testBases() {
    return BaseUrls::from(ServiceOrigins{.platform = "https://platform.test",
                                         .collector = "https://collect.test",
                                         .certification = "https://cert.test",
                                         .log = "https://log.test"});
}

DataCollectorAPI report(std::string path, BaseUrlType type = BaseUrlType::dcBaseUrl) {
    return DataCollectorAPI::sendData({{"sessionId", "k"}}, std::nullopt, std::move(path), std::nullopt, "", type);
}

class RequestsManagerTest : public ::testing::Test {
protected:
    explicit RequestsManagerTest(BaseUrls bases = testBases())
        : manager(std::make_unique<RequestsManager>(RequestsManager::Dependencies{
              .session = http,
              .mainExecutor = main,
              .worker = retry,
              .baseUrls = std::move(bases),
              .logManager = &log,
              .sessionConfigManager = &config,
          })) {}

    bool send(const DataCollectorAPI& api, int64_t retryCount = 1, const std::string& interval = "") {
        return manager->request(
            api, retryCount, interval, [this](const std::string& body) { successes.push_back(body); },
            [this](const APIError& error) { failures.push_back(error); });
    }

    // Runs everything that is due now on every queue.
    void settle() {
        while (network->runUntilIdle() + main->runUntilIdle() + retry->runUntilIdle() > 0) {
        }
    }
    // Settles, then lets every pending pause elapse until nothing is left.
    void runToEnd() {
        settle();
        while (auto delay = retry->nextDelay()) {
            retry->advance(*delay);
            settle();
        }
    }
    void setLogLevel(std::optional<int64_t> level) { config.replace(SessionConfiguration{.logLevel = level}); }

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ManualExecutor> network = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<ManualExecutor> main = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<ManualExecutor> retry = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(network);
    RecordingLog log;
    SessionConfigManager config;
    std::unique_ptr<RequestsManager> manager;
    std::vector<std::string> successes;
    std::vector<APIError> failures;
};

TEST_F(RequestsManagerTest, BaseURLFollowsThePath) {
    manager->setLogBaseUrl("  https://logs.test/in/\n");
    struct Row {
        DataCollectorAPI api;
        std::string url;
        std::string baseUrl;
    };
    const BaseUrls bases = testBases();
    const Row rows[] = {
        {DataCollectorAPI::sendDataAccessToken({}, "c", "accessToken", 10.0, "1", BaseUrlType::dcBaseUrl),
         bases.platformApi + "accessToken", bases.platformApi},
        {report("initiate"), bases.platformTransactions + "initiate", bases.platformTransactions},
        {report("userData"), bases.collectorProduction + "userData", bases.collectorProduction},
        {report(""), bases.collectorProduction, bases.collectorProduction},
        {report("", BaseUrlType::logBaseUrl), "https://logs.test/in/", bases.collectorProduction},
    };
    for (const auto& row : rows) {
        manager->setBaseUrl("https://stale.test/");
        http->enqueue(SimulatedHttpClient::ok("{}"));
        EXPECT_TRUE(send(row.api));
        EXPECT_EQ(http->requests().back().url, row.url);
        EXPECT_EQ(manager->baseUrl(), row.baseUrl);
    }
    EXPECT_EQ(manager->logBaseUrl(), "  https://logs.test/in/\n");  // trimmed for use, kept as given
    EXPECT_EQ(manager->builtInBaseUrls().platformApi, bases.platformApi);
}

TEST_F(RequestsManagerTest, SuccessDeliversTheBodyOnTheWorker) {
    http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));
    EXPECT_TRUE(send(report("userData")));
    const auto request = http->requests().at(0);
    EXPECT_EQ(request.body, R"({"sessionId":"k"})");
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    network->runUntilIdle();
    EXPECT_TRUE(successes.empty()) << "the client's thread only hands the answer over";
    EXPECT_EQ(retry->runUntilIdle(), 1u);
    EXPECT_EQ(successes, std::vector<std::string>{R"({"ResponseCode":"0"})"});
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(main->pending(), 0u);
}

TEST_F(RequestsManagerTest, InitiateSuccessArrivesThroughTheMainExecutor) {
    http->enqueue(SimulatedHttpClient::ok(R"({"data":{}})"));
    send(report("initiate"));
    network->runUntilIdle();
    retry->runUntilIdle();
    EXPECT_TRUE(successes.empty());
    EXPECT_EQ(main->runUntilIdle(), 1u);
    EXPECT_EQ(successes, std::vector<std::string>{R"({"data":{}})"});
}

TEST_F(RequestsManagerTest, AnAttemptTheClientNeverAnswersFailsAfterItsTimeOutAndTheGrace) {
    auto guarded = std::make_unique<RequestsManager>(RequestsManager::Dependencies{
        .session = http,
        .mainExecutor = main,
        .worker = retry,
        .baseUrls = testBases(),
        .answerGrace = milliseconds(2000),
    });
    http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::ok("late"); });
    http->dropAnswers(true);  // the client loses every request
    guarded->request(report("userData"), 0, "0", [this](const std::string& body) { successes.push_back(body); },
                     [this](const APIError& error) { failures.push_back(error); });
    retry->advance(milliseconds(4999));
    EXPECT_TRUE(failures.empty()) << "3 s of request time-out and 2 s of grace";
    retry->advance(milliseconds(1));
    settle();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].code, "-1");
    EXPECT_TRUE(successes.empty());
}

TEST_F(RequestsManagerTest, EveryFailureKindEndsInExactlyOneFailureAfterTheRetry) {
    struct Row {
        const char* what;
        HttpResult answer;
        APIError expected;
    };
    const Row rows[] = {
        {"refused", SimulatedHttpClient::noResponse("Connection refused"), {"userData", "-1", "Connection refused"}},
        {"timed out", SimulatedHttpClient::noResponse("Operation timed out"), {"userData", "-1", "Operation timed out"}},
        {"server error", SimulatedHttpClient::status(500), {"userData", "500", "HTTP status 500"}},
        {"not found with body", SimulatedHttpClient::status(404, "missing"), {"userData", "404", "HTTP status 404"}},
        {"2xx without body", SimulatedHttpClient::status(204), {"userData", "204", "HTTP status 204 without a body"}},
        {"answer cut short", HttpResult{.body = std::nullopt, .response = HttpResponse{.statusCode = 200}, .error = "closed"},
         {"userData", "200", "closed"}},
        {"neither answer nor error", HttpResult{}, {"userData", "-1", "No response"}},
    };
    for (const auto& row : rows) {
        successes.clear();
        failures.clear();
        const size_t sentBefore = http->requestCount();
        http->setResponder([&](const HttpRequest&) { return row.answer; });
        EXPECT_TRUE(send(report("userData")));
        runToEnd();
        EXPECT_EQ(http->requestCount() - sentBefore, 2u) << row.what;
        EXPECT_TRUE(successes.empty()) << row.what;
        ASSERT_EQ(failures.size(), 1u) << row.what;
        EXPECT_EQ(failures[0], row.expected) << row.what;
    }
}

TEST_F(RequestsManagerTest, RetryPausesBeforeTheRetryAndBeforeTheFailure) {
    const std::pair<const char*, milliseconds> cases[] = {
        {"", milliseconds(3000)},  {"not a number", milliseconds(3000)}, {"3", milliseconds(3000)},
        {"0.25", milliseconds(250)}, {"7", milliseconds(7000)},
    };
    for (const auto& [interval, pause] : cases) {
        failures.clear();
        http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::status(503); });
        const size_t sentBefore = http->requestCount();
        send(report("userData"), 1, interval);
        settle();
        EXPECT_EQ(retry->nextDelay(), pause) << interval;
        retry->advance(pause - milliseconds(1));
        settle();
        EXPECT_EQ(http->requestCount() - sentBefore, 1u) << interval;
        retry->advance(milliseconds(1));
        settle();
        EXPECT_EQ(http->requestCount() - sentBefore, 2u) << interval;
        retry->advance(pause - milliseconds(1));
        settle();
        EXPECT_TRUE(failures.empty()) << interval;
        retry->advance(milliseconds(1));
        settle();
        EXPECT_EQ(failures.size(), 1u) << interval;
        EXPECT_EQ(retry->pending(), 0u);
    }
}

TEST_F(RequestsManagerTest, ZeroRetriesFailsAfterOnePause) {
    http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::noResponse("Connection reset by peer"); });
    send(report("userData"), 0, "2");
    settle();
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(retry->nextDelay(), milliseconds(2000));
    retry->advance(milliseconds(2000));
    settle();
    EXPECT_EQ(http->requestCount(), 1u);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].message, "Connection reset by peer");
}

TEST_F(RequestsManagerTest, ASuccessfulRetryReportsOnlyTheSuccess) {
    http->enqueue(SimulatedHttpClient::status(502));
    http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));
    send(report("userData"));
    runToEnd();
    EXPECT_EQ(successes.size(), 1u);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(http->requestCount(), 2u);
}

class UnbuildableRequestTest : public RequestsManagerTest {
protected:
    UnbuildableRequestTest() : RequestsManagerTest(brokenBases()) {}
    static BaseUrls brokenBases() {
        auto bases = testBases();
        bases.collectorProduction = "not a url";
        return bases;
    }
};

TEST_F(UnbuildableRequestTest, FailsAtOnceWith888AndNoPause) {
    setLogLevel(1);
    EXPECT_FALSE(send(report("userData"), 1, "3"));
    ASSERT_EQ(failures.size(), 1u);  // inside request(), before any queue runs
    EXPECT_EQ(failures[0], (APIError{"userData", "888", "API message"}));
    EXPECT_EQ(http->requestCount(), 0u);
    EXPECT_EQ(retry->pending(), 0u);
    EXPECT_EQ(log.records(), (std::vector<RecordingLog::Record>{
                                 {"userData", "Error", R"({"ResponseCode":"888","ResponseText":"API message"})"}}));
}

TEST_F(RequestsManagerTest, ServerLogRecordsFollowTheLogLevel) {
    struct Row {
        std::optional<int64_t> level;
        std::string path;
        bool succeed;
        std::vector<RecordingLog::Record> expected;
    };
    const std::vector<Row> rows = {
        {2, "userData", true, {{"userData", "Response", "OK/1"}}},
        {2, "InsertLogData", true, {}},
        {2, "", true, {}},
        {1, "userData", true, {}},
        {2, "userData", false, {{"userData", "Error", "HTTP status 500"}, {"userData", "Error", "HTTP status 500"}}},
        {0, "userData", false, {{"userData", "Error", "HTTP status 500"}, {"userData", "Error", "HTTP status 500"}}},
        {3, "userData", false, {}},
        {-1, "userData", false, {}},
        {std::nullopt, "userData", false, {}},
    };
    for (const auto& row : rows) {
        RecordingLog rowLog;
        RequestsManager rowManager({http, main, retry, testBases(), &rowLog, &config});
        setLogLevel(row.level);
        http->setResponder([&](const HttpRequest&) {
            return row.succeed ? SimulatedHttpClient::ok("OK/1") : SimulatedHttpClient::status(500);
        });
        rowManager.request(report(row.path), 1, "");
        runToEnd();
        EXPECT_EQ(rowLog.records(), row.expected) << row.path << " at " << row.level.value_or(-99);
    }
}

TEST_F(RequestsManagerTest, FailuresOfTheLogUploadAreNotLoggedToTheServer) {
    setLogLevel(2);
    manager->setLogBaseUrl("https://logs.test/in/");
    http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::noResponse("Connection refused"); });
    send(report("", BaseUrlType::logBaseUrl));
    send(DataCollectorAPI::sendData({}, std::nullopt, "InsertLogData", std::nullopt, "", BaseUrlType::dcBaseUrl));
    runToEnd();
    EXPECT_EQ(failures.size(), 2u);
    EXPECT_TRUE(log.records().empty());
}

TEST_F(RequestsManagerTest, ResponseRecordsReplaceInvalidUTF8) {
    setLogLevel(2);
    http->enqueue(SimulatedHttpClient::ok(std::string("ok\xff!")));
    send(report("userData"));
    settle();
    ASSERT_EQ(log.records().size(), 1u);
    EXPECT_EQ(log.records()[0].message, "ok\xef\xbf\xbd!");
    EXPECT_EQ(successes, std::vector<std::string>{std::string("ok\xff!")});  // the caller gets the bytes as sent
}

TEST_F(RequestsManagerTest, PendingRetriesAreDroppedOnceTheManagerIsGone) {
    http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::status(500); });
    send(report("userData"), 1, "1");
    settle();
    ASSERT_EQ(retry->pending(), 1u);
    manager.reset();
    runToEnd();
    EXPECT_EQ(http->requestCount(), 1u);
    EXPECT_TRUE(failures.empty());
}

TEST_F(RequestsManagerTest, BaseURLsMayBeSetWhileRequestsAreSent) {
    http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::ok("{}"); });
    manager->setLogBaseUrl("https://log0.test/");  // every request below has a log base to read
    std::thread writer([this] {
        for (int i = 0; i < 200; ++i) manager->setLogBaseUrl("https://log" + std::to_string(i % 3) + ".test/");
    });
    std::thread sender([this] {
        for (int i = 0; i < 200; ++i) manager->request(report("", BaseUrlType::logBaseUrl), 0, "");
    });
    writer.join();
    sender.join();
    for (const auto& request : http->requests()) {
        EXPECT_TRUE(request.url == "https://log0.test/" || request.url == "https://log1.test/" ||
                    request.url == "https://log2.test/")
            << request.url;
    }
    EXPECT_EQ(http->requestCount(), 200u);
}

TEST(EncodeJSONBody, AddsBodyAndContentTypeOnlyWhenItCan) {
    HttpRequest plain;
    HttpRequest typed;
    typed.headers = {{"content-type", "application/vnd.test+json"}};
    struct Row {
        const char* what;
        HttpRequest request;
        std::optional<JSONDictionary> parameters;
        std::optional<std::string> body;
        std::optional<std::string> contentType;
    };
    const Row rows[] = {
        {"absent parameters", plain, std::nullopt, std::nullopt, std::nullopt},
        {"dictionary", plain, JSONDictionary{{"b", "x/y"}, {"a", true}}, R"({"a":true,"b":"x\/y"})", "application/json"},
        {"default-made dictionary", plain, JSONDictionary(), "{}", "application/json"},
        {"caller's content type kept", typed, JSONDictionary{{"a", 1}}, R"({"a":1})", "application/vnd.test+json"},
        {"not serialisable", plain, JSONDictionary{{"a", std::string("\xff")}}, std::nullopt, std::nullopt},
        {"a bare number is no dictionary", plain, JSONDictionary(5), std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        auto encoded = RequestsManager::encodeJSONBody(row.request, row.parameters);
        EXPECT_EQ(encoded.body, row.body) << row.what;
        EXPECT_EQ(encoded.header("Content-Type"), row.contentType) << row.what;
        EXPECT_LE(encoded.headers.size(), 1u) << row.what;
    }
}

}  // namespace
}  // namespace quarra
