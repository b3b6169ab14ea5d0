#pragma once
// The transaction operations behind QuarraManager.
//
// Every operation returns at once and answers through `completionHandler`
// exactly once with one text: a transaction identifier, a status, or a
// message for the user. The request is built (and the secure store read) on
// the library's worker, and the handler runs there; after the library's
// shutdown() it runs at once, on the calling thread, with a failure message.
// Operations never throw, hold no lock while calling the handler, and may
// overlap freely. A call in flight is not cancelled when its Quarra or
// QuarraManager is released: its handler still runs.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <quarra/AuthType.hpp>
#include <quarra/TransactionDocuments.hpp>

namespace quarra {

using TransactionCompletion = std::function<void(const std::string&)>;

// The facade's operations; Quarra is the library's implementation, and a host
// may supply its own to QuarraManager (e.g. in its tests).
class QuarraType {
public:
    virtual ~QuarraType() = default;

    virtual void initalizeConfig() = 0;

    virtual void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                  const std::string& normalCurrencyCode, double discountAmount,
                                  const std::string& discountCurrencyCode, bool giftCard,
                                  const std::string& productType, const std::string& uniqueCartID,
                                  const std::string& productDescription, const std::string& eventType,
                                  TransactionCompletion completionHandler) = 0;

    virtual void completeTransactionPostAuth(const std::vector<CustomData>& customData,
                                             const std::string& uniqueCartID, const std::string& orderNumber,
                                             const std::string& customerOrderStatus, const TotalAmount& totalAmount,
                                             const TotalAmount& discountAmount, const Payments& payment,
                                             const std::vector<Shipping>& shiping, AuthType authType,
                                             TransactionCompletion completionHandler) = 0;

    virtual void completeTransactionPostAuthFallowedByPreAuth(
        const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
        const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
        const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
        TransactionCompletion completionHandler) = 0;

    virtual void cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                             const std::string& transactionId, const std::string& orderStatus,
                             const std::string& comments, TransactionCompletion completionHandler) = 0;
};

class TransactionEventServiceType;
class Console;
struct QuarraAssembly;

class Quarra : public QuarraType {
public:
    // Does nothing.
    void initalizeConfig() override;

    // Reports a shopping event on one product. The handler receives the
    // transaction identifier of the reply, or an error message.
    void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                          const std::string& normalCurrencyCode, double discountAmount,
                          const std::string& discountCurrencyCode, bool giftCard, const std::string& productType,
                          const std::string& uniqueCartID, const std::string& productDescription,
                          const std::string& eventType, TransactionCompletion completionHandler) override;

    // Asks the platform to evaluate and complete an order in one request
    // (step "OneStepPostAuth" for OneStepPostAut, else "PostAuth"). The
    // handler receives the reply's transaction identifier, or an error message.
    void completeTransactionPostAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                     const std::string& orderNumber, const std::string& customerOrderStatus,
                                     const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                     const Payments& payment, const std::vector<Shipping>& shiping,
                                     AuthType authType, TransactionCompletion completionHandler) override;

    // Pre-authorises the order first (step "PreAuth", cards sent without
    // their response codes); only when the platform answers "Guaranteeable"
    // the order is completed as by completeTransactionPostAuth. The handler
    // then receives the first reply's transaction identifier, whatever the
    // second request's outcome.
    void completeTransactionPostAuthFallowedByPreAuth(const std::vector<CustomData>& customData,
                                                      const std::string& uniqueCartID, const std::string& orderNumber,
                                                      const std::string& customerOrderStatus,
                                                      const TotalAmount& totalAmount,
                                                      const TotalAmount& discountAmount, const Payments& payment,
                                                      const std::vector<Shipping>& shiping, AuthType authType,
                                                      TransactionCompletion completionHandler) override;

    // Cancels an order; the handler receives the reply's transaction status,
    // or an error message.
    void cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                     const std::string& transactionId, const std::string& orderStatus, const std::string& comments,
                     TransactionCompletion completionHandler) override;

private:
    friend struct QuarraAssembly;
    Quarra(std::shared_ptr<TransactionEventServiceType> transactionEventService,
           std::shared_ptr<const Console> console);

    std::shared_ptr<TransactionEventServiceType> transactionEventService_;
    std::shared_ptr<const Console> console_;
};

}  // namespace quarra
