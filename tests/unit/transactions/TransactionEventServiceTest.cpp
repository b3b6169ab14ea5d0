// The transaction service as the platform sees it: methods, URLs, headers and
// bodies of the five calls, the stored values they read, and their results.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TransactionFixtures.hpp"
#include "transactions/TransactionRequests.hpp"

namespace quarra {
namespace {

using testing::SampleOrder;
using testing::TransactionHarness;

// Counts deliveries of one call's result and keeps the last one's error, if any.
struct Outcome {
    int deliveries = 0;
    bool success = false;
    std::optional<ErrorModel> error;

    template <class Reply>
    ServiceCompletion<Reply> completion() {
        return [this](TransactionResult<Reply> result) {
            ++deliveries;
            success = result.isSuccess();
            if (result.error()) error = *result.error();
        };
    }
};

using Call = std::function<void(TransactionHarness&, Outcome&)>;

Call eventCall(double normalAmount = 19.99, std::string description = "A book") {
    return [=](TransactionHarness& h, Outcome& outcome) {
        h.service->postTransactionEvent("SKU-1", 2, normalAmount, "USD", 1.5, "EUR", true, "book", "cart-7",
                                        description, "addToCart", outcome.completion<InitiateTransactionResponse>());
    };
}

Call completeCall(AuthType authType, SampleOrder order = {}) {
    return [=](TransactionHarness& h, Outcome& outcome) {
        h.service->completeTransaction(order.customData, order.uniqueCartID, order.orderNumber,
                                       order.customerOrderStatus, order.totalAmount, order.discountAmount,
                                       order.payment, order.shiping, authType,
                                       outcome.completion<CompleteTransactionResponse>());
    };
}

Call preAuthCall(SampleOrder order = {}) {
    return [=](TransactionHarness& h, Outcome& outcome) {
        h.service->evaluatePreAuth(order.customData, order.uniqueCartID, order.orderNumber, order.customerOrderStatus,
                                   order.totalAmount, order.discountAmount, order.payment, order.shiping,
                                   outcome.completion<CompleteTransactionResponse>());
    };
}

Call afterPreAuthCall(AuthType authType, SampleOrder order = {}) {
    return [=](TransactionHarness& h, Outcome& outcome) {
        h.service->completeAfterPreAuth(order.customData, order.uniqueCartID, order.orderNumber,
                                        order.customerOrderStatus, order.totalAmount, order.discountAmount,
                                        order.payment, order.shiping, authType,
                                        outcome.completion<CompleteTransactionResponse>());
    };
}

Call cancelCall() {
    return [](TransactionHarness& h, Outcome& outcome) {
        h.service->cancelTransaction("refunded", "order-42", "caller-txn-9", "cancelled", "changed mind",
                                     outcome.completion<CancelTransactionResponse>());
    };
}

JSONDictionary evaluationBody(const std::string& step) {
    SampleOrder order;
    return CompleteTransactionRequest(order.customData, order.uniqueCartID, order.orderNumber,
                                      order.customerOrderStatus, step, order.totalAmount, order.discountAmount,
                                      order.payment, order.shiping)
        .toJSON();
}

struct WireCase {
    std::string name;
    Call call;
    std::string method;
    std::string url;
    JSONDictionary body;
};

class ServiceWireTest : public ::testing::TestWithParam<WireCase> {};

TEST_P(ServiceWireTest, SendsOneRequestAsThePlatformExpects) {
    const auto& wireCase = GetParam();
    TransactionHarness harness;
    Outcome outcome;
    wireCase.call(harness, outcome);
    EXPECT_EQ(outcome.deliveries, 0) << "answered before the reply arrived";
    harness.callbacks->runUntilIdle();

    ASSERT_EQ(harness.http->requestCount(), 1u);
    auto request = harness.http->requests()[0];
    EXPECT_EQ(request.method, wireCase.method);
    EXPECT_EQ(request.url, wireCase.url);
    EXPECT_EQ(request.headers,
              (HttpHeaders{{"Authorization", "Bearer token-abc"}, {"content-type", "application/json"}}));
    EXPECT_EQ(harness.sentBody(0), wireCase.body);
    EXPECT_EQ(outcome.deliveries, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ServiceWireTest,
    ::testing::Values(
        WireCase{"postTransactionEvent", eventCall(), "PUT", testing::kTransactionsUrl + "txn-123",
                 TransactionEventRequest("SKU-1", "book", "cart-7", "A book", true, 2, Ount(19.99, "USD"),
                                         "addToCart", Ount(1.5, "EUR"))
                     .toJSON()},
        WireCase{"completeTransactionOneStep", completeCall(AuthType::OneStepPostAut), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("OneStepPostAuth")},
        WireCase{"completeTransactionPreAuthType", completeCall(AuthType::PreAuth), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("PostAuth")},
        WireCase{"completeTransactionPreAndPost", completeCall(AuthType::PreAndPostAuth), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("PostAuth")},
        WireCase{"completeTransactionUndefined", completeCall(AuthType::unowned), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("PostAuth")},
        WireCase{"evaluatePreAuth", preAuthCall(), "POST", testing::kTransactionsUrl + "evaluate/txn-123",
                 evaluationBody("PreAuth")},
        WireCase{"completeAfterPreAuthOneStep", afterPreAuthCall(AuthType::OneStepPostAut), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("OneStepPostAuth")},
        WireCase{"completeAfterPreAuthOther", afterPreAuthCall(AuthType::PreAndPostAuth), "POST",
                 testing::kTransactionsUrl + "evaluate/txn-123", evaluationBody("PostAuth")},
        WireCase{"cancelTransaction", cancelCall(), "PATCH", testing::kTransactionsUrl + "transactionStatus",
                 CancelTransactionRequest("refunded", "order-42", "caller-txn-9", "cancelled", "changed mind")
                     .toJSON()}),
    [](const ::testing::TestParamInfo<WireCase>& info) { return info.param.name; });

TEST(TransactionEventServiceTest, WithoutStoredValuesTheFixedUrlsAndAnEmptyBearerAreUsed) {
    TransactionHarness harness;
    harness.keychain.remove("transactionId");
    harness.keychain.remove("accessToken");
    Outcome event, evaluation;
    eventCall()(harness, event);
    completeCall(AuthType::PreAuth)(harness, evaluation);
    harness.callbacks->runUntilIdle();

    auto requests = harness.http->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].url, "https://platform.test/api/v1/transactions/");
    EXPECT_EQ(requests[1].url, "https://platform.test/api/v1/transactions/evaluate/");
    for (const auto& request : requests) EXPECT_EQ(request.header("Authorization"), "Bearer ");
}

TEST(TransactionEventServiceTest, StoredValuesAreReadAfreshForEveryRequest) {
    TransactionHarness harness;
    Outcome first, second;
    eventCall()(harness, first);
    harness.keychain.set(std::string("txn-456"), "transactionId");
    harness.keychain.set(std::string("token-new"), "accessToken");
    eventCall()(harness, second);
    harness.callbacks->runUntilIdle();

    auto requests = harness.http->requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].url, testing::kTransactionsUrl + "txn-123");
    EXPECT_EQ(requests[1].url, testing::kTransactionsUrl + "txn-456");
    EXPECT_EQ(requests[1].header("Authorization"), "Bearer token-new");
}

