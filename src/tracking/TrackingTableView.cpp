#include <quarra/tracking/TrackingTableView.hpp>

namespace quarra {

ViewNode* TrackingTableView::hitTest(ViewPoint point) {
    hitTestOnce_ = true;
    // The usual rule, not the host's override (which routes back here).
    return host_.ViewNode::hitTest(point);
}

void TrackingTableView::willBeginDragging() {
    auto offset = host_.contentOffset();
    inX_ = offset.x;
    inY_ = offset.y;
}

void TrackingTableView::willEndDragging() {
    hitTestOnce_ = false;
    auto offset = host_.contentOffset();
    enX_ = offset.x;
    enY_ = offset.y;
}

}  // namespace quarra
