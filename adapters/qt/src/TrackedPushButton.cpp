#include <quarra/qt/TrackedPushButton.hpp>

#include "QtTouches.hpp"
#include "RawString.hpp"
#include "TouchForwarding.hpp"

namespace quarra::qt {

TrackedPushButton::TrackedPushButton(const QString& text, QWidget* parent,
                                     std::shared_ptr<const TrackingContext> context)
    : QPushButton(text, parent), tracking_(std::make_unique<TrackingButton>(std::move(context))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    tracking_->setNextResponder([this](const std::vector<Touch>& touches) { forwardTouchesBegan(*this, touches); });
    connect(this, &QPushButton::clicked, this, [this] { tracking_->buttonTapped(); });
}

TrackedPushButton::TrackedPushButton(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : TrackedPushButton(QString(), parent, std::move(context)) {}

TrackedPushButton::~TrackedPushButton() = default;

QString TrackedPushButton::trackingAction() const {
    auto action = tracking_->trackingAction();
    return action ? QString::fromUtf8(rawValue(*action)) : QString();
}

void TrackedPushButton::setTrackingAction(const QString& action) {
    const auto before = tracking_->trackingAction();
    tracking_->setTrackingAction(std::string_view(action.toStdString()));
    if (tracking_->trackingAction() != before) emit trackingActionChanged();
}

Tags::Action TrackedPushButton::action() const {
    return Tags::fromLibrary(tracking_->trackingAction().value_or(ButtonTrackingAction::None));
}

void TrackedPushButton::setAction(Tags::Action action) {
    setTrackingAction(rawString(rawValue(Tags::toLibrary(action))));
}

bool TrackedPushButton::event(QEvent* event) {
    if (auto contact = pointerContact(*event)) {
        if (contact->begins) tracking_->touchesBegan(contact->touches);
        tracking_->touchesMoved(contact->touches);
    }
    return QPushButton::event(event);
}

}  // namespace quarra::qt
