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
    context_->console->log(touchLine(touchForce_, touchPosition_, orientation));

    const auto now = context_->now();
    const std::string time = formatLocalTimestamp(now);
    JSONDictionary event = {
        {"userEventType", action},
        {"duration", "0"},
        {"time", time},
        {"pressure", shortestDecimal(touchForce_)},
        {"orientation", orientation},
        {"xposition", shortestDecimal(touchPosition_.x)},
        {"yposition", shortestDecimal(touchPosition_.y)},
    };
    auto eventSent = sentLineCompletion(alive_, context_->console, "TrackingButton", action);

    // The collector needs a few polls after its first start, so the first tap
    // in a process finds no reading.
    context_->motion->startUpdates();
    std::optional<JSONDictionary> accelerometer;
    if (auto reading = context_->motion->acceleration()) {
        accelerometer = JSONDictionary{
            {"xvalue", shortestDecimal(reading->x)},
            {"yvalue", shortestDecimal(reading->y)},
            {"zvalue", shortestDecimal(reading->z)},
            {"createdDate", time},
        };
    } else {
        context_->console->print("Return from else");
    }
    auto readingSent = sentLineCompletion(alive_, context_->console, "AccelerometerData", action);
    // One hand-off for both reports: the user event first, then the reading.
    context_->handOff([event = std::move(event), eventSent = std::move(eventSent),
                       accelerometer = std::move(accelerometer),
                       readingSent = std::move(readingSent)](ReportSender& reports) mutable {
        reports.sendUserEvents(std::move(event), std::move(eventSent));
        if (accelerometer) reports.sendAccelerometerData(std::move(*accelerometer), std::move(readingSent));
    });
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
