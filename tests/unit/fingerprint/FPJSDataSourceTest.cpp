#include <gtest/gtest.h>

#include "config/SessionConfigManager.hpp"
#include "fingerprint/FPJSDataSource.hpp"
#include <quarra/testing/FakeClock.hpp>
#include "support/CapturingConsole.hpp"

namespace quarra {
namespace {

// Records what it was asked and answers at once with the scripted result.
class ScriptedClient final : public FingerprintClientProviding {
public:
    void getVisitorIdResponse(Metadata metadata, Completion completion) override {
        requests.push_back(std::move(metadata));
        completion(response, response ? std::nullopt : std::optional<std::string>("Invalid API key"));
    }
    std::optional<FingerprintResponse> response;
    std::vector<Metadata> requests;
};

class FPJSDataSourceTest : public ::testing::Test {
protected:
    FPJSDataSource makeSource() {
        return FPJSDataSource(QuarraFPJSConfiguration{}, "session-at-creation",
                              {.sessionConfig = &config,
                               .clientFactory =
                                   [this](const std::string& apiKey) {
                                       apiKeys.push_back(apiKey);
                                       return client;
                                   },
                               .console = std::make_shared<Console>(lines, std::make_shared<FakeClock>())});
    }
    void apply(std::optional<std::string> apiToken, std::optional<std::string> sessionKey) {
        SessionConfiguration configuration;
        configuration.fPJSApiToken = std::move(apiToken);
        configuration.sessionKey = std::move(sessionKey);
        config.replace(configuration);
    }
    std::pair<std::optional<std::string>, std::optional<std::string>> fetch(FPJSDataSource& source) {
        std::pair<std::optional<std::string>, std::optional<std::string>> got{"unset", "unset"};
        int calls = 0;
        source.fetchVisitorId([&](auto visitorId, auto requestId) {
            ++calls;
            got = {visitorId, requestId};
        });
        EXPECT_EQ(calls, 1);
        return got;
    }

    SessionConfigManager config;
    std::shared_ptr<ScriptedClient> client = std::make_shared<ScriptedClient>();
    std::vector<std::string> apiKeys;
    std::shared_ptr<testing::CapturingConsole> lines = std::make_shared<testing::CapturingConsole>();
    testing::ScopedLogs logs{true};
};

TEST_F(FPJSDataSourceTest, UsesTheKeyAndSessionKeyAppliedAtCallTime) {
    apply("key-1", "session-1");
    auto source = makeSource();
    apply("key-2", "session-2");
    client->response = FingerprintResponse{"Visitor", "Request"};
    EXPECT_EQ(fetch(source), std::pair(std::optional<std::string>("Visitor"), std::optional<std::string>("Request")));
    EXPECT_EQ(apiKeys, std::vector<std::string>{"key-2"});
    ASSERT_EQ(client->requests.size(), 1u);
    EXPECT_FALSE(client->requests[0].linkedId);
    EXPECT_EQ(client->requests[0].tags, (std::map<std::string, std::string>{{"SessionKey", "session-2"}}));
    EXPECT_EQ(source.sessionKey(), "session-at-creation");
}

TEST_F(FPJSDataSourceTest, WithoutAConfigurationTheKeyAndTagAreEmpty) {
    auto source = makeSource();
    fetch(source);
    EXPECT_EQ(apiKeys, std::vector<std::string>{""});
    EXPECT_EQ(client->requests.at(0).tags.at("SessionKey"), "");
}

TEST_F(FPJSDataSourceTest, AFailureBecomesTwoAbsentIdentifiers) {
    apply("", "session");
    auto source = makeSource();
    auto got = fetch(source);
    EXPECT_FALSE(got.first);
    EXPECT_FALSE(got.second);
    EXPECT_EQ(lines->messages(), (std::vector<std::string>{"RequestID = nil", "VisitorID = nil"}));
}

TEST_F(FPJSDataSourceTest, LogsTheRequestThenTheVisitorIdentifier) {
    apply("key", "session");
    client->response = FingerprintResponse{"Visitor", "Request"};
    auto source = makeSource();
    fetch(source);
    EXPECT_EQ(lines->messages(), (std::vector<std::string>{"RequestID = Request", "VisitorID = Visitor"}));
}

}  // namespace
}  // namespace quarra
