#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "config/SessionConfigManager.hpp"
#include "support/DroppingHttpsServer.hpp"
#include "support/HttpsTestServer.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::HttpsTestServer;

constexpr auto kPatience = 30s;  // a bound for real I/O, never what a test measures

class Callbacks {
public:
    RequestsManager::Success success() {
        return [this](const std::string& body) { add(&successes_, body); };
    }
    RequestsManager::Failure failure() {
        return [this](const APIError& error) { add(&failures_, error); };
    }
    bool waitForOne() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return successes_.size() + failures_.size() > 0; });
    }
    std::vector<std::string> successes() {
        std::lock_guard lock(mutex_);
        return successes_;
    }
    std::vector<APIError> failures() {
        std::lock_guard lock(mutex_);
        return failures_;
    }

private:
    template <typename T>
    void add(std::vector<T>* list, const T& value) {
        std::lock_guard lock(mutex_);
        list->push_back(value);
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> successes_;
    std::vector<APIError> failures_;
};

// A requests manager over the real client, every origin pointing at `origin`.
class Transport {
public:
    explicit Transport(const std::string& origin)
        : manager(RequestsManager::Dependencies{
              .session = makeCurlHttpClient(CurlClientOptions{.caFile = testing::testCAFile().string()}),
              .mainExecutor = makeSerialQueue("test-main"),
              .worker = makeSerialQueue("test-retry"),
              .baseUrls = BaseUrls::from(ServiceOrigins{.platform = origin, .collector = origin, .certification = origin,
                                                        .log = origin}),
              .logManager = nullptr,
              .sessionConfigManager = &config,
          }) {}

    SessionConfigManager config;
    RequestsManager manager;
};

DataCollectorAPI report(std::string path, std::optional<double> timeout = std::nullopt) {
    return DataCollectorAPI::sendData({{"sessionId", "key/1"}, {"clientName", "Demo"}}, std::nullopt, std::move(path),
                                      timeout, "", BaseUrlType::dcBaseUrl);
}

TEST(TransportOverHttps, PostsTheCompactEnvelopeAndHandsBackTheAnswer) {
    std::promise<std::tuple<std::string, std::string, size_t>> seen;
    HttpsTestServer server({{"POST", "/api/data/collect/activityStream",
                             [&](const httplib::Request& request, httplib::Response& response) {
                                 seen.set_value({request.body, request.get_header_value("Content-Type"),
                                                 request.get_header_value_count("Content-Type")});
                                 response.set_content(R"({"ResponseCode":"0"})", "application/json");
                             }}});
    Transport transport(server.baseUrl());
    Callbacks callbacks;
    ASSERT_TRUE(transport.manager.request(report("activityStream"), 1, "0", callbacks.success(), callbacks.failure()));
    ASSERT_TRUE(callbacks.waitForOne());
    EXPECT_EQ(callbacks.successes(), std::vector<std::string>{R"({"ResponseCode":"0"})"});
    auto [body, contentType, contentTypes] = seen.get_future().get();
    EXPECT_EQ(body, R"({"clientName":"Demo","sessionId":"key\/1"})");
    EXPECT_EQ(contentType, "application/json");
    EXPECT_EQ(contentTypes, 1u);
}

TEST(TransportOverHttps, AccessTokenCallCarriesTheBasicCredential) {
    std::promise<std::string> authorization;
    HttpsTestServer server({{"POST", "/api/accessToken", [&](const httplib::Request& request, httplib::Response& response) {
                                 authorization.set_value(request.get_header_value("Authorization"));
                                 response.set_content(R"({"access_token":"t"})", "application/json");
                             }}});
    Transport transport(server.baseUrl());
    Callbacks callbacks;
    transport.manager.request(DataCollectorAPI::sendDataAccessToken(JSONDictionary::object(), "dXNlcjprZXk=",
                                                                    "accessToken", 10.0, "1", BaseUrlType::dcBaseUrl),
                              1, "3", callbacks.success(), callbacks.failure());
    ASSERT_TRUE(callbacks.waitForOne());
    EXPECT_EQ(callbacks.successes().size(), 1u);
    EXPECT_EQ(authorization.get_future().get(), "Basic dXNlcjprZXk=");
}

TEST(TransportOverHttps, ServerErrorIsRetriedThenReportedOnce) {
    HttpsTestServer server({{"POST", "/api/data/collect/userData", [](const httplib::Request&, httplib::Response& response) {
                                 response.status = 500;
                                 response.set_content("oops", "text/plain");
                             }}});
    auto transport = std::make_unique<Transport>(server.baseUrl());
    Callbacks callbacks;
    transport->manager.request(report("userData"), 1, "0", callbacks.success(), callbacks.failure());
    ASSERT_TRUE(callbacks.waitForOne());
    transport.reset();  // nothing more can arrive after this
    EXPECT_TRUE(callbacks.successes().empty());
    EXPECT_EQ(callbacks.failures(), (std::vector<APIError>{{"userData", "500", "HTTP status 500"}}));
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST(TransportOverHttps, RefusedConnectionEndsInOneFailure) {
    testing::RefusingPort refusing;
    auto transport = std::make_unique<Transport>(refusing.baseUrl());
    Callbacks callbacks;
    transport->manager.request(report("userData"), 1, "0", callbacks.success(), callbacks.failure());
    ASSERT_TRUE(callbacks.waitForOne());
    transport.reset();
    ASSERT_EQ(callbacks.failures().size(), 1u);
    EXPECT_EQ(callbacks.failures()[0].code, "-1");
    EXPECT_FALSE(callbacks.failures()[0].message.empty());
    EXPECT_TRUE(callbacks.successes().empty());
}

TEST(TransportOverHttps, ConnectionClosedWithoutAnswerEndsInOneFailure) {
    testing::DroppingHttpsServer dropping;
    auto transport = std::make_unique<Transport>(dropping.baseUrl());
    Callbacks callbacks;
    transport->manager.request(report("userData"), 1, "0", callbacks.success(), callbacks.failure());
    ASSERT_TRUE(callbacks.waitForOne());
    transport.reset();
    ASSERT_EQ(callbacks.failures().size(), 1u);
    EXPECT_EQ(callbacks.failures()[0].code, "-1");
    EXPECT_TRUE(callbacks.successes().empty());
    EXPECT_EQ(dropping.droppedCount(), 2u);
}

TEST(TransportOverHttps, TimeOutEndsInOneFailure) {
    // Not even the TLS handshake is answered, so each attempt waits out its
    // whole time-out whatever the load on the machine.
    testing::SilentPort silent;
    auto transport = std::make_unique<Transport>(silent.baseUrl());
    Callbacks callbacks;
    transport->manager.request(report("userData", 0.3), 1, "0", callbacks.success(), callbacks.failure());
    ASSERT_TRUE(callbacks.waitForOne());
    transport.reset();
    ASSERT_EQ(callbacks.failures().size(), 1u);
    EXPECT_EQ(callbacks.failures()[0].code, "-1");
    EXPECT_FALSE(callbacks.failures()[0].message.empty());
    EXPECT_TRUE(callbacks.successes().empty());
    EXPECT_EQ(silent.connectionCount(), 2u) << "one attempt and one retry, each on its own connection";
}

}  // namespace
}  // namespace quarra
