#pragma once
/**
 * @file
 * @brief A table view that records its scroll offset when a drag begins and
 * ends, and whether it has been hit-tested since the last drag ended. It
 * sends nothing.
 */
#include <quarra/Export.hpp>
#include <string>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

/**
 * @brief Records a table view's drags and hit tests; sends nothing.
 *
 * The Qt adapter's quarra::qt::TrackedTableView forwards scroll-bar drags and
 * presses to it.
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a reference to its Host, which must outlive it.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API TrackingTableView {
public:
    /**
     * @brief The toolkit's table view this stands for; it must outlive the TrackingTableView.
     *
     * Main queue only.
     */
    class QUARRA_API Host : public ViewNode {
    public:
        /// How far the content is scrolled, in the toolkit's units.
        virtual ViewPoint contentOffset() const = 0;
    };

    /// Stands for `host`, which must outlive this object.
    explicit TrackingTableView(Host& host) : host_(host) {}

    /// A label for the host; never reported.
    const std::string& identifier() const { return identifier_; }
    /// Sets identifier().
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    /// A flag kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    /// Sets showLogs().
    void setShowLogs(bool show) { showLogs_ = show; }

    /// Marks the hit, then answers the usual hit test of the host view (ViewNode::hitTest()).
    ViewNode* hitTest(ViewPoint point);
    /// Records the content offset as the drag's start. The host calls it from its scrolling callbacks.
    void willBeginDragging();
    /// Records the content offset as the drag's end and clears the hit mark. The host calls it from its scrolling callbacks.
    void willEndDragging();

    /// The x offset when the last drag began.
    double inX() const { return inX_; }
    /// The y offset when the last drag began.
    double inY() const { return inY_; }
    /// The x offset when the last drag ended.
    double enX() const { return enX_; }
    /// The y offset when the last drag ended.
    double enY() const { return enY_; }
    /// Whether hitTest() ran since the last drag ended.
    bool hitTestOnce() const { return hitTestOnce_; }

private:
    Host& host_;
    std::string identifier_;
    bool showLogs_ = false;
    double inX_ = 0;
    double enX_ = 0;
    double inY_ = 0;
    double enY_ = 0;
    bool hitTestOnce_ = false;
};

}  // namespace quarra
