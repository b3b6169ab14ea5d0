#pragma once
// The three request bodies sent to the transaction platform. Only the fields
// below go on the wire; the fields inherited from Request keep their defaults.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <quarra/TransactionDocuments.hpp>

#include "transport/Request.hpp"

namespace quarra {

// An amount inside the transaction-event body: {"amount", "currencyCode"}.
struct Ount {
    Ount(double amount, std::string currencyCode);

    double amount;
    std::string currencyCode;

    bool operator==(const Ount&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<Ount> fromJSON(const JSONDictionary& json);
};

// Body of the transaction event (a shopping event on one product).
class TransactionEventRequest final : public Request {
public:
    TransactionEventRequest(std::string productCode, std::string productType, std::string uniqueCartID,
                            std::string productDescription, bool giftCard, int64_t quantity, Ount amount,
                            std::string eventType, Ount discount);

    std::string productCode;         // "productCode"
    std::string productType;         // "productType"
    std::string uniqueCartID;        // "uniqueCartId"
    std::string productDescription;  // "productDescription"
    bool giftCard;                   // "isGiftCard"
    int64_t quantity;                // "quantity"
    Ount amount;                     // "amount"
    std::string eventType;           // "eventType"
    Ount discount;                   // "discount"

    JSONDictionary toJSON() const;
    static std::optional<TransactionEventRequest> fromJSON(const JSONDictionary& json);
};

// Body of every evaluation request (pre-authorisation and completion).
class CompleteTransactionRequest final : public Request {
public:
    CompleteTransactionRequest(std::vector<CustomData> customData, std::string uniqueCartID, std::string orderNumber,
                               std::string customerOrderStatus, std::string transactionEvaluationStep,
                               TotalAmount totalAmount, TotalAmount totalDiscounts, Payments payments,
                               std::vector<Shipping> shipping);

    std::vector<CustomData> customData;     // "customData"
    std::string uniqueCartID;               // "uniqueCartId"
    std::string orderNumber;                // "orderNumber"
    std::string customerOrderStatus;        // "customerOrderStatus"
    std::string transactionEvaluationStep;  // "transactionEvaluationStep": "PreAuth", "PostAuth", "OneStepPostAuth"
    TotalAmount totalAmount;                // "totalAmount"
    TotalAmount totalDiscounts;             // "totalDiscounts"
    Payments payments;                      // "payments"
    std::vector<Shipping> shipping;         // "shipping"

    JSONDictionary toJSON() const;
    static std::optional<CompleteTransactionRequest> fromJSON(const JSONDictionary& json);
};

// Body of the order cancellation; every key equals the member name.
class CancelTransactionRequest final : public Request {
public:
    CancelTransactionRequest(std::string paymentStatus, std::string orderNumber, std::string transactionId,
                             std::string orderStatus, std::string comments);

    std::string paymentStatus;
    std::string orderNumber;
    std::string transactionId;
    std::string orderStatus;
    std::string comments;

    JSONDictionary toJSON() const;
    static std::optional<CancelTransactionRequest> fromJSON(const JSONDictionary& json);
};

}  // namespace quarra
