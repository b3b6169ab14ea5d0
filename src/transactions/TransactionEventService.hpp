#pragma once
// Builds each transaction document, sends it once through the NetworkClient
// and turns the reply into a TransactionResult. No retries, no queue.
//
// The stored "transactionId" and "accessToken" are read from the secure store
// afresh for every request (an absent value counts as ""), on the worker when
// there is one (the library's), else on the calling thread. Replies are
// delivered on the network client's callback executor; a request that cannot
// be made (an amount that is not a finite number, text that is not valid
// UTF-8, a URL that is not valid, a token that cannot be a header value) is
// answered with the generic failure at once, where it was built, and nothing
// is sent.
#include <memory>
#include <string>

#include <quarra/KeychainWrapper.hpp>

#include "transactions/NetworkClient.hpp"
#include "transactions/TransactionEventServiceType.hpp"
#include "transactions/TransactionUrls.hpp"

namespace quarra {

class TransactionEventService final : public TransactionEventServiceType,
                                      public std::enable_shared_from_this<TransactionEventService> {
public:
    // `keychain` must outlive the service and every call in flight. Requests
    // are built on `worker` (empty: on the calling thread).
    TransactionEventService(std::shared_ptr<NetworkClient> network, KeychainWrapper& keychain,
                            std::string transactionsUrl, std::shared_ptr<Executor> worker = nullptr);

    void postTransactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                              const std::string& normalCurrencyCode, double discountAmount,
                              const std::string& discountCurrencyCode, bool giftCard, const std::string& productType,
                              const std::string& uniqueCartID, const std::string& productDescription,
                              const std::string& eventType,
                              ServiceCompletion<InitiateTransactionResponse> completion) override;
    void completeTransaction(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                             const std::string& orderNumber, const std::string& customerOrderStatus,
                             const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                             const Payments& payments, const std::vector<Shipping>& shipping, AuthType authType,
                             ServiceCompletion<CompleteTransactionResponse> completion) override;
    void evaluatePreAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                         const std::string& orderNumber, const std::string& customerOrderStatus,
                         const TotalAmount& totalAmount, const TotalAmount& discountAmount, const Payments& payments,
                         const std::vector<Shipping>& shipping,
                         ServiceCompletion<CompleteTransactionResponse> completion) override;
    void completeAfterPreAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                              const std::string& orderNumber, const std::string& customerOrderStatus,
                              const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                              const Payments& payments, const std::vector<Shipping>& shipping, AuthType authType,
                              ServiceCompletion<CompleteTransactionResponse> completion) override;
    void cancelTransaction(const std::string& paymentStatus, const std::string& orderNumber,
                           const std::string& transactionId, const std::string& orderStatus,
                           const std::string& comments,
                           ServiceCompletion<CancelTransactionResponse> completion) override;

    const NetworkClient& network() const { return *network_; }
    const TransactionUrls& urls() const { return urls_; }

    // "OneStepPostAuth" for OneStepPostAut, "PostAuth" for every other case.
    static std::string evaluationStep(AuthType authType);

private:
    // Builds and sends on the worker; the URL gets the stored transaction
    // identifier appended when `withTransactionId`.
    template <class Reply>
    void send(JSONDictionary document, HTTPMethod method, std::string fixedUrl, bool withTransactionId,
              ServiceCompletion<Reply> completion) const;
    template <class Reply>
    void sendNow(const JSONDictionary& document, HTTPMethod method, const std::string& url,
                 ServiceCompletion<Reply> completion) const;
    // The fixed URL followed directly by the stored transaction identifier.
    std::string withStoredTransactionId(const std::string& fixedUrl) const;

    std::shared_ptr<NetworkClient> network_;
    KeychainWrapper& keychain_;
    TransactionUrls urls_;
    std::shared_ptr<Executor> worker_;
};

}  // namespace quarra
