#include <limits>

#include "StepParsers.hpp"

namespace quarra::cli {
namespace {

constexpr double kLargestAmount = std::numeric_limits<double>::max();

// A record read by the library's own decoder, which knows the wire keys.
template <typename Record>
Record record(FieldReader& fields, const std::string& key, const std::string& shape) {
    auto value = Record::fromJSON(fields.any(key));
    if (!value) fields.fail("\"" + key + "\" must be " + shape);
    return std::move(*value);
}

template <typename Record>
std::vector<Record> records(FieldReader& fields, const std::string& key, const std::string& shape) {
    std::vector<Record> result;
    const auto& items = fields.array(key);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto value = Record::fromJSON(items[i]);
        if (!value) fields.fail("\"" + key + "\" item " + std::to_string(i + 1) + " must be " + shape);
        result.push_back(std::move(*value));
    }
    return result;
}

const std::string kAmountShape = "an amount {\"amount\": number, \"currencyCode\": text}";
const std::string kPaymentsShape =
    "payments {\"creditCards\": [...], \"payPal\": [...]} whose cards and accounts have every key "
    "(binNumber, lastFour, paymentId, gateway, billingAddress, amount; payPalPayerId)";
const std::string kCustomDataShape =
    "a custom field {key, value, valueType, description, displayName: texts; isRequired: true or false; "
    "minRange, maxRange: whole numbers}";
const std::string kShippingShape =
    "a shipment {deliveryMethod, carrier, date, class, pickupLocation, pickupTime, phoneNumber, email: texts; "
    "amount; shippingAddress}";

AuthType authType(FieldReader& fields) {
    auto text = fields.text("authType");
    auto type = authTypeFromRaw(text);
    if (!type) fields.fail("\"authType\" must be one of \"PreAuth\", \"PreAndPostAuth\", \"OneStepPostAut\", \"Undefined\", not \"" + text + "\"");
    return *type;
}

StepAction orderCompletion(FieldReader& fields, bool preAuthFirst) {
    return OrderCompletionStep{
        .preAuthFirst = preAuthFirst,
        .customData = records<CustomData>(fields, "customData", kCustomDataShape),
        .uniqueCartID = fields.text("uniqueCartID"),
        .orderNumber = fields.text("orderNumber"),
        .customerOrderStatus = fields.text("customerOrderStatus"),
        .totalAmount = record<TotalAmount>(fields, "totalAmount", kAmountShape),
        .discountAmount = record<TotalAmount>(fields, "discountAmount", kAmountShape),
        .payment = record<Payments>(fields, "payment", kPaymentsShape),
        .shiping = records<Shipping>(fields, "shiping", kShippingShape),
        .authType = authType(fields),
        .timeout = stepTimeout(fields),
    };
}

}  // namespace

const std::map<std::string, StepParser>& transactionStepParsers() {
    static const std::map<std::string, StepParser> parsers{
        {"transactionEvent", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return TransactionEventStep{
                 .productCode = fields.text("productCode"),
                 .quantity = fields.integer("quantity", std::numeric_limits<int64_t>::min(),
                                            std::numeric_limits<int64_t>::max()),
                 .normalAmount = fields.number("normalAmount", -kLargestAmount, kLargestAmount),
                 .normalCurrencyCode = fields.text("normalCurrencyCode"),
                 .discountAmount = fields.number("discountAmount", -kLargestAmount, kLargestAmount),
                 .discountCurrencyCode = fields.text("discountCurrencyCode"),
                 .giftCard = fields.boolean("giftCard"),
                 .productType = fields.text("productType"),
                 .uniqueCartID = fields.text("uniqueCartID"),
                 .productDescription = fields.text("productDescription"),
                 .eventType = fields.text("eventType"),
                 .timeout = stepTimeout(fields),
             };
         }},
        {"completeTransactionPostAuth",
         [](FieldReader& fields, const ScenarioRules&) { return orderCompletion(fields, false); }},
        {"completeTransactionPostAuthFallowedByPreAuth",
         [](FieldReader& fields, const ScenarioRules&) { return orderCompletion(fields, true); }},
        {"cancelOrder", [](FieldReader& fields, const ScenarioRules&) -> StepAction {
             return CancelOrderStep{
                 .paymentStatus = fields.text("paymentStatus"),
                 .orderNumber = fields.text("orderNumber"),
                 .transactionId = fields.optionalText("transactionId"),
                 .orderStatus = fields.text("orderStatus"),
                 .comments = fields.text("comments"),
                 .timeout = stepTimeout(fields),
             };
         }},
    };
    return parsers;
}

}  // namespace quarra::cli
