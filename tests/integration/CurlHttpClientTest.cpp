#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <future>
#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

#include <quarra/HttpClient.hpp>

#include "support/HttpsTestServer.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::HttpsTestServer;

// Generous bounds for real I/O on a busy machine; never what a test measures.
constexpr auto kPatience = 30s;

// Collects completions from the network thread.
class Results {
public:
    HttpClient::Completion add() {
        return [this](HttpResult result) {
            std::lock_guard lock(mutex_);
            results_.push_back(std::move(result));
            changed_.notify_all();
        };
    }
    bool waitFor(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return results_.size() >= count; });
    }
    std::vector<HttpResult> all() {
        std::lock_guard lock(mutex_);
        return results_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<HttpResult> results_;
};

HttpRequest post(std::string url, std::string body, std::chrono::milliseconds timeout = 10s) {
    HttpRequest request;
    request.method = "POST";
    request.url = std::move(url);
    request.headers = {{"Content-Type", "application/json"}};
    request.body = std::move(body);
    request.timeout = timeout;
    return request;
}

std::shared_ptr<HttpClient> trustingClient() {
    return makeCurlHttpClient(CurlClientOptions{.caFile = testing::testCAFile().string()});
}

TEST(CurlHttpClient, CollectsStatusHeadersAndBody) {
    HttpsTestServer server({{"PUT", "/items/7", [](const httplib::Request& request, httplib::Response& response) {
                                 response.status = 201;
                                 response.set_header("X-Answer", "42");
                                 response.set_content("echo:" + request.body, "text/plain");
                             }}});
    auto client = trustingClient();
    Results results;
    auto request = post(server.url("/items/7"), "payload");
    request.method = "PUT";
    client->send(request, results.add());
    ASSERT_TRUE(results.waitFor(1));
    auto result = results.all().at(0);
    EXPECT_FALSE(result.error.has_value()) << *result.error;
    ASSERT_TRUE(result.response.has_value());
    EXPECT_EQ(result.response->statusCode, 201);
    EXPECT_EQ(result.body, "echo:payload");
    bool sawHeader = false;
    for (const auto& [name, value] : result.response->headers) sawHeader |= (name == "X-Answer" && value == "42");
    EXPECT_TRUE(sawHeader);
}

TEST(CurlHttpClient, AnswerHeadersAreLeftOutWhenNotAskedFor) {
    HttpsTestServer server({{"POST", "/in", [](const httplib::Request&, httplib::Response& response) {
                                 response.status = 202;
                                 response.set_header("X-Answer", "42");
                                 response.set_content("taken", "text/plain");
                             }}});
    auto client = trustingClient();
    for (bool collect : {false, true, false}) {
        Results results;
        auto request = post(server.url("/in"), "{}");
        request.collectResponseHeaders = collect;
        client->send(request, results.add());
        ASSERT_TRUE(results.waitFor(1));
        const auto result = results.all().at(0);
        ASSERT_TRUE(result.response.has_value()) << result.error.value_or("");
        EXPECT_EQ(result.response->statusCode, 202);
        EXPECT_EQ(result.body, "taken");
        const auto& headers = result.response->headers;
        const bool sawAnswer = std::any_of(headers.begin(), headers.end(), [](const auto& header) {
            return header.first == "X-Answer" && header.second == "42";
        });
        EXPECT_EQ(sawAnswer, collect);
        EXPECT_EQ(headers.empty(), !collect);
    }
}

TEST(CurlHttpClient, SendsExactlyTheHeadersAndBodyAsked) {
    std::promise<std::tuple<std::string, std::string, size_t, bool>> seen;
    HttpsTestServer server({{"POST", "/in", [&](const httplib::Request& request, httplib::Response& response) {
                                 seen.set_value({request.body, request.get_header_value("Content-Type"),
                                                 request.get_header_value_count("Content-Type"),
                                                 request.has_header("Expect")});
                                 response.set_content("{}", "application/json");
                             }}});
    auto client = trustingClient();
    Results results;
    const std::string large(4096, 'x');  // large enough that a client might wait for "100 Continue"
    client->send(post(server.url("/in"), R"({"a":")" + large + R"("})"), results.add());
    ASSERT_TRUE(results.waitFor(1));
    auto [body, contentType, contentTypes, expect] = seen.get_future().get();
    EXPECT_EQ(body, R"({"a":")" + large + R"("})");
    EXPECT_EQ(contentType, "application/json");
    EXPECT_EQ(contentTypes, 1u);
    EXPECT_FALSE(expect);
}

