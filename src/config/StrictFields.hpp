#pragma once
// Strict reading of one key of a JSON object, with the rules the service's
// documents are decoded by: a required key must be present, not null and of
// the right JSON type; an optional key may be missing or null but, when it is
// there, must still be of the right type. Every reader returns false when the
// document must fail; it never throws.
#include <cstdint>
#include <optional>
#include <string>

#include <quarra/Json.hpp>

namespace quarra::strict {

// The value under `key`, or nullptr when the key is missing or null.
const JSONDictionary* present(const JSONDictionary& object, const char* key);

// A whole JSON number within signed 64 bits. Booleans are not numbers here.
std::optional<int64_t> asInteger(const JSONDictionary& value);

bool requiredString(const JSONDictionary& object, const char* key, std::string& out);
bool requiredBool(const JSONDictionary& object, const char* key, bool& out);
bool requiredInteger(const JSONDictionary& object, const char* key, int64_t& out);
bool optionalString(const JSONDictionary& object, const char* key, std::optional<std::string>& out);

// Puts `value` under `key` only when it is there.
void putIfPresent(JSONDictionary& object, const char* key, const std::optional<std::string>& value);

}  // namespace quarra::strict
