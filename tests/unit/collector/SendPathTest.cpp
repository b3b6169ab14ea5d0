#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <limits>

#include "base/JsonText.hpp"
#include "support/ServiceHarness.hpp"

namespace quarra {
namespace {

using testing::ServiceHarness;

// Counts completion calls and remembers their values.
struct Completions {
    std::vector<bool> values;
    ReportSender::BoolCompletion callback() {
        return [this](bool ok) { values.push_back(ok); };
    }
};

const std::vector<std::string> kAllFeatures = {"userData", "userEvents", "activityStream", "accelerometerData",
                                               "fingerprintPro", "userLocation"};

class SendPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.enableFeatures(kAllFeatures);
        h.service->setSessionKey("session-1");
    }
    ServiceHarness h;
};

TEST_F(SendPathTest, EachReportKindIsWrappedInItsEnvelope) {
    const JSONDictionary report = {{"a", "1"}, {"b", "x/y"}};
    struct Case {
        std::function<void(CollectionService&)> send;
        std::string path;
        JSONDictionary expectedUnderKey;
        std::string key;
    };
    const std::vector<Case> cases = {
        {[&](auto& s) { s.sendUserData(report); }, "userData", report, "userData"},
        {[&](auto& s) { s.sendUserEvents(report); }, "userEvents", JSONDictionary::array({report}), "events"},
        {[&](auto& s) { s.sendAccelerometerData(report); }, "accelerometerData", report, "accelerometerData"},
        {[&](auto& s) { s.sendActivityStream(report); }, "activityStream",
         JSONDictionary::array({{{"url", CollectionService::kPageURL}, {"activityStream", JSONDictionary::array({report})}}}),
         "activityStream"},
        {[&](auto& s) { s.sendFingerprintData("visitor", std::nullopt, std::nullopt); }, "fingerprintPro",
         JSONDictionary{{"visitorID", "visitor"}, {"requestID", ""}, {"visitorResponse", "true"}, {"jsVersion", "2.0"}},
         "fingerprintPro"},
    };
    h.answerEveryRequestWith("0");
    for (const auto& c : cases) {
        c.send(*h.service);
        auto request = h.http->requests().back();
        EXPECT_EQ(request.url, h.baseUrls.collectorProduction + c.path);
        EXPECT_EQ(request.method, "POST");
        auto body = parseJSON(request.body.value()).value();
        EXPECT_EQ(body.size(), 3u) << c.key;
        EXPECT_EQ(body[c.key], c.expectedUnderKey) << c.key;
        EXPECT_EQ(body["sessionId"], "session-1");
        EXPECT_EQ(body["clientName"], CollectionService::kClientName);
        // The wire form escapes "/" inside texts.
        EXPECT_EQ(request.body->find("https://"), std::string::npos);
    }
}

