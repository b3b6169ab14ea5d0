#pragma once
// The accessibility attribute as stored with each item, and back.
#include <optional>
#include <string>
#include <string_view>

#include <quarra/KeychainWrapper.hpp>

namespace quarra {

// The stored text of a case (its own name, e.g. "whenUnlocked").
std::string accessibilityText(KeychainItemAccessibility accessibility);
// The case a stored text stands for; none for a text no case maps to.
std::optional<KeychainItemAccessibility> accessibilityFromText(std::string_view text);

}  // namespace quarra
