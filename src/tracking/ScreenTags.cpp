#include <quarra/tracking/ScreenTags.hpp>

#include "tracking/RawValueTable.hpp"

namespace quarra {
namespace {

constexpr std::array<std::string_view, 15> kRawValues = {
    "Undefined",      "Login",           "ForgotPassword",  "SignUp",   "ProductsList",
    "ProductDetail",  "ShoppingCart",    "Checkout",        "PurchaseConfirmation",
    "Settings",       "Profile",         "PaymentDetails",  "ShippingDetails",
    "SendMoney",      "GiftCard",
};
static_assert(static_cast<size_t>(ScreenTags::GiftCard) + 1 == kRawValues.size());

}  // namespace

std::string_view rawValue(ScreenTags tag) { return rawValueOf(kRawValues, tag); }

std::string_view caseName(ScreenTags tag) { return tag == ScreenTags::None ? "None" : rawValue(tag); }

std::optional<ScreenTags> screenTagsFromRawValue(std::string_view raw) {
    return caseForRawValue<ScreenTags>(kRawValues, raw);
}

}  // namespace quarra
