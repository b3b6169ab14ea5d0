#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quarra {

enum class HTTPMethod { get, post, delete_, put, update, patch };

std::string_view rawValue(HTTPMethod method);
// Only the six exact texts "GET", "POST", "DELETE", "PUT", "UPDATE", "PATCH".
std::optional<HTTPMethod> httpMethodFromRaw(std::string_view text);

}  // namespace quarra
