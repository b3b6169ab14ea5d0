#include <quarra/tracking/EventsTrackerTableViewController.hpp>

#include "tracking/ScreenEvents.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {

EventsTrackerTableViewController::EventsTrackerTableViewController(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)) {}

void EventsTrackerTableViewController::viewDidAppear() {
    screenVisitStartDate_ = codedEnterStep(*context_, screenTag());
}

// The start is kept: a second disappearance without a new appearance
// reports again from the same start.
void EventsTrackerTableViewController::viewWillDisappear() {
    codedExitStep(*context_, screenTag(), screenVisitStartDate_);
}

}  // namespace quarra
