#include "transport/HTTPMethod.hpp"

#include <array>
#include <utility>

namespace quarra {
namespace {

constexpr std::array<std::pair<HTTPMethod, std::string_view>, 6> kRawValues{{
    {HTTPMethod::get, "GET"},
    {HTTPMethod::post, "POST"},
    {HTTPMethod::delete_, "DELETE"},
    {HTTPMethod::put, "PUT"},
    {HTTPMethod::update, "UPDATE"},
    {HTTPMethod::patch, "PATCH"},
}};

}  // namespace

std::string_view rawValue(HTTPMethod method) {
    for (const auto& [value, raw] : kRawValues) {
        if (value == method) return raw;
    }
    return "";
}

std::optional<HTTPMethod> httpMethodFromRaw(std::string_view text) {
    for (const auto& [value, raw] : kRawValues) {
        if (raw == text) return value;
    }
    return std::nullopt;
}

}  // namespace quarra
