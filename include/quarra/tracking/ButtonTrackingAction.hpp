#pragma once
// The button actions the service knows. The raw string is what a tap report
// carries in "userEventType".
#include <optional>
#include <string_view>

namespace quarra {

enum class ButtonTrackingAction {
    None,
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

// "Undefined" for None, the case name for every other action.
std::string_view rawValue(ButtonTrackingAction action);
// Exact, case-sensitive match against the raw strings.
std::optional<ButtonTrackingAction> buttonTrackingActionFromRawValue(std::string_view raw);

}  // namespace quarra
