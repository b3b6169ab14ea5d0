#include "credentials/AccessibilityText.hpp"

#include <array>
#include <utility>

namespace quarra {
namespace {

using Entry = std::pair<KeychainItemAccessibility, std::string_view>;

constexpr std::array<Entry, 7> kTexts{{
    {KeychainItemAccessibility::afterFirstUnlock, "afterFirstUnlock"},
    {KeychainItemAccessibility::afterFirstUnlockThisDeviceOnly, "afterFirstUnlockThisDeviceOnly"},
    {KeychainItemAccessibility::always, "always"},
    {KeychainItemAccessibility::whenPasscodeSetThisDeviceOnly, "whenPasscodeSetThisDeviceOnly"},
    {KeychainItemAccessibility::alwaysThisDeviceOnly, "alwaysThisDeviceOnly"},
    {KeychainItemAccessibility::whenUnlocked, "whenUnlocked"},
    {KeychainItemAccessibility::whenUnlockedThisDeviceOnly, "whenUnlockedThisDeviceOnly"},
}};

}  // namespace

std::string accessibilityText(KeychainItemAccessibility accessibility) {
    for (const auto& [value, text] : kTexts) {
        if (value == accessibility) return std::string(text);
    }
    return {};  // unreachable for a valid enumerator
}

std::optional<KeychainItemAccessibility> accessibilityFromText(std::string_view text) {
    for (const auto& [value, name] : kTexts) {
        if (name == text) return value;
    }
    return std::nullopt;
}

}  // namespace quarra
