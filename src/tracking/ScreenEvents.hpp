#pragma once
// The screen enter and exit steps: named ones for automatic tracking, coded
// ones for tagged screens. Main queue only.
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>

namespace quarra {

class TrackingContext;

// "<class>-Enter": marks the screen current and sends the named enter event.
void namedEnterStep(const TrackingContext& context, const std::string& name);
// "<class>-Exit": clears the current screen if it is this kind, sends the
// named exit event with the time since the last named enter.
void namedExitStep(const TrackingContext& context, const std::string& name);
// Marks the tagged screen current, sends its coded enter event; returns the
// visit's start.
Clock::TimePoint codedEnterStep(const TrackingContext& context, ScreenTags tag);
// Clears the current screen if it is this one, sends the coded exit event.
// Nothing without a start.
void codedExitStep(const TrackingContext& context, ScreenTags tag, std::optional<Clock::TimePoint> start);

}  // namespace quarra
