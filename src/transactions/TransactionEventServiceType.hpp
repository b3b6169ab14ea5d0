#pragma once
// What the transaction facade needs of the transaction service: five calls,
// each answering exactly once with a TransactionResult, on the thread where
// the service builds its requests and receives its replies (the library's
// worker).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <quarra/AuthType.hpp>
#include <quarra/TransactionDocuments.hpp>

#include "config/ConfigurationDocument.hpp"
#include "transactions/TransactionReplies.hpp"
#include "transactions/TransactionResult.hpp"

namespace quarra {

template <class Reply>
using ServiceCompletion = std::function<void(TransactionResult<Reply>)>;

class TransactionEventServiceType {
public:
    virtual ~TransactionEventServiceType() = default;

    // PUT of the shopping event.
    virtual void postTransactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                      const std::string& normalCurrencyCode, double discountAmount,
                                      const std::string& discountCurrencyCode, bool giftCard,
                                      const std::string& productType, const std::string& uniqueCartID,
                                      const std::string& productDescription, const std::string& eventType,
                                      ServiceCompletion<InitiateTransactionResponse> completion) = 0;

    // Evaluation with the step named by `authType`.
    virtual void completeTransaction(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                     const std::string& orderNumber, const std::string& customerOrderStatus,
                                     const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                     const Payments& payments, const std::vector<Shipping>& shipping,
                                     AuthType authType, ServiceCompletion<CompleteTransactionResponse> completion) = 0;

    // Evaluation with the step "PreAuth".
    virtual void evaluatePreAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                 const std::string& orderNumber, const std::string& customerOrderStatus,
                                 const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                 const Payments& payments, const std::vector<Shipping>& shipping,
                                 ServiceCompletion<CompleteTransactionResponse> completion) = 0;

    // The completion that follows an accepted pre-authorisation.
    virtual void completeAfterPreAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                      const std::string& orderNumber, const std::string& customerOrderStatus,
                                      const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                      const Payments& payments, const std::vector<Shipping>& shipping,
                                      AuthType authType,
                                      ServiceCompletion<CompleteTransactionResponse> completion) = 0;

    // PATCH of the order's new status; the identifier travels in the body only.
    virtual void cancelTransaction(const std::string& paymentStatus, const std::string& orderNumber,
                                   const std::string& transactionId, const std::string& orderStatus,
                                   const std::string& comments,
                                   ServiceCompletion<CancelTransactionResponse> completion) = 0;
};

}  // namespace quarra
