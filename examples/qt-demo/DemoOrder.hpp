#pragma once
// The shop's two transaction calls: a cart event when something is added,
// and the order's evaluation when the shopper pays.
#include <QString>

#include <quarra/QuarraManager.hpp>

#include "Cart.hpp"

namespace demo {

inline constexpr const char* kCartId = "qt-demo-cart-1";
inline constexpr const char* kOrderNumber = "QT-DEMO-1001";

// What the checkout form holds; the card number only leaves as BIN and last four.
struct Buyer {
    QString firstName;
    QString lastName;
    QString street;
    QString city;
    QString postalCode;
    QString countryCode;
    QString email;
    QString cardNumber;
};

// Each runs one transaction call; `done` receives the client's answer text.
void reportAddToCart(quarra::QuarraManager& manager, const Product& product, int quantity,
                     quarra::TransactionCompletion done);
void completeOrder(quarra::QuarraManager& manager, const Cart& cart, const Buyer& buyer,
                   quarra::TransactionCompletion done);

}  // namespace demo
