#include "tracking/FieldTrackingInformation.hpp"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "base/Timestamps.hpp"

namespace quarra {
namespace {

double elapsedMillisecondsExact(Clock::TimePoint begin, Clock::TimePoint end) {
    return std::chrono::duration<double>(end - begin).count() * 1000.0;
}

// printf's "%.0f", except that not-a-number is always "nan" (a zero-length
// period with no typing), never a sign-dependent "-nan".
std::string wholeNumberText(double value) {
    if (std::isnan(value)) return "nan";
    return fmt::format("{:.0f}", value);
}

}  // namespace

int64_t elapsedMilliseconds(Clock::TimePoint begin, Clock::TimePoint end) {
    // A time point difference in nanoseconds always fits once divided.
    return static_cast<int64_t>(elapsedMillisecondsExact(begin, end));
}

JSONDictionary FieldTrackingInformation::dictionaryRepresentation() const {
    const double ms = elapsedMillisecondsExact(timeSpentBeginDate, timeSpentEndDate);
    const double kpm = static_cast<double>(numberOfCharsTyped) / ms * 60.0 * 1000.0;
    JSONDictionary dictionary = {
        {"element", fieldTagString},
        {"time", formatLocalTimestamp(timeSpentBeginDate)},
        {"duration", std::to_string(static_cast<int64_t>(ms))},
        {"kpm", wholeNumberText(kpm)},
        {"keystrokes", std::to_string(numberOfCharsTyped)},
        {"lastAction", "touchscreen"},
        {"firstAction", "touchscreen"},
        {"clicks", std::to_string(std::max<int64_t>(numberOfTaps - 1, 1))},
        {"pressure", touchForce},
        {"orientation", oriantation},
        {"xposition", xPosition},
        {"yposition", yPosition},
    };
    if (userEvent != UserEventType::None) dictionary["userEventTypeCode"] = std::to_string(rawValue(userEvent));
    return dictionary;
}

}  // namespace quarra
