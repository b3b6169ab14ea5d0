#include <quarra/tracking/ButtonTrackingAction.hpp>

#include "tracking/RawValueTable.hpp"

namespace quarra {
namespace {

constexpr std::array<std::string_view, 13> kRawValues = {
    "Undefined",      "LoginAttempt", "ForgotPassword",    "SignUp",
    "SignUpAttempt",  "Search",       "AddToCart",         "RemoveFromCart",
    "ShowCart",       "ProceedToCheckout", "ConfirmPaymentMethod", "ConfirmShippingMethod",
    "CompleteOrder",
};
static_assert(static_cast<size_t>(ButtonTrackingAction::CompleteOrder) + 1 == kRawValues.size());

}  // namespace

std::string_view rawValue(ButtonTrackingAction action) { return rawValueOf(kRawValues, action); }

std::optional<ButtonTrackingAction> buttonTrackingActionFromRawValue(std::string_view raw) {
    return caseForRawValue<ButtonTrackingAction>(kRawValues, raw);
}

}  // namespace quarra
