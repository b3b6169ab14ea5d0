#pragma once
// A picker that measures how long it was visible and reports each visible
// period as an activity-stream event labelled by its field tag.
//
// A toolkit adapter owns one per picker and forwards the toolkit's events.
// Every method, the constructor and the destructor run on the main queue.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

class TrackingPickerView {
public:
    explicit TrackingPickerView(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackingPickerView();
    TrackingPickerView(const TrackingPickerView&) = delete;
    TrackingPickerView& operator=(const TrackingPickerView&) = delete;

    // One of the FieldTags raw strings; "Undefined" is reported too. Any other
    // text is a configuration error (said once on the console) and no period
    // is tracked while it stands.
    const std::string& fieldTag() const { return fieldTag_; }
    void setFieldTag(std::string tag) { fieldTag_ = std::move(tag); }
    bool showLogs() const { return showLogs_; }
    void setShowLogs(bool show) { showLogs_ = show; }

    // Toolkit events, after the toolkit's own handling. Showing begins a
    // period (again from now if one was open); hiding ends it with a report.
    void setHidden(bool hidden);
    bool isHidden() const { return hidden_; }
    // Entering a superview while shown begins a period; leaving one ends it.
    void willMoveToSuperview(bool hasSuperview);
    // Kept, never reported.
    void touchesMoved(const std::vector<Touch>& touches);

    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    std::optional<Clock::TimePoint> timeSpentEndDate() const { return timeSpentEndDate_; }
    double touchForce() const { return touchForce_; }
    ViewPoint touchPosition() const { return touchPosition_; }

private:
    bool tagIsKnown();
    void beginPeriod();
    void endPeriod();

    std::shared_ptr<const TrackingContext> context_;
    std::shared_ptr<const char> alive_;  // completions hold it weakly
    bool showLogs_ = false;
    bool hidden_ = false;
    std::string fieldTag_;
    std::optional<Clock::TimePoint> timeSpentBeginDate_;
    std::optional<Clock::TimePoint> timeSpentEndDate_;
    double touchForce_ = 0;
    ViewPoint touchPosition_;
    bool toldBadTag_ = false;
};

}  // namespace quarra
