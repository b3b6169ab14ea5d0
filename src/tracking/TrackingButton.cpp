#include <quarra/tracking/TrackingButton.hpp>

#include <optional>

#include "base/DecimalText.hpp"
#include "base/Timestamps.hpp"
#include "device/MotionManager.hpp"
#include "tracking/ReportCompletion.hpp"
#include "tracking/TouchText.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

constexpr std::string_view kMissingActionMessage =
    "trackingAction should be something declared in the ButtonTrackingAction enum, please check "
    "ButtonTrackingAction for more information";

}  // namespace

void TapFacts::send(ReportSender& reports) {
    auto eventSent = sentLineCompletion(control.lock(), console, "TrackingButton", action);
    const std::string time = formatLocalTimestamp(now);
    JSONDictionary event = {
        {"userEventType", action},
        {"duration", "0"},
        {"time", time},
        {"pressure", shortestDecimal(force)},
        {"orientation", std::move(orientation)},
        {"xposition", shortestDecimal(position.x)},
        {"yposition", shortestDecimal(position.y)},
    };
    reports.sendUserEvents(std::move(event), std::move(eventSent));
    if (!reading) return;
    JSONDictionary accelerometer = {
        {"xvalue", shortestDecimal(reading->x)},
        {"yvalue", shortestDecimal(reading->y)},
        {"zvalue", shortestDecimal(reading->z)},
        {"createdDate", time},
    };
    reports.sendAccelerometerData(std::move(accelerometer),
                                  sentLineCompletion(control.lock(), console, "AccelerometerData", action));
}

TrackingButton::TrackingButton(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)), alive_(makeLivenessToken()) {}

TrackingButton::~TrackingButton() = default;

void TrackingButton::setTrackingAction(std::string_view rawValue) {
    trackingAction_ = buttonTrackingActionFromRawValue(rawValue);
}

std::string TrackingButton::getDeviceOrientation() const { return std::string(context_->orientationText()); }

void TrackingButton::buttonTapped() {
    if (!trackingAction_) {
        if (!toldMissingAction_) {
            toldMissingAction_ = true;
            reportHostConfigurationError(*context_->console, "Ortex/TrackingButton", kMissingActionMessage);
        }
        return;
    }
    const std::string action(rawValue(*trackingAction_));
    if (*trackingAction_ == ButtonTrackingAction::None) {
        context_->console->log("TrackingButton trackingAction is \"None\", skip reporting");
        return;
    }
    const std::string_view orientation = context_->orientationText();
    if (context_->console->logs()) context_->console->log(touchLine(touchForce_, touchPosition_, orientation));

    // The caller keeps only the facts; the dictionaries are built by the
    // worker, so a tap costs the host's thread a copy and a hand-off.
    TapFacts tap{.action = action,
                 .orientation = std::string(orientation),
                 .now = context_->now(),
                 .force = touchForce_,
                 .position = touchPosition_,
                 .reading = std::nullopt,
                 .control = alive_,
                 .console = context_->console};

    // The collector needs a few polls after its first start, so the first tap
    // in a process finds no reading.
    context_->motion->startUpdates();
    tap.reading = context_->motion->acceleration();
    if (!tap.reading) context_->console->print("Return from else");
    // One hand-off for both reports: the user event first, then the reading.
    context_->handOff(std::move(tap));
}

void TrackingButton::touchesBegan(const std::vector<Touch>& touches) {
    if (nextResponder_) nextResponder_(touches);
}

void TrackingButton::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    touchForce_ = touches.front().force;
    touchPosition_ = touches.front().location;
}

}  // namespace quarra
