#pragma once
// The identifiers a device-identification response carries.
#include <optional>
#include <string>

#include <quarra/Clock.hpp>

#include "fingerprint/DeviceFacts.hpp"

namespace quarra {

// 20 letters and digits: a hash of the facts keyed with the API key, so the
// same device gets unrelated identifiers under different keys. nullopt only
// when the hashing library cannot start.
std::optional<std::string> visitorIdentifier(const std::string& apiKey, const DeviceFacts& facts);

// "<milliseconds since 1970>.<6 random letters and digits>".
std::optional<std::string> requestIdentifier(Clock::TimePoint now);

}  // namespace quarra
