#include <quarra/tracking/EventsTrackerViewController.hpp>

#include "tracking/TrackingContext.hpp"

namespace quarra {

EventsTrackerViewController::EventsTrackerViewController(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)) {}

void EventsTrackerViewController::viewWillDisappear() {
    auto& touch = context_->values->lastScreenTouch;
    touch.x = 0;
    touch.y = 0;
}

void EventsTrackerViewController::touchesBegan(const std::vector<Touch>& touches) {
    auto& last = context_->values->lastScreenTouch;
    for (const auto& touch : touches) {
        last.x = touch.location.x;
        last.y = touch.location.y;
        last.force = touch.force;
    }
}

}  // namespace quarra
