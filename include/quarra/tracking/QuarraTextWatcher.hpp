#pragma once
/**
 * @file
 * @brief Tracks typing in any text field or text view that sits in (or is) a
 * view adopting FieldTrackingProtocol.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/TextEditingNotifications.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Measures editing periods of any text field or view inside an adopter of FieldTrackingProtocol.
 *
 * Time spent and text changes per editing period are reported as an
 * activity-stream event with the adopter's tag; it has no touch data. The
 * host creates one and switches it on; once started it hears every text
 * notification of its context's TextEditingNotificationCenter (the Qt
 * adapter's quarra::qt::TextWatcher also calls the handlers directly).
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a shared reference to its tracking context and to the adopter of the
 * open period (until the next period begins). The destructor stops tracking;
 * an open period is then dropped unreported. A report handed off is delivered
 * also when the watcher is destroyed meanwhile; after
 * DataCollectorService::shutdown() reports are refused at once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_API QuarraTextWatcher {
public:
    /// A watcher reporting through `context` (the shared one unless a test gives its own); not yet tracking.
    explicit QuarraTextWatcher(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Stops tracking.
    ~QuarraTextWatcher();
    /// Not copyable.
    QuarraTextWatcher(const QuarraTextWatcher&) = delete;
    /// Not copyable.
    QuarraTextWatcher& operator=(const QuarraTextWatcher&) = delete;

    /// Observes begin, change and end of every text field and text view. Starting a started watcher changes nothing.
    void startTracking();
    /// Stops observing; an open period is not reported.
    void stopTracking();
    /// Whether the watcher observes the notifications.
    bool isTracking() const { return !tokens_.empty(); }

    /// A flag kept for the host; console output follows enableLogs().
    bool shouldShowLogs() const { return shouldShowLogs_; }
    /// Sets shouldShowLogs().
    void setShouldShowLogs(bool show) { shouldShowLogs_ = show; }

    /**
     * @name Notification handlers
     * Called by the notification centre (or directly by an adapter), on the
     * main queue. `notification.object` is used only during the call.
     */
    //@{
    /// Begins a period when the posting view is, or sits in, an adopter; otherwise the changes and the end that follow are ignored.
    void textFieldDidBeginEditingNotification(const TextEditingNotification& notification);
    /// Counts one text change of the open period.
    void textFieldTextDidChange(const TextEditingNotification& notification);
    /// Ends the open period and reports it with the adopter's tag (nothing for None).
    void textFieldDidEndEditingNotification(const TextEditingNotification& notification);
    //@}

    /// The adopter whose period is open; kept until the next begin.
    const std::shared_ptr<FieldTrackingProtocol>& trackingField() const { return trackingField_; }
    /// Text changes in the open (or last) period.
    int64_t numberOfCharsTyped() const { return numberOfCharsTyped_; }
    /// Taps in the open (or last) period: 1 once a period began.
    int64_t numberOfTaps() const { return numberOfTaps_; }
    /// When the open (or last) period began.
    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    /// When the first text change of the open (or last) period came; absent before it.
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
