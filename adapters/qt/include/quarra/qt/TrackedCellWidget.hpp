#pragma once
/**
 * @file
 * @brief A cell widget (for QAbstractItemView::setIndexWidget or a list of
 * rows) that records, through TrackingTableViewCell, the force and position
 * of the last press or touch moving on it. It sends nothing.
 */
#include <quarra/qt/Export.hpp>
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingTableViewCell.hpp>

namespace quarra::qt {

/**
 * @brief A QWidget cell that records the last press or touch on it; sends nothing.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingTableViewCell.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API TrackedCellWidget : public QWidget {
    Q_OBJECT

public:
    /// A cell that accepts touch events.
    explicit TrackedCellWidget(QWidget* parent = nullptr);
    /// Destroys the tracking control with the widget.
    ~TrackedCellWidget() override;

    /// A cell described in a .ui file gets a tap recogniser; call this after
    /// setupUi() for such a cell. Its taps are then hit-tested.
    void awakeFromNib() { tracking_->awakeFromNib(); }
    /// The tracking control; valid as long as the widget.
    TrackingTableViewCell& tracking() { return *tracking_; }

protected:
    /// Forwards presses, touches and moves while pressed to the control; the
    /// base class then handles the event. An override calls this one.
    bool event(QEvent* event) override;
    /// A release inside the cell is a tap (with a tap recogniser); the base
    /// class then handles it. An override calls this one.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<TrackingTableViewCell> tracking_;
};

}  // namespace quarra::qt