TEST(TransactionEventServiceTest, CancellationNeverReadsTheStoredTransactionId) {
    TransactionHarness harness;
    Outcome outcome;
    cancelCall()(harness, outcome);
    harness.callbacks->runUntilIdle();
    EXPECT_EQ(harness.keychain.reads("transactionId"), 0);
    EXPECT_EQ(harness.keychain.reads("accessToken"), 1);
    EXPECT_EQ(harness.sentBody(0)["transactionId"], "caller-txn-9");
}

TEST(TransactionEventServiceTest, SlashesInTextsTravelEscaped) {
    TransactionHarness harness;
    Outcome outcome;
    eventCall(19.99, "2/3 size")(harness, outcome);
    harness.callbacks->runUntilIdle();
    auto body = harness.http->requests()[0].body.value_or("");
    EXPECT_NE(body.find(R"("productDescription":"2\/3 size")"), std::string::npos) << body;
}

struct ResultCase {
    std::string name;
    Call call;
    HttpResult answer;
    bool success;
    std::optional<std::string> errorCode;
    std::optional<std::string> errorMessage;
};

class ServiceResultTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ServiceResultTest, TurnsTheAnswerIntoOneResult) {
    const auto& resultCase = GetParam();
    TransactionHarness harness;
    harness.http->enqueue(resultCase.answer);
    Outcome outcome;
    resultCase.call(harness, outcome);
    harness.callbacks->runUntilIdle();

