// The transaction steps: one QuarraManager for the whole run, made at the
// first such step so that it reads the configured platform.
#include <quarra/QuarraManager.hpp>

#include "StepRunner.hpp"

namespace quarra::cli {

QuarraManager& StepRunner::transactions() {
    if (!transactions_) transactions_ = std::make_unique<QuarraManager>();
    return *transactions_;
}

StepOutcome StepRunner::operator()(const TransactionEventStep& step) {
    return awaitCompletion<std::string>(step.timeout, [&](auto completion) {
        transactions().transactionEvent(step.productCode, step.quantity, step.normalAmount, step.normalCurrencyCode,
                                        step.discountAmount, step.discountCurrencyCode, step.giftCard,
                                        step.productType, step.uniqueCartID, step.productDescription, step.eventType,
                                        std::move(completion));
    });
}

StepOutcome StepRunner::operator()(const OrderCompletionStep& step) {
    return awaitCompletion<std::string>(step.timeout, [&](auto completion) {
        if (step.preAuthFirst) {
            transactions().completeTransactionPostAuthFallowedByPreAuth(
                step.customData, step.uniqueCartID, step.orderNumber, step.customerOrderStatus, step.totalAmount,
                step.discountAmount, step.payment, step.shiping, step.authType, std::move(completion));
        } else {
            transactions().completeTransactionPostAuth(step.customData, step.uniqueCartID, step.orderNumber,
                                                       step.customerOrderStatus, step.totalAmount,
                                                       step.discountAmount, step.payment, step.shiping,
                                                       step.authType, std::move(completion));
        }
    });
}

StepOutcome StepRunner::operator()(const CancelOrderStep& step) {
    // A host cancels within its session; the scenario cannot know that key in advance.
    auto transactionId = step.transactionId.value_or(latestSessionKey());
    return awaitCompletion<std::string>(step.timeout, [&](auto completion) {
        transactions().cancelOrder(step.paymentStatus, step.orderNumber, transactionId, step.orderStatus,
                                   step.comments, std::move(completion));
    });
}

}  // namespace quarra::cli
