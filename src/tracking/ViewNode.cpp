#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

ViewNode* ViewNode::hitTest(ViewPoint point) {
    if (isHidden() || !(alpha() > 0.01) || !pointInside(point)) return nullptr;
    auto children = subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (*it == nullptr) continue;
        if (ViewNode* hit = (*it)->hitTest(convert(point, **it))) return hit;
    }
    return this;
}

}  // namespace quarra
