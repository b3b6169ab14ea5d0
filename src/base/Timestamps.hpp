#pragma once
#include <string>

#include <quarra/Clock.hpp>

namespace quarra {

// "yyyy-MM-dd HH:mm:ss.SSS" in the device's local time zone.
std::string formatLocalTimestamp(Clock::TimePoint when);
// "yyyy-MM-dd HH:mm:ss.SSS" in UTC.
std::string formatUTCTimestamp(Clock::TimePoint when);

}  // namespace quarra
