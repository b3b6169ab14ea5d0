#include <quarra/QuarraManager.hpp>

#include "transactions/QuarraAssembly.hpp"

namespace quarra {

QuarraManager::QuarraManager() : quarra_(QuarraAssembly::makeDefault()) {}

QuarraManager::QuarraManager(std::shared_ptr<QuarraType> quarra) : quarra_(std::move(quarra)) {}

void QuarraManager::transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                     const std::string& normalCurrencyCode, double discountAmount,
                                     const std::string& discountCurrencyCode, bool giftCard,
                                     const std::string& productType, const std::string& uniqueCartID,
                                     const std::string& productDescription, const std::string& eventType,
                                     TransactionCompletion completionHandler) {
    quarra_->transactionEvent(productCode, quantity, normalAmount, normalCurrencyCode, discountAmount,
                              discountCurrencyCode, giftCard, productType, uniqueCartID, productDescription, eventType,
                              std::move(completionHandler));
}

void QuarraManager::completeTransactionPostAuth(const std::vector<CustomData>& customData,
                                                const std::string& uniqueCartID, const std::string& orderNumber,
                                                const std::string& customerOrderStatus,
                                                const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                                const Payments& payment, const std::vector<Shipping>& shiping,
                                                AuthType authType, TransactionCompletion completionHandler) {
    quarra_->completeTransactionPostAuth(customData, uniqueCartID, orderNumber, customerOrderStatus, totalAmount,
                                         discountAmount, payment, shiping, authType, std::move(completionHandler));
}

void QuarraManager::completeTransactionPostAuthFallowedByPreAuth(
    const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
    const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
    const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
    TransactionCompletion completionHandler) {
    quarra_->completeTransactionPostAuthFallowedByPreAuth(customData, uniqueCartID, orderNumber, customerOrderStatus,
                                                          totalAmount, discountAmount, payment, shiping, authType,
                                                          std::move(completionHandler));
}

void QuarraManager::cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                                const std::string& transactionId, const std::string& orderStatus,
                                const std::string& comments, TransactionCompletion completionHandler) {
    quarra_->cancelOrder(paymentStatus, orderNumber, transactionId, orderStatus, comments,
                         std::move(completionHandler));
}

}  // namespace quarra
