#pragma once
// The library answers on its own threads; widgets are touched on the GUI
// thread only, and only while they still exist.
#include <QCoreApplication>
#include <QPointer>

namespace demo {

// Runs `task(*object)` on the GUI thread if `object` is still there then.
// The QPointer is only read on the GUI thread.
template <class Object, class Task>
void onGuiThread(const QPointer<Object>& object, Task task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app,
        [object, task = std::move(task)]() mutable {
            if (object) task(*object);
        },
        Qt::QueuedConnection);
}

}  // namespace demo
