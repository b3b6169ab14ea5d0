#pragma once
// A host screen base that records where and how hard the user last touched
// it; every screen event carries that touch. It sends nothing itself.
// Every method runs on the main queue.
#include <memory>
#include <optional>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

class EventsTrackerViewController {
public:
    explicit EventsTrackerViewController(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    virtual ~EventsTrackerViewController() = default;

    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    std::optional<Clock::TimePoint> screenVisitStartDate() const { return screenVisitStartDate_; }

    // Toolkit events, after the toolkit's own handling.
    void viewDidAppear() {}
    // Forgets the last touch's position (its force stays).
    void viewWillDisappear();
    // Locations in the screen's root view; the last touch wins.
    void touchesBegan(const std::vector<Touch>& touches);

private:
    std::shared_ptr<const TrackingContext> context_;
    std::optional<Clock::TimePoint> screenVisitStartDate_;
};

}  // namespace quarra
