#pragma once
// The transaction interface a host creates: report shopping events, evaluate
// and complete orders, cancel orders.
//
// Managers share the library's network thread; their requests carry the
// transaction client's own headers and 30-second time-out, and the session's
// transaction identifier and access token as the secure store holds them at
// that moment, so a session should be authenticated first. See Quarra.hpp for threads, lifetime and answers:
// every handler runs exactly once, also when the manager is released while
// its call is in flight.
#include <memory>

#include <quarra/Quarra.hpp>

namespace quarra {

class QuarraManager {
public:
    // A manager over the library's transaction client, the standard secure
    // store and the configured transaction platform (builds the library on
    // first use, like DataCollectorService::defaultService()).
    QuarraManager();
    // A manager forwarding to `quarra`, which must not be null.
    explicit QuarraManager(std::shared_ptr<QuarraType> quarra);

    QuarraManager(const QuarraManager&) = delete;
    QuarraManager& operator=(const QuarraManager&) = delete;
    virtual ~QuarraManager() = default;

    virtual void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                  const std::string& normalCurrencyCode, double discountAmount,
                                  const std::string& discountCurrencyCode, bool giftCard,
                                  const std::string& productType, const std::string& uniqueCartID,
                                  const std::string& productDescription, const std::string& eventType,
                                  TransactionCompletion completionHandler);

    virtual void completeTransactionPostAuth(const std::vector<CustomData>& customData,
                                             const std::string& uniqueCartID, const std::string& orderNumber,
                                             const std::string& customerOrderStatus, const TotalAmount& totalAmount,
                                             const TotalAmount& discountAmount, const Payments& payment,
                                             const std::vector<Shipping>& shiping, AuthType authType,
                                             TransactionCompletion completionHandler);

    virtual void completeTransactionPostAuthFallowedByPreAuth(
        const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
        const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
        const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
        TransactionCompletion completionHandler);

    virtual void cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                             const std::string& transactionId, const std::string& orderStatus,
                             const std::string& comments, TransactionCompletion completionHandler);

    const std::shared_ptr<QuarraType>& quarra() const { return quarra_; }

private:
    std::shared_ptr<QuarraType> quarra_;
};

}  // namespace quarra
