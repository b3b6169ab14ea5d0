#pragma once
// The transport's failure value.
#include <optional>
#include <string>

namespace quarra {

struct APIError {
    std::string apiName;  // the endpoint path; not written to JSON
    std::string code;     // JSON key "ResponseCode"
    std::string message;  // JSON key "ResponseText"

    // {"ResponseCode": code, "ResponseText": message} as compact JSON text;
    // "" when it cannot be encoded.
    std::string jsonText() const;
    // Reads {"ResponseCode", "ResponseText"} (both required texts).
    static std::optional<APIError> fromJSON(std::string_view text, std::string apiName = {});
    // APIError(apiName: "…", code: "…", message: "…")
    std::string description() const;

    bool operator==(const APIError&) const = default;
};

}  // namespace quarra
