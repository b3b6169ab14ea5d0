#include <QCoreApplication>
#include <QDynamicPropertyChangeEvent>
#include <QVariant>
#include <QWidget>

#include <quarra/qt/AttachedTracking.hpp>

#include "Attachments.hpp"

namespace quarra::qt {
namespace {

std::string stringProperty(const QObject& object, const char* name) {
    return object.property(name).toString().toStdString();
}

// Attaches what the widget's properties ask for; a property not set attaches nothing.
void attachByProperties(QWidget& widget, const std::shared_ptr<const TrackingContext>& context) {
    if (widget.property(kFieldTagProperty).isValid()) {
        attachField(widget, stringProperty(widget, kFieldTagProperty), context);
    }
    if (widget.property(kActionProperty).isValid()) {
        attachButton(widget, stringProperty(widget, kActionProperty), context);
    }
    if (widget.property(kScreenTagProperty).isValid()) {
        attachScreen(widget, stringProperty(widget, kScreenTagProperty), context);
    }
}

bool isTrackingProperty(const QByteArray& name) {
    return name == kFieldTagProperty || name == kActionProperty || name == kScreenTagProperty;
}

}  // namespace

PropertyTrackingFilter::PropertyTrackingFilter(QObject& application, std::shared_ptr<const TrackingContext> context)
    : QObject(&application), application_(application), context_(std::move(context)) {
    application_.installEventFilter(this);
}

PropertyTrackingFilter::~PropertyTrackingFilter() { application_.removeEventFilter(this); }

bool PropertyTrackingFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Polish && type != QEvent::DynamicPropertyChange) return false;
    if (!watched->isWidgetType()) return false;
    if (type == QEvent::DynamicPropertyChange &&
        !isTrackingProperty(static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName())) {
        return false;
    }
    attachByProperties(*static_cast<QWidget*>(watched), context_);
    return false;
}

void installPropertyTracking() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<PropertyTrackingFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new PropertyTrackingFilter(*app);
}

}  // namespace quarra::qt
