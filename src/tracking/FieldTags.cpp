#include <quarra/tracking/FieldTags.hpp>

#include "tracking/RawValueTable.hpp"

namespace quarra {
namespace {

constexpr std::array<std::string_view, 28> kRawValues = {
    "Undefined",
    "LoginID",
    "Password",
    "ProductSearch",
    "AddToCart",
    "RemoveFromCart",
    "TransferRecipient",
    "TransferSender",
    "TransferToAccount",
    "TransferAmount",
    "TransferDate",
    "BillingFirstName",
    "BillingLastName",
    "BillingAddressLine1",
    "BillingAddressLine2",
    "BillingCity",
    "BillingRegion",
    "BillingPostalCode",
    "BillingCountryCode",
    "PurchaseCardNumber",
    "PurchaseCardExpirationDateFull",
    "PurchaseCardExpirationDateMonth",
    "PurchaseCardExpirationDateYear",
    "PurchaseCardCVV",
    "PurchaseAlternateAccount",
    "DeliveryRecipient",
    "DeliveryMethod",
    "LoginPickerView",
};
static_assert(static_cast<size_t>(FieldTags::LoginPickerView) + 1 == kRawValues.size());

}  // namespace

std::string_view rawValue(FieldTags tag) { return rawValueOf(kRawValues, tag); }

std::optional<FieldTags> fieldTagsFromRawValue(std::string_view raw) {
    return caseForRawValue<FieldTags>(kRawValues, raw);
}

}  // namespace quarra
