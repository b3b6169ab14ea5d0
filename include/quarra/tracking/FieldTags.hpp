#pragma once
// The kinds of form field the service knows. The raw string is what a report
// carries in "element".
#include <optional>
#include <string_view>

namespace quarra {

enum class FieldTags {
    None,
    LoginID,
    Password,
    ProductSearch,
    AddToCart,
    RemoveFromCart,
    TransferRecipient,
    TransferSender,
    TransferToAccount,
    TransferAmount,
    TransferDate,
    BillingFirstName,
    BillingLastName,
    BillingAddressLine1,
    BillingAddressLine2,
    BillingCity,
    BillingRegion,
    BillingPostalCode,
    BillingCountryCode,
    PurchaseCardNumber,
    PurchaseCardExpirationDateFull,
    PurchaseCardExpirationDateMonth,
    PurchaseCardExpirationDateYear,
    PurchaseCardCVV,
    PurchaseAlternateAccount,
    DeliveryRecipient,
    DeliveryMethod,
    LoginPickerView,
};

// "Undefined" for None, the case name for every other tag.
std::string_view rawValue(FieldTags tag);
// Exact, case-sensitive match against the raw strings; nothing for any other
// text (the empty string and "None" included).
std::optional<FieldTags> fieldTagsFromRawValue(std::string_view raw);

}  // namespace quarra
