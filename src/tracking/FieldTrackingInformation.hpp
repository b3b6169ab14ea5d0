#pragma once
// One finished editing period of a form field (or one visible period of a
// picker), and the activity-stream dictionary it is reported as.
#include <cstdint>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/Json.hpp>
#include <quarra/tracking/UserEventType.hpp>

namespace quarra {

struct FieldTrackingInformation {
    Clock::TimePoint timeSpentBeginDate;
    Clock::TimePoint timeSpentEndDate;
    std::optional<Clock::TimePoint> typingSpeedBeginDate;  // absent when the text never changed
    Clock::TimePoint typingSpeedEndDate;
    int64_t numberOfTaps = 0;
    int64_t numberOfCharsTyped = 0;  // text-change notifications in the period
    std::string fieldTagString;
    UserEventType userEvent = UserEventType::None;
    std::string oriantation;  // "landscape", "portrait" or empty
    std::string touchForce;   // shortest decimal form, or empty
    std::string xPosition;
    std::string yPosition;

    // Twelve string entries, and "userEventTypeCode" when a user event is
    // current. "kpm" is taken over the whole period.
    JSONDictionary dictionaryRepresentation() const;
};

// Milliseconds from `begin` to `end`, truncated toward zero.
int64_t elapsedMilliseconds(Clock::TimePoint begin, Clock::TimePoint end);

}  // namespace quarra
