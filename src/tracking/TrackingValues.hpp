#pragma once
// The process-wide tracking values: the screen the user is on, where the
// user last touched a screen, and when the last automatically tracked screen
// visit started. Owned by the main queue: read and written only there.
#include <optional>

#include <quarra/Clock.hpp>
#include <quarra/tracking/UserEventType.hpp>

namespace quarra {

struct LastScreenTouch {
    double x = 0;
    double y = 0;
    double force = 0;
};

class TrackingValues {
public:
    UserEventType currentUserEvent = UserEventType::None;
    LastScreenTouch lastScreenTouch;

    // The start of the last automatic screen visit; read before anything set
    // it, it takes the moment of that first read.
    Clock::TimePoint sharedScreenVisitStartDate(Clock::TimePoint now) {
        if (!sharedScreenVisitStartDate_) sharedScreenVisitStartDate_ = now;
        return *sharedScreenVisitStartDate_;
    }
    void setSharedScreenVisitStartDate(Clock::TimePoint when) { sharedScreenVisitStartDate_ = when; }

private:
    std::optional<Clock::TimePoint> sharedScreenVisitStartDate_;
};

}  // namespace quarra