TEST_F(SendPathTest, AnswerHandlingDecidesAcceptanceQueueAndJournal) {
    struct Case {
        std::string name;
        HttpResult answer;
        bool accepted;
        std::string journalEntry;  // "" when the answer itself is journalled
    };
    const std::vector<Case> cases = {
        {"code 0", SimulatedHttpClient::ok(R"({"ResponseCode":"0","ResponseText":"fine"})"), true, ""},
        {"the usual answer", SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"), true, ""},
        {"the usual answer spaced", SimulatedHttpClient::ok(R"({ "ResponseCode" : "0" })"), true, ""},
        {"the usual answer and more", SimulatedHttpClient::ok(R"({"ResponseCode":"0"}x)"), false,
         R"(APIError(apiName: "userEvents", code: "-1", message: "{\"ResponseCode\":\"0\"}x"))"},
        {"code 00", SimulatedHttpClient::ok(R"({"ResponseCode":"00"})"), false,
         R"(APIError(apiName: "userEvents", code: "00", message: "Request was successful but response code was 00"))"},
        {"code 5", SimulatedHttpClient::ok(R"({"ResponseCode":"5"})"), false,
         R"(APIError(apiName: "userEvents", code: "5", message: "Request was successful but response code was 5"))"},
        {"plain text", SimulatedHttpClient::ok("Service unavailable"), false,
         R"(APIError(apiName: "userEvents", code: "-1", message: "Service unavailable"))"},
        {"not UTF-8", SimulatedHttpClient::ok("\xff\xfe"), false,
         R"(APIError(apiName: "userEvents", code: "-1", message: "Could not parse response"))"},
        {"numeric code", SimulatedHttpClient::ok(R"({"ResponseCode":0})"), false,
         R"(APIError(apiName: "userEvents", code: "-1", message: "{\"ResponseCode\":0}"))"},
        {"array", SimulatedHttpClient::ok(R"(["0"])"), false,
         R"(APIError(apiName: "userEvents", code: "-1", message: "[\"0\"]"))"},
    };
    for (const auto& c : cases) {
        ServiceHarness fresh;
        fresh.enableFeatures(kAllFeatures);
        fresh.service->setSessionKey("k");
        fresh.http->enqueue(c.answer);
        Completions done;
        fresh.service->sendUserEvents({{"event", "tap"}}, done.callback());
        fresh.executor->runUntilIdle();
        ASSERT_EQ(done.values, std::vector<bool>{c.accepted}) << c.name;
        EXPECT_EQ(fresh.queue.count(), c.accepted ? 0u : 1u) << c.name;
        auto journal = fresh.service->logsCollected();
        ASSERT_EQ(journal.size(), 2u) << c.name;  // the envelope, then the answer or the error
        EXPECT_TRUE(journal[0].contains("events"));
        if (c.accepted) {
            EXPECT_EQ(journal[1], JSONDictionary::parse(*c.answer.body)) << c.name;
        } else {
            EXPECT_EQ(journal[1], (JSONDictionary{{"Error", c.journalEntry}})) << c.name;
        }
    }
}

TEST_F(SendPathTest, ReportsBeforeASessionAreQueuedAndResentAfterTheNextAcceptedReport) {
    h.service->setSessionKey("");
    Completions early;
    h.service->sendUserEvents({{"event", "tap"}, {"count", 3}}, early.callback());
    EXPECT_EQ(early.values, std::vector<bool>{false});
    EXPECT_EQ(h.queue.count(), 1u);
    EXPECT_EQ(h.http->requestCount(), 0u);

    h.service->setSessionKey("session-2");
    h.answerEveryRequestWith("0");
    Completions trigger;
    h.service->sendUserData({{"appName", "x"}}, trigger.callback());
    h.executor->runUntilIdle();

    EXPECT_EQ(trigger.values, std::vector<bool>{true});  // accepted resends call nothing more
    EXPECT_EQ(early.values.size(), 1u);
    ASSERT_EQ(h.http->requestCount(), 2u);
    auto resent = h.sentBodies()[1];
    EXPECT_EQ(resent["events"][0]["count"], 3);
    EXPECT_EQ(resent["sessionId"], "session-2");
    // Removed by identity even though it holds a number.
    EXPECT_TRUE(h.queue.isEmpty());
    EXPECT_FALSE(h.service->isSendingQueuedEvents());
    EXPECT_EQ(h.service->eventsToSync(), 0);
}

TEST_F(SendPathTest, AFailedResendStaysQueuedAndThePassStillEnds) {
    h.service->setSessionKey("");
    h.service->sendUserEvents({{"event", "a"}});
    h.service->sendUserEvents({{"event", "b"}});
    h.service->setSessionKey("s");
    h.http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));  // the fresh report
    h.http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"7"})"));  // resend of a
    h.http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));  // resend of b
    Completions trigger;
    h.service->sendUserData({{"k", "v"}}, trigger.callback());
    h.executor->runUntilIdle();

    // True for the report itself and nothing more: each completion runs once,
    // so a resend that failed does not answer for the report that started the pass.
    EXPECT_EQ(trigger.values, (std::vector<bool>{true}));
    auto remaining = h.queue.eventsQueueArray();
    ASSERT_EQ(remaining.size(), 1u);
    EXPECT_EQ(remaining[0].event.event["event"], "a");
    EXPECT_FALSE(h.service->isSendingQueuedEvents());
}

