#include <quarra/qt/TrackedTableView.hpp>

#include <QMouseEvent>
#include <QScrollBar>

#include "WidgetNode.hpp"

namespace quarra::qt {

class TrackedTableView::Host final : public WidgetNodeOf<TrackingTableView::Host> {
public:
    explicit Host(TrackedTableView& table) : WidgetNodeOf(table), table_(table) {}
    ViewPoint contentOffset() const override {
        return ViewPoint{static_cast<double>(table_.horizontalScrollBar()->value()),
                         static_cast<double>(table_.verticalScrollBar()->value())};
    }

private:
    TrackedTableView& table_;
};

TrackedTableView::TrackedTableView(QWidget* parent)
    : QTableView(parent), host_(new Host(*this)), tracking_(std::make_unique<TrackingTableView>(*host_)) {
    // Offsets in pixels, as a scrolled view measures them.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QScrollBar::sliderPressed, this, [this] { tracking_->willBeginDragging(); });
        connect(bar, &QScrollBar::sliderReleased, this, [this] { tracking_->willEndDragging(); });
    }
}

TrackedTableView::~TrackedTableView() { tracking_.reset(); }

void TrackedTableView::mousePressEvent(QMouseEvent* event) {
    // Presses arrive in the viewport's coordinates.
    QPointF point = viewport()->mapTo(this, event->position());
    tracking_->hitTest(ViewPoint{point.x(), point.y()});
    QTableView::mousePressEvent(event);
}

}  // namespace quarra::qt
