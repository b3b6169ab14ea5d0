#pragma once
// A plain view that records where touches start and end, and prints which
// subview a tap selected. It sends nothing.
//
// The adapter's ViewNode for the widget routes its hitTest() here. Every
// method runs on the main queue.
#include <string>
#include <vector>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

class TrackingView {
public:
    // `view` is the toolkit's view this stands for; it must outlive this object.
    explicit TrackingView(ViewNode& view, std::shared_ptr<const TrackingContext> context = sharedTrackingContext());

    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool showLogs() const { return showLogs_; }
    void setShowLogs(bool show) { showLogs_ = show; }

    // Nothing when the view is hidden, nearly transparent (alpha 0.01 or
    // less) or `point` is outside; else the hit of the frontmost subview that
    // yields one, printing "Tap <subview class> at (x, y)" on every other such
    // hit (the toolkit may hit-test one touch twice); else the view itself.
    ViewNode* hitTest(ViewPoint point);
    // Locations in the view's coordinates; the last touch wins.
    void touchesBegan(const std::vector<Touch>& touches);
    void touchesEnded(const std::vector<Touch>& touches);

    bool didLogSelectedView() const { return didLogSelectedView_; }
    double touchStartX() const { return touchStartX_; }
    double touchStartY() const { return touchStartY_; }
    double touchEndX() const { return touchEndX_; }
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
