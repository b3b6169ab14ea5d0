#pragma once
// Fresh identifiers and time stamps for sessions, tokens and stored records.
#include <string>

namespace quarra::service {

// Random (version 4) UUID text in lower case, from the system's CSPRNG.
std::string newUuid();

// 32 random bytes as 64 hexadecimal digits: access and refresh tokens.
std::string newToken();

// Current UTC time as "2024-05-01T12:34:56.789Z".
std::string nowTimestamp();

}  // namespace quarra::service
