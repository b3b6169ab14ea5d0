#pragma once
/**
 * @file
 * @brief A form field that measures one editing period at a time and reports
 * it as an activity-stream event labelled by its field tag.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/TextEditingNotifications.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

class TypedSnapshots;

/**
 * @brief Measures a text field's editing periods and reports each one.
 *
 * A period measures time spent, text changes, keys per minute, taps, the
 * last touch and the orientation. The typed text never leaves the field. A
 * toolkit adapter owns one TrackingTextField per text field it shows and
 * forwards the toolkit's events to it (quarra::qt::TrackedLineEdit).
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a reference to its Host, which must outlive it, and a shared
 * reference to its tracking context. It observes the context's notification
 * centre from construction to destruction (not while out of a window). The
 * destructor sends nothing: an open period is reported only if the adapter
 * ends it first (editingDidEnd()). A report handed off is delivered also when
 * the field is destroyed meanwhile; after DataCollectorService::shutdown()
 * reports are refused at once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_API TrackingTextField {
public:
    /**
     * @brief What the field asks of the toolkit's text field it stands for.
     *
     * It must outlive the TrackingTextField. Main queue only.
     */
    class QUARRA_API Host : public ViewNode {
    public:
        /// True only while this field has the keyboard focus.
        virtual bool isEditing() const = 0;
        /// The field's text now; held only inside the open period, never reported.
        virtual std::string text() const = 0;
    };

    /// Stands for `host` and registers for the text-field notifications at once.
    explicit TrackingTextField(Host& host, std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Unregisters; sends nothing.
    ~TrackingTextField();
    /// Not copyable.
    TrackingTextField(const TrackingTextField&) = delete;
    /// Not copyable.
    TrackingTextField& operator=(const TrackingTextField&) = delete;

    /// A label for the host; never reported.
    const std::string& identifier() const { return identifier_; }
    /// Sets identifier().
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    /// One of the FieldTags raw strings ("Password"). Any other text is a
    /// configuration error: said once on the console, and nothing is reported.
    const std::string& fieldTag() const { return fieldTag_; }
    /// Sets fieldTag(); checked when a period begins and again when it ends.
    void setFieldTag(std::string tag) { fieldTag_ = std::move(tag); }
    /// Kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    /// Sets showLogs().
    void setShowLogs(bool show) { showLogs_ = show; }

    /**
     * @name Toolkit events
     * Forwarded by the adapter on the main queue. editingDidBegin(),
     * textDidChange() and editingDidEnd() post the text-field notification
     * for this field to every observer (this field's handlers among them).
     */
    //@{
    /// The field got the focus: posts textFieldDidBeginEditing.
    void editingDidBegin();
    /// The user changed the text: posts textFieldDidChange.
    void textDidChange();
    /// The field lost the focus: posts textFieldDidEndEditing.
    void editingDidEnd();
    /// Out of a window the field hears no notifications.
    void willMoveToWindow(bool hasWindow);
    /// Counts a tap.
    void viewTapped();
    /// Counts a tap when the press ended.
    void viewLongPressed(GestureRecognizerState state);
    /// Keeps the first touch's force and position (the field's coordinates).
    void touchesMoved(const std::vector<Touch>& touches);
    /// Always true: the field's recognisers work alongside others.
    static constexpr bool gestureRecognizerShouldRecognizeSimultaneously() { return true; }
    //@}

    /**
     * @name Notification handlers
     * Called by the notification centre on the main queue; each first checks
     * that it concerns this field.
     */
    //@{
    /// Begins a period when this field has the focus and a known tag.
    void textFieldDidBeginEditingNotification(const TextEditingNotification& notification);
    /// Counts one text change of the open period.
    void textFieldTextDidChange(const TextEditingNotification& notification);
    /// Ends the open period, wipes its text and reports it (nothing for "Undefined" or an unknown tag).
    void textFieldDidEndEditingNotification(const TextEditingNotification& notification);
    //@}

    /// Taps counted (1 when a period begins).
    int64_t numberOfTaps() const { return numberOfTaps_; }
    /// Text changes in the open period; 0 after it ended.
    int64_t numberOfCharsTyped() const { return numberOfCharsTyped_; }
    /// True while this field has an open editing period.
    bool shouldEndEditing() const { return shouldEndEditing_; }
    /// When the open (or last) period began.
    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    /// When the last period ended.
    std::optional<Clock::TimePoint> timeSpentEndDate() const { return timeSpentEndDate_; }
    /// When the open period's first text change came; absent before it and after the period.
    std::optional<Clock::TimePoint> typingSpeedBeginDate() const { return typingSpeedBeginDate_; }
    /// When the last period ended (for the typing speed).
    std::optional<Clock::TimePoint> typingSpeedEndDate() const { return typingSpeedEndDate_; }
    /// The last touch's force.
    double touchForce() const { return touchForce_; }
    /// The last touch's position, in the field's coordinates.
    ViewPoint touchPosition() const { return touchPosition_; }
    /// How many text snapshots the open period holds (none once it ended).
    size_t typedSnapshotCount() const;
    /// Whether the field hears the text-field notifications now.
    bool isObservingNotifications() const { return !tokens_.empty(); }

private:
    void registerObservers();
    void unregisterObservers();
    bool tagIsKnown();

    Host& host_;
    std::shared_ptr<const TrackingContext> context_;
    std::shared_ptr<const char> alive_;  // completions hold it weakly
    std::vector<TextEditingNotificationCenter::Token> tokens_;

    std::string identifier_;
    std::string fieldTag_;
    bool showLogs_ = false;
    std::optional<Clock::TimePoint> timeSpentBeginDate_;
    std::optional<Clock::TimePoint> timeSpentEndDate_;
    int64_t numberOfCharsTyped_ = 0;
    std::optional<Clock::TimePoint> typingSpeedBeginDate_;
    std::optional<Clock::TimePoint> typingSpeedEndDate_;
    std::unique_ptr<TypedSnapshots> allTextTypedStrings_;  // never reported; wiped when the period ends
    int64_t numberOfTaps_ = 0;
    bool shouldEndEditing_ = false;
    double touchForce_ = 0;
    ViewPoint touchPosition_;
    bool toldBadTag_ = false;
};

}  // namespace quarra
