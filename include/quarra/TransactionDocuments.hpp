#pragma once
/**
 * @file
 * @brief The records a host fills in for the transaction interface (QuarraManager).
 *
 * Each record is a plain value with a memberwise constructor. toJSON() writes
 * the record under the transaction platform's keys (which often differ from
 * the member names, e.g. "paymentId" for paymentID, "class" for
 * shippingClass); fromJSON() reads it back and gives none when a key is
 * missing or holds the wrong JSON type. Neither throws. Amounts must be
 * finite numbers to be sent.
 *
 * Every record is a value type: use one from any thread (one writer, or many
 * readers), copy it freely; no member blocks or keeps anything.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Json.hpp>

namespace quarra {

/**
 * @brief An amount of money: {"amount": number, "currencyCode": text}.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API TotalAmount {
    /// Memberwise.
    TotalAmount(double amount, std::string currencyCode);

    double amount;             ///< "amount": the value, a finite number.
    std::string currencyCode;  ///< "currencyCode": the currency's code ("USD").

    /// Memberwise equality.
    bool operator==(const TotalAmount&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type.
    static std::optional<TotalAmount> fromJSON(const JSONDictionary& json);
};

/**
 * @brief A postal address; every key equals the member name.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API IngAddress {
    /// Memberwise.
    IngAddress(std::string firstName, std::string lastName, std::string addressLine1, std::string addressLine2,
               std::string unitNumber, std::string buildingNumber, std::string streetOrBlock,
               std::string neighborhood, std::string city, std::string regionCode, std::string postalCode,
               std::string countryCode);

    std::string firstName;       ///< The addressee's first name.
    std::string lastName;        ///< The addressee's last name.
    std::string addressLine1;    ///< First address line.
    std::string addressLine2;    ///< Second address line.
    std::string unitNumber;      ///< Flat or unit.
    std::string buildingNumber;  ///< Building number.
    std::string streetOrBlock;   ///< Street or block.
    std::string neighborhood;    ///< Neighbourhood or district.
    std::string city;            ///< City or town.
    std::string regionCode;      ///< State, province or region code.
    std::string postalCode;      ///< Postal code.
    std::string countryCode;     ///< Country code.

    /// Memberwise equality.
    bool operator==(const IngAddress&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type.
    static std::optional<IngAddress> fromJSON(const JSONDictionary& json);
};

/**
 * @brief The card processor's verification answers for one card.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API ResponseCodes {
    /// Memberwise.
    ResponseCodes(std::string addressVerification, std::string authorization, std::string cardVerificationValue);

    std::string addressVerification;    ///< "addressVerification": the address check's answer.
    std::string authorization;          ///< "authorization": the authorisation's answer.
    std::string cardVerificationValue;  ///< "cardVerificationValue": the CVV check's answer.

    /// Memberwise equality.
    bool operator==(const ResponseCodes&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type.
    static std::optional<ResponseCodes> fromJSON(const JSONDictionary& json);
};

/**
 * @brief One card payment.
 *
 * Without response codes the key "responseCodes" is left out entirely (not
 * written as null).
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API CreditCard {
    /// Memberwise.
    CreditCard(std::string binNumber, std::string lastFour, std::string paymentID, std::string gateway,
               IngAddress billingAddress, TotalAmount amount, std::optional<ResponseCodes> responseCodes = std::nullopt);

    std::string binNumber;       ///< "binNumber": the card's leading digits.
    std::string lastFour;        ///< "lastFour": the card's last four digits.
    std::string paymentID;       ///< "paymentId": the host's payment identifier.
    std::string gateway;         ///< "gateway": the payment gateway.
    IngAddress billingAddress;   ///< "billingAddress"
    TotalAmount amount;          ///< "amount": what the card pays.
    std::optional<ResponseCodes> responseCodes;  ///< "responseCodes", only when present.

    /// Memberwise equality.
    bool operator==(const CreditCard&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a required key is missing or any key is of the wrong type.
    static std::optional<CreditCard> fromJSON(const JSONDictionary& json);
};

/**
 * @brief One PayPal payment.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API PayPal {
    /// Memberwise.
    PayPal(IngAddress billingAddress, TotalAmount amount, std::string payPalPayerId);

    IngAddress billingAddress;   ///< "billingAddress"
    TotalAmount amount;          ///< "amount": what the payment covers.
    std::string payPalPayerId;   ///< "payPalPayerId": the payer's PayPal identifier.

    /// Memberwise equality.
    bool operator==(const PayPal&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type.
    static std::optional<PayPal> fromJSON(const JSONDictionary& json);
};

/**
 * @brief All payments of an order; empty lists are written as [].
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Payments {
    /// Memberwise.
    Payments(std::vector<CreditCard> creditCards, std::vector<PayPal> payPal);

    std::vector<CreditCard> creditCards;  ///< "creditCards"
    std::vector<PayPal> payPal;           ///< "payPal"

    /// Memberwise equality.
    bool operator==(const Payments&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or any item does not read.
    static std::optional<Payments> fromJSON(const JSONDictionary& json);
};

/**
 * @brief One shipment of an order.
 *
 * `date` and `pickupTime` are passed through as given.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Shipping {
    /// Memberwise.
    Shipping(std::string deliveryMethod, std::string carrier, std::string date, std::string shippingClass,
             TotalAmount amount, std::string pickupLocation, std::string pickupTime, IngAddress shippingAddress,
             std::string phoneNumber, std::string email);

    std::string deliveryMethod;   ///< "deliveryMethod"
    std::string carrier;          ///< "carrier"
    std::string date;             ///< "date", as given.
    std::string shippingClass;    ///< "class"
    TotalAmount amount;           ///< "amount": the shipping cost.
    std::string pickupLocation;   ///< "pickupLocation"
    std::string pickupTime;       ///< "pickupTime", as given.
    IngAddress shippingAddress;   ///< "shippingAddress"
    std::string phoneNumber;      ///< "phoneNumber"
    std::string email;            ///< "email"

    /// Memberwise equality.
    bool operator==(const Shipping&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type.
    static std::optional<Shipping> fromJSON(const JSONDictionary& json);
};

/**
 * @brief A host-defined field of an order; every key equals the member name.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API CustomData {
    /// Memberwise.
    CustomData(std::string key, std::string value, std::string valueType, std::string description,
               std::string displayName, bool isRequired, int64_t minRange, int64_t maxRange);

    std::string key;          ///< The field's key.
    std::string value;        ///< The field's value, as text.
    std::string valueType;    ///< What kind of value it is.
    std::string description;  ///< What the field means.
    std::string displayName;  ///< The field's name for people.
    bool isRequired;          ///< Whether the order must have it.
    int64_t minRange;         ///< Lower bound of the value.
    int64_t maxRange;         ///< Upper bound of the value.

    /// Memberwise equality.
    bool operator==(const CustomData&) const = default;
    /// The record under the platform's keys.
    JSONDictionary toJSON() const;
    /// The record read back; none when a key is missing or of the wrong type (the ranges must be whole numbers).
    static std::optional<CustomData> fromJSON(const JSONDictionary& json);
};

/**
 * @brief One explanation item of an order's score; "description" only when present.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API ScoreInsightsk {
    /// Memberwise.
    explicit ScoreInsightsk(std::optional<std::string> description = std::nullopt);

    std::optional<std::string> description;  ///< "description", only when present.

    /// Memberwise equality.
    bool operator==(const ScoreInsightsk&) const = default;
    /// The record under the platform's keys ({} without a description).
    JSONDictionary toJSON() const;
    /// The record read back; none when "description" holds something other than text.
    static std::optional<ScoreInsightsk> fromJSON(const JSONDictionary& json);
};

}  // namespace quarra
