#pragma once
// Which server log records the applied log level asks for.
#include <cstdint>
#include <optional>
#include <string_view>

namespace quarra {

inline constexpr std::string_view kRequestRecord = "Request";
inline constexpr std::string_view kResponseRecord = "Response";
inline constexpr std::string_view kErrorRecord = "Error";

// Level 2: "Request", "Response" and "Error"; 0 and 1: "Error" only; any
// other level (3, negative) or none: nothing.
bool logLevelAllows(std::optional<int64_t> level, std::string_view type);

}  // namespace quarra
