#include "PressDispatcher.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <quarra/qt/TrackedWidget.hpp>

namespace quarra::qt {
namespace {

constexpr const char* kDispatcherName = "quarra-press-dispatcher";

bool isPressOrRelease(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::TouchBegin || type == QEvent::MouseButtonRelease ||
           type == QEvent::TouchEnd;
}

class PressDispatcher final : public QObject {
public:
    explicit PressDispatcher(QCoreApplication& app) : QObject(&app) {
        setObjectName(QString::fromLatin1(kDispatcherName));
        app.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isPressOrRelease(event->type()) || !watched->isWidgetType()) return false;
        for (QWidget* widget = static_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
            // The widget's own filter logic decides (and counts a press once).
            if (auto* tracked = qobject_cast<TrackedWidget*>(widget)) {
                static_cast<QObject*>(tracked)->eventFilter(watched, event);
            }
            if (widget->isWindow()) break;
        }
        return false;
    }
};

}  // namespace

void ensurePressDispatcher() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<QObject*>(QString::fromLatin1(kDispatcherName), Qt::FindDirectChildrenOnly)) return;
    new PressDispatcher(*app);  // owned by the application
}

}  // namespace quarra::qt
