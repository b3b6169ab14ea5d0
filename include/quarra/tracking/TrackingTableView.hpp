#pragma once
// A table view that records its scroll offset when a drag begins and ends,
// and whether it has been hit-tested since the last drag ended. It sends nothing.
// Every method runs on the main queue.
#include <string>

#include <quarra/tracking/Touch.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

class TrackingTableView {
public:
    // The toolkit's table view this stands for; it must outlive this object.
    class Host : public ViewNode {
    public:
        virtual ViewPoint contentOffset() const = 0;
    };

    explicit TrackingTableView(Host& host) : host_(host) {}

    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool showLogs() const { return showLogs_; }
    void setShowLogs(bool show) { showLogs_ = show; }

    // Marks the hit, then answers the usual hit test of the host view.
    ViewNode* hitTest(ViewPoint point);
    // The host calls these from its scrolling callbacks.
    void willBeginDragging();
    void willEndDragging();

    double inX() const { return inX_; }
    double inY() const { return inY_; }
    double enX() const { return enX_; }
    double enY() const { return enY_; }
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
