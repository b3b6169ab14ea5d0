#pragma once
// A button that reports every tap as a user event named by its action, with
// the last touch force and position and the device orientation, followed by
// the latest accelerometer reading when there is one.
//
// A toolkit adapter owns one per button and forwards the toolkit's events.
// Every method, the constructor and the destructor run on the main queue.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

class TrackingButton {
public:
    // Receives the touches that began on the button, so that the enclosing
    // view or screen sees them too. The adapter converts their locations.
    // Called on the main queue, inside the button's own touch handling.
    using NextResponder = std::function<void(const std::vector<Touch>&)>;

    explicit TrackingButton(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackingButton();
    TrackingButton(const TrackingButton&) = delete;
    TrackingButton& operator=(const TrackingButton&) = delete;

    // Absent until the host sets it; a tap without an action is a
    // configuration error (said once on the console) and is not reported.
    std::optional<ButtonTrackingAction> trackingAction() const { return trackingAction_; }
    void setTrackingAction(std::optional<ButtonTrackingAction> action) { trackingAction_ = action; }
    // From a raw string ("LoginAttempt"); any text outside the vocabulary
    // leaves the action absent.
    void setTrackingAction(std::string_view rawValue);

    void setNextResponder(NextResponder responder) { nextResponder_ = std::move(responder); }

    // "landscape" or "portrait".
    std::string getDeviceOrientation() const;

    // Toolkit events. The tap recogniser cancels no touches, so the button's
    // own actions still fire.
    void buttonTapped();
    void touchesBegan(const std::vector<Touch>& touches);
    // The first touch's force and position (the button's coordinates) are kept.
    void touchesMoved(const std::vector<Touch>& touches);

    double touchForce() const { return touchForce_; }
    ViewPoint touchPosition() const { return touchPosition_; }

private:
    std::shared_ptr<const TrackingContext> context_;
    std::shared_ptr<const char> alive_;  // completions hold it weakly
    std::optional<ButtonTrackingAction> trackingAction_;
    NextResponder nextResponder_;
    double touchForce_ = 0;
    ViewPoint touchPosition_;
    bool toldMissingAction_ = false;
};

}  // namespace quarra
