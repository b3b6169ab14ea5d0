#include <quarra/qt/QuitShutdown.hpp>

#include <QCoreApplication>
#include <QObject>
#include <QVariant>

#include <quarra/DataCollectorService.hpp>

namespace quarra::qt {
namespace {

constexpr const char* kHookName = "quarraQuitShutdown";
constexpr const char* kTimeoutProperty = "quarraTimeoutMs";

// A child of the application: it goes with it, and there is at most one.
QObject* quitHook() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return nullptr;
    return app->findChild<QObject*>(kHookName, Qt::FindDirectChildrenOnly);
}

}  // namespace

void shutDownOnQuit(std::chrono::milliseconds timeout) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QObject* hook = quitHook();
    if (!hook) {
        hook = new QObject(app);
        hook->setObjectName(kHookName);
        QObject::connect(app, &QCoreApplication::aboutToQuit, hook, [hook] {
            const auto limit = std::chrono::milliseconds(hook->property(kTimeoutProperty).toLongLong());
            DataCollectorService::defaultService().shutdown(limit);
        });
    }
    hook->setProperty(kTimeoutProperty, static_cast<qlonglong>(timeout.count()));
}

void keepRunningOnQuit() { delete quitHook(); }

}  // namespace quarra::qt
