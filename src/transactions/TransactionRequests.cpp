#include "transactions/TransactionRequests.hpp"

#include "transactions/DocumentReader.hpp"

namespace quarra {
namespace {

// The inherited request description is not used by the transaction client.
Request unusedRequestFields() { return Request("", JSONDictionary::object(), std::nullopt, HTTPMethod::get); }

}  // namespace

Ount::Ount(double amount, std::string currencyCode) : amount(amount), currencyCode(std::move(currencyCode)) {}

JSONDictionary Ount::toJSON() const { return {{"amount", amount}, {"currencyCode", currencyCode}}; }

std::optional<Ount> Ount::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto amount = reader.required<double>("amount");
    auto currencyCode = reader.required<std::string>("currencyCode");
    if (!reader.ok()) return std::nullopt;
    return Ount(*amount, std::move(*currencyCode));
}

TransactionEventRequest::TransactionEventRequest(std::string productCode, std::string productType,
                                                 std::string uniqueCartID, std::string productDescription,
                                                 bool giftCard, int64_t quantity, Ount amount, std::string eventType,
                                                 Ount discount)
    : Request(unusedRequestFields()),
      productCode(std::move(productCode)),
      productType(std::move(productType)),
      uniqueCartID(std::move(uniqueCartID)),
      productDescription(std::move(productDescription)),
      giftCard(giftCard),
      quantity(quantity),
      amount(std::move(amount)),
      eventType(std::move(eventType)),
      discount(std::move(discount)) {}

JSONDictionary TransactionEventRequest::toJSON() const {
    return {
        {"productCode", productCode},
        {"productType", productType},
        {"uniqueCartId", uniqueCartID},
        {"productDescription", productDescription},
        {"isGiftCard", giftCard},
        {"quantity", quantity},
        {"amount", amount.toJSON()},
        {"eventType", eventType},
        {"discount", discount.toJSON()},
    };
}

std::optional<TransactionEventRequest> TransactionEventRequest::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto productCode = reader.required<std::string>("productCode");
    auto productType = reader.required<std::string>("productType");
    auto uniqueCartID = reader.required<std::string>("uniqueCartId");
    auto productDescription = reader.required<std::string>("productDescription");
    auto giftCard = reader.required<bool>("isGiftCard");
    auto quantity = reader.required<int64_t>("quantity");
    auto amount = reader.required<Ount>("amount");
    auto eventType = reader.required<std::string>("eventType");
    auto discount = reader.required<Ount>("discount");
    if (!reader.ok()) return std::nullopt;
    return TransactionEventRequest(std::move(*productCode), std::move(*productType), std::move(*uniqueCartID),
                                   std::move(*productDescription), *giftCard, *quantity, std::move(*amount),
                                   std::move(*eventType), std::move(*discount));
}

CompleteTransactionRequest::CompleteTransactionRequest(std::vector<CustomData> customData, std::string uniqueCartID,
                                                       std::string orderNumber, std::string customerOrderStatus,
                                                       std::string transactionEvaluationStep, TotalAmount totalAmount,
                                                       TotalAmount totalDiscounts, Payments payments,
                                                       std::vector<Shipping> shipping)
    : Request(unusedRequestFields()),
      customData(std::move(customData)),
      uniqueCartID(std::move(uniqueCartID)),
      orderNumber(std::move(orderNumber)),
      customerOrderStatus(std::move(customerOrderStatus)),
      transactionEvaluationStep(std::move(transactionEvaluationStep)),
      totalAmount(std::move(totalAmount)),
      totalDiscounts(std::move(totalDiscounts)),
      payments(std::move(payments)),
      shipping(std::move(shipping)) {}

JSONDictionary CompleteTransactionRequest::toJSON() const {
    return {
        {"customData", listToJSON(customData)},
        {"uniqueCartId", uniqueCartID},
        {"orderNumber", orderNumber},
        {"customerOrderStatus", customerOrderStatus},
        {"transactionEvaluationStep", transactionEvaluationStep},
        {"totalAmount", totalAmount.toJSON()},
        {"totalDiscounts", totalDiscounts.toJSON()},
        {"payments", payments.toJSON()},
        {"shipping", listToJSON(shipping)},
    };
}

std::optional<CompleteTransactionRequest> CompleteTransactionRequest::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto customData = reader.required<std::vector<CustomData>>("customData");
    auto uniqueCartID = reader.required<std::string>("uniqueCartId");
    auto orderNumber = reader.required<std::string>("orderNumber");
    auto customerOrderStatus = reader.required<std::string>("customerOrderStatus");
    auto transactionEvaluationStep = reader.required<std::string>("transactionEvaluationStep");
    auto totalAmount = reader.required<TotalAmount>("totalAmount");
    auto totalDiscounts = reader.required<TotalAmount>("totalDiscounts");
    auto payments = reader.required<Payments>("payments");
    auto shipping = reader.required<std::vector<Shipping>>("shipping");
    if (!reader.ok()) return std::nullopt;
    return CompleteTransactionRequest(std::move(*customData), std::move(*uniqueCartID), std::move(*orderNumber),
                                      std::move(*customerOrderStatus), std::move(*transactionEvaluationStep),
                                      std::move(*totalAmount), std::move(*totalDiscounts), std::move(*payments),
                                      std::move(*shipping));
}

CancelTransactionRequest::CancelTransactionRequest(std::string paymentStatus, std::string orderNumber,
                                                   std::string transactionId, std::string orderStatus,
                                                   std::string comments)
    : Request(unusedRequestFields()),
      paymentStatus(std::move(paymentStatus)),
      orderNumber(std::move(orderNumber)),
      transactionId(std::move(transactionId)),
      orderStatus(std::move(orderStatus)),
      comments(std::move(comments)) {}

JSONDictionary CancelTransactionRequest::toJSON() const {
    return {
        {"paymentStatus", paymentStatus}, {"orderNumber", orderNumber}, {"transactionId", transactionId},
        {"orderStatus", orderStatus},     {"comments", comments},
    };
}

std::optional<CancelTransactionRequest> CancelTransactionRequest::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto paymentStatus = reader.required<std::string>("paymentStatus");
    auto orderNumber = reader.required<std::string>("orderNumber");
    auto transactionId = reader.required<std::string>("transactionId");
    auto orderStatus = reader.required<std::string>("orderStatus");
    auto comments = reader.required<std::string>("comments");
    if (!reader.ok()) return std::nullopt;
    return CancelTransactionRequest(std::move(*paymentStatus), std::move(*orderNumber), std::move(*transactionId),
                                    std::move(*orderStatus), std::move(*comments));
}

}  // namespace quarra
