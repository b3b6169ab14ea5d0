#pragma once
/**
 * @file
 * @brief A plain view that records where touches start and end, and prints
 * which subview a tap selected. It sends nothing.
 */
#include <quarra/Export.hpp>
#include <string>
#include <vector>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

/**
 * @brief Records where touches on a view start and end; sends nothing.
 *
 * The adapter hit-tests the view through hitTest() for each press (the Qt
 * adapter's quarra::qt::TrackedWidget does so for presses on the widget or
 * anything inside it) and forwards the touches.
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a reference to its view's ViewNode, which must outlive it, and a
 * shared reference to its tracking context (for the console).
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API TrackingView {
public:
    /// Stands for the toolkit's `view`, which must outlive this object.
    explicit TrackingView(ViewNode& view, std::shared_ptr<const TrackingContext> context = sharedTrackingContext());

    /// A label for the host; never reported.
    const std::string& identifier() const { return identifier_; }
    /// Sets identifier().
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    /// A flag kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    /// Sets showLogs().
    void setShowLogs(bool show) { showLogs_ = show; }

    /// The deepest view at `point` (the view's coordinates), or null.
    ///
    /// Nothing when the view is hidden, nearly transparent (alpha 0.01 or
    /// less) or `point` is outside; else the hit of the frontmost subview that
    /// yields one, printing `"Tap <subview class> at (x, y)"` on every other
    /// such hit (the toolkit may hit-test one touch twice); else the view
    /// itself. The node returned belongs to the host's view tree.
    ViewNode* hitTest(ViewPoint point);
    /// Records the touches' locations (the view's coordinates) as the start; the last touch wins.
    void touchesBegan(const std::vector<Touch>& touches);
    /// Records the end the same way, unless the last hit test printed its line; then clears that mark.
    void touchesEnded(const std::vector<Touch>& touches);

    /// Whether the last hit test printed its "Tap" line.
    bool didLogSelectedView() const { return didLogSelectedView_; }
    /// Where the last touch started, x.
    double touchStartX() const { return touchStartX_; }
    /// Where the last touch started, y.
    double touchStartY() const { return touchStartY_; }
    /// Where the last touch ended, x.
    double touchEndX() const { return touchEndX_; }
    /// Where the last touch ended, y.
    double touchEndY() const { return touchEndY_; }

private:
    ViewNode& view_;
    std::shared_ptr<const TrackingContext> context_;
    std::string identifier_;
    bool showLogs_ = false;
    bool didLogSelectedView_ = false;
    double touchStartX_ = 0;
    double touchStartY_ = 0;
    double touchEndX_ = 0;
    double touchEndY_ = 0;
};

}  // namespace quarra
