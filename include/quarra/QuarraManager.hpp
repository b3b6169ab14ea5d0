#pragma once
/**
 * @file
 * @brief The transaction interface a host creates: report shopping events,
 * evaluate and complete orders, cancel orders.
 *
 * Managers share the library's network thread; their requests carry the
 * transaction client's own headers and 30-second time-out, and the session's
 * transaction identifier and access token as the secure store holds them at
 * that moment, so a session should be authenticated first. See Quarra.hpp
 * for threads, lifetime and answers: every handler runs exactly once, also
 * when the manager is released while its call is in flight.
 */
#include <quarra/Export.hpp>
#include <memory>

#include <quarra/Quarra.hpp>

namespace quarra {

/**
 * @brief The transaction interface: forwards every operation to a QuarraType.
 *
 * @par Thread
 * Any thread, concurrently. Handlers run where the QuarraType runs them: for
 * the library's Quarra, on the library's worker (after
 * DataCollectorService::shutdown(): at once, on the calling thread).
 * @par Lifetime
 * The manager shares ownership of its QuarraType. Releasing the manager
 * cancels nothing: a call in flight still runs its handler, exactly once.
 * @par Blocking
 * Every operation returns at once.
 */
class QUARRA_API QuarraManager {
public:
    /**
     * @brief A manager over the library's transaction client.
     *
     * Uses the standard secure store and the configured transaction platform
     * (builds the library on first use, like
     * DataCollectorService::defaultService()).
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Each manager gets a client of its own over the library's shared network
     * thread and secure store.
     * @par Blocking
     * Never blocks on the disk.
     */
    QuarraManager();
    /**
     * @brief A manager forwarding to `quarra`, which must not be null.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The manager shares ownership of `quarra`.
     * @par Blocking
     * Never blocks.
     */
    explicit QuarraManager(std::shared_ptr<QuarraType> quarra);

    /// Not copyable: share the manager (or its quarra()) instead.
    QuarraManager(const QuarraManager&) = delete;
    /// Not copyable.
    QuarraManager& operator=(const QuarraManager&) = delete;
    /// Releases the manager's share of its QuarraType; calls in flight still answer.
    virtual ~QuarraManager() = default;

    /// Reports a shopping event on one product; see Quarra::transactionEvent(). Any thread; returns at once.
    virtual void transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                                  const std::string& normalCurrencyCode, double discountAmount,
                                  const std::string& discountCurrencyCode, bool giftCard,
                                  const std::string& productType, const std::string& uniqueCartID,
                                  const std::string& productDescription, const std::string& eventType,
                                  TransactionCompletion completionHandler);

    /// Evaluates and completes an order in one request; see Quarra::completeTransactionPostAuth(). Any thread; returns at once.
    virtual void completeTransactionPostAuth(const std::vector<CustomData>& customData,
                                             const std::string& uniqueCartID, const std::string& orderNumber,
                                             const std::string& customerOrderStatus, const TotalAmount& totalAmount,
                                             const TotalAmount& discountAmount, const Payments& payment,
                                             const std::vector<Shipping>& shiping, AuthType authType,
                                             TransactionCompletion completionHandler);

    /// Pre-authorises an order, then completes it; see Quarra::completeTransactionPostAuthFallowedByPreAuth(). Any thread; returns at once.
    virtual void completeTransactionPostAuthFallowedByPreAuth(
        const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
        const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
        const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
        TransactionCompletion completionHandler);

    /// Cancels an order; see Quarra::cancelOrder(). Any thread; returns at once.
    virtual void cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                             const std::string& transactionId, const std::string& orderStatus,
                             const std::string& comments, TransactionCompletion completionHandler);

    /// The QuarraType the manager forwards to. Any thread; valid while the manager (or a copy of the pointer) lives.
    const std::shared_ptr<QuarraType>& quarra() const { return quarra_; }

private:
    std::shared_ptr<QuarraType> quarra_;
};

}  // namespace quarra
