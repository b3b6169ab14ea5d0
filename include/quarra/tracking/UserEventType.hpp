#pragma once
// The user events the service knows, as integer codes. Built by rule: 0 is
// None; the screen tag with ordinal k has <Tag>Enter = 2k - 1 and
// <Tag>Exit = 2k; 29 to 40 are the button actions in their order.
#include <optional>

#include <quarra/tracking/ScreenTags.hpp>

namespace quarra {

enum class UserEventType {
    None = 0,
    LoginEnter,
    LoginExit,
    ForgotPasswordEnter,
    ForgotPasswordExit,
    SignUpEnter,
    SignUpExit,
    ProductsListEnter,
    ProductsListExit,
    ProductDetailEnter,
    ProductDetailExit,
    ShoppingCartEnter,
    ShoppingCartExit,
    CheckoutEnter,
    CheckoutExit,
    PurchaseConfirmationEnter,
    PurchaseConfirmationExit,
    SettingsEnter,
    SettingsExit,
    ProfileEnter,
    ProfileExit,
    PaymentDetailsEnter,
    PaymentDetailsExit,
    ShippingDetailsEnter,
    ShippingDetailsExit,
    SendMoneyEnter,
    SendMoneyExit,
    GiftCardEnter,
    GiftCardExit,
    LoginAttempt,
    ForgotPassword,
    SignUp,
    SignUpAttempt,
    Search,
    AddToCart,
    RemoveFromCart,
    ShowCart,
    ProceedToCheckout,
    ConfirmPaymentMethod,
    ConfirmShippingMethod,
    CompleteOrder,
};

// The integer code reports carry (0 to 40).
constexpr int rawValue(UserEventType event) { return static_cast<int>(event); }
// Nothing for codes outside 0 to 40.
std::optional<UserEventType> userEventTypeFromRawValue(int raw);

// The enter and exit events of a screen tag; None for None.
UserEventType enterEvent(ScreenTags tag);
UserEventType exitEvent(ScreenTags tag);

}  // namespace quarra
