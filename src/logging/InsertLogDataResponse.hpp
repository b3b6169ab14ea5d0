#pragma once
// The log endpoint's answer.
#include <optional>
#include <string>

#include <quarra/Json.hpp>

namespace quarra {

struct InsertLogDataResponse {
    std::string responseCode;  // "ResponseCode"
    std::string responseText;  // "ResponseText"

    bool operator==(const InsertLogDataResponse&) const = default;

    JSONDictionary toJSON() const;
    // Both keys are required and must be texts; other keys are ignored.
    static std::optional<InsertLogDataResponse> fromJSON(const JSONDictionary& json);
};

}  // namespace quarra
