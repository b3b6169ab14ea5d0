#include <quarra/tracking/TrackingView.hpp>

#include "tracking/TouchText.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {

TrackingView::TrackingView(ViewNode& view, std::shared_ptr<const TrackingContext> context)
    : view_(view), context_(std::move(context)) {}

ViewNode* TrackingView::hitTest(ViewPoint point) {
    // The view's user-interaction switch is not consulted.
    if (view_.isHidden() || !(view_.alpha() > 0.01) || !view_.pointInside(point)) return nullptr;
    auto subviews = view_.subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        ViewNode* subview = *it;
        if (subview == nullptr) continue;
        ViewNode* hit = subview->hitTest(view_.convert(point, *subview));
        if (hit == nullptr) continue;
        if (!didLogSelectedView_) {
            didLogSelectedView_ = true;
            context_->console->print("Tap " + subview->className() + " at " + pointText(point));
        } else {
            didLogSelectedView_ = false;
        }
        return hit;
    }
    return &view_;
}

void TrackingView::touchesBegan(const std::vector<Touch>& touches) {
    for (const auto& touch : touches) {
        touchStartX_ = touch.location.x;
        touchStartY_ = touch.location.y;
    }
}

void TrackingView::touchesEnded(const std::vector<Touch>& touches) {
    if (!didLogSelectedView_) {
        for (const auto& touch : touches) {
            touchEndX_ = touch.location.x;
            touchEndY_ = touch.location.y;
        }
    }
    didLogSelectedView_ = false;
}

}  // namespace quarra
