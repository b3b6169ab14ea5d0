// Decoding the platform's replies: what each reply type accepts, and the
// order in which a body is tried (reply, then error, then the generic failure).
#include <gtest/gtest.h>

#include <functional>

#include "config/ConfigurationDocument.hpp"
#include "transactions/TransactionReplies.hpp"
#include "transactions/TransactionResult.hpp"

namespace quarra {
namespace {

struct ReplyCase {
    std::string name;
    std::function<bool(std::string_view)> decodes;
    std::string body;
    bool accepted;
};

template <class Reply>
std::function<bool(std::string_view)> decoderOf() {
    return [](std::string_view body) { return Reply::decode(body).has_value(); };
}

const auto completion = decoderOf<CompleteTransactionResponse>();
const auto cancellation = decoderOf<CancelTransactionResponse>();
const auto event = decoderOf<InitiateTransactionResponse>();

class ReplyDecodeTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyDecodeTest, AcceptsOrRejects) { EXPECT_EQ(GetParam().decodes(GetParam().body), GetParam().accepted); }

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyDecodeTest,
    ::testing::Values(
        ReplyCase{"CompletionEmptyObject", completion, "{}", true},
        ReplyCase{"CompletionNullData", completion, R"({"data":null})", true},
        ReplyCase{"CompletionErrorBody", completion, R"({"errorCode":"E","errorMessage":"m"})", true},
        ReplyCase{"CompletionBooleanGuaranteeable", completion, R"({"data":{"isGuaranteeable":true}})", false},
        ReplyCase{"CompletionFractionalScore", completion, R"({"data":{"score":87.5}})", false},
        ReplyCase{"CompletionTextScore", completion, R"({"data":{"score":"87"}})", false},
        ReplyCase{"CompletionWholeScore", completion, R"({"data":{"score":87}})", true},
        ReplyCase{"CompletionNumericVersion", completion, R"({"apiVersion":1})", false},
        ReplyCase{"CompletionInsights", completion, R"({"data":{"scoreInsights":[{"description":"a"},{}]}})", true},
        ReplyCase{"CompletionNullInsight", completion, R"({"data":{"scoreInsights":[null]}})", false},
        ReplyCase{"CompletionArray", completion, "[]", false},
        ReplyCase{"CompletionNotJSON", completion, "<html>502</html>", false},
        ReplyCase{"CompletionEmptyBody", completion, "", false},
        ReplyCase{"CancellationComplete", cancellation,
                  R"({"apiVersion":"1","time":"t","data":{"transactionStatus":"Cancelled"}})", true},
        ReplyCase{"CancellationEmptyStatus", cancellation,
                  R"({"apiVersion":"1","time":"t","data":{"transactionStatus":""}})", true},
        ReplyCase{"CancellationMissingTime", cancellation,
                  R"({"apiVersion":"1","data":{"transactionStatus":"Cancelled"}})", false},
        ReplyCase{"CancellationMissingVersion", cancellation,
                  R"({"time":"t","data":{"transactionStatus":"Cancelled"}})", false},
        ReplyCase{"CancellationMissingStatus", cancellation, R"({"apiVersion":"1","time":"t","data":{}})", false},
        ReplyCase{"EventComplete", event, R"({"apiVersion":"1","time":"t","data":{"transactionId":"x"}})", true},
        ReplyCase{"EventEmptyIdentifier", event, R"({"apiVersion":"1","time":"t","data":{"transactionId":""}})",
                  true},
        ReplyCase{"EventMissingTime", event, R"({"apiVersion":"1","data":{"transactionId":"x"}})", false},
        ReplyCase{"EventNumericIdentifier", event, R"({"apiVersion":"1","time":"t","data":{"transactionId":7}})",
                  false}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST(TransactionRepliesTest, CompletionReplyKeepsEveryField) {
    auto reply = CompleteTransactionResponse::decode(
        R"({"apiVersion":"2","time":"now","data":{"transactionId":"t1","score":12,"isGuaranteeable":"yes",)"
        R"("evaluationDecision":"Guaranteeable","scoreInsights":[{"description":"ok"}],"extra":1}})");
    ASSERT_TRUE(reply && reply->data);
    EXPECT_EQ(reply->data->transactionID, "t1");
    EXPECT_EQ(reply->data->score, 12);
    EXPECT_EQ(reply->data->isGuaranteeable, "yes");
    EXPECT_EQ(reply->data->evaluationDecision, "Guaranteeable");
    ASSERT_TRUE(reply->data->scoreInsights);
    EXPECT_EQ(reply->data->scoreInsights->at(0).description, "ok");
    EXPECT_EQ(CompleteTransactionResponse::fromJSON(reply->toJSON()), reply);
}

struct OrderCase {
    std::string name;
    std::optional<std::string> body;
    bool success;
    std::optional<std::string> errorCode;
    std::optional<std::string> errorMessage;
};

class DecodingOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(DecodingOrderTest, CancellationReplyThenErrorThenGeneric) {
    const auto& orderCase = GetParam();
    auto result = decodeTransactionReply<CancelTransactionResponse>(orderCase.body);
    EXPECT_EQ(result.isSuccess(), orderCase.success);
    if (!orderCase.success) {
        ASSERT_NE(result.error(), nullptr);
        EXPECT_EQ(result.error()->errorCode, orderCase.errorCode);
        EXPECT_EQ(result.error()->errorMessage, orderCase.errorMessage);
    }
}

const std::string kGeneric(kGenericFailureMessage);

INSTANTIATE_TEST_SUITE_P(
    Bodies, DecodingOrderTest,
    ::testing::Values(
        OrderCase{"NoBody", std::nullopt, false, std::nullopt, kGeneric},
        OrderCase{"EmptyBody", "", false, std::nullopt, kGeneric},
        OrderCase{"Reply", R"({"apiVersion":"1","time":"t","data":{"transactionStatus":"Cancelled"}})", true, {}, {}},
        OrderCase{"ErrorBody", R"({"errorCode":"E42","errorMessage":"Order unknown"})", false, "E42",
                  "Order unknown"},
        OrderCase{"MessageOnly", R"({"errorMessage":"Order unknown"})", false, std::nullopt, kGeneric},
        OrderCase{"ReplyWithoutVersionButErrorKeys",
                  R"({"time":"t","data":{"transactionStatus":"x"},"errorCode":"E","errorMessage":"m"})", false, "E",
                  "m"},
        OrderCase{"NotJSON", "Bad Gateway", false, std::nullopt, kGeneric}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

TEST(TransactionRepliesTest, AnErrorBodyIsASuccessfulCompletionReplyWithoutData) {
    auto result = decodeTransactionReply<CompleteTransactionResponse>(R"({"errorCode":"E","errorMessage":"m"})");
    ASSERT_TRUE(result.isSuccess());
    EXPECT_FALSE(result.reply()->data);
}

}  // namespace
}  // namespace quarra
