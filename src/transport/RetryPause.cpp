#include "transport/RetryPause.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quarra {
namespace {

constexpr double kDefaultSeconds = 3.0;
constexpr double kLongestSeconds = 86'400.0;

}  // namespace

std::chrono::milliseconds retryPause(std::string_view retryInterval) {
    double seconds = 0;
    const char* end = retryInterval.data() + retryInterval.size();
    auto [stop, status] = std::from_chars(retryInterval.data(), end, seconds);
    if (retryInterval.empty() || status != std::errc() || stop != end || std::isnan(seconds)) seconds = kDefaultSeconds;
    seconds = std::clamp(seconds, 0.0, kLongestSeconds);
    return std::chrono::milliseconds(std::llround(seconds * 1000.0));
}

}  // namespace quarra
