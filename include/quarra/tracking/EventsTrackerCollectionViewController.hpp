#pragma once
/**
 * @file
 * @brief A host collection screen base that reports entering and leaving the
 * screen as coded user events, when the host gives it a screen tag.
 */
#include <quarra/Export.hpp>
#include <memory>
#include <optional>

#include <quarra/Clock.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Reports a collection screen's visits as coded enter and exit events.
 *
 * The host (or its toolkit adapter, quarra::qt::TrackedCollectionScreen)
 * overrides screenTag() and forwards the toolkit's appear and disappear
 * events.
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor. The
 * reports are handed to the library's worker.
 * @par Lifetime
 * Keeps a shared reference to its tracking context. A report handed off is
 * delivered also when the screen is destroyed meanwhile; after
 * DataCollectorService::shutdown() reports are refused at once.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API EventsTrackerCollectionViewController {
public:
    /// A screen reporting through `context` (the shared one unless a test gives its own).
    explicit EventsTrackerCollectionViewController(
        std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Sends nothing: a screen destroyed while shown reports no exit (the host calls viewWillDisappear() first).
    virtual ~EventsTrackerCollectionViewController() = default;

    /// The screen's tag; overridden by the host. None reports nothing.
    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    /// When the current (or last) visit began; absent before the first viewDidAppear().
    std::optional<Clock::TimePoint> screenVisitStartDate() const { return screenVisitStartDate_; }

    /**
     * @name Toolkit events
     * Called after the toolkit's own handling (and the automatic hooks'),
     * on the main queue.
     */
    //@{
    /// Starts the visit and sends the enter event (nothing is sent for None).
    void viewDidAppear();
    /// Sends the exit event with the visit's duration; nothing before the first appearance.
    /// A second call without a new appearance reports again from the same start.
    void viewWillDisappear();
    //@}

private:
    std::shared_ptr<const TrackingContext> context_;
    std::optional<Clock::TimePoint> screenVisitStartDate_;
};

}  // namespace quarra
