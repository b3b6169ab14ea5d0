#pragma once
// Lookup of a vocabulary case by its raw string: exact and case-sensitive.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quarra {

template <typename Enum, size_t N>
std::optional<Enum> caseForRawValue(const std::array<std::string_view, N>& rawValues, std::string_view raw) {
    for (size_t i = 0; i < N; ++i) {
        if (rawValues[i] == raw) return static_cast<Enum>(i);
    }
    return std::nullopt;
}

template <typename Enum, size_t N>
std::string_view rawValueOf(const std::array<std::string_view, N>& rawValues, Enum value) {
    auto index = static_cast<size_t>(value);
    return index < N ? rawValues[index] : std::string_view("Undefined");
}

}  // namespace quarra
