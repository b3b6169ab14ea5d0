#include "TransactionDocuments.hpp"

#include <initializer_list>

namespace quarra::service {
namespace {

using Json = nlohmann::json;
using Problem = std::optional<std::string>;

Problem requireStrings(const Json& object, std::initializer_list<const char*> keys, const std::string& where) {
    for (const char* key : keys) {
        if (!object.contains(key) || !object[key].is_string()) return where + key + " must be a string";
    }
    return std::nullopt;
}

// {"amount": number (not negative), "currencyCode": text}
Problem checkMoney(const Json& object, const char* key, const std::string& where) {
    if (!object.contains(key) || !object[key].is_object()) return where + key + " must be an object";
    const auto& money = object[key];
    if (!money.contains("amount") || !money["amount"].is_number()) return where + key + ".amount must be a number";
    if (money["amount"].get<double>() < 0) return where + key + ".amount must not be negative";
    return requireStrings(money, {"currencyCode"}, where + key + ".");
}

Problem checkArrayOfObjects(const Json& object, const char* key, const std::string& where) {
    if (!object.contains(key) || !object[key].is_array()) return where + key + " must be an array";
    for (const auto& item : object[key]) {
        if (!item.is_object()) return where + key + " must hold objects";
    }
    return std::nullopt;
}

Problem checkCreditCard(const Json& card, const std::string& where) {
    if (auto p = requireStrings(card, {"binNumber", "lastFour", "paymentId", "gateway"}, where)) return p;
    if (!card.contains("billingAddress") || !card["billingAddress"].is_object()) {
        return where + "billingAddress must be an object";
    }
    if (auto p = checkMoney(card, "amount", where)) return p;
    if (card.contains("responseCodes")) {
        if (!card["responseCodes"].is_object()) return where + "responseCodes must be an object";
        if (auto p = requireStrings(card["responseCodes"], {"addressVerification", "authorization", "cardVerificationValue"},
                                    where + "responseCodes.")) {
            return p;
        }
    }
    return std::nullopt;
}

Problem checkPayments(const Json& request) {
    if (!request.contains("payments") || !request["payments"].is_object()) return "payments must be an object";
    const auto& payments = request["payments"];
    if (auto p = checkArrayOfObjects(payments, "creditCards", "payments.")) return p;
    if (auto p = checkArrayOfObjects(payments, "payPal", "payments.")) return p;
    for (std::size_t i = 0; i < payments["creditCards"].size(); ++i) {
        if (auto p = checkCreditCard(payments["creditCards"][i], "payments.creditCards[" + std::to_string(i) + "].")) {
            return p;
        }
    }
    for (std::size_t i = 0; i < payments["payPal"].size(); ++i) {
        if (auto p = checkMoney(payments["payPal"][i], "amount", "payments.payPal[" + std::to_string(i) + "].")) return p;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> problemInTransactionEvent(const Json& request) {
    if (auto p = requireStrings(request, {"productCode", "productType", "uniqueCartId", "productDescription", "eventType"},
                                "")) {
        return p;
    }
    if (!request.contains("isGiftCard") || !request["isGiftCard"].is_boolean()) return "isGiftCard must be true or false";
    if (!request.contains("quantity") || !request["quantity"].is_number_integer()) {
        return "quantity must be a whole number";
    }
    if (auto p = checkMoney(request, "amount", "")) return p;
    return checkMoney(request, "discount", "");
}

std::optional<std::string> problemInEvaluation(const Json& request) {
    if (auto p = requireStrings(request, {"uniqueCartId", "orderNumber", "customerOrderStatus", "transactionEvaluationStep"},
                                "")) {
        return p;
    }
    auto step = request["transactionEvaluationStep"].get<std::string>();
    if (step != "PreAuth" && step != "PostAuth" && step != "OneStepPostAuth") {
        return "transactionEvaluationStep must be PreAuth, PostAuth or OneStepPostAuth";
    }
    if (auto p = checkMoney(request, "totalAmount", "")) return p;
    if (auto p = checkMoney(request, "totalDiscounts", "")) return p;
    if (auto p = checkPayments(request)) return p;
    if (auto p = checkArrayOfObjects(request, "shipping", "")) return p;
    return checkArrayOfObjects(request, "customData", "");
}

std::optional<std::string> problemInCancellation(const Json& request) {
    return requireStrings(request, {"paymentStatus", "orderNumber", "transactionId", "orderStatus", "comments"}, "");
}

}  // namespace quarra::service
