#pragma once
// A host collection screen base that reports entering and leaving the screen as
// coded user events, when the host gives it a screen tag.
// Every method runs on the main queue.
#include <memory>
#include <optional>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

class EventsTrackerCollectionViewController {
public:
    explicit EventsTrackerCollectionViewController(
        std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    virtual ~EventsTrackerCollectionViewController() = default;

    // Overridden by the host; None reports nothing.
    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    std::optional<Clock::TimePoint> screenVisitStartDate() const { return screenVisitStartDate_; }

    // Toolkit events, after the toolkit's own handling (and the automatic
    // hooks'). Appearing sends the enter event; disappearing sends the exit
    // event with the visit's duration.
    void viewDidAppear();
    void viewWillDisappear();

private:
    std::shared_ptr<const TrackingContext> context_;
    std::optional<Clock::TimePoint> screenVisitStartDate_;
};

}  // namespace quarra
