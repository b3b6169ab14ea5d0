#pragma once
// Tracks typing in any text field or text view that sits in (or is) a view
// adopting FieldTrackingProtocol: time spent and text changes per editing
// period, reported as an activity-stream event with the adopter's tag. It has
// no touch data. The host creates one and switches it on.
//
// Every method, the constructor and the destructor run on the main queue.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/TextEditingNotifications.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

class QuarraTextWatcher {
public:
    explicit QuarraTextWatcher(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~QuarraTextWatcher();
    QuarraTextWatcher(const QuarraTextWatcher&) = delete;
    QuarraTextWatcher& operator=(const QuarraTextWatcher&) = delete;

    // Observes begin, change and end of every text field and text view.
    // Starting a started watcher changes nothing.
    void startTracking();
    void stopTracking();
    bool isTracking() const { return !tokens_.empty(); }

    bool shouldShowLogs() const { return shouldShowLogs_; }
    void setShouldShowLogs(bool show) { shouldShowLogs_ = show; }

    void textFieldDidBeginEditingNotification(const TextEditingNotification& notification);
    void textFieldTextDidChange(const TextEditingNotification& notification);
    void textFieldDidEndEditingNotification(const TextEditingNotification& notification);

    // The adopter whose period is open; kept until the next begin.
    const std::shared_ptr<FieldTrackingProtocol>& trackingField() const { return trackingField_; }
    int64_t numberOfCharsTyped() const { return numberOfCharsTyped_; }
    int64_t numberOfTaps() const { return numberOfTaps_; }
    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    std::optional<Clock::TimePoint> typingSpeedBeginDate() const { return typingSpeedBeginDate_; }

private:
    std::shared_ptr<const TrackingContext> context_;
    std::shared_ptr<const char> alive_;  // completions hold it weakly
    std::vector<TextEditingNotificationCenter::Token> tokens_;

    bool shouldShowLogs_ = false;
    std::optional<Clock::TimePoint> timeSpentBeginDate_;
    std::optional<Clock::TimePoint> typingSpeedBeginDate_;
    int64_t numberOfCharsTyped_ = 0;
    int64_t numberOfTaps_ = 0;
    std::shared_ptr<FieldTrackingProtocol> trackingField_;
};

}  // namespace quarra
