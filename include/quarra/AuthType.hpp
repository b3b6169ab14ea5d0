#pragma once
// How an order is completed: names the evaluation step sent to the platform.
#include <optional>
#include <string_view>

namespace quarra {

enum class AuthType {
    PreAuth,         // "PreAuth"
    PreAndPostAuth,  // "PreAndPostAuth"
    OneStepPostAut,  // "OneStepPostAut" (sends the step "OneStepPostAuth")
    unowned,         // "Undefined"
};

std::string_view rawValue(AuthType type);

// Exactly one of the four raw texts, compared case-sensitively; none otherwise.
std::optional<AuthType> authTypeFromRaw(std::string_view text);

}  // namespace quarra