// Requests one after another, so each takes the easy handle the one before
// left: whatever the earlier request's method, body, headers or time-out,
// each goes out exactly as asked.
TEST(CurlHttpClient, EachRequestGoesOutAsAskedWhateverRanBeforeIt) {
    std::mutex mutex;
    std::vector<std::string> seen;
    auto echo = [&](const httplib::Request& request, httplib::Response& response) {
        const std::string line = request.method + " " + request.body + " seq=" + request.get_header_value("X-Seq") +
                                 " type=" + request.get_header_value("Content-Type");
        {
            std::lock_guard lock(mutex);
            seen.push_back(line);
        }
        response.set_content(line, "text/plain");
    };
    HttpsTestServer server({{"GET", "/echo", echo}, {"POST", "/echo", echo}, {"PUT", "/echo", echo},
                            {"DELETE", "/echo", echo}});
    struct Step {
        std::string method;
        std::optional<std::string> body;
        std::string contentType;
        std::string expectedSeen;
    };
    const std::vector<Step> steps = {
        {"POST", "one", "application/json", "POST one seq=0 type=application/json"},
        {"POST", "two", "text/plain", "POST two seq=1 type=text/plain"},
        {"PUT", "three", "application/json", "PUT three seq=2 type=application/json"},
        {"GET", std::nullopt, "", "GET  seq=3 type="},
        {"POST", std::nullopt, "", "POST  seq=4 type="},
        {"HEAD", std::nullopt, "", "HEAD  seq=5 type="},
        {"POST", "six", "application/json", "POST six seq=6 type=application/json"},
        {"DELETE", std::nullopt, "", "DELETE  seq=7 type="},
        {"GET", std::nullopt, "", "GET  seq=8 type="},
        {"PUT", "nine", "", "PUT nine seq=9 type="},
    };
    auto client = trustingClient();
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        HttpRequest request;
        request.method = step.method;
        request.url = server.url("/echo");
        request.body = step.body;
        request.headers = {{"X-Seq", std::to_string(i)}};
        if (!step.contentType.empty()) request.headers.emplace_back("Content-Type", step.contentType);
        request.timeout = 10s;
        Results results;
        client->send(request, results.add());
        ASSERT_TRUE(results.waitFor(1)) << step.method;
        const auto result = results.all().at(0);
        ASSERT_TRUE(result.response.has_value()) << step.method << ": " << result.error.value_or("");
        EXPECT_EQ(result.response->statusCode, 200) << step.method;
        // A HEAD answer has no body; any other carries back what the server saw.
        EXPECT_EQ(result.body.value_or("?"), step.method == "HEAD" ? "" : step.expectedSeen) << step.method;
    }
    std::vector<std::string> expected;
    for (const auto& step : steps) expected.push_back(step.expectedSeen);
    std::lock_guard lock(mutex);
    EXPECT_EQ(seen, expected);
}

TEST(CurlHttpClient, ManyConcurrentRequestsShareAFewConnections) {
    HttpsTestServer server({{"POST", "/collect", [](const httplib::Request&, httplib::Response& response) {
                                 response.set_content(R"({"ResponseCode":"0"})", "application/json");
                             }}});
    auto client = trustingClient();
    Results results;
    // More than the client hands libcurl at once, so some wait their turn.
    constexpr size_t kRequests = 300;
    for (size_t i = 0; i < kRequests; ++i) client->send(post(server.url("/collect"), "{}"), results.add());
    ASSERT_TRUE(results.waitFor(kRequests));
    for (const auto& result : results.all()) {
        ASSERT_TRUE(result.response.has_value()) << result.error.value_or("");
        EXPECT_EQ(result.response->statusCode, 200);
    }
    EXPECT_EQ(server.requestCount(), kRequests);
    EXPECT_GE(server.connectionCount(), 1u);
    EXPECT_LE(server.connectionCount(), 6u);
}

// A request's time-out runs while it is on the wire, not while it waits for
// one of the host's connections: a burst to a slow service ends with every
// answer, and a quick service is not held up behind it.
TEST(CurlHttpClient, TheTimeOutCountsFromTheWireAndOriginsTakeTurns) {
    HttpsTestServer slow({{"POST", "/collect", [](const httplib::Request&, httplib::Response& response) {
                               std::this_thread::sleep_for(300ms);  // the service's fault, not the test's wait
                               response.set_content(R"({"ResponseCode":"0"})", "application/json");
                           }}});
    HttpsTestServer quick({{"POST", "/collect", [](const httplib::Request&, httplib::Response& response) {
                                response.set_content(R"({"ResponseCode":"0"})", "application/json");
                            }}});
    auto client = trustingClient();
    // Eight rounds of six connections: the last request of the burst waits
    // about 2.4 s for a connection, longer than its time-out.
    constexpr size_t kRequests = 48;
    std::mutex mutex;
    std::vector<std::string> order;
    std::condition_variable changed;
    std::vector<HttpResult> results;
    auto record = [&](std::string name) {
        return [&, name](HttpResult result) {
            std::lock_guard lock(mutex);
            order.push_back(name);
            results.push_back(std::move(result));
            changed.notify_all();
        };
    };
    for (size_t i = 0; i < kRequests; ++i) client->send(post(slow.url("/collect"), "{}", 1500ms), record("slow"));
    client->send(post(quick.url("/collect"), "{}", 1500ms), record("quick"));

    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, kPatience, [&] { return results.size() == kRequests + 1; }));
    for (const auto& result : results) {
        ASSERT_TRUE(result.response.has_value()) << result.error.value_or("");
        EXPECT_EQ(result.response->statusCode, 200);
    }
    EXPECT_EQ(slow.requestCount(), kRequests) << "nothing sent twice";
    EXPECT_LE(slow.connectionCount(), 6u);
    const auto quickAt = std::find(order.begin(), order.end(), "quick") - order.begin();
    EXPECT_LT(quickAt, 12) << "the quick service answered behind the slow one's queue";
}

