#pragma once
/**
 * @file
 * @brief The transaction operations behind QuarraManager.
 *
 * Every operation returns at once and answers through `completionHandler`
 * exactly once with one text: a transaction identifier, a status, or a
 * message for the user. The request is built (and the secure store read) on
 * the library's worker, and the handler runs there; after the library's
 * shutdown() it runs at once, on the calling thread, with a failure message.
 * Operations never throw, hold no lock while calling the handler, and may
 * overlap freely. A call in flight is not cancelled when its Quarra or
 * QuarraManager is released: its handler still runs.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <quarra/AuthType.hpp>
#include <quarra/TransactionDocuments.hpp>

namespace quarra {

/// The one answer of a transaction operation: an identifier, a status, or a message for the user.
using TransactionCompletion = std::function<void(const std::string&)>;

/**
 * @brief The transaction operations, as an interface.
 *
 * Quarra is the library's implementation; a host may supply its own to
 * QuarraManager (in its tests, say). An implementation keeps the contract
 * described here.
 *
 * @par Thread
 * Operations may be called from any thread, concurrently; each calls its
 * handler exactly once, on any thread, holding no lock.
 * @par Lifetime
 * An operation keeps its handler until it has run, also when the
 * implementation is released meanwhile.
 * @par Blocking
 * Operations return at once.
 */
class QUARRA_API QuarraType {
public:
    /// Destroyed by whoever holds the last reference; calls in flight still answer.
    virtual ~QuarraType() = default;

    /// Prepares the implementation; may be empty. Any thread; must not block.
    virtual void initalizeConfig() = 0;

    /// Reports a shopping event on one product; see Quarra::transactionEvent().
    virtual void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                  const std::string& normalCurrencyCode, double discountAmount,
                                  const std::string& discountCurrencyCode, bool giftCard,
                                  const std::string& productType, const std::string& uniqueCartID,
                                  const std::string& productDescription, const std::string& eventType,
                                  TransactionCompletion completionHandler) = 0;

    /// Evaluates and completes an order in one request; see Quarra::completeTransactionPostAuth().
    virtual void completeTransactionPostAuth(const std::vector<CustomData>& customData,
                                             const std::string& uniqueCartID, const std::string& orderNumber,
                                             const std::string& customerOrderStatus, const TotalAmount& totalAmount,
                                             const TotalAmount& discountAmount, const Payments& payment,
                                             const std::vector<Shipping>& shiping, AuthType authType,
                                             TransactionCompletion completionHandler) = 0;

    /// Pre-authorises an order, then completes it; see Quarra::completeTransactionPostAuthFallowedByPreAuth().
    virtual void completeTransactionPostAuthFallowedByPreAuth(
        const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
        const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
        const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
        TransactionCompletion completionHandler) = 0;

    /// Cancels an order; see Quarra::cancelOrder().
    virtual void cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                             const std::string& transactionId, const std::string& orderStatus,
                             const std::string& comments, TransactionCompletion completionHandler) = 0;
};

class TransactionEventServiceType;
class Console;
struct QuarraAssembly;

/**
 * @brief The library's transaction client; QuarraManager() makes one.
 *
 * Requests carry the session's transaction identifier and access token as
 * the secure store holds them when the request is built, so a session should
 * be authenticated first (DataCollectorService::authenticateUser()).
 *
 * @par Thread
 * Any thread, concurrently. Handlers run on the library's worker; after
 * DataCollectorService::shutdown() at once, on the calling thread, with a
 * failure message.
 * @par Lifetime
 * Only the library makes one (its constructor is private). A call keeps its
 * handler until it has run exactly once, also when the Quarra is released
 * meanwhile.
 * @par Blocking
 * Operations return at once (after shutdown() the call reads the secure store
 * on the calling thread before answering).
 */
class QUARRA_API Quarra : public QuarraType {
public:
    /// Does nothing.
    void initalizeConfig() override;

    /**
     * @brief Reports a shopping event on one product.
     *
     * The handler receives the transaction identifier of the reply, or an
     * error message.
     *
     * @par Thread
     * Any thread; the handler runs on the library's worker (see the class).
     * @par Lifetime
     * The arguments are copied; the handler is kept until it has run.
     * @par Blocking
     * Returns at once.
     */
    void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                          const std::string& normalCurrencyCode, double discountAmount,
                          const std::string& discountCurrencyCode, bool giftCard, const std::string& productType,
                          const std::string& uniqueCartID, const std::string& productDescription,
                          const std::string& eventType, TransactionCompletion completionHandler) override;

    /**
     * @brief Asks the platform to evaluate and complete an order in one request.
     *
     * The step is "OneStepPostAuth" for AuthType::OneStepPostAut, else
     * "PostAuth". The handler receives the reply's transaction identifier,
     * or an error message.
     *
     * @par Thread
     * Any thread; the handler runs on the library's worker (see the class).
     * @par Lifetime
     * The records are copied; the handler is kept until it has run.
     * @par Blocking
     * Returns at once.
     */
    void completeTransactionPostAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                     const std::string& orderNumber, const std::string& customerOrderStatus,
                                     const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                     const Payments& payment, const std::vector<Shipping>& shiping,
                                     AuthType authType, TransactionCompletion completionHandler) override;

    /**
     * @brief Pre-authorises the order, and completes it when the platform allows.
     *
     * The first request has the step "PreAuth" and sends the cards without
     * their response codes; only when the platform answers "Guaranteeable"
     * is the order completed as by completeTransactionPostAuth(). The handler
     * then receives the first reply's transaction identifier, whatever the
     * second request's outcome; otherwise it receives an error message.
     *
     * @par Thread
     * Any thread; the handler runs on the library's worker (see the class).
     * @par Lifetime
     * The records are copied; the handler is kept until it has run, once,
     * across both requests.
     * @par Blocking
     * Returns at once.
     */
    void completeTransactionPostAuthFallowedByPreAuth(const std::vector<CustomData>& customData,
                                                      const std::string& uniqueCartID, const std::string& orderNumber,
                                                      const std::string& customerOrderStatus,
                                                      const TotalAmount& totalAmount,
                                                      const TotalAmount& discountAmount, const Payments& payment,
                                                      const std::vector<Shipping>& shiping, AuthType authType,
                                                      TransactionCompletion completionHandler) override;

    /**
     * @brief Cancels an order.
     *
     * The handler receives the reply's transaction status, or an error
     * message.
     *
     * @par Thread
     * Any thread; the handler runs on the library's worker (see the class).
     * @par Lifetime
     * The arguments are copied; the handler is kept until it has run.
     * @par Blocking
     * Returns at once.
     */
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
