#include "transactions/DocumentReader.hpp"

#include <cmath>
#include <limits>

namespace quarra {

std::optional<std::string> JsonValue<std::string>::from(const JSONDictionary& value) {
    if (!value.is_string()) return std::nullopt;
    return value.get<std::string>();
}

std::optional<double> JsonValue<double>::from(const JSONDictionary& value) {
    if (!value.is_number()) return std::nullopt;
    return value.get<double>();
}

std::optional<int64_t> JsonValue<int64_t>::from(const JSONDictionary& value) {
    if (value.is_number_unsigned()) {
        auto unsignedValue = value.get<uint64_t>();
        if (unsignedValue > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
        return static_cast<int64_t>(unsignedValue);
    }
    if (value.is_number_integer()) return value.get<int64_t>();
    if (value.is_number_float()) {
        // Written with a fraction but whole (3.0, 3e2): the decoder reads it as
        // that integer. 2^63 itself is already out of range.
        constexpr double kTwoTo63 = 9223372036854775808.0;
        double number = value.get<double>();
        if (!std::isfinite(number) || std::trunc(number) != number || number < -kTwoTo63 || number >= kTwoTo63) {
            return std::nullopt;
        }
        return static_cast<int64_t>(number);
    }
    return std::nullopt;
}

std::optional<bool> JsonValue<bool>::from(const JSONDictionary& value) {
    if (!value.is_boolean()) return std::nullopt;
    return value.get<bool>();
}

const JSONDictionary* DocumentReader::lookup(const char* key) const {
    if (!json_.is_object()) return nullptr;
    auto found = json_.find(key);
    if (found == json_.end() || found->is_null()) return nullptr;
    return &*found;
}

}  // namespace quarra
