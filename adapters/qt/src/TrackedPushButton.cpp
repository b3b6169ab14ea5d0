#include <quarra/qt/TrackedPushButton.hpp>

#include "QtTouches.hpp"
#include "TouchForwarding.hpp"

namespace quarra::qt {

TrackedPushButton::TrackedPushButton(const QString& text, QWidget* parent,
                                     std::shared_ptr<const TrackingContext> context)
    : QPushButton(text, parent), tracking_(std::make_unique<TrackingButton>(std::move(context))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    tracking_->setNextResponder([this](const std::vector<Touch>& touches) { forwardTouchesBegan(*this, touches); });
    connect(this, &QPushButton::clicked, this, [this] { tracking_->buttonTapped(); });
}

TrackedPushButton::~TrackedPushButton() = default;

QString TrackedPushButton::trackingAction() const {
    auto action = tracking_->trackingAction();
    return action ? QString::fromUtf8(rawValue(*action)) : QString();
}

void TrackedPushButton::setTrackingAction(const QString& action) { tracking_->setTrackingAction(action.toStdString()); }

bool TrackedPushButton::event(QEvent* event) {
    if (event->type() == QEvent::TouchBegin) {
        auto touches = touchesIn(static_cast<QTouchEvent&>(*event));
        tracking_->touchesBegan(touches);
        tracking_->touchesMoved(touches);
    } else if (event->type() == QEvent::TouchUpdate) {
        tracking_->touchesMoved(touchesIn(static_cast<QTouchEvent&>(*event)));
    }
    return QPushButton::event(event);
}

void TrackedPushButton::mousePressEvent(QMouseEvent* event) {
    if (isFromMouse(*event)) {
        auto touches = mouseTouch(*event);
        tracking_->touchesBegan(touches);
        tracking_->touchesMoved(touches);
    }
    QPushButton::mousePressEvent(event);
}

void TrackedPushButton::mouseMoveEvent(QMouseEvent* event) {
    if (isFromMouse(*event) && event->buttons() != Qt::NoButton) tracking_->touchesMoved(mouseTouch(*event));
    QPushButton::mouseMoveEvent(event);
}

}  // namespace quarra::qt
