#include <quarra/AuthType.hpp>

#include <array>
#include <utility>

namespace quarra {
namespace {

constexpr std::array<std::pair<AuthType, std::string_view>, 4> kRawValues{{
    {AuthType::PreAuth, "PreAuth"},
    {AuthType::PreAndPostAuth, "PreAndPostAuth"},
    {AuthType::OneStepPostAut, "OneStepPostAut"},
    {AuthType::unowned, "Undefined"},
}};

}  // namespace

std::string_view rawValue(AuthType type) {
    for (const auto& [value, raw] : kRawValues) {
        if (value == type) return raw;
    }
    return "Undefined";
}

std::optional<AuthType> authTypeFromRaw(std::string_view text) {
    for (const auto& [value, raw] : kRawValues) {
        if (raw == text) return value;
    }
    return std::nullopt;
}

}  // namespace quarra
