#pragma once
// Keeps credentials out of diagnostics that leave the process.
#include <string>
#include <string_view>

namespace quarra {

inline constexpr std::string_view kRedacted = "[redacted]";

// The message with credentials replaced by "[redacted]": in JSON text, the
// values of token, secret and authorization keys (at any depth); in any
// text, the credential after "Basic " or "Bearer ". Everything else is kept
// as it was.
std::string withoutSecrets(std::string_view message);

}  // namespace quarra
