#pragma once
// Turning JSON values into text the way the service expects it.
#include <optional>
#include <string>
#include <string_view>

#include <quarra/Json.hpp>

namespace quarra {

// Compact JSON with "/" written as "\/". Fails (nullopt) on text that is not
// valid UTF-8 and on numbers that are not finite.
std::optional<std::string> compactJSON(const JSONDictionary& value);
// The same for one text, written as a JSON string.
std::optional<std::string> compactJSONString(std::string_view text);

// Pretty-printed JSON, or nullopt when it cannot be serialised.
std::optional<std::string> prettyJSON(const JSONDictionary& value);

// Pretty-printed JSON for diagnostics, with a fixed text when it fails.
std::string prettyPrintedOrFallback(const JSONDictionary& value);
inline constexpr std::string_view kPrettyPrintFallback = "Could not pretty print JSON parameters";

// Parses a body that may be any JSON value (fragments allowed); nullopt when
// it is not JSON.
std::optional<JSONDictionary> parseJSON(std::string_view body);

}  // namespace quarra
