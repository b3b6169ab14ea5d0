#include <quarra/tracking/EventsTrackerCollectionViewController.hpp>

#include "tracking/ScreenEvents.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {

EventsTrackerCollectionViewController::EventsTrackerCollectionViewController(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)) {}

void EventsTrackerCollectionViewController::viewDidAppear() {
    screenVisitStartDate_ = codedEnterStep(*context_, screenTag());
}

// The start is kept: a second disappearance without a new appearance
// reports again from the same start.
void EventsTrackerCollectionViewController::viewWillDisappear() {
    codedExitStep(*context_, screenTag(), screenVisitStartDate_);
}

}  // namespace quarra
