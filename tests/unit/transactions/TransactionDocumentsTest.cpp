// The wire form of every transaction document, and the strictness of decoding it.
#include <gtest/gtest.h>

#include <functional>

#include "TransactionFixtures.hpp"
#include "transactions/ErrorModel.hpp"
#include "transactions/TransactionRequests.hpp"

namespace quarra {
namespace {

using testing::sampleAddress;
using testing::sampleCard;
using testing::usd;

const char* const kAddressJSON =
    R"({"firstName":"Ada","lastName":"Lovelace","addressLine1":"1 Main St","addressLine2":"Apt 2",)"
    R"("unitNumber":"2","buildingNumber":"1","streetOrBlock":"Main","neighborhood":"Old Town",)"
    R"("city":"Springfield","regionCode":"IL","postalCode":"62701","countryCode":"US"})";

std::string withAddress(const std::string& pattern) {
    std::string text = pattern;
    for (auto at = text.find("ADDRESS"); at != std::string::npos; at = text.find("ADDRESS")) {
        text.replace(at, 7, kAddressJSON);
    }
    return text;
}

struct WireCase {
    std::string name;
    std::function<JSONDictionary()> encode;
    std::string expected;  // "ADDRESS" stands for the sample address object
};

class WireFormTest : public ::testing::TestWithParam<WireCase> {};

TEST_P(WireFormTest, WritesExactlyTheDocumentKeys) {
    const auto& wireCase = GetParam();
    auto expected = parseJSON(withAddress(wireCase.expected));
    ASSERT_TRUE(expected) << "bad expectation in " << wireCase.name;
    EXPECT_EQ(wireCase.encode(), *expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, WireFormTest,
    ::testing::Values(
        WireCase{"TotalAmount", [] { return usd(12.5).toJSON(); }, R"({"amount":12.5,"currencyCode":"USD"})"},
        WireCase{"IngAddress", [] { return sampleAddress().toJSON(); }, "ADDRESS"},
        WireCase{"ResponseCodes", [] { return ResponseCodes("Y", "00", "M").toJSON(); },
                 R"({"addressVerification":"Y","authorization":"00","cardVerificationValue":"M"})"},
        WireCase{"CreditCardWithoutCodesHasNoResponseCodesKey", [] { return sampleCard(std::nullopt).toJSON(); },
                 R"({"binNumber":"411111","lastFour":"1111","paymentId":"pay-1","gateway":"stripe",)"
                 R"("billingAddress":ADDRESS,"amount":{"amount":25.5,"currencyCode":"USD"}})"},
        WireCase{"CreditCardWithCodes", [] { return sampleCard().toJSON(); },
                 R"({"binNumber":"411111","lastFour":"1111","paymentId":"pay-1","gateway":"stripe",)"
                 R"("billingAddress":ADDRESS,"amount":{"amount":25.5,"currencyCode":"USD"},)"
                 R"("responseCodes":{"addressVerification":"Y","authorization":"00","cardVerificationValue":"M"}})"},
        WireCase{"PayPal", [] { return PayPal(sampleAddress(), usd(4), "payer-9").toJSON(); },
                 R"({"billingAddress":ADDRESS,"amount":{"amount":4,"currencyCode":"USD"},"payPalPayerId":"payer-9"})"},
        WireCase{"EmptyPaymentsWriteEmptyLists", [] { return Payments({}, {}).toJSON(); },
                 R"({"creditCards":[],"payPal":[]})"},
        WireCase{"ShippingClassUnderClass", [] { return testing::sampleShipping().toJSON(); },
                 R"({"deliveryMethod":"courier","carrier":"UPS","date":"2024-05-01","class":"express",)"
                 R"("amount":{"amount":5,"currencyCode":"USD"},"pickupLocation":"Locker 4","pickupTime":"10:00",)"
                 R"("shippingAddress":ADDRESS,"phoneNumber":"+15550100","email":"ada@example.com"})"},
        WireCase{"CustomData", [] { return CustomData("k", "v", "text", "d", "D", false, -3, 7).toJSON(); },
                 R"({"key":"k","value":"v","valueType":"text","description":"d","displayName":"D",)"
                 R"("isRequired":false,"minRange":-3,"maxRange":7})"},
        WireCase{"ScoreInsightWithDescription", [] { return ScoreInsightsk("velocity").toJSON(); },
                 R"({"description":"velocity"})"},
        WireCase{"ScoreInsightWithoutDescription", [] { return ScoreInsightsk().toJSON(); }, "{}"},
        WireCase{"TransactionEventRequest",
                 [] {
                     return TransactionEventRequest("SKU-1", "book", "cart-7", "A book", true, 2, Ount(19.99, "USD"),
                                                    "addToCart", Ount(1.5, "EUR"))
                         .toJSON();
                 },
                 R"({"productCode":"SKU-1","productType":"book","uniqueCartId":"cart-7",)"
                 R"("productDescription":"A book","isGiftCard":true,"quantity":2,)"
                 R"("amount":{"amount":19.99,"currencyCode":"USD"},"eventType":"addToCart",)"
                 R"("discount":{"amount":1.5,"currencyCode":"EUR"}})"},
        WireCase{"CompleteTransactionRequestWithEmptyLists",
                 [] {
                     return CompleteTransactionRequest({}, "cart-7", "order-42", "placed", "PreAuth", usd(30),
                                                       usd(0), Payments({}, {}), {})
                         .toJSON();
                 },
                 R"({"customData":[],"uniqueCartId":"cart-7","orderNumber":"order-42",)"
                 R"("customerOrderStatus":"placed","transactionEvaluationStep":"PreAuth",)"
                 R"("totalAmount":{"amount":30,"currencyCode":"USD"},"totalDiscounts":{"amount":0,"currencyCode":"USD"},)"
                 R"("payments":{"creditCards":[],"payPal":[]},"shipping":[]})"},
        WireCase{"CancelTransactionRequest",
                 [] { return CancelTransactionRequest("refunded", "order-42", "txn-9", "cancelled", "").toJSON(); },
                 R"({"paymentStatus":"refunded","orderNumber":"order-42","transactionId":"txn-9",)"
                 R"("orderStatus":"cancelled","comments":""})"},
        WireCase{"ErrorModelWithBothTexts", [] { return ErrorModel("E1", "Declined").toJSON(); },
                 R"({"errorCode":"E1","errorMessage":"Declined"})"},
        WireCase{"GenericErrorModelHasNoCode", [] { return ErrorModel::generic().toJSON(); },
                 R"({"errorMessage":"Something went wrong. Try again later."})"}),
    [](const ::testing::TestParamInfo<WireCase>& info) { return info.param.name; });

struct DecodeCase {
    std::string name;
    std::function<bool(const JSONDictionary&)> decodes;
    std::string json;  // "ADDRESS" stands for the sample address object
    bool accepted;
};

template <class Record>
std::function<bool(const JSONDictionary&)> decoderOf() {
    return [](const JSONDictionary& json) { return Record::fromJSON(json).has_value(); };
}

const std::string kCard = R"("binNumber":"4","lastFour":"1","paymentId":"p","gateway":"g",)"
                          R"("billingAddress":ADDRESS,"amount":{"amount":1,"currencyCode":"USD"})";
const std::string kCustom = R"("key":"k","value":"v","valueType":"t","description":"d","displayName":"D",)"
                            R"("isRequired":true,"maxRange":9)";
const std::string kEvent = R"("productCode":"p","productType":"t","uniqueCartId":"c","productDescription":"d",)"
                           R"("amount":{"amount":1,"currencyCode":"USD"},"eventType":"e",)"
                           R"("discount":{"amount":0,"currencyCode":"USD"})";

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, AcceptsOrRejects) {
    const auto& decodeCase = GetParam();
    auto json = parseJSON(withAddress(decodeCase.json));
    ASSERT_TRUE(json) << "bad JSON in " << decodeCase.name;
    EXPECT_EQ(decodeCase.decodes(*json), decodeCase.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Records, DecodeTest,
    ::testing::Values(
        DecodeCase{"AmountComplete", decoderOf<TotalAmount>(), R"({"amount":3,"currencyCode":"USD"})", true},
        DecodeCase{"AmountMissingCurrency", decoderOf<TotalAmount>(), R"({"amount":3})", false},
        DecodeCase{"AmountAsText", decoderOf<TotalAmount>(), R"({"amount":"3","currencyCode":"USD"})", false},
        DecodeCase{"AmountAsBoolean", decoderOf<TotalAmount>(), R"({"amount":true,"currencyCode":"USD"})", false},
        DecodeCase{"CurrencyNull", decoderOf<TotalAmount>(), R"({"amount":3,"currencyCode":null})", false},
        DecodeCase{"AmountNotAnObject", decoderOf<TotalAmount>(), R"([3,"USD"])", false},
        DecodeCase{"AddressComplete", decoderOf<IngAddress>(), "ADDRESS", true},
        DecodeCase{"AddressBooleanWhereTextExpected", decoderOf<IngAddress>(),
                   R"({"firstName":true,"lastName":"","addressLine1":"","addressLine2":"","unitNumber":"",)"
                   R"("buildingNumber":"","streetOrBlock":"","neighborhood":"","city":"","regionCode":"",)"
                   R"("postalCode":"","countryCode":""})",
                   false},
        DecodeCase{"CardWithoutResponseCodes", decoderOf<CreditCard>(), "{" + kCard + "}", true},
        DecodeCase{"CardWithNullResponseCodes", decoderOf<CreditCard>(), "{" + kCard + R"(,"responseCodes":null})",
                   true},
        DecodeCase{"CardWithTextResponseCodes", decoderOf<CreditCard>(), "{" + kCard + R"(,"responseCodes":"Y"})",
                   false},
        DecodeCase{"CardWithIncompleteResponseCodes", decoderOf<CreditCard>(),
                   "{" + kCard + R"(,"responseCodes":{"authorization":"00"}})", false},
        DecodeCase{"CardKeyedByMemberName", decoderOf<CreditCard>(),
                   R"({"binNumber":"4","lastFour":"1","paymentID":"p","gateway":"g",)"
                   R"("billingAddress":ADDRESS,"amount":{"amount":1,"currencyCode":"USD"}})",
                   false},
        DecodeCase{"PaymentsMissingPayPal", decoderOf<Payments>(), R"({"creditCards":[]})", false},
        DecodeCase{"PaymentsWithNullCard", decoderOf<Payments>(), R"({"creditCards":[null],"payPal":[]})", false},
        DecodeCase{"PaymentsEmpty", decoderOf<Payments>(), R"({"creditCards":[],"payPal":[]})", true},
        DecodeCase{"ShippingKeyedByMemberName", decoderOf<Shipping>(),
                   R"({"deliveryMethod":"","carrier":"","date":"","shippingClass":"",)"
                   R"("amount":{"amount":1,"currencyCode":"USD"},"pickupLocation":"","pickupTime":"",)"
                   R"("shippingAddress":ADDRESS,"phoneNumber":"","email":""})",
                   false},
        DecodeCase{"CustomDataWholeRange", decoderOf<CustomData>(), "{" + kCustom + R"(,"minRange":3})", true},
        DecodeCase{"CustomDataWholeRangeWithFraction", decoderOf<CustomData>(),
                   "{" + kCustom + R"(,"minRange":3.0})", true},
        DecodeCase{"CustomDataFractionalRange", decoderOf<CustomData>(), "{" + kCustom + R"(,"minRange":2.5})",
                   false},
        DecodeCase{"CustomDataRangeBeyond64Bits", decoderOf<CustomData>(),
                   "{" + kCustom + R"(,"minRange":18446744073709551615})", false},
        DecodeCase{"CustomDataRequiredAsText", decoderOf<CustomData>(),
                   R"({"key":"k","value":"v","valueType":"t","description":"d","displayName":"D",)"
                   R"("isRequired":"true","minRange":0,"maxRange":9})",
                   false},
        DecodeCase{"ScoreInsightEmpty", decoderOf<ScoreInsightsk>(), "{}", true},
        DecodeCase{"ScoreInsightNumber", decoderOf<ScoreInsightsk>(), R"({"description":5})", false},
        DecodeCase{"EventRequestComplete", decoderOf<TransactionEventRequest>(),
                   "{" + kEvent + R"(,"isGiftCard":false,"quantity":1})", true},
        DecodeCase{"EventRequestMissingGiftCard", decoderOf<TransactionEventRequest>(),
                   "{" + kEvent + R"(,"quantity":1})", false},
        DecodeCase{"EventRequestFractionalQuantity", decoderOf<TransactionEventRequest>(),
                   "{" + kEvent + R"(,"isGiftCard":false,"quantity":1.5})", false},
        DecodeCase{"ErrorModelBothTexts", decoderOf<ErrorModel>(), R"({"errorCode":"E","errorMessage":"m"})", true},
        DecodeCase{"ErrorModelWithoutMessage", decoderOf<ErrorModel>(), R"({"errorCode":"E"})", false},
        DecodeCase{"ErrorModelWithoutCode", decoderOf<ErrorModel>(), R"({"errorMessage":"m"})", false},
        DecodeCase{"ErrorModelNumericCode", decoderOf<ErrorModel>(), R"({"errorCode":500,"errorMessage":"m"})",
                   false}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(TransactionDocumentsTest, EveryDocumentReadsBackWhatItWrites) {
    const testing::SampleOrder order;
    EXPECT_EQ(Payments::fromJSON(order.payment.toJSON()), order.payment);
    EXPECT_EQ(Shipping::fromJSON(testing::sampleShipping().toJSON()), testing::sampleShipping());
    EXPECT_EQ(CustomData::fromJSON(testing::sampleCustomData().toJSON()), testing::sampleCustomData());
    EXPECT_EQ(CreditCard::fromJSON(sampleCard(std::nullopt).toJSON()), sampleCard(std::nullopt));

    CompleteTransactionRequest request(order.customData, order.uniqueCartID, order.orderNumber,
                                       order.customerOrderStatus, "PostAuth", order.totalAmount, order.discountAmount,
                                       order.payment, order.shiping);
    auto decoded = CompleteTransactionRequest::fromJSON(request.toJSON());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->toJSON(), request.toJSON());
    EXPECT_EQ(decoded->payments, order.payment);
    EXPECT_EQ(decoded->transactionEvaluationStep, "PostAuth");
}

}  // namespace
}  // namespace quarra
