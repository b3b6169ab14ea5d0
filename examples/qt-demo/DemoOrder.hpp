#pragma once
// The one order the demo shop sells: two pairs of trail shoes, paid by card.
#include <functional>
#include <memory>
#include <string>

#include <quarra/QuarraManager.hpp>

namespace demo {

inline constexpr const char* kCartId = "qt-demo-cart-1";
inline constexpr const char* kOrderNumber = "QT-DEMO-1001";

// Each runs one transaction call; `done` receives the service's answer text.
void reportAddToCart(quarra::QuarraManager& manager, quarra::TransactionCompletion done);
void completeOrder(quarra::QuarraManager& manager, quarra::TransactionCompletion done);

}  // namespace demo
