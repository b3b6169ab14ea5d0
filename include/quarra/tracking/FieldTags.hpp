#pragma once
/**
 * @file
 * @brief The kinds of form field the service knows.
 *
 * The raw string is what a report carries in "element". The functions here
 * are pure: any thread, no lock, never block.
 */
#include <quarra/Export.hpp>
#include <optional>
#include <string_view>

namespace quarra {

/// What a tracked field holds; labels its activity-stream reports.
enum class FieldTags {
    None,                             ///< Raw "Undefined": text fields report nothing with it; a picker reports it.
    LoginID,                          ///< The login name or e-mail.
    Password,                         ///< The password.
    ProductSearch,                    ///< A product search.
    AddToCart,                        ///< A quantity added to the cart.
    RemoveFromCart,                   ///< A quantity removed from the cart.
    TransferRecipient,                ///< A transfer's recipient.
    TransferSender,                   ///< A transfer's sender.
    TransferToAccount,                ///< A transfer's target account.
    TransferAmount,                   ///< A transfer's amount.
    TransferDate,                     ///< A transfer's date.
    BillingFirstName,                 ///< The billing first name.
    BillingLastName,                  ///< The billing last name.
    BillingAddressLine1,              ///< The billing address, first line.
    BillingAddressLine2,              ///< The billing address, second line.
    BillingCity,                      ///< The billing city.
    BillingRegion,                    ///< The billing region.
    BillingPostalCode,                ///< The billing postal code.
    BillingCountryCode,               ///< The billing country code.
    PurchaseCardNumber,               ///< The card number.
    PurchaseCardExpirationDateFull,   ///< The card's expiry date, whole.
    PurchaseCardExpirationDateMonth,  ///< The card's expiry month.
    PurchaseCardExpirationDateYear,   ///< The card's expiry year.
    PurchaseCardCVV,                  ///< The card's verification value.
    PurchaseAlternateAccount,         ///< Another account to pay from.
    DeliveryRecipient,                ///< The delivery's recipient.
    DeliveryMethod,                   ///< The delivery method.
    LoginPickerView,                  ///< A picker on the login screen.
};

/**
 * @brief "Undefined" for None, the case name for every other tag.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The text is static: valid for the whole process.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::string_view rawValue(FieldTags tag);

/**
 * @brief The tag whose raw string is exactly `raw` (case-sensitive).
 *
 * Nothing for any other text (the empty string and "None" included).
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::optional<FieldTags> fieldTagsFromRawValue(std::string_view raw);

}  // namespace quarra
