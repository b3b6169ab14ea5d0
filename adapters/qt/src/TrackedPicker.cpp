#include <quarra/qt/TrackedPicker.hpp>

#include <QShowEvent>

#include "QtTouches.hpp"
#include "RawString.hpp"

namespace quarra::qt {

TrackedPicker::TrackedPicker(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QListWidget(parent), tracking_(std::make_unique<TrackingPickerView>(std::move(context))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    // A picker starts off screen: its first period begins when it is shown.
    tracking_->setHidden(true);
}

// Leaving the screen with the picker ends its period.
TrackedPicker::~TrackedPicker() { tracking_->willMoveToSuperview(false); }

QString TrackedPicker::fieldTag() const { return QString::fromStdString(tracking_->fieldTag()); }
void TrackedPicker::setFieldTag(const QString& tag) {
    if (tag == fieldTag()) return;
    tracking_->setFieldTag(tag.toStdString());
    emit fieldTagChanged();
}

Tags::Field TrackedPicker::field() const {
    return Tags::fromLibrary(fieldTagsFromRawValue(tracking_->fieldTag()).value_or(FieldTags::None));
}

void TrackedPicker::setField(Tags::Field tag) { setFieldTag(rawString(rawValue(Tags::toLibrary(tag)))); }

bool TrackedPicker::event(QEvent* event) {
    if (event->type() == QEvent::TouchBegin || event->type() == QEvent::TouchUpdate) {
        tracking_->touchesMoved(touchesIn(static_cast<QTouchEvent&>(*event)));
    }
    return QListWidget::event(event);
}

// A window minimised and restored is not a new period.
void TrackedPicker::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    if (!event->spontaneous()) tracking_->setHidden(false);
}

void TrackedPicker::hideEvent(QHideEvent* event) {
    QListWidget::hideEvent(event);
    if (!event->spontaneous()) tracking_->setHidden(true);
}

}  // namespace quarra::qt
