#pragma once
/**
 * @file
 * @brief The tag vocabularies as Qt enums, for Q_PROPERTY and the meta-object
 * system (a property editor offers their keys; a typo does not compile).
 *
 * Each mirrors one of the library's own enums case for case and converts to
 * it; the raw strings the library sends stay its own (FieldTags' None is
 * "Undefined", for instance).
 */
#include <quarra/qt/Export.hpp>
#include <QObject>

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/FieldTags.hpp>
#include <quarra/tracking/ScreenTags.hpp>

namespace quarra::qt {

/**
 * @brief The field tags, screen tags and button actions as Q_ENUMs.
 *
 * @par Thread
 * Any thread; it holds nothing.
 * @par Lifetime
 * Values only.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API Tags {
    Q_GADGET

public:
    /// A text field or picker tag; the same cases, in the same order, as FieldTags.
    enum class Field {
        None,                             ///< FieldTags::None.
        LoginID,                          ///< FieldTags::LoginID.
        Password,                         ///< FieldTags::Password.
        ProductSearch,                    ///< FieldTags::ProductSearch.
        AddToCart,                        ///< FieldTags::AddToCart.
        RemoveFromCart,                   ///< FieldTags::RemoveFromCart.
        TransferRecipient,                ///< FieldTags::TransferRecipient.
        TransferSender,                   ///< FieldTags::TransferSender.
        TransferToAccount,                ///< FieldTags::TransferToAccount.
        TransferAmount,                   ///< FieldTags::TransferAmount.
        TransferDate,                     ///< FieldTags::TransferDate.
        BillingFirstName,                 ///< FieldTags::BillingFirstName.
        BillingLastName,                  ///< FieldTags::BillingLastName.
        BillingAddressLine1,              ///< FieldTags::BillingAddressLine1.
        BillingAddressLine2,              ///< FieldTags::BillingAddressLine2.
        BillingCity,                      ///< FieldTags::BillingCity.
        BillingRegion,                    ///< FieldTags::BillingRegion.
        BillingPostalCode,                ///< FieldTags::BillingPostalCode.
        BillingCountryCode,               ///< FieldTags::BillingCountryCode.
        PurchaseCardNumber,               ///< FieldTags::PurchaseCardNumber.
        PurchaseCardExpirationDateFull,   ///< FieldTags::PurchaseCardExpirationDateFull.
        PurchaseCardExpirationDateMonth,  ///< FieldTags::PurchaseCardExpirationDateMonth.
        PurchaseCardExpirationDateYear,   ///< FieldTags::PurchaseCardExpirationDateYear.
        PurchaseCardCVV,                  ///< FieldTags::PurchaseCardCVV.
        PurchaseAlternateAccount,         ///< FieldTags::PurchaseAlternateAccount.
        DeliveryRecipient,                ///< FieldTags::DeliveryRecipient.
        DeliveryMethod,                   ///< FieldTags::DeliveryMethod.
        LoginPickerView,                  ///< FieldTags::LoginPickerView.
    };
    Q_ENUM(Field)

    /// A screen tag; the same cases, in the same order, as ScreenTags.
    enum class Screen {
        None,                  ///< ScreenTags::None.
        Login,                 ///< ScreenTags::Login.
        ForgotPassword,        ///< ScreenTags::ForgotPassword.
        SignUp,                ///< ScreenTags::SignUp.
        ProductsList,          ///< ScreenTags::ProductsList.
        ProductDetail,         ///< ScreenTags::ProductDetail.
        ShoppingCart,          ///< ScreenTags::ShoppingCart.
        Checkout,              ///< ScreenTags::Checkout.
        PurchaseConfirmation,  ///< ScreenTags::PurchaseConfirmation.
        Settings,              ///< ScreenTags::Settings.
        Profile,               ///< ScreenTags::Profile.
        PaymentDetails,        ///< ScreenTags::PaymentDetails.
        ShippingDetails,       ///< ScreenTags::ShippingDetails.
        SendMoney,             ///< ScreenTags::SendMoney.
        GiftCard,              ///< ScreenTags::GiftCard.
    };
    Q_ENUM(Screen)

    /// A button tracking action; the same cases, in the same order, as ButtonTrackingAction.
    enum class Action {
        None,                   ///< ButtonTrackingAction::None.
        LoginAttempt,           ///< ButtonTrackingAction::LoginAttempt.
        ForgotPassword,         ///< ButtonTrackingAction::ForgotPassword.
        SignUp,                 ///< ButtonTrackingAction::SignUp.
        SignUpAttempt,          ///< ButtonTrackingAction::SignUpAttempt.
        Search,                 ///< ButtonTrackingAction::Search.
        AddToCart,              ///< ButtonTrackingAction::AddToCart.
        RemoveFromCart,         ///< ButtonTrackingAction::RemoveFromCart.
        ShowCart,               ///< ButtonTrackingAction::ShowCart.
        ProceedToCheckout,      ///< ButtonTrackingAction::ProceedToCheckout.
        ConfirmPaymentMethod,   ///< ButtonTrackingAction::ConfirmPaymentMethod.
        ConfirmShippingMethod,  ///< ButtonTrackingAction::ConfirmShippingMethod.
        CompleteOrder,          ///< ButtonTrackingAction::CompleteOrder.
    };
    Q_ENUM(Action)

    /// The library's tag.
    static constexpr FieldTags toLibrary(Field tag) { return static_cast<FieldTags>(tag); }
    /// The library's tag.
    static constexpr ScreenTags toLibrary(Screen tag) { return static_cast<ScreenTags>(tag); }
    /// The library's action.
    static constexpr ButtonTrackingAction toLibrary(Action action) { return static_cast<ButtonTrackingAction>(action); }
    /// The Qt enum of a library tag.
    static constexpr Field fromLibrary(FieldTags tag) { return static_cast<Field>(tag); }
    /// The Qt enum of a library tag.
    static constexpr Screen fromLibrary(ScreenTags tag) { return static_cast<Screen>(tag); }
    /// The Qt enum of a library action.
    static constexpr Action fromLibrary(ButtonTrackingAction action) { return static_cast<Action>(action); }
};

// The mirrors end where the library's enums end.
static_assert(Tags::toLibrary(Tags::Field::LoginPickerView) == FieldTags::LoginPickerView);
static_assert(Tags::toLibrary(Tags::Screen::GiftCard) == ScreenTags::GiftCard);
static_assert(Tags::toLibrary(Tags::Action::CompleteOrder) == ButtonTrackingAction::CompleteOrder);

}  // namespace quarra::qt
