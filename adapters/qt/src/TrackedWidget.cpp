#include <quarra/qt/TrackedWidget.hpp>

#include <quarra/qt/ViewNodes.hpp>

#include "PressDispatcher.hpp"
#include "QtTouches.hpp"

namespace quarra::qt {
namespace {

std::vector<Touch> mappedTo(const QWidget& from, const QWidget& to, std::vector<Touch> touches) {
    for (auto& touch : touches) {
        QPointF point = from.mapTo(&to, QPointF(touch.location.x, touch.location.y));
        touch.location = ViewPoint{point.x(), point.y()};
    }
    return touches;
}

}  // namespace

TrackedWidget::TrackedWidget(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QWidget(parent), tracking_(std::make_unique<TrackingView>(viewNodeFor(*this), std::move(context))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    // Presses on the children never reach this widget's own handlers; the
    // one application-wide dispatcher hands them here.
    ensurePressDispatcher();
}

TrackedWidget::~TrackedWidget() = default;

bool TrackedWidget::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::TouchBegin;
    const bool release = type == QEvent::MouseButtonRelease || type == QEvent::TouchEnd;
    if ((!press && !release) || !watched->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target != this && !isAncestorOf(target)) return false;

    std::vector<Touch> touches;
    quint64 timestamp = 0;
    if (isTouchEvent(type)) {
        auto& touch = static_cast<QTouchEvent&>(*event);
        touches = touchesIn(touch);
        timestamp = touch.timestamp();
    } else {
        auto& mouse = static_cast<QMouseEvent&>(*event);
        if (!isFromMouse(mouse)) return false;
        touches = mouseTouch(mouse);
        timestamp = mouse.timestamp();
    }
    quint64& last = press ? lastPressTimestamp_ : lastReleaseTimestamp_;
    if (timestamp != 0 && timestamp == last) return false;
    last = timestamp;
    if (press) {
        pressed(*target, touches);
    } else {
        released(*target, touches);
    }
    return false;
}

void TrackedWidget::pressed(QWidget& target, const std::vector<Touch>& touches) {
    auto local = mappedTo(target, *this, touches);
    if (!local.empty()) tracking_->hitTest(local.back().location);
    tracking_->touchesBegan(local);
}

void TrackedWidget::released(QWidget& target, const std::vector<Touch>& touches) {
    tracking_->touchesEnded(mappedTo(target, *this, touches));
}

}  // namespace quarra::qt
