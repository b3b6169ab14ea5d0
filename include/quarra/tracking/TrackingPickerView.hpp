#pragma once
/**
 * @file
 * @brief A picker that measures how long it was visible and reports each
 * visible period as an activity-stream event labelled by its field tag.
 */
#include <quarra/Export.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Reports each period a picker was visible.
 *
 * A toolkit adapter owns one per picker and forwards the toolkit's events
 * (quarra::qt::TrackedPicker).
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a shared reference to its tracking context. The destructor sends
 * nothing: an open period is reported only if the adapter ends it first
 * (willMoveToSuperview(false)). A report handed off is delivered also when
 * the picker is destroyed meanwhile; after DataCollectorService::shutdown()
 * reports are refused at once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_API TrackingPickerView {
public:
    /// A picker reporting through `context` (the shared one unless a test gives its own); shown, no period open.
    explicit TrackingPickerView(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Sends nothing.
    ~TrackingPickerView();
    /// Not copyable.
    TrackingPickerView(const TrackingPickerView&) = delete;
    /// Not copyable.
    TrackingPickerView& operator=(const TrackingPickerView&) = delete;

    /// One of the FieldTags raw strings; "Undefined" is reported too. Any other
    /// text is a configuration error (said once on the console) and no period
    /// is tracked while it stands.
    const std::string& fieldTag() const { return fieldTag_; }
    /// Sets fieldTag(); checked when a period begins and again when it ends.
    void setFieldTag(std::string tag) { fieldTag_ = std::move(tag); }
    /// A flag kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    /// Sets showLogs().
    void setShowLogs(bool show) { showLogs_ = show; }

    /**
     * @name Toolkit events
     * Forwarded by the adapter on the main queue, after the toolkit's own
     * handling.
     */
    //@{
    /// Showing begins a period (again from now if one was open); hiding ends it with a report.
    void setHidden(bool hidden);
    /// Whether the picker was last hidden.
    bool isHidden() const { return hidden_; }
    /// Entering a superview while shown begins a period; leaving one ends it with a report.
    void willMoveToSuperview(bool hasSuperview);
    /// Keeps the first touch's force and position; never reported.
    void touchesMoved(const std::vector<Touch>& touches);
    //@}

    /// When the open period began; absent while none is open.
    std::optional<Clock::TimePoint> timeSpentBeginDate() const { return timeSpentBeginDate_; }
    /// When the last period ended.
    std::optional<Clock::TimePoint> timeSpentEndDate() const { return timeSpentEndDate_; }
    /// The last touch's force.
    double touchForce() const { return touchForce_; }
    /// The last touch's position.
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