TEST_F(SendPathTest, AReportAcceptedDuringAPassDoesNotStartAnother) {
    h.service->setSessionKey("");
    h.service->sendUserEvents({{"event", "queued"}});
    h.service->setSessionKey("s");
    h.http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));  // the user data
    h.http->enqueue(SimulatedHttpClient::noResponse());                  // first try of the resend
    h.answerEveryRequestWith("0");
    h.service->sendUserData({{"k", "v"}});
    h.executor->runUntilIdle();
    ASSERT_TRUE(h.service->isSendingQueuedEvents());  // the resend waits for its retry

    Completions fresh;
    h.service->sendUserEvents({{"event", "fresh"}}, fresh.callback());
    h.executor->runUntilIdle();
    EXPECT_EQ(fresh.values, std::vector<bool>{true});
    EXPECT_EQ(h.http->requestCount(), 3u);  // no second resend of the queued event

    h.executor->advance(std::chrono::seconds(3));
    EXPECT_EQ(h.http->requestCount(), 4u);
    EXPECT_TRUE(h.queue.isEmpty());
    EXPECT_FALSE(h.service->isSendingQueuedEvents());
}

// The service tells a repeat by the report's key: the first attempt, its
// retry and every resend carry the same one; another report, another key.
TEST_F(SendPathTest, EveryAttemptOfAReportCarriesItsOwnKey) {
    h.http->enqueue(SimulatedHttpClient::noResponse());  // a: first attempt
    h.http->enqueue(SimulatedHttpClient::noResponse());  // a: its retry; then it waits in the queue
    h.answerEveryRequestWith("0");
    h.service->sendUserEvents({{"event", "a"}});
    h.executor->advance(std::chrono::seconds(10));
    ASSERT_EQ(h.queue.count(), 1u);
    h.service->sendUserEvents({{"event", "b"}});  // accepted: the pass resends a
    h.executor->runUntilIdle();

    std::map<std::string, std::set<std::string>> keysByEvent;
    for (const auto& request : h.http->requests()) {
        auto body = parseJSON(*request.body).value();
        keysByEvent[body["events"][0]["event"]].insert(request.header("Idempotency-Key").value_or("none"));
    }
    ASSERT_EQ(h.http->requestCount(), 4u);  // a, a, b, a
    ASSERT_EQ(keysByEvent["a"].size(), 1u);
    ASSERT_EQ(keysByEvent["b"].size(), 1u);
    EXPECT_NE(*keysByEvent["a"].begin(), *keysByEvent["b"].begin());
    EXPECT_EQ(keysByEvent["a"].begin()->size(), 36u) << "a UUID";
    EXPECT_TRUE(h.queue.isEmpty());
}

TEST_F(SendPathTest, RefusedReportsAnswerFalseAndAreNotQueued) {
    struct Case {
        std::string name;
        std::function<void(ServiceHarness&)> setUp;
        JSONDictionary report;
    };
    const std::vector<Case> cases = {
        {"ignoreDataCollection", [](auto& f) { f.service->setIgnoreDataCollection(true); }, {{"a", "b"}}},
        {"feature disabled",
         [](auto& f) {
             SessionConfiguration c;
             c.apiSetting = {FeatureDetails{.apiName = "userEvents", .enabled = false}};
             f.config.replace(c);
         },
         {{"a", "b"}}},
        {"text that is not UTF-8", [](auto&) {}, {{"a", std::string("\xc3")}}},
        {"number that is not finite", [](auto&) {}, {{"a", std::numeric_limits<double>::infinity()}}},
    };
    for (const auto& c : cases) {
        ServiceHarness fresh;
        fresh.enableFeatures(kAllFeatures);
        fresh.service->setSessionKey("s");
        c.setUp(fresh);
        Completions done;
        fresh.service->sendUserEvents(c.report, done.callback());
        fresh.executor->runUntilIdle();
        EXPECT_EQ(done.values, std::vector<bool>{false}) << c.name;
        EXPECT_EQ(fresh.http->requestCount(), 0u) << c.name;
        EXPECT_TRUE(fresh.queue.isEmpty()) << c.name;
    }
}

