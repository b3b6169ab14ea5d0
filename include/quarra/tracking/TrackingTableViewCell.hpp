#pragma once
// A table cell that records the force and position of the last touch moving
// on it. It sends nothing. Every method runs on the main queue.
#include <string>
#include <vector>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

class TrackingTableViewCell {
public:
    // The toolkit's cell this stands for; it must outlive this object.
    explicit TrackingTableViewCell(ViewNode& cell) : cell_(cell) {}

    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool showLogs() const { return showLogs_; }
    void setShowLogs(bool show) { showLogs_ = show; }

    // A cell loaded from an interface document gets a tap recogniser (which
    // cancels no touches); a cell built in code has none.
    void awakeFromNib() { hasTapRecognizer_ = true; }
    bool hasTapRecognizer() const { return hasTapRecognizer_; }
    // Hit-tests the cell at the tap's location; nothing else follows.
    void tapGestureAction(ViewPoint location);
    void touchesMoved(const std::vector<Touch>& touches);
    static constexpr bool gestureRecognizerShouldRecognizeSimultaneously() { return true; }

    double touchForce() const { return touchForce_; }
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
