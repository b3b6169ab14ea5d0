#pragma once
// A cell widget (for QAbstractItemView::setIndexWidget or a list of rows)
// that records, through TrackingTableViewCell, the force and position of the
// last press or touch moving on it. It sends nothing.
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingTableViewCell.hpp>

namespace quarra::qt {

class TrackedCellWidget : public QWidget {
    Q_OBJECT

public:
    explicit TrackedCellWidget(QWidget* parent = nullptr);
    ~TrackedCellWidget() override;

    // A cell described in a .ui file gets a tap recogniser; call this after
    // setupUi() for such a cell. Its taps are then hit-tested.
    void awakeFromNib() { tracking_->awakeFromNib(); }
    TrackingTableViewCell& tracking() { return *tracking_; }

protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<TrackingTableViewCell> tracking_;
};

}  // namespace quarra::qt
