#include "transactions/ErrorModel.hpp"

#include "base/JsonText.hpp"
#include "transactions/DocumentReader.hpp"

namespace quarra {

ErrorModel::ErrorModel(std::optional<std::string> errorCode, std::optional<std::string> errorMessage)
    : errorCode(std::move(errorCode)), errorMessage(std::move(errorMessage)) {}

ErrorModel ErrorModel::generic() { return ErrorModel(std::nullopt, std::string(kGenericFailureMessage)); }

std::string ErrorModel::localizedDescription() const {
    std::string description = "The transaction request failed";
    if (errorCode) description += " with error " + *errorCode;
    description += ": ";
    description += errorMessage ? *errorMessage : std::string("no message");
    return description;
}

JSONDictionary ErrorModel::toJSON() const {
    auto json = JSONDictionary::object();
    if (errorCode) json["errorCode"] = *errorCode;
    if (errorMessage) json["errorMessage"] = *errorMessage;
    return json;
}

std::optional<ErrorModel> ErrorModel::fromJSON(const JSONDictionary& json) {
    DocumentReader reader(json);
    auto errorCode = reader.required<std::string>("errorCode");
    auto errorMessage = reader.required<std::string>("errorMessage");
    if (!reader.ok()) return std::nullopt;
    return ErrorModel(std::move(errorCode), std::move(errorMessage));
}

std::optional<ErrorModel> ErrorModel::decode(std::string_view body) {
    auto json = parseJSON(body);
    if (!json) return std::nullopt;
    return fromJSON(*json);
}

}  // namespace quarra
