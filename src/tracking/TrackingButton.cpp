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
    if (context_->console->logs()) context_->console->log(touchLine(touchForce_, touchPosition_, orientation));

    // The caller keeps only the facts; the dictionaries are built by the
    // worker, so a tap costs the host's thread a copy and a hand-off.
    struct Tap {
        std::string action;
        std::string orientation;
        Clock::TimePoint now;
        double force;
        ViewPoint position;
        std::optional<Acceleration> reading;
    };
    Tap tap{action, std::string(orientation), context_->now(), touchForce_, touchPosition_, std::nullopt};

    // The collector needs a few polls after its first start, so the first tap
    // in a process finds no reading.
    context_->motion->startUpdates();
    tap.reading = context_->motion->acceleration();
    if (!tap.reading) context_->console->print("Return from else");
    // One hand-off for both reports: the user event first, then the reading.
    context_->handOff([tap = std::move(tap), alive = std::weak_ptr<const char>(alive_),
                       console = context_->console](ReportSender& reports) mutable {
        auto eventSent = sentLineCompletion(alive.lock(), console, "TrackingButton", tap.action);
        const std::string time = formatLocalTimestamp(tap.now);
        JSONDictionary event = {
            {"userEventType", tap.action},
            {"duration", "0"},
            {"time", time},
            {"pressure", shortestDecimal(tap.force)},
            {"orientation", std::move(tap.orientation)},
            {"xposition", shortestDecimal(tap.position.x)},
            {"yposition", shortestDecimal(tap.position.y)},
        };
        reports.sendUserEvents(std::move(event), std::move(eventSent));
        if (!tap.reading) return;
        JSONDictionary accelerometer = {
            {"xvalue", shortestDecimal(tap.reading->x)},
            {"yvalue", shortestDecimal(tap.reading->y)},
            {"zvalue", shortestDecimal(tap.reading->z)},
            {"createdDate", time},
        };
        reports.sendAccelerometerData(std::move(accelerometer),
                                      sentLineCompletion(alive.lock(), console, "AccelerometerData", tap.action));
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
