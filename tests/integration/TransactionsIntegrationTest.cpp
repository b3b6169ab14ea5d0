// The transaction client over real HTTPS on 127.0.0.1: what the platform
// receives for each of the five calls, and a manager released mid-call.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include <quarra/KeychainWrapper.hpp>
#include <quarra/QuarraManager.hpp>

#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"
#include <quarra/testing/MemorySecureItemStore.hpp>
#include <quarra/testing/FakeClock.hpp>
#include "support/CapturingConsole.hpp"
#include "support/HttpsTestServer.hpp"
#include "transactions/QuarraAssembly.hpp"
#include "transactions/TransactionEventService.hpp"
#include "transactions/TransactionRequests.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::HttpsTestServer;

// Generous bound for real I/O on a busy machine; never what a test measures.
constexpr auto kPatience = 30s;

struct Received {
    std::string method;
    std::string path;
    size_t contentTypeCount = 0;
    std::string contentType;
    std::string authorization;
    JSONDictionary body;
};

// What the stand-in platform saw, and a gate that can hold its answers back.
class Platform {
public:
    Platform() : gate_(gateOpened_.get_future().share()) {}

    std::vector<HttpsTestServer::Route> routes() {
        return {
            {"PUT", "/api/v1/transactions/[^/]*",
             [this](const auto& request, auto& response) {
                 answer(request, response, R"({"apiVersion":"1","time":"t","data":{"transactionId":"E-1"}})");
             }},
            {"POST", "/api/v1/transactions/evaluate/[^/]*",
             [this](const auto& request, auto& response) {
                 bool preAuth = request.body.find(R"("transactionEvaluationStep":"PreAuth")") != std::string::npos;
                 answer(request, response,
                        preAuth ? R"({"data":{"transactionId":"P-1","evaluationDecision":"Guaranteeable"}})"
                                : R"({"data":{"transactionId":"C-1","score":90}})");
             }},
            {"PATCH", "/api/v1/transactions/transactionStatus",
             [this](const auto& request, auto& response) {
                 answer(request, response,
                        R"({"apiVersion":"1","time":"t","data":{"transactionStatus":"Cancelled"}})");
             }},
        };
    }

    void holdAnswers() { holding_ = true; }
    void releaseAnswers() { gateOpened_.set_value(); }

    bool waitForRequests(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return received_.size() >= count; });
    }
    std::vector<Received> received() {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    void answer(const httplib::Request& request, httplib::Response& response, const std::string& body) {
        {
            std::lock_guard lock(mutex_);
            received_.push_back(Received{request.method, request.path, request.get_header_value_count("content-type"),
                                         request.get_header_value("content-type"),
                                         request.get_header_value("Authorization"),
                                         parseJSON(request.body).value_or(nullptr)});
            changed_.notify_all();
        }
        if (holding_) gate_.wait_for(kPatience);
        response.set_content(body, "application/json");
    }

    std::promise<void> gateOpened_;
    std::shared_future<void> gate_;
    std::atomic<bool> holding_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Received> received_;
};

class Answers {
public:
    TransactionCompletion handler() {
        return [this](const std::string& text) {
            std::lock_guard lock(mutex_);
            texts_.push_back(text);
            changed_.notify_all();
        };
    }
    bool waitFor(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return texts_.size() >= count; });
    }
    std::vector<std::string> texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> texts_;
};

IngAddress address() {
    return IngAddress("Ada", "Lovelace", "1 Main St", "", "2", "1", "Main", "Old Town", "Springfield", "IL", "62701",
                      "US");
}

struct Order {
    std::vector<CustomData> customData{CustomData("loyalty", "gold", "text", "tier", "Tier", true, 0, 10)};
    TotalAmount total{30, "USD"};
    TotalAmount discount{0.5, "USD"};
    Payments payment{{CreditCard("411111", "1111", "pay-1", "stripe", address(), TotalAmount(30, "USD"),
                                 ResponseCodes("Y", "00", "M"))},
                     {}};
    std::vector<Shipping> shipping{Shipping("courier", "UPS", "2024/05/01", "express", TotalAmount(5, "USD"), "",
                                            "10:00", address(), "+15550100", "ada@example.com")};

    JSONDictionary body(const std::string& step, bool withCodes) const {
        Payments sent = payment;
        if (!withCodes) sent.creditCards[0].responseCodes.reset();
        return CompleteTransactionRequest(customData, "cart-7", "order-42", "placed", step, total, discount, sent,
                                          shipping)
            .toJSON();
    }
};

