#include "transactions/TransactionEventService.hpp"

#include <algorithm>

#include "base/JsonText.hpp"
#include "transactions/TransactionRequests.hpp"

namespace quarra {
namespace {

constexpr const char* kTransactionIdKey = "transactionId";
constexpr const char* kAccessTokenKey = "accessToken";

// A control character in a header value would split the header; such a
// token is not sent at all.
bool isHeaderSafe(const std::string& value) {
    return std::none_of(value.begin(), value.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

CompleteTransactionRequest evaluationDocument(const std::vector<CustomData>& customData,
                                              const std::string& uniqueCartID, const std::string& orderNumber,
                                              const std::string& customerOrderStatus, std::string step,
                                              const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                              const Payments& payments, const std::vector<Shipping>& shipping) {
    return CompleteTransactionRequest(customData, uniqueCartID, orderNumber, customerOrderStatus, std::move(step),
                                      totalAmount, discountAmount, payments, shipping);
}

}  // namespace

TransactionEventService::TransactionEventService(std::shared_ptr<NetworkClient> network, KeychainWrapper& keychain,
                                                 std::string transactionsUrl, std::shared_ptr<Executor> worker)
    : network_(std::move(network)),
      keychain_(keychain),
      urls_(TransactionUrls::fromTransactionsUrl(std::move(transactionsUrl))),
      worker_(std::move(worker)) {}

std::string TransactionEventService::evaluationStep(AuthType authType) {
    return authType == AuthType::OneStepPostAut ? "OneStepPostAuth" : "PostAuth";
}

std::string TransactionEventService::withStoredTransactionId(const std::string& fixedUrl) const {
    return fixedUrl + keychain_.string(kTransactionIdKey).value_or("");
}

template <class Reply>
void TransactionEventService::send(JSONDictionary document, HTTPMethod method, std::string fixedUrl,
                                   bool withTransactionId, ServiceCompletion<Reply> completion) const {
    // The secure store is read where the library's disk work runs, not on the caller's thread.
    if (worker_) {
        worker_->post([this, keepAlive = shared_from_this(), document = std::move(document), method,
                       fixedUrl = std::move(fixedUrl), withTransactionId, completion = std::move(completion)]() mutable {
            sendNow(document, method, withTransactionId ? withStoredTransactionId(fixedUrl) : fixedUrl,
                    std::move(completion));
        });
        return;
    }
    sendNow(document, method, withTransactionId ? withStoredTransactionId(fixedUrl) : fixedUrl, std::move(completion));
}

template <class Reply>
void TransactionEventService::sendNow(const JSONDictionary& document, HTTPMethod method, const std::string& url,
                                      ServiceCompletion<Reply> completion) const {
    auto body = compactJSON(document);
    auto request = body ? network_->makeRequest(std::move(*body), method, url) : std::nullopt;
    auto token = keychain_.string(kAccessTokenKey).value_or("");
    if (!request || !isHeaderSafe(token)) {
        completion(TransactionResult<Reply>::failure(ErrorModel::generic()));
        return;
    }
    request->headers.emplace_back("Authorization", "Bearer " + token);
    network_->send(std::move(*request), [completion = std::move(completion)](HttpResult result) {
        completion(decodeTransactionReply<Reply>(result.body));
    });
}

void TransactionEventService::postTransactionEvent(const std::string& productCode, int64_t quantity,
                                                   double normalAmount, const std::string& normalCurrencyCode,
                                                   double discountAmount, const std::string& discountCurrencyCode,
                                                   bool giftCard, const std::string& productType,
                                                   const std::string& uniqueCartID,
                                                   const std::string& productDescription,
                                                   const std::string& eventType,
                                                   ServiceCompletion<InitiateTransactionResponse> completion) {
    TransactionEventRequest document(productCode, productType, uniqueCartID, productDescription, giftCard, quantity,
                                     Ount(normalAmount, normalCurrencyCode), eventType,
                                     Ount(discountAmount, discountCurrencyCode));
    send(document.toJSON(), HTTPMethod::put, urls_.transactions, true, std::move(completion));
}

void TransactionEventService::completeTransaction(const std::vector<CustomData>& customData,
                                                  const std::string& uniqueCartID, const std::string& orderNumber,
                                                  const std::string& customerOrderStatus,
                                                  const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                                  const Payments& payments, const std::vector<Shipping>& shipping,
                                                  AuthType authType,
                                                  ServiceCompletion<CompleteTransactionResponse> completion) {
    auto document = evaluationDocument(customData, uniqueCartID, orderNumber, customerOrderStatus,
                                       evaluationStep(authType), totalAmount, discountAmount, payments, shipping);
    send(document.toJSON(), HTTPMethod::post, urls_.evaluation, true, std::move(completion));
}

void TransactionEventService::evaluatePreAuth(const std::vector<CustomData>& customData,
                                              const std::string& uniqueCartID, const std::string& orderNumber,
                                              const std::string& customerOrderStatus, const TotalAmount& totalAmount,
                                              const TotalAmount& discountAmount, const Payments& payments,
                                              const std::vector<Shipping>& shipping,
                                              ServiceCompletion<CompleteTransactionResponse> completion) {
    auto document = evaluationDocument(customData, uniqueCartID, orderNumber, customerOrderStatus, "PreAuth",
                                       totalAmount, discountAmount, payments, shipping);
    send(document.toJSON(), HTTPMethod::post, urls_.evaluation, true, std::move(completion));
}

void TransactionEventService::completeAfterPreAuth(const std::vector<CustomData>& customData,
                                                   const std::string& uniqueCartID, const std::string& orderNumber,
                                                   const std::string& customerOrderStatus,
                                                   const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                                   const Payments& payments, const std::vector<Shipping>& shipping,
                                                   AuthType authType,
                                                   ServiceCompletion<CompleteTransactionResponse> completion) {
    // The second request of the pre-authorisation flow is an ordinary evaluation.
    completeTransaction(customData, uniqueCartID, orderNumber, customerOrderStatus, totalAmount, discountAmount,
                        payments, shipping, authType, std::move(completion));
}

void TransactionEventService::cancelTransaction(const std::string& paymentStatus, const std::string& orderNumber,
                                                const std::string& transactionId, const std::string& orderStatus,
                                                const std::string& comments,
                                                ServiceCompletion<CancelTransactionResponse> completion) {
    CancelTransactionRequest document(paymentStatus, orderNumber, transactionId, orderStatus, comments);
    send(document.toJSON(), HTTPMethod::patch, urls_.status, false, std::move(completion));
}

}  // namespace quarra
