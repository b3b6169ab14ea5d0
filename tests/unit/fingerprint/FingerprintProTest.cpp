#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "fingerprint/FingerprintPro.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

struct Result {
    std::optional<FingerprintResponse> response;
    std::optional<std::string> error;
};

class FingerprintProTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(root.path() / "etc");
        std::ofstream(root.path() / "etc/machine-id") << "0123456789abcdef0123456789abcdef\n";
    }
    std::shared_ptr<FingerprintClientProviding> client(const std::string& apiKey) {
        return FingerprintProFactory::getInstance(
            apiKey, {.factsRoot = root.path(), .dataDirectory = data.path(), .queue = queue, .clock = clock});
    }
    Result identify(FingerprintClientProviding& client) {
        Result result;
        int calls = 0;
        Metadata metadata;
        metadata.setTag("session", "SessionKey");
        client.getVisitorIdResponse(metadata, [&](auto response, auto error) {
            ++calls;
            result = {std::move(response), std::move(error)};
        });
        EXPECT_EQ(calls, 0);  // never on the caller's thread
        queue->runUntilIdle();
        EXPECT_EQ(calls, 1);
        return result;
    }
    std::string visitorId(const std::string& apiKey) {
        auto c = client(apiKey);
        auto result = identify(*c);
        EXPECT_TRUE(result.response) << result.error.value_or("");
        return result.response ? result.response->visitorId : "";
    }

    testing::TempDir root, data;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>(FakeClock::TimePoint(1'717'171'717'123ms));
    std::shared_ptr<ManualExecutor> queue = std::make_shared<ManualExecutor>(clock);
};

TEST_F(FingerprintProTest, TheVisitorIdentifierIsStableForTheDeviceAndKey) {
    auto first = visitorId("key-A");
    EXPECT_TRUE(std::regex_match(first, std::regex("[0-9A-Za-z]{20}"))) << first;
    EXPECT_EQ(visitorId("key-A"), first);  // another client, as in another run
    EXPECT_NE(visitorId("key-B"), first);

    std::ofstream(root.path() / "etc/machine-id") << "fedcba9876543210fedcba9876543210\n";
    EXPECT_NE(visitorId("key-A"), first);  // another device
}

TEST_F(FingerprintProTest, EveryCallGetsAFreshRequestIdentifier) {
    auto c = client("key-A");
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        auto result = identify(*c);
        ASSERT_TRUE(result.response);
        EXPECT_TRUE(std::regex_match(result.response->requestId, std::regex(R"(1717171717123\.[0-9A-Za-z]{6})")))
            << result.response->requestId;
        seen.insert(result.response->requestId);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST_F(FingerprintProTest, AnEmptyApiKeyFails) {
    auto result = identify(*client(""));
    EXPECT_FALSE(result.response);
    ASSERT_TRUE(result.error);
    EXPECT_NE(result.error->find("API key"), std::string::npos);
}

TEST(FingerprintProOnThisMachine, TwoRunsWithTheSameDataDirectoryAgree) {
    testing::TempDir data;
    auto queue = std::make_shared<ManualExecutor>();
    auto run = [&](const std::string& apiKey) {
        std::optional<FingerprintResponse> got;
        FingerprintProFactory::getInstance(apiKey, {.factsRoot = "/", .dataDirectory = data.path(), .queue = queue})
            ->getVisitorIdResponse(Metadata(), [&](auto response, auto) { got = response; });
        queue->runUntilIdle();
        return got;
    };
    auto first = run("key-A"), second = run("key-A"), other = run("key-B");
    ASSERT_TRUE(first && second && other);
    EXPECT_EQ(first->visitorId, second->visitorId);
    EXPECT_NE(first->requestId, second->requestId);
    EXPECT_NE(first->visitorId, other->visitorId);
}

}  // namespace
}  // namespace quarra