TEST_F(SendPathTest, AFeatureWithoutSettingsIsSentWithAnEmptyPath) {
    h.enableFeatures({"somethingElse"});
    h.answerEveryRequestWith("0");
    h.service->sendAccelerometerData({{"x", "0.1"}});
    ASSERT_EQ(h.http->requestCount(), 1u);
    EXPECT_EQ(h.http->requests()[0].url, h.baseUrls.collectorProduction);
}

TEST_F(SendPathTest, WithoutAnyConfigurationTheDefaultSettingsDisableUserEvents) {
    h.config.replace(SessionConfiguration{});
    Completions done;
    h.service->sendUserEvents({{"a", "b"}}, done.callback());
    EXPECT_EQ(done.values, std::vector<bool>{false});
    EXPECT_EQ(h.http->requestCount(), 0u);
}

TEST_F(SendPathTest, AReportThatGetsNoAnswerIsQueuedAfterTheRetries) {
    h.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::noResponse("Connection refused"); });
    Completions done;
    h.service->sendUserEvents({{"event", "tap"}}, done.callback());
    h.executor->runUntilIdle();
    EXPECT_TRUE(done.values.empty());
    h.executor->advance(std::chrono::seconds(3));
    EXPECT_EQ(h.http->requestCount(), 2u);
    EXPECT_TRUE(done.values.empty());
    h.executor->advance(std::chrono::seconds(3));
    EXPECT_EQ(done.values, std::vector<bool>{false});
    EXPECT_EQ(h.queue.count(), 1u);
}

TEST_F(SendPathTest, RequestRecordsAreLoggedOnlyAtLevelTwo) {
    for (int64_t level : {0, 1, 2, 3}) {
        ServiceHarness fresh;
        fresh.enableFeatures(kAllFeatures, level);
        fresh.service->setSessionKey("s");
        fresh.answerEveryRequestWith("0");
        fresh.service->sendUserEvents({{"event", "tap"}});
        fresh.executor->runUntilIdle();
        std::vector<testing::RecordingLogManager::Record> requests;
        for (const auto& r : fresh.logs.records()) {
            if (r.type == "Request") requests.push_back(r);
        }
        if (level == 2) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].apiName, "userEvents");
            EXPECT_EQ(parseJSON(requests[0].message).value(), (JSONDictionary{{"event", "tap"}}));
        } else {
            EXPECT_TRUE(requests.empty()) << level;
        }
    }
}

TEST_F(SendPathTest, TheJournalKeepsOnlyTheMostRecentEntries) {
    h.answerEveryRequestWith("0");
    for (int i = 0; i < 600; ++i) h.service->sendUserEvents({{"n", std::to_string(i)}});
    h.executor->runUntilIdle();
    auto journal = h.service->logsCollected();
    ASSERT_EQ(journal.size(), limits::kMaxJournalEntries);
    // Envelopes and answers interleave as reports wait for room on the wire;
    // what is kept is the newest, in the order it happened.
    std::vector<int> sent;
    for (const auto& entry : journal) {
        if (entry.contains("events")) sent.push_back(std::stoi(entry["events"][0]["n"].get<std::string>()));
    }
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), 599);
    EXPECT_GT(sent.front(), 0) << "the oldest envelopes went";
    EXPECT_TRUE(std::is_sorted(sent.begin(), sent.end()));
    EXPECT_EQ(sent.size(), static_cast<size_t>(sent.back() - sent.front() + 1)) << "none missing in between";
    EXPECT_EQ(journal.back()["ResponseCode"], "0");
}

TEST_F(SendPathTest, AnswersAfterTheServiceIsGoneAreIgnored) {
    h.answerEveryRequestWith("0");
    Completions done;
    h.service->sendUserEvents({{"a", "b"}}, done.callback());
    h.service.reset();
    h.executor->runUntilIdle();
    EXPECT_TRUE(done.values.empty());
}

}  // namespace
}  // namespace quarra

