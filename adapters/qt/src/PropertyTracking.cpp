#include <QAction>
#include <QActionEvent>
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

void attachActionByProperty(QAction& action, const std::shared_ptr<const TrackingContext>& context) {
    if (action.property(kActionProperty).isValid()) {
        attachButton(action, stringProperty(action, kActionProperty), context);
    }
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
    if (widget.property(kPickerTagProperty).isValid()) {
        attachPicker(widget, stringProperty(widget, kPickerTagProperty), context);
    }
}

bool isTrackingProperty(const QByteArray& name) {
    return name == kFieldTagProperty || name == kActionProperty || name == kScreenTagProperty ||
           name == kPickerTagProperty;
}

}  // namespace

PropertyTrackingFilter::PropertyTrackingFilter(QObject& application, std::shared_ptr<const TrackingContext> context)
    : QObject(&application), application_(application), context_(std::move(context)) {
    application_.installEventFilter(this);
}

PropertyTrackingFilter::~PropertyTrackingFilter() { application_.removeEventFilter(this); }

bool PropertyTrackingFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Polish:
            if (!watched->isWidgetType()) return false;
            attachByProperties(*static_cast<QWidget*>(watched), context_);
            // Actions are no widgets and are never polished: a menu, a tool bar
            // or a window holding one stands in for them.
            for (QAction* action : static_cast<QWidget*>(watched)->actions()) attachActionByProperty(*action, context_);
            return false;
        case QEvent::ActionAdded:
            if (QAction* action = static_cast<QActionEvent*>(event)->action()) attachActionByProperty(*action, context_);
            return false;
        case QEvent::DynamicPropertyChange:
            if (!isTrackingProperty(static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName())) return false;
            if (watched->isWidgetType()) {
                attachByProperties(*static_cast<QWidget*>(watched), context_);
            } else if (auto* action = qobject_cast<QAction*>(watched)) {
                attachActionByProperty(*action, context_);
            }
            return false;
        default: return false;
    }
}

void installPropertyTracking() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<PropertyTrackingFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new PropertyTrackingFilter(*app);
}

}  // namespace quarra::qt
