// Posting log records: the answer decides the completion; failures are not fed back.
#include <gtest/gtest.h>

#include "base/JsonText.hpp"
#include "logging/InsertLogDataResponse.hpp"
#include "logging/LogDataModel.hpp"
#include "LogHarness.hpp"

namespace quarra::testing {
namespace {

// What the completion saw: nothing, or one value.
struct Outcome {
    int calls = 0;
    std::optional<bool> value;
};

Outcome sendAndSettle(LogHarness& harness, const std::string& text) {
    auto outcome = std::make_shared<Outcome>();
    harness.uploader.sendLog(text, [outcome](bool accepted) {
        ++outcome->calls;
        outcome->value = accepted;
    });
    harness.settle();
    return *outcome;
}

TEST(ServerLogUtility, CompletionFollowsTheAnswer) {
    struct Case {
        const char* name;
        HttpResult answer;
        int calls;
        bool accepted;
    };
    const Case cases[] = {
        {"code 0", SimulatedHttpClient::ok(R"({"ResponseCode":"0","ResponseText":"stored"})"), 1, true},
        {"other code", SimulatedHttpClient::ok(R"({"ResponseCode":"7","ResponseText":"refused"})"), 1, false},
        {"object without the keys", SimulatedHttpClient::ok(R"({"status":"fine"})"), 1, true},
        {"code not a text", SimulatedHttpClient::ok(R"({"ResponseCode":0,"ResponseText":"ok"})"), 1, true},
        {"array", SimulatedHttpClient::ok(R"(["ResponseCode","0"])"), 0, false},
        {"not JSON", SimulatedHttpClient::ok("stored, thanks"), 0, false},
        {"HTTP 500", SimulatedHttpClient::status(500, std::string("oops")), 1, false},
        {"no answer", SimulatedHttpClient::noResponse(), 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogHarness harness;
        harness.apply(1);
        harness.http->setResponder([answer = c.answer](const HttpRequest&) { return answer; });
        auto outcome = sendAndSettle(harness, R"({"apiName":"x"})");
        EXPECT_EQ(outcome.calls, c.calls);
        if (c.calls) {
            EXPECT_EQ(outcome.value, c.accepted);
        }
    }
}

TEST(ServerLogUtility, FailedPostIsRetriedOnceAndNotLoggedAgain) {
    for (int64_t level : {0, 1, 2}) {
        SCOPED_TRACE(level);
        LogHarness harness;
        harness.apply(level);
        harness.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::noResponse("refused"); });
        harness.logs.log("userEvents", "Error", "collector unreachable");
        harness.settle();
        harness.settle();
        // The record and its one retry; the failure itself makes no new record.
        EXPECT_EQ(harness.http->requestCount(), 2u);
    }
}

TEST(ServerLogUtility, AnsweredPostMakesNoResponseRecord) {
    LogHarness harness;
    harness.apply(2);
    harness.http->setResponder(
        [](const HttpRequest&) { return SimulatedHttpClient::ok(R"({"ResponseCode":"0","ResponseText":"ok"})"); });
    harness.logs.log("userData", "Request", "{}");
    harness.settle();
    EXPECT_EQ(harness.http->requestCount(), 1u);
}

TEST(ServerLogUtility, DisabledUploadSendsNothingButMissingSettingsDoNotStopIt) {
    LogHarness disabled;
    disabled.apply(2, false);
    auto outcome = sendAndSettle(disabled, "{}");
    EXPECT_EQ(disabled.http->requestCount(), 0u);
    EXPECT_EQ(outcome.calls, 0);

    LogHarness unconfigured;
    unconfigured.apply(2, std::nullopt);
    sendAndSettle(unconfigured, "{}");
    EXPECT_EQ(unconfigured.http->requestCount(), 1u);
}

TEST(ServerLogUtility, UnreadableAnswerIsReportedOnTheConsole) {
    ScopedLogs logsOn;
    LogHarness harness;
    harness.apply(2);
    harness.http->setResponder([](const HttpRequest&) { return SimulatedHttpClient::ok("<html>gateway</html>"); });
    sendAndSettle(harness, "{}");
    EXPECT_TRUE(harness.sink->contains("Log upload answer could not be read: <html>gateway</html>"));
}

TEST(InsertLogDataResponse, RequiresBothTexts) {
    struct Case {
        const char* json;
        bool decodes;
    };
    const Case cases[] = {
        {R"({"ResponseCode":"0","ResponseText":"ok"})", true},
        {R"({"ResponseCode":"0","ResponseText":"ok","extra":1})", true},
        {R"({"ResponseCode":"0"})", false},
        {R"({"ResponseText":"ok"})", false},
        {R"({"ResponseCode":null,"ResponseText":"ok"})", false},
        {R"({"ResponseCode":"0","ResponseText":5})", false},
        {R"("0")", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        auto decoded = InsertLogDataResponse::fromJSON(*parseJSON(c.json));
        EXPECT_EQ(decoded.has_value(), c.decodes);
    }
    auto decoded = InsertLogDataResponse::fromJSON(*parseJSON(R"({"ResponseCode":"3","ResponseText":"later"})"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, (InsertLogDataResponse{"3", "later"}));
}

TEST(LogDataModel, EncodesExactlyItsSixKeysAndReadsThemBack) {
    LogDataModel model{2, "msg", "2023-11-14 22:13:20.123", 1700000000123.0, "a/b", "userData"};
    auto text = model.jsonText();
    ASSERT_TRUE(text);
    EXPECT_NE(text->find(R"(a\/b)"), std::string::npos) << "slashes are escaped as the service expects";
    auto json = parseJSON(*text);
    ASSERT_TRUE(json);
    EXPECT_EQ(json->size(), 6u);
    EXPECT_EQ(LogDataModel::fromJSON(*json), model);

    auto withoutTime = *json;
    withoutTime.erase("time");
    EXPECT_FALSE(LogDataModel::fromJSON(withoutTime));
}

}  // namespace
}  // namespace quarra::testing
