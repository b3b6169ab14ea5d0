// The host's view of the transaction interface: the one text each completion
// handler receives, the fixed console lines, and the two-request flow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "TransactionFixtures.hpp"

namespace quarra {
namespace {

using testing::Answers;
using testing::SampleOrder;
using testing::TransactionHarness;

enum class Operation { event, complete, preAuthThenComplete, cancel };

void start(TransactionHarness& harness, Operation operation, TransactionCompletion handler,
           AuthType authType = AuthType::PreAuth) {
    switch (operation) {
        case Operation::event: return harness.sendEvent(std::move(handler));
        case Operation::complete: return harness.completeOrder(SampleOrder{}, authType, std::move(handler));
        case Operation::preAuthThenComplete:
            return harness.preAuthThenComplete(SampleOrder{}, authType, std::move(handler));
        case Operation::cancel: return harness.cancel(std::move(handler));
    }
}

HttpResult reply(const std::string& body) { return SimulatedHttpClient::ok(body); }
HttpResult eventReply(const std::string& id) {
    return reply(R"({"apiVersion":"1","time":"t","data":{"transactionId":")" + id + R"("}})");
}
HttpResult evaluation(const std::string& data) { return reply(R"({"apiVersion":"1","time":"t","data":)" + data + "}"); }
HttpResult cancelReply(const std::string& status) {
    return reply(R"({"apiVersion":"1","time":"t","data":{"transactionStatus":")" + status + R"("}})");
}
const HttpResult kErrorBody = SimulatedHttpClient::status(500, R"({"errorCode":"E42","errorMessage":"Order unknown"})");
const HttpResult kNoAnswer = SimulatedHttpClient::noResponse("timed out");

const std::string kTryAgain = "Something went wrong. Try again later.";
const std::string kCannotComplete = "Something went wrong we con't complete transaction";
const std::string kEventLine = "SP_ Transaction Event API call with item === addToCart";
const std::string kCancelLine = "SP_ Cancel Transaction API call with transactionID === caller-txn-9";
const std::string kDecision = "SP_ Pre Auth complete transaction API resposne evaluationDecision ==  ";
const std::string kCompleted = "SP_ Complete Transaction API successully called with transaction ID == ";
const std::string kErrorLines = "SP_  E42|SP_  " + ErrorModel("E42", "Order unknown").localizedDescription();
const std::string kGenericLines = "SP_  Unkown error|SP_  " + ErrorModel::generic().localizedDescription();

struct FlowCase {
    std::string name;
    Operation operation;
    std::vector<HttpResult> answers;
    std::string answer;      // the one text the handler receives
    std::string console;     // the fixed lines, joined by "|"
    size_t requests;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += (text.empty() ? "" : "|") + line;
    return text;
}

class QuarraFlowTest : public ::testing::TestWithParam<FlowCase> {};

TEST_P(QuarraFlowTest, HandlerReceivesOneTextAndTheConsoleShowsTheFixedLines) {
    const auto& flow = GetParam();
    TransactionHarness harness;
    for (const auto& answer : flow.answers) harness.http->enqueue(answer);
    Answers answers;
    start(harness, flow.operation, answers.handler());
    harness.callbacks->runUntilIdle();

    EXPECT_EQ(answers.texts(), std::vector<std::string>{flow.answer});
    EXPECT_EQ(joined(harness.sink->lines()), flow.console);
    EXPECT_EQ(harness.http->requestCount(), flow.requests);
}

INSTANTIATE_TEST_SUITE_P(
    Flows, QuarraFlowTest,
    ::testing::Values(
        // Transaction event.
        FlowCase{"EventSucceeds", Operation::event, {eventReply("T1")}, "T1",
                 kEventLine + "|SP_ Transaction Event API successully addToCart with transaction ID == T1", 1},
        FlowCase{"EventEmptyIdentifier", Operation::event, {eventReply("")}, kTryAgain, kEventLine, 1},
        FlowCase{"EventErrorBody", Operation::event, {kErrorBody}, "Order unknown", kEventLine + "|" + kErrorLines, 1},
        FlowCase{"EventNoAnswer", Operation::event, {kNoAnswer}, kTryAgain, kEventLine + "|" + kGenericLines, 1},
        FlowCase{"EventUnreadableBody", Operation::event, {reply("<html>")}, kTryAgain,
                 kEventLine + "|" + kGenericLines, 1},
        // One-request completion.
        FlowCase{"CompleteSucceeds", Operation::complete, {evaluation(R"({"transactionId":"T2"})")}, "T2",
                 kCompleted + "T2", 1},
        FlowCase{"CompleteWithoutData", Operation::complete, {reply("{}")}, kCannotComplete, "", 1},
        FlowCase{"CompleteWithoutIdentifier", Operation::complete, {evaluation(R"({"score":3})")}, kCannotComplete,
                 "", 1},
        FlowCase{"CompleteEmptyIdentifier", Operation::complete, {evaluation(R"({"transactionId":""})")},
                 kCannotComplete, "", 1},
        FlowCase{"CompleteErrorBodyReadsAsReplyWithoutData", Operation::complete, {kErrorBody}, kCannotComplete, "",
                 1},
        FlowCase{"CompleteNoAnswer", Operation::complete, {kNoAnswer}, kTryAgain, kGenericLines, 1},
        FlowCase{"CompleteUndecodable", Operation::complete, {evaluation(R"({"isGuaranteeable":true})")}, kTryAgain,
                 kGenericLines, 1},
        // Pre-authorisation, then completion.
        FlowCase{"PreAuthGuaranteeable",
                 Operation::preAuthThenComplete,
                 {evaluation(R"({"transactionId":"P1","evaluationDecision":"Guaranteeable"})"),
                  evaluation(R"({"transactionId":"P2"})")},
                 "P1", kDecision + "Guaranteeable|" + kCompleted + "P1", 2},
        FlowCase{"PreAuthGuaranteeableSecondFails",
                 Operation::preAuthThenComplete,
                 {evaluation(R"({"transactionId":"P1","evaluationDecision":"Guaranteeable"})"), kNoAnswer},
                 "P1", kDecision + "Guaranteeable|" + kCompleted + "P1", 2},
        FlowCase{"PreAuthGuaranteeableSecondUndecodable",
                 Operation::preAuthThenComplete,
                 {evaluation(R"({"transactionId":"P1","evaluationDecision":"Guaranteeable"})"), reply("[1]")},
                 "P1", kDecision + "Guaranteeable|" + kCompleted + "P1", 2},
        FlowCase{"PreAuthGuaranteeableWithoutIdentifier",
                 Operation::preAuthThenComplete,
                 {evaluation(R"({"evaluationDecision":"Guaranteeable"})"), evaluation(R"({"transactionId":"P2"})")},
                 "", kDecision + "Guaranteeable|" + kCompleted, 2},
        FlowCase{"PreAuthLetterCaseDiffers", Operation::preAuthThenComplete,
                 {evaluation(R"({"transactionId":"P1","evaluationDecision":"guaranteeable"})")}, kCannotComplete,
                 kDecision + "guaranteeable", 1},
        FlowCase{"PreAuthOtherDecision", Operation::preAuthThenComplete,
                 {evaluation(R"({"transactionId":"P1","evaluationDecision":"Review"})")}, kCannotComplete,
                 kDecision + "Review", 1},
        FlowCase{"PreAuthWithoutDecision", Operation::preAuthThenComplete, {evaluation(R"({"transactionId":"P1"})")},
                 kCannotComplete, kDecision, 1},
        FlowCase{"PreAuthWithoutData", Operation::preAuthThenComplete, {reply("{}")}, kCannotComplete, kDecision, 1},
        FlowCase{"PreAuthNoAnswer", Operation::preAuthThenComplete, {kNoAnswer}, kTryAgain, kGenericLines, 1},
        // Cancellation.
        FlowCase{"CancelSucceeds", Operation::cancel, {cancelReply("Cancelled")}, "Cancelled",
                 kCancelLine + "|SP_ Transaction Canceled for TransactionID == caller-txn-9", 1},
        FlowCase{"CancelEmptyStatus", Operation::cancel, {cancelReply("")}, kTryAgain, kCancelLine, 1},
        FlowCase{"CancelErrorBody", Operation::cancel, {kErrorBody}, "Order unknown", kCancelLine + "|" + kErrorLines,
                 1},
        FlowCase{"CancelErrorWithoutMessage", Operation::cancel,
                 {SimulatedHttpClient::status(404, R"({"errorCode":"E7","errorMessage":""})")}, "",
                 kCancelLine + "|SP_  E7|SP_  " + ErrorModel("E7", "").localizedDescription(), 1}),
    [](const ::testing::TestParamInfo<FlowCase>& info) { return info.param.name; });

bool anyCardHasResponseCodes(const JSONDictionary& body) {
    for (const auto& card : body["payments"]["creditCards"]) {
        if (card.contains("responseCodes")) return true;
    }
    return false;
}

class PreAuthStepsTest : public ::testing::TestWithParam<std::pair<AuthType, std::string>> {};

TEST_P(PreAuthStepsTest, FirstRequestIsPreAuthWithoutCodesSecondCarriesCodesAndTheChosenStep) {
    auto [authType, secondStep] = GetParam();
    TransactionHarness harness;
    harness.http->enqueue(evaluation(R"({"transactionId":"P1","evaluationDecision":"Guaranteeable"})"));
    harness.http->enqueue(evaluation(R"({"transactionId":"P2"})"));
    Answers answers;
    start(harness, Operation::preAuthThenComplete, answers.handler(), authType);
    harness.callbacks->runUntilIdle();

    ASSERT_EQ(harness.http->requestCount(), 2u);
    auto first = harness.sentBody(0);
    auto second = harness.sentBody(1);
    EXPECT_EQ(first["transactionEvaluationStep"], "PreAuth");
    EXPECT_FALSE(anyCardHasResponseCodes(first));
    EXPECT_EQ(first["payments"]["creditCards"].size(), 2u);
    EXPECT_EQ(first["payments"]["creditCards"][1]["paymentId"], "pay-2");
    EXPECT_EQ(first["payments"]["payPal"], SampleOrder{}.payment.toJSON()["payPal"]);

    EXPECT_EQ(second["transactionEvaluationStep"], secondStep);
    EXPECT_EQ(second["payments"], SampleOrder{}.payment.toJSON());
    auto withoutStep = [](JSONDictionary body) {
        body.erase("transactionEvaluationStep");
        body.erase("payments");
        return body;
    };
    EXPECT_EQ(withoutStep(first), withoutStep(second));
    EXPECT_EQ(answers.texts(), std::vector<std::string>{"P1"});
}

INSTANTIATE_TEST_SUITE_P(AuthTypes, PreAuthStepsTest,
                         ::testing::Values(std::pair{AuthType::PreAuth, std::string("PostAuth")},
                                           std::pair{AuthType::PreAndPostAuth, std::string("PostAuth")},
                                           std::pair{AuthType::OneStepPostAut, std::string("OneStepPostAuth")},
                                           std::pair{AuthType::unowned, std::string("PostAuth")}));

TEST(QuarraCompletionTest, OneRequestCompletionSendsTheStepOfEachAuthType) {
    const std::pair<AuthType, std::string> rows[] = {{AuthType::PreAuth, "PostAuth"},
                                                     {AuthType::PreAndPostAuth, "PostAuth"},
                                                     {AuthType::OneStepPostAut, "OneStepPostAuth"},
                                                     {AuthType::unowned, "PostAuth"}};
    for (const auto& [authType, step] : rows) {
        TransactionHarness harness;
        Answers answers;
        start(harness, Operation::complete, answers.handler(), authType);
        harness.callbacks->runUntilIdle();
        EXPECT_EQ(harness.sentBody(0)["transactionEvaluationStep"], step);
        EXPECT_TRUE(anyCardHasResponseCodes(harness.sentBody(0)));
    }
}

TEST(QuarraCompletionTest, CancellationUsesTheCallersIdentifierNotTheStoredOne) {
    TransactionHarness harness;
    harness.http->enqueue(cancelReply("Cancelled"));
    Answers answers;
    harness.cancel(answers.handler());
    harness.callbacks->runUntilIdle();
    EXPECT_EQ(harness.sentBody(0)["transactionId"], "caller-txn-9");
    EXPECT_EQ(harness.http->requests()[0].url, testing::kTransactionsUrl + "transactionStatus");
}

TEST(QuarraCompletionTest, NothingStoredStillAnswersOnce) {
    TransactionHarness harness;
    harness.keychain.removeAllKeys();
    Answers answers;
    harness.http->enqueue(kErrorBody);
    harness.sendEvent(answers.handler());
    harness.callbacks->runUntilIdle();
    EXPECT_EQ(harness.http->requests()[0].url, testing::kTransactionsUrl);
    EXPECT_EQ(harness.http->requests()[0].header("Authorization"), "Bearer ");
    EXPECT_EQ(answers.texts(), std::vector<std::string>{"Order unknown"});
}

TEST(QuarraNonFiniteAmountTest, NothingIsSentAndTheHandlerIsToldAtOnce) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SampleOrder order;
    order.totalAmount.amount = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::string, std::function<void(TransactionHarness&, TransactionCompletion)>>> calls = {
        {"event", [&](TransactionHarness& h, TransactionCompletion c) { h.sendEvent(std::move(c), nan); }},
        {"complete",
         [&](TransactionHarness& h, TransactionCompletion c) {
             h.completeOrder(order, AuthType::OneStepPostAut, std::move(c));
         }},
        {"preAuth",
         [&](TransactionHarness& h, TransactionCompletion c) {
             h.preAuthThenComplete(order, AuthType::PreAuth, std::move(c));
         }},
    };
    for (const auto& [name, call] : calls) {
        TransactionHarness harness;
        Answers answers;
        call(harness, answers.handler());
        EXPECT_EQ(answers.texts(), std::vector<std::string>{kTryAgain}) << name;
        auto lines = joined(harness.sink->lines());
        EXPECT_TRUE(lines.ends_with(kGenericLines)) << name << ": " << lines;
        EXPECT_EQ(harness.http->requestCount(), 0u) << name;
        EXPECT_EQ(harness.callbacks->runUntilIdle(), 0u) << name;
    }
}

// A released manager does not cancel its calls: each still answers exactly once.
class ReleasedManagerTest : public ::testing::TestWithParam<FlowCase> {};

TEST_P(ReleasedManagerTest, CallInFlightStillAnswersOnce) {
    const auto& flow = GetParam();
    TransactionHarness harness;
    for (const auto& answer : flow.answers) harness.http->enqueue(answer);
    std::weak_ptr<TransactionEventService> service = harness.service;
    harness.service.reset();
    Answers answers;
    start(harness, flow.operation, answers.handler());
    harness.manager.reset();

    harness.callbacks->runUntilIdle();
    EXPECT_EQ(answers.texts(), std::vector<std::string>{flow.answer});
    EXPECT_EQ(harness.http->requestCount(), flow.requests);
    EXPECT_TRUE(service.expired()) << "the finished call still holds the service";
}

INSTANTIATE_TEST_SUITE_P(
    Flows, ReleasedManagerTest,
    ::testing::Values(FlowCase{"Event", Operation::event, {eventReply("T1")}, "T1", "", 1},
                      FlowCase{"Complete", Operation::complete, {evaluation(R"({"transactionId":"T2"})")}, "T2", "", 1},
                      FlowCase{"PreAuthThenComplete",
                               Operation::preAuthThenComplete,
                               {evaluation(R"({"transactionId":"P1","evaluationDecision":"Guaranteeable"})"),
                                evaluation("{}")},
                               "P1", "", 2},
                      FlowCase{"Cancel", Operation::cancel, {kErrorBody}, "Order unknown", "", 1}),
    [](const ::testing::TestParamInfo<FlowCase>& info) { return info.param.name; });

TEST(QuarraHandlerTest, AMissingHandlerIsSkippedAndAThrowingOneDoesNotEscape) {
    TransactionHarness harness;
    harness.http->enqueue(eventReply("T1"));
    harness.http->enqueue(eventReply("T2"));
    harness.sendEvent(nullptr);
    harness.sendEvent([](const std::string&) { throw std::runtime_error("host bug"); });
    EXPECT_NO_THROW(harness.callbacks->runUntilIdle());
    EXPECT_TRUE(harness.sink->contains("Transaction completion handler threw: host bug"));
}

TEST(QuarraHandlerTest, SeveralCallsInFlightEachGetTheirOwnAnswer) {
    TransactionHarness harness;
    harness.http->setResponder([](const HttpRequest& request) {
        auto body = parseJSON(request.body.value_or("")).value_or(nullptr);
        return eventReply("id-" + body["productCode"].get<std::string>());
    });
    Answers first, second;
    harness.manager->transactionEvent("A", 1, 1, "USD", 0, "USD", false, "t", "c", "d", "view", first.handler());
    harness.manager->transactionEvent("B", 1, 1, "USD", 0, "USD", false, "t", "c", "d", "view", second.handler());
    harness.callbacks->runUntilIdle();
    EXPECT_EQ(first.texts(), std::vector<std::string>{"id-A"});
    EXPECT_EQ(second.texts(), std::vector<std::string>{"id-B"});
}

}  // namespace
}  // namespace quarra