namespace quarra {
namespace {

TEST_F(SendPathTest, LocationReportsCarryThePlaceAndTheCoordinatesInShortestForm) {
    struct Case {
        std::optional<std::vector<Placemark>> places;
        double latitude, longitude;
        JSONDictionary expected;
    };
    const std::vector<Case> cases = {
        {std::vector<Placemark>{{"New Delhi", "Delhi", "India", "IN"}, {"Noida", "Uttar Pradesh", "India", "IN"}},
         28.6139, 77.2167,
         {{"country", "India"}, {"city", "New Delhi"}, {"state", "Delhi"}, {"longitude", "77.2167"},
          {"latitude", "28.6139"}}},
        {std::vector<Placemark>{}, -33.0, -122.0,
         {{"country", ""}, {"city", ""}, {"state", ""}, {"longitude", "-122.0"}, {"latitude", "-33.0"}}},
        {std::nullopt, 0.0, 180.0,
         {{"country", ""}, {"city", ""}, {"state", ""}, {"longitude", "180.0"}, {"latitude", "0.0"}}},
    };
    testing::ScopedLogs logs;
    h.answerEveryRequestWith("0");
    for (const auto& c : cases) {
        h.geocoder->answer(c.places);
        Completions done;
        h.service->sendLocationData(c.latitude, c.longitude, done.callback());
        h.executor->runUntilIdle();
        EXPECT_EQ(done.values, std::vector<bool>{true});
        auto request = h.http->requests().back();
        EXPECT_EQ(request.url, h.baseUrls.collectorProduction + "userLocation");
        EXPECT_EQ(parseJSON(*request.body).value()["userLocation"], c.expected);
    }
    EXPECT_TRUE(h.sink->contains("Location data sent successfully: true"));
}

TEST_F(SendPathTest, ADisabledLocationFeatureSendsNothingAndDoesNotGeocode) {
    SessionConfiguration configuration;
    configuration.apiSetting = {FeatureDetails{.apiName = "userLocation", .enabled = false}};
    h.config.replace(configuration);
    Completions done;
    h.service->sendLocationData(1.0, 2.0, done.callback());
    EXPECT_EQ(done.values, std::vector<bool>{false});
    EXPECT_TRUE(h.geocoder->asked().empty());
    EXPECT_EQ(h.http->requestCount(), 0u);
}

}  // namespace
}  // namespace quarra

namespace quarra {
namespace {

TEST(SendPathHealth, ReportsStayInFlightUntilAnsweredAndTheCountsAddUp) {
    testing::ServiceHarness h;
    SessionConfiguration configuration;
    configuration.apiSetting = {FeatureDetails{.apiName = "userEvents", .enabled = true},
                                FeatureDetails{.apiName = "activityStream", .enabled = false}};
    h.config.replace(configuration);
    h.service->setSessionKey("s");
    h.http->enqueue(SimulatedHttpClient::ok(R"({"ResponseCode":"0"})"));  // a: accepted
    h.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::ok(R"({"ResponseCode":"9"})"); });
    Completions done;
    h.service->sendUserEvents({{"event", "a"}}, done.callback());
    h.service->sendUserEvents({{"event", "b"}}, done.callback());       // refused, then queued
    h.service->sendActivityStream({{"field", "c"}}, done.callback());   // feature disabled: refused
    h.service->sendUserEvents({{"bad", std::string("\xff")}}, done.callback());  // not UTF-8: dropped

    auto health = h.service->health();
    EXPECT_EQ(health.submitted, 4u);
    EXPECT_EQ(health.inFlight, 2u);
    h.executor->runUntilIdle();
    h.executor->advance(std::chrono::seconds(10));

    health = h.service->health();
    EXPECT_EQ(done.values.size(), 4u);
    EXPECT_EQ(health.inFlight, 0u);
    EXPECT_EQ(health.accepted, 1u);
    EXPECT_EQ(health.refused, 0u);
    EXPECT_EQ(health.dropped.disabledFeature, 1u);
    EXPECT_EQ(health.queued, 1u);
    EXPECT_EQ(health.dropped.notSerialisable, 1u);
    EXPECT_EQ(health.submitted, health.accepted + health.refused + health.queued + health.dropped.total());
}

}  // namespace
}  // namespace quarra
