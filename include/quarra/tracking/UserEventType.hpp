#pragma once
/**
 * @file
 * @brief The user events the service knows, as integer codes.
 *
 * Built by rule: 0 is None; the screen tag with ordinal k has
 * `<Tag>Enter` = 2k - 1 and `<Tag>Exit` = 2k; 29 to 40 are the button
 * actions in their order. The functions here are pure: any thread, no lock,
 * never block.
 */
#include <quarra/Export.hpp>
#include <optional>

#include <quarra/tracking/ScreenTags.hpp>

namespace quarra {

/// A user event; reports carry its integer code (rawValue()).
enum class UserEventType {
    None = 0,                   ///< 0: no event.
    LoginEnter,                 ///< 1: entered the Login screen.
    LoginExit,                  ///< 2: left the Login screen.
    ForgotPasswordEnter,        ///< 3: entered the ForgotPassword screen.
    ForgotPasswordExit,         ///< 4: left the ForgotPassword screen.
    SignUpEnter,                ///< 5: entered the SignUp screen.
    SignUpExit,                 ///< 6: left the SignUp screen.
    ProductsListEnter,          ///< 7: entered the ProductsList screen.
    ProductsListExit,           ///< 8: left the ProductsList screen.
    ProductDetailEnter,         ///< 9: entered the ProductDetail screen.
    ProductDetailExit,          ///< 10: left the ProductDetail screen.
    ShoppingCartEnter,          ///< 11: entered the ShoppingCart screen.
    ShoppingCartExit,           ///< 12: left the ShoppingCart screen.
    CheckoutEnter,              ///< 13: entered the Checkout screen.
    CheckoutExit,               ///< 14: left the Checkout screen.
    PurchaseConfirmationEnter,  ///< 15: entered the PurchaseConfirmation screen.
    PurchaseConfirmationExit,   ///< 16: left the PurchaseConfirmation screen.
    SettingsEnter,              ///< 17: entered the Settings screen.
    SettingsExit,               ///< 18: left the Settings screen.
    ProfileEnter,               ///< 19: entered the Profile screen.
    ProfileExit,                ///< 20: left the Profile screen.
    PaymentDetailsEnter,        ///< 21: entered the PaymentDetails screen.
    PaymentDetailsExit,         ///< 22: left the PaymentDetails screen.
    ShippingDetailsEnter,       ///< 23: entered the ShippingDetails screen.
    ShippingDetailsExit,        ///< 24: left the ShippingDetails screen.
    SendMoneyEnter,             ///< 25: entered the SendMoney screen.
    SendMoneyExit,              ///< 26: left the SendMoney screen.
    GiftCardEnter,              ///< 27: entered the GiftCard screen.
    GiftCardExit,               ///< 28: left the GiftCard screen.
    LoginAttempt,               ///< 29: a tap with the LoginAttempt action.
    ForgotPassword,             ///< 30: a tap with the ForgotPassword action.
    SignUp,                     ///< 31: a tap with the SignUp action.
    SignUpAttempt,              ///< 32: a tap with the SignUpAttempt action.
    Search,                     ///< 33: a tap with the Search action.
    AddToCart,                  ///< 34: a tap with the AddToCart action.
    RemoveFromCart,             ///< 35: a tap with the RemoveFromCart action.
    ShowCart,                   ///< 36: a tap with the ShowCart action.
    ProceedToCheckout,          ///< 37: a tap with the ProceedToCheckout action.
    ConfirmPaymentMethod,       ///< 38: a tap with the ConfirmPaymentMethod action.
    ConfirmShippingMethod,      ///< 39: a tap with the ConfirmShippingMethod action.
    CompleteOrder,              ///< 40: a tap with the CompleteOrder action.
};

/**
 * @brief The integer code reports carry (0 to 40).
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
constexpr int rawValue(UserEventType event) { return static_cast<int>(event); }

/**
 * @brief The event with code `raw`; nothing for codes outside 0 to 40.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::optional<UserEventType> userEventTypeFromRawValue(int raw);

/**
 * @brief The enter event of a screen tag; None for None.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API UserEventType enterEvent(ScreenTags tag);

/**
 * @brief The exit event of a screen tag; None for None.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API UserEventType exitEvent(ScreenTags tag);

}  // namespace quarra
