#pragma once
// A QTableView that records, through TrackingTableView, its scroll offset
// (in pixels) when the user starts and stops dragging a scroll bar, and marks
// a hit test on every press in it. It sends nothing.
#include <QTableView>
#include <memory>

#include <quarra/tracking/TrackingTableView.hpp>

namespace quarra::qt {

class TrackedTableView : public QTableView {
    Q_OBJECT

public:
    explicit TrackedTableView(QWidget* parent = nullptr);
    ~TrackedTableView() override;

    TrackingTableView& tracking() { return *tracking_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Host;
    Host* host_;  // a child object of this widget
    std::unique_ptr<TrackingTableView> tracking_;
};

}  // namespace quarra::qt
