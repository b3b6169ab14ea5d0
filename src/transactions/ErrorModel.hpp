#pragma once
// The transaction platform's error reply, and the failure value of every
// transaction service call.
#include <optional>
#include <string>
#include <string_view>

#include <quarra/Json.hpp>

namespace quarra {

inline constexpr std::string_view kGenericFailureMessage = "Something went wrong. Try again later.";

class ErrorModel {
public:
    ErrorModel(std::optional<std::string> errorCode, std::optional<std::string> errorMessage);

    // No code, message "Something went wrong. Try again later.": the failure
    // for a request that could not be made or a reply that could not be read.
    static ErrorModel generic();

    std::optional<std::string> errorCode;     // "errorCode"
    std::optional<std::string> errorMessage;  // "errorMessage"

    // A one-line human description of the failure, for the console.
    std::string localizedDescription() const;

    bool operator==(const ErrorModel&) const = default;
    // Writes each key only when present.
    JSONDictionary toJSON() const;
    // Both keys are required as texts, although a value built in code may lack them.
    static std::optional<ErrorModel> fromJSON(const JSONDictionary& json);
    static std::optional<ErrorModel> decode(std::string_view body);
};

}  // namespace quarra
