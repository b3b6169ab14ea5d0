#include "config/StrictFields.hpp"

#include <cmath>
#include <limits>

namespace quarra::strict {

const JSONDictionary* present(const JSONDictionary& object, const char* key) {
    if (!object.is_object()) return nullptr;
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

std::optional<int64_t> asInteger(const JSONDictionary& value) {
    // nlohmann keeps booleans apart from numbers, but be explicit: true is not 1.
    if (value.is_boolean()) return std::nullopt;
    if (value.is_number_integer() && !value.is_number_unsigned()) return value.get<int64_t>();
    if (value.is_number_unsigned()) {
        auto u = value.get<uint64_t>();
        if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
        return static_cast<int64_t>(u);
    }
    if (value.is_number_float()) {
        // "3.0" and "3e2" are whole numbers; 2.5 is not. 2^63 itself is out of range.
        double d = value.get<double>();
        constexpr double kTwoTo63 = 9223372036854775808.0;
        if (!std::isfinite(d) || std::trunc(d) != d || d < -kTwoTo63 || d >= kTwoTo63) return std::nullopt;
        return static_cast<int64_t>(d);
    }
    return std::nullopt;
}

bool requiredString(const JSONDictionary& object, const char* key, std::string& out) {
    const auto* value = present(object, key);
    if (value == nullptr || !value->is_string()) return false;
    out = value->get<std::string>();
    return true;
}

bool requiredBool(const JSONDictionary& object, const char* key, bool& out) {
    const auto* value = present(object, key);
    if (value == nullptr || !value->is_boolean()) return false;
    out = value->get<bool>();
    return true;
}

bool requiredInteger(const JSONDictionary& object, const char* key, int64_t& out) {
    const auto* value = present(object, key);
    if (value == nullptr) return false;
    auto integer = asInteger(*value);
    if (!integer) return false;
    out = *integer;
    return true;
}

bool optionalString(const JSONDictionary& object, const char* key, std::optional<std::string>& out) {
    const auto* value = present(object, key);
    if (value == nullptr) {
        out.reset();
        return true;
    }
    if (!value->is_string()) return false;
    out = value->get<std::string>();
    return true;
}

void putIfPresent(JSONDictionary& object, const char* key, const std::optional<std::string>& value) {
    if (value) object[key] = *value;
}

}  // namespace quarra::strict