    EXPECT_EQ(outcome.deliveries, 1);
    EXPECT_EQ(outcome.success, resultCase.success);
    if (!resultCase.success) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->errorCode, resultCase.errorCode);
        EXPECT_EQ(outcome.error->errorMessage, resultCase.errorMessage);
    }
}

const std::string kErrorBody = R"({"errorCode":"E42","errorMessage":"Order unknown"})";
const std::string kGeneric(kGenericFailureMessage);

INSTANTIATE_TEST_SUITE_P(
    Answers, ServiceResultTest,
    ::testing::Values(
        ResultCase{"EventErrorBodyWith500", eventCall(), SimulatedHttpClient::status(500, kErrorBody), false, "E42",
                   "Order unknown"},
        ResultCase{"EventErrorBodyWith200", eventCall(), SimulatedHttpClient::ok(kErrorBody), false, "E42",
                   "Order unknown"},
        ResultCase{"CancelErrorBodyWith200", cancelCall(), SimulatedHttpClient::ok(kErrorBody), false, "E42",
                   "Order unknown"},
        ResultCase{"EventMessageOnly", eventCall(), SimulatedHttpClient::status(400, R"({"errorMessage":"bad"})"),
                   false, std::nullopt, kGeneric},
        ResultCase{"EventNoAnswer", eventCall(), SimulatedHttpClient::noResponse("timed out"), false, std::nullopt,
                   kGeneric},
        ResultCase{"CancelWithoutVersion", cancelCall(),
                   SimulatedHttpClient::ok(R"({"time":"t","data":{"transactionStatus":"Cancelled"}})"), false,
                   std::nullopt, kGeneric},
        ResultCase{"EventReplyWith500", eventCall(),
                   SimulatedHttpClient::status(500, R"({"apiVersion":"1","time":"t","data":{"transactionId":"x"}})"),
                   true, {}, {}},
        ResultCase{"CompletionErrorBodyIsAReply", completeCall(AuthType::PreAuth),
                   SimulatedHttpClient::status(500, kErrorBody), true, {}, {}}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return info.param.name; });

SampleOrder orderWithCardAmount(double amount) {
    SampleOrder order;
    order.payment.creditCards[1].amount.amount = amount;
    return order;
}

SampleOrder orderWithBrokenText() {
    SampleOrder order;
    order.shiping[0].carrier = "\xff\xfe";
    return order;
}

struct UnsendableCase {
    std::string name;
    Call call;
    std::function<void(TransactionHarness&)> prepare;
};

class UnsendableTest : public ::testing::TestWithParam<UnsendableCase> {};

TEST_P(UnsendableTest, AnswersTheGenericFailureAtOnceAndSendsNothing) {
    const auto& unsendable = GetParam();
    TransactionHarness harness;
    if (unsendable.prepare) unsendable.prepare(harness);
    Outcome outcome;
    unsendable.call(harness, outcome);

    EXPECT_EQ(outcome.deliveries, 1) << "not answered on the calling thread";
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(*outcome.error, ErrorModel::generic());
    EXPECT_EQ(harness.http->requestCount(), 0u);
    EXPECT_EQ(harness.callbacks->runUntilIdle(), 0u);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Requests, UnsendableTest,
    ::testing::Values(
        UnsendableCase{"EventAmountNaN", eventCall(kNaN), {}},
        UnsendableCase{"EventAmountInfinite", eventCall(-kInfinity), {}},
        UnsendableCase{"CompletionCardAmountInfinite", completeCall(AuthType::PreAuth, orderWithCardAmount(kInfinity)),
                       {}},
        UnsendableCase{"PreAuthCardAmountNaN", preAuthCall(orderWithCardAmount(kNaN)), {}},
        UnsendableCase{"CompletionTextNotUtf8", completeCall(AuthType::PreAuth, orderWithBrokenText()), {}},
        UnsendableCase{"StoredIdentifierBreaksTheUrl", eventCall(),
                       [](TransactionHarness& h) { h.keychain.set(std::string("a b"), "transactionId"); }},
        UnsendableCase{"BaseUrlNotAUrl", cancelCall(),
                       [](TransactionHarness& h) {
                           h.service = std::make_shared<TransactionEventService>(
                               std::make_shared<NetworkClient>(h.http), h.keychain, "not a url");
                       }},
        UnsendableCase{"TokenWithLineBreak", cancelCall(),
                       [](TransactionHarness& h) {
                           h.keychain.set(std::string("t\r\nX-Injected: 1"), "accessToken");
                       }}),
    [](const ::testing::TestParamInfo<UnsendableCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quarra
