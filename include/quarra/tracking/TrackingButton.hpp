#pragma once
/**
 * @file
 * @brief A button that reports every tap as a user event named by its action.
 */
#include <quarra/Export.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Reports every tap as a user event named by its action.
 *
 * The event carries the last touch force and position and the device
 * orientation; it is followed by the latest accelerometer reading when there
 * is one. A toolkit adapter owns one per button and forwards the toolkit's
 * events (quarra::qt::TrackedPushButton).
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a shared reference to its tracking context and the next responder
 * until replaced. Report completions hold the button weakly: a report handed
 * off is delivered also when the button is destroyed meanwhile; after
 * DataCollectorService::shutdown() reports are refused at once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_API TrackingButton {
public:
    /**
     * @brief Receives the touches that began on the button, so that the enclosing view or screen sees them too.
     *
     * The adapter converts their locations. Called on the main queue, inside
     * the button's own touch handling.
     */
    using NextResponder = std::function<void(const std::vector<Touch>&)>;

    /// A button reporting through `context` (the shared one unless a test gives its own); no action yet.
    explicit TrackingButton(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Sends nothing; reports already handed off still go out.
    ~TrackingButton();
    /// Not copyable.
    TrackingButton(const TrackingButton&) = delete;
    /// Not copyable.
    TrackingButton& operator=(const TrackingButton&) = delete;

    /// The action taps are reported as. Absent until the host sets it; a tap
    /// without an action is a configuration error (said once on the console)
    /// and is not reported.
    std::optional<ButtonTrackingAction> trackingAction() const { return trackingAction_; }
    /// Sets trackingAction(); None is allowed and reports nothing.
    void setTrackingAction(std::optional<ButtonTrackingAction> action) { trackingAction_ = action; }
    /// From a raw string ("LoginAttempt"); any text outside the vocabulary
    /// leaves the action absent.
    void setTrackingAction(std::string_view rawValue);

    /// Sets where touches that began on the button go next; kept until replaced.
    void setNextResponder(NextResponder responder) { nextResponder_ = std::move(responder); }

    /// "landscape" or "portrait", from Options::orientationSource.
    std::string getDeviceOrientation() const;

    /**
     * @name Toolkit events
     * Forwarded by the adapter on the main queue. The tap recogniser cancels
     * no touches, so the button's own actions still fire.
     */
    //@{
    /// Reports the tap (see the class) and starts the accelerometer collector;
    /// without an action, or with None, nothing is reported.
    void buttonTapped();
    /// Hands the touches to the next responder.
    void touchesBegan(const std::vector<Touch>& touches);
    /// Keeps the first touch's force and position (the button's coordinates).
    void touchesMoved(const std::vector<Touch>& touches);
    //@}

    /// The last touch's force.
    double touchForce() const { return touchForce_; }
    /// The last touch's position, in the button's coordinates.
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
