#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QPointer>
#include <QTouchEvent>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TrackedPicker.hpp>
#include <quarra/tracking/TrackingPickerView.hpp>

#include "Attachments.hpp"
#include "QtTouches.hpp"

namespace quarra::qt {
namespace {

inline constexpr const char* kPickerAttachmentName = "quarra-picker-attachment";

// What the user picks from: a combo box's list is up only while it drops
// down, which is the period worth measuring; any other widget is its own list.
QWidget& listOf(QWidget& picker) {
    if (auto* combo = qobject_cast<QComboBox*>(&picker)) return *combo->view();
    return picker;
}

// Feeds a widget's shows, hides and touches to a TrackingPickerView, as
// TrackedPicker does from inside.
class PickerAttachment final : public QObject {
public:
    PickerAttachment(QWidget& picker, std::shared_ptr<const TrackingContext> context)
        : QObject(&picker), list_(&listOf(picker)), tracking_(std::make_unique<TrackingPickerView>(std::move(context))) {
        setObjectName(QString::fromLatin1(kPickerAttachmentName));
        list_->setAttribute(Qt::WA_AcceptTouchEvents);
        list_->installEventFilter(this);
        // A picker off screen begins its first period when it is shown.
        tracking_->setHidden(!list_->isVisible());
    }
    // Leaving the screen with the picker ends its period.
    ~PickerAttachment() override { tracking_->willMoveToSuperview(false); }

    void setTag(const std::string& tag) { tracking_->setFieldTag(tag); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != list_) return false;
        switch (event->type()) {
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate: tracking_->touchesMoved(touchesIn(static_cast<QTouchEvent&>(*event))); break;
            // A window minimised and restored is not a new period.
            case QEvent::Show:
                if (!event->spontaneous()) tracking_->setHidden(false);
                break;
            case QEvent::Hide:
                if (!event->spontaneous()) tracking_->setHidden(true);
                break;
            default: break;
        }
        return false;
    }

private:
    QPointer<QWidget> list_;  // the parent, or a combo box's list (gone with a setView())
    std::unique_ptr<TrackingPickerView> tracking_;
};

}  // namespace

bool attachPicker(QWidget& picker, const std::string& rawTag, std::shared_ptr<const TrackingContext> context) {
    // A TrackedPicker measures itself already.
    if (qobject_cast<TrackedPicker*>(&picker)) return false;
    auto* attached = attachmentOf<PickerAttachment>(picker, kPickerAttachmentName);
    if (!attached) attached = new PickerAttachment(picker, std::move(context));  // owned by the picker
    attached->setTag(rawTag);
    return true;
}

bool trackPicker(QWidget* picker, FieldTags tag, std::shared_ptr<const TrackingContext> context) {
    return picker && attachPicker(*picker, std::string(rawValue(tag)), std::move(context));
}

}  // namespace quarra::qt
