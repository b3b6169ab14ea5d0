#pragma once
/**
 * @file
 * @brief A QTableView that records, through TrackingTableView, its scroll
 * offset (in pixels) when the user starts and stops dragging a scroll bar,
 * and marks a hit test on every press in it. It sends nothing.
 */
#include <quarra/qt/Export.hpp>
#include <QTableView>
#include <memory>

#include <quarra/tracking/TrackingTableView.hpp>

namespace quarra::qt {

/**
 * @brief A QTableView that records scroll-bar drags and presses; sends nothing.
 *
 * It scrolls per pixel, so that the offsets are in pixels.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingTableView.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API TrackedTableView : public QTableView {
    Q_OBJECT

public:
    /// A table that scrolls per pixel and watches its scroll bars.
    explicit TrackedTableView(QWidget* parent = nullptr);
    /// Destroys the tracking control.
    ~TrackedTableView() override;

    /// The tracking control; valid as long as the widget.
    TrackingTableView& tracking() { return *tracking_; }

protected:
    /// Marks a hit test at the press (in the table's coordinates); the base
    /// class then handles it. An override calls this one.
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Host;
    Host* host_;  // a child object of this widget
    std::unique_ptr<TrackingTableView> tracking_;
};

}  // namespace quarra::qt
