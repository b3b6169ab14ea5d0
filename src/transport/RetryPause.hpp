#pragma once
// How long the transport waits before a retry or a final failure.
#include <chrono>
#include <string_view>

namespace quarra {

// `retryInterval` read as a decimal number of seconds (no blanks around it);
// 3 seconds when it is not one. Negative values mean no pause; values beyond
// a day are held to a day, so that a pause always ends.
std::chrono::milliseconds retryPause(std::string_view retryInterval);

}  // namespace quarra