// Each request goes out from the completion of the one before: once from the
// network thread itself (which is busy then, so nobody wakes it) and once from
// another thread just after an answer (when the thread may be on its way to
// sleep). A request left in the hand-over list until the poll's one-second
// limit would make the chain of fifty take most of a minute.
TEST(CurlHttpClient, ARequestHandedOverWhileTheThreadIsBusyIsNotLeftWaiting) {
    HttpsTestServer server({{"POST", "/in", [](const httplib::Request&, httplib::Response& response) {
                                 response.set_content("{}", "application/json");
                             }}});
    auto client = trustingClient();
    constexpr int kChain = 50;
    for (const bool fromCompletion : {true, false}) {
        std::mutex mutex;
        std::condition_variable changed;
        int answered = 0;
        std::function<void(HttpResult)> next = [&](HttpResult result) {
            std::lock_guard lock(mutex);
            answered += result.response ? 1 : 0;
            if (fromCompletion && answered < kChain) client->send(post(server.url("/in"), "{}"), next);
            changed.notify_all();
        };
        const auto start = std::chrono::steady_clock::now();
        client->send(post(server.url("/in"), "{}"), next);
        std::unique_lock lock(mutex);
        for (int sent = 1; sent < kChain || answered < kChain;) {
            ASSERT_TRUE(changed.wait_for(lock, kPatience, [&] { return answered >= sent; })) << answered;
            if (!fromCompletion && sent < kChain) {
                lock.unlock();
                client->send(post(server.url("/in"), "{}"), next);
                lock.lock();
            }
            ++sent;
        }
        EXPECT_EQ(answered, kChain);
        EXPECT_LT(std::chrono::steady_clock::now() - start, kPatience) << (fromCompletion ? "from" : "after") << " completions";
    }
}

TEST(CurlHttpClient, UntrustedServerIsRefused) {
    HttpsTestServer server({{"POST", "/in", [](const httplib::Request&, httplib::Response& response) {
                                 response.set_content("{}", "application/json");
                             }}},
                           testing::untrustedServerCertificate());
    auto client = trustingClient();
    Results results;
    client->send(post(server.url("/in"), "{}"), results.add());
    ASSERT_TRUE(results.waitFor(1));
    auto result = results.all().at(0);
    EXPECT_FALSE(result.response.has_value());
    EXPECT_TRUE(result.error.has_value());
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST(CurlHttpClient, PlainHttpAndHeaderInjectionAreRefused) {
    auto client = trustingClient();
    Results results;
    client->send(post("http://127.0.0.1:9/in", "{}"), results.add());
    auto forged = post("https://127.0.0.1:9/in", "{}");
    forged.headers.emplace_back("X-Note", "a\r\nX-Forged: 1");
    client->send(forged, results.add());
    ASSERT_TRUE(results.waitFor(2));
    for (const auto& result : results.all()) {
        EXPECT_FALSE(result.response.has_value());
        EXPECT_TRUE(result.error.has_value());
    }
}

TEST(CurlHttpClient, DestructionCancelsRequestsInFlight) {
    std::promise<void> arrived;
    std::promise<void> release;
    auto released = release.get_future().share();
    HttpsTestServer server({{"POST", "/slow", [&arrived, released](const httplib::Request&, httplib::Response& response) {
                                 arrived.set_value();
                                 released.wait_for(kPatience);
                                 response.set_content("{}", "application/json");
                             }}});
    Results results;
    {
        auto client = trustingClient();
        client->send(post(server.url("/slow"), "{}"), results.add());
        arrived.get_future().wait();
    }  // joins the network thread
    release.set_value();
    auto all = results.all();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].error, "cancelled");
    EXPECT_FALSE(all[0].response.has_value());
}

TEST(CurlHttpClient, MayBeReleasedFromItsOwnCompletion) {
    HttpsTestServer server({{"POST", "/in", [](const httplib::Request&, httplib::Response& response) {
                                 response.set_content("{}", "application/json");
                             }}});
    std::promise<long> done;
    auto client = trustingClient();
    auto* raw = client.get();
    std::shared_ptr<HttpClient> last = std::move(client);
    raw->send(post(server.url("/in"), "{}"), [&done, &last](HttpResult result) {
        last.reset();  // the client goes away on its own network thread
        done.set_value(result.response ? result.response->statusCode : -1);
    });
    auto future = done.get_future();
    ASSERT_EQ(future.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(future.get(), 200);
}

}  // namespace
}  // namespace quarra
