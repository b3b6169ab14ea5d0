#include <quarra/tracking/TrackingTableViewCell.hpp>

namespace quarra {

void TrackingTableViewCell::tapGestureAction(ViewPoint location) {
    if (!hasTapRecognizer_) return;
    (void)cell_.ViewNode::hitTest(location);
}

void TrackingTableViewCell::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    touchForce_ = touches.front().force;
    touchPosition_ = touches.front().location;
}

}  // namespace quarra
