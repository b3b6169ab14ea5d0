// Shipping, CustomData and ScoreInsightsk: the order's other host-visible records.
#include <quarra/TransactionDocuments.hpp>

#include "transactions/DocumentReader.hpp"

namespace quarra {

Shipping::Shipping(std::string deliveryMethod, std::string carrier, std::string date, std::string shippingClass,
                   TotalAmount amount, std::string pickupLocation, std::string pickupTime, IngAddress shippingAddress,
                   std::string phoneNumber, std::string email)
    : deliveryMethod(std::move(deliveryMethod)),
      carrier(std::move(carrier)),
      date(std::move(date)),
      shippingClass(std::move(shippingClass)),
      amount(std::move(amount)),
      pickupLocation(std::move(pickupLocation)),
      pickupTime(std::move(pickupTime)),
      shippingAddress(std::move(shippingAddress)),
      phoneNumber(std::move(phoneNumber)),
      email(std::move(email)) {}

JSONDictionary Shipping::toJSON() const {
    return {
        {"deliveryMethod", deliveryMethod},
        {"carrier", carrier},
        {"date", date},
        {"class", shippingClass},
        {"amount", amount.toJSON()},
        {"pickupLocation", pickupLocation},
        {"pickupTime", pickupTime},
        {"shippingAddress", shippingAddress.toJSON()},
        {"phoneNumber", phoneNumber},
        {"email", email},
    };
}

std::optional<Shipping> Shipping::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto deliveryMethod = reader.required<std::string>("deliveryMethod");
    auto carrier = reader.required<std::string>("carrier");
    auto date = reader.required<std::string>("date");
    auto shippingClass = reader.required<std::string>("class");
    auto amount = reader.required<TotalAmount>("amount");
    auto pickupLocation = reader.required<std::string>("pickupLocation");
    auto pickupTime = reader.required<std::string>("pickupTime");
    auto shippingAddress = reader.required<IngAddress>("shippingAddress");
    auto phoneNumber = reader.required<std::string>("phoneNumber");
    auto email = reader.required<std::string>("email");
    if (!reader.ok()) return std::nullopt;
    return Shipping(std::move(*deliveryMethod), std::move(*carrier), std::move(*date), std::move(*shippingClass),
                    std::move(*amount), std::move(*pickupLocation), std::move(*pickupTime),
                    std::move(*shippingAddress), std::move(*phoneNumber), std::move(*email));
}

CustomData::CustomData(std::string key, std::string value, std::string valueType, std::string description,
                       std::string displayName, bool isRequired, int64_t minRange, int64_t maxRange)
    : key(std::move(key)),
      value(std::move(value)),
      valueType(std::move(valueType)),
      description(std::move(description)),
      displayName(std::move(displayName)),
      isRequired(isRequired),
      minRange(minRange),
      maxRange(maxRange) {}

JSONDictionary CustomData::toJSON() const {
    return {
        {"key", key},
        {"value", value},
        {"valueType", valueType},
        {"description", description},
        {"displayName", displayName},
        {"isRequired", isRequired},
        {"minRange", minRange},
        {"maxRange", maxRange},
    };
}

std::optional<CustomData> CustomData::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto key = reader.required<std::string>("key");
    auto value = reader.required<std::string>("value");
    auto valueType = reader.required<std::string>("valueType");
    auto description = reader.required<std::string>("description");
    auto displayName = reader.required<std::string>("displayName");
    auto isRequired = reader.required<bool>("isRequired");
    auto minRange = reader.required<int64_t>("minRange");
    auto maxRange = reader.required<int64_t>("maxRange");
    if (!reader.ok()) return std::nullopt;
    return CustomData(std::move(*key), std::move(*value), std::move(*valueType), std::move(*description),
                      std::move(*displayName), *isRequired, *minRange, *maxRange);
}

ScoreInsightsk::ScoreInsightsk(std::optional<std::string> description) : description(std::move(description)) {}

JSONDictionary ScoreInsightsk::toJSON() const {
    auto json = JSONDictionary::object();
    if (description) json["description"] = *description;
    return json;
}

std::optional<ScoreInsightsk> ScoreInsightsk::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto description = reader.optional<std::string>("description");
    if (!reader.ok()) return std::nullopt;
    return ScoreInsightsk(std::move(description));
}

}  // namespace quarra
