#include "tracking/ScreenEvents.hpp"

#include <quarra/tracking/QuarraScreenTracker.hpp>
#include <quarra/tracking/UserEventType.hpp>

#include "base/DecimalText.hpp"
#include "base/Timestamps.hpp"
#include "tracking/FieldTrackingInformation.hpp"
#include "tracking/ReportCompletion.hpp"
#include "tracking/TouchText.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

constexpr std::string_view kSkipLine = "ScreenTracking screenTag is \"None\", skip reporting";

// The seven entries every screen event has.
JSONDictionary screenEvent(const TrackingContext& context, const std::string& userEventType, int64_t durationMs,
                           Clock::TimePoint now) {
    const auto& touch = context.values->lastScreenTouch;
    return {
        {"userEventType", userEventType},
        {"duration", std::to_string(durationMs)},
        {"time", formatLocalTimestamp(now)},
        {"pressure", shortestDecimal(touch.force)},
        {"orientation", context.orientationText()},
        {"xposition", shortestDecimal(touch.x)},
        {"yposition", shortestDecimal(touch.y)},
    };
}

// The exit completion: one console line, whatever thread it runs on.
ReportSender::BoolCompletion exitCompletion(const TrackingContext& context, ScreenTags tag) {
    return [console = context.console, tag](bool delivered) {
        console->log(sentLine("ScreenTracking", caseName(tag), delivered));
    };
}

}  // namespace

void namedEnterStep(const TrackingContext& context, const std::string& name) {
    const auto now = context.now();
    const ScreenTags tag = QuarraScreenTracker(now).screenTag;
    context.values->currentUserEvent = enterEvent(tag);
    if (tag == ScreenTags::None) return;
    auto event = screenEvent(context, name, 0, now);
    event["screenName"] = name;
    context.sendUserEvents(std::move(event));
    context.values->setSharedScreenVisitStartDate(now);
}

void namedExitStep(const TrackingContext& context, const std::string& name) {
    const auto now = context.now();
    const ScreenTags tag = QuarraScreenTracker(now).screenTag;
    const auto start = context.values->sharedScreenVisitStartDate(now);
    if (context.values->currentUserEvent == enterEvent(tag)) context.values->currentUserEvent = UserEventType::None;
    if (tag == ScreenTags::None) {
        context.console->log(kSkipLine);
        return;
    }
    context.sendUserEvents(screenEvent(context, name, elapsedMilliseconds(start, now), now),
                           exitCompletion(context, tag));
}

Clock::TimePoint codedEnterStep(const TrackingContext& context, ScreenTags tag) {
    const auto now = context.now();
    context.values->currentUserEvent = enterEvent(tag);
    if (tag != ScreenTags::None) {
        context.sendUserEvents(screenEvent(context, std::to_string(rawValue(enterEvent(tag))), 0, now));
    }
    return now;
}

void codedExitStep(const TrackingContext& context, ScreenTags tag, std::optional<Clock::TimePoint> start) {
    if (!start) return;
    const auto now = context.now();
    if (context.values->currentUserEvent == enterEvent(tag)) context.values->currentUserEvent = UserEventType::None;
    if (tag == ScreenTags::None) {
        context.console->log(kSkipLine);
        return;
    }
    context.sendUserEvents(
        screenEvent(context, std::to_string(rawValue(exitEvent(tag))), elapsedMilliseconds(*start, now), now),
        exitCompletion(context, tag));
}

}  // namespace quarra
