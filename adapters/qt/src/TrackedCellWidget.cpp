#include <quarra/qt/TrackedCellWidget.hpp>

#include <quarra/qt/ViewNodes.hpp>

#include "QtTouches.hpp"

namespace quarra::qt {

TrackedCellWidget::TrackedCellWidget(QWidget* parent)
    : QWidget(parent), tracking_(std::make_unique<TrackingTableViewCell>(viewNodeFor(*this))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

TrackedCellWidget::~TrackedCellWidget() = default;

bool TrackedCellWidget::event(QEvent* event) {
    if (auto contact = pointerContact(*event)) tracking_->touchesMoved(contact->touches);
    return QWidget::event(event);
}

void TrackedCellWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (tracking_->hasTapRecognizer() && rect().contains(event->position().toPoint())) {
        tracking_->tapGestureAction(ViewPoint{event->position().x(), event->position().y()});
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace quarra::qt
