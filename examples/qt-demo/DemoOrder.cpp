#include "DemoOrder.hpp"

namespace demo {
namespace {

quarra::IngAddress address() {
    return {"Ada", "Moreau", "12 Rue de Rivoli", "", "3", "12", "Rue de Rivoli", "Le Marais", "Paris", "IDF", "75004",
            "FR"};
}

}  // namespace

void reportAddToCart(quarra::QuarraManager& manager, quarra::TransactionCompletion done) {
    manager.transactionEvent("SKU-4471", 2, 64.5, "EUR", 5, "EUR", false, "Shoes", kCartId, "Trail running shoes",
                             "AddToCart", std::move(done));
}

void completeOrder(quarra::QuarraManager& manager, quarra::TransactionCompletion done) {
    const quarra::TotalAmount total(124.0, "EUR");
    quarra::CreditCard card("411111", "1111", "pay-77", "demo-gateway", address(), total,
                            quarra::ResponseCodes("Y", "approved", "M"));
    quarra::Shipping shipping("Courier", "DemoExpress", "2024-05-03", "Standard", quarra::TotalAmount(4.9, "EUR"), "",
                              "", address(), "+33 1 23 45 67 89", "ada@example.com");
    manager.completeTransactionPostAuth({}, kCartId, kOrderNumber, "Placed", total, quarra::TotalAmount(5.0, "EUR"),
                                        quarra::Payments({card}, {}), {shipping}, quarra::AuthType::PreAndPostAuth,
                                        std::move(done));
}

}  // namespace demo
