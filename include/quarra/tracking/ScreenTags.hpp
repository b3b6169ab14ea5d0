#pragma once
/**
 * @file
 * @brief The screens the service knows, for tagged screen tracking.
 *
 * The functions here are pure: any thread, no lock, never block.
 */
#include <quarra/Export.hpp>
#include <optional>
#include <string_view>

namespace quarra {

/// A screen's tag; names its coded enter and exit events (see UserEventType).
enum class ScreenTags {
    None,                  ///< Raw "Undefined": the screen reports nothing.
    Login,                 ///< The login screen.
    ForgotPassword,        ///< Password recovery.
    SignUp,                ///< Sign-up.
    ProductsList,          ///< A list of products.
    ProductDetail,         ///< One product.
    ShoppingCart,          ///< The cart.
    Checkout,              ///< Checkout.
    PurchaseConfirmation,  ///< The order's confirmation.
    Settings,              ///< Settings.
    Profile,               ///< The user's profile.
    PaymentDetails,        ///< Payment details.
    ShippingDetails,       ///< Shipping details.
    SendMoney,             ///< A money transfer.
    GiftCard,              ///< Gift cards.
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
QUARRA_API std::string_view rawValue(ScreenTags tag);

/**
 * @brief The case name ("None", "ForgotPassword"); console lines name tags so.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The text is static: valid for the whole process.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::string_view caseName(ScreenTags tag);

/**
 * @brief The tag whose raw string is exactly `raw` (case-sensitive); none for any other text.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::optional<ScreenTags> screenTagsFromRawValue(std::string_view raw);

}  // namespace quarra
