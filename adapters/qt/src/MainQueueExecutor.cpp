#include <quarra/qt/MainQueueExecutor.hpp>
#include <quarra/qt/QuitShutdown.hpp>

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <atomic>
#include <exception>
#include <memory>

namespace quarra::qt {
namespace {

// A task that throws must not unwind through Qt's event loop.
void runGuarded(const Executor::Task& task) {
    try {
        task();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarra: a main-queue task failed: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "quarra: a main-queue task failed\n");
    }
}

// False once the executor is released: its pending tasks are then dropped.
using AliveFlag = std::shared_ptr<std::atomic<bool>>;

void runIfAlive(const AliveFlag& alive, const Executor::Task& task) {
    if (alive->load()) runGuarded(task);
}

class MainQueueExecutor final : public Executor {
public:
    MainQueueExecutor() : receiver_(new QObject), alive_(std::make_shared<std::atomic<bool>>(true)) {
        if (auto* app = QCoreApplication::instance()) receiver_->moveToThread(app->thread());
    }
    ~MainQueueExecutor() override {
        alive_->store(false);
        receiver_->deleteLater();  // its timers and queued calls go with it
    }

    void post(Task task) override {
        QMetaObject::invokeMethod(
            receiver_, [alive = alive_, task = std::move(task)] { runIfAlive(alive, task); }, Qt::QueuedConnection);
    }

    void postAfter(std::chrono::milliseconds delay, Task task) override {
        if (delay.count() <= 0) return post(std::move(task));
        QObject* receiver = receiver_;
        // Timers belong to the receiver's thread: start them there.
        QMetaObject::invokeMethod(
            receiver,
            [receiver, delay, alive = alive_, task = std::move(task)]() mutable {
                QTimer::singleShot(delay, Qt::PreciseTimer, receiver,
                                   [alive = std::move(alive), task = std::move(task)] { runIfAlive(alive, task); });
            },
            Qt::QueuedConnection);
    }

private:
    QObject* receiver_;  // lives on the GUI thread; released with deleteLater
    AliveFlag alive_;
};

}  // namespace

std::shared_ptr<Executor> makeMainQueueExecutor() {
    shutDownOnQuit();
    return std::make_shared<MainQueueExecutor>();
}

}  // namespace quarra::qt
