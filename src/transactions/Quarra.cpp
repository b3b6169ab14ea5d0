// The facade's constructor and its single-request event and cancellation calls.
#include <quarra/Quarra.hpp>

#include "transactions/HostAnswer.hpp"
#include "transactions/TransactionEventServiceType.hpp"

namespace quarra {

Quarra::Quarra(std::shared_ptr<TransactionEventServiceType> transactionEventService,
               std::shared_ptr<const Console> console)
    : transactionEventService_(std::move(transactionEventService)), console_(std::move(console)) {}

void Quarra::initalizeConfig() {}

void Quarra::transactionEvent(const std::string& productCode, int64_t quantity, double normalAmount,
                              const std::string& normalCurrencyCode, double discountAmount,
                              const std::string& discountCurrencyCode, bool giftCard, const std::string& productType,
                              const std::string& uniqueCartID, const std::string& productDescription,
                              const std::string& eventType, TransactionCompletion completionHandler) {
    console_->print("SP_ Transaction Event API call with item === " + eventType);
    transactionEventService_->postTransactionEvent(
        productCode, quantity, normalAmount, normalCurrencyCode, discountAmount, discountCurrencyCode, giftCard,
        productType, uniqueCartID, productDescription, eventType,
        [console = console_, handler = std::move(completionHandler),
         eventType](TransactionResult<InitiateTransactionResponse> result) {
            if (const auto* error = result.error()) return reportFailure(*error, handler, *console);
            const std::string& id = result.reply()->data.transactionID;
            if (id.empty()) return answerHost(handler, std::string(kGenericFailureMessage), *console);
            console->print("SP_ Transaction Event API successully " + eventType + " with transaction ID == " + id);
            answerHost(handler, id, *console);
        });
}

void Quarra::cancelOrder(const std::string& paymentStatus, const std::string& orderNumber,
                         const std::string& transactionId, const std::string& orderStatus,
                         const std::string& comments, TransactionCompletion completionHandler) {
    console_->print("SP_ Cancel Transaction API call with transactionID === " + transactionId);
    transactionEventService_->cancelTransaction(
        paymentStatus, orderNumber, transactionId, orderStatus, comments,
        [console = console_, handler = std::move(completionHandler),
         transactionId](TransactionResult<CancelTransactionResponse> result) {
            if (const auto* error = result.error()) return reportFailure(*error, handler, *console);
            const std::string& status = result.reply()->data.transactionStatus;
            if (status.empty()) return answerHost(handler, std::string(kGenericFailureMessage), *console);
            console->print("SP_ Transaction Canceled for TransactionID == " + transactionId);
            answerHost(handler, status, *console);
        });
}

}  // namespace quarra
