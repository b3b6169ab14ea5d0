#include <QAbstractButton>
#include <QAction>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TrackedPushButton.hpp>
#include <quarra/tracking/TrackingButton.hpp>

#include "Attachments.hpp"
#include "QtTouches.hpp"
#include "TouchForwarding.hpp"

namespace quarra::qt {
namespace {

// Feeds a plain button's presses and clicks (or an action's triggers) to a
// TrackingButton, as TrackedPushButton does from inside.
class ButtonAttachment final : public QObject {
public:
    ButtonAttachment(QObject& owner, std::shared_ptr<const TrackingContext> context)
        : QObject(&owner), tracking_(std::make_unique<TrackingButton>(std::move(context))) {
        setObjectName(QString::fromLatin1(kButtonAttachmentName));
        if (auto* button = qobject_cast<QAbstractButton*>(&owner)) {
            button_ = button;
            button->setAttribute(Qt::WA_AcceptTouchEvents);
            button->installEventFilter(this);
            tracking_->setNextResponder(
                [button](const std::vector<Touch>& touches) { forwardTouchesBegan(*button, touches); });
            connect(button, &QAbstractButton::clicked, this, [this] { tracking_->buttonTapped(); });
        } else if (auto* action = qobject_cast<QAction*>(&owner)) {
            connect(action, &QAction::triggered, this, [this] { tracking_->buttonTapped(); });
        }
    }

    void setAction(const std::string& action) { tracking_->setTrackingAction(std::string_view(action)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != button_) return false;
        if (auto contact = pointerContact(*event)) {
            if (contact->begins) tracking_->touchesBegan(contact->touches);
            tracking_->touchesMoved(contact->touches);
        }
        return false;
    }

private:
    std::unique_ptr<TrackingButton> tracking_;
    QAbstractButton* button_ = nullptr;  // the parent, when a button
};

}  // namespace

bool attachButton(QObject& owner, const std::string& rawAction, std::shared_ptr<const TrackingContext> context) {
    // A TrackedPushButton reports its clicks already.
    if (qobject_cast<TrackedPushButton*>(&owner)) return false;
    if (!qobject_cast<QAbstractButton*>(&owner) && !qobject_cast<QAction*>(&owner)) return false;
    auto* button = attachmentOf<ButtonAttachment>(owner, kButtonAttachmentName);
    if (!button) button = new ButtonAttachment(owner, std::move(context));  // owned by `owner`
    button->setAction(rawAction);
    return true;
}

bool trackButton(QAbstractButton* button, ButtonTrackingAction action, std::shared_ptr<const TrackingContext> context) {
    return button && attachButton(*button, std::string(rawValue(action)), std::move(context));
}

bool trackAction(QAction* action, ButtonTrackingAction trackingAction, std::shared_ptr<const TrackingContext> context) {
    return action && attachButton(*action, std::string(rawValue(trackingAction)), std::move(context));
}

}  // namespace quarra::qt
