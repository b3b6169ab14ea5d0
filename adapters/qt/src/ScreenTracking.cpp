#include <quarra/qt/ScreenTracking.hpp>

#include <QCoreApplication>
#include <QMessageBox>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/ViewNodes.hpp>

namespace quarra::qt {

ScreenClass screenClassOf(const QWidget& widget) {
    const QMetaObject* meta = widget.metaObject();
    ScreenClass screen{unqualifiedClassName(widget)};
    if (meta == &QStackedWidget::staticMetaObject) {
        screen.exactPlatformClass = PlatformScreenClass::navigationController;
    } else if (meta == &QTabWidget::staticMetaObject) {
        screen.exactPlatformClass = PlatformScreenClass::tabBarController;
    } else if (meta == &QMessageBox::staticMetaObject) {
        screen.exactPlatformClass = PlatformScreenClass::alertController;
    } else if (meta == &QTableView::staticMetaObject || meta == &QTableWidget::staticMetaObject) {
        screen.exactPlatformClass = PlatformScreenClass::tableViewController;
    }
    screen.toolkitClass = isToolkitClassName(screen.name);
    // A toolkit-class screen (a page built from a bare QWidget, a QDialog)
    // carrying a known tag is the host's screen, named by its tag.
    if (screen.toolkitClass) {
        const std::string tag = widget.property(kScreenTagProperty).toString().toStdString();
        if (screenTagsFromRawValue(tag)) screen = ScreenClass{tag};
    }
    return screen;
}

bool isScreen(const QWidget& widget) {
    if (widget.isWindow()) {
        // Menus, tool tips and pop-ups come and go with no visit to report.
        const Qt::WindowType type = widget.windowType();
        return type == Qt::Window || type == Qt::Dialog;
    }
    return qobject_cast<const QStackedWidget*>(widget.parentWidget()) != nullptr;
}

ScreenHooksFilter::ScreenHooksFilter(ScreenAppearanceHooks& hooks, QObject& application)
    : QObject(&application), hooks_(hooks), application_(application) {
    application_.installEventFilter(this);
}

ScreenHooksFilter::~ScreenHooksFilter() { application_.removeEventFilter(this); }

bool ScreenHooksFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide) return false;
    // A window minimised and restored by the window system is not a new visit.
    if (event->spontaneous() || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!isScreen(*widget)) return false;
    // Filters run before the widget's own handlers, as the hooks expect.
    if (type == QEvent::Show) {
        ScreenClass screen = screenClassOf(*widget);
        shown_.insert(widget, screen);
        connect(widget, &QObject::destroyed, this, &ScreenHooksFilter::screenDestroyed, Qt::UniqueConnection);
        hooks_.viewWillAppear(screen);
    } else {
        shown_.remove(widget);
        hooks_.viewWillDisappear(screenClassOf(*widget));
    }
    return false;
}

// Deleting a shown screen sends no hide: its exit goes out here, named as it was shown.
void ScreenHooksFilter::screenDestroyed(QObject* screen) {
    auto found = shown_.find(screen);
    if (found == shown_.end()) return;
    const ScreenClass shown = found.value();
    shown_.erase(found);
    hooks_.viewWillDisappear(shown);
}

void installScreenTracking() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<ScreenHooksFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new ScreenHooksFilter(ScreenAppearanceHooks::shared(), *app);
}

}  // namespace quarra::qt
