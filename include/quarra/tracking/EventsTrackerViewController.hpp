#pragma once
/**
 * @file
 * @brief A host screen base that records where and how hard the user last
 * touched it; every screen event carries that touch. It sends nothing itself.
 */
#include <quarra/Export.hpp>
#include <memory>
#include <optional>
#include <vector>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Records the last touch on a screen for the screen events of the session.
 *
 * The touch is kept in the tracking context, so every screen event (named or
 * coded, of any screen) carries the last one recorded. The Qt adapter's
 * quarra::qt::TrackedScreen forwards presses and touches to it.
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a shared reference to its tracking context; the recorded touch lives
 * in the context and outlives the screen.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API EventsTrackerViewController {
public:
    /// A screen recording into `context` (the shared one unless a test gives its own).
    explicit EventsTrackerViewController(std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Leaves the recorded touch in the context.
    virtual ~EventsTrackerViewController() = default;

    /// The screen's tag, for the host; this class reports no screen events, so it is not sent.
    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    /// Always absent: this class opens no visits.
    std::optional<Clock::TimePoint> screenVisitStartDate() const { return screenVisitStartDate_; }

    /**
     * @name Toolkit events
     * Called after the toolkit's own handling, on the main queue.
     */
    //@{
    /// Does nothing.
    void viewDidAppear() {}
    /// Forgets the last touch's position (its force stays).
    void viewWillDisappear();
    /// Records the touches' locations (the screen's root view's coordinates) and force; the last touch wins.
    void touchesBegan(const std::vector<Touch>& touches);
    //@}

private:
    std::shared_ptr<const TrackingContext> context_;
    std::optional<Clock::TimePoint> screenVisitStartDate_;
};

}  // namespace quarra
