// The transaction client's own session: request building, session headers,
// time-out, and a session that outlives its client while a call is in flight.
#include <gtest/gtest.h>

#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "transactions/NetworkClient.hpp"

namespace quarra {
namespace {

const std::string kUrl = "https://platform.test/api/v1/transactions/evaluate/txn-1";

struct NetworkClientTest : ::testing::Test {
    std::shared_ptr<ManualExecutor> callbacks = std::make_shared<ManualExecutor>();
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(callbacks);
    NetworkClient client{http};
};

TEST_F(NetworkClientTest, EveryMethodGetsItsVerbAndAllButGetCarryTheBody) {
    struct Row {
        HTTPMethod method;
        std::string verb;
        bool carriesBody;
    };
    const Row rows[] = {
        {HTTPMethod::get, "GET", false},   {HTTPMethod::post, "POST", true},   {HTTPMethod::delete_, "DELETE", true},
        {HTTPMethod::put, "PUT", true},    {HTTPMethod::update, "UPDATE", true}, {HTTPMethod::patch, "PATCH", true},
    };
    for (const auto& row : rows) {
        auto request = client.makeRequest(R"({"a":1})", row.method, kUrl);
        ASSERT_TRUE(request) << row.verb;
        EXPECT_EQ(request->method, row.verb);
        EXPECT_EQ(request->url, kUrl);
        EXPECT_EQ(request->body.has_value(), row.carriesBody) << row.verb;
        if (row.carriesBody) {
            EXPECT_EQ(*request->body, R"({"a":1})");
        }
        EXPECT_TRUE(request->headers.empty()) << row.verb;
        EXPECT_EQ(request->timeout, NetworkClient::kRequestTimeoutInterval);
    }
}

TEST_F(NetworkClientTest, TextThatIsNotAUrlGivesNoRequest) {
    for (const std::string text : {"", "not a url", "https://platform.test/api/v1/transactions/a b",
                                   "platform.test/api/v1/transactions/", "https://platform.test/x\r\nHost: evil"}) {
        EXPECT_FALSE(client.makeRequest("{}", HTTPMethod::post, text)) << text;
    }
}

TEST_F(NetworkClientTest, SendingAddsTheSessionHeaderAndTimeOut) {
    auto request = client.makeRequest("{}", HTTPMethod::post, kUrl);
    ASSERT_TRUE(request);
    request->headers.emplace_back("Authorization", "Bearer t");
    int completions = 0;
    client.send(*request, [&](HttpResult) { ++completions; });
    callbacks->runUntilIdle();

    ASSERT_EQ(http->requestCount(), 1u);
    auto sent = http->requests()[0];
    EXPECT_EQ(sent.headers, (HttpHeaders{{"Authorization", "Bearer t"}, {"content-type", "application/json"}}));
    EXPECT_EQ(sent.timeout, NetworkClient::kSessionRequestTimeout);
    EXPECT_EQ(completions, 1);
}

TEST_F(NetworkClientTest, AContentTypeAlreadyOnTheRequestIsNotDuplicated) {
    auto request = client.makeRequest("{}", HTTPMethod::post, kUrl);
    ASSERT_TRUE(request);
    request->headers.emplace_back("Content-Type", "application/json; charset=utf-8");
    client.send(*request, [](HttpResult) {});
    callbacks->runUntilIdle();
    EXPECT_EQ(http->requests()[0].headers, (HttpHeaders{{"Content-Type", "application/json; charset=utf-8"}}));
}

TEST(NetworkClientLifetimeTest, ASessionLivesUntilItsCallInFlightHasAnswered) {
    auto callbacks = std::make_shared<ManualExecutor>();
    auto http = std::make_shared<SimulatedHttpClient>(callbacks);
    std::weak_ptr<SimulatedHttpClient> session = http;
    http->enqueue(SimulatedHttpClient::ok("{}"));
    auto client = std::make_unique<NetworkClient>(std::move(http));
    int completions = 0;
    client->send(*client->makeRequest("{}", HTTPMethod::post, kUrl), [&](HttpResult result) {
        ++completions;
        EXPECT_EQ(result.body, "{}");
    });
    client.reset();
    EXPECT_FALSE(session.expired());

    callbacks->runUntilIdle();
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(session.expired());
}

}  // namespace
}  // namespace quarra
