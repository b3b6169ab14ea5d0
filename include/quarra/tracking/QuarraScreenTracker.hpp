#pragma once
// What automatic screen tracking labels every screen visit with: the tag
// ForgotPassword (not None, which would suppress the events) and the moment
// the tracker was made.
#include <optional>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>

namespace quarra {

class QuarraScreenTracker {
public:
    explicit QuarraScreenTracker(Clock::TimePoint now) : screenVisitStartDate(now) {}

    ScreenTags screenTag = ScreenTags::ForgotPassword;
    std::optional<Clock::TimePoint> screenVisitStartDate;
};

}  // namespace quarra
