#pragma once
// The screens the service knows, for tagged screen tracking.
#include <optional>
#include <string_view>

namespace quarra {

enum class ScreenTags {
    None,
    Login,
    ForgotPassword,
    SignUp,
    ProductsList,
    ProductDetail,
    ShoppingCart,
    Checkout,
    PurchaseConfirmation,
    Settings,
    Profile,
    PaymentDetails,
    ShippingDetails,
    SendMoney,
    GiftCard,
};

// "Undefined" for None, the case name for every other tag.
std::string_view rawValue(ScreenTags tag);
// The case name ("None", "ForgotPassword"); console lines name tags so.
std::string_view caseName(ScreenTags tag);
// Exact, case-sensitive match against the raw strings.
std::optional<ScreenTags> screenTagsFromRawValue(std::string_view raw);

}  // namespace quarra
