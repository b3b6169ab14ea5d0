// TotalAmount and IngAddress: the money and address records of every order.
#include <quarra/TransactionDocuments.hpp>

#include "transactions/DocumentReader.hpp"

namespace quarra {

TotalAmount::TotalAmount(double amount, std::string currencyCode)
    : amount(amount), currencyCode(std::move(currencyCode)) {}

JSONDictionary TotalAmount::toJSON() const { return {{"amount", amount}, {"currencyCode", currencyCode}}; }

std::optional<TotalAmount> TotalAmount::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto amount = reader.required<double>("amount");
    auto currencyCode = reader.required<std::string>("currencyCode");
    if (!reader.ok()) return std::nullopt;
    return TotalAmount(*amount, std::move(*currencyCode));
}

IngAddress::IngAddress(std::string firstName, std::string lastName, std::string addressLine1,
                       std::string addressLine2, std::string unitNumber, std::string buildingNumber,
                       std::string streetOrBlock, std::string neighborhood, std::string city, std::string regionCode,
                       std::string postalCode, std::string countryCode)
    : firstName(std::move(firstName)),
      lastName(std::move(lastName)),
      addressLine1(std::move(addressLine1)),
      addressLine2(std::move(addressLine2)),
      unitNumber(std::move(unitNumber)),
      buildingNumber(std::move(buildingNumber)),
      streetOrBlock(std::move(streetOrBlock)),
      neighborhood(std::move(neighborhood)),
      city(std::move(city)),
      regionCode(std::move(regionCode)),
      postalCode(std::move(postalCode)),
      countryCode(std::move(countryCode)) {}

JSONDictionary IngAddress::toJSON() const {
    return {
        {"firstName", firstName},       {"lastName", lastName},       {"addressLine1", addressLine1},
        {"addressLine2", addressLine2}, {"unitNumber", unitNumber},   {"buildingNumber", buildingNumber},
        {"streetOrBlock", streetOrBlock}, {"neighborhood", neighborhood}, {"city", city},
        {"regionCode", regionCode},     {"postalCode", postalCode},   {"countryCode", countryCode},
    };
}

std::optional<IngAddress> IngAddress::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto firstName = reader.required<std::string>("firstName");
    auto lastName = reader.required<std::string>("lastName");
    auto addressLine1 = reader.required<std::string>("addressLine1");
    auto addressLine2 = reader.required<std::string>("addressLine2");
    auto unitNumber = reader.required<std::string>("unitNumber");
    auto buildingNumber = reader.required<std::string>("buildingNumber");
    auto streetOrBlock = reader.required<std::string>("streetOrBlock");
    auto neighborhood = reader.required<std::string>("neighborhood");
    auto city = reader.required<std::string>("city");
    auto regionCode = reader.required<std::string>("regionCode");
    auto postalCode = reader.required<std::string>("postalCode");
    auto countryCode = reader.required<std::string>("countryCode");
    if (!reader.ok()) return std::nullopt;
    return IngAddress(std::move(*firstName), std::move(*lastName), std::move(*addressLine1),
                      std::move(*addressLine2), std::move(*unitNumber), std::move(*buildingNumber),
                      std::move(*streetOrBlock), std::move(*neighborhood), std::move(*city), std::move(*regionCode),
                      std::move(*postalCode), std::move(*countryCode));
}

}  // namespace quarra
