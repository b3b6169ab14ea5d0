#include "DemoOrder.hpp"

#include <QDate>

namespace demo {
namespace {

std::string text(const QString& value) { return value.trimmed().toStdString(); }

quarra::IngAddress addressOf(const Buyer& buyer) {
    return {text(buyer.firstName), text(buyer.lastName), text(buyer.street), "", "", "", text(buyer.street), "",
            text(buyer.city), "", text(buyer.postalCode), text(buyer.countryCode)};
}

QString digitsOf(const QString& cardNumber) {
    QString digits;
    for (QChar c : cardNumber) {
        if (c.isDigit()) digits += c;
    }
    return digits;
}

}  // namespace

void reportAddToCart(quarra::QuarraManager& manager, const Product& product, int quantity,
                     quarra::TransactionCompletion done) {
    manager.transactionEvent(text(product.sku), quantity, product.price, "EUR", 0, "EUR", false, text(product.category),
                             kCartId, text(product.name), "AddToCart", std::move(done));
}

void completeOrder(quarra::QuarraManager& manager, const Cart& cart, const Buyer& buyer,
                   quarra::TransactionCompletion done) {
    const QString digits = digitsOf(buyer.cardNumber);
    const quarra::TotalAmount total(cart.total(), "EUR");
    // The shop's gateway already authorised the card; its answers travel with the order.
    quarra::CreditCard card(text(digits.left(6)), text(digits.right(4)), "pay-77", "demo-gateway", addressOf(buyer),
                            total, quarra::ResponseCodes("Y", "approved", "M"));
    const std::string delivery = text(QDate::currentDate().addDays(2).toString(Qt::ISODate));
    quarra::Shipping shipping("Courier", "DemoExpress", delivery, "Standard",
                              quarra::TotalAmount(Cart::kShipping, "EUR"), "", "", addressOf(buyer),
                              "+33 1 23 45 67 89", text(buyer.email));
    manager.completeTransactionPostAuth({}, kCartId, kOrderNumber, "Placed", total, quarra::TotalAmount(0, "EUR"),
                                        quarra::Payments({card}, {}), {shipping}, quarra::AuthType::PreAndPostAuth,
                                        std::move(done));
}

}  // namespace demo
