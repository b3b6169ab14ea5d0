// The whole authentication chain over real HTTPS on 127.0.0.1: token,
// initiate, start-up report; then a second run offline from the cache.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <quarra/KeychainWrapper.hpp>

#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "collector/CollectionService.hpp"
#include "base/JsonText.hpp"
#include "collector/SessionStart.hpp"
#include "credentials/AccessTokenService.hpp"
#include "credentials/SqliteSecureItemStore.hpp"
#include <quarra/testing/ManualPathMonitor.hpp>
#include "queue/DataCollectorEventsQueue.hpp"
#include "support/CapturingConsole.hpp"
#include "support/HttpsTestServer.hpp"
#include "support/ServiceHarness.hpp"
#include "support/RealSession.hpp"
#include "support/TempDir.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::HttpsTestServer;

TEST(SessionOverHttps, TheWholeChainRunsAndASecondRunStartsFromTheCache) {
    testing::TempDir directory;
    std::mutex mutex;
    std::promise<JSONDictionary> userData;
    std::string authorizationSeen;

    auto document = CacheManager::defaultConfiguration(BaseUrls::from(ServiceOrigins{}));
    document.data.transactionId = "txn-it-1";
    document.data.configuration.dataCollector.featureDetails = {
        FeatureDetails{.apiName = "userData", .enabled = true, .connectionTimeout = 3000}};

    std::optional<BaseUrls> urls;
    {
        HttpsTestServer server({
            {"POST", "/api/accessToken",
             [&](const httplib::Request& request, httplib::Response& response) {
                 std::lock_guard lock(mutex);
                 authorizationSeen = request.get_header_value("Authorization");
                 response.set_content(R"({"accessToken":"tok-1","refreshToken":"ref-1","tokenType":"Bearer",)"
                                      R"("expiresIn":"3600","message":"ok"})",
                                      "application/json");
             }},
            {"POST", "/api/v1/transactions/initiate",
             [&](const httplib::Request& request, httplib::Response& response) {
                 if (request.get_header_value("Authorization") != "Bearer tok-1") {
                     response.status = 401;
                     return;
                 }
                 response.set_content(document.toJSON().dump(), "application/json");
             }},
            {"POST", "/api/data/collect/userData",
             [&](const httplib::Request& request, httplib::Response& response) {
                 static std::once_flag once;
                 std::call_once(once, [&] { userData.set_value(parseJSON(request.body).value_or(JSONDictionary())); });
                 response.set_content(R"({"ResponseCode":"0","ResponseText":"stored"})", "application/json");
             }},
        });
        ServiceOrigins origins{server.baseUrl(), server.baseUrl(), server.baseUrl(), server.baseUrl()};
        urls = BaseUrls::from(origins);

        testing::RealSession session(directory.path(), *urls, true);
        EXPECT_EQ(session.authenticate(), "txn-it-1");
        auto future = userData.get_future();
        ASSERT_EQ(future.wait_for(20s), std::future_status::ready);
        auto body = future.get();
        EXPECT_EQ(body["sessionId"], "txn-it-1");
        EXPECT_EQ(body["clientName"], CollectionService::kClientName);
        const auto& report = body["userData"];
        for (const char* key : {"appName", "url", "userAgent", "os", "client", "device"}) {
            EXPECT_TRUE(report.contains(key)) << key;
        }
        EXPECT_EQ(report["os"].size(), 5u);
        EXPECT_EQ(report["client"].size(), 10u);
        EXPECT_EQ(report["device"].size(), 6u);
        EXPECT_EQ(report["device"]["screenSize"], "1280x800");
        EXPECT_EQ(report["client"]["language"], "EN-GB");
        {
            std::lock_guard lock(mutex);
            EXPECT_EQ(authorizationSeen, "Basic " + basicCredential("alice", "s3cret"));
        }
        EXPECT_EQ(session.keychain.string("accessToken"), "tok-1");
        EXPECT_EQ(session.keychain.string("refreshToken"), "ref-1");
        EXPECT_EQ(session.keychain.string("transactionId"), "txn-it-1");
    }

    // A new process, the server gone: the session key comes from the cache
    // and the tokens from the sealed store.
    testing::RealSession later(directory.path(), *urls, false);
    EXPECT_EQ(later.authenticate(), "txn-it-1");
    EXPECT_EQ(later.keychain.string("accessToken"), "tok-1");
    EXPECT_EQ(later.config.sessionKey(), "txn-it-1");
}

}  // namespace
}  // namespace quarra
