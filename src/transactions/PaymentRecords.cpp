// The payment records: cards with their response codes, PayPal, and the list of both.
#include <quarra/TransactionDocuments.hpp>

#include "transactions/DocumentReader.hpp"

namespace quarra {

ResponseCodes::ResponseCodes(std::string addressVerification, std::string authorization,
                             std::string cardVerificationValue)
    : addressVerification(std::move(addressVerification)),
      authorization(std::move(authorization)),
      cardVerificationValue(std::move(cardVerificationValue)) {}

JSONDictionary ResponseCodes::toJSON() const {
    return {{"addressVerification", addressVerification},
            {"authorization", authorization},
            {"cardVerificationValue", cardVerificationValue}};
}

std::optional<ResponseCodes> ResponseCodes::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto addressVerification = reader.required<std::string>("addressVerification");
    auto authorization = reader.required<std::string>("authorization");
    auto cardVerificationValue = reader.required<std::string>("cardVerificationValue");
    if (!reader.ok()) return std::nullopt;
    return ResponseCodes(std::move(*addressVerification), std::move(*authorization),
                         std::move(*cardVerificationValue));
}

CreditCard::CreditCard(std::string binNumber, std::string lastFour, std::string paymentID, std::string gateway,
                       IngAddress billingAddress, TotalAmount amount, std::optional<ResponseCodes> responseCodes)
    : binNumber(std::move(binNumber)),
      lastFour(std::move(lastFour)),
      paymentID(std::move(paymentID)),
      gateway(std::move(gateway)),
      billingAddress(std::move(billingAddress)),
      amount(std::move(amount)),
      responseCodes(std::move(responseCodes)) {}

JSONDictionary CreditCard::toJSON() const {
    JSONDictionary json = {
        {"binNumber", binNumber},
        {"lastFour", lastFour},
        {"paymentId", paymentID},
        {"gateway", gateway},
        {"billingAddress", billingAddress.toJSON()},
        {"amount", amount.toJSON()},
    };
    if (responseCodes) json["responseCodes"] = responseCodes->toJSON();
    return json;
}

std::optional<CreditCard> CreditCard::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto binNumber = reader.required<std::string>("binNumber");
    auto lastFour = reader.required<std::string>("lastFour");
    auto paymentID = reader.required<std::string>("paymentId");
    auto gateway = reader.required<std::string>("gateway");
    auto billingAddress = reader.required<IngAddress>("billingAddress");
    auto amount = reader.required<TotalAmount>("amount");
    auto responseCodes = reader.optional<ResponseCodes>("responseCodes");
    if (!reader.ok()) return std::nullopt;
    return CreditCard(std::move(*binNumber), std::move(*lastFour), std::move(*paymentID), std::move(*gateway),
                      std::move(*billingAddress), std::move(*amount), std::move(responseCodes));
}

PayPal::PayPal(IngAddress billingAddress, TotalAmount amount, std::string payPalPayerId)
    : billingAddress(std::move(billingAddress)), amount(std::move(amount)), payPalPayerId(std::move(payPalPayerId)) {}

JSONDictionary PayPal::toJSON() const {
    return {{"billingAddress", billingAddress.toJSON()}, {"amount", amount.toJSON()}, {"payPalPayerId", payPalPayerId}};
}

std::optional<PayPal> PayPal::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto billingAddress = reader.required<IngAddress>("billingAddress");
    auto amount = reader.required<TotalAmount>("amount");
    auto payPalPayerId = reader.required<std::string>("payPalPayerId");
    if (!reader.ok()) return std::nullopt;
    return PayPal(std::move(*billingAddress), std::move(*amount), std::move(*payPalPayerId));
}

Payments::Payments(std::vector<CreditCard> creditCards, std::vector<PayPal> payPal)
    : creditCards(std::move(creditCards)), payPal(std::move(payPal)) {}

JSONDictionary Payments::toJSON() const {
    return {{"creditCards", listToJSON(creditCards)}, {"payPal", listToJSON(payPal)}};
}

std::optional<Payments> Payments::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto creditCards = reader.required<std::vector<CreditCard>>("creditCards");
    auto payPal = reader.required<std::vector<PayPal>>("payPal");
    if (!reader.ok()) return std::nullopt;
    return Payments(std::move(*creditCards), std::move(*payPal));
}

}  // namespace quarra
