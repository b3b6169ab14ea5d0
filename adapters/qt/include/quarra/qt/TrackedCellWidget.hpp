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
    /// Whether taps on the cell are recognised; settable from a .ui file.
    Q_PROPERTY(bool tapRecognizer READ tapRecognizer WRITE setTapRecognizer)

public:
    /// A cell that accepts touch events.
    explicit TrackedCellWidget(QWidget* parent = nullptr);
    /// Destroys the tracking control with the widget.
    ~TrackedCellWidget() override;

    /// Whether releases on the cell count as taps (hit-tested). A cell from a
    /// .ui file sets it there: `<property name="tapRecognizer"><bool>true</bool></property>`.
    bool tapRecognizer() const { return tracking_->hasTapRecognizer(); }
    /// Gives the cell a tap recogniser; once given it stays (false changes nothing).
    void setTapRecognizer(bool on) {
        if (on) tracking_->awakeFromNib();
    }
    /// The former name of setTapRecognizer(true), kept for existing hosts.
    void awakeFromNib() { setTapRecognizer(true); }
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
