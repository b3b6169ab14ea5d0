#pragma once
/**
 * @file
 * @brief A table cell that records the force and position of the last touch
 * moving on it. It sends nothing.
 */
#include <quarra/Export.hpp>
#include <string>
#include <vector>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

/**
 * @brief Records the last touch moving on a table cell; sends nothing.
 *
 * The Qt adapter's quarra::qt::TrackedCellWidget forwards presses and touches
 * to it.
 *
 * @par Thread
 * Main queue only: the constructor, every member and the destructor.
 * @par Lifetime
 * Keeps a reference to its cell's ViewNode, which must outlive it.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API TrackingTableViewCell {
public:
    /// Stands for the toolkit's `cell`, which must outlive this object.
    explicit TrackingTableViewCell(ViewNode& cell) : cell_(cell) {}

    /// A label for the host; never reported.
    const std::string& identifier() const { return identifier_; }
    /// Sets identifier().
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    /// A flag kept for the host; console output follows enableLogs().
    bool showLogs() const { return showLogs_; }
    /// Sets showLogs().
    void setShowLogs(bool show) { showLogs_ = show; }

    /// A cell loaded from an interface document gets a tap recogniser (which
    /// cancels no touches); a cell built in code has none.
    void awakeFromNib() { hasTapRecognizer_ = true; }
    /// Whether awakeFromNib() gave the cell a tap recogniser.
    bool hasTapRecognizer() const { return hasTapRecognizer_; }
    /// Hit-tests the cell at the tap's location (with a tap recogniser only); nothing else follows.
    void tapGestureAction(ViewPoint location);
    /// Keeps the first touch's force and position (the cell's coordinates).
    void touchesMoved(const std::vector<Touch>& touches);
    /// Always true: the cell's recogniser works alongside others.
    static constexpr bool gestureRecognizerShouldRecognizeSimultaneously() { return true; }

    /// The last touch's force.
    double touchForce() const { return touchForce_; }
    /// The last touch's position, in the cell's coordinates.
    ViewPoint touchPosition() const { return touchPosition_; }

private:
    ViewNode& cell_;
    std::string identifier_;
    bool showLogs_ = false;
    bool hasTapRecognizer_ = false;
    double touchForce_ = 0;
    ViewPoint touchPosition_;
};

}  // namespace quarra