struct TransactionsOverHttps : ::testing::Test {
    TransactionsOverHttps() {
        keychain.set(std::string("txn-123"), "transactionId");
        keychain.set(std::string("token-abc"), "accessToken");
    }

    std::unique_ptr<QuarraManager> makeManager() {
        auto session = makeCurlHttpClient(
            CurlClientOptions{.caFile = testing::testCAFile().string(), .threadName = "quarra-txn-test"});
        auto service = std::make_shared<TransactionEventService>(std::make_shared<NetworkClient>(std::move(session)),
                                                                 keychain, server.url("/api/v1/transactions/"));
        auto console = std::make_shared<const Console>(sink, std::make_shared<FakeClock>());
        return std::make_unique<QuarraManager>(QuarraAssembly::make(std::move(service), std::move(console)));
    }

    Platform platform;
    HttpsTestServer server{platform.routes()};
    KeychainWrapper keychain{"test.transactions", std::nullopt, std::make_shared<MemorySecureItemStore>()};
    std::shared_ptr<testing::CapturingConsole> sink = std::make_shared<testing::CapturingConsole>();
};

TEST_F(TransactionsOverHttps, ThePlatformReceivesEachCallWithItsMethodPathHeadersAndBody) {
    auto manager = makeManager();
    Order order;
    Answers answers;
    manager->transactionEvent("SKU-1", 2, 19.99, "USD", 1.5, "EUR", true, "book", "cart-7", "A book", "addToCart",
                              answers.handler());
    ASSERT_TRUE(answers.waitFor(1));
    manager->completeTransactionPostAuth(order.customData, "cart-7", "order-42", "placed", order.total,
                                         order.discount, order.payment, order.shipping, AuthType::OneStepPostAut,
                                         answers.handler());
    ASSERT_TRUE(answers.waitFor(2));
    manager->completeTransactionPostAuthFallowedByPreAuth(order.customData, "cart-7", "order-42", "placed",
                                                          order.total, order.discount, order.payment, order.shipping,
                                                          AuthType::PreAndPostAuth, answers.handler());
    ASSERT_TRUE(answers.waitFor(3));
    manager->cancelOrder("refunded", "order-42", "caller-txn-9", "cancelled", "", answers.handler());
    ASSERT_TRUE(answers.waitFor(4));

    EXPECT_EQ(answers.texts(), (std::vector<std::string>{"E-1", "C-1", "P-1", "Cancelled"}));
    const std::vector<std::tuple<std::string, std::string, JSONDictionary>> expected = {
        {"PUT", "/api/v1/transactions/txn-123",
         TransactionEventRequest("SKU-1", "book", "cart-7", "A book", true, 2, Ount(19.99, "USD"), "addToCart",
                                 Ount(1.5, "EUR"))
             .toJSON()},
        {"POST", "/api/v1/transactions/evaluate/txn-123", order.body("OneStepPostAuth", true)},
        {"POST", "/api/v1/transactions/evaluate/txn-123", order.body("PreAuth", false)},
        {"POST", "/api/v1/transactions/evaluate/txn-123", order.body("PostAuth", true)},
        {"PATCH", "/api/v1/transactions/transactionStatus",
         CancelTransactionRequest("refunded", "order-42", "caller-txn-9", "cancelled", "").toJSON()},
    };
    auto received = platform.received();
    ASSERT_EQ(received.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& [method, path, body] = expected[i];
        SCOPED_TRACE("request " + std::to_string(i) + ": " + method + " " + path);
        EXPECT_EQ(received[i].method, method);
        EXPECT_EQ(received[i].path, path);
        EXPECT_EQ(received[i].contentTypeCount, 1u);
        EXPECT_EQ(received[i].contentType, "application/json");
        EXPECT_EQ(received[i].authorization, "Bearer token-abc");
        EXPECT_EQ(received[i].body, body);
    }
}

TEST_F(TransactionsOverHttps, AManagerReleasedMidCallStillFinishesTheTwoRequestFlow) {
    auto manager = makeManager();
    Order order;
    Answers answers;
    platform.holdAnswers();
    manager->completeTransactionPostAuthFallowedByPreAuth(order.customData, "cart-7", "order-42", "placed",
                                                          order.total, order.discount, order.payment, order.shipping,
                                                          AuthType::OneStepPostAut, answers.handler());
    ASSERT_TRUE(platform.waitForRequests(1));
    manager.reset();
    platform.releaseAnswers();

    ASSERT_TRUE(answers.waitFor(1));
    EXPECT_EQ(answers.texts(), std::vector<std::string>{"P-1"});
    auto received = platform.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].body["transactionEvaluationStep"], "OneStepPostAuth");
}

}  // namespace
}  // namespace quarra
