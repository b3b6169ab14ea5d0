#pragma once
/**
 * @file
 * @brief The button actions the service knows.
 *
 * The raw string is what a tap report carries in "userEventType". The
 * functions here are pure: any thread, no lock, never block.
 */
#include <quarra/Export.hpp>
#include <optional>
#include <string_view>

namespace quarra {

/// What a tracked button does; names the tap's user event (TrackingButton::setTrackingAction()).
enum class ButtonTrackingAction {
    None,                   ///< Raw "Undefined": taps are not reported.
    LoginAttempt,           ///< Submits a login.
    ForgotPassword,         ///< Opens password recovery.
    SignUp,                 ///< Opens sign-up.
    SignUpAttempt,          ///< Submits a sign-up.
    Search,                 ///< Runs a search.
    AddToCart,              ///< Adds a product to the cart.
    RemoveFromCart,         ///< Removes a product from the cart.
    ShowCart,               ///< Shows the cart.
    ProceedToCheckout,      ///< Goes to checkout.
    ConfirmPaymentMethod,   ///< Confirms the payment method.
    ConfirmShippingMethod,  ///< Confirms the shipping method.
    CompleteOrder,          ///< Places the order.
};

/**
 * @brief "Undefined" for None, the case name for every other action.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The text is static: valid for the whole process.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::string_view rawValue(ButtonTrackingAction action);

/**
 * @brief The action whose raw string is exactly `raw` (case-sensitive); none for any other text.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::optional<ButtonTrackingAction> buttonTrackingActionFromRawValue(std::string_view raw);

}  // namespace quarra
