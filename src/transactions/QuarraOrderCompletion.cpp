// The facade's order completion: one evaluation request, or a pre-authorisation
// followed, when the platform finds the order guaranteeable, by the completion.
#include <quarra/Quarra.hpp>

#include "transactions/HostAnswer.hpp"
#include "transactions/TransactionEventServiceType.hpp"

namespace quarra {
namespace {

constexpr std::string_view kCompleteSuccessLine = "SP_ Complete Transaction API successully called with transaction ID == ";
constexpr std::string_view kPreAuthDecisionItem = "SP_ Pre Auth complete transaction API resposne evaluationDecision == ";
constexpr std::string_view kGuaranteeable = "Guaranteeable";

// The pre-authorisation goes out without the cards' processor answers.
Payments withoutResponseCodes(Payments payments) {
    for (auto& card : payments.creditCards) card.responseCodes.reset();
    return payments;
}

// The caller's order, kept by the pending pre-authorisation for the second request.
struct Order {
    std::vector<CustomData> customData;
    std::string uniqueCartID;
    std::string orderNumber;
    std::string customerOrderStatus;
    TotalAmount totalAmount;
    TotalAmount discountAmount;
    Payments payment;
    std::vector<Shipping> shiping;
    AuthType authType;
};

const std::string* transactionIdOf(const CompleteTransactionResponse& reply) {
    if (!reply.data || !reply.data->transactionID) return nullptr;
    return &*reply.data->transactionID;
}

}  // namespace

void Quarra::completeTransactionPostAuth(const std::vector<CustomData>& customData, const std::string& uniqueCartID,
                                         const std::string& orderNumber, const std::string& customerOrderStatus,
                                         const TotalAmount& totalAmount, const TotalAmount& discountAmount,
                                         const Payments& payment, const std::vector<Shipping>& shiping,
                                         AuthType authType, TransactionCompletion completionHandler) {
    transactionEventService_->completeTransaction(
        customData, uniqueCartID, orderNumber, customerOrderStatus, totalAmount, discountAmount, payment, shiping,
        authType,
        [console = console_, handler = std::move(completionHandler)](TransactionResult<CompleteTransactionResponse> result) {
            if (const auto* error = result.error()) return reportFailure(*error, handler, *console);
            const std::string* id = transactionIdOf(*result.reply());
            if (id == nullptr || id->empty()) {
                return answerHost(handler, std::string(kCannotCompleteTransaction), *console);
            }
            console->print(std::string(kCompleteSuccessLine) + *id);
            answerHost(handler, *id, *console);
        });
}

void Quarra::completeTransactionPostAuthFallowedByPreAuth(
    const std::vector<CustomData>& customData, const std::string& uniqueCartID, const std::string& orderNumber,
    const std::string& customerOrderStatus, const TotalAmount& totalAmount, const TotalAmount& discountAmount,
    const Payments& payment, const std::vector<Shipping>& shiping, AuthType authType,
    TransactionCompletion completionHandler) {
    Order order{customData,  uniqueCartID,   orderNumber, customerOrderStatus, totalAmount,
                discountAmount, payment, shiping, authType};
    // The pending call holds the service, so a released facade still finishes the flow.
    auto afterPreAuth = [service = transactionEventService_, console = console_,
                         handler = std::move(completionHandler),
                         order = std::move(order)](TransactionResult<CompleteTransactionResponse> result) {
        if (const auto* error = result.error()) return reportFailure(*error, handler, *console);
        const auto& data = result.reply()->data;
        const std::optional<std::string> decision = data ? data->evaluationDecision : std::nullopt;
        console->print(std::string(kPreAuthDecisionItem) + " " + decision.value_or(""));
        if (decision != kGuaranteeable) {
            return answerHost(handler, std::string(kCannotCompleteTransaction), *console);
        }
        const std::string firstId = data->transactionID.value_or("");
        // The second reply is not examined: the host learns the first identifier.
        service->completeAfterPreAuth(order.customData, order.uniqueCartID, order.orderNumber,
                                      order.customerOrderStatus, order.totalAmount, order.discountAmount,
                                      order.payment, order.shiping, order.authType,
                                      [console, handler, firstId](TransactionResult<CompleteTransactionResponse>) {
                                          console->print(std::string(kCompleteSuccessLine) + firstId);
                                          answerHost(handler, firstId, *console);
                                      });
    };
    transactionEventService_->evaluatePreAuth(customData, uniqueCartID, orderNumber, customerOrderStatus, totalAmount,
                                              discountAmount, withoutResponseCodes(payment), shiping,
                                              std::move(afterPreAuth));
}

}  // namespace quarra
