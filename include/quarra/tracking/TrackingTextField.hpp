#pragma once
// A form field that measures one editing period at a time (time spent, text
// changes, keys per minute, taps, last touch, orientation) and reports it as
// an activity-stream event labelled by its field tag. The typed text never
// leaves the field.
//
// A toolkit adapter owns one TrackingTextField per text field it shows and
// forwards the toolkit's events to it. Every method, the constructor and the
// destructor run on the main queue.
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

class TrackingTextField {
public:
    // What the field asks of the toolkit's text field it stands for. It must
    // outlive the TrackingTextField.
    class Host : public ViewNode {
    public:
        // True only while this field has the keyboard focus.
        virtual bool isEditing() const = 0;
        virtual std::string text() const = 0;
    };

    // Registers for the text-field notifications at once.
    explicit TrackingTextField(Host& host, std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackingTextField();
    TrackingTextField(const TrackingTextField&) = delete;
    TrackingTextField& operator=(const TrackingTextField&) = delete;

    // A label for the host; never reported.
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    // One of the FieldTags raw strings ("Password"). Any other text is a
    // configuration error: said once on the console, and nothing is reported.
    const std::string& fieldTag() const { return fieldTag_; }
    void setFieldTag(std::string tag) { fieldTag_ = std::move(tag); }
    // Kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    void setShowLogs(bool show) { showLogs_ = show; }

    // Toolkit events. These three post the text-field notification for this
    // field to every observer (this field's handlers among them).
    void editingDidBegin();
    void textDidChange();
    void editingDidEnd();
    // Out of a window the field hears no notifications.
    void willMoveToWindow(bool hasWindow);
    void viewTapped();
    // Counts a tap when the press ended.
    void viewLongPressed(GestureRecognizerState state);
    // The first touch's force and position (the field's coordinates) are kept.
    void touchesMoved(const std::vector<Touch>& touches);
    static constexpr bool gestureRecognizerShouldRecognizeSimultaneously() { return true; }

    // Notification handlers: each first checks that it concerns this field.
    void textFieldDidBeginEditingNotification(const TextEditingNotification& notification);
    void textFieldTextDidChange(const TextEditingNotification& notification);
    void textFieldDidEndEditingNotification(const TextEditingNotification& notification);

    int64_t numberOfTaps() const { return numberOfTaps_; }
    int64_t numberOfCharsTyped() const { return numberOfCharsTyped_; }
    // True while this field has an open editing period.
    bool shouldEndEditing() const { return shouldEndEditing_; }
    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    std::optional<Clock::TimePoint> timeSpentEndDate() const { return timeSpentEndDate_; }
    std::optional<Clock::TimePoint> typingSpeedBeginDate() const { return typingSpeedBeginDate_; }
    std::optional<Clock::TimePoint> typingSpeedEndDate() const { return typingSpeedEndDate_; }
    double touchForce() const { return touchForce_; }
    ViewPoint touchPosition() const { return touchPosition_; }
    // How many text snapshots the open period holds (none once it ended).
    size_t typedSnapshotCount() const;
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
