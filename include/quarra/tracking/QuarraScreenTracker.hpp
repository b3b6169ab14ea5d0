#pragma once
/**
 * @file
 * @brief What automatic screen tracking labels every screen visit with.
 */
#include <quarra/Export.hpp>
#include <optional>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>

namespace quarra {

/**
 * @brief The label of an automatically tracked screen visit.
 *
 * The tag ForgotPassword (not None, which would suppress the events) and the
 * moment the tracker was made.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API QuarraScreenTracker {
public:
    /// A tracker whose visit starts at `now`.
    explicit QuarraScreenTracker(Clock::TimePoint now) : screenVisitStartDate(now) {}

    ScreenTags screenTag = ScreenTags::ForgotPassword;          ///< The tag every automatic visit carries.
    std::optional<Clock::TimePoint> screenVisitStartDate;       ///< When the visit started.
};

}  // namespace quarra
