#pragma once
// The records a host fills in for the transaction interface (QuarraManager).
//
// Each record is a plain value with a memberwise constructor. toJSON() writes
// the record under the transaction platform's keys (which often differ from
// the member names, e.g. "paymentId" for paymentID, "class" for
// shippingClass); fromJSON() reads it back and gives none when a key is
// missing or holds the wrong JSON type. Neither throws. Amounts must be
// finite numbers to be sent.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Json.hpp>

namespace quarra {

// An amount of money: {"amount": number, "currencyCode": text}.
struct TotalAmount {
    TotalAmount(double amount, std::string currencyCode);

    double amount;
    std::string currencyCode;

    bool operator==(const TotalAmount&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<TotalAmount> fromJSON(const JSONDictionary& json);
};

// A postal address; every key equals the member name.
struct IngAddress {
    IngAddress(std::string firstName, std::string lastName, std::string addressLine1, std::string addressLine2,
               std::string unitNumber, std::string buildingNumber, std::string streetOrBlock,
               std::string neighborhood, std::string city, std::string regionCode, std::string postalCode,
               std::string countryCode);

    std::string firstName;
    std::string lastName;
    std::string addressLine1;
    std::string addressLine2;
    std::string unitNumber;
    std::string buildingNumber;
    std::string streetOrBlock;
    std::string neighborhood;
    std::string city;
    std::string regionCode;
    std::string postalCode;
    std::string countryCode;

    bool operator==(const IngAddress&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<IngAddress> fromJSON(const JSONDictionary& json);
};

// The card processor's verification answers for one card.
struct ResponseCodes {
    ResponseCodes(std::string addressVerification, std::string authorization, std::string cardVerificationValue);

    std::string addressVerification;
    std::string authorization;
    std::string cardVerificationValue;

    bool operator==(const ResponseCodes&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<ResponseCodes> fromJSON(const JSONDictionary& json);
};

// One card payment. Without response codes the key "responseCodes" is left
// out entirely (not written as null).
struct CreditCard {
    CreditCard(std::string binNumber, std::string lastFour, std::string paymentID, std::string gateway,
               IngAddress billingAddress, TotalAmount amount, std::optional<ResponseCodes> responseCodes = std::nullopt);

    std::string binNumber;       // "binNumber"
    std::string lastFour;        // "lastFour"
    std::string paymentID;       // "paymentId"
    std::string gateway;         // "gateway"
    IngAddress billingAddress;   // "billingAddress"
    TotalAmount amount;          // "amount"
    std::optional<ResponseCodes> responseCodes;  // "responseCodes", only when present

    bool operator==(const CreditCard&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<CreditCard> fromJSON(const JSONDictionary& json);
};

struct PayPal {
    PayPal(IngAddress billingAddress, TotalAmount amount, std::string payPalPayerId);

    IngAddress billingAddress;   // "billingAddress"
    TotalAmount amount;          // "amount"
    std::string payPalPayerId;   // "payPalPayerId"

    bool operator==(const PayPal&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<PayPal> fromJSON(const JSONDictionary& json);
};

// All payments of an order; empty lists are written as [].
struct Payments {
    Payments(std::vector<CreditCard> creditCards, std::vector<PayPal> payPal);

    std::vector<CreditCard> creditCards;  // "creditCards"
    std::vector<PayPal> payPal;           // "payPal"

    bool operator==(const Payments&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<Payments> fromJSON(const JSONDictionary& json);
};

// One shipment of an order. `date` and `pickupTime` are passed through as given.
struct Shipping {
    Shipping(std::string deliveryMethod, std::string carrier, std::string date, std::string shippingClass,
             TotalAmount amount, std::string pickupLocation, std::string pickupTime, IngAddress shippingAddress,
             std::string phoneNumber, std::string email);

    std::string deliveryMethod;   // "deliveryMethod"
    std::string carrier;          // "carrier"
    std::string date;             // "date"
    std::string shippingClass;    // "class"
    TotalAmount amount;           // "amount"
    std::string pickupLocation;   // "pickupLocation"
    std::string pickupTime;       // "pickupTime"
    IngAddress shippingAddress;   // "shippingAddress"
    std::string phoneNumber;      // "phoneNumber"
    std::string email;            // "email"

    bool operator==(const Shipping&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<Shipping> fromJSON(const JSONDictionary& json);
};

// A host-defined field of an order; every key equals the member name.
struct CustomData {
    CustomData(std::string key, std::string value, std::string valueType, std::string description,
               std::string displayName, bool isRequired, int64_t minRange, int64_t maxRange);

    std::string key;
    std::string value;
    std::string valueType;
    std::string description;
    std::string displayName;
    bool isRequired;
    int64_t minRange;
    int64_t maxRange;

    bool operator==(const CustomData&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<CustomData> fromJSON(const JSONDictionary& json);
};

// One explanation item of an order's score; "description" only when present.
struct ScoreInsightsk {
    explicit ScoreInsightsk(std::optional<std::string> description = std::nullopt);

    std::optional<std::string> description;

    bool operator==(const ScoreInsightsk&) const = default;
    JSONDictionary toJSON() const;
    static std::optional<ScoreInsightsk> fromJSON(const JSONDictionary& json);
};

}  // namespace quarra
